#pragma once

// The dBASE table file (.DBF) as the engine reads and writes it.
//
//   offset  size  content
//   0       1     version (0x03 dBASE III/IV without memo; others are read)
//   1       3     date of last update: year - 1900, month, day
//   4       4     record count, little-endian
//   8       2     header length (fixed part, descriptors, terminator)
//   10      2     record length (deletion flag byte + every field)
//   12      16    reserved, written as zeros
//   28      1     production index flag (1 while an .MDX with tags belongs to the table)
//   29      1     language driver: 0x03 Windows ANSI (code page 1252) for a new
//                 Windows-1252 table, 0x00 for a UTF-8 one (whose .cpg file says
//                 so); older collections have 0x57

//   30      2     reserved
//   32      32*n  field descriptors: name (11 bytes, NUL padded), type, 4 reserved,
//                 width, decimals, 14 reserved
//   32+32n  1     0x0D terminator (foreign files may carry more header bytes after it)
//   header  ...   records: one flag byte (' ' live, '*' deleted), then the fields
//   end     1     0x1A after the last record
//
// Invariants the engine keeps:
//   1. A record is written before the header count that covers it, so a reader
//      never sees a count that runs past the records on disk.
//   2. Text is in the table's encoding (TextEncoding.h): Windows-1252, or UTF-8
//      in normal form C never cut inside a character; character fields are
//      padded with blanks, numbers right-aligned, dates YYYYMMDD or blanks.

#include "FileIO.h"
#include "TextEncoding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {

enum class FieldKind { Character, Number, Date, Logical, Memo, Other };

struct FieldDef {
    std::string name;   // as stored (up to 10 characters)
    char type = 'C';    // dBASE type letter
    int width = 1;
    int decimals = 0;
    int offset = 0;     // within the record, after the deletion flag byte
    // How the field's text is stored: the table's encoding, not part of the descriptor.
    TextEncoding encoding = TextEncoding::Windows1252;

    FieldKind kind() const
    {
        switch (type) {
        case 'C': return FieldKind::Character;
        case 'N': case 'F': return FieldKind::Number;
        case 'D': return FieldKind::Date;
        case 'L': return FieldKind::Logical;
        case 'M': case 'B': case 'G': return FieldKind::Memo;
        default: return FieldKind::Other;
        }
    }
};

struct DbfHeader {
    uint8_t version = 0x03;
    uint32_t recordCount = 0;
    uint16_t headerLength = 0;
    uint16_t recordLength = 0;
    uint8_t productionIndexFlag = 0;
    uint8_t languageDriver = 0x57;
    std::vector<FieldDef> fields;
    // What the header's count said, when a lenient read took fewer records.
    uint32_t countedRecords = 0;
};

constexpr size_t kHeaderRecordCountOffset = 4;
constexpr size_t kHeaderIndexFlagOffset = 28;

// Reads and checks the header of an open file. Throws DbError with a message
// that says what is wrong (too short, bad version, no terminator, zero-width
// field, record count past the end of the file ...).
// Lenient: a count past the end of the file is taken down to the whole
// records the file holds (countedRecords keeps what the header said), so that
// a table cut short by a crash opens with what it has.
enum class CountCheck { Strict, Lenient };
DbfHeader readDbfHeader(const File& file, CountCheck countCheck = CountCheck::Strict);

// Builds a header for new field definitions (offsets and lengths computed,
// the language byte and the fields' encoding as given); throws DbError for
// names or widths that dBASE cannot hold.
DbfHeader makeDbfHeader(std::vector<FieldDef> fields, TextEncoding encoding = TextEncoding::Windows1252);

// The header bytes: fixed part, descriptors and terminator, dated today.
std::string serializeDbfHeader(const DbfHeader& header);

// Bytes 1..7 (date and record count) for an updated record count.
std::string headerCountBytes(uint32_t recordCount);

// Field value codecs on the raw bytes of one field.
// Blanks and NULs around a stored value are padding: trimRight drops those
// after it, trimBoth those on both sides.
std::string_view trimRight(std::string_view raw);
std::string_view trimBoth(std::string_view raw);

// Number stored in a numeric field; nullopt when blank or not a number.
std::optional<double> storedNumber(std::string_view raw);
// Right-aligned text of a number for a field; nullopt when it does not fit.
std::optional<std::string> numberFieldText(double value, int width, int decimals);
// The same into out[0..width); false (out untouched) when it does not fit.
bool formatFixed(double value, int width, int decimals, char* out);

} // namespace db
