// The quick filter over a real collection, against a scan that folds every
// field and looks for every word the plain way.
#include "Cp1252.h"
#include "TextEncoding.h"
#include "QuickFilter.h"
#include "Table.h"
#include "NewCollection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>


// Both kinds of collection; the words folded in Unicode (accents off, any script).
TEST(QuickFilterTest, MatchesWhatAPlainScanFinds)
{
    for (const db::TextEncoding encoding : {db::TextEncoding::Windows1252, db::TextEncoding::Utf8}) {
        SCOPED_TRACE(db::codePageName(encoding));
        testing_support::NewCollection collection("FILMS.DBF", encoding);
        db::Table& table = collection.table;
        std::mt19937 random(3);
        std::vector<std::string> words = {"Night", "Am\xC3\xA9lie", "CITY", "river", "\xC3\x89t\xC3\xA9", "Storm", "M12", "noir"};
        if (encoding == db::TextEncoding::Utf8)
            for (const char* more : {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xCE\x86\xCE\xBB\xCF\x86\xCE\xB1", "\xE5\x8D\x83\xE3\x81\xA8",
                                     "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"})
                words.push_back(more);
        const char* fields[] = {"Title", "Star1", "Star6", "Director", "Producer", "Category", "KeyWords", "MediaNum",
                                "Writers"}; // Writers is not searched
        for (int i = 0; i < 400; ++i) {
            table.insert();
            for (const char* field : fields)
                if (random() % 3 == 0)
                    table.setText(table.requireField(field), words[random() % words.size()] + " " + words[random() % words.size()]);
            table.post();
        }
        const auto plainScan = [&](const db::Record& record, const std::vector<std::string>& typed) {
            for (const std::string& word : typed) {
                const std::string folded = db::foldedUtf8(word);
                bool found = false;
                for (const char* field : fields)
                    if (std::string(field) != "Writers")
                        found = found || db::foldedUtf8(record.text(table.requireField(field))).find(folded) != std::string::npos;
                if (!found)
                    return false;
            }
            return true;
        };
        for (const std::vector<std::string>& typed : std::vector<std::vector<std::string>>{
                 {"night"}, {"AMELIE"}, {"ete", "city"}, {"m12"}, {"noir", "storm", "river"}, {"nothing"}, {"i"},
                 {"lodz"}, {"\xC5\x82\xC3\xB3" "d\xC5\xBA"}, {"\xCE\xB1\xCE\xBB\xCF\x86\xCE\xB1"}, {"\xE5\x8D\x83"},
                 {"\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "night"}}) {
            std::string text;
            for (const std::string& w : typed)
                text += w + " ";
            const find::QuickFilter filter(text, table);
            int matched = 0, expected = 0;
            for (table.first(); !table.eof(); table.next()) {
                const db::Record record = table.current();
                matched += filter.matches(record);
                expected += plainScan(record, typed);
                EXPECT_EQ(filter.matches(record), plainScan(record, typed)) << text << " record " << table.recNo();
            }
            EXPECT_EQ(matched, expected) << text;
            if (encoding == db::TextEncoding::Utf8 && typed.size() == 1 && (typed[0] == "lodz" || typed[0] == "AMELIE")) {
                EXPECT_GT(matched, 0) << text;
            }
        }
        EXPECT_TRUE(find::QuickFilter("  \t\x01 ", table).empty());
        EXPECT_EQ(find::QuickFilter(std::string(10000, 'a') + " b", table).words().size(), 2u);
    }
}

// The worker's pass and the table that takes its result: the same records as
// the filter on the table itself, through the index and in physical order; a
// record added or changed since is seen as it is; a cancelled pass gives nothing.
TEST(QuickFilterTest, AWorkersMatchesShowTheRecordsAsTheyAre)
{
    testing_support::NewCollection collection;
    db::Table& table = collection.table;
    const int star = table.requireField("Star1");
    for (int i = 0; i < 3000; ++i) {
        table.insert();
        table.setText(0, (i % 3 ? "Storm " : "Calm ") + std::to_string(i));
        table.setText(star, i % 5 ? "Grace Kelly" : "Cary Grant");
        table.post();
    }
    table.first();
    table.deleteRecord(); // record 1, a Calm one: deleted records never pass
    const find::QuickFilter filter("calm", table);
    const auto accepts = [&filter](const db::Record& r) { return filter.matches(r); };

    std::atomic<bool> cancelled{true};
    EXPECT_FALSE(find::findFilterMatches(collection.path, accepts, cancelled).has_value());
    cancelled = false;
    const std::optional<find::FilterMatches> found = find::findFilterMatches(collection.path, accepts, cancelled);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->count, 999u);
    EXPECT_EQ((*found->passed)[1], 0) << "deleted";
    EXPECT_EQ((*found->passed)[4], 1);

    const auto listed = [&table] {
        std::vector<std::string> titles;
        for (table.first(); !table.eof(); table.next())
            titles.push_back(table.text(0));
        return titles;
    };
    table.setFilter(accepts, true);
    table.setFiltered(true);
    for (const std::string order : {"", "NewIndex"}) {
        if (!order.empty())
            table.addIndex("NewIndex", "UPPER(TITLE)");
        table.selectIndex(order);
        table.refresh();
        const std::vector<std::string> byTheTable = listed();
        table.refreshWithCandidates(found->passed, found->count);
        EXPECT_EQ(table.recordCount(), 999u);
        EXPECT_EQ(listed(), byTheTable) << order;
    }

    // Another copy renames a Calm film and adds one: the renamed one no longer
    // shows, the added one (past the worker's list) does.
    db::Table other;
    other.setFilePath(collection.path);
    other.open();
    other.selectIndex("");
    other.first(); // record 2: Storm 1
    other.next();  // record 3: Storm 2
    other.next();  // record 4: Calm 3
    ASSERT_EQ(other.text(0), "Calm 3");
    other.edit();
    other.setText(0, "Storm 3");
    other.post();
    other.insert();
    other.setText(0, "Calm Waters");
    other.post();
    other.close();
    table.refreshWithCandidates(found->passed, found->count);
    const std::vector<std::string> titles = listed();
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Storm 3"), 0);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "Calm Waters"), 1);
    table.refresh(); // the filter worked out anew: no list of records holds
    EXPECT_EQ(table.recordCount(), 999u);
}
