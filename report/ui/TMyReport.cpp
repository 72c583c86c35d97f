#include "TMyReport.h"
#include "CellKeys.h"

#include "CoreText.h"
#include "Cp1252.h"
#include "EditText.h"
#include "HelpViewer.h"
#include "LabelRender.h"
#include "QPrinterDevice.h"
#include "ReportDefinitions.h"
#include "ReportRender.h"
#include "Schema.h"
#include "SearchPause.h"
#include "TCanvasReport.h"
#include "TextReportFile.h"
#include "TLabelOptions.h"
#include "TMyPreview.h"
#include "TReportFiler.h"
#include "TReportForm.h"
#include "TUserReport.h"
#include "WindowLook.h"

#include <QCoreApplication>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>


namespace report_ui {

namespace {

const char* const kNoReport = QT_TRANSLATE_NOOP("report_ui::TMyReport", "No Report has been selected.  Please choose one.");
const char* const kNotUsed = QT_TRANSLATE_NOOP("report_ui::TMyReport", "*NOT USED*");

using SearchPause = ui::SearchPause<ReportWindowContext>;

// The engine of one run: mode 1 prints on the system's printer (on paper
// of its own when given), modes 2 and 3 record into the run's stream.
struct RunEngine {
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<engine::QPrinterDevice> device;
    std::unique_ptr<engine::TBaseReport> job;
};

RunEngine makeEngine(int mode, engine::ReportBytes& stream, engine::TOrientation orientation,
                     const report::LabelStock* paper = nullptr)
{
    RunEngine run;
    if (mode == 1) {
        run.printer = engine::defaultPrinter();
        if (run.printer && paper)
            run.printer->setPageSize(QPageSize(paper->paperHeight > 11.5 ? QPageSize::A4 : QPageSize::Letter));
        if (run.printer)
            run.device = std::make_unique<engine::QPrinterDevice>(run.printer.get());
        run.job = std::make_unique<engine::TReportPrinter>(run.device.get());
        run.job->setOrientation(orientation);
    } else {
        auto filer = std::make_unique<engine::TReportFiler>();
        filer->StreamMode = engine::smUser;
        filer->setStream(&stream);
        filer->setOrientation(orientation);
        if (paper)
            filer->setPaper(paper->paperWidth, paper->paperHeight);
        run.job = std::move(filer);
    }
    run.job->setLineHeightMethod(engine::lhmFont);
    return run;
}

} // namespace

QString sortOrderText(const app::Settings& settings)
{
    QStringList names;
    for (const int key : settings.sortKeys)
        if (key >= 1 && key <= db::kSchemaFieldCount)
            names << settings.fields[static_cast<size_t>(key - 1)].displayName;
    return names.isEmpty() ? QCoreApplication::translate("report_ui::TMyReport", "No Sort Order Selected") : names.join(", ");
}

TMyReport::TMyReport(ReportWindowContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    if (!m_context.runDialog)
        m_context.runDialog = [](QDialog& d) { return d.exec(); };
    setWindowTitle(tr("Reports"));
    auto* layout = new QVBoxLayout(this);

    auto* sortPanel = new QGroupBox(tr("Current Sort Order"), this);
    sortPanel->setStyleSheet("QGroupBox { background-color: teal; color: white; }");
    auto* sortLayout = new QVBoxLayout(sortPanel);
    SortOrderLabel = new QLabel(sortOrderText(m_context.settings), sortPanel);
    SortOrderLabel->setObjectName("SortOrderLabel");
    sortLayout->addWidget(SortOrderLabel);
    layout->addWidget(sortPanel);

    auto* middle = new QHBoxLayout;
    auto* what = new QGroupBox(tr("What to Print"), this);
    auto* whatLayout = new QVBoxLayout(what);
    EntireDatabase = new QRadioButton(tr("Entire Database"), what);
    SearchCriteria = new QRadioButton(tr("Search Criteria"), what);
    FaceLabels = new QRadioButton(tr("Face Labels"), what);
    SpineLabels = new QRadioButton(tr("Spine Labels"), what);
    for (QRadioButton* b : {EntireDatabase, SearchCriteria, FaceLabels, SpineLabels}) {
        whatLayout->addWidget(b);
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                whatToPrintChanged();
        });
    }
    middle->addWidget(what);

    m_reportPanel = new QGroupBox(tr("Report Selection"), this);
    auto* reportLayout = new QVBoxLayout(m_reportPanel);
    ReportList = new QListWidget(m_reportPanel);
    ReportList->setObjectName("ReportList");
    ReportList->setAccessibleName(tr("Reports"));
    reportLayout->addWidget(ReportList);
    middle->addWidget(m_reportPanel, 1);

    m_labelPanel = new QWidget(this);
    auto* labelLayout = new QVBoxLayout(m_labelPanel);
    labelLayout->addWidget(new QLabel(tr("Media Numbers"), m_labelPanel));
    MediaGrid = new QTableWidget(8, 2, m_labelPanel);
    MediaGrid->setObjectName("MediaGrid");
    // Typing edits a cell; a double click is for the media chooser.
    MediaGrid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    MediaGrid->horizontalHeader()->setVisible(false);
    MediaGrid->verticalHeader()->setVisible(false);
    const int column = static_cast<int>(90 * m_context.scaleFactor);
    MediaGrid->setColumnWidth(0, column);
    MediaGrid->setColumnWidth(1, column);
    MediaGrid->setFixedWidth(static_cast<int>(180 * m_context.scaleFactor) + 5);
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 8; ++r)
            MediaGrid->setItem(r, c, new QTableWidgetItem(m_context.settings.labelCells[static_cast<size_t>(c * 8 + r)]));
    labelLayout->addWidget(MediaGrid);
    auto* style = new QGroupBox(tr("Label Style"), m_labelPanel);
    auto* styleLayout = new QVBoxLayout(style);
    Avery5199 = new QRadioButton(tr("Avery 5199 (USA)"), style);
    AveryL7654 = new QRadioButton(tr("Avery L7654 (European)"), style);
    styleLayout->addWidget(Avery5199);
    styleLayout->addWidget(AveryL7654);
    (m_context.settings.avery5199 ? Avery5199 : AveryL7654)->setChecked(true);
    for (QRadioButton* b : {Avery5199, AveryL7654})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                m_context.settings.avery5199 = Avery5199->isChecked();
                sizeGrid();
            }
        });
    labelLayout->addWidget(style);
    labelLayout->addWidget(new QLabel(tr("NOTES\nDouble Click on a media number for a list of possible media numbers."), m_labelPanel));
    middle->addWidget(m_labelPanel, 1);
    layout->addLayout(middle, 1);

    auto* buttons = new QGridLayout;
    ViewButton = new QPushButton(tr("&View"), this);
    PrintButton = new QPushButton(tr("&Print"), this);
    FileButton = new QPushButton(tr("Print To &File"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    auto* exit = new QPushButton(tr("E&xit"), this);
    ModifyButton = new QPushButton(tr("&Modify Report"), this);
    NewButton = new QPushButton(tr("&New Report"), this);
    ViewButton->setDefault(true);
    buttons->addWidget(ViewButton, 0, 0);
    buttons->addWidget(PrintButton, 0, 1);
    buttons->addWidget(FileButton, 0, 2);
    buttons->addWidget(help, 0, 3);
    buttons->addWidget(exit, 0, 4);
    buttons->addWidget(ModifyButton, 1, 0, 1, 2);
    buttons->addWidget(NewButton, 1, 2, 1, 2);
    layout->addLayout(buttons);
    connect(ViewButton, &QPushButton::clicked, this, &TMyReport::ViewClick);
    connect(PrintButton, &QPushButton::clicked, this, &TMyReport::PrintClick);
    connect(FileButton, &QPushButton::clicked, this, &TMyReport::FileClick);
    connect(MediaGrid, &QTableWidget::cellDoubleClicked, this, &TMyReport::chooseMedia);
    ui::pressCellsWithSpace(MediaGrid, [this](int row, int column) {
        chooseMedia(row, column);
        return true;
    });
    connect(NewButton, &QPushButton::clicked, this, &TMyReport::NewClick);
    connect(ModifyButton, &QPushButton::clicked, this, &TMyReport::ModifyClick);
    app::setHelpKeyword(this, "Report Window"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Report Window"); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    LoadReportBox();
    // The stored choice, held to what the search allows.
    const int stored = m_context.settings.whatToPrint;
    QRadioButton* choice = stored == 2 ? SearchCriteria : stored == 3 ? FaceLabels : stored == 4 ? SpineLabels : EntireDatabase;
    const bool searching = m_context.searchMode && m_context.searchMode();
    SearchCriteria->setEnabled(searching);
    if (!searching && choice == SearchCriteria)
        choice = EntireDatabase;
    if (searching && choice == EntireDatabase)
        choice = SearchCriteria;
    choice->setChecked(true);
    const int last = m_context.settings.lastReport;
    ReportList->setCurrentRow(last >= 0 && last < ReportList->count() ? last : -1);
    applyMode();
    ui::applyWindowLook(this, m_context.settings, app::ReportWindowColors, m_context.scaleFactor);
    fitMediaGrid(); // in the window's own font
    if (y() > 10)
        move(x(), y() - 10);
}

void TMyReport::LoadReportBox()
{
    ReportList->clear();
    try {
        const report::DefinitionsFile file((m_context.programFolder + "/REELKP.URP").toStdString());
        const report::DefinitionsFile::Listing listing = file.list();
        for (const std::string& name : listing.names)
            ReportList->addItem(QString::fromStdString(db::cp1252ToUtf8(name)));
        // Damage is told once a window, not at every reload of the list.
        if (listing.damage && !m_damageTold) {
            m_damageTold = true;
            m_context.prompter.message(this, tr("Warning"), ui::errorText(*listing.damage),
                                       app::Prompter::Icon::Warning);
        }
    } catch (const std::exception&) {
        // A definitions file that cannot be read leaves the list empty.
    }
}

bool TMyReport::labelMode() const
{
    return FaceLabels->isChecked() || SpineLabels->isChecked();
}

void TMyReport::applyMode()
{
    const bool labels = labelMode();
    m_labelPanel->setVisible(labels);
    m_labelPanel->setEnabled(labels);
    AveryL7654->setEnabled(labels);
    m_reportPanel->setVisible(!labels);
    m_reportPanel->setEnabled(!labels);
    // Designing reports comes with the report designer.
    ModifyButton->setVisible(!labels);
    NewButton->setVisible(!labels);
    ModifyButton->setEnabled(!labels);
    NewButton->setEnabled(!labels);
    FileButton->setText(labels ? tr("Options") : tr("Print To &File"));
    if (labels)
        sizeGrid();
}

void TMyReport::whatToPrintChanged()
{
    m_context.settings.whatToPrint = EntireDatabase->isChecked() ? 1 : SearchCriteria->isChecked() ? 2
                                                                    : FaceLabels->isChecked()       ? 3
                                                                                                    : 4;
    applyMode();
}

void TMyReport::sizeGrid()
{
    const bool usa = Avery5199->isChecked();
    MediaGrid->setRowCount(8);
    if (SpineLabels->isChecked()) {
        if (!MediaGrid->item(7, 1))
            MediaGrid->setItem(7, 1, new QTableWidgetItem);
        MediaGrid->item(7, 1)->setText(usa ? tr(kNotUsed) : QString());
        for (int r = 0; r < 8; ++r)
            MediaGrid->setRowHidden(r, false);
    } else {
        // Rows beyond the sheet are hidden, not emptied: their cells keep their text.
        for (int r = 0; r < 8; ++r)
            MediaGrid->setRowHidden(r, r >= (usa ? 5 : 6));
    }
    fitMediaGrid();
}

void TMyReport::fitMediaGrid()
{
    // All eight rows and both columns in sight, "*NOT USED*" too: the grid never scrolls.
    MediaGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MediaGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MediaGrid->resizeRowsToContents();
    const int frame = 2 * MediaGrid->frameWidth();
    int height = frame;
    for (int r = 0; r < MediaGrid->rowCount(); ++r)
        height += MediaGrid->verticalHeader()->sectionSize(r);
    MediaGrid->setFixedSize(MediaGrid->columnWidth(0) + MediaGrid->columnWidth(1) + frame, height);
}

void TMyReport::fail(const QString& text, QWidget* focus)
{
    QApplication::beep();
    m_context.prompter.message(this, tr("Error"), text, app::Prompter::Icon::Warning);
    if (focus)
        focus->setFocus();
}

void TMyReport::ViewClick()
{
    if (labelMode())
        return DoItLabel(2);
    DoIt(2);
}

void TMyReport::PrintClick()
{
    if (labelMode())
        return DoItLabel(1);
    DoIt(1);
}

void TMyReport::FileClick()
{
    if (labelMode()) {
        TLabelOptions options(m_context.prompter, m_context.settings, this);
        m_context.runDialog(options);
        return;
    }
    const QString name = m_context.prompter.saveFileName(
        this, {tr("Save Report As a Text File"), tr("Text Files (*.TXT *.txt)"), "TXT", m_context.programFolder, true});
    if (!name.isEmpty())
        DoIt(3, name);
}

void TMyReport::DoIt(int mode, const QString& fileName)
{
    if (ReportList->currentRow() < 0 || !ReportList->currentItem())
        return fail(tr(kNoReport), ReportList);
    report::ReportDefinition definition;
    try {
        definition = report::DefinitionsFile((m_context.programFolder + "/REELKP.URP").toStdString())
                         .read(ReportList->currentRow());
    } catch (const std::exception&) {
        return fail(tr("Report format could not be located."), ReportList);
    }
    // A report of the whole collection ends a search for the run and restores it afterwards.
    const SearchPause pause(m_context, EntireDatabase->isChecked());

    report::RenderSettings settings;
    settings.mode = static_cast<report::RenderMode>(mode);
    settings.sortFields = {m_context.settings.sortKeys[0], m_context.settings.sortKeys[1],
                           m_context.settings.sortKeys[2], m_context.settings.sortKeys[3]};
    settings.numbers = m_context.numbers;
    settings.displayName = [this](int position) {
        return m_context.settings.fields[static_cast<size_t>(position - 1)].displayName;
    };
    settings.today = QString::fromStdString(db::formatShortDate(db::today()));
    std::unique_ptr<report::TextReportFile> text;
    try {
        if (mode == 3) {
            text = std::make_unique<report::TextReportFile>(fileName.toStdString());
            settings.text = &text->stream();
        }
    } catch (const std::exception& e) {
        return fail(ui::errorText(e), FileButton);
    }

    engine::ReportBytes stream;
    const RunEngine run = makeEngine(mode, stream, definition.landscape ? engine::poLandScape : engine::poPortrait);
    engine::TBaseReport* job = run.job.get();
    job->setTitle(tr("Test Report"));
    job->setErrorHandler(
        [this](const QString& message) { m_context.prompter.message(this, tr("Error"), message, app::Prompter::Icon::Error); });
    report::ReportRender render(definition, m_context.table, settings);
    render.attach(*job);
    TReportForm status(*job, this);
    if (text) {
        // The text file replaces its destination before the window says the report is complete.
        status.setFinish([&] {
            try {
                text->commit();
                return true;
            } catch (const std::exception& e) {
                fail(ui::errorText(e), FileButton);
                return false;
            }
        });
    }
    m_context.runDialog(status);
    if (!status.jobRan())
        status.RunJob(); // a runner that did not show the window still runs the job
    if (mode == 2 && !status.cancelled()) {
        TMyPreview preview({m_context.prompter, m_context.settings.reportViewingWindow, m_context.runDialog, &m_context.settings.lastPdfFolder}, &stream,
                           QString::fromStdString(db::cp1252ToUtf8(definition.name)), false, this);
        m_context.runDialog(preview);
    }
}

DesignerContext TMyReport::designerContext()
{
    return {m_context.prompter, m_context.settings, m_context.programFolder + "/REELKP.URP", m_context.runDialog,
            [this](int record) {
                LoadReportBox();
                ReportList->setCurrentRow(record >= 0 && record < ReportList->count() ? record : -1);
            }};
}

void TMyReport::NewClick()
{
    TUserReport designer(designerContext(), report::newDefinition(), -1, this);
    m_context.runDialog(designer);
}

void TMyReport::ModifyClick()
{
    if (ReportList->currentRow() < 0 || !ReportList->currentItem())
        return fail(tr(kNoReport), ReportList);
    report::ReportDefinition definition;
    try {
        definition = report::DefinitionsFile((m_context.programFolder + "/REELKP.URP").toStdString())
                         .read(ReportList->currentRow());
    } catch (const std::exception& e) {
        return fail(tr("Report format could not be located.\n\n%1").arg(ui::errorText(e)), ReportList);
    }
    TUserReport designer(designerContext(), definition, ReportList->currentRow(), this);
    m_context.runDialog(designer);
}

void TMyReport::chooseMedia(int row, int column)
{
    QTableWidgetItem* cell = MediaGrid->item(row, column);
    if (!cell || cell->text() == tr(kNotUsed))
        return;
    try {
        TChooseMedia chooser(m_context.table.filePath(), m_context.table.selectedIndex(), m_context.settings, this);
        if (m_context.runDialog(chooser) == QDialog::Accepted && !chooser.chosenMediaNumber().isEmpty())
            cell->setText(chooser.chosenMediaNumber().left(15));
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
}

void TMyReport::DoItLabel(int mode)
{
    const std::array<bool, 8>& flags = m_context.settings.labelItems;
    if (std::none_of(flags.begin(), flags.end(), [](bool on) { return on; }))
        return fail(tr("No items are selected for print.  Please select printing criteria via the \"Options\" button."),
                    FileButton);
    report::LabelSettings label;
    label.kind = report::labelKind(SpineLabels->isChecked(), Avery5199->isChecked());
    const report::LabelStock& stock = report::labelStock(label.kind);
    // Position n is the cell in column (n - 1) mod 2, row (n - 1) div 2.
    bool any = false;
    for (int n = 1; n <= stock.labels; ++n) {
        QTableWidgetItem* cell = MediaGrid->item((n - 1) / 2, (n - 1) % 2);
        const QString text = cell ? cell->text() : QString();
        label.cells.push_back(text);
        any = any || !text.trimmed().isEmpty();
    }
    if (!any)
        return fail(tr("No media numbers have been entered.  Please enter/choose some media numbers."), MediaGrid);
    label.items = report::labelItemsFromSettings(flags);
    label.font = m_context.settings.reportLabelFont;

    // Labels look at the whole collection: a search ends for the run.
    const SearchPause pause(m_context, true);
    engine::ReportBytes stream;
    const RunEngine run = makeEngine(mode, stream, engine::poPortrait, &stock);
    engine::TBaseReport* job = run.job.get();
    job->setTitle(tr("Labels"));
    job->setErrorHandler(
        [this](const QString& message) { m_context.prompter.message(this, tr("Error"), message, app::Prompter::Icon::Error); });
    report::LabelRender render(label, m_context.table);
    render.attach(*job);
    TReportFormLabel status(*job, this);
    m_context.runDialog(status);
    if (!status.jobRan())
        status.RunJob();
    if (mode == 2 && !status.cancelled()) {
        TMyPreview preview({m_context.prompter, m_context.settings.reportViewingWindow, m_context.runDialog, &m_context.settings.lastPdfFolder}, &stream,
                           SpineLabels->isChecked() ? tr("Spine Labels") : tr("Face Labels"), true, this);
        m_context.runDialog(preview);
    }
}

void TMyReport::done(int result)
{
    m_context.settings.lastReport = ReportList->currentItem() ? ReportList->currentRow() : -1;
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 8; ++r)
            if (QTableWidgetItem* item = MediaGrid->item(r, c))
                m_context.settings.labelCells[static_cast<size_t>(c * 8 + r)] = item->text().left(15);
    QDialog::done(result);
}

} // namespace report_ui
