#include "ViewerGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>

namespace app {

ViewerGrid::ViewerGrid(QWidget* parent)
    : QTableView(parent)
{
    setObjectName("ViewerGrid");
    setAccessibleName(tr("Video Viewer"));
    setItemDelegate(new ViewerDelegate(this));
    setShowGrid(false);
    setTabKeyNavigation(false); // Tab moves on to the next control, as from any other
    setWordWrap(false);
    setHorizontalScrollMode(ScrollPerPixel);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
}

void ViewerGrid::setLines(bool rowLines, bool columnLines)
{
    m_rowLines = rowLines;
    m_columnLines = columnLines;
    viewport()->update();
}

void ViewerGrid::setListSource(ListForField source)
{
    m_lists = std::move(source);
}

ViewerDelegate::ViewerDelegate(ViewerGrid* grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{
}

void ViewerDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Mid));
    if (m_grid->rowLines())
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    if (m_grid->columnLines())
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
}

QWidget* ViewerDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int field = m_grid->fieldOfColumn ? m_grid->fieldOfColumn(index.column()) : -1;
    if (const QStringList* list = m_grid->listFor(field)) {
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(*list);
        box->setFont(m_grid->font());
        return box;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void ViewerDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setEditText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void ViewerDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

} // namespace app
