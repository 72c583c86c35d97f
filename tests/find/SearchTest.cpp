#include "CollectionFile.h"
#include "EditText.h"
#include "Schema.h"
#include "Scripts.h"
#include "Search.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace find;
using testing_support::TempDir;

namespace {

// A small collection; each film is a list of (field name, text).
class SearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("FILMS.DBF");
        db::createCollectionTable(path);
        table.setFilePath(path);
        table.open();
        add({{"Title", "Casablanca"}, {"Star1", "Humphrey Bogart"}, {"Star5", "Claude Rains"}, {"Year", "1942"},
             {"Category", "Drama"}, {"KeyWords", "war love"}, {"RunTime", "102"}});
        add({{"Title", "Alien"}, {"Star1", "Sigourney Weaver"}, {"Year", "1979"}, {"Category", "Sci-Fi"},
             {"KeyWords", "space"}, {"CheckDate", "3/5/97"}});
        add({{"Title", "Brazil"}, {"Star2", "Claude Rains"}, {"Star3", "Humphrey Bogart"}, {"Year", "1985"},
             {"Category", "Comedy"}, {"RunTime", "0"}});
        add({{"Title", "Heat"}, {"Year", "1990"}, {"Category", "DRAMA"}, {"CheckDate", "1/1/99"}});
        add({{"Title", "Ran"}, {"Year", "1980"}, {"Category", "drama comedy"}});
    }

    void add(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        table.insert();
        for (const auto& [field, text] : values)
            table.setText(table.requireField(field), text);
        table.post();
    }

    // The titles of the records that pass the given levels.
    std::vector<std::string> titles(std::initializer_list<std::vector<std::pair<const char*, CriteriaRow>>> levels)
    {
        items.clear();
        for (const auto& level : levels) {
            CriteriaLevel rows;
            for (const auto& [field, row] : level)
                rows[static_cast<size_t>(db::schemaPosition(field) - 1)] = row;
            last = saveLevel(rows, items);
            if (last.kind != SaveResult::Saved)
                return {};
        }
        std::vector<std::string> out;
        for (table.first(); !table.eof(); table.next())
            if (BuildFilter(items, table.current()))
                out.push_back(table.text(0));
        return out;
    }

    using Titles = std::vector<std::string>;
    TempDir dir;
    std::string path;
    db::Table table;
    std::vector<SearchItem> items;
    SaveResult last;
};

} // namespace

TEST_F(SearchTest, TextMatchesAnywhereWithoutRegardToCase)
{
    EXPECT_EQ(titles({{{"Category", {"drama", 1}}}}), (Titles{"Casablanca", "Heat", "Ran"}));
    EXPECT_EQ(titles({{{"Title", {"a", 1}}}}), (Titles{"Casablanca", "Alien", "Brazil", "Heat", "Ran"}));
    EXPECT_EQ(items[0].value, "A");
    EXPECT_EQ(items[0].test, SearchItem::Contains);
}

// A title in any script is found by a part of it typed in other capitals or
// (for the combining accent) composed: capitals are compared a character at a time.
TEST_F(SearchTest, ATitleInAnyScriptIsFoundWithoutRegardToCase)
{
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles()) {
        table.insert();
        table.setText(0, title.title);
        table.post();
    }
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles()) {
        SCOPED_TRACE(title.script);
        EXPECT_EQ(titles({{{"Title", {title.typed, 1}}}}), Titles{title.stored});
        EXPECT_EQ(titles({{{"Title", {title.title, 1}}}}), Titles{title.stored}) << "the whole title, as the user has it";
    }
}

TEST_F(SearchTest, AStarRowLooksInAllSixStars)
{
    EXPECT_EQ(titles({{{"Star2", {"claude rains", 1}}}}), (Titles{"Casablanca", "Brazil"}));
    EXPECT_EQ(items[0].test, SearchItem::AnyStar);
    // Two star rows in one level need both names among the six.
    EXPECT_EQ(titles({{{"Star1", {"Bogart", 1}}, {"Star4", {"Rains", 1}}}}), (Titles{"Casablanca", "Brazil"}));
    EXPECT_EQ(titles({{{"Star1", {"Bogart", 1}}, {"Star4", {"Weaver", 1}}}}), Titles{});
}

TEST_F(SearchTest, KeyWordsFindAnyWordAndTwoBlanksAddAnEmptyWord)
{
    EXPECT_EQ(titles({{{"KeyWords", {"space love", 1}}}}), (Titles{"Casablanca", "Alien"}));
    EXPECT_EQ(items[0].words, (std::vector<std::string>{"SPACE", "LOVE"}));
    EXPECT_EQ(titles({{{"KeyWords", {"space  nothing", 1}}}}), (Titles{"Alien"}));
    EXPECT_EQ(items[0].words.size(), 3u);
}

TEST_F(SearchTest, NumbersAndDatesCompareAndEmptyReadsAsZero)
{
    EXPECT_EQ(titles({{{"Year", {"> 1980 AND < 1990", 4}}}}), (Titles{"Brazil"}));
    EXPECT_EQ(titles({{{"Year", {"= 1942", 1}}}}), (Titles{"Casablanca"}));
    EXPECT_EQ(titles({{{"Year", {"> 1985", 2}}}}), (Titles{"Heat"}));
    EXPECT_EQ(titles({{{"RunTime", {"= 0", 1}}}}), (Titles{"Alien", "Brazil", "Heat", "Ran"}));
    // Less than a date also finds the empty dates.
    EXPECT_EQ(titles({{{"CheckDate", {"< 01/01/1998", 3}}}}), (Titles{"Casablanca", "Alien", "Brazil", "Ran"}));
    EXPECT_TRUE(items[0].isDate);
    EXPECT_EQ(items[0].value, std::to_string(static_cast<long long>(db::dayNumberFromCivil({1998, 1, 1}))));
    EXPECT_EQ(titles({{{"CheckDate", {"=   /  /    ", 1}}, {"Title", {"heat", 1}}}}), (Titles{"Heat"}));
}

TEST_F(SearchTest, OrAcrossLevelsAndWithinOne)
{
    EXPECT_EQ(titles({{{"Category", {"Sci-Fi", 1}}}, {{"Category", {"Comedy", 1}}}}),
              (Titles{"Alien", "Brazil", "Ran"}));
    EXPECT_EQ(titles({{{"Category", {"drama", 1}}, {"Year", {"> 1950", 2}}}}), (Titles{"Heat", "Ran"}));
    EXPECT_TRUE(items.back().levelEnd);
}

TEST_F(SearchTest, BadCriteriaAreRefused)
{
    titles({{{"Year", {"= 19x2", 1}}}});
    EXPECT_EQ(last.kind, SaveResult::Invalid);
    EXPECT_EQ(last.row, 11);
    EXPECT_TRUE(items.empty());
    titles({{{"Year", {"> 1980 AND <     ", 4}}}});
    EXPECT_EQ(last.kind, SaveResult::Invalid);
    titles({{{"CheckDate", {"= 13/45/1997", 1}}}});
    EXPECT_EQ(last.kind, SaveResult::Invalid);
    titles({{{"Title", {"   ", 1}}}});
    EXPECT_EQ(last.kind, SaveResult::NoCriteria);
}

TEST_F(SearchTest, TheSeventySixthItemClearsEverything)
{
    std::vector<SearchItem> all;
    CriteriaLevel rows;
    for (int p = 1; p <= 40; ++p)
        if (rowClass(p) == RowClass::Text)
            rows[static_cast<size_t>(p - 1)].text = "x";
    EXPECT_EQ(saveLevel(rows, all).kind, SaveResult::Saved); // 34 items
    EXPECT_EQ(saveLevel(rows, all).kind, SaveResult::Saved); // 68
    EXPECT_EQ(all.size(), 68u);
    EXPECT_EQ(saveLevel(rows, all).kind, SaveResult::TooMany);
    EXPECT_TRUE(all.empty());
    EXPECT_EQ(tooManyItemsMessage(), "More than 75 search items have been entered.  This exceeds the maximum "
                                     "allowable.  Search criteria will be cleared.");
}
