// The duplicate finder over a real collection: planted duplicates under every
// kind of difference it sets aside, the options that narrow them, and the
// groups equal to those a brute-force comparison of every pair finds.
#include "Duplicates.h"
#include "Table.h"
#include "NewCollection.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

using namespace find;

namespace {

class DuplicatesTest : public ::testing::Test, protected testing_support::NewCollection {
protected:
    void add(const std::string& title, int year = 0, const std::string& format = "")
    {
        table.insert();
        table.setText(0, title);
        if (year)
            table.setNumber(table.requireField("Year"), year);
        table.setText(table.requireField("Format"), format);
        table.post();
    }

    // Each group as the record numbers it holds.
    std::set<std::vector<uint32_t>> groupsOf(const DuplicateOptions& options = {})
    {
        std::set<std::vector<uint32_t>> groups;
        for (const DuplicateGroup& g : findDuplicates(table, options))
            groups.insert(g.records);
        return groups;
    }

};

} // namespace

TEST_F(DuplicatesTest, TitlesAreComparedWithoutCaseAccentsPunctuationOrArticles)
{
    EXPECT_EQ(duplicateTitleKey("The Matrix"), "matrix");
    EXPECT_EQ(duplicateTitleKey("Matrix, The"), "matrix");
    EXPECT_EQ(duplicateTitleKey("  the MATRIX!! "), "matrix");
    EXPECT_EQ(duplicateTitleKey("Am\xC3\xA9lie"), "amelie");
    EXPECT_EQ(duplicateTitleKey("\xC5\x81\xC3\xB3" "d\xC5\xBA"), "lodz");
    EXPECT_EQ(duplicateTitleKey("\xE5\x8D\x83\xE3\x81\xA8\xE5\x8D\x83\xE5\xB0\x8B"), "\xE5\x8D\x83\xE3\x81\xA8\xE5\x8D\x83\xE5\xB0\x8B");
    EXPECT_EQ(duplicateTitleKey("\xCE\x86\xCE\xBB\xCF\x86\xCE\xB1!"), duplicateTitleKey("\xCE\xB1\xCE\xBB\xCF\x86\xCE\xB1"));
    EXPECT_EQ(duplicateTitleKey("\xE2\x80\x9C" "Am\xC3\xA9lie\xE2\x80\x9D"), "amelie") << "curly quotes are no part of a word";
    EXPECT_EQ(duplicateTitleKey("Tom & Jerry"), duplicateTitleKey("Tom and Jerry"));
    EXPECT_EQ(duplicateTitleKey("A Fish Called Wanda"), "fish called wanda");
    EXPECT_EQ(duplicateTitleKey("The"), "the") << "a title that is only an article stays one";
    EXPECT_NE(duplicateTitleKey("Theatre"), duplicateTitleKey("atre"));
    EXPECT_NE(duplicateTitleKey("Alien"), duplicateTitleKey("Aliens"));
    EXPECT_EQ(duplicateTitleKey("Up, A"), "up");
    EXPECT_EQ(duplicateTitleKey("Plan A"), "plan a") << "an article at the end without a comma is a word";
}

TEST_F(DuplicatesTest, GroupsFollowTheOptionsAndLoneRecordsAreNoGroup)
{
    EXPECT_TRUE(groupsOf().empty()) << "an empty collection";
    add("The Matrix", 1999, "DVD");       // 1
    EXPECT_TRUE(groupsOf().empty()) << "one record";
    add("Matrix, The", 1999, "VHS");      // 2
    add("the matrix", 2003, "DVD");       // 3
    add("Heat", 1995);                    // 4
    add("");                              // 5: no title
    add("");                              // 6
    EXPECT_EQ(groupsOf(), (std::set<std::vector<uint32_t>>{{1, 2, 3}}));
    EXPECT_EQ(groupsOf({true, false}), (std::set<std::vector<uint32_t>>{{1, 2}}));
    EXPECT_EQ(groupsOf({false, true}), (std::set<std::vector<uint32_t>>{{1, 3}})) << "a tape and a disc are not one";
    EXPECT_TRUE(groupsOf({true, true}).empty());
}

// Over a thousand generated titles with planted variants: the groups equal those
// of comparing every pair of records by hand.
TEST_F(DuplicatesTest, GroupsEqualThoseOfComparingEveryPair)
{
    std::mt19937 random(11);
    const std::vector<std::string> words = {"Night", "City", "Love", "Crime", "Moon", "River", "Storm"};
    std::vector<std::string> titles;
    for (int i = 0; i < 1000; ++i) {
        std::string title = words[random() % words.size()] + " " + words[random() % words.size()];
        switch (random() % 5) {
        case 0: title = "The " + title; break;
        case 1: title += ", The"; break;
        case 2: for (char& c : title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c))); break;
        case 3: title += "!"; break;
        default: break;
        }
        titles.push_back(title);
        add(title);
    }
    const auto same = [](const std::string& a, const std::string& b) {
        return duplicateTitleKey(a) == duplicateTitleKey(b);
    };
    std::set<std::vector<uint32_t>> expected;
    std::vector<bool> grouped(titles.size(), false);
    for (size_t i = 0; i < titles.size(); ++i) {
        if (grouped[i])
            continue;
        std::vector<uint32_t> group{static_cast<uint32_t>(i + 1)};
        for (size_t j = i + 1; j < titles.size(); ++j)
            if (!grouped[j] && same(titles[i], titles[j])) {
                group.push_back(static_cast<uint32_t>(j + 1));
                grouped[j] = true;
            }
        if (group.size() > 1)
            expected.insert(group);
    }
    EXPECT_EQ(groupsOf(), expected);
    EXPECT_GT(expected.size(), 10u);
}
