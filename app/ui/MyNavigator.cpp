#include "MyNavigator.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace app {

const std::array<const char*, MyNavigator::ButtonCount> MyNavigator::kHints = {
    QT_TR_NOOP("First record"), QT_TR_NOOP("Prior record"), QT_TR_NOOP("Next record"), QT_TR_NOOP("Last record"),
    QT_TR_NOOP("Insert record"), QT_TR_NOOP("Delete record"), QT_TR_NOOP("Edit record"),  QT_TR_NOOP("Post edit"),
    QT_TR_NOOP("Cancel edit"),  QT_TR_NOOP("Refresh data")};

MyNavigator::MyNavigator(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("MyNavigator");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const std::array<QStyle::StandardPixmap, ButtonCount> icons = {
        QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward, QStyle::SP_MediaSeekForward,
        QStyle::SP_MediaSkipForward, QStyle::SP_FileDialogNewFolder, QStyle::SP_TrashIcon,
        QStyle::SP_FileDialogDetailedView, QStyle::SP_DialogApplyButton, QStyle::SP_DialogCancelButton,
        QStyle::SP_BrowserReload};
    for (int b = 0; b < ButtonCount; ++b) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("Navigator") + QString::number(b));
        button->setIcon(style()->standardIcon(icons[static_cast<size_t>(b)]));
        button->setToolTip(tr(kHints[static_cast<size_t>(b)]));
        button->setAccessibleName(tr(kHints[static_cast<size_t>(b)])); // a picture alone says nothing to a screen reader
        button->setAutoRaise(false);
        connect(button, &QToolButton::clicked, this, [this, b] { emit clicked(static_cast<Button>(b)); });
        layout->addWidget(button);
        m_buttons[static_cast<size_t>(b)] = button;
    }
}

void MyNavigator::setBrowseMode(bool on)
{
    for (int b = Insert; b < ButtonCount; ++b)
        m_buttons[static_cast<size_t>(b)]->setVisible(!on);
}

} // namespace app
