#include "NumberText.h"

#include <gtest/gtest.h>

#include <optional>

using exchange::readNumberText;
using exchange::readWholeText;

TEST(NumberText, NumbersAreReadWholeWithTheGroupingOfEitherConvention)
{
    // With the point as this computer's decimal character.
    EXPECT_EQ(readNumberText("1,234.50", '.'), 1234.5);
    EXPECT_EQ(readNumberText("1,234,567", '.'), 1234567.0);
    EXPECT_EQ(readNumberText("1.234,50", '.'), 1234.5); // the last mark is the decimal one
    EXPECT_EQ(readNumberText("1 234.5", '.'), 1234.5);
    EXPECT_EQ(readNumberText("1\xA0" "234", '.'), 1234.0);
    EXPECT_EQ(readNumberText("1'234.5", '.'), 1234.5);
    EXPECT_EQ(readNumberText("  -3.25 ", '.'), -3.25);
    EXPECT_EQ(readNumberText("12.5e1", '.'), 125.0);
    EXPECT_EQ(readNumberText(".5", '.'), 0.5);
    // With the comma as this computer's decimal character.
    EXPECT_EQ(readNumberText("12,5", ','), 12.5);
    EXPECT_EQ(readNumberText("1.234,50", ','), 1234.5);
    EXPECT_EQ(readNumberText("1 234,5", ','), 1234.5);
    EXPECT_EQ(readNumberText("3.25", ','), 3.25); // the point is always a decimal character
    EXPECT_EQ(readNumberText("1.234.567", ','), 1234567.0);
}

TEST(NumberText, CurrencySignsAndTrailingWordsAreNoPartOfTheNumber)
{
    EXPECT_EQ(readNumberText("$1,234.50", '.'), 1234.5);
    EXPECT_EQ(readNumberText("-$5", '.'), -5.0);
    EXPECT_EQ(readNumberText("12,50 \x80", ','), 12.5);
    EXPECT_EQ(readNumberText("\xA3" "3", '.'), 3.0);
    EXPECT_EQ(readNumberText("12.50 USD", '.'), 12.5);
    EXPECT_EQ(readWholeText("1994 and more", '.'), 1994.0);
}

TEST(NumberText, WhatIsNoNumberIsNeverReadAsADifferentOne)
{
    for (const char* text : {"", "abc", "inf", "nan", "1,5", "1,2345", "12,34,567", "1.2.3,4,5", "1e", "--5", "1..5",
                             "12a", "0x10", "1,234.5.6"})
        EXPECT_EQ(readNumberText(text, '.'), std::nullopt) << text;
    EXPECT_EQ(readNumberText("1,2345", ','), 1.2345); // where the comma is the decimal character
    EXPECT_EQ(readWholeText("1.5", '.'), std::nullopt);
    EXPECT_EQ(readWholeText("103.0", '.'), 103.0);
    EXPECT_EQ(readWholeText("about 90", '.'), std::nullopt);
}
