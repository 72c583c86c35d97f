// The IMDb lookup: the dataset files read as they come (gzip, tab-separated,
// "\N"), damaged lines counted and left out, a file cut short read up to the
// cut; the index built from them finding films by id and by title in any word
// order, accents and case aside, checked against a plain scan of the same
// files for a thousand random titles.
#include "CollectionFile.h"
#include "FilmFill.h"
#include "ImdbIndex.h"
#include "Table.h"
#include "TempDir.h"
#include "TsvGzip.h"
#include "LookupTestData.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

using namespace lookup;
using testing_support::TempDir;

namespace {

std::vector<std::vector<std::string>> readAll(TsvGzipReader& reader)
{
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string_view> values;
    while (reader.next(values))
        lines.emplace_back(values.begin(), values.end());
    return lines;
}


} // namespace

TEST(TsvGzip, ValuesAreReadAsTheFilesHoldThemAndDamagedLinesAreCounted)
{
    TempDir dir;
    const std::string path = dir.file("title.basics.tsv.gz");
    std::string text = kBasicsHeader;
    text += "tt0113277\tmovie\tHeat\tHeat\t0\t1995\t\\N\t170\tAction,Crime,Drama\r\n"; // a line break of Windows too
    text += "tt0000002\tmovie\tThe \"Best\" Film\t\"Quoted\"\t0\t\\N\t\\N\t\\N\t\\N\n";
    text += "tt0000003\tmovie\tA\ttab\tinside\t0\t1999\t\\N\t90\tDrama\n"; // one value too many: not whole
    text += "tt0000004\tmovie\tShort line\n";
    text += "tt0000005\tmovie\t" + std::string(TsvGzipReader::kLongestLine + 10, 'x') + "\t\\N\t0\t\\N\t\\N\t\\N\t\\N\n";
    text += "tt0000006\tshort\tLast\tLast\t0\t2001\t\\N\t5\tShort"; // no line break at the very end
    writeGzip(path, text);
    TsvGzipReader reader(path);
    EXPECT_EQ(reader.column("primaryTitle"), 2);
    EXPECT_EQ(reader.column("nothing"), -1);
    const auto lines = readAll(reader);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0][8], "Action,Crime,Drama");
    EXPECT_EQ(lines[1][2], "The \"Best\" Film") << "quotes are characters, not quoting";
    EXPECT_EQ(lines[1][5], "") << "\\N is no value";
    EXPECT_EQ(lines[2][2], "Last");
    EXPECT_EQ(reader.damagedLines(), 3u);
    EXPECT_FALSE(reader.cutShort());
}

TEST(TsvGzip, AFileCutShortGivesTheLinesBeforeTheCutAndSaysSo)
{
    TempDir dir;
    const std::string whole = dir.file("whole.tsv.gz"), cut = dir.file("title.basics.tsv.gz");
    std::string text = kBasicsHeader;
    for (int i = 1; i <= 20000; ++i)
        text += "tt" + std::to_string(1000000 + i) + "\tmovie\tFilm " + std::to_string(i * 7919 % 10007) + "\tx\t0\t2000\t\\N\t90\tDrama\n";
    writeGzip(whole, text);
    const auto size = std::filesystem::file_size(whole);
    std::filesystem::copy_file(whole, cut);
    std::filesystem::resize_file(cut, size / 2);
    TsvGzipReader reader(cut);
    const auto lines = readAll(reader);
    EXPECT_TRUE(reader.cutShort());
    EXPECT_GT(lines.size(), 1000u);
    EXPECT_LT(lines.size(), 20000u);
    EXPECT_EQ(lines.back().size(), 9u) << "the last line given is whole";
    EXPECT_THROW(TsvGzipReader(dir.file("missing.tsv.gz")), std::exception);
}

namespace {

// A small set of dataset files, and what a plain reading of them says.
struct Films {
    struct Film {
        int64_t id;
        std::string title, original;
        std::vector<std::string> akas;
        int year;
        int votes;
    };
    std::vector<Film> films;
};

Films writeDatasets(const std::string& folder, int count, uint32_t seed)
{
    static const std::vector<std::string> words = {"night", "Love", "city", "dark", "Amélie", "été", "Straße", "Łódź",
                                                   "ночь", "东京", "物語", "storm", "garden", "king", "l'amour", "2",
                                                   "return", "ÉTÉ", "blue", "moon", "the", "of"};
    std::mt19937 random(seed);
    const auto title = [&] {
        std::string t;
        const int n = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < n; ++i)
            t += (i ? " " : "") + words[random() % words.size()];
        return t;
    };
    Films result;
    std::string basics = kBasicsHeader, ratings = "tconst\taverageRating\tnumVotes\n",
                crew = "tconst\tdirectors\twriters\n", principals = "tconst\tordering\tnconst\tcategory\tjob\tcharacters\n",
                names = "nconst\tprimaryName\tbirthYear\tdeathYear\tprimaryProfession\tknownForTitles\n",
                akas = "titleId\tordering\ttitle\tregion\tlanguage\ttypes\tattributes\tisOriginalTitle\n";
    for (int i = 1; i <= count; ++i) {
        char tt[16];
        std::snprintf(tt, sizeof tt, "tt%07d", i);
        const bool episode = i % 5 == 0;
        Films::Film f{i, title(), random() % 4 ? std::string() : title(), {}, 1900 + static_cast<int>(random() % 120),
                      static_cast<int>(random() % 100000)};
        if (f.original.empty())
            f.original = f.title;
        basics += std::string(tt) + '\t' + (episode ? "tvEpisode" : "movie") + '\t' + f.title + '\t' + f.original
                  + "\t0\t" + std::to_string(f.year) + "\t\\N\t" + std::to_string(80 + i % 60) + "\tDrama,Crime\n";
        ratings += std::string(tt) + "\t7.5\t" + std::to_string(f.votes) + '\n';
        crew += std::string(tt) + "\tnm" + std::to_string(1000000 + i % 50) + "\t\\N\n";
        for (int o = 1; o <= 8; ++o)
            principals += std::string(tt) + '\t' + std::to_string(o) + "\tnm" + std::to_string(1000000 + (i + o) % 50)
                          + '\t' + (o == 7 ? "producer" : "actor") + "\t\\N\t\\N\n";
        if (random() % 3 == 0) {
            f.akas.push_back(title());
            akas += std::string(tt) + "\t1\t" + f.akas.back() + "\tDE\t\\N\t\\N\t\\N\t0\n";
        }
        if (!episode)
            result.films.push_back(f);
    }
    for (int n = 0; n < 50; ++n)
        names += "nm" + std::to_string(1000000 + n) + "\tPerson " + std::to_string(n) + "\t\\N\t\\N\tactor\t\\N\n";
    writeGzip(folder + "/title.basics.tsv.gz", basics);
    writeGzip(folder + "/title.ratings.tsv.gz", ratings);
    writeGzip(folder + "/title.crew.tsv.gz", crew);
    writeGzip(folder + "/title.principals.tsv.gz", principals);
    writeGzip(folder + "/name.basics.tsv.gz", names);
    writeGzip(folder + "/title.akas.tsv.gz", akas);
    return result;
}

} // namespace

TEST(ImdbLookup, AFilmIsFoundByItsIdWithItsPeopleInBillingOrder)
{
    TempDir dir;
    writeDatasets(dir.path().string(), 200, 1);
    const std::string index = dir.file("index/imdb.sqlite");
    std::vector<double> steps;
    const ImdbBuildResult built = buildImdbIndex(dir.path().string(), index, [&](const std::string&, double done) {
        steps.push_back(done);
        return true;
    });
    EXPECT_EQ(built.titles, 160u);
    EXPECT_EQ(built.otherTitles, 40u) << "episodes are left out";
    EXPECT_TRUE(built.notes.empty());
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), 1.0);
    ImdbIndex imdb(index);
    const auto film = imdb.byId("tt0000001");
    ASSERT_TRUE(film);
    EXPECT_EQ(film->kind, "movie");
    EXPECT_EQ(film->runtime, 81);
    EXPECT_EQ(film->genres, (std::vector<std::string>{"Drama", "Crime"}));
    EXPECT_EQ(film->directors, (std::vector<std::string>{"Person 1"}));
    EXPECT_EQ(film->stars, (std::vector<std::string>{"Person 2", "Person 3", "Person 4", "Person 5", "Person 6", "Person 7"}));
    EXPECT_EQ(film->producers, (std::vector<std::string>{"Person 8"}));
    EXPECT_FALSE(imdb.byId("tt0000005")) << "an episode";
    EXPECT_FALSE(imdb.byId("nm0000001"));
    EXPECT_FALSE(imdb.byId("tt"));
}

TEST(ImdbLookup, TheTopMatchIsWhatAPlainScanOfTheFilesFindsForAThousandTitles)
{
    TempDir dir;
    const Films films = writeDatasets(dir.path().string(), 3000, 7);
    const std::string index = dir.file("imdb.sqlite");
    buildImdbIndex(dir.path().string(), index);
    ImdbIndex imdb(index);
    std::mt19937 random(11);
    for (int q = 0; q < 1000; ++q) {
        const Films::Film& wanted = films.films[random() % films.films.size()];
        // The title as a user types it: its words in another order, without accents, in capitals.
        const std::vector<std::string>& choices = wanted.akas.empty() ? std::vector<std::string>{wanted.title} : wanted.akas;
        QStringList words = QString::fromStdString(choices[random() % choices.size()]).split(' ');
        std::shuffle(words.begin(), words.end(), random);
        QString typed = words.join(' ').normalized(QString::NormalizationForm_D).toUpper();
        typed.remove(QRegularExpression("\\p{M}"));
        // The plain scan: the films one of whose titles is those words, the most voted for first.
        const std::string key = titleKey(typed.toStdString());
        const Films::Film* best = nullptr;
        for (const Films::Film& f : films.films) {
            bool named = titleKey(f.title) == key || titleKey(f.original) == key;
            for (const std::string& aka : f.akas)
                named = named || titleKey(aka) == key;
            if (named && (!best || f.votes > best->votes || (f.votes == best->votes && f.id < best->id)))
                best = &f;
        }
        ASSERT_NE(best, nullptr) << typed.toStdString() << " / " << key << " / " << wanted.title;
        const std::vector<Film> found = imdb.byTitle(typed.toStdString());
        ASSERT_FALSE(found.empty()) << typed.toStdString();
        char id[16];
        std::snprintf(id, sizeof id, "tt%07lld", static_cast<long long>(best->id));
        ASSERT_EQ(found.front().id, id) << "query " << q << ": " << typed.toStdString();
    }
}

TEST(ImdbLookup, MissingFilesAreNotedAndACancelledBuildKeepsTheIndexThereWas)
{
    TempDir dir;
    writeDatasets(dir.path().string(), 100, 3);
    std::filesystem::remove(dir.file("title.akas.tsv.gz"));
    const std::string index = dir.file("imdb.sqlite");
    const ImdbBuildResult built = buildImdbIndex(dir.path().string(), index);
    ASSERT_EQ(built.notes.size(), 1u);
    EXPECT_NE(built.notes[0].find("title.akas.tsv.gz"), std::string::npos);
    const auto before = std::filesystem::file_size(index);
    const ImdbBuildResult cancelled = buildImdbIndex(dir.path().string(), index, [](const std::string&, double done) { return done < 0.3; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(std::filesystem::file_size(index), before);
    EXPECT_FALSE(std::filesystem::exists(index + ".building"));
    EXPECT_TRUE(ImdbIndex(index).byId("tt0000001"));
    std::filesystem::remove(dir.file("title.basics.tsv.gz"));
    EXPECT_THROW(buildImdbIndex(dir.path().string(), index), std::exception);
    EXPECT_TRUE(ImdbIndex(index).byId("tt0000001")) << "a failed build leaves the index as it was";
    EXPECT_THROW(ImdbIndex(dir.file("none.sqlite")), std::exception);
    EXPECT_EQ(titleKey("Le fabuleux destin d'Amélie"), titleKey("AMELIE destin d fabuleux LE"));
    // Letters whose stroke is no accent are folded too: "Lodz" is "Łódź", "STRASSE" is "Straße".
    EXPECT_EQ(titleKey("Łódź"), titleKey("LODZ"));
    EXPECT_EQ(titleKey("Straße"), titleKey("strasse"));
    EXPECT_EQ(foldedWords("Ærø Straße 2"), "aero strasse 2");
}

namespace {

void addVideo(db::Table& table, const std::string& title, int year, const std::string& director = {},
              const std::string& imdbId = {})
{
    table.insert();
    table.setText(0, title);
    if (year)
        table.setNumber(table.requireField("Year"), year);
    if (!director.empty())
        table.setText(table.requireField("Director"), director);
    if (!imdbId.empty())
        table.setText(table.requireField("UserDef1"), imdbId);
    table.post();
}

} // namespace

// The batch fills what is empty where one film is meant, in both kinds of
// collection, and names the videos it had doubts about.
class FillMissing : public ::testing::TestWithParam<db::TextEncoding> {};

TEST_P(FillMissing, EmptyFieldsAreFilledFromTheOneFilmMeantAndDoubtsAreListed)
{
    TempDir dir;
    ImdbIndex index(smallIndex(dir));
    const std::string path = dir.file("FILMS.DBF");
    db::createCollectionTable(path, GetParam());
    db::Table table;
    table.setFilePath(path);
    table.open();
    addVideo(table, "HEAT", 1995);                           // by its title and year
    addVideo(table, "Ran", 0);                               // two films of that name: a doubt
    addVideo(table, "Ran", 1985, "Akira Kurosawa");          // has its director and its year: left alone
    addVideo(table, "Whatever I typed", 0, "", "tt0211915"); // by the id it holds
    addVideo(table, "Nothing Like It", 1999);                // not in the index
    const FillSummary summary = fillMissing(table, index);
    EXPECT_EQ(summary.looked, 4u);
    EXPECT_EQ(summary.filled, 2u);
    EXPECT_EQ(summary.ambiguous, (std::vector<std::string>{"Ran"}));
    EXPECT_EQ(summary.notFound, (std::vector<std::string>{"Nothing Like It (1999)"}));
    table.selectIndex("");
    table.first();
    const auto text = [&](const char* field) { return table.text(table.requireField(field)); };
    EXPECT_EQ(text("Director"), "Michael Mann");
    EXPECT_EQ(text("Writers"), "Michael Mann");
    EXPECT_EQ(text("Star1"), "Al Pacino");
    EXPECT_EQ(text("Star6"), "Diane Venora") << "the first six in billing order";
    EXPECT_EQ(text("RunTime"), "170");
    EXPECT_EQ(text("Category"), "Action");
    EXPECT_EQ(text("KeyWords"), "Crime, Drama");
    EXPECT_EQ(text("UserDef1"), "tt0113277");
    EXPECT_EQ(table.text(0), "HEAT") << "the title the user typed stays";
    table.next();
    table.next();
    EXPECT_EQ(text("Director"), "Akira Kurosawa");
    table.next();
    EXPECT_EQ(text("Year"), "2001");
    // Directors: the first always, cut to the field's 28 characters; the others did not fit and are counted.
    EXPECT_EQ(text("Director"), "Jean-Pierre Jeunet Dupont-Ai");
    EXPECT_EQ(summary.cutValues, 1u);
}

INSTANTIATE_TEST_SUITE_P(BothKindsOfCollection, FillMissing,
                         ::testing::Values(db::TextEncoding::Utf8, db::TextEncoding::Windows1252));

TEST(FillChanges, TheEditorSeesEachFieldBeforeAndAfterAndKeepsWhatItHas)
{
    TempDir dir;
    ImdbIndex index(smallIndex(dir));
    const std::string path = dir.file("FILMS.DBF");
    db::createCollectionTable(path, db::TextEncoding::Windows1252);
    db::Table table;
    table.setFilePath(path);
    table.open();
    addVideo(table, "Amelie", 2001, "Someone Else");
    const auto film = index.byId("tt0211915");
    ASSERT_TRUE(film);
    const std::vector<FillChange> offered = fillChanges(table, table.current(), *film, false);
    const auto director = std::find_if(offered.begin(), offered.end(), [](const FillChange& c) { return c.position == 9; });
    ASSERT_NE(director, offered.end());
    EXPECT_EQ(director->before, "Someone Else");
    EXPECT_GT(director->leftOut, 0);
    EXPECT_TRUE(std::none_of(offered.begin(), offered.end(), [](const FillChange& c) { return c.position == 11; }))
        << "the year is the same: nothing to offer";
    const std::vector<FillChange> empty = fillChanges(table, table.current(), *film, true);
    EXPECT_TRUE(std::none_of(empty.begin(), empty.end(), [](const FillChange& c) { return c.position == 9; }));
}
