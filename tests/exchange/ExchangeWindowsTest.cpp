// The import and export windows through the main window's Records menu.
#include "Catalogues.h"
#include "CoreText.h"
#include "DelimitedText.h"
#include "Import.h"
#include "InstalledTranslation.h"
#include "ScriptedPrompter.h"
#include "Search.h"
#include "Table.h"
#include "TempDir.h"
#include "TemporaryProgram.h"
#include "TImportFormat.h"
#include "TMain.h"
#include "TMyExport.h"
#include "TMyImport.h"
#include "ViewerModel.h"

#include "CoverStore.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <QFileInfo>

#include <filesystem>

#include <QAction>
#include <QCheckBox>
#include <QProgressBar>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QHeaderView>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using testing_support::ScriptedPrompter;
using testing_support::TempDir;
using testing_support::readFileBytes;
using testing_support::writeFileBytes;

namespace {

// A one-level search: the title contains the value.
find::SearchItem titleContains(const char* value)
{
    find::SearchItem item;
    item.field = 1;
    item.value = value;
    item.test = find::SearchItem::Contains;
    item.levelEnd = true;
    return item;
}

class ExchangeWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.saveSettings();
        window = std::make_unique<app::TMain>(prompter, false);
        window->setDialogRunner([this](QDialog& d) {
            if (auto* chooser = dynamic_cast<exchange_ui::TImportFormat*>(&d)) {
                if (chooseFormat)
                    chooseFormat(*chooser);
            } else if (auto* import = dynamic_cast<exchange_ui::TMyImport*>(&d)) {
                importCaption = import->windowTitle();
                if (importScript)
                    importScript(*import);
            } else if (auto* exportWindow = dynamic_cast<exchange_ui::TMyExport*>(&d)) {
                if (exportScript)
                    exportScript(*exportWindow);
                if (exportWindow->isVisible() || exportWindow->result() == 0)
                    exportWindow->reject();
            }
            return d.result();
        });
        ASSERT_TRUE(window->create());
        window->show();
        db::Table& t = window->table();
        for (const auto& [title, year] : std::vector<std::pair<const char*, int>>{{"Heat", 1995}, {"Alien", 1979}}) {
            t.insert();
            t.setText(0, title);
            t.setNumber(t.requireField("Year"), year);
            t.post();
        }
        window->DisplayCount();
    }

    void runImport(const std::string& text)
    {
        writeFileBytes(dir.file("in.txt"), text);
        prompter.fileNames = {QString::fromStdString(dir.file("in.txt"))};
        chooseFormat = [](exchange_ui::TImportFormat& chooser) {
            chooser.AsciiButton->setChecked(true);
            chooser.SelectFileClick();
        };
        window->action("Import")->trigger();
    }

    TempDir dir;
    testing_support::TemporaryProgram program{dir};
    ScriptedPrompter prompter;
    std::unique_ptr<app::TMain> window;
    std::function<void(exchange_ui::TImportFormat&)> chooseFormat;
    std::function<void(exchange_ui::TMyImport&)> importScript;
    std::function<void(exchange_ui::TMyExport&)> exportScript;
    QString importCaption;
};

} // namespace

TEST_F(ExchangeWindowsTest, ATextFileImportsThroughTheGrid)
{
    EXPECT_TRUE(window->action("Import")->isEnabled());
    importScript = [](exchange_ui::TMyImport& import) {
        QTableWidget* grid = import.Grid;
        EXPECT_EQ(grid->rowCount(), 40);
        EXPECT_EQ(grid->item(0, 0)->text(), "Title");
        EXPECT_EQ(grid->item(0, 1)->text(), "Name");
        EXPECT_EQ(grid->item(1, 1)->text(), "When");
        EXPECT_EQ(grid->item(2, 1)->text(), "<EMPTY>");
        EXPECT_EQ(grid->item(2, 2)->text(), "");
        // "When" goes down to row 11, Year.
        grid->setCurrentCell(1, 1);
        for (int i = 0; i < 9; ++i)
            import.DownClick();
        EXPECT_EQ(grid->currentRow(), 10);
        EXPECT_EQ(grid->item(10, 1)->text(), "When");
        EXPECT_EQ(grid->item(10, 2)->text(), "Yes");
        import.toggleUse(2); // an empty row stays empty
        EXPECT_EQ(grid->item(2, 2)->text(), "");
        EXPECT_FALSE(import.SkipFirstRecord->isHidden());
        import.StartImportClick();
        EXPECT_EQ(import.CountBox->text(), "2");
    };
    runImport("\"Name\",\"When\"\r\n\"Vertigo\",\"1958\"\r\n\"Psycho\",\"1960 (color: no)\"\r\n");
    EXPECT_EQ(importCaption, "Ascii Delimited Text Import");
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back().caption, "Ok");
    EXPECT_EQ(prompter.messages.back().text, "Import Complete.");
    EXPECT_EQ(prompter.dialogTitles.back(), "Import Data");
    // The viewer still marks the current record.
    auto* grid = window->findChild<QTableView*>();
    ASSERT_NE(grid, nullptr);
    const int row = window->model()->currentRow();
    ASSERT_GE(row, 0);
    EXPECT_EQ(grid->currentIndex().row(), row);
    EXPECT_EQ(window->model()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString(), QString(QChar(0x25B6)));
    EXPECT_TRUE(grid->verticalHeader()->isVisible());
    db::Table& t = window->table();
    EXPECT_EQ(t.recordCount(), 4u);
    t.selectIndex("");
    t.last();
    EXPECT_EQ(t.text(0), "Psycho");
    EXPECT_EQ(t.text(t.requireField("Year")), "1960");
    EXPECT_EQ(window->settings().importFileType, 1);
}

// A header row another catalogue wrote: its columns stand beside the fields their
// names match before any button is pressed, the others wait unused, and the first
// records show as they will be stored.
TEST_F(ExchangeWindowsTest, ColumnsAreMatchedByTheirNamesAndTheFirstRecordsShown)
{
    importScript = [](exchange_ui::TMyImport& import) {
        import.SkipFirstRecord->setChecked(true);
        import.SkipFirstRecord->clicked(true);
        QTableWidget* grid = import.Grid;
        const auto rowOf = [grid](const QString& column) {
            for (int r = 0; r < grid->rowCount(); ++r)
                if (grid->item(r, 1)->text() == column)
                    return r;
            return -1;
        };
        EXPECT_EQ(rowOf("Title"), 0);
        EXPECT_EQ(rowOf("Directors"), 8);
        EXPECT_EQ(rowOf("Year"), 10);
        EXPECT_EQ(rowOf("Runtime (mins)"), 11);
        EXPECT_EQ(rowOf("Genres"), 13);
        EXPECT_EQ(rowOf("Your Rating"), 17);
        EXPECT_EQ(grid->item(rowOf("Const"), 2)->text(), "No");
        EXPECT_EQ(grid->item(rowOf("Title"), 2)->text(), "Yes");
        import.SkipExisting->setChecked(true); // nothing of this file is held yet: both come in
        QTableWidget* preview = import.Preview;
        ASSERT_EQ(preview->rowCount(), 2);
        EXPECT_EQ(preview->horizontalHeaderItem(0)->text(), "Title");
        EXPECT_EQ(preview->item(0, 0)->text(), "Vertigo");
        EXPECT_EQ(preview->item(1, 0)->text(), QString::fromUtf8("\xC5\x81\xC3\xB3" "dz Story"))
            << "a Unicode collection keeps every letter";
        import.StartImportClick();
    };
    runImport("Const,Your Rating,Title,Runtime (mins),Year,Genres,Directors\r\n"
              "tt0052357,9,Vertigo,128,1958,\"Mystery, Thriller\",Alfred Hitchcock\r\n"
              "tt0000001,7,\xC5\x81\xC3\xB3" "dz Story,95,2001,Drama,Someone\r\n");
    db::Table& t = window->table();
    ASSERT_EQ(t.recordCount(), 4u);
    t.selectIndex("");
    t.last();
    EXPECT_EQ(t.text(0), "\xC5\x81\xC3\xB3" "dz Story");
    EXPECT_EQ(t.text(t.requireField("RunTime")), "95");
    EXPECT_EQ(t.text(t.requireField("Director")), "Someone");
    EXPECT_EQ(t.text(t.requireField("PersonalRa")), "7");
    EXPECT_EQ(t.text(t.requireField("UserDef1")), "") << "an unmatched column is not imported";
}

// An IMDb export through Records > Import: the kind is remembered, films already
// held are left out when the user says so, and a file of another kind is refused.
TEST_F(ExchangeWindowsTest, AnotherCatalogsExportImportsWithoutTheGrid)
{
    bool gridShown = false;
    importScript = [&](exchange_ui::TMyImport&) { gridShown = true; };
    writeFileBytes(dir.file("ratings.csv"),
                   "Const,Your Rating,Date Rated,Title,URL,Title Type,IMDb Rating,Runtime (mins),Year,Genres,Num Votes,"
                   "Release Date,Directors\n"
                   "tt0113277,9,2023-01-02,Heat,https://x,movie,8.3,170,1995,\"Action, Crime\",700000,1995-12-15,"
                   "Michael Mann\n"
                   "tt0052357,8,2023-01-02,Vertigo,https://x,movie,8.3,128,1958,Mystery,420000,1958-05-09,"
                   "Alfred Hitchcock\n");
    writeFileBytes(dir.file("plain.csv"), "\"Title\"\r\n\"Heat\"\r\n");
    prompter.fileNames = {QString::fromStdString(dir.file("plain.csv")), QString::fromStdString(dir.file("ratings.csv"))};
    prompter.answers = {ScriptedPrompter::Answer::Yes};
    chooseFormat = [](exchange_ui::TImportFormat& chooser) {
        chooser.CatalogueButton->setChecked(true);
        chooser.SelectFileClick(); // plain.csv: refused, the chooser stays
        chooser.SelectFileClick();
    };
    window->action("Import")->trigger();
    EXPECT_FALSE(gridShown);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith("The file is no export of IMDb, Letterboxd, GCstar, Tellico or Kodi"))
        << prompter.messages[0].text.toStdString();
    EXPECT_EQ(prompter.questions.back().text, "Leave out the films the collection already holds?");
    EXPECT_EQ(prompter.messages[1].caption, "Ok");
    EXPECT_TRUE(prompter.messages[1].text.contains("1 record was already in the collection"));
    EXPECT_TRUE(prompter.messages[1].text.endsWith("1 record imported from ratings.csv (IMDb)."))
        << prompter.messages[1].text.toStdString();
    EXPECT_EQ(window->table().recordCount(), 3u) << "Heat 1995 was there already";
    EXPECT_EQ(window->settings().importFileType, 3);
}

// An empty collection holds nothing to leave out: the import asks nothing about it.
TEST_F(ExchangeWindowsTest, AnEmptyCollectionIsNotAskedAboutFilmsItHolds)
{
    prompter.fileNames = {QString::fromStdString(dir.file("EMPTY.DBF"))};
    window->action("NewDatabase")->trigger();
    ASSERT_EQ(window->table().recordCount(), 0u);
    writeFileBytes(dir.file("ratings.csv"),
                   "Const,Your Rating,Date Rated,Title,URL,Title Type,IMDb Rating,Runtime (mins),Year,Genres,Num Votes,"
                   "Release Date,Directors\n"
                   "tt0113277,9,2023-01-02,Heat,https://x,movie,8.3,170,1995,Action,700000,1995-12-15,Michael Mann\n");
    prompter.fileNames = {QString::fromStdString(dir.file("ratings.csv"))};
    chooseFormat = [](exchange_ui::TImportFormat& chooser) {
        chooser.CatalogueButton->setChecked(true);
        chooser.SelectFileClick();
    };
    window->action("Import")->trigger();
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(window->table().recordCount(), 1u);
}

// A Kodi library: one .nfo chosen, the whole folder imported when the user says so.
TEST_F(ExchangeWindowsTest, OneNfoFileChosenImportsTheWholeLibrary)
{
    prompter.fileNames = {QString(CATALOGUE_SAMPLES) + "/library/Heat/movie.nfo"};
    prompter.answers = {ScriptedPrompter::Answer::Yes, ScriptedPrompter::Answer::No};
    chooseFormat = [](exchange_ui::TImportFormat& chooser) {
        chooser.CatalogueButton->setChecked(true);
        chooser.SelectFileClick();
    };
    window->action("Import")->trigger();
    ASSERT_EQ(prompter.questions.size(), 2u);
    EXPECT_EQ(prompter.questions[0].text, "Import every .nfo file in this folder and the folders inside it?");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.endsWith("1 record imported from Heat (Kodi .nfo).")) << prompter.messages[0].text.toStdString();
    EXPECT_EQ(window->table().recordCount(), 3u);
}

// A Kodi library chosen as a folder: every film's .nfo in it and the folders inside it.
TEST_F(ExchangeWindowsTest, AKodiLibraryFolderImportsInOneGo)
{
    prompter.fileNames = {QString(CATALOGUE_SAMPLES) + "/library"};
    prompter.answers = {ScriptedPrompter::Answer::No}; // films already held: keep them all
    chooseFormat = [](exchange_ui::TImportFormat& chooser) {
        chooser.findChild<QPushButton*>("FolderButton")->click();
    };
    window->action("Import")->trigger();
    EXPECT_EQ(prompter.dialogTitles.back(), "Import a Kodi Library");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.endsWith("1 record imported from library (Kodi .nfo).")) << prompter.messages[0].text.toStdString();
    EXPECT_EQ(window->table().recordCount(), 3u);
    EXPECT_EQ(window->settings().importFileType, 3);
}

TEST_F(ExchangeWindowsTest, AFileThatIsNoDelimitedTextIsRefusedBeforeTheGrid)
{
    bool gridShown = false;
    importScript = [&](exchange_ui::TMyImport&) { gridShown = true; };
    runImport("\"Title\",\"Year\r\n");
    EXPECT_FALSE(gridShown);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "Error");
    EXPECT_EQ(prompter.messages[0].text, QString::fromStdString(exchange::firstLineMessage(exchange::flUnclosedField))
                                             + "\n\n" + QString::fromStdString(dir.file("in.txt")));
    // A dBASE file must be named .DBF.
    prompter.fileNames = {QString::fromStdString(dir.file("in.txt"))};
    chooseFormat = [](exchange_ui::TImportFormat& chooser) {
        chooser.DbaseButton->setChecked(true);
        chooser.SelectFileClick();
        chooser.reject(); // the user gives up: Cancel
    };
    window->action("Import")->trigger();
    EXPECT_EQ(prompter.messages.back().text, "Invalid file type selected.");
    EXPECT_EQ(window->settings().importFileType, 2);
}

TEST_F(ExchangeWindowsTest, FortyFiveImportFieldsMakeFortyFiveRows)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 45; ++i)
        names.push_back("F" + std::to_string(i));
    importScript = [](exchange_ui::TMyImport& import) {
        EXPECT_EQ(import.Grid->rowCount(), 45);
        EXPECT_EQ(import.Grid->item(44, 0)->text(), "");
        EXPECT_EQ(import.Grid->item(44, 1)->text(), "F45");
        const exchange::ImportMap map = import.importMap();
        EXPECT_EQ(map[39], 40);
        EXPECT_EQ(map[40], 0); // rows 41 to 45 hold no collection field
        import.reject();
    };
    runImport(exchange::delimitedLine(names) + "\r\n");
}

TEST_F(ExchangeWindowsTest, TheExportLayoutIsKeptAndNothingChosenWritesNothing)
{
    const std::string out = dir.file("out.txt");
    writeFileBytes(out, "untouched");
    exportScript = [&](exchange_ui::TMyExport& e) {
        // "How To Export" keeps its three choices apart, each as tall as it asks to be.
        e.show();
        QWidget* const choices[] = {e.AsciiButton, e.DbaseButton, e.FirstRecordNames};
        for (QWidget* choice : choices)
            EXPECT_GE(choice->height(), choice->sizeHint().height()) << choice->objectName().toStdString();
        EXPECT_LT(e.AsciiButton->geometry().bottom(), e.DbaseButton->geometry().top());
        EXPECT_LT(e.DbaseButton->geometry().bottom(), e.FirstRecordNames->geometry().top());
        QTableWidget* grid = e.Grid;
        EXPECT_EQ(grid->item(0, 0)->text(), "Title");
        EXPECT_FALSE(e.SearchCriteria->isEnabled());
        EXPECT_TRUE(e.EntireDatabase->isChecked());
        // Title to row 40, then nothing exported at all.
        grid->setCurrentCell(0, 0);
        for (int i = 0; i < 45; ++i)
            e.DownClick();
        EXPECT_EQ(grid->item(39, 0)->text(), "Title");
        for (int r = 0; r < 40; ++r)
            e.toggleExport(r);
        prompter.fileNames = {QString::fromStdString(out)};
        e.StartExportClick();
        EXPECT_EQ(prompter.messages.back().caption, "Error");
        EXPECT_EQ(prompter.messages.back().text, "No fields selected for export.");
        EXPECT_EQ(prompter.dialogTitles.size(), 0); // no file was asked for
        e.toggleExport(39);
        grid->setCurrentCell(9, 1);
        QTest::keyClick(grid, Qt::Key_Space); // Year, one row up since Title left row 1: Space as a double click
        e.AsciiButton->setChecked(true);
        e.FirstRecordNames->setChecked(false);
        e.FirstRecordNames->click(); // stores the option at once
        int shownWhenComplete = -1;
        bool redWhenComplete = true;
        prompter.onMessage = [&] {
            shownWhenComplete = e.Gauge->value() * 100 / e.Gauge->maximum();
            redWhenComplete = e.Gauge->styleSheet().contains("red");
        };
        e.StartExportClick();
        prompter.onMessage = nullptr;
        EXPECT_EQ(shownWhenComplete, 100) << "the bar is full when \"Export Complete.\" shows";
        EXPECT_FALSE(redWhenComplete) << "and done, not alarm red";
    };
    window->action("Export")->trigger();
    EXPECT_EQ(prompter.messages.back().text, "Export Complete.\n\n2 records written to " + QFileInfo(QString::fromStdString(out)).fileName() + ".");
    EXPECT_EQ(prompter.messages.back().caption, "Ok");
    // In the sort order of the main table, Year then Title.
    const std::string written = readFileBytes(out);
    EXPECT_EQ(written.substr(0, written.find("\r\n")), "\"Year\",\"Title\"");
    EXPECT_NE(written.find("\"1995\",\"Heat\""), std::string::npos);
    const app::Settings& settings = window->settings();
    EXPECT_EQ(settings.fields[0].exportOrder, 40);
    EXPECT_TRUE(settings.fields[0].exported);
    EXPECT_FALSE(settings.fields[1].exported);

    // Defaults, then Exit, keep the schema order with every field chosen.
    prompter.answers = {app::Prompter::Answer::Yes};
    exportScript = [](exchange_ui::TMyExport& e) { e.DefaultsClick(); };
    window->action("Export")->trigger();
    EXPECT_EQ(prompter.questions.back().caption, "Re-Order");
    EXPECT_EQ(prompter.questions.back().text, "This will set the order of fields to the program defaults.  Continue?");
    for (int k = 0; k < 40; ++k) {
        EXPECT_EQ(window->settings().fields[static_cast<size_t>(k)].exportOrder, k + 1);
        EXPECT_TRUE(window->settings().fields[static_cast<size_t>(k)].exported);
    }
}

TEST_F(ExchangeWindowsTest, TheWholeCollectionOrTheSearchAndTheSearchComesBack)
{
    window->Doit({titleContains("HEAT")});
    ASSERT_TRUE(window->searchMode());
    const std::string out = dir.file("OUT.DBF");
    for (const bool whole : {false, true}) {
        exportScript = [&](exchange_ui::TMyExport& e) {
            EXPECT_TRUE(e.SearchCriteria->isEnabled());
            EXPECT_TRUE(e.SearchCriteria->isChecked());
            (whole ? e.EntireDatabase : e.SearchCriteria)->setChecked(true);
            e.DbaseButton->setChecked(true);
            EXPECT_TRUE(e.FirstRecordNames->isHidden());
            prompter.fileNames = {QString::fromStdString(out)};
            e.StartExportClick();
        };
        window->action("Export")->trigger();
        EXPECT_TRUE(prompter.messages.back().text.startsWith("Export Complete.\n\n"));
        EXPECT_TRUE(window->searchMode());
        db::Table exported;
        exported.setFilePath(out);
        exported.open(db::Table::OpenMode::ReadOnly);
        EXPECT_EQ(exported.recordCount(), whole ? 2u : 1u);
    }
    EXPECT_EQ(window->table().recordCount(), 1u); // the search applies again
    EXPECT_EQ(window->settings().exportFileType, 2);
    // A dBASE export must be named .DBF.
    exportScript = [&](exchange_ui::TMyExport& e) {
        e.DbaseButton->setChecked(true);
        prompter.fileNames = {QString::fromStdString(dir.file("out.txt"))};
        e.StartExportClick();
    };
    window->action("Export")->trigger();
    EXPECT_EQ(prompter.messages.back().text, "Invalid file type selected.");
}

// The search exported as another catalogue: Tellico's XML, which imports back,
// and an HTML page of the viewer's columns under the viewer's names, but for
// those no film fills.
TEST_F(ExchangeWindowsTest, TheSearchGoesOutAsTellicoAndAsAnHtmlCatalogue)
{
    window->Doit({titleContains("HEAT")});
    const std::string xml = dir.file("out.xml"), html = dir.file("out.html");
    for (const auto& [kind, path] : std::vector<std::pair<int, std::string>>{{3, xml}, {4, html}}) {
        exportScript = [&, kind = kind, path = path](exchange_ui::TMyExport& e) {
            (kind == 3 ? e.TellicoButton : e.HtmlButton)->setChecked(true);
            EXPECT_TRUE(e.FirstRecordNames->isHidden());
            prompter.fileNames = {QString::fromStdString(path)};
            e.StartExportClick();
        };
        window->action("Export")->trigger();
        EXPECT_TRUE(prompter.messages.back().text.startsWith("Export Complete.\n\n"));
        EXPECT_EQ(window->settings().exportFileType, kind);
    }
    const std::string page = readFileBytes(html);
    EXPECT_NE(page.find("<td>Heat</td>"), std::string::npos);
    EXPECT_EQ(page.find("Alien"), std::string::npos) << "only the search";
    EXPECT_NE(page.find("<button type=\"button\">Title</button>"), std::string::npos);
    EXPECT_EQ(page.find("<button type=\"button\">Star 1</button>"), std::string::npos) << "no film has a star: no column";
    EXPECT_NE(page.find("<title>Reelkeeper Videos ("), std::string::npos);
    EXPECT_NE(readFileBytes(xml).find("<title>Heat</title>"), std::string::npos);
    EXPECT_EQ(exchange::recogniseCatalogue(xml), exchange::CatalogueFormat::Tellico);
}

// A Kodi library goes into a folder the user picks: a folder, an .nfo and the
// poster for each film of the search, and the message counts the covers.
TEST_F(ExchangeWindowsTest, TheSearchGoesOutAsAKodiLibraryWithItsCovers)
{
    window->Doit({titleContains("HEAT")});
    covers::CoverStore(window->table().filePath()).storeImage("Heat", "1995", [] {
        QImage image(60, 90, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        return image;
    }());
    const std::string library = dir.file("kodi");
    QDir().mkpath(QString::fromStdString(library));
    exportScript = [&](exchange_ui::TMyExport& e) {
        e.KodiButton->setChecked(true);
        EXPECT_FALSE(e.WithCovers->isHidden());
        EXPECT_TRUE(e.WithCovers->isChecked()) << "on at first";
        prompter.fileNames = {QString::fromStdString(library)};
        e.StartExportClick();
    };
    window->action("Export")->trigger();
    EXPECT_EQ(prompter.messages.back().text.toStdString(), "Export Complete.\n\n1 record written to kodi.\n1 cover taken along.");
    EXPECT_EQ(window->settings().exportFileType, 5);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(library + "/Heat (1995)/Heat (1995).nfo")));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(library + "/Heat (1995)/Heat (1995)-poster.jpg")));
}

// In German the grids read Ja and Nein, and what they say still chooses the
// fields: the window compares its cells with the words it wrote in them.
TEST_F(ExchangeWindowsTest, InGermanJaAndNeinStillChooseTheFieldsOfExportAndImport)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    const std::string out = dir.file("out.txt");
    exportScript = [&](exchange_ui::TMyExport& e) {
        EXPECT_EQ(e.windowTitle(), "Export");
        EXPECT_EQ(e.StartButton->text(), "Export &beginnen");
        EXPECT_EQ(e.Grid->horizontalHeaderItem(1)->text(), "EXPORT");
        EXPECT_EQ(e.Grid->item(0, 1)->text(), "Ja");
        for (int r = 1; r < 40; ++r)
            e.toggleExport(r); // only Title stays chosen
        EXPECT_EQ(e.Grid->item(1, 1)->text(), "Nein");
        e.AsciiButton->setChecked(true);
        e.FirstRecordNames->setChecked(true);
        e.FirstRecordNames->click(); // off, and stored at once
        prompter.fileNames = {QString::fromStdString(out)};
        e.StartExportClick();
    };
    window->action("Export")->trigger();
    EXPECT_EQ(prompter.messages.back().caption, "OK");
    EXPECT_EQ(prompter.messages.back().text,
              "Export abgeschlossen.\n\n2 Datens\u00E4tze in " + QFileInfo(QString::fromStdString(out)).fileName() + " geschrieben.");
    const std::string written = readFileBytes(out);
    EXPECT_NE(written.find("\"Heat\"\r\n"), std::string::npos) << written;
    EXPECT_EQ(written.find("1995"), std::string::npos) << written;
    EXPECT_TRUE(window->settings().fields[0].exported);
    EXPECT_FALSE(window->settings().fields[1].exported);

    importScript = [](exchange_ui::TMyImport& import) {
        QTableWidget* grid = import.Grid;
        EXPECT_EQ(grid->item(0, 2)->text(), "Ja");
        EXPECT_EQ(grid->item(2, 1)->text(), "<LEER>");
        grid->setCurrentCell(1, 2);
        QTest::keyClick(grid, Qt::Key_Space); // "When" beside Star1 is left out, by keyboard as by a double click
        EXPECT_EQ(grid->item(1, 2)->text(), "Nein");
        import.StartImportClick();
        EXPECT_EQ(import.CountBox->text(), "1");
    };
    runImport("\"Name\",\"When\"\r\n\"Vertigo\",\"Hitchcock\"\r\n");
    EXPECT_EQ(importCaption, "Import von ASCII-Text mit Trennzeichen");
    EXPECT_EQ(prompter.messages.back().text, "Import abgeschlossen.");
    // The core's assembled messages are whole German sentences, their counts put in.
    exchange::ImportResult cancelled;
    cancelled.imported = 3;
    cancelled.cancelled = true;
    EXPECT_EQ(exchange::importMessage(cancelled, ui::speakerFor("exchange")),
              "Import abgebrochen. 3 Datensätze wurden importiert und bleiben in der Sammlung.");
    // What stopped an import is spoken too, the file named as it is.
    const std::string empty = dir.file("empty.csv");
    writeFileBytes(empty, "");
    const exchange::ImportResult refused =
        exchange::importCatalogue(window->table(), empty, exchange::CatalogueFormat::Imdb, {});
    const std::string spoken = exchange::importMessage(refused, ui::speakerFor("exchange"));
    EXPECT_TRUE(spoken.starts_with("Die Datei ist leer (Datei \"" + empty + "\")\n\nDer Import hielt dort an. 0 Datens"))
        << spoken;
    // So is why a file of a folder was left out.
    const std::string library = dir.file("library");
    std::filesystem::create_directories(library);
    writeFileBytes(library + "/heat.nfo", "<movie><title>Heat</title></movie>");
    writeFileBytes(library + "/tvshow.nfo", "<tvshow><title>Columbo</title></tvshow>");
    const exchange::ImportResult folder =
        exchange::importCatalogue(window->table(), library, exchange::CatalogueFormat::Nfo, {});
    EXPECT_EQ(exchange::importMessage(folder, ui::speakerFor("exchange")),
              "Import abgeschlossen.\n\n1 Datei wurde ausgelassen:\nDie Datei beschreibt eine Serie, keinen Film (Datei \""
                  + library + "/tvshow.nfo\")");
    db::Table& t = window->table();
    t.selectIndex("");
    t.last();
    t.prior();
    EXPECT_EQ(t.text(0), "Vertigo");
    EXPECT_EQ(t.text(1), "");
}
