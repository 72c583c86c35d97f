#pragma once

// Standard output of the command-line tool: written through a buffer of our
// own so that a failed write (a full disk, a closed pipe) is noticed with its
// reason, and the command stops and says so instead of ending as if all was
// written.

#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace cli {

// A buffered stream onto a file descriptor that remembers the first failed write.
class DescriptorOutput : public std::streambuf {
public:
    explicit DescriptorOutput(int fd);
    ~DescriptorOutput() override;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    // The errno of the first write that failed, 0 while none has.
    int error() const { return m_error; }

protected:
    int overflow(int c) override;
    std::streamsize xsputn(const char* data, std::streamsize n) override;
    int sync() override;

private:
    bool writeAll(const char* data, size_t n);

    int m_fd;
    int m_error = 0;
    std::string m_buffer;
};

// A write to the command's output that did not reach it.
struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Flushes out and throws OutputError, with the system's reason where the
// stream knows it ("No space left on device"), when anything written to it was lost.
void checkOutput(std::ostream& out);

} // namespace cli
