#pragma once

#include "DbfFormat.h"
#include "Padding.h"

#include <string>
#include <string_view>
#include <vector>

namespace db {

// A read-only view of one record's bytes with the field conversions of the
// engine. Field text is the field's edit text, in UTF-8 whatever the table's
// encoding: character fields without their trailing blanks, whole numbers as
// digits, decimal numbers in general format, dates in the current short date
// format, empty fields as "". raw() is the stored bytes as they are.
//
// Stored values that cannot be read (letters in a numeric field, a date such as
// 20231341) read as empty: text "", number 0, date 0.
class Record {
public:
    Record() = default;
    Record(const std::vector<FieldDef>* fields, const char* bytes)
        : m_fields(fields)
        , m_bytes(bytes)
    {
    }

    bool valid() const { return m_bytes != nullptr; }
    bool deleted() const { return m_bytes[0] == '*'; }
    const char* bytes() const { return m_bytes; }

    std::string_view raw(int field) const;
    std::string text(int field) const;
    void text(int field, std::string& out) const;
    // The same text without copying where it can: character fields are seen
    // in place, other kinds are written to scratch.
    std::string_view textView(int field, std::string& scratch) const
    {
        // Character fields, most of any record, are seen in place without a call.
        const FieldDef& f = (*m_fields)[static_cast<size_t>(field)];
        if (f.type != 'C')
            return otherTextView(f, field, scratch);
        const FieldDef& last = m_fields->back();
        const auto before = static_cast<size_t>(f.offset);
        const auto width = static_cast<size_t>(f.width);
        const auto after = static_cast<size_t>(last.offset + last.width) - before - width;
        const std::string_view stored{m_bytes + before, paddedLength(m_bytes + before, width, before, after)};
        if (f.encoding == TextEncoding::Utf8 || isAscii(stored))
            return stored;
        scratch.clear();
        appendFieldTextAsUtf8(scratch, stored, f.encoding);
        return scratch;
    }
    // The field's definition (its kind, width and encoding).
    const FieldDef& field(int field) const { return (*m_fields)[static_cast<size_t>(field)]; }
    double number(int field) const;
    double date(int field) const;
    bool isEmpty(int field) const;

private:
    std::string_view otherTextView(const FieldDef& f, int field, std::string& scratch) const;

    const std::vector<FieldDef>* m_fields = nullptr;
    const char* m_bytes = nullptr;
};

} // namespace db
