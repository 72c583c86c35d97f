// Exports that take the covers along: the HTML catalogue (pictures scaled
// into a folder beside the page, shown in a real browser, the page still
// whole without them), Tellico's .tc archive and bare XML with its images,
// and a Kodi library of .nfo files and posters; each read back by our own
// imports to the same films and covers.
#include "Catalogues.h"
#include "CoverNames.h"
#include "CoverStore.h"
#include "Export.h"
#include "Import.h"
#include "NewCollection.h"
#include "RunCommand.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>

using namespace exchange;

namespace {

class CoverExport : public ::testing::Test, protected testing_support::NewCollection {
protected:
    CoverExport()
    {
        add("Heat", 1995);
        add("Heat", 1995); // the VHS beside the DVD: one cover for both
        add("Amélie", 2001);
        add("東京物語", 1953);
        add("Alien", 1979); // no cover
        covers::CoverStore store(path);
        store.store("Heat", "1995", picture("heat.jpg", 1000, 1500));
        store.store("Amélie", "2001", picture("amelie.png", 300, 450, true));
        store.store("東京物語", "1953", picture("tokyo.jpg", 120, 180));
    }
    void add(const std::string& title, int year)
    {
        table.insert();
        table.setText(0, title);
        table.setText(table.requireField("Director"), "Someone, Another");
        table.setNumber(table.requireField("Year"), year);
        table.post();
    }
    std::string picture(const std::string& name, int width, int height, bool transparent = false)
    {
        QImage image(width, height, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        image.fill(transparent ? QColor(200, 30, 30, 120) : QColor(30, 90, 200));
        const std::string at = dir.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(at)));
        return at;
    }
    static QStringList filesIn(const std::string& folder)
    {
        return QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name);
    }
    std::vector<ExportField> titleAndYear() const
    {
        std::vector<ExportLayoutEntry> layout(40, {0, false});
        layout[0] = {1, true};
        layout[10] = {2, true};
        return exportList(layout, {}, table);
    }
    static std::string read(const std::string& file)
    {
        QFile in(QString::fromStdString(file));
        in.open(QIODevice::ReadOnly);
        return in.readAll().toStdString();
    }
};

// What headless Chromium shows of a page: it loads the page in a frame, waits,
// and writes the table's rows and each picture's state into its own text.
std::string chromiumReport(const std::string& page, testing_support::TempDir& dir)
{
    const std::string wrapper = dir.file("look.html");
    QFile out(QString::fromStdString(wrapper));
    out.open(QIODevice::WriteOnly);
    out.write(QByteArray("<!DOCTYPE html><html><body><pre id=\"out\">waiting</pre>"
                         "<iframe id=\"f\" style=\"width:1200px;height:2400px\" src=\"")
              + QUrl::fromLocalFile(QString::fromStdString(page)).toEncoded()
              + "\"></iframe><script>\n"
                "var f = document.getElementById('f');\n"
                "f.onload = function () { setTimeout(function () {\n"
                "  var d = f.contentDocument;\n"
                "  var lines = ['rows ' + d.querySelectorAll('#videos tbody tr:not(.pad)').length];\n"
                "  d.querySelectorAll('#videos img').forEach(function (i) {\n"
                "    var seen = i.complete && i.naturalWidth > 0 ? 'shown' : i.style.visibility === 'hidden' ? 'hidden' : 'broken';\n"
                "    lines.push(decodeURIComponent(i.getAttribute('src')) + ' ' + seen + ' ' + i.naturalWidth + 'x' + i.naturalHeight);\n"
                "  });\n"
                "  document.getElementById('out').textContent = lines.join('\\n');\n"
                "}, 1500); };\n"
                "</script></body></html>");
    out.close();
    QProcess chromium;
    chromium.start("chromium", {"--headless", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
                                "--virtual-time-budget=8000", "--dump-dom", QUrl::fromLocalFile(QString::fromStdString(wrapper)).toString()});
    chromium.waitForFinished(90000);
    const QString dom = QString::fromUtf8(chromium.readAllStandardOutput());
    const qsizetype from = dom.indexOf("<pre id=\"out\">") + 14;
    return dom.mid(from, dom.indexOf("</pre>") - from).replace("&amp;", "&").toStdString();
}

} // namespace

TEST_F(CoverExport, AnHtmlCatalogueShowsEachCoverFromAFolderBesideItAndWorksWithoutIt)
{
    ExportOptions options;
    options.withCovers = true;
    const std::string page = dir.file("catalogue.html");
    const ExportResult result = exportHtml(table, titleAndYear(), page, "Films", options);
    EXPECT_EQ(result.written, 5u);
    EXPECT_EQ(result.covers, 3u) << "one picture for both records of Heat";
    EXPECT_TRUE(result.coversNotWritten.empty());
    const std::string folder = dir.file("catalogue_covers");
    EXPECT_EQ(filesIn(folder), QStringList({"Amélie (2001).png", "Heat (1995).jpg", "東京物語 (1953).jpg"}));
    // Scaled for the web, never enlarged.
    EXPECT_EQ(QImageReader(QString::fromStdString(folder + "/Heat (1995).jpg")).size(), QSize(160, 240));
    EXPECT_EQ(QImageReader(QString::fromStdString(folder + "/東京物語 (1953).jpg")).size(), QSize(120, 180));
    EXPECT_TRUE(QImage(QString::fromStdString(folder + "/Amélie (2001).png")).hasAlphaChannel());
    const std::string html = read(page);
    EXPECT_NE(html.find("<img loading=\"lazy\" alt=\"\" src=\"catalogue_covers/Heat%20(1995).jpg\">"), std::string::npos);
    EXPECT_EQ(html.find("file:"), std::string::npos) << "addresses relative to the page";

    const std::string plain = read((exportHtml(table, titleAndYear(), dir.file("plain.html"), "Films", {}), dir.file("plain.html")));
    EXPECT_EQ(plain.find("<td class=\"c\"><img"), std::string::npos) << "no covers unless asked for";
    EXPECT_EQ(plain.find("class=\"pictured\""), std::string::npos);

    if (!testing_support::haveProgram("chromium"))
        GTEST_SKIP() << "chromium is not installed: the page is not shown in a browser";
    const std::string shown = chromiumReport(page, dir);
    EXPECT_EQ(shown, "rows 5\n"
                     "catalogue_covers/Heat (1995).jpg shown 160x240\n"
                     "catalogue_covers/Heat (1995).jpg shown 160x240\n"
                     "catalogue_covers/Amélie (2001).png shown 160x240\n"
                     "catalogue_covers/東京物語 (1953).jpg shown 120x180");
    // Without its folder the page still shows every film, and no broken picture.
    QDir(QString::fromStdString(folder)).removeRecursively();
    const std::string without = chromiumReport(page, dir);
    EXPECT_EQ(without.substr(0, 7), "rows 5\n");
    EXPECT_EQ(without.find("broken"), std::string::npos) << without;
    EXPECT_EQ(without.find("shown"), std::string::npos) << without;
}

TEST_F(CoverExport, ATellicoArchiveCarriesItsImagesAndReadsBackWithTheCovers)
{
    ExportOptions options;
    options.withCovers = true;
    const std::string tc = dir.file("videos.tc");
    const ExportResult result = exportTellico(table, tc, options);
    EXPECT_EQ(result.written, 5u);
    EXPECT_EQ(result.covers, 3u);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(tc + ".rk-tellico.xml"))) << "no work file left behind";
    // Python's zipfile as a second reader: the XML and three images, the pictures stored as they are.
    const std::string listed = testing_support::runCommand(
        "python3 -c 'import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); print(z.testzip(), sorted((i.filename.split(\"/\")[0], i.compress_type) for i in z.infolist()))' '"
        + tc + "'");
    EXPECT_EQ(listed, "None [('images', 0), ('images', 0), ('images', 0), ('tellico.xml', 8)]\n");

    testing_support::NewCollection other("BACK.DBF");
    const ImportResult back = importCatalogue(other.table, tc, recogniseCatalogue(tc), {});
    EXPECT_EQ(back.imported, 5u);
    EXPECT_EQ(back.coversTaken, 3u);
    EXPECT_EQ(back.coversKept, 1u) << "the second Heat finds the first one's cover";
    EXPECT_EQ(filesIn(covers::coversFolderOf(other.path)), QStringList({"Amélie (2001).png", "Heat (1995).jpg", "東京物語 (1953).jpg"}));
    EXPECT_EQ(read(covers::CoverStore(other.path).find("Heat", "1995")), read(covers::CoverStore(path).find("Heat", "1995")))
        << "the picture as it was";

    // The bare XML: its images in "<name>_files" beside it, where Tellico keeps them.
    const std::string xml = dir.file("videos.xml");
    EXPECT_EQ(exportTellico(table, xml, options).covers, 3u);
    EXPECT_EQ(filesIn(dir.file("videos_files")).size(), 3);
    testing_support::NewCollection third("THIRD.DBF");
    EXPECT_EQ(importCatalogue(third.table, xml, recogniseCatalogue(xml), {}).coversTaken, 3u);
}

TEST_F(CoverExport, AKodiLibraryHoldsAFolderPerFilmWithItsNfoAndPosterAndReadsBack)
{
    ExportOptions options;
    options.withCovers = true;
    const std::string library = dir.file("kodi");
    const ExportResult result = exportKodi(table, library, options);
    EXPECT_EQ(result.written, 5u);
    EXPECT_EQ(result.covers, 4u) << "each Heat folder has its poster";
    EXPECT_EQ(QDir(QString::fromStdString(library)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
              QStringList({"Alien (1979)", "Amélie (2001)", "Heat (1995)", "Heat (1995) [2]", "東京物語 (1953)"}));
    EXPECT_EQ(filesIn(library + "/Heat (1995)"), QStringList({"Heat (1995)-poster.jpg", "Heat (1995).nfo"}));
    const std::string nfo = read(library + "/Amélie (2001)/Amélie (2001).nfo");
    EXPECT_NE(nfo.find("<director>Someone</director>"), std::string::npos) << nfo;
    EXPECT_NE(nfo.find("<director>Another</director>"), std::string::npos) << nfo;

    testing_support::NewCollection other("BACK.DBF");
    const ImportResult back = importCatalogue(other.table, library, recogniseCatalogue(library), {});
    EXPECT_EQ(back.imported, 5u);
    EXPECT_TRUE(back.leftOutFiles.empty());
    EXPECT_EQ(filesIn(covers::coversFolderOf(other.path)), QStringList({"Amélie (2001).png", "Heat (1995).jpg", "東京物語 (1953).jpg"}));
    other.table.first();
    EXPECT_EQ(other.table.text(other.table.requireField("Director")), "Someone, Another");
}
