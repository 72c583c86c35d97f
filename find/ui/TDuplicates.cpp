#include "TDuplicates.h"

#include "CoreText.h"
#include "HelpViewer.h"
#include "Table.h"
#include "WaitCursor.h"
#include "WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace find {

namespace {

// The columns shown for each record: the field and its heading.
const std::pair<const char*, const char*> kColumns[] = {
    {"Title", QT_TRANSLATE_NOOP("find::TDuplicates", "Title")},       {"Year", QT_TRANSLATE_NOOP("find::TDuplicates", "Year")},
    {"Format", QT_TRANSLATE_NOOP("find::TDuplicates", "Format")},     {"MediaNum", QT_TRANSLATE_NOOP("find::TDuplicates", "Media #")},
    {"Director", QT_TRANSLATE_NOOP("find::TDuplicates", "Director")}, {"Star1", QT_TRANSLATE_NOOP("find::TDuplicates", "Star 1")}};
constexpr int kRecordRole = Qt::UserRole + 1;
constexpr int kKeyRole = Qt::UserRole + 2;
constexpr int kGroupRole = Qt::UserRole + 3;
constexpr size_t kShown = 1000;        // groups listed: a list a person can go through
constexpr int kRowsOpenAtFirst = 500;  // the records shown open; larger groups open when clicked

std::vector<std::string> columnFields()
{
    std::vector<std::string> fields;
    for (const auto& [field, heading] : kColumns)
        fields.emplace_back(field);
    return fields;
}

} // namespace

// One search: the worker fills it and sets `finished`; the window reads it
// once it sees that.
struct TDuplicates::Job {
    DuplicateProgress progress;
    std::optional<FoundDuplicates> found;
    QString error;
    std::atomic<bool> finished{false};
};

TDuplicates::TDuplicates(DuplicatesContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Find Duplicates"));
    auto* layout = new QVBoxLayout(this);
    auto* options = new QHBoxLayout;
    SameYear = new QCheckBox(tr("Same &Year Only"), this);
    SameFormat = new QCheckBox(tr("Same F&ormat Only"), this);
    m_findButton = new QPushButton(tr("&Find"), this);
    options->addWidget(SameYear);
    options->addWidget(SameFormat);
    options->addStretch(1);
    options->addWidget(m_findButton);
    layout->addLayout(options);
    Groups = new QTreeWidget(this);
    Groups->setObjectName("DuplicateGroups");
    Groups->setAccessibleName(tr("Groups of duplicates"));
    Groups->setUniformRowHeights(true);
    QStringList headings{tr("Record")};
    for (const auto& [field, heading] : kColumns)
        headings << tr(heading);
    Groups->setHeaderLabels(headings);
    Groups->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(Groups, &QTreeWidget::itemDoubleClicked, this, [this] { EditClick(); });
    connect(Groups, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* top) { fillGroup(top); });
    layout->addWidget(Groups, 1);
    auto* searchRow = new QHBoxLayout;
    Status = new QLabel(this);
    Status->setObjectName("DuplicatesStatus");
    Progress = new QProgressBar(this);
    Progress->setRange(0, 1000);
    Progress->setTextVisible(false);
    StopButton = new QPushButton(tr("&Stop"), this);
    searchRow->addWidget(Status, 1);
    searchRow->addWidget(Progress, 1);
    searchRow->addWidget(StopButton);
    layout->addLayout(searchRow);
    auto* buttons = new QHBoxLayout;
    EditButton = new QPushButton(tr("&Edit"), this);
    DeleteButton = new QPushButton(tr("&Delete"), this);
    NotDuplicatesButton = new QPushButton(tr("&Not Duplicates"), this);
    auto* close = new QPushButton(tr("&Close"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    buttons->addStretch(1);
    for (QPushButton* b : {EditButton, DeleteButton, NotDuplicatesButton, close, help})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(m_findButton, &QPushButton::clicked, this, &TDuplicates::FindClick);
    connect(StopButton, &QPushButton::clicked, this, &TDuplicates::StopClick);
    connect(EditButton, &QPushButton::clicked, this, &TDuplicates::EditClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TDuplicates::DeleteClick);
    connect(NotDuplicatesButton, &QPushButton::clicked, this, &TDuplicates::NotDuplicatesClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    app::setHelpKeyword(this, "Find Duplicates"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Find Duplicates"); });
    m_poll = new QTimer(this);
    m_poll->setInterval(50);
    connect(m_poll, &QTimer::timeout, this, &TDuplicates::showProgress);
    m_worker = std::make_unique<QThreadPool>();
    m_worker->setMaxThreadCount(1);
    ui::applyWindowLook(this, m_context.settings, app::SearchWindowColors, m_context.scaleFactor);
    resize(static_cast<int>(760 * m_context.scaleFactor), static_cast<int>(440 * m_context.scaleFactor));
    ui::fitToScreen(this);
    FindClick();
}

TDuplicates::~TDuplicates()
{
    if (m_job)
        m_job->progress.cancel = true;
    m_worker->waitForDone(); // the worker holds the job alone, but reads the collection till it sees the stop
}

void TDuplicates::done(int result)
{
    StopClick(); // closing stops a search under way
    QDialog::done(result);
}

void TDuplicates::FindClick()
{
    StopClick();
    Groups->clear();
    m_groups.clear();
    const DuplicateOptions options{SameYear->isChecked(), SameFormat->isChecked()};
    auto job = std::make_shared<Job>();
    m_job = job;
    m_toLookAt = m_context.table.active() ? m_context.table.recordCount() : 0;
    for (QPushButton* b : {m_findButton, EditButton, DeleteButton, NotDuplicatesButton})
        b->setEnabled(false);
    Progress->setValue(0);
    Progress->setVisible(true);
    StopButton->setVisible(true);
    Status->setText(tr("Looking for duplicates..."));
    // A collection this program holds alone, or one in the middle of a batch
    // of appends, is read through the window's own table, as nothing else may
    // open it or sees what it holds yet.
    const bool ownTableOnly = m_context.table.openMode() == db::Table::OpenMode::Exclusive || m_context.table.inBatch();
    if (ownTableOnly) {
        try {
            const ui::WaitCursor wait;
            const db::Table::ControlsDisabled quiet(m_context.table); // the viewer does not follow the records read here
            job->found = findDuplicatesInTable(m_context.table, options, kShown, columnFields(), job->progress);
        } catch (const std::exception& e) {
            job->error = ui::errorText(e);
        }
        job->finished = true;
        showProgress();
        return;
    }
    // Otherwise the pass runs on a worker with a table of its own, so that the
    // windows go on answering and the search can be stopped.
    const std::string path = m_context.table.filePath();
    std::function<bool(const db::Record&)> accepts;
    if (m_context.shownRecords)
        accepts = m_context.shownRecords();
    m_worker->start([job, path, accepts, options] {
        try {
            job->found = findDuplicatesInFile(path, accepts, options, kShown, columnFields(), job->progress);
        } catch (const std::exception& e) {
            job->error = ui::errorText(e);
        }
        job->finished = true;
    });
    m_poll->start();
}

void TDuplicates::StopClick()
{
    if (!m_job)
        return;
    m_job->progress.cancel = true;
    m_worker->waitForDone(); // a stopped pass ends within a few thousand records
    endSearch();
    Status->setText(tr("Stopped."));
}

void TDuplicates::waitForSearch()
{
    while (m_job) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
        showProgress();
    }
}

void TDuplicates::endSearch()
{
    m_poll->stop();
    m_job.reset();
    Progress->setVisible(false);
    StopButton->setVisible(false);
    m_findButton->setEnabled(true);
    DeleteButton->setEnabled(m_context.deleteRecord != nullptr);
    EditButton->setEnabled(m_context.openRecord != nullptr);
    NotDuplicatesButton->setEnabled(true);
}

void TDuplicates::showProgress()
{
    if (!m_job)
        return;
    if (!m_job->finished) {
        const uint32_t looked = m_job->progress.looked;
        if (m_toLookAt > 0)
            Progress->setValue(static_cast<int>(std::min<uint64_t>(1000, uint64_t(looked) * 1000 / m_toLookAt)));
        Status->setText(tr("Looking for duplicates: %1 of %2 records...")
                            .arg(QLocale().toString(looked))
                            .arg(QLocale().toString(m_toLookAt)));
        return;
    }
    const std::shared_ptr<Job> job = m_job;
    endSearch();
    showFound(*job);
}

void TDuplicates::showFound(Job& job)
{
    if (!job.error.isEmpty() || !job.found) {
        Status->clear();
        if (!job.error.isEmpty())
            m_context.prompter.message(this, tr("Error"), job.error, app::Prompter::Icon::Error);
        return;
    }
    m_groups = std::move(job.found->groups);
    const size_t groupsFound = job.found->groupsFound;
    if (groupsFound > m_groups.size())
        setWindowTitle(tr("Find Duplicates (the largest %1 groups of %2)")
                           .arg(QLocale().toString(static_cast<qulonglong>(m_groups.size())))
                           .arg(QLocale().toString(static_cast<qulonglong>(groupsFound))));
    else
        setWindowTitle(tr("Find Duplicates"));
    size_t records = 0;
    for (const DuplicateGroup& group : m_groups)
        records += group.records.size();
    Status->setText(m_groups.empty() ? tr("No duplicates found.")
                                     : tr("Groups shown: %1, with %2 records.")
                                           .arg(QLocale().toString(static_cast<qulonglong>(m_groups.size())))
                                           .arg(QLocale().toString(static_cast<qulonglong>(records))));
    Groups->setUpdatesEnabled(false);
    int rowsOpen = 0;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        const DuplicateGroup& group = m_groups[g];
        auto* top = new QTreeWidgetItem(Groups, {tr("%n records", nullptr, static_cast<int>(group.records.size())),
                                                 QString::fromStdString(group.key)});
        top->setData(0, kKeyRole, QString::fromStdString(group.key));
        top->setData(0, kGroupRole, static_cast<qulonglong>(g));
        top->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        if (rowsOpen == 0 || rowsOpen + static_cast<int>(group.records.size()) <= kRowsOpenAtFirst) {
            rowsOpen += static_cast<int>(group.records.size());
            top->setExpanded(true); // fills it
        }
    }
    Groups->setUpdatesEnabled(true);
    Groups->resizeColumnToContents(0);
    if (Groups->topLevelItemCount() > 0)
        Groups->setCurrentItem(Groups->topLevelItem(0));
}

// A group's records are made into rows when it is first opened.
void TDuplicates::fillGroup(QTreeWidgetItem* top)
{
    if (top->parent() || top->childCount() > 0)
        return;
    const size_t g = top->data(0, kGroupRole).toULongLong();
    if (g >= m_groups.size())
        return;
    const DuplicateGroup& group = m_groups[g];
    std::vector<QStringList> rows;
    for (size_t r = 0; r < group.records.size(); ++r) {
        QStringList row{QString::number(group.records[r])};
        if (r < group.texts.size())
            for (const std::string& text : group.texts[r])
                row << QString::fromStdString(text);
        rows.push_back(row);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        auto* item = new QTreeWidgetItem(top, rows[r]);
        item->setData(0, kRecordRole, group.records[r]);
        // A value the other records of the group do not share is marked.
        for (int c = 1; c < rows[r].size(); ++c) {
            const bool differs = std::any_of(rows.begin(), rows.end(), [&](const QStringList& other) {
                return c < other.size() && other[c] != rows[r][c];
            });
            if (differs) {
                QFont bold = item->font(c);
                bold.setBold(true);
                item->setFont(c, bold);
            }
        }
    }
}

uint32_t TDuplicates::selectedRecord() const
{
    const QTreeWidgetItem* item = Groups->currentItem();
    return item && item->parent() ? item->data(0, kRecordRole).toUInt() : 0;
}

std::string TDuplicates::selectedGroupKey() const
{
    const QTreeWidgetItem* item = Groups->currentItem();
    if (item && item->parent())
        item = item->parent();
    return item ? item->data(0, kKeyRole).toString().toStdString() : std::string();
}

void TDuplicates::EditClick()
{
    if (const uint32_t record = selectedRecord(); record && m_context.openRecord) {
        m_context.openRecord(record);
        FindClick();
    }
}

void TDuplicates::DeleteClick()
{
    if (const uint32_t record = selectedRecord(); record && m_context.deleteRecord) {
        m_context.deleteRecord(record);
        FindClick();
    }
}

void TDuplicates::NotDuplicatesClick()
{
    const std::string key = selectedGroupKey();
    if (key.empty())
        return;
    try {
        NotDuplicates(m_context.table.filePath()).add(key);
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return;
    }
    FindClick();
}

} // namespace find
