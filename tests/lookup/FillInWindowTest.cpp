// The editor's Fill In window: the films found for the title and year typed,
// the one picked shown field by field, ticked only where the video has
// nothing, and IMDb's courtesy line beside the data.
#include "NewCollection.h"
#include "LookupTestData.h"
#include "BuildIndexWindow.h"
#include "ScriptedPrompter.h"
#include "TFillIn.h"
#include "TTmdbOptions.h"
#include "TmdbTestServer.h"
#include "Table.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QSpinBox>
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
    TFillIn window(&index, nullptr, table, current, "ran", 0);
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
    TFillIn window(&index, nullptr, table, [](int) { return std::string(); }, "Nothing Like It", 0);
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

// The same window asking TMDb: the window is there at once and the answers
// come while it goes on; the matches with their posters, then the picked
// one's credits, story, certification and poster as the cover.
namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

lookup::TmdbSettings serverSettings(const testing_support::TmdbTestServer& server)
{
    lookup::TmdbSettings settings;
    settings.credential = "0123456789abcdef0123456789abcdef";
    settings.address = server.api().toStdString();
    settings.timeoutSeconds = 5;
    return settings;
}

} // namespace

TEST(FillInWindow, TmdbsMatchesComeWithPostersAndThePickedOnesDetailsAndCover)
{
    using testing_support::HttpAnswer;
    testing_support::TmdbTestServer server;
    server.on("/3/search/movie", HttpAnswer{200, testing_support::tmdbSearchBody({{949, "Heat", "Heat", "1995-12-15", "/heat.jpg"},
                                                                                   {1061, "Heat", "Heat", "1986-03-14", ""}})});
    server.on("/3/movie/949", HttpAnswer{200, testing_support::tmdbHeatDetailsBody()});
    server.on("/3/configuration", HttpAnswer{200, testing_support::tmdbConfigurationBody(server.root() + "/t/p/")});
    server.on("/t/p/", HttpAnswer{200, testing_support::jpegPoster(), {}, 0, false, "image/jpeg"});
    lookup::TmdbClient client(serverSettings(server));
    testing_support::NewCollection films;
    db::Table& table = films.table;
    TFillIn window(nullptr, &client, table, [](int) { return std::string(); }, "heat", 1995, nullptr, TFillIn::Source::Tmdb);
    window.setCover(false, 1000);
    ASSERT_EQ(window.Matches->topLevelItemCount(), 1);
    EXPECT_EQ(window.Matches->topLevelItem(0)->text(0), "Asking TMDb...") << "the window does not wait for the answer";
    EXPECT_EQ(window.Notice->text(), lookup::kTmdbAttribution);
    ASSERT_TRUE(waitUntil([&] { return window.Matches->topLevelItemCount() == 2 && window.Matches->topLevelItem(0)->text(3) == "Michael Mann"; }));
    EXPECT_EQ(window.Matches->topLevelItem(0)->text(4), "170");
    EXPECT_TRUE(waitUntil([&] { return !window.Matches->topLevelItem(0)->icon(0).isNull(); })) << "the poster beside its match";
    std::map<QString, QTreeWidgetItem*> rows;
    ASSERT_TRUE(waitUntil([&] {
        rows.clear();
        for (int i = 0; i < window.Changes->topLevelItemCount(); ++i)
            rows[window.Changes->topLevelItem(i)->text(0)] = window.Changes->topLevelItem(i);
        return rows.count("Cover") && rows["Cover"]->text(2).startsWith("the poster, ");
    }));
    EXPECT_EQ(rows["Cover"]->text(2), "the poster, 500 x 750 pixels");
    EXPECT_EQ(rows["Rating"]->text(2), "R");
    EXPECT_TRUE(rows["Description"]->text(2).startsWith("Obsessive master thief")) << "from TMDb's overview";
    EXPECT_TRUE(rows["Description"]->text(2).endsWith("(cut to fit)"));
    EXPECT_EQ(window.Changes->headerItem()->text(2), "From TMDb");
    const std::optional<std::string> cover = window.chosenCover();
    ASSERT_TRUE(cover);
    EXPECT_FALSE(QImage::fromData(QByteArray::fromStdString(*cover)).isNull());
    rows["Cover"]->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(window.chosenCover());
}

TEST(FillInWindow, TmdbRefusingTheKeyIsSaidWhereTheFilmsWouldBe)
{
    using testing_support::HttpAnswer;
    testing_support::TmdbTestServer server;
    server.on("/3/", HttpAnswer{401, testing_support::tmdbError(7, "Invalid API key: You must be granted a valid key.")});
    lookup::TmdbClient client(serverSettings(server));
    testing_support::NewCollection films;
    auto window = std::make_unique<TFillIn>(nullptr, &client, films.table, [](int) { return std::string(); }, "heat", 0, nullptr,
                                            TFillIn::Source::Tmdb);
    ASSERT_TRUE(waitUntil([&] { return window->Matches->topLevelItem(0)->text(0).contains("HTTP 401"); }));
    EXPECT_TRUE(window->chosenChanges().empty());
    // Closed with an answer still on its way: it is dropped, not given to a window that is gone.
    window->SearchClick();
    window.reset();
    waitUntil([] { return false; }, 300);
}

TEST(TmdbOptionsWindow, TryItSaysWhetherTheKeyWorksAndTheValuesAreKept)
{
    using testing_support::HttpAnswer;
    testing_support::TmdbTestServer server;
    server.on("/3/search/movie", [](const testing_support::HttpRequest& asked) {
        if (asked.query.queryItemValue("api_key") == "good")
            return HttpAnswer{200, testing_support::tmdbSearchBody({})};
        return HttpAnswer{401, testing_support::tmdbError(7, "Invalid API key: You must be granted a valid key.")};
    });
    lookup::TmdbSettings current = serverSettings(server);
    current.credential = "bad";
    lookup_ui::TTmdbOptions window(current);
    window.TryClick();
    ASSERT_TRUE(waitUntil([&] { return window.TryResult->text().contains("HTTP 401"); })) << window.TryResult->text().toStdString();
    window.KeyBox->setText(" good ");
    window.CountryBox->setText("de");
    window.TimeoutBox->setValue(45);
    window.TryClick();
    ASSERT_TRUE(waitUntil([&] { return window.TryResult->text() == "TMDb answered: the key works."; }));
    EXPECT_EQ(window.key(), "good");
    EXPECT_EQ(window.country(), "DE");
    EXPECT_EQ(window.timeoutSeconds(), 45);
    window.CountryBox->setText("d");
    EXPECT_EQ(window.country(), "US") << "one letter is no country";
}

TEST(FillInMissingWindow, FromTmdbTheCoversTakenAreCountedAndTheNoticeShown)
{
    using testing_support::HttpAnswer;
    testing_support::TmdbTestServer server;
    server.on("/3/search/movie", HttpAnswer{200, testing_support::tmdbSearchBody({{949, "Heat", "Heat", "1995-12-15", "/heat.jpg"}})});
    server.on("/3/movie/949", HttpAnswer{200, testing_support::tmdbHeatDetailsBody()});
    server.on("/3/configuration", HttpAnswer{200, testing_support::tmdbConfigurationBody(server.root() + "/t/p/")});
    server.on("/t/p/", HttpAnswer{200, "not a picture at all", {}, 0, false, "image/jpeg"});
    testing_support::NewCollection films;
    db::Table& table = films.table;
    table.insert();
    table.setText(0, "Heat");
    table.post();
    testing_support::ScriptedPrompter prompter;
    EXPECT_TRUE(lookup_ui::fillInMissingFromTmdb(nullptr, prompter, table, serverSettings(server), {}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    const QString said = prompter.messages[0].text;
    EXPECT_TRUE(said.startsWith("Videos looked up: 1; filled: 1, with values written: ")) << said.toStdString();
    EXPECT_TRUE(said.contains("Covers taken from TMDb's posters: 0.")) << said.toStdString();
    EXPECT_TRUE(said.contains("Posters not taken: 1.\nHeat (1995): ")) << "named with the year it has now: " << said.toStdString();
    EXPECT_TRUE(said.endsWith(lookup::kTmdbAttribution));
    lookup::TmdbSettings keyless = serverSettings(server);
    keyless.credential.clear();
    EXPECT_FALSE(lookup_ui::fillInMissingFromTmdb(nullptr, prompter, table, keyless, {}));
}
