#include "DbError.h"
#include "FaultInjection.h"
#include "TempDir.h"
#include "TextReportFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using testing_support::readFileBytes;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

// Lines enough for several of the pieces the writer thread writes at a time.
std::string writeLines(report::TextReportFile& file)
{
    std::string expected;
    for (int n = 0; n < 200000; ++n) {
        const std::string line = "Line " + std::to_string(n) + " of a long report, with its values";
        file.stream() << line << "\r\n";
        expected += line + "\r\n";
    }
    return expected;
}

bool workFilesLeft(const TempDir& dir)
{
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().string().find(".rk-new") != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(TextReportFile, ReplacesItsDestinationWithEveryLineOnlyWhenCommitted)
{
    TempDir dir;
    const std::string path = dir.file("report.txt");
    writeFileBytes(path, "what was there");
    std::string expected;
    {
        report::TextReportFile uncommitted(path);
        writeLines(uncommitted);
    }
    EXPECT_EQ(readFileBytes(path), "what was there");
    {
        report::TextReportFile file(path);
        expected = writeLines(file);
        file.commit();
    }
    EXPECT_EQ(readFileBytes(path), expected);
    EXPECT_FALSE(workFilesLeft(dir));
}

TEST(TextReportFile, AWriteThatFailsIsReportedWithItsCauseAndTheDestinationIsKept)
{
    TempDir dir;
    const std::string path = dir.file("report.txt");
    writeFileBytes(path, "what was there");
    db::faults::resetCount();
    {
        report::TextReportFile file(path);
        writeLines(file);
        file.commit();
    }
    const uint64_t changes = db::faults::changesSoFar();
    ASSERT_GT(changes, 4u);
    for (uint64_t n = 1; n < changes; ++n) {
        SCOPED_TRACE(n);
        writeFileBytes(path, "what was there");
        db::faults::resetCount();
        db::faults::arm(n, db::faults::Action::Fail);
        try {
            report::TextReportFile file(path);
            writeLines(file);
            file.commit();
            ADD_FAILURE() << "the report was said to be written";
        } catch (const db::DbError& e) {
            EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos) << e.what();
        }
        db::faults::disarm();
        EXPECT_EQ(readFileBytes(path), "what was there");
        EXPECT_FALSE(workFilesLeft(dir));
    }
}
