// Changing records: the edit buffer and its typed setters, posting and
// deleting under the update lock (index marked unclean first, record and
// index synced before success is reported), the record filter, and batches
// of changes under one hold of the lock.

#include "Table.h"
#include "TableInternals.h"

#include "DbError.h"
#include "EditText.h"

#include <algorithm>
#include <cstring>

namespace db {

// ---------------------------------------------------------------- editing

std::vector<char> Table::blankRecord() const
{
    return std::vector<char>(m_header.recordLength, ' ');
}

void Table::edit()
{
    requireBrowse("edit");
    if (m_recNo == 0)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot edit: there is no current record")});
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot edit: the table is open read-only")});
    if (m_mode == OpenMode::Exclusive && m_currentBytes && !inBatch()) {
        // Nobody else writes an exclusively open table: the current record is what the disk holds.
        m_edit.assign(m_currentBytes, m_currentBytes + m_header.recordLength);
    } else {
        // Start from the record as it is on disk now, not from an older copy.
        m_edit.resize(m_header.recordLength);
        UpdateLock read(*this, File::LockKind::Shared);
        m_file.readAt(m_header.headerLength + static_cast<uint64_t>(m_recNo - 1) * m_header.recordLength,
                      m_edit.data(), m_edit.size());
    }
    if (m_edit[0] == '*') {
        m_edit.clear();
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot edit: the record was deleted by another user")});
    }
    m_state = State::Edit;
    notify();
}

void Table::insert()
{
    requireBrowse("insert");
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot insert: the table is open read-only")});
    m_edit = blankRecord();
    m_state = State::Insert;
    notify();
}

char* Table::editField(int field)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot change a field: the table is not in edit or insert mode")});
    const FieldDef& f = m_header.fields.at(static_cast<size_t>(field));
    return m_edit.data() + f.offset;
}

bool Table::setCharacters(int field, std::string_view text)
{
    char* out = editField(field);
    const FieldDef& f = m_header.fields[static_cast<size_t>(field)];
    bool cut = false;
    int replaced = 0;
    const std::string bytes = fieldBytes(text, f.encoding, static_cast<size_t>(f.width), &cut, &replaced);
    std::memcpy(out, bytes.data(), bytes.size());
    std::memset(out + bytes.size(), ' ', static_cast<size_t>(f.width) - bytes.size());
    return !cut && replaced == 0;
}

Table::Fit Table::fit(int field, std::string_view text) const
{
    const FieldDef& f = m_header.fields.at(static_cast<size_t>(field));
    if (f.kind() != FieldKind::Character)
        return Fit::Whole;
    bool cut = false;
    int replaced = 0;
    fieldBytes(text, f.encoding, static_cast<size_t>(f.width), &cut, &replaced);
    return replaced > 0 ? Fit::NotHeld : cut ? Fit::TooLong : Fit::Whole;
}

void Table::clearField(int field)
{
    char* out = editField(field);
    std::memset(out, ' ', static_cast<size_t>(m_header.fields[static_cast<size_t>(field)].width));
}

bool Table::setText(int field, std::string_view text)
{
    editField(field);
    const FieldDef& f = m_header.fields[static_cast<size_t>(field)];
    const std::string_view trimmed = trimBoth(text);
    switch (f.kind()) {
    case FieldKind::Number: {
        if (trimmed.empty()) {
            clearField(field);
            return true;
        }
        std::string normal(trimmed);
        const char sep = editTextFormat().decimalSeparator;
        if (sep != '.')
            std::replace(normal.begin(), normal.end(), sep, '.');
        const auto value = parseDecimalNumber(normal);
        if (!value)
            throw DbError(filePath(), Message{TRANSLATABLE("db", "'%1' is not a valid number for field %2"),
                                              {std::string(text), f.name}});
        setNumber(field, *value);
        return true;
    }
    case FieldKind::Date: {
        if (trimmed.empty() || trimmed.find_first_of("0123456789") == std::string_view::npos) {
            clearField(field);
            return true;
        }
        const auto date = parseShortDate(trimmed);
        if (!date)
            throw DbError(filePath(), Message{TRANSLATABLE("db", "'%1' is not a valid date for field %2"),
                                              {std::string(text), f.name}});
        setDate(field, dayNumberFromCivil(*date));
        return true;
    }
    case FieldKind::Logical: {
        const char c = trimmed.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(trimmed[0])));
        *editField(field) = (c == 'T' || c == 'Y') ? 'T' : (c == 'F' || c == 'N') ? 'F' : ' ';
        return true;
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
            throw DbError(filePath(), Message{TRANSLATABLE("db", "The number %1 does not fit field %2"),
                                              {formatGeneralNumber(value), f.name}});
        std::memcpy(out, text->data(), static_cast<size_t>(f.width));
        return;
    }
    case FieldKind::Date: return setDate(field, value);
    default: setCharacters(field, formatGeneralNumber(value)); return;
    }
}

void Table::setDate(int field, double dayNumber)
{
    char* out = editField(field);
    const FieldDef& f = m_header.fields[static_cast<size_t>(field)];
    if (f.kind() != FieldKind::Date)
        throw DbError(filePath(), Message(TRANSLATABLE("db", "Field %1 is not a date field"), {f.name}));
    if (dayNumber <= 0)
        return clearField(field);
    const CivilDate d = civilFromDayNumber(dayNumber);
    if (!isValidCivilDate(d))
        throw DbError(filePath(), Message{TRANSLATABLE("db", "The date does not fit field %1"), {f.name}});
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
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot post: the table is not in edit or insert mode")});
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
            if (m_pendingAppends.size() >= kChunkBytes) {
                try {
                    writePendingAppends();
                } catch (...) {
                    // This record is not posted (nor in the index): it leaves the batch, the
                    // records before it stay pending for the batch's end to write or give up.
                    m_pendingAppends.resize(m_pendingAppends.size() - length);
                    --m_pendingCount;
                    m_header.recordCount = rec - 1;
                    throw;
                }
            }
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
                throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot post: the record was deleted by another user")});
            m_file.writeAt(m_header.headerLength + static_cast<uint64_t>(rec - 1) * length, m_edit.data(), length);
        }
        // The record is on the device before the index calls itself clean and
        // before the user is told it was saved.
        if (!deferWrites())
            m_file.sync();
        if (m_indexOpen && !indexBroken)
            indexBroken = !updateIndexEntries(inserting ? nullptr : old.data(), m_edit.data(), rec);
        if (m_postWatch && !inserting)
            m_postWatch(Record(&m_header.fields, old.data()), Record(&m_header.fields, m_edit.data()));
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
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot delete: there is no current record")});
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot delete: the table is open read-only")});
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
    m_candidates.reset();
    changed();
}

void Table::setFiltered(bool on)
{
    m_filtered = on;
    m_candidates.reset();
    changed();
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
        throw DbError(filePath(), Message{TRANSLATABLE("db", "A batch of changes is already under way")});
    m_batchLock = std::make_unique<UpdateLock>(*this, File::LockKind::Exclusive);
    try {
        m_pendingCount = 0;
        // Another copy may have appended since this one last looked: the
        // batch appends after the count on disk, never after a remembered one.
        if (m_mode != OpenMode::Exclusive)
            readRecordCountFromFile();
        m_batchStartCount = m_countOnDisk = m_header.recordCount;
        m_appendFailed = false;
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
    const uint64_t at = m_header.headerLength + static_cast<uint64_t>(firstPending - 1) * m_header.recordLength;
    try {
        m_file.writeAt(at, m_pendingAppends.data(), m_pendingAppends.size());
        const std::string counted = headerCountBytes(m_header.recordCount);
        m_file.writeAt(1, counted.data(), counted.size());
    } catch (...) {
        m_pendingAppends.pop_back(); // a later try appends after the records, not after the mark
        m_appendFailed = true;
        throw;
    }
    m_file.startWriteBack(at, m_pendingAppends.size() - 1);
    m_pendingAppends.clear();
    m_pendingCount = 0;
    m_countOnDisk = m_header.recordCount;
}

void Table::endBatch(uint64_t* appended)
{
    if (!inBatch())
        return;
    try {
        if (m_state != State::Browse)
            post();
        writePendingAppends();
        if (m_appendFailed)
            cutAfterCountedRecords();
        // The batch's records reach the device before the index calls itself clean.
        m_file.sync();
        // Under exclusive use the index pages stay held back until the table closes.
        if (m_indexOpen && m_mode != OpenMode::Exclusive) {
            m_index.flush();
            m_index.setWriteBack(false);
        }
    } catch (...) {
        abandonBatch();
        if (appended)
            *appended += m_countOnDisk - m_batchStartCount;
        throw;
    }
    if (appended)
        *appended += m_countOnDisk - m_batchStartCount;
    m_batchLock.reset();
    changed();
    notify();
}

void Table::abandonBatch()
{
    // The table is what its header counts: the records whose writing failed
    // are forgotten, those written before them (and counted) stay.
    m_pendingAppends.clear();
    m_pendingCount = 0;
    m_header.recordCount = m_countOnDisk;
    try {
        cutAfterCountedRecords();
        m_file.sync();
    } catch (...) {
        // The write that failed has been reported; this one would say the same.
    }
    // The index in memory holds entries of records the file may lack: it is
    // marked for a rebuild from the records rather than written (mendIndex).
    if (m_indexOpen)
        m_index.discardHeldBack();
    if (m_recNo > m_header.recordCount)
        m_recNo = 0;
    m_batchLock.reset();
    changed();
}

void Table::cutAfterCountedRecords()
{
    // Whole records may have reached the file past the count when a write of
    // the batch failed part way (a full disk): nobody was told of them, and a
    // later pack, which keeps what lies past the count, must not bring them back.
    const uint64_t end = m_header.headerLength + static_cast<uint64_t>(m_countOnDisk) * m_header.recordLength;
    if (m_file.size() <= end + 1)
        return;
    m_file.truncate(end);
    m_file.writeAt(end, "\x1A", 1);
}

} // namespace db
