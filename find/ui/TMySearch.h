#pragma once

#include "Prompter.h"
#include "Search.h"
#include "Settings.h"

#include <QDialog>
#include <QStyledItemDelegate>
#include <array>
#include <functional>

class QPushButton;
class QTableWidget;

namespace find {

// What the search window needs of the main window.
struct SearchContext {
    app::Prompter& prompter;
    const app::Settings& settings;
    double scaleFactor = 1.0;
    // The values a "..." cell offers for a schema position.
    std::function<QStringList(int position)> valuesFor;
    // Takes the items as the main window's search and applies it; false
    // when no record passes (the main window then ends the search).
    std::function<bool(const std::vector<SearchItem>& items)> doit;
    std::function<int(QDialog&)> runDialog;
};

// "Search": a grid of the 40 fields in which criteria are typed, level by
// level, up to ten levels.
class TMySearch : public QDialog {
    Q_OBJECT

public:
    explicit TMySearch(SearchContext context, QWidget* parent = nullptr);

    bool SaveFields();
    bool Doit();
    void ClearSearch();
    void OkButtonClick();
    void MoreButtonClick();
    void ExitButtonClick();
    // The "..." cell of a row (1..40) was clicked.
    void OptionsClick(int position);

    QTableWidget* grid() const { return m_grid; }
    QPushButton* moreButton() const { return m_more; }
    int level() const { return m_level; }
    int rowOperator(int position) const { return m_operators[static_cast<size_t>(position - 1)]; }
    const std::vector<SearchItem>& items() const { return m_items; }
    // The criteria cell of a row, and what typing into it would store.
    QString criteria(int position) const;
    void setCriteria(int position, const QString& text);
    QString editMask(int position) const;
    // A row's criterion written anew for another operator: the values stay.
    static QString withOperator(const QString& text, int from, int to);

private:
    void setTitle();
    void clearCriteria();
    void lookOf(QDialog& chooser) const;

    SearchContext m_context;
    QTableWidget* m_grid;
    QPushButton* m_more;
    std::array<int, 40> m_operators;
    std::vector<SearchItem> m_items;
    int m_level = 1;
};

// Column 2 of the search grid: a mask by the row's class and operator.
class SearchCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit SearchCellDelegate(TMySearch* search);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // What was typed is kept when the cell is left, even when it does not
    // fill its mask: Ok judges it (valid or "invalid criterion"), nothing drops it.
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TMySearch* m_search;
};

} // namespace find
