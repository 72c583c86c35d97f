#include "Statistics.h"

#include "Ascii.h"
#include "Cp1252.h"
#include "Table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <unordered_map>

namespace stats {

namespace {

// Counts of the values of one field, by the value in upper case; the first spelling met is kept.
class Counter {
public:
    void add(std::string_view value)
    {
        m_upper.assign(value.begin(), value.end());
        for (char& c : m_upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        auto found = m_counts.find(m_upper);
        if (found == m_counts.end())
            found = m_counts.emplace(m_upper, Entry{std::string(value), 0}).first;
        ++found->second.count;
    }
    std::vector<Tally> tallies(size_t most = SIZE_MAX, bool keepEmpty = true) const
    {
        std::vector<Tally> out;
        for (const auto& [upper, entry] : m_counts)
            if (keepEmpty || !entry.spelling.empty())
                out.push_back({db::cp1252ToUtf8(entry.spelling), entry.count});
        std::sort(out.begin(), out.end(), [](const Tally& a, const Tally& b) {
            return a.count != b.count ? a.count > b.count : a.value < b.value;
        });
        if (out.size() > most)
            out.resize(most);
        return out;
    }

private:
    struct Entry {
        std::string spelling;
        uint64_t count = 0;
    };
    std::unordered_map<std::string, Entry> m_counts;
    std::string m_upper;
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

    CollectionStatistics s;
    Counter categories, decades, years, ratings, personalRatings, formats, pictures, sounds, stars, directors;
    std::string text, scratch;
    const auto textOf = [&](const db::Record& record, int at) -> std::string_view {
        return at < 0 ? std::string_view() : record.textView(at, scratch);
    };
    const auto isYes = [](std::string_view value) { return !value.empty() && (value[0] == 'Y' || value[0] == 'y'); };
    const db::Table::ReadHold hold(table); // one state of the collection
    for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
        const db::Record record = table.current();
        ++s.videos;
        categories.add(textOf(record, category));
        const double y = year >= 0 ? record.number(year) : 0;
        if (y > 0) {
            years.add(std::to_string(static_cast<long long>(y)));
            decades.add(std::to_string(static_cast<long long>(y) / 10 * 10) + "s");
        } else {
            years.add("");
            decades.add("");
        }
        ratings.add(textOf(record, rating));
        personalRatings.add(textOf(record, personal));
        formats.add(textOf(record, format));
        pictures.add(textOf(record, picture));
        sounds.add(textOf(record, sound));
        (isYes(textOf(record, viewed)) ? s.viewed : s.notViewed) += 1;
        if (isYes(textOf(record, checkedOut)))
            ++s.lentOut;
        for (const auto& [at, total] : {std::pair{listPrice, &s.listPrice}, std::pair{purchPrice, &s.purchasePrice}})
            if (at >= 0 && !record.isEmpty(at)) {
                total->sum += record.number(at);
                ++total->priced;
            }
        for (const int star : starFields)
            if (const std::string_view name = textOf(record, star); !name.empty())
                stars.add(name);
        if (const std::string_view name = textOf(record, director); !name.empty())
            directors.add(name);
    }
    s.categories = categories.tallies();
    s.decades = decades.tallies();
    s.years = years.tallies();
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
