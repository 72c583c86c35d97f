#pragma once

#include "FileIO.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <streambuf>
#include <string>
#include <thread>

namespace db {

// Output gathered in memory and written to a file in large pieces by a
// thread of its own, so that the copy into the file system overlaps the
// making of the next piece. A write's failure is thrown by the next flush.
class BackgroundWriter {
public:
    explicit BackgroundWriter(File& file);
    ~BackgroundWriter(); // waits for the piece being written, drops the rest
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    std::string& buffer() { return m_buffer; }
    void flushIfFull()
    {
        if (m_buffer.size() >= kPieceSize)
            flush();
    }
    // Hands the buffer to the writer (once the piece before it is written).
    void flush();
    // Waits until everything handed over is written.
    void finish();

private:
    static constexpr size_t kPieceSize = size_t{4} << 20;
    void writeLoop();
    void waitForWriter(std::unique_lock<std::mutex>& lock);

    File& m_file;
    std::string m_buffer;
    std::string m_writing;
    uint64_t m_offset = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_pending = false;
    bool m_stop = false;
    std::exception_ptr m_failure;
    std::thread m_writer;
};

// A stream buffer over a BackgroundWriter, for writers that speak
// std::ostream. A failed write surfaces at finish(), with its own message:
// the stream itself only turns bad.
class BackgroundWriterBuf : public std::streambuf {
public:
    explicit BackgroundWriterBuf(File& file)
        : m_writer(file)
    {
    }
    void finish() { m_writer.finish(); }

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        m_writer.buffer().append(s, static_cast<size_t>(n));
        m_writer.flushIfFull();
        return n;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            m_writer.buffer().push_back(traits_type::to_char_type(c));
            m_writer.flushIfFull();
        }
        return traits_type::not_eof(c);
    }

private:
    BackgroundWriter m_writer;
};

} // namespace db
