// Timed Video Viewer operations on the offscreen platform: the first screen
// of rows, jumping to the last record, paging down. Usage:
//   grid_bench COLLECTION.DBF
// The collection should carry its NewIndex (bench/run-db.sh leaves one).
#include "CoverNames.h"
#include "CoverView.h"
#include "MyNavigator.h"
#include "SilentPrompter.h"
#include "TDuplicates.h"
#include "TMain.h"
#include "Timing.h"
#include "TMyEdit.h"
#include "ViewerGrid.h"
#include "ViewerModel.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <iostream>

namespace {
using bench::Clock;
using bench::msSince;
using bench::peakMegabytes;
using bench::SilentPrompter;
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: grid_bench COLLECTION.DBF\n";
        return 2;
    }
    QTemporaryDir folder;
    qputenv("REELKEEPER_HOME", (folder.path() + "/home").toLocal8Bit());
    qputenv("REELKEEPER_CONFIG", (folder.path() + "/REELKP.INI").toLocal8Bit());
    qputenv("REELKEEPER_CACHE", (folder.path() + "/thumbnails").toLocal8Bit());
    QFile ini(folder.path() + "/REELKP.INI");
    ini.open(QIODevice::WriteOnly);
    ini.write("[Misc]\nShow Tips=No\nMain Window Width=1000\nMain Window Height=700\nLast Database="
              + QDir(argv[1]).absolutePath().toLocal8Bit() + "\n");
    ini.close();

    SilentPrompter prompter;
    app::TMain window(prompter, false);
    const auto opening = Clock::now();
    if (!window.create())
        return 1;
    const double openMs = msSince(opening);
    const auto firstScreen = Clock::now();
    window.show();
    window.grab(); // paints every visible row
    std::cout << "open the collection: " << openMs << " ms\n";
    std::cout << "first screen of rows after the table opened: " << msSince(firstScreen) << " ms ("
              << window.countText().toStdString() << " records)\n";

    const auto last = Clock::now();
    window.navigator()->button(app::MyNavigator::Last)->click();
    window.grid()->viewport()->grab();
    std::cout << "navigator Last and repaint: " << msSince(last) << " ms\n";

    window.navigator()->button(app::MyNavigator::First)->click();
    std::vector<double> pages;
    for (int i = 0; i < 30; ++i) {
        const auto page = Clock::now();
        QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(window.grid(), &down);
        window.grid()->viewport()->grab();
        pages.push_back(msSince(page));
    }
    std::sort(pages.begin(), pages.end());
    std::cout << "page down and repaint: median " << pages[pages.size() / 2] << " ms, worst " << pages.back()
              << " ms\n";
    // The record editor on a record, shown and closed.
    window.navigator()->button(app::MyNavigator::First)->click();
    double editorMs = 0;
    window.setDialogRunner([&editorMs](QDialog& d) {
        const auto shown = Clock::now();
        d.show();
        editorMs = msSince(shown);
        d.hide();
        return int(QDialog::Rejected);
    });
    const auto editing = Clock::now();
    window.DoEdit();
    std::cout << "record editor opened on a record and shown: " << editorMs << " ms (" << msSince(editing)
              << " ms with the count refreshed after it)\n";
    // An edit that moves the record to the other end of the sort index.
    db::Table& table = window.table();
    std::vector<double> posts;
    for (int i = 0; i < 20; ++i) {
        table.first();
        const auto post = Clock::now();
        table.edit();
        table.setText(0, i % 2 ? "AAAA moved" : "ZZZZ moved");
        table.post();
        posts.push_back(msSince(post));
    }
    std::sort(posts.begin(), posts.end());
    std::cout << "post that moves a record in the sort index: median " << posts[posts.size() / 2] << " ms\n";

    // A two-level search, counted and its first screen shown.
    find::SearchItem drama;
    drama.field = 14;
    drama.value = "DRAMA";
    find::SearchItem year;
    year.field = 11;
    year.test = find::SearchItem::Greater;
    year.number = 1980;
    year.levelEnd = true;
    find::SearchItem star;
    star.field = 2;
    star.test = find::SearchItem::AnyStar;
    star.value = "AUDREY HEPBURN";
    star.levelEnd = true;
    const auto searching = Clock::now();
    window.Doit({drama, year, star});
    window.model()->reload();
    window.grab();
    std::cout << "two-level search: first screen of the filtered grid shown after " << msSince(searching) << " ms\n";
    const auto counting = Clock::now();
    const uint32_t found = window.table().recordCount();
    std::cout << "two-level search counted (" << found << "): " << msSince(counting) << " ms\n";
    window.DoEndSearch();

    // The quick filter: from the last key typed to the viewer showing the
    // matches and their count, for a word most films have, one a few have and
    // one none has, beside db_ops counting the same in the same run.
    const double peakBefore = peakMegabytes();
    for (const QString typed : {"dark", "monroe empire", "zzzzqx"}) {
        window.quickFilterBox()->setFocus();
        window.quickFilterBox()->setText(typed.chopped(1));
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, typed.right(1));
        const auto filtering = Clock::now();
        QApplication::sendEvent(window.quickFilterBox(), &key);
        while (window.quickFilterPending())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window.grab();
        const double windowMs = msSince(filtering);
        QProcess peer;
        peer.setStandardOutputFile(QProcess::nullDevice());
        const auto counting = Clock::now();
        peer.start(QCoreApplication::applicationDirPath() + "/db_ops",
                   {"quickfilter", QString::fromLocal8Bit(argv[1]), typed});
        peer.waitForFinished(-1);
        std::cout << "quick filter \"" << typed.toStdString() << "\": " << window.countText().toStdString()
                  << " shown and counted " << windowMs << " ms after the last key; db_ops quickfilter in the same run "
                  << msSince(counting) << " ms\n";
    }
    window.action("EndSearch")->trigger();
    std::cout << "peak memory grew by " << peakMegabytes() - peakBefore << " MB over the quick filters\n";

    // Tools > Find Duplicates: from the menu command to the list of groups
    // painted, beside the command line's pass over the same file in the same run.
    const double peakBeforeDuplicates = peakMegabytes();
    double duplicatesMs = 0;
    QString duplicatesStatus;
    const auto finding = Clock::now();
    window.setDialogRunner([&](QDialog& d) {
        d.show();
        if (auto* duplicates = dynamic_cast<find::TDuplicates*>(&d)) {
            duplicates->waitForSearch();
            d.grab();
            duplicatesMs = msSince(finding);
            duplicatesStatus = duplicates->Status->text();
        }
        d.hide();
        return int(QDialog::Accepted);
    });
    window.action("FindDuplicates")->trigger();
    std::cout << "Find Duplicates window: list painted after " << duplicatesMs << " ms ("
              << duplicatesStatus.toStdString() << "); peak memory grew by "
              << peakMegabytes() - peakBeforeDuplicates << " MB\n";
    for (const char* peer : {"db_ops duplicates", "reelkeeper-cli duplicates"}) {
        const QString program = QString(peer).startsWith("db_ops")
                                    ? QCoreApplication::applicationDirPath() + "/db_ops"
                                    : QCoreApplication::applicationDirPath() + "/../app/reelkeeper-cli";
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        const auto running = Clock::now();
        process.start(program, {"duplicates", QString::fromLocal8Bit(argv[1])});
        process.waitForFinished(-1);
        std::cout << "  beside " << peer << " in the same run: " << msSince(running) << " ms\n";
    }
    // Options > Show Cover: from a key that moves to the next record to the
    // pane showing that record's cover, over records that all have one (a
    // poster of 1000 x 1500 pixels, as the editor keeps them).
    {
        db::Table& t = window.table();
        t.first();
        const QString folder = QString::fromStdString(covers::coversFolderOf(t.filePath()));
        QDir().mkpath(folder);
        // Detail all over, as a photograph has: a picture of one colour decodes several times faster.
        QImage poster(1000, 1500, QImage::Format_RGB32);
        uint32_t seed = 1;
        for (int y = 0; y < poster.height(); ++y)
            for (int x = 0; x < poster.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                poster.setPixel(x, y, qRgb((x / 4 + (seed >> 24) % 48) % 256, (y / 6) % 256, 90 + (seed >> 16) % 60));
            }
        const int year = t.fieldIndex("Year");
        const int films = 200;
        for (int i = 0; i < films && !t.eof(); ++i, t.next())
            poster.save(folder + "/" + QString::fromStdString(covers::coverBaseName(t.text(0), year >= 0 ? t.text(year) : ""))
                            + ".jpg",
                        "JPG", 90);
        window.action("ShowCover")->trigger();
        window.navigator()->button(app::MyNavigator::First)->click();
        QCoreApplication::processEvents();
        // Down through films never seen (their thumbnails made), then back up: past the last few
        // dozen the pane holds in memory, each cover comes from its thumbnail on disk.
        for (const auto& [key, pass] : {std::pair{Qt::Key_Down, "films not seen before"}, std::pair{Qt::Key_Up, "back up, thumbnails on disk"}}) {
            std::vector<double> follows;
            for (int i = 1; i < films; ++i) {
                const auto moving = Clock::now();
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(window.grid(), &press);
                while (window.coverPane()->waiting())
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                window.coverPane()->repaint();
                if (key == Qt::Key_Down || i > 60) // going up, the first few dozen are still in memory
                    follows.push_back(msSince(moving));
            }
            std::sort(follows.begin(), follows.end());
            std::cout << "cover pane (" << pass << "): the next record's cover shown after a key: median "
                      << follows[follows.size() / 2] << " ms, worst " << follows.back() << " ms (" << follows.size()
                      << " moves, the pane's pause of 15 ms included)\n";
        }
        window.action("ShowCover")->trigger();
        QDir(folder).removeRecursively();
    }
    std::cout << "peak memory: " << peakMegabytes() << " MB\n";
    window.close();
    return 0;
}
