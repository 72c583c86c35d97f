// The main window's view and options commands: search mode and the find,
// locate, sort and replace windows, the tip of the day, fonts, colors,
// regional formats and the screen size.

#include "TMain.h"
#include "Language.h"
#include "TMyReport.h"
#include "TColorConfig.h"
#include "TViewConfig.h"
#include "TImportFormat.h"
#include "TMyExport.h"
#include "TLentOut.h"
#include "BuildIndexWindow.h"
#include "ProgramFolders.h"
#include "TCoverSize.h"
#include "TTmdbOptions.h"
#include "TCoversWithoutAFilm.h"
#include "TDuplicates.h"
#include "TStatistics.h"
#include "QPrinterDevice.h"
#include "TMainShared.h"

#include "CollectionFile.h"
#include "CoreText.h"
#include "Cp1252.h"
#include "DbError.h"
#include "HelpViewer.h"
#include "IniFile.h"
#include "MyNavigator.h"
#include "PickList.h"
#include "ProgramFolders.h"
#include "Schema.h"
#include "SortOrder.h"
#include "TMyEdit.h"
#include "TMyEditBox.h"
#include "TMyLocateDialog.h"
#include "TMySearch.h"
#include "TMySortOrder.h"
#include "TSearchAndReplace.h"
#include "TTipOfDay.h"
#include "ViewerGrid.h"
#include "ViewerModel.h"
#include "WindowLook.h"

#include <algorithm>

#include <QTranslator>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>


namespace app {

using namespace main_window;

// ---------------------------------------------------------------- look and formats

void TMain::BuildSortString()
{
    m_sortExpression = find::buildSortString(m_settings.sortKeys);
}

QString TMain::countText() const
{
    return m_countLabel->text();
}

void TMain::DisplayCount()
{
    m_model->reload();
    syncGridToTable();
    if (m_table.active() && m_table.filtered() && isVisible())
        m_grid->viewport()->repaint(); // the first rows of a search show before it is counted
    try {
        m_countLabel->setText(m_table.active() ? QString::number(m_table.recordCount()) : "0");
    } catch (const std::exception& e) {
        showEngineError(e);
    }
}

void TMain::SetColors()
{
    const ColorSet& colors = m_settings.colorsOf(MainWindowColors);
    QPalette p = palette();
    p.setColor(QPalette::Window, ui::colorFromSetting(colors[MainBackground]));
    setPalette(p);
    setAutoFillBackground(true);
    for (QLabel* label : {m_viewerLabel, m_navigatorLabel}) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, ui::colorFromSetting(colors[MainBackground]));
        p.setColor(QPalette::WindowText,
                   ui::colorFromSetting(colors[label == m_viewerLabel ? MajorTitle : MinorTitle]));
        label->setPalette(p);
    }
    ui::mendContrast(this); // the menu bar, the count and the rest on the chosen background
}

void TMain::EnableEndSearch()
{
    m_searchMode = true;
    m_searchOnLabel->setVisible(true);
    m_table.setFiltered(true);
    updateCommandStates();
}

void TMain::DisableEndSearch()
{
    m_searchMode = false;
    m_searchOnLabel->setVisible(false);
    m_table.setFiltered(false);
    updateCommandStates();
}

void TMain::clearQuickFilter()
{
    cancelQuickFilterJob();
    if (m_filteringLabel)
        m_filteringLabel->setVisible(false);
    m_quickFilter = {};
    if (m_quickFilterBox) {
        m_quickFilterPause->stop();
        m_quickFilterBox->clear();
    }
}

void TMain::DoEndSearch()
{
    const db::Table::Bookmark before = currentRecord();
    DisableEndSearch();
    m_table.close();
    openTableShared();
    SetViewerOptions();
    returnTo(before); // every record is shown again, the one the user was on among them
    DisplayCount();
}

bool TMain::MyTableFilter(const db::Record& record) const
{
    // A search of the Search window and the quick filter both hold when both are on.
    return !m_searchMode
           || ((m_searchItems.empty() || find::BuildFilter(m_searchItems, record))
               && (m_quickFilter.empty() || m_quickFilter.matches(record)));
}

void TMain::applyQuickFilter()
{
    if (!m_table.active()) {
        m_filteringLabel->setVisible(false);
        return;
    }
    if (!m_searchMode)
        m_searchItems.clear(); // a search ended earlier does not come back with the filter
    cancelQuickFilterJob();
    find::QuickFilter filter(m_quickFilterBox->text().toStdString(), m_table);
    m_filteringLabel->setVisible(!filter.empty()); // typed and applied in one go (a test, Enter) shows it too
    if (filter.empty()) {
        m_quickFilter = {};
        if (m_searchItems.empty()) {
            if (m_searchMode)
                DoEndSearch();
            return;
        }
        filterOnThisThread(filter, true); // the Search window's search alone again
        return;
    }
    // The pass over the collection runs on a worker with a table of its own,
    // so the viewer goes on answering; what it finds comes back to this thread.
    if (!m_quickFilterWorker) {
        m_quickFilterWorker = std::make_unique<QThreadPool>();
        m_quickFilterWorker->setMaxThreadCount(1);
    }
    auto job = std::make_shared<QuickFilterJob>();
    m_quickFilterJob = job;
    const std::string path = m_table.filePath();
    const std::vector<find::SearchItem> items = m_searchItems;
    m_quickFilterWorker->start([this, job, path, filter, items] {
        const auto accepts = [&filter, &items](const db::Record& record) {
            return (items.empty() || find::BuildFilter(items, record)) && filter.matches(record);
        };
        std::optional<find::FilterMatches> found;
        QString error;
        try {
            found = find::findFilterMatches(path, accepts, job->cancelled);
        } catch (const std::exception& e) {
            error = ui::errorText(e);
        }
        QMetaObject::invokeMethod(
            this,
            [this, job, path, filter, found = std::move(found), error] {
                if (path == m_table.filePath()) // another collection opened meanwhile: its own filter applies
                    showQuickFilter(job, filter, found, error);
            },
            Qt::QueuedConnection);
    });
}

void TMain::showQuickFilter(const std::shared_ptr<QuickFilterJob>& job, const find::QuickFilter& filter,
                            const std::optional<find::FilterMatches>& found, const QString& error)
{
    if (job != m_quickFilterJob || job->cancelled)
        return; // typing went on, or the search changed: a newer pass or none is wanted
    if (m_table.state() != db::Table::State::Browse || QApplication::activeModalWidget()) {
        // A record being edited in the viewer, or a window over this one that
        // works on the table: the filter applies once they are done.
        QTimer::singleShot(150, this, [this, job, filter, found, error] { showQuickFilter(job, filter, found, error); });
        return;
    }
    m_quickFilterJob.reset();
    m_filteringLabel->setVisible(false);
    if (!m_table.active())
        return;
    if (found && found->passed->size() > static_cast<size_t>(m_table.physicalRecordCount()) + 1) {
        applyQuickFilter(); // the collection was packed meanwhile: its records have new numbers
        return;
    }
    if (!error.isEmpty() || !found) {
        // The worker could not read the collection by itself: the viewer's own table works it out.
        filterOnThisThread(filter);
        return;
    }
    m_quickFilter = filter;
    EnableEndSearch();
    m_table.refreshWithCandidates(found->passed, found->count);
    m_table.first();
    DisplayCount();
}

void TMain::filterOnThisThread(const find::QuickFilter& filter, bool keepRecord)
{
    m_filteringLabel->setVisible(false);
    const db::Table::Bookmark before = keepRecord ? currentRecord() : db::Table::Bookmark{};
    m_quickFilter = filter;
    EnableEndSearch();
    m_table.refresh();
    if (keepRecord)
        returnTo(before); // where the record is still shown
    else
        m_table.first();
    DisplayCount();
}

void TMain::cancelQuickFilterJob()
{
    if (m_quickFilterJob)
        m_quickFilterJob->cancelled = true;
    m_quickFilterJob.reset();
}

void TMain::waitForQuickFilter()
{
    if (m_quickFilterWorker)
        m_quickFilterWorker->waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

bool TMain::quickFilterPending() const
{
    return m_quickFilterPause->isActive() || m_quickFilterJob != nullptr;
}

bool TMain::Doit(const std::vector<find::SearchItem>& items)
{
    if (m_quickFilterJob) {
        // A pass under way used the search items of before: the filter typed applies with the new ones.
        cancelQuickFilterJob();
        m_quickFilter = find::QuickFilter(m_quickFilterBox->text().toStdString(), m_table);
    }
    if (m_searchMode) {
        m_table.close();
        openTableShared();
    }
    m_searchItems = items;
    EnableEndSearch();
    m_table.refresh();
    if (m_table.bof() && m_table.eof()) {
        DoEndSearch();
        return false;
    }
    return true;
}

QStringList TMain::searchValuesFor(int position) const
{
    const std::string field = db::schemaField(position).name;
    if (field == "Miscellane")
        return m_pickLists.readFile(17);
    if (field == "OscarNom" || field == "OscarAward")
        return m_pickLists.readFile(14);
    if (field == "CheckOut" || field == "Viewed")
        return {"YES", "NO"};
    // The record editor's box of that field (the star rows each their own box).
    if (field.rfind("Star", 0) == 0 && m_editor)
        if (QComboBox* box = m_editor->comboBox(QString::fromStdString(field))) {
            QStringList entries;
            for (int i = 0; i < box->count(); ++i)
                entries << box->itemText(i);
            return entries;
        }
    const int code = db::pickListCodeForField(field);
    return code && m_editor ? m_editor->listOf(code) : QStringList();
}

void TMain::DoFind()
{
    m_locate->ShowDialog(this);
    syncGridToTable();
}

void TMain::DoFindNext()
{
    m_locate->FindNextMatch(this);
    syncGridToTable();
}

void TMain::DoSearchAndReplace()
{
    find::ReplaceContext context{m_prompter,
                                 m_settings,
                                 m_numberFormats,
                                 m_table,
                                 m_scaleFactor,
                                 [this] { return DBaseInUse(m_currentDatabase); },
                                 [this] {
                                     openTableShared();
                                     SetViewerOptions();
                                 },
                                 [this] { SetViewerOptions(); },
                                 [this] { return m_searchMode; },
                                 [this] { DoEndSearch(); },
                                 [this] { EnableEndSearch(); },
                                 [this] { return m_sortExpression; },
                                 [this] { return m_indexFileName; }};
    find::TSearchAndReplace window(context, this);
    m_runDialog(window);
    DisplayCount();
}

void TMain::DoReports()
{
    const db::Table::Bookmark before = currentRecord(); // the window walks the collection
    report_ui::ReportWindowContext context{m_prompter,
                                           m_settings,
                                           m_table,
                                           m_numberFormats,
                                           programFolder(),
                                           m_scaleFactor,
                                           [this] { return m_searchMode; },
                                           [this] { DoEndSearch(); },
                                           [this] { restoreSearch(); },
                                           [this](QDialog& dialog) { return m_runDialog(dialog); }};
    report_ui::TMyReport reports(context, this);
    m_runDialog(reports);
    returnTo(before);
    DisplayCount();
}

void TMain::restoreSearch()
{
    // The search ended for a run over the whole collection applies again.
    EnableEndSearch();
    m_table.refresh();
}

exchange_ui::ExchangeContext TMain::exchangeContext()
{
    return {m_prompter,
            m_settings,
            m_table,
            m_scaleFactor,
            [this] { return m_searchMode; },
            [this] { DoEndSearch(); },
            [this] { restoreSearch(); },
            [this](QDialog& dialog) { return m_runDialog(dialog); }};
}

void TMain::DoImport()
{
    exchange_ui::TImportFormat chooser(exchangeContext(), this);
    m_runDialog(chooser);
    // The grid shows the new records.
    m_table.refresh();
    DisplayCount();
}

void TMain::DoExport()
{
    const db::Table::Bookmark before = currentRecord(); // the window walks the collection
    exchange_ui::TMyExport window(exchangeContext(), this);
    m_runDialog(window);
    returnTo(before);
    DisplayCount();
}

bool TMain::goToRecord(uint32_t record)
{
    const bool there = m_table.gotoBookmark(db::Table::Bookmark{record, {}});
    syncGridToTable();
    return there;
}

db::Table::Bookmark TMain::currentRecord() const
{
    return m_table.active() && !m_table.isEmpty() ? m_table.bookmark() : db::Table::Bookmark{};
}

void TMain::returnTo(const db::Table::Bookmark& record)
{
    if (!m_table.active() || m_table.isEmpty())
        return;
    if (record.valid() && goToRecord(record.record))
        return;
    m_table.first();
    syncGridToTable();
}

void TMain::DoLentOut()
{
    edit_ui::LentOutContext context{m_prompter, m_settings, m_table, m_scaleFactor, [this](uint32_t record) {
                                        if (goToRecord(record))
                                            DoEdit();
                                    }};
    edit_ui::TLentOut window(context, this);
    m_runDialog(window);
    DisplayCount();
}

void TMain::DoFindDuplicates()
{
    // The window walks the collection; afterwards the current record is the
    // one the user was on, or the one they last went to from the window.
    const db::Table::Bookmark before = currentRecord();
    bool wentToARecord = false;
    find::DuplicatesContext context{m_prompter, m_settings, m_table, m_scaleFactor,
                                    [this, &wentToARecord](uint32_t record) {
                                        if (goToRecord(record)) {
                                            wentToARecord = true;
                                            DoEdit();
                                        }
                                    },
                                    nullptr,
                                    nullptr};
    if (!m_browseMode) // browse mode deletes nothing
        context.deleteRecord = [this, &wentToARecord](uint32_t record) {
            if (goToRecord(record)) {
                wentToARecord = true;
                DoDelete();
            }
        };
    // The window's worker looks at the records the viewer shows: a copy of
    // the search as it stands when each pass begins.
    context.shownRecords = [this]() -> std::function<bool(const db::Record&)> {
        if (!m_searchMode)
            return {};
        return [items = m_searchItems, quick = m_quickFilter](const db::Record& record) {
            return (items.empty() || find::BuildFilter(items, record)) && (quick.empty() || quick.matches(record));
        };
    };
    find::TDuplicates window(context, this);
    m_runDialog(window);
    if (!wentToARecord)
        returnTo(before);
    DisplayCount();
}

void TMain::DoCoverSize()
{
    covers_ui::TCoverSize window(covers::CoverLimits::sized(m_settings.coverLongestSide, m_settings.coverJpegQuality), this);
    ui::applyWindowLook(&window, m_settings, app::SearchWindowColors, m_scaleFactor);
    if (m_runDialog(window) != QDialog::Accepted)
        return;
    m_settings.coverLongestSide = window.limits().longestSide;
    m_settings.coverJpegQuality = window.limits().jpegQuality;
}

void TMain::DoLookupIndex()
{
    Prompter::FileDialog dialog{tr("The Folder of IMDb's Dataset Files"), {}, {}, m_settings.imdbFolder};
    const QString folder = m_prompter.folderName(this, dialog);
    if (folder.isEmpty())
        return;
    m_settings.imdbFolder = folder;
    lookup_ui::buildLookupIndex(this, m_prompter, folder, app::lookupIndexPath());
}

void TMain::DoTmdbOptions()
{
    lookup_ui::TTmdbOptions window(lookup::tmdbSettings(m_settings), this);
    ui::applyWindowLook(&window, m_settings, app::SearchWindowColors, m_scaleFactor);
    if (m_runDialog(window) != QDialog::Accepted)
        return;
    m_settings.tmdbKey = window.key();
    m_settings.tmdbTimeout = window.timeoutSeconds();
    m_settings.tmdbCountry = window.country();
}

void TMain::DoFillInMissing()
{
    if (!m_table.active() || m_browseMode)
        return;
    // From TMDb when a key is set, unless the user takes the index (when there is one) instead.
    bool fromTmdb = !m_settings.tmdbKey.trimmed().isEmpty();
    if (fromTmdb && QFileInfo::exists(app::lookupIndexPath())) {
        const Prompter::Answer answer =
            m_prompter.ask(this, tr("Fill In Missing"),
                           tr("Take the films from TMDb online, with posters as covers of the videos that have none?\n\n"
                              "Yes: TMDb.  No: IMDb's datasets (the lookup index, offline)."),
                           Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes);
        if (answer == Prompter::Answer::Cancel)
            return;
        fromTmdb = answer == Prompter::Answer::Yes;
    }
    const db::Table::Bookmark before = currentRecord(); // the batch walks the collection (or the search)
    if (fromTmdb)
        lookup_ui::fillInMissingFromTmdb(this, m_prompter, m_table, lookup::tmdbSettings(m_settings),
                                         covers::CoverLimits::sized(m_settings.coverLongestSide, m_settings.coverJpegQuality));
    else
        lookup_ui::fillInMissing(this, m_prompter, m_table, app::lookupIndexPath());
    m_table.refresh();
    returnTo(before);
    DisplayCount();
}

void TMain::DoCoversWithoutAFilm()
{
    if (!m_table.active())
        return;
    covers_ui::CoversWithoutAFilmContext context{m_prompter, m_table, [this]() -> std::pair<std::string, std::string> {
        if (!m_table.active() || m_table.isEmpty())
            return {};
        const int year = m_table.fieldIndex("Year");
        return {m_table.current().text(0), year >= 0 ? m_table.current().text(year) : std::string()};
    }};
    covers_ui::TCoversWithoutAFilm window(context, this);
    ui::applyWindowLook(&window, m_settings, app::SearchWindowColors, m_scaleFactor);
    ui::fitToScreen(&window);
    m_runDialog(window);
}

void TMain::DoStatistics()
{
    const db::Table::Bookmark before = currentRecord(); // the window walks the collection
    stats_ui::StatisticsContext context{m_prompter,
                                        m_settings,
                                        m_table,
                                        m_numberFormats,
                                        m_scaleFactor,
                                        [this] { return m_searchMode; },
                                        [this] { DoEndSearch(); },
                                        [this] { restoreSearch(); },
                                        [] { return engine::defaultPrinter(); }};
    stats_ui::TStatistics window(context, this);
    m_runDialog(window);
    returnTo(before);
    DisplayCount();
}

void TMain::DoSearch()
{
    find::SearchContext context{m_prompter, m_settings, m_scaleFactor,
                                [this](int position) { return searchValuesFor(position); },
                                [this](const std::vector<find::SearchItem>& items) { return Doit(items); },
                                [this](QDialog& dialog) { return m_runDialog(dialog); }};
    find::TMySearch search(context, this);
    m_runDialog(search);
    DisplayCount();
}

void TMain::DoSortOrder()
{
    find::SortOrderContext context{m_prompter,
                                   m_settings,
                                   m_table,
                                   m_scaleFactor,
                                   [this] { return DBaseInUse(m_currentDatabase); },
                                   [this] {
                                       openTableShared();
                                       SetViewerOptions();
                                   },
                                   [this] { BuildSortString(); },
                                   [this] { return m_sortExpression; },
                                   [this] { return writeSettings(); }};
    find::TMySortOrder sortOrder(context, this);
    m_runDialog(sortOrder);
    DisplayCount();
}

void TMain::showTipOfDay()
{
    TTipOfDay tips(m_settings.showTips, m_scaleFactor, this);
    m_runDialog(tips);
    m_settings.showTips = tips.showTipsChecked();
}

void TMain::DoViewer()
{
    appearance_ui::TViewConfig viewer(m_prompter, m_settings, m_scaleFactor, this);
    m_runDialog(viewer);
    SetViewerOptions();
    DisplayCount();
}

void TMain::DoColors(int group)
{
    appearance_ui::TColorConfig colors(m_prompter, m_settings, group, m_scaleFactor, this);
    if (m_runDialog(colors) == QDialog::Accepted && (group == MainWindowColors || group == ColorGroupCount))
        SetColors(); // other windows take their colors when next shown
}

void TMain::chooseWindowFont(WindowFont& font)
{
    // The dialog opens on the font in force.
    const std::optional<QFont> chosen = m_prompter.chooseFont(this, ui::dialogFont(font.name, 0, font.bold, font.italic));
    if (!chosen)
        return;
    font.name = chosen->family();
    font.bold = chosen->bold();
    font.italic = chosen->italic();
    ui::SetFonts(this, {m_settings.labelFont, m_settings.editFont, m_settings.buttonFont});
}

void TMain::applyRegionalSettings()
{
    m_numberFormats.numericFormat = m_settings.numericFormat;
    m_numberFormats.currencyFormat = m_settings.currencyFormat;
    m_numberFormats.regional = RegionalValues::fromSystem();
    const char decimal = m_numberFormats.regional.decimal.toLatin1() ? m_numberFormats.regional.decimal.toLatin1() : '.';
    if (isDateFormatCode(m_settings.dateFormat))
        db::setEditTextFormat(editTextFormatFor(m_settings.dateFormat, m_settings.dateLeadingZeros, decimal));
    for (int code = 1; code <= 12; ++code)
        m_dateFormatItems[static_cast<size_t>(code - 1)]->setChecked(code == m_settings.dateFormat);
    m_leadingZerosItem->setChecked(m_settings.dateLeadingZeros);
    for (int code = 1; code <= 2; ++code) {
        m_currencyItems[static_cast<size_t>(code - 1)]->setChecked(code == m_settings.currencyFormat);
        m_numericItems[static_cast<size_t>(code - 1)]->setChecked(code == m_settings.numericFormat);
    }
    for (QAction* item : m_languageItems)
        item->setChecked(item->data().toString() == m_settings.language);
}

void TMain::chooseDateFormat(int code)
{
    if (m_settings.dateFormat == code) {
        m_dateFormatItems[static_cast<size_t>(code - 1)]->setChecked(true);
        return;
    }
    m_settings.dateFormat = code;
    applyRegionalSettings();
    if (m_table.active())
        m_table.refresh(); // the grid shows dates in the new form
}

void TMain::toggleLeadingZeros()
{
    m_settings.dateLeadingZeros = !m_settings.dateLeadingZeros;
    applyRegionalSettings();
    if (m_table.active())
        m_table.refresh();
}

void TMain::buildLanguageMenu(QMenu* menu)
{
    // A language's own name stands for it in every language.
    const QList<std::pair<QString, QString>> choices = {
        {QString(), tr("&Follow the Desktop")}, {"en", "&English"}, {"de", "&Deutsch"}};
    for (const auto& [language, caption] : choices) {
        QAction* item = addCommand(menu, "Language" + (language.isEmpty() ? QString("Desktop") : language.toUpper()),
                                   caption, {}, [this, language] { chooseLanguage(language); });
        item->setCheckable(true);
        item->setData(language);
        m_languageItems << item;
    }
}

void TMain::chooseLanguage(const QString& language)
{
    m_settings.language = language;
    for (QAction* item : m_languageItems)
        item->setChecked(item->data().toString() == language);
    writeSettings();
    // Said in the language chosen: the one the user can read.
    const QString spoken = languageToSpeak(language, QLocale::system());
    QTranslator chosen;
    const bool other = spoken != "en" && chosen.load(translationFile(spoken));
    const auto say = [&](const char* text) {
        const QString translated = other ? chosen.translate("app::TMain", text) : QString();
        return translated.isEmpty() ? QString::fromUtf8(text) : translated;
    };
    m_prompter.message(this, say(QT_TR_NOOP("Language")), say(QT_TR_NOOP("The program speaks the chosen language from its next start.")),
                       Prompter::Icon::Information);
}

void TMain::chooseNumberFormat(bool currency, int code)
{
    (currency ? m_settings.currencyFormat : m_settings.numericFormat) = code;
    applyRegionalSettings();
}

void TMain::applyScreenSize()
{
    const QSize screen = m_screenSize();
    const ScreenScale scale = screenScaleFor(m_settings.windowSize, screen.width(), screen.height());
    m_scaleFactor = scale.factor;
    tickScreenSize(scale.tickedSize);
}

void TMain::tickScreenSize(int size)
{
    const std::array<int, 4> sizes = {640, 800, 1024, 1280};
    m_tickedScreenSize = size;
    for (size_t i = 0; i < sizes.size(); ++i)
        m_screenSizeItems[i]->setChecked(sizes[i] == size);
}

void TMain::chooseScreenSize(int size)
{
    const std::array<int, 4> sizes = {640, 800, 1024, 1280};
    const size_t index = static_cast<size_t>(std::find(sizes.begin(), sizes.end(), size) - sizes.begin());
    if (m_settings.windowSize == size) {
        tickScreenSize(m_tickedScreenSize); // nothing changes, the ticks included
        return;
    }
    const QSize screen = m_screenSize();
    if (!screenFits(size, screen.width(), screen.height())) {
        const std::array<const char*, 4> names = {"640 x 480", "800 x 600", "1024 x 768", "1280 x 1024"};
        tickScreenSize(m_tickedScreenSize);
        m_prompter.message(this, tr("Error"),
                           tr("Your current screen resolution does not support %1 pixels.").arg(names[index]),
                           Prompter::Icon::Error);
        return;
    }
    m_settings.windowSize = size;
    m_scaleFactor = scaleFactorOf(size);
    tickScreenSize(size);
}

} // namespace app
