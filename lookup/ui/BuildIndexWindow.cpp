#include "BuildIndexWindow.h"

#include "FilmFill.h"
#include "ImdbIndex.h"
#include "Table.h"
#include "TmdbSource.h"
#include "CoreText.h"

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
        text += "\n" + tr("Lines of the files that were not whole, left out: %1.").arg(locale.toString(static_cast<qulonglong>(result.damagedLines)));
    for (const std::string& note : result.notes)
        text += "\n" + QString::fromStdString(note);
    text += "\n\n" + QString::fromLatin1(lookup::kImdbCourtesy);
    prompter.message(owner, tr("IMDb Lookup Index"), text, app::Prompter::Icon::Information);
    return true;
}

namespace {

// Runs the batch behind a progress box that can stop it, then says what it did.
void runFill(QWidget* owner, app::Prompter& prompter, db::Table& table, lookup::FilmSource& source,
             const std::optional<lookup::FillCovers>& covers, const QString& notice, uint64_t labelEvery)
{
    const bool online = covers.has_value();
    QProgressDialog progress(online ? tr("Looking up the videos without a director, a year or a cover at TMDb...")
                                    : tr("Looking up the videos without a director or a year..."),
                             tr("Cancel"), 0, 0, owner);
    progress.setWindowTitle(tr("Fill In Missing"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setMinimumWidth(420);
    lookup::FillSummary summary;
    QString failure;
    try {
        const db::Table::ControlsDisabled quiet(table); // the grid does not follow the walk
        summary = lookup::fillMissing(
            table, source,
            [&](uint64_t looked) {
                if (looked % labelEvery == 0) {
                    progress.setLabelText(tr("Videos looked up: %1...").arg(QLocale().toString(static_cast<qulonglong>(looked))));
                    QCoreApplication::processEvents();
                }
                return !progress.wasCanceled();
            },
            covers);
    } catch (const db::DbError& e) {
        failure = QString::fromStdString(e.spoken(ui::speakerFor("lookup")));
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    progress.close();
    const QLocale locale;
    const auto count = [&locale](uint64_t n) { return locale.toString(static_cast<qulonglong>(n)); };
    QString text = (summary.cancelled ? tr("Stopped. ") : QString())
                   + tr("Videos looked up: %1; filled: %2, with values written: %3.")
                         .arg(count(summary.looked), count(summary.filled), count(summary.values));
    if (online)
        text += "\n" + tr("Covers taken from TMDb's posters: %1.").arg(count(summary.covers));
    if (summary.cutValues > 0)
        text += "\n" + tr("Values cut, or with names left out, to fit their fields: %1.").arg(count(summary.cutValues));
    if (!summary.notFound.empty())
        text += "\n" + (online ? tr("Not found at TMDb: %1.") : tr("Not in the index: %1.")).arg(count(summary.notFound.size()));
    // A heading with its count, then the first names (a message box, not a list: the rest are counted).
    const auto listed = [&](const QString& heading, const std::vector<std::string>& names) {
        if (names.empty())
            return;
        constexpr size_t kNamed = 20;
        text += "\n\n" + heading.arg(count(names.size()));
        for (size_t i = 0; i < std::min(kNamed, names.size()); ++i)
            text += "\n" + QString::fromStdString(names[i]);
        if (names.size() > kNamed)
            text += "\n" + tr("and %1 more.").arg(count(names.size() - kNamed));
    };
    listed(tr("More than one film could be meant (pick in the editor with Edit, Fill In): %1."), summary.ambiguous);
    listed(tr("Posters not taken: %1."), summary.coverFailures);
    if (!failure.isEmpty())
        text += "\n\n" + tr("The filling stopped: %1").arg(failure);
    text += "\n\n" + notice;
    prompter.message(owner, tr("Fill In Missing"), text, failure.isEmpty() ? app::Prompter::Icon::Information : app::Prompter::Icon::Error);
}

} // namespace

bool fillInMissing(QWidget* owner, app::Prompter& prompter, db::Table& table, const QString& indexPath)
{
    std::unique_ptr<lookup::ImdbIndex> index;
    try {
        index = std::make_unique<lookup::ImdbIndex>(indexPath.toStdString());
    } catch (const std::exception& e) {
        prompter.message(owner, tr("Fill In Missing"), QString::fromUtf8(e.what()), app::Prompter::Icon::Information);
        return false;
    }
    lookup::ImdbSource source(*index);
    runFill(owner, prompter, table, source, std::nullopt, QString::fromLatin1(lookup::kImdbCourtesy), 64);
    return true;
}

bool fillInMissingFromTmdb(QWidget* owner, app::Prompter& prompter, db::Table& table, const lookup::TmdbSettings& tmdb,
                           const covers::CoverLimits& limits)
{
    if (tmdb.credential.empty()) {
        prompter.message(owner, tr("Fill In Missing"), tr("Give your TMDb API key or read token in Options, TMDb Online Lookup first."),
                         app::Prompter::Icon::Information);
        return false;
    }
    lookup::TmdbClient client(tmdb);
    lookup::TmdbSource source(client);
    runFill(owner, prompter, table, source, lookup::FillCovers{table.filePath(), limits}, QString::fromLatin1(lookup::kTmdbAttribution), 1);
    return true;
}

} // namespace lookup_ui
