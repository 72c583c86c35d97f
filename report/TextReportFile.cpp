#include "TextReportFile.h"

#include "DbError.h"
#include "FileIO.h"

namespace report {

TextReportFile::TextReportFile(const std::string& destination)
    : m_destination(db::isStreamDestination(destination) ? destination : db::resolvedPath(destination))
    , m_out(nullptr)
{
    // A pipe or a device takes the lines as they come; a file gets a work
    // file, which holds its lock (through m_work) while the report is written into it.
    if (db::isStreamDestination(m_destination))
        m_work.openStream(m_destination);
    else
        m_temporary = db::openWorkFile(m_destination, ".rk-new", m_work);
    try {
        m_lines = std::make_unique<db::BackgroundWriterBuf>(m_work);
    } catch (...) { // no thread for the writer: the work file is not left behind
        m_work.close();
        if (!m_temporary.empty())
            db::removeFile(m_temporary);
        throw;
    }
    m_out.rdbuf(m_lines.get());
}

TextReportFile::~TextReportFile()
{
    m_out.rdbuf(nullptr);
    m_lines.reset(); // the writer stops before its file goes
    if (m_committed || m_temporary.empty())
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
    if (!m_temporary.empty()) { // a stream has had every line already
        m_work.sync(); // on the device before it replaces anything
        db::replaceFile(m_temporary, m_destination);
    }
    m_committed = true;
}

} // namespace report
