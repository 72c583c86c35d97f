#include "TextEncoding.h"

#include "Ascii.h"
#include "Cp1252.h"
#include "FileIO.h"

#include <QChar>
#include <QString>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace db {

// ---------------------------------------------------------------- the table's word

uint8_t languageDriverOf(TextEncoding encoding) { return encoding == TextEncoding::Utf8 ? 0x00 : 0x03; }

const char* codePageName(TextEncoding encoding) { return encoding == TextEncoding::Utf8 ? "UTF-8" : "1252"; }

std::optional<TextEncoding> encodingOfCodePage(std::string_view text)
{
    std::string name;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '-' && c != '_')
            name += upperAscii(c);
    if (name == "UTF8" || name == "65001")
        return TextEncoding::Utf8;
    if (name == "1252" || name == "ANSI1252" || name == "CP1252" || name == "WINDOWS1252")
        return TextEncoding::Windows1252;
    return std::nullopt;
}

std::string codePageFileOf(const std::string& tablePath)
{
    const size_t dot = tablePath.find_last_of("./");
    if (dot == std::string::npos || tablePath[dot] != '.')
        return tablePath + ".cpg";
    const std::string extension = tablePath.substr(dot + 1);
    const bool small = !extension.empty() && std::islower(static_cast<unsigned char>(extension[0]));
    return tablePath.substr(0, dot) + (small ? ".cpg" : ".CPG");
}

std::optional<TextEncoding> codePageOfFile(const std::string& tablePath)
{
    try {
        File cpg;
        if (!cpg.openIfExists(codePageFileOf(resolvedPath(tablePath)), File::Mode::ReadOnly))
            return std::nullopt;
        std::string word(64, '\0');
        word.resize(cpg.readSomeAt(0, word.data(), word.size()));
        return encodingOfCodePage(word);
    } catch (const DbError&) {
        return std::nullopt; // a .cpg that cannot be read says nothing
    }
}

void writeCodePageFile(const std::string& tablePath, TextEncoding encoding)
{
    const std::string text = codePageName(encoding);
    writeReplacing(codePageFileOf(resolvedPath(tablePath)), [&](File& out) { out.writeAt(0, text.data(), text.size()); });
}

CodePageFileChange::CodePageFileChange(const std::string& tablePath, TextEncoding encoding)
    : m_path(codePageFileOf(resolvedPath(tablePath)))
{
    File before;
    if (before.openIfExists(m_path, File::Mode::ReadOnly)) {
        std::string text(64, '\0');
        text.resize(before.readSomeAt(0, text.data(), text.size()));
        m_before = text;
    }
    writeCodePageFile(tablePath, encoding);
}

CodePageFileChange::~CodePageFileChange()
{
    if (m_kept)
        return;
    try {
        if (!m_before)
            removeFile(m_path);
        else
            writeReplacing(m_path, [this](File& out) { out.writeAt(0, m_before->data(), m_before->size()); });
    } catch (...) {
        // The failure that matters is the table's.
    }
}

// ---------------------------------------------------------------- conversions

QString leftCharacters(const QString& text, qsizetype n)
{
    qsizetype units = 0;
    for (qsizetype taken = 0; taken < n && units < text.size(); ++taken)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() && text.at(units + 1).isLowSurrogate() ? 2 : 1;
    return text.left(units);
}

qsizetype characterCount(const QString& text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    return count;
}

bool isValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        for (int k = 1; k <= more; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[k] & 0x3F);
        }
        if ((more == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) || (more == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        p += more + 1;
    }
    return true;
}

void appendFieldTextAsUtf8(std::string& out, std::string_view stored, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8 || isAscii(stored))
        out += stored;
    else
        appendCp1252AsUtf8(out, stored);
}

std::string normalizedUtf8(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    // Qt's reader turns invalid bytes into U+FFFD, and its normal form C is Unicode's.
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return text.normalized(QString::NormalizationForm_C).toStdString();
}

size_t utf8FittingLength(std::string_view utf8, size_t maxBytes)
{
    if (utf8.size() <= maxBytes)
        return utf8.size();
    size_t end = maxBytes;
    // Back over the continuation bytes of a character that does not fit whole.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        --end;
    return end;
}

size_t utf8CharactersLength(std::string_view utf8, size_t maxCharacters)
{
    size_t at = 0;
    for (size_t n = 0; n < maxCharacters && at < utf8.size(); ++n)
        decodeUtf8(utf8, at);
    return at;
}

size_t utf8CharacterCount(std::string_view utf8)
{
    size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

std::string fieldBytes(std::string_view utf8, TextEncoding encoding, size_t width, bool* cut, int* replaced)
{
    std::string bytes;
    if (encoding == TextEncoding::Utf8) {
        bytes = normalizedUtf8(utf8);
        const size_t kept = utf8FittingLength(bytes, width);
        if (cut)
            *cut = kept < bytes.size();
        bytes.resize(kept);
        return bytes;
    }
    bytes = isAscii(utf8) ? std::string(utf8) : utf8ToCp1252(utf8, replaced);
    if (cut)
        *cut = bytes.size() > width;
    if (bytes.size() > width)
        bytes.resize(width);
    return bytes;
}

// ---------------------------------------------------------------- case and accents

namespace {

// Letters whose plain form Unicode gives no decomposition for.
char32_t plainLetter(char32_t c)
{
    switch (c) {
    case U'ł': case U'Ł': return U'l';
    case U'đ': case U'Đ': return U'd';
    case U'ħ': case U'Ħ': return U'h';
    case U'ı': return U'i';
    case U'ŀ': case U'Ŀ': return U'l';
    case U'ŧ': case U'Ŧ': return U't';
    case U'ƀ': return U'b';
    case U'ɨ': case U'Ɨ': return U'i';
    default: return 0;
    }
}

// The folded form of one character: the same as foldedCp1252 gives for the
// characters Windows-1252 holds (so that a Windows-1252 collection and a
// Unicode one fold alike), else the small letter of the character's base.
char32_t foldCharacter(char32_t c)
{
    const int byte = unicodeToCp1252(c);
    if (byte >= 0) {
        const std::string folded = foldedCp1252(std::string(1, static_cast<char>(byte)));
        return cp1252ToUnicode(static_cast<unsigned char>(folded[0]));
    }
    if (const char32_t plain = plainLetter(c))
        return plain;
    char32_t base = c;
    // The first character of the canonical decomposition, again until none is left ("ǖ" to "u").
    for (int depth = 0; depth < 4 && QChar::decompositionTag(base) == QChar::Canonical; ++depth) {
        const QString parts = QChar::decomposition(base);
        if (parts.isEmpty())
            break;
        base = parts.at(0).isHighSurrogate() && parts.size() > 1 ? QChar::surrogateToUcs4(parts.at(0), parts.at(1))
                                                                  : parts.at(0).unicode();
    }
    return QChar::toLower(base);
}

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
           || category == QChar::Mark_Enclosing;
}

// The folded forms of the Basic Multilingual Plane, made once on first use.
const std::array<char32_t, 0x10000>& foldTable()
{
    static const std::unique_ptr<std::array<char32_t, 0x10000>> table = [] {
        auto t = std::make_unique<std::array<char32_t, 0x10000>>();
        // A combining accent folds to nothing (0: the table is read only beyond ASCII).
        for (char32_t c = 0; c < 0x10000; ++c)
            (*t)[c] = c >= 0xD800 && c < 0xE000 ? c : c >= 0x80 && isMark(c) ? 0 : foldCharacter(c);
        return t;
    }();
    return *table;
}

} // namespace

std::string upperUtf8(std::string_view utf8)
{
    if (isAscii(utf8))
        return upperAscii(std::string(utf8));
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += upperAscii(static_cast<char>(b));
            ++i;
            continue;
        }
        appendUtf8(out, QChar::toUpper(decodeUtf8(utf8, i)));
    }
    return out;
}

std::string foldedUtf8(std::string_view utf8)
{
    std::string out;
    foldUtf8Into(out, utf8);
    return out;
}

void foldUtf8Into(std::string& out, std::string_view utf8)
{
    out.clear();
    out.reserve(utf8.size());
    const std::array<char32_t, 0x10000>& fold = foldTable();
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
            ++i;
            continue;
        }
        const char32_t c = decodeUtf8(utf8, i);
        const char32_t folded = c < 0x10000 ? fold[c] : isMark(c) ? 0 : QChar::toLower(c);
        if (folded != 0) // a combining accent (0), already left off its letter, is dropped
            appendUtf8(out, folded);
    }
}

namespace {

// Articles a title may begin with, or end with after a comma ("Matrix, The",
// "Boot, Das"), in the languages collectors' titles come in most: English,
// German, French, Spanish, Italian and Dutch. Italian "i" is left out: it
// is the English "I" of "I, Robot" far more often.
bool isArticle(std::string_view word)
{
    static constexpr std::string_view kArticles[] = {
        "the", "a", "an",                                      // English
        "der", "die", "das", "den", "dem", "des", "ein", "eine", // German
        "le", "la", "les", "l", "un", "une",                   // French
        "el", "los", "las", "uno", "una",                      // Spanish (and Italian una, uno)
        "il", "lo", "gli",                                     // Italian
        "de", "het", "een", "t",                               // Dutch
    };
    return std::find(std::begin(kArticles), std::end(kArticles), word) != std::end(kArticles);
}

} // namespace

std::string sameTitleKey(std::string_view utf8)
{
    const std::string folded = foldedUtf8(utf8);
    // Words of letters and digits; "&" is the word "and"; everything else separates.
    std::vector<std::string> words;
    std::string word;
    bool commaBeforeLast = false, sawComma = false;
    const auto endWord = [&] {
        if (!word.empty()) {
            commaBeforeLast = sawComma;
            sawComma = false;
            words.push_back(std::move(word));
            word.clear();
        }
    };
    for (size_t i = 0; i < folded.size();) {
        const char c = folded[i];
        const size_t from = i;
        const char32_t character = decodeUtf8(folded, i);
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (character >= 0x80 && QChar::isLetterOrNumber(character))) {
            word.append(folded, from, i - from);
            continue;
        }
        endWord();
        if (c == '&')
            words.push_back("and");
        else if (c == ',')
            sawComma = true;
    }
    endWord();
    // "The Matrix" and "Matrix, The" alike; a title that is only an article stays one.
    if (words.size() > 1 && isArticle(words.back()) && commaBeforeLast)
        words.pop_back();
    if (words.size() > 1 && isArticle(words.front()))
        words.erase(words.begin());
    std::string key;
    for (const std::string& w : words)
        key += (key.empty() ? "" : " ") + w;
    return key;
}

std::string letterKey(std::string_view utf8)
{
    const std::string folded = foldedUtf8(utf8);
    std::string key;
    key.reserve(folded.size());
    for (size_t i = 0; i < folded.size();) {
        const auto b = static_cast<unsigned char>(folded[i]);
        if (b < 0x80) {
            if ((b >= 'a' && b <= 'z') || (b >= '0' && b <= '9'))
                key += static_cast<char>(b);
            ++i;
            continue;
        }
        const size_t from = i;
        if (QChar::isLetterOrNumber(decodeUtf8(folded, i)))
            key.append(folded, from, i - from);
    }
    return key;
}

} // namespace db
