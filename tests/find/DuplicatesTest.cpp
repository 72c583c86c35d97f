// The duplicate finder over a real collection: planted duplicates under every
// kind of difference it sets aside, the options that narrow them, and the
// groups equal to those a brute-force comparison of every pair finds.
#include "Duplicates.h"
#include "Record.h"
#include "Table.h"
#include "NewCollection.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(DuplicatesTest, ArticlesOfGermanFrenchSpanishItalianAndDutchTitlesAreSetAsideToo)
{
    const std::vector<std::tuple<const char*, const char*, const char*>> pairs = {
        {"Das Boot", "Boot, Das", "boot"},
        {"Der Himmel \xC3\xBC" "ber Berlin", "Himmel \xC3\xBC" "ber Berlin, Der", "himmel uber berlin"},
        {"Ein Mann sieht rot", "Mann sieht rot, Ein", "mann sieht rot"},
        {"Eine Frau unter Einfluss", "Frau unter Einfluss, Eine", "frau unter einfluss"},
        {"Les Mis\xC3\xA9rables", "Mis\xC3\xA9rables, Les", "miserables"},
        {"L'Atalante", "Atalante, L'", "atalante"},
        {"Une femme est une femme", "Femme est une femme, Une", "femme est une femme"},
        {"Un chien andalou", "Chien andalou, Un", "chien andalou"},
        {"Los olvidados", "Olvidados, Los", "olvidados"},
        {"Las Hurdes", "Hurdes, Las", "hurdes"},
        {"El laberinto del fauno", "Laberinto del fauno, El", "laberinto del fauno"},
        {"La dolce vita", "Dolce vita, La", "dolce vita"},
        {"Il sorpasso", "Sorpasso, Il", "sorpasso"},
        {"Lo chiamavano Trinit\xC3\xA0", "Chiamavano Trinit\xC3\xA0, Lo", "chiamavano trinita"},
        {"Gli uccelli", "Uccelli, Gli", "uccelli"},
        {"Una giornata particolare", "Giornata particolare, Una", "giornata particolare"},
        {"De aanslag", "Aanslag, De", "aanslag"},
        {"Het meisje met het rode haar", "Meisje met het rode haar, Het", "meisje met het rode haar"},
        {"Een vlucht regenwulpen", "Vlucht regenwulpen, Een", "vlucht regenwulpen"},
    };
    for (const auto& [leading, trailing, key] : pairs) {
        SCOPED_TRACE(leading);
        EXPECT_EQ(duplicateTitleKey(leading), key);
        EXPECT_EQ(duplicateTitleKey(trailing), key);
    }
    EXPECT_EQ(duplicateTitleKey("Das"), "das") << "a title that is only an article stays one";
    EXPECT_EQ(duplicateTitleKey("I, Robot"), "i robot") << "an English I is no Italian article";
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

// The window's search: over a table of its own, among the records the viewer
// shows, without the groups marked as no duplicates, the largest first with
// their texts read, and nothing once it is told to stop.
TEST_F(DuplicatesTest, AWindowsSearchReadsItsOwnTableAndCanBeStopped)
{
    add("Heat", 1995, "VHS");        // 1
    add("heat!", 1995, "DVD");       // 2
    add("The Matrix", 1999, "DVD");  // 3
    add("Matrix, The", 1999, "VHS"); // 4
    add("Matrix", 2003, "DVD");      // 5
    add("Alien", 1979);              // 6
    add("Alien", 1986);              // 7
    const std::string path = table.filePath();
    const std::vector<std::string> fields{"Title", "Year", "NoSuchField"};
    DuplicateProgress progress;
    std::optional<FoundDuplicates> found = findDuplicatesInFile(path, {}, {}, 2, fields, progress);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->groupsFound, 3u);
    ASSERT_EQ(found->groups.size(), 2u) << "as many as asked for";
    EXPECT_EQ(found->groups[0].key, "matrix");
    EXPECT_EQ(found->groups[0].records, (std::vector<uint32_t>{3, 4, 5}));
    ASSERT_EQ(found->groups[0].texts.size(), 3u);
    EXPECT_EQ(found->groups[0].texts[1], (std::vector<std::string>{"Matrix, The", "1999", ""}));
    EXPECT_EQ(found->groups[1].key, "alien") << "equal sizes by key";
    EXPECT_EQ(found->groups[1].texts[1][1], "1986");
    EXPECT_EQ(progress.looked, 7u);

    // A search in the viewer: only the records it shows.
    const auto noAliens = [](const db::Record& r) { return r.text(0) != "Alien"; };
    DuplicateProgress again;
    found = findDuplicatesInFile(path, noAliens, {}, 10, fields, again);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->groupsFound, 2u);
    EXPECT_EQ(again.looked, 5u);

    NotDuplicates(path).add("matrix");
    DuplicateProgress third;
    found = findDuplicatesInFile(path, {}, {}, 10, fields, third);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->groups.size(), 2u);
    EXPECT_EQ(found->groups[0].key, "alien");

    DuplicateProgress stopped;
    stopped.cancel = true;
    EXPECT_FALSE(findDuplicatesInFile(path, {}, {}, 10, fields, stopped));
    EXPECT_THROW(findDuplicatesInFile(path + ".missing", {}, {}, 10, fields, third), std::exception);
}

// The keys of a large collection are compared by hash and text: the groups
// equal those of a plain map of keys, on every core.
TEST_F(DuplicatesTest, GroupsOfALargeCollectionEqualThoseOfAMapOfKeys)
{
    std::mt19937 random(5);
    const std::vector<std::string> words = {"Night", "City", "Love", "Crime", "Moon", "River", "Storm", "Łódź", "夜", "Ночь"};
    table.beginBatch();
    for (int i = 0; i < 120000; ++i) {
        table.insert();
        table.setText(0, words[random() % words.size()] + " " + words[random() % words.size()] + " "
                             + std::to_string(random() % 40000));
        table.post();
    }
    table.endBatch();
    std::map<std::string, std::vector<uint32_t>> expected;
    for (table.first(); !table.eof(); table.next())
        expected[duplicateTitleKey(table.text(0))].push_back(table.recNo());
    std::set<std::vector<uint32_t>> expectedGroups;
    for (auto& [key, records] : expected)
        if (records.size() > 1) {
            std::sort(records.begin(), records.end());
            expectedGroups.insert(records);
        }
    EXPECT_EQ(groupsOf(), expectedGroups);
    EXPECT_GT(expectedGroups.size(), 1000u);
}
