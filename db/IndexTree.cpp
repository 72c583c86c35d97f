// The B+trees of the index: inserting and erasing entries, and moving a
// cursor through them in key order, by entry or by position.

#include "IndexFile.h"

#include "DbError.h"
#include "IndexPages.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <utility>

namespace db {

using namespace index_pages;

namespace {

// Asks for a whole page at once before searching it: the search and the
// insertion touch lines all over it, and one by one each would wait for memory.
void prefetchPage(const char* b)
{
    for (size_t line = 0; line < IndexFile::kPageSize; line += 64)
        __builtin_prefetch(b + line);
}

// Largest slot whose lower bound is <= entry (slot 0 bounds nothing).
int childSlot(const char* b, size_t innerSize, const char* entry, size_t entryLength)
{
    int lo = 1, hi = countOf(b);
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (std::memcmp(b + kPageHeader + mid * innerSize, entry, entryLength) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo - 1;
}

// First leaf slot whose entry is >= entry.
int lowerBound(const char* b, size_t size, const char* entry)
{
    int lo = 0, hi = countOf(b);
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (std::memcmp(b + kPageHeader + mid * size, entry, size) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

uint32_t childOf(const char* b, size_t innerSize, size_t entryLength, int slot)
{
    return get32(b + kPageHeader + slot * innerSize + entryLength);
}

uint32_t countBelow(const char* b, size_t innerSize, size_t entryLength, int slot)
{
    return get32(b + kPageHeader + slot * innerSize + entryLength + 4);
}

void setCountBelow(char* b, size_t innerSize, size_t entryLength, int slot, uint32_t v)
{
    put32(b + kPageHeader + slot * innerSize + entryLength + 4, v);
}

// Entries wait for the tree until they take this much memory.
constexpr size_t kLargestDeferral = size_t{16} << 20;

} // namespace

void IndexFile::insert(int tag, const Entry& entry)
{
    if (entry.size() != entrySize(tag, false))
        throw DbError(path(), Message{TRANSLATABLE("db", "Internal error: index entry of the wrong length")});
    if (!m_writeBack) {
        insertNow(tag, entry);
        return;
    }
    if (m_deferred.size() < m_tags.size())
        m_deferred.resize(m_tags.size());
    m_deferred[static_cast<size_t>(tag)] += entry;
    m_deferredBytes += entry.size();
    if (m_deferredBytes >= kLargestDeferral)
        applyDeferred();
}

void IndexFile::applyDeferred()
{
    if (m_deferredBytes == 0)
        return;
    // Taken out first: after a failure half way the index is marked for a
    // rebuild, and the entries left must not be inserted later.
    std::vector<std::string> deferred = std::exchange(m_deferred, {});
    m_deferredBytes = 0;
    ++m_counter; // cursors read their leaves again
    for (size_t tag = 0; tag < deferred.size(); ++tag) {
        const std::string& entries = deferred[tag];
        const size_t e = entrySize(static_cast<int>(tag), false);
        std::vector<uint32_t> order(entries.size() / e);
        std::iota(order.begin(), order.end(), 0U);
        std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            return std::memcmp(entries.data() + a * e, entries.data() + b * e, e) < 0;
        });
        for (const uint32_t i : order)
            insertNow(static_cast<int>(tag), std::string_view(entries).substr(i * e, e));
    }
}

void IndexFile::insertNow(int tag, std::string_view entry)
{
    const size_t e = entrySize(tag, false);
    const size_t in = entrySize(tag, true);
    // The inner pages on the way down and the slot taken in each.
    std::array<std::pair<uint32_t, int>, 34> path;
    size_t depth = 0;
    uint32_t number = m_state[static_cast<size_t>(tag)].root;
    for (;; ++depth) {
        Page& p = page(number);
        prefetchPage(p.bytes.data());
        if (kindOf(p.bytes.data()) == kLeaf)
            break;
        if (depth == path.size())
            damaged("the index tree is deeper than any real tree");
        const int slot = childSlot(p.bytes.data(), in, entry.data(), e);
        path[depth] = {number, slot};
        number = childOf(p.bytes.data(), in, e, slot);
    }

    // Insert into the leaf, splitting it when full.
    std::string promoted; // lower bound of a new right page
    uint32_t newPage = 0, leftCount = 0, rightCount = 0;
    {
        Page& leaf = page(number);
        char* b = leaf.bytes.data();
        const int n = countOf(b);
        const int at = lowerBound(b, e, entry.data());
        if (at < n && std::memcmp(b + kPageHeader + at * e, entry.data(), e) == 0)
            return; // already present
        if (n < capacity(tag, false)) {
            std::memmove(b + kPageHeader + (at + 1) * e, b + kPageHeader + at * e, (n - at) * e);
            std::memcpy(b + kPageHeader + at * e, entry.data(), e);
            setCount(b, static_cast<uint16_t>(n + 1));
            markDirty(number, leaf);
        } else {
            std::vector<char> all(static_cast<size_t>(n + 1) * e);
            std::memcpy(all.data(), b + kPageHeader, at * e);
            std::memcpy(all.data() + at * e, entry.data(), e);
            std::memcpy(all.data() + (at + 1) * e, b + kPageHeader + at * e, (n - at) * e);
            const int left = (n + 1) / 2;
            const int right = n + 1 - left;
            newPage = allocatePage();
            Page& r = page(newPage);
            Page& l = page(number); // re-fetch: the cache may have moved nothing, but stay safe
            char* lb = l.bytes.data();
            char* rb = r.bytes.data();
            initPage(r.bytes.data(), kLeaf, tag, kPageSize);
            std::memcpy(rb + kPageHeader, all.data() + left * e, right * e);
            setCount(rb, static_cast<uint16_t>(right));
            std::memcpy(lb + kPageHeader, all.data(), left * e);
            setCount(lb, static_cast<uint16_t>(left));
            const uint32_t oldNext = nextOf(lb);
            setPrev(rb, number);
            setNext(rb, oldNext);
            setNext(lb, newPage);
            if (oldNext != 0) {
                Page& after = page(oldNext);
                setPrev(after.bytes.data(), newPage);
                markDirty(oldNext, after);
            }
            markDirty(newPage, r);
            markDirty(number, l);
            promoted.assign(all.data() + left * e, e);
            leftCount = static_cast<uint32_t>(left);
            rightCount = static_cast<uint32_t>(right);
        }
    }

    // Walk back up: raise counts, or place the promoted bound and split further.
    while (depth > 0) {
        const auto [parentNumber, slot] = path[--depth];
        Page& parent = page(parentNumber);
        char* b = parent.bytes.data();
        if (promoted.empty()) {
            setCountBelow(b, in, e, slot, countBelow(b, in, e, slot) + 1);
            markDirty(parentNumber, parent);
            continue;
        }
        setCountBelow(b, in, e, slot, leftCount);
        const int n = countOf(b);
        std::vector<char> item(in);
        std::memcpy(item.data(), promoted.data(), e);
        put32(item.data() + e, newPage);
        put32(item.data() + e + 4, rightCount);
        const int at = slot + 1;
        if (n < capacity(tag, true)) {
            std::memmove(b + kPageHeader + (at + 1) * in, b + kPageHeader + at * in, (n - at) * in);
            std::memcpy(b + kPageHeader + at * in, item.data(), in);
            setCount(b, static_cast<uint16_t>(n + 1));
            markDirty(parentNumber, parent);
            promoted.clear();
            continue;
        }
        std::vector<char> all(static_cast<size_t>(n + 1) * in);
        std::memcpy(all.data(), b + kPageHeader, at * in);
        std::memcpy(all.data() + at * in, item.data(), in);
        std::memcpy(all.data() + (at + 1) * in, b + kPageHeader + at * in, (n - at) * in);
        const int left = (n + 1) / 2;
        const int right = n + 1 - left;
        const uint32_t rightNumber = allocatePage();
        Page& r = page(rightNumber);
        Page& l = page(parentNumber);
        initPage(r.bytes.data(), kInner, tag, kPageSize);
        std::memcpy(r.bytes.data() + kPageHeader, all.data() + left * in, right * in);
        setCount(r.bytes.data(), static_cast<uint16_t>(right));
        std::memcpy(l.bytes.data() + kPageHeader, all.data(), left * in);
        setCount(l.bytes.data(), static_cast<uint16_t>(left));
        markDirty(rightNumber, r);
        markDirty(parentNumber, l);
        promoted.assign(all.data() + left * in, e);
        newPage = rightNumber;
        leftCount = subtreeCount(tag, l);
        rightCount = subtreeCount(tag, r);
    }

    if (!promoted.empty()) {
        // The root split: a new root above the two halves.
        const uint32_t oldRoot = m_state[static_cast<size_t>(tag)].root;
        const uint32_t rootNumber = allocatePage();
        Page& root = page(rootNumber);
        initPage(root.bytes.data(), kInner, tag, kPageSize);
        char* b = root.bytes.data();
        put32(b + kPageHeader + e, oldRoot);
        put32(b + kPageHeader + e + 4, leftCount);
        std::memcpy(b + kPageHeader + in, promoted.data(), e);
        put32(b + kPageHeader + in + e, newPage);
        put32(b + kPageHeader + in + e + 4, rightCount);
        setCount(b, 2);
        markDirty(rootNumber, root);
        m_state[static_cast<size_t>(tag)].root = rootNumber;
    }
    ++m_state[static_cast<size_t>(tag)].count;
}

bool IndexFile::erase(int tag, const Entry& entry)
{
    applyDeferred();
    const size_t e = entrySize(tag, false);
    const size_t in = entrySize(tag, true);
    if (entry.size() != e)
        return false;
    std::vector<std::pair<uint32_t, int>> path;
    uint32_t number = m_state[static_cast<size_t>(tag)].root;
    for (int depth = 0;; ++depth) {
        Page& p = page(number);
        if (kindOf(p.bytes.data()) == kLeaf)
            break;
        if (depth > 32)
            damaged("the index tree is deeper than any real tree");
        const int slot = childSlot(p.bytes.data(), in, entry.data(), e);
        path.emplace_back(number, slot);
        number = childOf(p.bytes.data(), in, e, slot);
    }
    Page& leaf = page(number);
    char* b = leaf.bytes.data();
    const int n = countOf(b);
    const int at = lowerBound(b, e, entry.data());
    if (at >= n || std::memcmp(b + kPageHeader + at * e, entry.data(), e) != 0)
        return false;
    std::memmove(b + kPageHeader + at * e, b + kPageHeader + (at + 1) * e, (n - at - 1) * e);
    setCount(b, static_cast<uint16_t>(n - 1));
    markDirty(number, leaf);
    // Pages are not merged: an emptied leaf stays in the chain until the next rebuild.
    for (const auto& [parentNumber, slot] : path) {
        Page& parent = page(parentNumber);
        const uint32_t below = countBelow(parent.bytes.data(), in, e, slot);
        setCountBelow(parent.bytes.data(), in, e, slot, below > 0 ? below - 1 : 0);
        markDirty(parentNumber, parent);
    }
    --m_state[static_cast<size_t>(tag)].count;
    return true;
}

bool IndexFile::loadLeaf(Cursor& c, uint32_t pageNumber)
{
    Page& p = page(pageNumber);
    if (kindOf(p.bytes.data()) != kLeaf)
        damaged("a leaf link leads to an inner index page");
    c.page = pageNumber;
    c.leaf.assign(p.bytes.begin(), p.bytes.end());
    c.counter = m_counter;
    return true;
}

namespace {
void setEntryFromSlot(IndexFile::Cursor& c, size_t e)
{
    c.entry.assign(c.leaf.data() + kPageHeader + c.slot * e, e);
}
} // namespace

void IndexFile::placeAt(Cursor& c, int tag, const Entry& entry)
{
    c.tag = tag;
    c.entry = entry;
    c.leaf.clear();
    c.slot = -1;
}

uint32_t IndexFile::edgeLeaf(int tag, bool leftmost)
{
    const size_t in = entrySize(tag, true), e = entrySize(tag, false);
    uint32_t number = m_state[static_cast<size_t>(tag)].root;
    for (int depth = 0; kindOf(page(number).bytes.data()) != kLeaf; ++depth) {
        if (depth > 32)
            damaged("the index tree is deeper than any real tree");
        const char* b = page(number).bytes.data();
        number = childOf(b, in, e, leftmost ? 0 : countOf(b) - 1);
    }
    return number;
}

bool IndexFile::first(Cursor& c, int tag)
{
    applyDeferred();
    trimCache();
    c.tag = tag;
    loadLeaf(c, edgeLeaf(tag, true));
    c.slot = -1;
    return next(c);
}

bool IndexFile::last(Cursor& c, int tag)
{
    applyDeferred();
    trimCache();
    c.tag = tag;
    loadLeaf(c, edgeLeaf(tag, false));
    c.slot = countOf(c.leaf.data());
    return prior(c);
}

bool IndexFile::seek(Cursor& c, int tag, const Entry& atLeast)
{
    applyDeferred();
    trimCache();
    c.tag = tag;
    const size_t in = entrySize(tag, true), e = entrySize(tag, false);
    Entry target = atLeast;
    target.resize(e, '\0');
    uint32_t number = m_state[static_cast<size_t>(tag)].root;
    for (int depth = 0; kindOf(page(number).bytes.data()) != kLeaf; ++depth) {
        if (depth > 32)
            damaged("the index tree is deeper than any real tree");
        const char* b = page(number).bytes.data();
        number = childOf(b, in, e, childSlot(b, in, target.data(), e));
    }
    loadLeaf(c, number);
    c.slot = lowerBound(c.leaf.data(), e, target.data()) - 1;
    return next(c);
}

void IndexFile::forEachRecord(int tag, const std::function<void(uint32_t record)>& visit)
{
    applyDeferred();
    trimCache();
    const size_t e = entrySize(tag, false);
    Page scratch;
    uint32_t number = edgeLeaf(tag, true);
    for (uint32_t hops = 0; number != 0; ++hops) {
        if (hops > m_pageCount)
            damaged("the leaves of the index run in a circle");
        const char* b = peek(number, scratch).bytes.data();
        if (kindOf(b) != kLeaf)
            damaged("a leaf link leads to an inner index page");
        const char* entry = b + kPageHeader;
        for (int slot = 0; slot < countOf(b); ++slot, entry += e)
            visit(recordBefore(entry + e));
        number = nextOf(b);
    }
}

bool IndexFile::next(Cursor& c)
{
    applyDeferred();
    if (c.tag < 0 || (c.leaf.empty() && c.entry.empty()))
        return false;
    trimCache(); // a walk through the whole index keeps no more pages than a seek does
    const size_t e = entrySize(c.tag, false);
    if ((c.counter != m_counter || c.leaf.empty()) && !c.entry.empty()) {
        const Entry was = c.entry;
        if (!seek(c, c.tag, was))
            return false;
        if (c.entry != was)
            return true;
    }
    for (int hops = 0;; ++hops) {
        if (c.slot + 1 < countOf(c.leaf.data())) {
            ++c.slot;
            setEntryFromSlot(c, e);
            return true;
        }
        const uint32_t after = nextOf(c.leaf.data());
        if (after == 0 || hops > static_cast<int>(m_pageCount)) {
            c.slot = countOf(c.leaf.data());
            c.entry.clear();
            return false;
        }
        loadLeaf(c, after);
        c.slot = -1;
    }
}

bool IndexFile::prior(Cursor& c)
{
    applyDeferred();
    if (c.tag < 0 || (c.leaf.empty() && c.entry.empty()))
        return false;
    trimCache();
    const size_t e = entrySize(c.tag, false);
    if ((c.counter != m_counter || c.leaf.empty()) && !c.entry.empty()) {
        const Entry was = c.entry;
        if (!seek(c, c.tag, was))
            return last(c, c.tag);
    }
    for (int hops = 0;; ++hops) {
        if (c.slot - 1 >= 0 && c.slot - 1 < countOf(c.leaf.data())) {
            --c.slot;
            setEntryFromSlot(c, e);
            return true;
        }
        const uint32_t before = prevOf(c.leaf.data());
        if (before == 0 || hops > static_cast<int>(m_pageCount)) {
            c.slot = -1;
            c.entry.clear();
            return false;
        }
        loadLeaf(c, before);
        c.slot = countOf(c.leaf.data());
    }
}

uint32_t IndexFile::rank(int tag, const Entry& entry)
{
    applyDeferred();
    trimCache();
    const size_t in = entrySize(tag, true), e = entrySize(tag, false);
    Entry target = entry;
    target.resize(e, '\0');
    uint32_t number = m_state[static_cast<size_t>(tag)].root;
    uint32_t before = 0;
    for (int depth = 0;; ++depth) {
        const char* b = page(number).bytes.data();
        if (kindOf(b) == kLeaf)
            return before + static_cast<uint32_t>(lowerBound(b, e, target.data()));
        if (depth > 32)
            damaged("the index tree is deeper than any real tree");
        const int slot = childSlot(b, in, target.data(), e);
        for (int i = 0; i < slot; ++i)
            before += countBelow(b, in, e, i);
        number = childOf(b, in, e, slot);
    }
}

bool IndexFile::entryAt(Cursor& c, int tag, uint32_t position)
{
    applyDeferred();
    trimCache();
    c.tag = tag;
    const size_t in = entrySize(tag, true), e = entrySize(tag, false);
    if (position >= m_state[static_cast<size_t>(tag)].count)
        return false;
    uint32_t number = m_state[static_cast<size_t>(tag)].root;
    for (int depth = 0;; ++depth) {
        const char* b = page(number).bytes.data();
        if (kindOf(b) == kLeaf) {
            loadLeaf(c, number);
            if (position >= countOf(c.leaf.data()))
                damaged("the index counts disagree with its leaves");
            c.slot = static_cast<int>(position);
            setEntryFromSlot(c, e);
            return true;
        }
        if (depth > 32)
            damaged("the index tree is deeper than any real tree");
        int slot = 0;
        const int n = countOf(b);
        while (slot < n - 1 && position >= countBelow(b, in, e, slot)) {
            position -= countBelow(b, in, e, slot);
            ++slot;
        }
        number = childOf(b, in, e, slot);
    }
}


} // namespace db
