#include "Export.h"

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

#include <condition_variable>
#include <deque>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>

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

    // Called by the walk: a full batch waits while two are queued.
    void put(std::vector<char>&& batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.size() < 2 || m_failed; });
        if (m_failed)
            return;
        m_queue.push_back(std::move(batch));
        m_changed.notify_all();
    }
    void close()
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_changed.notify_all();
    }
    // Called by the formatting: the next batch, or false once the walk is done.
    bool take(std::vector<char>& batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_closed; });
        if (m_queue.empty())
            return false;
        if (batch.capacity() > 0)
            m_spare.push_back(std::move(batch));
        batch = std::move(m_queue.front());
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
    size_t m_length;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<char>> m_queue;
    std::vector<std::vector<char>> m_spare;
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

template <class Body>
ExportResult runExport(db::Table& table, const std::string& path, const ExportOptions& options, const Body& body)
{
    ExportResult result;
    // The main window's grid does not follow the cursor while the records are walked.
    table.disableControls();
    struct Enable {
        db::Table& table;
        ~Enable() { table.enableControls(); }
    } enable{table};
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
        if (options.header) {
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i > 0)
                    line += ',';
                appendQuotedValue(line, fields[i].label);
            }
            endLine();
        }
        db::RecordTexts texts(table.fields());
        const uint64_t written = walkRecords(table, options, [&](const char* bytes) {
            const std::vector<std::string_view>& values = texts.read(bytes);
            for (size_t i = 0; i < fields.size(); ++i) {
                if (i > 0)
                    line += ',';
                appendQuotedValue(line, values[static_cast<size_t>(fields[i].tableField)]);
            }
            endLine();
        });
        out.finish();
        return written;
    });
}

ExportResult exportDbf(db::Table& table, const std::vector<ExportField>& fields, const std::string& path,
                       const ExportOptions& options)
{
    return runExport(table, path, options, [&](db::File& file) {
        const db::DbfHeader header = db::makeDbfHeader(dbfFieldsOf(fields));
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
                    value = record.text(fields[i].tableField);
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
        values[p] = db::cp1252ToUtf8(record.text(field));
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

// The page around the rows: its look (light or dark as the reader's device is), then the
// search box and the sorting, in plain script that needs nothing from a network.
const char* const kHtmlStyle = R"(<style>
body{font-family:system-ui,sans-serif;margin:0;padding:1em;color:#111;background:#fff}
h1{font-size:1.3em;margin:0 0 .5em}
#filter{width:100%;max-width:30em;font-size:1em;padding:.4em;box-sizing:border-box}
.scroll{overflow-x:auto}
table{border-collapse:collapse;margin-top:.5em}
th,td{border:1px solid #bbb;padding:.25em .5em;text-align:left;vertical-align:top}
th{background:#e8e8e8;white-space:nowrap;position:sticky;top:0}
th button{all:inherit;cursor:pointer;border:0;padding:0;background:none}
th[aria-sort=ascending] button::after{content:" \25B2"}
th[aria-sort=descending] button::after{content:" \25BC"}
td.n{text-align:right}
tbody tr:nth-child(even) td{background:#f6f6f6}
@media (prefers-color-scheme:dark){body{background:#121212;color:#eee}th{background:#333}th,td{border-color:#555}
tbody tr:nth-child(even) td{background:#1c1c1c}}
</style>
)";

// The page's script, after the words it shows (the object said, in the
// language of the program that wrote the page).
const char* const kHtmlScript = R"(
  var body = document.querySelector('#videos tbody');
  var rows = Array.prototype.slice.call(body.rows);
  var count = document.getElementById('count');
  var fold = function (s) { return s.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase(); };
  rows.forEach(function (r) { r.key = fold(r.textContent); });
  var show = function (n) {
    var form = n === rows.length ? (n === 1 ? said.one : said.many) : (rows.length === 1 ? said.partOne : said.partMany);
    count.textContent = form.replace('%1', n).replace('%2', rows.length);
  };
  document.getElementById('filter').addEventListener('input', function () {
    var words = fold(this.value).split(/\s+/).filter(Boolean), n = 0;
    rows.forEach(function (r) {
      var hit = words.every(function (w) { return r.key.indexOf(w) >= 0; });
      r.hidden = !hit;
      if (hit) n++;
    });
    show(n);
  });
  var heads = document.querySelectorAll('#videos th');
  var collator = new Intl.Collator(undefined, {sensitivity: 'base', numeric: true});
  Array.prototype.forEach.call(heads, function (th, col) {
    th.querySelector('button').addEventListener('click', function () {
      var up = th.getAttribute('aria-sort') !== 'ascending';
      Array.prototype.forEach.call(heads, function (h) { h.setAttribute('aria-sort', 'none'); });
      th.setAttribute('aria-sort', up ? 'ascending' : 'descending');
      var numeric = th.className === 'n';
      rows.forEach(function (r, i) {
        r.place = i;
        r.value = numeric ? parseFloat(r.cells[col].textContent) || 0 : r.cells[col].textContent;
      });
      var compare = numeric ? function (x, y) { return x - y; } : collator.compare;
      rows.sort(function (a, b) { return (up ? 1 : -1) * compare(a.value, b.value) || a.place - b.place; });
      rows.forEach(function (r) { body.appendChild(r); });
    });
  });
  show(rows.length);
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
    return "Reelkeeper Videos (" + db::utf8ToCp1252(name) + ")";
}

ExportResult exportTellico(db::Table& table, const std::string& path, const ExportOptions& options)
{
    std::vector<int> tableFields;
    for (const db::SchemaField& f : db::collectionSchema())
        tableFields.push_back(table.fieldIndex(f.name));
    return runExport(table, path, options, [&](db::File& file) {
        db::BackgroundWriter out(file);
        out.buffer() += tellicoStart();
        int id = 0;
        const uint64_t written = walkRecords(table, options, [&](const char* bytes) {
            out.buffer() += tellicoEntry(collectionValuesOf(db::Record(&table.fields(), bytes), tableFields), ++id);
            out.flushIfFull();
        });
        out.buffer() += tellicoEnd();
        out.finish();
        return written;
    });
}

ExportResult exportHtml(db::Table& table, const std::vector<ExportField>& columns, const std::string& path,
                        const std::string& title, const ExportOptions& options)
{
    return runExport(table, path, options, [&](db::File& file) {
        db::BackgroundWriter out(file);
        std::string& page = out.buffer();
        const std::string heading = htmlEscaped(db::cp1252ToUtf8(title));
        const auto word = [&](const char* text) { return htmlEscaped(db::spoken(options.speak, text)); };
        // The page's language is the program's: its catalogue names it ("de" for the German one).
        page += "<!DOCTYPE html>\n<html lang=\"" + word(TRANSLATABLE("exchange", "en"))
                + "\">\n<head>\n<meta charset=\"utf-8\">\n"
                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
                + heading + "</title>\n" + kHtmlStyle + "</head>\n<body>\n<h1>" + heading + "</h1>\n"
                + "<input id=\"filter\" type=\"search\" placeholder=\"" + word(TRANSLATABLE("exchange", "Search"))
                + "\" aria-label=\"" + word(TRANSLATABLE("exchange", "Search the catalogue"))
                + "\">\n<p id=\"count\"></p>\n<div class=\"scroll\">\n<table id=\"videos\">\n<thead><tr>";
        std::vector<bool> numeric;
        for (const ExportField& column : columns) {
            const db::SchemaKind kind = db::schemaField(column.schemaPosition).kind;
            numeric.push_back(kind == db::SchemaKind::WholeNumber || kind == db::SchemaKind::DecimalNumber);
            page += std::string("<th scope=\"col\" aria-sort=\"none\"") + (numeric.back() ? " class=\"n\"" : "")
                    + "><button type=\"button\">" + htmlEscaped(db::cp1252ToUtf8(column.label)) + "</button></th>";
        }
        page += "</tr></thead>\n<tbody>\n";
        db::RecordTexts texts(table.fields());
        const uint64_t written = walkRecords(table, options, [&](const char* bytes) {
            const std::vector<std::string_view>& values = texts.read(bytes);
            page += "<tr>";
            for (size_t i = 0; i < columns.size(); ++i) {
                page += numeric[i] ? "<td class=\"n\">" : "<td>";
                page += htmlEscaped(db::cp1252ToUtf8(values[static_cast<size_t>(columns[i].tableField)]));
                page += "</td>";
            }
            page += "</tr>\n";
            out.flushIfFull();
        });
        page += "</tbody>\n</table>\n</div>\n";
        page += htmlScript(options.speak);
        page += "</body>\n</html>\n";
        out.finish();
        return written;
    });
}

} // namespace exchange
