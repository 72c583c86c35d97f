#include "Record.h"

#include "EditText.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The end of a blank-padded text (some writers pad with NULs instead).
// Fields end in runs of padding of any length, so the search avoids branches
// that depend on the data: a field of up to 64 bytes is looked at in one go,
// as a mask of its bytes that are not padding, built from 16-byte loads that
// stay inside the record.
#ifdef __SSE2__
inline __attribute__((always_inline)) uint64_t notPadding16(const char* p)
{
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i padding = _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(chunk, _mm_setzero_si128()));
    return ~static_cast<uint64_t>(_mm_movemask_epi8(padding)) & 0xFFFFu;
}

// Bit i set when byte i of p[0..n) is not padding; 16 <= n <= 64.
inline __attribute__((always_inline)) uint64_t notPadding(const char* p, size_t n)
{
    uint64_t mask = notPadding16(p) | (notPadding16(p + n - 16) << (n - 16));
    if (n > 32)
        mask |= notPadding16(p + 16) << 16;
    if (n > 48)
        mask |= notPadding16(p + 32) << 32;
    return mask;
}

// One past the highest set bit; 0 for none.
inline __attribute__((always_inline)) size_t bitLength(uint64_t mask)
{
    return static_cast<size_t>(64 - __builtin_clzll(mask | 1)) - (mask == 0);
}
#endif

size_t paddedLengthBytewise(const char* p, size_t n)
{
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\0'))
        --n;
    return n;
}

// before and after: how many bytes of the record lie before p and after p + n.
inline __attribute__((always_inline)) size_t paddedLength(const char* p, size_t n, size_t before = 0, size_t after = 0)
{
#ifdef __SSE2__
    if (n >= 16) {
        for (; n > 64; n -= 64) {
            const uint64_t mask = notPadding(p + n - 64, 64);
            if (mask != 0)
                return n - 64 + bitLength(mask);
        }
        if (n >= 16)
            return bitLength(notPadding(p, n));
        return bitLength(notPadding16(p) & ((uint64_t{1} << n) - 1)); // the field's first 16 bytes
    }
    if (n > 0 && after + n >= 16)
        return bitLength(notPadding16(p) & ((uint64_t{1} << n) - 1));
    if (n > 0 && before + n >= 16)
        return bitLength(notPadding16(p + n - 16) >> (16 - n));
#endif
    return paddedLengthBytewise(p, n);
}

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

std::string_view Record::textView(int field, std::string& scratch) const
{
    const FieldDef& f = (*m_fields)[static_cast<size_t>(field)];
    const char* p = m_bytes + f.offset;
    if (f.type == 'C') {
        const FieldDef& last = m_fields->back();
        const auto end = static_cast<size_t>(last.offset + last.width);
        const auto before = static_cast<size_t>(f.offset);
        const auto width = static_cast<size_t>(f.width);
        return {p, paddedLength(p, width, before, end - before - width)};
    }
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
