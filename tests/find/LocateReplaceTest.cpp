// Locating a field value and global search and replace.
#include "CollectionFile.h"
#include "IniFile.h"
#include "Locate.h"
#include "Replace.h"
#include "ScriptedPrompter.h"
#include "TMain.h"
#include "TMyLocateDialog.h"
#include "TMySearch.h"
#include "TSearchAndReplace.h"
#include "Table.h"
#include "Scripts.h"
#include "TempDir.h"
#include "TemporaryProgram.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include "Ascii.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace find;
using testing_support::ScriptedPrompter;
using testing_support::TempDir;

namespace {

const std::vector<std::pair<const char*, const char*>> kFilms = {
    {"The Third Man", "Drama"}, {"Theatre of Blood", "DRAMA"}, {"Athena", "drama"},
    {"Other", "Drama Comedy"},  {"The", ""},                   {"Zulu", "War"}};

class LocateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("FILMS.DBF");
        db::createCollectionTable(path);
        table.setFilePath(path);
        table.addIndex("NewIndex", "Upper(Left(Title,80))");
        table.selectIndex("NewIndex");
        table.open();
        int year = 1940;
        for (const auto& [title, category] : kFilms) {
            table.insert();
            table.setText(0, title);
            table.setText(table.requireField("Category"), category);
            if (std::string(title) != "The")
                table.setNumber(table.requireField("Year"), year++);
            table.post();
        }
        table.first();
    }

    std::string locate(bool fromBeginning, const char* field, TMyLocateMatchType type, const std::string& value)
    {
        if (!LocateValue(fromBeginning, table, table.requireField(field), false, type, value))
            return "-";
        return table.text(0);
    }

    TempDir dir;
    std::string path;
    db::Table table;
};

} // namespace

TEST_F(LocateTest, BeginningAnywhereAndExactWithoutCase)
{
    // Key order: Athena, Other, The, The Third Man, Theatre of Blood, Zulu.
    EXPECT_EQ(locate(true, "Title", mtPartialMatchStart, "THE"), "The");
    EXPECT_EQ(locate(false, "Title", mtPartialMatchStart, "THE"), "The Third Man");
    EXPECT_EQ(locate(true, "Title", mtPartialMatchAny, "THE"), "Athena");
    EXPECT_EQ(locate(false, "Title", mtPartialMatchAny, "THE"), "Other");
    EXPECT_EQ(locate(true, "Title", mtExactMatch, "THE"), "The");
    EXPECT_EQ(locate(false, "Title", mtExactMatch, "THE"), "-");
    EXPECT_EQ(table.text(0), "The"); // a failed locate does not move
    EXPECT_TRUE(textMatches("", "", mtExactMatch, false));
    EXPECT_FALSE(textMatches("abc", "", mtPartialMatchStart, false));
    EXPECT_FALSE(textMatches("The", "THE", mtExactMatch, true));
}

TEST_F(LocateTest, ATitleInAnyScriptIsLocatedWithoutRegardToCase)
{
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles()) {
        table.insert();
        table.setText(0, title.title);
        table.post();
    }
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles()) {
        SCOPED_TRACE(title.script);
        EXPECT_EQ(locate(true, "Title", mtPartialMatchAny, title.typed), title.stored);
        EXPECT_EQ(locate(true, "Title", mtExactMatch, title.title), title.stored);
    }
    EXPECT_EQ(locate(true, "Title", mtPartialMatchStart, testing_support::u8s(u8"człowiek Z")), testing_support::u8s(u8"Człowiek z marmuru — Łódź"));
}

TEST_F(LocateTest, NumberFieldsTakeOnlyNumbers)
{
    EXPECT_EQ(locate(true, "Year", mtExactMatch, "1941"), "Theatre of Blood");
    EXPECT_EQ(locate(true, "Year", mtExactMatch, "19a1"), "-");
    EXPECT_EQ(locate(true, "Year", mtExactMatch, ""), "-");
    EXPECT_EQ(locate(true, "Year", mtPartialMatchStart, "194"), "Athena");
    // "." alone and a second "." are not numbers: they find neither 0 (an empty year) nor 1941.
    EXPECT_EQ(locate(true, "Year", mtExactMatch, "."), "-");
    EXPECT_EQ(locate(true, "Year", mtExactMatch, "-"), "-");
    EXPECT_EQ(locate(true, "Year", mtExactMatch, "1941.0.5"), "-");
    EXPECT_EQ(locate(true, "Year", mtExactMatch, "1941.0"), "Theatre of Blood");
}

TEST_F(LocateTest, AnEmptyValueFindsNothingAnywhere)
{
    EXPECT_EQ(locate(true, "Title", mtPartialMatchAny, ""), "-");
    EXPECT_EQ(locate(true, "Title", mtPartialMatchStart, ""), "-");
    EXPECT_EQ(locate(true, "Category", mtExactMatch, ""), "The"); // two empty texts are equal
}

TEST_F(LocateTest, AFieldThatHasGoneIsNamedInAWarning)
{
    ScriptedPrompter prompter;
    QString label = "Title";
    TMyLocateDialog component(prompter, [&label] { return std::vector<LocateField>{{label, 0, true}}; });
    component.DataSource = &table;
    component.runDialog = [](QDialog& d) {
        auto& dlg = static_cast<TMyLocateDlg&>(d);
        dlg.FieldNameComboBox->setCurrentText("Title");
        dlg.SearchValue->setText("the");
        dlg.FindNextBtnClick();
        return dlg.result();
    };
    ASSERT_TRUE(component.ShowDialog(nullptr)) << prompter.messageTexts().join("|").toStdString();
    label = "Film Name"; // the display name was changed since
    EXPECT_FALSE(component.FindNextMatch(nullptr));
    EXPECT_EQ(prompter.messageTexts(), QStringList{"Field Title not found."});
    EXPECT_EQ(prompter.messages[0].caption, "Warning");
}

TEST_F(LocateTest, NextFromTheLastRecordFindsNothingAndStays)
{
    table.last();
    EXPECT_EQ(locate(false, "Title", mtPartialMatchAny, "u"), "-");
    EXPECT_EQ(table.text(0), "Zulu");
}

TEST_F(LocateTest, RecordsOutsideTheSearchAreNeverLocated)
{
    table.setFilter([](const db::Record& r) { return r.text(0) != "The"; });
    table.setFiltered(true);
    table.first();
    EXPECT_EQ(locate(true, "Title", mtExactMatch, "the"), "-");
    EXPECT_EQ(locate(true, "Title", mtPartialMatchStart, "the"), "The Third Man");
}

// A replace in a field the sort key is not made from keeps the sort index as it is
// (no key changes); one in the key's field, or with no sort index, builds it after.
TEST_F(LocateTest, AReplaceKeepsTheSortIndexUnlessItChangesItsKeys)
{
    table.close();
    table.open(db::Table::OpenMode::Exclusive);
    EXPECT_FALSE(replaceRebuildsSortIndex(table, 14)) << "Category: the key is the title";
    EXPECT_TRUE(replaceRebuildsSortIndex(table, 1)) << "Title";
    table.selectIndex("");
    const ReplaceOutcome out = runReplace(table, *checkReplace(14, "drama", "Tragedy").spec, nullptr, nullptr);
    EXPECT_EQ(out.counters.changed, 3u);
    EXPECT_EQ(table.checkIndex(), "") << "the kept index holds every record under its key";
    table.selectIndex("NewIndex");
    std::vector<std::string> titles;
    for (table.first(); !table.eof(); table.next())
        titles.push_back(table.text(0));
    EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end(), [](const std::string& a, const std::string& b) {
        return db::upperAscii(a) < db::upperAscii(b);
    }));
    table.deleteIndex("NewIndex");
    EXPECT_TRUE(replaceRebuildsSortIndex(table, 14)) << "no sort index to keep";
}

TEST_F(LocateTest, ReplaceMatchesTheWholeFieldByItsClass)
{
    table.close();
    table.selectIndex("");
    table.open(db::Table::OpenMode::Exclusive);
    auto spec = [](int position, const char* search, const char* replacement) {
        return *checkReplace(position, search, replacement).spec;
    };
    ReplaceOutcome out = runReplace(table, spec(14, "drama", "Tragedy"), nullptr, nullptr);
    EXPECT_EQ(out.counters.processed, 6u);
    EXPECT_EQ(out.counters.found, 3u);
    EXPECT_EQ(out.counters.changed, 3u);
    EXPECT_TRUE(out.failure.empty());
    // An empty search value replaces the empty values.
    out = runReplace(table, spec(14, "", "Unknown"), nullptr, nullptr);
    EXPECT_EQ(out.counters.changed, 1u);
    // No to every question: found, nothing changed.
    int asked = 0;
    out = runReplace(table, spec(14, "TRAGEDY", "x"), [&](const std::string&) { ++asked; return false; }, nullptr);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(out.counters.found, 3u);
    EXPECT_EQ(out.counters.changed, 0u);
    // Year 0 finds the empty year.
    out = runReplace(table, spec(11, "0", "1999"), nullptr, nullptr);
    EXPECT_EQ(out.counters.changed, 1u);
    std::vector<std::string> categories;
    for (table.first(); !table.eof(); table.next())
        categories.push_back(table.text(table.requireField("Category")));
    EXPECT_EQ(categories, (std::vector<std::string>{"Tragedy", "Tragedy", "Tragedy", "Drama Comedy", "Unknown", "War"}));

    EXPECT_EQ(checkReplace(11, "", "1").message.spoken(), "Invalid search value entered.  Please correct.");
    EXPECT_EQ(checkReplace(11, "1", "x").message.spoken(), "Invalid replacement value entered.  Please correct.");
    EXPECT_EQ(checkReplace(32, "  /  /    ", "1/1/99").message.spoken(), "Invalid search date entered.  Please correct.");
    EXPECT_EQ(checkReplace(32, "1/1/99", "-  -").message.spoken(), "Invalid replacement date entered.  Please correct.");
    EXPECT_EQ(checkReplace(0, "a", "b").message.spoken(), "No field has been selected.");
}

namespace {

class LocateWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.saveSettings();
        window = std::make_unique<app::TMain>(prompter, false);
        window->setDialogRunner([this](QDialog& d) {
            if (script)
                script(d);
            return d.result();
        });
        ASSERT_TRUE(window->create());
        window->show();
        db::Table& t = window->table();
        for (const auto& [title, category] : kFilms) {
            t.insert();
            t.setText(0, title);
            t.setText(t.requireField("Category"), category);
            t.post();
        }
        t.first();
        window->DisplayCount();
    }

    TempDir dir;
    testing_support::TemporaryProgram program{dir};
    const QString& home = program.home;
    ScriptedPrompter prompter;
    std::unique_ptr<app::TMain> window;
    std::function<void(QDialog&)> script;
};

} // namespace

TEST_F(LocateWindowTest, LocateNextWithoutAnEarlierLocateOpensTheDialog)
{
    bool nextIsDefault = false;
    script = [&](QDialog& d) {
        auto& dlg = static_cast<TMyLocateDlg&>(d);
        EXPECT_EQ(dlg.windowTitle(), "Locate Field Value");
        nextIsDefault = dlg.NextButton->isDefault();
        EXPECT_TRUE(dlg.PartialMatchStartBtn->isChecked());
        dlg.FieldNameComboBox->setCurrentText("Title");
        dlg.SearchValue->setText("the");
        dlg.FindNextBtnClick();
    };
    window->action("LocateNext")->trigger();
    EXPECT_TRUE(nextIsDefault);
    EXPECT_EQ(window->table().text(0), "The");
    // Now Locate Next repeats the search without the dialog.
    script = [](QDialog&) { ADD_FAILURE() << "no dialog expected"; };
    window->action("LocateNext")->trigger();
    EXPECT_EQ(window->table().text(0), "The Third Man");
    window->action("LocateNext")->trigger();
    window->action("LocateNext")->trigger();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"No more matches found"});
    EXPECT_EQ(window->table().text(0), "Theatre of Blood");
}

TEST_F(LocateWindowTest, FirstReportsNoMatchesAndStaysOpen)
{
    script = [&](QDialog& d) {
        auto& dlg = static_cast<TMyLocateDlg&>(d);
        dlg.FieldNameComboBox->setCurrentText("Category");
        dlg.SearchValue->setText("western");
        dlg.FindFirst();
        EXPECT_FALSE(dlg.succeeded());
        dlg.reject();
    };
    window->action("Locate")->trigger();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"No matches found"});
}

TEST_F(LocateWindowTest, SearchAndReplaceCountsAndRebuildsTheIndex)
{
    // A search is on before the run and is on again after it.
    window->Doit({[] {
        SearchItem item;
        item.field = 14;
        item.value = "DRAMA";
        item.test = SearchItem::Contains;
        item.levelEnd = true;
        return item;
    }()});
    ASSERT_TRUE(window->searchMode());
    script = [this](QDialog& d) {
        auto& r = static_cast<TSearchAndReplace&>(d);
        EXPECT_EQ(r.windowTitle(), "Search and Replace");
        r.StartButtonClick();
        EXPECT_EQ(prompter.messageTexts().back(), "No field has been selected.");
        r.FieldBox->setCurrentIndex(13); // Category
        r.SearchText->setText("drama");
        r.ReplaceText->setText("Tragedy");
        r.ConfirmBox->setChecked(true);
        prompter.answers = {app::Prompter::Answer::Yes, app::Prompter::Answer::No, app::Prompter::Answer::Yes};
        r.StartButtonClick();
        EXPECT_EQ(r.counterText(0), "6");
        EXPECT_EQ(r.counterText(1), "3");
        EXPECT_EQ(r.counterText(2), "2");
    };
    window->DoSearchAndReplace();
    ASSERT_EQ(prompter.questions.size(), 3u);
    EXPECT_EQ(prompter.questions[0].caption, "Confirm");
    EXPECT_EQ(prompter.questions[0].text, "Item = \"The Third Man\".  Change this record?");
    EXPECT_EQ(prompter.messages.back().caption, "Finished");
    EXPECT_EQ(prompter.messages.back().text, "Global Search and Replace Complete.");
    EXPECT_TRUE(window->searchMode());
    EXPECT_EQ(window->countText(), "2"); // "drama" and Drama Comedy still contain DRAMA
    EXPECT_EQ(window->table().selectedIndex(), "NewIndex");
    EXPECT_EQ(window->table().openMode(), db::Table::OpenMode::Shared);
}

TEST_F(LocateWindowTest, AStartClickDuringARunStartsNothingAndQuestionsShowCurrentCounters)
{
    QStringList foundAtQuestions;
    script = [&](QDialog& d) {
        auto& r = static_cast<TSearchAndReplace&>(d);
        r.FieldBox->setCurrentIndex(13); // Category
        r.SearchText->setText("drama");
        r.ReplaceText->setText("Tragedy");
        r.ConfirmBox->setChecked(true);
        prompter.answers = {app::Prompter::Answer::Yes, app::Prompter::Answer::Yes, app::Prompter::Answer::Yes};
        prompter.onAsk = [&] {
            foundAtQuestions << r.counterText(1);
            r.StartButtonClick(); // a second click while the run waits for an answer
        };
        r.StartButtonClick();
        prompter.onAsk = nullptr;
        EXPECT_EQ(r.counterText(0), "6");
        EXPECT_EQ(r.counterText(2), "3");
    };
    window->DoSearchAndReplace();
    EXPECT_EQ(prompter.questions.size(), 3u);
    EXPECT_EQ(foundAtQuestions, (QStringList{"1", "2", "3"}));
    EXPECT_EQ(prompter.messageTexts().count("Global Search and Replace Complete."), 1);
}

TEST_F(LocateWindowTest, SearchAndReplaceNeedsExclusiveUse)
{
    QProcess holder;
    holder.start(RK_CLI, {"hold", home + "/MASTER.DBF"});
    holder.waitForReadyRead(10000);
    script = [](QDialog& d) {
        auto& r = static_cast<TSearchAndReplace&>(d);
        r.FieldBox->setCurrentIndex(13);
        r.SearchText->setText("drama");
        r.ReplaceText->setText("x");
        r.StartButtonClick();
    };
    window->DoSearchAndReplace();
    holder.closeWriteChannel();
    holder.waitForFinished(10000);
    EXPECT_EQ(prompter.messageTexts().back(), TSearchAndReplace::kInUse);
    EXPECT_TRUE(window->table().active());
    window->table().first();
    EXPECT_EQ(window->table().text(window->table().requireField("Category")), "drama"); // Athena, unchanged
}

TEST_F(LocateWindowTest, NextIsNotTheDefaultWhileTheFieldListHasTheFocus)
{
    script = [](QDialog& d) {
        auto& dlg = static_cast<TMyLocateDlg&>(d);
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(dlg.FieldNameComboBox, &in);
        EXPECT_FALSE(dlg.NextButton->isDefault());
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(dlg.FieldNameComboBox, &out);
        EXPECT_TRUE(dlg.NextButton->isDefault());
        dlg.reject();
    };
    window->action("Locate")->trigger();
}
