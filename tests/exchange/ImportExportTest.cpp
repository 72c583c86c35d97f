// Import and export over real collections on disk: typed storing, the
// round trip of every field, bad files, failures at every write.
#include "CollectionFile.h"
#include "Cp1252.h"
#include "DbError.h"
#include "DelimitedText.h"
#include "EditText.h"
#include "Export.h"
#include "FaultInjection.h"
#include "HeaderMatch.h"
#include "Import.h"
#include "RecordTexts.h"
#include "Schema.h"
#include "ExchangeTestData.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>

#include <sys/resource.h>

using namespace exchange;
using testing_support::TempDir;
using testing_support::readFileBytes;
using testing_support::writeFileBytes;
using namespace exchange_testing;

namespace {

int schemaIndex(const char* name) { return db::schemaPosition(name) - 1; }

class ImportExport : public testing::Test {
protected:
    void SetUp() override
    {
        db::setEditTextFormat({'/', "m/d/yyyy", '.'});
        collection = dir.file("VIDEOS.DBF");
        db::createCollectionTable(collection);
        table.setFilePath(collection);
        table.open();
        table.addIndex("NewIndex", "Upper(Left(Title,30))");
        table.selectIndex("NewIndex");
    }
    void TearDown() override
    {
        db::faults::disarm();
        db::setEditTextFormat({});
    }

    // The collection made again, empty, keeping its text as given.
    void recreate(db::TextEncoding encoding)
    {
        table.close();
        std::filesystem::remove(db::indexPathOfTableFile(collection));
        db::createCollectionTable(collection, encoding);
        table.selectIndex("");
        table.open();
        table.addIndex("NewIndex", "Upper(Left(Title,30))");
        table.selectIndex("NewIndex");
    }

    // Imports a text file with the window's first map and the options given.
    ImportResult importText(const std::string& text, ImportOptions options = {}, ImportMap map = {})
    {
        const std::string path = dir.file("in.txt");
        writeFileBytes(path, text);
        ImportSource source;
        EXPECT_EQ(openDelimitedSource(path, source), flOk);
        if (map.empty())
            map = positionalMap(source.fieldNames.size());
        return importRecords(table, source, map, options);
    }

    // The field names of the collection in schema order, as a first line.
    static std::string nameLine()
    {
        std::vector<std::string> names;
        for (const db::SchemaField& f : db::collectionSchema())
            names.push_back(f.displayName);
        return delimitedLine(names) + "\r\n";
    }

    // The collection as a reader finds it: the records counted and no whole
    // record past them, a sound index, nothing to say about either.
    void expectCountedRecordsOnly(uint64_t counted)
    {
        db::Table reader;
        reader.setFilePath(collection);
        reader.open(db::Table::OpenMode::ReadOnly);
        EXPECT_EQ(reader.physicalRecordCount(), counted);
        EXPECT_EQ(reader.fileNote(), "");
        EXPECT_EQ(reader.fileProblem(), "");
        EXPECT_EQ(reader.indexProblem(), "");
        EXPECT_EQ(reader.checkIndex(), "");
        EXPECT_LE(std::filesystem::file_size(collection), reader.headerLength() + counted * reader.recordLength() + 1);
    }

    std::vector<ExportField> allFields()
    {
        std::vector<ExportLayoutEntry> layout;
        for (int k = 1; k <= 40; ++k)
            layout.push_back({k, true});
        return exportList(layout, {}, table);
    }

    TempDir dir;
    std::string collection;
    db::Table table;
};

} // namespace

TEST_F(ImportExport, ValuesAreStoredByTheirFieldsType)
{
    // Title, Year, List price, Purchase date in their schema places.
    const int title = schemaIndex("Title"), year = schemaIndex("Year"), price = schemaIndex("ListPrice"),
              bought = schemaIndex("PurchDate");
    ImportMap map(4, 0);
    map[0] = title + 1;
    map[1] = year + 1;
    map[2] = price + 1;
    map[3] = bought + 1;
    const ImportResult result = importText("\"T\",\"Y\",\"P\",\"D\"\r\n"
                                           "\"A\",\"1994 and more\",\"12.5e1 dollars\",\"12/25/1995\"\r\n"
                                           "\"B\",\"\",\"\",\"Dec 25, 1995\"\r\n"
                                           "\"C\",\"-7\",\"  3.25\",\"12251995\"\r\n"
                                           "\"D\",\"nothing\",\"inf\",\"1995-12-25\"\r\n"
                                           "\"E\",\"+12\",\"nan\",\" 2001/02/03 \"\r\n",
                                           {}, map);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.imported, 5u);
    const auto rows = recordsOf(collection);
    ASSERT_EQ(rows.size(), 5u);
    auto row = [&](int r, int f) { return rows[static_cast<size_t>(r)][static_cast<size_t>(f)]; };
    EXPECT_EQ(row(0, year), "1994");
    EXPECT_EQ(row(0, price), "125");
    EXPECT_EQ(row(0, bought), "12/25/1995");
    EXPECT_EQ(row(1, year), ""); // empty stays empty
    EXPECT_EQ(row(1, bought), ""); // letters: no date
    EXPECT_EQ(row(2, year), "-7");
    EXPECT_EQ(row(2, price), "3.25");
    EXPECT_EQ(row(2, bought), ""); // no separator: no date
    EXPECT_EQ(row(3, year), "");  // no number: left empty, and counted
    EXPECT_EQ(row(3, price), ""); // "inf" is no number
    EXPECT_EQ(row(3, bought), "12/25/1995"); // year first, whatever the format
    EXPECT_EQ(row(4, year), "12");
    EXPECT_EQ(row(4, price), "");
    EXPECT_EQ(row(4, bought), "2/3/2001");
    EXPECT_EQ(result.notNumbers, 3u); // "nothing", "inf", "nan"
}

TEST_F(ImportExport, DecimalsTakeTheCurrentDecimalCharacterAsWellAsThePoint)
{
    db::setEditTextFormat({'.', "dd.mm.yyyy", ','});
    ImportMap map{schemaIndex("ListPrice") + 1, schemaIndex("PurchDate") + 1};
    importText("\"P\",\"D\"\r\n\"12,5\",\"25.12.1995\"\r\n\"3.25\",\"1.2.2003\"\r\n", {}, map);
    const auto rows = recordsOf(collection);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][static_cast<size_t>(schemaIndex("ListPrice"))], "12,5");
    EXPECT_EQ(rows[0][static_cast<size_t>(schemaIndex("PurchDate"))], "25.12.1995");
    EXPECT_EQ(rows[1][static_cast<size_t>(schemaIndex("ListPrice"))], "3,25");
}


// Numbers as people write them are read whole whatever the decimal character
// of this computer; what cannot be read, or cannot be held, leaves its field
// empty and is counted, and the import goes on.
TEST_F(ImportExport, NumbersAreReadWholeOrLeftEmptyAndCountedAndTheImportGoesOn)
{
    const size_t title = static_cast<size_t>(schemaIndex("Title")), year = static_cast<size_t>(schemaIndex("Year")),
                 price = static_cast<size_t>(schemaIndex("ListPrice"));
    const std::string text = "\"Title\",\"Year\",\"Price\"\r\n"
                             "\"A\",\"1 994,0\",\"1 234,50 \xE2\x82\xAC\"\r\n"
                             "\"B\",\"1994\",\"12\t50\"\r\n"
                             "\"C\",\"2000\",\"99999999999999999999\"\r\n"
                             "\"D\",\"2001\",\"5\"\r\n"
                             "\"E\",\"1\xC2\xA0" "995\",\"1\xE2\x80\xAF" "234,5\"\r\n"
                             "\"   F  \",\"  2002\",\"1e300\"\r\n";
    for (const char decimal : {'.', ','}) {
        SCOPED_TRACE(std::string("decimal character ") + decimal);
        db::setEditTextFormat({'/', "m/d/yyyy", decimal});
        const size_t before = recordsOf(collection).size();
        const ImportResult result = importText(text, {}, {1, 11, 28});
        EXPECT_EQ(result.error, "");
        ASSERT_EQ(result.imported, 6u);
        EXPECT_EQ(result.notNumbers, 1u);
        EXPECT_EQ(result.tooLarge, 2u);
        EXPECT_EQ(result.tooLargeFields, (std::vector<std::string>{"List Price"}));
        EXPECT_EQ(result.changedValues, 0u); // blanks and signs of numbers are no characters stored
        const std::string message = importMessage(result);
        EXPECT_NE(message.find("1 value was not a number where the collection keeps one"), std::string::npos) << message;
        EXPECT_NE(message.find("2 numbers were too large for their fields, which were left empty (List Price)."),
                  std::string::npos)
            << message;
        const auto rows = recordsOf(collection);
        ASSERT_EQ(rows.size(), before + 6);
        const auto row = [&](size_t r) { return rows[before + r]; };
        const std::string point(1, decimal);
        EXPECT_EQ(row(0)[year], "1994");
        EXPECT_EQ(row(0)[price], "1234" + point + "5");
        EXPECT_EQ(row(1)[price], ""); // "12 50" is no number
        EXPECT_EQ(row(2)[price], "");
        EXPECT_EQ(row(3)[title], "D");
        EXPECT_EQ(row(3)[price], "5");
        EXPECT_EQ(row(4)[year], "1995");
        EXPECT_EQ(row(4)[price], "1234" + point + "5");
        EXPECT_EQ(row(5)[title], "F"); // both ends trimmed
        EXPECT_EQ(row(5)[year], "2002");
        // The import window's preview shows the same.
        EXPECT_EQ(storedPreview("1 234,50 \xE2\x82\xAC", 28, table.encoding()), "1234" + point + "5");
        EXPECT_EQ(storedPreview("1 994,0", 11, table.encoding()), "1994");
        EXPECT_EQ(storedPreview("12\t50", 28, table.encoding()), "");
        EXPECT_EQ(storedPreview("99999999999999999999", 28, table.encoding()), "");
        EXPECT_EQ(storedPreview("   F  ", 1, table.encoding()), "F");
    }
    // The stored title has no leading blanks for other readers either.
    db::Table check;
    check.setFilePath(collection);
    check.open(db::Table::OpenMode::ReadOnly);
    check.selectIndex("");
    for (check.first(); !check.eof(); check.next())
        EXPECT_NE(check.current().raw(static_cast<int>(title))[0], ' ');
}

TEST_F(ImportExport, LineBreaksAreCountedOnlyInTheFieldsThatAreStored)
{
    const ImportResult result = importText("\"Title\",\"Year\"\r\n"
                                           "\"two\r\nlines\",\"1990\",\"a dropped\r\nfield\",\"and\nanother\"\r\n",
                                           {}, {1, 11});
    EXPECT_EQ(result.imported, 1u);
    EXPECT_EQ(result.lineBreaks, 1u);
    EXPECT_NE(importMessage(result).find("1 line break inside quoted values was stored as blanks."), std::string::npos);
}
TEST_F(ImportExport, AnInvalidDateStopsTheImportAndKeepsWhatCameBefore)
{
    ImportMap map{1, schemaIndex("PurchDate") + 1};
    const ImportResult result =
        importText("\"T\",\"D\"\r\n\"one\",\"1/2/1990\"\r\n\"two\",\"13/45/1995\"\r\n\"three\",\"\"\r\n", {}, map);
    EXPECT_EQ(result.error, "'13/45/1995' is not a valid date");
    EXPECT_EQ(result.imported, 1u);
    EXPECT_EQ(importMessage(result), "'13/45/1995' is not a valid date\n\nThe import stopped there. 1 record was "
                                     "imported before it and stay in the collection.");
    EXPECT_EQ(table.state(), db::Table::State::Browse);
    table.refresh();
    EXPECT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(table.checkIndex(), "");
    EXPECT_EQ(recordsOf(collection).at(0).at(0), "one");
}

TEST_F(ImportExport, DatesWithLettersOrYearFirstDatesThatAreNoDatesLeaveTheFieldEmpty)
{
    ImportMap map{1, schemaIndex("PurchDate") + 1};
    // With the separator and a letter: no date, whatever the rest ("12/Dec/1995" would parse as 12/0/1995).
    const ImportResult result = importText("\"T\",\"D\"\r\n\"a\",\"12/Dec/1995\"\r\n\"b\",\"1995-13-45\"\r\n"
                                           "\"c\",\"about 1/2/1990\"\r\n\"d\",\"1/2/1990\"\r\n",
                                           {}, map);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.imported, 4u);
    const auto rows = recordsOf(collection);
    ASSERT_EQ(rows.size(), 4u);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(rows[static_cast<size_t>(r)][static_cast<size_t>(schemaIndex("PurchDate"))], "") << r;
    EXPECT_EQ(rows[3][static_cast<size_t>(schemaIndex("PurchDate"))], "1/2/1990");
}

TEST_F(ImportExport, TheFirstLineIsARecordWhenNotSkipped)
{
    ImportOptions options;
    options.skipFirst = false;
    const ImportResult result = importText("\"Title\",\"Year\"\r\n\"Vertigo\",\"1958\"\r\n\r\n\"Psycho\",\"1960\"\r\n",
                                           options, {1, schemaIndex("Year") + 1});
    EXPECT_EQ(result.imported, 3u);
    const auto rows = recordsOf(collection);
    EXPECT_EQ(rows[0][0], "Title");
    EXPECT_EQ(rows[0][static_cast<size_t>(schemaIndex("Year"))], ""); // "Year" is no year
    EXPECT_EQ(rows[2][0], "Psycho");
    EXPECT_EQ(importMessage(result), "Import Complete.\n\n1 value was not a number where the collection keeps one; "
                                     "those fields were left empty.");
}

TEST_F(ImportExport, TheGridDecidesWhereEachImportFieldGoes)
{
    // 45 import fields: rows 41 to 45 hold no collection field, so what is left there is not imported.
    std::vector<std::string> names;
    for (int i = 1; i <= 45; ++i)
        names.push_back("F" + std::to_string(i));
    std::vector<ImportRow> rows;
    for (const std::string& name : names)
        rows.push_back({name, true});
    std::swap(rows[0], rows[44]); // F1 moved below row 40, F45 to row 1
    rows[1].use = false;          // F2 not used
    const ImportMap map = importMapOf(names, rows);
    ASSERT_EQ(map.size(), 45u);
    EXPECT_EQ(map[0], 0);
    EXPECT_EQ(map[1], 0);
    EXPECT_EQ(map[2], 3);
    EXPECT_EQ(map[44], 1);
    EXPECT_EQ(map[40], 0);
    // Two fields of the same name both go to the first row that carries it.
    EXPECT_EQ(importMapOf({"<BLANK FIELD>", "<BLANK FIELD>"}, {{"<BLANK FIELD>", true}, {"<BLANK FIELD>", true}}),
              (ImportMap{1, 1}));
}

// Columns match fields by the user's names, the stored names, the default names
// and the names other catalogues use; exact names first, each field once.
TEST_F(ImportExport, ColumnsMatchFieldsByTheirNames)
{
    EXPECT_EQ(matchingKey("Runtime (mins)"), "runtimemins");
    EXPECT_EQ(matchingKey("G\xC3\xA9nero"), "genero");
    const std::vector<std::string> imdb = {"Const", "Your Rating", "Date Rated", "Title", "URL", "Title Type",
                                           "IMDb Rating", "Runtime (mins)", "Year", "Genres", "Num Votes",
                                           "Release Date", "Directors"};
    EXPECT_EQ(matchColumns(imdb), (ImportMap{0, 18, 0, 1, 0, 0, 0, 12, 11, 14, 0, 0, 9}));
    // Stored names (a dBASE table of ours), any case; a user's own display name; a field taken once.
    EXPECT_EQ(matchColumns({"PERSONALRA", "descriptio", "Film", "Name"}), (ImportMap{18, 23, 1, 0}));
    std::vector<std::string> names(40);
    names[38] = "IMDb Id";
    EXPECT_EQ(matchColumns({"imdb id", "Rating", "Plot", "Description"}, names), (ImportMap{39, 13, 0, 23}))
        << "the exact name is matched before the common one, whatever the order";
    // Nothing matches: each column to the field in its place; with names, the matches.
    ImportSource source;
    source.fieldNames = {"F1", "F2"};
    EXPECT_EQ(startingMap(source, true), (ImportMap{1, 2}));
    source.fieldNames = {"Year", "Title"};
    EXPECT_EQ(startingMap(source, true), (ImportMap{11, 1}));
    EXPECT_EQ(startingMap(source, false), (ImportMap{1, 2})) << "a first line that is a record names nothing";
}

// A value longer than its field is cut to it, counted, and its field named, from
// any kind of file; blanks after it do not count.
TEST_F(ImportExport, AValueLongerThanItsFieldIsCountedAndItsFieldNamed)
{
    const ImportResult result = importText("\"Title\",\"Category\"\r\n"
                                           "\"Heat\",\"Drama, Mystery, Thriller, Romance\"\r\n"
                                           "\"Alien\",\"Science Fiction     \"\r\n",
                                           {}, {1, 14});
    EXPECT_EQ(result.imported, 2u);
    EXPECT_EQ(result.cutToWidth, 1u);
    EXPECT_EQ(result.cutFields, (std::vector<std::string>{"Category"}));
    EXPECT_NE(importMessage(result).find("1 value was longer than its field and cut to fit (Category)."), std::string::npos)
        << importMessage(result);
}

// Characters the code page lacks take their nearest plain form where there is one
// (whatever the program's locale), "?" only where there is none; both are counted.
// A Unicode collection keeps them all, and counts nothing.
TEST_F(ImportExport, CharactersTheCollectionCannotHoldTakeTheirNearestPlainForm)
{
    const std::string path = dir.file("plain.txt");
    // "Łódź" (Ł, ó, d, ź), "Kieślowski, Őrs", "日本 ﬁlm" and a value that needs nothing.
    const std::string lodz = "\xC5\x81\xC3\xB3" "d\xC5\xBA", kieslowski = "Kie\xC5\x9Blowski, \xC5\x90rs",
                      nihon = "\xE6\x97\xA5\xE6\x9C\xAC \xEF\xAC\x81lm", cafe = "Caf\xC3\xA9";
    writeFileBytes(path, "\"Title\"\r\n\"" + lodz + "\"\r\n\"" + kieslowski + "\"\r\n\"" + nihon + "\"\r\n\"" + cafe + "\"\r\n");
    ImportSource source;
    ASSERT_EQ(openDelimitedSource(path, source), flOk);

    recreate(db::TextEncoding::Windows1252);
    const ImportResult result = importRecords(table, source, {1}, {});
    auto rows = recordsOf(collection);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0], "L\xC3\xB3" "dz"); // ó is in the code page and stays
    EXPECT_EQ(rows[1][0], "Kieslowski, Ors");
    EXPECT_EQ(rows[2][0], "?? film");
    EXPECT_EQ(rows[3][0], cafe);
    EXPECT_EQ(result.plainFormValues, 3u);
    EXPECT_EQ(result.changedValues, 1u);
    const std::string message = importMessage(result);
    EXPECT_NE(message.find("3 values hold characters that the collection cannot store as they are; they were stored in "
                           "their nearest plain form"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("1 value holds characters that the collection cannot store; they were stored as \"?\"."),
              std::string::npos);

    recreate(db::TextEncoding::Utf8);
    const ImportResult unicode = importRecords(table, source, {1}, {});
    rows = recordsOf(collection);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0], lodz);
    EXPECT_EQ(rows[1][0], kieslowski);
    EXPECT_EQ(rows[2][0], nihon);
    EXPECT_EQ(rows[3][0], cafe);
    EXPECT_EQ(unicode.plainFormValues + unicode.changedValues, 0u);
    EXPECT_EQ(importMessage(unicode), "Import Complete.");
}

TEST_F(ImportExport, Utf8TextKeepsItsAccentsAndCountsWhatTheCollectionCannotHold)
{
    const std::string path = dir.file("utf8.txt");
    writeFileBytes(path, "\"Title\"\r\n\"Caf\xC3\xA9 \xE2\x82\xAC\"\r\n\"\xE6\x97\xA5\xE6\x9C\xAC\"\r\n\"plain\"\r\n");
    EXPECT_TRUE(isUtf8Text(path));
    ImportSource source;
    ASSERT_EQ(openDelimitedSource(path, source), flOk);
    recreate(db::TextEncoding::Windows1252);
    const ImportResult result = importRecords(table, source, {1}, {});
    EXPECT_EQ(result.changedValues, 1u);
    const auto rows = recordsOf(collection);
    EXPECT_EQ(rows[0][0], "Caf\xC3\xA9 \xE2\x82\xAC"); // é and €, which Windows-1252 holds
    EXPECT_EQ(rows[1][0], "??");
    EXPECT_NE(importMessage(result).find("1 value holds characters that the collection cannot store;"), std::string::npos);
    EXPECT_EQ(importMessage(result).find("nearest plain form"), std::string::npos);
    // Windows-1252 text stays as it is, and is read as such.
    writeFileBytes(path, "\"Title\"\r\n\"Caf\xE9\"\r\n");
    EXPECT_FALSE(isUtf8Text(path));
    recreate(db::TextEncoding::Utf8);
    ASSERT_EQ(openDelimitedSource(path, source), flOk);
    importRecords(table, source, {1}, {});
    EXPECT_EQ(recordsOf(collection)[0][0], "Caf\xC3\xA9");
}

TEST_F(ImportExport, CancelKeepsTheRecordsImportedSoFar)
{
    std::string text = "\"T\"\r\n";
    for (int i = 0; i < 100; ++i)
        text += "\"r" + std::to_string(i) + "\"\r\n";
    ImportOptions options;
    options.batchSize = 7;
    options.progress = [](uint64_t n) { return n < 30; };
    const ImportResult result = importText(text, options, {1});
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.imported, 30u);
    table.refresh();
    EXPECT_EQ(table.recordCount(), 30u);
    EXPECT_EQ(table.checkIndex(), "");
}

TEST_F(ImportExport, EveryFieldOfTenThousandRecordsComesBackTheSame)
{
    fillAtRandom(table, 10000, 7);
    const auto before = recordsOf(collection);
    const std::string text = dir.file("out.txt"), dbf = dir.file("OUT.DBF");
    table.selectIndex("");
    EXPECT_EQ(exportDelimited(table, allFields(), text, {true, {}, {}}).written, 10000u);
    EXPECT_EQ(exportDbf(table, allFields(), dbf, {}).written, 10000u);

    for (const std::string& from : {text, dbf}) {
        SCOPED_TRACE(from);
        const std::string copy = dir.file("COPY.DBF");
        db::createCollectionTable(copy);
        db::Table into;
        into.setFilePath(copy);
        into.open();
        ImportSource source;
        if (from == dbf)
            source = openDbfSource(dbf);
        else
            ASSERT_EQ(openDelimitedSource(text, source), flOk);
        ASSERT_EQ(source.fieldNames.size(), 40u);
        const ImportResult result = importRecords(into, source, positionalMap(40), {});
        EXPECT_EQ(result.error, "");
        EXPECT_EQ(result.imported, 10000u);
        into.close();
        EXPECT_TRUE(recordsOf(copy) == before);
    }
}

TEST_F(ImportExport, ExportWritesTheChosenFieldsInTheirOrder)
{
    table.insert();
    table.setText(0, "  Blanks around  ");
    table.setText(schemaIndex("Star1"), "    ");
    table.setNumber(schemaIndex("Year"), 1942);
    table.post();
    // Title moved to position 40, Year first, every other field out.
    std::vector<ExportLayoutEntry> layout(40, {0, false});
    layout[0] = {40, true};
    layout[static_cast<size_t>(schemaIndex("Year"))] = {1, true};
    layout[static_cast<size_t>(schemaIndex("Star1"))] = {2, true};
    std::vector<std::string> labels(40, "label");
    labels[0] = "Movie";
    const auto fields = exportList(layout, labels, table);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[2].schemaPosition, 1);
    const std::string path = dir.file("few.txt");
    exportDelimited(table, fields, path, {true, {}, {}});
    EXPECT_EQ(readFileBytes(path), "\"label\",\"label\",\"Movie\"\r\n\"1942\",\"\",\"Blanks around\"\r\n");
    // A field whose position another field took first is not exported.
    layout[static_cast<size_t>(schemaIndex("Star2"))] = {1, true};
    EXPECT_EQ(exportList(layout, labels, table).size(), 3u);
}

// A text export in an index's order reads the file in passes and writes
// each pass's lines in order: whatever share of the lines a pass holds, the
// file is the one a walk of the table in that order gives.
TEST_F(ImportExport, AnExportInIndexOrderWritesTheLinesAWalkInThatOrderGives)
{
    fillAtRandom(table, 3000, 11);
    for (table.first(); !table.eof(); table.next()) // some records deleted, scattered
        if (table.recNo() % 7 == 3)
            table.deleteRecord();
    // Each visible record's line, from an export in stored order.
    const auto linesByRecord = [&] {
        table.selectIndex("");
        std::vector<uint32_t> records;
        for (table.first(); !table.isEmpty() && !table.eof(); table.next())
            records.push_back(table.recNo());
        const std::string stored = dir.file("stored.txt");
        exportDelimited(table, allFields(), stored, {false, {}, {}});
        const std::string text = readFileBytes(stored);
        std::map<uint32_t, std::string> lines;
        size_t at = 0;
        for (uint32_t rec : records) {
            // A line ends at a line end outside quotes.
            size_t end = at;
            bool quoted = false;
            while (quoted || text.compare(end, 2, "\r\n") != 0)
                quoted ^= text[end++] == '"';
            lines[rec] = text.substr(at, end + 2 - at);
            at = end + 2;
        }
        EXPECT_EQ(at, text.size());
        table.selectIndex("NewIndex");
        return lines;
    };
    const auto expectedInOrder = [&](const std::map<uint32_t, std::string>& lines) {
        std::string expected;
        for (table.first(); !table.isEmpty() && !table.eof(); table.next())
            expected += lines.at(table.recNo());
        return expected;
    };
    const auto check = [&](const std::string& what) {
        SCOPED_TRACE(what);
        const std::string expected = expectedInOrder(linesByRecord());
        for (const size_t held : {size_t{1}, size_t{5000}, size_t{200000}, size_t{128} << 20}) {
            SCOPED_TRACE(held);
            const std::string path = dir.file("ordered.txt");
            std::vector<uint64_t> counts;
            ExportOptions options{false, [&](uint64_t n) { counts.push_back(n); return true; }, {}};
            options.linesHeldInOrder = held;
            const ExportResult result = exportDelimited(table, allFields(), path, options);
            EXPECT_EQ(readFileBytes(path), expected);
            EXPECT_EQ(result.written, table.recordCount());
            ASSERT_FALSE(counts.empty());
            EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
            EXPECT_EQ(counts.back(), result.written);
        }
    };
    check("titles in random order");
    // A cancel in the middle of a pass leaves the destination as it was.
    const std::string kept = dir.file("kept.txt");
    writeFileBytes(kept, "what was there");
    int asked = 0;
    ExportOptions cancel{false, [&](uint64_t) { return ++asked < 1000; }, {}};
    cancel.linesHeldInOrder = 200000;
    EXPECT_TRUE(exportDelimited(table, allFields(), kept, cancel).cancelled);
    EXPECT_EQ(asked, 1000);
    EXPECT_EQ(readFileBytes(kept), "what was there");
    // A search on: only its records, in the same order.
    table.setFilter([](const db::Record& r) { return r.text(0).find('e') != std::string::npos; });
    table.setFiltered(true);
    check("a search");
    table.setFiltered(false);
    // A collection stored in title order: each pass reads only its part of the file.
    const std::string sorted = dir.file("sorted.txt");
    exportDelimited(table, allFields(), sorted, {false, {}, {}});
    table.selectIndex("");
    table.close();
    const std::string stored = dir.file("SORTED.DBF");
    db::createCollectionTable(stored);
    table.setFilePath(stored);
    table.open();
    table.addIndex("NewIndex", "Upper(Left(Title,30))");
    table.selectIndex("NewIndex");
    ImportSource source;
    ASSERT_EQ(openDelimitedSource(sorted, source), flOk);
    importRecords(table, source, positionalMap(source.fieldNames.size()), {});
    check("titles stored in order");
}

TEST_F(ImportExport, AnEmptyCollectionExportsItsHeaderOrAnEmptyTable)
{
    const std::string text = dir.file("empty.txt"), dbf = dir.file("EMPTY.DBF");
    EXPECT_EQ(exportDelimited(table, allFields(), text, {true, {}, {}}).written, 0u);
    EXPECT_EQ(readFileBytes(text), nameLine());
    exportDelimited(table, allFields(), text, {false, {}, {}});
    EXPECT_EQ(readFileBytes(text), "");
    exportDbf(table, allFields(), dbf, {});
    db::Table t;
    t.setFilePath(dbf);
    t.open(db::Table::OpenMode::ReadOnly);
    EXPECT_EQ(t.fieldCount(), 40);
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_TRUE(db::isCollectionTable(dbf)); // the whole layout exported is a collection again
}

TEST_F(ImportExport, ASearchExportsItsRecordsOnly)
{
    for (const char* title : {"Alien", "Brazil", "Aliens"}) {
        table.insert();
        table.setText(0, title);
        table.post();
    }
    table.setFilter([](const db::Record& r) { return r.text(0).rfind("Alien", 0) == 0; });
    table.setFiltered(true);
    const std::string path = dir.file("search.txt");
    std::vector<ExportLayoutEntry> layout(40, {0, false});
    layout[0] = {1, true};
    EXPECT_EQ(exportDelimited(table, exportList(layout, {}, table), path, {false, {}, {}}).written, 2u);
    EXPECT_EQ(readFileBytes(path), "\"Alien\"\r\n\"Aliens\"\r\n");
}

TEST_F(ImportExport, AFailedOrCancelledExportLeavesTheDestinationAsItWas)
{
    fillAtRandom(table, 3000, 3);
    const std::string path = dir.file("kept.txt");
    writeFileBytes(path, "what was there");
    ExportOptions cancel{true, [](uint64_t n) { return n < 100; }, {}};
    EXPECT_TRUE(exportDelimited(table, allFields(), path, cancel).cancelled);
    EXPECT_EQ(readFileBytes(path), "what was there");
    // A full disk at every change the export makes, for both kinds of file.
    for (const std::string& out : {path, dir.file("KEPT.DBF")}) {
        writeFileBytes(out, "what was there");
        db::faults::resetCount();
        out == path ? exportDelimited(table, allFields(), out, {}) : exportDbf(table, allFields(), out, {});
        const uint64_t changes = db::faults::changesSoFar();
        ASSERT_GT(changes, 2u);
        writeFileBytes(out, "what was there");
        for (uint64_t n = 1; n < changes; ++n) {
            SCOPED_TRACE(n);
            db::faults::resetCount();
            db::faults::arm(n, db::faults::Action::Fail);
            EXPECT_THROW(out == path ? exportDelimited(table, allFields(), out, {}) : exportDbf(table, allFields(), out, {}),
                         db::DbError);
            db::faults::disarm();
            EXPECT_EQ(readFileBytes(out), "what was there");
        }
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path(), error))
        EXPECT_EQ(entry.path().string().find(".rk-export"), std::string::npos) << entry.path();
}

TEST_F(ImportExport, AFullDiskEndsTheExportWithTheSystemsMessage)
{
    fillAtRandom(table, 3000, 9);
    const std::string path = dir.file("full.txt");
    writeFileBytes(path, "what was there");
    // Files may grow to 64 KB: the disk is full after that.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string message;
    try {
        exportDelimited(table, allFields(), path, {});
    } catch (const db::DbError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(message.find("File too large"), std::string::npos) << message;
    EXPECT_NE(message.find("full.txt"), std::string::npos) << message;
    EXPECT_EQ(readFileBytes(path), "what was there");
}

TEST_F(ImportExport, AFailedWriteDuringAnImportKeepsOnlyWholeRecordsAndCountsWhatItKept)
{
    // Small batches, and batches larger than the piece of records the table writes at a time.
    for (const auto& [records, batch] : {std::pair{50, 16u}, std::pair{700, 600u}}) {
        std::string text = nameLine();
        for (int i = 0; i < records; ++i)
            text += "\"Title " + std::to_string(i) + "\",\"Star\"\r\n";
        ImportOptions options;
        options.batchSize = batch;
        db::faults::resetCount();
        importText(text, options);
        const uint64_t changes = db::faults::changesSoFar();
        for (uint64_t n = 1; n <= changes; ++n) {
            SCOPED_TRACE(std::to_string(records) + " records, fault at change " + std::to_string(n));
            table.selectIndex("");
            table.close();
            std::filesystem::remove(db::indexPathOfTableFile(collection));
            db::createCollectionTable(collection);
            table.open();
            table.addIndex("NewIndex", "Upper(Left(Title,30))");
            table.selectIndex("NewIndex");
            db::faults::resetCount();
            db::faults::arm(n, db::faults::Action::Fail);
            const ImportResult result = importText(text, options);
            db::faults::disarm();
            // The table that imported still works, and agrees with its file.
            table.refresh();
            const uint64_t seen = table.recordCount();
            table.close();
            expectCountedRecordsOnly(result.imported);
            table.open();
            const auto rows = recordsOf(collection);
            EXPECT_LE(rows.size(), static_cast<size_t>(records));
            for (size_t r = 0; r < rows.size(); ++r) {
                EXPECT_EQ(rows[r][0], "Title " + std::to_string(r));
                EXPECT_EQ(rows[r][1], "Star");
            }
            if (result.error.empty()) {
                EXPECT_EQ(rows.size(), static_cast<size_t>(records));
            }
            EXPECT_EQ(result.imported, rows.size()) << importMessage(result); // the message counts what is there
            EXPECT_EQ(seen, rows.size());
            EXPECT_EQ(table.checkIndex(), "");
        }
    }
}

TEST_F(ImportExport, AFullDiskDuringAnImportCountsTheRecordsThatStay)
{
    std::string text = nameLine();
    for (int i = 0; i < 3000; ++i)
        text += "\"Title " + std::to_string(i) + "\",\"Star\"\r\n";
    writeFileBytes(dir.file("many.txt"), text);
    ImportSource source;
    ASSERT_EQ(openDelimitedSource(dir.file("many.txt"), source), flOk);
    ImportMap map(source.fieldNames.size(), 0);
    map[0] = 1;
    map[1] = 2;
    // The table may grow to 1.5 MB: the disk is full a few hundred records into a batch.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1500 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    ImportOptions options;
    options.batchSize = 1000;
    const ImportResult result = importRecords(table, source, map, options);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(result.error.find("File too large"), std::string::npos) << result.error;
    table.close();
    // Before anything opens it to write: the file holds exactly the records the message
    // counts, and its index is sound, for this program's check and for other readers.
    expectCountedRecordsOnly(result.imported);
    table.open();
    EXPECT_GT(table.recordCount(), 0u);
    EXPECT_EQ(result.imported, table.recordCount());
    EXPECT_EQ(recordsOf(collection).size(), result.imported);
    EXPECT_EQ(table.checkIndex(), "");
    // A pack keeps what was counted, nothing more.
    table.close();
    table.open(db::Table::OpenMode::Exclusive);
    table.pack();
    EXPECT_EQ(table.recordCount(), result.imported);
}

TEST_F(ImportExport, BadFilesGiveAMessageAndNoRecords)
{
    ImportSource source;
    // Binary bytes, NULs and a line of several megabytes.
    std::string binary;
    std::mt19937 random(5);
    for (int i = 0; i < 100000; ++i)
        binary += static_cast<char>(random());
    for (const std::string& bytes : {binary, std::string(1000, '\0'), std::string(5 << 20, 'x'), std::string()}) {
        writeFileBytes(dir.file("bad.txt"), bytes);
        EXPECT_NE(openDelimitedSource(dir.file("bad.txt"), source), flOk) << bytes.size();
    EXPECT_EQ(recordsOf(collection).size(), 0u);
    }
    // NUL characters make a file binary, wherever they are.
    writeFileBytes(dir.file("nul.txt"), std::string("\"T\"\r\n\"a\0b\"\r\n", 12));
    EXPECT_EQ(openDelimitedSource(dir.file("nul.txt"), source), flNotText);
    std::string lateNul = "\"T\"\r\n";
    while (lateNul.size() < 3 << 20)
        lateNul += "\"a title of some length\"\r\n";
    writeFileBytes(dir.file("late.txt"), lateNul + std::string("\"x\0y\"\r\n", 7));
    EXPECT_EQ(openDelimitedSource(dir.file("late.txt"), source), flNotText);
    // A file that is gone, a dBASE file with a damaged header.
    EXPECT_THROW(openDelimitedSource(dir.file("missing.txt"), source), db::DbError);
    writeFileBytes(dir.file("BROKEN.DBF"), std::string(40, '\x03'));
    EXPECT_THROW(openDbfSource(dir.file("BROKEN.DBF")), db::DbError);
    // A text file that vanishes between the check and the import.
    writeFileBytes(dir.file("gone.txt"), "\"T\"\r\n\"x\"\r\n");
    ASSERT_EQ(openDelimitedSource(dir.file("gone.txt"), source), flOk);
    std::filesystem::remove(dir.file("gone.txt"));
    const ImportResult result = importRecords(table, source, {1}, {});
    EXPECT_NE(result.error.find("gone.txt"), std::string::npos);
    EXPECT_EQ(result.imported, 0u);
}

TEST_F(ImportExport, ADbaseSourceOffersItsFirstFiftyFields)
{
    std::vector<db::FieldDef> defs;
    for (int i = 1; i <= 55; ++i)
        defs.push_back({"F" + std::to_string(i), 'C', 5, 0});
    const std::string wide = dir.file("WIDE.DBF");
    db::Table::createTable(wide, defs);
    const ImportSource source = openDbfSource(wide);
    EXPECT_EQ(source.fileFields, 55);
    ASSERT_EQ(source.fieldNames.size(), 50u);
    EXPECT_EQ(source.fieldNames[49], "F50");
}
