#include "Duplicates.h"

#include "FileIO.h"
#include "Table.h"
#include "TextEncoding.h"

#include <algorithm>
#include <fstream>

namespace find {

std::string duplicateTitleKey(std::string_view title)
{
    return db::sameTitleKey(title);
}

namespace {

struct Cancelled {};

// One record's place among the keys: the key's hash, where its text lies in
// its worker's run of keys, and the record.
struct KeyEntry {
    uint64_t hash;
    uint32_t recNo;
    uint32_t offset;
    uint32_t length;
    uint32_t worker;
};

// What one worker found: its records' entries and their keys end to end.
struct WorkerKeys {
    std::vector<KeyEntry> entries;
    std::string text;
    uint32_t uncounted = 0; // looked at but not yet added to the progress
};

} // namespace

std::optional<std::vector<DuplicateGroup>> findDuplicates(db::Table& table, const DuplicateOptions& options,
                                                          DuplicateProgress* progress)
{
    const int yearField = table.fieldIndex("Year");
    const int formatField = table.fieldIndex("Format");
    const std::vector<db::FieldDef>& fields = table.fields();
    std::vector<WorkerKeys> workers(table.scanWorkers());
    try {
        table.scanVisibleInParallel([&](unsigned w, const char* bytes, uint32_t recNo) {
            WorkerKeys& mine = workers[w];
            if (progress && ++mine.uncounted == 4096) {
                if (progress->cancel.load(std::memory_order_relaxed))
                    throw Cancelled{};
                progress->looked.fetch_add(mine.uncounted, std::memory_order_relaxed);
                mine.uncounted = 0;
            }
            const db::Record record(&fields, bytes);
            std::string key = duplicateTitleKey(record.text(0));
            if (key.empty())
                return; // a record without a title is no one's duplicate
            if (options.sameYear && yearField >= 0) {
                const std::string year = record.text(yearField);
                key += " | " + (year.empty() ? std::string("0") : year);
            }
            if (options.sameFormat && formatField >= 0)
                key += " | " + db::foldedUtf8(record.text(formatField));
            mine.entries.push_back({std::hash<std::string_view>{}(key), recNo, static_cast<uint32_t>(mine.text.size()),
                                    static_cast<uint32_t>(key.size()), w});
            mine.text += key;
        });
    } catch (const Cancelled&) {
        return std::nullopt;
    }
    if (progress) {
        if (progress->cancel)
            return std::nullopt;
        for (const WorkerKeys& w : workers)
            progress->looked.fetch_add(w.uncounted, std::memory_order_relaxed);
    }
    std::vector<KeyEntry> entries;
    size_t total = 0;
    for (const WorkerKeys& w : workers)
        total += w.entries.size();
    entries.reserve(total);
    for (WorkerKeys& w : workers) {
        entries.insert(entries.end(), w.entries.begin(), w.entries.end());
        w.entries = {};
    }
    const auto keyOf = [&workers](const KeyEntry& e) {
        return std::string_view(workers[e.worker].text).substr(e.offset, e.length);
    };
    // Equal keys side by side, each run in record order; hashes first, so
    // that the texts are compared only where hashes meet.
    std::sort(entries.begin(), entries.end(), [&](const KeyEntry& a, const KeyEntry& b) {
        if (a.hash != b.hash)
            return a.hash < b.hash;
        const int order = keyOf(a).compare(keyOf(b));
        return order != 0 ? order < 0 : a.recNo < b.recNo;
    });
    std::vector<DuplicateGroup> groups;
    for (size_t i = 0; i < entries.size();) {
        size_t end = i + 1;
        while (end < entries.size() && entries[end].hash == entries[i].hash && keyOf(entries[end]) == keyOf(entries[i]))
            ++end;
        if (end - i > 1) {
            DuplicateGroup group{std::string(keyOf(entries[i])), {}, {}};
            group.records.reserve(end - i);
            for (size_t k = i; k < end; ++k)
                group.records.push_back(entries[k].recNo);
            groups.push_back(std::move(group));
        }
        i = end;
    }
    std::sort(groups.begin(), groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
        return a.records.size() != b.records.size() ? a.records.size() > b.records.size() : a.key < b.key;
    });
    return groups;
}

std::vector<DuplicateGroup> findDuplicates(db::Table& table, const DuplicateOptions& options)
{
    return *findDuplicates(table, options, nullptr);
}

void readGroupTexts(db::Table& table, std::vector<DuplicateGroup>& groups, size_t count,
                    const std::vector<std::string>& fieldNames)
{
    count = std::min(count, groups.size());
    std::vector<int> fields;
    for (const std::string& name : fieldNames)
        fields.push_back(table.fieldIndex(name));
    // Each wanted record and the place its texts go, in record order.
    struct Wanted {
        uint32_t recNo;
        uint32_t group;
        uint32_t place;
    };
    std::vector<Wanted> wanted;
    for (size_t g = 0; g < count; ++g) {
        groups[g].texts.assign(groups[g].records.size(), {});
        for (size_t r = 0; r < groups[g].records.size(); ++r)
            wanted.push_back({groups[g].records[r], static_cast<uint32_t>(g), static_cast<uint32_t>(r)});
    }
    std::sort(wanted.begin(), wanted.end(), [](const Wanted& a, const Wanted& b) { return a.recNo < b.recNo; });
    const std::vector<db::FieldDef>& layout = table.fields();
    const db::Table::ReadHold hold(table);
    while (!wanted.empty() && wanted.back().recNo > table.physicalRecordCount())
        wanted.pop_back(); // past the records this table knows of
    const size_t length = table.recordLength();
    for (size_t at = 0; at < wanted.size();) {
        // Records close together are read as one run of the file.
        size_t end = at + 1;
        while (end < wanted.size() && wanted[end].recNo - wanted[end - 1].recNo < 64)
            ++end;
        size_t next = at;
        table.scanRecords(wanted[at].recNo, wanted[end - 1].recNo, [&](const char* block, uint32_t first, uint32_t n) {
            for (; next < end && wanted[next].recNo < first + n; ++next) {
                const char* bytes = block + static_cast<size_t>(wanted[next].recNo - first) * length;
                if (*bytes == '*')
                    continue; // deleted meanwhile
                const db::Record record(&layout, bytes);
                std::vector<std::string>& row = groups[wanted[next].group].texts[wanted[next].place];
                row.reserve(fields.size());
                for (const int field : fields)
                    row.push_back(field < 0 ? std::string() : record.text(field));
            }
        });
        at = end;
    }
}

std::optional<FoundDuplicates> findDuplicatesInTable(db::Table& table, const DuplicateOptions& options, size_t shown,
                                                     const std::vector<std::string>& fieldNames,
                                                     DuplicateProgress& progress)
{
    std::optional<std::vector<DuplicateGroup>> groups = findDuplicates(table, options, &progress);
    if (!groups)
        return std::nullopt;
    // Groups the user marked as no duplicates are not shown again.
    const NotDuplicates kept(table.filePath());
    FoundDuplicates found;
    for (DuplicateGroup& group : *groups)
        if (!kept.contains(group.key))
            found.groups.push_back(std::move(group));
    found.groupsFound = found.groups.size();
    if (found.groups.size() > shown)
        found.groups.resize(shown);
    readGroupTexts(table, found.groups, shown, fieldNames);
    if (progress.cancel)
        return std::nullopt;
    return found;
}

std::optional<FoundDuplicates> findDuplicatesInFile(const std::string& collectionPath,
                                                    const std::function<bool(const db::Record&)>& accepts,
                                                    const DuplicateOptions& options, size_t shown,
                                                    const std::vector<std::string>& fieldNames,
                                                    DuplicateProgress& progress)
{
    db::Table table;
    table.setFilePath(collectionPath);
    table.open(db::Table::OpenMode::ReadOnly);
    table.selectIndex("");
    if (accepts) {
        table.setFilter(accepts, true);
        table.setFiltered(true);
    }
    return findDuplicatesInTable(table, options, shown, fieldNames, progress);
}

NotDuplicates::NotDuplicates(const std::string& collectionPath)
{
    const size_t dot = collectionPath.find_last_of('.');
    const size_t slash = collectionPath.find_last_of('/');
    m_path = (dot != std::string::npos && (slash == std::string::npos || dot > slash) ? collectionPath.substr(0, dot)
                                                                                      : collectionPath)
             + ".NOTDUP";
    std::ifstream in(m_path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            m_keys.push_back(line);
    }
}

bool NotDuplicates::contains(const std::string& key) const
{
    return !m_keys.empty() && std::find(m_keys.begin(), m_keys.end(), key) != m_keys.end();
}

void NotDuplicates::add(const std::string& key)
{
    if (contains(key))
        return;
    std::vector<std::string> keys = m_keys;
    keys.push_back(key);
    db::writeReplacing(m_path, [&](db::File& out) {
        std::string text;
        for (const std::string& k : keys)
            text += k + "\r\n";
        out.writeAt(0, text.data(), text.size());
    });
    m_keys = std::move(keys);
}

} // namespace find
