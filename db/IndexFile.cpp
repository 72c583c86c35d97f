// The index file as a whole: its header and stamp, pages in and out of the
// cache, the clean mark around every change, checksums, and whole trees
// written in one pass by a rebuild. The trees' own operations are in
// IndexTree.cpp.

#include "IndexFile.h"

#include "DbError.h"
#include "IndexPages.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <exception>
#include <thread>

namespace db {

using namespace index_pages;

namespace {

// CRC-32C (Castagnoli): the processor's crc32 instruction where there is one,
// the same sums from a table elsewhere.
std::array<uint32_t, 256> makeCrcTable()
{
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0x82F63B78u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}

uint32_t crc32cTable(const unsigned char* p, size_t n)
{
    static const auto table = makeCrcTable();
    uint32_t c = 0xFFFFFFFFu;
    while (n--)
        c = table[(c ^ *p++) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

#if defined(__x86_64__)
__attribute__((target("sse4.2"))) uint32_t crc32cHardware(const unsigned char* p, size_t n)
{
    uint64_t c = 0xFFFFFFFFu;
    while (n >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        c = __builtin_ia32_crc32di(c, word);
        p += 8;
        n -= 8;
    }
    uint32_t c32 = static_cast<uint32_t>(c);
    while (n--)
        c32 = __builtin_ia32_crc32qi(c32, *p++);
    return c32 ^ 0xFFFFFFFFu;
}
#endif

bool sameDefinitions(const std::vector<TagDefinition>& a, const std::vector<TagDefinition>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TagDefinition& x, const TagDefinition& y) {
        return x.name == y.name && x.expression == y.expression && x.keyLength == y.keyLength;
    });
}

uint64_t freshCounter()
{
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
        ^ static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}


} // namespace

uint32_t crc32(const void* data, size_t n)
{
    const auto* p = static_cast<const unsigned char*>(data);
#if defined(__x86_64__)
    static const bool hardware = __builtin_cpu_supports("sse4.2");
    if (hardware)
        return crc32cHardware(p, n);
#endif
    return crc32cTable(p, n);
}

namespace {

// Stamps a page's CRC (taken with the field as 0) before it is written.
void sealPage(char* page)
{
    put32(page + 16, 0);
    put32(page + 16, crc32(page, IndexFile::kPageSize));
}

// Pages of a fresh tree, numbered on from a first one: each is filled where
// it lies in the run, and the run is sealed and written to its place a
// megabyte at a time.
class PageRun {
public:
    PageRun(File& file, uint32_t firstPage)
        : m_file(file)
        , m_start(firstPage)
    {
        m_pages.reserve(kPagesPerWrite * IndexFile::kPageSize);
    }
    // Room for the next page, to be filled before the next call.
    char* append()
    {
        if (m_pages.size() >= kPagesPerWrite * IndexFile::kPageSize)
            write();
        m_pages.resize(m_pages.size() + IndexFile::kPageSize);
        return m_pages.data() + m_pages.size() - IndexFile::kPageSize;
    }
    // Writes the pages appended since the last write.
    void write()
    {
        for (size_t at = 0; at < m_pages.size(); at += IndexFile::kPageSize)
            sealPage(m_pages.data() + at);
        if (!m_pages.empty())
            m_file.writeAt(static_cast<uint64_t>(m_start) * IndexFile::kPageSize, m_pages.data(), m_pages.size());
        m_start += static_cast<uint32_t>(m_pages.size() / IndexFile::kPageSize);
        m_pages.clear();
    }

private:
    static constexpr size_t kPagesPerWrite = 256;
    File& m_file;
    uint32_t m_start;
    std::vector<char> m_pages;
};

} // namespace

IndexFile::~IndexFile()
{
    try {
        close();
    } catch (...) {
        // A failed final flush leaves the index unclean on disk; it is rebuilt next time.
    }
}

void IndexFile::damaged(const std::string& what) const
{
    throw IndexDamaged(what);
}

IndexFile::OpenResult IndexFile::open(const std::string& path, bool writable)
{
    close();
    if (!m_file.openIfExists(path, writable ? File::Mode::ReadWrite : File::Mode::ReadOnly))
        return OpenResult::Missing;
    std::vector<char> header(kPageSize, 0);
    const size_t got = m_file.readSomeAt(0, header.data(), kPageSize);
    if (got < sizeof kMagic || std::memcmp(header.data(), kMagic, sizeof kMagic) != 0)
        return OpenResult::Foreign;
    try {
        readHeader();
    } catch (const IndexDamaged&) {
        return OpenResult::Damaged;
    }
    return OpenResult::Valid;
}

void IndexFile::close()
{
    if (m_file.isOpen() && m_writeBack && m_file.writable())
        flush();
    m_file.close();
    m_deferred.clear();
    m_deferredBytes = 0;
    m_tags.clear();
    m_state.clear();
    ++m_definitionsVersion;
    clearCache();
    m_writeBack = false;
    m_headerDirtyOnDisk = false;
    m_broken = false;
    m_changing = false;
}

void IndexFile::readHeader()
{
    std::vector<char> h(kPageSize, 0);
    if (m_file.readSomeAt(0, h.data(), kPageSize) != kPageSize)
        damaged("the index header is cut short");
    if (std::memcmp(h.data(), kMagic, sizeof kMagic) != 0)
        damaged("the index header has lost its mark");
    const uint32_t storedCrc = get32(&h[60]);
    put32(&h[60], 0);
    const bool crcOk = crc32(h.data(), kPageSize) == storedCrc;

    // Tag definitions are read even from a damaged header when they look sane,
    // so that a rebuild can restore the same tags.
    std::vector<TagDefinition> tags;
    std::vector<TagState> state;
    const uint32_t tagCount = get32(&h[56]);
    bool sane = tagCount <= kMaxTags;
    for (uint32_t t = 0; sane && t < tagCount; ++t) {
        const char* r = &h[kTagRecordsAt + t * kTagRecordSize];
        TagDefinition d;
        d.name.assign(r, strnlen(r, 12));
        d.expression.assign(r + 12, strnlen(r + 12, 256));
        d.keyLength = get16(r + 268);
        sane = !d.name.empty() && d.name.size() <= kMaxTagName && !d.expression.empty() && d.keyLength > 0
            && d.keyLength <= 240;
        tags.push_back(d);
        state.push_back({get32(r + 272), get32(r + 276)});
    }
    if (!sane)
        tags.clear(), state.clear();
    if (!sameDefinitions(tags, m_tags))
        ++m_definitionsVersion;
    m_tags = std::move(tags);
    m_state = std::move(state);
    m_counter = get64(&h[24]);
    m_stamp = {get64(&h[32]), static_cast<int64_t>(get64(&h[40])), get32(&h[48])};
    m_clean = get32(&h[52]) == 1;
    m_pageCount = get32(&h[16]);
    if (!crcOk || !sane || get32(&h[8]) != kVersion || get32(&h[12]) != kPageSize)
        damaged("the index header fails its checks");
    if (m_pageCount < 1 || static_cast<uint64_t>(m_pageCount) * kPageSize > m_file.size())
        damaged("the index is shorter than its page count");
    for (const TagState& s : m_state)
        if (s.root == 0 || s.root >= m_pageCount)
            damaged("a tag's root page lies outside the index");
}

void IndexFile::writeHeader()
{
    std::vector<char> h(kPageSize, 0);
    std::memcpy(h.data(), kMagic, sizeof kMagic);
    put32(&h[8], kVersion);
    put32(&h[12], kPageSize);
    put32(&h[16], m_pageCount);
    put64(&h[24], m_counter);
    put64(&h[32], m_stamp.size);
    put64(&h[40], static_cast<uint64_t>(m_stamp.modified));
    put32(&h[48], m_stamp.recordCount);
    put32(&h[52], m_broken || m_changing || (m_writeBack && m_headerDirtyOnDisk) ? 0 : 1);
    put32(&h[56], static_cast<uint32_t>(m_tags.size()));
    for (size_t t = 0; t < m_tags.size(); ++t) {
        char* r = &h[kTagRecordsAt + t * kTagRecordSize];
        std::memcpy(r, m_tags[t].name.data(), std::min<size_t>(m_tags[t].name.size(), 11));
        std::memcpy(r + 12, m_tags[t].expression.data(), std::min<size_t>(m_tags[t].expression.size(), 255));
        put16(r + 268, static_cast<uint16_t>(m_tags[t].keyLength));
        put32(r + 272, m_state[t].root);
        put32(r + 276, m_state[t].count);
    }
    put32(&h[60], crc32(h.data(), kPageSize));
    m_file.writeAt(0, h.data(), kPageSize);
}

int IndexFile::tagNumber(std::string_view name) const
{
    for (size_t t = 0; t < m_tags.size(); ++t) {
        const std::string& n = m_tags[t].name;
        if (n.size() == name.size()
            && std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
                   // Tag names are letters, digits and "_": ASCII case folding is enough.
                   return (a | 0x20) == (b | 0x20);
               }))
            return static_cast<int>(t);
    }
    return -1;
}

uint32_t IndexFile::entryCount(int tag) const
{
    const auto t = static_cast<size_t>(tag);
    const size_t waiting = t < m_deferred.size() ? m_deferred[t].size() / entrySize(tag, false) : 0;
    return m_state.at(t).count + static_cast<uint32_t>(waiting);
}

void IndexFile::setWriteBack(bool on)
{
    if (m_writeBack && !on)
        flush();
    m_writeBack = on;
}

void IndexFile::clearCache()
{
    m_cache.clear();
    m_cachedPages = 0;
}

void IndexFile::trimCache()
{
    // Only between operations: inside one, callers hold references to cached pages.
    if (m_cachedPages < (m_writeBack ? kMaxHeldBackPages : kMaxCachedPages))
        return;
    if (m_writeBack)
        flush();
    clearCache();
}

void IndexFile::synchronize()
{
    if (m_writeBack)
        return; // nobody else writes while pages are held back, and the disk lags behind memory
    char counter[8];
    m_file.readAt(24, counter, 8);
    if (get64(counter) == m_counter)
        return;
    clearCache();
    readHeader();
}

size_t IndexFile::entrySize(int tag, bool inner) const
{
    return static_cast<size_t>(m_tags[static_cast<size_t>(tag)].keyLength) + 4 + (inner ? 8 : 0);
}

int IndexFile::capacity(int tag, bool inner) const
{
    return static_cast<int>((kPageSize - kPageHeader) / entrySize(tag, inner));
}

void IndexFile::checkPage(uint32_t number, const Page& p) const
{
    const char* b = p.bytes.data();
    const uint32_t stored = get32(b + 16);
    std::array<char, kPageSize> copy = p.bytes;
    put32(copy.data() + 16, 0);
    if (crc32(copy.data(), kPageSize) != stored)
        damaged("index page " + std::to_string(number) + " fails its checksum");
    const uint32_t tag = get32(b + 4);
    if ((kindOf(b) != kLeaf && kindOf(b) != kInner) || tag >= m_tags.size())
        damaged("index page " + std::to_string(number) + " is of no known kind");
    if (countOf(b) > capacity(static_cast<int>(tag), kindOf(b) == kInner))
        damaged("index page " + std::to_string(number) + " holds too many entries");
    if (kindOf(b) == kLeaf && (prevOf(b) >= m_pageCount || nextOf(b) >= m_pageCount))
        damaged("index page " + std::to_string(number) + " links outside the index");
}

IndexFile::Page& IndexFile::page(uint32_t number)
{
    if (number < m_cache.size() && m_cache[number])
        return *m_cache[number];
    auto p = std::make_unique<Page>();
    peek(number, *p);
    return keep(number, std::move(p));
}

const IndexFile::Page& IndexFile::peek(uint32_t number, Page& scratch) const
{
    if (number < m_cache.size() && m_cache[number])
        return *m_cache[number];
    if (number == 0 || number >= m_pageCount)
        damaged("a link points to index page " + std::to_string(number) + ", outside the index");
    if (m_file.readSomeAt(static_cast<uint64_t>(number) * kPageSize, scratch.bytes.data(), kPageSize) != kPageSize)
        damaged("index page " + std::to_string(number) + " is cut short");
    checkPage(number, scratch);
    return scratch;
}

IndexFile::Page& IndexFile::keep(uint32_t number, std::unique_ptr<Page> page)
{
    if (number >= m_cache.size())
        m_cache.resize(std::max<size_t>(number + 1, m_cache.size() * 2));
    if (!m_cache[number])
        ++m_cachedPages;
    m_cache[number] = std::move(page);
    return *m_cache[number];
}

void IndexFile::markDirty(uint32_t number, Page& p)
{
    if (m_writeBack) {
        p.dirty = true;
        return;
    }
    sealPage(p.bytes.data());
    m_file.writeAt(static_cast<uint64_t>(number) * kPageSize, p.bytes.data(), kPageSize);
}

uint32_t IndexFile::allocatePage()
{
    const uint32_t number = m_pageCount++;
    keep(number, std::make_unique<Page>());
    return number;
}

void IndexFile::flush()
{
    if (!m_file.isOpen() || !m_file.writable())
        return;
    applyDeferred();
    // In page order: the file is written front to back.
    for (uint32_t number = 0; number < m_cache.size(); ++number) {
        Page* p = m_cache[number].get();
        if (!p || !p->dirty)
            continue;
        sealPage(p->bytes.data());
        m_file.writeAt(static_cast<uint64_t>(number) * kPageSize, p->bytes.data(), kPageSize);
        p->dirty = false;
    }
    if (m_headerDirtyOnDisk) {
        // The pages reach the device before the header calls them clean.
        m_file.sync();
        m_headerDirtyOnDisk = false;
        ++m_counter;
        if (m_stampSource)
            m_stamp = m_stampSource();
        writeHeader();
    }
}

void IndexFile::discardHeldBack()
{
    // The tags' roots and counts in memory may name pages that were never
    // written: nothing here is to be trusted until the index is rebuilt.
    m_deferred.clear();
    m_deferredBytes = 0;
    clearCache();
    m_writeBack = false;
    m_clean = false;
    markUnclean();
}

void IndexFile::markUnclean()
{
    m_broken = true;
    ++m_counter; // other openers re-read the header and see the flag
    try {
        writeHeader();
    } catch (...) {
        // The table's stamp no longer matches either, so the index is rebuilt anyway.
    }
}

void IndexFile::markRebuildDue()
{
    flush();
    m_broken = true;
    ++m_counter; // other openers re-read the header and see the flag
    writeHeader();
    m_file.sync();
}

void IndexFile::beginChange()
{
    trimCache();
    if (!m_writeBack)
        synchronize();
    if (m_writeBack ? m_headerDirtyOnDisk : m_changing)
        return;
    // Clean flag 0 (and a new counter, so that other openers re-read the
    // header) before anything changes: until the flush when pages are held
    // back, until endChange otherwise.
    if (m_writeBack)
        m_headerDirtyOnDisk = true;
    else
        m_changing = true;
    ++m_counter;
    writeHeader();
    m_file.sync();
}

void IndexFile::endChange(const TableStamp& stamp)
{
    ++m_counter;
    if (!m_writeBack) {
        m_file.sync();
        m_changing = false;
        m_stamp = stamp;
        writeHeader();
    }
}

uint32_t IndexFile::subtreeCount(int tag, const Page& p) const
{
    const char* b = p.bytes.data();
    if (kindOf(b) == kLeaf)
        return countOf(b);
    const size_t size = entrySize(tag, true);
    const size_t e = entrySize(tag, false);
    uint32_t total = 0;
    for (int i = 0; i < countOf(b); ++i)
        total += get32(b + kPageHeader + i * size + e + 4);
    return total;
}


uint32_t IndexFile::recordOf(const Entry& entry)
{
    return recordBefore(entry.data() + entry.size());
}

IndexFile::Entry IndexFile::makeEntry(std::string_view key, uint32_t record)
{
    Entry e(key.size() + 4, ' ');
    std::memcpy(e.data(), key.data(), key.size());
    putRecord(e.data() + key.size(), record);
    return e;
}

void IndexFile::putRecord(char* at, uint32_t record)
{
    at[0] = static_cast<char>(record >> 24);
    at[1] = static_cast<char>((record >> 16) & 0xFF);
    at[2] = static_cast<char>((record >> 8) & 0xFF);
    at[3] = static_cast<char>(record & 0xFF);
}

void IndexFile::rebuild(const std::string& path, std::vector<BuiltTag> tags, const TableStamp& stamp)
{
    const uint64_t counter = std::max(m_counter + 1, freshCounter());
    if (!m_file.isOpen() || m_file.path() != path || !m_file.writable()) {
        m_file.close();
        if (!m_file.openIfExists(path, File::Mode::ReadWrite))
            m_file.open(path, File::Mode::CreateTruncate);
    }
    clearCache();
    m_deferred.clear(); // the records hold those entries: the new tags are built from them
    m_deferredBytes = 0;
    m_tags.clear();
    m_state.clear();
    ++m_definitionsVersion;
    m_broken = false;
    m_changing = false;
    for (const BuiltTag& t : tags)
        m_tags.push_back(t.definition);
    m_state.assign(m_tags.size(), {});
    m_counter = counter;
    m_pageCount = 1;
    // Mark the file unclean while its pages are rewritten.
    const bool wasWriteBack = m_writeBack;
    m_writeBack = true;
    m_headerDirtyOnDisk = true;
    try {
        writeHeader();
        m_file.sync(); // unclean on the device before any page changes
        writeTrees(tags);
    } catch (...) {
        // Pages half written: nothing may call this file clean again.
        m_broken = true;
        m_writeBack = wasWriteBack;
        throw;
    }
    m_stamp = stamp;
    m_headerDirtyOnDisk = false;
    m_writeBack = wasWriteBack;
    writeHeader();
    m_clean = true;
}

void IndexFile::writeTrees(std::vector<BuiltTag>& tags)
{
    for (size_t t = 0; t < tags.size(); ++t) {
        const int tag = static_cast<int>(t);
        const size_t e = entrySize(tag, false), in = entrySize(tag, true);
        const int innerFill = std::max(2, capacity(tag, true) * 9 / 10);
        std::vector<ChildPage> level = writeLeaves(tags[t], tag);
        PageRun inner(m_file, m_pageCount);
        while (level.size() > 1) {
            std::vector<ChildPage> up;
            for (size_t i = 0; i < level.size(); i += static_cast<size_t>(innerFill)) {
                const size_t n = std::min(level.size() - i, static_cast<size_t>(innerFill));
                const uint32_t number = m_pageCount++;
                char* page = inner.append();
                initPage(page, kInner, tag, kPageSize);
                uint32_t sum = 0;
                for (size_t k = 0; k < n; ++k) {
                    char* item = page + kPageHeader + k * in;
                    std::memcpy(item, level[i + k].low.data(), e);
                    put32(item + e, level[i + k].page);
                    put32(item + e + 4, level[i + k].count);
                    sum += level[i + k].count;
                }
                setCount(page, static_cast<uint16_t>(n));
                up.push_back({level[i].low, number, sum});
            }
            level = std::move(up);
        }
        inner.write();
        m_state[t] = {level.front().page, tags[t].count};
        tags[t].entries = {};
        tags[t].order = {};
    }
    m_file.truncate(static_cast<uint64_t>(m_pageCount) * kPageSize);
    m_file.sync(); // every page on the device before the header calls them clean
}

std::vector<IndexFile::ChildPage> IndexFile::writeLeaves(const BuiltTag& built, int tag)
{
    const size_t e = entrySize(tag, false);
    // Leaves are filled to about 90 % so that inserts do not split at once.
    const uint32_t leafFill = static_cast<uint32_t>(std::max(1, capacity(tag, false) * 9 / 10));
    const uint32_t total = built.count;
    const uint32_t leaves = total == 0 ? 1 : (total + leafFill - 1) / leafFill;
    const uint32_t firstPage = m_pageCount;
    std::vector<ChildPage> level(leaves);
    // Leaves first to last, each in its place: gathering the entries in key
    // order reads them all over memory, so a large tree shares the leaves
    // out between two cores.
    auto writeRange = [&](uint32_t from, uint32_t to) {
        PageRun run(m_file, firstPage + from);
        for (uint32_t leaf = from; leaf < to; ++leaf) {
            const uint32_t number = firstPage + leaf;
            const uint32_t at = leaf * leafFill;
            const uint32_t n = std::min(leafFill, total - at);
            char* page = run.append();
            initPage(page, kLeaf, tag, kPageSize);
            for (uint32_t k = 0; k < n; ++k) {
                const size_t entry = built.order.empty() ? at + k : built.order[at + k];
                std::memcpy(page + kPageHeader + k * e, built.entries.data() + entry * e, e);
            }
            setCount(page, static_cast<uint16_t>(n));
            setPrev(page, leaf == 0 ? 0 : number - 1);
            setNext(page, leaf + 1 == leaves ? 0 : number + 1);
            level[leaf] = {n ? std::string(page + kPageHeader, e) : std::string(e, '\0'), number, n};
        }
        run.write();
    };
    constexpr uint32_t kWorthSharing = 100000; // entries; below this a thread costs more than it saves
    if (total < kWorthSharing || std::thread::hardware_concurrency() < 2) {
        writeRange(0, leaves);
    } else {
        std::exception_ptr failure;
        std::thread other([&] {
            try {
                writeRange(0, leaves / 2);
            } catch (...) {
                failure = std::current_exception();
            }
        });
        try {
            writeRange(leaves / 2, leaves);
        } catch (...) {
            other.join();
            throw;
        }
        other.join();
        if (failure)
            std::rethrow_exception(failure);
    }
    m_pageCount += leaves;
    return level;
}

} // namespace db