// The report window through the main window: what to print against the
// search, the report list, and runs to a text file and to the preview.
#include "ScriptedPrompter.h"
#include "Search.h"
#include "TMain.h"
#include "TMyPreview.h"
#include "TMyReport.h"
#include "TReportForm.h"
#include "TUserReport.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using testing_support::ScriptedPrompter;
using testing_support::TempDir;

namespace {

class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.saveSettings();
        window = std::make_unique<app::TMain>(prompter, false);
        window->setDialogRunner([this](QDialog& d) {
            if (auto* status = dynamic_cast<report_ui::TReportForm*>(&d)) {
                status->RunJob();
                ++jobs;
                statusTexts << status->StatusLabel->text();
                if (!inPlaceWhenDone.isEmpty())
                    filesInPlaceWhenDone << QFileInfo::exists(inPlaceWhenDone);
                return int(QDialog::Accepted);
            }
            if (auto* preview = dynamic_cast<report_ui::TMyPreview*>(&d)) {
                preview->show();
                previewLabel = preview->PageLabel->text();
                preview->reject();
                return int(QDialog::Rejected);
            }
            if (auto* designer = dynamic_cast<report_ui::TUserReport*>(&d)) {
                if (designerScript)
                    designerScript(*designer);
                return d.result();
            }
            if (auto* layout = dynamic_cast<report_ui::TRepLayout*>(&d)) {
                if (layoutScript)
                    layoutScript(*layout);
                return d.result();
            }
            if (auto* part = dynamic_cast<report_ui::TReportPart*>(&d)) {
                if (partScript)
                    partScript(*part);
                return d.result();
            }
            if (script)
                script(static_cast<report_ui::TMyReport&>(d));
            return d.result();
        });
        ASSERT_TRUE(window->create());
        window->show();
        db::Table& t = window->table();
        for (const auto& [title, category] : std::vector<std::pair<const char*, const char*>>{
                 {"Heat", "Drama"}, {"Alien", "Sci-Fi"}, {"Casablanca", "Drama"}, {"Brazil", "Comedy"}}) {
            t.insert();
            t.setText(0, title);
            t.setText(t.requireField("Category"), category);
            t.post();
        }
        window->DisplayCount();
    }

    void searchDrama()
    {
        find::SearchItem item;
        item.field = 14;
        item.value = "DRAMA";
        item.test = find::SearchItem::Contains;
        item.levelEnd = true;
        window->Doit({item});
        ASSERT_TRUE(window->searchMode());
    }

    TempDir dir;
    testing_support::TemporaryProgram program{dir};
    ScriptedPrompter prompter;
    std::unique_ptr<app::TMain> window;
    std::function<void(report_ui::TMyReport&)> script;
    std::function<void(report_ui::TUserReport&)> designerScript;
    std::function<void(report_ui::TRepLayout&)> layoutScript;
    std::function<void(report_ui::TReportPart&)> partScript;
    int jobs = 0;
    QStringList statusTexts;         // what each status window said at the end
    QString inPlaceWhenDone;         // a file looked for as each job ends
    QList<bool> filesInPlaceWhenDone;
    QString previewLabel;
};

} // namespace

TEST_F(ReportWindowTest, TheListTheSortOrderAndWhatToPrintAgainstTheSearch)
{
    EXPECT_TRUE(window->action("Reports")->isEnabled());
    script = [](report_ui::TMyReport& r) {
        EXPECT_EQ(r.windowTitle(), "Reports");
        EXPECT_EQ(r.ReportList->count(), 6);
        EXPECT_EQ(r.ReportList->item(0)->text(), "Title and Media Number Report");
        EXPECT_EQ(r.ReportList->currentRow(), 0);
        EXPECT_FALSE(r.SortOrderLabel->text().isEmpty());
        EXPECT_FALSE(r.SearchCriteria->isEnabled()); // no search: only the whole collection
        EXPECT_TRUE(r.EntireDatabase->isChecked());
        r.ReportList->setCurrentRow(-1);
        r.DoIt(2);
        r.reject();
    };
    window->action("Reports")->trigger();
    EXPECT_EQ(prompter.messageTexts(), QStringList{"No Report has been selected.  Please choose one."});
    EXPECT_EQ(jobs, 0);

    // With a search on, the window offers the search even when the whole collection was stored.
    searchDrama();
    script = [](report_ui::TMyReport& r) {
        EXPECT_TRUE(r.SearchCriteria->isEnabled());
        EXPECT_TRUE(r.SearchCriteria->isChecked());
        EXPECT_EQ(r.ReportList->currentRow(), -1); // the last report was none
        r.reject();
    };
    window->action("Reports")->trigger();
}

TEST_F(ReportWindowTest, ADamagedDefinitionIsToldOnceAndTheReportsBeforeItStay)
{
    const std::string path = (program.home + "/REELKP.URP").toStdString();
    std::string bytes = testing_support::readFileBytes(path);
    bytes[2 * report::kDefinitionSize] = '\x40'; // report 3's name longer than its field
    testing_support::writeFileBytes(path, bytes);
    int shown = 0;
    script = [&](report_ui::TMyReport& r) {
        EXPECT_EQ(r.ReportList->count(), 2);
        shown = static_cast<int>(prompter.messages.size());
        r.reject();
    };
    window->action("Reports")->trigger();
    ASSERT_EQ(shown, 1);
    EXPECT_EQ(prompter.messages[0].caption, "Warning");
    EXPECT_NE(prompter.messages[0].text.indexOf("report 3"), -1) << prompter.messages[0].text.toStdString();
}

TEST_F(ReportWindowTest, AReportToAFileCoversTheSearchOrTheWholeCollection)
{
    searchDrama();
    const QString searched = QString::fromStdString(dir.file("search.txt"));
    const QString whole = QString::fromStdString(dir.file("whole.txt"));
    prompter.fileNames = {searched};
    script = [&](report_ui::TMyReport& r) {
        r.FileClick();
        r.EntireDatabase->setChecked(true);
        r.DoIt(3, whole);
        r.reject();
    };
    window->action("Reports")->trigger();
    EXPECT_EQ(jobs, 2);
    const std::string searchText = testing_support::readFileBytes(searched.toStdString());
    EXPECT_NE(searchText.find("Heat"), std::string::npos);
    EXPECT_EQ(searchText.find("Alien"), std::string::npos);
    const std::string wholeText = testing_support::readFileBytes(whole.toStdString());
    EXPECT_NE(wholeText.find("Alien"), std::string::npos);
    EXPECT_TRUE(window->searchMode()); // ended for the run, and back
    EXPECT_EQ(window->countText(), "2");
}

// "Report Completed!" is said once the text file has replaced its
// destination; one that cannot (the name is a folder's) is not called complete.
TEST_F(ReportWindowTest, AReportFileIsInPlaceWhenTheReportIsSaidToBeComplete)
{
    const QString file = QString::fromStdString(dir.file("report.txt"));
    const QString folder = QString::fromStdString(dir.file("taken"));
    ASSERT_TRUE(QDir().mkpath(folder + "/inside"));
    inPlaceWhenDone = file;
    script = [&](report_ui::TMyReport& r) {
        r.DoIt(3, file);
        r.DoIt(3, folder);
        r.reject();
    };
    window->action("Reports")->trigger();
    EXPECT_EQ(statusTexts, (QStringList{"\rReport Completed!", "\rReport Canceled!"}));
    EXPECT_EQ(filesInPlaceWhenDone, (QList<bool>{true, true}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "Error");
    EXPECT_TRUE(QFileInfo(folder + "/inside").isDir()) << "the folder is as it was";
    for (const QString& name : QDir(QString::fromStdString(dir.path().string())).entryList(QDir::Files))
        EXPECT_FALSE(name.contains(".rk-new")) << name.toStdString();
}

TEST_F(ReportWindowTest, ViewOpensThePreviewAndLabelModeSwitchesTheWindow)
{
    script = [](report_ui::TMyReport& r) {
        r.ViewClick();
        r.FaceLabels->setChecked(true);
        EXPECT_EQ(r.FileButton->text(), "Options");
        EXPECT_TRUE(r.MediaGrid->isVisibleTo(&r));
        EXPECT_FALSE(r.ReportList->isVisibleTo(&r));
        EXPECT_TRUE(r.MediaGrid->isRowHidden(5)); // five rows on Avery 5199
        r.SpineLabels->setChecked(true);
        EXPECT_EQ(r.MediaGrid->item(7, 1)->text(), "*NOT USED*");
        r.reject();
    };
    window->action("Reports")->trigger();
    EXPECT_EQ(jobs, 1);
    EXPECT_EQ(previewLabel, "Page 1 of 1");
}

TEST_F(ReportWindowTest, LabelsPrintTheGridsMediaNumbersAndRefuseAnEmptyJob)
{
    db::Table& t = window->table();
    t.first();
    t.edit();
    t.setText(t.requireField("MediaNum"), "T-1");
    t.post();
    const std::string titleOfT1 = t.text(0);
    script = [&](report_ui::TMyReport& r) {
        // Spine labels: all eight rows in sight, "*NOT USED*" too, and nothing to scroll.
        r.SpineLabels->setChecked(true);
        r.show();
        EXPECT_EQ(r.MediaGrid->item(7, 1)->text(), "*NOT USED*");
        EXPECT_LE(r.MediaGrid->rowViewportPosition(7) + r.MediaGrid->rowHeight(7), r.MediaGrid->viewport()->height());
        EXPECT_LE(r.MediaGrid->columnViewportPosition(1) + r.MediaGrid->columnWidth(1), r.MediaGrid->viewport()->width());
        r.FaceLabels->setChecked(true);
        // No media number: refused.
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 2; ++column)
                r.MediaGrid->item(row, column)->setText("");
        r.ViewClick();
        EXPECT_EQ(prompter.messages.back().text,
                  "No media numbers have been entered.  Please enter/choose some media numbers.");
        // No item: refused, whatever the media numbers.
        r.MediaGrid->item(0, 0)->setText("T-1");
        window->settings().labelItems.fill(false);
        r.ViewClick();
        EXPECT_EQ(prompter.messages.back().text,
                  "No items are selected for print.  Please select printing criteria via the \"Options\" button.");
        window->settings().labelItems.fill(true);
        r.ViewClick();
        // Avery 5199 spine: the grid's last cell ("*NOT USED*") is no position, whatever it holds.
        r.SpineLabels->setChecked(true);
        r.MediaGrid->item(0, 0)->setText("");
        EXPECT_EQ(r.MediaGrid->item(7, 1)->text(), "*NOT USED*");
        r.ViewClick();
        EXPECT_EQ(prompter.messages.back().text,
                  "No media numbers have been entered.  Please enter/choose some media numbers.");
        r.MediaGrid->item(7, 1)->setText("T-1");
        r.ViewClick();
        EXPECT_EQ(prompter.messages.back().text,
                  "No media numbers have been entered.  Please enter/choose some media numbers.");
        r.reject();
    };
    window->action("Reports")->trigger();
    EXPECT_EQ(jobs, 1);
    EXPECT_EQ(previewLabel, "Page 1 of 1");
    EXPECT_EQ(window->settings().whatToPrint, 4);
}

TEST_F(ReportWindowTest, TheDesignerAddsChangesAndDeletesDefinitions)
{
    designerScript = [&](report_ui::TUserReport& d) {
        EXPECT_FALSE(d.DeleteButton->isEnabled()); // new mode
        d.NameBox->setText("My Titles");
        // Thirteen lines are refused on Specify Report Content and on Update.
        d.NumberOfLines->setText("13");
        d.SpecifyContentClick();
        EXPECT_EQ(prompter.messages.back().text, "Number of lines must be in range of 0 to 12.  Please correct.");
        d.UpdateClick();
        EXPECT_EQ(d.result(), 0);
        d.NumberOfLines->setText(" 1 ");
        // 150 then 120 or 90, answering No: 150 stays checked, the lines and the font as they were.
        d.Width150->click();
        EXPECT_EQ(d.definition().width, 150);
        EXPECT_EQ(d.definition().fonts[report::BodyFont].size, 6);
        prompter.answers = {app::Prompter::Answer::No};
        d.Width120->click();
        EXPECT_TRUE(d.Width150->isChecked());
        EXPECT_EQ(d.definition().lines[0][0].width, 150);
        prompter.answers = {app::Prompter::Answer::No};
        d.Width90->click();
        EXPECT_TRUE(d.Width150->isChecked());
        EXPECT_EQ(prompter.questions.back().icon, app::Prompter::Icon::Error); // a warning, with the error icon
        EXPECT_EQ(d.definition().lines[0][0].width, 150);
        EXPECT_EQ(d.definition().fonts[report::BodyFont].size, 6);
        d.SpecifyContentClick(); // the layout window: a part made the title field, 30 wide
        d.UpdateClick();
    };
    layoutScript = [&](report_ui::TRepLayout& layout) {
        partScript = [&](report_ui::TReportPart& part) {
            EXPECT_EQ(part.SelectedPart->text(), "Line 1, Item 1");
            part.FieldButton->setChecked(true);
            part.Fields->setCurrentRow(-1);
            part.WidthBox->setText("30");
            part.OkClick();
            EXPECT_EQ(prompter.messages.back().text, "No field is selected.  Please choose one from the Fields list.");
            part.WidthBox->setText("3x");
            part.Fields->setCurrentRow(0);
            part.OkClick();
            EXPECT_EQ(prompter.messages.back().text, "Invalid width entered.  Please correct.");
            part.WidthBox->setText("30");
            part.OkClick();
        };
        const QRect box = layout.Layout->boxRect(0, 0);
        layout.Layout->onBoxClicked(0, 0);
        EXPECT_GT(box.width(), 0);
        layout.OkClick();
    };
    script = [&](report_ui::TMyReport& r) {
        const int before = r.ReportList->count();
        EXPECT_TRUE(r.NewButton->isEnabled());
        r.NewClick();
        ASSERT_EQ(r.ReportList->count(), before + 1);
        EXPECT_EQ(r.ReportList->currentItem()->text(), "My Titles");
        // Renamed in modify mode, Yes: saved as a new report, the old one kept.
        designerScript = [&](report_ui::TUserReport& d) {
            EXPECT_TRUE(d.DeleteButton->isEnabled());
            EXPECT_EQ(d.definition().lines[0][0].kind, "Title");
            EXPECT_EQ(d.definition().lines[0][1].width, 120);
            d.NameBox->setText("My Titles 2");
            d.nameLeft();
            EXPECT_FALSE(d.DeleteButton->isEnabled());
            prompter.answers = {app::Prompter::Answer::Yes};
            d.UpdateClick();
        };
        r.ModifyClick();
        ASSERT_EQ(r.ReportList->count(), before + 2);
        EXPECT_EQ(r.ReportList->item(before)->text(), "My Titles");
        EXPECT_EQ(r.ReportList->currentItem()->text(), "My Titles 2");
        // Renamed again, No: the record is overwritten in its place.
        designerScript = [&](report_ui::TUserReport& d) {
            d.NameBox->setText("My Titles 3");
            prompter.answers = {app::Prompter::Answer::No};
            d.UpdateClick();
        };
        r.ModifyClick();
        ASSERT_EQ(r.ReportList->count(), before + 2);
        EXPECT_EQ(r.ReportList->item(before + 1)->text(), "My Titles 3");
        EXPECT_EQ(r.ReportList->currentRow(), before + 1);
        // Delete, answering Yes.
        designerScript = [&](report_ui::TUserReport& d) {
            prompter.answers = {app::Prompter::Answer::Yes};
            d.DeleteClick();
        };
        r.ModifyClick();
        EXPECT_EQ(r.ReportList->count(), before + 1);
        EXPECT_EQ(prompter.questions.back().text, "Are you sure you want to delete this report?");
        r.reject();
    };
    window->action("Reports")->trigger();
}
