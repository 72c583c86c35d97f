// The main window's database commands: naming and opening collections, new
// and recent databases, the in-use and format checks, pack, the conversion to
// Unicode, rebuild indexes and update.

#include "TMain.h"

#include "CoverStore.h"

#include "OldCollections.h"
#include "TMyBackup.h"
#include "LockWaitNotice.h"
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
#include <optional>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
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

// ---------------------------------------------------------------- opening collections

void TMain::nameTable(const QString& name)
{
    const QString full = QFileInfo(name).absoluteFilePath();
    m_table.setFilePath(local(full));
    setWindowTitle(QString(kCaption) + " (" + fromLocal(m_table.tableName()) + ")");
    // Folder + table name + .MDX, in the letter case of the table file's extension.
    m_indexFileName = fromLocal(m_table.indexPath());
}

void TMain::openTableShared()
{
    try {
        m_table.open(db::Table::OpenMode::Shared);
    } catch (const db::DbError&) {
        if (m_table.selectedIndex().empty())
            throw;
        // The file has no sort index of its own: open it in stored order.
        m_table.selectIndex("");
        m_table.open(db::Table::OpenMode::Shared);
    }
    covers::followTitleChanges(m_table); // a film's cover keeps its title and year
    warnOfTableCondition();
}

void TMain::warnOfTableCondition()
{
    // Damage found at open is told once, not at every reopen; the collection
    // stays usable with the records it has.
    QString condition;
    for (const std::string* problem : {&m_table.fileProblem(), &m_table.indexProblem()})
        if (!problem->empty())
            condition += QString::fromStdString(*problem) + "\n\n";
    if (condition == m_toldCondition)
        return;
    m_toldCondition = condition;
    if (!condition.isEmpty())
        m_prompter.message(this, tr("Warning"),
                           condition + "Use Tools > Pack Database to write the collection file anew.",
                           Prompter::Icon::Warning);
}

void TMain::openCollection(const QString& name, bool testInUse)
{
    clearQuickFilter(); // another collection starts unfiltered
    if (m_searchMode)
        DoEndSearch();
    const QString previous = m_currentDatabase;
    m_currentDatabase = name;
    m_table.close();
    nameTable(name);
    if (!testInUse || !DBaseInUse(name)) {
        m_table.selectIndex("");
        find::applySortOrder(m_table, m_sortExpression);
        if (!m_sortExpression.empty())
            m_table.selectIndex(find::kSortTag);
    }
    openTableShared();
    SetViewerOptions();
    DoLastFiles(previous, m_currentDatabase);
}

bool TMain::hasDbfExtension(const QString& name)
{
    if (name.right(4).toUpper() == ".DBF")
        return true;
    m_prompter.message(this, tr("Error"), tr("Invalid file type selected."), Prompter::Icon::Error);
    return false;
}

void TMain::DoOpen()
{
    const QString chosen = m_prompter.openFileName(
        this, {tr("Open Database File"), databaseFilter(), "DBF", QFileInfo(m_currentDatabase).absolutePath()});
    if (!chosen.isEmpty() && hasDbfExtension(chosen) && CheckDBaseFormat(this, chosen))
        openCollection(chosen, true);
    DisplayCount();
}

void TMain::OpenSaveFile(const QString& name)
{
    // A file that is missing, unreadable or damaged ends the command with its
    // message; the collection open before stays open.
    runCommand([&] {
        if (CheckDBaseFormat(this, name))
            openCollection(name, true);
    });
    DisplayCount();
}

void TMain::openGivenCollection(const QString& name)
{
    if (hasDbfExtension(name))
        OpenSaveFile(name);
}

void TMain::DoNew()
{
    Prompter::FileDialog dialog{tr("New Database File"), databaseFilter(), "DBF", QFileInfo(m_currentDatabase).absolutePath()};
    dialog.confirmOverwrite = true;
    // A new collection keeps any script; one for older programs is the user's choice.
    bool windows1252 = false;
    dialog.checkBox = tr("Windows-1252 text, which older programs read (Western European letters only)");
    dialog.checked = &windows1252;
    const QString chosen = m_prompter.saveFileName(this, dialog);
    if (!chosen.isEmpty() && m_searchMode)
        DoEndSearch();
    if (!chosen.isEmpty() && hasDbfExtension(chosen)
        && MakeNewDB(chosen, windows1252 ? db::TextEncoding::Windows1252 : db::TextEncoding::Utf8))
        openCollection(chosen, false);
    DisplayCount();
}

bool TMain::MakeNewDB(const QString& name, db::TextEncoding encoding)
{
    if (QFileInfo::exists(name) && DBaseInUse(name)) {
        m_prompter.message(this, tr("Error"),
                           tr("The table \"%1\" is currently in use by another program.  "
                              "New table creation will be aborted.")
                               .arg(name),
                           Prompter::Icon::Error);
        return false;
    }
    try {
        db::createCollectionTable(local(QFileInfo(name).absoluteFilePath()), encoding);
    } catch (const std::exception& e) {
        showEngineError(e);
    }
    return QFileInfo::exists(name);
}

void TMain::DoLastFiles(const QString& previous, const QString& current)
{
    updateRecentDatabases(m_settings.lastFiles, previous, current);
    SetMenuLastFiles();
}

void TMain::SetMenuLastFiles()
{
    bool any = false;
    for (size_t n = 0; n < m_recentItems.size(); ++n) {
        const QString& entry = m_settings.lastFiles[n];
        m_recentItems[n]->setVisible(!entry.isEmpty());
        m_recentItems[n]->setText(recentItemCaption(static_cast<int>(n + 1), entry));
        any = any || !entry.isEmpty();
    }
    m_recentSeparator->setVisible(any);
}

// ---------------------------------------------------------------- older versions' files

void TMain::CheckForConversion()
{
    for (const db::OldVersion version : {db::OldVersion::V2, db::OldVersion::V1}) {
        const QString name = db::oldCollectionFileName(version);
        const QString path = QDir(programFolder()).filePath(name);
        if (!m_table.active() || !db::isOldCollection(local(path), version))
            continue;
        const QString question = tr("A database from a previous version (%1) has been detected.  Would you like to "
                                         "convert it now?  NOTE: After conversion the old file will be deleted.  You "
                                         "may wish to make a copy of \"%2\" first.")
                                     .arg(version == db::OldVersion::V2 ? "2.X" : "1.X", name);
        if (m_prompter.ask(this, tr("Convert"), question, Prompter::Buttons::YesNo, Prompter::Answer::Yes)
            != Prompter::Answer::Yes)
            continue;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const db::ConversionResult result = db::convertOldCollection(m_table, local(path), version);
        QApplication::restoreOverrideCursor();
        // The old file goes only when every one of its records is in the collection.
        if (result.error.empty())
            db::removeConvertedFile(local(path));
        const std::string report = db::conversionReport(result, name.toStdString());
        if (!report.empty())
            m_prompter.message(this, result.error.empty() ? tr("Warning") : tr("Error"),
                               QString::fromStdString(report),
                               result.error.empty() ? Prompter::Icon::Warning : Prompter::Icon::Error);
        m_table.first();
    }
}

// ---------------------------------------------------------------- backup and restore

backup_ui::BackupContext TMain::backupContext()
{
    return {m_prompter,
            m_settings,
            programFolder(),
            [this] { return m_currentDatabase; },
            m_scaleFactor,
            [this] { return m_searchMode; },
            [this] { DoEndSearch(); },
            [this] { restoreSearch(); },
            [this] { m_table.close(); },
            [this] {
                openTableShared();
                SetViewerOptions();
            },
            [this] { return std::make_unique<db::ExclusiveUse>(local(QFileInfo(m_currentDatabase).absoluteFilePath())); },
            [this] {
                if (m_editor)
                    m_editor->SaveAllLists();
            },
            [this] {
                if (m_editor)
                    m_editor->LoadAllList();
                m_gridLists.clear(); // the grid's drop-downs read the lists again
                m_gridListsLoaded = false;
            },
            [this](QWidget* owner, const QString& name) { return CheckDBaseFormat(owner, name); },
            [this](const QString& path) { openCollection(path, false); },
            [this](QDialog& dialog) { return m_runDialog(dialog); }};
}

void TMain::DoBackup()
{
    backup_ui::TMyBackup window(backupContext(), this);
    m_runDialog(window);
    DisplayCount();
}

void TMain::DoRestore()
{
    backup_ui::TMyRestore window(backupContext(), this);
    m_runDialog(window);
    DisplayCount();
}

bool TMain::DBaseInUse(const QString& name)
{
    return db::tableInUse(local(QFileInfo(name).absoluteFilePath()));
}

void TMain::RemoveMDXByte(const QString& name)
{
    db::removeIndexFlag(local(name));
}

bool TMain::CheckDBaseFormat(QWidget* owner, const QString& name)
{
    if (db::isCollectionTable(local(QFileInfo(name).absoluteFilePath()),
                              [this](bool waiting) { m_lockWaitNotice->waiting(waiting); }))
        return true;
    m_prompter.message(owner ? owner : this, tr("Error"), QCoreApplication::translate("db", db::kNotCollectionMessage), Prompter::Icon::Error);
    return false;
}

// ---------------------------------------------------------------- maintenance

void TMain::maintainExclusively(const QString& question, const QString& refusal, const std::function<void()>& work)
{
    if (m_prompter.ask(this, tr("Confirm"), question, Prompter::Buttons::YesNo, Prompter::Answer::No)
        != Prompter::Answer::Yes)
        return;
    m_table.close();
    try {
        m_table.open(db::Table::OpenMode::Exclusive);
        covers::followTitleChanges(m_table);
    } catch (const db::DbError&) {
        openTableShared();
        SetViewerOptions();
        m_prompter.message(this, tr("Error"), refusal, Prompter::Icon::Error);
        return;
    }
    // The work takes seconds on a large collection: the question is cleared
    // from the screen and the cursor says the program is busy meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        work();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        m_table.close();
        openTableShared();
        SetViewerOptions();
        throw;
    }
    QApplication::restoreOverrideCursor();
    m_table.close();
    openTableShared();
    SetViewerOptions();
}

void TMain::DoPack()
{
    db::Table::PackResult packed;
    maintainExclusively(tr("Deleted items are not permanently removed from the database until packing occurs.  "
                        "Packing simply removes them to free up space.  Continue?"),
                        tr("Unable to pack table.  Packing requires exclusive use of the DBase File.  %1").arg(exclusiveUse()),
                        [&] { packed = m_table.pack(); });
    DisplayCount();
    // Records brought back from past the header's count, or places that held no record, are news to the user.
    if (packed.pastCount > 0 || packed.damaged > 0)
        m_prompter.message(this, tr("Notice"), tr("Packed: %1.").arg(QString::fromStdString(db::Table::packMessage(packed, ui::speakerFor("db")))),
                           Prompter::Icon::Information);
}

void TMain::DoConvertToUnicode()
{
    if (m_table.encoding() == db::TextEncoding::Utf8) {
        m_prompter.message(this, tr("Notice"),
                           tr("This collection already keeps its text in Unicode: titles in any script can be typed "
                              "and imported into it."),
                           Prompter::Icon::Information);
        return;
    }
    std::optional<db::Table::ConversionResult> converted;
    maintainExclusively(tr("This collection keeps its text in Windows-1252, which holds Western European letters "
                           "only.  Converting it to Unicode lets it hold titles in any script; every record keeps its "
                           "text.  Older programs that read the collection file will need to be told its character "
                           "set (UTF-8).  Continue?"),
                        tr("Unable to convert table.  Converting requires exclusive use of the DBase File.  %1")
                            .arg(exclusiveUse()),
                        [&] { converted = m_table.convertToUnicode(); });
    if (!converted)
        return;
    DisplayCount();
    m_prompter.message(this, tr("Notice"),
                       tr("Converted: %1.").arg(QString::fromStdString(db::Table::conversionMessage(*converted, ui::speakerFor("db")))),
                       Prompter::Icon::Information);
}

void TMain::DoRebuildIndexes()
{
    maintainExclusively(tr("It is possible for your index files to become corrupted.  As a result, some items may not "
                        "show up in the viewer or in reports.  This will rebuild your index files correctly.  "
                        "Continue?"),
                        tr("Unable to reindex table.  Reindexing requires exclusive use of the DBase File.  %1")
                            .arg(exclusiveUse()),
                        [this] {
                            // An index whose tags were lost is made again from the sort order.
                            if (!m_sortExpression.empty() && m_table.indexTags().empty())
                                m_table.addIndex(find::kSortTag, m_sortExpression);
                            else
                                m_table.regenerateIndexes();
                        });
    DisplayCount();
}

void TMain::DoUpdateDatabase()
{
    // Reopening shows other users' changes; a search that was on applies again.
    const bool searchWasOn = m_searchMode;
    if (searchWasOn)
        DoEndSearch();
    m_table.close();
    if (searchWasOn)
        EnableEndSearch();
    openTableShared();
    SetViewerOptions();
    DisplayCount();
}

} // namespace app
