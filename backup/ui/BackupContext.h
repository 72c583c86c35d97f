#pragma once

#include "CollectionFile.h"
#include "Prompter.h"
#include "Settings.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

namespace backup_ui {

// What the backup and restore windows need of the main window.
struct BackupContext {
    app::Prompter& prompter;
    app::Settings& settings;
    QString programFolder;
    std::function<QString()> currentDatabase; // the open collection's file
    double scaleFactor = 1.0;
    std::function<bool()> searchMode;
    std::function<void()> endSearch;
    std::function<void()> restoreSearch;
    std::function<void()> closeTable;
    std::function<void()> reopenTable;  // shared, with the viewer configuration applied
    // The exclusive-use test that keeps its answer, with the table closed: while
    // the holder lives no other copy of the program can open the collection.
    std::function<std::unique_ptr<db::ExclusiveUse>()> useExclusively;
    std::function<void()> saveAllLists;
    std::function<void()> loadAllLists;
    std::function<bool(QWidget*, const QString&)> checkFormat; // the collection format check, with its message
    std::function<void(const QString&)> openRestored;           // makes a restored file the current database
    std::function<int(QDialog&)> runDialog;
};

// The outcome of one copy run from a window.
enum class CopyOutcome { Copied, Cancelled, Failed };

// Copies a file safely on another thread while the window stays responsive:
// the hourglass at first, a progress bar with Cancel once it takes longer
// than half a second. A failure is shown with the system's message and the
// file's name after failedText.
CopyOutcome copyWithProgress(QWidget* owner, app::Prompter& prompter, const QString& source, const QString& destination,
                             const QString& failedText, bool removeFirst = false);

// The same for a table, with the .cpg beside it that says how it keeps its text
// and, unless told not to, its folder of covers.
CopyOutcome copyTableWithProgress(QWidget* owner, app::Prompter& prompter, const QString& source,
                                  const QString& destination, const QString& failedText, bool removeFirst = false,
                                  bool withCovers = true);

// The 17 list files, in their order.
QStringList listFileNames();

} // namespace backup_ui
