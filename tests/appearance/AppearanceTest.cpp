// The viewer configuration's rules and the color combinations.
#include "ColorCombinations.h"
#include "ViewerConfig.h"

#include <gtest/gtest.h>

using namespace appearance;

TEST(ViewerConfig, WidthsReadTheirLeadingDigitsWithinOneTo255)
{
    EXPECT_EQ(widthFromCell("0"), 10);
    EXPECT_EQ(widthFromCell("256"), 10);
    EXPECT_EQ(widthFromCell("abc"), 10);
    EXPECT_EQ(widthFromCell(""), 10);
    EXPECT_EQ(widthFromCell(" 20 "), 20);
    EXPECT_EQ(widthFromCell("20abc"), 20);
    EXPECT_EQ(widthFromCell("255"), 255);
    EXPECT_EQ(widthFromCell("1"), 1);
    EXPECT_EQ(widthFromCell("99999999999999999999"), 10); // no overflow on the way
}

TEST(ViewerConfig, DuplicateNamesAreExactMatchesAndEmptyNamesCount)
{
    EXPECT_FALSE(firstDuplicate({"title", "Title", ""}).has_value());
    EXPECT_EQ(firstDuplicate({"", "Year", ""}), QString());
    EXPECT_EQ(firstDuplicate({"Title", "Year", "Title", "Year"}), "Title");
    EXPECT_EQ(duplicateMessage("Title"), "Two field names have the same name \"Title\".  Please change one.");
}

TEST(ViewerConfig, FieldsTakeTheRowOfTheNameTheyWereListedBy)
{
    app::Settings settings = app::Settings::defaults("/");
    QStringList listed;
    for (const app::FieldSettings& f : settings.fields)
        listed << f.displayName;
    QStringList rows = orderRows(settings);
    EXPECT_EQ(rows, listed);
    // Title to the bottom: the others move up one.
    rows.move(0, 39);
    settings.fields[0].displayName = "Film"; // renamed in the same visit: still found by "Title"
    takeOrder(settings, listed, rows);
    EXPECT_EQ(settings.fields[0].order, 40);
    EXPECT_EQ(settings.fields[1].order, 1);
    EXPECT_EQ(orderRows(settings).last(), "Film");
}

TEST(ColorCombinations, EachSetsSixColorsAndDerivesTheRest)
{
    const QStringList names = combinationNames();
    ASSERT_EQ(names.size(), 14);
    EXPECT_EQ(names[0], "");
    EXPECT_EQ(names[kFollowTheDesktop], "Follow the Desktop");
    EXPECT_EQ(names[8], "Christmas Season");
    EXPECT_EQ(names[12], "Camouflage");
    const app::ColorSet base = app::defaultColorSet();
    EXPECT_EQ(applyCombination(base, 0), base);
    const app::ColorSet christmas = applyCombination(base, 8);
    const int red = 255, green = 255 * 256, white = 0xFFFFFF;
    EXPECT_EQ(christmas[app::MainBackground], green);
    EXPECT_EQ(christmas[app::MajorTitle], white);
    EXPECT_EQ(christmas[app::ListBoxBackground], red); // the edit box's red background
    EXPECT_EQ(christmas[app::ComboBackground], red);
    EXPECT_EQ(christmas[app::ListBoxText], white);
    EXPECT_EQ(christmas[app::ComboText], white);
    EXPECT_EQ(christmas[app::CheckBackground], green); // the window's green
    EXPECT_EQ(christmas[app::CheckText], red);
    EXPECT_EQ(applyCombination(base, 12)[app::EditText], 192 + 192 * 256 + 192 * 65536);
}

TEST(ColorCombinations, FollowTheDesktopIsDarkForADarkPreferenceAndTheSystemsOwnOtherwise)
{
    const auto dark = [](int setting) {
        return (setting % 256) * 299 + (setting / 256 % 256) * 587 + (setting / 65536) * 114 < 128 * 1000;
    };
    app::ColorSet lightPalette = app::defaultColorSet();
    lightPalette[app::MainBackground] = 0xEFEFEF;
    lightPalette[app::EditBackground] = 0xFFFFFF;
    lightPalette[app::EditText] = 0;
    const app::ColorSet asDark = desktopColorSet(DesktopScheme::Dark, lightPalette);
    EXPECT_TRUE(dark(asDark[app::MainBackground]));
    EXPECT_TRUE(dark(asDark[app::ListBoxBackground])) << "the derived colors follow";
    EXPECT_FALSE(dark(asDark[app::EditText]));
    const app::ColorSet asSystem = desktopColorSet(DesktopScheme::NoPreference, lightPalette);
    EXPECT_EQ(asSystem[app::MainBackground], 0xEFEFEF);
    EXPECT_EQ(asSystem[app::ComboBackground], 0xFFFFFF);
    EXPECT_EQ(desktopColorSet(DesktopScheme::Light, lightPalette), asSystem);
    // A light preference on a system whose palette is dark: a light set of the program's own.
    EXPECT_FALSE(dark(desktopColorSet(DesktopScheme::Light, asDark)[app::MainBackground]));
}
