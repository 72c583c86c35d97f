// The editor's Fill In window: the films found for the title and year typed,
// the one picked shown field by field, ticked only where the video has
// nothing, and IMDb's courtesy line beside the data.
#include "NewCollection.h"
#include "LookupTestData.h"
#include "BuildIndexWindow.h"
#include "ScriptedPrompter.h"
#include "TFillIn.h"
#include "Table.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <map>

using lookup_ui::TFillIn;

TEST(FillInWindow, ThePickedFilmIsShownFieldByFieldAndWhatTheVideoHasStaysUnlessTicked)
{
    TempDir dir;
    lookup::ImdbIndex index(smallIndex(dir));
    testing_support::NewCollection films;
    db::Table& table = films.table;
    // What the editor's boxes hold: a title, a director of the user's own, no year.
    std::map<std::string, std::string> boxes = {{"Title", "heat"}, {"Director", "My Own Note"}};
    const auto current = [&](int field) {
        const auto found = boxes.find(table.field(field).name);
        return found == boxes.end() ? std::string() : found->second;
    };
    TFillIn window(index, table, current, "ran", 0);
    ASSERT_EQ(window.Matches->topLevelItemCount(), 2) << "two films of that name";
    window.YearBox->setText("2001");
    window.SearchClick();
    EXPECT_EQ(window.Matches->topLevelItem(0)->text(2), "2001") << "the year typed first";
    window.TitleBox->setText("HEAT");
    window.YearBox->clear();
    window.SearchClick();
    ASSERT_EQ(window.Matches->topLevelItemCount(), 1);
    EXPECT_EQ(window.Matches->topLevelItem(0)->text(3), "Michael Mann");
    std::map<QString, std::pair<QString, Qt::CheckState>> shown;
    for (int i = 0; i < window.Changes->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = window.Changes->topLevelItem(i);
        shown[item->text(0)] = {item->text(2), item->checkState(0)};
    }
    EXPECT_EQ(shown["Director"], std::make_pair(QString("Michael Mann"), Qt::Unchecked)) << "the user's own stays";
    EXPECT_EQ(shown["Year"], std::make_pair(QString("1995"), Qt::Checked));
    EXPECT_EQ(shown["Star 1"], std::make_pair(QString("Al Pacino"), Qt::Checked));
    EXPECT_EQ(shown["Key Words"].first, "Crime, Drama");
    std::vector<std::string> chosen;
    for (const lookup::FillChange& change : window.chosenChanges())
        chosen.push_back(table.field(change.field).name);
    EXPECT_EQ(std::count(chosen.begin(), chosen.end(), "Director"), 0);
    EXPECT_EQ(std::count(chosen.begin(), chosen.end(), "Year"), 1);
    bool courtesy = false;
    for (const QLabel* label : window.findChildren<QLabel*>())
        courtesy = courtesy || label->text() == lookup::kImdbCourtesy;
    EXPECT_TRUE(courtesy) << "the datasets' terms ask for it wherever their data is shown";
}

TEST(FillInWindow, NoFilmFoundIsSaidInTheList)
{
    TempDir dir;
    lookup::ImdbIndex index(smallIndex(dir));
    testing_support::NewCollection films;
    db::Table& table = films.table;
    TFillIn window(index, table, [](int) { return std::string(); }, "Nothing Like It", 0);
    ASSERT_EQ(window.Matches->topLevelItemCount(), 1);
    EXPECT_EQ(window.Matches->topLevelItem(0)->text(0), "No film of the index has these words in its titles.");
    EXPECT_TRUE(window.chosenChanges().empty());
}

// Options > IMDb Lookup Index: built on a thread of its own, the counts said at the end;
// a folder without the titles' file says why, and the index there was stays.
TEST(LookupIndexWindow, TheIndexIsBuiltFromTheFolderChosenAndAFailureKeepsTheOneThereWas)
{
    TempDir dir;
    smallIndex(dir); // writes the dataset files into imdb/
    testing_support::ScriptedPrompter prompter;
    const QString index = QString::fromStdString(dir.file("home/imdb-index.sqlite"));
    EXPECT_TRUE(lookup_ui::buildLookupIndex(nullptr, prompter, QString::fromStdString(dir.file("imdb")), index));
    ASSERT_EQ(prompter.messages.size(), 1u);
    // The seventh star is no star of the film's six: not named. The files missing are said.
    EXPECT_TRUE(prompter.messages[0].text.startsWith("The index holds 4 films, found by 5 titles, and 11 people.\ntitle.ratings.tsv.gz: not in the folder"))
        << prompter.messages[0].text.toStdString();
    EXPECT_TRUE(prompter.messages[0].text.contains(lookup::kImdbCourtesy));
    std::filesystem::remove(dir.file("imdb/title.basics.tsv.gz"));
    EXPECT_FALSE(lookup_ui::buildLookupIndex(nullptr, prompter, QString::fromStdString(dir.file("imdb")), index));
    EXPECT_TRUE(prompter.messages.back().text.contains("title.basics.tsv.gz")) << prompter.messages.back().text.toStdString();
    EXPECT_TRUE(lookup::ImdbIndex(index.toStdString()).byId("tt0113277"));
}

// Tools > Fill In Missing: what it filled, and the videos it doubts, by name.
TEST(FillInMissingWindow, TheBatchSaysWhatItFilledAndNamesTheVideosItDoubts)
{
    TempDir dir;
    const std::string index = smallIndex(dir);
    testing_support::NewCollection films;
    db::Table& table = films.table;
    for (const char* title : {"Heat", "Ran", "Nothing Like It"}) {
        table.insert();
        table.setText(0, title);
        table.post();
    }
    testing_support::ScriptedPrompter prompter;
    EXPECT_TRUE(lookup_ui::fillInMissing(nullptr, prompter, table, QString::fromStdString(index)));
    ASSERT_EQ(prompter.messages.size(), 1u);
    const QString said = prompter.messages[0].text;
    EXPECT_TRUE(said.startsWith("Videos looked up: 3; filled: 1, with values written: ")) << said.toStdString();
    EXPECT_TRUE(said.contains("Not in the index: 1.")) << said.toStdString();
    EXPECT_TRUE(said.contains("(pick in the editor with Edit, Fill In): 1.\nRan")) << said.toStdString();
    EXPECT_FALSE(lookup_ui::fillInMissing(nullptr, prompter, table, QString::fromStdString(dir.file("none.sqlite"))));
    EXPECT_TRUE(prompter.messages.back().text.contains("build it from the dataset files first"));
}
