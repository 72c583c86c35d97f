#pragma once

// The duplicate finder: records whose titles are the same once case, accents,
// punctuation, "&" for "and" and a leading or trailing article are set aside
// ("The Matrix", "Matrix, The", "the matrix!"), optionally only when their
// year, or their format, is the same too (so that a tape and a disc of one
// film are not flagged unless asked).

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class Record;
class Table;
} // namespace db

namespace find {

struct DuplicateOptions {
    bool sameYear = false;
    bool sameFormat = false;
};

// The title as duplicates are compared (UTF-8 in; plain lower-case words of
// any script out, accents left off).
std::string duplicateTitleKey(std::string_view title);

struct DuplicateGroup {
    std::string key;               // the compared title (and year, format) the records share
    std::vector<uint32_t> records; // their record numbers, lowest first
    // Each record's texts of the fields readGroupTexts was asked for (empty until then).
    std::vector<std::vector<std::string>> texts;
};

// How far a search for duplicates has come, read by a window while a worker
// searches, and the window's wish to stop it.
struct DuplicateProgress {
    std::atomic<uint32_t> looked{0}; // records looked at so far
    std::atomic<bool> cancel{false};
};

// The groups of two or more records among those the table shows (all, or the
// search's), largest first, then by key. One pass over the table, on every
// core where the table's filter may run there; each record keeps its key's
// hash and the key in one shared run of text, so a million records take tens
// of megabytes. Nothing when `progress` asked to stop.
std::optional<std::vector<DuplicateGroup>> findDuplicates(db::Table& table, const DuplicateOptions& options,
                                                          DuplicateProgress* progress);
std::vector<DuplicateGroup> findDuplicates(db::Table& table, const DuplicateOptions& options);

// Reads the named fields of the records of groups[0..count) into their texts,
// in record order (one pass along the file rather than a read at random places).
// A field the table lacks reads empty; a record gone meanwhile has no texts.
void readGroupTexts(db::Table& table, std::vector<DuplicateGroup>& groups, size_t count,
                    const std::vector<std::string>& fieldNames);

// A window's search: the groups of the collection at `collectionPath` over a
// table of its own (so that the window's table is left alone), among the
// records `accepts` lets through (all when it is empty), but for the groups
// marked as no duplicates; the first `shown` groups with their texts of
// `fieldNames`, and how many groups there are in all.
struct FoundDuplicates {
    std::vector<DuplicateGroup> groups;
    size_t groupsFound = 0;
};
std::optional<FoundDuplicates> findDuplicatesInFile(const std::string& collectionPath,
                                                    const std::function<bool(const db::Record&)>& accepts,
                                                    const DuplicateOptions& options, size_t shown,
                                                    const std::vector<std::string>& fieldNames,
                                                    DuplicateProgress& progress);
// The same over the window's own table, for when no second table can open it.
std::optional<FoundDuplicates> findDuplicatesInTable(db::Table& table, const DuplicateOptions& options, size_t shown,
                                                     const std::vector<std::string>& fieldNames,
                                                     DuplicateProgress& progress);

// The groups a user marked "not duplicates", kept beside the collection
// (FILMS.DBF: FILMS.NOTDUP, one group key a line) and not shown again.
class NotDuplicates {
public:
    explicit NotDuplicates(const std::string& collectionPath);
    bool contains(const std::string& key) const;
    // Adds a key and writes the file whole (replacing it only once the new one is written).
    void add(const std::string& key); // throws db::DbError
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::vector<std::string> m_keys;
};

} // namespace find
