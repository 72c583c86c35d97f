// Statistics over a real collection, checked against the same counts made
// another way: python3-dbfread reading the file on its own.
#include "RunCommand.h"
#include "Statistics.h"
#include "Table.h"
#include "NewCollection.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <fstream>
#include <sstream>


namespace {

class StatisticsTest : public ::testing::Test, protected testing_support::NewCollection {
protected:
};

std::map<std::string, uint64_t> asMap(const std::vector<stats::Tally>& tallies)
{
    std::map<std::string, uint64_t> out;
    for (const stats::Tally& t : tallies)
        out[t.value] = t.count;
    return out;
}

} // namespace

TEST_F(StatisticsTest, AnEmptyCollectionAndAnEmptySearchCountNothing)
{
    const stats::CollectionStatistics s = stats::collectStatistics(table);
    EXPECT_EQ(s.videos, 0u);
    EXPECT_TRUE(s.categories.empty());
    EXPECT_EQ(s.listPrice.average(), 0.0);
    EXPECT_NE(stats::statisticsJson(s).find("\"videos\": 0"), std::string::npos);
    table.insert();
    table.setText(0, "Heat");
    table.post();
    table.setFilter([](const db::Record&) { return false; }, true);
    table.setFiltered(true);
    EXPECT_EQ(stats::collectStatistics(table).videos, 0u) << "a search that finds nothing";
}

TEST_F(StatisticsTest, CountsEqualThoseOfAnotherReader)
{
    if (!testing_support::pythonHas("dbfread"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    std::mt19937 random(5);
    const char* categories[] = {"Drama", "DRAMA", "drama", "Western", "Comedy", ""};
    const char* stars[] = {"Cary Grant", "Grace Kelly", "James Stewart", "", "Kim Novak"};
    for (int i = 0; i < 600; ++i) {
        table.insert();
        table.setText(0, "Film " + std::to_string(i));
        table.setText(table.requireField("Category"), categories[random() % 6]);
        if (random() % 7)
            table.setNumber(table.requireField("Year"), 1930 + static_cast<int>(random() % 90));
        if (random() % 3)
            table.setNumber(table.requireField("ListPrice"), static_cast<double>(random() % 5000) / 100.0);
        table.setText(table.requireField("Viewed"), random() % 2 ? "Yes" : "No");
        table.setText(table.requireField("CheckOut"), random() % 5 ? "No" : "Yes");
        for (int k = 1; k <= 3; ++k)
            table.setText(table.requireField("Star" + std::to_string(k)), stars[random() % 5]);
        table.post();
    }
    const stats::CollectionStatistics s = stats::collectStatistics(table);
    table.close();
    // The other reader: categories by their upper case, decades, viewed, lent out, the list price's sum.
    const std::string script = R"(
import collections, sys, dbfread
cat, dec, star = collections.Counter(), collections.Counter(), collections.Counter()
viewed = lent = priced = 0
total = 0.0
for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):
    cat[(r['Category'] or '').upper()] += 1
    y = int(r['Year'] or 0)
    dec[('%ds' % (y // 10 * 10)) if y > 0 else ''] += 1
    viewed += (r['Viewed'] or '').startswith('Y')
    lent += (r['CheckOut'] or '').startswith('Y')
    if r['ListPrice'] is not None:
        priced += 1
        total += r['ListPrice']
    for k in (1, 2, 3):
        if r['Star%d' % k]:
            star[r['Star%d' % k]] += 1
for c, n in sorted(cat.items()): print('category', repr(c), n)
for d, n in sorted(dec.items()): print('decade', repr(d), n)
for name, n in sorted(star.items()): print('star', repr(name), n)
print('viewed', viewed, 'lent', lent, 'priced', priced, 'total', '%.2f' % total)
)";
    const std::string scriptPath = dir.file("count.py");
    {
        std::ofstream(scriptPath) << script;
    }
    const std::string other = testing_support::runCommand("/usr/bin/python3 '" + scriptPath + "' '" + path + "' 2>&1");
    std::ostringstream ours;
    std::map<std::string, uint64_t> upper;
    for (const stats::Tally& t : s.categories) {
        std::string key = t.value;
        for (char& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        upper[key] += t.count;
    }
    for (const auto& [c, n] : upper)
        ours << "category '" << c << "' " << n << "\n";
    for (const auto& [d, n] : asMap(s.decades))
        ours << "decade '" << d << "' " << n << "\n";
    for (const auto& [name, n] : asMap(s.stars))
        ours << "star '" << name << "' " << n << "\n";
    char line[160];
    std::snprintf(line, sizeof line, "viewed %llu lent %llu priced %llu total %.2f\n",
                  static_cast<unsigned long long>(s.viewed), static_cast<unsigned long long>(s.lentOut),
                  static_cast<unsigned long long>(s.listPrice.priced), s.listPrice.sum);
    ours << line;
    EXPECT_EQ(ours.str(), other);
    EXPECT_EQ(s.videos, 600u);
    EXPECT_EQ(upper.count("DRAMA"), 1u) << "the spellings of one category are one";
}

TEST_F(StatisticsTest, ALargeCollectionCountedOnEveryCoreGivesTheCountsOfOneReader)
{
    // Enough records for the pass to be shared out among workers. The later
    // spellings of a category come first in a worker's share of the table;
    // the first record's spelling must still stand for all of them.
    const int category = table.requireField("Category"), year = table.requireField("Year"),
              price = table.requireField("ListPrice"), star = table.requireField("Star1");
    table.beginBatch();
    for (int i = 0; i < 120001; ++i) {
        table.insert();
        table.setText(0, "Film " + std::to_string(i));
        table.setText(category, i == 0 ? "Film Noir" : i % 2 ? "FILM NOIR" : "film noir");
        table.setNumber(year, 1920 + i % 97);
        table.setNumber(price, (i % 1000) / 100.0 + 0.01);
        table.setText(star, "Star " + std::to_string(i % 4099));
        table.post();
    }
    table.endBatch();
    const auto odd = [](const db::Record& r) { return r.text(0).back() % 2 == 1 || r.text(0) == "Film 0"; };
    table.setFilter(odd, true);
    table.setFiltered(true);
    const stats::CollectionStatistics shared = stats::collectStatistics(table, 5);
    table.setFilter(odd, false); // the same search on one core
    const stats::CollectionStatistics alone = stats::collectStatistics(table, 5);
    EXPECT_EQ(shared.videos, 60001u);
    EXPECT_EQ(stats::statisticsJson(shared), stats::statisticsJson(alone));
    ASSERT_EQ(shared.categories.size(), 1u);
    EXPECT_EQ(shared.categories[0].value, "Film Noir");
    EXPECT_EQ(shared.categories[0].count, 60001u);
    // Cents added as whole numbers: the sum is exact however the records were shared.
    int64_t cents = 1; // record 0's price, 0.01
    for (int i = 1; i < 120001; i += 2)
        cents += (i % 1000) + 1;
    EXPECT_EQ(std::llround(shared.listPrice.sum * 100), cents);
    EXPECT_EQ(shared.stars.size(), 5u);
}

TEST_F(StatisticsTest, PagesChartTheLargestValuesAndYearsInTheOrderOfTime)
{
    stats::CollectionStatistics s;
    s.videos = 100;
    for (int i = 0; i < 20; ++i)
        s.categories.push_back({"Category " + std::to_string(i), static_cast<uint64_t>(20 - i)});
    s.formats = {{"VHS", 40}, {"DVD", 20}, {"", 10}, {"Beta", 9}, {"8mm", 8}, {"Laser Disc", 7}, {"Blu-ray", 4}, {"Film", 2}};
    s.years = {{"1995", 50}, {"", 30}, {"1958", 15}, {"2001", 5}};
    const std::vector<stats::StatisticsPage> pages = stats::statisticsPages(s);
    ASSERT_EQ(pages.size(), 11u);
    std::vector<std::string> titles;
    for (const stats::StatisticsPage& p : pages)
        titles.push_back(p.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Viewed", "Category", "Decade", "Year", "Rating", "Personal Rating",
                                                "Format", "Picture", "Sound", "Stars", "Directors"}));

    const stats::StatisticsPage& category = pages[1];
    EXPECT_EQ(category.rows.size(), 20u) << "the table lists every value";
    EXPECT_EQ(category.charted.size(), 12u) << "the bars only the largest, and no bar of all the others";
    EXPECT_EQ(category.chartedOfMore, 20u);

    const stats::StatisticsPage& format = pages[6];
    EXPECT_EQ(format.chart, stats::ChartKind::Pie);
    ASSERT_EQ(format.charted.size(), 7u);
    EXPECT_EQ(format.charted[2].value, "(none)");
    EXPECT_EQ(format.charted.back().value, "Others");
    EXPECT_EQ(format.charted.back().count, 4u + 2u) << "a pie stays a whole: Blu-ray and Film";

    const stats::StatisticsPage& year = pages[3];
    std::vector<std::string> order;
    for (const stats::Tally& t : year.rows)
        order.push_back(t.value);
    EXPECT_EQ(order, (std::vector<std::string>{"1958", "1995", "2001", "(none)"}));
    EXPECT_EQ(year.charted.size(), 3u) << "no place on an axis of time for the films without a year";
    EXPECT_EQ(year.of, 100u);
}
