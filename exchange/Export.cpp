#include "Export.h"

#include "DbError.h"
#include "DbfFormat.h"
#include "DelimitedText.h"
#include "FileIO.h"
#include "RecordTexts.h"
#include "Schema.h"
#include "Table.h"

#include <condition_variable>
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

// Walks the visible records from the first, calling write for each and
// reporting progress; a cancel throws Cancelled, which removes the output.
template <class Write>
uint64_t walkRecords(db::Table& table, const ExportOptions& options, const Write& write)
{
    uint64_t written = 0;
    for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
        write(table.current().bytes());
        ++written;
        if (options.progress && !options.progress(written))
            throw Cancelled{};
    }
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
