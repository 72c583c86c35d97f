#include "TDuplicates.h"

#include "CoreText.h"
#include "Cp1252.h"
#include "HelpViewer.h"
#include "Table.h"
#include "WindowLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace find {

namespace {

// The columns shown for each record: the field and its heading.
const std::pair<const char*, const char*> kColumns[] = {
    {"Title", QT_TRANSLATE_NOOP("find::TDuplicates", "Title")},       {"Year", QT_TRANSLATE_NOOP("find::TDuplicates", "Year")},
    {"Format", QT_TRANSLATE_NOOP("find::TDuplicates", "Format")},     {"MediaNum", QT_TRANSLATE_NOOP("find::TDuplicates", "Media #")},
    {"Director", QT_TRANSLATE_NOOP("find::TDuplicates", "Director")}, {"Star1", QT_TRANSLATE_NOOP("find::TDuplicates", "Star 1")}};
constexpr int kRecordRole = Qt::UserRole + 1;
constexpr int kKeyRole = Qt::UserRole + 2;
constexpr size_t kShown = 1000;

} // namespace

TDuplicates::TDuplicates(DuplicatesContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Find Duplicates"));
    auto* layout = new QVBoxLayout(this);
    auto* options = new QHBoxLayout;
    SameYear = new QCheckBox(tr("Same &Year Only"), this);
    SameFormat = new QCheckBox(tr("Same F&ormat Only"), this);
    auto* find = new QPushButton(tr("&Find"), this);
    options->addWidget(SameYear);
    options->addWidget(SameFormat);
    options->addStretch(1);
    options->addWidget(find);
    layout->addLayout(options);
    Groups = new QTreeWidget(this);
    Groups->setObjectName("DuplicateGroups");
    Groups->setAccessibleName(tr("Groups of duplicates"));
    QStringList headings{tr("Record")};
    for (const auto& [field, heading] : kColumns)
        headings << tr(heading);
    Groups->setHeaderLabels(headings);
    Groups->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(Groups, &QTreeWidget::itemDoubleClicked, this, [this] { EditClick(); });
    layout->addWidget(Groups, 1);
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
    connect(find, &QPushButton::clicked, this, &TDuplicates::FindClick);
    connect(EditButton, &QPushButton::clicked, this, &TDuplicates::EditClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TDuplicates::DeleteClick);
    connect(NotDuplicatesButton, &QPushButton::clicked, this, &TDuplicates::NotDuplicatesClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Find Duplicates"); });
    DeleteButton->setEnabled(m_context.deleteRecord != nullptr);
    EditButton->setEnabled(m_context.openRecord != nullptr);
    ui::applyWindowLook(this, m_context.settings, app::SearchWindowColors, m_context.scaleFactor);
    resize(static_cast<int>(760 * m_context.scaleFactor), static_cast<int>(440 * m_context.scaleFactor));
    ui::fitToScreen(this);
    FindClick();
}

void TDuplicates::FindClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Groups->clear();
    m_groups.clear();
    try {
        const NotDuplicates kept(m_context.table.filePath());
        for (DuplicateGroup& group : findDuplicates(m_context.table, {SameYear->isChecked(), SameFormat->isChecked()}))
            if (!kept.contains(group.key))
                m_groups.push_back(std::move(group));
        std::vector<int> fields;
        for (const auto& [field, heading] : kColumns)
            fields.push_back(m_context.table.fieldIndex(field));
        const db::Table::Bookmark place = m_context.table.bookmark();
        m_context.table.disableControls(); // the viewer does not follow the records read here
        struct Enable {
            db::Table& table;
            ~Enable() { table.enableControls(); }
        } enable{m_context.table};
        // A list a person can go through: the largest groups first, as many as kShown.
        if (m_groups.size() > kShown) {
            setWindowTitle(tr("Find Duplicates (the largest %1 groups of %2)").arg(kShown).arg(m_groups.size()));
            m_groups.resize(kShown);
        } else {
            setWindowTitle(tr("Find Duplicates"));
        }
        for (const DuplicateGroup& group : m_groups) {
            auto* top = new QTreeWidgetItem(Groups, {tr("%n records", nullptr, static_cast<int>(group.records.size())),
                                                     QString::fromStdString(group.key)});
            top->setData(0, kKeyRole, QString::fromStdString(group.key));
            std::vector<QStringList> rows;
            for (const uint32_t rec : group.records) {
                QStringList row{QString::number(rec)};
                if (m_context.table.gotoBookmark(db::Table::Bookmark{rec, {}}))
                    for (const int field : fields)
                        row << (field < 0 ? QString()
                                          : QString::fromStdString(m_context.table.current().text(field)));
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
            top->setExpanded(true);
        }
        m_context.table.gotoBookmark(place);
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
        return;
    }
    QApplication::restoreOverrideCursor();
    Groups->resizeColumnToContents(0);
    if (Groups->topLevelItemCount() > 0)
        Groups->setCurrentItem(Groups->topLevelItem(0));
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
