#include "KeyExpression.h"

#include <algorithm>

#include "Ascii.h"
#include "Cp1252.h"
#include "DbError.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace db {


struct KeyExpression::Parser {
    std::string_view text;
    const std::vector<FieldDef>& fields;
    size_t pos = 0;

    [[noreturn]] void error(const std::string& what) const
    {
        // The detail is the parser's own English; the sentence around it is translated.
        throw DbError("", Message(TRANSLATABLE("db", "Invalid index expression \"%1\": %2"), {std::string(text), what}));
    }

    void skipBlanks()
    {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
            ++pos;
    }

    bool take(char c)
    {
        skipBlanks();
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }

    void expect(char c)
    {
        if (!take(c))
            error(std::string("\"") + c + "\" expected at position " + std::to_string(pos + 1));
    }

    std::string identifier()
    {
        skipBlanks();
        const size_t start = pos;
        while (pos < text.size() && (std::isalnum(static_cast<unsigned char>(text[pos])) || text[pos] == '_'))
            ++pos;
        if (pos == start)
            error("a field name or function expected at position " + std::to_string(start + 1));
        return upperAscii(std::string(text.substr(start, pos - start)));
    }

    int integer()
    {
        skipBlanks();
        const size_t start = pos;
        int value = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) && pos - start < 6)
            value = value * 10 + (text[pos++] - '0');
        if (pos == start)
            error("a number expected at position " + std::to_string(start + 1));
        return value;
    }

    const FieldDef& field(const std::string& name)
    {
        for (const FieldDef& f : fields)
            if (upperAscii(f.name) == name)
                return f;
        error("unknown field " + name);
    }

    // One term: a list of pieces that form a text of known width.
    std::vector<Piece> term()
    {
        const std::string name = identifier();
        if (name == "UPPER") {
            expect('(');
            std::vector<Piece> inner = sum();
            expect(')');
            for (Piece& p : inner)
                if (p.kind == PieceKind::Text)
                    p.upper = true;
            return inner;
        }
        if (name == "LEFT" || name == "SUBSTR") {
            expect('(');
            std::vector<Piece> inner = sum();
            int start = 1;
            expect(',');
            if (name == "SUBSTR") {
                start = integer();
                if (start < 1)
                    error("SUBSTR starts at 1");
                expect(',');
            }
            const int length = integer();
            expect(')');
            return slice(inner, start - 1, length);
        }
        if (name == "STR") {
            expect('(');
            const FieldDef& f = field(identifier());
            if (f.kind() != FieldKind::Number)
                error("STR needs a numeric field, " + f.name + " is not one");
            int width = 10, decimals = 0;
            if (take(',')) {
                width = integer();
                if (take(','))
                    decimals = integer();
            }
            expect(')');
            if (width < 1 || width > 20 || decimals < 0 || (decimals > 0 && decimals > width - 2))
                error("impossible width or decimals in STR");
            return {numberPiece(f, width, decimals)};
        }
        if (name == "DTOS") {
            expect('(');
            const FieldDef& f = field(identifier());
            if (f.kind() != FieldKind::Date)
                error("DTOS needs a date field, " + f.name + " is not one");
            expect(')');
            return {datePiece(f)};
        }
        skipBlanks();
        if (pos < text.size() && text[pos] == '(')
            error("unknown function " + name);
        const FieldDef& f = field(name);
        switch (f.kind()) {
        case FieldKind::Number: return {numberPiece(f, f.width, f.decimals)};
        case FieldKind::Date: return {datePiece(f)};
        default: {
            Piece p;
            p.kind = PieceKind::Text;
            p.fieldOffset = f.offset;
            p.fieldWidth = f.width;
            p.length = f.width;
            p.utf8 = f.encoding == TextEncoding::Utf8;
            return {p};
        }
        }
    }

    static Piece numberPiece(const FieldDef& f, int width, int decimals)
    {
        Piece p;
        p.kind = PieceKind::Number;
        p.fieldOffset = f.offset;
        p.fieldWidth = f.width;
        p.length = width;
        p.decimals = decimals;
        return p;
    }

    static Piece datePiece(const FieldDef& f)
    {
        Piece p;
        p.kind = PieceKind::Date;
        p.fieldOffset = f.offset;
        p.fieldWidth = f.width;
        p.length = 8;
        return p;
    }

    // The bytes [start, start + length) of a text made of pieces.
    std::vector<Piece> slice(const std::vector<Piece>& pieces, int start, int length)
    {
        std::vector<Piece> out;
        int at = 0;
        for (const Piece& p : pieces) {
            const int from = std::max(start, at);
            const int to = std::min(start + length, at + p.length);
            if (from < to) {
                if (p.kind != PieceKind::Text)
                    error("LEFT and SUBSTR take character fields");
                Piece q = p;
                q.start = p.start + (from - at);
                q.length = to - from;
                out.push_back(q);
            }
            at += p.length;
        }
        if (out.empty())
            error("LEFT or SUBSTR leaves nothing of the text");
        return out;
    }

    std::vector<Piece> sum()
    {
        std::vector<Piece> pieces = term();
        while (take('+')) {
            std::vector<Piece> more = term();
            pieces.insert(pieces.end(), more.begin(), more.end());
        }
        return pieces;
    }
};

KeyExpression::KeyExpression(std::string_view expression, const std::vector<FieldDef>& fields)
    : m_text(expression)
{
    Parser parser{expression, fields};
    m_pieces = parser.sum();
    parser.skipBlanks();
    if (parser.pos != expression.size())
        parser.error("unexpected text at position " + std::to_string(parser.pos + 1));
    for (const Piece& p : m_pieces)
        m_keyLength += p.length;
    if (m_keyLength > kMaxKeyLength)
        parser.error("the key is " + std::to_string(m_keyLength) + " characters long; at most "
                     + std::to_string(kMaxKeyLength) + " are allowed");
}

namespace {

// Most stored numbers are already written as STR writes them: digits without
// a leading zero (or one zero), then the decimals asked for, and perhaps more
// that are all zeros (a price kept with four decimals, keyed with two). Those
// are copied right-aligned, the surplus zeros left off, without reading and
// writing them as doubles; any other form (negative, empty, fewer decimals, a
// surplus to round) is left to the general way.
bool copyCanonicalNumber(std::string_view stored, int width, int decimals, char* out)
{
    size_t first = 0, end = stored.size();
    while (first < end && stored[first] == ' ')
        ++first;
    while (end > first && stored[end - 1] == ' ')
        --end;
    const std::string_view text = stored.substr(first, end - first);
    const size_t point = text.find('.');
    const size_t whole = point == std::string_view::npos ? text.size() : point;
    if (whole == 0 || (whole > 1 && text[0] == '0'))
        return false;
    const size_t storedDecimals = point == std::string_view::npos ? 0 : text.size() - point - 1;
    const auto wanted = static_cast<size_t>(decimals);
    if (storedDecimals < wanted || (point != std::string_view::npos && storedDecimals == 0))
        return false;
    const size_t kept = wanted == 0 ? whole : whole + 1 + wanted;
    if (kept > static_cast<size_t>(width))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == point)
            continue;
        if (text[i] < '0' || text[i] > '9' || (i >= kept && text[i] != '0'))
            return false;
    }
    std::memset(out, ' ', static_cast<size_t>(width) - kept);
    std::memcpy(out + (static_cast<size_t>(width) - kept), text.data(), kept);
    return true;
}

} // namespace

void KeyExpression::evaluate(const char* record, char* out) const
{
    for (const Piece& p : m_pieces) {
        const char* field = record + p.fieldOffset;
        switch (p.kind) {
        case PieceKind::Text: {
            const int available = std::max(0, std::min(p.length, p.fieldWidth - p.start));
            if (p.utf8 && !isAscii(std::string_view(field + p.start, static_cast<size_t>(available)))) {
                evaluateUtf8(p, field, out);
                break;
            }
            std::memcpy(out, field + p.start, static_cast<size_t>(available));
            std::memset(out + available, ' ', static_cast<size_t>(p.length - available));
            if (p.upper)
                for (int i = 0; i < available; ++i)
                    if (out[i] >= 'a' && out[i] <= 'z')
                        out[i] = static_cast<char>(out[i] - 'a' + 'A');
            break;
        }
        case PieceKind::Number: {
            // dBASE's STR: the value right-aligned, stars when it does not fit.
            if (copyCanonicalNumber(std::string_view(field, static_cast<size_t>(p.fieldWidth)), p.length, p.decimals, out))
                break;
            const double value = storedNumber(std::string_view(field, p.fieldWidth)).value_or(0.0);
            if (!formatFixed(value, p.length, p.decimals, out))
                std::memset(out, '*', static_cast<size_t>(p.length));
            break;
        }
        case PieceKind::Date: {
            bool digits = p.fieldWidth >= 8;
            for (int i = 0; digits && i < 8; ++i)
                digits = field[i] >= '0' && field[i] <= '9';
            if (digits)
                std::memcpy(out, field, 8);
            else
                std::memset(out, ' ', 8);
            break;
        }
        }
        out += p.length;
    }
}

void KeyExpression::evaluateUtf8(const Piece& p, const char* field, char* out)
{
    // The piece starts at a character's start, and takes the characters that fit whole.
    size_t start = static_cast<size_t>(p.start);
    while (start < static_cast<size_t>(p.fieldWidth) && (static_cast<unsigned char>(field[start]) & 0xC0) == 0x80)
        ++start;
    std::string_view text(field + start, static_cast<size_t>(p.fieldWidth) - start);
    std::string upper;
    if (p.upper) {
        upper = upperUtf8(text);
        text = upper;
    }
    const size_t kept = utf8FittingLength(text, static_cast<size_t>(p.length));
    std::memcpy(out, text.data(), kept);
    std::memset(out + kept, ' ', static_cast<size_t>(p.length) - kept);
}

std::string KeyExpression::keyFromText(std::string_view text) const
{
    bool allUpper = !m_pieces.empty(), utf8 = false;
    for (const Piece& p : m_pieces) {
        allUpper = allUpper && (p.kind != PieceKind::Text || p.upper);
        utf8 = utf8 || (p.kind == PieceKind::Text && p.utf8);
    }
    std::string key;
    if (utf8) {
        key = allUpper ? upperUtf8(normalizedUtf8(text)) : normalizedUtf8(text);
        key.resize(utf8FittingLength(key, static_cast<size_t>(m_keyLength)));
    } else {
        key = utf8ToCp1252(text).substr(0, static_cast<size_t>(m_keyLength));
        if (allUpper)
            key = upperAscii(key);
    }
    key.resize(static_cast<size_t>(m_keyLength), ' ');
    return key;
}

bool KeyExpression::reads(const FieldDef& field) const
{
    return std::any_of(m_pieces.begin(), m_pieces.end(),
                       [&field](const Piece& piece) { return piece.fieldOffset == field.offset; });
}

} // namespace db
