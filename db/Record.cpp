#include "Record.h"

#include "EditText.h"
#include "Padding.h"

#include <cmath>
#include <cstdio>

namespace db {

std::string_view Record::raw(int field) const
{
    const FieldDef& f = (*m_fields)[static_cast<size_t>(field)];
    return {m_bytes + f.offset, static_cast<size_t>(f.width)};
}

std::string Record::text(int field) const
{
    std::string out;
    text(field, out);
    return out;
}

namespace {

// A whole number stored as blanks, an optional minus and digits without
// leading zeros is its own edit text; anything else takes the slow path.
bool plainInteger(std::string_view digits)
{
    size_t i = digits.size() > 1 && digits[0] == '-' ? 1 : 0;
    if (i == digits.size() || (digits[i] == '0' && digits.size() > i + 1))
        return false;
    for (; i < digits.size(); ++i)
        if (digits[i] < '0' || digits[i] > '9')
            return false;
    return true;
}

// A fixed-point number written with at most 15 significant digits reads in
// general format as itself without trailing zeros ("1234.5000" is "1234.5").
bool plainDecimal(std::string_view text, std::string& out)
{
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    if (i >= text.size() || text[i] < '0' || text[i] > '9' || (text[i] == '0' && i + 1 < text.size() && text[i + 1] != '.'))
        return false;
    int significant = 0;
    bool seenPoint = false, leading = true;
    for (size_t k = i; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '.') {
            if (seenPoint)
                return false;
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (c != '0')
                leading = false;
            if (!leading)
                ++significant;
        } else {
            return false;
        }
    }
    if (significant > 15)
        return false;
    if (seenPoint) {
        while (text.back() == '0')
            text.remove_suffix(1);
        if (text.back() == '.')
            text.remove_suffix(1);
    }
    if (text == "-0")
        text = "0";
    out.assign(text);
    const char sep = editTextFormat().decimalSeparator;
    if (sep != '.') {
        const size_t point = out.find('.');
        if (point != std::string::npos)
            out[point] = sep;
    }
    return true;
}

} // namespace

std::string_view Record::otherTextView(const FieldDef& f, int field, std::string& scratch) const
{
    const char* p = m_bytes + f.offset;
    if (f.type == 'N' && f.decimals == 0) {
        // A plain whole number is its own edit text: no copy.
        const std::string_view trimmed = trimBoth({p, static_cast<size_t>(f.width)});
        if (trimmed.empty() || (trimmed.size() <= 15 && plainInteger(trimmed)))
            return trimmed;
    }
    text(field, scratch);
    return scratch;
}

void Record::text(int field, std::string& out) const
{
    const FieldDef& f = (*m_fields)[static_cast<size_t>(field)];
    const char* p = m_bytes + f.offset;
    const std::string_view r(p, static_cast<size_t>(f.width));
    switch (f.kind()) {
    case FieldKind::Character:
        out.assign(p, paddedLength(p, r.size()));
        return;
    case FieldKind::Number: {
        const std::string_view trimmed = trimBoth(r);
        if (trimmed.empty()) {
            out.clear();
            return;
        }
        if (f.decimals == 0 && f.type == 'N' && trimmed.size() <= 15 && plainInteger(trimmed)) {
            out.assign(trimmed);
            return;
        }
        if (plainDecimal(trimmed, out))
            return;
        const auto v = storedNumber(r);
        if (!v) {
            out.clear();
        } else if (f.decimals == 0 && f.type == 'N' && std::fabs(*v) < 1e15) {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.0f", *v);
            out = buffer;
        } else {
            out = formatGeneralNumber(*v);
        }
        return;
    }
    case FieldKind::Date: {
        const auto d = parseStoredDate(r.substr(0, 8));
        if (d)
            formatShortDate(*d, editTextFormat(), out);
        else
            out.clear();
        return;
    }
    case FieldKind::Logical: {
        const char c = r.empty() ? ' ' : r[0];
        out = (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? "True"
            : (c == 'F' || c == 'f' || c == 'N' || c == 'n') ? "False"
                                                             : "";
        return;
    }
    default:
        out.assign(p, paddedLength(p, r.size()));
        return;
    }
}

double Record::number(int field) const
{
    const FieldDef& f = (*m_fields)[static_cast<size_t>(field)];
    const std::string_view r(m_bytes + f.offset, static_cast<size_t>(f.width));
    switch (f.kind()) {
    case FieldKind::Date: return date(field);
    case FieldKind::Logical: {
        const char c = r.empty() ? ' ' : r[0];
        return (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? 1.0 : 0.0;
    }
    default: return storedNumber(r).value_or(0.0);
    }
}

double Record::date(int field) const
{
    const FieldDef& f = (*m_fields)[static_cast<size_t>(field)];
    if (f.kind() != FieldKind::Date)
        return 0.0;
    const auto d = parseStoredDate(raw(field).substr(0, 8));
    return d ? dayNumberFromCivil(*d) : 0.0;
}

bool Record::isEmpty(int field) const
{
    const FieldDef& f = (*m_fields)[static_cast<size_t>(field)];
    switch (f.kind()) {
    case FieldKind::Number: return !storedNumber(raw(field)).has_value();
    case FieldKind::Date: return !parseStoredDate(raw(field).substr(0, 8)).has_value();
    default: return trimRight(raw(field)).empty();
    }
}

} // namespace db
