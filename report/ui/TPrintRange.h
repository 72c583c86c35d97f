#pragma once

#include "Prompter.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace report_ui {

// The range a page-range dialog asks for, judged: the pages to print, or
// which field is wrong and its message.
struct PageRange {
    int first = 0;
    int last = 0;
};
struct RangeCheck {
    std::optional<PageRange> range;
    QString message;
    bool startIsWrong = false;
};
// Texts as typed; text that is not a whole number reads as 0.
RangeCheck checkPageRange(const QString& start, const QString& end, int pageCount);

// "Page Printing": the starting and ending page of a range to print.
class TPrintRange : public QDialog {
    Q_OBJECT

public:
    TPrintRange(app::Prompter& prompter, int pageCount, QWidget* parent = nullptr);

    QLineEdit* StartEdit;
    QLineEdit* EndEdit;
    void PrintButtonClick();

    bool printRequested() const { return m_printRequested; }
    int firstPage() const { return m_first; }
    int lastPage() const { return m_last; }

private:
    app::Prompter& m_prompter;
    int m_pageCount;
    bool m_printRequested = false;
    int m_first = 0;
    int m_last = 0;
};

} // namespace report_ui
