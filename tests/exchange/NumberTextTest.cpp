#include "NumberText.h"

#include <gtest/gtest.h>

#include <optional>

using exchange::readNumberText;
using exchange::readWholeText;
using exchange::ratingOutOfTen;

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

TEST(NumberText, ThousandsPartedByBlanksAreReadWholeWhateverThisComputersDecimalCharacter)
{
    // Read the same with the point or the comma as this computer's decimal character.
    const struct {
        const char* text;
        double number;
    } cases[] = {
        {"1 234,5", 1234.5},
        {"1 994,0", 1994.0},
        {"1 234,50 \xE2\x82\xAC", 1234.5},          // € in UTF-8
        {"1 234,50 \x80", 1234.5},                  // € in Windows-1252
        {"1\xC2\xA0" "234,5", 1234.5},              // a no-break blank in UTF-8
        {"1\xE2\x80\xAF" "234,5", 1234.5},          // the narrow no-break blank of French numbers
        {"1\xE2\x80\xAF" "234\xE2\x80\xAF" "567", 1234567.0},
        {"1\t234", 1234.0},
        {"\xC2\xA3" "3", 3.0},
        {"1'234,50", 1234.5},
    };
    for (const char decimal : {'.', ','})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.text) + " with " + decimal);
            EXPECT_EQ(readNumberText(c.text, decimal), c.number);
        }
    EXPECT_EQ(readWholeText("1 994,0", '.'), 1994.0);
}

TEST(NumberText, WordsAfterANumberThatAreAnotherNumberMakeItNoNumber)
{
    for (const char decimal : {'.', ','})
        for (const char* text : {"12 50", "12\t50", "1 2/3", "1 23", "1 234,5,6", "1 -5", "19 94", "1 ,5"}) {
            SCOPED_TRACE(std::string(text) + " with " + decimal);
            EXPECT_EQ(readNumberText(text, decimal), std::nullopt);
        }
    EXPECT_EQ(readWholeText("1994 (re-released 2001)", '.'), 1994.0);
    EXPECT_EQ(readNumberText("12.50 USD", ','), 12.5);
}

// Every catalogue's ratings come in on one scale, out of ten.
TEST(NumberText, RatingsOfEveryScaleComeInOutOfTen)
{
    EXPECT_EQ(ratingOutOfTen("4.5", 5), "9/10");
    EXPECT_EQ(ratingOutOfTen("0.5", 5), "1/10");
    EXPECT_EQ(ratingOutOfTen("3", 5), "6/10");
    EXPECT_EQ(ratingOutOfTen("8", 10), "8/10");
    EXPECT_EQ(ratingOutOfTen(" 7.5 ", 10), "7.5/10");
    EXPECT_EQ(ratingOutOfTen("12", 10), "10/10") << "above the scale is its top";
    for (const char* none : {"", "0", "-2", "five", "0.1"})
        EXPECT_EQ(ratingOutOfTen(none, 10), "") << none;
}
