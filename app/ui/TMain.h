#pragma once

#include "BackupContext.h"
#include "ExchangeContext.h"
#include "PickListStore.h"
#include "Prompter.h"
#include "RecentDatabases.h"
#include "RegionalFormats.h"
#include "QuickFilter.h"
#include "Search.h"
#include "ScreenScale.h"
#include "Settings.h"
#include "Table.h"

#include <QMainWindow>
#include <QMap>
#include <QThreadPool>
#include <atomic>
#include <optional>
#include <array>
#include <functional>
#include <memory>
#include <set>

class QAction;
class QDialog;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTimer;
class QMenu;
class QPushButton;
class QWidget;

namespace edit {
class TMyEdit;
}
namespace covers_ui {
class CoverView;
}

namespace find {
class TMyLocateDialog;
}

namespace appearance_ui {
class DesktopAppearance;
}

namespace app {

class LockWaitNotice;
class MyNavigator;
class ViewerGrid;
class ViewerModel;

// The main window: it owns the collection table for the whole run, the
// settings in memory, the pick lists' grid copies and every command of the
// program; its create, show and close steps start and end the program.
class TMain : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Reelkeeper Videos 95";

    TMain(Prompter& prompter, bool browseMode, QWidget* parent = nullptr);
    ~TMain() override;

    // The create step. False when the program must end (its reason was shown).
    bool create();

    // Database file operations.
    void DoNew();
    bool MakeNewDB(const QString& name, db::TextEncoding encoding = db::TextEncoding::Utf8);
    void DoOpen();
    void OpenSaveFile(const QString& name);
    // A collection named on the command line (or by the file manager): opened
    // as OpenSaveFile opens it, or refused with the usual message.
    void openGivenCollection(const QString& name);
    void DoLastFiles(const QString& previous, const QString& current);
    void SetMenuLastFiles();
    bool DBaseInUse(const QString& name);
    void RemoveMDXByte(const QString& name);
    bool CheckDBaseFormat(QWidget* owner, const QString& name);
    // Offers to copy the collections of the program's earlier versions into this one.
    void CheckForConversion();
    void DoPack();
    void DoConvertToUnicode();
    void DoRebuildIndexes();
    void DoUpdateDatabase();

    // Commands and operations other windows call.
    void DoAdd();
    void DoEdit();
    void DoCopy();
    void DoDelete();
    void DoHelp();
    void DoFind();
    void DoFindNext();
    void DoSearchAndReplace();
    find::TMyLocateDialog* locateDialog() const { return m_locate.get(); }
    void DoSearch();
    void DoReports();
    void DoImport();
    void DoExport();
    void DoLentOut();
    void DoFindDuplicates();
    void DoCoversWithoutAFilm();
    void DoCoverSize();
    void DoLookupIndex();
    void DoTmdbOptions();
    void DoFillInMissing();
    // The pane of the current video's cover, shown as the settings say, following the current record.
    void showCoverPane();
    void followCoverPane(bool now = false);
    covers_ui::CoverView* coverPane() const { return m_coverPane; }
    void DoStatistics();
    // Makes a record (by its number) the current one and shows it in the viewer; false when it is gone.
    bool goToRecord(uint32_t record);
    // The record the user is on, and back to it after a window that walked
    // the collection (the first record where it is no longer shown).
    db::Table::Bookmark currentRecord() const;
    void returnTo(const db::Table::Bookmark& record);
    // "Follow the Desktop" colors: the desktop's light or dark preference, followed as it changes.
    void followTheDesktop();
    appearance_ui::DesktopAppearance* desktopAppearance() const { return m_desktop; }
    void DoBackup();
    void DoRestore();
    void DoViewer();
    // group: a color group 0..4, or 5 for all of them.
    void DoColors(int group);
    void DoSortOrder();
    void DoEndSearch();
    // Takes new search items, switches search mode on and refreshes; false
    // (search ended) when no record passes.
    bool Doit(const std::vector<find::SearchItem>& items);
    // The record filter: in search mode, whether a record meets the search.
    bool MyTableFilter(const db::Record& record) const;
    const std::vector<find::SearchItem>& searchItems() const { return m_searchItems; }
    // The quick filter box above the viewer: what it holds narrows the viewer as a search does.
    QLineEdit* quickFilterBox() const { return m_quickFilterBox; }
    void applyQuickFilter();
    void clearQuickFilter();
    // Waits until the quick filter that is being worked out is shown (for tests and benchmarks).
    void waitForQuickFilter();
    // Whether typing in the quick filter box has yet to show its rows (the pause after a key, or the pass).
    bool quickFilterPending() const;
    QStringList searchValuesFor(int position) const;
    void EnableEndSearch();
    void DisableEndSearch();
    void BuildSortString();
    void DisplayCount();
    void SetColors();
    void SetViewerOptions();
    void SetButtonBar(int mode);
    void showTipOfDay();
    void EditAList(int code);

    Settings& settings() { return m_settings; }
    db::Table& table() { return m_table; }
    edit::TMyEdit* editor() const { return m_editor.get(); }
    const QString& currentDatabase() const { return m_currentDatabase; }
    const std::string& sortExpression() const { return m_sortExpression; }
    const QString& indexFileName() const { return m_indexFileName; }
    const NumberFormats& numberFormats() const { return m_numberFormats; }
    double scaleFactor() const { return m_scaleFactor; }
    bool browseMode() const { return m_browseMode; }
    bool searchMode() const { return m_searchMode; }
    QString countText() const;
    ViewerGrid* grid() const { return m_grid; }
    ViewerModel* model() const { return m_model; }
    MyNavigator* navigator() const { return m_navigator; }
    // The grid's copy of the pick list of a field (table field index), or none.
    const QStringList* gridList(int field) const;
    // Replaces the grid copies of a list after the list editor's Ok.
    void setGridList(int code, const QStringList& entries);
    // A value the record editor saved joins the grid's list (AddToGridList).
    void AddToGridList(int code, const QString& text);
    // Writes every setting to the settings file; empty text or the reason it failed.
    QString writeSettings();

    // Tests place the program on a screen of any size, and run the modal
    // windows it opens (the default shows them with exec()).
    void setScreenSizeSource(std::function<QSize()> source) { m_screenSize = std::move(source); }
    void setDialogRunner(std::function<int(QDialog&)> runner) { m_runDialog = std::move(runner); }

    QMenu* menu(const QString& name) const;
    QAction* action(const QString& name) const;
    QWidget* speedPanel() const { return m_speedPanel; }
    QWidget* letteredPanel() const { return m_letteredPanel; }
    QPushButton* letteredButton(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // After End Search for a run over the whole collection: the search on again and applied.
    void restoreSearch();
    exchange_ui::ExchangeContext exchangeContext();
    backup_ui::BackupContext backupContext();
    struct Command;
    void buildWindow();
    void buildMenus();
    void buildSpeedPanel();
    void buildLetteredPanel();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                        std::function<void()> work);
    void blockInBrowseMode(const QString& name);
    void updateCommandStates();
    void runCommand(const std::function<void()>& work);
    void showEngineError(const std::exception& error);
    void showEngineError(const QString& message);
    void readSettings();
    bool chooseStartCollection();
    void openStartCollection();
    void openCollection(const QString& name, bool testInUse);
    void openTableShared();
    static void fitToTheWindow(QWidget* panel);
    void keepOnScreen();
    // Where the main window goes at a first start, when no bounds are stored.
    QRect firstStartBounds() const;
    // Waits for the window manager's frame, then keeps the title bar on a screen.
    void keepOnScreenOnceFramed();
    void tickScreenSize(int size);
    // Tells the user once of damage the open found (a short file, an index that cannot be used).
    void warnOfTableCondition();
    void nameTable(const QString& name);
    bool hasDbfExtension(const QString& name);
    void applyRegionalSettings();
    void applyScreenSize();
    void chooseScreenSize(int size);
    void chooseDateFormat(int code);
    void toggleLeadingZeros();
    // Options > Language: the desktop's language, English or German, from the next start.
    void buildLanguageMenu(QMenu* menu);
    void chooseLanguage(const QString& language);
    void chooseNumberFormat(bool currency, int code);
    void chooseWindowFont(WindowFont& font);
    void maintainExclusively(const QString& question, const QString& refusal, const std::function<void()>& work);
    void loadGridLists();
    void navigatorClicked(int button);
    void syncGridToTable();
    void gridRowChosen(int row);

    Prompter& m_prompter;
    bool m_browseMode;
    bool m_boundsStored = false; // whether the settings file held the main window's bounds
    bool m_searchMode = false;
    bool m_rememberedFieldEditing = false;
    bool m_tipsOffered = false;
    bool m_syncing = false;
    Settings m_settings;
    db::Table m_table;
    std::unique_ptr<LockWaitNotice> m_lockWaitNotice;
    edit::PickListStore m_pickLists;
    std::unique_ptr<edit::TMyEdit> m_editor;
    std::vector<find::SearchItem> m_searchItems;
    find::QuickFilter m_quickFilter;
    QLineEdit* m_quickFilterBox = nullptr;
    QTimer* m_quickFilterPause = nullptr; // the filter applies once typing pauses
    // The quick filter's records are found on a worker thread; a new keystroke
    // cancels the pass under way, whose result is then never shown.
    struct QuickFilterJob {
        std::atomic<bool> cancelled{false};
    };
    std::shared_ptr<QuickFilterJob> m_quickFilterJob;
    appearance_ui::DesktopAppearance* m_desktop = nullptr;
    std::unique_ptr<QThreadPool> m_quickFilterWorker;
    void cancelQuickFilterJob();
    void showQuickFilter(const std::shared_ptr<QuickFilterJob>& job, const find::QuickFilter& filter,
                         const std::optional<find::FilterMatches>& found, const QString& error);
    void filterOnThisThread(const find::QuickFilter& filter, bool keepRecord = false);
    std::unique_ptr<find::TMyLocateDialog> m_locate;
    covers_ui::CoverView* m_coverPane = nullptr;
    QMap<int, QStringList> m_gridLists; // by list code
    bool m_gridListsLoaded = false;
    bool m_placedOnScreen = false;
    bool m_activatedOnce = false;
    int m_tickedScreenSize = 0;
    QString m_currentDatabase;
    QString m_toldCondition; // the damage last told, so that a reopen does not tell it again
    QString m_indexFileName;
    std::string m_sortExpression;
    NumberFormats m_numberFormats;
    double m_scaleFactor = 1.0;
    std::function<QSize()> m_screenSize;
    std::function<int(QDialog&)> m_runDialog;
    std::set<QString> m_browseBlocked;
    std::set<QString> m_notYetBuilt;

    QWidget* m_speedPanel = nullptr;
    QWidget* m_letteredPanel = nullptr;
    QHBoxLayout* m_speedRow = nullptr;
    QHBoxLayout* m_navigatorBox = nullptr;
    QHBoxLayout* m_headerRow = nullptr;
    QFrame* m_viewerBevel = nullptr;
    QLabel* m_navigatorLabel = nullptr;
    QLabel* m_viewerLabel = nullptr;
    QLabel* m_countLabel = nullptr;
    QLabel* m_count2Label = nullptr;
    QLabel* m_searchOnLabel = nullptr;
    QLabel* m_filteringLabel = nullptr;
    MyNavigator* m_navigator = nullptr;
    ViewerGrid* m_grid = nullptr;
    ViewerModel* m_model = nullptr;
    QAction* m_recentSeparator = nullptr;
    std::array<QAction*, 5> m_recentItems{};
    std::array<QAction*, 4> m_screenSizeItems{};
    std::array<QAction*, 3> m_buttonBarItems{};
    std::array<QAction*, 12> m_dateFormatItems{};
    QAction* m_leadingZerosItem = nullptr;
    QList<QAction*> m_languageItems;
    std::array<QAction*, 2> m_currencyItems{};
    std::array<QAction*, 2> m_numericItems{};
    QMap<QString, QPushButton*> m_letteredButtons;
};

} // namespace app
