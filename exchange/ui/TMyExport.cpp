#include "TMyExport.h"
#include "CellKeys.h"

#include "CoreText.h"
#include "Cp1252.h"
#include "DbError.h"
#include "HelpViewer.h"
#include "Schema.h"
#include "WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace exchange_ui {

namespace {
// The export's bar is red while it runs.
const QString kRunningGauge = QStringLiteral("QProgressBar::chunk { background-color: red; }");
} // namespace

namespace {

constexpr int kRows = db::kSchemaFieldCount;

QString yesNo(bool on)
{
    return on ? QCoreApplication::translate("exchange_ui::TMyExport", "Yes")
              : QCoreApplication::translate("exchange_ui::TMyExport", "No");
}

} // namespace

TMyExport::TMyExport(ExchangeContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Export"));
    auto* layout = new QHBoxLayout(this);
    const double unit = m_context.scaleFactor;

    Grid = new QTableWidget(kRows, 2, this);
    Grid->setObjectName("ExportGrid");
    Grid->setAccessibleName(tr("Fields to export"));
    Grid->setHorizontalHeaderLabels({tr("FIELD"), tr("EXPORT IT")});
    Grid->verticalHeader()->setVisible(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setColumnWidth(0, static_cast<int>(200 * unit));
    Grid->setColumnWidth(1, static_cast<int>(100 * unit));
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < 2; ++c)
            Grid->setItem(r, c, new QTableWidgetItem);
    fillGrid();
    Grid->setCurrentCell(0, 0);
    connect(Grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column == 1)
            toggleExport(row);
    });
    ui::pressCellsWithSpace(Grid, [this](int row, int column) {
        if (column == 1)
            toggleExport(row);
        return column == 1;
    });
    layout->addWidget(Grid, 1);

    auto* side = new QVBoxLayout;
    auto* ordering = new QLabel(tr("Field\nOrdering"), this);
    ordering->setAlignment(Qt::AlignCenter);
    side->addWidget(ordering);
    auto* upDown = new QHBoxLayout;
    auto* up = new QPushButton(tr("&Up"), this);
    auto* down = new QPushButton(tr("&Down"), this);
    upDown->addWidget(up);
    upDown->addWidget(down);
    side->addLayout(upDown);
    auto* defaults = new QPushButton(tr("D&efaults"), this);
    side->addWidget(defaults);
    side->addWidget(new QLabel(tr("NOTES"), this));
    auto* hint = new QLabel(tr("To have a field included in the export, select \"Yes\".  To exclude it, select \"No\".  "
                            "Double click on the field to toggle between Yes and No."),
                            this);
    hint->setWordWrap(true);
    side->addWidget(hint);

    auto* what = new QGroupBox(tr("What to Export"), this);
    auto* whatLayout = new QVBoxLayout(what);
    EntireDatabase = new QRadioButton(tr("Export Entire Database"), what);
    SearchCriteria = new QRadioButton(tr("Export Search Criteria"), what);
    whatLayout->addWidget(EntireDatabase);
    whatLayout->addWidget(SearchCriteria);
    const bool searching = m_context.searchMode && m_context.searchMode();
    (searching ? SearchCriteria : EntireDatabase)->setChecked(true);
    SearchCriteria->setEnabled(searching);
    side->addWidget(what);

    auto* how = new QGroupBox(tr("How To Export"), this);
    auto* howLayout = new QVBoxLayout(how);
    AsciiButton = new QRadioButton(tr("Ascii Delimited Text File"), how);
    DbaseButton = new QRadioButton(tr("DBase File (DBF)"), how);
    FirstRecordNames = new QCheckBox(tr("&First Record Contains Field Names"), how);
    FirstRecordNames->setChecked(m_context.settings.exportFirstRow);
    // Hidden for a dBASE file, its room is kept: showing it again moves nothing and overlaps nothing.
    QSizePolicy keepRoom = FirstRecordNames->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    FirstRecordNames->setSizePolicy(keepRoom);
    TellicoButton = new QRadioButton(tr("Tellico File (TC, XML)"), how);
    HtmlButton = new QRadioButton(tr("HTML Catalogue"), how);
    KodiButton = new QRadioButton(tr("Kodi Movie Library (NFO)"), how);
    WithCovers = new QCheckBox(tr("&With the covers of the films"), how);
    WithCovers->setChecked(m_context.settings.exportCovers);
    WithCovers->setSizePolicy(keepRoom);
    howLayout->addWidget(AsciiButton);
    howLayout->addWidget(DbaseButton);
    howLayout->addWidget(TellicoButton);
    howLayout->addWidget(HtmlButton);
    howLayout->addWidget(KodiButton);
    howLayout->addWidget(FirstRecordNames);
    howLayout->addWidget(WithCovers);
    const std::array<QRadioButton*, 5> kinds{AsciiButton, DbaseButton, TellicoButton, HtmlButton, KodiButton};
    const int stored = m_context.settings.exportFileType;
    kinds[static_cast<size_t>(stored >= 1 && stored <= 5 ? stored - 1 : 0)]->setChecked(true);
    howToExportChanged();
    for (QRadioButton* kind : kinds)
        connect(kind, &QRadioButton::toggled, this, [this] { howToExportChanged(); });
    connect(FirstRecordNames, &QCheckBox::clicked, this, [this](bool on) { m_context.settings.exportFirstRow = on; });
    connect(WithCovers, &QCheckBox::clicked, this, [this](bool on) { m_context.settings.exportCovers = on; });
    side->addWidget(how);

    side->addWidget(new QLabel(tr("Export Progress"), this));
    Gauge = new QProgressBar(this);
    Gauge->setObjectName("ExportGauge");
    Gauge->setStyleSheet(kRunningGauge);
    Gauge->setRange(0, 1);
    Gauge->setValue(0);
    side->addWidget(Gauge);
    side->addStretch();
    StartButton = new QPushButton(tr("&Start Export"), this);
    auto* exit = new QPushButton(tr("E&xit"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    for (QPushButton* b : {StartButton, exit, help})
        side->addWidget(b);
    layout->addLayout(side);

    connect(up, &QPushButton::clicked, this, &TMyExport::UpClick);
    connect(down, &QPushButton::clicked, this, &TMyExport::DownClick);
    connect(defaults, &QPushButton::clicked, this, &TMyExport::DefaultsClick);
    connect(StartButton, &QPushButton::clicked, this, &TMyExport::StartExportClick);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    app::setHelpKeyword(this, "Export Window"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Export Window"); });
    ui::applyWindowLook(this, m_context.settings, app::ConfigureWindowColors, m_context.scaleFactor);
    // The designed size, or more where the side column needs it at this screen size: nothing is squeezed.
    resize(QSize(static_cast<int>(600 * unit), static_cast<int>(480 * unit)).expandedTo(sizeHint()));
    ui::fitToScreen(this);
}

void TMyExport::fillGrid()
{
    for (int k = 0; k < kRows; ++k) {
        const app::FieldSettings& field = m_context.settings.fields[static_cast<size_t>(k)];
        const int row = field.exportOrder - 1;
        if (row < 0 || row >= kRows)
            continue;
        Grid->item(row, 0)->setText(field.displayName);
        Grid->item(row, 1)->setText(yesNo(field.exported));
    }
}

std::vector<exchange::ExportField> TMyExport::viewerColumns() const
{
    // The viewer's columns under the viewer's names: a catalogue reads as the collection looks.
    std::vector<exchange::ExportLayoutEntry> layout;
    std::vector<std::string> labels;
    for (const app::FieldSettings& field : m_context.settings.fields) {
        layout.push_back({field.order, field.display});
        labels.push_back(field.displayName.toStdString());
    }
    return exchange::exportList(layout, labels, m_context.table);
}

void TMyExport::howToExportChanged()
{
    const bool ascii = AsciiButton->isChecked();
    FirstRecordNames->setVisible(ascii);
    FirstRecordNames->setEnabled(ascii);
    // The catalogues of other programs and the web page carry pictures; a table of text does not.
    const bool pictured = TellicoButton->isChecked() || HtmlButton->isChecked() || KodiButton->isChecked();
    WithCovers->setVisible(pictured);
    WithCovers->setEnabled(pictured);
    // A Tellico file holds every field, an HTML catalogue the viewer's columns, a Kodi library
    // what Kodi keeps: the grid chooses for none of them.
    Grid->setEnabled(ascii || DbaseButton->isChecked());
}

void TMyExport::swapRows(int a, int b)
{
    for (int column = 0; column < 2; ++column) {
        QTableWidgetItem* first = Grid->takeItem(a, column);
        QTableWidgetItem* second = Grid->takeItem(b, column);
        Grid->setItem(a, column, second);
        Grid->setItem(b, column, first);
    }
    Grid->setCurrentCell(b, std::max(0, Grid->currentColumn()));
}

void TMyExport::UpClick()
{
    const int row = Grid->currentRow();
    if (row > 0)
        swapRows(row, row - 1);
}

void TMyExport::DownClick()
{
    const int row = Grid->currentRow();
    if (row >= 0 && row < kRows - 1)
        swapRows(row, row + 1);
}

void TMyExport::DefaultsClick()
{
    if (m_context.prompter.ask(this, tr("Re-Order"), tr("This will set the order of fields to the program defaults.  Continue?"),
                               app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
        != app::Prompter::Answer::Yes)
        return;
    for (int k = 0; k < kRows; ++k) {
        Grid->item(k, 0)->setText(m_context.settings.fields[static_cast<size_t>(k)].displayName);
        Grid->item(k, 1)->setText(tr("Yes"));
    }
}

void TMyExport::toggleExport(int row)
{
    QTableWidgetItem* item = Grid->item(row, 1);
    item->setText(item->text() == tr("Yes") ? tr("No") : tr("Yes"));
}

void TMyExport::UpdateConfigs()
{
    for (app::FieldSettings& field : m_context.settings.fields) {
        for (int r = 0; r < kRows; ++r) {
            if (Grid->item(r, 0)->text() != field.displayName)
                continue;
            field.exportOrder = r + 1;
            field.exported = Grid->item(r, 1)->text() == yesNo(true);
            break;
        }
    }
}

std::vector<exchange::ExportField> TMyExport::CalcIndexOrder()
{
    UpdateConfigs();
    std::vector<exchange::ExportLayoutEntry> layout;
    std::vector<std::string> labels;
    for (const app::FieldSettings& field : m_context.settings.fields) {
        layout.push_back({field.exportOrder, field.exported});
        labels.push_back(field.displayName.toStdString());
    }
    return exchange::exportList(layout, labels, m_context.table);
}

void TMyExport::StartExportClick()
{
    const std::vector<exchange::ExportField> fields = CalcIndexOrder();
    const bool searchOnly = !EntireDatabase->isChecked();
    if (fields.empty()) {
        m_context.prompter.message(this, tr("Error"), tr("No fields selected for export."), app::Prompter::Icon::Error);
        return;
    }
    const int kind = exportKind();
    const bool dbase = kind == 2;
    static const char* const kFilters[] = {QT_TR_NOOP("Ascii Delimited Text (*.TXT *.txt)"), QT_TR_NOOP("DBase (*.DBF *.dbf)"),
                                           QT_TR_NOOP("Tellico (*.tc *.xml *.XML)"), QT_TR_NOOP("HTML (*.html *.htm)"), ""};
    static const char* const kSuffixes[] = {"TXT", "DBF", "tc", "html", ""};
    app::Prompter::FileDialog dialog{kind == 5 ? tr("Export into Folder") : tr("Export Data"), kind == 5 ? QString() : tr(kFilters[kind - 1]),
                                     kSuffixes[kind - 1], m_context.settings.lastExportFile};
    dialog.confirmOverwrite = true;
    // A Kodi library is a folder of folders, one for each film.
    const QString chosen = kind == 5 ? m_context.prompter.folderName(this, dialog) : m_context.prompter.saveFileName(this, dialog);
    if (chosen.isEmpty())
        return;
    if (dbase && chosen.right(4).toUpper() != ".DBF") {
        m_context.prompter.message(this, tr("Error"), tr("Invalid file type selected."), app::Prompter::Icon::Error);
        return;
    }
    m_context.settings.lastExportFile = kind == 5 ? chosen : QFileInfo(chosen).absolutePath();

    // The whole collection while a search is on: the search ends for the export and comes back after it.
    const bool searchEnded = !searchOnly && m_context.searchMode && m_context.searchMode();
    if (searchEnded)
        m_context.endSearch();
    const std::optional<exchange::ExportResult> written = exportTo(chosen, kind, fields);
    if (searchEnded)
        m_context.restoreSearch();
    if (written) {
        // The full bar is done, not alarm red, while the message says what was written.
        Gauge->setStyleSheet(QString());
        m_context.prompter.message(this, tr("Ok"), exportMessage(*written, chosen, kind),
                                   written->coversNotWritten.empty() ? app::Prompter::Icon::Information : app::Prompter::Icon::Warning);
        Gauge->setValue(0);
        accept();
    }
}

void TMyExport::reject()
{
    if (!m_running)
        QDialog::reject();
}

int TMyExport::exportKind() const
{
    return DbaseButton->isChecked() ? 2 : TellicoButton->isChecked() ? 3 : HtmlButton->isChecked() ? 4 : KodiButton->isChecked() ? 5 : 1;
}

QString TMyExport::exportMessage(const exchange::ExportResult& result, const QString& path, int kind) const
{
    const QLocale locale;
    QString text = tr("Export Complete.") + "\n\n"
                   + (result.written == 1 ? tr("%1 record written to %2.") : tr("%1 records written to %2."))
                         .arg(locale.toString(static_cast<qulonglong>(result.written)), QFileInfo(path).fileName());
    if (kind >= 3 && WithCovers->isChecked())
        text += "\n" + (result.covers == 1 ? tr("%1 cover taken along.") : tr("%1 covers taken along."))
                           .arg(locale.toString(static_cast<qulonglong>(result.covers)));
    if (!result.coversNotWritten.empty()) {
        text += "\n\n" + (result.coversNotWritten.size() == 1 ? tr("%1 cover could not be written:") : tr("%1 covers could not be written:"))
                             .arg(locale.toString(static_cast<qulonglong>(result.coversNotWritten.size())));
        constexpr size_t kNamed = 10;
        for (size_t i = 0; i < std::min(kNamed, result.coversNotWritten.size()); ++i)
            text += "\n" + QString::fromStdString(result.coversNotWritten[i]);
    }
    return text;
}

std::optional<exchange::ExportResult> TMyExport::exportTo(const QString& path, int kind, const std::vector<exchange::ExportField>& fields)
{
    m_running = true;
    Gauge->setStyleSheet(kRunningGauge);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Gauge->setRange(0, static_cast<int>(std::min<uint32_t>(m_context.table.recordCount(), INT32_MAX)));
    Gauge->setValue(0);
    KeepAnswering answering;
    exchange::ExportOptions options;
    options.header = m_context.settings.exportFirstRow;
    options.speak = ui::speakerFor("exchange");
    options.withCovers = WithCovers->isChecked();
    // Every few hundred records. A text export in an index's order counts
    // its lines a pass at a time, but asks at every record all the same.
    uint64_t shown = 0;
    int asked = 0;
    options.progress = [&](uint64_t written) {
        if (written >= shown + 256 || ++asked == 256) {
            shown = written;
            asked = 0;
            Gauge->setValue(static_cast<int>(std::min<uint64_t>(written, INT32_MAX)));
            answering.now();
        }
        return true;
    };
    QString failure;
    exchange::ExportResult result;
    try {
        switch (kind) {
        case 2: result = exchange::exportDbf(m_context.table, fields, path.toStdString(), options); break;
        case 3: result = exchange::exportTellico(m_context.table, path.toStdString(), options); break;
        case 4:
            result = exchange::exportHtml(m_context.table, viewerColumns(), path.toStdString(),
                                          exchange::catalogueTitle(m_context.table.filePath()), options);
            break;
        case 5: result = exchange::exportKodi(m_context.table, path.toStdString(), options); break;
        default: result = exchange::exportDelimited(m_context.table, fields, path.toStdString(), options);
        }
        // The bar moves every few hundred records: at the end it shows all of them.
        const int written = static_cast<int>(std::min<uint64_t>(result.written, INT32_MAX));
        Gauge->setRange(0, std::max(written, 1));
        Gauge->setValue(std::max(written, 1));
    } catch (const std::exception& e) {
        failure = ui::errorText(e);
    }
    QApplication::restoreOverrideCursor();
    m_running = false;
    if (!failure.isEmpty()) {
        Gauge->setValue(0);
        m_context.prompter.message(this, tr("Error"), failure, app::Prompter::Icon::Error);
        return std::nullopt;
    }
    return result;
}

void TMyExport::done(int result)
{
    m_context.settings.exportFileType = exportKind();
    UpdateConfigs();
    QDialog::done(result);
}

} // namespace exchange_ui
