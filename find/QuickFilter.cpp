#include "QuickFilter.h"

#include "Cp1252.h"
#include "DbfFormat.h"
#include "TextEncoding.h"
#include "Record.h"
#include "Table.h"

#include <algorithm>
#include <array>

namespace find {

namespace {

const char* const kSearchedFields[] = {"Title", "Star1", "Star2", "Star3", "Star4", "Star5", "Star6",
                                       "Director", "Producer", "Category", "KeyWords", "MediaNum"};

// The folded form of every Windows-1252 byte, so that a field is compared as it stands.
const std::array<char, 256>& foldTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<size_t>(b)] = db::foldedCp1252(std::string(1, static_cast<char>(b)))[0];
        return t;
    }();
    return table;
}

// Whether a folded word appears in a field's bytes, folded as they are read.
bool containsFolded(std::string_view field, std::string_view word, const std::array<char, 256>& fold)
{
    if (word.size() > field.size())
        return false;
    const char first = word[0];
    for (size_t at = 0; at + word.size() <= field.size(); ++at) {
        if (fold[static_cast<unsigned char>(field[at])] != first)
            continue;
        size_t k = 1;
        while (k < word.size() && fold[static_cast<unsigned char>(field[at + k])] == word[k])
            ++k;
        if (k == word.size())
            return true;
    }
    return false;
}

// The fold of the ASCII letters of UTF-8 text: every byte of a longer
// character stays apart from every letter of an ASCII word.
const std::array<char, 256>& asciiFoldTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t = foldTable();
        for (size_t b = 0x80; b < t.size(); ++b)
            t[b] = static_cast<char>(0x80);
        return t;
    }();
    return table;
}

} // namespace

QuickFilter::QuickFilter(std::string_view typed, const db::Table& table)
{
    const std::string folded = db::foldedUtf8(typed);
    std::string word;
    for (const char c : folded + ' ') {
        if (static_cast<unsigned char>(c) > ' ') {
            word += c;
            continue;
        }
        if (!word.empty() && m_words.size() < kMostWords
            && std::find(m_words.begin(), m_words.end(), word) == m_words.end())
            m_words.push_back(word);
        word.clear();
    }
    // A longer word is rarer: looking for it first rules most records out sooner.
    std::sort(m_words.begin(), m_words.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    // A Windows-1252 field is folded a byte at a time as it is read: its words are in that code page.
    for (const std::string& w : m_words) {
        m_asciiWord.push_back(db::isAscii(w));
        int replaced = 0;
        const std::string bytes = db::utf8ToCp1252(w, &replaced);
        m_words1252.push_back(replaced == 0 ? bytes : std::string());
    }
    for (const char* name : kSearchedFields)
        if (const int field = table.fieldIndex(name); field >= 0)
            m_fields.push_back(field);
}

bool QuickFilter::matches(const db::Record& record) const
{
    const std::array<char, 256>& windows1252 = foldTable();
    const std::array<char, 256>& ascii = asciiFoldTable();
    // A UTF-8 field beyond ASCII is folded whole, once for all the words.
    thread_local std::array<std::string, std::size(kSearchedFields)> folded;
    uint32_t isFolded = 0; // a bit for each field folded
    for (size_t w = 0; w < m_words.size(); ++w) {
        const std::string& word = m_words[w];
        bool found = false;
        for (size_t f = 0; f < m_fields.size() && !found; ++f) {
            const int field = m_fields[f];
            const std::string_view raw = db::trimRight(record.raw(field));
            if (record.field(field).encoding != db::TextEncoding::Utf8) {
                found = !m_words1252[w].empty() && containsFolded(raw, m_words1252[w], windows1252);
                continue;
            }
            // An ASCII word found among the ASCII letters is found; elsewhere
            // only a field beyond ASCII may still hold it, as a folded letter.
            if (m_asciiWord[w] && containsFolded(raw, word, ascii)) {
                found = true;
                continue;
            }
            if (db::isAscii(raw))
                continue;
            if ((isFolded & (1u << f)) == 0) {
                db::foldUtf8Into(folded[f], raw);
                isFolded |= 1u << f;
            }
            found = folded[f].find(word) != std::string::npos;
        }
        if (!found)
            return false;
    }
    return true;
}

namespace {
struct Cancelled {};
} // namespace

std::optional<FilterMatches> findFilterMatches(const std::string& collectionPath,
                                               const std::function<bool(const db::Record&)>& accepts,
                                               const std::atomic<bool>& cancelled)
{
    db::Table table;
    table.setFilePath(collectionPath);
    table.open(db::Table::OpenMode::ReadOnly);
    auto passed = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(table.physicalRecordCount()) + 1, 0);
    std::vector<uint32_t> counts(table.scanWorkers(), 0);
    const std::vector<db::FieldDef>& fields = table.fields();
    try {
        table.scanVisibleInParallel([&](unsigned worker, const char* bytes, uint32_t recNo) {
            if (cancelled.load(std::memory_order_relaxed))
                throw Cancelled{};
            if (accepts(db::Record(&fields, bytes))) {
                // A record added as the pass began lies past the list: the table reads and tests it itself.
                if (recNo < passed->size())
                    (*passed)[recNo] = 1;
                ++counts[worker];
            }
        });
    } catch (const Cancelled&) {
        return std::nullopt;
    }
    FilterMatches found{std::move(passed), 0};
    for (const uint32_t part : counts)
        found.count += part;
    return found;
}

} // namespace find
