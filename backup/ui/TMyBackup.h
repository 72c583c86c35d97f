#pragma once

// "Backup" and "Restore": copy the collection file, the pick lists or the
// report definitions to another folder or volume, and back into the
// program folder.

#include "BackupContext.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace backup_ui {

class TMyBackup : public QDialog {
    Q_OBJECT

public:
    explicit TMyBackup(BackupContext context, QWidget* parent = nullptr);

    QRadioButton* DatabaseButton;
    QRadioButton* ListsButton;
    QRadioButton* DefinitionsButton;
    QCheckBox* CoversBox; // the collection's folder of covers with it (on unless unticked)
    QComboBox* DriveBox;
    QTreeView* FolderList;
    QPushButton* StartButton;
    QPushButton* CancelButton;

    QString destinationFolder() const;
    void setDestinationFolder(const QString& folder);
    void StartBackupClick();

private:
    void driveChosen(int index);
    // The destination folder opened out and scrolled into sight.
    void showDestination();
    // Asks whether the old backup may go before the copy, when the new one fits only in its place.
    bool askToReplaceOldBackup(const QString& destination);
    bool backupDatabase(const QString& folder);
    bool backupLists(const QString& folder);
    bool backupDefinitions(const QString& folder);
    void completed();

    BackupContext m_context;
    QFileSystemModel* m_folders;
    QMetaObject::Connection m_following;
};

class TMyRestore : public QDialog {
    Q_OBJECT

public:
    explicit TMyRestore(BackupContext context, QWidget* parent = nullptr);

    QRadioButton* DatabaseButton;
    QRadioButton* ListsButton;
    QRadioButton* DefinitionsButton;
    QPushButton* StartButton;
    QPushButton* CancelButton;

    void StartRestoreClick();

private:
    bool restoreDatabase(const QString& chosen);
    bool restoreLists(const QString& chosen);
    bool restoreDefinitions(const QString& chosen);
    void completed();

    BackupContext m_context;
};

} // namespace backup_ui
