// The help book has a section for every keyword the program's windows open
// it at, and the help window moves about in it.
#include "HelpViewer.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>

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
