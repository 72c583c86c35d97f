#pragma once

// Tools > Statistics: what the collection, or the current search, holds: the
// number of videos, how they divide by category, decade, year, rating,
// format, picture and sound, what was viewed and is lent out, the prices and
// the stars and directors met most often. Each page shows its values as a
// table beside a chart; a chart can be saved as a PNG picture or copied, and
// the whole printed.

#include "Prompter.h"
#include "RegionalFormats.h"
#include "Settings.h"
#include "Statistics.h"

#include <QDialog>
#include <QImage>
#include <QPrinter>

#include <functional>
#include <memory>

class QChart;
class QLabel;
class QPagedPaintDevice;
class QPainter;

class QPushButton;
class QRadioButton;
class QTabWidget;
class QListWidget;
class QTableWidget;

namespace db {
class Table;
}

namespace stats_ui {

struct StatisticsContext {
    app::Prompter& prompter;
    app::Settings& settings;
    db::Table& table;
    const app::NumberFormats& numberFormats;
    double scaleFactor = 1.0;
    // The main window's search: whether one is on, ending it for a count of
    // the whole collection, and putting it back.
    std::function<bool()> searchMode;
    std::function<void()> endSearch;
    std::function<void()> restoreSearch;
    // The printer that Print prints on; null when none is installed.
    std::function<std::unique_ptr<QPrinter>()> printer;
};

// Whether a bar chart's labels stand upright, as they would not fit side by side.
bool barLabelsStand(const QStringList& labels);

class TStatistics : public QDialog {
    Q_OBJECT

public:
    TStatistics(StatisticsContext context, QWidget* parent = nullptr);

    QRadioButton* WholeCollection;
    QRadioButton* CurrentSearch;
    QLabel* Heading;
    QTabWidget* Pages;
    // The pages by name, in a list beside them, where the tabs would not fit
    // side by side (German names in a small window); the tabs are hidden then.
    QListWidget* PageList;
    QTableWidget* SummaryGrid;
    QPushButton* SaveChartButton;
    QPushButton* CopyChartButton;
    QPushButton* PrintButton;
    QList<QPushButton*> m_buttonRow; // the buttons at the bottom, in Tab's order

    // Counts again, over the collection or the search as chosen.
    void Recount();
    void SaveChartClick();
    void CopyChartClick();
    void PrintClick();
    // Draws the summary and every page, one to a sheet, on a printer or PDF.
    bool PrintOn(QPagedPaintDevice& device);
    // The printed statistics as a PDF file the user chooses.
    void SaveAsPdf();

    const stats::CollectionStatistics& statistics() const { return m_statistics; }
    const std::vector<stats::StatisticsPage>& pages() const { return m_pages; }
    // The chart of page `page` (of pages()) drawn at the given size.
    QImage chartImage(size_t page, QSize size) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showStatistics();
    void fitPageChooser();
    void fillSummary();
    QWidget* makePage(const stats::StatisticsPage& page);
    std::unique_ptr<QChart> makeChart(const stats::StatisticsPage& page) const;
    // Draws a page's chart, laid out at laidOut, into place.
    void drawChart(QPainter& painter, const stats::StatisticsPage& page, const QRectF& place, const QSizeF& laidOut) const;
    // The page of pages() the tab shows; -1 for the summary.
    int currentPage() const;
    QString shareText(uint64_t count, uint64_t of) const;
    QStringList summaryLines() const;

    StatisticsContext m_context;
    stats::CollectionStatistics m_statistics;
    std::vector<stats::StatisticsPage> m_pages;
};

} // namespace stats_ui
