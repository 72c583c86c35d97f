// A backup beside another copy of the program that writes between its runs:
// every backup is one state of the collection, whole and consistent.

#include "CollectionFile.h"
#include "SafeCopy.h"
#include "TempDir.h"
#include "TwoCopies.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace testing_support;

TEST(TwoCopies, EveryBackupIsOneWholeStateOfTheCollection)
{
    TempDir dir;
    const std::string path = dir.file("SHARED.DBF");
    constexpr int kRecords = 20000;
    makeStateTable(path, kRecords);
    std::filesystem::create_directory(dir.file("backup"));
    const std::string copy = dir.file("backup/SHARED.DBF");
    const pid_t writer = startStateWriter(path, kRecords, stressSeconds(), true);
    int backups = 0, refused = 0;
    std::set<uint32_t> counts;
    while (waitpid(writer, nullptr, WNOHANG) == 0) {
        {
            const db::ExclusiveUse use(path);
            if (!use.acquired()) {
                ++refused; // the writer has it open: the backup says so and copies nothing
                continue;
            }
            ASSERT_EQ(backup::copyFileSafely(path, copy), backup::CopyResult::Copied);
        }
        ++backups;
        db::removeIndexFlag(copy); // only the table file travels
        db::Table t;
        t.setFilePath(copy);
        t.open(db::Table::OpenMode::ReadOnly);
        EXPECT_EQ(t.fileProblem(), "");
        EXPECT_EQ(t.fileNote(), "") << "records past the header's count";
        std::vector<std::string> titles;
        for (t.first(); !t.isEmpty() && !t.eof(); t.next())
            titles.push_back(t.text(0));
        EXPECT_EQ(stateProblem(titles, kRecords), "") << "backup " << backups;
        counts.insert(t.physicalRecordCount());
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the writer's turn
    }
    EXPECT_EQ(waitForChild(writer), 0);
    EXPECT_GE(backups, 3);
    EXPECT_GE(counts.size(), 2u) << "the writer changed the collection between the backups";
}
