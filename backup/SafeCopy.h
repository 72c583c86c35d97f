#pragma once

// Copies whole files for backup and restore without ever harming the file
// they replace: the copy goes to a temporary name in the destination's
// folder, is synced to the device, read back and compared (size and
// checksum) with what was read from the source, and only then renamed over
// the destination. A failed, cancelled or interrupted copy leaves the
// destination exactly as it was and removes the temporary file.

#include <atomic>
#include <cstdint>
#include <string>

namespace backup {

// Shared with a window while a copy runs on another thread.
struct CopyProgress {
    std::atomic<uint64_t> copied{0};
    std::atomic<uint64_t> total{0};
    std::atomic<bool> cancel{false};
};

enum class CopyResult { Copied, Cancelled };

// Throws db::DbError with the system's message and the file's name when a
// file cannot be read or written. removeFirst: the destination is deleted
// before the copy, for a destination whose room the copy needs (the caller
// has decided that losing it is acceptable).
CopyResult copyFileSafely(const std::string& source, const std::string& destination, CopyProgress* progress = nullptr,
                          bool removeFirst = false);

// Whether two paths name the same file (device and inode, after following
// links); false when either does not exist.
bool sameFile(const std::string& a, const std::string& b);

// Room on the destination's volume for a copy of source.
struct CopySpace {
    uint64_t needed = 0;    // the source's size
    uint64_t available = 0; // free on the destination's volume
    uint64_t replaced = 0;  // the size of the file the copy replaces, 0 for none
    // The copy fits beside the file it replaces (the safe way).
    bool fitsBeside() const { return available >= needed; }
    // It fits once the replaced file is gone.
    bool fitsInPlace() const { return available + replaced >= needed; }
};
// Throws db::DbError when the source cannot be measured.
CopySpace spaceFor(const std::string& source, const std::string& destination);

// A collection's covers folder copied beside the collection's copy (FILMS.covers
// to the destination's FILMS.covers): each picture copied safely, as a file
// is; pictures already there under other names stay. The number copied;
// throws db::DbError as copyFileSafely does. Nothing when there is no folder.
size_t copyCovers(const std::string& sourceCollection, const std::string& destinationCollection,
                  CopyProgress* progress = nullptr);

// A 64-bit checksum of bytes, continued from an earlier value.
uint64_t checksum(const void* data, size_t n, uint64_t from = 0);

} // namespace backup
