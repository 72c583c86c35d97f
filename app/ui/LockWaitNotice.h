#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace app {

// What a window shows while the collection waits for another copy of the
// program (its batch of changes, or its export, report or backup that other
// changes wait for): after a moment, a busy bar that says why nothing
// happens; it goes when the wait is over. Only painting runs meanwhile, no
// input, so nothing else reaches the table in the middle of a change.
class LockWaitNotice {
public:
    explicit LockWaitNotice(QWidget* owner);
    ~LockWaitNotice();
    LockWaitNotice(const LockWaitNotice&) = delete;
    LockWaitNotice& operator=(const LockWaitNotice&) = delete;

    static const char* const kText;

    // The table's lock-wait call: true now and again while waiting, false at its end.
    void waiting(bool waiting);

private:
    QWidget* m_owner;
    QElapsedTimer m_since;
    QPointer<QProgressDialog> m_bar;
};

} // namespace app
