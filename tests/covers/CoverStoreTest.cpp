// Covers beside a real collection: the names made from titles and years in
// every script, pictures taken whole or refused whole, and covers that follow
// their films through edits, replaces and another copy's edits.
#include "CoverNames.h"
#include "CoverStore.h"
#include "CoverTestPictures.h"
#include "ThumbnailCache.h"
#include "DbError.h"
#include "NewCollection.h"
#include "Replace.h"
#include "Scripts.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>


using namespace covers;

namespace {

class Covers : public ::testing::Test, protected testing_support::NewCollection {
protected:
    uint32_t add(const std::string& title, int year = 0)
    {
        table.insert();
        table.setText(0, title);
        if (year)
            table.setNumber(table.requireField("Year"), year);
        table.post();
        return table.recNo();
    }

    // A picture file of the given size and kind, in the test's folder.
    std::string picture(const std::string& name, int width, int height, const char* format, bool transparent = false)
    {
        QImage image(width, height, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        image.fill(transparent ? QColor(200, 30, 30, 100) : QColor(30, 90, 200));
        const std::string path = dir.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path), format));
        return path;
    }

    static QByteArray bytesOf(const std::string& path)
    {
        QFile file(QString::fromStdString(path));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static void writeBytes(const std::string& path, const QByteArray& bytes)
    {
        QFile file(QString::fromStdString(path));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    QStringList coverFiles() const
    {
        return QDir(QString::fromStdString(coversFolderOf(path))).entryList(QDir::Files, QDir::Name);
    }

    void editRecord(uint32_t rec, const std::string& title, int year)
    {
        ASSERT_TRUE(table.gotoBookmark(db::Table::Bookmark{rec, {}}));
        table.edit();
        table.setText(0, title);
        table.setNumber(table.requireField("Year"), year);
        table.post();
    }
};

} // namespace

TEST(CoverNames, AFilmsCoverIsNamedFromItsTitleAndYear)
{
    EXPECT_EQ(coversFolderOf("/home/me/MOVIES.DBF"), "/home/me/MOVIES.covers");
    EXPECT_EQ(coversFolderOf("/home/me.d/MOVIES"), "/home/me.d/MOVIES.covers");
    EXPECT_EQ(coverBaseName("Heat", "1995"), "Heat (1995)");
    EXPECT_EQ(coverBaseName("  Heat  ", " 1995"), "Heat (1995)");
    EXPECT_EQ(coverBaseName("Heat", ""), "Heat");
    EXPECT_EQ(coverBaseName("Heat", "0"), "Heat") << "a year nobody entered";
    EXPECT_EQ(coverBaseName("", "1995"), "") << "no title, no cover";
    EXPECT_EQ(coverBaseName("AC/DC: Live? \"Yes\" <1> | *", "1991"), "AC_DC_ Live_ _Yes_ _1_ _ _ (1991)");
    EXPECT_EQ(coverBaseName("...And Justice", "1988"), "And Justice (1988)") << "no hidden file";
    EXPECT_EQ(coverBaseName("Se7en.", "1995"), "Se7en (1995)") << "no dot before the year";
    EXPECT_EQ(coverBaseName("..", ""), "");
    EXPECT_EQ(coverBaseName("Tab\there", ""), "Tab_here");
    // Every character of the ASCII range: only the ones a file system refuses change.
    std::string all;
    for (int c = 1; c < 128; ++c)
        all += static_cast<char>(c);
    const std::string named = coverBaseName("x" + all + "x", "");
    EXPECT_EQ(named.find_first_of("/\\:*?\"<>|\x01\x1F\x7F"), std::string::npos) << named;
    for (const char kept : std::string("!#$%&'()+,-.0123456789;=@AZ[]^`az{}~ "))
        EXPECT_NE(named.find(kept), std::string::npos) << kept;
    EXPECT_EQ(named.size(), all.size() + 2) << "one character for one";
    // Every script as the collection stores it, and a decomposed accent as one.
    for (const testing_support::ScriptTitle& title : testing_support::scriptTitles()) {
        EXPECT_EQ(coverBaseName(title.title, "2001"), title.stored + " (2001)") << title.script;
        EXPECT_EQ(coverBaseName(title.stored, "2001"), coverBaseName(title.title, "2001")) << title.script;
    }
    // A long title is cut where a character ends, with room for the year and the ending.
    std::string longTitle;
    for (int i = 0; i < 150; ++i)
        longTitle += "\xC3\xA9"; // é, two bytes
    const std::string cut = coverBaseName(longTitle, "1999");
    EXPECT_LE(cut.size(), kLongestName);
    EXPECT_EQ(cut.substr(cut.size() - 7), " (1999)");
    EXPECT_EQ(cut.size() % 2, 1u) << "whole characters and the year's seven bytes";
}

TEST_F(Covers, APictureIsKeptAsItComesOrScaledAndFoundByTitleAndYear)
{
    CoverStore store(path);
    EXPECT_EQ(store.find("Heat", "1995"), "");
    const std::string jpeg = picture("heat.jpg", 400, 600, "JPG");
    const std::string kept = store.store("Heat", "1995", jpeg);
    EXPECT_EQ(kept, store.folder() + "/Heat (1995).jpg");
    EXPECT_EQ(bytesOf(kept), bytesOf(jpeg)) << "as it came";
    EXPECT_EQ(store.find("Heat", "1995"), kept);
    EXPECT_EQ(store.find("Heat", "1996"), "");
    // A large picture is scaled to the longest side; a transparent one stays PNG.
    const std::string large = store.store("Alien", "1979", picture("alien.png", 3000, 2000, "PNG"));
    EXPECT_EQ(QImage(QString::fromStdString(large)).size(), QSize(1500, 1000));
    const std::string clear = store.store("Ghost", "1990", picture("ghost.png", 2000, 4000, "PNG", true));
    EXPECT_TRUE(clear.ends_with(".png"));
    EXPECT_TRUE(QImage(QString::fromStdString(clear)).hasAlphaChannel());
    EXPECT_EQ(QImage(QString::fromStdString(clear)).height(), 1500);
    // A kind kept otherwise (BMP) becomes JPEG; a new picture replaces the old of another kind.
    const std::string bmp = store.store("Heat", "1995", picture("heat.bmp", 100, 150, "BMP"));
    EXPECT_EQ(bmp, store.folder() + "/Heat (1995).jpg");
    const std::string png = store.store("Heat", "1995", picture("heat2.png", 100, 150, "PNG"));
    EXPECT_EQ(png, store.folder() + "/Heat (1995).png");
    EXPECT_EQ(coverFiles(), (QStringList{"Alien (1979).jpg", "Ghost (1990).png", "Heat (1995).png"}));
    if (QImageReader::supportedImageFormats().contains("webp")) {
        const std::string webp = picture("vertigo.webp", 300, 400, "WEBP");
        EXPECT_EQ(bytesOf(store.store("Vertigo", "1958", webp)), bytesOf(webp));
    }
    // A picture dropped into the folder by name is the film's, whatever its ending's case.
    writeBytes(store.folder() + "/Metropolis (1927).JPG", bytesOf(jpeg));
    EXPECT_EQ(store.find("Metropolis", "1927"), store.folder() + "/Metropolis (1927).JPG");
    // A pasted picture.
    QImage pasted(50, 80, QImage::Format_RGB32);
    pasted.fill(Qt::darkGreen);
    EXPECT_TRUE(store.storeImage("Zelig", "1983", pasted).ends_with("Zelig (1983).jpg"));
    EXPECT_TRUE(store.remove("Zelig", "1983"));
    EXPECT_FALSE(store.remove("Zelig", "1983"));
    EXPECT_THROW(store.store("", "1983", jpeg), db::DbError) << "no title, no cover";
}

// Damaged and hostile pictures are refused with the picture's name, and leave nothing behind.
TEST_F(Covers, DamagedAndHostilePicturesAreRefusedWhole)
{
    CoverStore store(path);
    const QByteArray jpeg = bytesOf(picture("whole.jpg", 300, 300, "JPG"));
    const QByteArray png = bytesOf(picture("whole.png", 300, 300, "PNG"));
    const std::vector<std::pair<std::string, QByteArray>> bad = {
        {"cut.jpg", jpeg.left(jpeg.size() / 2)},
        {"cut.png", png.left(png.size() / 2)},
        {"noise.jpg", QByteArray(5000, '\x5A')},
        {"empty.png", QByteArray()},
        {"huge.png", pngClaiming(png, 30000, 30000)},
        {"bomb.png", pngClaiming(png, 15000, 15000)},
    };
    for (const auto& [name, bytes] : bad) {
        SCOPED_TRACE(name);
        const std::string file = dir.file(name);
        writeBytes(file, bytes);
        try {
            store.store("Heat", "1995", file);
            ADD_FAILURE() << "taken";
        } catch (const db::DbError& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(store.store("Heat", "1995", dir.file("missing.jpg")), db::DbError);
    CoverLimits small;
    small.largestFileBytes = 100;
    EXPECT_THROW(store.store("Heat", "1995", dir.file("whole.jpg"), small), db::DbError);
    EXPECT_TRUE(coverFiles().isEmpty()) << coverFiles().join(", ").toStdString();
    EXPECT_EQ(store.find("Heat", "1995"), "");
}

// A cover follows its film when an edit or a replace changes the title or the
// year, through this table or another copy's; a name another film's cover has
// is never overwritten; the DVD keeps the cover it shares with the VHS.
TEST_F(Covers, ACoverFollowsItsFilmsTitleAndYear)
{
    followTitleChanges(table);
    CoverStore store(path);
    const std::string jpeg = picture("cover.jpg", 100, 150, "JPG");
    const uint32_t heat = add("Heat", 1995);
    const uint32_t alien = add("Alien", 1979);
    store.store("Heat", "1995", jpeg);
    store.store("Alien", "1979", jpeg);
    editRecord(heat, "Heat", 1996);
    EXPECT_EQ(coverFiles(), (QStringList{"Alien (1979).jpg", "Heat (1996).jpg"}));
    editRecord(heat, "Heat!", 1996);
    EXPECT_EQ(store.find("Heat!", "1996"), store.folder() + "/Heat! (1996).jpg");
    // A name taken: both covers stay as they are.
    editRecord(heat, "Alien", 1979);
    EXPECT_EQ(coverFiles(), (QStringList{"Alien (1979).jpg", "Heat! (1996).jpg"}));
    editRecord(heat, "Heat!", 1996);

    // Two records of one film: the one renamed takes a copy, the other keeps its cover.
    const uint32_t dvd = add("Heat!", 1996);
    editRecord(dvd, "Heat! (Director's Cut)", 1996);
    EXPECT_EQ(coverFiles(), (QStringList{"Alien (1979).jpg", "Heat! (1996).jpg", "Heat! (Director's Cut) (1996).jpg"}));

    // Search and Replace goes through the same step.
    find::ReplaceSpec spec;
    spec.position = 1;
    spec.search = "ALIEN";
    spec.replacement = "Aliens";
    find::runReplace(table, spec, nullptr, nullptr);
    EXPECT_EQ(store.find("Aliens", "1979"), store.folder() + "/Aliens (1979).jpg");
    EXPECT_EQ(store.find("Alien", "1979"), "");

    // Another copy of the program, on the same collection, renames it too; this one sees it.
    db::Table other;
    other.setFilePath(path);
    other.open();
    followTitleChanges(other);
    ASSERT_TRUE(other.gotoBookmark(db::Table::Bookmark{alien, {}}));
    other.edit();
    other.setText(0, "Alien 3");
    other.post();
    EXPECT_EQ(store.find("Alien 3", "1979"), store.folder() + "/Alien 3 (1979).jpg");
    other.close();

    // A film deleted leaves its cover to be listed, not deleted.
    ASSERT_TRUE(table.gotoBookmark(db::Table::Bookmark{alien, {}}));
    table.deleteRecord();
    EXPECT_EQ(store.withoutAFilm(table), (std::vector<std::string>{"Alien 3 (1979).jpg"}));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(store.folder() + "/Alien 3 (1979).jpg")));
}

// A Windows-1252 collection's titles name their covers as a Unicode one's do.
TEST(CoversOfAnOlderCollection, NameTheirCoversInUnicode)
{
    testing_support::NewCollection older("OLD.DBF", db::TextEncoding::Windows1252);
    followTitleChanges(older.table);
    older.table.insert();
    older.table.setText(0, "Am\xC3\xA9lie");
    older.table.setNumber(older.table.requireField("Year"), 2001);
    older.table.post();
    CoverStore store(older.path);
    QImage image(40, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    store.storeImage("Am\xC3\xA9lie", "2001", image);
    older.table.edit();
    older.table.setText(0, "Am\xC3\xA9lie (Le fabuleux destin)");
    older.table.post();
    EXPECT_FALSE(store.find("Am\xC3\xA9lie (Le fabuleux destin)", "2001").empty());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(store.folder() + "/Am\xC3\xA9lie (Le fabuleux destin) (2001).jpg")));
}

// The pane's thumbnails on disk: made once for a picture and a size, made
// again when the picture changes, and kept under their limit.
TEST_F(Covers, ThumbnailsAreKeptOnDiskByPictureAndSizeAndStayUnderTheirLimit)
{
    const std::string folder = dir.file("thumbnails");
    ThumbnailCache cache(folder, 40 << 10);
    const std::string big = picture("big.jpg", 1200, 1800, "JPEG");
    const QImage first = cache.thumbnail(big, QSize(200, 300));
    EXPECT_EQ(first.size(), QSize(200, 300));
    const QStringList made = QDir(QString::fromStdString(folder)).entryList(QDir::Files);
    ASSERT_EQ(made.size(), 1);
    // Asked again, the thumbnail on disk is read, and nothing new is made.
    EXPECT_EQ(cache.thumbnail(big, QSize(200, 300)).size(), QSize(200, 300));
    EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files).size(), 1);
    // Another size, and a changed picture, are other thumbnails.
    EXPECT_EQ(cache.thumbnail(big, QSize(100, 150)).size(), QSize(100, 150));
    QFile::remove(QString::fromStdString(big));
    picture("big.jpg", 600, 300, "JPEG");
    QFile touched(QString::fromStdString(big));
    touched.open(QIODevice::ReadWrite);
    touched.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    touched.close();
    EXPECT_EQ(cache.thumbnail(big, QSize(200, 300)).size(), QSize(200, 100)) << "the new picture, not the old thumbnail";
    EXPECT_TRUE(cache.thumbnail(dir.file("missing.jpg"), QSize(200, 300)).isNull());
    // Many more than the limit holds: the oldest go.
    for (int i = 0; i < 80; ++i)
        cache.thumbnail(big, QSize(150 + i, 150 + i));
    cache.prune();
    qint64 total = 0;
    for (const QFileInfo& file : QDir(QString::fromStdString(folder)).entryInfoList(QDir::Files))
        total += file.size();
    EXPECT_LE(total, 40 << 10);
}
