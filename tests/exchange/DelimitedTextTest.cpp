#include "DelimitedText.h"
#include "RecordReadAhead.h"

#include <cstring>
#include <stdexcept>

#include <gtest/gtest.h>

using exchange::delimitedLine;
using exchange::delimitedValue;
using exchange::RecordReadAhead;

TEST(DelimitedText, QuotesAreDoubledAndBlanksTrimmed)
{
    EXPECT_EQ(delimitedValue("a\"b"), "a\"\"b");
    EXPECT_EQ(delimitedLine({"a\"b"}), "\"a\"\"b\"");
    EXPECT_EQ(delimitedValue("  inner  blanks  "), "inner  blanks");
    EXPECT_EQ(delimitedValue("    "), "");
    EXPECT_EQ(delimitedLine({"Title", "", "1942"}), "\"Title\",\"\",\"1942\"");
}

TEST(DelimitedText, LongValuesAreCutWithoutSplittingADoubledQuote)
{
    EXPECT_EQ(delimitedValue(std::string(300, 'x')).size(), 255u);
    const std::string quotes(200, '"');
    const std::string written = delimitedValue(quotes);
    EXPECT_EQ(written.size(), 254u);
    EXPECT_EQ(written.find_first_not_of('"'), std::string::npos);
}

namespace {

using exchange::DelimitedReader;

// Every record of a text, with the first line read as the names.
struct ReadBack {
    int result = -1;
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> records;
    uint64_t cut = 0;
};

ReadBack readText(const std::string& text, bool utf8 = false)
{
    ReadBack back;
    DelimitedReader reader = DelimitedReader::ofText(text, utf8);
    back.result = reader.readFirstLine(back.names);
    if (back.result != exchange::flOk)
        return back;
    std::vector<std::string> values;
    int present = 0;
    while (true) {
        const auto line = reader.readRecord(static_cast<int>(back.names.size()), values, present);
        if (line == DelimitedReader::Line::End)
            break;
        if (line == DelimitedReader::Line::Record)
            back.records.emplace_back(values.begin(), values.begin() + present);
    }
    back.cut = reader.cutValues();
    return back;
}

int firstLineResult(const std::string& text)
{
    std::vector<std::string> names;
    DelimitedReader reader = DelimitedReader::ofText(text);
    return reader.readFirstLine(names);
}

std::string fields(int n, const std::string& value = "F")
{
    std::vector<std::string> values(static_cast<size_t>(n), value);
    return delimitedLine(values);
}

} // namespace

TEST(DelimitedText, EveryValueTheWriterWritesReadsBackUnchanged)
{
    const std::vector<std::string> values = {"a\"b", "5'11\" tall", "\"quoted\"", "ends with \"", "a,b", "", "x"};
    const ReadBack back = readText(delimitedLine(values) + "\r\n" + delimitedLine(values) + "\r\n");
    ASSERT_EQ(back.result, exchange::flOk);
    EXPECT_EQ(back.names[2], "\"quoted\"");
    EXPECT_EQ(back.names[5], "<BLANK FIELD>");
    ASSERT_EQ(back.records.size(), 1u); // the file's last CR LF adds no record
    EXPECT_EQ(back.records[0], values);
    // A three-character title of a letter, a quote and a letter is six characters written.
    EXPECT_EQ(delimitedLine({"a\"b"}).size(), 6u);
}

TEST(DelimitedText, TheFirstLineIsCheckedForTheImport)
{
    EXPECT_EQ(firstLineResult(fields(50)), exchange::flOk);
    EXPECT_EQ(firstLineResult(fields(51)), exchange::flTooManyFields);
    EXPECT_EQ(firstLineResult(fields(2, std::string(255, 'x'))), exchange::flOk);
    EXPECT_EQ(firstLineResult("\"a\",\"" + std::string(256, 'x') + "\""), exchange::flFieldTooLong); // (the writer cuts at 255)
    EXPECT_EQ(firstLineResult("\"Title\",\"Year\""), exchange::flOk); // no line end: the file ends there
    EXPECT_EQ(firstLineResult("\"Title\",\"Year\r\n\"a\",\"b\"\r\n"), exchange::flUnclosedField);
    EXPECT_EQ(firstLineResult("\r\n\"Title\"\r\n"), exchange::flOk); // one empty line before it is skipped
    EXPECT_EQ(firstLineResult("\r\n\r\n\"Title\"\r\n"), exchange::flUnclosedField);
    EXPECT_EQ(firstLineResult(""), exchange::flUnclosedField);
    EXPECT_EQ(firstLineResult("\"a file that ends inside quotes"), exchange::flUnclosedField);
    // A plain text file: one value on its first line, no quote, no comma.
    EXPECT_EQ(firstLineResult("Reelkeeper Videos\nA program for a video collection.\n"), exchange::flNoDelimiter);
    EXPECT_EQ(firstLineResult("Title\r\nCasablanca\r\n"), exchange::flNoDelimiter);
    EXPECT_EQ(firstLineResult("\"Title\"\r\n\"Casablanca\"\r\n"), exchange::flOk); // one quoted column is delimited
    EXPECT_EQ(firstLineResult("Title,Year\r\n"), exchange::flOk);
    EXPECT_EQ(exchange::firstLineMessage(exchange::flTooManyFields),
              "The file selected does not appear to be an ASCII delimited text file.  An ASCII delimited file requires a "
              "unique format of each field being surrounded by double quotes and separated by a comma.  The selected "
              "file has too many fields.  There are at least 10 more fields than are required by Reelkeeper.");
    // Names are cut to 20 characters.
    const ReadBack back = readText("\"A name longer than twenty\"\r\n");
    EXPECT_EQ(back.names, std::vector<std::string>{"A name longer than t"});
}

TEST(DelimitedText, SpreadsheetFilesReadLikeOurOwn)
{
    // Values without quotes end at a comma; lines end at CR LF, LF or CR.
    const ReadBack back = readText("Title,Year,Price\n\"Casablanca\",1942,12.5\nThe Third Man,1949,\r\n");
    ASSERT_EQ(back.result, exchange::flOk);
    EXPECT_EQ(back.names, (std::vector<std::string>{"Title", "Year", "Price"}));
    ASSERT_EQ(back.records.size(), 2u);
    EXPECT_EQ(back.records[0], (std::vector<std::string>{"Casablanca", "1942", "12.5"}));
    EXPECT_EQ(back.records[1], (std::vector<std::string>{"The Third Man", "1949", ""}));
    // Inside quotes a comma is text.
    EXPECT_EQ(readText("\"N\"\r\n\"a,b\"\r\n").records.at(0).at(0), "a,b");
}

TEST(DelimitedText, DataLinesAreReadWhateverTheirShape)
{
    const std::string text = "\"A\",\"B\",\"C\"\r\n"
                             "\"1\"\r\n"                          // fewer fields: only the first is there
                             "\r\n"                               // a blank line is skipped
                             "\"1\",\"2\",\"3\",\"4\",\"5\"\r\n"  // more: the rest of the line is skipped
                             "\"t\tab\x01\",\"" + std::string(300, 'y') + "\",\"\"\r\n"
                             "\"last\",\"ends inside quotes";
    const ReadBack back = readText(text);
    ASSERT_EQ(back.records.size(), 4u);
    EXPECT_EQ(back.records[0], std::vector<std::string>{"1"});
    EXPECT_EQ(back.records[1], (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(back.records[2][0], "t ab"); // a tab is a blank, other control characters vanish
    EXPECT_EQ(back.records[2][1], std::string(255, 'y')); // cut, and counted
    EXPECT_EQ(back.cut, 1u);
    EXPECT_EQ(back.records[3], (std::vector<std::string>{"last", "ends inside quotes"}));
}

TEST(DelimitedText, Utf8ValuesAreCountedInCharacters)
{
    std::string accented;
    for (int i = 0; i < 255; ++i)
        accented += "\xC3\xA9"; // é: two bytes, one character
    const ReadBack back = readText("\xEF\xBB\xBF\"N\"\r\n\"" + accented + "\xC3\xA9\"\r\n", true);
    EXPECT_EQ(back.names, std::vector<std::string>{"N"}); // the byte-order mark is no part of the name
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0][0], accented);
    EXPECT_EQ(back.cut, 1u);
}

TEST(DelimitedText, QuotesOnlyOpenAFieldTheyStartAndTextAfterAClosingQuoteStaysInItsField)
{
    // Each of these once merged or shifted fields.
    EXPECT_EQ(readText("\"N\"\r\nab\"c,d,e\r\n").records.at(0), std::vector<std::string>{"ab\"c"});
    const ReadBack three = readText("\"A\",\"B\",\"C\"\r\nab\"c,d,e\r\n\"ab\"c,\"d\",\"e\"\r\n \"a\" , \"b\" ,\"c\"\r\n");
    ASSERT_EQ(three.records.size(), 3u);
    EXPECT_EQ(three.records[0], (std::vector<std::string>{"ab\"c", "d", "e"}));
    EXPECT_EQ(three.records[1], (std::vector<std::string>{"abc", "d", "e"}));
    EXPECT_EQ(three.records[2], (std::vector<std::string>{" \"a\" ", " \"b\" ", "c"})); // as csv readers read it
}

TEST(DelimitedText, ALineBreakInsideQuotesIsOneBlankOfTheValueAndTheEndOfFileMarkEndsNothing)
{
    const ReadBack back = readText("\"Title\",\"Year\"\r\n\"two\r\nlines\",\"1990\"\r\n\"lf\nand cr\r\",\"1991\"\r\n"
                                   "\"mark\x1Ainside\",\"1992\"\r\n\"after\",\"1993\"\r\n\x1A");
    ASSERT_EQ(back.records.size(), 4u);
    EXPECT_EQ(back.records[0], (std::vector<std::string>{"two lines", "1990"}));
    EXPECT_EQ(back.records[1], (std::vector<std::string>{"lf and cr ", "1991"}));
    EXPECT_EQ(back.records[2], (std::vector<std::string>{"markinside", "1992"}));
    EXPECT_EQ(back.records[3], (std::vector<std::string>{"after", "1993"}));
    DelimitedReader reader = DelimitedReader::ofText("\"N\"\r\n\"a\r\nb\nc\"\r\n");
    std::vector<std::string> names, values;
    int present = 0;
    reader.readFirstLine(names);
    reader.readRecord(1, values, present);
    reader.readRecord(1, values, present);
    EXPECT_EQ(values[0], "a b c");
    EXPECT_EQ(reader.lineBreaks(), 2u);
    // Line breaks in fields past the ones read are not counted: nothing of those fields is stored.
    DelimitedReader wide = DelimitedReader::ofText("\"a\r\nb\",\"dropped\r\nhere\",\"and\nhere\"\r\n\"c\"\r\n");
    EXPECT_EQ(wide.readRecord(1, values, present), DelimitedReader::Line::Record);
    EXPECT_EQ(values[0], "a b");
    EXPECT_EQ(wide.readRecord(1, values, present), DelimitedReader::Line::Record);
    EXPECT_EQ(values[0], "c");
    EXPECT_EQ(wide.lineBreaks(), 1u);
    // A name is one line: a line break inside its quotes is an unmatched quote.
    EXPECT_EQ(firstLineResult("\"Ti\r\ntle\"\r\n"), exchange::flUnclosedField);
}

TEST(DelimitedText, WhatTheWriterWritesIsOneLineThatReadsBackAsWritten)
{
    // Values from a dBASE file may hold line breaks and tabs: each is written as a blank.
    const std::vector<std::string> values = {"two\r\nlines", "tab\there", "lf\nonly", "cr\ronly", "\n", "1990"};
    const std::string line = delimitedLine(values);
    EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos);
    EXPECT_EQ(line, "\"two lines\",\"tab here\",\"lf only\",\"cr only\",\"\",\"1990\"");
    const ReadBack back = readText(line + "\r\n" + line + "\r\n");
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0], (std::vector<std::string>{"two lines", "tab here", "lf only", "cr only", "", "1990"}));
}

TEST(DelimitedText, ReadAheadGivesEveryRecordInOrderWithItsCountsAndTheErrorInItsPlace)
{
    // Several blocks' worth of records, some with a cut value and a line break.
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "\"" + std::to_string(i) + "\",\"" + (i % 700 == 0 ? std::string(300, 'x') : "a") + "\"";
        text += i % 1000 == 5 ? ",\"one\r\ntwo\"\r\n" : "\r\n";
    }
    DelimitedReader direct = DelimitedReader::ofText(text);
    DelimitedReader behind = DelimitedReader::ofText(text);
    {
        RecordReadAhead ahead(behind, 3);
        std::vector<std::string> values;
        int present = 0;
        while (true) {
            const DelimitedReader::Line line = direct.readRecord(3, values, present);
            const RecordReadAhead::Record& r = ahead.next();
            ASSERT_EQ(r.line, line);
            if (line == DelimitedReader::Line::End)
                break;
            EXPECT_EQ(r.values, values);
            EXPECT_EQ(r.present, present);
            EXPECT_EQ(r.cutValues, direct.cutValues());
            EXPECT_EQ(r.lineBreaks, direct.lineBreaks());
        }
        EXPECT_EQ(ahead.next().line, DelimitedReader::Line::End); // and stays there
    }
    // A source that fails: the records read before it, then its error.
    size_t given = 0;
    DelimitedReader failing([&](char* into, size_t n) -> size_t {
        if (given >= 16 * 1024)
            throw std::runtime_error("Cannot read the file");
        const size_t take = std::min(n, std::min<size_t>(4096, text.size() - given));
        std::memcpy(into, text.data() + given, take);
        given += take;
        return take;
    }, false, 4096);
    RecordReadAhead ahead(failing, 3);
    int read = 0;
    EXPECT_THROW(
        {
            while (ahead.next().line != DelimitedReader::Line::End)
                ++read;
        },
        std::runtime_error);
    EXPECT_GT(read, 500);
    // Left before its end, the read-ahead stops its thread (no hang).
    DelimitedReader early = DelimitedReader::ofText(text);
    RecordReadAhead stopped(early, 3);
    EXPECT_EQ(stopped.next().values[0], "0");
}
