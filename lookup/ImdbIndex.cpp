#include "ImdbIndex.h"

#include "DbError.h"
#include "Translatable.h"
#include "TsvGzip.h"

#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

namespace lookup {

namespace {

namespace fs = std::filesystem;

constexpr int kFormat = 3;         // the index's own layout, kept in user_version
constexpr int kTitlesPerFilm = 64; // rows of the word index a film may have: rowid = id * 64 + n
constexpr size_t kMostStars = 6;
constexpr size_t kMostProducers = 3;

// The number of an IMDb id ("tt0113277" -> 113277, "nm0000199" -> 199); 0 for none.
int64_t numberOf(std::string_view id)
{
    if (id.size() < 3)
        return 0;
    int64_t number = 0;
    const auto [end, failed] = std::from_chars(id.data() + 2, id.data() + id.size(), number);
    return failed == std::errc() && end == id.data() + id.size() ? number : 0;
}

int wholeNumber(std::string_view text)
{
    int number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

// What a collection of videos holds; episodes (the bulk of the files) are left out.
bool isKept(std::string_view kind)
{
    static const std::set<std::string_view> kept = {"movie", "tvMovie", "tvSeries", "tvMiniSeries", "tvSpecial",
                                                    "video", "short", "tvShort"};
    return kept.count(kind) > 0;
}

class Statement {
public:
    Statement(sqlite3* db, const char* sql)
        : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            throw db::DbError(sqlite3_db_filename(db, "main"), sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int at, int64_t value)
    {
        sqlite3_bind_int64(m_statement, at, value);
        return *this;
    }
    Statement& bind(int at, double value)
    {
        sqlite3_bind_double(m_statement, at, value);
        return *this;
    }
    Statement& bind(int at, std::string_view text)
    {
        sqlite3_bind_text(m_statement, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // One step of a query: true while it gives a row.
    bool row()
    {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            throw db::DbError(sqlite3_db_filename(m_db, "main"), sqlite3_errmsg(m_db));
        return false;
    }
    void run()
    {
        row();
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    void reset() { sqlite3_reset(m_statement); }
    int64_t integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }
    std::string text(int column) const
    {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return bytes ? std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(m_statement, column))) : std::string();
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

void execute(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : "SQLite failed";
        sqlite3_free(error);
        throw db::DbError(sqlite3_db_filename(db, "main"), why);
    }
}

// A bit for each id number: which films are kept, which people are named.
class IdSet {
public:
    void insert(int64_t id)
    {
        if (id <= 0)
            return;
        if (static_cast<size_t>(id) >= m_bits.size())
            m_bits.resize(static_cast<size_t>(id) * 3 / 2 + 1024);
        m_bits[static_cast<size_t>(id)] = true;
    }
    bool contains(int64_t id) const { return id > 0 && static_cast<size_t>(id) < m_bits.size() && m_bits[static_cast<size_t>(id)]; }

private:
    std::vector<bool> m_bits;
};

// The words of the index's tokenizer for a user's text, each quoted for an FTS5 query.
std::vector<QString> wordsOf(std::string_view text)
{
    // Case folded first ("STRASSE" and "Straße" alike), then the accents taken apart from their
    // letters. Qt folds a letter at a time, and some letters carry their stroke inside them rather
    // than as an accent (ł, ø, đ): those are folded here, so that "Lodz" finds "Łódź".
    static const std::map<char16_t, const char*> plain = {{u'ß', "ss"}, {u'ł', "l"}, {u'ø', "o"}, {u'đ', "d"},
                                                          {u'ð', "d"},  {u'ħ', "h"}, {u'ı', "i"}, {u'æ', "ae"},
                                                          {u'œ', "oe"}, {u'þ', "th"}};
    QString lower = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded();
    QString unstroked;
    unstroked.reserve(lower.size());
    for (const QChar c : lower) {
        const auto found = plain.find(c.unicode());
        if (found == plain.end())
            unstroked += c;
        else
            unstroked += QLatin1String(found->second);
    }
    const QString folded = unstroked.normalized(QString::NormalizationForm_KD);
    std::vector<QString> words;
    QString word;
    for (const QChar c : folded) {
        if (c.isMark())
            continue; // accents aside
        if (c.isLetterOrNumber()) {
            word += c;
            continue;
        }
        if (!word.isEmpty())
            words.push_back(word);
        word.clear();
    }
    if (!word.isEmpty())
        words.push_back(word);
    return words;
}

void createTables(sqlite3* db)
{
    execute(db, "CREATE TABLE titles(id INTEGER PRIMARY KEY, kind TEXT, title TEXT, original TEXT, year INTEGER, "
                "runtime INTEGER, genres TEXT);"
                "CREATE TABLE ratings(id INTEGER PRIMARY KEY, rating REAL, votes INTEGER);"
                "CREATE TABLE crew(id INTEGER PRIMARY KEY, directors TEXT, writers TEXT);"
                "CREATE TABLE credits(id INTEGER PRIMARY KEY, stars TEXT, producers TEXT);"
                "CREATE TABLE names(id INTEGER PRIMARY KEY, name TEXT);"
                "CREATE TABLE keys(key TEXT, id INTEGER, year INTEGER);"
                "CREATE VIRTUAL TABLE title_words USING fts5(words, content='', "
                "tokenize='unicode61 remove_diacritics 2', detail=none);");
}



class Builder {
public:
    Builder(const std::string& folder, sqlite3* db, const std::function<bool(const std::string&, double)>& progress)
        : m_folder(folder)
        , m_db(db)
        , m_progress(progress)
    {
    }

    ImdbBuildResult run()
    {
        if (!readBasics() || !readRatings() || !readCrew() || !readPrincipals() || !readNames() || !readAkas()) {
            m_result.cancelled = true;
            return m_result;
        }
        if (!say("", 0.97))
            return cancelled();
        execute(m_db, "CREATE INDEX keys_by_key ON keys(key, year)");
        execute(m_db, "INSERT INTO title_words(title_words) VALUES('optimize')");
        say("", 1.0);
        return m_result;
    }

private:
    ImdbBuildResult cancelled()
    {
        m_result.cancelled = true;
        return m_result;
    }

    std::string pathOf(const char* file) const { return (fs::path(m_folder) / file).string(); }

    bool say(const std::string& file, double done) { return !m_progress || m_progress(file, done); }

    // Reads a dataset file line by line, with progress; false when cancelled. A
    // missing optional file, or one cut short, is noted.
    template <class Line>
    bool readFile(const char* name, double from, double share, bool required, const std::vector<const char*>& columns,
                  Line&& line)
    {
        const std::string path = pathOf(name);
        if (!fs::exists(path)) {
            if (required)
                throw db::DbError(path, db::Message{TRANSLATABLE("lookup", "The folder holds no %1: the index cannot be "
                                                                           "built without it."),
                                                    {name}});
            m_result.notes.push_back(std::string(name) + ": not in the folder; what it holds is left out");
            return true;
        }
        TsvGzipReader reader(path);
        std::vector<int> at;
        for (const char* column : columns) {
            at.push_back(reader.column(column));
            if (at.back() < 0)
                throw db::DbError(path, db::Message{TRANSLATABLE("lookup", "%1 has no column %2: it is no IMDb dataset "
                                                                           "file of that name."),
                                                    {name, column}});
        }
        const double size = std::max<double>(1, static_cast<double>(fs::file_size(path)));
        std::vector<std::string_view> values, picked(columns.size());
        uint64_t lines = 0;
        while (reader.next(values)) {
            for (size_t i = 0; i < at.size(); ++i)
                picked[i] = values[static_cast<size_t>(at[i])];
            line(picked);
            if ((++lines & 0xFFFF) == 0 && !say(name, from + share * std::min(1.0, reader.compressedOffset() / size)))
                return false;
        }
        m_result.damagedLines += reader.damagedLines();
        if (reader.cutShort())
            m_result.notes.push_back(std::string(name) + ": the file is cut short after line "
                                     + std::to_string(reader.linesRead() + 1) + "; what came before it is in the index");
        return say(name, from + share);
    }

    void addTitleName(int64_t id, int n, std::string_view title, int64_t year)
    {
        if (title.empty() || n >= kTitlesPerFilm)
            return;
        // The index holds the words as this program folds them, and is asked in the same words.
        m_words.bind(1, id * kTitlesPerFilm + n).bind(2, foldedWords(title)).run();
        m_keys.bind(1, titleKey(title)).bind(2, id).bind(3, year).run();
        ++m_result.titleNames;
    }

    bool readBasics()
    {
        Statement insert(m_db, "INSERT INTO titles VALUES(?,?,?,?,?,?,?)");
        return readFile("title.basics.tsv.gz", 0.0, 0.25, true,
                        {"tconst", "titleType", "primaryTitle", "originalTitle", "startYear", "runtimeMinutes", "genres"},
                        [&](const std::vector<std::string_view>& v) {
                            const int64_t id = numberOf(v[0]);
                            if (id <= 0)
                                return;
                            if (!isKept(v[1])) {
                                ++m_result.otherTitles;
                                return;
                            }
                            m_kept.insert(id);
                            ++m_result.titles;
                            insert.bind(1, id).bind(2, v[1]).bind(3, v[2]).bind(4, v[3]);
                            insert.bind(5, int64_t{wholeNumber(v[4])}).bind(6, int64_t{wholeNumber(v[5])}).bind(7, v[6]);
                            insert.run();
                            const int64_t year = wholeNumber(v[4]);
                            addTitleName(id, 0, v[2], year);
                            if (titleKey(v[3]) != titleKey(v[2]))
                                addTitleName(id, 1, v[3], year);
                        });
    }

    bool readRatings()
    {
        Statement insert(m_db, "INSERT INTO ratings VALUES(?,?,?)");
        return readFile("title.ratings.tsv.gz", 0.25, 0.02, false, {"tconst", "averageRating", "numVotes"},
                        [&](const std::vector<std::string_view>& v) {
                            const int64_t id = numberOf(v[0]);
                            if (!m_kept.contains(id))
                                return;
                            double rating = 0;
                            std::from_chars(v[1].data(), v[1].data() + v[1].size(), rating);
                            insert.bind(1, id).bind(2, rating).bind(3, int64_t{wholeNumber(v[2])}).run();
                        });
    }

    // "nm1,nm2" as the numbers "1,2", each person marked to be named.
    std::string people(std::string_view ids, size_t most)
    {
        std::string numbers;
        size_t count = 0;
        for (size_t from = 0; from < ids.size() && count < most;) {
            const size_t comma = std::min(ids.find(',', from), ids.size());
            if (const int64_t number = numberOf(ids.substr(from, comma - from)); number > 0) {
                m_named.insert(number);
                numbers += (numbers.empty() ? "" : ",") + std::to_string(number);
                ++count;
            }
            from = comma + 1;
        }
        return numbers;
    }

    bool readCrew()
    {
        Statement insert(m_db, "INSERT INTO crew VALUES(?,?,?)");
        return readFile("title.crew.tsv.gz", 0.27, 0.05, false, {"tconst", "directors", "writers"},
                        [&](const std::vector<std::string_view>& v) {
                            const int64_t id = numberOf(v[0]);
                            if (m_kept.contains(id))
                                insert.bind(1, id).bind(2, people(v[1], 8)).bind(3, people(v[2], 8)).run();
                        });
    }

    bool readPrincipals()
    {
        // The file keeps each film's credits together, in billing order.
        Statement insert(m_db, "INSERT OR REPLACE INTO credits VALUES(?,?,?)");
        int64_t film = 0;
        std::string stars, producers;
        size_t starCount = 0, producerCount = 0;
        const auto flush = [&] {
            if (film > 0 && (!stars.empty() || !producers.empty()))
                insert.bind(1, film).bind(2, stars).bind(3, producers).run();
            stars.clear();
            producers.clear();
            starCount = producerCount = 0;
        };
        const bool done = readFile("title.principals.tsv.gz", 0.32, 0.45, false, {"tconst", "nconst", "category"},
                                   [&](const std::vector<std::string_view>& v) {
                                       const int64_t id = numberOf(v[0]);
                                       if (id != film) {
                                           flush();
                                           film = id;
                                       }
                                       if (!m_kept.contains(id))
                                           return;
                                       const bool star = v[2] == "actor" || v[2] == "actress" || v[2] == "self";
                                       if (star && starCount < kMostStars) {
                                           stars += (stars.empty() ? "" : ",") + people(v[1], 1);
                                           ++starCount;
                                       } else if (v[2] == "producer" && producerCount < kMostProducers) {
                                           producers += (producers.empty() ? "" : ",") + people(v[1], 1);
                                           ++producerCount;
                                       }
                                   });
        flush();
        return done;
    }

    bool readNames()
    {
        Statement insert(m_db, "INSERT INTO names VALUES(?,?)");
        return readFile("name.basics.tsv.gz", 0.77, 0.10, false, {"nconst", "primaryName"},
                        [&](const std::vector<std::string_view>& v) {
                            const int64_t id = numberOf(v[0]);
                            if (m_named.contains(id)) {
                                insert.bind(1, id).bind(2, v[1]).run();
                                ++m_result.names;
                            }
                        });
    }

    bool readAkas()
    {
        // Other countries' titles, each film's together: the ones its own titles do not already say.
        Statement own(m_db, "SELECT title, original, year FROM titles WHERE id = ?");
        int64_t film = 0, year = 0;
        int n = 2;
        std::set<std::string> known;
        return readFile("title.akas.tsv.gz", 0.87, 0.10, false, {"titleId", "title"},
                        [&](const std::vector<std::string_view>& v) {
                            const int64_t id = numberOf(v[0]);
                            if (!m_kept.contains(id))
                                return;
                            if (id != film) {
                                film = id;
                                n = 2;
                                known.clear();
                                own.bind(1, id);
                                year = 0;
                                if (own.row()) {
                                    known.insert(titleKey(own.text(0)));
                                    known.insert(titleKey(own.text(1)));
                                    year = own.integer(2);
                                }
                                own.reset();
                            }
                            if (known.insert(titleKey(v[1])).second)
                                addTitleName(id, n++, v[1], year);
                        });
    }

    std::string m_folder;
    sqlite3* m_db;
    const std::function<bool(const std::string&, double)>& m_progress;
    ImdbBuildResult m_result;
    IdSet m_kept, m_named;
    Statement m_words{m_db, "INSERT INTO title_words(rowid, words) VALUES(?,?)"};
    Statement m_keys{m_db, "INSERT INTO keys VALUES(?,?,?)"};
};

std::string idText(const char* prefix, int64_t number)
{
    std::string digits = std::to_string(number);
    if (digits.size() < 7)
        digits.insert(0, 7 - digits.size(), '0');
    return prefix + digits;
}

} // namespace

std::string foldedWords(std::string_view title)
{
    QString words;
    for (const QString& word : wordsOf(title))
        words += (words.isEmpty() ? "" : " ") + word;
    return words.toStdString();
}

std::string titleKey(std::string_view title)
{
    std::vector<QString> words = wordsOf(title);
    std::sort(words.begin(), words.end());
    QString key;
    for (const QString& word : words)
        key += (key.isEmpty() ? "" : " ") + word;
    return key.toStdString();
}

ImdbBuildResult buildImdbIndex(const std::string& folder, const std::string& indexPath,
                               const std::function<bool(const std::string& file, double done)>& progress)
{
    const std::string building = indexPath + ".building";
    fs::remove(building);
    fs::create_directories(fs::path(indexPath).parent_path());
    sqlite3* db = nullptr;
    if (sqlite3_open(building.c_str(), &db) != SQLITE_OK) {
        const std::string why = db ? sqlite3_errmsg(db) : "SQLite failed";
        sqlite3_close(db);
        throw db::DbError(building, why);
    }
    ImdbBuildResult result;
    try {
        // One writer, nothing to recover: a failed build is thrown away whole.
        execute(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
                    "PRAGMA cache_size=-262144; PRAGMA temp_store=FILE; BEGIN");
        createTables(db);
        result = Builder(folder, db, progress).run();
        if (!result.cancelled) {
            execute(db, ("COMMIT; PRAGMA user_version=" + std::to_string(kFormat)).c_str());
        }
    } catch (...) {
        sqlite3_close(db);
        fs::remove(building);
        throw;
    }
    sqlite3_close(db);
    if (result.cancelled) {
        fs::remove(building);
        return result;
    }
    fs::rename(building, indexPath);
    return result;
}

struct ImdbIndex::Queries {
    explicit Queries(sqlite3* db)
        : name(db, "SELECT name FROM names WHERE id = ?")
        , title(db, "SELECT kind, title, original, year, runtime, genres FROM titles WHERE id = ?")
        , rating(db, "SELECT rating, votes FROM ratings WHERE id = ?")
        , crew(db, "SELECT directors, writers FROM crew WHERE id = ?")
        , credits(db, "SELECT stars, producers FROM credits WHERE id = ?")
        , keyed(db, "SELECT id FROM keys WHERE key = ? LIMIT 200")
        , keyedInYear(db, "SELECT id, year FROM keys WHERE key = ? AND year = ? LIMIT 2")
        , keyedAny(db, "SELECT id, year FROM keys WHERE key = ? LIMIT 2")
        , matched(db, "SELECT rowid FROM title_words WHERE title_words MATCH ? LIMIT 400")
        , rank(db, "SELECT t.year, IFNULL(r.votes, 0) FROM titles t LEFT JOIN ratings r ON r.id = t.id WHERE t.id = ?")
    {
    }
    Statement name, title, rating, crew, credits, keyed, keyedInYear, keyedAny, matched, rank;
};

// A prepared query, reset for its next use whatever happens while it is read.
class Using {
public:
    explicit Using(Statement& statement)
        : m_statement(statement)
    {
    }
    ~Using() { m_statement.reset(); }
    Statement* operator->() { return &m_statement; }

private:
    Statement& m_statement;
};

ImdbIndex::ImdbIndex(const std::string& indexPath)
{
    if (!fs::exists(indexPath))
        throw db::DbError(indexPath, db::Message{TRANSLATABLE("lookup", "There is no IMDb index yet: build it from the "
                                                                        "dataset files first.")});
    if (sqlite3_open_v2(indexPath.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const std::string why = m_db ? sqlite3_errmsg(m_db) : "SQLite failed";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw db::DbError(indexPath, why);
    }
    int version = 0;
    try {
        Statement format(m_db, "PRAGMA user_version");
        if (format.row())
            version = static_cast<int>(format.integer(0));
    } catch (const db::DbError&) {
    }
    if (version != kFormat) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw db::DbError(indexPath, db::Message{TRANSLATABLE("lookup", "The file is no IMDb index of this program: "
                                                                        "build it again from the dataset files.")});
    }
    m_queries = std::make_unique<Queries>(m_db);
}

ImdbIndex::~ImdbIndex()
{
    m_queries.reset(); // its statements before the database they belong to
    sqlite3_close(m_db);
}

std::string ImdbIndex::nameOf(int64_t id)
{
    Using name(m_queries->name);
    name->bind(1, id);
    return name->row() ? name->text(0) : std::string();
}

std::vector<std::string> ImdbIndex::namesOf(const std::string& ids)
{
    std::vector<std::string> names;
    for (const QString& id : QString::fromStdString(ids).split(',', Qt::SkipEmptyParts))
        if (std::string name = nameOf(id.toLongLong()); !name.empty())
            names.push_back(std::move(name));
    return names;
}

Film ImdbIndex::film(int64_t id)
{
    Film f;
    {
        Using title(m_queries->title);
        title->bind(1, id);
        if (!title->row())
            return f;
        f.id = idText("tt", id);
        f.kind = title->text(0);
        f.title = title->text(1);
        f.originalTitle = title->text(2);
        f.year = static_cast<int>(title->integer(3));
        f.runtime = static_cast<int>(title->integer(4));
        for (const QString& genre : QString::fromStdString(title->text(5)).split(',', Qt::SkipEmptyParts))
            f.genres.push_back(genre.toStdString());
    }
    {
        Using rating(m_queries->rating);
        if (rating->bind(1, id).row()) {
            f.rating = rating->real(0);
            f.votes = static_cast<int>(rating->integer(1));
        }
    }
    std::string directors, writers, stars, producers;
    {
        Using crew(m_queries->crew);
        if (crew->bind(1, id).row()) {
            directors = crew->text(0);
            writers = crew->text(1);
        }
    }
    {
        Using credits(m_queries->credits);
        if (credits->bind(1, id).row()) {
            stars = credits->text(0);
            producers = credits->text(1);
        }
    }
    f.directors = namesOf(directors);
    f.writers = namesOf(writers);
    f.stars = namesOf(stars);
    f.producers = namesOf(producers);
    return f;
}

std::optional<Film> ImdbIndex::byId(std::string_view id)
{
    const int64_t number = numberOf(id);
    if (number <= 0 || !id.starts_with("tt"))
        return std::nullopt;
    Film f = film(number);
    return f.id.empty() ? std::nullopt : std::optional<Film>(std::move(f));
}

std::vector<ImdbIndex::TitleMatch> ImdbIndex::exactTitle(std::string_view title, int year)
{
    // Two at most: one film is a match, two are a doubt.
    Using keyed(year > 0 ? m_queries->keyedInYear : m_queries->keyedAny);
    keyed->bind(1, titleKey(title));
    if (year > 0)
        keyed->bind(2, int64_t{year});
    std::vector<TitleMatch> films;
    while (keyed->row())
        films.push_back({idText("tt", keyed->integer(0)), static_cast<int>(keyed->integer(1))});
    return films;
}

std::vector<Film> ImdbIndex::byTitle(std::string_view title, int year, size_t most)
{
    const std::vector<QString> words = wordsOf(title);
    if (words.empty())
        return {};
    // The titles that are these words exactly, then those that hold them all among others.
    std::vector<int64_t> exact, partial;
    {
        Using keyed(m_queries->keyed);
        keyed->bind(1, titleKey(title));
        while (keyed->row())
            exact.push_back(keyed->integer(0));
    }
    QString query;
    for (const QString& word : words)
        query += (query.isEmpty() ? "\"" : " \"") + QString(word).replace('"', "\"\"") + '"';
    try {
        Using matched(m_queries->matched);
        matched->bind(1, query.toStdString());
        while (matched->row())
            partial.push_back(matched->integer(0) / kTitlesPerFilm);
    } catch (const db::DbError&) {
        // Words the full-text index cannot take as they are (one the index would split in two): the exact titles stand.
    }
    // Each film once, with what ranks it: an exact title, then the year's nearness, then the votes.
    struct Candidate {
        int64_t id;
        bool exact;
        int yearDistance;
        int votes;
    };
    std::map<int64_t, bool> seen;
    for (const int64_t id : exact)
        seen[id] = true;
    for (const int64_t id : partial)
        seen.try_emplace(id, false);
    std::vector<Candidate> candidates;
    for (const auto& [id, isExact] : seen) {
        Using rank(m_queries->rank);
        rank->bind(1, id);
        if (rank->row()) {
            const int filmYear = static_cast<int>(rank->integer(0));
            candidates.push_back({id, isExact, year > 0 && filmYear > 0 ? std::abs(filmYear - year) : 0,
                                  static_cast<int>(rank->integer(1))});
        }
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.exact != b.exact)
            return a.exact;
        if (a.yearDistance != b.yearDistance)
            return a.yearDistance < b.yearDistance;
        return a.votes != b.votes ? a.votes > b.votes : a.id < b.id;
    });
    std::vector<Film> films;
    for (size_t i = 0; i < candidates.size() && films.size() < most; ++i)
        films.push_back(film(candidates[i].id));
    return films;
}

} // namespace lookup
