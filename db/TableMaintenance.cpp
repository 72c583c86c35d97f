// Maintenance under exclusive use: packing out deleted records and
// converting the text to Unicode (each written beside the real file and
// renamed into place), and regenerating indexes.

#include "Table.h"
#include "TableInternals.h"

#include "DbError.h"
#include "TextEncoding.h"

#include <string>
#include <vector>

namespace db {

// ---------------------------------------------------------------- maintenance

Table::PackResult Table::pack()
{
    requireBrowse("pack");
    if (m_mode != OpenMode::Exclusive)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Packing requires exclusive use of the table")});
    // Written beside the real file (a link to the table stays a link) with
    // the table's own permissions and owner.
    const std::string path = resolvedPath(filePath());
    m_index.flush();
    rereadRecordCount();
    PackResult result;
    writeReplacing(path, [&](File& out) {
        result = PackResult{};
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
        const auto keepLive = [&](const char* records, uint32_t, uint32_t n) {
            kept.clear();
            for (uint32_t k = 0; k < n; ++k) {
                const char* record = records + static_cast<size_t>(k) * length;
                if (record[0] == ' ')
                    kept.insert(kept.end(), record, record + length);
                else
                    ++(record[0] == '*' ? result.deleted : result.damaged);
            }
            out.writeAt(writeAt, kept.data(), kept.size());
            writeAt += kept.size();
            result.kept += static_cast<uint32_t>(kept.size() / length);
        };
        scanRecords(keepLive);
        // Whole records past a count that fell behind (a crash between the
        // records and the count) are kept: they are the user's data. What is
        // not a live record there (the end-of-file mark, what a change cut
        // short left) is no record and is not counted.
        const auto whole = static_cast<uint32_t>((m_file.size() - m_header.headerLength) / length);
        if (whole > m_header.recordCount && !m_fileNote.empty()) {
            const PackResult within = result;
            scanRecords(m_header.recordCount + 1, whole, keepLive);
            result.pastCount = result.kept - within.kept;
            result.deleted = within.deleted;
            result.damaged = within.damaged;
        }
        out.writeAt(writeAt, "\x1A", 1);
        const std::string counted = headerCountBytes(result.kept);
        out.writeAt(1, counted.data(), counted.size());
    }, ".rk-pack");
    adoptRewrittenTable(path, Message{TRANSLATABLE("db", "The packed table was opened by another program before it could be locked")});
    return result;
}

namespace {

// What pack and the conversion say of whole records found past the header's count ("" for none).
std::string pastCountPart(uint64_t pastCount, const Speak& speak)
{
    if (pastCount == 0)
        return {};
    return "; "
           + counted(speak, pastCount, TRANSLATABLE("db", "%1 whole record past the header's count (a change cut short) kept"),
                     TRANSLATABLE("db", "%1 whole records past the header's count (a change cut short) kept"));
}

} // namespace

std::string Table::packMessage(const PackResult& result, const Speak& speak)
{
    std::string message =
        counted(speak, result.kept, TRANSLATABLE("db", "%1 record kept"), TRANSLATABLE("db", "%1 records kept")) + ", "
        + counted(speak, result.deleted, TRANSLATABLE("db", "%1 deleted record removed"),
                  TRANSLATABLE("db", "%1 deleted records removed"));
    message += pastCountPart(result.pastCount, speak);
    if (result.damaged > 0)
        message += "; "
                   + counted(speak, result.damaged,
                             TRANSLATABLE("db", "%1 place holding no record (neither live nor deleted) removed"),
                             TRANSLATABLE("db", "%1 places holding no record (neither live nor deleted) removed"));
    return message;
}

namespace {

// A record's character fields in UTF-8, each padded to its width, written
// over the record in place. Returns the fields whose text needs more bytes
// than the field has; their text is then cut at a character's end.
std::vector<int> convertRecordToUtf8(char* record, const std::vector<FieldDef>& fields, std::string& scratch)
{
    std::vector<int> tooLong;
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = fields[i];
        if (f.kind() != FieldKind::Character)
            continue;
        char* const bytes = record + f.offset;
        std::string_view stored(bytes, static_cast<size_t>(f.width));
        if (isAscii(stored))
            continue;
        while (!stored.empty() && stored.back() == ' ')
            stored.remove_suffix(1);
        scratch.clear();
        appendFieldTextAsUtf8(scratch, stored, TextEncoding::Windows1252);
        if (scratch.size() > static_cast<size_t>(f.width)) {
            tooLong.push_back(static_cast<int>(i));
            scratch.resize(utf8FittingLength(scratch, static_cast<size_t>(f.width)));
        }
        scratch.resize(static_cast<size_t>(f.width), ' ');
        std::copy(scratch.begin(), scratch.end(), bytes);
    }
    return tooLong;
}

// The first character field's text of a record, to name it by ("“Amélie”").
std::string recordName(const char* record, const std::vector<FieldDef>& fields)
{
    for (const FieldDef& f : fields) {
        if (f.kind() != FieldKind::Character)
            continue;
        std::string_view stored(record + f.offset, static_cast<size_t>(f.width));
        while (!stored.empty() && stored.back() == ' ')
            stored.remove_suffix(1);
        std::string text;
        appendFieldTextAsUtf8(text, stored, TextEncoding::Windows1252);
        return "\u201C" + text + "\u201D";
    }
    return {};
}

const Message kConvertedLockedByAnother{
    TRANSLATABLE("db", "The converted table was opened by another program before it could be locked")};

} // namespace

Table::ConversionResult Table::convertToUnicode()
{
    requireBrowse("convert");
    if (m_mode != OpenMode::Exclusive)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Converting requires exclusive use of the table")});
    ConversionResult result;
    if (m_encoding == TextEncoding::Utf8) {
        result.alreadyUnicode = true;
        return result;
    }
    const std::string path = resolvedPath(filePath());
    m_index.flush();
    rereadRecordCount();
    const size_t length = m_header.recordLength;
    // The records to convert: those within the count, and the whole ones past
    // it where a change was cut short (the user's data, as pack keeps them).
    const auto whole = static_cast<uint32_t>((m_file.size() - m_header.headerLength) / length);
    const uint32_t last = whole > m_header.recordCount && !m_fileNote.empty() ? whole : m_header.recordCount;

    // First a pass that changes nothing: a live record's text that would not
    // fit is the user's to shorten, and the collection stays as it is.
    std::vector<std::string> misfits;
    size_t misfitCount = 0;
    std::string scratch;
    std::vector<char> copy(length);
    if (last > 0)
        scanRecords(1, last, [&](const char* records, uint32_t first, uint32_t n) {
            for (uint32_t k = 0; k < n; ++k) {
                const char* record = records + static_cast<size_t>(k) * length;
                if (record[0] != ' ')
                    continue;
                std::copy(record, record + length, copy.begin());
                for (const int field : convertRecordToUtf8(copy.data(), m_header.fields, scratch)) {
                    if (++misfitCount <= 10)
                        misfits.push_back(std::to_string(first + k) + " " + recordName(record, m_header.fields) + " "
                                          + m_header.fields[static_cast<size_t>(field)].name);
                }
            }
        });
    if (misfitCount > 0) {
        std::string list;
        for (const std::string& m : misfits)
            list += (list.empty() ? "" : "; ") + m;
        if (misfitCount > misfits.size())
            list += "; …";
        throw DbError(path, Message(misfitCount == 1 ? TRANSLATABLE("db", "Nothing was converted: %1 text would be longer "
                                                                         "than its field in Unicode, where a letter "
                                                                         "beyond ASCII takes two to four bytes. Record "
                                                                         "and field: %2. Shorten it and convert again.")
                                                     : TRANSLATABLE("db", "Nothing was converted: %1 texts would be longer "
                                                                         "than their fields in Unicode, where a letter "
                                                                         "beyond ASCII takes two to four bytes. Records "
                                                                         "and fields: %2. Shorten them and convert again."),
                                    {std::to_string(misfitCount), list}));
    }

    // A header that names no code page would let the .cpg written next make
    // this table read as Unicode before it is: it says Windows-1252 first.
    if (m_header.languageDriver == 0) {
        const char ansi = static_cast<char>(languageDriverOf(TextEncoding::Windows1252));
        m_file.writeAt(29, &ansi, 1);
        m_file.sync();
        m_header.languageDriver = static_cast<uint8_t>(ansi);
    }
    // The index is marked for a rebuild before the table changes under it:
    // its keys are of the old text, and the new file has the old one's size
    // and count.
    if (m_indexOpen)
        m_index.markRebuildDue();
    try {
        writeConvertedTable(path, last, result);
    } catch (...) {
        // A failure once the new table had taken the old one's place (its
        // folder could not be written to disk) leaves the new one there: the
        // table goes on with it, and the failure is still said.
        if (encodingOfFile(path) == TextEncoding::Utf8) {
            adoptRewrittenTable(path, kConvertedLockedByAnother);
            throw;
        }
        try {
            mendIndex(); // the table is as it was: so is its index again
        } catch (...) {
            // It stays marked, and the next open that may write rebuilds it.
        }
        throw;
    }
    adoptRewrittenTable(path, kConvertedLockedByAnother);
    return result;
}

void Table::adoptRewrittenTable(const std::string& path, const Message& lockedByAnother)
{
    // The rewritten file is a new file: hold it exclusively before letting the old one go.
    File rewritten;
    rewritten.open(filePath(), File::Mode::ReadWrite);
    if (!rewritten.tryLock(kOpenLock, File::LockKind::Exclusive))
        throw DbError(path, lockedByAnother);
    m_readAhead.reset(); // it maps from the old file
    m_file = std::move(rewritten);
    readHeader(CountCheck::Strict);
    noteCountProblem();
    invalidateChunk();
    const std::vector<TagDefinition> tags = m_indexOpen ? m_index.tags() : std::vector<TagDefinition>{};
    if (!tags.empty())
        buildIndexFile(tags);
    first();
}

// The .cpg first, then the table: until the table is replaced, its header
// still names Windows-1252, and that decides (see encodingOf).
void Table::writeConvertedTable(const std::string& path, uint32_t last, ConversionResult& result)
{
    const size_t length = m_header.recordLength;
    std::string scratch;
    CodePageFileChange codePage(path, TextEncoding::Utf8);
    const auto write = [&](File& out) {
        result = ConversionResult{};
        DbfHeader header = m_header;
        header.languageDriver = languageDriverOf(TextEncoding::Utf8);
        header.recordCount = last;
        const std::string headerBytes = serializeDbfHeader(header);
        out.writeAt(0, headerBytes.data(), headerBytes.size());
        const std::vector<char> padding(m_header.headerLength - headerBytes.size(), '\0');
        if (!padding.empty())
            out.writeAt(headerBytes.size(), padding.data(), padding.size());
        std::vector<char> converted;
        uint64_t writeAt = m_header.headerLength;
        if (last > 0)
            scanRecords(1, last, [&](const char* records, uint32_t, uint32_t n) {
                converted.assign(records, records + static_cast<size_t>(n) * length);
                for (uint32_t k = 0; k < n; ++k) {
                    char* record = converted.data() + static_cast<size_t>(k) * length;
                    // Only records are converted: what holds no record (what a
                    // change cut short) stays as it was for pack to remove.
                    if (record[0] != ' ' && record[0] != '*')
                        continue;
                    if (!convertRecordToUtf8(record, m_header.fields, scratch).empty())
                        ++result.cutDeleted; // a live one would have stopped the conversion above
                }
                out.writeAt(writeAt, converted.data(), converted.size());
                writeAt += converted.size();
            });
        out.writeAt(writeAt, "\x1A", 1);
        result.records = last;
        result.pastCount = last - m_header.recordCount;
    };
    try {
        writeReplacing(path, write, ".rk-convert");
    } catch (...) {
        if (encodingOfFile(path) == TextEncoding::Utf8)
            codePage.keep(); // the new table took the old one's place before the failure
        throw;
    }
    codePage.keep();
}

std::string Table::conversionMessage(const ConversionResult& result, const Speak& speak)
{
    if (result.alreadyUnicode)
        return Message{TRANSLATABLE("db", "The collection already keeps its text in Unicode; nothing was changed")}.spoken(speak);
    std::string message = counted(speak, result.records, TRANSLATABLE("db", "%1 record now keeps its text in Unicode"),
                                  TRANSLATABLE("db", "%1 records now keep their text in Unicode"));
    message += pastCountPart(result.pastCount, speak);
    if (result.cutDeleted > 0)
        message += "; "
                   + counted(speak, result.cutDeleted,
                             TRANSLATABLE("db", "%1 deleted record's text shortened to fit"),
                             TRANSLATABLE("db", "%1 deleted records' texts shortened to fit"));
    return message;
}

void Table::regenerateIndexes()
{
    requireBrowse("regenerate indexes");
    if (m_mode != OpenMode::Exclusive)
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Regenerating indexes requires exclusive use of the table")});
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
