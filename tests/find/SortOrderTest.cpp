#include "SortOrder.h"

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
