#include "Cp1252.h"
#include "EditText.h"

#include <gtest/gtest.h>

using namespace db;

namespace {
// Restores the program-wide format after each test.
class EditTextTest : public ::testing::Test {
protected:
    void TearDown() override { setEditTextFormat({}); }
};
} // namespace

TEST_F(EditTextTest, DayNumbersCountFromThe30thOfDecember1899)
{
    EXPECT_EQ(dayNumberFromCivil({1899, 12, 30}), 0.0);
    EXPECT_EQ(dayNumberFromCivil({2000, 1, 1}), 36526.0);
    const CivilDate back = civilFromDayNumber(36526.0);
    EXPECT_EQ(back.year, 2000);
    EXPECT_EQ(back.month, 1);
    EXPECT_EQ(back.day, 1);
    EXPECT_EQ(civilFromDayNumber(dayNumberFromCivil({1997, 3, 5})).day, 5);
}

TEST_F(EditTextTest, StoredDatesMustBeRealDates)
{
    EXPECT_TRUE(parseStoredDate("19970305").has_value());
    EXPECT_FALSE(parseStoredDate("20231341").has_value()); // month 13
    EXPECT_FALSE(parseStoredDate("20230229").has_value()); // not a leap year
    EXPECT_TRUE(parseStoredDate("20240229").has_value());
    EXPECT_FALSE(parseStoredDate("        ").has_value());
    EXPECT_FALSE(parseStoredDate("1997035").has_value());
    // Characters just beside the digits, anywhere in the eight.
    for (const char* near : {"1997030:", "/9970305", "1997 305", "19970\x80" "05", "1997030\xb5", "199703\x10" "05"})
        EXPECT_FALSE(parseStoredDate(near).has_value()) << near;
    const auto date = parseStoredDate("09991231");
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->year, 999);
    EXPECT_EQ(date->month, 12);
    EXPECT_EQ(date->day, 31);
    EXPECT_EQ(storedDateText({1997, 3, 5}), "19970305");
}

TEST_F(EditTextTest, ShortDateFollowsPatternAndSeparator)
{
    const CivilDate march5{1997, 3, 5};
    EXPECT_EQ(formatShortDate(march5), "3/5/97");
    EXPECT_EQ(formatShortDate(march5, {'-', "dd/mm/yy", '.'}), "05-03-97");
    EXPECT_EQ(formatShortDate(march5, {'-', "d/m/yy", '.'}), "5-3-97");
    EXPECT_EQ(formatShortDate(march5, {'.', "mm/dd/yyyy", '.'}), "03.05.1997");
}

TEST_F(EditTextTest, ShortDateParsingUsesPatternOrder)
{
    const EditTextFormat dayFirst{'.', "dd/mm/yyyy", ','};
    const auto d = parseShortDate("05.03.1997", dayFirst);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->day, 5);
    EXPECT_EQ(d->month, 3);
    EXPECT_FALSE(parseShortDate("05/03/1997", dayFirst).has_value()); // wrong separator
    EXPECT_FALSE(parseShortDate("31.02.1997", dayFirst).has_value());
    EXPECT_FALSE(parseShortDate("  .  .    ", dayFirst).has_value());
    EXPECT_FALSE(parseShortDate("1.2", dayFirst).has_value());
    const auto twoDigit = parseShortDate("3/5/97");
    ASSERT_TRUE(twoDigit.has_value());
    EXPECT_EQ(twoDigit->year, 1997);
    EXPECT_EQ(parseShortDate("3/5/05")->year, 2005);
}

TEST_F(EditTextTest, GeneralNumbersUseTheDecimalCharacter)
{
    EXPECT_EQ(formatGeneralNumber(1234.5), "1234.5");
    EXPECT_EQ(formatGeneralNumber(12.0), "12");
    EXPECT_EQ(formatGeneralNumber(0.1), "0.1");
    EXPECT_EQ(formatGeneralNumber(1.5e20), "1.5E20");
    setEditTextFormat({'/', "m/d/yy", ','});
    EXPECT_EQ(formatGeneralNumber(-3.25), "-3,25");
}

TEST_F(EditTextTest, DecimalNumbersAreReadStrictly)
{
    EXPECT_EQ(parseDecimalNumber(" 12.5 "), 12.5);
    EXPECT_EQ(parseDecimalNumber("-1e3"), -1000.0);
    EXPECT_EQ(parseDecimalNumber("+7"), 7.0);
    EXPECT_EQ(parseDecimalNumber(".5"), 0.5);
    EXPECT_FALSE(parseDecimalNumber("").has_value());
    EXPECT_FALSE(parseDecimalNumber("12a").has_value());
    EXPECT_FALSE(parseDecimalNumber("1,234").has_value());
    EXPECT_FALSE(parseDecimalNumber("inf").has_value());
    EXPECT_FALSE(parseDecimalNumber("nan").has_value());
    EXPECT_FALSE(parseDecimalNumber("+-1").has_value());
}

TEST(Cp1252, RoundTripsThroughUtf8AndMarksWhatItCannotHold)
{
    const std::string ansi = "Caf\xE9 \x80 \x93quoted\x94";
    const std::string utf8 = cp1252ToUtf8(ansi);
    EXPECT_EQ(utf8, "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(utf8ToCp1252(utf8), ansi);
    int replaced = 0;
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD x \xF0\x9F\x8E\xAC", &replaced), "? x ?");
    EXPECT_EQ(replaced, 2);
    EXPECT_EQ(utf8ToCp1252("\xFF\xC3"), "??"); // malformed bytes do not stop the conversion
}
