// Whole-collection reads beside another copy of the program that is writing:
// every export is one state of the collection the writer passed through.

#include "DelimitedText.h"
#include "Export.h"
#include "TempDir.h"
#include "TwoCopies.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

namespace {

std::vector<std::string> titlesOf(const std::string& text)
{
    std::vector<std::string> titles;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2)
            titles.push_back(line.substr(1, line.size() - 2)); // one quoted value
    }
    return titles;
}

} // namespace

TEST(TwoCopies, EveryExportIsOneStateOfTheCollectionBesideAWriter)
{
    TempDir dir;
    const std::string path = dir.file("SHARED.DBF");
    constexpr int kRecords = 4000;
    makeStateTable(path, kRecords);
    const pid_t writer = startStateWriter(path, kRecords, stressSeconds(), false);
    db::Table table;
    table.setFilePath(path);
    table.selectIndex("NewIndex"); // title order: a renamed record moves while the walk goes on
    table.open();
    const std::vector<exchange::ExportField> fields{{1, 0, "Title"}};
    int exports = 0;
    std::set<size_t> sizes;
    for (; waitpid(writer, nullptr, WNOHANG) == 0; ++exports) {
        table.refresh();
        const std::string out = dir.file("out.txt");
        const exchange::ExportResult result = exchange::exportDelimited(table, fields, out, {false, {}, {}});
        const std::vector<std::string> titles = titlesOf(readFileBytes(out));
        EXPECT_EQ(result.written, titles.size()) << "the count printed is what was written";
        EXPECT_EQ(stateProblem(titles, kRecords), "") << "export " << exports;
        sizes.insert(titles.size());
    }
    EXPECT_EQ(waitForChild(writer), 0);
    RecordProperty("exports", exports);
    EXPECT_GE(exports, 3);
    EXPECT_GE(sizes.size(), 2u) << "the writer changed the collection between the exports";
}
