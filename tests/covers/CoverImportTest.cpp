// Catalogues that bring their pictures: GCstar's picture paths, Tellico's
// images (inside a .tc archive or beside the XML), Kodi's posters beside the
// .nfo files. Each picture becomes its film's cover; one that is missing,
// damaged or hostile is counted and named, and its film still comes in.
#include "Catalogues.h"
#include "CoverNames.h"
#include "CoverStore.h"
#include "CoverTestPictures.h"
#include "Import.h"
#include "NewCollection.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

using namespace exchange;

namespace {

class CoverImport : public ::testing::Test, protected testing_support::NewCollection {
protected:
    std::string picture(const std::string& name, int width, int height, const char* format = "JPEG")
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(30, 90, 200));
        const std::string at = dir.file(name);
        QDir().mkpath(QFileInfo(QString::fromStdString(at)).absolutePath());
        EXPECT_TRUE(image.save(QString::fromStdString(at), format));
        return at;
    }
    void write(const std::string& name, const QByteArray& bytes)
    {
        const QString at = QString::fromStdString(dir.file(name));
        QDir().mkpath(QFileInfo(at).absolutePath());
        QFile file(at);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // A JPEG cut short on the way, as a broken download leaves it.
    void truncatedJpeg(const std::string& name)
    {
        QFile whole(QString::fromStdString(picture(name, 400, 600)));
        whole.open(QIODevice::ReadOnly);
        const QByteArray bytes = whole.readAll();
        whole.close();
        write(name, bytes.left(bytes.size() / 2));
    }
    QStringList covers() const
    {
        return QDir(QString::fromStdString(covers::coversFolderOf(path))).entryList(QDir::Files, QDir::Name);
    }
    ImportResult import(const std::string& file)
    {
        return importCatalogue(table, dir.file(file), recogniseCatalogue(dir.file(file)), {});
    }
};

std::string films(const ImportResult& result)
{
    std::string named;
    for (const auto& n : result.coversNotTaken)
        named += n.film + ";";
    return named;
}

} // namespace

TEST_F(CoverImport, GcstarPicturePathsRelativeOrAbsoluteBecomeCoversAndBadOnesAreCountedByFilm)
{
    picture("gcstar/Films_pictures/heat.jpg", 300, 450);
    const std::string absolute = picture("elsewhere/vertigo.png", 200, 300, "PNG");
    truncatedJpeg("gcstar/Films_pictures/broken.jpg");
    // A PNG whose header claims 30,000 x 30,000 pixels: refused before anything is decoded.
    QFile small(QString::fromStdString(picture("small.png", 4, 4, "PNG")));
    small.open(QIODevice::ReadOnly);
    write("gcstar/Films_pictures/bomb.png", pngClaiming(small.readAll(), 30000, 30000));
    write("gcstar/films.gcs",
          QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<collection type=\"GCfilms\" items=\"6\" version=\"1.7.0\">\n"
                     " <item id=\"1\" title=\"Heat\" date=\"15/12/1995\" image=\"./Films_pictures/heat.jpg\"/>\n"
                     " <item id=\"2\" title=\"Vertigo\" date=\"1958\" image=\"")
              + QByteArray::fromStdString(absolute)
              + "\"/>\n"
                " <item id=\"3\" title=\"Alien\" date=\"1979\" image=\"Films_pictures/gone.jpg\"/>\n"
                " <item id=\"4\" title=\"Brazil\" date=\"1985\" image=\"Films_pictures/broken.jpg\"/>\n"
                " <item id=\"5\" title=\"Ran\" date=\"1985\" image=\"Films_pictures/bomb.png\"/>\n"
                " <item id=\"6\" title=\"Solaris\" date=\"1972\" image=\"\"/>\n"
                "</collection>\n");
    const ImportResult result = import("gcstar/films.gcs");
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(result.imported, 6u); // every film, with or without its picture
    EXPECT_EQ(result.coversTaken, 2u);
    EXPECT_EQ(covers(), QStringList({"Heat (1995).jpg", "Vertigo (1958).png"}));
    ASSERT_EQ(result.coversNotTaken.size(), 3u);
    EXPECT_EQ(films(result), "Alien (1979);Brazil (1985);Ran (1985);");
    const std::string message = importMessage(result);
    EXPECT_NE(message.find("2 covers came with their films."), std::string::npos) << message;
    EXPECT_NE(message.find("3 pictures were missing or could not be read"), std::string::npos) << message;
    EXPECT_NE(message.find("Alien (1979): The picture"), std::string::npos) << message;
    EXPECT_NE(message.find("Brazil (1985): The picture \"broken.jpg\" is damaged"), std::string::npos) << message;
    EXPECT_NE(message.find("Ran (1985): The picture \"bomb.png\" is too large to read (30000 x 30000 pixels)."),
              std::string::npos)
        << message;
}

TEST_F(CoverImport, AnImportNeverReplacesACoverAFilmHasAndNamesItAsTheRecordIsStored)
{
    covers::CoverStore store(path);
    store.store("Heat", "1995", picture("mine.png", 50, 70, "PNG"));
    picture("g/a.jpg", 100, 150);
    // A title longer than the field is cut to it, and the cover is named from what is stored.
    const std::string longTitle(300, 'x');
    write("g/films.gcs", QByteArray("<?xml version=\"1.0\"?><collection type=\"GCfilms\">"
                                    "<item title=\"Heat\" date=\"1995\" image=\"a.jpg\"/>"
                                    "<item title=\"")
                             + QByteArray::fromStdString(longTitle) + "\" date=\"2001\" image=\"a.jpg\"/></collection>");
    const ImportResult result = import("g/films.gcs");
    EXPECT_EQ(result.imported, 2u);
    EXPECT_EQ(result.coversKept, 1u);
    EXPECT_EQ(result.coversTaken, 1u);
    EXPECT_TRUE(QString::fromStdString(store.find("Heat", "1995")).endsWith(".png")); // the film's own cover stayed
    table.last();
    EXPECT_FALSE(store.find(table.text(0), table.text(table.requireField("Year"))).empty());
}

TEST_F(CoverImport, TellicoImagesComeFromTheArchiveOrFromBesideTheXml)
{
    // A .tc archive: tellico.xml and images/, made by Python's zipfile as Tellico's own would be.
    picture("heat.jpeg", 120, 180);
    const char* entries = "<?xml version=\"1.0\"?><tellico xmlns=\"http://periapsis.org/tellico/\" syntaxVersion=\"11\">"
                          "<collection title=\"V\" type=\"3\">"
                          "<entry id=\"1\"><title>Heat</title><year>1995</year><cover>0a1b2c.jpeg</cover></entry>"
                          "<entry id=\"2\"><title>Ran</title><year>1985</year><cover>ffff.png</cover></entry>"
                          "<entry id=\"3\"><title>Evil</title><year>2000</year><cover>../../etc/passwd</cover></entry>"
                          "</collection></tellico>";
    write("tellico.xml", entries);
    // images/ffff.png unpacks to 200 MB of zeros: a bomb refused by the size it declares.
    const std::string script = "import zipfile,sys\n"
                               "z=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED)\n"
                               "z.write(sys.argv[2],'tellico.xml')\n"
                               "z.write(sys.argv[3],'images/0a1b2c.jpeg')\n"
                               "z.writestr('images/ffff.png', b'\\0'*(200<<20))\n"
                               "z.close()\n";
    const auto q = [](const std::string& text) { return QString::fromStdString(text); };
    ASSERT_EQ(QProcess::execute("python3", {"-c", q(script), q(dir.file("videos.tc")), q(dir.file("tellico.xml")),
                                            q(dir.file("heat.jpeg"))}),
              0);
    const ImportResult zipped = import("videos.tc");
    EXPECT_EQ(zipped.imported, 3u);
    EXPECT_EQ(covers(), QStringList({"Heat (1995).jpg"}));
    ASSERT_EQ(zipped.coversNotTaken.size(), 2u);
    EXPECT_EQ(films(zipped), "Ran (1985);Evil (2000);");
    EXPECT_NE(importMessage(zipped).find("\"ffff.png\" is larger than 64 MB"), std::string::npos) << importMessage(zipped);

    // The bare XML with its images in "<name>_files" beside it.
    QDir(QString::fromStdString(covers::coversFolderOf(path))).removeRecursively();
    picture("bare_files/ffff.png", 90, 120, "PNG");
    write("bare.xml", entries);
    const ImportResult bare = import("bare.xml");
    EXPECT_EQ(bare.coversTaken, 1u);
    EXPECT_EQ(covers(), QStringList({"Ran (1985).png"}));
}

TEST_F(CoverImport, KodiPostersBesideEachNfoAndLocalThumbsAreTaken)
{
    const auto nfo = [&](const std::string& name, const std::string& title, const std::string& extra = {}) {
        write(name, QByteArray::fromStdString("<movie><title>" + title + "</title><year>2000</year>" + extra + "</movie>"));
    };
    // A folder of its own: poster.jpg, folder.jpg only when there is no poster.
    nfo("lib/Heat (1995)/movie.nfo", "Heat");
    picture("lib/Heat (1995)/poster.jpg", 100, 150);
    picture("lib/Heat (1995)/fanart.jpg", 300, 150);
    nfo("lib/Ran/movie.nfo", "Ran");
    picture("lib/Ran/folder.jpg", 100, 150);
    // One folder for many films: "<name>-poster" is each film's own, the folder's poster.jpg is nobody's.
    nfo("lib/flat/Alien.nfo", "Alien");
    picture("lib/flat/Alien-poster.png", 100, 150, "PNG");
    nfo("lib/flat/Brazil.nfo", "Brazil");
    picture("lib/flat/poster.jpg", 100, 150);
    nfo("lib/flat/Coma.nfo", "Coma", "<thumb aspect=\"poster\">https://image.tmdb.org/t/p/original/x.jpg</thumb>"
                                     "<thumb aspect=\"poster\">art/coma.jpg</thumb>");
    picture("lib/flat/art/coma.jpg", 100, 150);
    nfo("lib/flat/Dune.nfo", "Dune", "<thumb>art/missing.jpg</thumb>");
    const ImportResult result = import("lib");
    EXPECT_EQ(result.imported, 6u);
    EXPECT_EQ(covers(), QStringList({"Alien (2000).png", "Coma (2000).jpg", "Heat (2000).jpg", "Ran (2000).jpg"}));
    EXPECT_EQ(films(result), "Dune (2000);");
}
