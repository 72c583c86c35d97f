// Imports and exports killed at every change they make: the collection opens
// whole with a run of the imported records (each once, in order), an export's
// destination is the old file or the whole new one, every count printed is
// what is there, and the next run leaves no work file behind.

#include "CollectionFile.h"
#include "DelimitedText.h"
#include "Export.h"
#include "ExchangeTestData.h"
#include "Import.h"
#include "Schema.h"
#include "StopWalk.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace testing_support;
using exchange_testing::recordsOf;

namespace {

constexpr int kImported = 700; // more than one batch, and more than one piece of records within a batch

void freshCollection(const std::string& path)
{
    std::filesystem::remove(path);
    std::filesystem::remove(db::indexPathOfTableFile(path));
    db::createCollectionTable(path);
    db::Table t;
    t.setFilePath(path);
    t.addIndex("NewIndex", "Upper(Left(Title,30))");
}

std::vector<std::string> workFilesIn(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".rk-") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

} // namespace

namespace {

// An import into a collection opened as given, killed at every change it makes.
void killImportAtEveryChange(db::Table::OpenMode mode)
{
    TempDir dir;
    const std::string collection = dir.file("VIDEOS.DBF"), text = dir.file("in.txt");
    std::string lines = "\"Title\",\"Year\"\r\n";
    for (int i = 0; i < kImported; ++i)
        lines += "\"Title " + std::to_string(10000 + i) + "\",\"" + std::to_string(1900 + i % 100) + "\"\r\n";
    writeFileBytes(text, lines);
    auto import = [&](const Say& say) {
        db::Table table;
        table.setFilePath(collection);
        table.selectIndex("NewIndex");
        table.open(mode);
        exchange::ImportSource source;
        exchange::openDelimitedSource(text, source);
        exchange::ImportOptions options;
        options.batchSize = 300;
        const exchange::ImportResult result = exchange::importRecords(table, source, {1, db::schemaPosition("Year")}, options);
        say("N " + std::to_string(result.imported));
    };
    freshCollection(collection);
    const StoppedRun whole = runStoppedAt(0, import);
    ASSERT_EQ(whole.status, 0) << whole.said;
    ASSERT_GT(whole.changes, 10u);
    std::printf("an import of %d records: %llu changes\n", kImported, static_cast<unsigned long long>(whole.changes));
    for (uint64_t at = 1; at <= whole.changes; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at) + " of " + std::to_string(whole.changes));
        freshCollection(collection);
        const StoppedRun run = runStoppedAt(at, import);
        EXPECT_EQ(run.status, db::faults::kStoppedExitStatus) << run.said;
        db::Table table;
        table.setFilePath(collection);
        table.selectIndex("NewIndex");
        table.open();
        EXPECT_EQ(table.fileProblem(), "");
        EXPECT_EQ(table.checkIndex(), "");
        const auto rows = recordsOf(collection);
        for (size_t r = 0; r < rows.size(); ++r)
            ASSERT_EQ(rows[r][0], "Title " + std::to_string(10000 + r)) << "record " << r;
        EXPECT_EQ(table.recordCount(), rows.size());
        if (::testing::Test::HasFailure())
            return;
    }
    // Run to its end, the import says how many it imported, and they are there; a reader
    // finds the file and its index sound without anything opening them to write first.
    freshCollection(collection);
    const StoppedRun full = runStoppedAt(0, import);
    EXPECT_EQ(saidAfter(full.said, "N"), std::to_string(kImported));
    db::Table reader;
    reader.setFilePath(collection);
    reader.open(db::Table::OpenMode::ReadOnly);
    EXPECT_EQ(reader.fileNote(), "");
    EXPECT_EQ(reader.indexProblem(), "");
    EXPECT_EQ(reader.checkIndex(), "");
    EXPECT_EQ(reader.physicalRecordCount(), static_cast<uint32_t>(kImported));
    EXPECT_EQ(recordsOf(collection).size(), static_cast<size_t>(kImported));
}

} // namespace

TEST(ExchangeCrash, AnImportKilledAtEveryChangeLeavesAWholeCollectionWithARunOfItsRecords)
{
    killImportAtEveryChange(db::Table::OpenMode::Shared);
}

// The command line's import: the collection held alone, in batches ten times as large.
TEST(ExchangeCrash, AnImportIntoACollectionHeldAloneKilledAtEveryChangeLeavesItWhole)
{
    killImportAtEveryChange(db::Table::OpenMode::Exclusive);
}

TEST(ExchangeCrash, AnExportKilledAtEveryChangeLeavesTheOldFileOrTheWholeNewOne)
{
    TempDir dir;
    const std::string collection = dir.file("VIDEOS.DBF"), out = dir.file("out.txt");
    freshCollection(collection);
    {
        db::Table table;
        table.setFilePath(collection);
        table.open();
        exchange_testing::fillAtRandom(table, 2500, 4);
    }
    auto exportTo = [&](const std::string& destination) {
        return [&, destination](const Say& say) {
            db::Table table;
            table.setFilePath(collection);
            table.selectIndex("NewIndex");
            table.open(db::Table::OpenMode::ReadOnly);
            const int year = db::schemaPosition("Year");
            const std::vector<exchange::ExportField> fields{{1, 0, "Title"}, {year, year - 1, "Year"}};
            const exchange::ExportResult result = exchange::exportDelimited(table, fields, destination, {true, {}, {}});
            say("N " + std::to_string(result.written));
        };
    };
    const StoppedRun reference = runStoppedAt(0, exportTo(dir.file("reference.txt")));
    ASSERT_EQ(reference.status, 0) << reference.said;
    EXPECT_EQ(saidAfter(reference.said, "N"), "2500");
    const std::string whole = readFileBytes(dir.file("reference.txt"));
    std::printf("an export: %llu changes\n", static_cast<unsigned long long>(reference.changes));
    for (uint64_t at = 1; at <= reference.changes; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at) + " of " + std::to_string(reference.changes));
        writeFileBytes(out, "what was there");
        const StoppedRun run = runStoppedAt(at, exportTo(out));
        EXPECT_EQ(run.status, db::faults::kStoppedExitStatus) << run.said;
        const std::string now = readFileBytes(out);
        EXPECT_TRUE(now == "what was there" || now == whole) << now.size() << " bytes";
        if (::testing::Test::HasFailure())
            return;
    }
    // The next export removes what the killed ones left.
    const StoppedRun next = runStoppedAt(0, exportTo(out));
    EXPECT_EQ(next.status, 0);
    EXPECT_EQ(readFileBytes(out), whole);
    EXPECT_EQ(workFilesIn(dir.path()), std::vector<std::string>{});
}
