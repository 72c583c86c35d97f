#include "TMyOscarAward.h"

#include "EditorText.h"
#include "PickList.h"
#include "PickListStore.h"
#include "WindowLook.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace edit {

namespace {
// The picker lists its lines in alphabetical order whatever their case.
class CaseBlindItem : public QListWidgetItem {
public:
    CaseBlindItem(const QString& text, QListWidget* list)
        : QListWidgetItem(text, list)
    {
    }
    bool operator<(const QListWidgetItem& other) const override
    {
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};
} // namespace

TMyOscarAward::TMyOscarAward(Mode mode, const QString& listFile, const QString& current, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_list(new QListWidget(this))
{
    setWindowTitle(mode == OscarAward ? tr("Oscar Awards") : mode == OscarNomination ? tr("Oscar Nominations") : tr("Miscellaneous"));
    m_list->setObjectName("OscarList");
    m_list->setSelectionMode(QAbstractItemView::MultiSelection); // each click toggles a line
    m_list->setSortingEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    ui::addOkCancel(this, layout);
    resize(360, 320);
    LoadList(listFile);
    if (mode != Miscellaneous)
        return;
    for (const QString& value : miscellaneousValues(current)) {
        int at = FindMisc(value);
        if (at < 0) {
            // A value the list does not hold is shown and selected, not written to the file.
            new CaseBlindItem(value, m_list);
            for (int i = 0; i < m_list->count(); ++i)
                if (m_list->item(i)->text().compare(value, Qt::CaseInsensitive) == 0) {
                    at = i;
                    break;
                }
        }
        if (at >= 0)
            m_list->item(at)->setSelected(true);
    }
}

void TMyOscarAward::LoadList(const QString& listFile)
{
    m_list->clear();
    for (const std::string& line : db::readPickList(listFile.toStdString()))
        new CaseBlindItem(QString::fromStdString(line), m_list);
}

int TMyOscarAward::FindMisc(const QString& text) const
{
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->text() == text)
            return i;
    return -1;
}

QString TMyOscarAward::choice() const
{
    QStringList lines;
    std::vector<bool> selected;
    for (int i = 0; i < m_list->count(); ++i) {
        lines << m_list->item(i)->text();
        selected.push_back(m_list->item(i)->isSelected());
    }
    return joinedChoice(lines, selected);
}

} // namespace edit
