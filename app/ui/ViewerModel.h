#pragma once

#include "Table.h"

#include <QAbstractTableModel>
#include <QHash>
#include <functional>
#include <vector>

namespace app {

// The rows of the Video Viewer: a window onto the collection table in its
// current order and search. Rows are read when they are shown (through the
// table's positions), never the whole table; ordering and filtering stay in
// the engine. While the table is editing or inserting, its edit buffer is
// shown in place of the record (an insert as an extra last row).
class ViewerModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Column {
        int field;      // 0-based field index of the table
        QString title;
    };

    explicit ViewerModel(db::Table& table, QObject* parent = nullptr);

    void setColumns(std::vector<Column> columns);
    const std::vector<Column>& columns() const { return m_columns; }
    // Check boxes for the two yes/no fields while field editing is on.
    void setFieldEditing(bool on);
    // Re-reads the row count and forgets cached rows. Through a search the
    // rows are counted as far as they are shown and grow as the view asks
    // for more, so the first screen does not wait for a pass over the file.
    void reload();
    // Makes the model reach a row the table has moved to.
    void ensureRow(int row);
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // The row of the current record (the insert row while inserting).
    int currentRow();
    void setErrorHandler(std::function<void(const QString&)> handler) { m_onError = std::move(handler); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;


private:
    const std::vector<char>* rowBytes(int row) const;
    bool isYesNoField(int field) const;
    bool isEditedRow(int row) const;

    db::Table& m_table;
    std::vector<Column> m_columns;
    bool m_fieldEditing = false;
    int m_count = 0;
    bool m_lazy = false;
    int m_checkOut = -1;
    int m_viewed = -1;
    mutable uint64_t m_generation = 0;
    mutable QHash<int, std::vector<char>> m_rows;
    std::function<void(const QString&)> m_onError;
};

} // namespace app
