// The search and sort order windows through the main window.
#include "CliCommands.h"
#include "HelpViewer.h"
#include "IniFile.h"
#include "ScriptedPrompter.h"
#include "TMain.h"
#include "TMySearch.h"
#include "TMySortOrder.h"
#include "TSearchOptions.h"
#include "Table.h"

#include <QTest>
#include <QTextBrowser>
#include "TempDir.h"
#include "TemporaryProgram.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <sstream>

using namespace app;
using testing_support::ScriptedPrompter;
using testing_support::TempDir;
using testing_support::TemporaryProgram;

namespace {

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.saveSettings();
        window = std::make_unique<TMain>(prompter, false);
        window->setDialogRunner([this](QDialog& d) {
            if (script)
                script(d);
            return d.result();
        });
        ASSERT_TRUE(window->create());
        window->show();
        for (const auto& [title, category] : std::vector<std::pair<const char*, const char*>>{
                 {"Heat", "Drama"}, {"Alien", "Sci-Fi"}, {"Casablanca", "Drama"}, {"Brazil", "Comedy"}}) {
            db::Table& t = window->table();
            t.insert();
            t.setText(0, title);
            t.setText(t.requireField("Category"), category);
            t.post();
        }
        window->DisplayCount();
    }

    TempDir dir;
    TemporaryProgram program{dir};
    const QString& home = program.home;
    const QString& config = program.config;
    ScriptedPrompter prompter;
    std::unique_ptr<TMain> window;
    std::function<void(QDialog&)> script;
};

const int kCategory = 14;

} // namespace

TEST_F(SearchWindowTest, OkNarrowsTheViewerAndEndSearchWidensIt)
{
    script = [](QDialog& d) {
        auto& search = static_cast<find::TMySearch&>(d);
        EXPECT_EQ(search.windowTitle(), "Search");
        EXPECT_EQ(search.grid()->rowCount(), 40);
        EXPECT_EQ(search.grid()->horizontalHeaderItem(2)->text(), " SEARCH CRITERIA    (Level 1)");
        EXPECT_EQ(search.grid()->item(kCategory - 1, 0)->text(), " Category");
        EXPECT_EQ(search.grid()->item(kCategory - 1, 1)->text(), "...");
        EXPECT_EQ(search.grid()->item(0, 1)->text(), ""); // Title has no list
        search.setCriteria(kCategory, "drama");
        search.OkButtonClick();
    };
    window->DoSearch();
    EXPECT_TRUE(window->searchMode());
    EXPECT_EQ(window->countText(), "2");
    EXPECT_TRUE(window->action("EndSearch")->isEnabled());
    EXPECT_TRUE(window->findChild<QLabel*>("SearchOnLabel")->isVisibleTo(window.get()));
    EXPECT_EQ(window->table().text(0), "Casablanca");
    window->action("EndSearch")->trigger();
    EXPECT_FALSE(window->searchMode());
    EXPECT_EQ(window->countText(), "4");
}

TEST_F(SearchWindowTest, NoMatchesClearsTheCriteriaAndLeavesSearchModeOff)
{
    script = [this](QDialog& d) {
        auto& search = static_cast<find::TMySearch&>(d);
        search.setCriteria(1, "nothing like it");
        search.OkButtonClick();
        EXPECT_EQ(search.criteria(1), "");
        EXPECT_TRUE(search.items().empty());
        EXPECT_EQ(prompter.messages.back().caption, "Notice");
        search.ExitButtonClick();
    };
    window->DoSearch();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"No valid matches found.  Search Criteria will be cleared."});
    EXPECT_FALSE(window->searchMode());
    EXPECT_EQ(window->countText(), "4");
}

TEST_F(SearchWindowTest, FindMoreCombinesLevelsUpToTen)
{
    script = [this](QDialog& d) {
        auto& search = static_cast<find::TMySearch&>(d);
        search.setCriteria(kCategory, "sci-fi");
        search.MoreButtonClick();
        EXPECT_EQ(search.level(), 2);
        EXPECT_EQ(search.grid()->horizontalHeaderItem(2)->text(), " SEARCH CRITERIA    (Level 2)");
        EXPECT_EQ(search.criteria(kCategory), "");
        search.OkButtonClick(); // an empty level: refused, even with a saved one
        EXPECT_EQ(prompter.messageTexts().back(), "No search criteria entered.");
        for (int level = 2; level < 10; ++level) {
            search.setCriteria(kCategory, "comedy");
            search.MoreButtonClick();
        }
        EXPECT_EQ(search.level(), 10);
        EXPECT_FALSE(search.moreButton()->isEnabled());
        search.setCriteria(kCategory, "comedy");
        search.OkButtonClick();
    };
    window->DoSearch();
    EXPECT_EQ(window->countText(), "2"); // Alien or Brazil
}

TEST_F(SearchWindowTest, ExitKeepsTheSearchInForce)
{
    script = [](QDialog& d) {
        auto& search = static_cast<find::TMySearch&>(d);
        search.setCriteria(kCategory, "comedy");
        search.OkButtonClick();
    };
    window->DoSearch();
    script = [](QDialog& d) { static_cast<find::TMySearch&>(d).ExitButtonClick(); };
    window->DoSearch();
    EXPECT_TRUE(window->searchMode());
    EXPECT_EQ(window->countText(), "1");
}

TEST_F(SearchWindowTest, OptionsSetTheOperatorOrTheValue)
{
    script = [this](QDialog& d) {
        if (auto* options = dynamic_cast<find::TSearchOptions*>(&d)) {
            EXPECT_EQ(options->windowTitle(), "Search Options");
            EXPECT_TRUE(options->property("designSize").isValid()); // scaled and centred with the search's look
            options->list()->setCurrentRow(options->list()->item(0)->text() == " = " ? 3 : 1);
            options->accept();
            return;
        }
        auto& search = static_cast<find::TMySearch&>(d);
        search.OptionsClick(11); // Year: the operators
        EXPECT_EQ(search.rowOperator(11), 4);
        EXPECT_EQ(search.editMask(11), "\\> xxxxxxxxx \\A\\N\\D \\< xxxxxxxx;_");
        search.OptionsClick(31); // Checked Out: YES and NO
        EXPECT_EQ(search.criteria(31), "NO");
        search.ExitButtonClick();
    };
    window->DoSearch();
}

namespace {

void typeKeys(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

void pressKey(QWidget* target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace

TEST_F(SearchWindowTest, ADateShortOfItsMaskIsKeptWhenTheCellIsLeftAndJudgedByOk)
{
    const int kPurchDate = 35;
    {
        db::Table& t = window->table();
        t.first();
        t.edit();
        t.setText(t.requireField("PurchDate"), "1/5/98");
        t.post();
    }
    QStringList kept;
    script = [&](QDialog& d) {
        auto& search = static_cast<find::TMySearch&>(d);
        search.show();
        EXPECT_EQ(search.grid()->currentColumn(), 2); // typing starts in the criteria column
        for (const auto& [typed, leave] : std::vector<std::pair<QString, Qt::Key>>{{"12/31/19", Qt::Key_Tab},
                                                                                    {"1/5/1998", Qt::Key_Return}}) {
            search.setCriteria(kPurchDate, QString());
            search.grid()->setCurrentCell(kPurchDate - 1, 2);
            search.grid()->edit(search.grid()->currentIndex());
            QWidget* editor = search.grid()->indexWidget(search.grid()->currentIndex());
            ASSERT_NE(editor, nullptr);
            editor->setFocus();
            pressKey(editor, Qt::Key_Home);
            typeKeys(editor, typed);
            pressKey(editor, leave); // Enter presses Ok, taking the cell as it stands
            QApplication::processEvents();
            kept << search.criteria(kPurchDate).simplified();
        }
        EXPECT_EQ(search.result(), QDialog::Accepted) << "Enter in the grid pressed Ok";
    };
    window->DoSearch();
    ASSERT_EQ(kept.size(), 2);
    EXPECT_TRUE(kept[0].startsWith("= 12/31/19")) << kept[0].toStdString();
    EXPECT_EQ(kept[1], "= 1 /5 /1998");
    // The criterion was judged, not dropped: it found the one record bought that day.
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join("|").toStdString();
    EXPECT_TRUE(window->searchMode());
    EXPECT_EQ(window->countText(), "1");
}

TEST_F(SearchWindowTest, ChangingARowsOperatorKeepsItsValues)
{
    EXPECT_EQ(find::TMySearch::withOperator("= 1990", 1, 2), "> 1990");
    EXPECT_EQ(find::TMySearch::withOperator("> 1990", 2, 4), "> 1990 AND < ");
    EXPECT_EQ(find::TMySearch::withOperator("> 1980      AND < 1990", 4, 3), "< 1980");
    EXPECT_EQ(find::TMySearch::withOperator("= 12/31/19", 1, 4), "> 12/31/19 AND < ");
    EXPECT_EQ(find::TMySearch::withOperator("=   /  /", 1, 2), "> /  /");
    EXPECT_EQ(find::TMySearch::withOperator("", 1, 3), "");
}

TEST_F(SearchWindowTest, TheSearchWindowIsScaledOnceFromItsDesignedSize)
{
    app::Settings settings = app::Settings::defaults(home);
    find::TMySearch search(find::SearchContext{prompter, settings, 1.6, {}, {}, {}});
    // 640 x 440 designed: 1024 x 704 where the screen holds it, else as large as it holds (never below the design).
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size();
    if (room.width() >= 1024 && room.height() >= 704) {
        EXPECT_EQ(search.size(), QSize(1024, 704));
    } else {
        const int percent = std::max(100, std::min(160, std::min(room.width() * 100 / 640, room.height() * 100 / 440)));
        EXPECT_EQ(search.size(), QSize(640 * percent / 100, 440 * percent / 100).boundedTo(room)) << room.width();
    }
}

TEST_F(SearchWindowTest, WindowsAreCentredFromTheSizeTheyKeep)
{
    const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
    QStringList shown;
    script = [&](QDialog& d) {
        d.show();
        QApplication::processEvents();
        const QPoint centre = d.geometry().center();
        shown << d.windowTitle();
        // The Search window is then moved up by 10 pixels, as designed.
        const int up = d.windowTitle() == "Search" ? 10 : 0;
        EXPECT_LE(std::abs(centre.x() - middle.x()), 2) << d.windowTitle().toStdString() << " at " << centre.x();
        EXPECT_LE(std::abs(centre.y() + up - middle.y()), 2) << d.windowTitle().toStdString() << " at " << centre.y();
        d.reject();
    };
    window->DoSortOrder();
    window->DoSearchAndReplace();
    window->action("Locate")->trigger();
    window->DoSearch();
    EXPECT_EQ(shown.size(), 4) << shown.join("|").toStdString();
}

TEST_F(SearchWindowTest, SortOrderRebuildsTheIndexAndKeepsItWhenRefused)
{
    script = [](QDialog& d) {
        auto& sort = static_cast<find::TMySortOrder&>(d);
        EXPECT_EQ(sort.list(0)->itemText(0), "<NONE>");
        EXPECT_EQ(sort.list(0)->count(), 41);
        EXPECT_EQ(sort.list(0)->currentIndex(), 1);
        sort.list(0)->setCurrentIndex(kCategory);
        sort.list(1)->setCurrentIndex(0);
        sort.list(2)->setCurrentIndex(1);
        sort.OkButtonClick();
    };
    window->DoSortOrder();
    EXPECT_EQ(window->sortExpression(), "Upper(Left(Category,40))+Upper(Left(Title,40))");
    window->table().first();
    EXPECT_EQ(window->table().text(0), "Brazil");
    IniFile ini;
    ini.load(config);
    EXPECT_EQ(ini.value("Sort Order", "Primary Sort"), QString("14"));
    EXPECT_EQ(ini.value("Sort Order", "Third Level Sort"), QString("1"));
    // The file records the run as it stands, not only the sort order.
    EXPECT_EQ(ini.value("Misc", "Last Database"), home + "/MASTER.DBF");
    EXPECT_EQ(ini.value("Misc", "Main Window Width"), QString::number(window->width()));

    // Held by another copy: refused, the old order stays.
    QProcess holder;
    holder.start(RK_CLI, {"hold", home + "/MASTER.DBF"});
    holder.waitForReadyRead(10000);
    script = [](QDialog& d) {
        auto& sort = static_cast<find::TMySortOrder&>(d);
        sort.list(0)->setCurrentIndex(0);
        sort.OkButtonClick();
        EXPECT_EQ(d.result(), QDialog::Rejected);
    };
    window->DoSortOrder();
    holder.closeWriteChannel();
    holder.waitForFinished(10000);
    EXPECT_EQ(prompter.messageTexts().back(), find::TMySortOrder::kInUse);
    EXPECT_EQ(window->settings().sortKeys[0], kCategory);
    EXPECT_TRUE(window->table().active());
    window->table().first();
    EXPECT_EQ(window->table().text(0), "Brazil");
}

TEST(SearchCli, SearchAndSortShareTheWindowsCode)
{
    TempDir dir;
    const std::string path = dir.file("FILMS.DBF");
    auto run = [](std::vector<std::string> args) {
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return std::make_tuple(code, out.str(), err.str());
    };
    run({"create", path});
    {
        db::Table t;
        t.setFilePath(path);
        t.open();
        for (const auto& [title, year] : std::vector<std::pair<const char*, int>>{{"B", 1985}, {"A", 1979}, {"C", 1990}}) {
            t.insert();
            t.setText(0, title);
            t.setNumber(t.requireField("Year"), year);
            t.post();
        }
    }
    auto [code, out, err] = run({"search", path, "--level", "Year >< 1980..1990", "--count"});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, "1\n");
    std::tie(code, out, err) = run({"search", path, "--level", "title = a", "--level", "Year > 1989", "--count"});
    EXPECT_EQ(out, "2\n");
    std::tie(code, out, err) = run({"search", path, "--level", "Year = nineteen"});
    EXPECT_EQ(code, 1);
    EXPECT_EQ(err, "reelkeeper-cli: Invalid search criteria entered.  Please correct.\n");
    std::tie(code, out, err) = run({"sort", path, "11"});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, "NewIndex on STR(Year,12,0)\n");
    std::tie(code, out, err) = run({"search", path, "--level", "Year > 0"});
    EXPECT_EQ(out.substr(0, 3), "\"A\"");
    std::tie(code, out, err) = run({"sort", path, "0", "41"});
    EXPECT_NE(code, 0);
}

TEST(SearchCli, CriteriaReadWithoutBlanksAndUnreadableOnesAreNamed)
{
    TempDir dir;
    const std::string path = dir.file("FILMS.DBF");
    auto run = [](std::vector<std::string> args) {
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return std::make_tuple(code, out.str(), err.str());
    };
    run({"create", path});
    {
        db::Table t;
        t.setFilePath(path);
        t.open();
        for (const auto& [title, year] : std::vector<std::pair<const char*, int>>{{"Star Wars", 1977}, {"Alien", 1979}, {"Heat", 1995}}) {
            t.insert();
            t.setText(0, title);
            t.setNumber(t.requireField("Year"), year);
            t.post();
        }
    }
    for (const auto& [criteria, count] : std::vector<std::pair<const char*, const char*>>{
             {"Year>1978", "2\n"}, {"Year><1976..1980", "2\n"}, {"Title=star", "1\n"}, {"Year<1978;Title=star", "1\n"}}) {
        auto [code, out, err] = run({"search", path, "--level", criteria, "--count"});
        EXPECT_EQ(code, 0) << criteria << ": " << err;
        EXPECT_EQ(out, count) << criteria;
    }
    for (const auto& [criteria, why] : std::vector<std::pair<const char*, const char*>>{
             {"Year 1978", "no operator"}, {"Yaer>1978", "no field is named \"Yaer\""}, {"Title>star", "only ="},
             {"Year><1976", "LOW..HIGH"}}) {
        auto [code, out, err] = run({"search", path, "--level", criteria, "--count"});
        EXPECT_EQ(code, 1) << criteria;
        EXPECT_NE(err.find(std::string("Cannot read the criterion \"") + criteria + "\""), std::string::npos) << err;
        EXPECT_NE(err.find(why), std::string::npos) << err;
    }
}

TEST(SearchCli, ReplaceReportsItsCountersAndRefusesWhatDoesNotFit)
{
    TempDir dir;
    const std::string path = dir.file("FILMS.DBF");
    auto run = [](std::vector<std::string> args) {
        std::ostringstream out, err;
        const int code = cli::run(args, out, err);
        return std::make_tuple(code, out.str(), err.str());
    };
    run({"create", path});
    {
        db::Table t;
        t.setFilePath(path);
        t.open();
        for (const char* category : {"Drama", "DRAMA", "Drama Comedy"}) {
            t.insert();
            t.setText(t.requireField("Category"), category);
            t.post();
        }
    }
    run({"index", path, "Upper(Left(Category,80))"});
    auto [code, out, err] = run({"replace", path, "category", "drama", "Tragedy"});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, "Processed 3, Found 2, Changed 2\n");
    std::tie(code, out, err) = run({"replace", path, "Category", "x", std::string(21, 'y')});
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find("longer than the field Category holds"), std::string::npos) << err;
    std::tie(code, out, err) = run({"replace", path, "Year", "abc", "1"});
    EXPECT_EQ(err, "reelkeeper-cli: Invalid search value entered.  Please correct.\n");
    std::tie(code, out, err) = run({"dump", path});
    EXPECT_EQ(out.substr(0, 3), "\"\",");
    EXPECT_NE(out.find("\"Drama Comedy\""), std::string::npos);
}

// F1 opens the help at the section of the window it is pressed in: the
// Search window's in the search grid, the main window's in the main window.
TEST_F(SearchWindowTest, F1OpensTheHelpAtTheWindowsOwnSection)
{
    const auto helpShownBy = [](QWidget* owner) -> QString {
        const QList<app::HelpWindow*> helps = owner->findChildren<app::HelpWindow*>();
        if (helps.isEmpty())
            return "(no help)";
        const QString fragment = helps.back()->Browser->source().fragment();
        for (app::HelpWindow* help : helps)
            delete help;
        return fragment;
    };
    QString inSearch;
    script = [&](QDialog& d) {
        auto& search = static_cast<find::TMySearch&>(d);
        search.show();
        QTest::keyClick(search.grid(), Qt::Key_F1);
        inSearch = helpShownBy(&search);
        search.ExitButtonClick();
    };
    window->DoSearch();
    EXPECT_EQ(inSearch, "Search Window");
    window->show();
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(helpShownBy(window.get()), "Main Window");
}
