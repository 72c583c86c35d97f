#pragma once

// A second reader of delimited text, written from the state machine of
// Python's csv module (default dialect, strict off) and kept apart from the
// program's reader: the fuzz target checks that both read the same records,
// after the import's rules (see mapped()). The csv oracle test checks the
// program's reader against Python itself.

#include <string>
#include <vector>

namespace csvref {

using Row = std::vector<std::string>;

// Every row of the text, as csv.reader(io.StringIO(text, newline="")) gives
// them; the text holds no NUL (the module refuses such lines).
inline std::vector<Row> readRows(const std::string& text)
{
    enum State { StartRecord, StartField, InField, InQuoted, QuoteInQuoted, EatCrnl };
    std::vector<Row> rows;
    Row fields;
    std::string field;
    State state = StartRecord;
    auto save = [&] {
        fields.push_back(field);
        field.clear();
    };
    auto add = [&](char c) { field += c; };
    constexpr int kEol = -1;
    // One character, or kEol at the end of each physical line.
    auto process = [&](int c) {
        const bool lineBreak = c == '\n' || c == '\r';
        switch (state) {
        case StartRecord:
            if (c == kEol)
                return;
            if (lineBreak) {
                state = EatCrnl;
                return;
            }
            state = StartField;
            [[fallthrough]];
        case StartField:
            if (lineBreak || c == kEol) {
                save();
                state = c == kEol ? StartRecord : EatCrnl;
            } else if (c == '"') {
                state = InQuoted;
            } else if (c == ',') {
                save();
            } else {
                add(static_cast<char>(c));
                state = InField;
            }
            return;
        case InField:
            if (lineBreak || c == kEol) {
                save();
                state = c == kEol ? StartRecord : EatCrnl;
            } else if (c == ',') {
                save();
                state = StartField;
            } else {
                add(static_cast<char>(c));
            }
            return;
        case InQuoted:
            if (c == kEol)
                return;
            if (c == '"')
                state = QuoteInQuoted;
            else
                add(static_cast<char>(c));
            return;
        case QuoteInQuoted:
            if (c == '"') {
                add('"');
                state = InQuoted;
            } else if (c == ',') {
                save();
                state = StartField;
            } else if (lineBreak || c == kEol) {
                save();
                state = c == kEol ? StartRecord : EatCrnl;
            } else {
                add(static_cast<char>(c));
                state = InField;
            }
            return;
        case EatCrnl:
            if (c == kEol)
                state = StartRecord;
            return; // another character here is an error in the module; not met with whole lines
        }
    };
    // Physical lines end at CR LF, CR or LF (universal newlines, kept in the line).
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        if (end < text.size())
            end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        for (size_t i = at; i < end; ++i)
            process(static_cast<unsigned char>(text[i]));
        process(kEol);
        at = end;
        if (state == StartRecord) {
            rows.push_back(fields);
            fields.clear();
        }
    }
    // Only a quoted field can still be open at the end: the module keeps it.
    if (state == InQuoted) {
        save();
        rows.push_back(fields);
    }
    return rows;
}

// A value as the import keeps it: a line break (CR LF, CR or LF) one blank,
// other control characters dropped.
inline std::string mapped(const std::string& value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
            out += ' ';
        } else if (static_cast<unsigned char>(c) >= 32) {
            out += c;
        }
    }
    return out;
}

} // namespace csvref
