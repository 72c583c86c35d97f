#include "BuildIndexWindow.h"

#include "ImdbIndex.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QProgressDialog>
#include <QThread>

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace lookup_ui {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("lookup_ui", text); }

} // namespace

bool buildLookupIndex(QWidget* owner, app::Prompter& prompter, const QString& folder, const QString& indexPath)
{
    std::atomic<int> permille{0};
    std::atomic<bool> cancel{false}, finished{false};
    std::mutex guard;
    std::string reading;
    lookup::ImdbBuildResult result;
    std::exception_ptr failure;
    std::thread builder([&] {
        try {
            result = lookup::buildImdbIndex(folder.toStdString(), indexPath.toStdString(), [&](const std::string& file, double done) {
                permille = static_cast<int>(done * 1000);
                {
                    const std::lock_guard lock(guard);
                    reading = file;
                }
                return !cancel.load();
            });
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
    });
    QProgressDialog progress(tr("Building the IMDb lookup index..."), tr("Cancel"), 0, 1000, owner);
    progress.setWindowTitle(tr("IMDb Lookup Index"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(420); // room for its title and the longest file name
    while (!finished) {
        progress.setValue(permille);
        {
            const std::lock_guard lock(guard);
            if (!reading.empty())
                progress.setLabelText(tr("Reading %1...").arg(QString::fromStdString(reading)));
        }
        if (progress.wasCanceled())
            cancel = true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    builder.join();
    progress.close();
    if (failure) {
        QString why;
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            why = QString::fromUtf8(e.what());
        }
        prompter.message(owner, tr("IMDb Lookup Index"), tr("The index could not be built: %1").arg(why), app::Prompter::Icon::Error);
        return false;
    }
    if (result.cancelled) {
        prompter.message(owner, tr("IMDb Lookup Index"), tr("Cancelled. The index is as it was."), app::Prompter::Icon::Information);
        return false;
    }
    const QLocale locale;
    QString text = tr("The index holds %1 films, found by %2 titles, and %3 people.")
                       .arg(locale.toString(static_cast<qulonglong>(result.titles)),
                            locale.toString(static_cast<qulonglong>(result.titleNames)),
                            locale.toString(static_cast<qulonglong>(result.names)));
    if (result.damagedLines > 0)
        text += "\n" + tr("%1 lines of the files were not whole and were left out.").arg(locale.toString(static_cast<qulonglong>(result.damagedLines)));
    for (const std::string& note : result.notes)
        text += "\n" + QString::fromStdString(note);
    text += "\n\n" + QString::fromLatin1(lookup::kImdbCourtesy);
    prompter.message(owner, tr("IMDb Lookup Index"), text, app::Prompter::Icon::Information);
    return true;
}

} // namespace lookup_ui
