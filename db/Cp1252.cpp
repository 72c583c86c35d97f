#include "Cp1252.h"

#include <array>

namespace db {

namespace {
// 0x80..0x9F differ from Latin-1; everything else maps to the same code point.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};
} // namespace

char32_t decodeUtf8(std::string_view text, size_t& i)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 6 ? 1 : (b0 >> 4) == 14 ? 2 : (b0 >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) {
        ++i;
        return extra == 0 ? b0 : 0xFFFD;
    }
    char32_t cp = extra == 0 ? b0 : extra == 1 ? (b0 & 0x1F) : extra == 2 ? (b0 & 0x0F) : (b0 & 0x07);
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t cp1252ToUnicode(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? kHigh[byte - 0x80] : byte;
}

int unicodeToCp1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (size_t k = 0; k < kHigh.size(); ++k)
        if (kHigh[k] == cp && cp != 0xFFFD)
            return static_cast<int>(0x80 + k);
    return -1;
}

void appendCp1252AsUtf8(std::string& out, std::string_view text)
{
    // Plain ASCII, most of any text, is copied in runs.
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80)
            continue;
        out.append(text.data() + from, i - from);
        appendUtf8(out, cp1252ToUnicode(c));
        from = i + 1;
    }
    out.append(text.data() + from, text.size() - from);
}

std::string cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendCp1252AsUtf8(out, text);
    return out;
}

std::string utf8ToCp1252(std::string_view text, int* replaced)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t cp = decodeUtf8(text, i);
        const int byte = unicodeToCp1252(cp);
        if (byte < 0) {
            out += '?';
            if (replaced)
                ++*replaced;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

std::string foldedCp1252(std::string_view text)
{
    static const char* const kPlain = // 0xC0..0xFF, lower case
        "aaaaaaaceeeeiiii" "dnooooo\xD7ouuuuyts" "aaaaaaaceeeeiiii" "dnooooo\xF7ouuuuyty";
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 'A' && byte <= 'Z')
            c = static_cast<char>(byte - 'A' + 'a');
        else if (byte >= 0xC0)
            c = kPlain[byte - 0xC0];
        else if (byte == 0x8A || byte == 0x9A)
            c = 's'; // \x8A \x9A: S and s with caron
        else if (byte == 0x8E || byte == 0x9E)
            c = 'z';
        else if (byte == 0x9F)
            c = 'y';
    }
    return out;
}

} // namespace db
