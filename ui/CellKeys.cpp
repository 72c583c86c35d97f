#include "CellKeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTableWidget>

namespace ui {

namespace {

class SpacePresser : public QObject {
public:
    SpacePresser(QTableWidget* grid, std::function<bool(int, int)> press)
        : QObject(grid)
        , m_grid(grid)
        , m_press(std::move(press))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier || key->isAutoRepeat())
            return false;
        const int row = m_grid->currentRow(), column = m_grid->currentColumn();
        return row >= 0 && column >= 0 && m_press(row, column);
    }

private:
    QTableWidget* m_grid;
    std::function<bool(int, int)> m_press;
};

} // namespace

void pressCellsWithSpace(QTableWidget* grid, std::function<bool(int row, int column)> press)
{
    grid->installEventFilter(new SpacePresser(grid, std::move(press)));
}

} // namespace ui
