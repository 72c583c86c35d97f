#include "TextReportFile.h"

#include "DbError.h"
#include "FileIO.h"

#include <cerrno>
#include <cstring>

namespace report {

TextReportFile::TextReportFile(const std::string& destination)
    : m_destination(db::resolvedPath(destination))
{
    // The work file holds its lock (through m_work) while the report is written into it.
    m_temporary = db::openWorkFile(m_destination, ".rk-new", m_work);
    m_out.open(m_temporary, std::ios::binary | std::ios::trunc);
    if (!m_out) {
        const std::string reason = std::strerror(errno);
        db::removeFile(m_temporary);
        throw db::DbError(destination, db::Message(TRANSLATABLE("db", "Cannot create file: %1"), {reason}));
    }
}

TextReportFile::~TextReportFile()
{
    if (m_committed)
        return;
    m_out.close();
    try {
        db::removeFile(m_temporary);
    } catch (...) {
        // Only in the way; the destination is as it was.
    }
}

void TextReportFile::commit()
{
    m_out.close();
    if (m_out.fail())
        throw db::DbError(m_destination,
                          db::Message(TRANSLATABLE("db", "Write error: the text file could not be written whole")));
    db::File file; // on the device before it replaces anything
    file.open(m_temporary, db::File::Mode::ReadWrite);
    file.sync();
    file.close();
    db::replaceFile(m_temporary, m_destination);
    m_committed = true;
}

} // namespace report
