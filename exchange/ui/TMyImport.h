#pragma once

// The import window: pairs the file's fields with the collection's fields
// and imports the file's records.

#include "ExchangeContext.h"
#include "Import.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace exchange_ui {

class TMyImport : public QDialog {
    Q_OBJECT

public:
    TMyImport(ExchangeContext context, exchange::ImportSource source, QWidget* parent = nullptr);

    QTableWidget* Grid;
    QTableWidget* Preview;
    QCheckBox* SkipFirstRecord;
    QCheckBox* SkipExisting; // films whose title and year the collection holds are not imported
    QLineEdit* CountBox;
    QProgressBar* Busy;
    QPushButton* StartButton;
    QPushButton* CancelButton;
    QPushButton* ExitButton;

    void UpClick();
    void DownClick();
    void toggleUse(int row);
    // Runs the import with the grid's pairing; shows how it ended and closes.
    void StartImportClick();
    // The map the grid gives now.
    exchange::ImportMap importMap() const;
    // Not while the import runs: Cancel Import stops it.
    void reject() override;

private:
    void swapRows(int a, int b);
    // The grid as the import starts: columns beside the fields their names match, or in place.
    void arrangeRows();
    void showPreview();

    ExchangeContext m_context;
    exchange::ImportSource m_source;
    bool m_cancelRequested = false;
    bool m_running = false;
    std::vector<std::vector<std::string>> m_previewRecords;
    bool m_previewRead = false;
    bool m_previewSkipsFirst = false;
};

} // namespace exchange_ui
