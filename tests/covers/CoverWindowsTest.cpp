// Covers without a Film: the pictures no record names, given to the current
// video or deleted after a question, and nothing deleted unasked.
#include "CoverNames.h"
#include "NewCollection.h"
#include "ScriptedPrompter.h"
#include "TCoversWithoutAFilm.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPushButton>

using testing_support::ScriptedPrompter;

TEST(CoversWithoutAFilm, ListsThePicturesNoVideoNamesToGiveOrDelete)
{
    testing_support::NewCollection collection;
    db::Table& table = collection.table;
    for (const char* title : {"Heat", "Alien"}) {
        table.insert();
        table.setText(0, title);
        table.setNumber(table.requireField("Year"), 1995);
        table.post();
    }
    const QString folder = QString::fromStdString(covers::coversFolderOf(collection.path));
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage picture(30, 45, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (const char* name : {"Heat (1995).jpg", "Heat (1996).jpg", "Old Film.png", "notes.txt"})
        ASSERT_TRUE(QString(name).endsWith(".txt") ? QFile(folder + "/" + name).open(QIODevice::WriteOnly)
                                                    : picture.save(folder + "/" + name));
    ScriptedPrompter prompter;
    std::pair<std::string, std::string> current{"Alien", "1995"};
    covers_ui::TCoversWithoutAFilm window({prompter, table, [&] { return current; }});
    ASSERT_EQ(window.Covers->count(), 2) << "a film's own cover and a file that is no picture are not listed";
    EXPECT_EQ(window.Covers->item(0)->text(), "Heat (1996).jpg");
    EXPECT_EQ(window.Covers->item(1)->text(), "Old Film.png");
    EXPECT_FALSE(window.Covers->item(0)->icon().isNull()) << "each shown small";

    window.Covers->setCurrentRow(0);
    window.GiveClick();
    EXPECT_TRUE(QFile::exists(folder + "/Alien (1995).jpg"));
    ASSERT_EQ(window.Covers->count(), 1);

    // The current video has a cover now: another is not given over it.
    window.GiveClick();
    EXPECT_NE(prompter.messageTexts().join("|").indexOf("has a cover already"), -1);
    EXPECT_TRUE(QFile::exists(folder + "/Old Film.png"));

    // Deleting asks; No keeps the picture, Yes deletes it.
    window.DeleteClick();
    EXPECT_TRUE(QFile::exists(folder + "/Old Film.png"));
    prompter.answers = {ScriptedPrompter::Answer::Yes};
    window.DeleteClick();
    EXPECT_FALSE(QFile::exists(folder + "/Old Film.png"));
    EXPECT_EQ(window.Covers->count(), 0);
    EXPECT_FALSE(window.DeleteButton->isEnabled());
    EXPECT_EQ(prompter.questions.size(), 2u);
}
