#pragma once

// Filling a video's fields from a film of the lookup index: what each field
// would become (names joined as the imports join them, as many whole names as
// the field holds), the fields a user keeps as they are, and the batch that
// fills the empty fields of many videos where the match is beyond doubt.

#include "CoverStore.h"
#include "ImdbIndex.h"
#include "TextEncoding.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace db {
class Table;
class Record;
}

namespace lookup {

struct FillChange {
    int field = -1;        // the table's field index
    int position = 0;      // the schema position (1..40)
    std::string before;    // the value the video has (UTF-8)
    std::string after;     // the value the film gives, as the field will hold it
    int leftOut = 0;       // names or genres that did not fit beside the others
    bool cut = false;      // a text cut to the field's width
};

// Each field the film gives a value for that differs from what the record
// holds, with the value as the field will keep it. A value the record has is
// offered too; onlyEmpty leaves those out.
std::vector<FillChange> fillChanges(const db::Table& table, const db::Record& record, const Film& film,
                                    bool onlyEmpty);
// The same against values held elsewhere (an editor's boxes): current gives a
// field's value (UTF-8) by the table's field index.
std::vector<FillChange> fillChanges(const db::Table& table, const std::function<std::string(int field)>& current,
                                    const Film& film, bool onlyEmpty);

// Writes the changes into the current record (the table in edit or insert state).
void applyChanges(db::Table& table, const std::vector<FillChange>& changes);

// Which films of the index are this video's beyond doubt: the one its IMDb id
// names, else the one film whose title is exactly the video's (in any word
// order, accents and case aside) and whose year is the video's (or, when the
// video has no year, the only film of that title). None when there is doubt.
struct FillMatch {
    std::optional<Film> film;
    bool ambiguous = false; // several films could be it: the user picks
};
FillMatch unambiguousMatch(ImdbIndex& index, std::string_view title, int year, std::string_view imdbId);

// Where a batch takes its films from: IMDb's datasets (the index), or TMDb.
class FilmSource {
public:
    virtual ~FilmSource() = default;
    // The video's film beyond doubt (see unambiguousMatch). Throws db::DbError
    // when the source cannot answer at all (no key, no network): the batch stops.
    virtual FillMatch match(std::string_view title, int year, std::string_view imdbId) = 0;
    // Whether the source gives posters, and a film's poster for a cover of
    // longestSide (its bytes, "" when it has none; throws as match does).
    virtual bool givesCovers() const { return false; }
    virtual std::string poster(const Film&, int /*longestSide*/) { return {}; }
};

class ImdbSource final : public FilmSource {
public:
    explicit ImdbSource(ImdbIndex& index)
        : m_index(index)
    {
    }
    FillMatch match(std::string_view title, int year, std::string_view imdbId) override
    {
        return unambiguousMatch(m_index, title, year, imdbId);
    }

private:
    ImdbIndex& m_index;
};

struct FillSummary {
    uint64_t looked = 0;    // videos that wanted filling
    uint64_t filled = 0;    // videos that got values
    uint64_t values = 0;    // values written
    uint64_t cutValues = 0; // values cut or with names left out to fit
    std::vector<std::string> ambiguous; // "Title (Year)" of each video with more than one possible film
    std::vector<std::string> notFound;  // "Title (Year)" of each video no film of the index matches
    uint64_t covers = 0;                  // covers taken from the source's posters
    std::vector<std::string> coverFailures; // "Title (Year): why" of each poster that could not be taken
    bool cancelled = false;
};

// Fills the empty fields of every visible video that has a title but no
// director, or no year, from its unambiguous match. progress (the videos
// looked at so far) returning false stops the batch; what was written stays.
FillSummary fillMissing(db::Table& table, ImdbIndex& index, const std::function<bool(uint64_t)>& progress = {});

// What a batch does besides the fields: the videos without a cover get the
// source's poster too (when the source gives posters), kept at these limits.
struct FillCovers {
    std::string collectionPath;
    covers::CoverLimits limits;
};
// The same from any source; with covers, a video without a cover is looked up too.
FillSummary fillMissing(db::Table& table, FilmSource& source, const std::function<bool(uint64_t)>& progress = {},
                        const std::optional<FillCovers>& covers = std::nullopt);

} // namespace lookup
