#include "PdfTextMap.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <map>

namespace engine {

namespace {

// CJK Radicals Supplement: the unified ideograph each radical looks like,
// from Unicode's EquivalentUnifiedIdeograph.txt (the Kangxi radicals need no
// table: their compatibility form is the ideograph).
struct Equivalent {
    char16_t first, last;
    char32_t ideograph;
};
constexpr Equivalent kRadicalSupplement[] = {
    {0x2E81, 0x2E81, 0x5382},  {0x2E82, 0x2E82, 0x4E5B},  {0x2E83, 0x2E83, 0x4E5A},  {0x2E84, 0x2E84, 0x4E59},
    {0x2E85, 0x2E85, 0x4EBB},  {0x2E86, 0x2E86, 0x5182},  {0x2E87, 0x2E87, 0x20628}, {0x2E88, 0x2E88, 0x5200},
    {0x2E89, 0x2E89, 0x5202},  {0x2E8A, 0x2E8A, 0x535C},  {0x2E8B, 0x2E8B, 0x353E},  {0x2E8C, 0x2E8D, 0x5C0F},
    {0x2E8E, 0x2E8E, 0x5140},  {0x2E8F, 0x2E8F, 0x5C23},  {0x2E90, 0x2E90, 0x5C22},  {0x2E91, 0x2E91, 0x21BC2},
    {0x2E92, 0x2E92, 0x5DF3},  {0x2E93, 0x2E93, 0x5E7A},  {0x2E94, 0x2E94, 0x5F51},  {0x2E95, 0x2E95, 0x5F50},
    {0x2E96, 0x2E96, 0x5FC4},  {0x2E97, 0x2E97, 0x5FC3},  {0x2E98, 0x2E98, 0x624C},  {0x2E99, 0x2E99, 0x6535},
    {0x2E9B, 0x2E9B, 0x65E1},  {0x2E9C, 0x2E9C, 0x65E5},  {0x2E9D, 0x2E9D, 0x6708},  {0x2E9E, 0x2E9E, 0x6B7A},
    {0x2E9F, 0x2E9F, 0x6BCD},  {0x2EA0, 0x2EA0, 0x6C11},  {0x2EA1, 0x2EA1, 0x6C35},  {0x2EA2, 0x2EA2, 0x6C3A},
    {0x2EA3, 0x2EA3, 0x706C},  {0x2EA4, 0x2EA5, 0x722B},  {0x2EA6, 0x2EA6, 0x4E2C},  {0x2EA7, 0x2EA7, 0x725B},
    {0x2EA8, 0x2EA8, 0x72AD},  {0x2EA9, 0x2EA9, 0x738B},  {0x2EAA, 0x2EAA, 0x24D14}, {0x2EAB, 0x2EAB, 0x76EE},
    {0x2EAC, 0x2EAC, 0x793A},  {0x2EAD, 0x2EAD, 0x793B},  {0x2EAE, 0x2EAE, 0x25AD7}, {0x2EAF, 0x2EAF, 0x7CF9},
    {0x2EB0, 0x2EB0, 0x7E9F},  {0x2EB1, 0x2EB1, 0x7F53},  {0x2EB2, 0x2EB2, 0x7F52},  {0x2EB3, 0x2EB3, 0x34C1},
    {0x2EB4, 0x2EB4, 0x5197},  {0x2EB5, 0x2EB5, 0x2626B}, {0x2EB6, 0x2EB6, 0x7F8A},  {0x2EB7, 0x2EB7, 0x2634C},
    {0x2EB8, 0x2EB8, 0x2634B}, {0x2EB9, 0x2EB9, 0x8002},  {0x2EBA, 0x2EBA, 0x8080},  {0x2EBB, 0x2EBB, 0x807F},
    {0x2EBC, 0x2EBC, 0x8089},  {0x2EBD, 0x2EBD, 0x26951}, {0x2EBE, 0x2EC0, 0x8279},  {0x2EC1, 0x2EC1, 0x864E},
    {0x2EC2, 0x2EC2, 0x8864},  {0x2EC3, 0x2EC3, 0x8980},  {0x2EC4, 0x2EC4, 0x897F},  {0x2EC5, 0x2EC5, 0x89C1},
    {0x2EC6, 0x2EC6, 0x89D2},  {0x2EC7, 0x2EC7, 0x278B2}, {0x2EC8, 0x2EC8, 0x8BA0},  {0x2EC9, 0x2EC9, 0x8D1D},
    {0x2ECA, 0x2ECA, 0x27FB7}, {0x2ECB, 0x2ECB, 0x8F66},  {0x2ECC, 0x2ECE, 0x8FB6},  {0x2ECF, 0x2ECF, 0x9091},
    {0x2ED0, 0x2ED0, 0x9485},  {0x2ED1, 0x2ED1, 0x9577},  {0x2ED2, 0x2ED2, 0x9578},  {0x2ED3, 0x2ED3, 0x957F},
    {0x2ED4, 0x2ED4, 0x95E8},  {0x2ED5, 0x2ED5, 0x28E0F}, {0x2ED6, 0x2ED6, 0x961D},  {0x2ED7, 0x2ED7, 0x96E8},
    {0x2ED8, 0x2ED8, 0x9752},  {0x2ED9, 0x2ED9, 0x97E6},  {0x2EDA, 0x2EDA, 0x9875},  {0x2EDB, 0x2EDB, 0x98CE},
    {0x2EDC, 0x2EDC, 0x98DE},  {0x2EDD, 0x2EDD, 0x98DF},  {0x2EDE, 0x2EDE, 0x2967F}, {0x2EDF, 0x2EDF, 0x98E0},
    {0x2EE0, 0x2EE0, 0x9963},  {0x2EE1, 0x2EE1, 0x29810}, {0x2EE2, 0x2EE2, 0x9A6C},  {0x2EE3, 0x2EE3, 0x9AA8},
    {0x2EE4, 0x2EE4, 0x9B3C},  {0x2EE5, 0x2EE5, 0x9C7C},  {0x2EE6, 0x2EE6, 0x9E1F},  {0x2EE7, 0x2EE7, 0x5364},
    {0x2EE8, 0x2EE8, 0x9EA6},  {0x2EE9, 0x2EE9, 0x9EC4},  {0x2EEA, 0x2EEA, 0x9EFE},  {0x2EEB, 0x2EEB, 0x6589},
    {0x2EEC, 0x2EEC, 0x9F50},  {0x2EED, 0x2EED, 0x6B6F},  {0x2EEE, 0x2EEE, 0x9F7F},  {0x2EEF, 0x2EEF, 0x7ADC},
    {0x2EF0, 0x2EF0, 0x9F99},  {0x2EF1, 0x2EF1, 0x9F9C},  {0x2EF2, 0x2EF2, 0x4E80},  {0x2EF3, 0x2EF3, 0x9F9F},
};

bool isKangxiRadical(char16_t c) { return c >= 0x2F00 && c <= 0x2FD5; }
bool isArabicPresentationForm(char16_t c) { return (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF); }

// What a glyph's characters are as the text had them.
QString mended(const QString& characters)
{
    QString out;
    for (const QChar c : characters) {
        const char16_t u = c.unicode();
        if (isKangxiRadical(u) || isArabicPresentationForm(u)) {
            out += QString(c).normalized(QString::NormalizationForm_KC);
            continue;
        }
        const auto* found = std::find_if(std::begin(kRadicalSupplement), std::end(kRadicalSupplement),
                                         [u](const Equivalent& e) { return u >= e.first && u <= e.last; });
        if (found != std::end(kRadicalSupplement)) {
            const char32_t ideograph = found->ideograph;
            out += QString::fromUcs4(&ideograph, 1);
            continue;
        }
        out += c;
    }
    return out;
}

// ---- reading the map -----------------------------------------------------------------

class Tokens {
public:
    explicit Tokens(std::string_view text, size_t at = 0) : m_text(text), m_at(at) {}

    // The next token: a hex string "<...>" (without its brackets), "[", "]" or a word; "" at the end.
    std::string_view next(bool* hex = nullptr)
    {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
        if (hex)
            *hex = false;
        if (m_at >= m_text.size())
            return {};
        const size_t start = m_at;
        if (m_text[m_at] == '<') {
            const size_t close = m_text.find('>', m_at);
            if (close == std::string_view::npos)
                return {};
            m_at = close + 1;
            if (hex)
                *hex = true;
            return m_text.substr(start + 1, close - start - 1);
        }
        if (m_text[m_at] == '[' || m_text[m_at] == ']')
            return m_text.substr(m_at++, 1);
        while (m_at < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_at])) && m_text[m_at] != '<'
               && m_text[m_at] != '[' && m_text[m_at] != ']')
            ++m_at;
        return m_text.substr(start, m_at - start);
    }
    size_t at() const { return m_at; }

private:
    std::string_view m_text;
    size_t m_at;
};

std::optional<uint32_t> hexNumber(std::string_view hex)
{
    if (hex.empty() || hex.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (const char c : hex) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : std::isxdigit(static_cast<unsigned char>(c))
                              ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

// A destination: UTF-16 code units, four hex digits each.
std::optional<QString> utf16Of(std::string_view hex)
{
    if (hex.size() % 4 != 0)
        return std::nullopt;
    QString text;
    for (size_t i = 0; i < hex.size(); i += 4) {
        const auto unit = hexNumber(hex.substr(i, 4));
        if (!unit)
            return std::nullopt;
        text += QChar(static_cast<char16_t>(*unit));
    }
    return text;
}

std::string hexOf(const QString& text)
{
    std::string hex;
    char unit[8];
    for (const QChar c : text) {
        std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(c.unicode()));
        hex += unit;
    }
    return hex;
}

} // namespace

std::optional<std::string> mendedTextMap(std::string_view map, uint32_t glyphCount,
                                         const std::function<QString(uint32_t glyph)>& unmapped)
{
    std::map<uint32_t, QString> glyphs;
    size_t bodyStart = std::string_view::npos, bodyEnd = 0;
    int codeDigits = 4;
    Tokens tokens(map);
    std::string_view previous;
    for (std::string_view token = tokens.next(); !token.empty(); previous = token, token = tokens.next()) {
        const bool chars = token == "beginbfchar", ranges = token == "beginbfrange";
        if (!chars && !ranges)
            continue;
        // The block's count goes with it.
        const size_t countAt = static_cast<size_t>(previous.data() - map.data());
        bodyStart = std::min(bodyStart, countAt);
        const std::string_view end = chars ? "endbfchar" : "endbfrange";
        for (;;) {
            bool hex = false;
            const std::string_view first = tokens.next(&hex);
            if (first == end)
                break;
            if (!hex)
                return std::nullopt;
            codeDigits = static_cast<int>(first.size());
            const auto low = hexNumber(first);
            if (!low)
                return std::nullopt;
            if (chars) {
                const auto text = utf16Of(tokens.next(&hex));
                if (!text || !hex)
                    return std::nullopt;
                glyphs[*low] = *text;
                continue;
            }
            const auto high = hexNumber(tokens.next(&hex));
            if (!high || !hex || *high < *low || *high - *low > 0xFFFF)
                return std::nullopt;
            const std::string_view destination = tokens.next(&hex);
            if (destination == "[") {
                for (uint32_t code = *low;; ++code) {
                    const std::string_view item = tokens.next(&hex);
                    if (item == "]")
                        break;
                    const auto text = utf16Of(item);
                    if (!text || !hex || code > *high)
                        return std::nullopt;
                    glyphs[code] = *text;
                }
                continue;
            }
            auto text = utf16Of(destination);
            if (!text || !hex || text->isEmpty())
                return std::nullopt;
            for (uint32_t code = *low; code <= *high; ++code) {
                glyphs[code] = *text;
                (*text)[text->size() - 1] = QChar(static_cast<char16_t>(text->back().unicode() + 1));
            }
        }
        bodyEnd = tokens.at();
    }
    if (bodyStart == std::string_view::npos)
        return std::nullopt;
    bool changed = false;
    if (unmapped) {
        for (uint32_t glyph = 1; glyph < glyphCount; ++glyph) {
            const auto it = glyphs.find(glyph);
            if (it != glyphs.end() && it->second != QString(QChar(0)))
                continue;
            const QString found = unmapped(glyph);
            if (found.isEmpty())
                continue;
            glyphs[glyph] = found;
            changed = true;
        }
    }
    for (auto& [code, text] : glyphs) {
        const QString better = mended(text);
        changed = changed || better != text;
        text = better;
    }
    if (!changed)
        return std::nullopt;

    std::string out(map.substr(0, bodyStart));
    char code[16];
    auto it = glyphs.begin();
    while (it != glyphs.end()) {
        const size_t block = std::min<size_t>(100, static_cast<size_t>(std::distance(it, glyphs.end())));
        out += std::to_string(block) + " beginbfchar\n";
        for (size_t i = 0; i < block; ++i, ++it) {
            std::snprintf(code, sizeof code, "%0*X", codeDigits, static_cast<unsigned>(it->first));
            out += "<" + std::string(code) + "> <" + hexOf(it->second) + ">\n";
        }
        out += "endbfchar\n";
    }
    const std::string_view rest = map.substr(bodyEnd);
    out += rest.substr(!rest.empty() && rest.front() == '\n' ? 1 : 0);
    return out;
}

} // namespace engine
