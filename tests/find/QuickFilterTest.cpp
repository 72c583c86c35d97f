// The quick filter over a real collection, against a scan that folds every
// field and looks for every word the plain way.
#include "Cp1252.h"
#include "QuickFilter.h"
#include "Table.h"
#include "NewCollection.h"

#include <gtest/gtest.h>

#include <random>


TEST(QuickFilterTest, MatchesWhatAPlainScanFinds)
{
    testing_support::NewCollection collection;
    db::Table& table = collection.table;
    std::mt19937 random(3);
    const std::vector<std::string> words = {"Night", "Am\xE9lie", "CITY", "river", "\xC9t\xE9", "Storm", "M12", "noir"};
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
            const std::string folded = db::foldedCp1252(db::utf8ToCp1252(word));
            bool found = false;
            for (const char* field : fields)
                if (std::string(field) != "Writers")
                    found = found || db::foldedCp1252(record.text(table.requireField(field))).find(folded) != std::string::npos;
            if (!found)
                return false;
        }
        return true;
    };
    for (const std::vector<std::string>& typed : std::vector<std::vector<std::string>>{
             {"night"}, {"AMELIE"}, {"ete", "city"}, {"m12"}, {"noir", "storm", "river"}, {"nothing"}, {"i"}}) {
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
    }
    EXPECT_TRUE(find::QuickFilter("  \t\x01 ", table).empty());
    EXPECT_EQ(find::QuickFilter(std::string(10000, 'a') + " b", table).words().size(), 2u);
}
