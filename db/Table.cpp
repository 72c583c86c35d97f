#include "Table.h"

#include "DbError.h"
#include "Ascii.h"
#include "EditText.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>
#include <filesystem>

namespace db {

namespace {

// Lock bytes lie far beyond any real data (see FileIO.h).
constexpr uint64_t kOpenLock = 1ULL << 62;
constexpr uint64_t kUpdateLock = kOpenLock + 1;
constexpr size_t kChunkBytes = 256 * 1024;

} // namespace

// The update lock: shared while reading a consistent piece of the table,
// exclusive while writing. An exclusively opened table needs none.
class Table::UpdateLock {
public:
    // Nested locks of one table object share the outermost one; a nested
    // exclusive request upgrades it for the rest of the outer scope.
    UpdateLock(Table& table, File::LockKind kind)
        : m_table(table)
        , m_held(table.m_mode != OpenMode::Exclusive)
    {
        if (!m_held)
            return;
        if (m_table.m_lockDepth == 0 || (kind == File::LockKind::Exclusive && !m_table.m_lockExclusive)) {
            m_table.m_file.lock(kUpdateLock, kind);
            m_table.m_lockExclusive = kind == File::LockKind::Exclusive;
        }
        ++m_table.m_lockDepth;
    }
    ~UpdateLock()
    {
        if (m_held && --m_table.m_lockDepth == 0) {
            m_table.m_file.unlock(kUpdateLock);
            m_table.m_lockExclusive = false;
        }
    }
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

private:
    Table& m_table;
    bool m_held;
};

Table::Table() = default;

Table::~Table()
{
    try {
        close();
    } catch (...) {
        // Closing never throws out of a destructor; an unflushed index is
        // left unclean and rebuilt at the next open.
    }
}

// ---------------------------------------------------------------- naming

void Table::setDatabaseName(const std::string& folder)
{
    m_folder = folder;
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

void Table::setTableName(const std::string& name)
{
    const std::string base = std::filesystem::path(name).filename().string();
    const size_t dot = base.find('.');
    m_name = base.substr(0, dot);
    m_extension = ".DBF";
    if (dot != std::string::npos) {
        const size_t last = base.rfind('.');
        const std::string ext = base.substr(last);
        if (upperAscii(ext) == ".DBF")
            m_extension = ext;
    }
}

void Table::setFilePath(const std::string& path)
{
    std::filesystem::path p = std::filesystem::absolute(path);
    setDatabaseName(p.parent_path().string());
    setTableName(p.filename().string());
}

std::string Table::filePath() const
{
    const std::string folder = m_folder.empty() ? std::string(".") : m_folder;
    const std::string prefix = folder == "/" ? folder : folder + "/";
    std::string path = prefix + m_name + m_extension;
    if (!fileExists(path)) {
        // Linux names are case-sensitive: accept the other spelling of the extension.
        const std::string other = prefix + m_name + (m_extension == ".DBF" ? ".dbf" : ".DBF");
        if (fileExists(other))
            return other;
    }
    return path;
}

std::string indexPathOfTableFile(const std::string& table)
{
    if (table.size() < 4 || upperAscii(table.substr(table.size() - 4)) != ".DBF")
        return {};
    // The index's extension is written in the case of the table's: movies.dbf, movies.mdx.
    const std::string ext = table.substr(table.size() - 4);
    std::string index = ".MDX";
    for (size_t i = 1; i < 4; ++i)
        if (std::islower(static_cast<unsigned char>(ext[i])))
            index[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(index[i])));
    return table.substr(0, table.size() - 4) + index;
}

std::string Table::indexPath() const
{
    return indexPathOfTableFile(filePath());
}

// ---------------------------------------------------------------- open and close

void Table::open(OpenMode mode)
{
    if (active())
        throw DbError(filePath(), "The table is already open");
    if (m_name.empty())
        throw DbError("", "No table name given");
    const std::string path = filePath();
    if (!fileExists(path))
        throw DbError(path, "Table does not exist");
    m_mode = mode;
    try {
        if (mode == OpenMode::ReadOnly) {
            m_file.open(path, File::Mode::ReadOnly);
        } else {
            try {
                m_file.open(path, File::Mode::ReadWrite);
            } catch (const DbError&) {
                if (mode == OpenMode::Exclusive)
                    throw;
                m_file.open(path, File::Mode::ReadOnly); // a write-protected file is still readable
            }
        }
        const bool exclusive = mode == OpenMode::Exclusive;
        if (!m_file.tryLock(kOpenLock, exclusive ? File::LockKind::Exclusive : File::LockKind::Shared))
            throw DbError(path, exclusive ? "The table is in use by another program and cannot be opened exclusively"
                                          : "The table is opened exclusively by another program");
        {
            UpdateLock read(*this, File::LockKind::Shared);
            m_header = readDbfHeader(m_file, CountCheck::Lenient);
            noteCountProblem();
        }
        if (exclusive && m_file.writable())
            removeStaleWorkFiles();
        m_state = State::Browse;
        changed();
        openIndex();
        if (!m_selectedTag.empty() && selectedTagNumber() < 0)
            throw DbError(indexPath(), "Index tag " + m_selectedTag + " does not exist");
        invalidateChunk();
        first();
    } catch (...) {
        m_index.close();
        m_indexOpen = false;
        m_file.close();
        m_state = State::Inactive;
        throw;
    }
}

void Table::noteCountProblem()
{
    // A crash between writing records and writing the count, or a copy by
    // another program, can leave the count and the file apart. The table
    // shows the whole records the count and the file agree on; pack() writes
    // a consistent file.
    m_fileProblem.clear();
    m_fileNote.clear();
    const uint64_t size = m_file.size();
    const auto whole = static_cast<uint32_t>((size - m_header.headerLength) / m_header.recordLength);
    if (m_header.countedRecords > m_header.recordCount)
        m_fileProblem = "Damaged dBASE table: the header counts " + std::to_string(m_header.countedRecords)
            + " records but the file holds " + std::to_string(m_header.recordCount)
            + "; the records there are can be read, and packing the table writes a consistent file";
    else if (whole > m_header.recordCount)
        // What an append cut short leaves: harmless to every reader, as the
        // count does not reach it, and the next append writes over it.
        m_fileNote = "The header counts " + std::to_string(m_header.recordCount) + " records but the file holds "
            + std::to_string(whole) + " (a change was cut short); packing the table keeps the records past the count";
}

void Table::removeStaleWorkFiles()
{
    // Work files beside the table belong to an open that has ended: under
    // exclusive use nobody else is packing or creating it.
    const std::string real = resolvedPath(filePath());
    for (const char* suffix : {".rk-pack", ".rk-new"}) {
        try {
            removeFile(real + suffix);
        } catch (const DbError&) {
            // One we cannot remove is only in the way; the next pack overwrites it.
        }
    }
}

void Table::close()
{
    if (!active())
        return;
    if (m_state != State::Browse)
        cancel();
    endBatch();
    m_state = State::Inactive;
    m_edit.clear();
    m_currentBytes = nullptr;
    m_currentCopy.clear();
    m_recNo = 0;
    m_bof = m_eof = true;
    m_chunkCount = 0;
    releaseWindow();
    m_readAhead.reset();
    m_expressions.clear();
    m_indexOpen = false;
    m_cursor = {};
    try {
        // Changes held back under exclusive use reach the device, the
        // records before the index that lists them.
        if (m_mode == OpenMode::Exclusive && m_file.writable())
            m_file.sync();
        m_index.close();
    } catch (...) {
        m_file.close();
        m_indexProblem.clear();
        throw;
    }
    m_file.close();
    m_indexProblem.clear();
    notify();
}

void Table::requireActive(const char* what) const
{
    if (!active())
        throw DbError(filePath(), std::string("Cannot ") + what + ": the table is not open");
}

void Table::requireBrowse(const char* what) const
{
    requireActive(what);
    if (m_state != State::Browse)
        throw DbError(filePath(), std::string("Cannot ") + what + ": a record is being edited");
}

int Table::fieldIndex(std::string_view name) const
{
    for (size_t i = 0; i < m_header.fields.size(); ++i)
        if (sameLetters(m_header.fields[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int Table::requireField(std::string_view name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(filePath(), "Field " + std::string(name) + " not found");
    return index;
}

// ---------------------------------------------------------------- create

void Table::createTable(const std::string& path, const std::vector<FieldDef>& fields)
{
    DbfHeader header = makeDbfHeader(fields);
    for (const FieldDef& f : header.fields)
        if (std::count_if(header.fields.begin(), header.fields.end(),
                          [&](const FieldDef& g) { return sameLetters(f.name, g.name); })
            > 1)
            throw DbError(path, "Field name " + f.name + " is used twice");
    if (fileExists(path)) {
        File existing;
        existing.open(path, File::Mode::ReadOnly);
        if (existing.lockedElsewhere(kOpenLock))
            throw DbError(path, "The table is in use by another program and cannot be replaced");
    }
    const std::string real = resolvedPath(path);
    const std::string temporary = real + ".rk-new";
    try {
        File out;
        out.open(temporary, File::Mode::CreateTruncate);
        out.takeModeAndOwnerOf(real);
        std::string bytes = serializeDbfHeader(header);
        bytes += '\x1A';
        out.writeAt(0, bytes.data(), bytes.size());
        out.sync();
        out.close();
        replaceFile(temporary, real);
    } catch (...) {
        try {
            removeFile(temporary);
        } catch (...) {
        }
        throw;
    }
    // A new table starts without an index; an old index of the file just
    // written would only be rebuilt. No other table's index is touched.
    const std::string index = indexPathOfTableFile(path);
    if (!index.empty())
        removeFile(index);
}

// ---------------------------------------------------------------- records and visibility

void Table::notify()
{
    // Views re-check the generation on every notification.
    if (m_disabled > 0) {
        m_pendingNotify = true;
        return;
    }
    m_pendingNotify = false;
    if (m_listener)
        m_listener();
}

void Table::disableControls()
{
    ++m_disabled;
}

void Table::enableControls()
{
    if (m_disabled > 0 && --m_disabled == 0 && m_pendingNotify)
        notify();
}

bool Table::visible(const char* bytes) const
{
    if (bytes[0] == '*')
        return false;
    return !m_filtered || !m_filter || m_filter(Record(&m_header.fields, bytes));
}

void Table::rereadRecordCount()
{
    if ((m_mode == OpenMode::Exclusive || inBatch()) && m_state != State::Inactive && m_header.recordLength != 0)
        return; // nobody else can change the count
    readRecordCountFromFile();
}

void Table::readRecordCountFromFile()
{
    unsigned char count[4];
    m_file.readAt(kHeaderRecordCountOffset, count, 4);
    const uint32_t n = count[0] | (count[1] << 8) | (count[2] << 16) | (static_cast<uint32_t>(count[3]) << 24);
    if (n == m_header.recordCount)
        return;
    const uint64_t limit = m_file.size() < m_header.headerLength
        ? 0
        : (m_file.size() - m_header.headerLength) / m_header.recordLength;
    // A count past the end of the file (a crash between a count and its
    // records, a file cut short) gives the whole records there are.
    const auto records = static_cast<uint32_t>(std::min<uint64_t>(n, limit));
    if (records != m_header.recordCount)
        invalidateChunk();
    m_header.recordCount = records;
    m_header.countedRecords = n;
    if (n > limit)
        noteCountProblem();
}

const char* Table::readRecord(uint32_t recNo, int direction)
{
    if (m_pendingCount && recNo > m_header.recordCount - m_pendingCount)
        writePendingAppends();
    const size_t length = m_header.recordLength;
    if (m_chunkCount && recNo >= m_chunkFirst && recNo < m_chunkFirst + m_chunkCount)
        return m_chunkData + (recNo - m_chunkFirst) * length;
    if (recNo == 0 || recNo > m_header.recordCount)
        throw DbError(m_file.path(), "Record " + std::to_string(recNo) + " does not exist");
    keepCurrentOutOfChunk();
    if (direction > 0 && mapWindow(recNo))
        return m_chunkData;
    const uint32_t per = direction == 0 ? 1 : static_cast<uint32_t>(std::max<size_t>(1, kChunkBytes / length));
    const uint32_t start = direction >= 0 ? recNo : (recNo >= per ? recNo - per + 1 : 1);
    const uint32_t n = std::min(per, m_header.recordCount - start + 1);
    m_chunk.resize(static_cast<size_t>(n) * length);
    size_t got;
    {
        // A single record is read without the lock; edit() re-reads it under the lock.
        std::optional<UpdateLock> read;
        if (n > 1)
            read.emplace(*this, File::LockKind::Shared);
        got = m_file.readSomeAt(m_header.headerLength + static_cast<uint64_t>(start - 1) * length,
                                m_chunk.data(), m_chunk.size());
    }
    m_chunkData = m_chunk.data();
    m_chunkFirst = start;
    m_chunkCount = static_cast<uint32_t>(got / length);
    if (recNo >= m_chunkFirst + m_chunkCount)
        throw DbError(m_file.path(), "Record " + std::to_string(recNo) + " lies beyond the end of the file");
    return m_chunkData + (recNo - m_chunkFirst) * length;
}

bool Table::mapWindow(uint32_t start)
{
    // Forward scans read through a mapped window: no copy, and at most the
    // window's pages count towards the program's memory.
    constexpr size_t kWindowBytes = 8 * 1024 * 1024;
    const size_t length = m_header.recordLength;
    struct Window {
        uint32_t count;
        uint64_t offset;  // of the first record
        uint64_t aligned; // where the mapping starts
        size_t mapLength;
    };
    auto windowAt = [&](uint32_t first) {
        Window w{};
        w.count = std::min<uint32_t>(static_cast<uint32_t>(std::max<size_t>(1, kWindowBytes / length)),
                                     m_header.recordCount - first + 1);
        w.offset = m_header.headerLength + static_cast<uint64_t>(first - 1) * length;
        w.aligned = w.offset - w.offset % File::pageSize();
        w.mapLength = static_cast<size_t>(w.offset + static_cast<uint64_t>(w.count) * length - w.aligned);
        return w;
    };
    const Window w = windowAt(start);
    if (w.count < 2)
        return false;
    const bool following = m_mapped && start == m_windowEnd;
    releaseWindow();
    const char* view = m_readAhead ? m_readAhead->take(w.aligned, w.mapLength) : nullptr;
    if (!view)
        view = m_file.map(w.aligned, w.mapLength);
    if (!view)
        return false;
    m_mapped = view;
    m_mappedLength = w.mapLength;
    m_chunkData = view + (w.offset - w.aligned);
    m_chunkFirst = start;
    m_chunkCount = w.count;
    m_windowEnd = start + w.count;
    // A scan that has gone on past one window goes on: the next window is
    // mapped on the side while this one is read.
    if (following && m_windowEnd <= m_header.recordCount && windowAt(m_windowEnd).count >= 2) {
        try {
            if (!m_readAhead)
                m_readAhead = std::make_unique<ReadAhead>(m_file);
        } catch (const std::system_error&) {
            return true; // no thread to spare: the scan maps each window itself
        }
        const Window next = windowAt(m_windowEnd);
        m_readAhead->prepare(next.aligned, next.mapLength);
    }
    return true;
}

void Table::releaseWindow()
{
    if (m_readAhead)
        m_readAhead->release(m_mapped, m_mappedLength);
    else
        File::unmap(m_mapped, m_mappedLength);
    m_mapped = nullptr;
    m_mappedLength = 0;
}

bool Table::inChunk(const char* bytes) const
{
    return m_chunkData && bytes >= m_chunkData
        && bytes < m_chunkData + static_cast<size_t>(m_chunkCount) * m_header.recordLength;
}

void Table::updateChunkRecord(uint32_t recNo, const char* bytes)
{
    // A mapped window sees the file's new bytes by itself; a read buffer
    // takes them over, so that a run of changes keeps its read-ahead.
    if (!m_chunkCount || recNo < m_chunkFirst || recNo >= m_chunkFirst + m_chunkCount || m_chunkData != m_chunk.data())
        return;
    char* at = m_chunk.data() + static_cast<size_t>(recNo - m_chunkFirst) * m_header.recordLength;
    if (m_currentBytes == at)
        pinCurrent();
    if (bytes)
        std::memcpy(at, bytes, m_header.recordLength);
    else
        at[0] = '*';
}

void Table::pinCurrent()
{
    if (m_currentBytes && inChunk(m_currentBytes)) {
        m_currentCopy.assign(m_currentBytes, m_currentBytes + m_header.recordLength);
        m_currentBytes = m_currentCopy.data();
    }
}

void Table::keepCurrentOutOfChunk()
{
    pinCurrent();
    m_chunkCount = 0;
}

void Table::setCurrent(uint32_t recNo, const char* bytes)
{
    m_recNo = recNo;
    if (inChunk(bytes)) {
        m_currentBytes = bytes;
    } else {
        if (bytes != m_currentCopy.data())
            m_currentCopy.assign(bytes, bytes + m_header.recordLength);
        m_currentBytes = m_currentCopy.data();
    }
}

void Table::setNoCurrent()
{
    m_recNo = 0;
    m_currentCopy.assign(m_header.recordLength, ' ');
    m_currentBytes = m_currentCopy.data();
    m_bof = m_eof = true;
}

Record Table::current() const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return Record(&m_header.fields, m_edit.data());
    if (!m_currentBytes)
        throw DbError(filePath(), "No current record: the table is not open");
    return Record(&m_header.fields, m_currentBytes);
}

int Table::selectedTagNumber() const
{
    if (m_selectedTag.empty() || !m_indexOpen)
        return -1;
    return m_index.tagNumber(m_selectedTag);
}

// ---------------------------------------------------------------- index repair

template <class Work>
auto Table::repairing(Work&& work) -> decltype(work())
{
    try {
        return work();
    } catch (const IndexDamaged&) {
        repairIndex();
        return work();
    }
}

std::vector<TagDefinition> Table::usableTags(const std::vector<TagDefinition>& definitions) const
{
    std::vector<TagDefinition> usable;
    for (const TagDefinition& d : definitions) {
        try {
            KeyExpression check(d.expression, m_header.fields);
            usable.push_back(d);
        } catch (const DbError&) {
            // A tag whose expression no longer fits the table is dropped.
        }
    }
    return usable;
}

void Table::compileIndexExpressions()
{
    std::vector<KeyExpression> compiled;
    try {
        for (const TagDefinition& d : m_index.tags()) {
            compiled.emplace_back(d.expression, m_header.fields);
            if (compiled.back().keyLength() != d.keyLength)
                throw IndexDamaged("a tag's key length does not match its expression");
        }
    } catch (const DbError&) {
        throw IndexDamaged("a tag's expression does not fit the table");
    }
    m_expressions = std::move(compiled);
    m_expressionsVersion = m_index.definitionsVersion();
}

void Table::synchronizeIndex()
{
    m_index.synchronize();
    if (m_index.definitionsVersion() != m_expressionsVersion) {
        // Another copy added, dropped or redefined a tag: keys from now on
        // follow the new definitions, and the cursor finds its place again.
        compileIndexExpressions();
        changed();
        const int tag = selectedTagNumber();
        if (tag >= 0 && m_recNo != 0 && m_currentBytes)
            IndexFile::placeAt(m_cursor, tag, currentEntry());
        else
            m_cursor = {};
    }
    // Nobody writes while this copy holds the update lock: an unclean index
    // now is the work of a copy that stopped half-way, and is rebuilt.
    if (!m_index.clean() && !m_index.writeBack())
        throw IndexDamaged("another copy stopped half-way through a change of the index");
}

IndexFile::Entry Table::entryOf(int tag, const char* record, uint32_t recNo) const
{
    // Built in place: the key, then the record number.
    const KeyExpression& expression = m_expressions[static_cast<size_t>(tag)];
    const auto keyLength = static_cast<size_t>(expression.keyLength());
    IndexFile::Entry entry(keyLength + 4, ' ');
    expression.evaluate(record, entry.data());
    IndexFile::putRecord(entry.data() + keyLength, recNo);
    return entry;
}

IndexFile::Entry Table::currentEntry() const
{
    return entryOf(selectedTagNumber(), m_currentBytes, m_recNo);
}

bool Table::beginIndexChange()
{
    // Before the table changes: the index learns of other copies' changes
    // and marks itself unclean until the change is complete.
    try {
        synchronizeIndex();
        m_index.beginChange();
    } catch (const IndexDamaged&) {
        m_index.markUnclean();
        return false;
    } catch (...) {
        m_index.markUnclean();
        throw;
    }
    return true;
}

bool Table::updateIndexEntries(const char* oldRecord, const char* newRecord, uint32_t recNo)
{
    // Every tag loses the old record's entry and gains the new one's; an
    // unchanged key is left alone. A damaged page marks the index for a rebuild.
    try {
        for (size_t t = 0; t < m_expressions.size(); ++t) {
            const int tag = static_cast<int>(t);
            const IndexFile::Entry newEntry = newRecord ? entryOf(tag, newRecord, recNo) : IndexFile::Entry();
            const IndexFile::Entry oldEntry = oldRecord ? entryOf(tag, oldRecord, recNo) : IndexFile::Entry();
            if (oldEntry == newEntry)
                continue;
            if (oldRecord)
                m_index.erase(tag, oldEntry);
            if (newRecord)
                m_index.insert(tag, newEntry);
        }
        m_index.endChange(deferWrites() ? TableStamp{} : currentStamp());
    } catch (const IndexDamaged&) {
        m_index.markUnclean();
        return false;
    } catch (...) {
        m_index.markUnclean();
        throw;
    }
    return true;
}

void Table::repairIndex()
{
    m_cursor = {};
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly) {
        // A reader cannot rewrite the index: it goes on in stored order and says so.
        dropIndex("The index " + indexPath() + " is damaged; records are read in stored order");
        return;
    }
    buildIndexFile(usableTags(m_index.tags()));
    if (m_recNo != 0 && selectedTagNumber() >= 0) {
        UpdateLock read(*this, File::LockKind::Shared);
        m_index.seek(m_cursor, selectedTagNumber(), currentEntry());
    }
}

// ---------------------------------------------------------------- navigation

bool Table::seekPhysical(uint32_t from, int direction)
{
    for (int64_t r = from; r >= 1 && r <= m_header.recordCount; r += direction) {
        const char* bytes = readRecord(static_cast<uint32_t>(r), direction);
        if (visible(bytes)) {
            setCurrent(static_cast<uint32_t>(r), bytes);
            return true;
        }
    }
    return false;
}

bool Table::indexStep(bool forward)
{
    bool leavesLeaf = true; // a cursor placed at an entry loads its leaf first
    if (!m_cursor.leaf.empty()) {
        uint16_t count;
        std::memcpy(&count, m_cursor.leaf.data() + 2, 2);
        leavesLeaf = forward ? m_cursor.slot + 1 >= count : m_cursor.slot - 1 < 0;
    }
    if (!leavesLeaf)
        return forward ? m_index.next(m_cursor) : m_index.prior(m_cursor);
    // Crossing to another page: the page may have changed under another writer.
    UpdateLock read(*this, File::LockKind::Shared);
    synchronizeIndex();
    return forward ? m_index.next(m_cursor) : m_index.prior(m_cursor);
}

bool Table::seekIndexed(bool forward, bool restart)
{
    const int tag = selectedTagNumber();
    bool found;
    if (restart) {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        found = forward ? m_index.first(m_cursor, tag) : m_index.last(m_cursor, tag);
    } else {
        found = indexStep(forward);
    }
    while (found) {
        const uint32_t rec = IndexFile::recordOf(m_cursor.entry);
        if (rec > m_header.recordCount)
            rereadRecordCount();
        if (rec >= 1 && rec <= m_header.recordCount) {
            const char* bytes = readRecord(rec, 0);
            if (visible(bytes)) {
                setCurrent(rec, bytes);
                return true;
            }
        }
        found = indexStep(forward);
    }
    return false;
}

void Table::firstNow()
{
    requireActive("go to the first record");
    if (m_state != State::Browse)
        post();
    rereadRecordCount();
    const bool found = selectedTagNumber() >= 0 ? seekIndexed(true, true) : seekPhysical(1, +1);
    if (!found)
        setNoCurrent();
    m_bof = true;
    m_eof = !found;
    notify();
}

void Table::lastNow()
{
    requireActive("go to the last record");
    if (m_state != State::Browse)
        post();
    rereadRecordCount();
    const bool found = selectedTagNumber() >= 0 ? seekIndexed(false, true)
                                                : seekPhysical(m_header.recordCount, -1);
    if (!found)
        setNoCurrent();
    m_eof = true;
    m_bof = !found;
    notify();
}

void Table::nextNow()
{
    requireActive("go to the next record");
    if (m_state != State::Browse)
        post();
    if (m_recNo == 0) {
        m_eof = true;
        return;
    }
    bool found;
    if (selectedTagNumber() >= 0) {
        found = seekIndexed(true, false);
    } else {
        if (m_recNo >= m_header.recordCount)
            rereadRecordCount();
        found = seekPhysical(m_recNo + 1, +1);
    }
    if (found)
        m_bof = m_eof = false;
    else
        stayAfterFailedMove(m_eof);
    notify();
}

void Table::priorNow()
{
    requireActive("go to the prior record");
    if (m_state != State::Browse)
        post();
    if (m_recNo == 0) {
        m_bof = true;
        return;
    }
    const bool found = selectedTagNumber() >= 0 ? seekIndexed(false, false) : seekPhysical(m_recNo - 1, -1);
    if (found)
        m_bof = m_eof = false;
    else
        stayAfterFailedMove(m_bof);
    notify();
}

void Table::stayAfterFailedMove(bool& endFlag)
{
    // The current record is unchanged; only the index cursor ran off the end.
    endFlag = true;
    if (selectedTagNumber() >= 0) {
        UpdateLock read(*this, File::LockKind::Shared);
        m_index.seek(m_cursor, selectedTagNumber(), currentEntry());
    }
}

bool Table::landOnEntryOrNeighbour(const IndexFile::Entry& entry)
{
    const int tag = selectedTagNumber();
    bool found;
    {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        found = m_index.seek(m_cursor, tag, entry);
    }
    while (found) {
        const uint32_t rec = IndexFile::recordOf(m_cursor.entry);
        if (rec > m_header.recordCount)
            rereadRecordCount();
        if (rec >= 1 && rec <= m_header.recordCount) {
            const char* bytes = readRecord(rec, 0);
            if (visible(bytes)) {
                setCurrent(rec, bytes);
                return true;
            }
        }
        found = indexStep(true);
    }
    return seekIndexed(false, true);
}

void Table::refreshNow()
{
    requireActive("refresh");
    changed();
    if (m_state != State::Browse)
        post();
    invalidateChunk();
    rereadRecordCount();
    if (m_indexOpen && m_file.writable()) {
        bool stale;
        {
            UpdateLock read(*this, File::LockKind::Shared);
            synchronizeIndex();
            stale = !(m_index.stamp() == currentStamp()) || !m_index.clean();
        }
        if (stale)
            buildIndexFile(m_index.tags());
    }
    bool found = false;
    if (m_recNo != 0 && m_recNo <= m_header.recordCount) {
        if (selectedTagNumber() >= 0) {
            found = landOnEntryOrNeighbour(entryOf(selectedTagNumber(), readRecord(m_recNo, 0), m_recNo));
        } else {
            found = seekPhysical(m_recNo, +1) || seekPhysical(m_header.recordCount, -1);
        }
    } else {
        found = selectedTagNumber() >= 0 ? seekIndexed(true, true) : seekPhysical(1, +1);
    }
    if (!found)
        setNoCurrent();
    m_bof = m_eof = !found;
    notify();
}

uint32_t Table::recordCount()
{
    return repairing([this] { return recordCountNow(); });
}

uint32_t Table::recordCountNow()
{
    requireActive("count records");
    if ((!m_filtered || !m_filter) && m_indexOpen && !m_index.tags().empty()) {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        return m_index.entryCount(0);
    }
    rereadRecordCount();
    // A filtered count costs a pass over the file: it holds until something changes.
    if (m_countGeneration == m_generation)
        return m_count;
    writePendingAppends(); // a batch's new records are counted from the file like the others
    const uint32_t records = m_header.recordCount;
    uint32_t count = 0;
    if (m_filtered && m_filter && m_filterParallelSafe) {
        // What the user waits for after starting a search: on every core.
        std::vector<uint32_t> counts(scanWorkers(), 0);
        const size_t length = m_header.recordLength;
        scanRecordsInParallel([&](unsigned worker, const char* block, uint32_t, uint32_t n) {
            counts[worker] += countVisible(block, n, length);
        });
        for (const uint32_t part : counts)
            count += part;
    } else if (records > 0) {
        scanRecords([&](const char* block, uint32_t, uint32_t n) { count += countVisible(block, n, m_header.recordLength); });
    }
    m_count = count;
    m_countGeneration = m_generation;
    return count;
}

void Table::first()
{
    repairing([this] { firstNow(); });
}

void Table::last()
{
    repairing([this] { lastNow(); });
}

void Table::next()
{
    repairing([this] { nextNow(); });
}

void Table::prior()
{
    repairing([this] { priorNow(); });
}

void Table::refresh()
{
    repairing([this] { refreshNow(); });
}

// The records of a block that the filter lets through, deleted ones never.
uint32_t Table::countVisible(const char* records, uint32_t n, size_t length) const
{
    uint32_t count = 0;
    for (uint32_t k = 0; k < n; ++k) {
        // The filter reads scattered fields: fetch a few records ahead.
        if (k + 16 < n)
            for (size_t line = 0; line < length; line += 64)
                __builtin_prefetch(records + static_cast<size_t>(k + 16) * length + line);
        if (visible(records + static_cast<size_t>(k) * length))
            ++count;
    }
    return count;
}

unsigned Table::scanWorkers() const
{
    constexpr uint32_t kWorthSharing = 100000; // below this a thread costs more than it saves
    if (m_header.recordCount < kWorthSharing)
        return 1;
    return std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
}

void Table::scanRecordsInParallel(const ParallelVisit& visit) const
{
    const uint32_t records = m_header.recordCount;
    const unsigned workers = scanWorkers();
    if (records == 0)
        return;
    if (workers == 1) {
        scanRecords(1, records, [&](const char* block, uint32_t first, uint32_t n) { visit(0, block, first, n); });
        return;
    }
    std::vector<std::exception_ptr> failures(workers);
    std::vector<std::thread> threads;
    const uint32_t share = records / workers + 1;
    for (unsigned w = 0; w < workers; ++w) {
        const uint32_t first = 1 + w * share;
        const uint32_t last = std::min(records, first + share - 1);
        threads.emplace_back([this, w, first, last, &visit, &failures] {
            try {
                if (first <= last)
                    scanRecords(first, last, [&](const char* block, uint32_t at, uint32_t n) { visit(w, block, at, n); });
            } catch (...) {
                failures[w] = std::current_exception();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

// Walks every stored record in physical order, a block at a time.
void Table::scanRecords(const std::function<void(const char* records, uint32_t first, uint32_t count)>& visit)
{
    writePendingAppends();
    if (m_header.recordCount > 0)
        scanRecords(1, m_header.recordCount, visit);
}

void Table::scanRecords(uint32_t first, uint32_t last,
                        const std::function<void(const char* records, uint32_t first, uint32_t count)>& visit) const
{
    // Blocks are read into a buffer small enough to stay in the processor's
    // cache while the visit works on them. Unlike mapped windows, the workers
    // of a parallel scan do not queue up on the process's memory map, and a
    // file cut short behind the table's back reads as an error, not a crash.
    constexpr size_t kBlockBytes = 256 * 1024;
    const size_t length = m_header.recordLength;
    const uint32_t per = static_cast<uint32_t>(std::max<size_t>(1, kBlockBytes / length));
    std::vector<char> buffer;
    for (uint32_t start = first; start <= last && start != 0; start += per) {
        const uint32_t n = std::min(per, last - start + 1);
        const uint64_t offset = m_header.headerLength + static_cast<uint64_t>(start - 1) * length;
        buffer.resize(static_cast<size_t>(n) * length);
        m_file.readAt(offset, buffer.data(), buffer.size());
        visit(buffer.data(), start, n);
        if (last - start < per)
            break; // the next start would wrap past the last record number
    }
}

// ---------------------------------------------------------------- editing

std::vector<char> Table::blankRecord() const
{
    return std::vector<char>(m_header.recordLength, ' ');
}

void Table::edit()
{
    requireBrowse("edit");
    if (m_recNo == 0)
        throw DbError(filePath(), "Cannot edit: there is no current record");
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly)
        throw DbError(filePath(), "Cannot edit: the table is open read-only");
    m_edit.resize(m_header.recordLength);
    {
        // Start from the record as it is on disk now, not from an older copy.
        UpdateLock read(*this, File::LockKind::Shared);
        m_file.readAt(m_header.headerLength + static_cast<uint64_t>(m_recNo - 1) * m_header.recordLength,
                      m_edit.data(), m_edit.size());
    }
    if (m_edit[0] == '*') {
        m_edit.clear();
        throw DbError(filePath(), "Cannot edit: the record was deleted by another user");
    }
    m_state = State::Edit;
    notify();
}

void Table::insert()
{
    requireBrowse("insert");
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly)
        throw DbError(filePath(), "Cannot insert: the table is open read-only");
    m_edit = blankRecord();
    m_state = State::Insert;
    notify();
}

char* Table::editField(int field)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(filePath(), "Cannot change a field: the table is not in edit or insert mode");
    const FieldDef& f = m_header.fields.at(static_cast<size_t>(field));
    return m_edit.data() + f.offset;
}

void Table::setCharacters(int field, std::string_view text)
{
    char* out = editField(field);
    const FieldDef& f = m_header.fields[static_cast<size_t>(field)];
    const size_t n = std::min(text.size(), static_cast<size_t>(f.width));
    std::memcpy(out, text.data(), n);
    std::memset(out + n, ' ', static_cast<size_t>(f.width) - n);
}

void Table::clearField(int field)
{
    char* out = editField(field);
    std::memset(out, ' ', static_cast<size_t>(m_header.fields[static_cast<size_t>(field)].width));
}

void Table::setText(int field, std::string_view text)
{
    editField(field);
    const FieldDef& f = m_header.fields[static_cast<size_t>(field)];
    const std::string_view trimmed = trimBoth(text);
    switch (f.kind()) {
    case FieldKind::Number: {
        if (trimmed.empty())
            return clearField(field);
        std::string normal(trimmed);
        const char sep = editTextFormat().decimalSeparator;
        if (sep != '.')
            std::replace(normal.begin(), normal.end(), sep, '.');
        const auto value = parseDecimalNumber(normal);
        if (!value)
            throw DbError(filePath(), "'" + std::string(text) + "' is not a valid number for field " + f.name);
        return setNumber(field, *value);
    }
    case FieldKind::Date: {
        if (trimmed.empty() || trimmed.find_first_of("0123456789") == std::string_view::npos)
            return clearField(field);
        const auto date = parseShortDate(trimmed);
        if (!date)
            throw DbError(filePath(), "'" + std::string(text) + "' is not a valid date for field " + f.name);
        return setDate(field, dayNumberFromCivil(*date));
    }
    case FieldKind::Logical: {
        const char c = trimmed.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(trimmed[0])));
        *editField(field) = (c == 'T' || c == 'Y') ? 'T' : (c == 'F' || c == 'N') ? 'F' : ' ';
        return;
    }
    default:
        return setCharacters(field, text);
    }
}

void Table::setNumber(int field, double value)
{
    char* out = editField(field);
    const FieldDef& f = m_header.fields[static_cast<size_t>(field)];
    switch (f.kind()) {
    case FieldKind::Number: {
        const auto text = numberFieldText(value, f.width, f.decimals);
        if (!text)
            throw DbError(filePath(), "The number " + formatGeneralNumber(value) + " does not fit field " + f.name);
        std::memcpy(out, text->data(), static_cast<size_t>(f.width));
        return;
    }
    case FieldKind::Date: return setDate(field, value);
    default: return setCharacters(field, formatGeneralNumber(value));
    }
}

void Table::setDate(int field, double dayNumber)
{
    char* out = editField(field);
    const FieldDef& f = m_header.fields[static_cast<size_t>(field)];
    if (f.kind() != FieldKind::Date)
        throw DbError(filePath(), "Field " + f.name + " is not a date field");
    if (dayNumber <= 0)
        return clearField(field);
    const CivilDate d = civilFromDayNumber(dayNumber);
    if (!isValidCivilDate(d))
        throw DbError(filePath(), "The date does not fit field " + f.name);
    const std::string text = storedDateText(d);
    std::memcpy(out, text.data(), std::min<size_t>(8, static_cast<size_t>(f.width)));
}

TableStamp Table::currentStamp() const
{
    const auto [size, modified] = m_file.sizeAndModified();
    return {size, modified, m_header.recordCount};
}

void Table::post()
{
    requireActive("post");
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(filePath(), "Cannot post: the table is not in edit or insert mode");
    const size_t length = m_header.recordLength;
    const bool inserting = m_state == State::Insert;
    uint32_t rec = m_recNo;
    bool indexBroken = false; // a damaged page met on the way: rebuilt below from the table
    {
        UpdateLock write(*this, File::LockKind::Exclusive);
        rereadRecordCount();
        if (m_indexOpen)
            indexBroken = !beginIndexChange();
        std::vector<char> old;
        if (inserting && inBatch()) {
            rec = m_header.recordCount + 1;
            m_pendingAppends.insert(m_pendingAppends.end(), m_edit.begin(), m_edit.end());
            ++m_pendingCount;
            m_header.recordCount = rec;
            if (m_pendingAppends.size() >= kChunkBytes)
                writePendingAppends();
        } else if (inserting) {
            rec = m_header.recordCount + 1;
            std::vector<char> bytes(m_edit);
            bytes.push_back('\x1A');
            m_file.writeAt(m_header.headerLength + static_cast<uint64_t>(rec - 1) * length, bytes.data(), bytes.size());
            const std::string counted = headerCountBytes(rec);
            m_file.writeAt(1, counted.data(), counted.size());
            m_header.recordCount = rec;
        } else {
            old.resize(length);
            m_file.readAt(m_header.headerLength + static_cast<uint64_t>(rec - 1) * length, old.data(), length);
            if (old[0] == '*')
                throw DbError(filePath(), "Cannot post: the record was deleted by another user");
            m_file.writeAt(m_header.headerLength + static_cast<uint64_t>(rec - 1) * length, m_edit.data(), length);
        }
        // The record is on the device before the index calls itself clean and
        // before the user is told it was saved.
        if (!deferWrites())
            m_file.sync();
        if (m_indexOpen && !indexBroken)
            indexBroken = !updateIndexEntries(inserting ? nullptr : old.data(), m_edit.data(), rec);
    }
    changed();
    updateChunkRecord(rec, m_edit.data());
    m_state = State::Browse;
    std::vector<char> posted;
    posted.swap(m_edit);
    // The record is saved; what follows only finds the place to stand.
    repairing([&] { placeAfterPost(posted, rec, indexBroken); });
}

void Table::placeAfterPost(const std::vector<char>& posted, uint32_t rec, bool& repairPending)
{
    const bool repaired = repairPending;
    if (repairPending) {
        repairPending = false; // once, even when the placing runs again
        repairIndex();
    }
    bool found;
    if (selectedTagNumber() >= 0) {
        const IndexFile::Entry entry = entryOf(selectedTagNumber(), posted.data(), rec);
        if (!repaired && visible(posted.data())) {
            // The entry was just inserted: the cursor stands on it and reads its leaf when it moves.
            IndexFile::placeAt(m_cursor, selectedTagNumber(), entry);
            setCurrent(rec, posted.data());
            found = true;
        } else {
            found = landOnEntryOrNeighbour(entry);
        }
    } else if (visible(posted.data())) {
        setCurrent(rec, posted.data());
        found = true;
    } else {
        found = seekPhysical(rec, +1) || seekPhysical(rec, -1);
    }
    if (!found)
        setNoCurrent();
    m_bof = m_eof = !found;
    notify();
}

void Table::cancel()
{
    requireActive("cancel");
    m_edit.clear();
    m_state = State::Browse;
    notify();
}

void Table::deleteRecord()
{
    requireActive("delete");
    if (m_state != State::Browse)
        cancel();
    if (m_recNo == 0)
        throw DbError(filePath(), "Cannot delete: there is no current record");
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly)
        throw DbError(filePath(), "Cannot delete: the table is open read-only");
    const uint32_t rec = m_recNo;
    const size_t length = m_header.recordLength;
    bool indexBroken = false;
    {
        UpdateLock write(*this, File::LockKind::Exclusive);
        std::vector<char> old(length);
        const uint64_t at = m_header.headerLength + static_cast<uint64_t>(rec - 1) * length;
        m_file.readAt(at, old.data(), length);
        if (old[0] != '*') {
            if (m_indexOpen)
                indexBroken = !beginIndexChange();
            m_file.writeAt(at, "*", 1);
            if (!deferWrites())
                m_file.sync();
            if (m_indexOpen && !indexBroken)
                indexBroken = !updateIndexEntries(old.data(), nullptr, rec);
        }
    }
    changed();
    updateChunkRecord(rec, nullptr);
    repairing([&] { placeAfterDelete(rec, indexBroken); });
}

void Table::placeAfterDelete(uint32_t rec, bool& repairPending)
{
    if (repairPending) {
        repairPending = false; // once, even when the placing runs again
        repairIndex();
    }
    // The record after the deleted one becomes current, or the one before it.
    bool found;
    if (selectedTagNumber() >= 0) {
        found = landOnEntryOrNeighbour(m_cursor.entry);
    } else {
        found = seekPhysical(rec + 1, +1) || seekPhysical(rec, -1);
    }
    if (!found)
        setNoCurrent();
    m_bof = m_eof = !found;
    notify();
}

void Table::setFilter(Filter filter, bool parallelSafe)
{
    m_filter = std::move(filter);
    m_filterParallelSafe = parallelSafe;
    changed();
}

void Table::setFiltered(bool on)
{
    m_filtered = on;
    changed();
}

// ---------------------------------------------------------------- indexes

void Table::openIndex()
{
    m_expressions.clear();
    m_indexOpen = false;
    m_indexProblem.clear();
    const std::string path = indexPath();
    IndexFile::OpenResult result;
    try {
        UpdateLock read(*this, File::LockKind::Shared);
        result = m_index.open(path, m_file.writable());
    } catch (const DbError& e) {
        // An index file that cannot be opened at all (no permission, a folder
        // of that name) leaves the table usable in stored order.
        m_index.close();
        m_indexProblem = std::string("The index cannot be used (") + e.what() + "); records are read in stored order";
        return;
    }
    if (result == IndexFile::OpenResult::Missing || result == IndexFile::OpenResult::Foreign) {
        // A foreign index file (another program's .MDX) is left as it is until a tag is added.
        m_index.close();
        return;
    }
    const std::vector<TagDefinition> definitions = m_index.tags();
    bool rebuild = result == IndexFile::OpenResult::Damaged || !m_index.clean();
    if (!rebuild) {
        try {
            compileIndexExpressions();
        } catch (const IndexDamaged&) {
            rebuild = true;
        }
    }
    if (!rebuild) {
        UpdateLock read(*this, File::LockKind::Shared);
        rereadRecordCount();
        rebuild = !(m_index.stamp() == currentStamp());
    }
    if (rebuild) {
        if (!m_file.writable()) {
            dropIndex("The index " + path + " is out of date or damaged; records are read in stored order");
            return;
        }
        try {
            buildIndexFile(usableTags(definitions));
        } catch (const DbError& e) {
            dropIndex(std::string("The index cannot be rebuilt (") + e.what() + "); records are read in stored order");
        }
        return;
    }
    m_indexOpen = true;
    m_index.setWriteBack(m_mode == OpenMode::Exclusive);
    m_index.setStampSource([this] { return currentStamp(); });
}

void Table::dropIndex(const std::string& why)
{
    try {
        m_index.close();
    } catch (...) {
        // Nothing of this index is trusted any more.
    }
    m_indexOpen = false;
    m_expressions.clear();
    m_cursor = {};
    m_indexProblem = why;
    changed();
}

void Table::writeIndexFlag(bool on)
{
    const uint8_t flag = on ? 1 : 0;
    if (m_header.productionIndexFlag == flag || !m_file.writable())
        return;
    m_file.writeAt(kHeaderIndexFlagOffset, &flag, 1);
    m_header.productionIndexFlag = flag;
}

namespace {

// Index entries are sorted 16 bytes at a time: by the first 16 bytes as two
// integers, then each run of equal beginnings by its next 16 bytes, and so
// on. Keys often share long beginnings (a category before a title), where a
// plain comparison sort would compare whole keys again and again.
struct SortItem {
    uint64_t high = 0;
    uint64_t low = 0;
    uint32_t index = 0;
};

void sortEntries(std::vector<SortItem>::iterator begin, std::vector<SortItem>::iterator end, const char* entries,
                 size_t entryLength, size_t offset)
{
    for (auto it = begin; it != end; ++it) {
        const char* entry = entries + static_cast<size_t>(it->index) * entryLength;
        uint64_t high = 0, low = 0;
        for (size_t k = 0; k < 8; ++k)
            high = (high << 8) | (offset + k < entryLength ? static_cast<unsigned char>(entry[offset + k]) : 0);
        for (size_t k = 8; k < 16; ++k)
            low = (low << 8) | (offset + k < entryLength ? static_cast<unsigned char>(entry[offset + k]) : 0);
        it->high = high;
        it->low = low;
    }
    std::sort(begin, end, [](const SortItem& a, const SortItem& b) {
        return a.high != b.high ? a.high < b.high : a.low < b.low;
    });
    if (offset + 16 >= entryLength)
        return; // the record number at the end makes every entry unique
    for (auto run = begin; run != end;) {
        auto next = run + 1;
        while (next != end && next->high == run->high && next->low == run->low)
            ++next;
        if (next - run > 1)
            sortEntries(run, next, entries, entryLength, offset + 16);
        run = next;
    }
}

// The order of the entries by key, then record number: each half sorted on
// its own core, then the halves merged.
std::vector<uint32_t> sortedOrder(const char* entries, size_t entryLength, uint32_t count)
{
    std::vector<SortItem> items(count);
    for (uint32_t n = 0; n < count; ++n)
        items[n].index = n;
    const auto middle = items.begin() + count / 2;
    if (count >= 100000 && std::thread::hardware_concurrency() > 1) {
        std::thread other([&] { sortEntries(items.begin(), middle, entries, entryLength, 0); });
        sortEntries(middle, items.end(), entries, entryLength, 0);
        other.join();
        // The whole entries decide: after ties were sorted on later bytes, an
        // item's cached prefix no longer tells where it stands.
        std::inplace_merge(items.begin(), middle, items.end(), [&](const SortItem& a, const SortItem& b) {
            return std::memcmp(entries + static_cast<size_t>(a.index) * entryLength,
                               entries + static_cast<size_t>(b.index) * entryLength, entryLength) < 0;
        });
    } else {
        sortEntries(items.begin(), items.end(), entries, entryLength, 0);
    }
    std::vector<uint32_t> order(count);
    for (uint32_t n = 0; n < count; ++n)
        order[n] = items[n].index;
    return order;
}

void writeRecordNumber(char* at, uint32_t rec)
{
    at[0] = static_cast<char>(rec >> 24);
    at[1] = static_cast<char>((rec >> 16) & 0xFF);
    at[2] = static_cast<char>((rec >> 8) & 0xFF);
    at[3] = static_cast<char>(rec & 0xFF);
}

} // namespace

// Every live record's key for each tag, followed by its record number. The
// workers of a parallel scan write each record's entry in its own slot; the
// slots of deleted records are squeezed out afterwards.
void Table::extractKeys(const std::vector<TagDefinition>& tags, const std::vector<KeyExpression>& expressions,
                        std::vector<IndexFile::BuiltTag>& built) const
{
    const size_t length = m_header.recordLength;
    const uint32_t records = m_header.recordCount;
    std::vector<uint8_t> live(records, 0);
    for (size_t t = 0; t < tags.size(); ++t)
        built[t].entries.assign(static_cast<size_t>(records) * (tags[t].keyLength + 4), 0);
    scanRecordsInParallel([&](unsigned, const char* block, uint32_t start, uint32_t n) {
        for (uint32_t k = 0; k < n; ++k) {
            const char* record = block + static_cast<size_t>(k) * length;
            const uint32_t rec = start + k;
            if (record[0] == '*')
                continue;
            live[rec - 1] = 1;
            for (size_t t = 0; t < tags.size(); ++t) {
                const size_t e = static_cast<size_t>(tags[t].keyLength) + 4;
                char* slot = built[t].entries.data() + static_cast<size_t>(rec - 1) * e;
                expressions[t].evaluate(record, slot);
                writeRecordNumber(slot + tags[t].keyLength, rec);
            }
        }
    });
    for (size_t t = 0; t < tags.size(); ++t) {
        const size_t e = static_cast<size_t>(tags[t].keyLength) + 4;
        std::vector<char>& entries = built[t].entries;
        size_t kept = 0;
        for (uint32_t r = 0; r < records; ++r) {
            if (!live[r])
                continue;
            if (kept != r)
                std::memmove(entries.data() + kept * e, entries.data() + static_cast<size_t>(r) * e, e);
            ++kept;
        }
        entries.resize(kept * e);
        built[t].count = static_cast<uint32_t>(kept);
    }
}

void Table::buildIndexFile(std::vector<TagDefinition> tags)
{
    std::vector<KeyExpression> expressions;
    for (TagDefinition& d : tags) {
        expressions.emplace_back(d.expression, m_header.fields);
        d.keyLength = expressions.back().keyLength();
    }
    UpdateLock write(*this, File::LockKind::Exclusive);
    writePendingAppends();
    rereadRecordCount();
    writeIndexFlag(!tags.empty());

    std::vector<IndexFile::BuiltTag> built(tags.size());
    for (size_t t = 0; t < tags.size(); ++t)
        built[t].definition = tags[t];
    extractKeys(tags, expressions, built);
    for (IndexFile::BuiltTag& b : built)
        b.order = sortedOrder(b.entries.data(), static_cast<size_t>(b.definition.keyLength) + 4, b.count);
    m_index.close();
    m_indexOpen = false; // until the new file is whole
    m_expressions.clear();
    m_index.rebuild(indexPath(), std::move(built), currentStamp());
    m_expressions = std::move(expressions);
    m_expressionsVersion = m_index.definitionsVersion();
    m_indexProblem.clear();
    m_indexOpen = true;
    m_index.setWriteBack(m_mode == OpenMode::Exclusive);
    m_index.setStampSource([this] { return currentStamp(); });
}

std::string Table::checkIndex()
{
    requireBrowse("check the index");
    if (!m_indexOpen)
        return {};
    try {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        rereadRecordCount();
        const std::vector<TagDefinition> tags = m_index.tags();
        std::vector<IndexFile::BuiltTag> built(tags.size());
        extractKeys(tags, m_expressions, built);
        for (size_t t = 0; t < tags.size(); ++t) {
            const size_t e = static_cast<size_t>(tags[t].keyLength) + 4;
            const std::vector<uint32_t> order = sortedOrder(built[t].entries.data(), e, built[t].count);
            const std::string tag = "Index tag " + tags[t].name + ": ";
            if (m_index.entryCount(static_cast<int>(t)) != built[t].count)
                return tag + "it counts " + std::to_string(m_index.entryCount(static_cast<int>(t)))
                    + " records but the table holds " + std::to_string(built[t].count);
            IndexFile::Cursor c;
            bool more = m_index.first(c, static_cast<int>(t));
            for (uint32_t n = 0; n < built[t].count; ++n, more = m_index.next(c)) {
                const std::string_view expected(built[t].entries.data() + static_cast<size_t>(order[n]) * e, e);
                if (!more)
                    return tag + "it ends after " + std::to_string(n) + " of " + std::to_string(built[t].count) + " records";
                if (c.entry != expected)
                    return tag + "entry " + std::to_string(n + 1) + " lists record "
                        + std::to_string(IndexFile::recordOf(c.entry)) + " where record "
                        + std::to_string(IndexFile::recordOf(std::string(expected))) + " belongs";
            }
            if (more)
                return tag + "it lists more entries than the table has records";
        }
    } catch (const IndexDamaged& e) {
        return std::string("The index is damaged: ") + e.what();
    }
    return {};
}

std::vector<TagDefinition> Table::indexTags()
{
    requireActive("list index tags");
    if (!m_indexOpen)
        return {};
    return m_index.tags();
}

void Table::withTableOpen(const std::function<void()>& work)
{
    const std::string selected = m_selectedTag;
    m_selectedTag.clear();
    try {
        open(OpenMode::Shared);
        work();
        close();
    } catch (...) {
        close();
        m_selectedTag = selected;
        throw;
    }
    m_selectedTag = selected;
}

void Table::addIndex(const std::string& tag, const std::string& expression)
{
    if (!active())
        return withTableOpen([&] { addIndex(tag, expression); });
    requireBrowse("add an index");
    if (tag.empty() || tag.size() > static_cast<size_t>(IndexFile::kMaxTagName)
        || !std::all_of(tag.begin(), tag.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }))
        throw DbError(indexPath(), "Index tag name \"" + tag + "\" must be 1 to 10 letters, digits or _");
    if (!m_file.writable())
        throw DbError(filePath(), "Cannot add an index: the table is open read-only");
    if (expression.size() > IndexFile::kMaxExpression)
        throw DbError(indexPath(), "The index expression is " + std::to_string(expression.size())
                                       + " characters long; an index expression holds at most "
                                       + std::to_string(IndexFile::kMaxExpression));
    const KeyExpression compiled(expression, m_header.fields); // throws before any file changes
    std::vector<TagDefinition> tags = m_indexOpen ? m_index.tags() : std::vector<TagDefinition>{};
    tags.erase(std::remove_if(tags.begin(), tags.end(), [&](const TagDefinition& d) { return sameLetters(d.name, tag); }),
               tags.end());
    if (tags.size() >= static_cast<size_t>(IndexFile::kMaxTags))
        throw DbError(indexPath(), "An index file holds at most 8 tags");
    tags.push_back({tag, expression, compiled.keyLength()});
    const uint32_t keep = m_recNo;
    buildIndexFile(tags);
    m_recNo = keep;
    refresh();
}

void Table::deleteIndex(const std::string& tag)
{
    if (!active())
        return withTableOpen([&] { deleteIndex(tag); });
    requireBrowse("delete an index");
    if (!m_indexOpen || m_index.tagNumber(tag) < 0)
        return;
    if (sameLetters(m_selectedTag, tag))
        m_selectedTag.clear();
    std::vector<TagDefinition> tags = m_index.tags();
    tags.erase(std::remove_if(tags.begin(), tags.end(), [&](const TagDefinition& d) { return sameLetters(d.name, tag); }),
               tags.end());
    if (tags.empty() && m_mode == OpenMode::Exclusive) {
        // Nobody else has the index open: the file itself goes.
        m_index.close();
        m_indexOpen = false;
        m_expressions.clear();
        removeFile(indexPath());
        writeIndexFlag(false);
    } else {
        buildIndexFile(tags);
    }
    refresh();
}

void Table::selectIndex(const std::string& tag)
{
    if (!active()) {
        m_selectedTag = tag;
        return;
    }
    if (m_state != State::Browse)
        post();
    if (!tag.empty() && (!m_indexOpen || m_index.tagNumber(tag) < 0))
        throw DbError(indexPath(), "Index tag " + tag + " does not exist");
    m_selectedTag = tag;
    changed();
    refresh();
}

bool Table::findKey(std::string_view keyText)
{
    return repairing([&] { return findKeyNow(keyText); });
}

bool Table::findKeyNow(std::string_view keyText)
{
    requireBrowse("search a key");
    const int tag = selectedTagNumber();
    if (tag < 0)
        throw DbError(filePath(), "Cannot search a key: no index is selected");
    const KeyExpression& expression = m_expressions[static_cast<size_t>(tag)];
    const std::string key = expression.keyFromText(keyText);
    IndexFile::Cursor probe;
    bool found;
    {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        found = m_index.seek(probe, tag, IndexFile::makeEntry(key, 0));
    }
    while (found && probe.entry.compare(0, key.size(), key) == 0) {
        const uint32_t rec = IndexFile::recordOf(probe.entry);
        if (rec > m_header.recordCount)
            rereadRecordCount();
        if (rec >= 1 && rec <= m_header.recordCount) {
            const char* bytes = readRecord(rec, 0);
            if (visible(bytes)) {
                m_cursor = probe;
                setCurrent(rec, bytes);
                m_bof = m_eof = false;
                notify();
                return true;
            }
        }
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        found = m_index.next(probe);
    }
    return false;
}

bool Table::findNearest(std::string_view keyText)
{
    return repairing([&] { return findNearestNow(keyText); });
}

bool Table::findNearestNow(std::string_view keyText)
{
    requireBrowse("search a key");
    const int tag = selectedTagNumber();
    if (tag < 0)
        throw DbError(filePath(), "Cannot search a key: no index is selected");
    const std::string key = m_expressions[static_cast<size_t>(tag)].keyFromText(keyText);
    bool found;
    {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        found = m_index.seek(m_cursor, tag, IndexFile::makeEntry(key, 0));
    }
    while (found) {
        const uint32_t rec = IndexFile::recordOf(m_cursor.entry);
        if (rec > m_header.recordCount)
            rereadRecordCount();
        if (rec >= 1 && rec <= m_header.recordCount) {
            const char* bytes = readRecord(rec, 0);
            if (visible(bytes)) {
                setCurrent(rec, bytes);
                m_bof = m_eof = false;
                notify();
                return true;
            }
        }
        found = indexStep(true);
    }
    // No key at or after it: the table ends up past its last record.
    lastNow();
    return false;
}

bool Table::findNext(const Filter& match, bool fromBeginning)
{
    return repairing([&] {
        requireActive("locate a record");
        if (m_state != State::Browse)
            post();
        rereadRecordCount();
        const size_t length = m_header.recordLength;
        const uint32_t after = fromBeginning || m_recNo == 0 ? 0 : m_recNo;
        if (selectedTagNumber() < 0) {
            // Stored order: the first match after the current record number.
            uint32_t found = 0;
            scanRecords([&](const char* records, uint32_t first, uint32_t n) {
                for (uint32_t k = 0; k < n && found == 0; ++k) {
                    const char* record = records + static_cast<size_t>(k) * length;
                    if (first + k > after && visible(record) && match(Record(&m_header.fields, record)))
                        found = first + k;
                }
            });
            if (found == 0)
                return false;
            invalidateChunk();
            setCurrent(found, readRecord(found, 0));
        } else {
            // Key order: mark the matching records in one pass over the file,
            // then walk the index from the current entry to the first mark.
            std::vector<bool> matches(static_cast<size_t>(m_header.recordCount) + 1, false);
            bool any = false;
            scanRecords([&](const char* records, uint32_t first, uint32_t n) {
                for (uint32_t k = 0; k < n; ++k) {
                    const char* record = records + static_cast<size_t>(k) * length;
                    if (visible(record) && match(Record(&m_header.fields, record)))
                        matches[first + k] = any = true;
                }
            });
            if (!any)
                return false;
            IndexFile::Cursor c;
            bool more;
            {
                UpdateLock read(*this, File::LockKind::Shared);
                synchronizeIndex();
                more = after == 0 ? m_index.first(c, selectedTagNumber())
                                  : (m_index.seek(c, selectedTagNumber(), currentEntry()) && m_index.next(c));
            }
            while (more) {
                const uint32_t rec = IndexFile::recordOf(c.entry);
                if (rec < matches.size() && matches[rec])
                    break;
                UpdateLock read(*this, File::LockKind::Shared);
                more = m_index.next(c);
            }
            if (!more)
                return false;
            const uint32_t rec = IndexFile::recordOf(c.entry);
            m_cursor = c;
            invalidateChunk();
            setCurrent(rec, readRecord(rec, 0));
        }
        m_bof = m_eof = false;
        notify();
        return true;
    });
}

Table::Bookmark Table::bookmark() const
{
    Bookmark b;
    b.record = m_recNo;
    if (m_recNo != 0 && selectedTagNumber() >= 0)
        b.entry = m_cursor.entry;
    return b;
}

bool Table::gotoBookmark(const Bookmark& bookmark)
{
    return repairing([&] { return gotoBookmarkNow(bookmark); });
}

bool Table::gotoBookmarkNow(const Bookmark& bookmark)
{
    requireActive("go to a bookmark");
    if (m_state != State::Browse)
        post();
    if (!bookmark.valid())
        return false;
    rereadRecordCount();
    if (bookmark.record > m_header.recordCount)
        return false;
    invalidateChunk();
    const char* bytes = readRecord(bookmark.record, 0);
    if (!visible(bytes))
        return false;
    if (selectedTagNumber() >= 0) {
        const IndexFile::Entry entry = entryOf(selectedTagNumber(), bytes, bookmark.record);
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        if (!m_index.seek(m_cursor, selectedTagNumber(), entry) || m_cursor.entry != entry)
            return false;
    }
    setCurrent(bookmark.record, bytes);
    m_bof = m_eof = false;
    notify();
    return true;
}

// ---------------------------------------------------------------- positions

bool Table::positionsByIndex() const
{
    return selectedTagNumber() >= 0 && (!m_filtered || !m_filter) && !inBatch();
}

void Table::extendPositions(uint32_t needed, uint32_t untilRecord)
{
    const int tag = selectedTagNumber();
    if (!m_positionsStarted) {
        m_positionsStarted = true;
        m_positionNextRecord = 1;
        if (tag >= 0) {
            UpdateLock read(*this, File::LockKind::Shared);
            synchronizeIndex();
            m_positionsDone = !m_index.first(m_positionCursor, tag);
        }
    }
    auto listed = [&] {
        return (untilRecord == 0 && m_positions.size() > needed) || (untilRecord != 0 && m_positionOf.count(untilRecord));
    };
    // Steps through the index share one lock for a run of records (taking a
    // lock costs two system calls): long enough to be cheap, short enough to
    // hold up another copy of the program that wants to write only briefly.
    constexpr int kStepsPerLock = 256;
    while (!m_positionsDone && !listed()) {
        std::optional<UpdateLock> run;
        if (tag >= 0)
            run.emplace(*this, File::LockKind::Shared);
        for (int step = 0; step < kStepsPerLock && !m_positionsDone && !listed(); ++step) {
            uint32_t rec;
            if (tag >= 0) {
                rec = IndexFile::recordOf(m_positionCursor.entry);
                UpdateLock read(*this, File::LockKind::Shared);
                m_positionsDone = !m_index.next(m_positionCursor);
            } else {
                rec = m_positionNextRecord++;
                m_positionsDone = m_positionNextRecord > m_header.recordCount;
                if (rec > m_header.recordCount)
                    return;
            }
            if (rec >= 1 && rec <= m_header.recordCount && visible(readRecord(rec, tag >= 0 ? 0 : +1))) {
                m_positionOf.emplace(rec, static_cast<uint32_t>(m_positions.size()));
                m_positions.push_back(rec);
            }
        }
    }
}

uint32_t Table::listPositions(uint32_t atLeast)
{
    return repairing([&] {
        requireActive("list records");
        if (atLeast > 0)
            extendPositions(atLeast - 1);
        else
            extendPositions(0);
        return static_cast<uint32_t>(m_positions.size());
    });
}

bool Table::recordAtPosition(uint32_t position, std::vector<char>& bytes, uint32_t& recNo)
{
    return repairing([&] {
        requireActive("read a record");
        if (positionsByIndex()) {
            IndexFile::Cursor c;
            {
                UpdateLock read(*this, File::LockKind::Shared);
                synchronizeIndex();
                if (!m_index.entryAt(c, selectedTagNumber(), position))
                    return false;
            }
            recNo = IndexFile::recordOf(c.entry);
        } else {
            extendPositions(position);
            if (position >= m_positions.size())
                return false;
            recNo = m_positions[position];
        }
        if (recNo < 1 || recNo > m_header.recordCount)
            return false;
        const char* record = readRecord(recNo, 0);
        bytes.assign(record, record + m_header.recordLength);
        return true;
    });
}

bool Table::gotoPosition(uint32_t position)
{
    return repairing([&] {
        requireActive("go to a position");
        if (m_state != State::Browse)
            post();
        if (positionsByIndex()) {
            {
                UpdateLock read(*this, File::LockKind::Shared);
                synchronizeIndex();
                if (!m_index.entryAt(m_cursor, selectedTagNumber(), position))
                    return false;
            }
            const uint32_t rec = IndexFile::recordOf(m_cursor.entry);
            if (rec < 1 || rec > m_header.recordCount)
                return false;
            setCurrent(rec, readRecord(rec, 0));
        } else {
            extendPositions(position);
            if (position >= m_positions.size())
                return false;
            const uint32_t rec = m_positions[position];
            setCurrent(rec, readRecord(rec, 0));
            if (selectedTagNumber() >= 0) {
                UpdateLock read(*this, File::LockKind::Shared);
                m_index.seek(m_cursor, selectedTagNumber(), currentEntry());
            }
        }
        m_bof = m_eof = false;
        notify();
        return true;
    });
}

uint32_t Table::currentPosition()
{
    return repairing([&]() -> uint32_t {
        requireActive("find the current position");
        if (m_recNo == 0)
            return 0;
        if (positionsByIndex()) {
            UpdateLock read(*this, File::LockKind::Shared);
            synchronizeIndex();
            return m_index.rank(selectedTagNumber(), currentEntry());
        }
        extendPositions(0, m_recNo);
        const auto it = m_positionOf.find(m_recNo);
        return it == m_positionOf.end() ? 0 : it->second;
    });
}

// ---------------------------------------------------------------- batches

void Table::beginBatch()
{
    repairing([this] { beginBatchNow(); });
}

void Table::beginBatchNow()
{
    requireBrowse("begin a batch");
    if (inBatch())
        throw DbError(filePath(), "A batch of changes is already under way");
    m_batchLock = std::make_unique<UpdateLock>(*this, File::LockKind::Exclusive);
    try {
        m_pendingCount = 0;
        // Another copy may have appended since this one last looked: the
        // batch appends after the count on disk, never after a remembered one.
        if (m_mode != OpenMode::Exclusive)
            readRecordCountFromFile();
        if (m_indexOpen) {
            synchronizeIndex();
            m_index.setWriteBack(true);
        }
    } catch (...) {
        m_batchLock.reset();
        throw;
    }
}

void Table::writePendingAppends()
{
    if (m_pendingCount == 0)
        return;
    const uint32_t firstPending = m_header.recordCount - m_pendingCount + 1;
    m_pendingAppends.push_back('\x1A');
    m_file.writeAt(m_header.headerLength + static_cast<uint64_t>(firstPending - 1) * m_header.recordLength,
                   m_pendingAppends.data(), m_pendingAppends.size());
    const std::string counted = headerCountBytes(m_header.recordCount);
    m_file.writeAt(1, counted.data(), counted.size());
    m_pendingAppends.clear();
    m_pendingCount = 0;
}

void Table::endBatch()
{
    if (!inBatch())
        return;
    try {
        if (m_state != State::Browse)
            post();
        writePendingAppends();
        // The batch's records reach the device before the index calls itself clean.
        m_file.sync();
        // Under exclusive use the index pages stay held back until the table closes.
        if (m_indexOpen && m_mode != OpenMode::Exclusive) {
            m_index.flush();
            m_index.setWriteBack(false);
        }
    } catch (...) {
        m_pendingAppends.clear();
        m_pendingCount = 0;
        m_batchLock.reset();
        throw;
    }
    m_batchLock.reset();
    changed();
    notify();
}

// ---------------------------------------------------------------- maintenance

void Table::pack()
{
    requireBrowse("pack");
    if (m_mode != OpenMode::Exclusive)
        throw DbError(filePath(), "Packing requires exclusive use of the table");
    // Written beside the real file (a link to the table stays a link) with
    // the table's own permissions and owner.
    const std::string path = resolvedPath(filePath());
    const std::string temporary = path + ".rk-pack";
    m_index.flush();
    rereadRecordCount();
    try {
        File out;
        out.open(temporary, File::Mode::CreateTruncate);
        out.takeModeAndOwnerOf(path);
        DbfHeader header = m_header;
        header.recordCount = 0;
        const std::string headerBytes = serializeDbfHeader(header);
        out.writeAt(0, headerBytes.data(), headerBytes.size());
        // Any header bytes of a foreign file beyond the terminator are kept as zeros.
        const std::vector<char> padding(m_header.headerLength - headerBytes.size(), '\0');
        if (!padding.empty())
            out.writeAt(headerBytes.size(), padding.data(), padding.size());
        const size_t length = m_header.recordLength;
        std::vector<char> kept;
        uint64_t writeAt = m_header.headerLength;
        uint32_t live = 0;
        const auto keepLive = [&](const char* records, uint32_t, uint32_t n) {
            kept.clear();
            for (uint32_t k = 0; k < n; ++k) {
                const char* record = records + static_cast<size_t>(k) * length;
                if (record[0] != '*')
                    kept.insert(kept.end(), record, record + length);
            }
            out.writeAt(writeAt, kept.data(), kept.size());
            writeAt += kept.size();
            live += static_cast<uint32_t>(kept.size() / length);
        };
        scanRecords(keepLive);
        // Whole records past a count that fell behind (a crash between the
        // records and the count) are kept: they are the user's data.
        const auto whole = static_cast<uint32_t>((m_file.size() - m_header.headerLength) / length);
        if (whole > m_header.recordCount && !m_fileNote.empty())
            scanRecords(m_header.recordCount + 1, whole, keepLive);
        out.writeAt(writeAt, "\x1A", 1);
        const std::string counted = headerCountBytes(live);
        out.writeAt(1, counted.data(), counted.size());
        out.sync();
        out.close();
        replaceFile(temporary, path);
    } catch (...) {
        try {
            removeFile(temporary);
        } catch (...) {
        }
        throw;
    }
    // The packed file is a new file: hold it exclusively before letting the old one go.
    File packed;
    packed.open(filePath(), File::Mode::ReadWrite);
    if (!packed.tryLock(kOpenLock, File::LockKind::Exclusive))
        throw DbError(path, "The packed table was opened by another program before it could be locked");
    m_readAhead.reset(); // it maps from the old file
    m_file = std::move(packed);
    m_header = readDbfHeader(m_file);
    noteCountProblem();
    invalidateChunk();
    const std::vector<TagDefinition> tags = m_indexOpen ? m_index.tags() : std::vector<TagDefinition>{};
    if (!tags.empty())
        buildIndexFile(tags);
    first();
}

void Table::regenerateIndexes()
{
    requireBrowse("regenerate indexes");
    if (m_mode != OpenMode::Exclusive)
        throw DbError(filePath(), "Regenerating indexes requires exclusive use of the table");
    std::vector<TagDefinition> tags;
    if (m_indexOpen) {
        tags = m_index.tags();
    } else {
        // A damaged index whose definitions were lost cannot be rebuilt; a readable one can.
        IndexFile probe;
        if (probe.open(indexPath(), false) != IndexFile::OpenResult::Missing)
            tags = probe.tags();
    }
    if (tags.empty())
        return;
    buildIndexFile(tags);
    first();
}

} // namespace db
