#pragma once

// The report designer: "Report Definition" (name, width, fonts, titles,
// options, margins), "Report Fonts", "Specify Report Layout" (the body and
// totals lines as rows of boxes) and "Select Report Part" (one box).

#include "Prompter.h"
#include "ReportDefinitions.h"
#include "Settings.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QLabel;
class QPushButton;
class QSpinBox;

namespace report_ui {

using report::FontBlock;
using report::ReportDefinition;
using report::ReportLine;

// What the designer needs of the report window.
struct DesignerContext {
    app::Prompter& prompter;
    const app::Settings& settings; // the field display names
    QString definitionsFile;
    std::function<int(QDialog&)> runDialog;
    std::function<void(int record)> reloadList; // the report window's list, the saved record selected
};

class TReportFonts : public QDialog {
    Q_OBJECT

public:
    TReportFonts(app::Prompter& prompter, ReportDefinition& definition, QWidget* parent = nullptr);
    std::array<QLineEdit*, 4> FontBoxes{};
    void NewFontClick(int block); // 0 titles, 1 column headers, 2 body, 3 footnotes

private:
    app::Prompter& m_prompter;
    ReportDefinition& m_definition;
};

class TReportPart : public QDialog {
    Q_OBJECT

public:
    // item: 0-based; line: 0-based body line, or -1 for the totals line.
    TReportPart(DesignerContext& context, ReportLine& line, int lineNumber, int item, int reportWidth,
                QWidget* parent = nullptr);
    QLabel* SelectedPart;
    QRadioButton* FillerButton;
    QRadioButton* LabelButton;
    QRadioButton* FieldButton;
    QRadioButton* CoverButton;
    QSpinBox* CoverLines; // how many of the record's lines the cover is tall
    QListWidget* Fields;
    QLineEdit* WidthBox;
    QLineEdit* LabelName;
    void OkClick();

private:
    void kindChanged();
    DesignerContext& m_context;
    ReportLine& m_line;
    int m_lineNumber;
    int m_item;
    int m_reportWidth;
};

// The rows of boxes: one per body line, then the totals line.
class LayoutView : public QWidget {
    Q_OBJECT

public:
    LayoutView(const ReportDefinition& definition, const app::Settings& settings, QWidget* parent = nullptr);
    // The box under a point: line (-1 totals) and item, or item -1 for none.
    std::pair<int, int> boxAt(QPoint point) const;
    QRect boxRect(int line, int item) const;
    std::function<void(int line, int item)> onBoxClicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect rowRect(int line) const;
    const ReportDefinition& m_definition;
    const app::Settings& m_settings;
    std::pair<int, int> m_pressed{0, -1};
};

class TRepLayout : public QDialog {
    Q_OBJECT

public:
    TRepLayout(DesignerContext& context, ReportDefinition& definition, QWidget* parent = nullptr);
    LayoutView* Layout;
    // Opens the part window for a box of the working copy.
    void editPart(int line, int item);
    void OkClick();

private:
    DesignerContext& m_context;
    ReportDefinition& m_definition;
    ReportDefinition m_working;
};

class TUserReport : public QDialog {
    Q_OBJECT

public:
    // record: the record number in modify mode, -1 for a new report.
    TUserReport(DesignerContext context, ReportDefinition definition, int record, QWidget* parent = nullptr);

    QLineEdit* NameBox;
    QRadioButton* Width90;
    QRadioButton* Width120;
    QRadioButton* Width150;
    std::array<QLineEdit*, 4> FontBoxes{};
    std::array<QLineEdit*, 3> TitleBoxes{};
    QCheckBox* ColumnHeaders;
    QCheckBox* PageNumbers;
    QCheckBox* DateOnPages;
    QCheckBox* UseTotals;
    QCheckBox* HorizontalLines;
    QCheckBox* VerticalLines;
    QCheckBox* Landscape;
    QCheckBox* GroupLevel1;
    QCheckBox* GroupLevel2;
    QLineEdit* NumberOfLines;
    std::array<QLineEdit*, 4> Margins{}; // top, bottom, left, right
    QPushButton* UpdateButton;
    QPushButton* DeleteButton;

    const ReportDefinition& definition() const { return m_definition; }
    void widthChosen(int width);
    void SetFontsClick();
    void SpecifyContentClick();
    void UpdateClick();
    void DeleteClick();
    void nameLeft();
    void numberOfLinesLeft();

private:
    bool checkNumberOfLines();
    void showFonts();
    void enableOneLineOptions();
    void showWidth();
    bool store();

    DesignerContext m_context;
    ReportDefinition m_definition;
    int m_record;
    std::string m_openedName;
};

// "Courier New 10pt".
QString fontText(const FontBlock& font);

} // namespace report_ui
