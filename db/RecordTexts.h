#pragma once

#include "DbfFormat.h"
#include "EditText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace db {

// Every field's edit text of one record at a time, for passes that read whole
// records (dumps, exports, full scans). The table's layout is worked out once:
// character fields are measured from one mask of the record's padding bytes,
// plain numbers are seen in place and dates are written from a compiled
// pattern. The texts are those Record::text gives (UTF-8), in the edit text
// format in force when the reader was made.
class RecordTexts {
public:
    // Which vector instructions measure the fields: the best this processor
    // has, or the baseline every x86-64 processor has (for comparisons).
    enum class Instructions { Best, Baseline };

    // In which encoding character fields come out: UTF-8, as every text of
    // the program, or as stored (for writing a file in the table's own encoding).
    enum class Text { Utf8, Stored };

    explicit RecordTexts(const std::vector<FieldDef>& fields, Instructions instructions = Instructions::Best,
                         Text text = Text::Utf8);

    // The texts of a record's bytes (deletion flag and fields), one per
    // field in order; valid until the next read.
    const std::vector<std::string_view>& read(const char* bytes)
    {
        (this->*m_reader)(bytes);
        return m_texts;
    }

private:
    // A field and where its bits lie in the padding mask. Fields of at most
    // 57 bytes come out of one unaligned 8-byte read of the mask.
    struct Place {
        uint32_t field;
        uint32_t offset;
        uint32_t width;
        uint32_t maskByte; // offset / 8
        uint32_t shift;    // offset % 8
        uint64_t widthBits; // the low width bits, for fields of at most 57 bytes
        uint32_t firstPiece = 0; // wider character fields: their pieces
        uint32_t pieces = 0;
        bool wholeNumber = false; // N without decimals: a plain integer is its own text
    };
    // A piece of at most 57 bytes of a wider character field.
    struct Piece {
        uint32_t maskByte;
        uint32_t shift;
        uint32_t start; // within the field
        uint64_t widthBits;
    };
    static constexpr uint32_t kShortField = 57;

    template <bool kWide>
    void readFields(const char* bytes);
    void readBaseline(const char* bytes);
    void readWide(const char* bytes);
    void readGeneral(const char* bytes);
    std::string_view numberText(const Place& place, std::string_view trimmed, const char* bytes);
    std::string_view dateText(const Place& place, const char* bytes);
    std::string_view fallbackText(uint32_t field, const char* bytes);
    // A Windows-1252 field's text as UTF-8, in the field's scratch.
    std::string_view asUtf8(uint32_t field, std::string_view stored);

    std::vector<FieldDef> m_fields;
    // The fields by how their text is found.
    std::vector<Place> m_shortCharacters, m_longCharacters, m_numbers, m_dates, m_others;
    std::vector<Piece> m_pieces;
    size_t m_length = 0;
    std::vector<uint16_t> m_padding; // bit i: byte i of the record is a blank or a NUL
    std::vector<uint16_t> m_high;    // bit i: byte i is 0x80 or above (tables with Windows-1252 text only)
    ShortDateWriter m_dateWriter;
    char m_decimalSeparator;
    std::vector<char> m_dateTexts;      // ShortDateWriter::kMaxLength bytes per field
    std::vector<std::string> m_scratch; // one per field, for the general conversions
    std::vector<std::string_view> m_texts;
    bool m_stored = false; // character fields as stored
    void (RecordTexts::*m_reader)(const char*) = &RecordTexts::readGeneral;
};

} // namespace db
