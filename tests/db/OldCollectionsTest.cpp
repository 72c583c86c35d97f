// The collections of the program's earlier versions, written here by the
// engine with the field lists those versions had.
#include "CollectionFile.h"
#include "EditText.h"
#include "FaultInjection.h"
#include "OldCollections.h"
#include "Schema.h"
#include "StopWalk.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace db;
using testing_support::TempDir;

namespace {

// The old versions' fields after the first, which no version looked at.
std::vector<FieldDef> oldFields(OldVersion version)
{
    std::vector<FieldDef> fields = {{"RECNUM", 'N', 6, 0}};
    const std::vector<const char*> common = {"Title", "Star1", "Star2", "Star3", "Star4", "Producer", "Director",
                                             "ReleasedBy"};
    for (const char* name : common)
        fields.push_back({name, 'C', name == std::string("Title") ? 40 : 25, 0});
    fields.push_back({"Year", 'N', 4, 0});
    fields.push_back({"RunTime", 'N', 3, 0});
    for (const char* name : {"Rating", "Category", "Picture", "Sound", "Format", "PersonalRa"})
        fields.push_back({name, 'C', 12, 0});
    fields.push_back({version == OldVersion::V2 ? "MediaNum" : "TapeNum", 'C', 8, 0});
    for (const char* name : {"RecSpeed", "CounterSta", "CounterSto"})
        fields.push_back({name, 'C', 6, 0});
    fields.push_back({"Descriptio", 'C', 100, 0});
    fields.push_back({"Content", 'C', 20, 0});
    if (version == OldVersion::V2) {
        fields.push_back({"Miscellane", 'C', 60, 0});
        fields.push_back({"KeyWords", 'C', 60, 0});
        fields.push_back({"LaserForma", 'C', 10, 0});
        fields.push_back({"ListPrice", 'N', 8, 2});
        fields.push_back({"OscarNom", 'C', 3, 0});
        fields.push_back({"OscarAward", 'C', 3, 0});
    } else {
        for (const char* name : {"CloseCapt", "NoiseRed", "SurroundSo"})
            fields.push_back({name, 'C', 3, 0});
    }
    return fields;
}

class OldCollections : public testing::Test {
protected:
    void SetUp() override
    {
        collection.setFilePath(dir.file("MASTER.DBF"));
        createCollectionTable(dir.file("MASTER.DBF"));
        collection.open();
        collection.addIndex("NewIndex", "Upper(Left(Title,30))");
        collection.selectIndex("NewIndex");
    }

    // An old file with one record per row of field values (by old field name).
    std::string writeOld(OldVersion version, const std::vector<std::vector<std::pair<const char*, const char*>>>& rows)
    {
        const std::string path = dir.file(oldCollectionFileName(version));
        Table::createTable(path, oldFields(version));
        Table old;
        old.setFilePath(path);
        old.open();
        for (const auto& row : rows) {
            old.insert();
            for (const auto& [field, value] : row)
                old.setText(old.requireField(field), value);
            old.post();
        }
        return path;
    }

    std::string text(const char* field) const { return collection.text(collection.requireField(field)); }

    TempDir dir;
    Table collection;
};

} // namespace

TEST_F(OldCollections, EachVersionIsKnownByItsFields)
{
    const std::string v2 = writeOld(OldVersion::V2, {});
    const std::string v1 = writeOld(OldVersion::V1, {});
    EXPECT_TRUE(isOldCollection(v2, OldVersion::V2));
    EXPECT_FALSE(isOldCollection(v2, OldVersion::V1));
    EXPECT_TRUE(isOldCollection(v1, OldVersion::V1));
    EXPECT_FALSE(isOldCollection(dir.file("MASTER.DBF"), OldVersion::V2)); // today's collection
    EXPECT_FALSE(isOldCollection(dir.file("missing.DBF"), OldVersion::V1));
    testing_support::writeFileBytes(dir.file("JUNK.DBF"), "not a table at all");
    EXPECT_FALSE(isOldCollection(dir.file("JUNK.DBF"), OldVersion::V1));
    // One field renamed: another structure, left alone.
    std::vector<FieldDef> renamed = oldFields(OldVersion::V2);
    renamed[5].name = "Star9";
    Table::createTable(dir.file("OTHER.DBF"), renamed);
    EXPECT_FALSE(isOldCollection(dir.file("OTHER.DBF"), OldVersion::V2));
}

TEST_F(OldCollections, Version2RecordsComeOverFieldByField)
{
    const std::string path = writeOld(OldVersion::V2, {{{"Title", "Casablanca"}, {"Star1", "Humphrey Bogart"},
                                                        {"Year", "1942"}, {"RunTime", "102"}, {"MediaNum", "T-17"},
                                                        {"Miscellane", "Colorized"}, {"ListPrice", "19.95"},
                                                        {"OscarAward", "Yes"}},
                                                       {{"Title", "Brazil"}}});
    const ConversionResult result = convertOldCollection(collection, path, OldVersion::V2);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.copied, 2u);
    EXPECT_EQ(conversionReport(result, "V2LOG.DBF"), "");
    collection.refresh();
    EXPECT_EQ(collection.recordCount(), 2u);
    EXPECT_EQ(collection.checkIndex(), "");
    collection.first(); // in title order
    EXPECT_EQ(text("Title"), "Brazil");
    collection.next();
    EXPECT_EQ(text("Title"), "Casablanca");
    EXPECT_EQ(text("Star1"), "Humphrey Bogart");
    EXPECT_EQ(text("Year"), "1942");
    EXPECT_EQ(text("RunTime"), "102");
    EXPECT_EQ(text("MediaNum"), "T-17");
    EXPECT_EQ(text("Miscellane"), "Colorized");
    EXPECT_EQ(text("ListPrice"), "19.95");
    EXPECT_EQ(text("OscarAward"), "Yes");
    EXPECT_EQ(text("Star5"), "");
    EXPECT_TRUE(std::filesystem::exists(path)); // the caller deletes it
}

TEST_F(OldCollections, Version1FlagsBecomeTheMiscellaneousText)
{
    const std::string path = writeOld(OldVersion::V1, {{{"Title", "A"}, {"CloseCapt", "YES"}, {"NoiseRed", "NO"},
                                                        {"SurroundSo", "yes"}, {"TapeNum", "12"}},
                                                       {{"Title", "B"}},
                                                       {{"Title", "C"}, {"NoiseRed", "Yes"}}});
    const ConversionResult result = convertOldCollection(collection, path, OldVersion::V1);
    EXPECT_EQ(result.copied, 3u);
    collection.first();
    EXPECT_EQ(text("Miscellane"), "Closed Captioned, Surround Sound");
    EXPECT_EQ(text("MediaNum"), "12");
    collection.next();
    EXPECT_EQ(text("Miscellane"), "");
    collection.next();
    EXPECT_EQ(text("Miscellane"), "Noise Reduction");
    EXPECT_EQ(text("KeyWords"), "");
    EXPECT_EQ(editTextFormat().shortDatePattern, EditTextFormat{}.shortDatePattern); // put back
}

TEST_F(OldCollections, ValuesTheCollectionCannotHoldAreLeftEmptyAndReported)
{
    // The old year field was text in some copies: a year that is no number.
    std::vector<FieldDef> fields = oldFields(OldVersion::V2);
    fields[9] = {"Year", 'C', 10, 0};
    const std::string path = dir.file("V2LOG.DBF");
    Table::createTable(path, fields);
    {
        Table old;
        old.setFilePath(path);
        old.open();
        for (const char* year : {"1942", "about 1950", "1e300"}) { // the last one is a number too big for the field
            old.insert();
            old.setText(old.requireField("Title"), "Film");
            old.setText(old.requireField("Year"), year);
            old.post();
        }
    }
    ASSERT_TRUE(isOldCollection(path, OldVersion::V2));
    const ConversionResult result = convertOldCollection(collection, path, OldVersion::V2);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.copied, 3u);
    EXPECT_EQ(result.unstored, 2u);
    EXPECT_EQ(conversionReport(result, "V2LOG.DBF"),
              "2 values could not be stored and were left empty:\nYear \"about 1950\"\nYear \"1e300\"");
}

TEST_F(OldCollections, Windows1252TextComesIntoAUnicodeCollectionAsItWasAndCutsAreReported)
{
    ASSERT_EQ(collection.encoding(), TextEncoding::Utf8);
    const int width = collection.fields()[static_cast<size_t>(collection.requireField("Title"))].width;
    std::string accents; // a title filling the old field, each letter two bytes in Unicode
    for (int i = 0; i < 40; ++i)
        accents += "\xC3\xA9";
    const std::string path = writeOld(OldVersion::V2, {{{"Title", "Am\xC3\xA9lie \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D"}},
                                                       {{"Title", accents.c_str()}}});
    const ConversionResult result = convertOldCollection(collection, path, OldVersion::V2);
    EXPECT_EQ(result.copied, 2u);
    EXPECT_EQ(result.shortened, 80 > width ? 1u : 0u);
    collection.refresh();
    collection.first();
    EXPECT_EQ(text("Title"), "Am\xC3\xA9lie \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D");
    collection.next();
    EXPECT_EQ(text("Title"), accents.substr(0, std::min<size_t>(80, static_cast<size_t>(width / 2 * 2))));
    if (80 > width) {
        EXPECT_EQ(conversionReport(result, "V2LOG.DBF"),
                  "1 text was longer than its field in the collection and was shortened:\nTitle \"" + accents + "\"");
    }
}

TEST_F(OldCollections, AFailurePartWaySaysHowManyRecordsCameOver)
{
    std::vector<std::vector<std::pair<const char*, const char*>>> rows(40, {{"Title", "Film"}});
    const std::string path = writeOld(OldVersion::V2, rows);
    // The disk fills while the conversion's batch is written.
    faults::resetCount();
    faults::arm(3, faults::Action::Fail);
    const ConversionResult result = convertOldCollection(collection, path, OldVersion::V2);
    faults::disarm();
    EXPECT_NE(result.error, "");
    const std::string report = conversionReport(result, "V2LOG.DBF");
    EXPECT_NE(report.find("in the collection, and \"V2LOG.DBF\" was kept; the next conversion goes on from there."),
              std::string::npos)
        << report;
    collection.close();
    collection.open();
    EXPECT_LE(collection.recordCount(), 40u);
    EXPECT_EQ(collection.checkIndex(), "");
}

// A conversion that stopped at any write goes on, the next time, from the
// first record that is not in the collection: every record once, and every
// count it printed true.
TEST_F(OldCollections, AStoppedConversionGoesOnWhereItStoppedAndNeverCopiesARecordTwice)
{
    std::vector<std::vector<std::pair<const char*, const char*>>> rows;
    std::vector<std::string> titles;
    for (int i = 0; i < 40; ++i)
        titles.push_back("Film " + std::to_string(100 + i));
    for (const std::string& title : titles)
        rows.push_back({{"Title", title.c_str()}, {"Year", "1950"}});
    const std::string path = writeOld(OldVersion::V2, rows);
    faults::resetCount();
    convertOldCollection(collection, path, OldVersion::V2);
    const uint64_t changes = faults::changesSoFar();
    ASSERT_GT(changes, 3u);
    for (uint64_t n = 1; n <= changes; ++n) {
        SCOPED_TRACE("fault at change " + std::to_string(n));
        collection.selectIndex("");
        collection.close();
        removeFile(dir.file("MASTER.MDX"));
        createCollectionTable(dir.file("MASTER.DBF"));
        removeFile(path + ".rk-convert");
        collection.open();
        collection.addIndex("NewIndex", "Upper(Left(Title,30))");
        collection.selectIndex("NewIndex");
        // A record of the user's before the conversion: the comparison must not take it for a converted one.
        collection.insert();
        collection.setText(0, "Film 100");
        collection.setNumber(collection.requireField("Year"), 1950);
        collection.post();
        faults::resetCount();
        faults::arm(n, faults::Action::Fail);
        const ConversionResult first = convertOldCollection(collection, path, OldVersion::V2);
        faults::disarm();
        collection.close();
        collection.open();
        EXPECT_EQ(collection.recordCount(), 1 + first.copied) << "the count the conversion gave is what is there";
        const ConversionResult second = convertOldCollection(collection, path, OldVersion::V2);
        EXPECT_EQ(second.error, "");
        EXPECT_EQ(second.resumed, first.error.empty() ? 40u : first.copied);
        EXPECT_EQ(second.resumed + second.copied, 40u);
        if (second.resumed > 0) {
            EXPECT_EQ(conversionReport(second, "V2LOG.DBF"),
                      "An earlier conversion of \"V2LOG.DBF\" had stopped after " + std::to_string(second.resumed)
                          + (second.resumed == 1 ? " record" : " records") + "; this one copied the other "
                          + std::to_string(second.copied) + ", so that every record is in the collection once.");
        }
        std::map<std::string, int> seen;
        collection.selectIndex("");
        for (collection.first(); !collection.eof(); collection.next())
            ++seen[collection.text(0)];
        collection.selectIndex("NewIndex");
        EXPECT_EQ(seen["Film 100"], 2); // the user's and the converted one
        for (size_t i = 1; i < titles.size(); ++i)
            EXPECT_EQ(seen[titles[i]], 1) << titles[i];
        EXPECT_EQ(collection.checkIndex(), "");
        if (first.error.empty())
            break; // the faults lie past the conversion's last write
    }
    removeConvertedFile(path);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".rk-convert"));
}

// Killed at every change, the conversion run again gives every record once.
TEST_F(OldCollections, AConversionKilledAtEveryChangeGivesEveryRecordOnceWhenRunAgain)
{
    std::vector<std::string> titles;
    for (int i = 0; i < 30; ++i)
        titles.push_back("Film " + std::to_string(200 + i));
    std::vector<std::vector<std::pair<const char*, const char*>>> rows;
    for (const std::string& title : titles)
        rows.push_back({{"Title", title.c_str()}});
    const std::string path = writeOld(OldVersion::V2, rows);
    const std::string master = dir.file("MASTER.DBF");
    collection.selectIndex("");
    collection.close();
    const std::string empty = testing_support::readFileBytes(master);
    auto convert = [&](const testing_support::Say& say) {
        Table table;
        table.setFilePath(master);
        table.open();
        const ConversionResult result = convertOldCollection(table, path, OldVersion::V2);
        say("N " + std::to_string(result.copied));
    };
    auto fresh = [&] {
        removeFile(dir.file("MASTER.MDX"));
        removeFile(path + ".rk-convert");
        testing_support::writeFileBytes(master, empty);
    };
    fresh();
    const testing_support::StoppedRun whole = testing_support::runStoppedAt(0, convert);
    ASSERT_EQ(whole.status, 0) << whole.said;
    EXPECT_EQ(testing_support::saidAfter(whole.said, "N"), "30");
    for (uint64_t at = 1; at <= whole.changes; ++at) {
        SCOPED_TRACE("killed at change " + std::to_string(at) + " of " + std::to_string(whole.changes));
        fresh();
        const testing_support::StoppedRun run = testing_support::runStoppedAt(at, convert);
        EXPECT_EQ(run.status, faults::kStoppedExitStatus) << run.said;
        Table table;
        table.setFilePath(master);
        table.open();
        const ConversionResult again = convertOldCollection(table, path, OldVersion::V2);
        EXPECT_EQ(again.error, "");
        std::map<std::string, int> seen;
        for (table.first(); !table.isEmpty() && !table.eof(); table.next())
            ++seen[table.text(0)];
        EXPECT_EQ(seen.size(), titles.size());
        for (const std::string& title : titles)
            EXPECT_EQ(seen[title], 1) << title;
        if (HasFailure())
            return;
    }
}
