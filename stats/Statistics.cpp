#include "Statistics.h"

#include "Translatable.h"

#include "Ascii.h"
#include "Cp1252.h"
#include "Table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace stats {

namespace {

// Counts of the values of one field, values that differ only in letter case
// counted as one; the spelling of the first record (by number) stands for all. An open-addressing table
// whose hash folds the case as it reads the bytes: no copy of the value per
// record, which at a million records is most of the pass.
class Counter {
public:
    void add(std::string_view value, uint32_t record) { add(value, foldedHash(value), record, 1); }
    // Adds what another worker counted.
    void merge(const Counter& other)
    {
        for (const Entry& entry : other.m_entries)
            add(entry.spelling, entry.hash, entry.firstRecord, entry.count);
    }
    std::vector<Tally> tallies(size_t most = SIZE_MAX, bool keepEmpty = true) const
    {
        std::vector<const Entry*> kept;
        for (const Entry& entry : m_entries)
            if (keepEmpty || !entry.spelling.empty())
                kept.push_back(&entry);
        const auto before = [](const Entry* a, const Entry* b) {
            return a->count != b->count ? a->count > b->count : a->spelling < b->spelling;
        };
        // Only the largest few are wanted from the many names of stars and directors.
        const size_t wanted = std::min(most, kept.size());
        std::partial_sort(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(wanted), kept.end(), before);
        std::vector<Tally> out;
        for (size_t i = 0; i < wanted; ++i)
            out.push_back({kept[i]->spelling, kept[i]->count});
        return out;
    }

private:
    struct Entry {
        std::string spelling;
        uint64_t hash = 0;
        uint64_t count = 0;
        uint32_t firstRecord = 0;
    };
    static constexpr uint32_t kFree = UINT32_MAX;

    void add(std::string_view value, uint64_t hash, uint32_t record, uint64_t count)
    {
        if (m_entries.size() * 2 >= m_slots.size())
            grow();
        size_t at = hash & (m_slots.size() - 1);
        while (m_slots[at] != kFree) {
            Entry& entry = m_entries[m_slots[at]];
            if (entry.hash == hash && db::sameLetters(entry.spelling, value)) {
                entry.count += count;
                if (record < entry.firstRecord) {
                    entry.spelling = value;
                    entry.firstRecord = record;
                }
                return;
            }
            at = (at + 1) & (m_slots.size() - 1);
        }
        m_slots[at] = static_cast<uint32_t>(m_entries.size());
        m_entries.push_back({std::string(value), hash, count, record});
    }

    static uint64_t foldedHash(std::string_view value)
    {
        uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a, then a final mix for the low bits the table uses
        for (const char c : value)
            hash = (hash ^ static_cast<unsigned char>(db::upperAscii(c))) * 0x100000001b3ull;
        return hash ^ (hash >> 29);
    }
    void grow()
    {
        m_slots.assign(std::max<size_t>(64, m_slots.size() * 2), kFree);
        for (uint32_t i = 0; i < m_entries.size(); ++i) {
            size_t at = m_entries[i].hash & (m_slots.size() - 1);
            while (m_slots[at] != kFree)
                at = (at + 1) & (m_slots.size() - 1);
            m_slots[at] = i;
        }
    }

    std::vector<uint32_t> m_slots;
    std::vector<Entry> m_entries;
};

// Counts by year (the years a table can hold, 1..9999), the decades made from
// them when the pass is over.
class YearCounter {
public:
    void add(double year)
    {
        if (year >= 1 && year < static_cast<double>(m_counts.size()))
            ++m_counts[static_cast<size_t>(year)];
        else
            ++m_none;
    }
    void merge(const YearCounter& other)
    {
        for (size_t y = 0; y < m_counts.size(); ++y)
            m_counts[y] += other.m_counts[y];
        m_none += other.m_none;
    }
    std::vector<Tally> years() const { return tallies(1); }
    std::vector<Tally> decades() const { return tallies(10); }

private:
    std::vector<Tally> tallies(size_t span) const
    {
        std::vector<Tally> out;
        for (size_t first = 0; first < m_counts.size(); first += span) {
            uint64_t count = 0;
            for (size_t y = first; y < first + span && y < m_counts.size(); ++y)
                count += m_counts[y];
            if (count)
                out.push_back({std::to_string(first) + (span == 10 ? "s" : ""), count});
        }
        if (m_none)
            out.push_back({"", m_none});
        std::stable_sort(out.begin(), out.end(), [](const Tally& a, const Tally& b) {
            return a.count != b.count ? a.count > b.count : a.value < b.value;
        });
        return out;
    }
    std::vector<uint64_t> m_counts = std::vector<uint64_t>(10000);
    uint64_t m_none = 0;
};

std::string jsonText(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string jsonTallies(const std::vector<Tally>& tallies)
{
    std::string out = "[";
    for (size_t i = 0; i < tallies.size(); ++i)
        out += (i ? ", " : "") + std::string("{\"value\": ") + jsonText(tallies[i].value)
               + ", \"count\": " + std::to_string(tallies[i].count) + "}";
    return out + "]";
}

} // namespace

CollectionStatistics collectStatistics(db::Table& table, size_t topCount)
{
    const auto field = [&table](const char* name) { return table.fieldIndex(name); };
    const int year = field("Year"), category = field("Category"), rating = field("Rating"),
              personal = field("PersonalRa"), format = field("Format"), picture = field("Picture"),
              sound = field("Sound"), viewed = field("Viewed"), checkedOut = field("CheckOut"),
              listPrice = field("ListPrice"), purchPrice = field("PurchPrice"), director = field("Director");
    std::vector<int> starFields;
    for (const char* star : {"Star1", "Star2", "Star3", "Star4", "Star5", "Star6"})
        if (field(star) >= 0)
            starFields.push_back(field(star));

    // Each worker counts its share of the records; the shares are added up after.
    struct Share {
        uint64_t videos = 0, viewed = 0, notViewed = 0, lentOut = 0;
        YearCounter years;
        Counter categories, ratings, personalRatings, formats, pictures, sounds, stars, directors;
        // Prices in cents, so that the sums do not depend on how the records were shared out.
        int64_t listCents = 0, purchaseCents = 0;
        uint64_t listPriced = 0, purchasePriced = 0;
        std::string scratch;
    };
    std::vector<Share> shares(table.scanWorkers());
    const std::vector<db::FieldDef>& fields = table.fields();
    const auto isYes = [](std::string_view value) { return !value.empty() && (value[0] == 'Y' || value[0] == 'y'); };
    table.scanVisibleInParallel([&](unsigned worker, const char* bytes, uint32_t recNo) {
        Share& share = shares[worker];
        const db::Record record(&fields, bytes);
        const auto textOf = [&](int at) { return at < 0 ? std::string_view() : record.textView(at, share.scratch); };
        ++share.videos;
        share.categories.add(textOf(category), recNo);
        share.years.add(year >= 0 ? std::floor(record.number(year)) : 0);
        share.ratings.add(textOf(rating), recNo);
        share.personalRatings.add(textOf(personal), recNo);
        share.formats.add(textOf(format), recNo);
        share.pictures.add(textOf(picture), recNo);
        share.sounds.add(textOf(sound), recNo);
        (isYes(textOf(viewed)) ? share.viewed : share.notViewed) += 1;
        if (isYes(textOf(checkedOut)))
            ++share.lentOut;
        if (listPrice >= 0 && !record.isEmpty(listPrice)) {
            share.listCents += std::llround(record.number(listPrice) * 100);
            ++share.listPriced;
        }
        if (purchPrice >= 0 && !record.isEmpty(purchPrice)) {
            share.purchaseCents += std::llround(record.number(purchPrice) * 100);
            ++share.purchasePriced;
        }
        for (const int star : starFields)
            if (const std::string_view name = textOf(star); !name.empty())
                share.stars.add(name, recNo);
        if (const std::string_view name = textOf(director); !name.empty())
            share.directors.add(name, recNo);
    });

    Share& all = shares.front();
    for (size_t w = 1; w < shares.size(); ++w) {
        const Share& share = shares[w];
        all.videos += share.videos;
        all.viewed += share.viewed;
        all.notViewed += share.notViewed;
        all.lentOut += share.lentOut;
        all.years.merge(share.years);
        for (const auto& [into, from] : {std::pair{&all.categories, &share.categories}, std::pair{&all.ratings, &share.ratings},
                                         std::pair{&all.personalRatings, &share.personalRatings},
                                         std::pair{&all.formats, &share.formats}, std::pair{&all.pictures, &share.pictures},
                                         std::pair{&all.sounds, &share.sounds}, std::pair{&all.stars, &share.stars},
                                         std::pair{&all.directors, &share.directors}})
            into->merge(*from);
        all.listCents += share.listCents;
        all.purchaseCents += share.purchaseCents;
        all.listPriced += share.listPriced;
        all.purchasePriced += share.purchasePriced;
    }
    CollectionStatistics s;
    s.videos = all.videos;
    s.viewed = all.viewed;
    s.notViewed = all.notViewed;
    s.lentOut = all.lentOut;
    s.listPrice = {static_cast<double>(all.listCents) / 100, all.listPriced};
    s.purchasePrice = {static_cast<double>(all.purchaseCents) / 100, all.purchasePriced};
    const YearCounter& years = all.years;
    const Counter &categories = all.categories, &ratings = all.ratings, &personalRatings = all.personalRatings,
                  &formats = all.formats, &pictures = all.pictures, &sounds = all.sounds, &stars = all.stars,
                  &directors = all.directors;
    s.categories = categories.tallies();
    s.decades = years.decades();
    s.years = years.years();
    s.ratings = ratings.tallies();
    s.personalRatings = personalRatings.tallies();
    s.formats = formats.tallies();
    s.pictures = pictures.tallies();
    s.sounds = sounds.tallies();
    s.stars = stars.tallies(topCount, false);
    s.directors = directors.tallies(topCount, false);
    return s;
}

std::string statisticsJson(const CollectionStatistics& s)
{
    std::string out = "{\n";
    out += "  \"videos\": " + std::to_string(s.videos) + ",\n";
    const std::pair<const char*, const std::vector<Tally>*> lists[] = {
        {"categories", &s.categories}, {"decades", &s.decades},       {"years", &s.years},
        {"ratings", &s.ratings},       {"personalRatings", &s.personalRatings}, {"formats", &s.formats},
        {"pictures", &s.pictures},     {"sounds", &s.sounds},         {"stars", &s.stars},
        {"directors", &s.directors}};
    for (const auto& [name, tallies] : lists)
        out += "  " + jsonText(name) + ": " + jsonTallies(*tallies) + ",\n";
    out += "  \"viewed\": " + std::to_string(s.viewed) + ",\n";
    out += "  \"notViewed\": " + std::to_string(s.notViewed) + ",\n";
    out += "  \"lentOut\": " + std::to_string(s.lentOut) + ",\n";
    for (const auto& [name, total] : {std::pair{"listPrice", &s.listPrice}, std::pair{"purchasePrice", &s.purchasePrice}})
        out += "  " + jsonText(name) + ": {\"sum\": " + jsonNumber(total->sum) + ", \"priced\": "
               + std::to_string(total->priced) + ", \"average\": " + jsonNumber(total->average()) + "}"
               + (std::string(name) == "listPrice" ? ",\n" : "\n");
    return out + "}\n";
}

} // namespace stats

namespace stats {

namespace {

constexpr const char* kNone = "(none)";
constexpr size_t kMostBars = 12;
constexpr size_t kMostSlices = 7;

std::vector<Tally> named(std::vector<Tally> tallies)
{
    for (Tally& t : tallies)
        if (t.value.empty())
            t.value = kNone;
    return tallies;
}

// The largest few slices of a pie, the rest as one "Others" (a pie is of the whole).
std::vector<Tally> largestSlices(const std::vector<Tally>& tallies, size_t most)
{
    if (tallies.size() <= most)
        return tallies;
    std::vector<Tally> out(tallies.begin(), tallies.begin() + static_cast<std::ptrdiff_t>(most - 1));
    Tally others{TRANSLATABLE("stats", "Others"), 0, true};
    for (size_t i = most - 1; i < tallies.size(); ++i)
        others.count += tallies[i].count;
    out.push_back(others);
    return out;
}

// Years and decades in the order of time; the records without a year last in
// the table and out of the chart, which has no place for them on its axis.
StatisticsPage timePage(const char* title, ChartKind chart, std::vector<Tally> tallies, uint64_t of)
{
    std::sort(tallies.begin(), tallies.end(), [](const Tally& a, const Tally& b) {
        if (a.value.empty() != b.value.empty())
            return b.value.empty();
        return a.value.size() != b.value.size() ? a.value.size() < b.value.size() : a.value < b.value;
    });
    StatisticsPage page{title, chart, named(tallies), {}, of};
    for (const Tally& t : tallies)
        if (!t.value.empty())
            page.charted.push_back(t);
    return page;
}

StatisticsPage countedPage(const char* title, ChartKind chart, const std::vector<Tally>& tallies, uint64_t of)
{
    StatisticsPage page{title, chart, named(tallies), {}, of};
    if (chart == ChartKind::Pie) {
        page.charted = largestSlices(page.rows, kMostSlices);
    } else {
        // Bars of the few largest only: one bar of all the others would dwarf them.
        page.charted.assign(page.rows.begin(), page.rows.begin() + static_cast<std::ptrdiff_t>(std::min(kMostBars, page.rows.size())));
        if (page.rows.size() > kMostBars)
            page.chartedOfMore = page.rows.size();
    }
    return page;
}

} // namespace

std::vector<StatisticsPage> statisticsPages(const CollectionStatistics& s)
{
    const uint64_t all = s.videos;
    const std::vector<Tally> viewed = {{TRANSLATABLE("stats", "Viewed"), s.viewed, true},
                                       {TRANSLATABLE("stats", "Not viewed"), s.notViewed, true}};
    return {
        {TRANSLATABLE("stats", "Viewed"), ChartKind::Pie, viewed, viewed, all},
        countedPage(TRANSLATABLE("stats", "Category"), ChartKind::SideBars, s.categories, all),
        timePage(TRANSLATABLE("stats", "Decade"), ChartKind::Bars, s.decades, all),
        timePage(TRANSLATABLE("stats", "Year"), ChartKind::Line, s.years, all),
        countedPage(TRANSLATABLE("stats", "Rating"), ChartKind::Bars, s.ratings, all),
        countedPage(TRANSLATABLE("stats", "Personal Rating"), ChartKind::Bars, s.personalRatings, all),
        countedPage(TRANSLATABLE("stats", "Format"), ChartKind::Pie, s.formats, all),
        countedPage(TRANSLATABLE("stats", "Picture"), ChartKind::Pie, s.pictures, all),
        countedPage(TRANSLATABLE("stats", "Sound"), ChartKind::Pie, s.sounds, all),
        countedPage(TRANSLATABLE("stats", "Stars"), ChartKind::SideBars, s.stars, all),
        countedPage(TRANSLATABLE("stats", "Directors"), ChartKind::SideBars, s.directors, all),
    };
}

} // namespace stats
