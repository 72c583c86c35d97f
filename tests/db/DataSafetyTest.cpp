// Data safety of collection files: two writers, changes cut short, damaged
// files, and what reaches the device before a change is reported done.

#include "CollectionFile.h"
#include "DbError.h"
#include "FaultInjection.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace db;
using testing_support::readFileBytes;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

const char* const kKey = "Upper(Left(Title,20))+STR(N,11,0)";

std::string makeTable(const TempDir& dir, const char* name = "SAFE.DBF")
{
    const std::string path = dir.file(name);
    Table::createTable(path, {{"TITLE", 'C', 30, 0}, {"N", 'N', 11, 0}});
    Table t;
    t.setFilePath(path);
    t.addIndex("NewIndex", kKey);
    return path;
}

void append(Table& t, const std::string& title, int n)
{
    t.insert();
    t.setText(0, title);
    t.setNumber(1, n);
    t.post();
}

void appendTo(const std::string& path, int count, const std::string& prefix = "r")
{
    Table t;
    t.setFilePath(path);
    t.open();
    for (int i = 0; i < count; ++i)
        append(t, prefix + std::to_string(i), i);
}

// "" when the table opens as a program would open it and its file and index
// are sound; else what is wrong.
std::string soundness(const std::string& path)
{
    try {
        Table t;
        t.setFilePath(path);
        t.open();
        if (!t.fileProblem().empty())
            return t.fileProblem();
        if (!t.indexProblem().empty())
            return t.indexProblem();
        return t.checkIndex();
    } catch (const std::exception& e) {
        return e.what();
    }
}

std::vector<std::string> titlesInIndexOrder(const std::string& path)
{
    Table t;
    t.setFilePath(path);
    t.selectIndex("NewIndex");
    t.open(Table::OpenMode::ReadOnly);
    std::vector<std::string> titles;
    for (t.first(); !t.eof(); t.next())
        titles.push_back(t.text(0));
    return titles;
}

int waitFor(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST(DataSafety, ABatchAppendsAfterWhatAnotherCopyAppendedMeanwhile)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    Table batcher;
    batcher.setFilePath(path);
    batcher.open();             // it has seen no records yet
    appendTo(path, 30, "plain"); // another copy appends meanwhile
    batcher.beginBatch();
    for (int i = 0; i < 20; ++i)
        append(batcher, "batch" + std::to_string(i), i);
    batcher.endBatch();
    batcher.close();
    Table check;
    check.setFilePath(path);
    check.open();
    EXPECT_EQ(check.physicalRecordCount(), 50u);
    EXPECT_EQ(check.recordCount(), 50u);
    check.close();
    EXPECT_EQ(soundness(path), "");
    const auto titles = titlesInIndexOrder(path);
    EXPECT_EQ(std::count_if(titles.begin(), titles.end(), [](const std::string& s) { return s.rfind("plain", 0) == 0; }),
              30);
}

TEST(DataSafety, ATagRedefinedByAnotherCopyIsUsedForTheNextChange)
{
    for (const char* redefined : {"Upper(Left(Title,30))", "Left(Title,20)+STR(N,11,0)"}) {
        SCOPED_TRACE(redefined);
        TempDir dir;
        const std::string path = makeTable(dir);
        Table writer;
        writer.setFilePath(path);
        writer.selectIndex("NewIndex");
        writer.open();
        append(writer, "alpha", 1);
        {
            Table other; // another copy redefines the tag while the writer has the table open
            other.setFilePath(path);
            other.open();
            other.addIndex("NewIndex", redefined);
        }
        append(writer, "Beta", 2); // a key of the new length, or the new expression's key
        append(writer, "aardvark", 3);
        writer.edit();
        writer.setText(0, "zebra");
        writer.post();
        writer.close();
        EXPECT_EQ(soundness(path), "");
        Table t;
        t.setFilePath(path);
        t.open();
        ASSERT_EQ(t.indexTags().size(), 1u);
        EXPECT_EQ(t.indexTags()[0].expression, redefined);
    }
}

TEST(DataSafety, AChangeCutShortIsFoundFromTheIndexNotFromClocks)
{
    // A file system with one-second timestamps cannot tell a table changed
    // within the same second: the stop leaves the table's time as the index
    // recorded it, and the index must still not be trusted.
    TempDir dir;
    const std::string path = makeTable(dir);
    appendTo(path, 5);
    const std::string table = readFileBytes(path), index = readFileBytes(indexFileFor(path));
    for (uint64_t stopAt = 1;; ++stopAt) {
        SCOPED_TRACE("stopped at change " + std::to_string(stopAt));
        writeFileBytes(path, table);
        writeFileBytes(indexFileFor(path), index);
        struct stat before {};
        ASSERT_EQ(stat(path.c_str(), &before), 0);
        int64_t stamped;
        std::memcpy(&stamped, index.data() + 40, 8);
        const timespec times[2] = {{stamped / 1000000000, stamped % 1000000000}, {stamped / 1000000000, stamped % 1000000000}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        const pid_t child = fork();
        if (child == 0) {
            Table t;
            t.setFilePath(path);
            t.selectIndex("NewIndex");
            t.open();
            t.first();
            faults::arm(stopAt, faults::Action::Stop);
            t.edit();
            t.setText(0, "zz moved to the end");
            t.post();
            _exit(0);
        }
        const int status = waitFor(child);
        utimensat(AT_FDCWD, path.c_str(), times, 0); // the second has not turned
        EXPECT_EQ(soundness(path), "");
        if (status == 0)
            break; // the change ran to its end: every point before it was tried
        ASSERT_EQ(status, faults::kStoppedExitStatus);
        ASSERT_LT(stopAt, 50u);
    }
}

TEST(DataSafety, AReaderGoesOnInStoredOrderWhenTheIndexCannotBeUsed)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    appendTo(path, 300);
    // A damaged page: a reader cannot rebuild the index and reads in stored order.
    std::string index = readFileBytes(indexFileFor(path));
    index[4096 + 100] ^= 0x55;
    writeFileBytes(indexFileFor(path), index);
    {
        Table reader;
        reader.setFilePath(path);
        reader.selectIndex("NewIndex");
        reader.open(Table::OpenMode::ReadOnly);
        uint32_t seen = 0;
        for (reader.first(); !reader.eof(); reader.next())
            ++seen;
        EXPECT_EQ(seen, 300u);
        EXPECT_NE(reader.indexProblem().find("stored order"), std::string::npos) << reader.indexProblem();
        EXPECT_EQ(reader.recordCount(), 300u);
    }
    EXPECT_EQ(readFileBytes(indexFileFor(path)), index); // a reader changed nothing
    // A folder where the index should be: the table still opens, readers and writers alike.
    std::filesystem::remove(indexFileFor(path));
    std::filesystem::create_directory(indexFileFor(path));
    for (const Table::OpenMode mode : {Table::OpenMode::ReadOnly, Table::OpenMode::Shared}) {
        Table t;
        t.setFilePath(path);
        t.open(mode);
        EXPECT_EQ(t.recordCount(), 300u);
        EXPECT_FALSE(t.indexProblem().empty());
    }
}

TEST(DataSafety, AHeaderCountingMoreRecordsThanTheFileHoldsOpensAndPacksConsistent)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    appendTo(path, 3);
    std::string bytes = readFileBytes(path);
    bytes[4] = 5; // the count reached the disk, two records did not
    writeFileBytes(path, bytes);
    {
        Table t;
        t.setFilePath(path);
        t.open();
        EXPECT_EQ(t.recordCount(), 3u);
        EXPECT_NE(t.fileProblem().find("counts 5 records but the file holds 3"), std::string::npos) << t.fileProblem();
    }
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::Exclusive);
    t.pack();
    EXPECT_EQ(t.fileProblem(), "");
    EXPECT_EQ(t.physicalRecordCount(), 3u);
    t.close();
    EXPECT_EQ(soundness(path), "");
}

TEST(DataSafety, RecordsPastTheCountAreReportedAndKeptByPack)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    appendTo(path, 4);
    std::string bytes = readFileBytes(path);
    bytes[4] = 2; // the records reached the disk, the count did not
    writeFileBytes(path, bytes);
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::Exclusive);
    EXPECT_EQ(t.recordCount(), 2u);
    EXPECT_EQ(t.fileProblem(), "");
    EXPECT_NE(t.fileNote().find("counts 2 records but the file holds 4"), std::string::npos) << t.fileNote();
    t.pack();
    EXPECT_EQ(t.physicalRecordCount(), 4u);
    EXPECT_EQ(t.fileNote(), "");
}

// What a killed import leaves: whole records past the count, the end-of-file
// mark where a record would start, a record cut short at the end.
TEST(DataSafety, PackKeepsOnlyWholeLiveRecordsAndSaysWhatItDid)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    appendTo(path, 8);
    std::string bytes = readFileBytes(path);
    const size_t header = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
    const size_t length = static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11]) << 8;
    auto flag = [&](int record) -> char& { return bytes[header + static_cast<size_t>(record - 1) * length]; };
    flag(2) = '*';    // deleted
    flag(3) = '\x1A'; // no record, within the count
    flag(6) = '\x1A'; // no record, past the count
    flag(7) = '*';    // deleted, past the count
    bytes[4] = 4;     // the header counts four; four more reached the disk
    bytes.resize(header + 8 * length + length / 2); // and half of a ninth
    writeFileBytes(path, bytes);
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::Exclusive);
    EXPECT_EQ(t.recordCount(), 2u); // records 1 and 4: a flag that is neither blank nor '*' is no record
    const Table::PackResult result = t.pack();
    EXPECT_EQ(result.kept, 4u); // 1 and 4, then 5 and 8 from past the count
    EXPECT_EQ(result.pastCount, 2u);
    EXPECT_EQ(result.deleted, 1u);
    EXPECT_EQ(result.damaged, 1u);
    EXPECT_EQ(Table::packMessage(result), "4 records kept, 1 deleted record removed; 2 whole records past the header's "
                                          "count (a change cut short) kept; 1 place holding no record (neither live "
                                          "nor deleted) removed");
    EXPECT_EQ(t.physicalRecordCount(), 4u);
    EXPECT_EQ(t.recordCount(), 4u);
    EXPECT_EQ(t.fileNote(), "");
    t.close();
    EXPECT_EQ(soundness(path), "");
}

TEST(DataSafety, ChangesReachTheDeviceBeforeTheyAreReportedDone)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    const std::string mdx = indexFileFor(path);
    Table t;
    t.setFilePath(path);
    t.open();
    faults::startRecording();
    append(t, "saved", 1);
    std::vector<faults::Change> changes = faults::stopRecording();
    auto last = [&](const std::string& file, const std::string& what) {
        for (size_t i = changes.size(); i-- > 0;)
            if (changes[i].path == file && changes[i].what == what)
                return static_cast<int>(i);
        return -1;
    };
    auto first = [&](const std::string& file, const std::string& what) {
        for (size_t i = 0; i < changes.size(); ++i)
            if (changes[i].path == file && changes[i].what == what)
                return static_cast<int>(i);
        return -1;
    };
    // The index is marked unclean and synced before the table changes; the
    // record is synced before the index is written and marked clean.
    ASSERT_GE(first(mdx, "write file to disk"), 0);
    EXPECT_LT(first(mdx, "write file to disk"), first(t.filePath(), "write file"));
    EXPECT_GT(last(t.filePath(), "write file to disk"), last(t.filePath(), "write file"));
    EXPECT_LT(last(t.filePath(), "write file to disk"), last(mdx, "write file"));
    EXPECT_EQ(changes.back().path, mdx);
    EXPECT_EQ(changes.back().what, "write file");
    EXPECT_LT(last(mdx, "write file to disk"), static_cast<int>(changes.size()) - 1);

    // A batch syncs at its end, a replaced file syncs its folder after the rename.
    faults::startRecording();
    t.beginBatch();
    for (int i = 0; i < 10; ++i)
        append(t, "batch", i);
    t.endBatch();
    changes = faults::stopRecording();
    EXPECT_GT(last(t.filePath(), "write file to disk"), last(t.filePath(), "write file"));
    t.close();
    faults::startRecording();
    Table::createTable(dir.file("NEW.DBF"), {{"TITLE", 'C', 30, 0}});
    changes = faults::stopRecording();
    EXPECT_GT(last(dir.file("NEW.DBF"), "write folder to disk"), last(dir.file("NEW.DBF"), "replace file"));
}

TEST(DataSafety, AFailedWriteLeavesTheTableSoundAndSaysSo)
{
    // A full disk at each write of a post in turn: the post fails with a
    // message, and the table keeps either the old or the new record.
    TempDir dir;
    const std::string path = makeTable(dir);
    appendTo(path, 5);
    for (uint64_t failAt = 1;; ++failAt) {
        SCOPED_TRACE("failed at change " + std::to_string(failAt));
        bool failed = false;
        {
            Table t;
            t.setFilePath(path);
            t.selectIndex("NewIndex");
            t.open();
            t.first();
            t.edit();
            t.setText(0, "changed " + std::to_string(failAt));
            faults::arm(failAt, faults::Action::Fail);
            try {
                t.post();
            } catch (const DbError& e) {
                failed = true;
                EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos);
            }
            faults::disarm();
        }
        EXPECT_EQ(soundness(path), "");
        EXPECT_EQ(titlesInIndexOrder(path).size(), 5u);
        if (!failed)
            break;
        ASSERT_LT(failAt, 50u);
    }
}

TEST(DataSafety, PackWritesThroughALinkAndKeepsPermissions)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    const std::string real = makeTable(dir, "real/T.DBF");
    appendTo(real, 4);
    ASSERT_EQ(chmod(real.c_str(), 0600), 0);
    const std::string link = dir.file("LINKED.DBF");
    std::filesystem::create_symlink(real, link);
    Table t;
    t.setFilePath(link);
    t.open(Table::OpenMode::Exclusive);
    t.first();
    t.deleteRecord();
    t.pack();
    t.close();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    Table r;
    r.setFilePath(real);
    r.open();
    EXPECT_EQ(r.physicalRecordCount(), 3u);
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(DataSafety, IndexExpressionsLongerThanAnIndexHoldsAreRefused)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    std::string expression = "Title";
    while (expression.size() <= 255)
        expression = "Upper(" + expression + ")";
    Table t;
    t.setFilePath(path);
    t.open();
    try {
        t.addIndex("Long", expression);
        FAIL() << "a " << expression.size() << "-character expression was accepted";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("at most 255"), std::string::npos) << e.what();
    }
    EXPECT_EQ(t.indexTags().size(), 1u);
}

TEST(DataSafety, TheIndexFlagIsClearedOnlyInFilesThatAreTables)
{
    TempDir dir;
    const std::string path = dir.file("SHORT.DBF");
    for (const std::string& bytes : {std::string("\x03\x01\x02\x03\x04", 5), std::string(40, '\x7F')}) {
        writeFileBytes(path, bytes);
        EXPECT_THROW(isCollectionTable(path), DbError);
        EXPECT_EQ(readFileBytes(path), bytes);
    }
}

TEST(DataSafety, WorkFilesOfAnEndedRunGoAtTheNextExclusiveOpen)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    writeFileBytes(path + ".rk-pack", std::string(1000, 'x'));
    {
        Table shared; // someone else may be at work: a shared open leaves it
        shared.setFilePath(path);
        shared.open();
    }
    EXPECT_TRUE(std::filesystem::exists(path + ".rk-pack"));
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::Exclusive);
    EXPECT_FALSE(std::filesystem::exists(path + ".rk-pack"));
}

// Work files are named for their run: those of runs that ended (killed, or
// failed without removing them) go at the next run of their kind; those a
// live run is writing stay.
TEST(DataSafety, WorkFilesOfDeadRunsGoAtTheNextRunAndLiveOnesStay)
{
    TempDir dir;
    const std::string destination = dir.file("out.txt");
    // A run that was killed while writing: its process is gone.
    const pid_t child = fork();
    if (child == 0) {
        File work;
        openWorkFile(destination, ".rk-export", work);
        _exit(0);
    }
    ASSERT_EQ(waitFor(child), 0);
    const std::string dead = destination + ".rk-export." + std::to_string(child);
    EXPECT_TRUE(std::filesystem::exists(dead));
    writeFileBytes(destination + ".rk-export", "an older version's work file");
    // A run of this process that is still writing.
    File live;
    const std::string mine = openWorkFile(dir.file("other.txt"), ".rk-export", live);
    // A run of another process that is still writing.
    int ready[2], finish[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(finish), 0);
    const pid_t writer = fork();
    if (writer == 0) {
        File work;
        openWorkFile(destination, ".rk-export", work);
        char c = 0;
        (void)!::write(ready[1], &c, 1);
        (void)!::read(finish[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const std::string others = destination + ".rk-export." + std::to_string(writer);
    writeReplacing(destination, [](File& out) { out.writeAt(0, "new", 3); }, ".rk-export");
    EXPECT_EQ(readFileBytes(destination), "new");
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_FALSE(std::filesystem::exists(destination + ".rk-export"));
    EXPECT_TRUE(std::filesystem::exists(others)) << "a live run's work file stays";
    removeStaleWorkFiles(dir.file("other.txt"), ".rk-export");
    EXPECT_TRUE(std::filesystem::exists(mine)) << "this process's own run still holds it";
    (void)!::write(finish[1], &c, 1);
    EXPECT_EQ(waitFor(writer), 0);
    removeStaleWorkFiles(destination, ".rk-export");
    EXPECT_FALSE(std::filesystem::exists(others));
    // A failed run removes its own.
    EXPECT_THROW(writeReplacing(destination, [](File&) { throw DbError("x", "failed"); }, ".rk-export"), DbError);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find("out.txt.rk-export"), std::string::npos) << entry.path();
}

TEST(DataSafety, TwoWritersOneBatchedATagChangeAndReadersEndWhereTheyShould)
{
    TempDir dir;
    const std::string path = makeTable(dir);
    appendTo(path, 200, "start");
    constexpr int kEach = 600;
    std::vector<pid_t> children;
    auto spawn = [&](const std::function<void()>& work) {
        const pid_t pid = fork();
        if (pid == 0) {
            try {
                work();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "child failed: %s\n", e.what());
                _exit(1);
            }
            _exit(0);
        }
        children.push_back(pid);
    };
    spawn([&] { // a plain writer that also changes and deletes records
        Table t;
        t.setFilePath(path);
        t.selectIndex("NewIndex");
        t.open();
        for (int i = 0; i < kEach; ++i) {
            append(t, "plain" + std::to_string(i), i);
            if (i % 40 == 0) {
                t.first();
                t.edit();
                t.setNumber(1, t.number(1) + 1000); // moves within its title's keys
                t.post();
            }
        }
    });
    spawn([&] { // a batched writer
        Table t;
        t.setFilePath(path);
        t.open();
        for (int i = 0; i < kEach;) {
            t.beginBatch();
            for (int k = 0; k < 50; ++k, ++i)
                append(t, "batch" + std::to_string(i), i);
            t.endBatch();
        }
    });
    spawn([&] { // a tag redefined to a longer key, then back, while the writers work
        for (const char* expression : {"Upper(Left(Title,30))+STR(N,11,0)", kKey}) {
            usleep(20000);
            Table t;
            t.setFilePath(path);
            t.open();
            t.addIndex("NewIndex", expression);
        }
    });
    for (int r = 0; r < 2; ++r)
        spawn([&] { // readers walk the index order and count
            for (int pass = 0; pass < 15; ++pass) {
                Table t;
                t.setFilePath(path);
                t.selectIndex("NewIndex");
                t.open(Table::OpenMode::ReadOnly);
                uint32_t seen = 0;
                for (t.first(); !t.eof(); t.next())
                    ++seen;
                if (seen < 200)
                    throw DbError(path, "a reader saw only " + std::to_string(seen) + " records");
            }
        });
    for (const pid_t child : children)
        EXPECT_EQ(waitFor(child), 0);
    EXPECT_EQ(soundness(path), "");
    const std::vector<std::string> titles = titlesInIndexOrder(path);
    EXPECT_EQ(titles.size(), 200u + 2 * kEach);
    const std::set<std::string> distinct(titles.begin(), titles.end());
    EXPECT_EQ(distinct.size(), titles.size()); // every record once
    for (int i = 0; i < kEach; i += 97) {
        EXPECT_TRUE(distinct.count("plain" + std::to_string(i))) << i;
        EXPECT_TRUE(distinct.count("batch" + std::to_string(i))) << i;
    }
    EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end(), [](std::string a, std::string b) {
        for (std::string* s : {&a, &b})
            for (char& c : *s)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return a < b;
    }));
}

TEST(DataSafety, CreatingATableTouchesNoOtherTablesIndex)
{
    TempDir dir;
    const std::string a = makeTable(dir, "A.DBF");
    ASSERT_TRUE(std::filesystem::exists(dir.file("A.MDX")));
    Table::createTable(dir.file("A.B.DBF"), {{"TITLE", 'C', 30, 0}});
    EXPECT_TRUE(std::filesystem::exists(dir.file("A.B.DBF")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("A.MDX")));
    EXPECT_EQ(soundness(a), "");
    // Its own old index goes: it would only be rebuilt.
    writeFileBytes(dir.file("movies.mdx"), "stale");
    Table::createTable(dir.file("movies.dbf"), {{"TITLE", 'C', 30, 0}});
    EXPECT_FALSE(std::filesystem::exists(dir.file("movies.mdx")));
}
