#pragma once

// The two ways a table keeps its text, and the text work that depends on
// them. Inside the program text is UTF-8 (std::string) or QString; a table's
// character fields hold either
//   - Windows-1252, one byte a character (the collections of older programs,
//     and any table the user keeps so that they can read it), or
//   - UTF-8 in Unicode normal form C (a Unicode collection), so that any
//     script fits; a field's width is then counted in bytes, and a text is
//     only ever cut where a character ends.
// How a table says which (the language byte of its header and a .cpg file
// beside it, as shapelib and GDAL read it) is worked out in CollectionFile
// and Table; everything here works on texts.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace db {

enum class TextEncoding : uint8_t { Windows1252, Utf8 };

// ---- the table's word for it ----------------------------------------------------

// The header's language byte of a new table: 0x03 (Windows ANSI, code page
// 1252, in every reader's table) or 0x00 (none: the .cpg file says UTF-8).
uint8_t languageDriverOf(TextEncoding encoding);
// What the .cpg file beside a table holds: "1252" or "UTF-8".
const char* codePageName(TextEncoding encoding);
// The encoding a .cpg file's text names ("UTF-8", "utf8", "65001"; "1252",
// "ANSI 1252", "windows-1252"), nullopt for any other.
std::optional<TextEncoding> encodingOfCodePage(std::string_view text);
// The .cpg file beside a table file: the same name, .CPG in the letter case
// of the table's extension (films.dbf, films.cpg).
std::string codePageFileOf(const std::string& tablePath);
// The encoding the .cpg file beside a table names; nullopt where there is
// none, it cannot be read or it names another.
std::optional<TextEncoding> codePageOfFile(const std::string& tablePath);
// Writes the .cpg file beside a table (behind any link to it), replacing one
// that is there. Throws DbError when it cannot be written.
void writeCodePageFile(const std::string& tablePath, TextEncoding encoding);

// The .cpg file of a table that is being written anew: written first, so that
// the table is never there without the word on how it keeps its text, and put
// back as it was (or removed) unless keep() is called once the table is whole.
class CodePageFileChange {
public:
    CodePageFileChange(const std::string& tablePath, TextEncoding encoding); // throws DbError
    ~CodePageFileChange();
    CodePageFileChange(const CodePageFileChange&) = delete;
    CodePageFileChange& operator=(const CodePageFileChange&) = delete;
    void keep() { m_kept = true; }

private:
    std::string m_path;
    std::optional<std::string> m_before; // what the file held, nullopt when there was none
    bool m_kept = false;
};

// ---- conversions at the field ----------------------------------------------------

inline bool isAscii(std::string_view text)
{
    // Eight bytes at a time: the scan runs over every short field of every record.
    uint64_t high = 0;
    if (text.size() < 8) {
        for (const char c : text)
            high |= static_cast<unsigned char>(c);
        return (high & 0x80) == 0;
    }
    size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, text.data() + at, 8);
        high |= chunk;
    }
    uint64_t last; // the last eight bytes, some of them looked at already
    std::memcpy(&last, text.data() + text.size() - 8, 8);
    return ((high | last) & 0x8080808080808080u) == 0;
}

// Whether the bytes are UTF-8 throughout: no stray, missing or overlong
// continuation bytes, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// A field's stored bytes as UTF-8, appended to out.
void appendFieldTextAsUtf8(std::string& out, std::string_view stored, TextEncoding encoding);

// What a field keeps of a UTF-8 text: its bytes in the table's encoding, at
// most width of them. Windows-1252 takes a character it cannot hold as "?"
// (counted in *replaced); UTF-8 is put in normal form C (invalid bytes as
// U+FFFD) and cut where a character ends. *cut says whether anything was left out.
std::string fieldBytes(std::string_view utf8, TextEncoding encoding, size_t width, bool* cut = nullptr,
                       int* replaced = nullptr);

// The UTF-8 text in Unicode normal form C, invalid bytes as U+FFFD.
std::string normalizedUtf8(std::string_view utf8);

// The length of the longest start of a UTF-8 text that holds whole
// characters and at most maxBytes bytes.
size_t utf8FittingLength(std::string_view utf8, size_t maxBytes);
// The length in bytes of a UTF-8 text's first maxCharacters characters.
size_t utf8CharactersLength(std::string_view utf8, size_t maxCharacters);
// The number of characters (code points) of a UTF-8 text.
size_t utf8CharacterCount(std::string_view utf8);

// The same for QString, whose units are UTF-16: the first n characters (a
// character beyond the Basic Multilingual Plane, an emoji, is never split
// into halves), and the number of characters.
QString leftCharacters(const QString& text, qsizetype n);
qsizetype characterCount(const QString& text);

// ---- case and accents ------------------------------------------------------------

// The text with every letter in capitals, a character at a time (Unicode's
// simple mapping: "łódź" as "ŁÓDŹ", "straße" keeps its ß).
std::string upperUtf8(std::string_view utf8);
// The text in small letters without accents, for comparing as a reader would
// ("Łódź" as "lodz", "Amélie" as "amelie", "ΆΛΦΑ" as "αλφα").
std::string foldedUtf8(std::string_view utf8);
// The same into out (its room kept), for a loop over many texts.
void foldUtf8Into(std::string& out, std::string_view utf8);
// The folded text's letters and digits, of any script, and nothing else
// ("Amélie!" as "amelie", "千と千尋の神隠し" as it is): what tells one title from another.
std::string letterKey(std::string_view utf8);
// A title as two records of the same film are known by: its folded words of
// letters and digits in any script, "&" as "and", without a leading article
// or one after a comma at its end ("The Matrix", "Matrix, The"). Find
// Duplicates and the import's "leave out what is held" both go by it.
std::string sameTitleKey(std::string_view utf8);

} // namespace db
