#include "TMyImport.h"
#include "CellKeys.h"

#include "CoreText.h"
#include "HeaderMatch.h"
#include "HelpViewer.h"
#include "Schema.h"
#include "WindowLook.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace exchange_ui {

TMyImport::TMyImport(ExchangeContext context, exchange::ImportSource source, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
    , m_source(std::move(source))
{
    const bool ascii = m_source.kind == exchange::ImportKind::Ascii;
    setWindowTitle(ascii ? tr("Ascii Delimited Text Import") : tr("DBase File Import"));
    auto* layout = new QHBoxLayout(this);

    // One row per collection field or import field, whichever are more.
    const int fields = static_cast<int>(m_source.fieldNames.size());
    const int rows = std::max(db::kSchemaFieldCount, fields);
    Grid = new QTableWidget(rows, 3, this);
    Grid->setObjectName("ImportGrid");
    Grid->setAccessibleName(tr("Fields to import"));
    Grid->setHorizontalHeaderLabels({tr("REELKEEPER FIELDS"), tr("IMPORT FIELDS"), tr("USE")});
    Grid->verticalHeader()->setVisible(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    const double unit = m_context.scaleFactor;
    Grid->setColumnWidth(0, static_cast<int>(179 * unit));
    Grid->setColumnWidth(1, static_cast<int>(179 * unit));
    Grid->setColumnWidth(2, static_cast<int>(38 * unit));
    // All three columns in sight, side by side.
    Grid->setMinimumWidth(Grid->columnWidth(0) + Grid->columnWidth(1) + Grid->columnWidth(2)
                          + Grid->verticalScrollBar()->sizeHint().width() + 2 * Grid->frameWidth());
    Grid->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < rows; ++r) {
        const QString field = r < db::kSchemaFieldCount ? m_context.settings.fields[static_cast<size_t>(r)].displayName : "";
        Grid->setItem(r, 0, new QTableWidgetItem(field));
    }
    connect(Grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column == 2)
            toggleUse(row);
    });
    ui::pressCellsWithSpace(Grid, [this](int row, int column) {
        if (column == 2)
            toggleUse(row);
        return column == 2;
    });
    // The first records as they would be stored, under the fields that receive them.
    Preview = new QTableWidget(0, 0, this);
    Preview->setObjectName("ImportPreview");
    Preview->setAccessibleName(tr("Preview"));
    Preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Preview->verticalHeader()->setVisible(false);
    // One line a record, all five in sight.
    Preview->setWordWrap(false);
    Preview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Preview->verticalHeader()->setDefaultSectionSize(Preview->fontMetrics().height() + 6);
    Preview->setMinimumHeight(Preview->horizontalHeader()->sizeHint().height() + 5 * (Preview->fontMetrics().height() + 6)
                              + Preview->horizontalScrollBar()->sizeHint().height() + 2 * Preview->frameWidth());
    auto* left = new QVBoxLayout;
    left->addWidget(Grid, 3);
    auto* previewLabel = new QLabel(tr("The first records as they will be stored:"), this);
    left->addWidget(previewLabel);
    left->addWidget(Preview, 1);
    layout->addLayout(left, 1);

    auto* side = new QVBoxLayout;
    auto* fieldLabel = new QLabel(tr("Field\nAlignment"), this);
    fieldLabel->setAlignment(Qt::AlignCenter);
    side->addWidget(fieldLabel);
    auto* up = new QPushButton(tr("&Up"), this);
    auto* down = new QPushButton(tr("&Down"), this);
    side->addWidget(up);
    side->addWidget(down);
    SkipFirstRecord = new QCheckBox(tr("Skip First Record"), this);
    SkipFirstRecord->setChecked(m_context.settings.importSkipFirst);
    SkipFirstRecord->setVisible(ascii);
    SkipFirstRecord->setEnabled(ascii);
    connect(SkipFirstRecord, &QCheckBox::clicked, this, [this](bool on) {
        m_context.settings.importSkipFirst = on;
        arrangeRows(); // the first line's names now match columns, or no longer do
    });
    side->addWidget(SkipFirstRecord);
    // A newer export of the same list adds only what is new.
    SkipExisting = new QCheckBox(tr("Leave Out Videos Already Held"), this);
    SkipExisting->setObjectName("SkipExisting");
    side->addWidget(SkipExisting);
    auto* countLabel = new QLabel(tr("Import\nCount"), this);
    countLabel->setAlignment(Qt::AlignCenter);
    side->addWidget(countLabel);
    CountBox = new QLineEdit(this);
    CountBox->setObjectName("CountBox");
    CountBox->setAccessibleName(tr("Import Count"));
    CountBox->setReadOnly(true);
    side->addWidget(CountBox);
    Busy = new QProgressBar(this);
    Busy->setRange(0, 1);
    Busy->setValue(0);
    Busy->setTextVisible(false);
    side->addWidget(Busy);
    auto* hint = new QLabel(tr("Use the \"Up\" and \"Down\" buttons to match up the Reelkeeper fields with the Import "
                            "Fields.  Select \"Yes\"  to include it.  Double click on the \"USE\" field to toggle between "
                            "Yes and No."),
                            this);
    hint->setWordWrap(true);
    side->addWidget(hint);
    side->addStretch();
    StartButton = new QPushButton(tr("&Start Import"), this);
    CancelButton = new QPushButton(tr("&Cancel Import"), this);
    CancelButton->setEnabled(false);
    ExitButton = new QPushButton(tr("E&xit"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    for (QPushButton* b : {StartButton, CancelButton, ExitButton, help})
        side->addWidget(b);
    layout->addLayout(side);

    connect(up, &QPushButton::clicked, this, &TMyImport::UpClick);
    connect(down, &QPushButton::clicked, this, &TMyImport::DownClick);
    connect(StartButton, &QPushButton::clicked, this, &TMyImport::StartImportClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] { m_cancelRequested = true; });
    connect(ExitButton, &QPushButton::clicked, this, &QDialog::reject);
    app::setHelpKeyword(this, "Import Window"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Import Window"); });
    ui::applyWindowLook(this, m_context.settings, app::ConfigureWindowColors, m_context.scaleFactor);
    resize(static_cast<int>(640 * unit), static_cast<int>(560 * unit));
    arrangeRows();
}

void TMyImport::arrangeRows()
{
    const bool namesFirst = m_source.kind == exchange::ImportKind::Ascii && SkipFirstRecord->isChecked();
    std::vector<std::string> displayNames;
    for (const auto& field : m_context.settings.fields)
        displayNames.push_back(field.displayName.toStdString());
    const exchange::ImportMap map = exchange::startingMap(m_source, namesFirst, displayNames);
    const int fields = static_cast<int>(m_source.fieldNames.size());
    // Matched columns stand beside their fields; the others fill the free rows in order, in use
    // only when nothing matched (each column then goes to the field in its place).
    bool anyMatched = false;
    for (int i = 0; i < fields && !anyMatched; ++i)
        anyMatched = map[static_cast<size_t>(i)] != 0 && map[static_cast<size_t>(i)] != i + 1;
    std::vector<int> columnAt(static_cast<size_t>(Grid->rowCount()), -1);
    std::vector<bool> useAt(columnAt.size(), false);
    std::vector<int> rest;
    for (int i = 0; i < fields; ++i) {
        const int position = map[static_cast<size_t>(i)];
        if (position > 0) {
            columnAt[static_cast<size_t>(position - 1)] = i;
            useAt[static_cast<size_t>(position - 1)] = true;
        } else {
            rest.push_back(i);
        }
    }
    size_t next = 0;
    for (size_t r = 0; r < columnAt.size() && next < rest.size(); ++r)
        if (columnAt[r] < 0) {
            columnAt[r] = rest[next++];
            useAt[r] = !anyMatched;
        }
    for (int r = 0; r < Grid->rowCount(); ++r) {
        const int column = columnAt[static_cast<size_t>(r)];
        const bool used = column >= 0;
        Grid->setItem(r, 1, new QTableWidgetItem(used ? QString::fromStdString(m_source.fieldNames[static_cast<size_t>(column)])
                                                      : tr("<EMPTY>")));
        Grid->setItem(r, 2, new QTableWidgetItem(!used ? "" : useAt[static_cast<size_t>(r)] ? tr("Yes") : tr("No")));
    }
    Grid->setCurrentCell(0, 1);
    showPreview();
}

void TMyImport::showPreview()
{
    const bool namesFirst = m_source.kind == exchange::ImportKind::Ascii && SkipFirstRecord->isChecked();
    if (!m_previewRead || m_previewSkipsFirst != namesFirst) {
        m_previewRecords = exchange::firstRecords(m_source, namesFirst, 5);
        m_previewRead = true;
        m_previewSkipsFirst = namesFirst;
    }
    const exchange::ImportMap map = importMap();
    QStringList headers;
    std::vector<std::pair<size_t, int>> shown; // column, schema position
    for (int position = 1; position <= db::kSchemaFieldCount; ++position)
        for (size_t column = 0; column < map.size(); ++column)
            if (map[column] == position) {
                headers << m_context.settings.fields[static_cast<size_t>(position - 1)].displayName;
                shown.emplace_back(column, position);
                break;
            }
    Preview->clear();
    Preview->setColumnCount(static_cast<int>(shown.size()));
    Preview->setRowCount(static_cast<int>(m_previewRecords.size()));
    Preview->setHorizontalHeaderLabels(headers);
    for (size_t r = 0; r < m_previewRecords.size(); ++r)
        for (size_t c = 0; c < shown.size(); ++c) {
            const auto& values = m_previewRecords[r];
            const std::string value = shown[c].first < values.size() ? values[shown[c].first] : std::string();
            Preview->setItem(static_cast<int>(r), static_cast<int>(c),
                             new QTableWidgetItem(QString::fromStdString(
                                 exchange::storedPreview(value, shown[c].second, m_context.table.encoding()))));
        }
}

void TMyImport::reject()
{
    if (!m_running)
        QDialog::reject();
}

void TMyImport::swapRows(int a, int b)
{
    for (int column = 1; column <= 2; ++column) {
        QTableWidgetItem* first = Grid->takeItem(a, column);
        QTableWidgetItem* second = Grid->takeItem(b, column);
        Grid->setItem(a, column, second);
        Grid->setItem(b, column, first);
    }
    Grid->setCurrentCell(b, Grid->currentColumn() < 0 ? 1 : Grid->currentColumn());
    showPreview();
}

void TMyImport::UpClick()
{
    const int row = Grid->currentRow();
    if (row > 0)
        swapRows(row, row - 1);
}

void TMyImport::DownClick()
{
    const int row = Grid->currentRow();
    if (row >= 0 && row < Grid->rowCount() - 1)
        swapRows(row, row + 1);
}

void TMyImport::toggleUse(int row)
{
    QTableWidgetItem* use = Grid->item(row, 2);
    if (use->text() == tr("Yes"))
        use->setText(tr("No"));
    else if (use->text() == tr("No"))
        use->setText(tr("Yes"));
    showPreview();
}

exchange::ImportMap TMyImport::importMap() const
{
    std::vector<exchange::ImportRow> rows;
    for (int r = 0; r < Grid->rowCount(); ++r)
        rows.push_back({Grid->item(r, 1)->text().toStdString(), Grid->item(r, 2)->text() == tr("Yes")});
    return exchange::importMapOf(m_source.fieldNames, rows);
}

void TMyImport::StartImportClick()
{
    if (m_running)
        return;
    m_running = true;
    m_cancelRequested = false;
    StartButton->setEnabled(false);
    ExitButton->setEnabled(false);
    CancelButton->setEnabled(true);
    Busy->setRange(0, 0); // a moving bar: how long a text file runs is not known beforehand
    KeepAnswering answering;
    exchange::ImportOptions options;
    options.skipFirst = m_source.kind == exchange::ImportKind::Ascii && SkipFirstRecord->isChecked();
    options.skipExisting = SkipExisting->isChecked();
    options.coverLimits = covers::CoverLimits::sized(m_context.settings.coverLongestSide, m_context.settings.coverJpegQuality);
    options.progress = [&](uint64_t imported) {
        if (imported % 256 == 0) {
            CountBox->setText(QString::number(imported));
            answering.now();
        }
        return !m_cancelRequested;
    };
    const exchange::ImportResult result = exchange::importRecords(m_context.table, m_source, importMap(), options);
    CountBox->setText(QString::number(result.imported));
    Busy->setRange(0, 1);
    m_running = false;
    CancelButton->setEnabled(false);
    const bool failed = !result.error.empty();
    m_context.prompter.message(this, failed ? tr("Error") : tr("Ok"), QString::fromStdString(exchange::importMessage(result, ui::speakerFor("exchange"))),
                               failed ? app::Prompter::Icon::Error : app::Prompter::Icon::Information);
    accept();
}

} // namespace exchange_ui
