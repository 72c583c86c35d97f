#include "TStatistics.h"

#include "CoreText.h"
#include "HelpViewer.h"
#include "SearchPause.h"
#include "Table.h"
#include "WaitCursor.h"
#include "WindowLook.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QFontMetricsF>
#include <QLegend>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTabBar>
#include <QListWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace stats_ui {

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString countText(uint64_t count)
{
    return QLocale().toString(static_cast<qulonglong>(count));
}

// A value of a page as the reader reads it: the statistics' own words in the
// user's language, a field's values as they are stored.
QString valueText(const stats::Tally& tally)
{
    return tally.named ? QCoreApplication::translate("stats", tally.value.c_str()) : fromUtf8(tally.value);
}

// A page's title in the user's language (the core names its pages in English).
QString pageTitle(const stats::StatisticsPage& page)
{
    return QCoreApplication::translate("stats", page.title.c_str());
}

using SearchPause = ui::SearchPause<StatisticsContext>;

using ui::WaitCursor;

QAbstractAxis* countAxis(const stats::StatisticsPage& page)
{
    uint64_t most = 0;
    for (const stats::Tally& t : page.charted)
        most = std::max(most, t.count);
    auto* axis = new QValueAxis;
    axis->setLabelFormat("%.0f");
    axis->setRange(0, static_cast<double>(std::max<uint64_t>(most, 1)));
    axis->applyNiceNumbers();
    return axis;
}


} // namespace

bool barLabelsStand(const QStringList& labels)
{
    // Standing labels when they would not fit side by side under their bars
    // (the years of a century, ten decades, ratings out of ten): a label is
    // shown whole, never cut to "1…".
    qsizetype longest = 0;
    for (const QString& label : labels)
        longest = std::max(longest, label.size());
    return labels.size() > 12 || labels.size() * (longest + 1) > 40;
}

namespace {

QChart* barChart(const stats::StatisticsPage& page)
{
    auto* chart = new QChart;
    const bool lying = page.chart == stats::ChartKind::SideBars;
    auto* set = new QBarSet(QCoreApplication::translate("stats_ui::TStatistics", "Videos"));
    QStringList labels;
    // Lying bars are drawn from the bottom up: the largest goes last to stand on top.
    std::vector<stats::Tally> values = page.charted;
    if (lying)
        std::reverse(values.begin(), values.end());
    for (const stats::Tally& t : values) {
        *set << static_cast<qreal>(t.count);
        labels << valueText(t);
    }
    QAbstractBarSeries* series = lying ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                       : static_cast<QAbstractBarSeries*>(new QBarSeries);
    series->append(set);
    chart->addSeries(series);
    auto* names = new QBarCategoryAxis;
    names->append(labels);
    if (!lying && barLabelsStand(labels))
        names->setLabelsAngle(-90);
    QAbstractAxis* counts = countAxis(page);
    chart->addAxis(names, lying ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(counts, lying ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(names);
    series->attachAxis(counts);
    chart->legend()->hide();
    return chart;
}

// A point for each year, on an axis of years: a century of bars would leave no room for their labels.
QChart* lineChart(const stats::StatisticsPage& page)
{
    auto* chart = new QChart;
    auto* series = new QLineSeries;
    double first = 0, last = 0;
    for (const stats::Tally& t : page.charted) {
        const double year = QString::fromStdString(t.value).toDouble();
        first = series->count() ? std::min(first, year) : year;
        last = series->count() ? std::max(last, year) : year;
        series->append(year, static_cast<qreal>(t.count));
    }
    chart->addSeries(series);
    auto* years = new QValueAxis;
    years->setLabelFormat("%.0f");
    // Ticks on whole decades (or twenties, fifties...), at most six of them.
    int step = 10;
    for (const int wider : {20, 50, 100, 200, 500, 1000})
        if ((std::ceil(last / step) - std::floor(first / step)) > 6)
            step = wider;
    const double from = std::floor(first / step) * step, to = std::max(std::ceil(last / step) * step, from + step);
    years->setRange(from, to);
    years->setTickCount(static_cast<int>((to - from) / step) + 1);
    QAbstractAxis* counts = countAxis(page);
    chart->addAxis(years, Qt::AlignBottom);
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(years);
    series->attachAxis(counts);
    chart->legend()->hide();
    return chart;
}

QChart* pieChart(const stats::StatisticsPage& page, const std::function<QString(uint64_t, uint64_t)>& shareText)
{
    auto* chart = new QChart;
    auto* series = new QPieSeries;
    // The legend names the slices: labels beside thin slices would print over each other.
    for (const stats::Tally& t : page.charted)
        series->append(valueText(t) + "  " + shareText(t.count, page.of), static_cast<qreal>(t.count));
    series->setPieSize(0.85);
    chart->addSeries(series);
    chart->legend()->setAlignment(Qt::AlignRight);
    QFontMetricsF metrics(chart->legend()->font());
    double widest = 0;
    for (const QPieSlice* slice : series->slices())
        widest = std::max(widest, metrics.horizontalAdvance(slice->label()));
    chart->legend()->setMinimumWidth(widest + 40); // whole names beside their markers
    return chart;
}

void fillGrid(QTableWidget* grid, const QList<QStringList>& rows)
{
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < rows[r].size() && c < grid->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
}

QTableWidget* makeGrid(QWidget* parent, const QStringList& headings)
{
    auto* grid = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->setVisible(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return grid;
}

} // namespace

TStatistics::TStatistics(StatisticsContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Statistics"));
    auto* layout = new QVBoxLayout(this);

    auto* scope = new QHBoxLayout;
    WholeCollection = new QRadioButton(tr("&Whole Collection"), this);
    WholeCollection->setObjectName("WholeCollection");
    CurrentSearch = new QRadioButton(tr("Current &Search"), this);
    CurrentSearch->setObjectName("CurrentSearch");
    const bool searching = m_context.searchMode && m_context.searchMode();
    CurrentSearch->setEnabled(searching);
    (searching ? CurrentSearch : WholeCollection)->setChecked(true);
    Heading = new QLabel(this);
    Heading->setObjectName("StatisticsHeading");
    scope->addWidget(WholeCollection);
    scope->addWidget(CurrentSearch);
    scope->addSpacing(20);
    scope->addWidget(Heading, 1);
    layout->addLayout(scope);

    Pages = new QTabWidget(this);
    Pages->setObjectName("StatisticsPages");
    Pages->setAccessibleName(tr("Statistics pages"));
    SummaryGrid = makeGrid(Pages, {"", ""});
    SummaryGrid->setObjectName("SummaryGrid");
    SummaryGrid->setAccessibleName(tr("Summary of the statistics"));
    SummaryGrid->horizontalHeader()->setVisible(false);
    SummaryGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    SummaryGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    Pages->addTab(SummaryGrid, tr("Summary"));
    PageList = new QListWidget(this);
    PageList->setObjectName("StatisticsPageList");
    PageList->setAccessibleName(tr("Statistics pages"));
    PageList->setVisible(false);
    auto* pagesRow = new QHBoxLayout;
    pagesRow->addWidget(PageList);
    pagesRow->addWidget(Pages, 1);
    layout->addLayout(pagesRow, 1);

    auto* buttons = new QHBoxLayout;
    SaveChartButton = new QPushButton(tr("Sa&ve Chart..."), this);
    CopyChartButton = new QPushButton(tr("C&opy Chart"), this);
    PrintButton = new QPushButton(tr("&Print"), this);
    auto* close = new QPushButton(tr("&Close"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    buttons->addStretch(1);
    m_buttonRow = {SaveChartButton, CopyChartButton, PrintButton, close, help};
    for (QPushButton* b : m_buttonRow)
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(WholeCollection, &QRadioButton::toggled, this, [this](bool) { Recount(); });
    connect(Pages, &QTabWidget::currentChanged, this, [this](int index) {
        SaveChartButton->setEnabled(currentPage() >= 0);
        CopyChartButton->setEnabled(currentPage() >= 0);
        if (PageList->currentRow() != index)
            PageList->setCurrentRow(index);
    });
    connect(PageList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != Pages->currentIndex())
            Pages->setCurrentIndex(row);
    });
    connect(SaveChartButton, &QPushButton::clicked, this, &TStatistics::SaveChartClick);
    connect(CopyChartButton, &QPushButton::clicked, this, &TStatistics::CopyChartClick);
    connect(PrintButton, &QPushButton::clicked, this, &TStatistics::PrintClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    app::setHelpKeyword(this, "Statistics"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Statistics"); });
    ui::applyWindowLook(this, m_context.settings, app::ReportWindowColors, m_context.scaleFactor);
    resize(static_cast<int>(900 * m_context.scaleFactor), static_cast<int>(520 * m_context.scaleFactor));
    ui::fitToScreen(this);
    Recount();
}

void TStatistics::Recount()
{
    {
        const WaitCursor wait;
        try {
            const SearchPause pause(m_context, WholeCollection->isChecked());
            m_statistics = stats::collectStatistics(m_context.table);
        } catch (const std::exception& e) {
            m_statistics = {};
            m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        }
        m_pages = stats::statisticsPages(m_statistics);
    }
    showStatistics();
}

void TStatistics::showStatistics()
{
    const QString count = countText(m_statistics.videos);
    if (WholeCollection->isChecked())
        Heading->setText(m_statistics.videos == 1 ? tr("%1 video in the whole collection").arg(count)
                                                  : tr("%1 videos in the whole collection").arg(count));
    else
        Heading->setText(m_statistics.videos == 1 ? tr("%1 video found by the search").arg(count)
                                                  : tr("%1 videos found by the search").arg(count));
    const int shown = Pages->currentIndex();
    while (Pages->count() > 1) {
        QWidget* page = Pages->widget(1);
        Pages->removeTab(1);
        page->deleteLater();
    }
    for (const stats::StatisticsPage& page : m_pages)
        Pages->addTab(makePage(page), pageTitle(page));
    // The pages made anew join the end of Tab's order: the buttons below them go after them again.
    QWidget* last = nullptr;
    for (QWidget* w = Pages->nextInFocusChain(); w != Pages; w = w->nextInFocusChain())
        if (Pages->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
            last = w;
    for (QPushButton* b : m_buttonRow) {
        if (last)
            QWidget::setTabOrder(last, b);
        last = b;
    }
    fillSummary();
    PageList->clear();
    for (int i = 0; i < Pages->count(); ++i)
        PageList->addItem(Pages->tabText(i));
    Pages->setCurrentIndex(std::max(shown, 0));
    PageList->setCurrentRow(Pages->currentIndex());
    fitPageChooser();
    SaveChartButton->setEnabled(currentPage() >= 0);
    CopyChartButton->setEnabled(currentPage() >= 0);
}

void TStatistics::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    fitPageChooser();
}

void TStatistics::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitPageChooser();
}

void TStatistics::fitPageChooser()
{
    // The tabs side by side when they fit the room the pages have; else the
    // list, as wide as its longest name, and no tabs.
    QTabBar* tabs = Pages->tabBar();
    const int needed = tabs->sizeHint().width(); // every tab whole, side by side
    const int room = Pages->width() + (PageList->isVisible() ? PageList->width() + layout()->spacing() : 0);
    const bool useList = needed + 8 > room;
    if (useList) {
        int widest = 0;
        for (int i = 0; i < PageList->count(); ++i)
            widest = std::max(widest, PageList->fontMetrics().horizontalAdvance(PageList->item(i)->text()));
        PageList->setFixedWidth(widest + 2 * PageList->frameWidth() + 24);
    }
    if (PageList->isVisibleTo(this) != useList)
        PageList->setVisible(useList);
    if (tabs->isVisibleTo(Pages) == useList)
        tabs->setVisible(!useList);
}

QStringList TStatistics::summaryLines() const
{
    const stats::CollectionStatistics& s = m_statistics;
    const auto money = [this](double value) { return m_context.numberFormats.moneyAmount(value, 0).trimmed(); };
    const auto priced = [this](uint64_t count) { return (count == 1 ? tr("%1 video") : tr("%1 videos")).arg(countText(count)); };
    return {tr("Videos"),
            countText(s.videos),
            tr("Viewed"),
            countText(s.viewed) + "  (" + shareText(s.viewed, s.videos) + ")",
            tr("Not viewed"),
            countText(s.notViewed) + "  (" + shareText(s.notViewed, s.videos) + ")",
            tr("Lent out"),
            countText(s.lentOut) + "  (" + shareText(s.lentOut, s.videos) + ")",
            tr("List price, total"),
            money(s.listPrice.sum) + "  (" + priced(s.listPrice.priced) + ")",
            tr("List price, average"),
            money(s.listPrice.average()),
            tr("Purchase price, total"),
            money(s.purchasePrice.sum) + "  (" + priced(s.purchasePrice.priced) + ")",
            tr("Purchase price, average"),
            money(s.purchasePrice.average()),
            tr("Most frequent star"),
            s.stars.empty() ? tr("(none)") : fromUtf8(s.stars.front().value),
            tr("Most frequent director"),
            s.directors.empty() ? tr("(none)") : fromUtf8(s.directors.front().value)};
}

void TStatistics::fillSummary()
{
    const QStringList lines = summaryLines();
    QList<QStringList> rows;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2)
        rows.push_back({lines[i], lines[i + 1]});
    fillGrid(SummaryGrid, rows);
    for (int r = 0; r < SummaryGrid->rowCount(); ++r)
        SummaryGrid->item(r, 1)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QString TStatistics::shareText(uint64_t count, uint64_t of) const
{
    const double share = of ? 100.0 * static_cast<double>(count) / static_cast<double>(of) : 0;
    return m_context.numberFormats.plainNumber(share, 0, 1).trimmed() + " %";
}

QWidget* TStatistics::makePage(const stats::StatisticsPage& page)
{
    auto* widget = new QWidget(Pages);
    auto* row = new QHBoxLayout(widget);
    QTableWidget* grid = makeGrid(widget, {pageTitle(page), tr("Videos"), tr("Share")});
    grid->setObjectName(QString::fromStdString(page.title) + "Grid");
    grid->setAccessibleName(tr("%1 counts").arg(pageTitle(page)));
    QList<QStringList> rows;
    for (const stats::Tally& t : page.rows)
        rows.push_back({valueText(t), countText(t.count), shareText(t.count, page.of)});
    fillGrid(grid, rows);
    auto* view = new QChartView(makeChart(page).release(), widget);
    view->setObjectName(QString::fromStdString(page.title) + "Chart");
    view->setAccessibleName(tr("%1 chart").arg(pageTitle(page)));
    view->setRenderHint(QPainter::Antialiasing);
    row->addWidget(grid, 1);
    row->addWidget(view, 1);
    ui::mendContrast(widget); // a page made after the window took its colors
    return widget;
}

std::unique_ptr<QChart> TStatistics::makeChart(const stats::StatisticsPage& page) const
{
    std::unique_ptr<QChart> chart(page.chart == stats::ChartKind::Pie
                                      ? pieChart(page, [this](uint64_t count, uint64_t of) { return shareText(count, of); })
                                  : page.chart == stats::ChartKind::Line ? lineChart(page)
                                                                         : barChart(page));
    QString title = pageTitle(page);
    if (page.chartedOfMore)
        title = tr("%1: the %2 largest of %3").arg(title).arg(page.charted.size()).arg(countText(page.chartedOfMore));
    chart->setTitle(title);
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    chart->setTitleFont(titleFont);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    return chart;
}

int TStatistics::currentPage() const
{
    const int tab = Pages->currentIndex() - 1;
    return tab >= 0 && tab < static_cast<int>(m_pages.size()) ? tab : -1;
}

QImage TStatistics::chartImage(size_t page, QSize size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    if (page >= m_pages.size())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawChart(painter, m_pages[page], QRectF(QPointF(0, 0), QSizeF(size)), QSizeF(size));
    return image;
}

void TStatistics::drawChart(QPainter& painter, const stats::StatisticsPage& page, const QRectF& place,
                            const QSizeF& laidOut) const
{
    QGraphicsScene scene;
    QChart* chart = makeChart(page).release();
    scene.addItem(chart); // the scene owns it from here
    chart->setGeometry(QRectF(QPointF(0, 0), laidOut));
    scene.render(&painter, place, chart->geometry());
}

void TStatistics::SaveChartClick()
{
    const int page = currentPage();
    if (page < 0)
        return;
    app::Prompter::FileDialog dialog{tr("Save Chart"), tr("PNG Images (*.png)"), "png", {}, true,
                                     pageTitle(m_pages[static_cast<size_t>(page)]) + ".png"};
    const QString file = m_context.prompter.saveFileName(this, dialog);
    if (file.isEmpty())
        return;
    if (!chartImage(static_cast<size_t>(page), QSize(1000, 640)).save(file, "PNG"))
        m_context.prompter.message(this, tr("Error"), tr("The chart could not be saved as \"%1\".").arg(file),
                                   app::Prompter::Icon::Error);
}

void TStatistics::CopyChartClick()
{
    const int page = currentPage();
    if (page >= 0)
        QApplication::clipboard()->setImage(chartImage(static_cast<size_t>(page), QSize(1000, 640)));
}

void TStatistics::PrintClick()
{
    std::unique_ptr<QPrinter> printer = m_context.printer ? m_context.printer() : nullptr;
    if (!printer) {
        // Without a printer the statistics still go on paper later: as a PDF file.
        if (m_context.prompter.ask(this, tr("Error"),
                                   tr("No printers are defined.") + "\n\n" + tr("Save the statistics as a PDF file instead?"),
                                   app::Prompter::Buttons::YesNo, app::Prompter::Answer::Yes)
            == app::Prompter::Answer::Yes)
            SaveAsPdf();
        return;
    }
    const WaitCursor wait;
    if (!PrintOn(*printer))
        m_context.prompter.message(this, tr("Error"), tr("The statistics could not be printed."), app::Prompter::Icon::Error);
}

void TStatistics::SaveAsPdf()
{
    app::Prompter::FileDialog dialog{tr("Save Statistics As PDF"), tr("PDF Files (*.pdf *.PDF)"), "pdf", {}, true,
                                     tr("Statistics") + ".pdf"};
    const QString file = m_context.prompter.saveFileName(this, dialog);
    if (file.isEmpty())
        return;
    // Written beside the file it replaces and put in its place only when whole.
    QSaveFile out(file);
    bool written = out.open(QIODevice::WriteOnly);
    if (written) {
        const WaitCursor wait;
        QPdfWriter pdf(&out);
        pdf.setTitle(tr("Statistics"));
        pdf.setCreator(QStringLiteral("Reelkeeper Videos"));
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        written = PrintOn(pdf);
    }
    if (!written || !out.commit())
        m_context.prompter.message(this, tr("Error"), tr("The statistics could not be saved as \"%1\".").arg(file),
                                   app::Prompter::Icon::Error);
}

bool TStatistics::PrintOn(QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF sheet = QRectF(device.pageLayout().paintRectPixels(device.logicalDpiX()));
    const double inch = device.logicalDpiY();
    QFont text("Arial", 10);
    QFont heading("Arial", 14, QFont::Bold);
    double y = sheet.top();
    const auto lineHeight = [&](const QFont& font) { return QFontMetricsF(font, &device).lineSpacing(); };
    const auto newSheet = [&] {
        device.newPage();
        y = sheet.top();
    };
    const auto write = [&](const QFont& font, const QStringList& columns) {
        if (y + lineHeight(font) > sheet.bottom())
            newSheet();
        painter.setFont(font);
        // The first column reads left; the counts and shares line up at the right of theirs.
        const std::array<std::pair<double, double>, 3> places = {{{0, 0.55}, {0.55, 0.75}, {0.75, 0.95}}};
        for (int c = 0; c < columns.size() && c < 3; ++c) {
            const auto [from, to] = places[static_cast<size_t>(c)];
            const QRectF cell(sheet.left() + from * sheet.width(), y, (to - from) * sheet.width(), lineHeight(font));
            painter.drawText(cell, (c ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, columns[c]);
        }
        y += lineHeight(font);
    };

    write(heading, {tr("Statistics: %1").arg(Heading->text())});
    y += inch / 6;
    const QStringList summary = summaryLines();
    for (qsizetype i = 0; i + 1 < summary.size(); i += 2)
        write(text, {summary[i], summary[i + 1]});
    for (size_t p = 0; p < m_pages.size(); ++p) {
        const stats::StatisticsPage& page = m_pages[p];
        newSheet();
        // The chart as wide as the sheet and 0.6 of that high, drawn at the printer's own resolution.
        const QRectF place(sheet.left(), y, sheet.width(), sheet.width() * 0.6);
        drawChart(painter, page, place, QSizeF(1000, 600)); // laid out as on a screen, then scaled to the sheet
        y = place.bottom() + inch / 6;
        write(heading, {pageTitle(page), tr("Videos"), tr("Share")});
        for (const stats::Tally& t : page.rows)
            write(text, {valueText(t), countText(t.count), shareText(t.count, page.of)});
    }
    return painter.end();
}

} // namespace stats_ui
