#include "Catalogues.h"

#include "CoverNames.h"
#include "CoverStore.h"

#include "Cp1252.h"
#include "DbError.h"
#include "DelimitedText.h"
#include "FileIO.h"
#include "HeaderMatch.h"
#include "NumberText.h"
#include "Schema.h"
#include "Table.h"
#include "ReadAhead.h"
#include "XmlCatalogues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <unordered_map>

namespace exchange {

namespace {

constexpr std::string_view kLetterboxdList = "Letterboxd list export";

// A catalogue file read line by line as UTF-8 (or Windows-1252 when it is no UTF-8).
class CatalogueLines {
public:
    explicit CatalogueLines(const std::string& path)
    {
        const TextScan scan = scanTextFile(path);
        if (scan.hasNul)
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is not text")});
        m_utf8 = scan.utf8;
        m_file.open(path, db::File::Mode::ReadOnly);
        auto offset = std::make_shared<uint64_t>(0);
        m_reader = std::make_unique<DelimitedReader>(
            [this, offset](char* into, size_t n) {
                const size_t got = m_file.readSomeAt(*offset, into, n);
                *offset += got;
                return got;
            },
            m_utf8);
    }

    // The next line that holds anything; false at the end.
    bool next(std::vector<std::string>& values)
    {
        int present = 0;
        while (true) {
            const DelimitedReader::Line line = m_reader->readRecord(kMaxImportFields, values, present);
            if (line == DelimitedReader::Line::End)
                return false;
            values.resize(static_cast<size_t>(present));
            if (line == DelimitedReader::Line::Blank || std::all_of(values.begin(), values.end(), [](const std::string& v) { return v.empty(); }))
                continue;
            if (!m_utf8)
                for (std::string& value : values)
                    value = db::cp1252ToUtf8(value);
            return true;
        }
    }

private:
    bool m_utf8 = false;
    db::File m_file;
    std::unique_ptr<DelimitedReader> m_reader;
};

// Columns found by their names in a header line.
class Columns {
public:
    explicit Columns(const std::vector<std::string>& header)
    {
        for (const std::string& name : header)
            m_keys.push_back(matchingKey(name));
    }
    bool has(const char* name) const { return index(name) >= 0; }
    // The value of the named column in a line ("" when the column or the value is missing).
    std::string of(const std::vector<std::string>& line, const char* name) const
    {
        const int at = index(name);
        return at >= 0 && at < static_cast<int>(line.size()) ? line[static_cast<size_t>(at)] : std::string();
    }

private:
    // The column of a name; remembered, since every line asks for the same names.
    int index(const char* name) const
    {
        const auto [known, fresh] = m_indexes.try_emplace(name, -1);
        if (fresh) {
            const auto found = std::find(m_keys.begin(), m_keys.end(), matchingKey(name));
            known->second = found == m_keys.end() ? -1 : static_cast<int>(found - m_keys.begin());
        }
        return known->second;
    }
    std::vector<std::string> m_keys;
    mutable std::unordered_map<const char*, int> m_indexes;
};

bool isImdbHeader(const Columns& c) { return c.has("Const") && c.has("Title") && (c.has("URL") || c.has("Title Type")); }
bool isLetterboxdHeader(const Columns& c) { return c.has("Name") && c.has("Letterboxd URI"); }

void put(CollectionValues& values, const char* field, std::string value) { values[valueIndex(field)] = std::move(value); }

void fillImdb(const Columns& c, const std::vector<std::string>& line, CollectionValues& values)
{
    std::string title = c.of(line, "Title");
    put(values, "Title", title.empty() ? c.of(line, "Original Title") : title);
    put(values, "Year", c.of(line, "Year"));
    put(values, "RunTime", c.of(line, "Runtime (mins)"));
    put(values, "Category", c.of(line, "Genres"));
    put(values, "Director", c.of(line, "Directors"));
    const std::string rating = ratingOutOfTen(c.of(line, "Your Rating"), 10);
    put(values, "PersonalRa", rating);
    if (!rating.empty())
        put(values, "Viewed", "Yes"); // IMDb rates only what was seen
    put(values, "Miscellane", c.of(line, "Description"));
    put(values, "UserDef1", c.of(line, "Const"));
}

void fillLetterboxd(const Columns& c, const std::vector<std::string>& line, CollectionValues& values, bool seen)
{
    put(values, "Title", c.of(line, "Name"));
    put(values, "Year", c.of(line, "Year"));
    put(values, "PersonalRa", ratingOutOfTen(c.of(line, "Rating"), 5));
    put(values, "KeyWords", c.of(line, "Tags"));
    const std::string review = c.of(line, "Review");
    put(values, "Miscellane", review.empty() ? c.of(line, "Description") : review);
    const std::string uri = c.of(line, "Letterboxd URI");
    put(values, "UserDef2", uri.empty() ? c.of(line, "URL") : uri);
    if (seen)
        put(values, "Viewed", "Yes");
}

std::string fileName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::transform(name.begin(), name.end(), name.begin(), [](char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); });
    return name;
}

XmlCatalogue xmlKind(CatalogueFormat format)
{
    switch (format) {
    case CatalogueFormat::Gcstar: return XmlCatalogue::Gcstar;
    case CatalogueFormat::Tellico: return XmlCatalogue::Tellico;
    case CatalogueFormat::Nfo: return XmlCatalogue::Nfo;
    default: return XmlCatalogue::None;
    }
}

// "Title (Year)", as a message names a film.
std::string filmName(const CollectionValues& values)
{
    const std::string& year = values[valueIndex("Year")];
    return values[valueIndex("Title")] + (year.empty() ? "" : " (" + year + ")");
}

ImportResult importXmlCatalogue(db::Table& table, const std::string& path, XmlCatalogue kind, const ImportOptions& options)
{
    std::unique_ptr<XmlFilms> films;
    try {
        films = openXmlCatalogue(path, kind);
    } catch (const std::exception& e) {
        ImportResult result;
        result.error = e.what();
        result.failure = std::current_exception();
        return result;
    }
    // The films are read, and their pictures read and checked, on a thread of their own while the
    // ones before them are stored. A damage found part way ends the import there: the films before
    // it stay, and are counted.
    struct Film {
        bool present = false;
        CollectionValues values;
        std::optional<covers::CheckedPicture> picture;
        std::optional<db::DbError> pictureFault;
    };
    const covers::CoverLimits limits = options.coverLimits;
    FilmPictureReader pictures;
    covers::CoverStore store(table.filePath());
    const db::TextEncoding encoding = table.encoding();
    uint64_t taken = 0, kept = 0;
    std::vector<ImportResult::CoverNotTaken> notTaken;
    ImportResult result;
    {
        ReadAhead<Film> ahead([&films, &pictures, &limits](Film& film) {
            film.picture.reset();
            film.pictureFault.reset();
            film.present = films->next(film.values);
            if (film.present && films->picture.given()) {
                const FilmPicture& given = films->picture;
                try {
                    const std::string name = given.member.empty() ? given.file : given.file + "/" + given.member;
                    film.picture = covers::checkPicture(pictures.read(given, limits.largestFileBytes), name, limits);
                } catch (const db::DbError& e) {
                    film.pictureFault = e;
                }
            }
            return !film.present;
        });
        result = importValues(
            table,
            [&](CollectionValues& values) {
                Film& film = ahead.next();
                if (!film.present)
                    return false;
                values = std::move(film.values);
                if (film.pictureFault) {
                    notTaken.push_back({filmName(values), *film.pictureFault});
                } else if (film.picture) {
                    // Named as the record will be stored: its title cut to the field and in the collection's characters.
                    const std::string title = storedPreview(values[valueIndex("Title")], db::schemaPosition("Title"), encoding);
                    const std::string year = storedPreview(values[valueIndex("Year")], db::schemaPosition("Year"), encoding);
                    try {
                        if (!store.find(title, year).empty()) {
                            ++kept; // a cover is never replaced by an import
                        } else if (!covers::coverBaseName(title, year).empty()) {
                            store.store(title, year, *film.picture);
                            ++taken;
                        }
                    } catch (const db::DbError& e) {
                        notTaken.push_back({filmName(values), e});
                    }
                }
                return true;
            },
            options);
    } // the reading thread has ended: what it left out is all there
    result.leftOutFiles = std::move(films->leftOut);
    result.coversTaken = taken;
    result.coversKept = kept;
    result.coversNotTaken = std::move(notTaken);
    return result;
}

} // namespace

CatalogueFormat recogniseCatalogue(const std::string& path)
{
    switch (recogniseXmlCatalogue(path)) {
    case XmlCatalogue::Gcstar: return CatalogueFormat::Gcstar;
    case XmlCatalogue::Tellico: return CatalogueFormat::Tellico;
    case XmlCatalogue::Nfo: return CatalogueFormat::Nfo;
    case XmlCatalogue::None: break;
    }
    try {
        CatalogueLines lines(path);
        std::vector<std::string> first;
        if (!lines.next(first))
            return CatalogueFormat::Text;
        if (!first.empty() && first[0].rfind(kLetterboxdList, 0) == 0)
            return CatalogueFormat::Letterboxd;
        const Columns columns(first);
        if (isImdbHeader(columns))
            return CatalogueFormat::Imdb;
        if (isLetterboxdHeader(columns))
            return CatalogueFormat::Letterboxd;
    } catch (const std::exception&) {
        // Not readable as text: the plain import says why.
    }
    return CatalogueFormat::Text;
}

const char* catalogueName(CatalogueFormat format)
{
    switch (format) {
    case CatalogueFormat::Imdb: return "IMDb";
    case CatalogueFormat::Letterboxd: return "Letterboxd";
    case CatalogueFormat::Gcstar: return "GCstar";
    case CatalogueFormat::Tellico: return "Tellico";
    case CatalogueFormat::Nfo: return "Kodi .nfo";
    case CatalogueFormat::Text: break;
    }
    return "text";
}

ImportResult importCatalogue(db::Table& table, const std::string& path, CatalogueFormat format,
                             const ImportOptions& options)
{
    if (const XmlCatalogue kind = xmlKind(format); kind != XmlCatalogue::None)
        return importXmlCatalogue(table, path, kind, options);
    std::unique_ptr<CatalogueLines> lines;
    std::vector<std::string> line;
    std::optional<Columns> columns;
    bool seen = false;
    try {
        lines = std::make_unique<CatalogueLines>(path);
        if (!lines->next(line))
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is empty")});
        if (format == CatalogueFormat::Letterboxd && !line.empty() && line[0].rfind(kLetterboxdList, 0) == 0) {
            // The list's own table comes first; the films' table starts at its "Position" header.
            while (lines->next(line) && !(Columns(line).has("Position") && Columns(line).has("Name"))) {
            }
        }
        columns.emplace(line);
        const bool fits = format == CatalogueFormat::Imdb ? isImdbHeader(*columns)
                                                          : columns->has("Name") && (columns->has("Letterboxd URI") || columns->has("URL"));
        if (!fits)
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no %1 export: its first line does "
                                                                         "not name the columns one has"),
                                                {catalogueName(format)}});
        // Letterboxd's watched, diary and ratings files hold what was seen; its watchlist and lists need not.
        seen = format == CatalogueFormat::Letterboxd && !columns->has("Position")
               && fileName(path).find("watchlist") == std::string::npos;
    } catch (const std::exception& e) {
        ImportResult result;
        result.error = e.what();
        result.failure = std::current_exception();
        return result;
    }
    return importValues(
        table,
        [&](CollectionValues& values) {
            if (!lines->next(line))
                return false;
            if (format == CatalogueFormat::Imdb)
                fillImdb(*columns, line, values);
            else
                fillLetterboxd(*columns, line, values, seen);
            return true;
        },
        options);
}

} // namespace exchange
