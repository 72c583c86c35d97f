#include "Locate.h"

#include "Ascii.h"

#include <charconv>

namespace find {

namespace {
bool sameChar(char a, char b, bool caseSensitive)
{
    return caseSensitive ? a == b : db::upperAscii(a) == db::upperAscii(b);
}

bool isPlainNumber(const std::string& value)
{
    if (value.empty())
        return false;
    size_t i = value[0] == '-' ? 1 : 0;
    if (i == value.size())
        return false;
    for (; i < value.size(); ++i)
        if (!(value[i] >= '0' && value[i] <= '9') && value[i] != '.')
            return false;
    return true;
}
} // namespace

bool textMatches(std::string_view text, std::string_view value, TMyLocateMatchType type, bool caseSensitive)
{
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
        if (value.size() > text.size())
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
        if (!isPlainNumber(value))
            return false; // nothing to find, and no error
        double number = 0;
        std::from_chars(value.data(), value.data() + value.size(), number);
        match = [field, number](const db::Record& r) { return r.number(field) == number; };
    } else {
        match = [field, caseSensitive, type, value](const db::Record& r) {
            std::string scratch;
            return textMatches(r.textView(field, scratch), value, type, caseSensitive);
        };
    }
    return table.findNext(match, fromBeginning);
}

} // namespace find
