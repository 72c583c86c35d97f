#include "DelimitedText.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace exchange {

namespace {

constexpr size_t kNameLength = 20;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first n characters of a text (UTF-8 characters when utf8).
std::string firstCharacters(const std::string& text, size_t n, bool utf8)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (utf8 && isContinuationByte(text[i]))
            continue;
        if (count++ == n)
            return text.substr(0, i);
    }
    return text;
}

std::string_view trimBlanks(std::string_view value)
{
    const size_t first = value.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

} // namespace

// ---- writing ----------------------------------------------------------------------

std::string delimitedValue(std::string_view text)
{
    // The value keeps at most 255 characters; a doubled quote is cut only whole.
    // Control characters are written as the reader reads them back: a line
    // break (CR LF, CR or LF) and a tab as one blank, the others not at all. So every
    // record is one line, and an exported file reads back to what was written.
    std::string value;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (static_cast<unsigned char>(c) < 32) {
            if (c != '\r' && c != '\n' && c != '\t')
                continue;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            c = ' ';
        }
        const size_t need = c == '"' ? 2 : 1;
        if (value.size() + need > kMaxValueLength)
            break;
        value.append(need, c);
    }
    return std::string(trimBlanks(value));
}

namespace {
bool needsNoChange(std::string_view text)
{
    if (text.size() > kMaxValueLength)
        return false;
    for (const char c : text)
        if (c == '"' || static_cast<unsigned char>(c) < 32)
            return false;
    return true;
}
} // namespace

void appendQuotedValue(std::string& out, std::string_view text)
{
    out += '"';
    // Without quotes and control characters, doubling changes nothing: trim and copy in one piece.
    if (needsNoChange(text))
        out += trimBlanks(text);
    else
        out += delimitedValue(text);
    out += '"';
}

namespace {
template <class Values>
std::string lineOf(const Values& values)
{
    std::string line;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += ',';
        appendQuotedValue(line, values[i]);
    }
    return line;
}
} // namespace

std::string delimitedLine(const std::vector<std::string>& values) { return lineOf(values); }

std::string delimitedLine(std::span<const std::string_view> values) { return lineOf(values); }

// ---- reading ----------------------------------------------------------------------

std::string firstLineMessage(int result, const db::Speak& speak)
{
    const char* reason = nullptr;
    switch (result) {
    case flFieldTooLong:
        reason = TRANSLATABLE("exchange", "The selected file has a field that is greater than 255 characters.");
        break;
    case flUnclosedField:
        reason = TRANSLATABLE("exchange",
                              "The selected file had an unexpected end of a line most likely due to an unmatched quote.");
        break;
    case flTooManyFields:
        reason = TRANSLATABLE("exchange", "The selected file has too many fields.  There are at least 10 more fields "
                                          "than are required by Reelkeeper.");
        break;
    case flNotText: reason = TRANSLATABLE("exchange", "The selected file holds binary data (NUL characters), not text."); break;
    case flNoDelimiter:
        reason = TRANSLATABLE("exchange", "The first line of the selected file holds neither a comma nor a double quote.");
        break;
    default: return {};
    }
    return db::spoken(speak, TRANSLATABLE("exchange", "The file selected does not appear to be an ASCII delimited text "
                                                      "file.  An ASCII delimited file requires a unique format of each "
                                                      "field being surrounded by double quotes and separated by a "
                                                      "comma.  "))
        + db::spoken(speak, reason);
}

DelimitedReader::DelimitedReader(Source source, bool utf8, size_t bufferSize)
    : m_source(std::move(source))
    , m_utf8(utf8)
    , m_buffer(std::max<size_t>(bufferSize, 4))
{
}

DelimitedReader DelimitedReader::ofText(std::string_view text, bool utf8)
{
    auto rest = std::make_shared<std::string>(text);
    auto at = std::make_shared<size_t>(0);
    return DelimitedReader(
        [rest, at](char* into, size_t n) {
            const size_t count = std::min(n, rest->size() - *at);
            std::memcpy(into, rest->data() + *at, count);
            *at += count;
            return count;
        },
        utf8, std::max<size_t>(text.size(), 4));
}

bool DelimitedReader::fill()
{
    if (!m_started) {
        m_started = true;
        const bool filled = fill();
        // A byte-order mark is no part of the text.
        if (m_utf8 && m_size >= 3 && std::memcmp(m_buffer.data(), "\xEF\xBB\xBF", 3) == 0)
            m_at = 3;
        return filled && m_at < m_size;
    }
    if (m_sourceEnded)
        return false;
    m_consumed += m_size;
    m_at = 0;
    m_size = m_source(m_buffer.data(), m_buffer.size());
    if (m_size == 0)
        m_sourceEnded = true;
    return m_size > 0;
}

bool DelimitedReader::atEnd() { return peek() < 0; }

bool DelimitedReader::atLineEnd()
{
    const int c = peek();
    return c < 0 || c == '\r' || c == '\n';
}

bool DelimitedReader::skipLineEnd()
{
    const int c = peek();
    if (c == '\r') {
        take();
        if (peek() == '\n')
            take();
        return true;
    }
    if (c == '\n') {
        take();
        return true;
    }
    return false;
}

void DelimitedReader::skipRestOfLine()
{
    // The fields past the first line's count are read and dropped: a quoted one may hold a line break.
    // Their line breaks are not the import's: nothing of them is stored.
    const uint64_t breaks = m_lineBreaks;
    std::string ignored;
    while (readField(ignored, false, false).separated) {
    }
    m_lineBreaks = breaks;
}

DelimitedReader::Field DelimitedReader::readField(std::string& value, bool stopWhenTooLong, bool breaksEndField)
{
    value.clear();
    Field field;
    size_t length = 0; // in characters
    // Appends a run of characters, counting characters rather than bytes in
    // UTF-8; what does not fit in 255 characters is dropped and marks the field.
    auto append = [&](const char* run, size_t n) {
        if (field.tooLong)
            return;
        size_t fits = n;
        if (!m_utf8) {
            fits = std::min(n, kMaxValueLength - length);
            length += fits;
        } else {
            for (size_t i = 0; i < n; ++i) {
                if (isContinuationByte(run[i]))
                    continue;
                if (length == kMaxValueLength) {
                    fits = i;
                    break;
                }
                ++length;
            }
        }
        value.append(run, fits);
        if (fits < n)
            field.tooLong = true;
    };
    // Copies the characters from here that need no decision, straight from the buffer.
    auto copyRun = [&](bool quoted) {
        const char* const from = m_buffer.data() + m_at;
        const char* const end = m_buffer.data() + m_size;
        const char* to = from;
        if (quoted)
            while (to < end && *to != '"' && static_cast<unsigned char>(*to) >= 32)
                ++to;
        else
            while (to < end && *to != ',' && static_cast<unsigned char>(*to) >= 32)
                ++to;
        append(from, static_cast<size_t>(to - from));
        m_at += static_cast<size_t>(to - from);
        return to > from;
    };
    enum class State { Start, Unquoted, Quoted, QuoteInQuoted };
    State state = State::Start;
    for (int c = peek(); c >= 0; c = peek()) {
        if (field.tooLong && stopWhenTooLong)
            return field;
        switch (state) {
        case State::Start:
            if (c == '\r' || c == '\n')
                return field;
            if (c == '"') {
                take();
                field.opened = true;
                state = State::Quoted;
            } else {
                state = State::Unquoted; // the character is the value's first
            }
            continue;
        case State::Unquoted:
            // A quote here is text: only a quote that starts a field opens it.
            if (copyRun(false))
                continue;
            if (c == '\r' || c == '\n')
                return field;
            take();
            if (c == ',') {
                field.separated = true;
                return field;
            }
            if (c == '\t')
                append(" ", 1); // a tab parts words ("12<TAB>50" is no 1250)
            continue; // another control character, dropped
        case State::Quoted:
            if (copyRun(true))
                continue;
            if (c == '"') {
                take();
                state = State::QuoteInQuoted;
            } else if (c == '\r' || c == '\n') {
                if (breaksEndField) {
                    field.unclosed = true;
                    return field;
                }
                skipLineEnd();
                append(" ", 1); // a line break inside quotes is part of the value, stored as a blank
                ++m_lineBreaks;
            } else if (take() == '\t') {
                append(" ", 1); // a tab parts words
            } // another control character, dropped
            continue;
        case State::QuoteInQuoted:
            if (c == '\r' || c == '\n')
                return field;
            take();
            if (c == '"') {
                append("\"", 1); // a doubled quote is one quote of the value
                state = State::Quoted;
            } else if (c == ',') {
                field.separated = true;
                return field;
            } else {
                // Text after the closing quote goes on the value, which reads on as unquoted text.
                if (static_cast<unsigned char>(c) >= 32 || c == '\t') {
                    const char kept = c == '\t' ? ' ' : static_cast<char>(c);
                    append(&kept, 1);
                }
                state = State::Unquoted;
            }
            continue;
        }
    }
    field.unclosed = state == State::Quoted;
    return field;
}

int DelimitedReader::readFirstLine(std::vector<std::string>& names)
{
    names.clear();
    if (!atEnd() && atLineEnd())
        skipLineEnd(); // one empty line at the start
    std::string value;
    for (int count = 1;; ++count) {
        if (count > kMaxImportFields)
            return flTooManyFields;
        const Field field = readField(value, true, true);
        if (field.tooLong)
            return flFieldTooLong;
        names.push_back(value.empty() ? "<BLANK FIELD>" : firstCharacters(value, kNameLength, m_utf8));
        if (field.separated)
            continue;
        if (field.unclosed)
            return flUnclosedField;
        if (count == 1 && value.empty() && !field.opened)
            return flUnclosedField; // an empty line where the names should be
        if (count == 1 && !field.opened)
            return flNoDelimiter; // one plain value: a line of text (a README), not a line of fields
        return flOk;
    }
}

DelimitedReader::Line DelimitedReader::readRecord(int fieldCount, std::vector<std::string>& values, int& present)
{
    skipLineEnd(); // the end of the line before
    present = 0;
    if (atEnd())
        return Line::End;
    if (atLineEnd())
        return Line::Blank; // its line end is the next call's
    values.resize(static_cast<size_t>(std::max(fieldCount, 1)));
    for (std::string& value : values)
        value.clear();
    bool more = true;
    while (present < fieldCount && more) {
        const Field field = readField(values[static_cast<size_t>(present)], false, false);
        ++present;
        if (field.tooLong)
            ++m_cutValues;
        more = field.separated;
        if (present == 1 && !more && values[0].empty())
            return Line::Blank; // nothing but quotes or control characters
    }
    if (more)
        skipRestOfLine(); // fields past the first line's count
    return Line::Record;
}

} // namespace exchange
