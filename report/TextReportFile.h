#pragma once

#include "BackgroundWriter.h"
#include "FileIO.h"

#include <memory>
#include <ostream>
#include <string>

namespace report {

// The text file a report is written to: its lines go to a file beside the
// destination, which replaces the destination (synced, renamed) only when
// commit() is called; otherwise it is removed and the destination is left
// as it was. A thread of its own writes the lines into the file while the
// report makes the next ones.
class TextReportFile {
public:
    explicit TextReportFile(const std::string& destination); // throws db::DbError
    ~TextReportFile();
    TextReportFile(const TextReportFile&) = delete;
    TextReportFile& operator=(const TextReportFile&) = delete;

    std::ostream& stream() { return m_out; }
    void commit(); // throws db::DbError

private:
    std::string m_destination;
    std::string m_temporary;
    db::File m_work; // holds the work file's lock while it is written
    std::unique_ptr<db::BackgroundWriterBuf> m_lines;
    std::ostream m_out;
    bool m_committed = false;
};

} // namespace report
