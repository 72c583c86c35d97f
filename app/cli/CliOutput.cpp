#include "CliOutput.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace cli {

namespace {
constexpr size_t kBufferSize = size_t{1} << 16;
}

DescriptorOutput::DescriptorOutput(int fd)
    : m_fd(fd)
{
    m_buffer.reserve(kBufferSize);
}

DescriptorOutput::~DescriptorOutput() { sync(); }

bool DescriptorOutput::writeAll(const char* data, size_t n)
{
    while (n > 0 && m_error == 0) {
        const ssize_t written = ::write(m_fd, data, n);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            m_error = errno;
            return false;
        }
        data += written;
        n -= static_cast<size_t>(written);
    }
    return m_error == 0;
}

int DescriptorOutput::overflow(int c)
{
    if (c == traits_type::eof())
        return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
    const char ch = static_cast<char>(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

std::streamsize DescriptorOutput::xsputn(const char* data, std::streamsize n)
{
    if (m_error != 0)
        return 0;
    const size_t size = static_cast<size_t>(n);
    if (m_buffer.size() + size > kBufferSize) {
        if (sync() != 0)
            return 0;
        if (size >= kBufferSize) // a large block goes out as it is, without a copy
            return writeAll(data, size) ? n : 0;
    }
    m_buffer.append(data, size);
    return n;
}

int DescriptorOutput::sync()
{
    const bool written = writeAll(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
    return written ? 0 : -1;
}

void checkOutput(std::ostream& out)
{
    out.flush();
    if (out)
        return;
    const auto* descriptor = dynamic_cast<const DescriptorOutput*>(out.rdbuf());
    const int error = descriptor ? descriptor->error() : 0;
    throw OutputError("cannot write the output: " + std::string(error ? std::strerror(error) : "the write failed"));
}

} // namespace cli
