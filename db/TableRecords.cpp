// Reading records: the record count on disk, the read-ahead chunk and the
// mapped windows of forward scans, the current record, visibility under the
// filter, change notifications, and whole-table scans in blocks (on every
// core for counts and index builds).

#include "Table.h"
#include "TableInternals.h"

#include "DbError.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace db {

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
    // Live records have a blank flag; '*' marks a deleted one, anything else
    // (the end-of-file mark over a record's place) is no record.
    if (bytes[0] != ' ')
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
        throw DbError(m_file.path(), Message{TRANSLATABLE("db", "Record %1 does not exist"), {std::to_string(recNo)}});
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
        throw DbError(m_file.path(),
                      Message{TRANSLATABLE("db", "Record %1 lies beyond the end of the file"), {std::to_string(recNo)}});
    return m_chunkData + (recNo - m_chunkFirst) * length;
}

Table::MappedWindow Table::mappedWindowAt(uint32_t first, uint32_t last) const
{
    // Eight megabytes: setting up a window's pages costs about as much as
    // reading its records, and a scan's next one is mapped on the side.
    constexpr size_t kWindowBytes = size_t{8} << 20;
    const size_t length = m_header.recordLength;
    MappedWindow w{};
    w.count = std::min(static_cast<uint32_t>(std::max<size_t>(1, kWindowBytes / length)), last - first + 1);
    w.offset = m_header.headerLength + static_cast<uint64_t>(first - 1) * length;
    w.aligned = w.offset - w.offset % File::pageSize();
    w.mapLength = static_cast<size_t>(w.offset + static_cast<uint64_t>(w.count) * length - w.aligned);
    return w;
}

bool Table::mapWindow(uint32_t start)
{
    // Forward scans read through a mapped window: no copy, and at most the
    // window's pages count towards the program's memory.
    const auto windowAt = [this](uint32_t first) { return mappedWindowAt(first, m_header.recordCount); };
    const MappedWindow w = windowAt(start);
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
        const MappedWindow next = windowAt(m_windowEnd);
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
    dropKeyedReadAhead();
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

const char* Table::keyedRecord(uint32_t recNo)
{
    if (m_holds == 0 || recNo > m_header.recordCount - m_pendingCount)
        return nullptr;
    if (m_keyed) {
        if (const char* bytes = m_keyed->find(recNo))
            return bytes;
        // A walk that left the window early has jumped (a search in
        // between): it starts again with a short window.
        if (!m_keyed->mostlyWalked())
            m_keyedReach = 0;
        else if (m_keyed->advance()) {
            prepareKeyedWindow();
            if (const char* bytes = m_keyed->find(recNo))
                return bytes;
        }
    }
    readKeyedWindow();
    return m_keyed->find(recNo);
}

namespace {

// A walk of a few records reads few: each window of one hold lists twice as
// many entries as the one before, up to a longest one. Long walks have the
// next window read on the side.
constexpr uint32_t kFirstReach = 64, kLongestReach = 32768, kReachReadOnTheSide = 4096;

// A window of a smaller table lists fewer: its records lie closer together in
// the file, and the memory for two long windows would cost more to fill than
// the reads it saves.
uint32_t longestReach(uint32_t records)
{
    return std::clamp(records / 8, kReachReadOnTheSide, kLongestReach);
}

} // namespace

void Table::readKeyedWindow()
{
    if (!m_keyed)
        m_keyed = std::make_unique<KeyedReadAhead>(m_file, m_header.headerLength, m_header.recordLength,
                                                   longestReach(m_header.recordCount));
    m_keyedReach = m_keyedReach == 0 ? kFirstReach : std::min(longestReach(m_header.recordCount), m_keyedReach * 2);
    m_keyedPeek = m_cursor;
    m_keyed->readNow(listKeyedRecords(m_keyedPeek, m_keyedReach, m_keyedMore));
    if (m_keyedReach >= kReachReadOnTheSide)
        prepareKeyedWindow();
}

void Table::prepareKeyedWindow()
{
    if (!m_keyedMore)
        return;
    m_keyedReach = std::min(longestReach(m_header.recordCount), m_keyedReach * 2);
    try {
        m_keyed->prepare(listKeyedRecords(m_keyedPeek, m_keyedReach, m_keyedMore));
    } catch (const std::system_error&) {
        m_keyedMore = false; // no thread to spare: the walk reads each window itself
    }
}

std::vector<uint32_t> Table::listKeyedRecords(IndexFile::Cursor& from, uint32_t reach, bool& more)
{
    const uint32_t stored = m_header.recordCount - m_pendingCount;
    std::vector<uint32_t> records;
    records.reserve(reach);
    more = true;
    while (records.size() < reach && more) {
        const uint32_t rec = IndexFile::recordOf(from.entry);
        if (rec >= 1 && rec <= stored && mayBeVisible(rec))
            records.push_back(rec);
        more = m_index.next(from);
    }
    return records;
}

void Table::dropKeyedReadAhead()
{
    m_keyed.reset();
    m_keyedReach = 0;
    m_keyedMore = false;
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
        throw DbError(filePath(), Message{TRANSLATABLE("db", "No current record: the table is not open")});
    return Record(&m_header.fields, m_currentBytes);
}

int Table::selectedTagNumber() const
{
    if (m_selectedTag.empty() || !m_indexOpen)
        return -1;
    return m_index.tagNumber(m_selectedTag);
}

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

void Table::scanVisibleInParallel(const VisibleVisit& visit)
{
    requireActive("read records");
    UpdateLock read(*this, File::LockKind::Shared);
    rereadRecordCount();
    writePendingAppends();
    const size_t length = m_header.recordLength;
    const auto visitVisible = [&](unsigned worker, const char* block, uint32_t first, uint32_t n) {
        for (uint32_t k = 0; k < n; ++k) {
            const char* record = block + static_cast<size_t>(k) * length;
            if (visible(record))
                visit(worker, record, first + k);
        }
    };
    if (!m_filtered || !m_filter || m_filterParallelSafe)
        scanRecordsInParallel(visitVisible);
    else if (m_header.recordCount > 0)
        scanRecords(1, m_header.recordCount,
                    [&](const char* block, uint32_t first, uint32_t n) { visitVisible(0, block, first, n); });
}

std::optional<std::vector<uint32_t>> Table::recordsInOrder()
{
    return repairing([this]() -> std::optional<std::vector<uint32_t>> {
        requireActive("read records");
        if (m_state != State::Browse)
            post();
        UpdateLock read(*this, File::LockKind::Shared);
        rereadRecordCount();
        writePendingAppends();
        const int tag = selectedTagNumber();
        if (tag < 0)
            return std::nullopt;
        synchronizeIndex();
        std::vector<uint32_t> records;
        records.reserve(m_header.recordCount);
        m_index.forEachRecord(tag, [&](uint32_t rec) {
            if (rec >= 1 && rec <= m_header.recordCount && mayBeVisible(rec))
                records.push_back(rec);
        });
        return records;
    });
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

void Table::scanRecordsMapped(uint32_t first, uint32_t last,
                              const std::function<void(const char* records, uint32_t first, uint32_t count)>& visit) const
{
    std::optional<ReadAhead> ahead;
    try {
        ahead.emplace(m_file);
    } catch (const std::system_error&) {
        // no thread to spare: each window is mapped when its turn comes
    }
    for (uint32_t start = first; start <= last && start != 0;) {
        const MappedWindow w = mappedWindowAt(start, last);
        const bool more = last - start >= w.count;
        const char* view = ahead ? ahead->take(w.aligned, w.mapLength) : nullptr;
        if (!view)
            view = m_file.map(w.aligned, w.mapLength);
        if (ahead && more) {
            const MappedWindow next = mappedWindowAt(start + w.count, last);
            ahead->prepare(next.aligned, next.mapLength);
        }
        if (!view) {
            scanRecords(start, start + w.count - 1, visit); // no room to map: read
        } else {
            struct Unmap {
                const char* view;
                size_t length;
                std::optional<ReadAhead>& ahead;
                ~Unmap() { ahead ? ahead->release(view, length) : File::unmap(view, length); }
            } unmap{view, w.mapLength, ahead};
            visit(view + (w.offset - w.aligned), start, w.count);
        }
        if (!more)
            break; // the next start would wrap past the last record number
        start += w.count;
    }
}

} // namespace db
