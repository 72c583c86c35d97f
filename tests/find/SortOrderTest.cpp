#include "CollectionFile.h"
#include "FileIO.h"
#include "SortOrder.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using find::buildSortString;

TEST(SortOrder, ExpressionFromTheFourKeys)
{
    EXPECT_EQ(buildSortString({1, 0, 0, 0}), "Upper(Left(Title,80))");
    EXPECT_EQ(buildSortString({1, 11, 0, 0}), "Upper(Left(Title,40))+STR(Year,12,0)");
    EXPECT_EQ(buildSortString({1, 0, 11, 0}), "Upper(Left(Title,40))+STR(Year,12,0)"); // none between keys
    EXPECT_EQ(buildSortString({2, 3, 4, 5}),
              "Upper(Left(Star1,20))+Upper(Left(Star2,20))+Upper(Left(Star3,20))+Upper(Left(Star4,20))");
    EXPECT_EQ(buildSortString({28, 32, 0, 0}), "STR(ListPrice,12,2)+DTOS(CheckDate)");
    EXPECT_EQ(buildSortString({1, 1, 0, 0}), "Upper(Left(Title,40))+Upper(Left(Title,40))");
    EXPECT_EQ(buildSortString({0, 0, 0, 0}), "");
    EXPECT_EQ(buildSortString({2, 0, 0, 0}), "Upper(Left(Star1,80))");
}

// A new sort order replaces the sort tag in one rebuild of the index, keeps
// the other tags, and no sort order takes the tag away.
TEST(SortOrder, ANewOrderReplacesTheSortTagAndNoneTakesItAway)
{
    testing_support::TempDir dir;
    const std::string path = dir.file("FILMS.DBF");
    db::createCollectionTable(path);
    db::Table table;
    table.setFilePath(path);
    table.open(db::Table::OpenMode::Exclusive);
    for (const char* title : {"Vertigo", "Alien", "Heat"}) {
        table.insert();
        table.setText(0, title);
        table.setNumber(table.requireField("Year"), title[0] == 'A' ? 1979 : 1995);
        table.post();
    }
    find::applySortOrder(table, ""); // nothing to take away: no index file is made
    EXPECT_FALSE(db::fileExists(table.indexPath()));
    table.addIndex("Other", "Upper(Left(Title,10))");
    find::applySortOrder(table, find::buildSortString({1, 0, 0, 0}));
    find::applySortOrder(table, find::buildSortString({11, 1, 0, 0}));
    std::vector<std::string> tags;
    for (const db::TagDefinition& tag : table.indexTags())
        tags.push_back(tag.name + " " + tag.expression);
    EXPECT_EQ(tags, (std::vector<std::string>{"Other Upper(Left(Title,10))",
                                              "NewIndex STR(Year,12,0)+Upper(Left(Title,40))"}));
    table.selectIndex(find::kSortTag);
    std::vector<std::string> order;
    for (table.first(); !table.eof(); table.next())
        order.push_back(table.text(0));
    EXPECT_EQ(order, (std::vector<std::string>{"Alien", "Heat", "Vertigo"}));
    EXPECT_EQ(table.checkIndex(), "");
    table.selectIndex("");
    find::applySortOrder(table, "");
    ASSERT_EQ(table.indexTags().size(), 1u);
    EXPECT_EQ(table.indexTags()[0].name, "Other");
}
