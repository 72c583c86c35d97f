// The Video Viewer and the commands of the main window.
#include "CollectionFile.h"
#include "CoverView.h"
#include "IniFile.h"
#include "MyNavigator.h"
#include "PickList.h"
#include "Schema.h"
#include "InstalledTranslation.h"
#include "ScriptedPrompter.h"
#include "TMain.h"
#include "TMyLocateDialog.h"
#include "EditText.h"
#include "TLentOut.h"
#include "TDuplicates.h"
#include "QPrinterDevice.h"
#include "TStatistics.h"
#include "RunCommand.h"
#include "TMyEdit.h"
#include "TMyEditBox.h"
#include "TTipOfDay.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"
#include "ViewerGrid.h"
#include "ViewerModel.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPrinter>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QMenu>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <QLabel>
#include <QTableView>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>

using namespace app;
using testing_support::ScriptedPrompter;
using testing_support::TempDir;
using testing_support::TemporaryProgram;

namespace {

class ViewerTest : public ::testing::Test {
protected:
    std::unique_ptr<TMain> start(bool browse = false)
    {
        program.saveSettings();
        auto window = std::make_unique<TMain>(prompter, browse);
        window->setDialogRunner([this](QDialog& d) { return runDialog ? runDialog(d) : int(QDialog::Rejected); });
        EXPECT_TRUE(window->create());
        window->show();
        return window;
    }

    void addFilms(TMain& window, std::initializer_list<const char*> titles)
    {
        db::Table& t = window.table();
        for (const char* title : titles) {
            t.insert();
            t.setText(0, title);
            t.post();
        }
        window.DisplayCount();
    }

    QStringList columnTitles(TMain& window)
    {
        QStringList titles;
        for (const auto& c : window.model()->columns())
            titles << c.title;
        return titles;
    }

    TempDir dir;
    TemporaryProgram program{dir};
    const QString& home = program.home;
    const QString& config = program.config;
    IniFile& ini = program.settings;
    ScriptedPrompter prompter;
    std::function<int(QDialog&)> runDialog;
};

} // namespace

TEST_F(ViewerTest, GridShowsTheCollectionInSortOrderWithItsCount)
{
    auto window = start();
    addFilms(*window, {"Zelig", "Alien", "Metropolis"});
    EXPECT_EQ(window->countText(), "3");
    ViewerModel* model = window->model();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->columnCount(), 40);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Title");
    EXPECT_EQ(model->data(model->index(0, 0), Qt::DisplayRole).toString(), "Alien");
    EXPECT_EQ(model->data(model->index(2, 0), Qt::DisplayRole).toString(), "Zelig");
}

TEST_F(ViewerTest, TheRowIndicatorKeepsItsRoomWhenTheCurrentRowIsFarDown)
{
    // A header sizes itself from its first and last hundred rows: a current
    // record in between, as after an import, must still have its mark shown.
    auto window = start();
    db::Table& t = window->table();
    for (int i = 0; i < 400; ++i) {
        t.insert();
        t.setText(0, QString("Film %1").arg(i, 3, 10, QChar('0')).toStdString());
        t.post();
    }
    t.first();
    for (int i = 0; i < 200; ++i)
        t.next();
    t.refresh();
    window->DisplayCount();
    QCoreApplication::processEvents();
    QHeaderView* rows = window->grid()->verticalHeader();
    const int row = window->model()->currentRow();
    ASSERT_EQ(row, 200);
    EXPECT_EQ(window->model()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString(), QString(QChar(0x25B6)));
    EXPECT_GE(rows->width(), QFontMetrics(rows->font()).horizontalAdvance(QChar(0x25B6)));
}

TEST_F(ViewerTest, HiddenFieldsLeaveNoColumnButTheFullCount)
{
    for (const db::SchemaField& f : db::collectionSchema())
        ini.setValue("Display Fields", f.name, "No");
    auto window = start();
    addFilms(*window, {"A", "B"});
    EXPECT_EQ(window->model()->columnCount(), 0);
    EXPECT_EQ(window->countText(), "2");
}

TEST_F(ViewerTest, UnclaimedPositionShowsTitleThere)
{
    // Star 1 and Star 2 both claim position 2; nobody claims position 3.
    ini.setValue("Field Order", "Star2", "2");
    auto window = start();
    const QStringList titles = columnTitles(*window);
    ASSERT_GE(titles.size(), 4);
    EXPECT_EQ(titles.mid(0, 4), (QStringList{"Star 1", "Star 2", "Title", "Star 3"}));
    EXPECT_EQ(titles.size(), 40);
}

TEST_F(ViewerTest, ViewerOptionsFollowTheSettings)
{
    ini.setValue("Field Names", "Title", "Film");
    ini.setValue("Field Order", "Title", "40");
    ini.setValue("Field Order", "UserDef2", "1");
    ini.setValue("Display Fields", "Star6", "No");
    ini.setValue("Grid Title", "Show Titles", "No");
    ini.setValue("Grid Options", "Row Indicator", "No");
    ini.setValue("Grid Options", "Row Lines", "No");
    ini.setValue("Field Width", "Star1", "30");
    auto window = start();
    const QStringList titles = columnTitles(*window);
    EXPECT_EQ(titles.size(), 39);
    EXPECT_EQ(titles.front(), "User Defined 2");
    EXPECT_EQ(titles.back(), "Film");
    EXPECT_FALSE(titles.contains("Star 6"));
    EXPECT_FALSE(window->grid()->horizontalHeader()->isVisible());
    EXPECT_FALSE(window->grid()->verticalHeader()->isVisible());
    EXPECT_FALSE(window->grid()->rowLines());
    EXPECT_TRUE(window->grid()->columnLines());
    EXPECT_GT(window->grid()->columnWidth(1), window->grid()->columnWidth(2)); // Star 1 is 30 characters wide
    EXPECT_EQ(window->grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(ViewerTest, FieldEditedInPlaceIsOnDiskAndAtItsSortedPlace)
{
    ini.setValue("Grid Options", "Field Editing", "Yes");
    auto window = start();
    addFilms(*window, {"Alpha", "Beta", "Gamma"});
    ViewerModel* model = window->model();
    ASSERT_TRUE(model->setData(model->index(0, 0), "Zulu", Qt::EditRole));
    EXPECT_EQ(model->data(model->index(2, 0), Qt::DisplayRole).toString(), "Zulu");
    EXPECT_EQ(window->table().text(0), "Zulu");
    EXPECT_EQ(window->grid()->currentIndex().row(), 2);
    db::Table second;
    second.setFilePath((home + "/MASTER.DBF").toStdString());
    second.selectIndex("NewIndex");
    second.open(db::Table::OpenMode::ReadOnly);
    second.last();
    EXPECT_EQ(second.text(0), "Zulu");

    // The yes/no fields are check boxes that store Yes and No.
    const int viewedColumn = 36;
    EXPECT_EQ(model->headerData(viewedColumn, Qt::Horizontal, Qt::DisplayRole).toString(), "Viewed");
    EXPECT_TRUE(model->flags(model->index(0, viewedColumn)) & Qt::ItemIsUserCheckable);
    ASSERT_TRUE(model->setData(model->index(0, viewedColumn), Qt::Checked, Qt::CheckStateRole));
    second.refresh();
    second.first();
    EXPECT_EQ(second.text(second.requireField("Viewed")), "Yes");
}

TEST_F(ViewerTest, DropDownBoxesOfferThePickLists)
{
    QDir().mkpath(home);
    db::writePickList((home + "/CATEGORY.LST").toStdString(), {"Drama", "Comedy"});
    ini.setValue("Grid Options", "Field Editing", "Yes");
    auto window = start();
    const int category = window->table().fieldIndex("Category");
    ASSERT_NE(window->gridList(category), nullptr);
    EXPECT_EQ(*window->gridList(category), (QStringList{"Drama", "Comedy"}));
    EXPECT_NE(window->gridList(window->table().fieldIndex("Star5")), nullptr);
    EXPECT_EQ(window->gridList(0), nullptr); // Title has no list
}

TEST_F(ViewerTest, DeleteAsksFirstNamingTheRecord)
{
    auto window = start();
    addFilms(*window, {"A", "B"});
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    const QString current = QString::fromStdString(window->table().text(0));
    window->action("Delete")->trigger();
    EXPECT_EQ(window->countText(), "2");
    window->action("Delete")->trigger();
    EXPECT_EQ(window->countText(), "1");
    ASSERT_EQ(prompter.questions.size(), 2u);
    EXPECT_EQ(prompter.questions[0].caption, "Confirm");
    EXPECT_EQ(prompter.questions[0].text, "Delete this record?\n\n\u201C" + current + "\u201D");
    // A record without a title is named by its number.
    window->table().edit();
    window->table().setText(0, "");
    window->table().post();
    prompter.answers = {Prompter::Answer::No};
    window->action("Delete")->trigger();
    ASSERT_EQ(prompter.questions.size(), 3u);
    EXPECT_TRUE(prompter.questions[2].text.endsWith(", which has no title")) << prompter.questions[2].text.toStdString();
}

TEST_F(ViewerTest, DeleteOnAnEmptyCollectionAsksNothing)
{
    auto window = start();
    window->action("Delete")->trigger();
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(ViewerTest, YesNoBoxesAreTickedForYesInAnyCase)
{
    ini.setValue("Grid Options", "Field Editing", "Yes");
    auto window = start();
    addFilms(*window, {"A", "B", "C"});
    db::Table& t = window->table();
    const int viewed = t.requireField("Viewed");
    const char* values[] = {"YES", "yes", "No"};
    int k = 0;
    for (t.first(); !t.eof(); t.next(), ++k) {
        t.edit();
        t.setText(viewed, values[k]);
        t.post();
    }
    t.refresh();
    ViewerModel* model = window->model();
    const int viewedColumn = 36;
    EXPECT_EQ(model->data(model->index(0, viewedColumn), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(model->data(model->index(1, viewedColumn), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(model->data(model->index(2, viewedColumn), Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(ViewerTest, NavigatorMovesTheCurrentRecordAndRefreshesTheCount)
{
    auto window = start();
    addFilms(*window, {"C", "A", "B"});
    MyNavigator* nav = window->navigator();
    nav->button(MyNavigator::Last)->click();
    EXPECT_EQ(window->table().text(0), "C");
    EXPECT_EQ(window->grid()->currentIndex().row(), 2);
    nav->button(MyNavigator::Prior)->click();
    EXPECT_EQ(window->table().text(0), "B");
    nav->button(MyNavigator::First)->click();
    EXPECT_EQ(window->grid()->currentIndex().row(), 0);
    // Another copy adds a record; refresh shows it and the count follows.
    {
        db::Table other;
        other.setFilePath((home + "/MASTER.DBF").toStdString());
        other.open();
        other.insert();
        other.setText(0, "D");
        other.post();
    }
    nav->button(MyNavigator::Refresh)->click();
    EXPECT_EQ(window->countText(), "4");
    EXPECT_EQ(nav->button(MyNavigator::First)->toolTip(), "First record");
    EXPECT_EQ(nav->button(MyNavigator::Refresh)->toolTip(), "Refresh data");
}

TEST_F(ViewerTest, ButtonBarModesShowTheirControls)
{
    auto window = start();
    EXPECT_TRUE(window->speedPanel()->isVisible());
    EXPECT_FALSE(window->letteredPanel()->isVisible());
    window->action("ButtonBar2")->trigger();
    EXPECT_FALSE(window->speedPanel()->isVisible());
    EXPECT_TRUE(window->letteredPanel()->isVisible());
    EXPECT_TRUE(window->action("ButtonBar2")->isChecked());
    EXPECT_FALSE(window->action("ButtonBar1")->isChecked());
    // Outside search mode End Srch is not available.
    EXPECT_FALSE(window->letteredButton("EndSearch")->isEnabled());
    window->EnableEndSearch();
    EXPECT_TRUE(window->letteredButton("EndSearch")->isEnabled());
    EXPECT_TRUE(window->action("EndSearch")->isEnabled());
    window->DoEndSearch();
    EXPECT_FALSE(window->letteredButton("EndSearch")->isEnabled());
    window->action("ButtonBar3")->trigger();
    EXPECT_FALSE(window->speedPanel()->isVisible());
    EXPECT_FALSE(window->letteredPanel()->isVisible());
    EXPECT_TRUE(window->navigator()->isVisible());
    window->close();
    IniFile back;
    back.load(config);
    EXPECT_EQ(back.value("Misc", "Button Bar"), QString("3"));
}

TEST_F(ViewerTest, SpeedButtonsInOrderWithTheirHints)
{
    auto window = start();
    QStringList hints;
    for (QToolButton* b : window->speedPanel()->findChildren<QToolButton*>())
        hints << b->toolTip();
    EXPECT_EQ(hints, (QStringList{"New Database", "Open Database", "Add Record", "Edit Record", "Copy Record",
                                  "Delete Record", "Import Records", "Export Records", "Search Records", "End Search",
                                  "Locate Record", "Locate Next Record", "Reports", "Viewer Configuration",
                                  "Color Setup", "Set Sorting Order", "Statistics", "Help"}));
    EXPECT_EQ(window->action("Delete")->shortcut(), QKeySequence("Ctrl+D"));
    EXPECT_EQ(window->action("ScreenSize1024")->shortcut(), QKeySequence("Shift+F3"));
    EXPECT_EQ(window->action("ButtonBar2")->shortcut(), QKeySequence("Ctrl+F2"));
    EXPECT_EQ(window->action("ColorAll")->shortcut(), QKeySequence("Ctrl+F9"));
    EXPECT_EQ(window->action("ButtonFont")->shortcut(), QKeySequence("Shift+F10"));
    EXPECT_EQ(window->action("ReviewTips")->text(), "&Review \"Tips of the Day\"");
}

TEST_F(ViewerTest, BrowseModeMakesChangingCommandsUnavailableEverywhere)
{
    ini.setValue("Misc", "Button Bar", "2");
    auto window = start(true);
    EXPECT_FALSE(window->action("Delete")->isEnabled());
    EXPECT_FALSE(window->letteredButton("Delete")->isEnabled());
    EXPECT_FALSE(window->findChild<QToolButton*>("SpeedDelete")->isEnabled());
    EXPECT_FALSE(window->action("List2")->isEnabled());
    EXPECT_TRUE(window->action("OpenDatabase")->isEnabled());
    window->letteredButton("Delete")->click(); // unavailable: nothing is asked
    EXPECT_TRUE(prompter.questions.empty());
    MyNavigator* nav = window->navigator();
    EXPECT_FALSE(nav->button(MyNavigator::Insert)->isVisibleTo(nav));
    EXPECT_TRUE(nav->button(MyNavigator::Last)->isVisibleTo(nav));
}

TEST_F(ViewerTest, ListMaintenanceOkReachesBothWindowsAndCancelNothing)
{
    auto window = start();
    EXPECT_EQ(window->action("List3")->text(), "&Director");
    QStringList titles;
    for (QAction* a : window->menu("ListMaintenanceMenu")->actions())
        titles << a->text();
    EXPECT_EQ(titles.first(), "&Stars");
    EXPECT_EQ(titles.last(), "&Miscellaneous");
    EXPECT_EQ(titles.size(), 17);

    QString caption;
    runDialog = [&caption](QDialog& d) {
        auto& editor = static_cast<db_ui::TMyEditBox&>(d);
        caption = editor.windowTitle();
        editor.entryBox()->setText("  Hitchcock  ");
        editor.AddButtonClick();
        return int(QDialog::Rejected);
    };
    window->action("List3")->trigger();
    EXPECT_EQ(caption, "Edit \"Director\" List");
    EXPECT_TRUE(window->editor()->listOf(3).isEmpty());
    const int director = window->table().fieldIndex("Director");
    EXPECT_TRUE(window->gridList(director)->isEmpty());

    runDialog = [](QDialog& d) {
        auto& editor = static_cast<db_ui::TMyEditBox&>(d);
        editor.entryBox()->setText("  Hitchcock  ");
        editor.AddButtonClick();
        return int(QDialog::Accepted);
    };
    window->action("List3")->trigger();
    EXPECT_EQ(window->editor()->listOf(3), QStringList{"Hitchcock"});
    EXPECT_EQ(*window->gridList(director), QStringList{"Hitchcock"});
    window->hide(); // a minimise and restore shows the window again
    window->show();
    EXPECT_EQ(*window->gridList(director), QStringList{"Hitchcock"});
    window->close(); // the ordinary lists reach their files
    EXPECT_EQ(db::readPickList((home + "/DIRECT.LST").toStdString()), db::PickList{"Hitchcock"});
}

// A list serves collections of any script: an entry Windows-1252 cannot hold
// is taken, and its file is then written in UTF-8 (a list Windows-1252 holds
// whole stays in that code page, which older programs read).
TEST_F(ViewerTest, ListEntriesOfAnyScriptAreTakenAndKeptInTheirFile)
{
    auto window = start();
    const QString omega = QString::fromUtf8("\xCE\xA9mega Studios"), cafe = QString::fromUtf8("Caf\xC3\xA9 Films");
    runDialog = [&](QDialog& d) {
        auto& editor = static_cast<db_ui::TMyEditBox&>(d);
        editor.entryBox()->setText(omega); // Greek capital omega
        editor.AddButtonClick();
        editor.entryBox()->setText(cafe); // é is Windows-1252
        editor.AddButtonClick();
        return int(QDialog::Accepted);
    };
    window->action("List3")->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(window->editor()->listOf(3), (QStringList{omega, cafe}));
    window->close(); // the lists reach their files
    const std::string file = (home + "/DIRECT.LST").toStdString();
    EXPECT_EQ(db::readPickList(file), (db::PickList{omega.toStdString(), cafe.toStdString()}));
    EXPECT_EQ(testing_support::readFileBytes(file).substr(0, 3), "\xEF\xBB\xBF");
    db::writePickList(file, {cafe.toStdString()});
    EXPECT_EQ(testing_support::readFileBytes(file), "Caf\xE9 Films\r\n");
    EXPECT_EQ(db::readPickList(file), db::PickList{cafe.toStdString()});
}

TEST_F(ViewerTest, TheGridKeepsItsFontAndTheFocusAndBoldCaptionsStayBold)
{
    prompter.fonts = {QFont("Liberation Serif")};
    auto window = start();
    auto* grid = window->findChild<QTableView*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(window->focusWidget(), grid); // the keyboard starts in the viewer
    const QString gridFamily = grid->font().family();
    window->action("EditFont")->trigger();
    EXPECT_EQ(grid->font().family(), gridFamily);
    window->action("LabelFont")->trigger();
    for (const char* name : {"ViewerLabel", "SearchOnLabel"}) {
        auto* label = window->findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->font().bold()) << name;
    }
}

TEST_F(ViewerTest, OscarListIsWrittenAtOnce)
{
    auto window = start();
    runDialog = [](QDialog& d) {
        auto& editor = static_cast<db_ui::TMyEditBox&>(d);
        EXPECT_EQ(editor.windowTitle(), "Edit \"Oscar Names\" List");
        EXPECT_EQ(editor.entryBox()->maxLength(), 110);
        editor.entryBox()->setText("Best Picture");
        editor.AddButtonClick();
        return int(QDialog::Accepted);
    };
    window->action("List14")->trigger();
    EXPECT_EQ(db::readPickList((home + "/OSCAR.LST").toStdString()), db::PickList{"Best Picture"});
}

TEST_F(ViewerTest, TipsWindowKeepsTheShowTipsChoice)
{
    ini.setValue("Misc", "Show Tips", "No");
    auto window = start();
    runDialog = [](QDialog& d) {
        auto& tips = static_cast<TTipOfDay&>(d);
        tips.findChild<QCheckBox*>("ShowTips")->setChecked(true);
        return int(QDialog::Accepted);
    };
    window->action("ReviewTips")->trigger();
    EXPECT_TRUE(window->settings().showTips);
    window->close();
    IniFile back;
    back.load(config);
    EXPECT_EQ(back.value("Misc", "Show Tips"), QString("Yes"));
}

TEST(TipOfDay, NextTipWrapsAroundAllTwentyFour)
{
    TTipOfDay tips(false, 1.0);
    EXPECT_FALSE(tips.showTipsChecked());
    const int start = tips.tipNumber();
    std::set<int> seen;
    for (int i = 0; i < 24; ++i) {
        seen.insert(tips.tipNumber());
        tips.NextTipClick();
    }
    EXPECT_EQ(tips.tipNumber(), start);
    EXPECT_EQ(seen.size(), 24u);
    tips.showTip(24);
    EXPECT_EQ(tips.tipText(), "A \"Browse Mode\" is available where a user has access to the data, but cannot change it.");
    tips.NextTipClick();
    EXPECT_EQ(tips.tipNumber(), 1);
    EXPECT_EQ(tips.tipText(), "You can rename database fields to your liking.");
    for (const char* tip : TTipOfDay::kTips)
        EXPECT_LE(std::strlen(tip), 130u);
}

TEST(ListEditor, DeleteSelectsTheEntryNowInItsPlace)
{
    ScriptedPrompter prompter;
    db_ui::TMyEditBox editor(prompter, "Category", 10, {"a", "b", "c"});
    EXPECT_EQ(editor.list()->currentRow(), 0);
    editor.list()->setCurrentRow(2);
    editor.DeleteButtonClick();
    EXPECT_EQ(editor.entries(), (QStringList{"a", "b"}));
    EXPECT_EQ(editor.list()->currentRow(), 1);
    editor.list()->setCurrentRow(0);
    editor.DeleteButtonClick();
    EXPECT_EQ(editor.list()->currentRow(), 0);
    editor.DeleteButtonClick();
    EXPECT_EQ(editor.list()->count(), 0);
    EXPECT_EQ(editor.list()->currentRow(), -1);
    editor.DeleteButtonClick(); // nothing left: nothing happens
}

TEST(ListEditor, AddTrimsAndKeepsDuplicatesSortAsks)
{
    ScriptedPrompter prompter;
    db_ui::TMyEditBox editor(prompter, "Category", 10, {"drama"});
    EXPECT_EQ(editor.entryBox()->maxLength(), 10);
    editor.entryBox()->setText("   ");
    editor.AddButtonClick();
    editor.entryBox()->setText(" Comedy ");
    editor.AddButtonClick();
    editor.entryBox()->setText("drama");
    editor.AddButtonClick();
    EXPECT_EQ(editor.entries(), (QStringList{"drama", "Comedy", "drama"}));
    EXPECT_TRUE(editor.entryBox()->text().isEmpty());
    prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes};
    editor.SortButtonClick();
    EXPECT_EQ(editor.entries(), (QStringList{"drama", "Comedy", "drama"}));
    editor.SortButtonClick();
    EXPECT_EQ(editor.entries(), (QStringList{"Comedy", "drama", "drama"}));
    EXPECT_EQ(prompter.questions[0].text, "Are you sure you want to sort the data?  Sorting cannot be undone.");
}

TEST_F(ViewerTest, SearchResultsAreListedAsTheGridNeedsThem)
{
    auto window = start();
    db::Table& t = window->table();
    for (int i = 0; i < 1500; ++i) {
        t.insert();
        t.setText(0, (i % 2 ? "Odd " : "Even ") + std::to_string(10000 + i));
        t.post();
    }
    t.first();
    find::SearchItem odd;
    odd.field = 1;
    odd.value = "ODD";
    odd.levelEnd = true;
    ASSERT_TRUE(window->Doit({odd}));
    window->DisplayCount();
    ViewerModel* model = window->model();
    EXPECT_EQ(window->countText(), "750");
    EXPECT_LT(model->rowCount(), 750); // only the first rows are listed yet
    EXPECT_TRUE(model->canFetchMore({}));
    while (model->canFetchMore({}))
        model->fetchMore({});
    EXPECT_EQ(model->rowCount(), 750);
    window->DisplayCount();
    window->navigator()->button(MyNavigator::Last)->click();
    EXPECT_EQ(window->grid()->currentIndex().row(), 749);
    EXPECT_EQ(model->data(model->index(749, 0), Qt::DisplayRole).toString(), "Odd 11499");
}

// The quick filter: words typed narrow the viewer as a search does, together with a
// Search window search; END SEARCH ends both; odd input filters sensibly.
TEST_F(ViewerTest, TheQuickFilterNarrowsTheViewerAndEndSearchEndsIt)
{
    auto window = start();
    QLineEdit* box = window->quickFilterBox();
    ASSERT_NE(box, nullptr);
    box->setText("anything");
    window->applyQuickFilter(); // an empty collection
    window->waitForQuickFilter();
    EXPECT_EQ(window->countText(), "0");
    box->clear();
    window->applyQuickFilter();
    window->waitForQuickFilter();
    addFilms(*window, {"Am\xC3\xA9lie", "Heat", "The Heat of the Night", "Vertigo"});
    db::Table& t = window->table();
    t.selectIndex("");
    t.last();
    t.edit();
    t.setText(t.requireField("Star1"), "James Stewart");
    t.post();
    window->DisplayCount();

    // A key typed says at once that the filter is at work, until its rows are shown.
    QLabel* filtering = window->findChild<QLabel*>("FilteringLabel");
    ASSERT_NE(filtering, nullptr);
    EXPECT_TRUE(filtering->isHidden());
    QTest::keyClicks(box, "HEAT");
    EXPECT_FALSE(filtering->isHidden());
    EXPECT_EQ(filtering->text(), "Filtering...");
    EXPECT_TRUE(window->quickFilterPending());
    // The keys alone apply it, after a short pause and a pass on the worker.
    QElapsedTimer waited;
    waited.start();
    while (window->quickFilterPending() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(window->quickFilterPending());
    EXPECT_TRUE(filtering->isHidden());
    EXPECT_TRUE(window->searchMode());
    EXPECT_EQ(window->countText(), "2");
    box->setText("amelie"); // without its accent
    window->applyQuickFilter();
    window->waitForQuickFilter();
    EXPECT_EQ(window->countText(), "1");
    box->setText("stewart vertigo"); // every word, in any field searched
    window->applyQuickFilter();
    window->waitForQuickFilter();
    EXPECT_EQ(window->countText(), "1");
    box->setText(QString(10000, 'x'));
    window->applyQuickFilter();
    window->waitForQuickFilter();
    EXPECT_EQ(window->countText(), "0");
    box->setText("heat\tnight\x01");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    EXPECT_EQ(window->countText(), "1") << "control characters separate words";

    // With a search of the Search window, both hold.
    find::SearchItem item;
    item.field = 1;
    item.value = "HEAT";
    item.test = find::SearchItem::Contains;
    item.levelEnd = true;
    box->setText("night");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    window->Doit({item});
    EXPECT_EQ(window->countText(), "1");
    window->action("EndSearch")->trigger();
    EXPECT_FALSE(window->searchMode());
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(window->countText(), "4");

    // A keystroke while the worker looks cancels its pass: only the last text shows.
    box->setText("heat");
    window->applyQuickFilter();
    box->setText("vertigo");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    EXPECT_EQ(window->countText(), "1");
    // A record being edited in the viewer is never posted by a filter that
    // arrives meanwhile: the filter waits until the edit is over.
    t.first();
    t.edit();
    t.setText(0, "Half typed");
    box->setText("heat");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    EXPECT_EQ(window->countText(), "1") << "not yet";
    t.cancel();
    QTest::qWait(400);
    EXPECT_EQ(window->countText(), "2");
    window->action("EndSearch")->trigger();
    for (t.first(); !t.eof(); t.next())
        EXPECT_NE(t.text(0), "Half typed");
}

// Records > Lent Out: the loans oldest first with the overdue one marked, Returned
// clearing a loan as the editor does, Edit opening the record in the editor.
TEST_F(ViewerTest, LentOutListsTheLoansAndReturnedTicksOneOff)
{
    auto window = start();
    db::Table& t = window->table();
    const double today = db::dayNumberFromCivil(db::today());
    struct Film {
        const char* title;
        const char* lent;
        double daysAgo; // 0: no date
        const char* person;
    };
    for (const Film& f : std::vector<Film>{{"Heat", "Yes", 3, "Anna"},
                                           {"Vertigo", "Yes", 20, "Bob"},
                                           {"Alien", "No", 0, ""},
                                           {"Psycho", "Yes", 0, "Carl"}}) {
        t.insert();
        t.setText(0, f.title);
        t.setText(t.requireField("CheckOut"), f.lent);
        if (f.daysAgo > 0)
            t.setDate(t.requireField("CheckDate"), today - f.daysAgo);
        t.setText(t.requireField("CheckName"), f.person);
        t.post();
    }
    window->DisplayCount();
    int editorsOpened = 0;
    runDialog = [&](QDialog& d) {
        auto* lent = dynamic_cast<edit_ui::TLentOut*>(&d);
        if (!lent) {
            ++editorsOpened; // the record editor, opened by Edit
            return int(QDialog::Rejected);
        }
        QTableWidget* grid = lent->Grid;
        EXPECT_EQ(grid->rowCount(), 3);
        EXPECT_EQ(grid->item(0, 0)->text(), "Vertigo") << "the oldest loan first";
        EXPECT_EQ(grid->item(0, 2)->text(), "Bob");
        EXPECT_EQ(grid->item(0, 4)->text(), "20  OVERDUE");
        EXPECT_EQ(grid->item(1, 4)->text(), "3");
        EXPECT_EQ(grid->item(2, 0)->text(), "Psycho") << "a loan without a date last";
        lent->OverdueDays->setValue(30);
        EXPECT_EQ(grid->item(0, 4)->text(), "20");
        lent->Grid->setCurrentCell(0, 0);
        lent->EditClick();
        EXPECT_EQ(editorsOpened, 1);
        lent->Grid->setCurrentCell(0, 0);
        lent->ReturnedClick();
        EXPECT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(grid->item(0, 0)->text(), "Heat");
        return int(QDialog::Accepted);
    };
    window->action("LentOut")->trigger();
    EXPECT_EQ(window->settings().overdueDays, 30);
    t.selectIndex("");
    t.first();
    t.next(); // Vertigo
    EXPECT_EQ(t.text(0), "Vertigo");
    EXPECT_EQ(t.text(t.requireField("CheckOut")), "No");
    EXPECT_EQ(t.text(t.requireField("CheckDate")), "");
    EXPECT_EQ(t.text(t.requireField("CheckName")), "");
}

// In German the Lent Out window speaks German, the overdue mark included.
TEST_F(ViewerTest, LentOutSpeaksGermanWithTheGermanTranslation)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    auto window = start();
    db::Table& t = window->table();
    t.insert();
    t.setText(0, "Vertigo");
    t.setText(t.requireField("CheckOut"), "Yes");
    t.setDate(t.requireField("CheckDate"), db::dayNumberFromCivil(db::today()) - 20);
    t.post();
    bool shown = false;
    runDialog = [&](QDialog& d) {
        auto* lent = dynamic_cast<edit_ui::TLentOut*>(&d);
        if (!lent)
            return int(QDialog::Rejected);
        shown = true;
        EXPECT_EQ(lent->windowTitle(), "Verliehen");
        EXPECT_EQ(lent->Grid->horizontalHeaderItem(2)->text(), "Verliehen an");
        EXPECT_EQ(lent->Grid->item(0, 4)->text(), QString::fromUtf8("20  \xC3\x9C" "BERF\xC3\x84LLIG"));
        EXPECT_EQ(lent->OverdueDays->suffix(), " Tagen");
        return int(QDialog::Rejected);
    };
    window->action("LentOut")->trigger();
    EXPECT_TRUE(shown);
}

// Tools > Find Duplicates: the groups with their differing values marked, Edit and
// Delete through the main window, and a group marked "not duplicates" gone for good.
TEST_F(ViewerTest, FindDuplicatesListsGroupsAndRemembersNotDuplicates)
{
    auto window = start();
    addFilms(*window, {"The Matrix", "Matrix, The", "Heat", "heat!", "Alien"});
    int editors = 0;
    prompter.answers = {ScriptedPrompter::Answer::Yes}; // deleting: yes
    runDialog = [&](QDialog& d) {
        auto* duplicates = dynamic_cast<find::TDuplicates*>(&d);
        if (!duplicates) {
            ++editors;
            return int(QDialog::Rejected);
        }
        duplicates->waitForSearch();
        QTreeWidget* groups = duplicates->Groups;
        EXPECT_EQ(groups->topLevelItemCount(), 2);
        QTreeWidgetItem* heat = groups->topLevelItem(0)->text(1) == "heat" ? groups->topLevelItem(0) : groups->topLevelItem(1);
        EXPECT_EQ(heat->childCount(), 2);
        EXPECT_TRUE(heat->child(0)->font(1).bold()) << "the titles differ";
        EXPECT_FALSE(heat->child(0)->font(2).bold()) << "the (empty) years are the same";
        groups->setCurrentItem(heat->child(0));
        duplicates->EditClick();
        EXPECT_EQ(editors, 1);
        duplicates->waitForSearch();
        groups->setCurrentItem(groups->topLevelItem(0)->text(1) == "heat" ? groups->topLevelItem(0)->child(1)
                                                                            : groups->topLevelItem(1)->child(1));
        duplicates->DeleteClick();
        duplicates->waitForSearch();
        EXPECT_EQ(groups->topLevelItemCount(), 1) << "one Heat left: no group";
        groups->setCurrentItem(groups->topLevelItem(0));
        duplicates->NotDuplicatesClick();
        duplicates->waitForSearch();
        EXPECT_EQ(groups->topLevelItemCount(), 0);
        return int(QDialog::Accepted);
    };
    window->action("FindDuplicates")->trigger();
    EXPECT_EQ(window->table().recordCount(), 4u);
    EXPECT_TRUE(find::NotDuplicates(window->table().filePath()).contains("matrix"));
    // A look that goes to no record leaves the user on the one they were on.
    db::Table& t = window->table();
    t.first();
    t.next();
    const uint32_t current = t.recNo();
    runDialog = [&](QDialog& d) {
        if (auto* duplicates = dynamic_cast<find::TDuplicates*>(&d)) {
            duplicates->waitForSearch();
            EXPECT_EQ(duplicates->Groups->topLevelItemCount(), 0) << "remembered beside the collection";
        }
        return int(QDialog::Accepted);
    };
    window->action("FindDuplicates")->trigger();
    EXPECT_EQ(t.recNo(), current);
}

// The window's search runs on a worker among the videos the viewer shows, says
// how far it has come, and stops when asked.
TEST_F(ViewerTest, FindDuplicatesLooksAtTheSearchsVideosAndStops)
{
    auto window = start();
    addFilms(*window, {"The Matrix", "Matrix, The", "Heat", "heat!", "Alien"});
    window->quickFilterBox()->setText("heat");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    bool shown = false;
    runDialog = [&](QDialog& d) {
        auto* duplicates = dynamic_cast<find::TDuplicates*>(&d);
        if (!duplicates)
            return int(QDialog::Rejected);
        shown = true;
        duplicates->waitForSearch();
        EXPECT_EQ(duplicates->Groups->topLevelItemCount(), 1);
        EXPECT_EQ(duplicates->Groups->topLevelItem(0)->text(1), "heat");
        EXPECT_EQ(duplicates->Status->text(), "Groups shown: 1, with 2 records.");
        EXPECT_TRUE(duplicates->Progress->isHidden());
        duplicates->FindClick();
        EXPECT_TRUE(duplicates->searching());
        EXPECT_FALSE(duplicates->EditButton->isEnabled()) << "nothing to edit while the list is made";
        duplicates->StopClick();
        EXPECT_FALSE(duplicates->searching());
        EXPECT_EQ(duplicates->Status->text(), "Stopped.");
        EXPECT_EQ(duplicates->Groups->topLevelItemCount(), 0);
        EXPECT_TRUE(duplicates->EditButton->isEnabled());
        return int(QDialog::Accepted);
    };
    window->action("FindDuplicates")->trigger();
    EXPECT_TRUE(shown);
}

// Options > Show Cover: the current video's cover beside the grid, following
// the record the user moves to, kept in the settings for the next start.
TEST_F(ViewerTest, TheCoverPaneFollowsTheCurrentVideo)
{
    auto window = start();
    addFilms(*window, {"Alien", "Heat"});
    db::Table& t = window->table();
    const QString covers = QString::fromStdString(t.filePath()).replace(".DBF", ".covers");
    ASSERT_TRUE(QDir().mkpath(covers));
    QImage poster(300, 450, QImage::Format_RGB32);
    poster.fill(Qt::darkRed);
    ASSERT_TRUE(poster.save(covers + "/Heat.jpg"));
    EXPECT_FALSE(window->coverPane()->isVisible()) << "off until asked for";
    window->action("ShowCover")->trigger();
    EXPECT_TRUE(window->coverPane()->isVisible());
    window->navigator()->button(app::MyNavigator::First)->click();
    window->followCoverPane(true);
    EXPECT_EQ(window->coverPane()->text(), "No cover") << "Alien has none";
    window->navigator()->button(app::MyNavigator::Next)->click();
    QTest::qWait(60); // the pane waits for a pause in the moving
    EXPECT_TRUE(window->coverPane()->shownFile().ends_with("Heat.jpg"));
    EXPECT_FALSE(window->coverPane()->pixmap().isNull());
    EXPECT_LE(window->coverPane()->pixmap().height(), window->coverPane()->height()) << "read at the size shown";
    window->close();
    IniFile saved;
    saved.load(config);
    EXPECT_EQ(saved.value("Misc", "Show Cover").value_or(""), "Yes");
}

// Tools > Statistics: the search's videos or the whole collection's, a chart
// saved as a picture, the whole printed, the search as it was afterwards.
TEST_F(ViewerTest, StatisticsCountTheSearchOrTheCollectionAndSaveAndPrintTheirCharts)
{
    auto window = start();
    addFilms(*window, {"Heat", "The Heat of the Night", "Vertigo", "Alien"});
    db::Table& t = window->table();
    t.selectIndex("");
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        t.setText(t.requireField("Category"), t.text(0) == "Alien" ? "Sci-Fi" : "Drama");
        t.setNumber(t.requireField("Year"), t.text(0) == "Vertigo" ? 1958 : 1995);
        t.setText(t.requireField("Format"), "VHS");
        t.post();
    }
    window->quickFilterBox()->setText("heat");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    ASSERT_EQ(window->countText(), "2");
    const QString picture = QString::fromStdString(dir.file("Category.png"));
    const QString pdf = QString::fromStdString(dir.file("statistics.pdf"));
    const QString savedPdf = QString::fromStdString(dir.file("saved.pdf"));
    prompter.fileNames = {picture, savedPdf};
    prompter.answers = {ScriptedPrompter::Answer::Yes};
    runDialog = [&](QDialog& d) {
        auto* statistics = dynamic_cast<stats_ui::TStatistics*>(&d);
        if (!statistics)
            return int(QDialog::Rejected);
        EXPECT_TRUE(statistics->CurrentSearch->isChecked()) << "a search is on";
        EXPECT_EQ(statistics->statistics().videos, 2u);
        EXPECT_EQ(statistics->Heading->text(), "2 videos found by the search");
        statistics->WholeCollection->setChecked(true);
        EXPECT_EQ(statistics->statistics().videos, 4u);
        EXPECT_EQ(statistics->Heading->text(), "4 videos in the whole collection");
        EXPECT_EQ(statistics->Pages->count(), 12) << "the summary and eleven pages";
        EXPECT_EQ(statistics->SummaryGrid->item(0, 1)->text(), "4");

        statistics->Pages->setCurrentIndex(0);
        EXPECT_FALSE(statistics->SaveChartButton->isEnabled()) << "the summary has no chart";
        statistics->Pages->setCurrentIndex(2); // Category
        EXPECT_EQ(statistics->Pages->tabText(2), "Category");
        statistics->SaveChartClick();
        QImage saved(picture);
        EXPECT_EQ(saved.size(), QSize(1000, 640));
        EXPECT_FALSE(saved.isNull() || saved.allGray()) << "the bars are drawn in color";

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(statistics->PrintOn(printer));
        // Print without a printer offers a PDF file instead.
        if (!engine::defaultPrinter()) {
            statistics->PrintClick();
            EXPECT_TRUE(prompter.questions.back().text.startsWith("No printers are defined.\n\nSave the statistics as a PDF"));
            EXPECT_TRUE(QFile(savedPdf).exists());
        }
        return int(QDialog::Accepted);
    };
    window->action("Statistics")->trigger();
    EXPECT_TRUE(window->searchMode()) << "the search is back after a count of the whole collection";
    EXPECT_EQ(window->countText(), "2");
    if (!testing_support::haveProgram("pdftotext"))
        return;
    const std::string text = testing_support::runCommand("pdftotext -layout '" + pdf.toStdString() + "' -");
    EXPECT_NE(text.find("4 videos in the whole collection"), std::string::npos);
    for (const char* seen : {"Drama", "Sci-Fi", "1950s", "1958", "VHS", "Directors"})
        EXPECT_NE(text.find(seen), std::string::npos) << seen;
    const std::string info = testing_support::runCommand("pdfinfo '" + pdf.toStdString() + "'");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+12\n"))) << info;
    if (QFile(savedPdf).exists()) {
        EXPECT_NE(testing_support::runCommand("pdftotext -layout '" + savedPdf.toStdString() + "' -").find("4 videos in the whole collection"),
                  std::string::npos);
    }
}

// The German page names do not fit side by side in a small Statistics window:
// they are listed beside the pages instead, each whole; a wide window has tabs.
TEST_F(ViewerTest, StatisticsPagesAreChosenFromTabsOrAListThatFits)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    auto window = start();
    addFilms(*window, {"Vertigo", "Alien"});
    bool shown = false;
    runDialog = [&](QDialog& d) {
        auto* statistics = dynamic_cast<stats_ui::TStatistics*>(&d);
        if (!statistics)
            return int(QDialog::Rejected);
        shown = true;
        d.show();
        for (const int width : {800, 1900}) {
            d.resize(width, 520);
            QCoreApplication::processEvents();
            QTabBar* tabs = statistics->Pages->tabBar();
            const bool list = statistics->PageList->isVisible();
            EXPECT_NE(list, tabs->isVisible()) << width;
            if (width == 800) {
                EXPECT_TRUE(list) << "twelve German names are wider than 800 pixels";
            }
            if (!list) {
                EXPECT_LE(tabs->sizeHint().width(), statistics->Pages->width()) << width;
                continue;
            }
            EXPECT_EQ(statistics->PageList->count(), statistics->Pages->count());
            EXPECT_EQ(statistics->PageList->item(6)->text(), statistics->Pages->tabText(6));
            for (int i = 0; i < statistics->PageList->count(); ++i)
                EXPECT_LE(statistics->PageList->fontMetrics().horizontalAdvance(statistics->PageList->item(i)->text()),
                          statistics->PageList->viewport()->width())
                    << statistics->PageList->item(i)->text().toStdString();
            statistics->PageList->setCurrentRow(3);
            EXPECT_EQ(statistics->Pages->currentIndex(), 3) << "the list chooses the page";
        }
        EXPECT_FALSE(statistics->PageList->isVisible()) << "1900 pixels hold every tab";
        return int(QDialog::Accepted);
    };
    window->action("Statistics")->trigger();
    EXPECT_TRUE(shown);
}

// A bar chart's labels stand when they would not fit side by side: ten
// decades or ratings out of ten are shown whole, a handful of short ones lie.
TEST(StatisticsCharts, LabelsThatWouldNotFitSideBySideStand)
{
    QStringList decades;
    for (int decade = 1930; decade <= 2020; decade += 10)
        decades << QString::number(decade) + "s";
    EXPECT_TRUE(stats_ui::barLabelsStand(decades));
    EXPECT_TRUE(stats_ui::barLabelsStand({"1/10", "2/10", "3/10", "4/10", "5/10", "6/10", "7/10", "8/10", "9/10", "10/10"}));
    EXPECT_FALSE(stats_ui::barLabelsStand({"G", "PG", "PG-13", "R", "NR"}));
    EXPECT_FALSE(stats_ui::barLabelsStand({"1950s", "1990s"}));
}

// Windows that walk the collection, and ending a search or a quick filter,
// leave the user on the record they were on while it is still shown.
TEST_F(ViewerTest, TheCurrentRecordStaysAcrossWindowsAndTheEndOfASearch)
{
    auto window = start();
    addFilms(*window, {"Alien", "Brazil", "Casablanca", "Heat", "Vertigo"});
    db::Table& t = window->table();
    const auto goTo = [&](const std::string& title) {
        for (t.first(); !t.eof(); t.next())
            if (t.text(0) == title)
                return;
        FAIL() << title;
    };
    runDialog = [](QDialog&) { return int(QDialog::Rejected); }; // closed (Esc) at once
    for (const char* command : {"Statistics", "Reports", "Export"}) {
        SCOPED_TRACE(command);
        goTo("Casablanca");
        window->action(command)->trigger();
        EXPECT_EQ(t.text(0), "Casablanca");
    }
    // The quick filter cleared, and End Search.
    goTo("Heat");
    window->quickFilterBox()->setText("a");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    goTo("Casablanca");
    window->quickFilterBox()->clear();
    window->applyQuickFilter();
    window->waitForQuickFilter();
    EXPECT_FALSE(window->searchMode());
    EXPECT_EQ(t.text(0), "Casablanca");
    window->quickFilterBox()->setText("a");
    window->applyQuickFilter();
    window->waitForQuickFilter();
    goTo("Brazil");
    window->action("EndSearch")->trigger();
    EXPECT_EQ(t.text(0), "Brazil");
}

// The main window's Locate Field Value speaks the language the program speaks.
TEST_F(ViewerTest, LocateFieldValueIsCaptionedInTheProgramsLanguage)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    auto window = start();
    ASSERT_NE(window->locateDialog(), nullptr);
    EXPECT_EQ(window->locateDialog()->Caption, "Feldwert finden");
}

// Tab moves on from the grid as from any control, to the navigator's buttons under it; Shift+Tab comes back.
TEST_F(ViewerTest, TabLeavesTheGridForTheControlsAfterIt)
{
    auto window = start();
    addFilms(*window, {"Vertigo", "Alien"});
    window->show();
    window->activateWindow();
    window->grid()->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->grid()->hasFocus());
    const QModelIndex before = window->grid()->currentIndex();
    QTest::keyClick(window->grid(), Qt::Key_Tab);
    QWidget* next = QApplication::focusWidget();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, window->grid()) << "Tab stayed in the grid";
    EXPECT_EQ(next->accessibleName(), "First record") << "the navigator's first button";
    EXPECT_EQ(window->grid()->currentIndex(), before) << "Tab moved no cell";
    QTest::keyClick(next, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window->grid());
}
