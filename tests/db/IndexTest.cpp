#include "DbError.h"
#include "KeyExpression.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>
#include <sys/stat.h>

using namespace db;
using testing_support::readFileBytes;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

const std::vector<FieldDef> kFields = {
    {"TITLE", 'C', 30, 0}, {"YEAR", 'N', 11, 0}, {"PRICE", 'F', 20, 4}, {"BOUGHT", 'D', 8, 0}};

class IndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("FILMS.DBF");
        Table::createTable(path, kFields);
        table.setFilePath(path);
        table.open();
    }

    void add(const std::string& title, int year)
    {
        table.insert();
        table.setText(0, title);
        table.setNumber(1, year);
        table.post();
    }

    std::vector<std::string> visit()
    {
        std::vector<std::string> out;
        for (table.first(); !table.isEmpty() && !table.eof(); table.next())
            out.push_back(table.text(0) + "/" + table.text(1));
        return out;
    }

    int64_t indexModified()
    {
        struct stat st {};
        ::stat(table.indexPath().c_str(), &st);
        return st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    }

    TempDir dir;
    std::string path;
    Table table;
};

} // namespace

TEST(KeyExpressionTest, BuildsFixedWidthKeys)
{
    const std::vector<FieldDef> fields = makeDbfHeader(kFields).fields; // with their offsets
    const KeyExpression e("Upper(Left(Title,5))+STR(Year,12,0)+DTOS(bought)", fields);
    EXPECT_EQ(e.keyLength(), 5 + 12 + 8);
    std::string record(1 + 30 + 11 + 20 + 8, ' ');
    record.replace(1, 9, "casa blan");
    record.replace(31, 11, "       1942");
    record.replace(62, 8, "19421126");
    std::string key(25, '?');
    e.evaluate(record.data(), key.data());
    EXPECT_EQ(key, "CASA         194219421126");
    EXPECT_EQ(KeyExpression("STR(PRICE,12,2)", kFields).keyLength(), 12);
    EXPECT_EQ(KeyExpression("title", kFields).keyLength(), 30);
    EXPECT_EQ(KeyExpression("SUBSTR(TITLE,3,4)", kFields).keyLength(), 4);
    EXPECT_EQ(KeyExpression("Upper(Left(Title,80))", kFields).keyLength(), 30); // no wider than the field
}

TEST(KeyExpressionTest, RefusesWhatItCannotIndex)
{
    for (const char* bad : {"", "Upper(", "Upper(Nope)", "STR(Title,12,0)", "DTOS(Year)", "Left(Year,3)",
                            "Title+", "Trim(Title)", "Title Year", "STR(Year,40,0)"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(KeyExpression(bad, kFields), DbError);
    }
}

TEST(KeyExpressionTest, EmptyNumbersAndDatesKeyAsZeroAndBlanks)
{
    const KeyExpression e("STR(Year,6,0)+DTOS(Bought)", makeDbfHeader(kFields).fields);
    std::string record(1 + 30 + 11 + 20 + 8, ' ');
    std::string key(14, '?');
    e.evaluate(record.data(), key.data());
    EXPECT_EQ(key, "     0        ");
}

// STR's key of every kind of stored number is the number printed right-aligned
// with the decimals asked for, whether it is copied as it stands (the usual
// canonical form) or read and written again (any other form).
TEST(KeyExpressionTest, StrKeysAreTheNumberPrintedWithItsDecimals)
{
    const std::vector<FieldDef> fields = makeDbfHeader(kFields).fields;
    const KeyExpression two("STR(Price,12,2)", fields), none("STR(Year,6,0)", fields);
    for (const char* stored : {"12.50", "0.71", "7", "007", "0", "0.00", "-3.25", "12.5", "12.505", "1234567.89",
                               "123456789012.5", " 42 ", "", "x1", "24.6400", "0.5000", "1995.0000", "12.5050",
                               "12.", "999999999.9900", "9999999999.000", "0.0001", "7.10"}) {
        SCOPED_TRACE(stored);
        std::string record(1 + 30 + 11 + 20 + 8, ' ');
        const std::string text(stored);
        record.replace(1 + 30 + 11 + 20 - text.size(), text.size(), text); // right-aligned in PRICE
        record.replace(1 + 30 + 11 - std::min<size_t>(text.size(), 11), std::min<size_t>(text.size(), 11),
                       text.substr(0, 11)); // and in YEAR
        const double price = std::strtod(stored, nullptr);
        char expected[64];
        std::string key(12, '?');
        two.evaluate(record.data(), key.data());
        std::snprintf(expected, sizeof expected, "%12.2f", price);
        EXPECT_EQ(key, std::strlen(expected) > 12 ? std::string(12, '*') : std::string(expected));
        const double year = std::strtod(text.substr(0, 11).c_str(), nullptr);
        std::snprintf(expected, sizeof expected, "%6.0f", year);
        key.assign(6, '?');
        none.evaluate(record.data(), key.data());
        EXPECT_EQ(key, std::strlen(expected) > 6 ? std::string(6, '*') : std::string(expected));
    }
}

TEST_F(IndexTest, VisitsInKeyOrderWithTiesInRecordOrder)
{
    add("beta", 1990);
    add("Alpha", 2001);
    add("BETA", 1980);
    add("alpha", 2001);
    add("Gamma", 1970);
    table.addIndex("NewIndex", "Upper(Left(Title,40))+STR(Year,12,0)");
    table.selectIndex("NewIndex");
    EXPECT_EQ(visit(), (std::vector<std::string>{"Alpha/2001", "alpha/2001", "BETA/1980", "beta/1990", "Gamma/1970"}));
    table.last();
    EXPECT_EQ(table.text(0), "Gamma");
    table.prior();
    EXPECT_EQ(table.text(0), "beta");
}

TEST_F(IndexTest, PostsKeepTheIndexInOrderAndTheRecordCurrent)
{
    table.addIndex("NewIndex", "Upper(Left(Title,40))");
    table.selectIndex("NewIndex");
    add("M", 1);
    add("C", 2);
    EXPECT_EQ(table.text(0), "C"); // the posted record is current at its place
    table.first();
    table.edit();
    table.setText(0, "Z");
    table.post();
    EXPECT_EQ(table.text(0), "Z");
    EXPECT_TRUE(table.bof() == false);
    EXPECT_EQ(visit(), (std::vector<std::string>{"M/1", "Z/2"}));
    table.first();
    table.deleteRecord();
    EXPECT_EQ(visit(), (std::vector<std::string>{"Z/2"}));
    EXPECT_EQ(table.recordCount(), 1u);
}

TEST_F(IndexTest, RandomChangesMatchAModelOrder)
{
    table.addIndex("NewIndex", "Upper(Left(Title,8))+STR(Year,6,0)");
    table.selectIndex("NewIndex");
    std::mt19937 random(7);
    std::multiset<std::pair<std::string, uint32_t>> model; // key, record
    std::map<uint32_t, std::string> byRecord;
    auto keyOf = [](const std::string& title, int year) {
        std::string t = title.substr(0, 8);
        std::transform(t.begin(), t.end(), t.begin(), ::toupper);
        t.resize(8, ' ');
        char y[8];
        std::snprintf(y, sizeof y, "%6d", year);
        return t + y;
    };
    for (int step = 0; step < 3000; ++step) {
        const int action = static_cast<int>(random() % 10);
        const std::string title = std::string(1, static_cast<char>('a' + random() % 6)) + std::to_string(random() % 50);
        const int year = 1950 + static_cast<int>(random() % 60);
        if (action < 6 || byRecord.empty()) {
            add(title, year);
            model.insert({keyOf(title, year), table.recNo()});
            byRecord[table.recNo()] = keyOf(title, year);
        } else {
            auto it = byRecord.begin();
            std::advance(it, static_cast<long>(random() % byRecord.size()));
            Table::Bookmark mark;
            mark.record = it->first;
            ASSERT_TRUE(table.gotoBookmark(mark));
            model.erase(model.find({it->second, it->first}));
            if (action < 8) {
                table.edit();
                table.setText(0, title);
                table.setNumber(1, year);
                table.post();
                model.insert({keyOf(title, year), it->first});
                it->second = keyOf(title, year);
            } else {
                table.deleteRecord();
                byRecord.erase(it);
            }
        }
    }
    std::vector<uint32_t> expected, actual;
    for (const auto& [key, rec] : model)
        expected.push_back(rec);
    for (table.first(); !table.eof(); table.next())
        actual.push_back(table.recNo());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(table.recordCount(), model.size());

    // Backwards too, and the same after reopening the table.
    std::vector<uint32_t> backwards;
    for (table.last(); !table.bof(); table.prior())
        backwards.push_back(table.recNo());
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(backwards, expected);
    table.close();
    table.open();
    actual.clear();
    for (table.first(); !table.eof(); table.next())
        actual.push_back(table.recNo());
    EXPECT_EQ(actual, expected);
}

TEST_F(IndexTest, ReopeningUsesTheIndexOnDiskWithoutRebuilding)
{
    table.addIndex("NewIndex", "Upper(Left(Title,40))");
    add("B", 1);
    add("A", 2);
    table.close();
    const int64_t before = indexModified();
    table.selectIndex("NewIndex");
    table.open();
    EXPECT_EQ(table.text(0), "A");
    EXPECT_EQ(indexModified(), before);
}

TEST_F(IndexTest, IndexChangedBehindItsBackIsRebuilt)
{
    table.addIndex("NewIndex", "Upper(Left(Title,40))");
    add("B", 1);
    add("A", 2);
    table.close();
    // Another program swaps the two titles in the table file without touching the index.
    std::string bytes = readFileBytes(path);
    const size_t first = 32 + 4 * 32 + 1, length = 1 + 30 + 11 + 20 + 8;
    bytes[first + 1] = 'Z';
    writeFileBytes(path, bytes);
    table.selectIndex("NewIndex");
    table.open();
    EXPECT_EQ(visit(), (std::vector<std::string>{"A/2", "Z/1"}));
    (void)length;
}

TEST_F(IndexTest, DamagedIndexPagesAreRebuilt)
{
    table.addIndex("NewIndex", "Upper(Left(Title,40))");
    for (int i = 0; i < 200; ++i)
        add("N" + std::to_string(999 - i), i);
    table.close();
    std::string index = readFileBytes(table.indexPath());
    for (size_t at = 4096 + 100; at < index.size(); at += 4096)
        index[at] ^= 0x55; // every tree page loses its checksum
    writeFileBytes(table.indexPath(), index);
    table.selectIndex("NewIndex");
    table.open();
    EXPECT_EQ(table.text(0), "N800");
    EXPECT_EQ(table.recordCount(), 200u);
    table.last();
    EXPECT_EQ(table.text(0), "N999");
}

// Passes that read the file in stored order take the index's order as a
// list of record numbers: the same records a walk visits, in its order, from
// every leaf; a damaged page is rebuilt first, as for a walk.
TEST_F(IndexTest, TheRecordsInOrderAreTheOnesAWalkVisits)
{
    EXPECT_FALSE(table.recordsInOrder().has_value()); // stored order: nothing to list
    table.addIndex("NewIndex", "Upper(Left(Title,40))");
    std::mt19937 random(5);
    for (int i = 0; i < 1500; ++i) // several leaves, titles in random order
        add("T" + std::to_string(random() % 100000), i);
    table.selectIndex("NewIndex");
    const auto walked = [&] {
        std::vector<uint32_t> records;
        for (table.first(); !table.isEmpty() && !table.eof(); table.next())
            records.push_back(table.recNo());
        return records;
    };
    const std::vector<uint32_t> expected = walked();
    ASSERT_EQ(expected.size(), 1500u);
    EXPECT_EQ(table.recordsInOrder(), expected);
    table.selectIndex("");
    table.close();
    std::string index = readFileBytes(table.indexPath());
    for (size_t at = 4096 + 100; at < index.size(); at += 4096)
        index[at] ^= 0x55;
    writeFileBytes(table.indexPath(), index);
    table.selectIndex("NewIndex");
    table.open();
    EXPECT_EQ(table.recordsInOrder(), expected);
    EXPECT_EQ(table.checkIndex(), "");
}

TEST_F(IndexTest, DamagedHeaderKeepsItsTagsWhenTheyAreReadable)
{
    table.addIndex("NewIndex", "Upper(Left(Title,40))");
    add("B", 1);
    add("A", 2);
    table.close();
    std::string index = readFileBytes(table.indexPath());
    index[20] ^= 0x01; // breaks the header checksum only
    writeFileBytes(table.indexPath(), index);
    table.selectIndex("NewIndex");
    table.open();
    EXPECT_EQ(visit(), (std::vector<std::string>{"A/2", "B/1"}));
}

TEST_F(IndexTest, ForeignOrTruncatedIndexFilesAreNotTrusted)
{
    add("B", 1);
    table.close();
    writeFileBytes(table.indexPath(), std::string(3000, 'x'));
    table.open();
    EXPECT_TRUE(table.indexTags().empty());
    EXPECT_THROW(table.selectIndex("NewIndex"), DbError);
    table.addIndex("NewIndex", "Title");
    table.selectIndex("NewIndex");
    EXPECT_EQ(table.text(0), "B");
    table.close();
    std::string index = readFileBytes(table.indexPath());
    writeFileBytes(table.indexPath(), index.substr(0, 5000));
    table.selectIndex("");
    table.open();
    EXPECT_EQ(table.recordCount(), 1u);
}

TEST_F(IndexTest, SelectingNoIndexVisitsPhysicalOrder)
{
    add("B", 1);
    add("A", 2);
    table.addIndex("NewIndex", "Title");
    table.selectIndex("NewIndex");
    EXPECT_EQ(visit().front(), "A/2");
    table.selectIndex("");
    EXPECT_EQ(visit().front(), "B/1");
    table.deleteIndex("NewIndex");
    EXPECT_TRUE(table.indexTags().empty());
    table.deleteIndex("NewIndex"); // deleting a missing tag changes nothing
}

TEST_F(IndexTest, KeySearchExactAndNearest)
{
    table.addIndex("NewIndex", "Upper(Left(Title,10))");
    table.selectIndex("NewIndex");
    for (const char* t : {"Apple", "Banana", "Cherry", "Banana split"})
        add(t, 1);
    EXPECT_TRUE(table.findKey("banana"));
    EXPECT_EQ(table.text(0), "Banana");
    EXPECT_FALSE(table.findKey("Ban"));
    EXPECT_EQ(table.text(0), "Banana"); // a failed search leaves the record
    EXPECT_TRUE(table.findNearest("Bz"));
    EXPECT_EQ(table.text(0), "Cherry");
    EXPECT_FALSE(table.findNearest("Zz"));
}

TEST_F(IndexTest, IndexFollowsTheFilter)
{
    table.addIndex("NewIndex", "Upper(Left(Title,10))");
    table.selectIndex("NewIndex");
    for (const char* t : {"d", "c", "b", "a"})
        add(t, t[0] == 'b' || t[0] == 'd' ? 1 : 0);
    table.setFilter([](const Record& r) { return r.number(1) == 1; });
    table.setFiltered(true);
    EXPECT_EQ(visit(), (std::vector<std::string>{"b/1", "d/1"}));
    EXPECT_EQ(table.recordCount(), 2u);
}

TEST_F(IndexTest, ExclusiveUseDefersPageWritesUntilClose)
{
    table.close();
    table.open(Table::OpenMode::Exclusive);
    table.addIndex("NewIndex", "Upper(Left(Title,10))");
    table.selectIndex("NewIndex");
    for (int i = 0; i < 500; ++i)
        add("N" + std::to_string(i % 37), i);
    table.close();
    table.open();
    EXPECT_EQ(table.recordCount(), 500u);
    EXPECT_EQ(table.text(0), "N0");
}

TEST_F(IndexTest, PackKeepsTheIndexRight)
{
    table.addIndex("NewIndex", "Upper(Left(Title,10))");
    table.selectIndex("NewIndex");
    for (int i = 0; i < 50; ++i)
        add("R" + std::to_string(100 + i), i);
    for (table.first(); !table.eof();) {
        if (static_cast<int>(table.number(1)) % 2 == 0)
            table.deleteRecord();
        else
            table.next();
    }
    table.close();
    table.open(Table::OpenMode::Exclusive);
    table.pack();
    EXPECT_EQ(table.physicalRecordCount(), 25u);
    EXPECT_EQ(table.recordCount(), 25u);
    EXPECT_EQ(table.text(0), "R101");
    table.last();
    EXPECT_EQ(table.text(0), "R149");
}

TEST(IndexChecksum, IsCrc32c)
{
    EXPECT_EQ(crc32("123456789", 9), 0xE3069283u);
    EXPECT_EQ(crc32("", 0), 0u);
}

TEST_F(IndexTest, BatchesWriteEverythingWhenTheyEnd)
{
    table.addIndex("NewIndex", "Upper(Left(Title,10))");
    table.selectIndex("NewIndex");
    Table reader;
    reader.setFilePath(path);
    reader.selectIndex("NewIndex");
    reader.open();
    table.beginBatch();
    for (int i = 0; i < 3000; ++i)
        add("B" + std::to_string(3000 - i), i); // more than one write-ahead of records
    table.first();
    table.edit();
    table.setText(0, "A first");
    table.post();
    table.endBatch();
    reader.refresh();
    EXPECT_EQ(reader.recordCount(), 3000u);
    reader.first();
    EXPECT_EQ(reader.text(0), "A first");
    reader.last();
    EXPECT_EQ(reader.text(0), "B999");
    reader.close();
    table.close();
    table.open(Table::OpenMode::Exclusive);
    table.regenerateIndexes();
    EXPECT_EQ(table.recordCount(), 3000u);
}

TEST_F(IndexTest, ALargeBuildOrdersByTheWholeKeyWhereLongBeginningsAreAlike)
{
    // Enough records for the build to sort on two cores. Five titles that
    // differ in many places fill the key's first bytes, so that the years
    // (and then the record numbers) decide only far into the key; the blanks
    // before each year are the same in every key.
    const std::vector<std::string> titles = {"Abcdefghij Klmnopqrst Uvwxyz", "Abcdefghij Klmnopqrst Uvwxya",
                                             "Bbcdefghij Klmnopqrst Uvwxyz", "abcdefghijXklmnopqrstXuvwxyz",
                                             "Zyxwvutsrq Ponmlkjihg Fedcba"};
    std::mt19937 random(3);
    struct Expected {
        std::string key;
        uint32_t record;
        bool operator<(const Expected& other) const { return std::tie(key, record) < std::tie(other.key, other.record); }
    };
    std::vector<Expected> expected;
    table.beginBatch();
    for (uint32_t n = 1; n <= 110000; ++n) {
        const std::string& title = titles[random() % titles.size()];
        const int year = 1990 + static_cast<int>(random() % 12);
        add(title, year);
        std::string key = title;
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        key.resize(30, ' ');
        expected.push_back({key + std::to_string(year), n});
    }
    table.endBatch();
    table.addIndex("NewIndex", "Upper(Left(TITLE,30))+STR(YEAR,11,0)");
    table.selectIndex("NewIndex");
    std::sort(expected.begin(), expected.end());
    size_t at = 0;
    for (table.first(); !table.eof(); table.next(), ++at)
        ASSERT_EQ(table.recNo(), expected[at].record) << "at position " << at;
    EXPECT_EQ(at, expected.size());
    EXPECT_EQ(table.checkIndex(), "");
}

TEST_F(IndexTest, EntriesABatchHoldsBackAreInTheirPlaceWheneverTheIndexIsRead)
{
    // Under exclusive use the entries of appended records wait and go into
    // the tree sorted: every read of the index, in the batch or after it,
    // finds them where they belong.
    table.close();
    table.open(Table::OpenMode::Exclusive);
    table.addIndex("NewIndex", "Upper(Left(Title,10))");
    table.selectIndex("NewIndex");
    std::mt19937 random(11);
    std::multiset<std::string> titles;
    table.beginBatch();
    for (int i = 0; i < 4000; ++i) {
        const std::string title = "T" + std::to_string(random() % 100000);
        add(title, 1990);
        titles.insert(title);
    }
    EXPECT_EQ(table.recordCount(), 4000u);
    table.first();
    EXPECT_EQ(table.text(0), *titles.begin());
    // A record appended in the batch and deleted in it leaves no entry behind.
    table.deleteRecord();
    titles.erase(titles.begin());
    for (int i = 0; i < 500; ++i) {
        const std::string title = "U" + std::to_string(random() % 100000);
        add(title, 1991);
        titles.insert(title);
    }
    table.last();
    EXPECT_EQ(table.text(0), *titles.rbegin());
    table.endBatch();
    table.close();
    table.open(Table::OpenMode::Exclusive);
    table.selectIndex("NewIndex");
    EXPECT_EQ(table.checkIndex(), "");
    std::vector<std::string> walked;
    for (table.first(); !table.eof(); table.next())
        walked.push_back(table.text(0));
    EXPECT_EQ(walked, std::vector<std::string>(titles.begin(), titles.end()));
}
