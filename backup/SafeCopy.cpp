#include "SafeCopy.h"

#include "DbError.h"
#include "FileIO.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace backup {

namespace {

constexpr size_t kBlock = size_t{4} << 20;
constexpr const char* kTemporarySuffix = ".rk-copy";

struct Checked {
    uint64_t size = 0;
    uint64_t sum = 0;
};

// Reads a whole open file and checksums it (the read-back of the copy).
Checked checkFile(const db::File& file, std::vector<char>& buffer)
{
    Checked checked;
    while (true) {
        const size_t got = file.readSomeAt(checked.size, buffer.data(), buffer.size());
        if (got == 0)
            return checked;
        checked.sum = checksum(buffer.data(), got, checked.sum);
        checked.size += got;
    }
}

} // namespace

uint64_t checksum(const void* data, size_t n, uint64_t from)
{
    // Eight bytes at a time, each mixed in by a multiply and a rotation.
    const auto* p = static_cast<const unsigned char*>(data);
    uint64_t h = from ^ (n * 0x9E3779B97F4A7C15ULL);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        h = (h ^ word) * 0xBF58476D1CE4E5B9ULL;
        h = (h << 31) | (h >> 33);
    }
    for (; i < n; ++i)
        h = (h ^ p[i]) * 0x94D049BB133111EBULL;
    return h;
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat first {}, second {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

CopySpace spaceFor(const std::string& source, const std::string& destination)
{
    CopySpace space;
    std::error_code error;
    space.needed = std::filesystem::file_size(source, error);
    if (error)
        throw db::DbError(source, "Cannot measure the file: " + error.message());
    const std::filesystem::path folder = std::filesystem::path(destination).parent_path();
    const std::filesystem::space_info info = std::filesystem::space(folder.empty() ? "." : folder, error);
    if (error)
        throw db::DbError(folder.string(), "Cannot measure the free space: " + error.message());
    space.available = info.available;
    const uint64_t replaced = std::filesystem::file_size(destination, error);
    space.replaced = error ? 0 : replaced;
    return space;
}

CopyResult copyFileSafely(const std::string& source, const std::string& destination, CopyProgress* progress,
                          bool removeFirst)
{
    if (sameFile(source, destination))
        throw db::DbError(destination, "The file cannot be copied over itself");
    db::File from;
    from.open(source, db::File::Mode::ReadOnly);
    if (progress) {
        progress->total = from.size();
        progress->copied = 0;
    }
    const std::string target = db::resolvedPath(destination);
    const std::string temporary = target + kTemporarySuffix;
    std::vector<char> buffer(kBlock);
    try {
        if (removeFirst)
            db::removeFile(target);
        db::File to;
        to.open(temporary, db::File::Mode::CreateTruncate);
        Checked read;
        while (true) {
            if (progress && progress->cancel) {
                to.close();
                db::removeFile(temporary);
                return CopyResult::Cancelled;
            }
            const size_t got = from.readSomeAt(read.size, buffer.data(), buffer.size());
            if (got == 0)
                break;
            to.writeAt(read.size, buffer.data(), got);
            read.sum = checksum(buffer.data(), got, read.sum);
            read.size += got;
            if (progress)
                progress->copied = read.size;
        }
        to.sync();
        // What reached the file must be what was read, byte for byte.
        const Checked written = checkFile(to, buffer);
        to.close();
        if (written.size != read.size || written.sum != read.sum)
            throw db::DbError(temporary, "The copy does not match its source \"" + source + "\"");
        db::replaceFile(temporary, target);
    } catch (...) {
        try {
            db::removeFile(temporary);
        } catch (...) {
            // Only in the way: the destination is as it was.
        }
        throw;
    }
    return CopyResult::Copied;
}

} // namespace backup
