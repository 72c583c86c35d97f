#pragma once

// User report definitions and their file, REELKP.URP: a plain sequence of
// 20,622-byte records without a header, record n at byte 20,622 * n.
// Integers are little-endian, reals 8-byte IEEE doubles, strings a length
// byte and the characters (Windows-1252) in a field of capacity + 1 bytes.
//
//   0 name string[30]          31 width int16 (90, 120, 150)
//  33 five font blocks of 61: title, column header, body, spare, footnote
// 338 column headers, page numbers, landscape, date on pages, use totals (bytes)
// 343 number of lines int16 (0..12)   345 totals line: 20 items of 75
// 1845 top, bottom, left, right margins (doubles, inches)
// 1877 vertical lines, horizontal lines (bytes)   1879 three titles string[80]
// 2122 twelve body lines of 20 items   20122 group by level 1, level 2 (bytes)
// 20124 498 reserved bytes
//
// Font block: face string[50], size int16, bold, italic, underline,
// strike-out (bytes), color int32. Item: kind string[30] ("<FILLER>",
// "<LABEL>", a field name, or a total's name), field number or total kind
// (byte), width int16 (0 ends the line), label text string[40].

#include "DbError.h"
#include "Translatable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace report {

constexpr size_t kDefinitionSize = 20622;
constexpr size_t kOlderDefinitionSize = 19831; // VIDEO2.CFR
constexpr int kItemsPerLine = 20;
constexpr int kMaxBodyLines = 12;

extern const char* const kFiller; // "<FILLER>"
extern const char* const kLabel;  // "<LABEL>"
// A film's cover: its item's number byte holds how many body lines tall it is
// (1..12), counted from its own line. A definition without one reads and
// writes as before; a reader that knows no covers sees an unknown field.
extern const char* const kCover; // "<COVER>"

struct FontBlock {
    std::string face;
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int32_t color = 0;
};

struct ReportItem {
    std::string kind = "<FILLER>";
    uint8_t number = 0; // field number 1..40, or total kind 1..3 on the totals line
    int width = 0;
    std::string label;
    bool isFiller() const { return kind == kFiller; }
    bool isLabel() const { return kind == kLabel; }
    bool isCover() const { return kind == kCover; }
};

using ReportLine = std::array<ReportItem, kItemsPerLine>;

// The items of a line that print: from the first up to the first of width 0 or less.
std::vector<ReportItem> lineItems(const ReportLine& line);

enum FontRole { TitleFont, ColumnHeaderFont, BodyFont, SpareFont, FootnoteFont, FontCount };

struct ReportDefinition {
    std::string name;
    int width = 90;
    std::array<FontBlock, FontCount> fonts;
    bool columnHeaders = false;
    bool pageNumbers = false;
    bool landscape = false;
    bool dateOnPages = false;
    bool useTotals = false;
    int numberOfLines = 0;
    ReportLine totals;
    double topMargin = 0.5;
    double bottomMargin = 0.5;
    double leftMargin = 0.5;
    double rightMargin = 0.5;
    bool verticalLines = false;
    bool horizontalLines = false;
    std::array<std::string, 3> titles;
    std::array<ReportLine, kMaxBodyLines> lines;
    bool groupByLevel1 = false;
    bool groupByLevel2 = false;
    // The record as it was read: bytes after the strings and the reserved
    // bytes are written back as found.
    std::string stored;
};

// A definitions file (or one record of it) that cannot be read: the message
// names the file and the record, and a window speaks it in the user's language.
struct DefinitionsError : db::DbError {
    using db::DbError::DbError;
    explicit DefinitionsError(const db::DbError& failure)
        : db::DbError(failure)
    {
    }
};

// The record bytes of a definition (over its stored bytes when it has them).
std::string encodeDefinition(const ReportDefinition& definition);
// Reads and checks one record; a record that does not read as a definition
// (a length past its field, a width that is not 90, 120 or 150, a number of
// lines outside 0..12, a body line wider than the widest report) is a DefinitionsError.
ReportDefinition decodeDefinition(std::string_view bytes, const std::string& file, int record);

// What the report window's New Report starts from, and the six definitions
// written when the program starts without a definitions file, with their
// names and labels in the language the speaker gives (English without one).
ReportDefinition newDefinition();
std::vector<ReportDefinition> defaultDefinitions(const db::Speak& speak = {});
// One record of the older definitions file converted to today's layout.
ReportDefinition convertOlderDefinition(std::string_view bytes);

// REELKP.URP. Whole-file changes (append, delete, create) are written to a
// temporary file and renamed into place; writing one record in place
// writes that record only.
class DefinitionsFile {
public:
    explicit DefinitionsFile(std::string path);
    const std::string& path() const { return m_path; }
    bool exists() const;

    struct Listing {
        std::vector<std::string> names;         // of the whole records that read, in order
        std::optional<DefinitionsError> damage; // the first record that does not, or a partial record at the end
        std::string problem() const { return damage ? damage->what() : std::string(); }
    };
    Listing list() const;
    int count() const; // whole records
    ReportDefinition read(int record) const;
    void write(int record, const ReportDefinition& definition);
    int append(const ReportDefinition& definition); // the new record's number
    void remove(int record);
    void create(const std::vector<ReportDefinition>& definitions);

private:
    std::string wholeFile() const;
    void replaceWith(const std::string& bytes);
    std::string m_path;
};

// The start-up step: writes the six defaults when the file is missing, then
// merges VIDEO2.CFR of the same folder (except the records named as the
// defaults of that version) and deletes it, also when a read fails part way.
// Returns how many older definitions were merged.
int prepareDefinitionsFile(const std::string& programFolder, const db::Speak& speak = {});

} // namespace report
