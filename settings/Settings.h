#pragma once

#include "IniFile.h"

#include <QRect>
#include <QString>
#include <array>

namespace app {

// A font kept in the settings file: the grid title, grid and report label fonts.
struct FontSetting {
    QString name = "Arial";
    int size = 10;
    int color = 0; // 24-bit blue-green-red, as the settings file keeps colors
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

// A window font: face and two styles; size and color stay as designed.
struct WindowFont {
    QString name = "Arial";
    bool bold = false;
    bool italic = false;
};

// The 13 colors of one color set, in their fixed order.
enum ColorRole {
    MainBackground, MajorTitle, MinorTitle, EditBackground, EditText, ComboBackground, ComboText,
    ListBoxBackground, ListBoxText, RadioBackground, RadioText, CheckBackground, CheckText, ColorRoleCount
};
using ColorSet = std::array<int, ColorRoleCount>;
ColorSet defaultColorSet();
extern const std::array<const char*, ColorRoleCount> kColorKeys;

// The five color sets, one per group of windows.
enum ColorGroup { MainWindowColors, EditWindowColors, SearchWindowColors, ReportWindowColors, ConfigureWindowColors,
                  ColorGroupCount };
extern const std::array<const char*, ColorGroupCount> kColorSections;

// Per-field settings, by schema position.
struct FieldSettings {
    QString displayName;
    bool display = true;
    int width = 15;
    int order = 0;
    bool exported = true;
    int exportOrder = 0;
};

// Every setting of the program, as kept in REELKP.INI. Read once at start,
// written as a whole at close and when a sort order is accepted.
struct Settings {
    // [Misc]
    int buttonBar = 1;
    QRect mainWindow{0, 0, 640, 480};
    QString lastImportFile;
    QString lastExportFile;
    QString lastDatabase;
    std::array<QString, 5> lastFiles;
    bool showTips = true;
    bool showCover = false; // the current video's cover beside the grid
    // [Covers] How large a picture taken as a cover is kept: the longest side
    // (pixels) a larger one is scaled to, and its JPEG quality.
    int coverLongestSide = 1500;
    int coverJpegQuality = 90;
    // [Lookup] The folder of IMDb's dataset files the lookup index was last built from.
    QString imdbFolder;
    // TMDb online: the user's API key or read access token, how long a request
    // may take (seconds), and the country whose certification is the Rating.
    QString tmdbKey;
    int tmdbTimeout = 20;
    QString tmdbCountry = "US";
    QString fillInSource = "imdb"; // the editor's Fill In asks "imdb" or "tmdb" first
    int overdueDays = 14; // a loan longer than this is overdue (Records > Lent Out)
    int windowSize = 640;
    int dateFormat = 1;
    bool dateLeadingZeros = false;
    int currencyFormat = 1;
    int numericFormat = 1;
    QString language; // empty: the desktop's language; "en", "de": that one (from the next start)

    std::array<FieldSettings, 40> fields;

    // [Export], [Import], [Sort Order]
    bool exportFirstRow = true;
    int exportFileType = 1; // 1 text, 2 dBASE, 3 Tellico, 4 HTML catalogue, 5 Kodi library
    bool exportCovers = true; // Tellico, HTML and Kodi exports take the films' covers along
    bool importSkipFirst = true;
    int importFileType = 1; // 1 text, 2 dBASE, 3 another catalogue's export
    std::array<int, 4> sortKeys{2, 0, 0, 0};

    std::array<ColorSet, ColorGroupCount> colorSets;
    // A group set to "Follow the Desktop" takes desktopColors, whatever its stored set.
    std::array<bool, ColorGroupCount> followDesktop{};
    // The colors of the desktop's light or dark preference as this run found
    // them (not kept in the file): the program works them out at start and
    // again when the desktop's preference changes.
    ColorSet desktopColors{};
    const ColorSet& colorsOf(ColorGroup group) const
    {
        return followDesktop[static_cast<size_t>(group)] ? desktopColors : colorSets[static_cast<size_t>(group)];
    }

    // Grid look
    bool gridShowTitles = true;
    int gridTitleBackground = 8553090;
    int gridTitleAlignment = 2;
    FontSetting gridTitleFont{"Arial", 12};
    FontSetting gridFont{"Arial", 10};
    int gridCellColor = 12632256;
    bool gridColumnLines = true;
    bool gridRowLines = true;
    bool gridRowIndicator = true;
    bool gridFieldEditing = false;

    WindowFont editFont;
    WindowFont labelFont;
    WindowFont buttonFont;
    FontSetting reportLabelFont{"Arial", 10};

    // [Reports]
    int lastReport = 0;
    QRect reportViewingWindow{0, 0, 640, 480};
    bool avery5199 = true;
    // Rating, Title, Start Counter, Stop Counter, Play Time, Category, Media Number, Year Released
    std::array<bool, 8> labelItems{true, true, true, true, true, true, true, true};
    int whatToPrint = 1;
    std::array<QString, 16> labelCells; // "Label Item " + k + i at k * 8 + i
    QString lastPdfFolder; // where the preview last saved a report as PDF

    // Defaults, with the start-up folder for the last import and export files.
    static Settings defaults(const QString& startFolder);

    void read(const IniFile& ini);
    void write(IniFile& ini) const;
};

extern const std::array<const char*, 8> kLabelItemKeys;

// The folder the program started in, as the settings keep it ("/" stays "/").
QString startFolder();

} // namespace app
