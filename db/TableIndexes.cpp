// The production index as the table keeps it: opening and trusting it,
// following tags other copies redefine, keeping entries in step with each
// change, repairing or dropping a damaged index, building it from the
// records, checking it against a rebuild, and adding and deleting tags.

#include "Table.h"
#include "TableInternals.h"

#include "DbError.h"
#include "Ascii.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <span>
#include <thread>

namespace db {

std::vector<TagDefinition> Table::usableTags(const std::vector<TagDefinition>& definitions) const
{
    std::vector<TagDefinition> usable;
    for (const TagDefinition& d : definitions) {
        try {
            KeyExpression check(d.expression, m_header.fields);
            usable.push_back(d);
        } catch (const DbError&) {
            // A tag whose expression no longer fits the table is dropped.
        }
    }
    return usable;
}

void Table::compileIndexExpressions()
{
    std::vector<KeyExpression> compiled;
    try {
        for (const TagDefinition& d : m_index.tags()) {
            compiled.emplace_back(d.expression, m_header.fields);
            if (compiled.back().keyLength() != d.keyLength)
                throw IndexDamaged("a tag's key length does not match its expression");
        }
    } catch (const DbError&) {
        throw IndexDamaged("a tag's expression does not fit the table");
    }
    m_expressions = std::move(compiled);
    m_expressionsVersion = m_index.definitionsVersion();
}

void Table::synchronizeIndex()
{
    m_index.synchronize();
    if (m_index.definitionsVersion() != m_expressionsVersion) {
        // Another copy added, dropped or redefined a tag: keys from now on
        // follow the new definitions, and the cursor finds its place again.
        compileIndexExpressions();
        changed();
        const int tag = selectedTagNumber();
        if (tag >= 0 && m_recNo != 0 && m_currentBytes)
            IndexFile::placeAt(m_cursor, tag, currentEntry());
        else
            m_cursor = {};
    }
    // Nobody writes while this copy holds the update lock: an unclean index
    // now is the work of a copy that stopped half-way, and is rebuilt.
    if (!m_index.clean() && !m_index.writeBack())
        throw IndexDamaged("another copy stopped half-way through a change of the index");
}

IndexFile::Entry Table::entryOf(int tag, const char* record, uint32_t recNo) const
{
    // Built in place: the key, then the record number.
    const KeyExpression& expression = m_expressions[static_cast<size_t>(tag)];
    const auto keyLength = static_cast<size_t>(expression.keyLength());
    IndexFile::Entry entry(keyLength + 4, ' ');
    expression.evaluate(record, entry.data());
    IndexFile::putRecord(entry.data() + keyLength, recNo);
    return entry;
}

IndexFile::Entry Table::currentEntry() const
{
    return entryOf(selectedTagNumber(), m_currentBytes, m_recNo);
}

bool Table::guardIndexChange(const std::function<void()>& change)
{
    // A damaged page marks the index for a rebuild (false); any other
    // failure marks it too and goes on to the caller.
    try {
        change();
    } catch (const IndexDamaged&) {
        m_index.markUnclean();
        return false;
    } catch (...) {
        m_index.markUnclean();
        throw;
    }
    return true;
}

bool Table::beginIndexChange()
{
    // Before the table changes: the index learns of other copies' changes
    // and marks itself unclean until the change is complete.
    return guardIndexChange([this] {
        synchronizeIndex();
        m_index.beginChange();
    });
}

bool Table::updateIndexEntries(const char* oldRecord, const char* newRecord, uint32_t recNo)
{
    // Every tag loses the old record's entry and gains the new one's; an
    // unchanged key is left alone.
    return guardIndexChange([&] {
        for (size_t t = 0; t < m_expressions.size(); ++t) {
            const int tag = static_cast<int>(t);
            const IndexFile::Entry newEntry = newRecord ? entryOf(tag, newRecord, recNo) : IndexFile::Entry();
            const IndexFile::Entry oldEntry = oldRecord ? entryOf(tag, oldRecord, recNo) : IndexFile::Entry();
            if (oldEntry == newEntry)
                continue;
            if (oldRecord)
                m_index.erase(tag, oldEntry);
            if (newRecord)
                m_index.insert(tag, newEntry);
        }
        m_index.endChange(deferWrites() ? TableStamp{} : currentStamp());
    });
}

void Table::repairIndex()
{
    m_cursor = {};
    if (!m_file.writable() || m_mode == OpenMode::ReadOnly) {
        // A reader cannot rewrite the index: it goes on in stored order and says so.
        dropIndex("The index " + indexPath() + " is damaged; records are read in stored order");
        return;
    }
    buildIndexFile(usableTags(m_index.tags()));
    if (m_recNo != 0 && selectedTagNumber() >= 0) {
        UpdateLock read(*this, File::LockKind::Shared);
        m_index.seek(m_cursor, selectedTagNumber(), currentEntry());
    }
}

void Table::mendIndex()
{
    if (!active() || !m_indexOpen || !m_index.broken() || !m_file.writable() || m_mode == OpenMode::ReadOnly)
        return;
    UpdateLock write(*this, File::LockKind::Exclusive);
    repairIndex();
}

// ---------------------------------------------------------------- indexes

void Table::openIndex()
{
    m_expressions.clear();
    m_indexOpen = false;
    m_indexProblem.clear();
    const std::string path = indexPath();
    // The header, the definitions and the table's stamp are read under one
    // hold of the shared lock: a writer between them would make a sound
    // index look out of date.
    std::optional<UpdateLock> read(std::in_place, *this, File::LockKind::Shared);
    IndexFile::OpenResult result;
    try {
        result = m_index.open(path, m_file.writable());
    } catch (const DbError& e) {
        // An index file that cannot be opened at all (no permission, a folder
        // of that name) leaves the table usable in stored order.
        m_index.close();
        m_indexProblem = std::string("The index cannot be used (") + e.what() + "); records are read in stored order";
        return;
    }
    if (result == IndexFile::OpenResult::Missing || result == IndexFile::OpenResult::Foreign) {
        // A foreign index file (another program's .MDX) is left as it is until a tag is added.
        m_index.close();
        return;
    }
    const std::vector<TagDefinition> definitions = m_index.tags();
    bool rebuild = result == IndexFile::OpenResult::Damaged || !m_index.clean();
    if (!rebuild) {
        try {
            compileIndexExpressions();
        } catch (const IndexDamaged&) {
            rebuild = true;
        }
    }
    if (!rebuild) {
        rereadRecordCount();
        rebuild = !(m_index.stamp() == currentStamp());
    }
    read.reset();
    if (rebuild) {
        if (!m_file.writable()) {
            dropIndex("The index " + path + " is out of date or damaged; records are read in stored order");
            return;
        }
        try {
            buildIndexFile(usableTags(definitions));
        } catch (const DbError& e) {
            dropIndex(std::string("The index cannot be rebuilt (") + e.what() + "); records are read in stored order");
        }
        return;
    }
    m_indexOpen = true;
    m_index.setWriteBack(m_mode == OpenMode::Exclusive);
    m_index.setStampSource([this] { return currentStamp(); });
}

void Table::dropIndex(const std::string& why)
{
    try {
        m_index.close();
    } catch (...) {
        // Nothing of this index is trusted any more.
    }
    m_indexOpen = false;
    m_expressions.clear();
    m_cursor = {};
    m_indexProblem = why;
    changed();
}

void Table::writeIndexFlag(bool on)
{
    const uint8_t flag = on ? 1 : 0;
    if (m_header.productionIndexFlag == flag || !m_file.writable())
        return;
    m_file.writeAt(kHeaderIndexFlagOffset, &flag, 1);
    m_header.productionIndexFlag = flag;
}

namespace {

// Index entries are sorted by prefixes of 32 bytes held in the items as four
// integers: by the first prefix, then each run of equal prefixes by the next,
// and so on. The prefixes are taken from the key's significant bytes only:
// bytes that are the same in every entry (the blanks before a number, a
// padding nobody fills) decide nothing and are left out, so that the first
// prefix reaches far into a key of several fields.
// Left uninitialised when made: a sort fills every item before it reads one.
struct SortItem {
    uint64_t word[4];
    uint32_t index;
};

// An output iterator that keeps only the items' entry numbers.
struct IndexWriter {
    using iterator_category = std::output_iterator_tag;
    using value_type = void;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = void;
    uint32_t* at;
    IndexWriter& operator*() { return *this; }
    IndexWriter& operator=(const SortItem& item)
    {
        *at = item.index;
        return *this;
    }
    IndexWriter& operator++()
    {
        ++at;
        return *this;
    }
    IndexWriter operator++(int)
    {
        IndexWriter before = *this;
        ++at;
        return before;
    }
};

bool prefixLess(const SortItem& a, const SortItem& b)
{
    for (int k = 0; k < 4; ++k)
        if (a.word[k] != b.word[k])
            return a.word[k] < b.word[k];
    return false;
}

bool samePrefix(const SortItem& a, const SortItem& b)
{
    return a.word[0] == b.word[0] && a.word[1] == b.word[1] && a.word[2] == b.word[2] && a.word[3] == b.word[3];
}

// The bytes that differ between some two entries, as runs of neighbouring
// places (place, length), in order.
struct Run {
    uint16_t place;
    uint16_t length;
};

std::vector<Run> significantBytes(const char* entries, size_t entryLength, uint32_t count)
{
    std::vector<unsigned char> differs(entryLength, 0);
    for (uint32_t n = 1; n < count; ++n) {
        const char* entry = entries + static_cast<size_t>(n) * entryLength;
        for (size_t k = 0; k < entryLength; ++k)
            differs[k] |= static_cast<unsigned char>(entry[k] ^ entries[k]);
    }
    std::vector<Run> runs;
    for (size_t k = 0; k < entryLength; ++k) {
        if (!differs[k])
            continue;
        if (!runs.empty() && runs.back().place + runs.back().length == k)
            ++runs.back().length;
        else
            runs.push_back({static_cast<uint16_t>(k), 1});
    }
    return runs;
}

// The significant bytes from the from-th on, as many as a prefix holds.
struct PrefixPlan {
    std::vector<Run> runs; // cut to the prefix's bytes
};

std::vector<PrefixPlan> prefixPlans(const std::vector<Run>& runs)
{
    std::vector<PrefixPlan> plans;
    PrefixPlan plan;
    size_t filled = 0;
    for (Run run : runs) {
        while (run.length > 0) {
            const auto take = static_cast<uint16_t>(std::min<size_t>(run.length, 32 - filled));
            plan.runs.push_back({run.place, take});
            filled += take;
            run.place = static_cast<uint16_t>(run.place + take);
            run.length = static_cast<uint16_t>(run.length - take);
            if (filled == 32) {
                plans.push_back(std::move(plan));
                plan = {};
                filled = 0;
            }
        }
    }
    if (filled > 0)
        plans.push_back(std::move(plan));
    return plans;
}

void loadPrefix(SortItem& item, const char* entry, const PrefixPlan& plan)
{
    unsigned char bytes[32] = {};
    size_t filled = 0;
    for (const Run& run : plan.runs) {
        std::memcpy(bytes + filled, entry + run.place, run.length);
        filled += run.length;
    }
    for (int w = 0; w < 4; ++w) {
        uint64_t word;
        std::memcpy(&word, bytes + 8 * w, 8);
        item.word[w] = __builtin_bswap64(word); // the first byte is the most significant
    }
}

void sortEntries(SortItem* begin, SortItem* end, const char* entries, size_t entryLength,
                 const std::vector<PrefixPlan>& plans, size_t level)
{
    if (level > 0) // the first prefixes are loaded in one pass over the entries, in their order
        for (auto it = begin; it != end; ++it)
            loadPrefix(*it, entries + static_cast<size_t>(it->index) * entryLength, plans[level]);
    std::sort(begin, end, prefixLess);
    if (level + 1 >= plans.size())
        return; // the record number at the end makes every entry unique
    for (auto run = begin; run != end;) {
        auto next = run + 1;
        while (next != end && samePrefix(*next, *run))
            ++next;
        if (next - run > 1) {
            const SortItem common = *run;
            sortEntries(run, next, entries, entryLength, plans, level + 1);
            // The run keeps its first prefix, which the merge below compares.
            for (auto it = run; it != next; ++it)
                std::copy(std::begin(common.word), std::end(common.word), it->word);
        }
        run = next;
    }
}

// The order of the entries by key, then record number: each half sorted on
// its own core, then the halves merged on both, each core making one half
// of the result.
std::vector<uint32_t> sortedOrder(const char* entries, size_t entryLength, uint32_t count)
{
    const std::vector<PrefixPlan> plans = prefixPlans(significantBytes(entries, entryLength, count));
    if (plans.empty()) // no entry or one
        return std::vector<uint32_t>(count, 0);
    // Each half is filled (and so first touched) by the core that sorts it.
    const std::unique_ptr<SortItem[]> items = std::make_unique_for_overwrite<SortItem[]>(count);
    auto sortPart = [&](SortItem* begin, SortItem* end) {
        for (SortItem* it = begin; it != end; ++it) {
            it->index = static_cast<uint32_t>(it - items.get());
            loadPrefix(*it, entries + static_cast<size_t>(it->index) * entryLength, plans[0]);
        }
        sortEntries(begin, end, entries, entryLength, plans, 0);
    };
    std::vector<uint32_t> order(count);
    if (count < 100000 || std::thread::hardware_concurrency() < 2) {
        sortPart(items.get(), items.get() + count);
        for (uint32_t n = 0; n < count; ++n)
            order[n] = items[n].index;
        return order;
    }
    SortItem* const middle = items.get() + count / 2;
    std::thread other([&] { sortPart(items.get(), middle); });
    sortPart(middle, items.get() + count);
    other.join();
    // Items with equal first prefixes are told apart by their whole entries.
    const auto less = [&](const SortItem& a, const SortItem& b) {
        if (!samePrefix(a, b))
            return prefixLess(a, b);
        return std::memcmp(entries + static_cast<size_t>(a.index) * entryLength,
                           entries + static_cast<size_t>(b.index) * entryLength, entryLength) < 0;
    };
    // The first half of the result takes the first i of the one half and the
    // first k - i of the other, where i is found by halving.
    const std::span<const SortItem> a(items.get(), count / 2), b(items.get() + count / 2, count - count / 2);
    const size_t k = count / 2;
    size_t low = k > b.size() ? k - b.size() : 0, high = std::min(k, a.size());
    while (low < high) {
        const size_t i = (low + high) / 2;
        if (less(a[i], b[k - i - 1]))
            low = i + 1;
        else
            high = i;
    }
    const size_t i = low, j = k - low;
    auto mergeInto = [&](std::span<const SortItem> x, std::span<const SortItem> y, uint32_t* out) {
        std::merge(x.begin(), x.end(), y.begin(), y.end(), IndexWriter{out}, less);
    };
    std::thread firstHalf([&] { mergeInto(a.first(i), b.first(j), order.data()); });
    mergeInto(a.subspan(i), b.subspan(j), order.data() + k);
    firstHalf.join();
    return order;
}

void writeRecordNumber(char* at, uint32_t rec)
{
    at[0] = static_cast<char>(rec >> 24);
    at[1] = static_cast<char>((rec >> 16) & 0xFF);
    at[2] = static_cast<char>((rec >> 8) & 0xFF);
    at[3] = static_cast<char>(rec & 0xFF);
}

} // namespace

// Every live record's key for each tag, followed by its record number. The
// workers of a parallel scan write each record's entry in its own slot; the
// slots of deleted records are squeezed out afterwards.
void Table::extractKeys(const std::vector<TagDefinition>& tags, const std::vector<KeyExpression>& expressions,
                        std::vector<IndexFile::BuiltTag>& built) const
{
    const size_t length = m_header.recordLength;
    const uint32_t records = m_header.recordCount;
    std::vector<uint8_t> live(records, 0);
    for (size_t t = 0; t < tags.size(); ++t)
        built[t].entries.resize(static_cast<size_t>(records) * (tags[t].keyLength + 4)); // filled by the scan
    scanRecordsInParallel([&](unsigned, const char* block, uint32_t start, uint32_t n) {
        for (uint32_t k = 0; k < n; ++k) {
            const char* record = block + static_cast<size_t>(k) * length;
            const uint32_t rec = start + k;
            if (record[0] != ' ')
                continue; // deleted, or no record
            live[rec - 1] = 1;
            for (size_t t = 0; t < tags.size(); ++t) {
                const size_t e = static_cast<size_t>(tags[t].keyLength) + 4;
                char* slot = built[t].entries.data() + static_cast<size_t>(rec - 1) * e;
                expressions[t].evaluate(record, slot);
                writeRecordNumber(slot + tags[t].keyLength, rec);
            }
        }
    });
    for (size_t t = 0; t < tags.size(); ++t) {
        const size_t e = static_cast<size_t>(tags[t].keyLength) + 4;
        KeyBytes& entries = built[t].entries;
        size_t kept = 0;
        for (uint32_t r = 0; r < records; ++r) {
            if (!live[r])
                continue;
            if (kept != r)
                std::memmove(entries.data() + kept * e, entries.data() + static_cast<size_t>(r) * e, e);
            ++kept;
        }
        entries.resize(kept * e);
        built[t].count = static_cast<uint32_t>(kept);
    }
}

void Table::buildIndexFile(std::vector<TagDefinition> tags)
{
    std::vector<KeyExpression> expressions;
    for (TagDefinition& d : tags) {
        expressions.emplace_back(d.expression, m_header.fields);
        d.keyLength = expressions.back().keyLength();
    }
    UpdateLock write(*this, File::LockKind::Exclusive);
    writePendingAppends();
    rereadRecordCount();
    writeIndexFlag(!tags.empty());

    std::vector<IndexFile::BuiltTag> built(tags.size());
    for (size_t t = 0; t < tags.size(); ++t)
        built[t].definition = tags[t];
    extractKeys(tags, expressions, built);
    for (IndexFile::BuiltTag& b : built)
        b.order = sortedOrder(b.entries.data(), static_cast<size_t>(b.definition.keyLength) + 4, b.count);
    m_index.close();
    m_indexOpen = false; // until the new file is whole
    m_expressions.clear();
    m_index.rebuild(indexPath(), std::move(built), currentStamp());
    m_expressions = std::move(expressions);
    m_expressionsVersion = m_index.definitionsVersion();
    m_indexProblem.clear();
    m_indexOpen = true;
    m_index.setWriteBack(m_mode == OpenMode::Exclusive);
    m_index.setStampSource([this] { return currentStamp(); });
}

std::string Table::checkIndex()
{
    requireBrowse("check the index");
    if (!m_indexOpen)
        return {};
    try {
        UpdateLock read(*this, File::LockKind::Shared);
        synchronizeIndex();
        rereadRecordCount();
        const std::vector<TagDefinition> tags = m_index.tags();
        std::vector<IndexFile::BuiltTag> built(tags.size());
        extractKeys(tags, m_expressions, built);
        for (size_t t = 0; t < tags.size(); ++t) {
            const size_t e = static_cast<size_t>(tags[t].keyLength) + 4;
            const std::vector<uint32_t> order = sortedOrder(built[t].entries.data(), e, built[t].count);
            const std::string tag = "Index tag " + tags[t].name + ": ";
            if (m_index.entryCount(static_cast<int>(t)) != built[t].count)
                return tag + "it counts " + std::to_string(m_index.entryCount(static_cast<int>(t)))
                    + " records but the table holds " + std::to_string(built[t].count);
            IndexFile::Cursor c;
            bool more = m_index.first(c, static_cast<int>(t));
            for (uint32_t n = 0; n < built[t].count; ++n, more = m_index.next(c)) {
                const std::string_view expected(built[t].entries.data() + static_cast<size_t>(order[n]) * e, e);
                if (!more)
                    return tag + "it ends after " + std::to_string(n) + " of " + std::to_string(built[t].count) + " records";
                if (c.entry != expected)
                    return tag + "entry " + std::to_string(n + 1) + " lists record "
                        + std::to_string(IndexFile::recordOf(c.entry)) + " where record "
                        + std::to_string(IndexFile::recordOf(std::string(expected))) + " belongs";
            }
            if (more)
                return tag + "it lists more entries than the table has records";
        }
    } catch (const IndexDamaged& e) {
        return std::string("The index is damaged: ") + e.what();
    }
    return {};
}

std::vector<TagDefinition> Table::indexTags()
{
    requireActive("list index tags");
    if (!m_indexOpen)
        return {};
    return m_index.tags();
}

void Table::withTableOpen(const std::function<void()>& work)
{
    const std::string selected = m_selectedTag;
    m_selectedTag.clear();
    try {
        open(OpenMode::Shared);
        work();
        close();
    } catch (...) {
        close();
        m_selectedTag = selected;
        throw;
    }
    m_selectedTag = selected;
}

void Table::addIndex(const std::string& tag, const std::string& expression)
{
    if (!active())
        return withTableOpen([&] { addIndex(tag, expression); });
    requireBrowse("add an index");
    if (tag.empty() || tag.size() > static_cast<size_t>(IndexFile::kMaxTagName)
        || !std::all_of(tag.begin(), tag.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }))
        throw DbError(indexPath(), Message(TRANSLATABLE("db", "Index tag name \"%1\" must be 1 to 10 letters, digits or _"), {tag}));
    if (!m_file.writable())
        throw DbError(filePath(), Message{TRANSLATABLE("db", "Cannot add an index: the table is open read-only")});
    if (expression.size() > IndexFile::kMaxExpression)
        throw DbError(indexPath(), Message(TRANSLATABLE("db", "The index expression is %1 characters long; an index "
                                                              "expression holds at most %2"),
                                           {std::to_string(expression.size()), std::to_string(IndexFile::kMaxExpression)}));
    const KeyExpression compiled(expression, m_header.fields); // throws before any file changes
    std::vector<TagDefinition> tags = m_indexOpen ? m_index.tags() : std::vector<TagDefinition>{};
    tags.erase(std::remove_if(tags.begin(), tags.end(), [&](const TagDefinition& d) { return sameLetters(d.name, tag); }),
               tags.end());
    if (tags.size() >= static_cast<size_t>(IndexFile::kMaxTags))
        throw DbError(indexPath(), Message{TRANSLATABLE("db", "An index file holds at most 8 tags")});
    tags.push_back({tag, expression, compiled.keyLength()});
    const uint32_t keep = m_recNo;
    buildIndexFile(tags);
    m_recNo = keep;
    refresh();
}

void Table::deleteIndex(const std::string& tag)
{
    if (!active())
        return withTableOpen([&] { deleteIndex(tag); });
    requireBrowse("delete an index");
    if (!m_indexOpen || m_index.tagNumber(tag) < 0)
        return;
    if (sameLetters(m_selectedTag, tag))
        m_selectedTag.clear();
    std::vector<TagDefinition> tags = m_index.tags();
    tags.erase(std::remove_if(tags.begin(), tags.end(), [&](const TagDefinition& d) { return sameLetters(d.name, tag); }),
               tags.end());
    if (tags.empty() && m_mode == OpenMode::Exclusive) {
        // Nobody else has the index open: the file itself goes.
        m_index.close();
        m_indexOpen = false;
        m_expressions.clear();
        removeFile(indexPath());
        writeIndexFlag(false);
    } else {
        buildIndexFile(tags);
    }
    refresh();
}

void Table::selectIndex(const std::string& tag)
{
    if (!active()) {
        m_selectedTag = tag;
        return;
    }
    if (m_state != State::Browse)
        post();
    if (!tag.empty() && (!m_indexOpen || m_index.tagNumber(tag) < 0))
        throw DbError(indexPath(), Message(TRANSLATABLE("db", "Index tag %1 does not exist"), {tag}));
    m_selectedTag = tag;
    changed();
    refresh();
}

} // namespace db
