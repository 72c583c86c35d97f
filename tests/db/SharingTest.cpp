#include "DbError.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <optional>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using namespace db;
using testing_support::TempDir;

namespace {

// Runs work in a child process; returns its exit status (0 when work returned true).
int inChild(const std::function<bool()>& work)
{
    const pid_t pid = fork();
    if (pid == 0) {
        bool ok = false;
        try {
            ok = work();
        } catch (...) {
        }
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

void appendMany(const std::string& path, const std::string& prefix, int count)
{
    Table t;
    t.setFilePath(path);
    t.selectIndex("NewIndex");
    t.open();
    for (int i = 0; i < count; ++i) {
        t.insert();
        t.setText(0, prefix + std::to_string(i));
        t.setNumber(1, i);
        t.post();
        if (i % 50 == 0) {
            // Changing an existing record while the other writer appends.
            t.first();
            t.edit();
            t.setNumber(1, t.number(1) + 1);
            t.post();
        }
    }
}

} // namespace

TEST(Sharing, TwoProcessesAppendingAtOnceKeepTableAndIndexWhole)
{
    TempDir dir;
    const std::string path = dir.file("SHARED.DBF");
    Table::createTable(path, {{"TITLE", 'C', 20, 0}, {"N", 'N', 11, 0}});
    {
        Table t;
        t.setFilePath(path);
        t.addIndex("NewIndex", "Upper(Left(Title,20))+STR(N,11,0)");
    }
    constexpr int kEach = 1500;
    const pid_t other = fork();
    if (other == 0) {
        try {
            appendMany(path, "child", kEach);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    appendMany(path, "parent", kEach);
    int status = 0;
    waitpid(other, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    Table check;
    check.setFilePath(path);
    check.selectIndex("NewIndex");
    check.open();
    EXPECT_EQ(check.physicalRecordCount(), 2u * kEach);
    EXPECT_EQ(check.recordCount(), 2u * kEach);
    std::map<std::string, int> seen;
    std::string previous;
    uint32_t visited = 0;
    for (check.first(); !check.eof(); check.next()) {
        std::string title = check.text(0);
        for (char& c : title)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_LE(previous, title);
        previous = title;
        ++seen[check.text(0)];
        ++visited;
    }
    EXPECT_EQ(visited, 2u * kEach);
    EXPECT_EQ(seen.size(), 2u * kEach); // every record exactly once
    check.close();
    // The index agrees with a fresh rebuild.
    Table rebuilt;
    rebuilt.setFilePath(path);
    rebuilt.open(Table::OpenMode::Exclusive);
    rebuilt.regenerateIndexes();
    EXPECT_EQ(rebuilt.recordCount(), 2u * kEach);
}

TEST(Sharing, AnotherProcessHoldingTheTableBlocksExclusiveUse)
{
    TempDir dir;
    const std::string path = dir.file("HELD.DBF");
    Table::createTable(path, {{"TITLE", 'C', 20, 0}});
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        Table t;
        t.setFilePath(path);
        t.open();
        char c = 1;
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        _exit(0);
    }
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    Table mine;
    mine.setFilePath(path);
    EXPECT_THROW(mine.open(Table::OpenMode::Exclusive), DbError);
    mine.open(Table::OpenMode::Shared); // sharing still works
    mine.close();
    (void)!write(release[1], &c, 1);
    int status = 0;
    waitpid(holder, &status, 0);
    mine.open(Table::OpenMode::Exclusive); // free once the holder has gone
}

TEST(Sharing, ChangesOfAnotherProcessAreSeenAfterRefresh)
{
    TempDir dir;
    const std::string path = dir.file("SEEN.DBF");
    Table::createTable(path, {{"TITLE", 'C', 20, 0}});
    Table mine;
    mine.setFilePath(path);
    mine.addIndex("NewIndex", "Title");
    mine.selectIndex("NewIndex");
    mine.open();
    EXPECT_EQ(inChild([&] {
                  Table t;
                  t.setFilePath(path);
                  t.open();
                  for (const char* title : {"b", "a"}) {
                      t.insert();
                      t.setText(0, title);
                      t.post();
                  }
                  return true;
              }),
              0);
    mine.refresh();
    EXPECT_EQ(mine.recordCount(), 2u);
    mine.first();
    EXPECT_EQ(mine.text(0), "a");
}

TEST(Sharing, AChangeWaitsForAWholeTableReadAndSaysSoWhileItWaits)
{
    TempDir dir;
    const std::string path = dir.file("WAIT.DBF");
    Table::createTable(path, {{"TITLE", 'C', 20, 0}});
    Table reader, writer;
    for (Table* t : {&reader, &writer}) {
        t->setFilePath(path);
        t->open();
    }
    std::vector<bool> told;
    std::atomic<bool> posted{false};
    writer.setLockWait([&](bool waiting) {
        if (told.empty() || told.back() != waiting)
            told.push_back(waiting);
    });
    std::optional<Table::ReadHold> hold(std::in_place, reader);
    std::thread change([&] {
        writer.insert();
        writer.setText(0, "waited");
        writer.post();
        posted = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(posted) << "the change went in while the read held the table";
    reader.refresh();
    EXPECT_EQ(reader.recordCount(), 0u); // what the read sees stays one state
    hold.reset();
    change.join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
    reader.refresh();
    EXPECT_EQ(reader.recordCount(), 1u);
}

// A read that holds the table sees each record as it is then, also one this
// copy read before the hold and another copy changed since (the first record
// of an export or report would otherwise show its earlier state).
TEST(Sharing, AHeldReadSeesRecordsAsTheyAreNotAsTheyWereReadBefore)
{
    TempDir dir;
    const std::string path = dir.file("HELD.DBF");
    Table::createTable(path, {{"TITLE", 'C', 20, 0}, {"N", 'N', 11, 0}});
    Table reader, writer;
    for (Table* t : {&reader, &writer}) {
        t->setFilePath(path);
        t->selectIndex("NewIndex");
    }
    writer.addIndex("NewIndex", "Upper(Left(Title,20))");
    writer.open();
    for (int n = 0; n < 300; ++n) {
        writer.insert();
        writer.setText(0, "T" + std::to_string(1000 + n));
        writer.setNumber(1, n);
        writer.post();
    }
    reader.open();
    reader.first();
    EXPECT_EQ(reader.number(1), 0); // the reader has the first record in hand
    for (writer.first(); !writer.eof(); writer.next()) {
        writer.edit();
        writer.setNumber(1, writer.number(1) + 1000); // every record changed, none moves
        writer.post();
    }
    const Table::ReadHold hold(reader);
    int walked = 0;
    for (reader.first(); !reader.eof(); reader.next(), ++walked)
        ASSERT_EQ(reader.number(1), walked + 1000) << reader.text(0);
    EXPECT_EQ(walked, 300);
}
