#include "Import.h"

#include "Cp1252.h"
#include "DbError.h"
#include "DelimitedText.h"
#include "EditText.h"
#include "FileIO.h"
#include "HeaderMatch.h"
#include "NumberText.h"
#include "PlainText.h"
#include "RecordReadAhead.h"
#include "Schema.h"
#include "Table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace exchange {

namespace {

constexpr size_t kChunk = size_t{1} << 20;

// ---- the text's encoding ----------------------------------------------------------

// Checks UTF-8 piece by piece; a sequence may run across pieces.
class Utf8Check {
public:
    void add(const unsigned char* p, size_t n)
    {
        for (size_t i = 0; i < n && m_valid; ++i) {
            // Plain ASCII, most of any file, eight bytes at a time.
            while (m_pending == 0 && i + 8 <= n) {
                uint64_t word;
                std::memcpy(&word, p + i, 8);
                if (word & 0x8080808080808080ULL)
                    break;
                i += 8;
            }
            if (i == n)
                break;
            const unsigned char c = p[i];
            if (m_pending > 0) {
                if ((c & 0xC0) != 0x80 || (m_lowest && c < m_lowest) || (m_highest && c > m_highest)) {
                    m_valid = false;
                    return;
                }
                m_lowest = m_highest = 0;
                --m_pending;
                continue;
            }
            if (c < 0x80)
                continue;
            m_nonAscii = true;
            // Lead bytes, with the bounds of the next byte that rule out
            // overlong forms, surrogates and code points past U+10FFFF.
            if (c >= 0xC2 && c <= 0xDF) {
                m_pending = 1;
            } else if (c >= 0xE0 && c <= 0xEF) {
                m_pending = 2;
                m_lowest = c == 0xE0 ? 0xA0 : 0;
                m_highest = c == 0xED ? 0x9F : 0;
            } else if (c >= 0xF0 && c <= 0xF4) {
                m_pending = 3;
                m_lowest = c == 0xF0 ? 0x90 : 0;
                m_highest = c == 0xF4 ? 0x8F : 0;
            } else {
                m_valid = false;
            }
        }
    }
    bool valid() const { return m_valid; }
    bool isUtf8() const { return m_valid && m_pending == 0 && m_nonAscii; }

private:
    int m_pending = 0;
    unsigned char m_lowest = 0, m_highest = 0;
    bool m_valid = true;
    bool m_nonAscii = false;
};

// A text file read from its start, a piece at a time.
DelimitedReader::Source sourceOf(const db::File& file)
{
    auto offset = std::make_shared<uint64_t>(0);
    return [&file, offset](char* into, size_t n) {
        const size_t got = file.readSomeAt(*offset, into, n);
        *offset += got;
        return got;
    };
}

std::string asUtf8(const std::string& text, bool utf8) { return utf8 ? text : db::cp1252ToUtf8(text); }

// ---- storing values ---------------------------------------------------------------

bool hasLetter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

std::string_view skipBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// A date written year first with four digits and a separator, as spreadsheets
// and GDAL write dates (1995-12-25, 1995/12/25, 1995.12.25); nullopt for any
// other text, and an invalid date (day 0) for 1995-13-45.
std::optional<db::CivilDate> yearFirstDate(std::string_view text)
{
    text = skipBlanks(text);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    auto number = [&text](size_t maxDigits) -> std::optional<int> {
        size_t n = 0;
        int value = 0;
        while (n < text.size() && n < maxDigits && text[n] >= '0' && text[n] <= '9')
            value = value * 10 + (text[n++] - '0');
        if (n == 0)
            return std::nullopt;
        text.remove_prefix(n);
        return value;
    };
    if (text.size() < 8 || !std::all_of(text.begin(), text.begin() + 4, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const auto year = number(4);
    const char separator = text.empty() ? 0 : text[0];
    if (separator != '-' && separator != '/' && separator != '.')
        return std::nullopt;
    text.remove_prefix(1);
    const auto month = number(2);
    if (!month || text.empty() || text[0] != separator)
        return std::nullopt;
    text.remove_prefix(1);
    const auto day = number(2);
    if (!day || !text.empty())
        return std::nullopt;
    db::CivilDate date{*year, *month, *day};
    return db::isValidCivilDate(date) ? date : db::CivilDate{};
}

struct DateStop {
    std::string value;
};

// What became of a value that was stored.
enum class Stored {
    AsGiven,
    Cut,        // text longer than its field: its start kept
    NotANumber, // a number field's value that is no number: left empty
    TooLarge,   // a number too large for its field: left empty
};

// Stores one value into a collection field by the field's type. A number
// field's value that is no number, or a number the field cannot hold, leaves
// the field empty, since any number stored for it would be a different one.
Stored storeValue(db::Table& table, int field, db::SchemaKind kind, std::string_view value)
{
    const db::EditTextFormat& format = db::editTextFormat();
    // An empty value leaves a number empty rather than making it 0, so that
    // an exported collection imports back the same.
    if (kind != db::SchemaKind::Character && skipBlanks(value).empty()) {
        table.clearField(field);
        return Stored::AsGiven;
    }
    switch (kind) {
    case db::SchemaKind::Character: return table.setText(field, value) ? Stored::AsGiven : Stored::Cut;
    case db::SchemaKind::WholeNumber:
    case db::SchemaKind::DecimalNumber: {
        const auto number = kind == db::SchemaKind::WholeNumber ? readWholeText(value, format.decimalSeparator)
                                                                : readNumberText(value, format.decimalSeparator);
        const db::FieldDef& def = table.field(field);
        const Stored outcome = !number                                                  ? Stored::NotANumber
                               : !db::numberFieldText(*number, def.width, def.decimals) ? Stored::TooLarge
                                                                                        : Stored::AsGiven;
        if (outcome != Stored::AsGiven) {
            table.clearField(field);
            return outcome;
        }
        table.setNumber(field, *number);
        return Stored::AsGiven;
    }
    case db::SchemaKind::Date: {
        // A year-first date that is no date (1995-13-45) goes on to the rules below, as any other value.
        if (const auto date = yearFirstDate(value); date && date->year != 0) {
            table.setDate(field, db::dayNumberFromCivil(*date));
            return Stored::AsGiven;
        }
        // Only a value with the date separator and no letter is taken for a date.
        if (value.find(format.dateSeparator) == std::string_view::npos || hasLetter(value)) {
            table.clearField(field);
            return Stored::AsGiven;
        }
        const auto date = db::parseShortDate(std::string(value));
        if (!date)
            throw DateStop{std::string(value)};
        table.setDate(field, db::dayNumberFromCivil(*date));
        return Stored::AsGiven;
    }
    }
    return Stored::AsGiven;
}

// Where each import field goes: the table's field and its kind, or none.
struct Target {
    int field = -1;
    db::SchemaKind kind = db::SchemaKind::Character;
    int position = 0; // 1..40
    size_t width = 0; // the table field's width
};

std::vector<Target> targetsOf(const db::Table& table, const ImportMap& map)
{
    std::vector<Target> targets;
    for (const int position : map) {
        Target target;
        if (position >= 1 && position <= db::kSchemaFieldCount) {
            const db::SchemaField& schema = db::schemaField(position);
            target.field = table.fieldIndex(std::string_view(schema.name).substr(0, 10));
            target.kind = schema.kind;
            target.position = position;
            target.width = target.field >= 0 ? static_cast<size_t>(table.field(target.field).width) : 0;
        }
        targets.push_back(target);
    }
    return targets;
}

// A source field's value as text. Numbers and dates are taken as stored, so
// that neither the decimal character nor the date format of this computer
// changes them: numbers with a point, dates year first; logical values are
// "Yes" or "No", as the collection's check boxes hold them.
std::string dbfValue(const db::Record& record, const db::FieldDef& field, int index)
{
    std::string value;
    switch (field.type) {
    case 'N':
    case 'F': value = std::string(db::trimBoth(record.raw(index))); break;
    case 'D': {
        if (const auto date = db::parseStoredDate(record.raw(index)))
            value = db::formatYearFirstDate(*date);
        break;
    }
    case 'L': {
        // The collection's check boxes hold "Yes" or "No".
        const std::string_view raw = db::trimBoth(record.raw(index));
        const char c = raw.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(raw[0])));
        value = c == 'T' || c == 'Y' ? "Yes" : c == 'F' || c == 'N' ? "No" : "";
        break;
    }
    default: value = record.text(index);
    }
    value.resize(db::utf8CharactersLength(value, kMaxValueLength));
    return value;
}

// Runs the import's record loop: batches of appends, progress, cancel, and
// every failure turned into the result's error, with the table left browsing.
class ImportRun {
public:
    ImportRun(db::Table& table, const ImportOptions& options)
        : m_table(table)
        , m_options(options)
        , m_batchSize(batchSizeFor(table, options))
    {
        m_table.disableControls();
        m_table.beginBatch();
    }
    ~ImportRun()
    {
        try {
            finish();
        } catch (...) {
        }
        m_table.enableControls();
    }

    // Adds one record, filled by fill; false when the import is to stop.
    template <class Fill>
    bool add(const Fill& fill)
    {
        m_table.insert();
        fill();
        m_table.post();
        if (++m_inBatch >= m_batchSize) {
            endBatch();
            m_table.beginBatch();
        }
        if (m_options.progress && !m_options.progress(result.imported + m_inBatch)) {
            result.cancelled = true;
            return false;
        }
        return true;
    }

    // A UTF-8 text as the collection can hold it: a Unicode collection holds
    // it as it is; in a Windows-1252 one, characters it lacks take their
    // nearest plain form, or "?", and the value is counted.
    std::string collectionText(std::string_view utf8)
    {
        if (m_table.encoding() == db::TextEncoding::Utf8 || db::isAscii(utf8))
            return std::string(utf8);
        PlainTextCounts counts;
        std::string text = toCollectionText(utf8, counts);
        if (counts.replaced > 0)
            ++result.changedValues;
        if (counts.plainForms > 0)
            ++result.plainFormValues;
        return db::cp1252ToUtf8(text);
    }

    // Stores a value (UTF-8, or Windows-1252 from a file in that code page)
    // into its field, without the blanks around it, counting a value that is
    // no number where the field keeps one, one too large for its field, and
    // one longer than its field (a Unicode collection's cut where a character
    // ends). Only text is converted: a number or a date is read as it came,
    // whatever blanks or currency signs it holds.
    void store(const Target& target, const std::string& given, bool utf8)
    {
        std::string converted;
        if (target.kind == db::SchemaKind::Character && !db::isAscii(given))
            converted = collectionText(utf8 ? std::string_view(given) : std::string_view(db::cp1252ToUtf8(given)));
        const std::string_view value = db::trimBoth(converted.empty() ? given : converted);
        const size_t position = static_cast<size_t>(target.position - 1);
        switch (storeValue(m_table, target.field, target.kind, value)) {
        case Stored::AsGiven: break;
        case Stored::Cut:
            ++result.cutToWidth;
            m_cut[position] = true;
            break;
        case Stored::NotANumber: ++result.notNumbers; break;
        case Stored::TooLarge:
            ++result.tooLarge;
            m_tooLarge[position] = true;
            break;
        }
    }

    void fail(const std::string& message)
    {
        if (m_table.state() == db::Table::State::Insert)
            m_table.cancel();
        result.error = message;
    }

    // Another catalogue's lists as the collection keeps them: the first genre
    // is the category, the others lead the key words (none twice); a list
    // longer than its field keeps the whole items that fit.
    void fitLists(CollectionValues& values, const std::vector<Target>& targets)
    {
        const size_t category = valueIndex("Category"), keyWords = valueIndex("KeyWords");
        std::vector<std::string> genres = listItems(values[category]);
        if (genres.size() > 1) {
            values[category] = genres.front();
            genres.erase(genres.begin());
            for (std::string& word : listItems(values[keyWords]))
                if (std::find(genres.begin(), genres.end(), word) == genres.end())
                    genres.push_back(std::move(word));
            values[keyWords] = joinedItems(genres);
        }
        for (const char* list : {"Director", "Producer", "ReleasedBy", "Writers", "KeyWords"}) {
            const size_t p = valueIndex(list);
            const Target& target = targets[p];
            if (target.field < 0)
                continue;
            const size_t width = target.width;
            const std::vector<std::string> items = listItems(values[p]);
            if (storedLength(joinedItems(items)) <= width)
                continue;
            std::vector<std::string> kept;
            for (const std::string& item : items) {
                kept.push_back(item);
                if (kept.size() > 1 && storedLength(joinedItems(kept)) > width) {
                    kept.pop_back();
                    break;
                }
            }
            result.listItemsLeftOut += items.size() - kept.size();
            m_listCut[p] = m_listCut[p] || kept.size() < items.size();
            values[p] = joinedItems(kept); // a first item longer than the field alone is cut, and counted so
        }
    }

    // Writes what the last batch holds; a failure there is the import's error.
    void finish()
    {
        result.listFields = namesOf(m_listCut);
        result.cutFields = namesOf(m_cut);
        result.tooLargeFields = namesOf(m_tooLarge);
        if (m_table.state() == db::Table::State::Insert)
            m_table.cancel();
        try {
            if (m_table.inBatch())
                endBatch();
        } catch (const std::exception& e) {
            if (result.error.empty()) {
                result.error = e.what();
                result.failure = std::current_exception();
            }
        }
        // An import stopped by a failed write leaves its index sound where it can:
        // a check or another reader then finds nothing to repair.
        try {
            m_table.mendIndex();
        } catch (const std::exception&) {
            // Left marked as damaged: the next open that may write rebuilds it.
        }
    }

    ImportResult result;

private:
    // Only what the table wrote is counted: after a failure, the records of
    // the batch that reached the file and no more.
    void endBatch()
    {
        m_inBatch = 0;
        m_table.endBatch(&result.imported);
    }

    // Batches let other copies in between them; a table nobody else has open
    // takes ten times as many records a batch, and so waits for the device
    // ten times less often.
    static uint32_t batchSizeFor(const db::Table& table, const ImportOptions& options)
    {
        const bool alone = table.openMode() == db::Table::OpenMode::Exclusive;
        return alone ? std::max(options.batchSize, options.batchSize * 10) : options.batchSize;
    }

    using FieldMarks = std::array<bool, db::kSchemaFieldCount>;

    // The bytes a UTF-8 text takes in the collection's fields.
    size_t storedLength(const std::string& utf8) const
    {
        return m_table.encoding() == db::TextEncoding::Utf8 ? utf8.size() : db::utf8CharacterCount(utf8);
    }
    static std::vector<std::string> listItems(const std::string& list)
    {
        std::vector<std::string> items;
        size_t from = 0;
        while (from <= list.size()) {
            const size_t comma = std::min(list.find(',', from), list.size());
            const std::string_view item = db::trimBoth(std::string_view(list).substr(from, comma - from));
            if (!item.empty())
                items.emplace_back(item);
            from = comma + 1;
        }
        return items;
    }
    static std::string joinedItems(const std::vector<std::string>& items)
    {
        std::string list;
        for (const std::string& item : items)
            list += (list.empty() ? "" : ", ") + item;
        return list;
    }

    static std::vector<std::string> namesOf(const FieldMarks& marks)
    {
        std::vector<std::string> names;
        for (size_t p = 0; p < marks.size(); ++p)
            if (marks[p])
                names.push_back(db::schemaField(static_cast<int>(p) + 1).displayName);
        return names;
    }

    db::Table& m_table;
    const ImportOptions& m_options;
    const uint32_t m_batchSize;
    uint32_t m_inBatch = 0;
    FieldMarks m_cut{};      // the fields a value was cut for
    FieldMarks m_listCut{};  // the fields a list was shortened for, by whole items
    FieldMarks m_tooLarge{}; // the fields a number was too large for
};

// The message that stops an import at a date value that does not convert.
db::Message invalidDate(const std::string& value)
{
    return db::Message(TRANSLATABLE("db", "'%1' is not a valid date"), {value});
}

template <class Body>
ImportResult runImport(db::Table& table, const ImportOptions& options, const Body& body)
{
    ImportRun run(table, options);
    try {
        body(run);
    } catch (const DateStop& stop) {
        const std::string& value = stop.value;
        run.fail(invalidDateMessage(value));
        run.result.failure = std::make_exception_ptr(db::DbError("", invalidDate(value)));
    } catch (const std::exception& e) {
        run.fail(e.what());
        run.result.failure = std::current_exception();
    }
    run.finish();
    return run.result;
}

// The import field that goes to a schema position, or -1.
int columnOf(const ImportMap& map, int position)
{
    const auto found = std::find(map.begin(), map.end(), position);
    return found == map.end() ? -1 : static_cast<int>(found - map.begin());
}

// The keys of the films the collection holds, for skipExisting.
std::unordered_set<std::string> keysOfCollection(db::Table& table)
{
    std::unordered_set<std::string> keys;
    const int yearField = table.fieldIndex("Year");
    const db::Table::ReadHold hold(table); // one state of the collection
    const db::Table::Bookmark kept = table.bookmark();
    for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
        const db::Record record = table.current();
        keys.insert(sameFilmKey(record.text(0), yearField >= 0 ? record.text(yearField) : ""));
    }
    table.gotoBookmark(kept);
    return keys;
}

ImportResult importDelimited(db::Table& table, const ImportSource& source, const ImportMap& map,
                             const ImportOptions& options)
{
    const std::vector<Target> targets = targetsOf(table, map);
    const int fieldCount = static_cast<int>(source.fieldNames.size());
    std::unordered_set<std::string> existing;
    if (options.skipExisting)
        existing = keysOfCollection(table);
    const int titleColumn = columnOf(map, 1), yearColumn = columnOf(map, 11);
    return runImport(table, options, [&](ImportRun& run) {
        db::File file;
        file.open(source.path, db::File::Mode::ReadOnly);
        DelimitedReader reader(sourceOf(file), source.utf8);
        if (options.skipFirst) {
            std::vector<std::string> names;
            int present = 0;
            reader.readRecord(fieldCount, names, present);
        }
        RecordReadAhead records(reader, fieldCount);
        while (true) {
            const RecordReadAhead::Record& record = records.next();
            run.result.cutValues = record.cutValues;
            run.result.lineBreaks = record.lineBreaks;
            if (record.line == DelimitedReader::Line::End)
                break;
            if (record.line == DelimitedReader::Line::Blank)
                continue;
            if (options.skipExisting) {
                const auto valueAt = [&](int column) {
                    return column >= 0 && column < record.present ? asUtf8(record.values[static_cast<size_t>(column)], source.utf8)
                                                                  : std::string();
                };
                if (!existing.insert(sameFilmKey(valueAt(titleColumn), valueAt(yearColumn))).second) {
                    ++run.result.skippedExisting;
                    continue;
                }
            }
            const bool goOn = run.add([&] {
                for (int i = 0; i < record.present && i < static_cast<int>(targets.size()); ++i) {
                    const Target& target = targets[static_cast<size_t>(i)];
                    if (target.field < 0)
                        continue;
                    const std::string& value = record.values[static_cast<size_t>(i)];
                    run.store(target, value, source.utf8);
                }
            });
            if (!goOn)
                break;
        }
    });
}

ImportResult importDbf(db::Table& table, const ImportSource& source, const ImportMap& map, const ImportOptions& options)
{
    const std::vector<Target> targets = targetsOf(table, map);
    std::unordered_set<std::string> existing;
    if (options.skipExisting)
        existing = keysOfCollection(table);
    const int titleColumn = columnOf(map, 1), yearColumn = columnOf(map, 11);
    return runImport(table, options, [&](ImportRun& run) {
        db::Table from;
        from.setFilePath(source.path);
        from.open(db::Table::OpenMode::ReadOnly);
        from.selectIndex("");
        from.first();
        const int fields = std::min<int>(from.fieldCount(), static_cast<int>(targets.size()));
        const auto valueAt = [&](const db::Record& record, int column) {
            return column >= 0 && column < fields ? dbfValue(record, from.field(column), column)
                                                  : std::string();
        };
        for (; !from.isEmpty() && !from.eof(); from.next()) {
            const db::Record record = from.current();
            if (options.skipExisting
                && !existing.insert(sameFilmKey(valueAt(record, titleColumn), valueAt(record, yearColumn))).second) {
                ++run.result.skippedExisting;
                continue;
            }
            const bool goOn = run.add([&] {
                for (int i = 0; i < fields; ++i) {
                    const Target& target = targets[static_cast<size_t>(i)];
                    if (target.field >= 0)
                        run.store(target, dbfValue(record, from.field(i), i), true);
                }
            });
            if (!goOn)
                break;
        }
    });
}

} // namespace

TextScan scanTextFile(const std::string& path)
{
    db::File file;
    file.open(path, db::File::Mode::ReadOnly);
    Utf8Check check;
    TextScan scan;
    std::vector<unsigned char> buffer(kChunk);
    uint64_t offset = 0;
    while (true) {
        const size_t got = file.readSomeAt(offset, buffer.data(), buffer.size());
        if (got == 0)
            break;
        if (std::memchr(buffer.data(), 0, got) != nullptr)
            scan.hasNul = true;
        if (check.valid())
            check.add(buffer.data(), got);
        offset += got;
    }
    scan.utf8 = check.isUtf8();
    return scan;
}

bool isUtf8Text(const std::string& path) { return scanTextFile(path).utf8; }

int openDelimitedSource(const std::string& path, ImportSource& source)
{
    source = ImportSource{};
    source.kind = ImportKind::Ascii;
    source.path = path;
    // Text has no NUL characters anywhere: a file with one is binary (or UTF-16).
    const TextScan scan = scanTextFile(path);
    if (scan.hasNul)
        return flNotText;
    source.utf8 = scan.utf8;
    db::File file;
    file.open(path, db::File::Mode::ReadOnly);
    DelimitedReader reader(sourceOf(file), source.utf8);
    std::vector<std::string> names;
    const int result = reader.readFirstLine(names);
    if (result == flOk)
        for (const std::string& name : names)
            source.fieldNames.push_back(asUtf8(name, source.utf8));
    return result;
}

ImportSource openDbfSource(const std::string& path)
{
    db::Table table;
    table.setFilePath(path);
    table.open(db::Table::OpenMode::ReadOnly);
    ImportSource source;
    source.kind = ImportKind::DBase;
    source.path = table.filePath();
    source.fileFields = table.fieldCount();
    for (int i = 0; i < table.fieldCount() && i < kMaxImportFields; ++i)
        source.fieldNames.push_back(db::cp1252ToUtf8(table.field(i).name.substr(0, 20)));
    return source;
}

ImportMap importMapOf(const std::vector<std::string>& fieldNames, const std::vector<ImportRow>& rows)
{
    ImportMap map;
    const size_t searched = std::min<size_t>(rows.size(), db::kSchemaFieldCount);
    for (const std::string& name : fieldNames) {
        int position = 0;
        for (size_t r = 0; r < searched; ++r) {
            if (rows[r].name == name) {
                position = rows[r].use ? static_cast<int>(r) + 1 : 0;
                break;
            }
        }
        map.push_back(position);
    }
    return map;
}

ImportResult importRecords(db::Table& table, const ImportSource& source, const ImportMap& map,
                           const ImportOptions& options)
{
    return source.kind == ImportKind::DBase ? importDbf(table, source, map, options)
                                            : importDelimited(table, source, map, options);
}

ImportResult importValues(db::Table& table, const NextValues& next, const ImportOptions& options)
{
    ImportMap everyField(db::kSchemaFieldCount);
    std::iota(everyField.begin(), everyField.end(), 1);
    const std::vector<Target> targets = targetsOf(table, everyField);
    std::unordered_set<std::string> existing;
    if (options.skipExisting)
        existing = keysOfCollection(table);
    return runImport(table, options, [&](ImportRun& run) {
        CollectionValues values;
        while (true) {
            values.fill(std::string());
            if (!next(values))
                break;
            if (options.skipExisting && !existing.insert(sameFilmKey(values[0], values[10])).second) {
                ++run.result.skippedExisting;
                continue;
            }
            run.fitLists(values, targets);
            const bool goOn = run.add([&] {
                for (size_t p = 0; p < values.size(); ++p) {
                    const Target& target = targets[p];
                    if (target.field >= 0 && !values[p].empty())
                        run.store(target, values[p], true);
                }
            });
            if (!goOn)
                break;
        }
    });
}

size_t valueIndex(const char* storedName)
{
    // Asked for every value another catalogue gives: each name is looked up in the schema once.
    thread_local std::unordered_map<const char*, size_t> known;
    const auto [place, fresh] = known.try_emplace(storedName, 0);
    if (fresh)
        place->second = static_cast<size_t>(db::schemaPosition(storedName) - 1);
    return place->second;
}

std::string sameFilmKey(std::string_view utf8Title, std::string_view year)
{
    const auto number = readWholeText(year, '.');
    return db::sameTitleKey(utf8Title) + "|" + (number && *number != 0 ? std::to_string(static_cast<long long>(*number)) : "");
}

std::vector<std::vector<std::string>> firstRecords(const ImportSource& source, bool skipFirst, int count)
{
    std::vector<std::vector<std::string>> records;
    try {
        if (source.kind == ImportKind::DBase) {
            db::Table from;
            from.setFilePath(source.path);
            from.open(db::Table::OpenMode::ReadOnly);
            from.selectIndex("");
            const int fields = std::min(from.fieldCount(), static_cast<int>(source.fieldNames.size()));
            for (from.first(); !from.isEmpty() && !from.eof() && static_cast<int>(records.size()) < count; from.next()) {
                std::vector<std::string>& values = records.emplace_back();
                for (int i = 0; i < fields; ++i)
                    values.push_back(dbfValue(from.current(), from.field(i), i));
            }
            return records;
        }
        db::File file;
        file.open(source.path, db::File::Mode::ReadOnly);
        DelimitedReader reader(sourceOf(file), source.utf8);
        const int fieldCount = static_cast<int>(source.fieldNames.size());
        std::vector<std::string> values;
        int present = 0;
        if (skipFirst)
            reader.readRecord(fieldCount, values, present);
        while (static_cast<int>(records.size()) < count) {
            const DelimitedReader::Line line = reader.readRecord(fieldCount, values, present);
            if (line == DelimitedReader::Line::End)
                break;
            if (line == DelimitedReader::Line::Blank)
                continue;
            std::vector<std::string>& record = records.emplace_back();
            for (const std::string& value : values)
                record.push_back(asUtf8(value, source.utf8));
        }
    } catch (const std::exception&) {
        // What was read stands; the import itself reports the failure.
    }
    return records;
}

std::string storedPreview(const std::string& utf8Value, int position, db::TextEncoding encoding)
{
    if (position < 1 || position > db::kSchemaFieldCount)
        return {};
    const db::SchemaField& field = db::schemaField(position);
    const char decimal = db::editTextFormat().decimalSeparator;
    // A number as the collection will show it ("1 234,50 €" as 1234.5), or nothing where it is no
    // number or does not fit its field.
    const db::FieldDef stored = db::collectionFieldDefs().at(static_cast<size_t>(position - 1));
    const auto shown = [&stored, decimal](std::optional<double> number) {
        if (!number || !db::numberFieldText(*number, stored.width, stored.decimals))
            return std::string();
        const double scale = std::pow(10.0, stored.decimals);
        std::string text = db::formatGeneralNumber(std::round(*number * scale) / scale);
        std::replace(text.begin(), text.end(), '.', decimal);
        return text;
    };
    switch (field.kind) {
    case db::SchemaKind::WholeNumber: return shown(readWholeText(utf8Value, decimal));
    case db::SchemaKind::DecimalNumber: return shown(readNumberText(utf8Value, decimal));
    case db::SchemaKind::Date: return utf8Value;
    case db::SchemaKind::Character: break;
    }
    const std::string_view text = db::trimBoth(utf8Value);
    if (encoding == db::TextEncoding::Utf8)
        return db::fieldBytes(text, encoding, static_cast<size_t>(field.width));
    PlainTextCounts counts;
    return db::cp1252ToUtf8(db::fieldBytes(db::cp1252ToUtf8(toCollectionText(text, counts)), encoding,
                                           static_cast<size_t>(field.width)));
}

std::string invalidDateMessage(const std::string& value) { return invalidDate(value).spoken(); }

namespace {
// What stopped an import, in the user's language where the failure says how.
std::string failureText(const ImportResult& result, const db::Speak& speak)
{
    if (result.failure) {
        try {
            std::rethrow_exception(result.failure);
        } catch (const db::DbError& e) {
            return e.spoken(speak);
        } catch (...) {
        }
    }
    return result.error;
}
} // namespace

std::string importMessage(const ImportResult& result, const db::Speak& speak)
{
    using db::counted;
    std::string message;
    if (!result.error.empty())
        message = failureText(result, speak) + "\n\n"
            + counted(speak, result.imported,
                      TRANSLATABLE("exchange", "The import stopped there. %1 record was imported before it and stay in "
                                               "the collection."),
                      TRANSLATABLE("exchange", "The import stopped there. %1 records were imported before it and stay "
                                               "in the collection."));
    else if (result.cancelled)
        message = counted(speak, result.imported,
                          TRANSLATABLE("exchange", "Import cancelled. %1 record was imported and stay in the collection."),
                          TRANSLATABLE("exchange", "Import cancelled. %1 records were imported and stay in the collection."));
    else
        message = db::spoken(speak, TRANSLATABLE("exchange", "Import Complete."));
    const auto add = [&](uint64_t n, const char* one, const char* many, const std::string& second = {}) {
        if (n > 0)
            message += "\n\n" + counted(speak, n, one, many, second);
    };
    add(result.plainFormValues,
        TRANSLATABLE("exchange", "%1 value holds characters that the collection cannot store as they are; they were "
                                 "stored in their nearest plain form (\u0142 as l)."),
        TRANSLATABLE("exchange", "%1 values hold characters that the collection cannot store as they are; they were "
                                 "stored in their nearest plain form (\u0142 as l)."));
    add(result.changedValues,
        TRANSLATABLE("exchange", "%1 value holds characters that the collection cannot store; they were stored as \"?\"."),
        TRANSLATABLE("exchange", "%1 values hold characters that the collection cannot store; they were stored as \"?\"."));
    add(result.cutValues, TRANSLATABLE("exchange", "%1 value was longer than 255 characters and cut to 255."),
        TRANSLATABLE("exchange", "%1 values were longer than 255 characters and cut to 255."));
    add(result.notNumbers,
        TRANSLATABLE("exchange", "%1 value was not a number where the collection keeps one; those fields were left empty."),
        TRANSLATABLE("exchange", "%1 values were not a number where the collection keeps one; those fields were left "
                                 "empty."));
    add(result.skippedExisting,
        TRANSLATABLE("exchange", "%1 record was already in the collection and was not imported again."),
        TRANSLATABLE("exchange", "%1 records were already in the collection and were not imported again."));
    const auto listed = [](const std::vector<std::string>& names) {
        std::string list;
        for (const std::string& name : names)
            list += (list.empty() ? "" : ", ") + name;
        return list;
    };
    add(result.tooLarge,
        TRANSLATABLE("exchange", "%1 number was too large for its field, which was left empty (%2)."),
        TRANSLATABLE("exchange", "%1 numbers were too large for their fields, which were left empty (%2)."),
        listed(result.tooLargeFields));
    add(result.listItemsLeftOut,
        TRANSLATABLE("exchange", "%1 name, genre or key word did not fit its field beside the others and was left out (%2)."),
        TRANSLATABLE("exchange", "%1 names, genres or key words did not fit their fields beside the others and were left "
                                 "out (%2)."),
        listed(result.listFields));
    add(result.cutToWidth, TRANSLATABLE("exchange", "%1 value was longer than its field and cut to fit (%2)."),
        TRANSLATABLE("exchange", "%1 values were longer than their fields and cut to fit (%2)."), listed(result.cutFields));
    if (!result.leftOutFiles.empty()) {
        add(result.leftOutFiles.size(), TRANSLATABLE("exchange", "%1 file was left out:"),
            TRANSLATABLE("exchange", "%1 files were left out:"));
        for (const db::DbError& file : result.leftOutFiles)
            message += "\n" + file.spoken(speak);
    }
    add(result.coversTaken, TRANSLATABLE("exchange", "%1 cover came with its film."),
        TRANSLATABLE("exchange", "%1 covers came with their films."));
    add(result.coversKept,
        TRANSLATABLE("exchange", "%1 film had a cover already, which was kept; the catalogue's picture was not taken."),
        TRANSLATABLE("exchange", "%1 films had a cover already, which was kept; the catalogue's pictures were not taken."));
    if (!result.coversNotTaken.empty()) {
        add(result.coversNotTaken.size(),
            TRANSLATABLE("exchange", "%1 picture was missing or could not be read; its film was imported without a cover:"),
            TRANSLATABLE("exchange", "%1 pictures were missing or could not be read; their films were imported without a "
                                     "cover:"));
        constexpr size_t kNamed = 10; // a message box, not a log: the rest are counted
        for (size_t i = 0; i < std::min(kNamed, result.coversNotTaken.size()); ++i)
            message += "\n" + result.coversNotTaken[i].film + ": " + result.coversNotTaken[i].why.spoken(speak);
        if (result.coversNotTaken.size() > kNamed)
            message += "\n" + counted(speak, result.coversNotTaken.size() - kNamed, TRANSLATABLE("exchange", "and %1 more."),
                                       TRANSLATABLE("exchange", "and %1 more."));
    }
    add(result.lineBreaks, TRANSLATABLE("exchange", "%1 line break inside quoted values was stored as blanks."),
        TRANSLATABLE("exchange", "%1 line breaks inside quoted values were stored as blanks."));
    return message;
}

} // namespace exchange
