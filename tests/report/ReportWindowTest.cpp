// The report window through the main window: what to print against the
// search, the report list, and runs to a text file and to the preview.
#include "ScriptedPrompter.h"
#include "Search.h"
#include "TMain.h"
#include "TMyPreview.h"
#include "TMyReport.h"
#include "TReportForm.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"

#include <gtest/gtest.h>

#include <QLabel>
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
                return int(QDialog::Accepted);
            }
            if (auto* preview = dynamic_cast<report_ui::TMyPreview*>(&d)) {
                preview->show();
                previewLabel = preview->PageLabel->text();
                preview->reject();
                return int(QDialog::Rejected);
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
    int jobs = 0;
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
        // Avery 5199 spine: the grid's last cell is no position.
        r.SpineLabels->setChecked(true);
        r.MediaGrid->item(0, 0)->setText("");
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
