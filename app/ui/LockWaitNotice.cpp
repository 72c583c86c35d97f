#include "LockWaitNotice.h"

#include <QCoreApplication>
#include <QApplication>
#include <QProgressDialog>

namespace app {

namespace {
constexpr int kShowAfterMs = 300; // a short wait (a few posts of another copy) shows nothing
}

const char* const LockWaitNotice::kText = QT_TRANSLATE_NOOP(
    "app::LockWaitNotice", "Another copy of the program is reading or changing this collection.  Waiting until it is done...");

LockWaitNotice::LockWaitNotice(QWidget* owner)
    : m_owner(owner)
{
}

LockWaitNotice::~LockWaitNotice()
{
    delete m_bar;
}

void LockWaitNotice::waiting(bool waiting)
{
    if (!waiting) {
        m_since.invalidate();
        if (m_bar)
            m_bar->hide();
        return;
    }
    if (!m_since.isValid()) {
        m_since.start();
        return;
    }
    if (m_since.elapsed() < kShowAfterMs)
        return;
    if (!m_bar) {
        QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_owner;
        m_bar = new QProgressDialog(QCoreApplication::translate("app::LockWaitNotice", kText), QString(), 0, 0, parent);
        m_bar->setWindowTitle(QStringLiteral("Notice"));
        m_bar->setCancelButton(nullptr);
        m_bar->setMinimumDuration(0);
        m_bar->setWindowModality(Qt::ApplicationModal);
    }
    if (!m_bar->isVisible())
        m_bar->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace app
