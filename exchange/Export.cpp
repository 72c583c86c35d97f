#include "Export.h"

#include "CoverExport.h"
#include "CoverNames.h"
#include "CoverStore.h"

#include "BackgroundWriter.h"
#include "DbError.h"
#include "DbfFormat.h"
#include "DelimitedText.h"
#include "FileIO.h"
#include "RecordTexts.h"
#include "Schema.h"
#include "Table.h"
#include "Cp1252.h"
#include "EditText.h"
#include "XmlCatalogues.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <zip.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <map>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>

namespace exchange {

namespace {

constexpr char kEndOfFileMark = 0x1A;

struct Cancelled {};

// Records handed from the walk to the formatting, a batch at a time.
class RecordBatches {
public:
    explicit RecordBatches(size_t recordLength)
        : m_length(recordLength)
    {
    }
    size_t length() const { return m_length; }

    // Called by the walk: a full batch waits while two are queued. A pass of
    // a key-order export ends with a batch that names the place in the order
    // where the pass ended (0: no pass ends).
    void put(std::vector<char>&& batch, uint32_t passEnd = 0)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.size() < 2 || m_failed; });
        if (m_failed)
            return;
        m_queue.push_back({std::move(batch), passEnd});
        m_changed.notify_all();
    }
    void close()
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_changed.notify_all();
    }
    // Called by the formatting: the next batch, or false once the walk is done.
    bool take(std::vector<char>& batch, uint32_t* passEnd = nullptr)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_closed; });
        if (m_queue.empty())
            return false;
        if (batch.capacity() > 0)
            m_spare.push_back(std::move(batch));
        batch = std::move(m_queue.front().records);
        if (passEnd)
            *passEnd = m_queue.front().passEnd;
        m_queue.pop_front();
        m_changed.notify_all();
        return true;
    }
    // Called by the walk: an emptied batch whose room is kept, so that the
    // walk does not ask the system for fresh pages for every batch.
    std::vector<char> spare(size_t capacity)
    {
        std::vector<char> batch;
        {
            std::lock_guard lock(m_mutex);
            if (!m_spare.empty()) {
                batch = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        batch.clear();
        batch.reserve(capacity);
        return batch;
    }
    // Called by the formatting after each batch: how many records it
    // formatted, and the bytes of their lines.
    void formatted(uint64_t records, uint64_t bytes)
    {
        std::lock_guard lock(m_mutex);
        m_formatted += records;
        m_formattedBytes += bytes;
        m_changed.notify_all();
    }
    // Called by the walk: the records formatted so far, and their lines' bytes.
    std::pair<uint64_t, uint64_t> formattedSoFar()
    {
        std::lock_guard lock(m_mutex);
        return {m_formatted, m_formattedBytes};
    }
    // Called by the walk: waits until the formatting has done `records` (or failed).
    void waitFormatted(uint64_t records)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_formatted >= records || m_failed; });
    }
    void fail()
    {
        std::lock_guard lock(m_mutex);
        m_failed = true;
        m_changed.notify_all();
    }
    bool failed()
    {
        std::lock_guard lock(m_mutex);
        return m_failed;
    }

private:
    struct Batch {
        std::vector<char> records;
        uint32_t passEnd;
    };
    size_t m_length;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_queue;
    std::vector<std::vector<char>> m_spare;
    uint64_t m_formatted = 0;
    uint64_t m_formattedBytes = 0;
    bool m_closed = false;
    bool m_failed = false;
};

// Walks the visible records from the first, reporting progress; a cancel
// throws Cancelled, which removes the output. The walk copies the records
// into batches that another thread hands to write, so that reading the
// table and formatting the lines run side by side.
template <class Write>
uint64_t walkRecords(db::Table& table, const ExportOptions& options, const Write& write)
{
    constexpr size_t kBatchRecords = 4096;
    const db::FieldDef& last = table.fields().back();
    RecordBatches batches(static_cast<size_t>(last.offset + last.width) + 1);
    std::exception_ptr failure;
    std::thread formatting([&] {
        try {
            std::vector<char> batch;
            while (batches.take(batch))
                for (size_t at = 0; at < batch.size(); at += batches.length())
                    write(batch.data() + at);
        } catch (...) {
            failure = std::current_exception();
            batches.fail();
        }
    });
    uint64_t written = 0;
    std::vector<char> batch;
    batch.reserve(kBatchRecords * batches.length());
    try {
        // Other copies' changes wait for the walk: the file is one state of the collection.
        const db::Table::ReadHold hold(table);
        for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
            const char* bytes = table.current().bytes();
            batch.insert(batch.end(), bytes, bytes + batches.length());
            ++written;
            if (batch.size() >= kBatchRecords * batches.length()) {
                if (batches.failed())
                    break; // the formatting stopped (a write failed): its error ends the export
                batches.put(std::move(batch));
                batch = batches.spare(kBatchRecords * batches.length());
            }
            if (options.progress && !options.progress(written))
                throw Cancelled{};
        }
        batches.put(std::move(batch));
    } catch (...) {
        batches.fail();
        batches.close();
        formatting.join();
        throw;
    }
    batches.close();
    formatting.join();
    if (failure)
        std::rethrow_exception(failure);
    return written;
}

// The lines of one pass of a key-order export, kept until the pass ends and
// then handed on in order. The blocks that hold them stay for the next pass.
class PassLines {
public:
    // Adds the line write appends to the text it is given; says its length.
    template <class Write>
    size_t add(uint32_t place, const Write& write)
    {
        if (m_block == m_blocks.size() || m_blocks[m_block].size() >= kBlockBytes) {
            if (m_block < m_blocks.size())
                ++m_block;
            if (m_block == m_blocks.size())
                m_blocks.emplace_back().reserve(kBlockBytes + kBlockBytes / 16);
            m_blocks[m_block].clear();
        }
        std::string& block = m_blocks[m_block];
        const size_t from = block.size();
        write(block);
        const size_t length = block.size() - from;
        m_lines.push_back({place, static_cast<uint32_t>(length), static_cast<uint32_t>(m_block),
                           static_cast<uint32_t>(from)});
        return length;
    }
    // Hands `deliver` the lines of places before end in order, forgets them all,
    // and says how many it handed on.
    template <class Emit>
    uint64_t emitBefore(uint32_t end, const Emit& deliver)
    {
        std::sort(m_lines.begin(), m_lines.end(), [](const Line& a, const Line& b) { return a.place < b.place; });
        uint64_t emitted = 0;
        for (const Line& line : m_lines) {
            if (line.place >= end)
                break; // formatted before the pass was cut short: the next pass has them
            deliver(std::string_view(m_blocks[line.block].data() + line.offset, line.length));
            ++emitted;
        }
        m_lines.clear();
        m_block = 0;
        if (!m_blocks.empty())
            m_blocks[0].clear();
        return emitted;
    }

private:
    static constexpr size_t kBlockBytes = size_t{4} << 20;
    struct Line {
        uint32_t place;
        uint32_t length;
        uint32_t block;
        uint32_t offset;
    };
    std::vector<std::string> m_blocks; // a line never spans two: its place is (block, offset)
    size_t m_block = 0;
    std::vector<Line> m_lines;
};

// How a key-order export shares the order out among its passes: each pass
// holds about `held` bytes of lines. The first pass starts with the whole
// order and, once it has seen enough lines to judge their length, keeps the
// share that fits; the passes after it take shares of the same size.
class PassShares {
public:
    explicit PassShares(size_t held)
        : m_held(static_cast<double>(std::max<size_t>(held, 1)))
    {
    }
    uint32_t share() const { return m_share; }
    // Lines enough to judge their length by.
    static constexpr uint64_t kLinesToJudge = 512;
    // After a part of a pass: the pass's places so far `places`, records
    // scanned `scanned` of the pass's `span`, records sent `sent`, and the
    // lines formatted so far (all passes) with their bytes; the places the
    // pass keeps.
    uint32_t judge(uint32_t places, uint64_t scanned, uint64_t span, uint64_t sent, uint64_t lines, uint64_t bytes)
    {
        if (lines < kLinesToJudge || scanned == 0 || sent == 0)
            return places;
        const double projected = static_cast<double>(bytes) / static_cast<double>(lines) * static_cast<double>(sent)
            * static_cast<double>(span) / static_cast<double>(scanned);
        // Some room over the share's bytes, so that the noise of a projection
        // does not halve a pass that fits.
        if (projected <= m_held * 1.25)
            return places;
        const double passes = std::ceil(projected / m_held);
        m_share = std::max<uint32_t>(1, static_cast<uint32_t>(static_cast<double>(places) / passes));
        return m_share;
    }

private:
    double m_held;
    uint32_t m_share = UINT32_MAX;
};

struct Stopped {}; // the formatting failed: its error ends the export

// Writes the lines of the visible records in the table's index order
// without reading the records in that order: a read of one record at a
// random place costs more than a pass over the whole file in stored order.
// Each pass reads the records whose places in the order fall in its share
// (the file's span that holds them), formats their lines on another thread
// and, when the pass ends, writes them in order. Nothing in stored order:
// the caller walks.
template <class Format>
std::optional<uint64_t> writeInKeyOrder(db::Table& table, const ExportOptions& options, db::BackgroundWriter& out,
                                        const Format& format)
{
    constexpr uint32_t kNoPlace = UINT32_MAX;
    constexpr size_t kBatchRecords = 1024;
    constexpr uint32_t kScanStep = 65536; // records scanned between looks at the span
    // Other copies' changes wait for the passes: the file is one state of the collection.
    const db::Table::ReadHold hold(table);
    const std::optional<std::vector<uint32_t>> inOrder = table.recordsInOrder();
    if (!inOrder)
        return std::nullopt;
    const std::vector<uint32_t>& order = *inOrder;
    const auto places = static_cast<uint32_t>(order.size());
    std::vector<uint32_t> placeOf(static_cast<size_t>(table.physicalRecordCount()) + 1, kNoPlace);
    for (uint32_t p = 0; p < places; ++p)
        placeOf[order[p]] = p;

    const size_t length = table.recordLength();
    RecordBatches batches(sizeof(uint32_t) + length);
    std::atomic<uint64_t> written{0};
    std::exception_ptr failure;
    std::thread formatting([&] {
        try {
            PassLines held;
            std::vector<char> batch;
            uint32_t passEnd = 0;
            while (batches.take(batch, &passEnd)) {
                size_t batchBytes = 0;
                for (size_t at = 0; at < batch.size(); at += batches.length()) {
                    uint32_t place;
                    std::memcpy(&place, batch.data() + at, sizeof place);
                    const char* record = batch.data() + at + sizeof place;
                    batchBytes += held.add(place, [&](std::string& text) { format(record, text); });
                }
                batches.formatted(batch.size() / batches.length(), batchBytes);
                if (passEnd != 0)
                    written += held.emitBefore(passEnd, [&](std::string_view text) {
                        out.buffer() += text;
                        out.flushIfFull();
                    });
            }
        } catch (...) {
            failure = std::current_exception();
            batches.fail();
        }
    });

    try {
        PassShares shares(options.linesHeldInOrder);
        std::vector<char> batch = batches.spare(kBatchRecords * batches.length());
        const auto handOver = [&] {
            if (batches.failed())
                throw Stopped{};
            batches.put(std::move(batch));
            batch = batches.spare(kBatchRecords * batches.length());
        };
        bool judged = false;
        for (uint32_t from = 0; from < places;) {
            uint32_t end = from + std::min(shares.share(), places - from);
            // The span of the file that holds the pass's records.
            const auto spanOf = [&] {
                const auto [lo, hi] = std::minmax_element(order.begin() + from, order.begin() + end);
                return std::pair{*lo, *hi};
            };
            uint32_t lo = 0, hi = 0;
            std::tie(lo, hi) = spanOf();
            uint64_t sent = 0;
            bool cut = false;
            const auto send = [&](const char* block, uint32_t first, uint32_t n) {
                for (uint32_t k = 0; k < n; ++k) {
                    const uint32_t place = placeOf[first + k];
                    const char* record = block + static_cast<size_t>(k) * length;
                    if (place < from || place >= end || !table.isVisible(record))
                        continue;
                    batch.insert(batch.end(), reinterpret_cast<const char*>(&place),
                                 reinterpret_cast<const char*>(&place) + sizeof place);
                    batch.insert(batch.end(), record, record + length);
                    ++sent;
                    if (batch.size() >= kBatchRecords * batches.length())
                        handOver();
                    // Asked at every record, as a walk asks, so that a window stays answering.
                    if (options.progress && !options.progress(written.load(std::memory_order_relaxed)))
                        throw Cancelled{};
                    if (!judged && sent == PassShares::kLinesToJudge) {
                        // The first pass holds every place until the first
                        // lines tell how long lines are.
                        judged = true;
                        handOver();
                        batches.waitFormatted(sent);
                    }
                }
                const auto [lines, bytes] = batches.formattedSoFar();
                const uint32_t kept = shares.judge(end - from, first + n - lo, hi - lo + 1, sent, lines, bytes);
                if (kept < end - from) {
                    sent = sent * kept / (end - from);
                    end = from + kept; // lines formatted past the new end are dropped when the pass ends
                    cut = true;
                }
            };
            for (uint32_t start = lo; start <= hi;) {
                const uint32_t stop = std::min(hi, start + (kScanStep - 1));
                table.scanRecordsMapped(start, stop, send);
                if (std::exchange(cut, false))
                    hi = spanOf().second; // a pass cut short reads less of the file
                if (stop >= hi)
                    break;
                start = stop + 1;
            }
            if (batches.failed())
                throw Stopped{};
            batches.put(std::move(batch), end);
            batch = batches.spare(kBatchRecords * batches.length());
            from = end;
        }
    } catch (...) {
        batches.fail();
        batches.close();
        formatting.join();
        if (failure)
            std::rethrow_exception(failure);
        throw;
    }
    batches.close();
    formatting.join();
    if (failure)
        std::rethrow_exception(failure);
    if (options.progress && !options.progress(written.load()))
        throw Cancelled{};
    return written.load();
}

template <class Body>
ExportResult runExport(db::Table& table, const std::string& path, const ExportOptions& options, const Body& body)
{
    ExportResult result;
    // The main window's grid does not follow the cursor while the records are walked.
    const db::Table::ControlsDisabled quiet(table);
    try {
        db::writeReplacing(path, [&](db::File& out) { result.written = body(out); }, ".rk-export");
    } catch (const Cancelled&) {
        result.cancelled = true;
        result.written = 0;
    }
    return result;
}

// The export list's field definitions for a new dBASE table: the schema's
// names and types.
std::vector<db::FieldDef> dbfFieldsOf(const std::vector<ExportField>& fields)
{
    const std::vector<db::FieldDef> schema = db::collectionFieldDefs();
    std::vector<db::FieldDef> defs;
    for (const ExportField& f : fields) {
        db::FieldDef def = schema.at(static_cast<size_t>(f.schemaPosition - 1));
        def.offset = 0;
        defs.push_back(def);
    }
    return defs;
}

} // namespace

std::vector<ExportField> exportList(const std::vector<ExportLayoutEntry>& layout, const std::vector<std::string>& labels,
                                    const db::Table& table)
{
    std::vector<ExportField> list;
    for (int position = 1; position <= db::kSchemaFieldCount; ++position) {
        for (size_t k = 0; k < layout.size() && k < db::kSchemaFieldCount; ++k) {
            if (layout[k].position != position)
                continue;
            if (layout[k].exported) {
                const int schemaPosition = static_cast<int>(k) + 1;
                ExportField field;
                field.schemaPosition = schemaPosition;
                field.tableField = table.requireField(db::schemaField(schemaPosition).name);
                field.label = k < labels.size() ? labels[k] : db::schemaField(schemaPosition).displayName;
                list.push_back(field);
            }
            break; // only the first field with this position
        }
    }
    return list;
}

ExportResult exportDelimited(db::Table& table, const std::vector<ExportField>& fields, const std::string& path,
                             const ExportOptions& options)
{
    return runExport(table, path, options, [&](db::File& file) {
        db::BackgroundWriter out(file);
        std::string& line = out.buffer();
        auto endLine = [&] {
            line += kLineEnd;
            out.flushIfFull();
        };
        // The file keeps the collection's encoding: its values are written as they are stored.
        const bool utf8 = table.encoding() == db::TextEncoding::Utf8;
        if (options.header) {
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i > 0)
                    line += ',';
                appendQuotedValue(line, utf8 ? fields[i].label : db::utf8ToCp1252(fields[i].label));
            }
            endLine();
        }
        db::RecordTexts texts(table.fields(), db::RecordTexts::Instructions::Best, db::RecordTexts::Text::Stored);
        const auto format = [&](const char* bytes, std::string& text) {
            const std::vector<std::string_view>& values = texts.read(bytes);
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i > 0)
                    text += ',';
                appendQuotedValue(text, values[static_cast<size_t>(fields[i].tableField)]);
            }
            text += kLineEnd;
        };
        std::optional<uint64_t> written = writeInKeyOrder(table, options, out, format);
        if (!written)
            written = walkRecords(table, options, [&](const char* bytes) {
                format(bytes, line);
                out.flushIfFull();
            });
        out.finish();
        return *written;
    });
}

ExportResult exportDbf(db::Table& table, const std::vector<ExportField>& fields, const std::string& path,
                       const ExportOptions& options)
{
    // The header's record count is known only at the end, and written then.
    if (db::isStreamDestination(path))
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "A dBASE table cannot be written to a pipe or a device; "
                                                               "choose a file")});
    // The table keeps the collection's encoding, and says so beside it as the collection does.
    const db::TextEncoding encoding = table.encoding();
    db::CodePageFileChange codePage(path, encoding);
    const ExportResult result = runExport(table, path, options, [&](db::File& file) {
        const db::DbfHeader header = db::makeDbfHeader(dbfFieldsOf(fields), encoding);
        db::BackgroundWriter out(file);
        std::string& data = out.buffer();
        data += db::serializeDbfHeader(header);
        // Each output field is the collection field's stored value, which has
        // the same type and width; a field of another shape is converted.
        std::vector<std::string> scratch(fields.size());
        const uint64_t written = walkRecords(table, options, [&](const char* bytes) {
            const db::Record record(&table.fields(), bytes);
            data += ' ';
            for (size_t i = 0; i < fields.size(); ++i) {
                const db::FieldDef& from = table.field(fields[i].tableField);
                const db::FieldDef& to = header.fields[i];
                const std::string_view raw = record.raw(fields[i].tableField);
                if (from.type == to.type && from.width == to.width && from.decimals == to.decimals) {
                    data += raw;
                    continue;
                }
                std::string value;
                if (to.type == 'C') {
                    value = db::fieldBytes(record.text(fields[i].tableField), encoding, static_cast<size_t>(to.width));
                } else if (to.type == 'D') {
                    value = raw.size() == 8 ? std::string(raw) : std::string();
                } else if (const auto number = db::storedNumber(raw)) {
                    value = db::numberFieldText(*number, to.width, to.decimals).value_or("");
                }
                value.resize(static_cast<size_t>(to.width), ' ');
                data += value;
            }
            out.flushIfFull();
        });
        data += kEndOfFileMark;
        out.finish();
        if (written > UINT32_MAX)
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "Too many records for one dBASE file")});
        const std::string count = db::headerCountBytes(static_cast<uint32_t>(written));
        file.writeAt(1, count.data(), count.size());
        return written;
    });
    if (!result.cancelled)
        codePage.keep();
    return result;
}

namespace {

// A record's forty values as another catalogue takes them: text in UTF-8,
// numbers as stored (a point before the decimals), dates year first.
CollectionValues collectionValuesOf(const db::Record& record, const std::vector<int>& tableFields)
{
    CollectionValues values;
    for (size_t p = 0; p < values.size(); ++p) {
        const int field = tableFields[p];
        if (field < 0)
            continue;
        if (db::schemaField(static_cast<int>(p) + 1).kind == db::SchemaKind::Date) {
            if (const auto date = db::parseStoredDate(record.raw(field)))
                values[p] = db::formatYearFirstDate(*date);
            continue;
        }
        values[p] = record.text(field);
    }
    return values;
}

std::string htmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The page around the rows: its look (light or dark as the reader's device is).
// The table scrolls in a box of its own that fills the window, so that its
// header row stays on top; cells keep to one line (a long one ends in "…" and
// shows whole on hover).
const char* const kHtmlStyle = R"(<style>
html,body{height:100%}
body{font-family:system-ui,sans-serif;margin:0;display:flex;flex-direction:column;color:#111;background:#fff}
header{padding:.6em 1em .2em}
h1{font-size:1.3em;margin:0 0 .4em}
.tools{display:flex;flex-wrap:wrap;gap:.5em;align-items:flex-start}
#filter{flex:1 1 14em;max-width:30em;font-size:1em;padding:.4em;box-sizing:border-box}
#columns{position:relative;padding:.4em 0}
#columns summary{cursor:pointer}
#columns div{position:absolute;z-index:3;background:#fff;border:1px solid #bbb;padding:.4em .6em;max-height:60vh;overflow:auto;white-space:nowrap}
#columns label{display:block}
#count{margin:.4em 0 0}
.scroll{flex:1 1 auto;min-height:12em;overflow:auto;margin:0 1em 1em}
table{border-collapse:separate;border-spacing:0}
th,td{border-right:1px solid #bbb;border-bottom:1px solid #bbb;padding:0 .5em;height:1.6em;line-height:1.6em;text-align:left;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;max-width:28em}
th:first-child,td:first-child{border-left:1px solid #bbb}
th{background:#e8e8e8;position:sticky;top:0;z-index:2;border-top:1px solid #bbb}
th button{all:inherit;cursor:pointer;border:0;padding:0;background:none}
th[aria-sort=ascending] button::after{content:" \25B2"}
th[aria-sort=descending] button::after{content:" \25BC"}
td.n{text-align:right}
tr.pad td{padding:0;border:0;background:none}
tbody tr:nth-child(even) td{background:#f6f6f6}
table.pictured td{height:4.4em;line-height:4.4em}
td.c{width:3.2em;max-width:3.2em;padding:0 .3em;text-align:center}
td.c img{max-height:4em;max-width:3em;vertical-align:middle}
@media (prefers-color-scheme:dark){body,#columns div{background:#121212;color:#eee}th{background:#333}th,td{border-color:#555}
tbody tr:nth-child(even) td{background:#1c1c1c}}
</style>
)";

// The page's script, after the words it shows (the object said, in the
// language of the program that wrote the page). The rows come as data; only
// those in sight (and a screenful either side) are made into table rows as
// the box scrolls, so that tens of thousands of films load and search at
// once: the search looks through one folded line of text a film.
const char* const kHtmlScript = R"(
  var rows = JSON.parse(document.getElementById('data').textContent);
  var pictured = document.getElementById('videos').className === 'pictured';
  var heads = Array.prototype.slice.call(document.querySelectorAll('#videos th:not(.c)'));
  var numeric = heads.map(function (th) { return th.className === 'n'; });
  var hidden = heads.map(function () { return false; });
  var body = document.querySelector('#videos tbody');
  var box = document.getElementById('scroll');
  var count = document.getElementById('count');
  var filter = document.getElementById('filter');
  var order = rows.map(function (r, i) { return i; });
  var shown = order;
  var keys = null;
  var rowHeight = 0, drawnFrom = -1, drawnTo = -1;
  var fold = function (s) { return s.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase(); };
  var marks = {'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;'};
  var escape = function (s) { return s.replace(/[&<>"]/g, function (c) { return marks[c]; }); };
  var rowText = function (r) {
    var html = '<tr>';
    if (pictured) {
      var src = r[heads.length];
      html += '<td class="c">' + (src ? '<img loading="lazy" alt="" src="' + escape(src) + '">' : '') + '</td>';
    }
    for (var c = 0; c < heads.length; c++) {
      if (hidden[c]) continue;
      var v = escape(r[c]);
      html += (numeric[c] ? '<td class="n"' : '<td') + (v.length > 40 ? ' title="' + v + '">' : '>') + v + '</td>';
    }
    return html + '</tr>';
  };
  var draw = function (again) {
    if (!rowHeight) rowHeight = (body.rows[0] && body.rows[0].offsetHeight) || 24;
    var screen = Math.max(1, Math.ceil((box.clientHeight || 800) / rowHeight));
    var from = Math.max(0, Math.floor(box.scrollTop / rowHeight) - screen);
    var to = Math.min(shown.length, from + 3 * screen);
    if (!again && from === drawnFrom && to === drawnTo) return;
    drawnFrom = from;
    drawnTo = to;
    var span = hidden.filter(function (h) { return !h; }).length + (pictured ? 1 : 0);
    var pad = function (n) {
      return n > 0 ? '<tr class="pad"><td colspan="' + span + '" style="height:' + n * rowHeight + 'px"></td></tr>' : '';
    };
    var html = pad(from);
    for (var i = from; i < to; i++) html += rowText(rows[shown[i]]);
    body.innerHTML = html + pad(shown.length - to);
  };
  var show = function (n) {
    var form = n === rows.length ? (n === 1 ? said.one : said.many) : (rows.length === 1 ? said.partOne : said.partMany);
    count.textContent = form.replace('%1', n).replace('%2', rows.length);
  };
  var fillKeys = function () {
    if (!keys) keys = rows.map(function (r) { return fold(r.slice(0, heads.length).join('\u0001')); });
  };
  var refilter = function () {
    var words = fold(filter.value).split(/\s+/).filter(Boolean);
    if (words.length) fillKeys();
    shown = !words.length ? order : order.filter(function (i) {
      var k = keys[i];
      return words.every(function (w) { return k.indexOf(w) >= 0; });
    });
    box.scrollTop = 0;
    draw(true);
    show(shown.length);
  };
  filter.addEventListener('input', refilter);
  // A cover whose picture is not beside the page leaves its cell empty, not a broken picture.
  box.addEventListener('error', function (e) { if (e.target.tagName === 'IMG') e.target.style.visibility = 'hidden'; }, true);
  box.addEventListener('scroll', function () { draw(false); });
  window.addEventListener('resize', function () { draw(false); });
  var collator = new Intl.Collator(undefined, {sensitivity: 'base', numeric: true});
  heads.forEach(function (th, col) {
    th.querySelector('button').addEventListener('click', function () {
      var up = th.getAttribute('aria-sort') !== 'ascending';
      heads.forEach(function (h) { h.setAttribute('aria-sort', 'none'); });
      th.setAttribute('aria-sort', up ? 'ascending' : 'descending');
      var place = [];
      order.forEach(function (r, i) { place[r] = i; });
      var value = rows.map(function (r) { return numeric[col] ? parseFloat(r[col]) || 0 : r[col]; });
      var compare = numeric[col] ? function (x, y) { return x - y; } : collator.compare;
      order = order.slice().sort(function (a, b) { return (up ? 1 : -1) * compare(value[a], value[b]) || place[a] - place[b]; });
      refilter();
    });
  });
  Array.prototype.forEach.call(document.querySelectorAll('#columns input'), function (check) {
    check.addEventListener('change', function () {
      var c = +check.getAttribute('data-col');
      hidden[c] = !check.checked;
      heads[c].hidden = hidden[c];
      draw(true);
    });
  });
  draw(true);
  show(rows.length);
  setTimeout(fillKeys, 0); // ready before the first letter, after the first screen
})();
</script>
)";

// A text as a JavaScript string literal that cannot end the script around it.
std::string javaScriptString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '<': out += "\\u003c"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

std::string htmlScript(const db::Speak& speak)
{
    const auto word = [&](const char* text) { return javaScriptString(db::spoken(speak, text)); };
    return "<script>\n(function () {\n  var said = {one: " + word(TRANSLATABLE("exchange", "%1 video"))
        + ", many: " + word(TRANSLATABLE("exchange", "%1 videos"))
        + ", partOne: " + word(TRANSLATABLE("exchange", "%1 of %2 video"))
        + ", partMany: " + word(TRANSLATABLE("exchange", "%1 of %2 videos")) + "};" + kHtmlScript;
}
} // namespace

std::string catalogueTitle(const std::string& collectionPath)
{
    std::string name = collectionPath.substr(collectionPath.find_last_of('/') + 1);
    name = name.substr(0, name.find_last_of('.'));
    return "Reelkeeper Videos (" + name + ")";
}

namespace {

// A cover's name among a Tellico file's images: a hash of the film's cover
// name, so that the VHS and the DVD of one film share one image.
TellicoImage tellicoImageOf(const std::string& coverFile)
{
    const QFileInfo file(QString::fromStdString(coverFile));
    const QString ending = file.suffix().toLower() == "jpg" ? "jpeg" : file.suffix().toLower();
    TellicoImage image;
    image.id = QCryptographicHash::hash(file.completeBaseName().toUtf8(), QCryptographicHash::Md5).toHex().toStdString() + "."
               + ending.toStdString();
    image.format = ending.toUpper().toStdString();
    return image;
}

struct ZipClose {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

// A Tellico .tc file: a zip holding tellico.xml and the images under images/.
// libzip writes the archive beside its name and renames it into place when
// whole, so a failure leaves an earlier file as it was.
void writeTellicoArchive(const std::string& path, const std::string& xmlFile,
                         const std::vector<std::pair<std::string, std::string>>& images)
{
    int error = 0;
    std::unique_ptr<zip_t, ZipClose> archive(zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error));
    const auto failed = [&](zip_t* z) {
        zip_error_t why;
        zip_error_init_with_code(&why, error);
        const std::string text = z ? zip_strerror(z) : zip_error_strerror(&why);
        zip_error_fini(&why);
        return db::DbError(path, db::Message{TRANSLATABLE("exchange", "The archive \"%1\" could not be written: %2"),
                                             {path, text}});
    };
    if (!archive)
        throw failed(nullptr);
    const auto add = [&](const std::string& name, const std::string& file, bool compress) {
        zip_source_t* source = zip_source_file(archive.get(), file.c_str(), 0, -1);
        const zip_int64_t at = source ? zip_file_add(archive.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (at < 0) {
            zip_source_free(source);
            throw failed(archive.get());
        }
        // Pictures are compressed already: stored as they are.
        zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(at), compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    };
    add("tellico.xml", xmlFile, true);
    for (const auto& [name, file] : images)
        add("images/" + name, file, false);
    if (zip_close(archive.get()) != 0)
        throw failed(archive.get());
    archive.release(); // closed: written and freed
}

} // namespace

ExportResult exportTellico(db::Table& table, const std::string& path, const ExportOptions& options)
{
    std::vector<int> tableFields;
    for (const db::SchemaField& f : db::collectionSchema())
        tableFields.push_back(table.fieldIndex(f.name));
    // A .tc file is an archive of the XML and its images; a bare XML file has its images
    // beside it in "<name>_files", where Tellico keeps them.
    const QFileInfo target(QString::fromStdString(path));
    const bool archive = target.suffix().compare("tc", Qt::CaseInsensitive) == 0;
    const covers::CoverFiles covers(table.filePath());
    const bool pictured = options.withCovers && covers.any();
    const std::string imagesFolder = target.absolutePath().toStdString() + "/" + target.completeBaseName().toStdString() + "_files";
    const std::string xmlPath = archive ? path + ".rk-tellico.xml" : path;
    std::map<std::string, std::string> images; // id -> cover file
    PictureCopies copies;
    ExportResult result = runExport(table, xmlPath, options, [&](db::File& file) {
        db::BackgroundWriter out(file);
        out.buffer() += tellicoStart();
        int id = 0;
        const uint64_t written = walkRecords(table, options, [&](const char* bytes) {
            const CollectionValues values = collectionValuesOf(db::Record(&table.fields(), bytes), tableFields);
            std::string cover;
            if (pictured) {
                if (const std::string picture = covers.fileOf(values[valueIndex("Title")], values[valueIndex("Year")]); !picture.empty()) {
                    cover = tellicoImageOf(picture).id;
                    if (images.emplace(cover, picture).second && !archive)
                        copies.copy(picture, imagesFolder + "/" + cover);
                }
            }
            out.buffer() += tellicoEntry(values, ++id, cover);
            out.flushIfFull();
        });
        std::vector<TellicoImage> listed;
        for (const auto& [id, picture] : images) {
            TellicoImage image = tellicoImageOf(picture);
            const QSize size = QImageReader(QString::fromStdString(picture)).size();
            image.width = std::max(size.width(), 0);
            image.height = std::max(size.height(), 0);
            listed.push_back(image);
        }
        out.buffer() += tellicoEnd(listed);
        out.finish();
        return written;
    });
    result.covers = archive ? 0 : copies.finish();
    result.coversNotWritten = copies.failures();
    if (archive && !result.cancelled) {
        const std::vector<std::pair<std::string, std::string>> members(images.begin(), images.end());
        try {
            writeTellicoArchive(path, xmlPath, members);
        } catch (...) {
            QFile::remove(QString::fromStdString(xmlPath));
            throw;
        }
        QFile::remove(QString::fromStdString(xmlPath));
        result.covers = members.size();
    }
    return result;
}

ExportResult exportKodi(db::Table& table, const std::string& folder, const ExportOptions& options)
{
    std::vector<int> tableFields;
    for (const db::SchemaField& f : db::collectionSchema())
        tableFields.push_back(table.fieldIndex(f.name));
    if (!QDir().mkpath(QString::fromStdString(folder)))
        throw db::DbError(folder, db::Message{TRANSLATABLE("exchange", "The folder \"%1\" could not be made."), {folder}});
    const covers::CoverFiles covers(table.filePath());
    PictureCopies copies;
    std::map<std::string, int> named; // how many films had each folder's name
    ExportResult result;
    const db::Table::ControlsDisabled quiet(table);
    try {
        result.written = walkRecords(table, options, [&](const char* bytes) {
            const CollectionValues values = collectionValuesOf(db::Record(&table.fields(), bytes), tableFields);
            const std::string& title = values[valueIndex("Title")];
            const std::string& year = values[valueIndex("Year")];
            std::string name = covers::coverBaseName(title, year);
            if (name.empty())
                name = "Untitled";
            if (const int before = named[name]++; before > 0)
                name += " [" + std::to_string(before + 1) + "]";
            const std::string film = folder + "/" + name;
            const std::string nfo = nfoXml(values);
            QDir().mkpath(QString::fromStdString(film));
            QSaveFile out(QString::fromStdString(film + "/" + name + ".nfo"));
            if (!out.open(QIODevice::WriteOnly) || out.write(nfo.data(), static_cast<qint64>(nfo.size())) != static_cast<qint64>(nfo.size())
                || !out.commit())
                throw db::DbError(out.fileName().toStdString(),
                                  db::Message{TRANSLATABLE("exchange", "The file \"%1\" could not be written: %2"),
                                              {out.fileName().toStdString(), out.errorString().toStdString()}});
            if (options.withCovers)
                if (const std::string picture = covers.fileOf(title, year); !picture.empty())
                    copies.copy(picture, film + "/" + name + "-poster." + QFileInfo(QString::fromStdString(picture)).suffix().toLower().toStdString());
        });
    } catch (const Cancelled&) {
        result.cancelled = true;
    }
    result.covers = copies.finish();
    result.coversNotWritten = copies.failures();
    return result;
}

namespace {

// A text as a JSON string that cannot end the script element holding it.
void appendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '<': out += "\\u003c"; break;
        default:
            if (u < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// Which of the columns hold something in at least one of the visible records:
// a column empty throughout is left off the page.
std::vector<bool> columnsHoldingValues(db::Table& table, const std::vector<ExportField>& columns)
{
    std::vector<std::vector<char>> found(table.scanWorkers(), std::vector<char>(columns.size(), 0));
    const std::vector<db::FieldDef>& fields = table.fields();
    table.scanVisibleInParallel([&](unsigned worker, const char* bytes, uint32_t) {
        const db::Record record(&fields, bytes);
        std::vector<char>& mine = found[worker];
        for (size_t i = 0; i < columns.size(); ++i)
            if (!mine[i] && !db::trimBoth(record.raw(columns[i].tableField)).empty())
                mine[i] = 1;
    });
    std::vector<bool> holding(columns.size(), false);
    for (const std::vector<char>& mine : found)
        for (size_t i = 0; i < columns.size(); ++i)
            holding[i] = holding[i] || mine[i];
    return holding;
}

constexpr uint64_t kRowsInThePage = 100;
constexpr int kWebCoverSide = 240; // pixels: sharp at the cell's size on a screen of twice the density // the first screen, shown before the script has run

std::string replacedFirst(std::string text, std::string_view what, const std::string& by)
{
    if (const size_t at = text.find(what); at != std::string::npos)
        text.replace(at, what.size(), by);
    return text;
}

} // namespace

ExportResult exportHtml(db::Table& table, const std::vector<ExportField>& allColumns, const std::string& path,
                        const std::string& title, const ExportOptions& options)
{
    std::vector<ExportField> columns;
    const std::vector<bool> holding = columnsHoldingValues(table, allColumns);
    for (size_t i = 0; i < allColumns.size(); ++i)
        if (holding[i])
            columns.push_back(allColumns[i]);
    if (columns.empty() && !allColumns.empty())
        columns.push_back(allColumns.front()); // an empty collection still has a heading to show
    // The covers go into a folder beside the page ("catalogue_covers" for catalogue.html), scaled for the web.
    const covers::CoverFiles covers(table.filePath());
    const bool pictured = options.withCovers && covers.any();
    const QFileInfo pageFile(QString::fromStdString(path));
    const std::string picturesName = pageFile.completeBaseName().toStdString() + "_covers";
    const std::string picturesFolder = pageFile.absolutePath().toStdString() + "/" + picturesName;
    const int titleField = table.fieldIndex("Title"), yearField = table.fieldIndex("Year");
    PictureCopies copies;
    ExportResult result = runExport(table, path, options, [&](db::File& file) {
        const std::string heading = htmlEscaped(title);
        const auto word = [&](const char* text) { return htmlEscaped(db::spoken(options.speak, text)); };
        std::vector<bool> numeric;
        std::string head = "<thead><tr>";
        if (pictured)
            head += "<th class=\"c\" scope=\"col\">" + word(TRANSLATABLE("exchange", "Cover")) + "</th>";
        std::string chooser;
        for (size_t i = 0; i < columns.size(); ++i) {
            const db::SchemaKind kind = db::schemaField(columns[i].schemaPosition).kind;
            numeric.push_back(kind == db::SchemaKind::WholeNumber || kind == db::SchemaKind::DecimalNumber);
            head += std::string("<th scope=\"col\" aria-sort=\"none\"") + (numeric.back() ? " class=\"n\"" : "")
                    + "><button type=\"button\">" + htmlEscaped(columns[i].label) + "</button></th>";
            chooser += "<label><input type=\"checkbox\" data-col=\"" + std::to_string(i) + "\" checked> "
                       + htmlEscaped(columns[i].label) + "</label>";
        }
        head += "</tr></thead>\n";
        db::BackgroundWriter out(file);
        std::string& page = out.buffer();
        // The count before the script has run: the records the table shows.
        const uint64_t expected = table.recordCount();
        const std::string countText = db::spoken(options.speak, expected == 1 ? TRANSLATABLE("exchange", "%1 video")
                                                                              : TRANSLATABLE("exchange", "%1 videos"));
        // The page's language is the program's: its catalogue names it ("de" for the German one).
        page += "<!DOCTYPE html>\n<html lang=\"" + word(TRANSLATABLE("exchange", "en"))
                + "\">\n<head>\n<meta charset=\"utf-8\">\n"
                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
                + heading + "</title>\n" + kHtmlStyle + "</head>\n<body>\n<header>\n<h1>" + heading + "</h1>\n"
                + "<div class=\"tools\"><input id=\"filter\" type=\"search\" placeholder=\""
                + word(TRANSLATABLE("exchange", "Search")) + "\" aria-label=\""
                + word(TRANSLATABLE("exchange", "Search the catalogue")) + "\">\n<details id=\"columns\"><summary>"
                + word(TRANSLATABLE("exchange", "Columns")) + "</summary><div>" + chooser + "</div></details></div>\n"
                + "<p id=\"count\">" + htmlEscaped(replacedFirst(countText, "%1", std::to_string(expected)))
                + "</p>\n</header>\n<div id=\"scroll\" class=\"scroll\">\n<table id=\"videos\""
                + (pictured ? " class=\"pictured\"" : "") + ">\n" + head + "<tbody>\n";
        // The first screen of rows as a table, shown at once; every row as
        // data for the script after it. The data of the first rows waits
        // until they are written; the rest streams out.
        std::string held = "[";
        bool streaming = false;
        const auto startData = [&] {
            page += "</tbody>\n</table>\n</div>\n<script type=\"application/json\" id=\"data\">";
            page += held;
            held = {};
            streaming = true;
        };
        uint64_t seen = 0;
        db::RecordTexts texts(table.fields());
        const uint64_t written = walkRecords(table, options, [&](const char* bytes) {
            const std::vector<std::string_view>& values = texts.read(bytes);
            std::string src; // the cover's address, relative to the page
            if (pictured) {
                const std::string_view title = values[static_cast<size_t>(titleField)];
                const std::string_view year = yearField >= 0 ? values[static_cast<size_t>(yearField)] : std::string_view();
                if (const std::string cover = covers.fileOf(title, year); !cover.empty()) {
                    const std::string name = covers::coverBaseName(title, year) + "." + webEnding(cover);
                    copies.copy(cover, picturesFolder + "/" + name, kWebCoverSide);
                    src = urlPath(picturesName + "/" + name);
                }
            }
            std::string& data = streaming ? page : held;
            data += ++seen > 1 ? ",[" : "[";
            for (size_t i = 0; i < columns.size(); ++i) {
                if (i)
                    data += ',';
                appendJsonString(data, values[static_cast<size_t>(columns[i].tableField)]);
            }
            if (pictured) {
                data += ',';
                appendJsonString(data, src);
            }
            data += ']';
            if (seen <= kRowsInThePage) {
                page += "<tr>";
                if (pictured)
                    page += "<td class=\"c\">" + (src.empty() ? std::string() : "<img loading=\"lazy\" alt=\"\" src=\"" + htmlEscaped(src) + "\">") + "</td>";
                for (size_t i = 0; i < columns.size(); ++i) {
                    page += numeric[i] ? "<td class=\"n\">" : "<td>";
                    page += htmlEscaped(values[static_cast<size_t>(columns[i].tableField)]);
                    page += "</td>";
                }
                page += "</tr>\n";
                if (seen == kRowsInThePage)
                    startData();
            }
            if (streaming)
                out.flushIfFull();
        });
        if (!streaming)
            startData();
        page += "]";
        page += "</script>\n";
        page += htmlScript(options.speak);
        page += "</body>\n</html>\n";
        out.finish();
        return written;
    });
    result.covers = copies.finish();
    result.coversNotWritten = copies.failures();
    return result;
}

} // namespace exchange
