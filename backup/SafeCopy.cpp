#include "SafeCopy.h"

#include "CoverNames.h"
#include "DbError.h"
#include "FileIO.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <future>
#include <cstring>
#include <filesystem>
#include <vector>

namespace backup {

namespace {

// Blocks small enough to stay in the processor's cache between the read and
// the write: blocks of megabytes copied several times slower than these.
constexpr size_t kBlock = size_t{128} << 10;
// The disk is asked to start writing every this many bytes, so that the copy
// and its writing overlap and the final flush finds little left to do.
constexpr uint64_t kWriteBackEvery = uint64_t{32} << 20;
constexpr const char* kTemporarySuffix = ".rk-copy";

} // namespace

size_t copyCovers(const std::string& sourceCollection, const std::string& destinationCollection, CopyProgress* progress)
{
    namespace fs = std::filesystem;
    const fs::path from = covers::coversFolderOf(sourceCollection);
    const fs::path to = covers::coversFolderOf(destinationCollection);
    std::error_code failed;
    if (!fs::is_directory(from, failed) || fs::equivalent(from, to, failed))
        return 0;
    fs::create_directories(to, failed);
    if (failed)
        throw db::DbError(to.string(), failed.message());
    size_t copied = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        if (!entry.is_regular_file())
            continue;
        if (copyFileSafely(entry.path().string(), (to / entry.path().filename()).string(), progress) == CopyResult::Cancelled)
            break;
        ++copied;
    }
    return copied;
}

uint64_t checksum(const void* data, size_t n, uint64_t from)
{
    // Four lanes of eight bytes each, mixed by a multiply and a rotation, so
    // that the processor works on them side by side; then the tail.
    const auto* p = static_cast<const unsigned char*>(data);
    constexpr uint64_t kMix = 0xBF58476D1CE4E5B9ULL;
    std::array<uint64_t, 4> lane = {from ^ 0x9E3779B97F4A7C15ULL, from + 1, from + 2, from ^ (n * 0x94D049BB133111EBULL)};
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        for (size_t k = 0; k < 4; ++k) {
            uint64_t word;
            std::memcpy(&word, p + i + 8 * k, 8);
            lane[k] = (lane[k] ^ word) * kMix;
            lane[k] = (lane[k] << 31) | (lane[k] >> 33);
        }
    }
    uint64_t h = lane[0] ^ (lane[1] * 3) ^ (lane[2] * 5) ^ (lane[3] * 7);
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
        throw db::DbError(source, db::Message{TRANSLATABLE("db", "Cannot measure the file: %1"), {error.message()}});
    const std::filesystem::path folder = std::filesystem::path(destination).parent_path();
    const std::filesystem::space_info info = std::filesystem::space(folder.empty() ? "." : folder, error);
    if (error)
        throw db::DbError(folder.string(),
                          db::Message{TRANSLATABLE("db", "Cannot measure the free space: %1"), {error.message()}});
    space.available = info.available;
    const uint64_t replaced = std::filesystem::file_size(destination, error);
    space.replaced = error ? 0 : replaced;
    return space;
}

namespace {

// Reads one block and checksums it; 0 bytes at the end of the file.
struct ReadBlock {
    size_t size = 0;
    uint64_t sum = 0;
};

ReadBlock readBlock(const db::File& file, uint64_t at, std::vector<char>& buffer)
{
    ReadBlock block;
    block.size = file.readSomeAt(at, buffer.data(), buffer.size());
    block.sum = checksum(buffer.data(), block.size, 0);
    return block;
}

// Reads the copy back, block by block on two threads, and compares each
// block's checksum with the source's.
bool matches(const db::File& copy, const std::vector<uint64_t>& sums, uint64_t size)
{
    auto check = [&](size_t first) {
        std::vector<char> buffer(kBlock);
        for (size_t k = first; k < sums.size(); k += 2) {
            const ReadBlock block = readBlock(copy, static_cast<uint64_t>(k) * kBlock, buffer);
            const size_t expected = std::min<uint64_t>(kBlock, size - static_cast<uint64_t>(k) * kBlock);
            if (block.size != expected || block.sum != sums[k])
                return false;
        }
        return true;
    };
    auto odd = std::async(std::launch::async, check, 1);
    const bool even = check(0);
    return odd.get() && even && copy.size() == size;
}

} // namespace

CopyResult copyFileSafely(const std::string& source, const std::string& destination, CopyProgress* progress,
                          bool removeFirst)
{
    if (sameFile(source, destination))
        throw db::DbError(destination, db::Message{TRANSLATABLE("db", "The file cannot be copied over itself")});
    db::File from;
    from.open(source, db::File::Mode::ReadOnly);
    if (progress) {
        progress->total = from.size();
        progress->copied = 0;
    }
    const std::string target = db::resolvedPath(destination);
    std::string temporary;
    try {
        if (removeFirst)
            db::removeFile(target);
        db::File to;
        temporary = db::openWorkFile(target, kTemporarySuffix, to);
        std::vector<char> buffer(kBlock);
        std::vector<uint64_t> sums;
        uint64_t at = 0, writtenBackTo = 0;
        while (true) {
            if (progress && progress->cancel) {
                to.close();
                db::removeFile(temporary);
                return CopyResult::Cancelled;
            }
            const ReadBlock block = readBlock(from, at, buffer);
            if (block.size == 0)
                break;
            to.writeAt(at, buffer.data(), block.size);
            sums.push_back(block.sum);
            at += block.size;
            if (at - writtenBackTo >= kWriteBackEvery) {
                to.startWriteBack(writtenBackTo, at - writtenBackTo);
                writtenBackTo = at;
            }
            if (progress)
                progress->copied = at;
        }
        // What reached the file must be what was read, byte for byte: read back
        // while the disk is still busy with the writes, then wait for them.
        if (!matches(to, sums, at))
            throw db::DbError(temporary, db::Message{TRANSLATABLE("db", "The copy does not match its source \"%1\""), {source}});
        to.sync();
        to.close();
        db::replaceFile(temporary, target);
    } catch (...) {
        try {
            if (!temporary.empty())
                db::removeFile(temporary);
        } catch (...) {
            // Only in the way: the destination is as it was (and the next copy removes it).
        }
        throw;
    }
    return CopyResult::Copied;
}

} // namespace backup
