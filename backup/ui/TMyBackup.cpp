#include "TMyBackup.h"

#include "CollectionFile.h"
#include "CoreText.h"
#include "HelpViewer.h"
#include "SafeCopy.h"
#include "WindowLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <tuple>

namespace backup_ui {

namespace {

const char* const kIdentical = QT_TRANSLATE_NOOP(
    "backup", "Destination File and Source File are identical.  You cannot copy a file  over top of "
    "itself.  Please choose a different directory to backup to.");
const char* const kBackupFailed = QT_TRANSLATE_NOOP(
    "backup", "An error occurred during backup.  Backup not completed.");
const char* const kBackupDone = QT_TRANSLATE_NOOP(
    "backup", "Backup completed successfully.");
const char* const kDatabaseInUse = QT_TRANSLATE_NOOP(
    "backup", "Backing up the database requires exclusive use of the DBase File.  Make sure that the DBase File is not in use by "
    "another program  or that no other users are running the software or that no other copies of the software are in "
    "use.");
const char* const kNoRoomForDatabase = QT_TRANSLATE_NOOP(
    "backup", "There is not enough room on the destination drive to perform a backup.  If you are already using blank empty "
    "media, then you will need to use the ASCII Delimited Import/Export functions for backup and restore purposes.");
const char* const kNoRoomForDefinitions = QT_TRANSLATE_NOOP(
    "backup", "There is not enough room on the destination drive to backup this file.  You will need to free up space on the "
    "destination drive or use an alternative method to backup the \"REELKP.URP\" file.");
const char* const kRestoreFailed = QT_TRANSLATE_NOOP(
    "backup", "An error occurred during restore.  Restore not completed.");
const char* const kRestoreDone = QT_TRANSLATE_NOOP(
    "backup", "Restore completed successfully.");
const char* const kNoRoomToRestore = QT_TRANSLATE_NOOP(
    "backup", "There is not enough room on the destination drive to perform a restore.  You will "
    "need to free up hard drive space before completing the restore.");
const char* const kRestoreInUse = QT_TRANSLATE_NOOP(
    "backup", "Unable to restore the database.  Make sure the database is not in use by any other users "
    "or by another copy of the software.");
const QString kDefinitions = "REELKP.URP";

// The messages above in the user's language.
QString say(const char* text) { return QCoreApplication::translate("backup", text); }

QString inFolder(const QString& folder, const QString& name) { return QDir(folder).filePath(name); }

bool same(const QString& a, const QString& b) { return backup::sameFile(a.toStdString(), b.toStdString()); }

// Room for a copy: beside the file it replaces, or only in its place; throws when it cannot be measured.
backup::CopySpace spaceFor(const QString& source, const QString& destination)
{
    return backup::spaceFor(source.toStdString(), destination.toStdString());
}

QGroupBox* kindGroup(QWidget* owner, const QString& title, const std::array<QString, 3>& captions,
                     std::array<QRadioButton*, 3>& buttons)
{
    auto* group = new QGroupBox(title, owner);
    auto* layout = new QVBoxLayout(group);
    for (size_t i = 0; i < captions.size(); ++i) {
        buttons[i] = new QRadioButton(captions[i], group);
        layout->addWidget(buttons[i]);
    }
    buttons[0]->setChecked(true);
    return group;
}

// The row at the bottom of both windows: the start button (the default),
// Cancel (which reads Close once something was copied) and Help.
std::pair<QPushButton*, QPushButton*> addActionRow(QDialog* dialog, QBoxLayout* layout, const QString& startCaption)
{
    auto* buttons = new QHBoxLayout;
    auto* start = new QPushButton(startCaption, dialog);
    auto* cancel = new QPushButton(QCoreApplication::translate("backup", "&Cancel"), dialog);
    auto* help = new QPushButton(QCoreApplication::translate("backup", "&Help"), dialog);
    start->setDefault(true);
    buttons->addStretch();
    for (QPushButton* b : {start, cancel, help})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    app::setHelpKeyword(dialog, "Backup and Restore"); // F1 opens the same section
    QObject::connect(help, &QPushButton::clicked, dialog, [dialog] { app::showHelp(dialog, "Backup and Restore"); });
    return {start, cancel};
}

} // namespace

// ---- backup -----------------------------------------------------------------------

TMyBackup::TMyBackup(BackupContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Backup"));
    auto* layout = new QVBoxLayout(this);
    std::array<QRadioButton*, 3> kinds{};
    layout->addWidget(kindGroup(this, tr("What To Back Up"),
                                {tr("Back Up Current Database (*.DBF)"), tr("Back Up Lists (*.LST)"),
                                 tr("Back Up Report Definitions (*.URP)")},
                                kinds));
    DatabaseButton = kinds[0];
    ListsButton = kinds[1];
    DefinitionsButton = kinds[2];
    CoversBox = new QCheckBox(tr("&With the covers of the films"), this);
    CoversBox->setObjectName("CoversBox");
    CoversBox->setChecked(true);
    layout->addWidget(CoversBox);
    connect(DatabaseButton, &QRadioButton::toggled, CoversBox, &QCheckBox::setEnabled);
    CoversBox->setEnabled(DatabaseButton->isChecked());

    auto* where = new QGroupBox(tr("Where To Back Up To"), this);
    auto* whereLayout = new QVBoxLayout(where);
    DriveBox = new QComboBox(where);
    DriveBox->setObjectName("DriveBox");
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString name = volume.displayName() == volume.rootPath()
                                 ? volume.rootPath()
                                 : tr("%1  (%2)").arg(volume.rootPath(), volume.displayName());
        DriveBox->addItem(name, volume.rootPath());
    }
    whereLayout->addWidget(DriveBox);
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setRootPath("/");
    FolderList = new QTreeView(where);
    FolderList->setObjectName("FolderList");
    FolderList->setAccessibleName(tr("Folders"));
    FolderList->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        FolderList->hideColumn(column);
    FolderList->header()->setVisible(false);
    whereLayout->addWidget(FolderList, 1);
    layout->addWidget(where, 1);
    connect(DriveBox, &QComboBox::activated, this, &TMyBackup::driveChosen);
    // The folders are read in the background: the chosen one is brought into
    // sight as they come, until it has been read itself.
    m_following = connect(m_folders, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        showDestination();
        if (path == m_folders->filePath(FolderList->currentIndex()))
            disconnect(m_following);
    });
    // Both open on the volume of the program folder.
    const QString programVolume = QStorageInfo(m_context.programFolder).rootPath();
    DriveBox->setCurrentIndex(std::max(0, DriveBox->findData(programVolume)));
    setDestinationFolder(m_context.programFolder);

    std::tie(StartButton, CancelButton) = addActionRow(this, layout, tr("&Start Back Up"));
    connect(StartButton, &QPushButton::clicked, this, &TMyBackup::StartBackupClick);
    ui::applyWindowLook(this, m_context.settings, app::ConfigureWindowColors, m_context.scaleFactor);
    resize(static_cast<int>(420 * m_context.scaleFactor), static_cast<int>(440 * m_context.scaleFactor));
    ui::fitToScreen(this);
}

void TMyBackup::driveChosen(int index)
{
    const QString root = DriveBox->itemData(index).toString();
    FolderList->setRootIndex(m_folders->index(root));
    setDestinationFolder(root);
}

QString TMyBackup::destinationFolder() const
{
    const QModelIndex current = FolderList->currentIndex();
    return current.isValid() ? m_folders->filePath(current) : DriveBox->currentData().toString();
}

void TMyBackup::setDestinationFolder(const QString& folder)
{
    FolderList->setCurrentIndex(m_folders->index(folder));
    showDestination();
}

void TMyBackup::showDestination()
{
    const QModelIndex index = FolderList->currentIndex();
    std::vector<QModelIndex> parents;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        parents.insert(parents.begin(), parent);
    for (const QModelIndex& parent : parents) {
        if (m_folders->canFetchMore(parent))
            m_folders->fetchMore(parent);
        FolderList->expand(parent);
    }
    // Once the view has laid the opened folders out.
    QTimer::singleShot(100, this, [this] { FolderList->scrollTo(FolderList->currentIndex(), QAbstractItemView::PositionAtCenter); });
}

void TMyBackup::StartBackupClick()
{
    const QString folder = destinationFolder();
    bool done = false;
    if (DatabaseButton->isChecked())
        done = backupDatabase(folder);
    else if (ListsButton->isChecked())
        done = backupLists(folder);
    else
        done = backupDefinitions(folder);
    if (done)
        completed();
}

void TMyBackup::completed()
{
    m_context.prompter.message(this, tr("Notice"), say(kBackupDone), app::Prompter::Icon::Information);
    CancelButton->setText(tr("&Close"));
    CancelButton->setFocus();
}

bool TMyBackup::askToReplaceOldBackup(const QString& destination)
{
    // Room only where the old backup is: it goes first, once the user agrees.
    return m_context.prompter.ask(this, tr("Backup"),
                                  tr("There is room for the new backup only in place of the old one.  "
                                          "The old backup \"%1\" will be deleted before the copy.  Continue?")
                                      .arg(destination),
                                  app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
           == app::Prompter::Answer::Yes;
}

bool TMyBackup::backupDatabase(const QString& folder)
{
    const QString source = m_context.currentDatabase();
    const QString destination = inFolder(folder, QFileInfo(source).completeBaseName() + ".DBF");
    if (same(source, destination)) {
        m_context.prompter.message(this, tr("Error"), say(kIdentical), app::Prompter::Icon::Error);
        return false;
    }
    const bool searching = m_context.searchMode();
    if (searching)
        m_context.endSearch();
    // The copy runs with the table closed and every other copy of the program
    // kept out until it is whole and checked; every way out opens it again.
    m_context.closeTable();
    std::unique_ptr<db::ExclusiveUse> use = m_context.useExclusively();
    auto reopen = [&] {
        use.reset();
        m_context.reopenTable();
        if (searching)
            m_context.restoreSearch();
    };
    if (!use->acquired()) {
        m_context.prompter.message(this, tr("Error"), say(kDatabaseInUse), app::Prompter::Icon::Error);
        reopen();
        return false;
    }
    backup::CopySpace space;
    try {
        space = spaceFor(source, destination);
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), say(kBackupFailed) + "\n\n" + ui::errorText(e), app::Prompter::Icon::Error);
        reopen();
        return false;
    }
    bool removeFirst = false;
    if (!space.fitsInPlace()) {
        m_context.prompter.message(this, tr("Error"), say(kNoRoomForDatabase), app::Prompter::Icon::Error);
        reopen();
        return false;
    }
    if (!space.fitsBeside()) {
        removeFirst = askToReplaceOldBackup(destination);
        if (!removeFirst) {
            reopen();
            return false;
        }
    }
    const CopyOutcome outcome =
        copyTableWithProgress(this, m_context.prompter, source, destination, say(kBackupFailed), removeFirst,
                              CoversBox->isChecked());
    reopen();
    return outcome == CopyOutcome::Copied;
}


bool TMyBackup::backupLists(const QString& folder)
{
    m_context.saveAllLists();
    for (const QString& name : listFileNames()) {
        const QString source = inFolder(m_context.programFolder, name);
        if (!QFileInfo::exists(source))
            continue; // a list never written is passed over
        const QString destination = inFolder(folder, name);
        if (same(source, destination)) {
            m_context.prompter.message(this, tr("Error"), say(kIdentical), app::Prompter::Icon::Error);
            return false;
        }
        if (copyWithProgress(this, m_context.prompter, source, destination, say(kBackupFailed)) != CopyOutcome::Copied)
            return false;
    }
    return true;
}

bool TMyBackup::backupDefinitions(const QString& folder)
{
    const QString source = inFolder(m_context.programFolder, kDefinitions);
    const QString destination = inFolder(folder, kDefinitions);
    if (same(source, destination)) {
        m_context.prompter.message(this, tr("Error"), say(kIdentical), app::Prompter::Icon::Error);
        return false;
    }
    bool removeFirst = false;
    try {
        const backup::CopySpace space = spaceFor(source, destination);
        if (!space.fitsInPlace()) {
            m_context.prompter.message(this, tr("Error"), say(kNoRoomForDefinitions), app::Prompter::Icon::Error);
            return false;
        }
        if (!space.fitsBeside() && !(removeFirst = askToReplaceOldBackup(destination)))
            return false;
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), say(kBackupFailed) + "\n\n" + ui::errorText(e), app::Prompter::Icon::Error);
        return false;
    }
    return copyWithProgress(this, m_context.prompter, source, destination, say(kBackupFailed), removeFirst)
           == CopyOutcome::Copied;
}

// ---- restore ----------------------------------------------------------------------

TMyRestore::TMyRestore(BackupContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Restore"));
    auto* layout = new QVBoxLayout(this);
    std::array<QRadioButton*, 3> kinds{};
    layout->addWidget(kindGroup(this, tr("What To Restore"),
                                {tr("Restore a Database File (*.DBF)"), tr("Restore List Files (*.LST)"),
                                 tr("Restore Report Definitions (*.URP)")},
                                kinds));
    DatabaseButton = kinds[0];
    ListsButton = kinds[1];
    DefinitionsButton = kinds[2];
    std::tie(StartButton, CancelButton) = addActionRow(this, layout, tr("&Start Restore"));
    connect(StartButton, &QPushButton::clicked, this, &TMyRestore::StartRestoreClick);
    ui::applyWindowLook(this, m_context.settings, app::ConfigureWindowColors, m_context.scaleFactor);
}

void TMyRestore::StartRestoreClick()
{
    app::Prompter::FileDialog dialog;
    if (DatabaseButton->isChecked())
        dialog = {tr("Restore DBF File"), tr("DBase Files (*.DBF *.dbf)"), "DBF", {}};
    else if (ListsButton->isChecked())
        dialog = {tr("Restore LST Files"), tr("List Files (*.LST *.lst)"), "LST", {}};
    else
        dialog = {tr("Restore URP File"), tr("Reports Files (*.URP *.urp)"), "URP", kDefinitions};
    const QString chosen = m_context.prompter.openFileName(this, dialog);
    if (chosen.isEmpty())
        return;
    bool done = false;
    if (DatabaseButton->isChecked())
        done = restoreDatabase(chosen);
    else if (ListsButton->isChecked())
        done = restoreLists(chosen);
    else
        done = restoreDefinitions(chosen);
    if (done)
        completed();
}

void TMyRestore::completed()
{
    CancelButton->setText(tr("&Close"));
    CancelButton->setFocus();
}

bool TMyRestore::restoreDatabase(const QString& chosen)
{
    if (m_context.searchMode())
        m_context.endSearch(); // it stays ended
    const QString destination = inFolder(m_context.programFolder, QFileInfo(chosen).fileName());
    if (!m_context.checkFormat(this, chosen))
        return false;
    if (same(chosen, destination)) {
        // The program folder's own file: nothing to copy; it becomes the current database.
        m_context.openRestored(destination);
        m_context.prompter.message(this, tr("Notice"),
                                   tr("The file \"%1\" is already in place in the program folder; nothing was "
                                           "copied.  It is now the current database.")
                                       .arg(destination),
                                   app::Prompter::Icon::Information);
        return true;
    }
    const bool current = same(destination, m_context.currentDatabase());
    bool closed = false;
    // The collection replaced is kept from every other copy of the program until the copy is in place.
    std::unique_ptr<db::ExclusiveUse> use;
    auto reopen = [&] {
        use.reset();
        m_context.reopenTable();
    };
    if (current) {
        m_context.closeTable();
        closed = true;
        use = m_context.useExclusively();
        if (!use->acquired()) {
            m_context.prompter.message(this, tr("Error"), say(kRestoreInUse), app::Prompter::Icon::Error);
            reopen();
            return false;
        }
    }
    // The copy never replaces the open collection before it is whole: it needs room beside it.
    QString problem;
    try {
        if (!spaceFor(chosen, destination).fitsBeside())
            problem = say(kNoRoomToRestore);
    } catch (const std::exception& e) {
        problem = say(kRestoreFailed) + "\n\n" + ui::errorText(e);
    }
    if (!problem.isEmpty()) {
        m_context.prompter.message(this, tr("Error"), problem, app::Prompter::Icon::Error);
        if (closed)
            reopen();
        return false;
    }
    if (!closed)
        m_context.closeTable();
    if (copyTableWithProgress(this, m_context.prompter, chosen, destination, say(kRestoreFailed)) != CopyOutcome::Copied) {
        reopen();
        return false;
    }
    use.reset();
    // Only the table file travels: its index is built anew.
    QFile::remove(inFolder(m_context.programFolder, QFileInfo(destination).completeBaseName() + ".MDX"));
    QFile::remove(inFolder(m_context.programFolder, QFileInfo(destination).completeBaseName() + ".mdx"));
    m_context.openRestored(destination);
    m_context.prompter.message(this, tr("Notice"), say(kRestoreDone), app::Prompter::Icon::Information);
    return true;
}

bool TMyRestore::restoreLists(const QString& chosen)
{
    const QString folder = QFileInfo(chosen).absolutePath();
    bool all = true;
    for (const QString& name : listFileNames()) {
        const QString source = inFolder(folder, name);
        if (!QFileInfo::exists(source)) {
            m_context.prompter.message(
                this, tr("Warning"),
                tr("The following file \"%1\" could not be located on the specified source drive.").arg(name),
                app::Prompter::Icon::Warning);
            all = false;
            continue;
        }
        const QString destination = inFolder(m_context.programFolder, name);
        if (same(source, destination))
            continue; // already in place
        if (copyWithProgress(this, m_context.prompter, source, destination, say(kRestoreFailed)) != CopyOutcome::Copied)
            return false;
    }
    m_context.prompter.message(this, tr("Notice"),
                               all ? tr("ALL proper LST files restored successfully.")
                                   : tr("One or more files were not restored.  Restore may not have completed successfully."),
                               app::Prompter::Icon::Information);
    m_context.loadAllLists();
    return true;
}

bool TMyRestore::restoreDefinitions(const QString& chosen)
{
    const QString source = inFolder(QFileInfo(chosen).absolutePath(), kDefinitions);
    if (!QFileInfo::exists(source)) {
        m_context.prompter.message(this, tr("Error"),
                                   tr("The Report Definitions file \"REELKP.URP\" could not be  located on the specified "
                                   "source drive."),
                                   app::Prompter::Icon::Error);
        return false;
    }
    const QString destination = inFolder(m_context.programFolder, kDefinitions);
    if (!same(source, destination)) {
        try {
            if (!spaceFor(source, destination).fitsBeside()) {
                m_context.prompter.message(this, tr("Error"), say(kNoRoomToRestore), app::Prompter::Icon::Error);
                return false;
            }
        } catch (const std::exception& e) {
            m_context.prompter.message(this, tr("Error"), say(kRestoreFailed) + "\n\n" + ui::errorText(e), app::Prompter::Icon::Error);
            return false;
        }
        if (copyWithProgress(this, m_context.prompter, source, destination, say(kRestoreFailed)) != CopyOutcome::Copied)
            return false;
    }
    m_context.prompter.message(this, tr("Notice"), say(kRestoreDone), app::Prompter::Icon::Information);
    return true;
}

} // namespace backup_ui
