#pragma once

// IMDb's dataset files read as they are downloaded: gzip-compressed lines of
// tab-separated values, the first line naming the columns, "\N" for a value
// not known. Nothing is unpacked to disk, and a line costs no more memory
// than the longest one allowed. A line that is not whole (a different number
// of values, longer than any line of the files) is counted and left out; a
// file cut short ends with what was read before the cut, and says so.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

class TsvGzipReader {
public:
    // Opens the file and reads its header line. Throws db::DbError naming the
    // file when it cannot be opened or holds no header.
    explicit TsvGzipReader(const std::string& path);
    ~TsvGzipReader();
    TsvGzipReader(const TsvGzipReader&) = delete;
    TsvGzipReader& operator=(const TsvGzipReader&) = delete;

    const std::vector<std::string>& header() const { return m_header; }
    // The column of a header name; -1 when the file has none.
    int column(std::string_view name) const;

    // The next whole line's values ("\N" as empty), valid until the next call;
    // false at the end (or where the file was cut short: see cutShort()).
    bool next(std::vector<std::string_view>& values);

    uint64_t linesRead() const { return m_lines; }
    uint64_t damagedLines() const { return m_damaged; }
    bool cutShort() const { return m_cutShort; }
    // The compressed bytes read so far, for progress against the file's size.
    uint64_t compressedOffset() const;

    static constexpr size_t kLongestLine = size_t{1} << 20;

private:
    bool readLine(std::string& line);
    bool fill();

    std::string m_path;
    gzFile m_file = nullptr;
    std::vector<std::string> m_header;
    std::string m_buffer;
    size_t m_at = 0;
    bool m_ended = false;
    bool m_cutShort = false;
    std::string m_line;
    uint64_t m_lines = 0;
    uint64_t m_damaged = 0;
};

} // namespace lookup
