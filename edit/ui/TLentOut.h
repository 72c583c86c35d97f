#pragma once

// Records > Lent Out: the videos checked out, with who has them, since when
// and for how many days, oldest loan first, the overdue ones marked. A double
// click (or Edit) opens the record in the editor; Returned ticks a loan off.

#include "LentOut.h"
#include "Prompter.h"
#include "Settings.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QSpinBox;
class QTableWidget;

namespace db {
class Table;
}

namespace edit_ui {

struct LentOutContext {
    app::Prompter& prompter;
    app::Settings& settings;
    db::Table& table;
    double scaleFactor = 1.0;
    // Opens a record (by its number) in the record editor.
    std::function<void(uint32_t record)> openRecord;
};

class TLentOut : public QDialog {
    Q_OBJECT

public:
    TLentOut(LentOutContext context, QWidget* parent = nullptr);

    QTableWidget* Grid;
    QSpinBox* OverdueDays;
    QPushButton* ReturnedButton;
    QPushButton* EditButton;

    void ReturnedClick();
    void EditClick();
    // Reads the loans again (after an edit, a return, another copy's change).
    void Reload();
    const std::vector<edit::Loan>& loans() const { return m_loans; }

private:
    LentOutContext m_context;
    std::vector<edit::Loan> m_loans;
};

} // namespace edit_ui
