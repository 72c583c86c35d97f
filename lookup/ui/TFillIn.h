#pragma once

// The record editor's Fill In: the films of the lookup index whose titles hold
// the words typed (and near the year typed), and for the one picked, field by
// field, what the video has and what the film would give: ticked where the
// video has nothing, so that what the user typed stays unless ticked.

#include "FilmFill.h"
#include "ImdbIndex.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QTreeWidget;

namespace db {
class Table;
}

namespace lookup_ui {

class TFillIn : public QDialog {
    Q_OBJECT

public:
    // current: the editor's value of a table field (UTF-8).
    TFillIn(lookup::ImdbIndex& index, const db::Table& table, std::function<std::string(int field)> current,
            const QString& title, int year, QWidget* parent = nullptr);

    QLineEdit* TitleBox;
    QLineEdit* YearBox;
    QTreeWidget* Matches;
    QTreeWidget* Changes;
    void SearchClick();
    // The changes ticked, for the editor to write into its boxes.
    std::vector<lookup::FillChange> chosenChanges() const;

private:
    void showChanges();
    lookup::ImdbIndex& m_index;
    const db::Table& m_table;
    std::function<std::string(int field)> m_current;
    std::vector<lookup::Film> m_films;
    std::vector<lookup::FillChange> m_changes;
};

} // namespace lookup_ui
