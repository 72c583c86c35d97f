#pragma once

// "Reports": the report window. It lists the report definitions, shows the
// current sort order, and runs the chosen report over the whole collection
// or the current search to the preview, the printer or a text file. The
// label modes switch it to the media-number grid (the label job itself
// comes later).

#include "Prompter.h"
#include "RegionalFormats.h"
#include "Settings.h"
#include "Table.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QWidget;

namespace report_ui {

struct DesignerContext;

// What the report window needs of the main window.
struct ReportWindowContext {
    app::Prompter& prompter;
    app::Settings& settings; // the [Reports] values, read and written back
    db::Table& table;
    app::NumberFormats numbers;
    QString programFolder;
    double scaleFactor = 1.0;
    std::function<bool()> searchMode;
    std::function<void()> endSearch;     // the main window's End Search, for a run over the whole collection
    std::function<void()> restoreSearch; // and the search put back afterwards
    std::function<int(QDialog&)> runDialog;
};

class TMyReport : public QDialog {
    Q_OBJECT

public:
    explicit TMyReport(ReportWindowContext context, QWidget* parent = nullptr);

    QLabel* SortOrderLabel;
    QRadioButton* EntireDatabase;
    QRadioButton* SearchCriteria;
    QRadioButton* FaceLabels;
    QRadioButton* SpineLabels;
    QListWidget* ReportList;
    QTableWidget* MediaGrid;
    QRadioButton* Avery5199;
    QRadioButton* AveryL7654;
    QPushButton* ViewButton;
    QPushButton* PrintButton;
    QPushButton* FileButton;
    QPushButton* ModifyButton;
    QPushButton* NewButton;

    void LoadReportBox();
    // mode 1 printer, 2 preview, 3 text file (fileName).
    void DoIt(int mode, const QString& fileName = {});
    // Face or spine labels of the grid's media numbers: mode 1 printer, 2 preview.
    void DoItLabel(int mode);
    // The media chooser for a cell of the label grid.
    void chooseMedia(int row, int column);
    // The report designer, on a new report or on the selected one.
    void NewClick();
    void ModifyClick();
    void ViewClick();
    void PrintClick();
    void FileClick();
    bool labelMode() const;

protected:
    void done(int result) override;

private:
    DesignerContext designerContext();
    void applyMode();
    void whatToPrintChanged();
    void sizeGrid();
    void fitMediaGrid();
    void fail(const QString& text, QWidget* focus);

    ReportWindowContext m_context;
    bool m_damageTold = false; // the definitions file's damage was shown
    QWidget* m_reportPanel;
    QWidget* m_labelPanel;
};

// The field display names of the sort levels, joined by ", ", or
// "No Sort Order Selected".
QString sortOrderText(const app::Settings& settings);

} // namespace report_ui
