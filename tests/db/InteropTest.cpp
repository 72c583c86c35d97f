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

// A table with each field type, written by our engine.
std::string writeOurTable(const TempDir& dir)
{
    const std::string path = dir.file("OURS.DBF");
    Table::createTable(path, {{"TITLE", 'C', 30, 0}, {"YEAR", 'N', 11, 0}, {"PRICE", 'F', 20, 4}, {"BOUGHT", 'D', 8, 0}});
    Table t;
    t.setFilePath(path);
    t.open();
    t.insert();
    t.setText(0, utf8ToCp1252("Caf\xC3\xA9 \xE2\x82\xAC \"quoted\""));
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

} // namespace

TEST(Interop, DbfreadReadsWhatWeWrite)
{
    if (!pythonHas("dbfread"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    TempDir dir;
    const std::string path = writeOurTable(dir);
    int status = -1;
    const auto out = lines(runCommand("/usr/bin/python3 " + kScripts + "/read_with_dbfread.py " + path, &status));
    ASSERT_EQ(status, 0);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], R"(["TITLE", "YEAR", "PRICE", "BOUGHT"])");
    EXPECT_EQ(out[1], "[\"Caf\xC3\xA9 \xE2\x82\xAC \\\"quoted\\\"\", \"1939\", \"1234.5\", \"19970305\"]");
    EXPECT_EQ(out[2], R"(["", "", "", ""])");
}

TEST(Interop, GdalReadsWhatWeWrite)
{
    int status = -1;
    runCommand("ogr2ogr --version >/dev/null 2>&1", &status);
    if (status != 0)
        GTEST_SKIP() << "gdal-bin is not installed";
    TempDir dir;
    const std::string path = writeOurTable(dir);
    // GDAL takes language driver 0x57 for Latin-1 unless told the code page.
    const auto out = lines(runCommand("ogr2ogr -oo ENCODING=CP1252 -f CSV /vsistdout/ " + path + " 2>&1", &status));
    ASSERT_EQ(status, 0);
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0], "TITLE,YEAR,PRICE,BOUGHT");
    EXPECT_EQ(out[1], "\"Caf\xC3\xA9 \xE2\x82\xAC \"\"quoted\"\"\",\"1939\",1234.5000,1997/03/05");
    EXPECT_EQ(out[2], ",,,");
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
            row += (i ? "|" : "") + cp1252ToUtf8(t.text(i));
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
