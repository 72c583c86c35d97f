#pragma once

#include "DbfFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace db {

// A dBASE index key expression, compiled once against a table's fields into
// fixed-width pieces so that computing a record's key is a few copies.
//
// Understood: field names in any case; UPPER(x); LEFT(x, n); SUBSTR(x, s, n);
// STR(numeric field [, width [, decimals]]) (dBASE defaults 10 and 0); DTOS(date
// field); "+" joining pieces. A bare numeric field keys as STR with the
// field's own width and decimals, a bare date field as DTOS. Upper-casing
// touches the letters a to z only in Windows-1252 text; in UTF-8 text every
// letter is upper-cased, and a piece of text ends where a character ends (the
// rest of its bytes blanks), so that keys order as the bytes do.
class KeyExpression {
public:
    static constexpr int kMaxKeyLength = 240;

    // Throws DbError (naming the expression) for a syntax error, an unknown
    // field, a function applied to the wrong kind of field or a key too long.
    KeyExpression(std::string_view expression, const std::vector<FieldDef>& fields);

    const std::string& text() const { return m_text; }
    int keyLength() const { return m_keyLength; }

    // Writes the key of one record (its raw bytes, flag byte first) to out,
    // which must hold keyLength() bytes.
    void evaluate(const char* record, char* out) const;

    // The key a caller's search text (UTF-8) stands for: the text in the
    // fields' encoding, padded with blanks (or cut) to the key length,
    // upper-cased where the whole key is.
    std::string keyFromText(std::string_view text) const;

    // True when the key is made from the field (a record whose field changes may move).
    bool reads(const FieldDef& field) const;

private:
    enum class PieceKind { Text, Number, Date };
    struct Piece {
        PieceKind kind = PieceKind::Text;
        int fieldOffset = 0;
        int fieldWidth = 0;
        int start = 0;       // text: first byte taken from the field
        int length = 0;      // bytes this piece adds to the key
        int decimals = 0;    // number: decimals written
        bool upper = false;
        bool utf8 = false;   // text: the field holds UTF-8
    };
    // A UTF-8 text piece whose bytes are not all ASCII.
    static void evaluateUtf8(const Piece& p, const char* field, char* out);

    struct Parser;
    std::string m_text;
    std::vector<Piece> m_pieces;
    int m_keyLength = 0;
};

} // namespace db
