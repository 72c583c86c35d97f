#include "ViewerModel.h"

#include "Ascii.h"
#include "CoreText.h"
#include "Cp1252.h"
#include "DbError.h"

namespace app {

namespace {
constexpr int kCachedRows = 512;
constexpr uint32_t kFirstRows = 200;   // rows listed at once through a search
constexpr uint32_t kMoreRows = 1000;   // and each time the view wants more
}

ViewerModel::ViewerModel(db::Table& table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
}


void ViewerModel::setColumns(std::vector<Column> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_rows.clear();
    endResetModel();
}

void ViewerModel::setFieldEditing(bool on)
{
    beginResetModel();
    m_fieldEditing = on;
    endResetModel();
}

void ViewerModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_checkOut = m_viewed = -1;
    try {
        m_lazy = m_table.active() && m_table.filtered();
        if (m_lazy)
            m_count = static_cast<int>(m_table.listPositions(kFirstRows));
        else
            m_count = m_table.active() ? static_cast<int>(m_table.recordCount()) : 0;
        if (m_table.active()) {
            m_checkOut = m_table.fieldIndex("CheckOut");
            m_viewed = m_table.fieldIndex("Viewed");
        }
    } catch (const std::exception& e) {
        m_count = 0;
        if (m_onError)
            m_onError(ui::errorText(e));
    }
    m_generation = m_table.generation();
    endResetModel();
}

int ViewerModel::currentRow()
{
    if (!m_table.active())
        return -1;
    if (m_table.state() == db::Table::State::Insert)
        return m_count;
    if (m_table.isEmpty())
        return -1;
    try {
        return static_cast<int>(m_table.currentPosition());
    } catch (const std::exception&) {
        return -1;
    }
}

bool ViewerModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_lazy && m_table.active() && !m_table.allPositionsListed();
}

void ViewerModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    try {
        ensureRow(static_cast<int>(m_table.listPositions(static_cast<uint32_t>(m_count) + kMoreRows)) - 1);
    } catch (const std::exception& e) {
        if (m_onError)
            m_onError(ui::errorText(e));
    }
}

void ViewerModel::ensureRow(int row)
{
    if (row < m_count)
        return;
    const int listed = m_lazy ? static_cast<int>(m_table.listPositions(static_cast<uint32_t>(row) + 1)) : row + 1;
    if (listed <= m_count)
        return;
    beginInsertRows({}, m_count, listed - 1);
    m_count = listed;
    endInsertRows();
}

int ViewerModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_count + (m_table.active() && m_table.state() == db::Table::State::Insert ? 1 : 0);
}

int ViewerModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

bool ViewerModel::isEditedRow(int row) const
{
    if (!m_table.active())
        return false;
    switch (m_table.state()) {
    case db::Table::State::Insert: return row == m_count;
    case db::Table::State::Edit: return row == const_cast<ViewerModel*>(this)->currentRow();
    default: return false;
    }
}

const std::vector<char>* ViewerModel::rowBytes(int row) const
{
    if (m_generation != m_table.generation()) {
        m_rows.clear();
        m_generation = m_table.generation();
    }
    auto it = m_rows.find(row);
    if (it != m_rows.end())
        return &it.value();
    if (m_rows.size() >= kCachedRows)
        m_rows.clear();
    std::vector<char> bytes;
    uint32_t recNo = 0;
    try {
        if (!m_table.recordAtPosition(static_cast<uint32_t>(row), bytes, recNo))
            return nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
    return &m_rows.insert(row, std::move(bytes)).value();
}

bool ViewerModel::isYesNoField(int field) const
{
    return m_fieldEditing && (field == m_checkOut || field == m_viewed);
}

QVariant ViewerModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_table.active() || index.column() >= static_cast<int>(m_columns.size()))
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole)
        return {};
    const int field = m_columns[static_cast<size_t>(index.column())].field;
    std::string text;
    if (isEditedRow(index.row())) {
        text = m_table.current().text(field);
    } else {
        const std::vector<char>* bytes = rowBytes(index.row());
        if (!bytes)
            return {};
        db::Record(&m_table.fields(), bytes->data()).text(field, text);
    }
    if (isYesNoField(field)) {
        if (role == Qt::CheckStateRole)
            return db::sameLetters(text, "Yes") ? Qt::Checked : Qt::Unchecked; // "YES" and "yes" too
        return {};
    }
    if (role == Qt::CheckStateRole)
        return {};
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant ViewerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < static_cast<int>(m_columns.size()) ? m_columns[static_cast<size_t>(section)].title : QVariant();
    // The row indicator marks the current record.
    return section == const_cast<ViewerModel*>(this)->currentRow() ? QString(QChar(0x25B6)) : QString();
}

Qt::ItemFlags ViewerModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_fieldEditing || !index.isValid())
        return f;
    const int field = m_columns[static_cast<size_t>(index.column())].field;
    return isYesNoField(field) ? f | Qt::ItemIsUserCheckable : f | Qt::ItemIsEditable;
}

bool ViewerModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !m_fieldEditing)
        return false;
    const int field = m_columns[static_cast<size_t>(index.column())].field;
    QString text;
    if (role == Qt::CheckStateRole)
        text = value.toInt() == Qt::Checked ? "Yes" : "No";
    else if (role == Qt::EditRole)
        text = value.toString();
    else
        return false;
    const std::string utf8 = text.toStdString();
    switch (m_table.fit(field, utf8)) {
    case db::Table::Fit::Whole: break;
    case db::Table::Fit::NotHeld:
        if (m_onError)
            m_onError(tr("The text holds characters that a collection cannot store: \"%1\"").arg(text));
        return false;
    case db::Table::Fit::TooLong:
        if (m_onError)
            m_onError(tr("The text is longer than the field holds (%1 bytes in a Unicode collection): \"%2\"")
                          .arg(m_table.field(field).width)
                          .arg(text));
        return false;
    }
    try {
        if (isEditedRow(index.row())) {
            m_table.setText(field, utf8);
            emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
            return true;
        }
        // A change made in place is posted at once; the record may move to its new place.
        m_table.gotoPosition(static_cast<uint32_t>(index.row()));
        m_table.edit();
        m_table.setText(field, utf8);
        m_table.post();
    } catch (const std::exception& e) {
        if (m_table.state() != db::Table::State::Browse)
            m_table.cancel();
        if (m_onError)
            m_onError(ui::errorText(e));
        return false;
    }
    reload();
    return true;
}

} // namespace app
