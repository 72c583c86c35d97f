#include "Search.h"

#include "Ascii.h"
#include "Schema.h"
#include "TextEncoding.h"
#include "Translatable.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace find {

const char* const kInvalidCriteria = TRANSLATABLE("find", "Invalid search criteria entered.  Please correct.");
const char* const kNoCriteria = TRANSLATABLE("find", "No search criteria entered.");
const char* const kNoMatches = TRANSLATABLE("find", "No valid matches found.  Search Criteria will be cleared.");

const char* const kTooManyItems = TRANSLATABLE(
    "find", "More than %1 search items have been entered.  This exceeds the maximum allowable.  Search criteria will "
            "be cleared.");

std::string tooManyItemsMessage()
{
    std::string text = kTooManyItems;
    return text.replace(text.find("%1"), 2, std::to_string(kMaxSearchItems));
}

namespace {

constexpr int kKeyWords = 26;
constexpr int kFirstStar = 2;
constexpr int kLastStar = 7;
constexpr size_t kMaxValue = 110;

std::string trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Whether a field holds the (upper-cased) criterion anywhere, its letters a
// to z compared as capitals: no copy of the field is made.
bool matchesAt(std::string_view raw, size_t at, std::string_view needle)
{
    for (size_t k = 0; k < needle.size(); ++k)
        if (db::upperAscii(raw[at + k]) != needle[k])
            return false;
    return true;
}

// Whether a field holds a criterion with letters beyond ASCII: the field's
// text in capitals, a character at a time, holds it.
bool fieldContainsUnicode(const db::Record& record, int position, std::string_view needle)
{
    thread_local std::string scratch;
    const std::string upper = db::upperUtf8(record.textView(position - 1, scratch));
    return upper.find(needle) != std::string::npos;
}

bool fieldContains(const db::Record& record, int position, std::string_view needle)
{
    if (!db::isAscii(needle))
        return fieldContainsUnicode(record, position, needle);
    // An ASCII criterion is looked for in the stored bytes, whatever the
    // encoding: its letters are the same bytes in both, and a byte of
    // another character is never one of them. The blanks that pad the field
    // need no trimming: a criterion has no blanks at its end, so it never
    // matches into them.
    const std::string_view raw = record.raw(position - 1);
    if (needle.size() > raw.size())
        return false;
    if (needle.empty())
        return true;
    const size_t last = raw.size() - needle.size();
    size_t at = 0;
#ifdef __SSE2__
    // Candidates sixteen positions at a time: where both the needle's first
    // and its last character are found at the right distance (with bit 0x20
    // set, a capital and its small letter look the same). Names are full of
    // their first letters; pairs are rare, so few candidates are compared.
    auto folded = [](char c) { return c >= 'A' && c <= 'Z'; };
    const char first = needle[0];
    const char end = needle.back();
    const size_t span = needle.size() - 1;
    const __m128i foldFirst = _mm_set1_epi8(folded(first) ? 0x20 : 0);
    const __m128i foldEnd = _mm_set1_epi8(folded(end) ? 0x20 : 0);
    const __m128i targetFirst = _mm_set1_epi8(static_cast<char>(folded(first) ? first | 0x20 : first));
    const __m128i targetEnd = _mm_set1_epi8(static_cast<char>(folded(end) ? end | 0x20 : end));
    for (; at + 16 <= last + 1; at += 16) {
        const __m128i heads = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(raw.data() + at)), foldFirst);
        const __m128i tails = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(raw.data() + at + span)), foldEnd);
        unsigned candidates = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(heads, targetFirst), _mm_cmpeq_epi8(tails, targetEnd))));
        while (candidates) {
            const size_t i = at + static_cast<size_t>(__builtin_ctz(candidates));
            if (matchesAt(raw, i, needle))
                return true;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; at <= last; ++at)
        if (db::upperAscii(raw[at]) == needle[0] && matchesAt(raw, at, needle))
            return true;
    return false;
}

bool compareNumbers(double field, double criterion, int test)
{
    switch (test) {
    case SearchItem::Equal: return field == criterion;
    case SearchItem::Greater: return field > criterion;
    case SearchItem::Less: return field < criterion;
    default: return true;
    }
}

} // namespace

bool BuildFilter(const std::vector<SearchItem>& items, const db::Record& record)
{
    bool pass = true;
    for (const SearchItem& item : items) {
        switch (item.test) {
        case SearchItem::Equal:
        case SearchItem::Greater:
        case SearchItem::Less:
            if (pass) {
                const double value = item.isDate ? record.date(item.field - 1) : record.number(item.field - 1);
                pass = compareNumbers(value, item.isDate ? item.date : item.number, item.test);
            }
            break;
        case SearchItem::Contains:
            if (pass)
                pass = fieldContains(record, item.field, item.value);
            break;
        case SearchItem::AnyKeyWord: {
            bool found = false;
            if (pass) {
                for (const std::string& word : item.words)
                    if (!word.empty() && fieldContains(record, kKeyWords, word)) {
                        found = true;
                        break;
                    }
            }
            pass = pass && found;
            break;
        }
        case SearchItem::AnyStar: {
            bool found = false;
            for (int star = kFirstStar; pass && !found && star <= kLastStar; ++star)
                found = fieldContains(record, star, item.value);
            pass = pass && found;
            break;
        }
        default:
            break;
        }
        if (item.levelEnd) {
            if (pass)
                return true;
            pass = true;
        }
    }
    return false;
}

RowClass rowClass(int position)
{
    switch (db::schemaField(position).kind) {
    case db::SchemaKind::WholeNumber:
    case db::SchemaKind::DecimalNumber: return RowClass::Number;
    case db::SchemaKind::Date: return RowClass::Date;
    default: return RowClass::Text;
    }
}

bool isValueListRow(int position)
{
    static constexpr int kLists[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17, 18, 20, 24, 25, 27, 29, 30, 31, 33, 36, 37};
    return std::find(std::begin(kLists), std::end(kLists), position) != std::end(kLists);
}

namespace {

bool isBlankDatePart(const std::string& part)
{
    return part.empty() || part == "/  /" || part == "-  -" || part == ".  .";
}

void eraseFirst(std::string& s, char c)
{
    const size_t at = s.find(c);
    if (at != std::string::npos)
        s.erase(at, 1);
}

struct LevelBuilder {
    std::vector<SearchItem>& items;
    size_t startCount;
    bool tooMany = false;

    bool add(SearchItem item)
    {
        if (items.size() + 1 > static_cast<size_t>(kMaxSearchItems)) {
            tooMany = true;
            return false;
        }
        items.push_back(std::move(item));
        return true;
    }
};

// A number or date part: nullopt when it is not one.
std::optional<double> readPart(const std::string& part, RowClass kind, const db::EditTextFormat& dates)
{
    if (kind == RowClass::Number)
        return db::parseDecimalNumber(part);
    const auto date = db::parseShortDate(part, dates);
    if (!date)
        return std::nullopt;
    return db::dayNumberFromCivil(*date);
}

SearchItem comparison(int position, RowClass kind, int test, double value, const std::string& text)
{
    SearchItem item;
    item.field = position;
    item.test = test;
    if (kind == RowClass::Date) {
        item.isDate = true;
        item.date = value;
        item.value = std::to_string(static_cast<long long>(value));
    } else {
        item.number = value;
        item.value = text.substr(0, kMaxValue);
    }
    return item;
}

} // namespace

SaveResult saveLevel(const CriteriaLevel& rows, std::vector<SearchItem>& items, const db::EditTextFormat& dates)
{
    LevelBuilder level{items, items.size()};
    auto invalid = [&](int position) {
        items.resize(level.startCount);
        return SaveResult{SaveResult::Invalid, position};
    };
    auto tooMany = [&] {
        items.clear();
        return SaveResult{SaveResult::TooMany, 0};
    };
    for (int position = 1; position <= db::kSchemaFieldCount; ++position) {
        const CriteriaRow& row = rows[static_cast<size_t>(position - 1)];
        const RowClass kind = rowClass(position);
        std::string text = trim(row.text);
        if (kind == RowClass::Text) {
            text = db::upperUtf8(db::normalizedUtf8(text));
            if (text.empty())
                continue;
            SearchItem item;
            item.field = position;
            item.value = text.substr(0, db::utf8CharactersLength(text, kMaxValue));
            item.test = position == kKeyWords ? SearchItem::AnyKeyWord
                : (position >= kFirstStar && position <= kLastStar) ? SearchItem::AnyStar
                                                                     : SearchItem::Contains;
            if (item.test == SearchItem::AnyKeyWord) {
                // Words run up to the next single blank; two blanks make an empty word.
                std::string rest = item.value;
                while (true) {
                    const size_t blank = rest.find(' ');
                    item.words.push_back(rest.substr(0, blank));
                    if (blank == std::string::npos)
                        break;
                    rest.erase(0, blank + 1);
                }
            }
            if (!level.add(std::move(item)))
                return tooMany();
            continue;
        }
        if (row.op >= 1 && row.op <= 3) {
            eraseFirst(text, "=><"[row.op - 1]);
            text = trim(text);
            if (kind == RowClass::Date ? isBlankDatePart(text) : text.empty())
                continue;
            const auto value = readPart(text, kind, dates);
            if (!value)
                return invalid(position);
            if (!level.add(comparison(position, kind, row.op, *value, text)))
                return tooMany();
            continue;
        }
        eraseFirst(text, '<');
        eraseFirst(text, '>');
        text = trim(text);
        const size_t andAt = text.find("AND");
        std::string low = trim(text.substr(0, andAt));
        std::string high = andAt == std::string::npos ? std::string() : trim(text.substr(andAt + 3));
        const bool lowEmpty = kind == RowClass::Date ? isBlankDatePart(low) : low.empty();
        const bool highEmpty = kind == RowClass::Date ? isBlankDatePart(high) : high.empty();
        if (lowEmpty && highEmpty)
            continue;
        if (lowEmpty != highEmpty)
            return invalid(position);
        const auto lowValue = readPart(low, kind, dates);
        const auto highValue = readPart(high, kind, dates);
        if (!lowValue || !highValue)
            return invalid(position);
        if (!level.add(comparison(position, kind, SearchItem::Greater, *lowValue, low))
            || !level.add(comparison(position, kind, SearchItem::Less, *highValue, high)))
            return tooMany();
    }
    if (items.size() == level.startCount)
        return {SaveResult::NoCriteria, 0};
    items.back().levelEnd = true;
    return {SaveResult::Saved, 0};
}

} // namespace find
