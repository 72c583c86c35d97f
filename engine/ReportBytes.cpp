#include "ReportBytes.h"

#include "ReportStream.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace engine {

namespace {

constexpr size_t kChunk = size_t{1} << 20; // file writes and read windows

[[noreturn]] void fileFailed(const char* sentence, int error)
{
    throw EReportError(QCoreApplication::translate("engine", sentence)
                           .arg(QDir::toNativeSeparators(QDir::tempPath()), QString::fromLocal8Bit(std::strerror(error)))
                           .toStdString());
}

} // namespace

ReportBytes::ReportBytes(std::vector<uint8_t> bytes)
    : m_tail(std::move(bytes))
{
}

ReportBytes::ReportBytes(ReportBytes&& other) noexcept { *this = std::move(other); }

ReportBytes& ReportBytes::operator=(ReportBytes&& other) noexcept
{
    if (this == &other)
        return *this;
    closeFile();
    m_memoryLimit = other.m_memoryLimit;
    m_tail = std::move(other.m_tail);
    m_file = std::exchange(other.m_file, -1);
    m_fileSize = std::exchange(other.m_fileSize, 0);
    m_window = std::move(other.m_window);
    m_windowAt = other.m_windowAt;
    other.m_tail.clear();
    other.m_window.clear();
    return *this;
}

ReportBytes::~ReportBytes() { closeFile(); }

void ReportBytes::closeFile()
{
    if (m_file >= 0)
        ::close(m_file);
    m_file = -1;
    m_fileSize = 0;
    m_window.clear();
}

void ReportBytes::clear()
{
    closeFile();
    m_tail.clear();
    m_tail.shrink_to_fit();
}

size_t ReportBytes::flushSize() const { return spilled() ? kChunk : std::max<size_t>(m_memoryLimit, 1); }

void ReportBytes::append(const uint8_t* data, size_t n)
{
    m_tail.insert(m_tail.end(), data, data + n);
    if (m_tail.size() >= flushSize())
        flush();
}

void ReportBytes::flush()
{
    if (!spilled())
        spill();
    writeFile(m_fileSize, m_tail.data(), m_tail.size());
    m_fileSize += m_tail.size();
    m_tail.clear();
    if (m_tail.capacity() > 2 * kChunk)
        m_tail.shrink_to_fit();
}

void ReportBytes::spill()
{
    // Made and unlinked at once: only this descriptor keeps the file alive.
    QByteArray name = QDir(QDir::tempPath()).filePath(QStringLiteral("reelkeeper-report-XXXXXX")).toLocal8Bit();
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        fileFailed(QT_TRANSLATE_NOOP("engine", "Cannot make the report's temporary file in \"%1\": %2"), errno);
    ::unlink(name.constData());
    m_file = fd;
    m_fileSize = 0;
}

void ReportBytes::writeFile(size_t at, const uint8_t* data, size_t n)
{
    m_window.clear(); // the window may hold what is overwritten
    while (n > 0) {
        const ssize_t written = ::pwrite(m_file, data, n, static_cast<off_t>(at));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fileFailed(QT_TRANSLATE_NOOP("engine", "Cannot write the report's temporary file in \"%1\": %2"),
                       written < 0 ? errno : ENOSPC);
        data += written;
        at += static_cast<size_t>(written);
        n -= static_cast<size_t>(written);
    }
}

void ReportBytes::readFile(size_t at, uint8_t* into, size_t n) const
{
    while (n > 0) {
        const ssize_t got = ::pread(m_file, into, n, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            fileFailed(QT_TRANSLATE_NOOP("engine", "Cannot read the report's temporary file in \"%1\": %2"),
                       got < 0 ? errno : EIO);
        into += got;
        at += static_cast<size_t>(got);
        n -= static_cast<size_t>(got);
    }
}

void ReportBytes::patch(size_t at, const uint8_t* data, size_t n)
{
    if (at + n > size())
        throw EReportError(kUnexpectedCode);
    m_window.clear();
    // The part in the file, then the part still in memory.
    const size_t inFile = at < m_fileSize ? std::min(n, m_fileSize - at) : 0;
    if (inFile > 0)
        writeFile(at, data, inFile);
    if (inFile < n)
        std::memcpy(m_tail.data() + (at + inFile - m_fileSize), data + inFile, n - inFile);
}

void ReportBytes::read(size_t at, uint8_t* into, size_t n) const
{
    const size_t inFile = at < m_fileSize ? std::min(n, m_fileSize - at) : 0;
    if (inFile > 0)
        readFile(at, into, inFile);
    if (inFile < n)
        std::memcpy(into + inFile, m_tail.data() + (at + inFile - m_fileSize), n - inFile);
}

const uint8_t* ReportBytes::span(size_t at, size_t n) const
{
    if (at >= m_fileSize)
        return m_tail.data() + (at - m_fileSize);
    const bool inWindow = !m_window.empty() && at >= m_windowAt && at + n <= m_windowAt + m_window.size();
    if (!inWindow) {
        // The window reaches past the file into the tail when it must, so that
        // a span across the boundary is contiguous too.
        m_windowAt = at;
        m_window.resize(std::min(std::max(kChunk, n), size() - at));
        read(at, m_window.data(), m_window.size());
    }
    return m_window.data() + (at - m_windowAt);
}

std::vector<uint8_t> ReportBytes::toVector() const
{
    std::vector<uint8_t> bytes(size());
    read(0, bytes.data(), bytes.size());
    return bytes;
}

} // namespace engine
