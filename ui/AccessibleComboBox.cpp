#include "AccessibleComboBox.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace ui {

namespace {

class AccessibleComboBox : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->isEditable() && box()->lineEdit() ? box()->lineEdit()->text() : box()->currentText();
        // The name: the box's own, else its label's (QAccessibleWidget finds the label whose buddy it is).
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.editable = box()->isEditable();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == showMenuAction() || actionName == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* comboBoxFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        if (auto* box = qobject_cast<QComboBox*>(object))
            return new AccessibleComboBox(box);
    return nullptr;
}

} // namespace

void nameComboBoxesByTheirLabels()
{
    QAccessible::installFactory(comboBoxFactory); // the last installed is asked first; installed once
}

} // namespace ui
