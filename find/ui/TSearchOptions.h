#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace find {

// The small chooser of the search window: the comparison operators of a
// number or date row, or the values of a row's pick list.
class TSearchOptions : public QDialog {
    Q_OBJECT

public:
    static const QStringList kOperators; // " = ", " > ", " < ", " > X < "

    TSearchOptions(const QString& rowName, const QStringList& entries, int selected, QWidget* parent = nullptr);
    QListWidget* list() const { return m_list; }
    int selectedRow() const;          // -1 when none
    QString selectedText() const;

private:
    QListWidget* m_list;
};

} // namespace find
