#include "FileIO.h"

#include "DbError.h"
#include "FaultInjection.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace db {

namespace {
std::string systemMessage(int error)
{
    return std::strerror(error);
}
} // namespace

File::~File()
{
    close();
}

File::File(File&& other) noexcept
    : m_fd(other.m_fd)
    , m_writable(other.m_writable)
    , m_stream(other.m_stream)
    , m_streamed(other.m_streamed)
    , m_path(std::move(other.m_path))
{
    other.m_fd = -1;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_writable = other.m_writable;
        m_stream = other.m_stream;
        m_streamed = other.m_streamed;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

void File::open(const std::string& path, Mode mode)
{
    if (!openIfExists(path, mode))
        throw DbError(path, Message{TRANSLATABLE("db", "Cannot open file: %1"), {systemMessage(ENOENT)}});
}

bool File::openIfExists(const std::string& path, Mode mode)
{
    close();
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::ReadOnly: flags |= O_RDONLY; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
    case Mode::CreateTruncate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    if (mode == Mode::CreateTruncate)
        faults::beforeChange(path, "create file");
    // Without waiting: a FIFO would otherwise hold the open until a writer came.
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
    if (fd < 0) {
        if (errno == ENOENT && mode != Mode::CreateTruncate)
            return false;
        throw DbError(path, Message{TRANSLATABLE("db", "Cannot open file: %1"), {systemMessage(errno)}});
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw DbError(path, Message{TRANSLATABLE("db", "Cannot open file: it is a folder")});
    }
    // Tables, indexes and the files read whole are regular files: a pipe or a
    // device (/dev/zero) would never end, or never answer.
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw DbError(path, Message{TRANSLATABLE("db", "Cannot open file: it is not a regular file but a pipe, a "
                                                       "device or a socket")});
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_writable = mode != Mode::ReadOnly;
    m_path = path;
    return true;
}

void File::openStream(const std::string& path)
{
    close();
    // Standard output is a copy of the descriptor, so that closing this file leaves it open.
    const int fd = path == "-" ? ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0) : ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw DbError(path, Message{TRANSLATABLE("db", "Cannot open file: %1"), {systemMessage(errno)}});
    m_fd = fd;
    m_writable = true;
    m_stream = true;
    m_streamed = 0;
    m_path = path;
}

void File::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_stream = false;
}

void File::writeInOrder(uint64_t offset, const char* data, size_t n)
{
    if (offset != m_streamed)
        fail(Message{TRANSLATABLE("db", "This file cannot be written to a pipe or a device: it has to be written "
                                        "out of order")});
    size_t done = 0;
    while (done < n) {
        const ssize_t put = ::write(m_fd, data + done, n - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail(Message{TRANSLATABLE("db", "Write error: %1"), {systemMessage(errno)}});
        }
        done += static_cast<size_t>(put);
    }
    m_streamed += n;
}

void File::fail(Message what) const
{
    throw DbError(m_path, std::move(what));
}

size_t File::readSomeAt(uint64_t offset, void* buffer, size_t n) const
{
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(m_fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(Message{TRANSLATABLE("db", "Read error: %1"), {systemMessage(errno)}});
        }
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

void File::readAt(uint64_t offset, void* buffer, size_t n) const
{
    if (readSomeAt(offset, buffer, n) != n)
        fail(Message{TRANSLATABLE("db", "Unexpected end of file: the file is shorter than its header says")});
}

void File::writeAt(uint64_t offset, const void* buffer, size_t n)
{
    const auto* in = static_cast<const char*>(buffer);
    if (m_stream) {
        faults::beforeWrite(m_path, m_fd, offset, n);
        writeInOrder(offset, in, n);
        return;
    }
    std::vector<char> corrupted;
    if (faults::beforeWrite(m_path, m_fd, offset, n) && n > 0) {
        corrupted.assign(in, in + n);
        corrupted[n / 2] = static_cast<char>(corrupted[n / 2] ^ 0x20);
        in = corrupted.data();
    }
    // Written a piece at a time: on this kernel one write of megabytes copied
    // into the page cache several times slower than the same bytes in pieces
    // that stay in the processor's cache.
    constexpr size_t kLargestWrite = size_t{128} << 10;
    size_t done = 0;
    while (done < n) {
        const ssize_t put =
            ::pwrite(m_fd, in + done, std::min(n - done, kLargestWrite), static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            fail(Message{TRANSLATABLE("db", "Write error: %1"), {systemMessage(errno)}});
        }
        done += static_cast<size_t>(put);
    }
}

uint64_t File::size() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        fail(Message{TRANSLATABLE("db", "Cannot read file size: %1"), {systemMessage(errno)}});
    return static_cast<uint64_t>(st.st_size);
}

std::pair<uint64_t, int64_t> File::sizeAndModified() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        fail(Message{TRANSLATABLE("db", "Cannot read file size: %1"), {systemMessage(errno)}});
    const int64_t nanoseconds = faults::coarseTimestamps() ? 0 : st.st_mtim.tv_nsec;
    return {static_cast<uint64_t>(st.st_size), static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000LL + nanoseconds};
}

void File::truncate(uint64_t size)
{
    faults::beforeResize(m_path, m_fd, size);
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
        fail(Message{TRANSLATABLE("db", "Cannot change file size: %1"), {systemMessage(errno)}});
}

void File::sync()
{
    if (m_stream)
        return; // a pipe or a device has nothing to keep
    faults::beforeChange(m_path, "write file to disk");
    if (::fdatasync(m_fd) != 0)
        fail(Message{TRANSLATABLE("db", "Cannot write file to disk: %1"), {systemMessage(errno)}});
    faults::afterSync(m_path);
}

void File::startWriteBack(uint64_t offset, uint64_t length)
{
    if (m_stream)
        return;
    ::sync_file_range(m_fd, static_cast<off64_t>(offset), static_cast<off64_t>(length), SYNC_FILE_RANGE_WRITE);
}

namespace {
struct flock lockRecord(uint64_t offset, short type)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = 1;
    fl.l_pid = 0; // required for OFD locks
    return fl;
}
} // namespace

bool File::tryLock(uint64_t offset, LockKind kind)
{
    struct flock fl = lockRecord(offset, kind == LockKind::Shared ? F_RDLCK : F_WRLCK);
    if (::fcntl(m_fd, F_OFD_SETLK, &fl) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES)
        return false;
    fail(Message{TRANSLATABLE("db", "Cannot lock file: %1"), {systemMessage(errno)}});
}

void File::lock(uint64_t offset, LockKind kind)
{
    struct flock fl = lockRecord(offset, kind == LockKind::Shared ? F_RDLCK : F_WRLCK);
    while (::fcntl(m_fd, F_OFD_SETLKW, &fl) != 0) {
        if (errno != EINTR)
            fail(Message{TRANSLATABLE("db", "Cannot lock file: %1"), {systemMessage(errno)}});
    }
}

void File::unlock(uint64_t offset)
{
    struct flock fl = lockRecord(offset, F_UNLCK);
    ::fcntl(m_fd, F_OFD_SETLK, &fl);
}

bool File::lockedElsewhere(uint64_t offset) const
{
    struct flock fl = lockRecord(offset, F_WRLCK);
    if (::fcntl(m_fd, F_OFD_GETLK, &fl) != 0)
        fail(Message{TRANSLATABLE("db", "Cannot test file lock: %1"), {systemMessage(errno)}});
    return fl.l_type != F_UNLCK;
}

const char* File::map(uint64_t offset, size_t length) const
{
    // Populated at once: one call maps the whole window instead of a fault every few pages.
    void* view = ::mmap(nullptr, length, PROT_READ, MAP_SHARED | MAP_POPULATE, m_fd, static_cast<off_t>(offset));
    if (view == MAP_FAILED)
        return nullptr;
    ::madvise(view, length, MADV_SEQUENTIAL);
    return static_cast<const char*>(view);
}

void File::unmap(const char* view, size_t length)
{
    if (view)
        ::munmap(const_cast<char*>(view), length);
}

size_t File::pageSize()
{
    return static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

bool fileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void File::takeModeAndOwnerOf(const std::string& original)
{
    struct stat st {};
    if (::stat(original.c_str(), &st) != 0)
        return; // nothing to keep: a new file keeps the defaults
    if (::fchmod(m_fd, st.st_mode & 07777) != 0)
        fail(Message{TRANSLATABLE("db", "Cannot set the file's permissions: %1"), {systemMessage(errno)}});
    // Only the owner's group can be kept by an ordinary user; root keeps both.
    if (::fchown(m_fd, st.st_uid, st.st_gid) != 0 && ::fchown(m_fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Left with this user's group: the data is what matters.
    }
}

bool removeFile(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    faults::beforeChange(path, "delete file");
    if (::unlink(path.c_str()) != 0) {
        if (errno == ENOENT)
            return false;
        throw DbError(path, Message{TRANSLATABLE("db", "Cannot delete file: %1"), {systemMessage(errno)}});
    }
    return true;
}

void syncFolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    faults::beforeChange(path, "write folder to disk");
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // a folder we cannot open we cannot sync either; the rename itself stands
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder (EINVAL); that is not a failure of ours.
    if (result != 0 && error != EINVAL && error != EROFS)
        throw DbError(path, Message{TRANSLATABLE("db", "Cannot write folder to disk: %1"), {systemMessage(error)}});
}

void replaceFile(const std::string& temporary, const std::string& destination)
{
    faults::beforeChange(destination, "replace file");
    if (::rename(temporary.c_str(), destination.c_str()) != 0)
        throw DbError(destination, Message{TRANSLATABLE("db", "Cannot replace file: %1"), {systemMessage(errno)}});
    syncFolderOf(destination);
}

namespace {

// Held by the run that writes a work file, for as long as it writes it.
constexpr uint64_t kWorkFileLock = 1ULL << 62;

// The process a work file's name says wrote it, 0 for a name without one.
pid_t writerOf(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() + 1 || name[prefix.size()] != '.')
        return 0;
    const std::string digits = name.substr(prefix.size() + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
        return -1; // not one of ours
    return static_cast<pid_t>(std::stol(digits));
}

} // namespace

void removeStaleWorkFiles(const std::string& destination, const std::string& suffix)
{
    const std::filesystem::path real = resolvedPath(destination);
    const std::string prefix = real.filename().string() + suffix;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(real.parent_path().empty() ? "." : real.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const pid_t writer = writerOf(name, prefix);
        // Another live process's is left alone; this process's own is stale
        // unless one of its runs still holds it (its lock says so).
        if (writer < 0 || (writer > 0 && writer != ::getpid() && (::kill(writer, 0) == 0 || errno != ESRCH)))
            continue;
        try {
            File stale;
            if (stale.openIfExists(entry.path().string(), File::Mode::ReadWrite)
                && stale.tryLock(kWorkFileLock, File::LockKind::Exclusive))
                removeFile(entry.path().string());
        } catch (const DbError&) {
            // One we cannot open or remove is only in the way.
        }
    }
}

std::string openWorkFile(const std::string& destination, const std::string& suffix, File& out)
{
    removeStaleWorkFiles(destination, suffix);
    const std::string work = resolvedPath(destination) + suffix + "." + std::to_string(::getpid());
    out.open(work, File::Mode::CreateTruncate);
    if (!out.tryLock(kWorkFileLock, File::LockKind::Exclusive))
        throw DbError(work, Message{TRANSLATABLE("db", "Another run is writing this work file")});
    return work;
}

bool isStreamDestination(const std::string& path)
{
    struct stat st {};
    return path == "-" || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode));
}

bool isStreamSource(const std::string& path) { return isStreamDestination(path); }

void writeReplacing(const std::string& path, const std::function<void(File& out)>& write, const std::string& suffix)
{
    if (isStreamDestination(path)) {
        File out;
        out.openStream(path);
        write(out);
        out.close();
        return;
    }
    const std::string real = resolvedPath(path);
    std::string temporary;
    try {
        File out;
        temporary = openWorkFile(real, suffix, out);
        out.takeModeAndOwnerOf(real);
        write(out);
        out.sync();
        out.close();
        replaceFile(temporary, real);
    } catch (...) {
        try {
            if (!temporary.empty())
                removeFile(temporary);
        } catch (...) {
            // The temporary file is only in the way; the destination is intact (the next run removes it).
        }
        throw;
    }
}

std::string resolvedPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(path, error);
    return error ? path : real.string();
}

} // namespace db
