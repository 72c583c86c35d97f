// Moving through the visible records: first, last, next and prior in
// physical or key order, refresh, counts, key searches, locating by a
// filter, bookmarks, and positions for views that show a window of rows.

#include "Table.h"
#include "TableInternals.h"

#include "DbError.h"

#include <cstring>
#include <optional>

namespace db {

// ---------------------------------------------------------------- navigation

bool Table::seekPhysical(uint32_t from, int direction)
{
    for (int64_t r = from; r >= 1 && r <= m_header.recordCount; r += direction) {
        if (!mayBeVisible(static_cast<uint32_t>(r)))
            continue;
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
    return landOnVisible(found, forward, true);
}

bool Table::landOnVisible(bool found, bool forward, bool walking)
{
    // From the index entry the cursor is on, the first one (in the direction
    // given) whose record is there and visible becomes the current record.
    if (allCandidatesFound(0))
        return false; // a filter that nothing passes: no walk through the index
    while (found) {
        const uint32_t rec = IndexFile::recordOf(m_cursor.entry);
        if (rec > m_header.recordCount)
            rereadRecordCount();
        if (rec >= 1 && rec <= m_header.recordCount && mayBeVisible(rec)) {
            const char* bytes = forward && walking ? keyedRecord(rec) : nullptr;
            if (!bytes)
                bytes = readRecord(rec, 0);
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
    return landOnVisible(found, true, false) || seekIndexed(false, true);
}

void Table::refreshWithCandidates(Candidates candidates, uint32_t count)
{
    repairing([&] { refreshNow(candidates, count); });
}

void Table::refreshNow(Candidates candidates, uint32_t count)
{
    requireActive("refresh");
    // The filter may have changed: its records are found anew, unless a pass elsewhere found them.
    m_candidates = std::move(candidates);
    changed();
    if (m_candidates) {
        m_count = count;
        m_countGeneration = m_generation;
    }
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
    // The count is of one state of the table: changes of other copies wait for the pass.
    UpdateLock read(*this, File::LockKind::Shared);
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

bool Table::findKey(std::string_view keyText)
{
    return repairing([&] { return findKeyNow(keyText); });
}

bool Table::findKeyNow(std::string_view keyText)
{
    requireBrowse("search a key");
    const int tag = selectedTagNumber();
    if (tag < 0)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot search a key: no index is selected")});
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
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot search a key: no index is selected")});
    const std::string key = m_expressions[static_cast<size_t>(tag)].keyFromText(keyText);
    bool found;
    {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        found = m_index.seek(m_cursor, tag, IndexFile::makeEntry(key, 0));
    }
    if (landOnVisible(found, true, false)) {
        m_bof = m_eof = false;
        notify();
        return true;
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
            if (allCandidatesFound(m_positions.size())) {
                m_positionsDone = true; // the rest of the index holds none of them
                break;
            }
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
            if (rec >= 1 && rec <= m_header.recordCount && mayBeVisible(rec)
                && visible(readRecord(rec, tag >= 0 ? 0 : +1))) {
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

} // namespace db
