// Covers killed at every change: a cover stored for a new record and a cover
// following its film's new title, with the process stopped at each change of
// a file in turn. The collection opens whole every time; a picture is never
// lost, never cut short and never left under two names, only ever under the
// film's old or new name.
#include "CollectionFile.h"
#include "CoverNames.h"
#include "CoverStore.h"
#include "StopWalk.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <filesystem>

using namespace testing_support;

namespace {

QByteArray bytesOf(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string jpeg(const std::string& path, QColor color)
{
    QImage image(90, 135, QImage::Format_RGB32);
    image.fill(color);
    image.save(QString::fromStdString(path), "JPEG");
    return path;
}

// Heat (1995) with its cover, and Alien (1979) without one.
void freshCollection(TempDir& dir, const std::string& collection, const std::string& heat)
{
    std::filesystem::remove(collection);
    std::filesystem::remove_all(covers::coversFolderOf(collection));
    db::createCollectionTable(collection);
    db::Table table;
    table.setFilePath(collection);
    table.open();
    for (const auto& [title, year] : {std::pair{"Heat", 1995}, std::pair{"Alien", 1979}}) {
        table.insert();
        table.setText(0, title);
        table.setNumber(table.requireField("Year"), year);
        table.post();
    }
    covers::CoverStore(collection).store("Heat", "1995", heat);
    (void)dir;
}

} // namespace

TEST(CoverCrash, KilledAtEveryChangeAPictureIsWholeUnderItsFilmsOldOrNewNameNeverLost)
{
    TempDir dir;
    const std::string collection = dir.file("FILMS.DBF");
    const std::string heat = jpeg(dir.file("heat.jpg"), Qt::darkRed), alien = jpeg(dir.file("alien.jpg"), Qt::darkGreen);
    const QByteArray heatBytes = bytesOf(heat), alienBytes = bytesOf(alien);
    const std::string folder = covers::coversFolderOf(collection);
    auto work = [&](const Say& say) {
        db::Table table;
        table.setFilePath(collection);
        table.open();
        covers::followTitleChanges(table);
        covers::CoverStore(collection).store("Alien", "1979", alien); // the editor's new cover
        for (table.first(); !table.eof() && table.text(0) != "Heat"; table.next()) {
        }
        table.edit();
        table.setText(0, "Heat II");
        table.post();
        say("done");
    };
    freshCollection(dir, collection, heat);
    const StoppedRun whole = runStoppedAt(0, work);
    ASSERT_EQ(whole.status, 0) << whole.said;
    ASSERT_GT(whole.changes, 4u);
    std::printf("a new cover and a renamed one: %llu changes\n", static_cast<unsigned long long>(whole.changes));
    for (uint64_t at = 1; at <= whole.changes + 1; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at) + " of " + std::to_string(whole.changes));
        freshCollection(dir, collection, heat);
        const StoppedRun run = runStoppedAt(at, work);
        db::Table table;
        table.setFilePath(collection);
        table.open();
        EXPECT_EQ(table.fileProblem(), "");
        EXPECT_EQ(table.recordCount(), 2u);
        // Heat's picture: under one of its names, whole.
        const QByteArray oldName = bytesOf(folder + "/Heat (1995).jpg"), newName = bytesOf(folder + "/Heat II (1995).jpg");
        EXPECT_TRUE(oldName.isEmpty() != newName.isEmpty()) << "under exactly one name";
        EXPECT_EQ(oldName.isEmpty() ? newName : oldName, heatBytes);
        // Alien's: there whole, or not there.
        const QByteArray alienCover = bytesOf(folder + "/Alien (1979).jpg");
        EXPECT_TRUE(alienCover.isEmpty() || alienCover == alienBytes);
        if (run.status == 0) {
            EXPECT_EQ(newName, heatBytes) << "a run to its end: the cover follows its film";
            EXPECT_EQ(alienCover, alienBytes);
        }
        if (::testing::Test::HasFailure())
            return;
    }
}
