#include "OldCollections.h"

#include "CollectionFile.h"
#include "DbError.h"
#include "EditText.h"
#include "FileIO.h"
#include "Table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <optional>
#include <sstream>
#include <tuple>
#include <string_view>

namespace db {

namespace {

constexpr std::array<const char*, 28> kVersion2Fields = {
    "Title", "Star1", "Star2", "Star3", "Star4", "Producer", "Director", "ReleasedBy", "Year", "RunTime",
    "Rating", "Category", "Picture", "Sound", "Format", "PersonalRa", "MediaNum", "RecSpeed", "CounterSta",
    "CounterSto", "Descriptio", "Content", "Miscellane", "KeyWords", "LaserForma", "ListPrice", "OscarNom",
    "OscarAward"};
constexpr std::array<const char*, 25> kVersion1Fields = {
    "Title", "Star1", "Star2", "Star3", "Star4", "Producer", "Director", "ReleasedBy", "Year", "RunTime",
    "Rating", "Category", "Picture", "Sound", "Format", "PersonalRa", "TapeNum", "RecSpeed", "CounterSta",
    "CounterSto", "Descriptio", "Content", "CloseCapt", "NoiseRed", "SurroundSo"};
constexpr size_t kExamples = 5;
constexpr uint32_t kConversionBatch = 10000; // records appended under one hold of the lock

std::vector<std::string_view> expectedFields(OldVersion version)
{
    if (version == OldVersion::V2)
        return {kVersion2Fields.begin(), kVersion2Fields.end()};
    return {kVersion1Fields.begin(), kVersion1Fields.end()};
}

std::string upper(std::string_view text)
{
    std::string out(text.substr(0, 10));
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

// The collection field an old field goes to: the same name, but the tape
// number of 1.X is the media number, and the three 1.X flags make up the
// miscellaneous text (see below), so they go nowhere by themselves.
std::string collectionFieldOf(std::string_view oldName)
{
    const std::string name = upper(oldName);
    if (name == "TAPENUM")
        return "MediaNum";
    if (name == "CLOSECAPT" || name == "NOISERED" || name == "SURROUNDSO")
        return {};
    return std::string(oldName);
}

bool says(const std::string& text, const char* word) { return upper(trimBoth(text)) == word; }

// The 1.X flags as the miscellaneous text: the phrases of those set, joined by ", ".
std::string miscellaneousOf(const Table& old)
{
    std::string text;
    const std::array<std::pair<const char*, const char*>, 3> flags = {
        {{"CloseCapt", "Closed Captioned, "}, {"NoiseRed", "Noise Reduction, "}, {"SurroundSo", "Surround Sound, "}}};
    for (const auto& [field, phrase] : flags)
        if (says(old.text(old.requireField(field)), "YES"))
            text += phrase;
    if (!text.empty())
        text.resize(text.size() - 2);
    return text;
}

// Version 1.X wrote its texts with "/" and month, day, year: the conversion reads them so.
class OldDateFormat {
public:
    explicit OldDateFormat(bool apply)
        : m_previous(editTextFormat())
        , m_applied(apply)
    {
        if (apply) {
            EditTextFormat old = m_previous;
            old.dateSeparator = '/';
            old.shortDatePattern = "m/d/yy";
            setEditTextFormat(old);
        }
    }
    ~OldDateFormat()
    {
        if (m_applied)
            setEditTextFormat(m_previous);
    }

private:
    EditTextFormat m_previous;
    bool m_applied;
};

} // namespace

const char* oldCollectionFileName(OldVersion version) { return version == OldVersion::V2 ? "V2LOG.DBF" : "VLOG.DBF"; }

bool isOldCollection(const std::string& path, OldVersion version)
{
    try {
        if (!fileExists(path))
            return false;
        if (!fileExists(indexPathOfTableFile(path)))
            removeIndexFlag(path);
        Table check;
        check.setFilePath(path);
        check.open(Table::OpenMode::ReadOnly);
        const std::vector<std::string_view> expected = expectedFields(version);
        if (check.fieldCount() != static_cast<int>(expected.size()) + 1)
            return false;
        for (size_t i = 0; i < expected.size(); ++i)
            if (upper(check.field(static_cast<int>(i) + 1).name) != upper(expected[i]))
                return false;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

namespace {

// Where a conversion stands, kept beside the old file: which old file (its
// size and change time), which collection, and for the batch under way the
// old records copied before it and the collection's record count when it
// began. Written and synced before the batch appends anything, so that a
// conversion that stopped (a crash, a kill, a full disk) goes on where it
// stopped and never copies a record twice.
struct ConversionMark {
    uint64_t size = 0;
    int64_t changed = 0;
    std::string collection;
    uint64_t copiedBefore = 0;
    uint64_t collectionCount = 0;
};

std::string markPath(const std::string& oldPath) { return oldPath + ".rk-convert"; }

// The old file as it is now: a mark of another file of that name is not used.
void identify(const std::string& path, ConversionMark& mark)
{
    File file;
    file.open(path, File::Mode::ReadOnly);
    std::tie(mark.size, mark.changed) = file.sizeAndModified();
}

std::optional<ConversionMark> readMark(const std::string& oldPath)
{
    std::string text;
    try {
        File file;
        if (!file.openIfExists(markPath(oldPath), File::Mode::ReadOnly))
            return std::nullopt;
        text.resize(static_cast<size_t>(std::min<uint64_t>(file.size(), 8192)));
        text.resize(file.readSomeAt(0, text.data(), text.size()));
    } catch (const DbError&) {
        return std::nullopt;
    }
    ConversionMark mark;
    std::istringstream in(text);
    std::string magic;
    if (!(in >> magic >> mark.size >> mark.changed >> mark.copiedBefore >> mark.collectionCount) || magic != "RKCONVERT1")
        return std::nullopt;
    in.ignore(1);
    std::getline(in, mark.collection);
    return mark;
}

void writeMark(const std::string& oldPath, const ConversionMark& mark)
{
    std::ostringstream out;
    out << "RKCONVERT1 " << mark.size << ' ' << mark.changed << ' ' << mark.copiedBefore << ' ' << mark.collectionCount
        << '\n' << mark.collection << '\n';
    const std::string text = out.str();
    writeReplacing(markPath(oldPath), [&](File& file) { file.writeAt(0, text.data(), text.size()); }, ".rk-new");
}

// Copies old records into the collection: the record being made holds the
// old record's values when fill returns.
class OldRecordCopier {
public:
    OldRecordCopier(Table& collection, Table& old, OldVersion version, ConversionResult& result)
        : m_collection(collection)
        , m_old(old)
        , m_result(result)
        , m_dateFormat(version == OldVersion::V1)
    {
        for (int f = 1; f < old.fieldCount(); ++f) {
            const std::string target = collectionFieldOf(old.field(f).name);
            const int to = target.empty() ? -1 : collection.fieldIndex(target);
            if (to >= 0)
                m_pairs.emplace_back(f, to);
        }
        m_miscellaneous = version == OldVersion::V1 ? collection.requireField("Miscellane") : -1;
    }

    // Fills the collection's new record from the old table's current record.
    // counting: values that cannot be stored are counted (not when comparing).
    void fill(bool counting)
    {
        for (const auto& [from, to] : m_pairs) {
            const std::string value = m_old.text(from);
            try {
                if (!m_collection.setText(to, value) && counting) {
                    if (m_result.shortenedExamples.size() < kExamples)
                        m_result.shortenedExamples.push_back(m_old.field(from).name + " \"" + value + "\"");
                    ++m_result.shortened;
                }
            } catch (const DbError&) {
                // Not a value this field can hold: it stays empty, and the user hears of it.
                m_collection.clearField(to);
                if (!counting)
                    continue;
                if (m_result.examples.size() < kExamples)
                    m_result.examples.push_back(m_old.field(from).name + " \"" + value + "\"");
                ++m_result.unstored;
            }
        }
        if (m_miscellaneous >= 0)
            m_collection.setText(m_miscellaneous, miscellaneousOf(m_old));
    }

    // Whether the collection's record bytes are what the old record converts to.
    bool sameAs(const char* stored)
    {
        m_collection.insert();
        fill(false);
        const Record made = m_collection.current();
        const bool same = std::memcmp(made.bytes() + 1, stored + 1, m_collection.recordLength() - 1) == 0 && stored[0] == ' ';
        m_collection.cancel();
        return same;
    }

private:
    Table& m_collection;
    Table& m_old;
    ConversionResult& m_result;
    const OldDateFormat m_dateFormat;
    std::vector<std::pair<int, int>> m_pairs;
    int m_miscellaneous = -1;
};

// How many old records, from the mark's, a stopped batch had already put in
// the collection: its records lie from the mark's count on, in order, and
// there are at most a batch of them.
uint64_t recordsAlreadyIn(Table& collection, Table& old, OldRecordCopier& copier, const ConversionMark& mark)
{
    const uint32_t count = collection.physicalRecordCount();
    if (mark.collectionCount >= count)
        return 0;
    const auto last = static_cast<uint32_t>(std::min<uint64_t>(count, mark.collectionCount + kConversionBatch));
    std::vector<char> stored;
    collection.scanRecords(static_cast<uint32_t>(mark.collectionCount) + 1, last,
                           [&](const char* records, uint32_t, uint32_t n) {
                               stored.insert(stored.end(), records, records + static_cast<size_t>(n) * collection.recordLength());
                           });
    old.first();
    for (uint64_t skip = 0; skip < mark.copiedBefore && !old.eof(); ++skip)
        old.next();
    uint64_t found = 0;
    for (size_t at = 0; at < stored.size() && !old.isEmpty() && !old.eof(); at += collection.recordLength(), old.next()) {
        if (!copier.sameAs(stored.data() + at))
            break;
        ++found;
    }
    return found;
}

} // namespace

ConversionResult convertOldCollection(Table& collection, const std::string& path, OldVersion version)
{
    ConversionResult result;
    const bool batch = !collection.inBatch();
    try {
        Table old;
        old.setFilePath(path);
        old.open(Table::OpenMode::ReadOnly);
        old.selectIndex("");
        OldRecordCopier copier(collection, old, version, result);
        const Table::ControlsDisabled quiet(collection);
        ConversionMark mark;
        mark.collection = resolvedPath(collection.filePath());
        identify(path, mark);
        // A conversion of this old file into this collection that stopped: go on where it stopped.
        uint64_t done = 0;
        if (const auto stopped = readMark(path);
            stopped && stopped->size == mark.size && stopped->changed == mark.changed
            && stopped->collection == mark.collection) {
            collection.refresh();
            done = stopped->copiedBefore + recordsAlreadyIn(collection, old, copier, *stopped);
            result.resumed = done;
        }
        old.first();
        for (uint64_t skip = 0; skip < done && !old.eof(); ++skip)
            old.next();
        auto beginBatch = [&] {
            collection.beginBatch();
            // Under the batch's lock the records go right after the count there is now.
            mark.copiedBefore = done + result.copied;
            mark.collectionCount = collection.physicalRecordCount();
            writeMark(path, mark);
        };
        if (batch)
            beginBatch();
        uint32_t inBatch = 0;
        for (; !old.isEmpty() && !old.eof(); old.next()) {
            collection.insert();
            copier.fill(true);
            collection.post();
            if (!batch)
                ++result.copied;
            if (batch && ++inBatch == kConversionBatch) {
                collection.endBatch(&result.copied);
                beginBatch();
                inBatch = 0;
            }
        }
        if (batch)
            collection.endBatch(&result.copied); // writes and syncs what the batch holds
    } catch (const std::exception& e) {
        result.error = e.what();
        if (collection.state() == Table::State::Insert)
            collection.cancel();
        try {
            if (batch && collection.inBatch())
                collection.endBatch(&result.copied);
        } catch (const std::exception&) {
            // The first failure is the one reported; what this end wrote is counted all the same.
        }
    }
    return result;
}

void removeConvertedFile(const std::string& path)
{
    // The old file first: a mark left without its file is never used again.
    removeFile(path);
    removeFile(indexPathOfTableFile(path));
    removeFile(markPath(path));
}

std::string conversionReport(const ConversionResult& result, const std::string& oldFile)
{
    std::string report;
    if (!result.error.empty())
        report = result.error + "\n\nThe conversion stopped there: " + std::to_string(result.resumed + result.copied)
                 + (result.resumed + result.copied == 1 ? " record is" : " records are") + " in the collection, and \""
                 + oldFile + "\" was kept; the next conversion goes on from there.";
    if (result.error.empty() && result.resumed > 0)
        report = "An earlier conversion of \"" + oldFile + "\" had stopped after " + std::to_string(result.resumed)
                 + (result.resumed == 1 ? " record" : " records") + "; this one copied the other "
                 + std::to_string(result.copied) + ", so that every record is in the collection once.";
    if (result.unstored > 0) {
        if (!report.empty())
            report += "\n\n";
        report += std::to_string(result.unstored)
                  + (result.unstored == 1 ? " value could not be stored and was left empty:"
                                          : " values could not be stored and were left empty:");
        for (const std::string& example : result.examples)
            report += "\n" + example;
    }
    if (result.shortened > 0) {
        if (!report.empty())
            report += "\n\n";
        report += std::to_string(result.shortened)
                  + (result.shortened == 1 ? " text was longer than its field in the collection and was shortened:"
                                           : " texts were longer than their fields in the collection and were shortened:");
        for (const std::string& example : result.shortenedExamples)
            report += "\n" + example;
    }
    return report;
}

} // namespace db
