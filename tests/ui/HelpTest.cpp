// The help book has a section for every keyword the program's windows open
// it at, and the help window moves about in it.
#include "HelpViewer.h"
#include "InstalledTranslation.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTest>

namespace {

// Every help keyword in the sources: the texts given to showHelp, and the
// page topics of windows that choose their keyword by page.
QStringList keywordsInTheSources()
{
    QStringList keywords;
    static const QRegularExpression literal(R"re("([^"]+)")re");
    QDirIterator files(SOURCE_FOLDER, {"*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (path.contains("/build") || path.contains("/tests/"))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        bool inTopics = false;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
            if (line.contains("kPageTopics ="))
                inTopics = true;
            if (line.contains("showHelp(") || inTopics)
                for (auto it = literal.globalMatch(line); it.hasNext();)
                    keywords << it.next().captured(1);
            if (inTopics && line.contains("};"))
                inTopics = false;
        }
    }
    keywords.removeDuplicates();
    return keywords;
}

} // namespace

TEST(Help, EveryKeywordTheWindowsUseHasASection)
{
    const QStringList sections = app::helpSections();
    const QStringList used = keywordsInTheSources();
    ASSERT_GE(used.size(), 10) << "the sources were not found at " << SOURCE_FOLDER;
    for (const QString& keyword : used)
        EXPECT_TRUE(sections.contains(keyword)) << "no help section for \"" << keyword.toStdString() << "\"";
    for (const char* named : {"Contents", "Report Window", "Search Window", "Input Window", "User Defined Reports",
                              "Backup and Restore", "Import Window", "Export Window"})
        EXPECT_TRUE(sections.contains(named)) << named;
}

TEST(Help, TheWindowGoesBackAndForthAndFindsText)
{
    app::HelpWindow help(nullptr);
    EXPECT_EQ(help.Sections->count(), app::helpSections().size());
    help.showSection("Contents");
    help.showSection("Import Window");
    EXPECT_EQ(help.Browser->source().fragment(), "Import Window");
    EXPECT_TRUE(help.Browser->isBackwardAvailable());
    help.Browser->backward();
    EXPECT_EQ(help.Browser->source().fragment(), "Contents");
    EXPECT_TRUE(help.Browser->isForwardAvailable());
    EXPECT_TRUE(help.findText("Skip First Record"));
    EXPECT_EQ(help.Browser->textCursor().selectedText(), "Skip First Record");
    EXPECT_FALSE(help.findText("no such words anywhere"));
}

TEST(Help, TheFindBoxSearchesEveryPage)
{
    app::HelpWindow help(nullptr);
    help.showSection("Contents");
    // Only the reports chapter names this option.
    EXPECT_TRUE(help.findText("Group by Level 2 Sort"));
    EXPECT_EQ(help.Browser->source().fileName(), "printing.html");
    EXPECT_EQ(help.Browser->textCursor().selectedText(), "Group by Level 2 Sort");
    // Found again from the page after it, round past the last page to the same place.
    EXPECT_TRUE(help.findText("Group by Level 2 Sort"));
    EXPECT_EQ(help.Browser->source().fileName(), "printing.html");
    // A word of the first page from the last.
    help.showSection("Keyboard");
    EXPECT_TRUE(help.findText("Words this book uses"));
    EXPECT_EQ(help.Browser->source().fileName(), "REELKP.html");
    EXPECT_FALSE(help.findText("no such words anywhere"));
    // Enter in the find box finds, and presses no button of the window.
    help.show();
    help.showSection("Contents");
    help.FindBox->setText("Group by Level 2 Sort");
    QTest::keyClick(help.FindBox, Qt::Key_Return);
    EXPECT_EQ(help.Browser->source().fileName(), "printing.html");
}

namespace {

// Checks the book in one folder of the resources: every link and anchor, every
// picture; returns the length of its text and counts its pictures.
qsizetype checkBook(const QString& folder, int& pictures)
{
    app::helpSections(); // registers the pages
    static const QRegularExpression link(R"re(<a href="([^"#]*)#([^"]+)">)re");
    static const QRegularExpression picture(R"re(<img src="([^"]+)")re");
    QStringList pages;
    for (QDirIterator it(folder, {"*.html"}, QDir::Files); it.hasNext();)
        pages << QFileInfo(it.next()).fileName();
    EXPECT_GE(pages.size(), 8) << folder.toStdString();
    auto read = [&](const QString& page) {
        QFile file(folder + page);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << (folder + page).toStdString();
        return QString::fromUtf8(file.readAll());
    };
    qsizetype text = 0;
    for (const QString& page : pages) {
        const QString html = read(page);
        QTextDocument document;
        document.setHtml(html);
        text += document.toPlainText().size();
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString target = m.captured(1).isEmpty() ? page : m.captured(1);
            EXPECT_TRUE(read(target).contains("<a name=\"" + m.captured(2) + "\">"))
                << (folder + page).toStdString() << " links to a missing " << target.toStdString() << "#"
                << m.captured(2).toStdString();
        }
        for (auto it = picture.globalMatch(html); it.hasNext(); ++pictures) {
            const QString source = QDir::cleanPath(folder + it.next().captured(1));
            EXPECT_FALSE(QImage(source).isNull()) << (folder + page).toStdString() << " shows a missing "
                                                  << source.toStdString();
        }
    }
    return text;
}

// The anchors of a page in their order: the sections windows open the book at.
QStringList anchorsOf(const QString& path)
{
    static const QRegularExpression anchor(R"re(<a name="([^"]+)">)re");
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QStringList names;
    for (auto it = anchor.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

} // namespace

TEST(Help, EveryLinkAndPictureOfTheBookIsThereAndTheBookIsAManual)
{
    int pictures = 0;
    const qsizetype text = checkBook(":/help/", pictures);
    // Every window of the tour has its picture in the book.
    EXPECT_GE(pictures, 25);
    // A manual, not a leaflet: four times the eleven thousand characters the first help had.
    EXPECT_GE(text, 44000);
}

// The German book is the whole book: the same pages with the same sections in
// the same order (the windows open it at the same keywords), its links and
// pictures whole, and about as long as the English.
TEST(Help, TheGermanBookHasEverySectionOfTheEnglish)
{
    int englishPictures = 0, germanPictures = 0;
    const qsizetype english = checkBook(":/help/", englishPictures);
    const qsizetype german = checkBook(":/help/de/", germanPictures);
    EXPECT_EQ(germanPictures, englishPictures);
    EXPECT_GE(german, english * 9 / 10);
    for (QDirIterator it(":/help", {"*.html"}, QDir::Files); it.hasNext();) {
        const QString page = QFileInfo(it.next()).fileName();
        EXPECT_EQ(anchorsOf(":/help/de/" + page), anchorsOf(":/help/" + page)) << page.toStdString();
    }
}

// With the German translation in force the help window shows the German book.
TEST(Help, TheWindowShowsTheBookOfTheLanguageSpoken)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    app::HelpWindow help(nullptr);
    EXPECT_EQ(help.windowTitle(), "Reelkeeper Videos 95 Hilfe");
    help.showSection("Search Window");
    EXPECT_EQ(help.Browser->source().toString(), "qrc:/help/de/finding.html#Search Window");
    EXPECT_TRUE(help.Browser->toPlainText().contains("Navigieren, Suchen grenzt die Anzeige"));
    EXPECT_EQ(help.Sections->item(0)->text(), "Reelkeeper Videos 95 Hilfe");
    EXPECT_TRUE(help.findText("Nach zweiter Sortierung gruppieren"));
    EXPECT_EQ(help.Browser->source().fileName(), "printing.html");
}
