#pragma once

// A lookup index of IMDb's non-commercial datasets, built by the program from
// the files the user downloaded (title.basics, title.ratings, title.crew,
// title.principals, name.basics and, when there, title.akas) into an SQLite
// database of its own. SQLite because its full-text index finds a title by
// any of its words in milliseconds, and a B-tree by number finds a tt id at
// once, in one file that builds in one pass over the data.
//
// Only what a video collection holds is kept: films, TV films and series,
// videos, shorts and specials, not the millions of episodes; the names of
// the people those films credit, not every name.

#include "Film.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace lookup {

// The line the files' terms ask for wherever their data is shown.
inline constexpr const char* kImdbCourtesy =
    "Information courtesy of IMDb (https://www.imdb.com). Used with permission.";

struct ImdbBuildResult {
    uint64_t titles = 0;       // films kept
    uint64_t otherTitles = 0;  // episodes and the like, left out
    uint64_t titleNames = 0;   // titles a film is found by (its own, original and others)
    uint64_t names = 0;        // people kept
    uint64_t damagedLines = 0; // lines that were not whole, left out
    std::vector<std::string> notes; // a file missing, cut short, of another shape
    bool cancelled = false;
};

// Reads the dataset files in folder and writes the index to indexPath
// (beside it while it is built, then in its place: a build that fails or is
// cancelled leaves an earlier index as it was). progress gets what is being
// read and how far the whole build has come (0..1); returning false cancels.
// Throws db::DbError when a file the index needs (title.basics) is missing
// or the index cannot be written.
ImdbBuildResult buildImdbIndex(const std::string& folder, const std::string& indexPath,
                               const std::function<bool(const std::string& file, double done)>& progress = {});


// The words of a title as the index compares them: accents and case aside,
// in any order ("Amélie, Le fabuleux destin d'" and "le FABULEUX destin d' amelie" alike).
std::string titleKey(std::string_view title);
// The same words in their order, as the index's word search holds them.
std::string foldedWords(std::string_view title);

class ImdbIndex {
public:
    // Opens an index for reading. Throws db::DbError when it is missing or is no index of this program.
    explicit ImdbIndex(const std::string& indexPath);
    ~ImdbIndex();
    ImdbIndex(const ImdbIndex&) = delete;
    ImdbIndex& operator=(const ImdbIndex&) = delete;

    // A film by its IMDb id ("tt0113277"); none when the index does not hold it.
    std::optional<Film> byId(std::string_view id);
    // Films whose titles (their own, original or another country's) hold every
    // word of title, in any order, accents and case aside: the titles that are
    // those words exactly first, then by their year's nearness to year (0: any)
    // and by how many voted for them.
    std::vector<Film> byTitle(std::string_view title, int year = 0, size_t most = 20);
    // Films one of whose titles is exactly these words (any order, accents and
    // case aside), of that year (0: any), by id and year: at most two, as a
    // batch needs to know whether one film is meant, at once.
    struct TitleMatch {
        std::string id;
        int year = 0;
    };
    std::vector<TitleMatch> exactTitle(std::string_view title, int year = 0);

private:
    Film film(int64_t id);
    std::string nameOf(int64_t id);
    std::vector<std::string> namesOf(const std::string& ids);
    sqlite3* m_db = nullptr;
    struct Queries; // prepared once, used for every lookup
    std::unique_ptr<Queries> m_queries;
};

} // namespace lookup
