#pragma once

#include <optional>

// "Export": the export layout (fields, their order, whether each is
// exported), what and how to export, and the export itself.

#include "ExchangeContext.h"
#include "Export.h"

class QCheckBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace exchange_ui {

class TMyExport : public QDialog {
    Q_OBJECT

public:
    explicit TMyExport(ExchangeContext context, QWidget* parent = nullptr);

    QTableWidget* Grid;
    QRadioButton* EntireDatabase;
    QRadioButton* SearchCriteria;
    QRadioButton* AsciiButton;
    QRadioButton* DbaseButton;
    QRadioButton* TellicoButton;
    QRadioButton* HtmlButton;
    QRadioButton* KodiButton;
    QCheckBox* WithCovers;
    QCheckBox* FirstRecordNames;
    QProgressBar* Gauge;
    QPushButton* StartButton;

    void UpClick();
    void DownClick();
    void DefaultsClick();
    void toggleExport(int row);
    // Reads the grid back into the export layout of the settings.
    void UpdateConfigs();
    // The chosen fields in export order, with their places in the table now.
    std::vector<exchange::ExportField> CalcIndexOrder();
    void StartExportClick();

    // Not while the export runs.
    void reject() override;

protected:
    void done(int result) override;

private:
    void fillGrid();
    void swapRows(int a, int b);
    void howToExportChanged();
    // Runs one kind of export to a file; false when nothing was written.
    // kind: the export file type, 1 text, 2 dBASE, 3 Tellico, 4 HTML catalogue.
    // The records written, or nothing when the export failed (and said so).
    std::optional<exchange::ExportResult> exportTo(const QString& path, int kind, const std::vector<exchange::ExportField>& fields);
    // "Export Complete." with what was written: the records, the covers taken along, those that could not be.
    QString exportMessage(const exchange::ExportResult& result, const QString& path, int kind) const;
    int exportKind() const;
    std::vector<exchange::ExportField> viewerColumns() const;

    ExchangeContext m_context;
    bool m_running = false;
};

} // namespace exchange_ui
