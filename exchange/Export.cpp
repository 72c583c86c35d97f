#include "Export.h"

#include "DbError.h"
#include "DbfFormat.h"
#include "DelimitedText.h"
#include "FileIO.h"
#include "RecordTexts.h"
#include "Schema.h"
#include "Table.h"

#include <condition_variable>
#include <deque>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>

namespace exchange {

namespace {

constexpr size_t kFlushSize = size_t{4} << 20;
constexpr char kEndOfFileMark = 0x1A;

// Output gathered in memory and written in large pieces by a thread of its
// own, so that the copy into the file system overlaps the formatting of the
// next piece. A write's failure is thrown by the next flush.
class BufferedOutput {
public:
    explicit BufferedOutput(db::File& file)
        : m_file(file)
        , m_writer([this] { writeLoop(); })
    {
        m_buffer.reserve(kFlushSize + 64 * 1024);
    }
    ~BufferedOutput()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_writer.join();
    }
    std::string& buffer() { return m_buffer; }
    void flushIfFull()
    {
        if (m_buffer.size() >= kFlushSize)
            flush();
    }
    // Hands the buffer to the writer (after the piece before it is written).
    void flush()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_pending; });
        if (m_failure)
            std::rethrow_exception(m_failure);
        m_writing.swap(m_buffer);
        m_buffer.clear();
        m_pending = true;
        lock.unlock();
        m_changed.notify_all();
    }
    // Waits until everything handed over is written.
    void finish()
    {
        flush();
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_pending; });
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    void writeLoop()
    {
        std::unique_lock lock(m_mutex);
        while (true) {
            m_changed.wait(lock, [this] { return m_pending || m_stop; });
            if (!m_pending)
                return;
            lock.unlock();
            std::exception_ptr failure;
            try {
                m_file.writeAt(m_offset, m_writing.data(), m_writing.size());
                m_offset += m_writing.size();
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            if (failure && !m_failure)
                m_failure = failure;
            m_pending = false;
            m_changed.notify_all();
        }
    }

    db::File& m_file;
    std::string m_buffer;
    std::string m_writing;
    uint64_t m_offset = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_pending = false;
    bool m_stop = false;
    std::exception_ptr m_failure;
    std::thread m_writer;
};

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
        batch = std::move(m_queue.front());
        m_queue.pop_front();
        m_changed.notify_all();
        return true;
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
                batch.clear();
                batch.reserve(kBatchRecords * batches.length());
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
        BufferedOutput out(file);
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
        BufferedOutput out(file);
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
            throw db::DbError(path, "Too many records for one dBASE file");
        const std::string count = db::headerCountBytes(static_cast<uint32_t>(written));
        file.writeAt(1, count.data(), count.size());
        return written;
    });
}

} // namespace exchange
