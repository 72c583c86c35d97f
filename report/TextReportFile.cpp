#include "TextReportFile.h"

#include "DbError.h"
#include "FileIO.h"

namespace report {

TextReportFile::TextReportFile(const std::string& destination)
    : m_destination(db::resolvedPath(destination))
    , m_out(nullptr)
{
    // The work file holds its lock (through m_work) while the report is written into it.
    m_temporary = db::openWorkFile(m_destination, ".rk-new", m_work);
    try {
        m_lines = std::make_unique<db::BackgroundWriterBuf>(m_work);
    } catch (...) { // no thread for the writer: the work file is not left behind
        m_work.close();
        db::removeFile(m_temporary);
        throw;
    }
    m_out.rdbuf(m_lines.get());
}

TextReportFile::~TextReportFile()
{
    m_out.rdbuf(nullptr);
    m_lines.reset(); // the writer stops before its file goes
    if (m_committed)
        return;
    m_work.close();
    try {
        db::removeFile(m_temporary);
    } catch (...) {
        // Only in the way; the destination is as it was.
    }
}

void TextReportFile::commit()
{
    m_lines->finish(); // a failed write throws its own error here
    if (m_out.fail())
        throw db::DbError(m_destination,
                          db::Message(TRANSLATABLE("db", "Write error: the text file could not be written whole")));
    m_work.sync(); // on the device before it replaces anything
    db::replaceFile(m_temporary, m_destination);
    m_committed = true;
}

} // namespace report
