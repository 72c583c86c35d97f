// Our exports in other programs, and other programs' files in our import.
#include "CollectionFile.h"
#include "Cp1252.h"
#include "DbfFormat.h"
#include "DelimitedText.h"
#include "EditText.h"
#include "ExchangeTestData.h"
#include "Export.h"
#include "Import.h"
#include "RunCommand.h"
#include "Schema.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace exchange;
using namespace exchange_testing;
using testing_support::haveProgram;
using testing_support::lines;
using testing_support::pythonHas;
using testing_support::runCommand;
using testing_support::TempDir;

namespace {

const std::string kScripts = INTEROP_SCRIPTS;

class ExchangeInterop : public testing::Test {
protected:
    void SetUp() override
    {
        db::setEditTextFormat({'/', "m/d/yyyy", '.'});
        collection = dir.file("VIDEOS.DBF");
        db::createCollectionTable(collection);
        table.setFilePath(collection);
        table.open();
    }
    void TearDown() override { db::setEditTextFormat({}); }

    std::vector<ExportField> allFields()
    {
        std::vector<ExportLayoutEntry> layout;
        for (int k = 1; k <= 40; ++k)
            layout.push_back({k, true});
        return exportList(layout, {}, table);
    }

    // Imports a file into a new, empty collection and gives its records.
    std::vector<std::vector<std::string>> importedInto(const std::string& from, const ImportMap& map, bool skipFirst)
    {
        const std::string path = dir.file("COPY.DBF");
        db::createCollectionTable(path);
        db::Table into;
        into.setFilePath(path);
        into.open();
        ImportSource source;
        if (db::indexPathOfTableFile(from).empty())
            EXPECT_EQ(openDelimitedSource(from, source), flOk);
        else
            source = openDbfSource(from);
        ImportOptions options;
        options.skipFirst = skipFirst;
        const ImportResult result = importRecords(into, source, map.empty() ? positionalMap(source.fieldNames.size()) : map,
                                                  options);
        EXPECT_EQ(result.error, "");
        into.close();
        return recordsOf(path);
    }

    TempDir dir;
    std::string collection;
    db::Table table;
};

} // namespace

TEST_F(ExchangeInterop, DbfreadReadsOurExportedTableAsWeDo)
{
    if (!pythonHas("dbfread"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    fillAtRandom(table, 200, 11);
    const std::string out = dir.file("OUT.DBF");
    exportDbf(table, allFields(), out, {});
    const auto ours = recordsOf(collection);
    // dbfread is told a Unicode table's encoding, as the help says; a Windows-1252 one it finds itself.
    const auto theirs = lines(runCommand("/usr/bin/python3 " + kScripts + "/read_with_dbfread.py " + out
                                         + (table.encoding() == db::TextEncoding::Utf8 ? " utf-8" : "")));
    ASSERT_EQ(theirs.size(), ours.size() + 1);
    for (size_t r = 0; r < ours.size(); ++r) {
        // One JSON list of texts per record: split it at its quoted values.
        std::vector<std::string> values;
        const std::string& line = theirs[r + 1];
        for (size_t at = line.find('"'); at != std::string::npos; at = line.find('"', at + 1)) {
            std::string value;
            for (++at; line[at] != '"'; ++at)
                value += line[at] == '\\' ? line[++at] : line[at];
            values.push_back(value);
        }
        ASSERT_EQ(values.size(), 40u) << line;
        for (const db::SchemaField& f : db::collectionSchema()) {
            const std::string& mine = ours[r][static_cast<size_t>(f.position - 1)];
            const std::string& read = values[static_cast<size_t>(f.position - 1)];
            SCOPED_TRACE(std::string(f.name) + " of record " + std::to_string(r));
            if (f.kind == db::SchemaKind::Character)
                EXPECT_EQ(read, mine);
            else if (f.kind == db::SchemaKind::Date)
                EXPECT_EQ(read, mine.empty() ? "" : db::storedDateText(*db::parseShortDate(mine)));
            else if (mine.empty())
                EXPECT_EQ(read, "");
            else
                EXPECT_DOUBLE_EQ(std::stod(read), std::stod(mine));
        }
    }
}

TEST_F(ExchangeInterop, GdalCsvOfOurTablesImportsBackTheSame)
{
    if (!haveProgram("ogr2ogr"))
        GTEST_SKIP() << "gdal-bin is not installed";
    fillAtRandom(table, 300, 12);
    table.close();
    const auto before = recordsOf(collection);
    table.open();
    const std::string exported = dir.file("EXPORT.DBF");
    exportDbf(table, allFields(), exported, {});
    // Both the collection itself and our dBASE export, through GDAL's CSV (quotes only where needed, LF line ends).
    for (const std::string& from : {collection, exported}) {
        SCOPED_TRACE(from);
        const std::string csv = dir.file("gdal.csv");
        std::filesystem::remove(csv);
        int status = -1;
        runCommand("ogr2ogr -f CSV " + csv + " " + from + " 2>&1", &status);
        ASSERT_EQ(status, 0);
        EXPECT_TRUE(importedInto(csv, {}, true) == before);
    }
}

TEST_F(ExchangeInterop, TablesOtherProgramsWriteImport)
{
    const ImportMap map{db::schemaPosition("Title"), db::schemaPosition("Year"), db::schemaPosition("ListPrice"),
                        db::schemaPosition("PurchDate"), db::schemaPosition("Viewed")};
    auto field = [](const std::vector<std::string>& row, const char* name) {
        return row[static_cast<size_t>(db::schemaPosition(name) - 1)];
    };
    if (pythonHas("dbf")) {
        const std::string path = dir.file("PYDBF.DBF");
        int status = -1;
        runCommand("/usr/bin/python3 " + kScripts + "/write_with_dbf.py " + path + " 2>&1", &status);
        ASSERT_EQ(status, 0);
        const auto rows = importedInto(path, map, false);
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(field(rows[0], "Title"), "Caf\xC3\xA9 Society");
        EXPECT_EQ(field(rows[0], "Year"), "1939");
        EXPECT_EQ(field(rows[0], "ListPrice"), "12.5");
        EXPECT_EQ(field(rows[0], "PurchDate"), "3/5/1997");
        EXPECT_EQ(field(rows[0], "Viewed"), "Yes");
        EXPECT_EQ(field(rows[2], "PurchDate"), "");
        EXPECT_EQ(field(rows[3], "Title"), "Last \"quoted\"");
        EXPECT_EQ(field(rows[3], "ListPrice"), "-3.25");
        EXPECT_EQ(field(rows[3], "PurchDate"), "2/29/2024");
    }
    if (haveProgram("ogr2ogr")) {
        const std::string csv = dir.file("in.csv");
        testing_support::writeFileBytes(csv, "TITLE,YEAR,PRICE\nMetropolis,1927,\"1,5\"\n\"M, eine Stadt\",1931,2.25\n");
        const std::string path = dir.file("GDAL.dbf");
        int status = -1;
        runCommand("ogr2ogr -f 'ESRI Shapefile' " + path + " " + csv + " 2>&1", &status);
        ASSERT_EQ(status, 0);
        const auto rows = importedInto(path, map, false);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(field(rows[0], "Title"), "Metropolis");
        EXPECT_EQ(field(rows[0], "Year"), "1927");
        EXPECT_EQ(field(rows[1], "Title"), "M, eine Stadt");
        EXPECT_EQ(field(rows[1], "ListPrice"), "2.25");
    }
}
