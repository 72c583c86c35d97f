#pragma once

// The bytes of index pages as the index's own source files read and write
// them (see IndexFile.h for the layout). Nobody else includes this.

#include <cstdint>
#include <cstring>

namespace db::index_pages {

constexpr char kMagic[8] = {'R', 'K', 'I', 'D', 'X', 0x1A, 0x01, 0x00};
constexpr uint32_t kVersion = 1;
constexpr size_t kTagRecordsAt = 64;
constexpr size_t kTagRecordSize = 320;
constexpr size_t kPageHeader = 20;
constexpr uint8_t kLeaf = 1;
constexpr uint8_t kInner = 2;
// Pages kept in memory: more while writes are held back (exclusive use), so
// that a long run of changes writes each page once.
constexpr size_t kMaxCachedPages = 8192;           // 32 MB
constexpr size_t kMaxHeldBackPages = 32768;        // 128 MB

inline uint32_t get32(const char* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void put32(char* p, uint32_t v)
{
    std::memcpy(p, &v, 4);
}
inline uint64_t get64(const char* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline void put64(char* p, uint64_t v)
{
    std::memcpy(p, &v, 8);
}
inline uint16_t get16(const char* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void put16(char* p, uint16_t v)
{
    std::memcpy(p, &v, 2);
}

// The record number an entry ends with (4 bytes, big-endian, so that equal
// keys sort by record), from the entry's end.
inline uint32_t recordBefore(const char* end)
{
    const auto* r = reinterpret_cast<const unsigned char*>(end - 4);
    return (static_cast<uint32_t>(r[0]) << 24) | (static_cast<uint32_t>(r[1]) << 16)
        | (static_cast<uint32_t>(r[2]) << 8) | r[3];
}

inline uint8_t kindOf(const char* p) { return static_cast<uint8_t>(p[0]); }
inline uint16_t countOf(const char* p) { return get16(p + 2); }
inline void setCount(char* p, uint16_t n) { put16(p + 2, n); }
inline uint32_t prevOf(const char* p) { return get32(p + 8); }
inline uint32_t nextOf(const char* p) { return get32(p + 12); }
inline void setPrev(char* p, uint32_t v) { put32(p + 8, v); }
inline void setNext(char* p, uint32_t v) { put32(p + 12, v); }

// A blank page of a kind (leaf or inner) for a tag.
inline void initPage(char* bytes, uint8_t kind, int tag, size_t pageSize)
{
    std::memset(bytes, 0, pageSize);
    bytes[0] = static_cast<char>(kind);
    put32(bytes + 4, static_cast<uint32_t>(tag));
}

} // namespace db::index_pages
