// Whole-file copies that never harm what they replace: failures at every
// write, cancel, a real full volume, file identity through links.
#include "DbError.h"
#include "FaultInjection.h"
#include "SafeCopy.h"
#include "StopWalk.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <thread>

using testing_support::TempDir;
using testing_support::readFileBytes;
using testing_support::writeFileBytes;

namespace {

std::string randomBytes(size_t n, uint32_t seed)
{
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// No temporary copy is left in a folder.
void expectNoLeftovers(const std::filesystem::path& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().string().find(".rk-copy"), std::string::npos) << entry.path();
}

} // namespace

TEST(SafeCopy, CopiesAndReplacesWhole)
{
    TempDir dir;
    const std::string source = dir.file("MASTER.DBF"), destination = dir.file("backup.DBF");
    writeFileBytes(source, randomBytes((10 << 20) + 12345, 1)); // many blocks, the last one short
    writeFileBytes(destination, "an older backup");
    backup::CopyProgress progress;
    EXPECT_EQ(backup::copyFileSafely(source, destination, &progress), backup::CopyResult::Copied);
    EXPECT_EQ(readFileBytes(destination), readFileBytes(source));
    EXPECT_EQ(progress.copied.load(), progress.total.load());
    expectNoLeftovers(dir.path());
    // An empty file copies too.
    writeFileBytes(source, "");
    backup::copyFileSafely(source, destination);
    EXPECT_EQ(readFileBytes(destination), "");
}

TEST(SafeCopy, AFailureAtEveryChangeLeavesTheDestinationAsItWas)
{
    TempDir dir;
    const std::string source = dir.file("SOURCE.DBF"), destination = dir.file("DEST.DBF");
    writeFileBytes(source, randomBytes(9 << 20, 2));
    const std::string before = randomBytes(3000, 3);
    writeFileBytes(destination, before);
    db::faults::resetCount();
    backup::copyFileSafely(source, destination);
    const uint64_t changes = db::faults::changesSoFar();
    ASSERT_GE(changes, 4u); // create, the writes, the sync, the rename
    for (uint64_t n = 1; n <= changes; ++n) {
        SCOPED_TRACE(n);
        writeFileBytes(destination, before);
        db::faults::resetCount();
        db::faults::arm(n, db::faults::Action::Fail);
        EXPECT_THROW(backup::copyFileSafely(source, destination), db::DbError);
        db::faults::disarm();
        // Either untouched or, when only the folder's sync after the rename failed, the whole copy.
        const std::string now = readFileBytes(destination);
        EXPECT_TRUE(now == before || now == readFileBytes(source));
        expectNoLeftovers(dir.path());
    }
}

// A disk that changes a byte of what it is given and says nothing: the copy is
// read back and compared, so the backup fails and the old copy stays.
TEST(SafeCopy, AByteChangedSilentlyOnItsWayToTheDiskFailsTheCopyAndKeepsTheOldOne)
{
    TempDir dir;
    const std::string source = dir.file("SOURCE.DBF"), destination = dir.file("DEST.DBF");
    writeFileBytes(source, randomBytes(9 << 20, 5));
    const std::string before = "an older backup";
    db::faults::startRecording();
    db::faults::resetCount();
    backup::copyFileSafely(source, destination);
    const std::vector<db::faults::Change> changes = db::faults::stopRecording();
    int writes = 0;
    for (uint64_t n = 1; n <= changes.size(); ++n) {
        if (changes[n - 1].what != "write file")
            continue;
        ++writes;
        SCOPED_TRACE("write " + std::to_string(n));
        writeFileBytes(destination, before);
        db::faults::resetCount();
        db::faults::arm(n, db::faults::Action::Corrupt);
        EXPECT_THROW(backup::copyFileSafely(source, destination), db::DbError);
        db::faults::disarm();
        EXPECT_EQ(readFileBytes(destination), before);
        expectNoLeftovers(dir.path());
    }
    EXPECT_GE(writes, 2);
}

TEST(SafeCopy, ACopyKilledAtEveryChangeLeavesTheOldBackupOrTheWholeNewOneAndTheNextCopyTidiesUp)
{
    TempDir dir;
    const std::string source = dir.file("MASTER.DBF"), destination = dir.file("backup.DBF");
    writeFileBytes(source, randomBytes(3 << 20, 7));
    auto copy = [&](const testing_support::Say&) { backup::copyFileSafely(source, destination); };
    writeFileBytes(destination, "an older backup");
    const testing_support::StoppedRun whole = testing_support::runStoppedAt(0, copy);
    ASSERT_EQ(whole.status, 0) << whole.said;
    for (uint64_t at = 1; at <= whole.changes; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at) + " of " + std::to_string(whole.changes));
        writeFileBytes(destination, "an older backup");
        const testing_support::StoppedRun run = testing_support::runStoppedAt(at, copy);
        EXPECT_EQ(run.status, db::faults::kStoppedExitStatus) << run.said;
        const std::string now = readFileBytes(destination);
        EXPECT_TRUE(now == "an older backup" || now == readFileBytes(source)) << now.size() << " bytes";
    }
    // The killed copies' work files go with the next copy.
    EXPECT_EQ(backup::copyFileSafely(source, destination), backup::CopyResult::Copied);
    EXPECT_EQ(readFileBytes(destination), readFileBytes(source));
    expectNoLeftovers(dir.path());
}

TEST(SafeCopy, ACancelledCopyLeavesTheDestinationAsItWas)
{
    TempDir dir;
    const std::string source = dir.file("SOURCE.DBF"), destination = dir.file("DEST.DBF");
    writeFileBytes(source, randomBytes(12 << 20, 4));
    writeFileBytes(destination, "kept");
    backup::CopyProgress progress;
    progress.cancel = true;
    EXPECT_EQ(backup::copyFileSafely(source, destination, &progress), backup::CopyResult::Cancelled);
    EXPECT_EQ(readFileBytes(destination), "kept");
    expectNoLeftovers(dir.path());
}

TEST(SafeCopy, TheSameFileIsKnownByItsIdentityNotItsName)
{
    TempDir dir;
    const std::string file = dir.file("MASTER.DBF");
    writeFileBytes(file, "collection");
    std::filesystem::create_directory(dir.file("sub"));
    std::filesystem::create_symlink(file, dir.file("sub/link.DBF"));
    std::filesystem::create_hard_link(file, dir.file("hard.DBF"));
    EXPECT_TRUE(backup::sameFile(file, dir.file("sub/link.DBF")));
    EXPECT_TRUE(backup::sameFile(file, dir.file("sub/../MASTER.DBF")));
    EXPECT_TRUE(backup::sameFile(file, dir.file("hard.DBF")));
    EXPECT_FALSE(backup::sameFile(file, dir.file("missing.DBF")));
    EXPECT_THROW(backup::copyFileSafely(file, dir.file("sub/link.DBF")), db::DbError);
    EXPECT_EQ(readFileBytes(file), "collection");
    // A copy through a link replaces the file behind it and keeps the link.
    writeFileBytes(dir.file("other.DBF"), "other");
    backup::copyFileSafely(dir.file("other.DBF"), dir.file("sub/link.DBF"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("sub/link.DBF")));
    EXPECT_EQ(readFileBytes(file), "other");
}

TEST(SafeCopy, ReadErrorsNameTheFile)
{
    TempDir dir;
    try {
        backup::copyFileSafely(dir.file("missing.DBF"), dir.file("to.DBF"));
        ADD_FAILURE() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.DBF"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("to.DBF")));
}

// A real volume of 1 MB (a tmpfs), where the super-user may mount one.
class SmallVolume : public testing::Test {
protected:
    void SetUp() override
    {
        folder = dir.file("volume");
        std::filesystem::create_directory(folder);
        if (::geteuid() != 0 || ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "a tmpfs cannot be mounted here";
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted)
            ::umount(folder.c_str());
    }
    TempDir dir;
    std::string folder;
    bool mounted = false;
};

TEST_F(SmallVolume, AFullVolumeLeavesTheOldBackupAndTheRoomCountsIt)
{
    const std::string old = folder + "/MASTER.DBF";
    writeFileBytes(old, randomBytes(900 * 1024, 5));
    const std::string before = readFileBytes(old);
    const std::string source = dir.file("MASTER.DBF");
    writeFileBytes(source, randomBytes(950 * 1024, 6));
    // 1 MB volume, 900 KB used: 950 KB fits only in the old file's place.
    const backup::CopySpace space = backup::spaceFor(source, old);
    EXPECT_TRUE(space.fitsInPlace());
    EXPECT_FALSE(space.fitsBeside());
    // The safe copy runs into the full volume and leaves the old backup whole.
    EXPECT_THROW(backup::copyFileSafely(source, old), db::DbError);
    EXPECT_EQ(readFileBytes(old), before);
    expectNoLeftovers(folder);
    // In the old one's place (when the user agreed to lose it) it fits.
    EXPECT_EQ(backup::copyFileSafely(source, old, nullptr, true), backup::CopyResult::Copied);
    EXPECT_EQ(readFileBytes(old), readFileBytes(source));
}

// The covers folder goes with the collection's copy: every picture whole,
// those already at the destination under other names kept, none when there is
// no folder.
TEST(SafeCopy, TheCoversFolderGoesWithTheCollection)
{
    testing_support::TempDir dir;
    std::filesystem::create_directories(dir.file("home/FILMS.covers"));
    std::filesystem::create_directories(dir.file("media/FILMS.covers"));
    writeFileBytes(dir.file("home/FILMS.covers/Heat (1995).jpg"), std::string(100000, 'x'));
    writeFileBytes(dir.file("home/FILMS.covers/Alien (1979).png"), "alien");
    writeFileBytes(dir.file("media/FILMS.covers/Old (1950).jpg"), "old");
    writeFileBytes(dir.file("media/FILMS.covers/Alien (1979).png"), "an older alien");
    EXPECT_EQ(backup::copyCovers(dir.file("home/FILMS.DBF"), dir.file("media/FILMS.DBF")), 2u);
    EXPECT_EQ(readFileBytes(dir.file("media/FILMS.covers/Heat (1995).jpg")), std::string(100000, 'x'));
    EXPECT_EQ(readFileBytes(dir.file("media/FILMS.covers/Alien (1979).png")), "alien");
    EXPECT_EQ(readFileBytes(dir.file("media/FILMS.covers/Old (1950).jpg")), "old");
    EXPECT_EQ(backup::copyCovers(dir.file("none/OTHER.DBF"), dir.file("media/OTHER.DBF")), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("media/OTHER.covers")));
    EXPECT_EQ(backup::copyCovers(dir.file("home/FILMS.DBF"), dir.file("home/FILMS.DBF")), 0u) << "onto itself";
}
