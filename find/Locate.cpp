#include "Locate.h"

#include "Ascii.h"
#include "TextEncoding.h"

#include <charconv>
#include <optional>

namespace find {

namespace {
bool sameChar(char a, char b, bool caseSensitive)
{
    return caseSensitive ? a == b : db::upperAscii(a) == db::upperAscii(b);
}

// The value as a number: digits with at most one "." and an optional
// leading "-", at least one digit ("." alone and "12.0.5" are not numbers).
std::optional<double> plainNumber(const std::string& value)
{
    size_t i = !value.empty() && value[0] == '-' ? 1 : 0;
    int digits = 0, points = 0;
    for (size_t k = i; k < value.size(); ++k) {
        if (value[k] >= '0' && value[k] <= '9')
            ++digits;
        else if (value[k] == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    double number = 0;
    const auto [end, error] = std::from_chars(value.data() + i, value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size())
        return std::nullopt;
    return i ? -number : number;
}
} // namespace

bool textMatches(std::string_view text, std::string_view value, TMyLocateMatchType type, bool caseSensitive)
{
    // Letters beyond ASCII are compared in capitals a character at a time.
    if (!caseSensitive && !(db::isAscii(text) && db::isAscii(value)))
        return textMatches(db::upperUtf8(text), db::upperUtf8(value), type, true);
    auto equalAt = [&](size_t at) {
        for (size_t i = 0; i < value.size(); ++i)
            if (!sameChar(text[at + i], value[i], caseSensitive))
                return false;
        return true;
    };
    switch (type) {
    case mtExactMatch: return text.size() == value.size() && equalAt(0);
    case mtPartialMatchStart: return !value.empty() && text.size() >= value.size() && equalAt(0);
    case mtPartialMatchAny:
        if (value.empty() || value.size() > text.size())
            return false;
        for (size_t at = 0; at + value.size() <= text.size(); ++at)
            if (equalAt(at))
                return true;
        return false;
    }
    return false;
}

bool LocateValue(bool fromBeginning, db::Table& table, int field, bool caseSensitive, TMyLocateMatchType type,
                 const std::string& value)
{
    const db::FieldDef& f = table.field(field);
    db::Table::Filter match;
    if (f.kind() == db::FieldKind::Number && type == mtExactMatch) {
        const std::optional<double> number = plainNumber(value);
        if (!number)
            return false; // nothing to find, and no error
        match = [field, number = *number](const db::Record& r) { return r.number(field) == number; };
    } else {
        // Stored text is composed (normal form C); so is the value, which may come decomposed from a paste.
        match = [field, caseSensitive, type, value = db::normalizedUtf8(value)](const db::Record& r) {
            std::string scratch;
            return textMatches(r.textView(field, scratch), value, type, caseSensitive);
        };
    }
    return table.findNext(match, fromBeginning);
}

} // namespace find
