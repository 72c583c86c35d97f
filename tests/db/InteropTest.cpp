// Tables we write open in other dBASE readers with the same values, and
// tables other programs write open in ours.
#include "Cp1252.h"
#include "EditText.h"
#include "Table.h"
#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace db;
using testing_support::TempDir;
using testing_support::lines;
using testing_support::pythonHas;
using testing_support::runCommand;

namespace {

const std::string kScripts = INTEROP_SCRIPTS;

// What a collector's title may hold: an accent, a euro sign and curly quotes
// (all in Windows-1252), and for a Unicode table a Polish and a Japanese word.
const std::string kTitle1252 = "Am\xC3\xA9lie \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D";
const std::string kTitleUnicode = kTitle1252 + " \xC5\x81\xC3\xB3" "d\xC5\xBA \xE5\x8D\x83\xE3\x81\xA8";

const std::string& titleOf(TextEncoding encoding) { return encoding == TextEncoding::Utf8 ? kTitleUnicode : kTitle1252; }

// A table with each field type, written by our engine in the encoding given.
std::string writeOurTable(const TempDir& dir, TextEncoding encoding)
{
    const std::string path = dir.file(encoding == TextEncoding::Utf8 ? "UNICODE.DBF" : "OURS.DBF");
    Table::createTable(path, {{"TITLE", 'C', 60, 0}, {"YEAR", 'N', 11, 0}, {"PRICE", 'F', 20, 4}, {"BOUGHT", 'D', 8, 0}},
                       encoding);
    Table t;
    t.setFilePath(path);
    t.open();
    t.insert();
    t.setText(0, titleOf(encoding));
    t.setNumber(1, 1939);
    t.setNumber(2, 1234.5);
    t.setDate(3, dayNumberFromCivil({1997, 3, 5}));
    t.post();
    t.insert();
    t.post(); // every field empty
    t.addIndex("NewIndex", "Upper(Left(Title,30))");
    t.close();
    return path;
}

// A JSON string's quotes as dbfread prints them: curly quotes stay, straight ones are escaped.
std::string json(const std::string& text) { return "\"" + text + "\""; }

} // namespace

// dbfread takes a Windows-1252 table's encoding from its language byte by
// itself; a Unicode table's it is told, as the help says to.
TEST(Interop, DbfreadReadsWhatWeWrite)
{
    if (!pythonHas("dbfread"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    TempDir dir;
    for (const TextEncoding encoding : {TextEncoding::Windows1252, TextEncoding::Utf8}) {
        SCOPED_TRACE(codePageName(encoding));
        const std::string path = writeOurTable(dir, encoding);
        int status = -1;
        const auto out = lines(runCommand("/usr/bin/python3 " + kScripts + "/read_with_dbfread.py " + path
                                              + (encoding == TextEncoding::Utf8 ? " utf-8" : ""),
                                          &status));
        ASSERT_EQ(status, 0);
        ASSERT_EQ(out.size(), 3u);
        EXPECT_EQ(out[0], R"(["TITLE", "YEAR", "PRICE", "BOUGHT"])");
        EXPECT_EQ(out[1], "[" + json(titleOf(encoding)) + ", \"1939\", \"1234.5\", \"19970305\"]");
        EXPECT_EQ(out[2], R"(["", "", "", ""])");
    }
}

// GDAL reads both kinds right by itself: the language byte 0x03 and the .cpg file.
TEST(Interop, GdalReadsWhatWeWrite)
{
    int status = -1;
    runCommand("ogr2ogr --version >/dev/null 2>&1", &status);
    if (status != 0)
        GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    for (const TextEncoding encoding : {TextEncoding::Windows1252, TextEncoding::Utf8}) {
        SCOPED_TRACE(codePageName(encoding));
        const std::string path = writeOurTable(dir, encoding);
        const auto out = lines(runCommand("ogr2ogr -f CSV /vsistdout/ " + path + " 2>&1", &status));
        ASSERT_EQ(status, 0);
        ASSERT_GE(out.size(), 3u);
        EXPECT_EQ(out[0], "TITLE,YEAR,PRICE,BOUGHT");
        EXPECT_EQ(out[1], titleOf(encoding) + ",\"1939\",1234.5000,1997/03/05"); // no straight quote: no quoting
        EXPECT_EQ(out[2], ",,,");
    }
}

// python3-dbf reads a Windows-1252 table by its language byte, a Unicode one when told.
TEST(Interop, PythonDbfReadsWhatWeWrite)
{
    if (!pythonHas("dbf"))
        GTEST_SKIP() << "python3-dbf is not installed";
    TempDir dir;
    for (const TextEncoding encoding : {TextEncoding::Windows1252, TextEncoding::Utf8}) {
        SCOPED_TRACE(codePageName(encoding));
        const std::string path = writeOurTable(dir, encoding);
        int status = -1;
        const auto out = lines(runCommand("/usr/bin/python3 " + kScripts + "/read_with_dbf.py " + path
                                              + (encoding == TextEncoding::Utf8 ? " utf8" : "") + " 2>&1",
                                          &status));
        ASSERT_EQ(status, 0) << testing::PrintToString(out);
        ASSERT_GE(out.size(), 1u);
        EXPECT_EQ(out[0], "[" + json(titleOf(encoding)) + "]");
    }
}

TEST(Interop, WeReadWhatPythonDbfWrites)
{
    if (!pythonHas("dbf"))
        GTEST_SKIP() << "python3-dbf is not installed";
    TempDir dir;
    const std::string path = dir.file("THEIRS.DBF");
    int status = -1;
    runCommand("/usr/bin/python3 " + kScripts + "/write_with_dbf.py " + path + " 2>&1", &status);
    ASSERT_EQ(status, 0);
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::ReadOnly);
    ASSERT_EQ(t.fieldCount(), 5);
    EXPECT_EQ(t.recordCount(), 4u);
    std::vector<std::string> rows;
    for (t.first(); !t.eof(); t.next()) {
        std::string row;
        for (int i = 0; i < t.fieldCount(); ++i)
            row += (i ? "|" : "") + t.text(i);
        rows.push_back(row);
    }
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "Caf\xC3\xA9 Society|1939|12.5|3/5/97|True");
    EXPECT_EQ(rows[1], "The Third Man|1949|0|12/31/01|False");
    EXPECT_EQ(rows[2], "|0|1234.56||");
    EXPECT_EQ(rows[3], "Last \"quoted\"|2024|-3.25|2/29/24|True");
    t.first();
    EXPECT_EQ(t.date(3), dayNumberFromCivil({1997, 3, 5}));
}

TEST(Interop, GdalWrittenTablesOpenInOurEngine)
{
    int status = -1;
    runCommand("ogr2ogr --version >/dev/null 2>&1", &status);
    if (status != 0)
        GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    const std::string csv = dir.file("in.csv");
    testing_support::writeFileBytes(csv, "TITLE,YEAR\nMetropolis,1927\nM,1931\n");
    const std::string path = dir.file("GDAL.dbf");
    runCommand("ogr2ogr -f 'ESRI Shapefile' " + path + " " + csv + " 2>&1", &status);
    ASSERT_EQ(status, 0);
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::ReadOnly);
    EXPECT_EQ(t.recordCount(), 2u);
    EXPECT_EQ(t.text(t.requireField("title")), "Metropolis");
    t.next();
    EXPECT_EQ(t.text(t.requireField("YEAR")), "1931");
}
