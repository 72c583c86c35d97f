#pragma once

// The bytes of a recorded report. A recording stays in memory while it is
// small; once it grows past the memory limit it moves to a temporary file,
// so that a report over a million records does not hold hundreds of
// megabytes. The file is unlinked as soon as it is made: it disappears when
// the recording is freed, and nothing is left behind even if the program dies.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

class ReportBytes {
public:
    static constexpr size_t kDefaultMemoryLimit = size_t{32} << 20;

    ReportBytes() = default;
    explicit ReportBytes(std::vector<uint8_t> bytes);
    ReportBytes(ReportBytes&& other) noexcept;
    ReportBytes& operator=(ReportBytes&& other) noexcept;
    ReportBytes(const ReportBytes&) = delete;
    ReportBytes& operator=(const ReportBytes&) = delete;
    ~ReportBytes();

    // Bytes kept in memory before the recording moves to a file.
    void setMemoryLimit(size_t bytes) { m_memoryLimit = bytes; }
    bool spilled() const { return m_file >= 0; }

    size_t size() const { return m_fileSize + m_tail.size(); }
    bool empty() const { return size() == 0; }
    void clear();

    void push_back(uint8_t value)
    {
        m_tail.push_back(value);
        if (m_tail.size() >= flushSize())
            flush();
    }
    void append(const uint8_t* data, size_t n);
    // Overwrites bytes written earlier (a page count, a page link).
    void patch(size_t at, const uint8_t* data, size_t n);

    // n contiguous bytes at `at`, valid until the next read or write; the
    // caller keeps at + n within size() and n at most kMaxSpan.
    static constexpr size_t kMaxSpan = 4096;
    const uint8_t* span(size_t at, size_t n) const;
    // Copies n bytes at `at` (any length within size()).
    void read(size_t at, uint8_t* into, size_t n) const;

    std::vector<uint8_t> toVector() const;

private:
    size_t flushSize() const;
    void flush();
    void spill();
    void writeFile(size_t at, const uint8_t* data, size_t n);
    void readFile(size_t at, uint8_t* into, size_t n) const;
    void closeFile();

    size_t m_memoryLimit = kDefaultMemoryLimit;
    // In memory: every byte. Spilled: the bytes past the file's end.
    std::vector<uint8_t> m_tail;
    int m_file = -1;
    size_t m_fileSize = 0;
    // Spilled reads go through a window of the file.
    mutable std::vector<uint8_t> m_window;
    mutable size_t m_windowAt = 0;
};

} // namespace engine
