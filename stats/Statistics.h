#pragma once

// Statistics of a collection, or of the records of a search: how many videos,
// how they divide by category, decade, year, rating, personal rating, format,
// picture and sound, how many were viewed and are lent out, what the list and
// purchase prices add up to, and the stars and directors met most often. One
// pass over the records the table shows.

#include <cstdint>
#include <string>
#include <vector>

namespace db {
class Table;
}

namespace stats {

// One value and how many records hold it (values in UTF-8; "" for none).
struct Tally {
    std::string value;
    uint64_t count = 0;
    bool named = false; // the value is the statistics' own word ("Viewed", "Others"), not a field's value
};

struct MoneyTotal {
    double sum = 0;
    uint64_t priced = 0; // records with a price (the average is over these)
    double average() const { return priced ? sum / static_cast<double>(priced) : 0; }
};

struct CollectionStatistics {
    uint64_t videos = 0;
    // Largest first, then by value; a value's first spelling stands for all its
    // spellings in other letter cases ("Drama" and "DRAMA" are one category).
    std::vector<Tally> categories, decades, years, ratings, personalRatings, formats, pictures, sounds;
    uint64_t viewed = 0;
    uint64_t notViewed = 0;
    uint64_t lentOut = 0;
    MoneyTotal listPrice, purchasePrice;
    std::vector<Tally> stars, directors; // the most frequent, at most topCount each; no empty names
};

CollectionStatistics collectStatistics(db::Table& table, size_t topCount = 10);

// The statistics as JSON (UTF-8), prices as plain numbers.
std::string statisticsJson(const CollectionStatistics& statistics);

} // namespace stats

namespace stats {

// How a page of the statistics window draws its values.
enum class ChartKind {
    Bars,     // upright bars, in the page's order
    SideBars, // bars lying down, the largest on top: names read better so
    Pie,      // shares of the whole
    Line,     // a value for each year along an axis of time
};

// One page of the statistics as a window shows and prints it: every value in
// its table, and what its chart draws: at most a dozen bars (the largest) or
// seven slices (the rest gathered as "Others", so that the shares stay true);
// years and decades in the order of time.
struct StatisticsPage {
    std::string title;
    ChartKind chart = ChartKind::Bars;
    std::vector<Tally> rows;
    std::vector<Tally> charted;
    uint64_t of = 0; // the videos counted: each share is count / of
    size_t chartedOfMore = 0; // when the bars show only the largest: how many values there are
};

// The pages in the window's order: Viewed, Category, Decade, Year, Rating,
// Personal Rating, Format, Picture, Sound, Stars, Directors. A value with no
// text reads "(none)".
std::vector<StatisticsPage> statisticsPages(const CollectionStatistics& statistics);

} // namespace stats
