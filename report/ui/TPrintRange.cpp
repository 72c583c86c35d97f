#include "TPrintRange.h"

#include "WindowLook.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace report_ui {

RangeCheck checkPageRange(const QString& start, const QString& end, int pageCount)
{
    // A text that is not a whole number reads as 0, and is refused as such.
    const int first = start.trimmed().toInt();
    if (first < 1 || first > pageCount)
        return {std::nullopt, QCoreApplication::translate("report_ui::TPrintRange", "Invalid Starting Page specified. Please correct."), true};
    const int last = end.trimmed().toInt();
    if (last < first || last > pageCount)
        return {std::nullopt, QCoreApplication::translate("report_ui::TPrintRange", "Invalid Ending Page specified.  Please correct."), false};
    return {PageRange{first, last}, {}, false};
}

TPrintRange::TPrintRange(app::Prompter& prompter, int pageCount, QWidget* parent)
    : QDialog(parent)
    , StartEdit(new QLineEdit("1", this))
    , EndEdit(new QLineEdit(QString::number(pageCount), this))
    , m_prompter(prompter)
    , m_pageCount(pageCount)
{
    setWindowTitle(tr("Page Printing"));
    StartEdit->setObjectName("StartEdit");
    EndEdit->setObjectName("EndEdit");
    StartEdit->setMaxLength(3);
    EndEdit->setMaxLength(3);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    fields->addRow(tr("Starting Page"), StartEdit);
    fields->addRow(tr("Ending Page"), EndEdit);
    layout->addLayout(fields);
    auto* buttons = new QHBoxLayout;
    auto* print = new QPushButton(tr("&Print"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    print->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(print);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, &TPrintRange::PrintButtonClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPrintRange::PrintButtonClick()
{
    const RangeCheck check = checkPageRange(StartEdit->text(), EndEdit->text(), m_pageCount);
    if (!check.range) {
        m_prompter.message(this, tr("Error"), check.message, app::Prompter::Icon::Error);
        (check.startIsWrong ? StartEdit : EndEdit)->setFocus();
        return;
    }
    m_first = check.range->first;
    m_last = check.range->last;
    m_printRequested = true;
    accept();
}

} // namespace report_ui
