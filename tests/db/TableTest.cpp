#include "DbError.h"
#include "EditText.h"
#include "FaultInjection.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace db;
using testing_support::TempDir;

namespace {

class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("FILMS.DBF");
        Table::createTable(path, {{"TITLE", 'C', 20, 0}, {"YEAR", 'N', 11, 0}, {"PRICE", 'F', 20, 4},
                                  {"BOUGHT", 'D', 8, 0}, {"SEEN", 'L', 1, 0}});
        table.setFilePath(path);
        table.open();
    }
    void TearDown() override { setEditTextFormat({}); }

    void add(const std::string& title, int year)
    {
        table.insert();
        table.setText(0, title);
        table.setNumber(1, year);
        table.post();
    }

    std::vector<std::string> titles()
    {
        std::vector<std::string> out;
        for (table.first(); !table.isEmpty() && !table.eof(); table.next())
            out.push_back(table.text(0));
        return out;
    }

    TempDir dir;
    std::string path;
    Table table;
};

} // namespace

TEST_F(TableTest, ANameIsAllBeforeItsDbfExtensionAndKeepsTheExtensionCase)
{
    Table t;
    t.setDatabaseName("/data/");
    const struct {
        const char* given;
        const char* name;
        const char* file;
        const char* index;
    } cases[] = {
        {"A.B.DBF", "A.B", "/data/A.B.DBF", "/data/A.B.MDX"},
        {"Films 2.0.dbf", "Films 2.0", "/data/Films 2.0.dbf", "/data/Films 2.0.mdx"},
        {"My.Films.DBF", "My.Films", "/data/My.Films.DBF", "/data/My.Films.MDX"},
        {"imdb_ratings.csv.DBF", "imdb_ratings.csv", "/data/imdb_ratings.csv.DBF", "/data/imdb_ratings.csv.MDX"},
        {"movies.dbf", "movies", "/data/movies.dbf", "/data/movies.mdx"},
        {"MASTER", "MASTER", "/data/MASTER.DBF", "/data/MASTER.MDX"},
        {"Films 2.0", "Films 2.0", "/data/Films 2.0.DBF", "/data/Films 2.0.MDX"},
        {"notes.txt", "notes.txt", "/data/notes.txt.DBF", "/data/notes.txt.MDX"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        t.setTableName(c.given);
        EXPECT_EQ(t.tableName(), c.name);
        EXPECT_EQ(t.filePath(), c.file);
        EXPECT_EQ(t.indexPath(), c.index);
    }
}

TEST_F(TableTest, EmptyTableIsAtBeginningAndEndTogether)
{
    EXPECT_TRUE(table.bof());
    EXPECT_TRUE(table.eof());
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.recordCount(), 0u);
    table.next();
    table.prior();
    EXPECT_TRUE(table.isEmpty());
}

TEST_F(TableTest, NavigationFlagsFollowTheVisits)
{
    add("A", 1990);
    add("B", 1991);
    add("C", 1992);
    table.first();
    EXPECT_TRUE(table.bof());
    EXPECT_FALSE(table.eof());
    EXPECT_EQ(table.text(0), "A");
    table.next();
    EXPECT_FALSE(table.bof());
    table.next();
    EXPECT_EQ(table.text(0), "C");
    table.next();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.text(0), "C"); // stays on the last record
    table.prior();
    EXPECT_EQ(table.text(0), "B");
    table.last();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.text(0), "C");
}

TEST_F(TableTest, FieldsReadAsEditTextNumberAndDate)
{
    table.insert();
    table.setText(0, "Casablanca  ");
    table.setText(1, " 1942 ");
    table.setText(2, "12.5");
    table.setText(3, "11/26/1942");
    table.setText(4, "Yes");
    table.post();
    EXPECT_EQ(table.text(0), "Casablanca");
    EXPECT_EQ(table.text(1), "1942");
    EXPECT_EQ(table.number(1), 1942.0);
    EXPECT_EQ(table.text(2), "12.5");
    EXPECT_EQ(table.text(3), "11/26/42");
    EXPECT_EQ(table.date(3), dayNumberFromCivil({1942, 11, 26}));
    EXPECT_EQ(table.text(4), "True");
    setEditTextFormat({'.', "dd/mm/yyyy", ','});
    EXPECT_EQ(table.text(3), "26.11.1942");
    EXPECT_EQ(table.text(2), "12,5");
}

TEST_F(TableTest, EmptyFieldsReadAsNothingAndZero)
{
    table.insert();
    table.post();
    for (int i = 0; i < table.fieldCount(); ++i)
        EXPECT_EQ(table.text(i), "") << i;
    EXPECT_EQ(table.number(1), 0.0);
    EXPECT_EQ(table.date(3), 0.0);
}

TEST_F(TableTest, BadValuesAreRefusedWithoutTouchingTheRecord)
{
    add("Kept", 2000);
    table.edit();
    EXPECT_THROW(table.setText(1, "19x2"), DbError);
    EXPECT_THROW(table.setText(3, "2/30/99"), DbError);
    EXPECT_THROW(table.setNumber(1, 1e15), DbError);
    table.setText(0, "A title much longer than twenty characters");
    EXPECT_EQ(table.text(0), "A title much longer"); // character fields keep their width
    table.cancel();
    EXPECT_EQ(table.text(0), "Kept");
    EXPECT_EQ(table.number(1), 2000.0);
}

TEST_F(TableTest, WritesOutsideEditStateAreErrors)
{
    add("A", 1);
    EXPECT_THROW(table.setText(0, "x"), DbError);
    EXPECT_THROW(table.post(), DbError);
    Table closed;
    EXPECT_THROW(closed.first(), DbError);
}

TEST_F(TableTest, DeletedRecordsAreHiddenUntilPackRemovesThem)
{
    add("A", 1);
    add("B", 2);
    add("C", 3);
    table.first();
    table.next();
    table.deleteRecord();
    EXPECT_EQ(table.text(0), "C"); // the next record becomes current
    EXPECT_EQ(titles(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(table.recordCount(), 2u);
    EXPECT_EQ(table.physicalRecordCount(), 3u);
    table.last();
    table.deleteRecord();
    EXPECT_EQ(table.text(0), "A"); // no record after the last: the one before it
    table.close();
    table.open(Table::OpenMode::Exclusive);
    table.pack();
    EXPECT_EQ(table.physicalRecordCount(), 1u);
    EXPECT_EQ(titles(), (std::vector<std::string>{"A"}));
}

TEST_F(TableTest, PackNeedsExclusiveUse)
{
    EXPECT_THROW(table.pack(), DbError);
    EXPECT_THROW(table.regenerateIndexes(), DbError);
}

TEST_F(TableTest, FilterLimitsVisitsAndCount)
{
    for (int y = 1990; y < 2000; ++y)
        add("T" + std::to_string(y), y);
    table.setFilter([](const Record& r) { return r.number(1) >= 1995; });
    table.setFiltered(true);
    table.first();
    EXPECT_EQ(table.text(0), "T1995");
    EXPECT_EQ(table.recordCount(), 5u);
    table.setFilter([](const Record&) { return false; });
    table.refresh();
    EXPECT_TRUE(table.bof() && table.eof());
    EXPECT_EQ(table.recordCount(), 0u);
    table.setFiltered(false);
    table.refresh();
    EXPECT_EQ(table.recordCount(), 10u);
}

TEST_F(TableTest, ALargeFilteredCountOnSeveralThreadsCountsLikeOne)
{
    // Enough records for the count to be shared out among threads, in an odd number.
    table.beginBatch();
    for (int i = 0; i < 150001; ++i)
        add(i % 7 == 0 ? "SEVEN" : "other", 1900 + i % 100);
    table.endBatch();
    table.first();
    table.deleteRecord(); // record 1 was a SEVEN: deleted records are never counted
    auto sevens = [](const Record& r) { return r.text(0) == "SEVEN"; };
    table.setFilter(sevens, true);
    table.setFiltered(true);
    const uint32_t shared = table.recordCount();
    table.setFilter(sevens, false);
    const uint32_t alone = table.recordCount();
    EXPECT_EQ(shared, 150001u / 7 + 1 - 1);
    EXPECT_EQ(shared, alone);

    // The parallel scan hands every record to exactly one worker, in blocks that fit together.
    ASSERT_GT(table.scanWorkers(), 0u);
    std::vector<std::vector<std::pair<uint32_t, uint32_t>>> blocks(table.scanWorkers());
    table.scanRecordsInParallel([&](unsigned worker, const char*, uint32_t first, uint32_t n) {
        blocks[worker].push_back({first, n});
    });
    std::vector<std::pair<uint32_t, uint32_t>> all;
    for (const auto& mine : blocks)
        all.insert(all.end(), mine.begin(), mine.end());
    std::sort(all.begin(), all.end());
    uint32_t next = 1;
    for (const auto& [first, n] : all) {
        EXPECT_EQ(first, next);
        next = first + n;
    }
    EXPECT_EQ(next, 150002u);

    // An index built on every core holds every live record once, in key and then record order.
    table.setFiltered(false);
    table.addIndex("NewIndex", "Upper(TITLE)+STR(YEAR,4,0)");
    table.selectIndex("NewIndex");
    EXPECT_EQ(table.recordCount(), 150000u);
    std::string previous;
    uint32_t visited = 0;
    for (table.first(); !table.eof(); table.next()) {
        std::string key = table.text(0) + "/" + table.text(1);
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        ASSERT_LE(previous, key) << "at position " << visited;
        previous = key;
        ++visited;
    }
    EXPECT_EQ(visited, 150000u);
    EXPECT_EQ(previous, "SEVEN/1999");

    // A write that fails while both cores write the leaves is reported, and
    // the table opened again has a whole index, whichever write it was.
    uint64_t failures = 0;
    for (uint64_t failAt = 1; failAt <= 40; ++failAt) {
        SCOPED_TRACE(failAt);
        faults::arm(failAt, faults::Action::Fail);
        bool failed = false;
        try {
            table.addIndex("NewIndex", "STR(YEAR,4,0)+Upper(TITLE)");
        } catch (const DbError&) {
            failed = true;
        }
        faults::disarm();
        table.close();
        table.open();
        EXPECT_EQ(table.checkIndex(), "");
        table.selectIndex("NewIndex");
        EXPECT_EQ(table.recordCount(), 150000u);
        if (!failed)
            break; // the build had fewer changes than that
        ++failures;
    }
    EXPECT_GE(failures, 8u) << "the header, its sync and six leaf writes at least";
    table.first();
    EXPECT_EQ(table.text(1), "1900");
}

TEST_F(TableTest, ABatchCountsItsNewRecordsBeforeTheyAreWritten)
{
    table.beginBatch();
    for (int y = 1990; y < 2000; ++y)
        add("T" + std::to_string(y), y);
    table.setFilter([](const Record& r) { return r.number(1) >= 1995; }, true);
    table.setFiltered(true);
    EXPECT_EQ(table.recordCount(), 5u);
    table.endBatch();
    EXPECT_EQ(table.recordCount(), 5u);
}

TEST_F(TableTest, BookmarksReturnToTheirRecord)
{
    add("A", 1);
    add("B", 2);
    add("C", 3);
    table.first();
    table.next();
    const Table::Bookmark mark = table.bookmark();
    table.last();
    EXPECT_TRUE(table.gotoBookmark(mark));
    EXPECT_EQ(table.text(0), "B");
    table.deleteRecord();
    EXPECT_FALSE(table.gotoBookmark(mark));
}

TEST_F(TableTest, ChangeNotificationsWaitWhileControlsAreDisabled)
{
    int notified = 0;
    table.setChangeListener([&] { ++notified; });
    add("A", 1);
    EXPECT_GT(notified, 0);
    notified = 0;
    table.disableControls();
    table.disableControls();
    add("B", 2);
    table.first();
    table.next();
    EXPECT_EQ(notified, 0);
    table.enableControls();
    EXPECT_EQ(notified, 0);
    table.enableControls();
    EXPECT_EQ(notified, 1);
}

TEST_F(TableTest, ExclusiveOpenFailsWhileAnotherObjectHoldsTheTable)
{
    Table other;
    other.setFilePath(path);
    EXPECT_THROW(other.open(Table::OpenMode::Exclusive), DbError);
    other.open(Table::OpenMode::Shared);
    other.close();
    table.close();
    other.open(Table::OpenMode::Exclusive);
    Table third;
    third.setFilePath(path);
    EXPECT_THROW(third.open(Table::OpenMode::Shared), DbError);
}

TEST_F(TableTest, CreateRefusesToReplaceATableInUse)
{
    EXPECT_THROW(Table::createTable(path, {{"X", 'C', 5, 0}}), DbError);
    table.close();
    Table::createTable(path, {{"X", 'C', 5, 0}});
    table.open();
    EXPECT_EQ(table.fieldCount(), 1);
}

TEST_F(TableTest, AnotherObjectSeesNewRecordsAfterRefresh)
{
    Table reader;
    reader.setFilePath(path);
    reader.open();
    add("A", 1);
    EXPECT_TRUE(reader.isEmpty());
    reader.refresh();
    EXPECT_EQ(reader.recordCount(), 1u);
    reader.first();
    EXPECT_EQ(reader.text(0), "A");
    table.edit();
    table.setText(0, "Changed");
    table.post();
    reader.refresh();
    EXPECT_EQ(reader.text(0), "Changed");
}

TEST_F(TableTest, MissingTableIsAnErrorNamingIt)
{
    Table t;
    t.setFilePath(dir.file("NOPE.DBF"));
    try {
        t.open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("NOPE.DBF"), std::string::npos);
    }
    EXPECT_FALSE(t.active());
}

TEST(TableScan, AScanAcrossManyWindowsSeesEveryRecordOnceWithTheChangesMadeOnTheWay)
{
    // Records wide enough that a forward scan crosses several mapped windows,
    // each mapped ahead while the one before is read.
    TempDir dir;
    const std::string path = dir.file("WIDE.DBF");
    std::vector<FieldDef> fields{{"NUMBER", 'N', 10, 0}};
    for (int i = 0; i < 15; ++i)
        fields.push_back({"TEXT" + std::to_string(i), 'C', 250, 0});
    Table::createTable(path, fields);
    constexpr int kRecords = 9000;
    Table writer, reader;
    writer.setFilePath(path);
    writer.open();
    writer.beginBatch();
    for (int i = 1; i <= kRecords; ++i) {
        writer.insert();
        writer.setNumber(0, i);
        writer.setText(15, "record " + std::to_string(i));
        writer.post();
    }
    writer.endBatch();

    reader.setFilePath(path);
    reader.open();
    std::vector<int> seen;
    for (reader.first(); !reader.eof(); reader.next()) {
        const int n = static_cast<int>(reader.number(0));
        seen.push_back(n);
        if (n == 3000) {
            // Further on, in windows already mapped or being mapped.
            for (writer.first(); !writer.eof() && writer.number(0) < 5000; writer.next()) {
            }
            writer.edit();
            writer.setText(15, "changed on the way");
            writer.post();
            for (; !writer.eof() && writer.number(0) < 7000; writer.next()) {
            }
            writer.deleteRecord();
        }
        if (n == 5000)
            EXPECT_EQ(reader.text(15), "changed on the way");
        else
            EXPECT_EQ(reader.text(15), "record " + std::to_string(n));
    }
    ASSERT_EQ(seen.size(), static_cast<size_t>(kRecords - 1));
    for (size_t i = 0; i < seen.size(); ++i)
        ASSERT_EQ(seen[i], static_cast<int>(i) + (i + 1 >= 7000 ? 2 : 1));

    // Closing in the middle of a scan lets the windows mapped ahead go.
    for (reader.first(); !reader.eof() && reader.number(0) < 4000; reader.next()) {
    }
    reader.close();
    writer.close();

    // So does packing, which puts a new file in place of the one being mapped.
    Table alone;
    alone.setFilePath(path);
    alone.open(Table::OpenMode::Exclusive);
    for (alone.first(); !alone.eof() && alone.number(0) < 4000; alone.next())
        if (static_cast<int>(alone.number(0)) % 2 == 0)
            alone.deleteRecord(); // moves on to the next record
    alone.pack();
    int expected = 1, count = 0;
    for (alone.first(); !alone.eof(); alone.next(), ++count) {
        ASSERT_EQ(static_cast<int>(alone.number(0)), expected);
        expected += expected < 3999 ? 2 : 1;
        if (expected == 7000)
            ++expected;
    }
    EXPECT_EQ(count, 2000 + (kRecords - 4000 + 1) - 1);
}

// A walk in key order inside a ReadHold reads the records ahead a window at
// a time in file order, the later windows on a helper thread. Whatever it
// reads that way is what a walk reading record by record sees.
class HeldKeyOrderWalk : public ::testing::Test {
protected:
    static constexpr int kRecords = 40000; // enough for several windows read on the side

    void SetUp() override
    {
        path = dir.file("HELD.DBF");
        Table::createTable(path, {{"TITLE", 'C', 20, 0}, {"N", 'N', 11, 0}});
        table.setFilePath(path);
        table.addIndex("NewIndex", "Upper(Left(Title,20))");
        table.selectIndex("NewIndex");
        table.open();
        // Titles in an order of their own: the key order leaps about the file.
        table.beginBatch();
        for (int n = 0; n < kRecords; ++n) {
            table.insert();
            table.setText(0, "T" + std::to_string(static_cast<uint32_t>(n) * 2654435761U % 1000003U));
            table.setNumber(1, n);
            table.post();
        }
        table.endBatch();
    }

    // The numbers of the visible records in key order.
    std::vector<int> walk()
    {
        std::vector<int> out;
        for (table.first(); !table.eof(); table.next())
            out.push_back(static_cast<int>(table.number(1)));
        return out;
    }

    TempDir dir;
    std::string path;
    Table table;
};

TEST_F(HeldKeyOrderWalk, SeesWhatAWalkRecordByRecordSeesWithAndWithoutAFilter)
{
    const std::vector<int> plain = walk();
    ASSERT_EQ(plain.size(), static_cast<size_t>(kRecords));
    {
        const Table::ReadHold hold(table);
        EXPECT_EQ(walk(), plain);
    }
    // Searches in between steps: each lands where it would without the hold.
    auto searchAndStep = [&] {
        std::vector<int> out;
        for (const char* key : {"T9", "T1", "T5", "T50", "T2", "T77"}) {
            table.findNearest(key);
            for (int step = 0; step < 5 && !table.eof(); ++step, table.next())
                out.push_back(static_cast<int>(table.number(1)));
        }
        return out;
    };
    const std::vector<int> searched = searchAndStep();
    {
        const Table::ReadHold hold(table);
        walk();
        EXPECT_EQ(searchAndStep(), searched);
    }
    table.setFilter([](const Record& r) { return static_cast<int>(r.number(1)) % 13 == 0; });
    table.setFiltered(true);
    const std::vector<int> filtered = walk();
    ASSERT_EQ(filtered.size(), static_cast<size_t>((kRecords + 12) / 13));
    const Table::ReadHold hold(table);
    EXPECT_EQ(walk(), filtered);
}

TEST_F(HeldKeyOrderWalk, SeesTheTablesOwnChangesAndOtherCopiesChangesOnceTheHoldIsOver)
{
    const std::vector<int> plain = walk();
    // Bookmarks of records far ahead of where the walk changes them.
    std::vector<Table::Bookmark> ahead;
    int position = 0;
    for (table.first(); !table.eof(); table.next(), ++position)
        if (position == 30000 || position == 30001)
            ahead.push_back(table.bookmark());
    {
        const Table::ReadHold hold(table);
        std::vector<int> seen;
        position = 0;
        for (table.first(); !table.eof(); table.next(), ++position) {
            seen.push_back(static_cast<int>(table.number(1)));
            if (position == 20000) {
                const Table::Bookmark here = table.bookmark();
                ASSERT_TRUE(table.gotoBookmark(ahead[0]));
                table.edit();
                table.setNumber(1, -1);
                table.post();
                ASSERT_TRUE(table.gotoBookmark(ahead[1]));
                table.deleteRecord();
                ASSERT_TRUE(table.gotoBookmark(here));
            }
        }
        std::vector<int> expected = plain;
        expected[30000] = -1;
        expected.erase(expected.begin() + 30001);
        EXPECT_EQ(seen, expected);
    }

    // Another copy changes a record once the hold is over: the next hold reads it anew.
    Table other;
    other.setFilePath(path);
    other.selectIndex("NewIndex");
    other.open();
    other.first();
    for (int i = 0; i < 25000; ++i)
        other.next();
    const int changed = static_cast<int>(other.number(1));
    other.edit();
    other.setNumber(1, changed + 1000000);
    other.post();
    const Table::ReadHold hold(table);
    position = 0;
    for (table.first(); !table.eof(); table.next(), ++position) {
        if (position == 25000) {
            EXPECT_EQ(table.number(1), changed + 1000000);
        }
    }
    EXPECT_EQ(position, kRecords - 1);
}

TEST_F(HeldKeyOrderWalk, AFileCutShortUnderTheWalkIsAnErrorNotAWrongRecord)
{
    const std::vector<int> plain = walk();
    const Table::ReadHold hold(table);
    table.first();
    for (int i = 0; i < 10000; ++i)
        table.next();
    // Another program cuts the file to half its records.
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    size_t position = 10000;
    EXPECT_THROW(
        {
            for (; !table.eof(); table.next(), ++position)
                ASSERT_EQ(table.number(1), plain[position]) << position;
        },
        DbError);
    EXPECT_LT(position, plain.size());
}
