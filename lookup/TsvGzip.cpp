#include "TsvGzip.h"

#include "DbError.h"
#include "Translatable.h"

#include <algorithm>
#include <cstring>

namespace lookup {

namespace {

constexpr unsigned kReadSize = 1u << 20;

} // namespace

TsvGzipReader::TsvGzipReader(const std::string& path)
    : m_path(path)
{
    m_file = gzopen(path.c_str(), "rb");
    if (!m_file)
        throw db::DbError(path, db::Message{TRANSLATABLE("lookup", "The file \"%1\" cannot be opened."), {path}});
    gzbuffer(m_file, 256 << 10);
    std::string line;
    if (!readLine(line) || line.empty())
        throw db::DbError(path, db::Message{TRANSLATABLE("lookup", "The file \"%1\" holds no line naming its columns."),
                                            {path}});
    for (size_t from = 0;;) {
        const size_t tab = line.find('\t', from);
        m_header.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos)
            break;
        from = tab + 1;
    }
}

TsvGzipReader::~TsvGzipReader()
{
    if (m_file)
        gzclose(m_file);
}

int TsvGzipReader::column(std::string_view name) const
{
    const auto found = std::find(m_header.begin(), m_header.end(), name);
    return found == m_header.end() ? -1 : static_cast<int>(found - m_header.begin());
}

uint64_t TsvGzipReader::compressedOffset() const
{
    return m_file ? static_cast<uint64_t>(std::max<z_off_t>(0, gzoffset(m_file))) : 0;
}

bool TsvGzipReader::fill()
{
    if (m_ended)
        return false;
    m_buffer.erase(0, m_at);
    m_at = 0;
    const size_t had = m_buffer.size();
    m_buffer.resize(had + kReadSize);
    const int got = gzread(m_file, m_buffer.data() + had, kReadSize);
    if (got <= 0) {
        m_buffer.resize(had);
        m_ended = true;
        int error = Z_OK;
        gzerror(m_file, &error);
        // A file cut short on the way (a download broken off): zlib finds no end to the data.
        if (got < 0 || error != Z_OK)
            m_cutShort = true;
        return false;
    }
    m_buffer.resize(had + static_cast<size_t>(got));
    return true;
}

bool TsvGzipReader::readLine(std::string& line)
{
    line.clear();
    bool tooLong = false;
    while (true) {
        const size_t end = m_buffer.find('\n', m_at);
        if (end != std::string::npos) {
            tooLong = tooLong || line.size() + (end - m_at) > kLongestLine;
            if (!tooLong)
                line.append(m_buffer, m_at, end - m_at);
            m_at = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (tooLong) {
                ++m_damaged; // longer than any line of the files: left out whole
                line.clear();
                tooLong = false;
                continue;
            }
            return true;
        }
        if (!tooLong)
            line.append(m_buffer, m_at, std::string::npos);
        m_at = m_buffer.size();
        if (line.size() > kLongestLine) {
            tooLong = true;
            line.clear();
        }
        if (!fill()) {
            if (tooLong) {
                ++m_damaged;
                return false;
            }
            // A last line without its line break, when the file ended cleanly, is a line.
            return !line.empty() && !m_cutShort;
        }
    }
}

bool TsvGzipReader::next(std::vector<std::string_view>& values)
{
    while (readLine(m_line)) {
        ++m_lines;
        values.clear();
        for (size_t from = 0;;) {
            const size_t tab = m_line.find('\t', from);
            std::string_view value(m_line.data() + from, (tab == std::string::npos ? m_line.size() : tab) - from);
            values.push_back(value == "\\N" ? std::string_view() : value);
            if (tab == std::string::npos)
                break;
            from = tab + 1;
        }
        // A tab inside a value, or a value missing, shifts every column after it: the line is not whole.
        if (values.size() != m_header.size()) {
            ++m_damaged;
            continue;
        }
        return true;
    }
    return false;
}

} // namespace lookup
