#pragma once

#include "DbError.h"

#include <cstdint>
#include <functional>
#include <string>

namespace db {

// The one place where the engine touches files: positioned reads and writes
// that either complete or throw, sizes and change times, and the byte-range
// locks through which copies of the program share a table.
//
// Locks are Linux open-file-description locks (F_OFD_SETLK): they belong to
// one open of a file, so two table objects of one process lock against each
// other exactly as two processes do. They lie far beyond any real data so
// that they never block a reader of the file's bytes.
class File {
public:
    enum class Mode { ReadOnly, ReadWrite, CreateTruncate };
    enum class LockKind { Shared, Exclusive };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    void open(const std::string& path, Mode mode);
    // Like open, but returns false instead of throwing when the file is missing.
    bool openIfExists(const std::string& path, Mode mode);
    // Opens a destination that is written in order and never replaced (see
    // isStreamDestination): standard output for "-", else the pipe, FIFO or
    // device itself. Its writes must follow each other; sync does nothing.
    void openStream(const std::string& path);
    bool isStream() const { return m_stream; }
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }
    bool writable() const { return m_writable; }

    // Reads exactly n bytes at offset; throws DbError on a short read.
    void readAt(uint64_t offset, void* buffer, size_t n) const;
    // Reads up to n bytes; returns how many were there.
    size_t readSomeAt(uint64_t offset, void* buffer, size_t n) const;
    void writeAt(uint64_t offset, const void* buffer, size_t n);
    uint64_t size() const;
    // Size and modification time from one look at the file.
    std::pair<uint64_t, int64_t> sizeAndModified() const;
    void truncate(uint64_t size);
    // Flushes the file's data to the device (fdatasync).
    void sync();
    // Asks the system to start writing a range to the device now, without
    // waiting: a long run of appends then reaches the device while the
    // program goes on, and the sync at its end has little left to wait for.
    // Only a hint: nothing is promised until sync().
    void startWriteBack(uint64_t offset, uint64_t length);
    // Gives this file the permissions, owner and group of another (when it
    // exists), so that a file that replaces it changes nothing but its bytes.
    void takeModeAndOwnerOf(const std::string& original);

    // Non-blocking lock attempt; false when another holder conflicts.
    bool tryLock(uint64_t offset, LockKind kind);
    // Waits until the lock is granted.
    void lock(uint64_t offset, LockKind kind);
    void unlock(uint64_t offset);
    // True when another open of the file holds a lock on that byte.
    bool lockedElsewhere(uint64_t offset) const;

    // A read-only view of part of the file (the offset a multiple of the page
    // size); nullptr when the file cannot be mapped. Release it with unmap.
    const char* map(uint64_t offset, size_t length) const;
    static void unmap(const char* view, size_t length);
    static size_t pageSize();

    [[noreturn]] void fail(Message what) const;

private:
    void writeInOrder(uint64_t offset, const char* data, size_t n);

    int m_fd = -1;
    bool m_writable = false;
    bool m_stream = false;
    uint64_t m_streamed = 0; // bytes written to a stream so far
    std::string m_path;
};

bool fileExists(const std::string& path);
// A destination that cannot be replaced by a finished file: "-" (standard
// output), or a path (or a link to one) that is a pipe, a FIFO, a socket or a
// device. Such a destination is written directly, in order, with no work file.
bool isStreamDestination(const std::string& path);
// A source that is read in order and may never end or may block: "-"
// (standard input) or anything that is not a regular file or a folder.
bool isStreamSource(const std::string& path);
// Removes a file (not a folder); false when there was none.
bool removeFile(const std::string& path);
// Renames a finished (and synced) temporary file over its destination, then
// syncs the folder so that the rename itself survives a power cut.
void replaceFile(const std::string& temporary, const std::string& destination);
void syncFolderOf(const std::string& path);
// Writes a file anew: write fills a temporary file beside the destination
// (behind any link, with the destination's permissions and owner), which is
// synced and renamed into place. A failure removes the temporary file and
// leaves the destination as it was. A stream destination is written directly.
void writeReplacing(const std::string& path, const std::function<void(File& out)>& write,
                    const std::string& suffix = ".rk-new");
// Work files: a file written beside its destination and renamed over it when
// whole is named for the destination, its kind (suffix, such as ".rk-export")
// and the process writing it, and holds a lock while it is written.
// openWorkFile first removes the work files of that destination and kind that
// runs which ended (a kill, a power cut) left behind, then creates this run's.
std::string openWorkFile(const std::string& destination, const std::string& suffix, File& out);
// Removes the work files of runs that ended, of this destination and kind.
void removeStaleWorkFiles(const std::string& destination, const std::string& suffix);

// The file a path names after following every symbolic link (the path
// itself when it does not exist yet): what a replacement must be written beside.
std::string resolvedPath(const std::string& path);

} // namespace db
