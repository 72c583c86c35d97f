#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace app {

// The Video Viewer's grid: lines between rows and columns drawn as the
// viewer configuration says, and drop-down boxes filled from the pick lists
// for the fields that have one.
class ViewerGrid : public QTableView {
    Q_OBJECT

public:
    using ListForField = std::function<const QStringList*(int field)>;

    explicit ViewerGrid(QWidget* parent = nullptr);

    void setLines(bool rowLines, bool columnLines);
    void setListSource(ListForField source);
    bool rowLines() const { return m_rowLines; }
    bool columnLines() const { return m_columnLines; }
    const QStringList* listFor(int field) const { return m_lists ? m_lists(field) : nullptr; }
    // The table field shown in a column (set by the main window with the columns).
    std::function<int(int column)> fieldOfColumn;

private:
    bool m_rowLines = true;
    bool m_columnLines = true;
    ListForField m_lists;
};

class ViewerDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ViewerDelegate(ViewerGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    ViewerGrid* m_grid;
};

} // namespace app
