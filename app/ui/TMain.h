#pragma once

#include "Prompter.h"
#include "RecentDatabases.h"
#include "RegionalFormats.h"
#include "ScreenScale.h"
#include "Settings.h"
#include "Table.h"

#include <QMainWindow>
#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace app {

// The main window: it owns the collection table for the whole run, the
// settings in memory and the commands of the File and Tools menus; its
// create, show and close steps start and end the program.
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
    bool MakeNewDB(const QString& name);
    void DoOpen();
    void OpenSaveFile(const QString& name);
    void DoLastFiles(const QString& previous, const QString& current);
    void SetMenuLastFiles();
    bool DBaseInUse(const QString& name);
    void RemoveMDXByte(const QString& name);
    bool CheckDBaseFormat(QWidget* owner, const QString& name);
    void DoPack();
    void DoRebuildIndexes();
    void DoUpdateDatabase();

    void BuildSortString();
    void DisplayCount();
    void SetColors();

    Settings& settings() { return m_settings; }
    db::Table& table() { return m_table; }
    const QString& currentDatabase() const { return m_currentDatabase; }
    const std::string& sortExpression() const { return m_sortExpression; }
    const QString& indexFileName() const { return m_indexFileName; }
    const NumberFormats& numberFormats() const { return m_numberFormats; }
    double scaleFactor() const { return m_scaleFactor; }
    bool browseMode() const { return m_browseMode; }
    bool searchMode() const { return m_searchMode; }
    QString countText() const;
    // Writes every setting to the settings file; empty text or the reason it failed.
    QString writeSettings();

    // Tests place the program on a screen of any size.
    void setScreenSizeSource(std::function<QSize()> source) { m_screenSize = std::move(source); }

    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* toolsMenu() const { return m_toolsMenu; }
    QMenu* optionsMenu() const { return m_optionsMenu; }
    QAction* action(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildMenus();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                        std::function<void()> work);
    void runCommand(const std::function<void()>& work);
    void showEngineError(const std::exception& error);
    void readSettings();
    bool chooseStartCollection();
    void openStartCollection();
    void openCollection(const QString& name, bool testInUse);
    void openTableShared();
    void nameTable(const QString& name);
    bool hasDbfExtension(const QString& name);
    void applyRegionalSettings();
    void applyScreenSize();
    void chooseScreenSize(int size);
    void chooseDateFormat(int code);
    void toggleLeadingZeros();
    void chooseNumberFormat(bool currency, int code);
    void maintainExclusively(const QString& question, const QString& refusal, const std::function<void()>& work);

    Prompter& m_prompter;
    bool m_browseMode;
    bool m_searchMode = false;
    bool m_rememberedFieldEditing = false;
    Settings m_settings;
    db::Table m_table;
    QString m_currentDatabase;
    QString m_indexFileName;
    std::string m_sortExpression;
    NumberFormats m_numberFormats;
    double m_scaleFactor = 1.0;
    std::function<QSize()> m_screenSize;

    QLabel* m_viewerLabel = nullptr;
    QLabel* m_countLabel = nullptr;
    QLabel* m_count2Label = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_toolsMenu = nullptr;
    QMenu* m_optionsMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    std::array<QAction*, 5> m_recentItems{};
    std::array<QAction*, 4> m_screenSizeItems{};
    std::array<QAction*, 12> m_dateFormatItems{};
    QAction* m_leadingZerosItem = nullptr;
    std::array<QAction*, 2> m_currencyItems{};
    std::array<QAction*, 2> m_numericItems{};
};

} // namespace app
