#pragma once

// The production index (.MDX) of a table: our own format, one file holding up
// to eight tags, each a B+tree of fixed-length keys in 4096-byte pages.
//
//   page 0: header
//     0   magic "RKIDX\x1A\x01\x00"      24  change counter (u64)
//     8   format version (u32)           32  table stamp: size (u64)
//     12  page size (u32)                40  table stamp: modification time, ns (i64)
//     16  page count (u32)               48  table stamp: record count (u32)
//     20  reserved (u32)                 52  clean flag (u32): 0 while a writer is mid-way
//     56  tag count (u32)                60  CRC-32 of the header page (this field as 0)
//     64  tag records, 320 bytes each: name (12), expression (256), key length (u16),
//         reserved (u16), root page (u32), live entry count (u32), reserved (36)
//   page n: tree page
//     0   kind (u8: 1 leaf, 2 inner)     4   tag number (u32)
//     2   entry count (u16)              8   previous leaf (u32)   12  next leaf (u32)
//     16  CRC-32 of the page (this field as 0)
//     20  entries: leaf    key bytes + record number (u32, big-endian)
//                  inner   key bytes + record number + child page (u32) + entries below (u32)
//
// Each entry is the key followed by the record number written big-endian, so
// that comparing whole entries byte by byte orders equal keys by record, and
// every entry is unique. An inner entry's key is the lowest entry its child
// may hold; the first one of a page is a lower bound that descent ignores.
// Inner entries count the live records below them, so a record's position in
// key order and the record at a position are found in one descent.
//
// Invariants:
//   1. Deleted records have no entries; every live record has one per tag.
//   2. Every change happens under the table's update lock and raises the
//      change counter, so other openers know their cached pages are old.
//   3. The stamp records the table file as it was after the last change made
//      through the index; a table whose size, time or count differs was changed
//      behind the index's back, and the index is rebuilt.
//   4. Every writer first writes the header with the clean flag 0 (and a new
//      change counter, so that other openers look at it), then changes the
//      table and the pages, and writes the flag 1 last; a writer that defers
//      page writes (exclusive use, batches) keeps it 0 until it flushes. An
//      index found unclean while nobody holds the update lock for writing is
//      rebuilt.

#include "FileIO.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace db {

// A byte buffer that grows without clearing its bytes: the entries of a
// million keys are written whole by the workers that read the records, each
// on its own pages, and zeroing them first would cost a pass of its own.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept
    {
    }
    template <class U>
    void construct(U* at) noexcept
    {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args)
    {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
using KeyBytes = std::vector<char, UninitialisedAllocator<char>>;

struct TableStamp {
    uint64_t size = 0;
    int64_t modified = 0;
    uint32_t recordCount = 0;
    bool operator==(const TableStamp&) const = default;
};

struct TagDefinition {
    std::string name;
    std::string expression;
    int keyLength = 0;
};

class IndexFile {
public:
    static constexpr uint32_t kPageSize = 4096;
    static constexpr int kMaxTags = 8;
    static constexpr int kMaxTagName = 10;
    static constexpr size_t kMaxExpression = 255;

    enum class OpenResult { Missing, Valid, Foreign, Damaged };

    // A position in one tag: the whole entry (key + record number).
    using Entry = std::string;

    IndexFile() = default;
    ~IndexFile();

    // Opens an existing index; the result says whether its header can be used.
    OpenResult open(const std::string& path, bool writable);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    const std::string& path() const { return m_file.path(); }

    const std::vector<TagDefinition>& tags() const { return m_tags; }
    int tagNumber(std::string_view name) const; // -1 when missing
    TableStamp stamp() const { return m_stamp; }
    bool clean() const { return m_clean; }
    // A change failed half-way: the index is to be rebuilt before it is trusted.
    bool broken() const { return m_broken; }
    bool writeBack() const { return m_writeBack; }
    // Raised whenever the tag definitions in memory change (read from a file
    // another copy rewrote, rebuilt, closed): key expressions compiled from
    // them must then be compiled again.
    uint64_t definitionsVersion() const { return m_definitionsVersion; }
    uint32_t entryCount(int tag) const;

    // Write-back mode keeps changed pages in memory until flush (exclusive use);
    // the flush then asks the stamp source for the table's stamp.
    void setWriteBack(bool on);
    void setStampSource(std::function<TableStamp()> source) { m_stampSource = std::move(source); }

    // Re-reads the header when another opener changed the file; drops cached
    // pages then. Call under the table's update lock (shared or exclusive).
    void synchronize();

    // Replaces the whole file with new tags. Each tag brings its entries
    // (count * (keyLength + 4) bytes) and the order that sorts them (empty when
    // they are sorted already). Used for adding, dropping and rebuilding tags.
    struct BuiltTag {
        TagDefinition definition;
        KeyBytes entries;
        std::vector<uint32_t> order;
        uint32_t count = 0;
    };
    void rebuild(const std::string& path, std::vector<BuiltTag> tags, const TableStamp& stamp);

    // Point changes; call between beginChange and endChange under the update lock.
    // beginChange marks the file unclean on disk (and syncs that mark)
    // before the caller touches the table, so that a change cut short by a
    // crash or a power cut is found from the file's content, not from clocks;
    // endChange syncs the pages and marks the file clean.
    void beginChange();
    void insert(int tag, const Entry& entry);
    bool erase(int tag, const Entry& entry);
    void endChange(const TableStamp& stamp);
    void flush();
    // After a failed change: mark the file unclean (best effort) so that it is rebuilt.
    void markUnclean();
    // Before the table is replaced under the index by a file of other keys
    // (of the same size and count): the held-back pages are written and the
    // file is marked unclean on the device, so that whatever stops the
    // replacement, the index is rebuilt rather than trusted. Throws when the
    // mark cannot be written.
    void markRebuildDue();
    // After a failed batch: the pages held back are dropped, not written, and
    // the index is unclean (on disk too, best effort) until it is rebuilt.
    void discardHeldBack();

    // Navigation in key order. A cursor copies its leaf so that reading it
    // needs no lock; it re-seeks by its entry when the file changed, or when
    // it holds only an entry (placeAt) and no leaf yet.
    struct Cursor {
        int tag = -1;
        uint32_t page = 0;
        int slot = -1;
        uint64_t counter = 0;
        std::vector<char> leaf; // a copy of the page
        Entry entry;            // current entry; empty before the first / after the last
    };
    static void placeAt(Cursor& c, int tag, const Entry& entry);
    bool first(Cursor& c, int tag);
    bool last(Cursor& c, int tag);
    bool seek(Cursor& c, int tag, const Entry& atLeast); // first entry >= atLeast
    bool next(Cursor& c);
    bool prior(Cursor& c);
    // The record number of every entry of a tag in key order, leaf by leaf:
    // a walk through the whole index that keeps no page it did not have.
    void forEachRecord(int tag, const std::function<void(uint32_t record)>& visit);
    // Position (0-based) of the first entry >= the given one, and the entry at a position.
    uint32_t rank(int tag, const Entry& entry);
    bool entryAt(Cursor& c, int tag, uint32_t position);

    static uint32_t recordOf(const Entry& entry);
    static Entry makeEntry(std::string_view key, uint32_t record);
    // The record number as an entry ends with it (4 bytes, big-endian).
    static void putRecord(char* at, uint32_t record);

private:
    struct Page {
        std::array<char, kPageSize> bytes{};
        bool dirty = false;
    };
    struct TagState {
        uint32_t root = 0;
        uint32_t count = 0;
    };

    // While pages are held back, inserted entries wait here (per tag, one
    // after another) and go into the tree sorted, just before anything reads
    // or writes it: entries of a batch in random order would otherwise each
    // visit a leaf far from the last one's.
    void insertNow(int tag, std::string_view entry);
    void applyDeferred();
    std::vector<std::string> m_deferred;
    size_t m_deferredBytes = 0;

    Page& page(uint32_t number);
    // A page as the cache has it, else read into scratch and checked.
    const Page& peek(uint32_t number, Page& scratch) const;
    void markDirty(uint32_t number, Page& p);
    uint32_t allocatePage();
    void writeHeader();
    void readHeader();
    // The pages of freshly built trees, after the header page: each tag's
    // leaves, then the levels above them.
    void writeTrees(std::vector<BuiltTag>& tags);
    // A page of a fresh tree as the level above lists it: its lowest entry,
    // its number and the entries below it.
    struct ChildPage {
        std::string low;
        uint32_t page = 0;
        uint32_t count = 0;
    };
    // A tag's leaves, written from the next free page on; returns them in order.
    std::vector<ChildPage> writeLeaves(const BuiltTag& built, int tag);
    void checkPage(uint32_t number, const Page& p) const;
    size_t entrySize(int tag, bool inner) const;
    int capacity(int tag, bool inner) const;
    uint32_t subtreeCount(int tag, const Page& p) const;
    bool loadLeaf(Cursor& c, uint32_t pageNumber);
    // The leftmost (or rightmost) leaf of a tag's tree.
    uint32_t edgeLeaf(int tag, bool leftmost);
    void clearCache();
    void trimCache();
    [[noreturn]] void damaged(const std::string& what) const;

    File m_file;
    std::vector<TagDefinition> m_tags;
    std::vector<TagState> m_state;
    TableStamp m_stamp;
    bool m_clean = true;
    uint32_t m_pageCount = 1;
    uint64_t m_counter = 0;
    bool m_writeBack = false;
    bool m_headerDirtyOnDisk = false; // the clean flag on disk is already 0
    bool m_broken = false;            // a change failed half-way
    bool m_changing = false;          // between beginChange and endChange of a direct change
    uint64_t m_definitionsVersion = 1;
    // Pages in memory by page number: a lookup is an array index.
    std::vector<std::unique_ptr<Page>> m_cache;
    size_t m_cachedPages = 0;
    Page& keep(uint32_t number, std::unique_ptr<Page> page);
    std::function<TableStamp()> m_stampSource;
};

// CRC-32C of a block (hardware-assisted where the processor has it).
uint32_t crc32(const void* data, size_t n);

// Thrown when a page or header fails its checks; the table rebuilds the index.
struct IndexDamaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace db
