#include "FilmFill.h"

#include "DbError.h"
#include "Import.h"
#include "Record.h"
#include "Schema.h"
#include "Table.h"

#include <QString>

namespace lookup {

namespace {

int characters(std::string_view utf8)
{
    return static_cast<int>(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).size());
}

// A story longer than its field ends at the last whole word that fits, not in the middle of one.
std::string cutAtWord(const std::string& text, int width)
{
    const QString whole = QString::fromStdString(text);
    if (whole.size() <= width)
        return text;
    QString cut = whole.left(width);
    const qsizetype space = cut.lastIndexOf(' ');
    if (space > width / 2)
        cut.truncate(space);
    while (cut.endsWith(',') || cut.endsWith(';') || cut.endsWith(':') || cut.endsWith(' '))
        cut.chop(1);
    return cut.toStdString();
}

// A film's value for each schema position it fills, as lists of whole items where a field lists names.
struct Given {
    const char* field;
    std::vector<std::string> items; // one for a plain value
    bool list = false;
};

std::vector<Given> givenBy(const Film& film)
{
    std::vector<Given> given = {
        {"Director", film.directors, true}, {"Writers", film.writers, true}, {"Producer", film.producers, true},
        {"Year", {film.year > 0 ? std::to_string(film.year) : std::string()}},
        {"RunTime", {film.runtime > 0 ? std::to_string(film.runtime) : std::string()}},
        {"UserDef1", {film.id}},
        {"Rating", {film.certification}},
        {"Descriptio", {film.overview}},
    };
    // The first genre is the category, the others key words, as the imports have them.
    if (!film.genres.empty()) {
        given.push_back({"Category", {film.genres.front()}});
        given.push_back({"KeyWords", std::vector<std::string>(film.genres.begin() + 1, film.genres.end()), true});
    }
    for (size_t s = 0; s < 6 && s < film.stars.size(); ++s) {
        static const char* const stars[] = {"Star1", "Star2", "Star3", "Star4", "Star5", "Star6"};
        given.push_back({stars[s], {film.stars[s]}});
    }
    return given;
}

std::string filmName(std::string_view title, int year)
{
    return std::string(title) + (year > 0 ? " (" + std::to_string(year) + ")" : "");
}

} // namespace

std::vector<FillChange> fillChanges(const db::Table& table, const db::Record& record, const Film& film, bool onlyEmpty)
{
    return fillChanges(table, [&record](int field) { return record.text(field); }, film, onlyEmpty);
}

std::vector<FillChange> fillChanges(const db::Table& table, const std::function<std::string(int field)>& current,
                                    const Film& film, bool onlyEmpty)
{
    std::vector<FillChange> changes;
    for (const Given& g : givenBy(film)) {
        const int field = table.fieldIndex(g.field);
        if (field < 0)
            continue;
        const int position = db::schemaPosition(g.field);
        const int width = table.field(field).width;
        FillChange change;
        change.field = field;
        change.position = position;
        change.before = current(field);
        std::string value;
        if (g.list) {
            // The first name always (cut when it is longer than the field), then as many whole
            // names as the field holds; the others are counted.
            for (const std::string& item : g.items) {
                const std::string longer = value.empty() ? item : value + ", " + item;
                if (value.empty() || characters(longer) <= width)
                    value = longer;
                else
                    ++change.leftOut;
            }
        } else {
            value = g.items.empty() ? std::string() : g.items.front();
        }
        if (value.empty())
            continue;
        const std::string given = value;
        if (position == db::schemaPosition("Descriptio"))
            value = cutAtWord(value, width);
        change.after = exchange::storedPreview(value, position, table.encoding());
        change.cut = change.after != given && db::schemaField(position).kind == db::SchemaKind::Character
                     && characters(change.after) < characters(given);
        const bool empty = change.before.empty() || change.before == "0";
        if (change.after == change.before || (onlyEmpty && !empty))
            continue;
        changes.push_back(std::move(change));
    }
    return changes;
}

void applyChanges(db::Table& table, const std::vector<FillChange>& changes)
{
    for (const FillChange& change : changes) {
        const db::SchemaKind kind = db::schemaField(change.position).kind;
        if (kind == db::SchemaKind::WholeNumber || kind == db::SchemaKind::DecimalNumber)
            table.setNumber(change.field, std::stod(change.after));
        else
            table.setText(change.field, change.after);
    }
}

FillMatch unambiguousMatch(ImdbIndex& index, std::string_view title, int year, std::string_view imdbId)
{
    FillMatch match;
    if (imdbId.starts_with("tt"))
        if ((match.film = index.byId(imdbId)))
            return match;
    const std::vector<ImdbIndex::TitleMatch> exact = index.exactTitle(title, year);
    if (exact.size() == 1)
        match.film = index.byId(exact.front().id);
    else
        match.ambiguous = exact.size() > 1;
    return match;
}

FillSummary fillMissing(db::Table& table, ImdbIndex& index, const std::function<bool(uint64_t)>& progress)
{
    ImdbSource source(index);
    return fillMissing(table, source, progress);
}

FillSummary fillMissing(db::Table& table, FilmSource& source, const std::function<bool(uint64_t)>& progress,
                        const std::optional<FillCovers>& covers)
{
    FillSummary summary;
    const int director = table.fieldIndex("Director"), yearField = table.fieldIndex("Year"), imdb = table.fieldIndex("UserDef1");
    const bool withCovers = covers && source.givesCovers();
    std::optional<covers::CoverFiles> coverFiles;
    if (withCovers)
        coverFiles.emplace(covers->collectionPath);
    const auto yearText = [&](const db::Record& record) { return yearField >= 0 ? record.text(yearField) : std::string(); };
    // The videos to fill, found first: filling a year may move a video in the order it is walked in.
    std::vector<db::Table::Bookmark> wanted;
    for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
        const db::Record record = table.current();
        const bool titled = !record.text(0).empty();
        const bool noDirector = director >= 0 && record.text(director).empty();
        const bool noYear = yearField >= 0 && record.number(yearField) == 0;
        const bool noCover = withCovers && titled && coverFiles->fileOf(record.text(0), yearText(record)).empty();
        if (titled && (noDirector || noYear || noCover))
            wanted.push_back(table.bookmark());
    }
    std::optional<covers::CoverStore> store;
    if (withCovers)
        store.emplace(covers->collectionPath);
    constexpr uint64_t kBatch = 2000; // changes written under one hold of the update lock
    table.beginBatch();
    try {
        for (const db::Table::Bookmark& at : wanted) {
            if (progress && !progress(summary.looked)) {
                summary.cancelled = true;
                break;
            }
            ++summary.looked;
            if (!table.gotoBookmark(at))
                continue; // deleted by another copy meanwhile
            const db::Record record = table.current();
            const std::string title = record.text(0);
            const int year = yearField >= 0 ? static_cast<int>(record.number(yearField)) : 0;
            const FillMatch match = source.match(title, year, imdb >= 0 ? record.text(imdb) : std::string());
            if (!match.film) {
                (match.ambiguous ? summary.ambiguous : summary.notFound).push_back(filmName(title, year));
                continue;
            }
            const std::vector<FillChange> changes = fillChanges(table, record, *match.film, true);
            if (!changes.empty()) {
                table.edit();
                applyChanges(table, changes);
                table.post();
                ++summary.filled;
                summary.values += changes.size();
                for (const FillChange& change : changes)
                    summary.cutValues += change.cut || change.leftOut > 0;
                if (summary.filled % kBatch == 0) {
                    table.endBatch();
                    table.beginBatch();
                }
            }
            if (withCovers && !match.film->posterPath.empty()) {
                const db::Record stored = table.current(); // under the title and year it has now
                const std::string storedYear = yearText(stored);
                if (!store->find(title, storedYear).empty())
                    continue;
                try {
                    const std::string bytes = source.poster(*match.film, covers->limits.longestSide);
                    if (bytes.empty())
                        continue;
                    store->store(title, storedYear, covers::checkPicture(bytes, match.film->posterPath.substr(1), covers->limits));
                    ++summary.covers;
                } catch (const db::DbError& e) {
                    summary.coverFailures.push_back(filmName(title, yearField >= 0 ? static_cast<int>(stored.number(yearField)) : 0) + ": " + e.message());
                }
            }
        }
    } catch (...) {
        table.endBatch();
        throw;
    }
    table.endBatch();
    return summary;
}

} // namespace lookup
