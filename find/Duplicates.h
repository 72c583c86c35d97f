#pragma once

// The duplicate finder: records whose titles are the same once case, accents,
// punctuation, "&" for "and" and a leading or trailing article are set aside
// ("The Matrix", "Matrix, The", "the matrix!"), optionally only when their
// year, or their format, is the same too (so that a tape and a disc of one
// film are not flagged unless asked).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class Table;
}

namespace find {

struct DuplicateOptions {
    bool sameYear = false;
    bool sameFormat = false;
};

// The title as duplicates are compared (UTF-8 in; plain lower-case words of
// any script out, accents left off).
std::string duplicateTitleKey(std::string_view title);

struct DuplicateGroup {
    std::string key;              // the compared title (and year, format) the records share
    std::vector<uint32_t> records; // their record numbers, in the order the table shows them
};

// The groups of two or more records among those the table shows (all, or the
// search's), largest first, then by key. One pass over the table.
std::vector<DuplicateGroup> findDuplicates(db::Table& table, const DuplicateOptions& options);

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
