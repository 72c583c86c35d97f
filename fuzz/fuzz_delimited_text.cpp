// libFuzzer target: the delimited text readers on arbitrary bytes, read in
// pieces of a size the input chooses (so that every buffer boundary is met),
// as Windows-1252 and as UTF-8. No crash, no hang, no value past 255
// characters, no control character in a value, no more values than fields.
// The records read are those a second reader, built from the state machine
// of Python's csv module, reads after the import's rules. And the writer's
// round trip: values made from the input, written as a line, read back unchanged.
#include "CsvModuleReference.h"
#include "DelimitedText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

size_t characters(const std::string& value, bool utf8)
{
    if (!utf8)
        return value.size();
    return static_cast<size_t>(std::count_if(value.begin(), value.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void readAll(const std::string& text, size_t piece, bool utf8)
{
    size_t at = 0;
    exchange::DelimitedReader reader(
        [&](char* into, size_t n) {
            const size_t count = std::min({n, piece, text.size() - at});
            std::memcpy(into, text.data() + at, count);
            at += count;
            return count;
        },
        utf8, 64);
    std::vector<std::string> names;
    if (reader.readFirstLine(names) != exchange::flOk)
        return;
    check(!names.empty() && names.size() <= 50);
    std::vector<std::string> values;
    int present = 0;
    for (int lines = 0; lines < 100000; ++lines) {
        const auto line = reader.readRecord(static_cast<int>(names.size()), values, present);
        if (line == exchange::DelimitedReader::Line::End)
            return;
        check(present >= 0 && present <= static_cast<int>(names.size()));
        for (int i = 0; i < present; ++i) {
            const std::string& value = values[static_cast<size_t>(i)];
            check(characters(value, utf8) <= exchange::kMaxValueLength);
            check(std::none_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }));
        }
    }
}

// The first n characters (UTF-8 characters when utf8).
std::string firstCharacters(const std::string& value, size_t n, bool utf8)
{
    size_t count = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        if (utf8 && (value[i] & 0xC0) == 0x80)
            continue;
        if (count++ == n)
            return value.substr(0, i);
    }
    return value;
}

// Under a header of four names, every line of the input reads to the fields
// the reference reads: mapped, cut to 255 characters, the first four only,
// and a line whose one field is empty no record.
void compareWithReference(const std::string& body, bool utf8)
{
    if (body.find('\0') != std::string::npos)
        return; // the import refuses such a file before reading it
    const std::string text = "\"A\",\"B\",\"C\",\"D\"\r\n" + body;
    std::vector<std::vector<std::string>> expected;
    const std::vector<csvref::Row> rows = csvref::readRows(text);
    for (size_t r = 1; r < rows.size(); ++r) {
        const csvref::Row& row = rows[r];
        std::vector<std::string> values;
        for (size_t i = 0; i < row.size() && i < 4; ++i)
            values.push_back(firstCharacters(csvref::mapped(row[i]), exchange::kMaxValueLength, utf8));
        if (values.empty() || (row.size() == 1 && values[0].empty()))
            continue;
        expected.push_back(values);
    }
    exchange::DelimitedReader reader = exchange::DelimitedReader::ofText(text, utf8);
    std::vector<std::string> names;
    check(reader.readFirstLine(names) == exchange::flOk && names.size() == 4);
    std::vector<std::string> values;
    int present = 0;
    size_t record = 0;
    while (true) {
        const auto line = reader.readRecord(4, values, present);
        if (line == exchange::DelimitedReader::Line::End)
            break;
        if (line == exchange::DelimitedReader::Line::Blank)
            continue;
        check(record < expected.size());
        check(std::vector<std::string>(values.begin(), values.begin() + present) == expected[record]);
        ++record;
    }
    check(record == expected.size());
}

void roundTrip(const std::string& text)
{
    // Values: the input cut at '|', without control characters and the blanks around them.
    std::vector<std::string> values;
    std::string value;
    for (const char c : text + "|") {
        if (c != '|') {
            if (static_cast<unsigned char>(c) >= 32)
                value += c;
            continue;
        }
        const size_t first = value.find_first_not_of(' ');
        value = first == std::string::npos ? "" : value.substr(first, value.find_last_not_of(' ') - first + 1);
        const size_t quotes = static_cast<size_t>(std::count(value.begin(), value.end(), '"'));
        if (value.size() + quotes <= exchange::kMaxValueLength)
            values.push_back(value);
        value.clear();
        if (values.size() == 50)
            break;
    }
    if (values.empty())
        return;
    const std::string line = exchange::delimitedLine(values) + "\r\n";
    exchange::DelimitedReader reader = exchange::DelimitedReader::ofText(line + line);
    std::vector<std::string> names;
    check(reader.readFirstLine(names) == exchange::flOk);
    std::vector<std::string> back;
    int present = 0;
    check(reader.readRecord(static_cast<int>(values.size()), back, present) == exchange::DelimitedReader::Line::Record
          || (values.size() == 1 && values[0].empty()));
    if (!(values.size() == 1 && values[0].empty()))
        check(std::equal(values.begin(), values.end(), back.begin()) && present == static_cast<int>(values.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0] % 64;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    readAll(text, piece, false);
    readAll(text, piece, true);
    compareWithReference(text, false);
    compareWithReference(text, true);
    roundTrip(text);
    return 0;
}
