#pragma once

// The quick filter of the main window: each word typed must appear, ignoring
// case and accents, in the title, a star, the director, the producer, the
// category, the key words or the media number of a record.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class Record;
class Table;
} // namespace db

namespace find {

class QuickFilter {
public:
    QuickFilter() = default;
    // The words of a typed text (UTF-8); control characters separate words like blanks.
    // The fields are found in the table's layout.
    QuickFilter(std::string_view typed, const db::Table& table);

    bool empty() const { return m_words.empty(); }
    const std::vector<std::string>& words() const { return m_words; } // folded, UTF-8
    bool matches(const db::Record& record) const;

    static constexpr size_t kMostWords = 32; // words past these are not looked for

private:
    std::vector<std::string> m_words;
    std::vector<std::string> m_words1252; // the same in Windows-1252 ("" where it cannot hold them)
    std::vector<char> m_asciiWord;        // whether each word is ASCII throughout
    std::vector<int> m_fields;
};

// The records of a collection that pass a filter, found on every core over a
// table of its own (so that the window's table is left alone meanwhile): by
// record number, 1 for each that passes, and how many. Empty when `cancelled`
// was set before the pass was over: the typing went on.
struct FilterMatches {
    std::shared_ptr<const std::vector<uint8_t>> passed;
    uint32_t count = 0;
};
std::optional<FilterMatches> findFilterMatches(const std::string& collectionPath,
                                               const std::function<bool(const db::Record&)>& accepts,
                                               const std::atomic<bool>& cancelled);

} // namespace find
