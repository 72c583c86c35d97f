// Timed commands over the table engine, for the figures in bench/README.md.
// Each prints what it did, how long it took and the process's peak memory.
#include "CollectionGenerator.h"
#include "Timing.h"
#include "KeyExpression.h"
#include "RecordTexts.h"
#include "Duplicates.h"
#include "Locate.h"
#include "QuickFilter.h"
#include "Replace.h"
#include "OldCollections.h"
#include "Schema.h"
#include "Table.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <iostream>
#include <random>
#include <vector>

namespace {

using bench::Clock;
using bench::msSince;
using bench::peakMegabytes;

void report(const std::string& what, double ms, double records)
{
    std::cout << what << ": " << ms << " ms";
    if (records > 0)
        std::cout << ", " << static_cast<long>(records / (ms / 1000.0)) << " records/s";
    std::cout << ", peak " << peakMegabytes() << " MB\n";
}

constexpr const char* kSortExpression = "Upper(Left(Title,40))+STR(Year,12,0)";

// Opens the benchmark's table, in the order of its NewIndex tag when sorted.
void openTable(db::Table& t, const std::string& path, db::Table::OpenMode mode, bool sorted = false)
{
    t.setFilePath(path);
    if (sorted)
        t.selectIndex("NewIndex");
    t.open(mode);
}

// A full scan through the cursor in physical order, every field of every
// record read as its edit text by the whole-record reader (as dumps and
// exports read).
int scan(const std::string& path)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly);
    db::RecordTexts texts(t.fields());
    size_t records = 0, bytes = 0;
    for (t.first(); !t.isEmpty() && !t.eof(); t.next()) {
        for (const std::string_view text : texts.read(t.current().bytes()))
            bytes += text.size();
        ++records;
    }
    report("scan of " + std::to_string(records) + " records, 40 fields as text (" + std::to_string(bytes) + " bytes)",
           msSince(start), static_cast<double>(records));
    return 0;
}

// The same asking the record for one field at a time (as the grid reads).
int scanFields(const std::string& path)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly);
    std::vector<std::string> texts(static_cast<size_t>(t.fieldCount()));
    size_t records = 0, bytes = 0;
    for (t.first(); !t.isEmpty() && !t.eof(); t.next()) {
        const db::Record r = t.current();
        for (int i = 0; i < t.fieldCount(); ++i) {
            bytes += r.textView(i, texts[static_cast<size_t>(i)]).size();
        }
        ++records;
    }
    report("field by field scan of " + std::to_string(records) + " records, 40 fields as text ("
               + std::to_string(bytes) + " bytes)",
           msSince(start), static_cast<double>(records));
    return 0;
}

// The same through the engine's block scan on every core, as the program's
// whole-table passes read (counts through a search, exports).
int scanBlocks(const std::string& path)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly);
    const auto& fields = t.fields();
    const size_t length = t.recordLength();
    struct Worker {
        db::RecordTexts texts;
        size_t records = 0, bytes = 0;
    };
    std::vector<Worker> workers(t.scanWorkers(), Worker{db::RecordTexts(fields)});
    t.scanRecordsInParallel([&](unsigned w, const char* block, uint32_t, uint32_t n) {
        Worker& worker = workers[w];
        for (uint32_t k = 0; k < n; ++k) {
            const char* record = block + static_cast<size_t>(k) * length;
            if (record[0] == '*')
                continue;
            for (const std::string_view text : worker.texts.read(record))
                worker.bytes += text.size();
            ++worker.records;
        }
    });
    size_t records = 0, bytes = 0;
    for (const Worker& w : workers) {
        records += w.records;
        bytes += w.bytes;
    }
    report("block scan on " + std::to_string(workers.size()) + " threads of " + std::to_string(records)
               + " records, 40 fields as text (" + std::to_string(bytes) + " bytes)",
           msSince(start), static_cast<double>(records));
    return 0;
}

int filter(const std::string& path)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly);
    const int category = t.requireField("Category");
    t.setFilter([category](const db::Record& r) {
        std::string_view raw = r.raw(category);
        char upper[64];
        const size_t n = std::min(raw.size(), sizeof upper);
        for (size_t i = 0; i < n; ++i)
            upper[i] = raw[i] >= 'a' && raw[i] <= 'z' ? static_cast<char>(raw[i] - 32) : raw[i];
        return std::string_view(upper, n).find("DRAMA") != std::string_view::npos;
    });
    t.setFiltered(true);
    const uint32_t count = t.recordCount();
    report("filtered count (Category contains DRAMA): " + std::to_string(count) + " of "
               + std::to_string(t.physicalRecordCount()),
           msSince(start), t.physicalRecordCount());
    return 0;
}

int build(const std::string& path)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::Exclusive);
    t.addIndex("NewIndex", kSortExpression);
    const uint32_t n = t.physicalRecordCount();
    t.close();
    report(std::string("build NewIndex on ") + kSortExpression, msSince(start), n);
    return 0;
}

int open50(const std::string& path)
{
    std::vector<double> times;
    std::string first;
    for (int round = 0; round < 5; ++round) {
        const auto start = Clock::now();
        db::Table t;
        openTable(t, path, db::Table::OpenMode::Shared, true);
        for (int i = 0; i < 50 && !t.eof(); ++i) {
            first = t.text(0);
            t.next();
        }
        t.close();
        times.push_back(msSince(start));
    }
    std::sort(times.begin(), times.end());
    report("open with index and read the first 50 in key order (median of 5)", times[2], 0);
    return 0;
}

int post(const std::string& path, int count)
{
    db::Table t;
    openTable(t, path, db::Table::OpenMode::Shared, true);
    std::mt19937 random(42);
    const uint32_t n = t.physicalRecordCount();
    const int title = t.requireField("Title");
    double total = 0;
    for (int i = 0; i < count; ++i) {
        db::Table::Bookmark mark;
        mark.record = 1 + random() % n;
        if (!t.gotoBookmark(mark))
            continue;
        const auto start = Clock::now();
        t.edit();
        t.setText(title, "Changed " + std::to_string(random() % 100000));
        t.post();
        total += msSince(start);
    }
    report("one post that moves a record in the index (mean of " + std::to_string(count) + ")", total / count, 0);
    return 0;
}

int append(const std::string& path, int count, bool exclusive, int batch)
{
    db::Table t;
    openTable(t, path, exclusive ? db::Table::OpenMode::Exclusive : db::Table::OpenMode::Shared, true);
    const int title = t.requireField("Title"), year = t.requireField("Year");
    std::mt19937 random(7);
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        if (batch > 0 && i % batch == 0)
            t.beginBatch();
        t.insert();
        t.setText(title, "Appended " + std::to_string(random()));
        t.setNumber(year, 1950 + random() % 70);
        t.post();
        if (batch > 0 && (i + 1) % batch == 0)
            t.endBatch();
    }
    t.endBatch();
    t.close();
    report(std::string("append with the index kept (") + (exclusive ? "exclusive" : "shared")
               + (batch > 0 ? ", batches of " + std::to_string(batch) : std::string(", one post at a time")) + ")",
           msSince(start), count);
    return 0;
}

int locate(const std::string& path, const std::string& value)
{
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly, true);
    const auto start = Clock::now();
    const bool found = find::LocateValue(true, t, 0, false, find::mtPartialMatchAny, value);
    report("locate Title anywhere \"" + value + "\" (" + (found ? "found" : "to the end, not found") + ")",
           msSince(start), t.physicalRecordCount());
    return 0;
}

// The quick filter over the whole collection, as the viewer counts its matches after a keystroke.
int quickFilter(const std::string& path, const std::string& typed)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly);
    t.selectIndex("");
    const find::QuickFilter filter(typed, t);
    t.setFilter([&filter](const db::Record& r) { return filter.matches(r); }, true);
    t.setFiltered(true);
    const uint32_t matches = t.recordCount();
    report("quick filter \"" + typed + "\": " + std::to_string(matches) + " matches", msSince(start),
           t.physicalRecordCount());
    return 0;
}

// The duplicate finder's pass over the collection (Tools > Find Duplicates, reelkeeper-cli duplicates).
int duplicates(const std::string& path)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly);
    t.selectIndex("");
    const std::vector<find::DuplicateGroup> groups = find::findDuplicates(t, {});
    report("find duplicate titles: " + std::to_string(groups.size()) + " groups", msSince(start), t.physicalRecordCount());
    return 0;
}

int replace(const std::string& path, const std::string& field, const std::string& search, const std::string& by)
{
    const auto start = Clock::now();
    db::Table t;
    openTable(t, path, db::Table::OpenMode::Exclusive);
    // As the Search and Replace window runs it: the sort index put aside and rebuilt only when its key
    // is made from the field.
    std::string expression;
    const bool rebuilt = find::replaceRebuildsSortIndex(t, t.requireField(field) + 1);
    if (rebuilt) {
        for (const db::TagDefinition& tag : t.indexTags())
            if (tag.name == "NewIndex")
                expression = tag.expression;
        t.deleteIndex("NewIndex");
    }
    t.selectIndex("");
    const auto check = find::checkReplace(t.requireField(field) + 1, search, by);
    const find::ReplaceOutcome outcome = find::runReplace(t, *check.spec, nullptr, nullptr);
    if (!expression.empty())
        t.addIndex("NewIndex", expression);
    t.close();
    report("replace " + field + " " + search + " by " + by + ": " + std::to_string(outcome.counters.changed)
               + (rebuilt ? " changed, index rebuilt" : " changed, index kept"),
           msSince(start), static_cast<double>(outcome.counters.processed));
    return 0;
}

int keys(const std::string& path, const std::string& out)
{
    db::Table t;
    openTable(t, path, db::Table::OpenMode::ReadOnly);
    const db::KeyExpression e(kSortExpression, t.fields());
    std::ofstream file(out, std::ios::binary);
    std::string key(static_cast<size_t>(e.keyLength()), ' ');
    for (t.first(); !t.isEmpty() && !t.eof(); t.next()) {
        e.evaluate(t.current().bytes(), key.data());
        file << key << '\n';
    }
    return 0;
}

// A 2.X collection file of n records beside the collection (its fields filled
// from the collection's first records), converted into the collection.
int convert(const std::string& path, uint32_t n)
{
    const std::string old = (std::filesystem::path(path).parent_path() / "V2LOG.DBF").string();
    std::vector<db::FieldDef> fields = {{"RecNum", 'N', 8, 0}};
    for (const char* name : {"Title", "Star1", "Star2", "Star3", "Star4", "Producer", "Director", "ReleasedBy", "Year",
                             "RunTime", "Rating", "Category", "Picture", "Sound", "Format", "PersonalRa", "MediaNum",
                             "RecSpeed", "CounterSta", "CounterSto", "Descriptio", "Content", "Miscellane", "KeyWords",
                             "LaserForma", "ListPrice", "OscarNom", "OscarAward"})
        fields.push_back(db::collectionFieldDefs().at(static_cast<size_t>(db::schemaPosition(name) - 1)));
    fields[0].offset = 0;
    db::Table::createTable(old, fields);
    {
        db::Table from, to;
        openTable(from, path, db::Table::OpenMode::ReadOnly, false);
        to.setFilePath(old);
        to.open(db::Table::OpenMode::Exclusive);
        to.beginBatch();
        from.first();
        for (uint32_t i = 0; i < n; ++i, from.next()) {
            if (from.eof())
                from.first();
            to.insert();
            for (int f = 1; f < to.fieldCount(); ++f)
                to.setText(f, from.text(from.requireField(to.field(f).name)));
            to.post();
        }
        to.endBatch();
    }
    db::Table t;
    openTable(t, path, db::Table::OpenMode::Shared, true);
    const auto start = Clock::now();
    const db::ConversionResult result = db::convertOldCollection(t, old, db::OldVersion::V2);
    if (!result.error.empty())
        throw std::runtime_error(result.error);
    report("conversion of a 2.X file of " + std::to_string(n) + " records, the index kept", msSince(start),
           static_cast<double>(n));
    std::filesystem::remove(old);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> a(argv + 1, argv + argc);
    try {
        if ((a.size() == 3 || a.size() == 4) && a[0] == "generate") {
            bench::GeneratedText text = bench::GeneratedText::Unicode;
            if (a.size() == 4 && a[3] == "--scripts")
                text = bench::GeneratedText::UnicodeScripts;
            else if (a.size() == 4 && a[3] == "--windows-1252")
                text = bench::GeneratedText::Windows1252;
            else if (a.size() == 4)
                throw std::runtime_error("generate takes --scripts or --windows-1252, not " + a[3]);
            const auto start = Clock::now();
            bench::generateCollection(a[1], static_cast<uint32_t>(std::stoul(a[2])), 1995, text);
            report("generate " + a[2] + " records", msSince(start), std::stod(a[2]));
            return 0;
        }
        if (a.size() == 2 && a[0] == "scan")
            return scan(a[1]);
        if (a.size() == 2 && a[0] == "fields")
            return scanFields(a[1]);
        if (a.size() == 2 && a[0] == "blocks")
            return scanBlocks(a[1]);
        if (a.size() == 2 && a[0] == "filter")
            return filter(a[1]);
        if (a.size() == 2 && a[0] == "build")
            return build(a[1]);
        if (a.size() == 2 && a[0] == "open50")
            return open50(a[1]);
        if (a.size() == 3 && a[0] == "post")
            return post(a[1], std::stoi(a[2]));
        if (a.size() >= 3 && a[0] == "append") {
            bool exclusive = false;
            int batch = 0;
            for (size_t i = 3; i < a.size(); ++i) {
                if (a[i] == "--exclusive")
                    exclusive = true;
                else if (a[i].rfind("--batch=", 0) == 0)
                    batch = std::stoi(a[i].substr(8));
            }
            return append(a[1], std::stoi(a[2]), exclusive, batch);
        }
        if (a.size() == 3 && a[0] == "locate")
            return locate(a[1], a[2]);
        if (a.size() == 3 && a[0] == "quickfilter")
            return quickFilter(a[1], a[2]);
        if (a.size() == 2 && a[0] == "duplicates")
            return duplicates(a[1]);
        if (a.size() == 5 && a[0] == "replace")
            return replace(a[1], a[2], a[3], a[4]);
        if (a.size() == 3 && a[0] == "keys")
            return keys(a[1], a[2]);
        if (a.size() == 3 && a[0] == "convert")
            return convert(a[1], static_cast<uint32_t>(std::stoul(a[2])));
    } catch (const std::exception& e) {
        std::cerr << "db_ops: " << e.what() << "\n";
        return 1;
    }
    std::cerr << "usage: db_ops generate FILE N [--scripts|--windows-1252] | scan FILE | fields FILE | filter FILE | build FILE | open50 FILE | "
                 "post FILE N | append FILE N [--exclusive] [--batch=N] | keys FILE OUT | locate FILE VALUE |\n"
                 "       replace FILE FIELD SEARCH REPLACEMENT | convert FILE N | duplicates FILE | quickfilter FILE TEXT\n";
    return 2;
}
