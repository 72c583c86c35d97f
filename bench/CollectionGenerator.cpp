#include "CollectionGenerator.h"

#include "CollectionFile.h"
#include "EditText.h"
#include "Schema.h"
#include "Table.h"

#include <array>
#include <random>

namespace bench {

namespace {

constexpr std::array kWords = {"The", "Last", "Night", "Road", "River", "Shadow", "Love", "Return", "City",
                               "Storm", "Silent", "Golden", "Dark", "Summer", "King", "Street", "Dream",
                               "Fire", "Winter", "Secret", "Ghost", "Stranger", "Heart", "Empire", "Island",
                               "Journey", "Blue", "Crime", "Moon", "Dance", "Garden", "Thunder", "Mirror"};
// Words of titles in other scripts (Japanese, Chinese, Korean, Polish, Czech,
// Greek, Russian, Arabic, Hebrew, emoji), as many as kWords, so that a title
// drawn from them takes the same draws from the generator.
constexpr std::array kScriptWords = {
    "千と千尋", "神隠し", "卧虎", "藏龙", "기생충", "올드보이", "Łódź", "Człowiek", "Żółć", "sledované",
    "vlaky", "Θίασος", "Ταξίδι", "Летят", "журавли", "Сталкер", "Москва", "باب", "الحديد", "القاهرة",
    "ואלס", "באשיר", "ירושלים", "🎬", "Amélie", "Ostře", "东京", "物語", "夜", "Öl", "μήλο", "ночь", "خبز"};
static_assert(kScriptWords.size() == kWords.size());

constexpr std::array kFirst = {"John", "Mary", "James", "Grace", "Robert", "Audrey", "Henry", "Bette", "Cary",
                               "Ingrid", "Humphrey", "Lauren", "Gregory", "Marilyn", "Paul", "Sophia", "Clark",
                               "Vivien", "Orson", "Rita", "Jack", "Doris", "Fred", "Judy"};
constexpr std::array kLast = {"Stewart", "Hepburn", "Grant", "Kelly", "Bogart", "Bacall", "Fonda", "Davis",
                              "Peck", "Monroe", "Newman", "Loren", "Gable", "Leigh", "Welles", "Hayworth",
                              "Lemmon", "Day", "Astaire", "Garland", "Mitchum", "Crawford", "Brando", "Novak"};
constexpr std::array kCategories = {"Drama", "DRAMA", "Comedy", "Action", "Drama Comedy", "Horror", "Sci-Fi",
                                    "Western", "Musical", "Documentary", "Family", "Thriller", "drama"};
constexpr std::array kRatings = {"G", "PG", "PG-13", "R", "NR"};
constexpr std::array kFormats = {"VHS", "Beta", "Laser Disc", "8mm", "DVD"};
constexpr std::array kPlaces = {"Video Barn", "Mall Store", "Mail Order", "Gift", "Flea Market"};
constexpr std::array kBorrowers = {"Anna", "Ben", "Carla", "Dan", "Eve", "Frank", "Gina"};

template <class Array>
const char* pick(std::mt19937& r, const Array& a)
{
    return a[r() % a.size()];
}

std::string person(std::mt19937& r)
{
    return std::string(pick(r, kFirst)) + " " + pick(r, kLast);
}

template <class Array>
std::string words(std::mt19937& r, int count, const Array& from)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += (i ? " " : "") + std::string(pick(r, from));
    return s;
}

std::string words(std::mt19937& r, int count)
{
    return words(r, count, kWords);
}

} // namespace

void generateCollection(const std::string& path, uint32_t records, uint32_t seed, GeneratedText text)
{
    db::createCollectionTable(path, text == GeneratedText::Windows1252 ? db::TextEncoding::Windows1252
                                                                        : db::TextEncoding::Utf8);
    db::Table t;
    t.setFilePath(path);
    t.open(db::Table::OpenMode::Exclusive);
    std::mt19937 r(seed);
    auto f = [&](const char* name) { return t.requireField(name); };
    const int title = f("Title"), star1 = f("Star1"), producer = f("Producer"), director = f("Director"),
              year = f("Year"), runTime = f("RunTime"), rating = f("Rating"), category = f("Category"),
              format = f("Format"), media = f("MediaNum"), description = f("Descriptio"), keyWords = f("KeyWords"),
              listPrice = f("ListPrice"), checkOut = f("CheckOut"), checkName = f("CheckName"),
              checkDate = f("CheckDate"), purchDate = f("PurchDate"),
              wherePurch = f("WherePurch"), viewed = f("Viewed"), writers = f("Writers");
    for (uint32_t i = 0; i < records; ++i) {
        t.insert();
        // Every tenth title in another script where the collection holds it; the
        // same draws either way, so that the other fields are the same records.
        const int titleWords = 2 + static_cast<int>(r() % 3);
        if (text == GeneratedText::UnicodeScripts && i % 10 == 7)
            t.setText(title, words(r, titleWords, kScriptWords));
        else
            t.setText(title, words(r, titleWords));
        for (int s = 0; s < 6; ++s)
            if (s < 3 || r() % 2)
                t.setText(star1 + s, person(r));
        t.setText(producer, person(r));
        t.setText(director, person(r));
        if (r() % 20)
            t.setNumber(year, 1930 + static_cast<int>(r() % 95));
        t.setNumber(runTime, 60 + static_cast<int>(r() % 140));
        t.setText(rating, pick(r, kRatings));
        t.setText(category, pick(r, kCategories));
        t.setText(format, pick(r, kFormats));
        t.setText(media, "T" + std::to_string(i + 1));
        t.setText(description, words(r, 12));
        t.setText(keyWords, words(r, 3));
        t.setNumber(listPrice, static_cast<double>(r() % 5000) / 100.0);
        const bool lent = r() % 10 == 0;
        t.setText(checkOut, lent ? "Yes" : "No");
        if (lent) { // who has it and since when, drawn from the record's number so that the rest stays as it was
            t.setText(checkName, kBorrowers[i % kBorrowers.size()]);
            t.setDate(checkDate, db::dayNumberFromCivil(db::today()) - static_cast<double>(i % 40));
        }
        t.setDate(purchDate, db::dayNumberFromCivil({1980 + static_cast<int>(r() % 40), 1 + static_cast<int>(r() % 12),
                                                     1 + static_cast<int>(r() % 28)}));
        t.setText(wherePurch, pick(r, kPlaces));
        t.setText(viewed, r() % 2 ? "Yes" : "No");
        t.setText(writers, person(r));
        t.post();
    }
    t.close();
}

} // namespace bench
