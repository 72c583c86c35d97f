#include "Record.h"

#include "EditText.h"
#include "NumberText.h"
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
        out.clear();
        appendFieldTextAsUtf8(out, std::string_view(p, paddedLength(p, r.size())), f.encoding);
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
        out.clear();
        appendFieldTextAsUtf8(out, std::string_view(p, paddedLength(p, r.size())), f.encoding);
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
