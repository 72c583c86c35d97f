#pragma once

// ASCII delimited text: one line per record, every value in double quotes, a
// comma between values, CR LF after the last. A double quote inside a value
// is written twice. Values are at most 255 characters.

#include "Translatable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

constexpr size_t kMaxValueLength = 255;
constexpr int kMaxImportFields = 50;
constexpr std::string_view kLineEnd = "\r\n";

// ---- writing ----------------------------------------------------------------------

// One value as written: a line break and a tab as one blank and other control
// characters left out (as the reader would read them), quotes doubled, cut to
// 255 characters (a doubled quote only whole, so the closing quote is never
// lost), then blanks (character 32 only) removed from both ends.
std::string delimitedValue(std::string_view text);
// Appends the value, between its quotes, to out.
void appendQuotedValue(std::string& out, std::string_view text);

// A whole line of values, without its line end.
std::string delimitedLine(const std::vector<std::string>& values);
std::string delimitedLine(std::span<const std::string_view> values);

// ---- reading ----------------------------------------------------------------------

// The result of reading a file's first line.
enum FirstLineResult {
    flOk = 0,
    flFieldTooLong = 1, // a field longer than 255 characters
    flUnclosedField = 2, // the line ended inside a quoted field
    flTooManyFields = 3, // more than 50 fields
    flNotText = 4,       // NUL bytes: a binary file, or text in UTF-16
    flNoDelimiter = 5,   // a first line of one value that no quote opened: plain text, not delimited
};

// The message for a first line that is not acceptable ("" for flOk).
std::string firstLineMessage(int result, const db::Speak& speak = {});

// Reads delimited text from a source of bytes, one piece at a time, as
// spreadsheets and Python's csv module read it:
// - a double quote that starts a field opens it (and is not kept); inside,
//   two double quotes are one quote of the value, and a quote followed by a
//   comma or a line end closes the field; other text after a closing quote
//   goes on the value, which reads on unquoted;
// - a quote inside a field that no quote opened is text;
// - a comma ends a field that is not inside quotes; inside quotes it is text;
// - a line ends at CR LF, CR or LF outside quotes; a line break inside quotes
//   belongs to the value and is kept as one blank (counted in lineBreaks(),
//   unless the field lies past the ones read);
// - a tab is one blank, which keeps apart what it parts ("12<TAB>50");
// - other control characters (below 32, the end-of-file mark 26 included)
//   are dropped wherever they are.
class DelimitedReader {
public:
    // Fills up to n bytes and returns how many; 0 at the end. May throw.
    using Source = std::function<size_t(char* into, size_t n)>;

    // utf8: values are UTF-8, so their length counts characters, not bytes.
    // bufferSize: the most taken from the source at a time.
    explicit DelimitedReader(Source source, bool utf8 = false, size_t bufferSize = size_t{1} << 20);
    // A reader over text held in memory (tests, fuzzing).
    static DelimitedReader ofText(std::string_view text, bool utf8 = false);

    // The first line: its field names (an empty one as "<BLANK FIELD>", each
    // cut to 20 characters) and a FirstLineResult. One empty line before it is
    // skipped. Reading stops where the result is decided.
    int readFirstLine(std::vector<std::string>& names);

    enum class Line { Record, Blank, End };
    // One line into values (resized to fieldCount; fields the line lacks are
    // left empty and counted in present). A line longer than fieldCount fields
    // is read to its end and the rest skipped; a value longer than 255
    // characters is cut and counted in cutValues(). End: nothing was left.
    Line readRecord(int fieldCount, std::vector<std::string>& values, int& present);

    uint64_t cutValues() const { return m_cutValues; }
    // Line breaks read inside quoted values, each kept as a blank.
    uint64_t lineBreaks() const { return m_lineBreaks; }
    // Bytes taken from the source so far (for progress).
    uint64_t bytesRead() const { return m_consumed + m_at; }

private:
    struct Field {
        bool opened = false;    // a quote opened it
        bool unclosed = false;  // its quotes were still open where it ended
        bool tooLong = false;   // it grew past 255 characters
        bool separated = false; // a comma ended it
    };
    // Reads one field into value. stopWhenTooLong: stop at once when it grows
    // past 255. breaksEndField: a line break inside quotes ends the field as unclosed.
    Field readField(std::string& value, bool stopWhenTooLong, bool breaksEndField);
    bool atLineEnd();
    bool atEnd();
    bool skipLineEnd();
    void skipRestOfLine();
    bool fill();
    int peek()
    {
        if (m_at == m_size && !fill())
            return -1;
        return static_cast<unsigned char>(m_buffer[m_at]);
    }
    char take() { return m_buffer[m_at++]; }

    Source m_source;
    bool m_utf8;
    std::vector<char> m_buffer;
    size_t m_at = 0;
    size_t m_size = 0;
    uint64_t m_consumed = 0;
    bool m_sourceEnded = false;
    bool m_started = false;
    uint64_t m_cutValues = 0;
    uint64_t m_lineBreaks = 0;
};

} // namespace exchange
