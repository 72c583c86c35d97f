// The table object's life: naming its files, opening and closing them under
// the sharing locks (see Table.h), noticing damage at open, and creating
// new tables.

#include "Table.h"
#include "TableInternals.h"

#include "DbError.h"
#include "Ascii.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

namespace db {

namespace {
void mendCodePageFile(const std::string& path, TextEncoding encoding);
}

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
    // The name is everything before the .DBF extension ("Films 2.0.dbf" is the
    // table "Films 2.0"); a name given without it is the whole name, and the
    // file is that name with .DBF.
    const std::string base = std::filesystem::path(name).filename().string();
    m_name = base;
    m_extension = ".DBF";
    if (base.size() >= 4 && upperAscii(base.substr(base.size() - 4)) == ".DBF") {
        m_name = base.substr(0, base.size() - 4);
        m_extension = base.substr(base.size() - 4);
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
        throw DbError(filePath(), Message{TRANSLATABLE("db", "The table is already open")});
    if (m_name.empty())
        throw DbError("", Message{TRANSLATABLE("db", "No table name given")});
    const std::string path = filePath();
    if (!fileExists(path))
        throw DbError(path, Message{TRANSLATABLE("db", "Table does not exist")});
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
            throw DbError(path, Message{exclusive ? TRANSLATABLE("db", "The table is in use by another program and cannot "
                                                                       "be opened exclusively")
                                                  : TRANSLATABLE("db", "The table is opened exclusively by another program")});
        {
            UpdateLock read(*this, File::LockKind::Shared);
            readHeader(CountCheck::Lenient);
            noteCountProblem();
        }
        if (m_file.writable() && !m_encodingUncertain)
            mendCodePageFile(path, m_encoding);
        if (exclusive && m_file.writable())
            removeStaleWorkFiles();
        m_state = State::Browse;
        changed();
        openIndex();
        // A tag asked for that the index lacks is an error; an index that
        // cannot be used at all leaves the table in stored order instead.
        if (!m_selectedTag.empty() && selectedTagNumber() < 0 && m_indexProblem.empty())
            throw DbError(indexPath(), Message(TRANSLATABLE("db", "Index tag %1 does not exist"), {m_selectedTag}));
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

Table::ReadHold::ReadHold(Table& table)
    : m_table(table)
    , m_lock(std::make_unique<UpdateLock>(table, File::LockKind::Shared))
{
    // Records read before the hold may have changed since: the hold reads
    // them again, so that everything it sees is of its one moment.
    table.invalidateChunk();
    ++table.m_holds;
}

Table::ReadHold::~ReadHold()
{
    // What was read ahead under the hold may change once it ends.
    if (--m_table.m_holds == 0)
        m_table.dropKeyedReadAhead();
}

void Table::lockUpdate(File::LockKind kind)
{
    if (!m_lockWait || m_file.tryLock(kUpdateLock, kind)) {
        if (!m_lockWait)
            m_file.lock(kUpdateLock, kind);
        return;
    }
    // Another copy holds it (a batch of changes, or a whole-collection read):
    // wait, and say so now and again.
    using namespace std::chrono_literals;
    do {
        m_lockWait(true);
        std::this_thread::sleep_for(20ms);
    } while (!m_file.tryLock(kUpdateLock, kind));
    m_lockWait(false);
}

void Table::readHeader(CountCheck check)
{
    m_header = readDbfHeader(m_file, check);
    const std::optional<TextEncoding> codePage = codePageOfFile(filePath());
    m_encoding = encodingOf(m_header.languageDriver, codePage);
    m_encodingUncertain = false;
    if (m_header.languageDriver == 0 && !codePage) {
        const std::optional<TextEncoding> seen = encodingWithoutWord(m_file, m_header.headerLength);
        m_encoding = seen.value_or(TextEncoding::Windows1252);
        m_encodingUncertain = !seen;
    }
    for (FieldDef& f : m_header.fields)
        f.encoding = m_encoding;
}

TextEncoding Table::encodingOfFile(const std::string& path)
{
    try {
        File table;
        unsigned char header[32] = {};
        if (!table.openIfExists(path, File::Mode::ReadOnly) || table.readSomeAt(0, header, sizeof header) != sizeof header)
            return TextEncoding::Windows1252;
        const uint8_t languageDriver = header[29];
        const std::optional<TextEncoding> codePage = codePageOfFile(path);
        if (languageDriver == 0 && !codePage)
            return encodingWithoutWord(table, static_cast<uint16_t>(header[8] | header[9] << 8))
                .value_or(TextEncoding::Windows1252);
        return encodingOf(languageDriver, codePage);
    } catch (const DbError&) {
        return TextEncoding::Windows1252; // a table that cannot be read is read as nothing
    }
}

TextEncoding Table::encodingOf(uint8_t languageDriver, std::optional<TextEncoding> codePage)
{
    return codePage == TextEncoding::Utf8 && languageDriver == 0 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::optional<TextEncoding> Table::encodingWithoutWord(const File& file, uint16_t headerLength)
{
    // The first megabyte of records: numbers, dates, flags and the end mark
    // are ASCII, so what is not ASCII there is text. Windows-1252 text that
    // happens to be valid UTF-8 throughout ("Ã©" for every "é") is not what
    // collections hold.
    std::string bytes(size_t{1} << 20, '\0');
    bytes.resize(file.readSomeAt(headerLength, bytes.data(), bytes.size()));
    if (isAscii(bytes))
        return std::nullopt;
    // A character the read cut at its end is no fault of the text (a whole
    // one there is left out as well).
    size_t end = bytes.size();
    for (size_t back = 0; back < 3 && end > 0 && (static_cast<unsigned char>(bytes[end - 1]) & 0xC0) == 0x80; ++back)
        --end;
    if (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0xC0)
        --end;
    return isValidUtf8(std::string_view(bytes).substr(0, end)) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
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
    for (const char* suffix : {".rk-pack", ".rk-convert", ".rk-new"}) {
        try {
            db::removeStaleWorkFiles(real, suffix);
        } catch (const std::exception&) {
            // One we cannot remove is only in the way.
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
    dropKeyedReadAhead();
    m_expressions.clear();
    m_indexOpen = false;
    m_candidates.reset();
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
        throw DbError(filePath(), Message(TRANSLATABLE("db", "Cannot %1: the table is not open"), {what}));
}

void Table::requireBrowse(const char* what) const
{
    requireActive(what);
    if (m_state != State::Browse)
        throw DbError(filePath(), Message(TRANSLATABLE("db", "Cannot %1: a record is being edited"), {what}));
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
        throw DbError(filePath(), Message(TRANSLATABLE("db", "Field %1 not found"), {std::string(name)}));
    return index;
}

// ---------------------------------------------------------------- create

void Table::createTable(const std::string& path, const std::vector<FieldDef>& fields, TextEncoding encoding)
{
    DbfHeader header = makeDbfHeader(fields, encoding);
    for (const FieldDef& f : header.fields)
        if (std::count_if(header.fields.begin(), header.fields.end(),
                          [&](const FieldDef& g) { return sameLetters(f.name, g.name); })
            > 1)
            throw DbError(path, Message(TRANSLATABLE("db", "Field name %1 is used twice"), {f.name}));
    const bool replacing = fileExists(path);
    if (replacing) {
        File existing;
        existing.open(path, File::Mode::ReadOnly);
        if (existing.lockedElsewhere(kOpenLock))
            throw DbError(path, Message{TRANSLATABLE("db", "The table is in use by another program and cannot be replaced")});
    }
    CodePageFileChange codePage(path, encoding);
    writeReplacing(path, [&](File& out) {
        std::string bytes = serializeDbfHeader(header);
        bytes += '\x1A';
        out.writeAt(0, bytes.data(), bytes.size());
    });
    codePage.keep();
    // A new table starts without an index; an old index of the file just
    // written would only be rebuilt. No other table's index is touched.
    const std::string index = indexPathOfTableFile(path);
    if (!index.empty())
        removeFile(index);
}

namespace {

// An older collection is given the word on how it keeps its text where it
// lacks one, so that other programs read it right, and a word that says
// otherwise than the table (left by a conversion cut short) is put right;
// where the folder may not be written, it goes on without. A word the
// program does not know is left alone.
void mendCodePageFile(const std::string& path, TextEncoding encoding)
{
    try {
        const std::string cpg = codePageFileOf(resolvedPath(path));
        if (!fileExists(cpg) || codePageOfFile(path).value_or(encoding) != encoding)
            writeCodePageFile(path, encoding);
    } catch (const DbError&) {
    }
}

} // namespace

} // namespace db
