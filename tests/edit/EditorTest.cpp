// The record editor and the award pickers, driven through the main window.
#include "EditorText.h"
#include "IniFile.h"
#include "PickList.h"
#include "ScriptedPrompter.h"
#include "TMain.h"
#include "TMyEdit.h"
#include "TMyOscarAward.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include "CoverPanel.h"
#include "TCoverSize.h"

#include <QSpinBox>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>

using namespace app;
using edit::TMyEdit;
using testing_support::ScriptedPrompter;
using testing_support::TempDir;
using testing_support::TemporaryProgram;

namespace {

class EditorTest : public ::testing::Test {
protected:
    void start(bool browse = false)
    {
        program.saveSettings();
        window = std::make_unique<TMain>(prompter, browse);
        window->setDialogRunner([this](QDialog& d) {
            if (auto* editor = dynamic_cast<TMyEdit*>(&d)) {
                editor->show();
                if (script)
                    script(*editor);
                const int result = editor->isVisible() ? int(QDialog::Rejected) : editor->result();
                editor->hide();
                return result;
            }
            return pickerScript ? pickerScript(d) : int(QDialog::Rejected);
        });
        ASSERT_TRUE(window->create());
        window->show();
    }

    void addFilm(const char* title)
    {
        db::Table& t = window->table();
        t.insert();
        t.setText(0, title);
        t.post();
    }

    // A second table object reads what reached the disk.
    std::unique_ptr<db::Table> reader()
    {
        auto t = std::make_unique<db::Table>();
        t->setFilePath((home + "/MASTER.DBF").toStdString());
        t->selectIndex("NewIndex");
        t->open(db::Table::OpenMode::ReadOnly);
        return t;
    }

    static void type(TMyEdit& e, const char* name, const QString& text)
    {
        if (QComboBox* box = e.comboBox(name))
            box->setEditText(text);
        else
            e.lineEdit(name)->setText(text);
    }

    TempDir dir;
    TemporaryProgram program{dir};
    const QString& home = program.home;
    IniFile& ini = program.settings;
    ScriptedPrompter prompter;
    std::unique_ptr<TMain> window;
    std::function<void(TMyEdit&)> script;
    std::function<int(QDialog&)> pickerScript;
};

} // namespace

TEST_F(EditorTest, AddStoresEveryFieldByItsKind)
{
    start();
    script = [](TMyEdit& e) {
        EXPECT_EQ(e.windowTitle(), "Edit");
        EXPECT_EQ(e.pages()->currentIndex(), 0);
        EXPECT_EQ(e.lineEdit("PlayTime")->text(), "0"); // a new record starts cleared
        type(e, "Title", "Casablanca");
        type(e, "Star1", "Humphrey Bogart");
        type(e, "Star5", "Claude Rains");
        type(e, "YearReleased", "1942");
        type(e, "PlayTime", "102");
        type(e, "Category", "Drama");
        type(e, "ListPrice", "1,234.50");
        type(e, "PurchPrice", "");
        type(e, "PurchDate", "03/05/1997");
        type(e, "Description", "Of all the gin joints");
        e.checkBox("Viewed")->setChecked(true);
        e.button("UpdateAndExit")->click();
    };
    window->DoAdd();
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(window->countText(), "1");
    auto disk = reader();
    auto field = [&](const char* name) { return disk->text(disk->requireField(name)); };
    EXPECT_EQ(field("Title"), "Casablanca");
    EXPECT_EQ(field("Star1"), "Humphrey Bogart");
    EXPECT_EQ(field("Star5"), "Claude Rains");
    EXPECT_EQ(field("Year"), "1942");
    EXPECT_EQ(field("RunTime"), "102");
    EXPECT_EQ(field("Category"), "Drama");
    EXPECT_EQ(disk->number(disk->requireField("ListPrice")), 1234.5);
    EXPECT_EQ(field("PurchPrice"), "0");
    EXPECT_EQ(field("PurchDate"), "3/5/97");
    EXPECT_EQ(field("CheckDate"), "");
    EXPECT_EQ(field("CheckOut"), "No");
    EXPECT_EQ(field("Viewed"), "Yes");
    EXPECT_EQ(field("Descriptio"), "Of all the gin joints");
    EXPECT_EQ(field("Writers"), "");
}

// Runs under C, de_DE and fr_FR (see the test list): a stored price goes into
// its box through the program's own money routine and comes back unchanged.
class EditorPriceTest : public EditorTest, public ::testing::WithParamInterface<int> {};

TEST_P(EditorPriceTest, AnUntouchedPriceSurvivesAnUpdate)
{
    ini.setValue("Misc", "Currency Format", QString::number(GetParam()));
    start();
    db::Table& t = window->table();
    t.insert();
    t.setText(0, "Metropolis");
    t.setNumber(t.requireField("ListPrice"), 1234.5);
    t.setNumber(t.requireField("PurchPrice"), 1234567.25);
    t.post();
    script = [](TMyEdit& e) {
        EXPECT_FALSE(e.lineEdit("ListPrice")->text().contains("12345")) << e.lineEdit("ListPrice")->text().toStdString();
        type(e, "Title", "Metropolis (1927)");
        e.button("UpdateAndExit")->click();
    };
    window->DoEdit();
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join("|").toStdString();
    auto disk = reader();
    EXPECT_EQ(disk->text(0), "Metropolis (1927)");
    EXPECT_EQ(disk->number(disk->requireField("ListPrice")), 1234.5);
    EXPECT_EQ(disk->number(disk->requireField("PurchPrice")), 1234567.25);
}

INSTANTIATE_TEST_SUITE_P(CurrencyFormats, EditorPriceTest, ::testing::Values(1, 2));

TEST_F(EditorTest, BlankDatesWithAnySeparatorAreStoredEmpty)
{
    for (const char* code : {"1", "2", "3"}) {
        SCOPED_TRACE(code);
        ini.setValue("Misc", "Date Format", code);
        start();
        script = [](TMyEdit& e) {
            type(e, "Title", "Blank dates");
            EXPECT_EQ(e.lineEdit("CheckDate")->displayText().size(), 10);
            e.button("UpdateAndExit")->click();
        };
        window->DoAdd();
        EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join("|").toStdString();
        window->close();
        window.reset();
        QFile::remove(home + "/MASTER.DBF");
        QFile::remove(home + "/MASTER.MDX");
    }
    db::setEditTextFormat({});
}

TEST_F(EditorTest, UntouchedNewRecordAddsNothingAndAsksNothing)
{
    start();
    script = [](TMyEdit& e) { e.button("Exit")->click(); };
    window->DoAdd();
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(window->countText(), "0");
}

TEST_F(EditorTest, ExitAfterAChangeAsksAndNoKeepsTheWindow)
{
    start();
    addFilm("Kept");
    script = [this](TMyEdit& e) {
        type(e, "Title", "Changed");
        prompter.answers = {Prompter::Answer::No};
        e.button("Exit")->click();
        EXPECT_TRUE(e.isVisible());
        prompter.answers = {Prompter::Answer::Yes};
        e.button("Exit")->click();
        EXPECT_FALSE(e.isVisible());
    };
    window->DoEdit();
    ASSERT_EQ(prompter.questions.size(), 2u);
    EXPECT_EQ(prompter.questions[0].caption, "Warning");
    EXPECT_EQ(prompter.questions[0].text, "Data has changed.  Do you want to exit without updating?");
    EXPECT_EQ(reader()->text(0), "Kept");
}

TEST_F(EditorTest, BrowseModeNeverAsksAndCannotUpdate)
{
    start();
    addFilm("Seen");
    window->close();
    window.reset();
    start(true);
    script = [](TMyEdit& e) {
        EXPECT_FALSE(e.button("Update")->isEnabled());
        EXPECT_FALSE(e.button("UpdateAndExit")->isEnabled());
        EXPECT_FALSE(e.button("Clear")->isEnabled());
        EXPECT_FALSE(e.menuAction("NewRecord")->isEnabled());
        EXPECT_FALSE(e.menuAction("Paste")->isEnabled());
        type(e, "Title", "Changed");
        e.button("Next")->click();
        e.button("Exit")->click();
    };
    window->DoEdit();
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(reader()->text(0), "Seen");
}

TEST_F(EditorTest, PreviousOnTheFirstRecordStillAsksInNewMode)
{
    start();
    addFilm("Alpha");
    addFilm("Beta");
    window->table().first();
    script = [this](TMyEdit& e) {
        prompter.answers = {Prompter::Answer::No};
        e.button("Previous")->click();
        EXPECT_EQ(e.lineEdit("Title")->text(), "Alpha");
        EXPECT_EQ(e.mode(), TMyEdit::EditMode);
        e.button("Exit")->click();
    };
    window->DoAdd();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text,
              "This record has not been updated yet.  Update this record before moving to the previous record?");
    EXPECT_EQ(window->countText(), "2");
}

TEST_F(EditorTest, NextAsksOnlyAfterAChangeInEditMode)
{
    start();
    addFilm("Alpha");
    addFilm("Beta");
    window->table().first();
    script = [this](TMyEdit& e) {
        EXPECT_EQ(e.lineEdit("Title")->text(), "Alpha");
        e.button("Next")->click();
        EXPECT_EQ(e.lineEdit("Title")->text(), "Beta");
        type(e, "Title", "Beta Two");
        prompter.answers = {Prompter::Answer::Yes};
        e.button("Previous")->click();
        EXPECT_EQ(e.lineEdit("Title")->text(), "Alpha");
        e.button("Exit")->click();
    };
    window->DoEdit();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text, "Data has changed.  Update this record before moving to the previous record?");
    auto disk = reader();
    disk->last();
    EXPECT_EQ(disk->text(0), "Beta Two");
}

TEST_F(EditorTest, UntickingAndRetickingCheckedOutRestoresDateAndPerson)
{
    start();
    script = [](TMyEdit& e) {
        e.checkBox("CheckOut")->click(); // ticked: the remembered pair is empty
        type(e, "CheckDate", "12/24/1996");
        type(e, "CheckName", "Aunt Mary");
        e.checkBox("CheckOut")->click(); // unticked: remembered and emptied
        EXPECT_EQ(e.comboBox("CheckName")->currentText(), "");
        e.checkBox("CheckOut")->click(); // ticked again
        EXPECT_EQ(e.lineEdit("CheckDate")->text(), "12/24/1996");
        EXPECT_EQ(e.comboBox("CheckName")->currentText(), "Aunt Mary");
        e.button("Exit")->click();
    };
    prompter.answers = {Prompter::Answer::Yes};
    window->DoAdd();
}

TEST_F(EditorTest, NewCategoryJoinsEditorGridAndFile)
{
    start();
    script = [](TMyEdit& e) {
        type(e, "Title", "Alien");
        type(e, "Category", "  Sci-Fi  ");
        e.button("UpdateAndExit")->click();
        EXPECT_EQ(e.listOf(6), QStringList{"Sci-Fi"});
    };
    window->DoAdd();
    const int category = window->table().fieldIndex("Category");
    EXPECT_EQ(*window->gridList(category), QStringList{"Sci-Fi"});
    EXPECT_EQ(db::readPickList((home + "/CATEGORY.LST").toStdString()), db::PickList{"Sci-Fi"});
}

TEST_F(EditorTest, StarNamesFromEveryStarBoxReachTheFile)
{
    db::writePickList((home + "/STAR.LST").toStdString(), {"Cary Grant"});
    start();
    script = [](TMyEdit& e) {
        type(e, "Title", "Stars");
        type(e, "Star3", "Grace Kelly");
        type(e, "Star6", "James Stewart");
        e.button("UpdateAndExit")->click();
    };
    window->DoAdd();
    EXPECT_EQ(db::readPickList((home + "/STAR.LST").toStdString()),
              (db::PickList{"Cary Grant", "Grace Kelly", "James Stewart"}));
}

TEST_F(EditorTest, DuplicateStarsInTheFileStayAsTheyAre)
{
    db::writePickList((home + "/STAR.LST").toStdString(), {"Cary Grant", "Audrey Hepburn", "Cary Grant"});
    start();
    script = [](TMyEdit& e) {
        type(e, "Title", "Charade");
        type(e, "Star4", "Walter Matthau");
        e.button("UpdateAndExit")->click();
    };
    window->DoAdd();
    EXPECT_EQ(db::readPickList((home + "/STAR.LST").toStdString()),
              (db::PickList{"Cary Grant", "Audrey Hepburn", "Cary Grant", "Walter Matthau"}));
}

TEST_F(EditorTest, ChecksComeInOrderWithPageAndMessage)
{
    start();
    script = [this](TMyEdit& e) {
        type(e, "Title", "Checks");
        type(e, "YearReleased", "19x2");
        type(e, "PlayTime", "abc");
        type(e, "ListPrice", "abc");
        e.ListPriceExit(); // text that is not a number stays as typed
        EXPECT_EQ(e.lineEdit("ListPrice")->text(), "abc");
        type(e, "PurchDate", "13/45/1997");
        e.button("Update")->click();
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Other);
        type(e, "PurchDate", "");
        e.button("Update")->click();
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Other);
        type(e, "ListPrice", "12.5");
        e.ListPriceExit();
        EXPECT_EQ(e.lineEdit("ListPrice")->text(), "12.50");
        e.button("Update")->click();
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Library);
        type(e, "PlayTime", "90");
        e.button("Update")->click();
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Particulars);
        prompter.answers = {Prompter::Answer::Yes};
        e.button("Exit")->click();
    };
    window->DoAdd();
    EXPECT_EQ(prompter.messageTexts(),
              (QStringList{"Invalid purchase date specified.  Please correct.",
                           "Invalid list price specified.  Please correct.",
                           "Invalid play time specified.  Please correct.", "Invalid year specified.  Please correct."}));
    EXPECT_EQ(window->countText(), "0");
}

TEST_F(EditorTest, TypingStartsInTheTitleAndAtTheStartOfADateReachedByEnter)
{
    start();
    addFilm("Alpha");
    for (const auto mode : {0, 1, 2}) {
        script = [](TMyEdit& e) {
            EXPECT_EQ(e.focusWidget(), e.lineEdit("Title"));
            e.FormKeyPress(e.control("PurchPrice")); // Enter moves on to the purchase date
            QLineEdit* date = e.lineEdit("PurchDate");
            EXPECT_EQ(e.focusWidget(), date);
            EXPECT_EQ(date->cursorPosition() == 0 || date->hasSelectedText(), true);
            QKeyEvent digit(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
            QApplication::sendEvent(date, &digit);
            EXPECT_TRUE(date->text().startsWith("1")) << date->text().toStdString();
            e.button("Exit")->click();
        };
        prompter.answers = {Prompter::Answer::Yes};
        if (mode == 0)
            window->DoAdd();
        else if (mode == 1)
            window->DoEdit();
        else
            window->DoCopy();
    }
}

TEST_F(EditorTest, EditableComboBoxesWearTheComboColorsThroughout)
{
    ini.setValue("Edit Window Color", "Edit Background", "255");        // red
    ini.setValue("Edit Window Color", "Combo Background", "16711680");  // blue
    start();
    script = [](TMyEdit& e) {
        QComboBox* category = e.comboBox("Category");
        ASSERT_TRUE(category->isEditable());
        EXPECT_EQ(category->lineEdit()->palette().color(QPalette::Base), QColor(0, 0, 255));
        EXPECT_EQ(e.lineEdit("Title")->palette().color(QPalette::Base), QColor(255, 0, 0));
        e.button("Exit")->click();
    };
    window->DoAdd();
}

TEST_F(EditorTest, TheStarLabelStandsBesideTheFirstOfTheSixStarBoxes)
{
    start();
    script = [](TMyEdit& e) {
        QComboBox* first = e.comboBox("Star1");
        auto* grid = first->parentWidget()->findChild<QGridLayout*>();
        ASSERT_NE(grid, nullptr);
        ASSERT_GE(grid->indexOf(first), 0);
        auto cell = [grid](QWidget* w) {
            int row = -1, column = -1, rows = 0, columns = 0;
            grid->getItemPosition(grid->indexOf(w), &row, &column, &rows, &columns);
            return std::pair{row, column};
        };
        QLabel* label = nullptr;
        for (QLabel* l : first->parentWidget()->findChildren<QLabel*>())
            if (l->buddy() == first)
                label = l;
        ASSERT_NE(label, nullptr);
        const auto [row, column] = cell(first);
        EXPECT_EQ(cell(label), std::pair(row, 0));
        EXPECT_EQ(cell(e.comboBox("Star2")), std::pair(row, column + 1));
        EXPECT_EQ(cell(e.comboBox("Star6")), std::pair(row + 2, column + 1));
        e.button("Exit")->click();
    };
    window->DoAdd();
}

TEST_F(EditorTest, EditDeleteRemovesOnlyASelection)
{
    start();
    script = [](TMyEdit& e) {
        QLineEdit* title = e.lineEdit("Title");
        title->setText("Vertigo");
        title->setFocus();
        title->setCursorPosition(0);
        e.menuAction("Delete")->trigger();
        EXPECT_EQ(title->text(), "Vertigo");
        title->setSelection(0, 3);
        e.menuAction("Delete")->trigger();
        EXPECT_EQ(title->text(), "tigo");
        e.button("Exit")->click();
    };
    prompter.answers = {Prompter::Answer::No};
    window->DoAdd();
}

TEST_F(EditorTest, AwardPickerSortsWithoutRegardToCase)
{
    db::writePickList((home + "/OSCAR.LST").toStdString(), {"Best Picture", "best Actor", "Best director"});
    edit::TMyOscarAward award(edit::TMyOscarAward::OscarAward, home + "/OSCAR.LST", "");
    QStringList shown;
    for (int i = 0; i < award.list()->count(); ++i)
        shown << award.list()->item(i)->text();
    EXPECT_EQ(shown, (QStringList{"best Actor", "Best director", "Best Picture"}));
}

TEST_F(EditorTest, EnterFollowsTheChainAndShowsThePageOfTheFocus)
{
    start();
    script = [](TMyEdit& e) {
        e.FormKeyPress(e.control("Sound"));
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Attributes);
        e.FormKeyPress(e.control("RecordSpeed"));
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Library);
        e.FormKeyPress(e.control("CheckName"));
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Other);
        e.FormKeyPress(e.control("UserDef2"));
        EXPECT_EQ(e.pages()->currentIndex(), TMyEdit::Particulars);
        e.button("Exit")->click();
    };
    window->DoAdd();
}

TEST_F(EditorTest, CopyAddsTheCopiedValuesAsANewRecord)
{
    start();
    addFilm("Original");
    script = [](TMyEdit& e) {
        EXPECT_EQ(e.lineEdit("Title")->text(), "Original");
        type(e, "Title", "Original Two");
        e.button("UpdateAndExit")->click();
    };
    window->DoCopy();
    EXPECT_EQ(window->countText(), "2");
}

TEST_F(EditorTest, PickerJoinsInListOrderAndMarksMiscellaneousValues)
{
    db::writePickList((home + "/MISC.LST").toStdString(), {"Widescreen", "Closed Captioned", "Stereo"});
    db::writePickList((home + "/OSCAR.LST").toStdString(), {"Best Picture", "Best Actor"});
    // Miscellaneous: two listed values and one that is not in MISC.LST.
    edit::TMyOscarAward misc(edit::TMyOscarAward::Miscellaneous, home + "/MISC.LST", "Stereo, Home made, Widescreen");
    EXPECT_EQ(misc.windowTitle(), "Miscellaneous");
    QStringList selected;
    for (QListWidgetItem* item : misc.list()->selectedItems())
        selected << item->text();
    selected.sort();
    EXPECT_EQ(selected, (QStringList{"Home made", "Stereo", "Widescreen"}));
    EXPECT_EQ(misc.choice(), "Home made, Stereo, Widescreen");
    EXPECT_EQ(db::readPickList((home + "/MISC.LST").toStdString()).size(), 3u);

    // Awards open with nothing selected; clicks toggle; the join follows list order.
    edit::TMyOscarAward award(edit::TMyOscarAward::OscarAward, home + "/OSCAR.LST", "Best Actor");
    EXPECT_EQ(award.windowTitle(), "Oscar Awards");
    EXPECT_TRUE(award.list()->selectedItems().isEmpty());
    EXPECT_EQ(award.choice(), "");
    award.list()->item(1)->setSelected(true); // Best Picture (sorted second)
    award.list()->item(0)->setSelected(true); // Best Actor
    EXPECT_EQ(award.choice(), "Best Actor, Best Picture");
    EXPECT_EQ(edit::joinedChoice({QString(200, 'a'), QString(200, 'b')}, {true, true}).size(), 255);
}

TEST_F(EditorTest, SelectButtonPutsThePickersChoiceInTheBox)
{
    db::writePickList((home + "/OSCAR.LST").toStdString(), {"Best Picture", "Best Actor"});
    start();
    pickerScript = [](QDialog& d) {
        auto& picker = static_cast<edit::TMyOscarAward&>(d);
        picker.list()->item(0)->setSelected(true);
        return int(QDialog::Accepted);
    };
    script = [](TMyEdit& e) {
        type(e, "OscarNom", "something old");
        e.SelectOscarNomClick();
        EXPECT_EQ(e.lineEdit("OscarNom")->text(), "Best Actor");
        e.DoClear();
        e.button("Exit")->click();
    };
    window->DoAdd();
}

TEST(EditorText, PricesUnderBothCurrencySettings)
{
    EXPECT_EQ(edit::normalisedPrice(" 1,234.50 ", 1, '.', ','), 1234.5);
    EXPECT_EQ(edit::normalisedPrice("1.234,50", 2, ',', '.'), 1234.5);
    EXPECT_FALSE(edit::normalisedPrice("12 dollars", 1, '.', ',').has_value());
    EXPECT_TRUE(edit::isBlankDate("  -  -    "));
    EXPECT_TRUE(edit::isBlankDate("  .  .    "));
    EXPECT_FALSE(edit::isBlankDate("01/  /    "));
    EXPECT_EQ(edit::miscellaneousValues("A, B ,C"), (QStringList{"A", "B ", "C"}));
}

// The editor's cover: a new record's picture kept once the record is stored,
// a stored record's changed at once, a damaged picture refused with its name,
// a removal asked first, a title changed carrying the cover with it, and a
// pasted image taken.
TEST_F(EditorTest, TheCoverIsChosenPastedRemovedAndFollowsTheTitle)
{
    start();
    const QString picture = QString::fromStdString(dir.file("casablanca.png"));
    QImage image(120, 180, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(picture));
    const QString covers = home + "/MASTER.covers/";
    prompter.fileNames = {picture};
    script = [](TMyEdit& e) {
        type(e, "Title", "Casablanca");
        type(e, "YearReleased", "1942");
        e.cover()->ChooseClick();
        EXPECT_FALSE(e.cover()->Picture->pixmap().isNull()) << "shown before the record is stored";
        e.button("UpdateAndExit")->click();
    };
    window->DoAdd();
    EXPECT_TRUE(QFile::exists(covers + "Casablanca (1942).png")) << prompter.messageTexts().join("|").toStdString();

    // A damaged picture for the stored record: refused by name, the old cover kept.
    const QString damaged = QString::fromStdString(dir.file("damaged.jpg"));
    QFile cut(damaged);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write("\xFF\xD8\xFF\xE0 not a whole picture");
    cut.close();
    prompter.fileNames = {damaged};
    prompter.answers = {ScriptedPrompter::Answer::Yes};
    script = [&](TMyEdit& e) {
        EXPECT_FALSE(e.cover()->Picture->pixmap().isNull()) << "the stored cover shown";
        e.cover()->ChooseClick();
        // A title changed carries the cover with it when the record is updated.
        type(e, "Title", "Casablanca (Special Edition)");
        e.button("UpdateAndExit")->click();
    };
    window->table().first();
    window->DoEdit();
    EXPECT_NE(prompter.messageTexts().join("|").indexOf("damaged.jpg"), -1) << prompter.messageTexts().join("|").toStdString();
    EXPECT_TRUE(QFile::exists(covers + "Casablanca (Special Edition) (1942).png"));
    EXPECT_FALSE(QFile::exists(covers + "Casablanca (1942).png"));

    // Removing asks first; a pasted image is the new cover.
    script = [&](TMyEdit& e) {
        e.cover()->RemoveClick();
        EXPECT_FALSE(QFile::exists(covers + "Casablanca (Special Edition) (1942).png"));
        QImage pasted(60, 90, QImage::Format_RGB32);
        pasted.fill(Qt::red);
        QApplication::clipboard()->setImage(pasted);
        e.menuAction("PasteCover")->trigger();
        e.button("UpdateAndExit")->click();
    };
    window->table().first();
    window->DoEdit();
    EXPECT_TRUE(QFile::exists(covers + "Casablanca (Special Edition) (1942).jpg"));
    EXPECT_EQ(prompter.questions.size(), 1u);
}

// Options > Cover Size: a picture larger than the longest side the user chose
// is kept scaled down to it, as JPEG.
TEST_F(EditorTest, AChosenPictureIsKeptAtTheUsersCoverSize)
{
    start();
    covers_ui::TCoverSize size(covers::CoverLimits::sized(window->settings().coverLongestSide, window->settings().coverJpegQuality));
    EXPECT_EQ(size.LongestSide->value(), 1500) << "the default";
    size.LongestSide->setValue(400);
    size.Quality->setValue(80);
    window->settings().coverLongestSide = size.limits().longestSide;
    window->settings().coverJpegQuality = size.limits().jpegQuality;
    const QString picture = QString::fromStdString(dir.file("large.png"));
    QImage image(1000, 1500, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(picture));
    prompter.fileNames = {picture};
    script = [](TMyEdit& e) {
        type(e, "Title", "Vertigo");
        type(e, "YearReleased", "1958");
        e.cover()->ChooseClick();
        e.button("UpdateAndExit")->click();
    };
    window->DoAdd();
    const QString kept = home + "/MASTER.covers/Vertigo (1958).jpg";
    ASSERT_TRUE(QFile::exists(kept)) << prompter.messageTexts().join("|").toStdString() << " / "
                                     << QDir(home + "/MASTER.covers").entryList(QDir::Files).join(",").toStdString();
    EXPECT_EQ(QImage(kept).size(), QSize(267, 400));
}

// Fill In without a lookup index says how to build one, and changes nothing.
TEST_F(EditorTest, FillInWithoutALookupIndexSaysHowToBuildOne)
{
    start();
    script = [](TMyEdit& e) {
        type(e, "Title", "Heat");
        e.menuAction("FillIn")->trigger();
        EXPECT_EQ(e.lineEdit("Title")->text(), "Heat");
        e.button("Exit")->click();
    };
    prompter.answers = {ScriptedPrompter::Answer::Yes};
    window->DoAdd();
    const QString said = prompter.messageTexts().join("|");
    EXPECT_NE(said.indexOf("choose it in Options, IMDb Lookup Index; or give your TMDb API key in Options, TMDb Online Lookup."), -1)
        << said.toStdString();
}
