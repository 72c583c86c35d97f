#include "TMyEditBox.h"

#include "Prompter.h"
#include "WindowLook.h"

#include <QCollator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace db_ui {

TMyEditBox::TMyEditBox(app::Prompter& prompter, const QString& name, int entryLength, const QStringList& entries,
                       QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_addInfo(new QLineEdit(this))
    , m_list(new QListWidget(this))
{
    setWindowTitle(tr("Edit \"%1\" List").arg(name));
    m_addInfo->setObjectName("AddInfo");
    m_addInfo->setAccessibleName(tr("New entry"));
    m_addInfo->setMaxLength(entryLength);
    m_list->setObjectName("TheList");
    m_list->setAccessibleName(tr("Entries of the list"));
    m_list->addItems(entries);
    auto* add = new QPushButton(tr("&Add"), this);
    auto* remove = new QPushButton(tr("&Delete"), this);
    auto* sort = new QPushButton(tr("&Sort"), this);
    auto* layout = new QVBoxLayout(this);
    auto* entryRow = new QHBoxLayout;
    entryRow->addWidget(m_addInfo, 1);
    entryRow->addWidget(add);
    layout->addLayout(entryRow);
    layout->addWidget(m_list, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(remove);
    listButtons->addWidget(sort);
    listButtons->addStretch(1);
    layout->addLayout(listButtons);
    ui::addOkCancel(this, layout);
    connect(add, &QPushButton::clicked, this, &TMyEditBox::AddButtonClick);
    connect(remove, &QPushButton::clicked, this, &TMyEditBox::DeleteButtonClick);
    connect(sort, &QPushButton::clicked, this, &TMyEditBox::SortButtonClick);
    connect(m_addInfo, &QLineEdit::returnPressed, this, &TMyEditBox::AddButtonClick);
    m_list->setFocus();
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    resize(320, 360);
}

QStringList TMyEditBox::entries() const
{
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->text();
    return out;
}

void TMyEditBox::AddButtonClick()
{
    // Lists take any script: a list with characters beyond Windows-1252 is written in UTF-8.
    const QString entry = m_addInfo->text().trimmed();
    if (!entry.isEmpty())
        m_list->addItem(entry);
    m_addInfo->clear();
    m_addInfo->setFocus();
}

void TMyEditBox::DeleteButtonClick()
{
    const int row = m_list->currentRow();
    if (row < 0 || !m_list->currentItem() || !m_list->currentItem()->isSelected())
        return;
    delete m_list->takeItem(row);
    if (m_list->count() == 0) {
        m_list->setCurrentRow(-1);
        return;
    }
    m_list->setCurrentRow(std::min(row, m_list->count() - 1));
}

void TMyEditBox::SortButtonClick()
{
    if (m_prompter.ask(this, tr("Confirm"), tr("Are you sure you want to sort the data?  Sorting cannot be undone."),
                       app::Prompter::Buttons::YesNo, app::Prompter::Answer::No)
        != app::Prompter::Answer::Yes)
        return;
    QStringList sorted = entries();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    m_list->clear();
    m_list->addItems(sorted);
}

} // namespace db_ui
