// The viewer and color configuration windows through the main window.
#include "InstalledTranslation.h"
#include "ScriptedPrompter.h"
#include "TColorConfig.h"
#include "TMain.h"
#include "TViewConfig.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"
#include "ViewerModel.h"

#include "WindowLook.h"

#include <gtest/gtest.h>

#include <QTabBar>
#include <QGroupBox>
#include <QMap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using testing_support::ScriptedPrompter;
using testing_support::TempDir;

namespace {

class AppearanceWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.saveSettings();
        window = std::make_unique<app::TMain>(prompter, false);
        window->setDialogRunner([this](QDialog& d) {
            if (auto* v = dynamic_cast<appearance_ui::TViewConfig*>(&d); v && viewerScript)
                viewerScript(*v);
            if (auto* c = dynamic_cast<appearance_ui::TColorConfig*>(&d); c && colorScript)
                colorScript(*c);
            return d.result();
        });
        ASSERT_TRUE(window->create());
        window->show();
    }

    QStringList columnTitles() const
    {
        QStringList titles;
        for (const auto& c : window->model()->columns())
            titles << c.title;
        return titles;
    }

    TempDir dir;
    testing_support::TemporaryProgram program{dir};
    ScriptedPrompter prompter;
    std::unique_ptr<app::TMain> window;
    std::function<void(appearance_ui::TViewConfig&)> viewerScript;
    std::function<void(appearance_ui::TColorConfig&)> colorScript;
};

} // namespace

TEST_F(AppearanceWindowsTest, FilmForTitleMovedToTheBottomIsTheLastColumn)
{
    viewerScript = [](appearance_ui::TViewConfig& v) {
        EXPECT_EQ(v.Pages->currentIndex(), 2); // it opens on Fields to Show
        // All six tabs whole, none behind scroll arrows.
        v.show();
        EXPECT_GE(v.Pages->tabBar()->width(), v.Pages->tabBar()->sizeHint().width());
        v.NamesGrid->item(0, 1)->setText("Film");
        v.OrderList->setCurrentRow(0);
        for (int i = 0; i < 45; ++i)
            v.DownClick();
        v.WidthGrid->item(0, 1)->setText(" 20 ");
        v.WidthGrid->item(1, 1)->setText("abc");
        v.accept();
    };
    window->action("Viewer")->trigger();
    EXPECT_EQ(columnTitles().last(), "Film");
    EXPECT_EQ(window->settings().fields[0].width, 20);
    EXPECT_EQ(window->settings().fields[1].width, 10);

    // Every field set to No: no data column.
    viewerScript = [](appearance_ui::TViewConfig& v) {
        for (int r = 0; r < 40; ++r)
            v.toggleShown(r);
        v.accept();
    };
    window->action("Viewer")->trigger();
    EXPECT_TRUE(columnTitles().isEmpty());
}

TEST_F(AppearanceWindowsTest, TwoFieldsOfOneNameKeepTheWindowOpen)
{
    viewerScript = [this](appearance_ui::TViewConfig& v) {
        v.NamesGrid->item(1, 1)->setText("");
        v.NamesGrid->item(2, 1)->setText("");
        v.accept();
        EXPECT_EQ(prompter.messages.back().text, "Two field names have the same name \"\".  Please change one.");
        EXPECT_EQ(v.Pages->currentIndex(), 5);
        EXPECT_EQ(v.result(), 0); // still open
        v.NamesGrid->item(2, 1)->setText("title"); // one empty name, and "title" beside "Title", are allowed
        v.accept();
        EXPECT_EQ(v.result(), int(QDialog::Accepted));
    };
    window->action("Viewer")->trigger();
    EXPECT_EQ(window->settings().fields[1].displayName, "");
    EXPECT_EQ(window->settings().fields[2].displayName, "title");
}

TEST_F(AppearanceWindowsTest, ColorsChangeOnOkOnly)
{
    const auto before = window->settings().colorSets;
    colorScript = [](appearance_ui::TColorConfig& c) {
        c.Combinations->setCurrentIndex(3);
        c.chooseCombination(3); // Midnight Black
        EXPECT_EQ(c.workingCopy()[app::MainBackground], 0);
        c.reject();
    };
    window->action("ColorMain")->trigger();
    EXPECT_EQ(window->settings().colorSets, before);

    // ALL Windows Color with Ok and no change: the main window's set in all five.
    window->settings().colorSets[app::EditWindowColors][app::MainBackground] = 255;
    colorScript = [](appearance_ui::TColorConfig& c) { c.OkClick(); };
    window->action("ColorAll")->trigger();
    for (const app::ColorSet& set : window->settings().colorSets)
        EXPECT_EQ(set, before[app::MainWindowColors]);

    // Christmas Season on the search windows: the samples show the combination's
    // colors as the windows draw them, white on red and red on green a little
    // darker so that they can be read (4.5 to 1).
    colorScript = [](appearance_ui::TColorConfig& c) {
        c.chooseCombination(8);
        const QString whiteOnRed = ui::legibleOn(Qt::white, Qt::red).name();
        const QString redOnGreen = ui::legibleOn(Qt::red, Qt::green).name();
        EXPECT_NE(whiteOnRed, "#ffffff");
        EXPECT_NE(redOnGreen, "#ff0000");
        EXPECT_NE(c.ListSample->styleSheet().indexOf("background-color: #ff0000; color: " + whiteOnRed), -1);
        EXPECT_NE(c.ComboSample->styleSheet().indexOf("background-color: #ff0000; color: " + whiteOnRed), -1);
        EXPECT_NE(c.CheckSample->styleSheet().indexOf("background-color: #00ff00; color: " + redOnGreen), -1);
        EXPECT_EQ(c.workingCopy()[app::CheckText], 255) << "the set keeps the colors chosen";
        c.OkClick();
    };
    window->action("ColorSearch")->trigger();
    EXPECT_EQ(window->settings().colorSets[app::SearchWindowColors][app::MainBackground], 255 * 256);
    EXPECT_EQ(window->settings().colorSets[app::MainWindowColors], before[app::MainWindowColors]);
}

TEST_F(AppearanceWindowsTest, TheViewersFontColorsAreChosenBesideTheirFontsAndReachTheGrid)
{
    viewerScript = [this](appearance_ui::TViewConfig& v) {
        QMap<QString, QPushButton*> byGroup;
        for (QPushButton* b : v.findChildren<QPushButton*>("FontColor"))
            byGroup[static_cast<QGroupBox*>(b->parentWidget())->title()] = b;
        ASSERT_EQ(byGroup.keys(), (QStringList{"Cell Font", "Title Font"}));
        prompter.colors = {QColor(0, 0, 255), QColor(0, 128, 0)};
        byGroup["Title Font"]->click();
        byGroup["Cell Font"]->click();
        v.accept();
    };
    window->action("Viewer")->trigger();
    EXPECT_EQ(window->settings().gridTitleFont.color, 255 * 65536);
    EXPECT_EQ(window->settings().gridFont.color, 128 * 256);
    auto* grid = window->findChild<QTableView*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_NE(grid->styleSheet().indexOf("color: #008000"), -1) << grid->styleSheet().toStdString();
}

TEST_F(AppearanceWindowsTest, FontDialogsOpenOnTheFontInForce)
{
    window->settings().labelFont.name = "Courier New";
    window->action("LabelFont")->trigger();
    ASSERT_FALSE(prompter.fontsOffered.empty());
    EXPECT_EQ(prompter.fontsOffered.back().family(), QFontInfo(QFont("Courier New")).family());
    EXPECT_NE(prompter.fontsOffered.back().family(), "Sans Serif");
}

// In German the viewer's Fields to Show reads Ja and Nein, and a field set to
// Nein leaves the grid; the color combinations keep their places under their
// German names.
TEST_F(AppearanceWindowsTest, InGermanNeinHidesAFieldAndTheCombinationsKeepTheirPlaces)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    const int shown = static_cast<int>(columnTitles().size());
    viewerScript = [](appearance_ui::TViewConfig& v) {
        EXPECT_EQ(v.windowTitle(), "Anzeige einrichten");
        EXPECT_EQ(v.Pages->tabText(2), "Angezeigte &Felder");
        EXPECT_EQ(v.ShowGrid->item(0, 1)->text(), "Ja");
        v.ShowGrid->setCurrentCell(0, 1);
        QTest::keyClick(v.ShowGrid, Qt::Key_Space); // as a double click
        QTest::keyClick(v.ShowGrid, Qt::Key_Space);
        EXPECT_EQ(v.ShowGrid->item(0, 1)->text(), "Ja") << "Space toggles, back and forth";
        QTest::keyClick(v.ShowGrid, Qt::Key_Space);
        EXPECT_EQ(v.ShowGrid->item(0, 1)->text(), "Nein");
        v.accept();
    };
    window->action("Viewer")->trigger();
    EXPECT_FALSE(window->settings().fields[0].display);
    EXPECT_TRUE(window->settings().fields[1].display);
    EXPECT_EQ(columnTitles().size(), shown - 1);

    colorScript = [](appearance_ui::TColorConfig& c) {
        EXPECT_EQ(c.windowTitle(), "Farben einrichten");
        EXPECT_EQ(c.Combinations->itemText(3), "Mitternachtsschwarz");
        EXPECT_EQ(c.Combinations->itemText(c.Combinations->count() - 1), "Wie der Desktop");
        c.chooseCombination(3);
        EXPECT_EQ(c.workingCopy()[app::MainBackground], 0);
        c.OkClick();
    };
    window->action("ColorMain")->trigger();
    EXPECT_EQ(window->settings().colorSets[app::MainWindowColors][app::MainBackground], 0);
}
