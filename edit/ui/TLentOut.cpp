#include "TLentOut.h"

#include "CoreText.h"
#include "EditText.h"
#include "HelpViewer.h"
#include "WindowLook.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace edit_ui {

TLentOut::TLentOut(LentOutContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Lent Out"));
    auto* layout = new QVBoxLayout(this);
    Grid = new QTableWidget(0, 5, this);
    Grid->setObjectName("LentOutGrid");
    Grid->setAccessibleName(tr("Videos lent out"));
    Grid->setHorizontalHeaderLabels({tr("Title"), tr("Media #"), tr("Lent To"), tr("Since"), tr("Days Out")});
    Grid->verticalHeader()->setVisible(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(Grid, &QTableWidget::cellDoubleClicked, this, [this] { EditClick(); });
    layout->addWidget(Grid, 1);

    auto* row = new QHBoxLayout;
    auto* overdueLabel = new QLabel(tr("&Overdue after"), this);
    OverdueDays = new QSpinBox(this);
    OverdueDays->setObjectName("OverdueDays");
    OverdueDays->setRange(1, 3650);
    OverdueDays->setSuffix(tr(" days"));
    OverdueDays->setValue(m_context.settings.overdueDays);
    overdueLabel->setBuddy(OverdueDays);
    connect(OverdueDays, &QSpinBox::valueChanged, this, [this](int days) {
        m_context.settings.overdueDays = days;
        Reload();
    });
    row->addWidget(overdueLabel);
    row->addWidget(OverdueDays);
    row->addStretch(1);
    ReturnedButton = new QPushButton(tr("&Returned"), this);
    EditButton = new QPushButton(tr("&Edit"), this);
    auto* close = new QPushButton(tr("&Close"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    for (QPushButton* b : {ReturnedButton, EditButton, close, help})
        row->addWidget(b);
    layout->addLayout(row);
    connect(ReturnedButton, &QPushButton::clicked, this, &TLentOut::ReturnedClick);
    connect(EditButton, &QPushButton::clicked, this, &TLentOut::EditClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    app::setHelpKeyword(this, "Lent Out"); // F1 opens the same section
    connect(help, &QPushButton::clicked, this, [this] { app::showHelp(this, "Lent Out"); });
    ui::applyWindowLook(this, m_context.settings, app::EditWindowColors, m_context.scaleFactor);
    resize(static_cast<int>(620 * m_context.scaleFactor), static_cast<int>(380 * m_context.scaleFactor));
    ui::fitToScreen(this);
    Reload();
}

void TLentOut::Reload()
{
    const int kept = Grid->currentRow();
    try {
        m_loans = edit::lentOut(m_context.table, db::dayNumberFromCivil(db::today()), m_context.settings.overdueDays);
    } catch (const std::exception& e) {
        m_loans.clear();
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
    Grid->setRowCount(static_cast<int>(m_loans.size()));
    for (int r = 0; r < Grid->rowCount(); ++r) {
        const edit::Loan& loan = m_loans[static_cast<size_t>(r)];
        const QStringList cells = {QString::fromStdString(loan.title), QString::fromStdString(loan.mediaNumber),
                                   QString::fromStdString(loan.person), QString::fromStdString(loan.since),
                                   loan.daysOut < 0  ? QString()
                                   : loan.overdue ? tr("%1  OVERDUE").arg(loan.daysOut)
                                                  : QString::number(loan.daysOut)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (loan.overdue) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                // Dark red on a light grid, a lighter red on a dark one.
                item->setForeground(ui::legibleOn(QColor(0xB0, 0, 0), Grid->palette().color(QPalette::Base)));
            }
            if (c == 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Grid->setItem(r, c, item);
        }
    }
    // The short columns as wide as what they hold ("12  OVERDUE" in bold); the title takes the rest.
    for (int c = 1; c < Grid->columnCount(); ++c)
        Grid->resizeColumnToContents(c);
    Grid->setCurrentCell(std::min(std::max(kept, 0), Grid->rowCount() - 1), 0);
    ReturnedButton->setEnabled(!m_loans.empty());
    EditButton->setEnabled(!m_loans.empty() && m_context.openRecord != nullptr);
}

void TLentOut::ReturnedClick()
{
    const int row = Grid->currentRow();
    if (row < 0 || row >= static_cast<int>(m_loans.size()))
        return;
    try {
        if (!edit::markReturned(m_context.table, m_loans[static_cast<size_t>(row)].record))
            m_context.prompter.message(this, tr("Error"), tr("The record is no longer in the collection."),
                                       app::Prompter::Icon::Error);
    } catch (const std::exception& e) {
        m_context.prompter.message(this, tr("Error"), ui::errorText(e), app::Prompter::Icon::Error);
    }
    Reload();
}

void TLentOut::EditClick()
{
    const int row = Grid->currentRow();
    if (row < 0 || row >= static_cast<int>(m_loans.size()) || !m_context.openRecord)
        return;
    m_context.openRecord(m_loans[static_cast<size_t>(row)].record);
    Reload();
}

} // namespace edit_ui
