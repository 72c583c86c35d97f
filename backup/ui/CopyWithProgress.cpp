#include "BackupContext.h"

#include "CollectionFile.h"
#include "CoreText.h"
#include "PickList.h"
#include "SafeCopy.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <thread>

namespace backup_ui {

QStringList listFileNames()
{
    QStringList names;
    for (const db::PickListInfo& list : db::pickLists())
        names << QString::fromLatin1(list.fileName);
    return names;
}

CopyOutcome copyWithProgress(QWidget* owner, app::Prompter& prompter, const QString& source, const QString& destination,
                             const QString& failedText, bool removeFirst)
{
    backup::CopyProgress progress;
    backup::CopyResult result = backup::CopyResult::Copied;
    QString failure;
    std::atomic<bool> finished{false};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::thread worker([&] {
        try {
            result = backup::copyFileSafely(source.toStdString(), destination.toStdString(), &progress, removeFirst);
        } catch (const std::exception& e) {
            failure = ui::errorText(e);
        }
        finished = true;
    });
    // The windows repaint while the copy runs but take no input but the bar's
    // Cancel: it shows, modal to the whole program, after half a second.
    std::unique_ptr<QProgressDialog> bar;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished) {
            loop.quit();
            return;
        }
        if (!bar && clock.elapsed() > 500) {
            bar = std::make_unique<QProgressDialog>(QCoreApplication::translate("backup", "Copying \"%1\"").arg(source), QCoreApplication::translate("backup", "&Cancel"), 0, 1000);
            bar->setWindowTitle(owner ? owner->windowTitle() : QString());
            bar->setWindowModality(Qt::ApplicationModal);
            loop.quit(); // from now on the bar takes clicks
            bar->setMinimumDuration(0);
            QObject::connect(bar.get(), &QProgressDialog::canceled, [&progress] { progress.cancel = true; });
            bar->show();
        }
        if (bar && progress.total > 0)
            bar->setValue(static_cast<int>(progress.copied * 1000 / progress.total));
    });
    // Small files are done in a moment: wait briefly before handing over to the event loop.
    for (int i = 0; i < 50 && !finished; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!finished) {
        poll.start(20);
        loop.exec(QEventLoop::ExcludeUserInputEvents); // until the end, or until the bar shows
        if (!finished)
            loop.exec(); // with the bar, until the end
    }
    worker.join();
    poll.stop();
    bar.reset();
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) {
        prompter.message(owner, QCoreApplication::translate("backup", "Error"), failedText + "\n\n" + failure, app::Prompter::Icon::Error);
        return CopyOutcome::Failed;
    }
    return result == backup::CopyResult::Cancelled ? CopyOutcome::Cancelled : CopyOutcome::Copied;
}

CopyOutcome copyTableWithProgress(QWidget* owner, app::Prompter& prompter, const QString& source,
                                  const QString& destination, const QString& failedText, bool removeFirst,
                                  bool withCovers)
{
    std::optional<db::CodePageFileCopy> word;
    try {
        word.emplace(source.toStdString(), destination.toStdString());
    } catch (const std::exception& e) {
        prompter.message(owner, QCoreApplication::translate("backup", "Error"), failedText + "\n\n" + ui::errorText(e),
                         app::Prompter::Icon::Error);
        return CopyOutcome::Failed;
    }
    const CopyOutcome outcome = copyWithProgress(owner, prompter, source, destination, failedText, removeFirst);
    if (outcome != CopyOutcome::Copied)
        return outcome;
    try {
        word->copied();
        // The films' covers go with the collection (they are small beside it).
        if (withCovers) {
            const ui::WaitCursor wait;
            backup::copyCovers(source.toStdString(), destination.toStdString());
        }
    } catch (const std::exception& e) {
        prompter.message(owner, QCoreApplication::translate("backup", "Error"), failedText + "\n\n" + ui::errorText(e),
                         app::Prompter::Icon::Error);
        return CopyOutcome::Failed;
    }
    return outcome;
}

} // namespace backup_ui
