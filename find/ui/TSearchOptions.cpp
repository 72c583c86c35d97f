#include "TSearchOptions.h"

#include "WindowLook.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace find {

const QStringList TSearchOptions::kOperators = {" = ", " > ", " < ", " > X < "};

TSearchOptions::TSearchOptions(const QString& rowName, const QStringList& entries, int selected, QWidget* parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
{
    setWindowTitle(tr("Search Options"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(rowName, this);
    label->setObjectName("FieldLabel");
    layout->addWidget(label);
    m_list->addItems(entries);
    if (selected >= 0 && selected < m_list->count())
        m_list->setCurrentRow(selected);
    layout->addWidget(m_list, 1);
    ui::addOkCancel(this, layout);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(260, 300);
}

int TSearchOptions::selectedRow() const
{
    return m_list->currentItem() && m_list->currentItem()->isSelected() ? m_list->currentRow() : -1;
}

QString TSearchOptions::selectedText() const
{
    return selectedRow() >= 0 ? m_list->currentItem()->text() : QString();
}

} // namespace find
