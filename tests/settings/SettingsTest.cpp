#include "IniFile.h"
#include "RecentDatabases.h"
#include "RegionalFormats.h"
#include "ScreenScale.h"
#include "Language.h"
#include "Settings.h"
#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace app;
using testing_support::TempDir;

TEST(IniFile, FindsSectionsAndKeysWithoutRegardToCase)
{
    IniFile ini;
    ini.parse("[misc]\r\nbutton bar = 2\r\nShow Tips=\"yes\"\r\n[Other]\r\nX=1\r\n");
    EXPECT_EQ(ini.value("Misc", "Button Bar"), QString("2"));
    EXPECT_EQ(ini.value("MISC", "show tips"), QString("yes"));
    EXPECT_FALSE(ini.value("Misc", "X").has_value());
}

TEST(IniFile, KeepsWhatItDoesNotKnowWhenWriting)
{
    IniFile ini;
    ini.parse("; a comment\n[Misc]\nButton Bar=2\ngarbage line without equals\nFuture Key=kept\n\n[Plugin]\nA=b\n");
    ini.setValue("Misc", "Button Bar", "3");
    ini.setValue("Misc", "Show Tips", "No");
    ini.setValue("New Section", "Key", "Value");
    EXPECT_EQ(ini.serialize(), QByteArray("; a comment\n[Misc]\nButton Bar=3\ngarbage line without equals\nFuture "
                                          "Key=kept\nShow Tips=No\n\n[Plugin]\nA=b\n[New Section]\nKey=Value\n"));
}

TEST(IniFile, ReadsAndWritesWindows1252)
{
    IniFile ini;
    ini.parse("[Field Names]\nTitle=Titre \xE9t\xE9\n");
    EXPECT_EQ(ini.value("Field Names", "Title"), QString::fromUtf8("Titre \xC3\xA9t\xC3\xA9"));
    EXPECT_TRUE(ini.serialize().contains("Titre \xE9t\xE9"));
}

TEST(IniFile, SaveReplacesTheFileWholeAndReportsFailure)
{
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("REELKP.INI"));
    IniFile ini;
    ini.setValue("Misc", "Button Bar", "2");
    EXPECT_TRUE(ini.save(path).isEmpty());
    IniFile back;
    EXPECT_TRUE(back.load(path));
    EXPECT_EQ(back.value("misc", "button bar"), QString("2"));
    EXPECT_FALSE(ini.save(QString::fromStdString(dir.file("missing/folder/REELKP.INI"))).isEmpty());
}

TEST(Settings, DefaultsFollowTheKeyTable)
{
    const Settings s = Settings::defaults("/start");
    EXPECT_EQ(s.buttonBar, 1);
    EXPECT_EQ(s.mainWindow, QRect(0, 0, 640, 480));
    EXPECT_EQ(s.lastImportFile, "/start");
    EXPECT_TRUE(s.showTips);
    EXPECT_EQ(s.fields[11].displayName, "Play Time");
    EXPECT_EQ(s.fields[11].order, 12);
    EXPECT_EQ(s.fields[0].width, 15);
    EXPECT_EQ(s.sortKeys, (std::array<int, 4>{2, 0, 0, 0}));
    EXPECT_EQ(s.colorSets[ConfigureWindowColors][MainBackground], 12632256);
    EXPECT_EQ(s.colorSets[EditWindowColors][EditBackground], 16777215);
    EXPECT_EQ(s.gridTitleBackground, 8553090);
    EXPECT_EQ(s.gridTitleFont.size, 12);
    EXPECT_EQ(s.gridFont.size, 10);
    EXPECT_EQ(s.reportViewingWindow.size(), QSize(640, 480));
}

TEST(Settings, WriteCoversEveryKeyInItsSection)
{
    IniFile ini;
    Settings::defaults("/start").write(ini);
    const QStringList expected = {"Misc", "Covers", "Lookup", "Field Names", "Display Fields", "Field Width", "Field Order",
                                  "Export Fields", "Export Order", "Export", "Import", "Sort Order",
                                  "Main Window Color", "Edit Window Color", "Search Window Color",
                                  "Report Window Color", "Configure Window Color", "Grid Title", "Grid Title Font",
                                  "Grid Font", "Grid Options", "Edit Font", "Label Font", "Button Font",
                                  "Report Label Font", "Reports"};
    EXPECT_EQ(ini.sectionNames(), expected);
    EXPECT_EQ(ini.entries("Misc").size(), 22u);
    EXPECT_EQ(ini.value("Misc", "Show Cover"), QString("No")); // the cover pane, off at first
    EXPECT_EQ(ini.value("Misc", "Language"), QString("")); // the desktop's language
    EXPECT_EQ(ini.value("Misc", "Overdue Days"), QString("14"));
    EXPECT_EQ(ini.entries("Field Order").size(), 40u);
    EXPECT_EQ(ini.entries("Main Window Color").size(), 13u + 1); // the thirteen colors and Follow Desktop
    EXPECT_EQ(ini.value("Main Window Color", "Follow Desktop"), QString("No"));
    EXPECT_EQ(ini.entries("Reports").size(), 1u + 4 + 1 + 8 + 1 + 16 + 1);
    EXPECT_EQ(ini.value("Reports", "Label Item 17"), QString(""));
    EXPECT_EQ(ini.value("Misc", "Show Tips"), QString("Yes"));
    EXPECT_EQ(ini.value("Grid Options", "Field Editing"), QString("No"));
    EXPECT_EQ(ini.value("Sort Order", "Primary Sort"), QString("2"));
}

TEST(Settings, YesMeansYesInAnyCaseOnly)
{
    for (const auto& [text, expected] : std::vector<std::pair<QByteArray, bool>>{
             {"YES", true}, {"Yes", true}, {"yes", true}, {"True", false}, {"1", false}, {"Y", false}}) {
        IniFile ini;
        ini.parse("[Misc]\nShow Tips=" + text + "\n");
        Settings s = Settings::defaults("/");
        s.read(ini);
        EXPECT_EQ(s.showTips, expected) << text.toStdString();
    }
}

TEST(Settings, NoReportSelectedComesBackAsNone)
{
    Settings s = Settings::defaults("/");
    s.lastReport = -1;
    IniFile ini;
    s.write(ini);
    Settings back = Settings::defaults("/");
    back.lastReport = 3;
    back.read(ini);
    EXPECT_EQ(back.lastReport, -1);
}

TEST(Settings, UnreadableValuesKeepTheirDefaults)
{
    IniFile ini;
    ini.parse("[Misc]\nButton Bar=abc\nWindow Size=99999999999999999999\nMain Window Width=-5\nDate Format=13\n"
              "this is garbage\n[Sort Order]\nPrimary Sort=77\n[Field Names]\nTitle=A very long display name "
              "indeed\n[Reports]\nLabel Item 03=A label cell entry that is long\n[Field Width]\nTitle=   7  \n");
    Settings s = Settings::defaults("/");
    s.read(ini);
    EXPECT_EQ(s.buttonBar, 1);
    EXPECT_EQ(s.windowSize, 640);
    EXPECT_EQ(s.mainWindow.width(), 640);
    EXPECT_EQ(s.dateFormat, 13); // kept: the date menu then ticks nothing
    EXPECT_EQ(s.sortKeys[0], 2);
    EXPECT_EQ(s.fields[0].displayName, "A very long display ");
    EXPECT_EQ(s.labelCells[3], "A label cell en");
    EXPECT_EQ(s.fields[0].width, 7);
}

TEST(RegionalFormats, DatePatternsBySeparatorAndLeadingZeros)
{
    const db::CivilDate march5{1997, 3, 5};
    EXPECT_EQ(db::formatShortDate(march5, editTextFormatFor(5, true)), "05-03-97");
    EXPECT_EQ(db::formatShortDate(march5, editTextFormatFor(5, false)), "5-3-97");
    EXPECT_EQ(db::formatShortDate(march5, editTextFormatFor(9, true)), "03.05.1997");
    EXPECT_EQ(db::formatShortDate(march5, editTextFormatFor(10, false)), "5/3/1997");
    EXPECT_FALSE(isDateFormatCode(0));
    EXPECT_FALSE(isDateFormatCode(13));
}

TEST(RegionalFormats, NumbersUnderUsAndRegionalSettings)
{
    NumberFormats us;
    EXPECT_EQ(us.groupedNumber(-123.45, 1, 2), "-123.45");
    EXPECT_EQ(us.groupedNumber(1234, 1, 0), "1,234");
    EXPECT_EQ(us.groupedNumber(-1234567.5, 12, 1), "-1,234,567.5");
    EXPECT_EQ(us.plainNumber(3.5, 6, 2), "  3.50");
    EXPECT_EQ(us.moneyAmount(1234.5, 10), "  1,234.50");
    EXPECT_EQ(us.moneyAmount(123456789.0, 4), "123,456,789.00"); // longer than the width: not cut

    NumberFormats regional;
    regional.numericFormat = 2;
    regional.currencyFormat = 2;
    regional.regional.decimal = ',';
    regional.regional.thousand = '.';
    EXPECT_EQ(regional.moneyAmount(1234.5, 1), "1.234,50");
    EXPECT_EQ(regional.plainNumber(3.5, 1, 1), "3,5");
    EXPECT_EQ(regional.groupedNumber(-1234, 1, 0), "-1.234");
    regional.regional.currencyDigits = 0;
    EXPECT_EQ(regional.moneyAmount(1234.4, 1), "1.234");
}

TEST(RecentDatabases, ReopeningMovesEntriesAsTheMenuExpects)
{
    RecentDatabases recent = {"a", "b", "c", "d", "e"};
    updateRecentDatabases(recent, "cur", "c"); // found at position 3
    EXPECT_EQ(recent, (RecentDatabases{"cur", "a", "b", "d", "e"}));
    updateRecentDatabases(recent, "cur", "cur"); // the current file opened again
    EXPECT_EQ(recent, (RecentDatabases{"cur", "a", "b", "d", "e"}));
    updateRecentDatabases(recent, "x", "new");
    EXPECT_EQ(recent, (RecentDatabases{"x", "cur", "a", "b", "d"}));
    EXPECT_EQ(recentItemCaption(3, "/data/FILMS.DBF"), "&3   /data/FILMS.DBF");
}

TEST(ScreenScale, FactorFollowsTheScreen)
{
    EXPECT_EQ(screenScaleFor(1280, 1024, 768).factor, 1.0);
    EXPECT_EQ(screenScaleFor(1280, 1024, 768).tickedSize, 640);
    EXPECT_EQ(screenScaleFor(1024, 1024, 768).factor, 1.6);
    EXPECT_EQ(screenScaleFor(800, 1920, 1080).factor, 1.25);
    EXPECT_EQ(screenScaleFor(1280, 1280, 1024).factor, 2.0);
    EXPECT_EQ(screenScaleFor(700, 1920, 1080).tickedSize, 640);
    EXPECT_FALSE(screenFits(1024, 1024, 700));
    EXPECT_TRUE(screenFits(640, 10, 10));
}

TEST(Language, TheChoiceThenTheDesktopsLanguageThenEnglish)
{
    using app::languageToSpeak;
    // A choice the program has a translation for stands, whatever the desktop speaks.
    EXPECT_EQ(languageToSpeak("de", QLocale("fr_FR")), "de");
    EXPECT_EQ(languageToSpeak("en", QLocale("de_DE")), "en");
    // No choice, or one the program does not know: the desktop's language when it is translated.
    EXPECT_EQ(languageToSpeak("", QLocale("de_DE")), "de");
    EXPECT_EQ(languageToSpeak("", QLocale("de_AT")), "de");
    EXPECT_EQ(languageToSpeak("xx", QLocale("de_CH")), "de");
    EXPECT_EQ(languageToSpeak("", QLocale("fr_FR")), "en");
    EXPECT_EQ(languageToSpeak("", QLocale::c()), "en");
    // The choice is kept in the settings file.
    IniFile ini;
    Settings chosen = Settings::defaults("/start");
    chosen.language = "de";
    chosen.write(ini);
    Settings read = Settings::defaults("/start");
    read.read(ini);
    EXPECT_EQ(read.language, "de");
}
