#include "TMySortOrder.h"

#include "Schema.h"
#include "Table.h"
#include "WindowLook.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace find {

const char* const TMySortOrder::kInUse = kSortOrderInUse;
const char* const TMySortOrder::kFailed = QT_TR_NOOP("Error in implementing sort order.  New sort order not implemented.");

TMySortOrder::TMySortOrder(SortOrderContext context, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
{
    setWindowTitle(tr("Sort Order"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const std::array<const char*, 4> captions = {QT_TR_NOOP("Primary Sort"), QT_TR_NOOP("Secondary Sort"),
                                                 QT_TR_NOOP("Third Level Sort"), QT_TR_NOOP("Fourth Level Sort")};
    for (size_t level = 0; level < 4; ++level) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString("Sort") + QString::number(level + 1));
        box->addItem(tr("<NONE>"));
        for (int position = 1; position <= db::kSchemaFieldCount; ++position)
            box->addItem(m_context.settings.fields[static_cast<size_t>(position - 1)].displayName);
        const int key = m_context.settings.sortKeys[level];
        box->setCurrentIndex(key >= 0 && key <= db::kSchemaFieldCount ? key : 0);
        form->addRow(tr(captions[level]), box);
        m_lists[level] = box;
    }
    layout->addLayout(form);
    ui::addOkCancel(this, layout, [this] { OkButtonClick(); });
    ui::applyWindowLook(this, m_context.settings, app::ConfigureWindowColors, m_context.scaleFactor);
}

void TMySortOrder::OkButtonClick()
{
    db::Table& table = m_context.table;
    table.close();
    if (m_context.tableInUse()) {
        m_context.prompter.message(this, tr("Error"), QCoreApplication::translate("find", kInUse), app::Prompter::Icon::Error);
        m_context.reopenShared();
        return;
    }
    const SortKeys kept = m_context.settings.sortKeys;
    try {
        table.open(db::Table::OpenMode::Exclusive);
        for (size_t level = 0; level < 4; ++level)
            m_context.settings.sortKeys[level] = m_lists[level]->currentIndex();
        m_context.buildSortString();
        const std::string expression = m_context.sortExpression();
        table.selectIndex("");
        if (!expression.empty()) {
            find::applySortOrder(table, expression);
            table.selectIndex(kSortTag);
        }
        const QString problem = m_context.writeSettings();
        if (!problem.isEmpty())
            throw std::runtime_error(problem.toStdString());
        table.close();
        m_context.reopenShared();
    } catch (const std::exception&) {
        m_context.prompter.message(this, tr("Error"), tr(kFailed), app::Prompter::Icon::Error);
        m_context.settings.sortKeys = kept;
        m_context.buildSortString();
        table.close();
        m_context.reopenShared();
        return;
    }
    accept();
}

} // namespace find
