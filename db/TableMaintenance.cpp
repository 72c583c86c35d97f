// Maintenance under exclusive use: packing out deleted records (written
// beside the real file and renamed into place) and regenerating indexes.

#include "Table.h"
#include "TableInternals.h"

#include "DbError.h"

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
    // The packed file is a new file: hold it exclusively before letting the old one go.
    File packed;
    packed.open(filePath(), File::Mode::ReadWrite);
    if (!packed.tryLock(kOpenLock, File::LockKind::Exclusive))
        throw DbError(path, Message{TRANSLATABLE("db", "The packed table was opened by another program before it could be locked")});
    m_readAhead.reset(); // it maps from the old file
    m_file = std::move(packed);
    readHeader(CountCheck::Strict);
    noteCountProblem();
    invalidateChunk();
    const std::vector<TagDefinition> tags = m_indexOpen ? m_index.tags() : std::vector<TagDefinition>{};
    if (!tags.empty())
        buildIndexFile(tags);
    first();
    return result;
}

std::string Table::packMessage(const PackResult& result, const Speak& speak)
{
    std::string message =
        counted(speak, result.kept, TRANSLATABLE("db", "%1 record kept"), TRANSLATABLE("db", "%1 records kept")) + ", "
        + counted(speak, result.deleted, TRANSLATABLE("db", "%1 deleted record removed"),
                  TRANSLATABLE("db", "%1 deleted records removed"));
    if (result.pastCount > 0)
        message += "; "
                   + counted(speak, result.pastCount,
                             TRANSLATABLE("db", "%1 whole record past the header's count (a change cut short) kept"),
                             TRANSLATABLE("db", "%1 whole records past the header's count (a change cut short) kept"));
    if (result.damaged > 0)
        message += "; "
                   + counted(speak, result.damaged,
                             TRANSLATABLE("db", "%1 place holding no record (neither live nor deleted) removed"),
                             TRANSLATABLE("db", "%1 places holding no record (neither live nor deleted) removed"));
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
