#include "NumberText.h"

#include <cstdio>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

namespace exchange {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' '; }
bool isCurrency(char c) { return c == '$'; }
bool isGroupMark(char c) { return c == '.' || c == ',' || isBlank(c) || c == '\''; }

// The text with every kind of blank (a tab, a no-break blank, the narrow
// no-break blank French writes between thousands, a thin blank) as ' ' and
// every currency sign ($, €, £, ¥) as '$', whether it comes as UTF-8 or as
// Windows-1252: what is left is plain ASCII to read the number from.
std::string plainNumberText(std::string_view text)
{
    static constexpr std::pair<std::string_view, char> kMarks[] = {
        {"\xC2\xA0", ' '}, {"\xE2\x80\xAF", ' '}, {"\xE2\x80\x89", ' '}, {"\xE2\x80\x88", ' '},
        {"\xE2\x82\xAC", '$'}, {"\xC2\xA3", '$'}, {"\xC2\xA5", '$'},
        {"\t", ' '}, {"\xA0", ' '}, {"\x80", '$'}, {"\xA3", '$'}, {"\xA5", '$'},
    };
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [mark, as] : kMarks)
            if (text.compare(i, mark.size(), mark) == 0) {
                plain += as;
                i += mark.size();
                replaced = true;
                break;
            }
        if (!replaced)
            plain += text[i++];
    }
    return plain;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Takes one currency sign off either end, with the blanks beside it.
std::string_view withoutCurrency(std::string_view text)
{
    if (!text.empty() && isCurrency(text.front()))
        return trimmed(text.substr(1));
    if (!text.empty() && isCurrency(text.back()))
        return trimmed(text.substr(0, text.size() - 1));
    return text;
}

// Digits grouped by one mark in threes after a first group of one to three
// ("1,234,567"), or digits alone; the digits without marks, or nullopt.
std::optional<std::string> groupedDigits(std::string_view part)
{
    std::string digits;
    char mark = 0;
    size_t groupLength = 0;
    bool firstGroup = true;
    for (const char c : part) {
        if (isDigit(c)) {
            digits += c;
            ++groupLength;
            continue;
        }
        if (!isGroupMark(c) || (mark != 0 && c != mark) || groupLength == 0 || groupLength > 3
            || (!firstGroup && groupLength != 3))
            return std::nullopt;
        mark = c;
        firstGroup = false;
        groupLength = 0;
    }
    if (mark != 0 && groupLength != 3)
        return std::nullopt;
    return digits;
}

// Where the decimal character stands in a mantissa, or npos for none.
size_t decimalPosition(std::string_view mantissa, char localeDecimal)
{
    const size_t lastPoint = mantissa.rfind('.');
    const size_t lastComma = mantissa.rfind(',');
    if (lastPoint != std::string_view::npos && lastComma != std::string_view::npos)
        return std::max(lastPoint, lastComma); // "1,234.50" and "1.234,50": the last one
    // Thousands parted by blanks or apostrophes: one point or comma after them
    // is the decimal character, in any locale ("1 234,5", "1'234.50").
    const size_t lastOther = mantissa.find_last_of(" '");
    const size_t single = lastPoint != std::string_view::npos ? lastPoint : lastComma;
    if (lastOther != std::string_view::npos && single != std::string_view::npos && single > lastOther
        && mantissa.find_first_of(".,") == single)
        return single;
    if (lastPoint != std::string_view::npos)
        return mantissa.find('.') == lastPoint ? lastPoint : std::string_view::npos; // "1.234.567" groups
    if (lastComma != std::string_view::npos && localeDecimal == ',')
        return mantissa.find(',') == lastComma ? lastComma : std::string_view::npos;
    return std::string_view::npos;
}

} // namespace

std::optional<double> readDecimalText(std::string_view given, char localeDecimal)
{
    const std::string plain = plainNumberText(given);
    std::string_view text = withoutCurrency(trimmed(plain));
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text = withoutCurrency(trimmed(text.substr(1))); // "-$5" as well as "$-5"
    }
    std::string_view exponent;
    if (const size_t e = text.find_first_of("eE"); e != std::string_view::npos) {
        exponent = text.substr(e + 1);
        text = text.substr(0, e);
        std::string_view digits = exponent;
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit))
            return std::nullopt;
    }
    const size_t decimal = decimalPosition(text, localeDecimal);
    const std::string_view wholePart = text.substr(0, decimal);
    const std::string_view fraction = decimal == std::string_view::npos ? std::string_view{} : text.substr(decimal + 1);
    const auto whole = groupedDigits(wholePart);
    if (!whole || !std::all_of(fraction.begin(), fraction.end(), isDigit) || (whole->empty() && fraction.empty()))
        return std::nullopt;
    std::string normal = (whole->empty() ? std::string("0") : *whole) + "." + std::string(fraction) + "0";
    if (!exponent.empty())
        normal += "e" + std::string(exponent.front() == '+' ? exponent.substr(1) : exponent);
    double value = 0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (error != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

namespace {

// A number, a blank and words ("1994 and more", "12.50 USD"): the number.
// What follows the blank must be a word: "12 50" or "1 234,5" read as 12 or
// 1 would be another number than the one written.
std::optional<double> leadingNumber(std::string_view given, char localeDecimal)
{
    const std::string plain = plainNumberText(given);
    const std::string_view text = trimmed(plain);
    const size_t blank = text.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = trimmed(text.substr(blank));
    const char next = rest.empty() ? ' ' : rest.front();
    if (isDigit(next) || next == '.' || next == ',' || next == '-' || next == '+' || next == '\'' || next == '/')
        return std::nullopt;
    return readDecimalText(text.substr(0, blank), localeDecimal);
}

} // namespace

std::optional<double> readNumberText(std::string_view text, char localeDecimal)
{
    if (const auto number = readDecimalText(text, localeDecimal))
        return number;
    return leadingNumber(text, localeDecimal);
}

std::optional<double> readWholeText(std::string_view text, char localeDecimal)
{
    const auto number = readNumberText(text, localeDecimal);
    if (number && std::trunc(*number) != *number)
        return std::nullopt; // "1.5" is no whole number, and rounding it would change it
    return number;
}

std::string ratingOutOfTen(std::string_view text, int scale)
{
    const auto number = readNumberText(text, '.');
    if (!number || *number <= 0 || scale <= 0)
        return {};
    // To the nearest half point out of ten: five stars with halves double exactly.
    const double tenths = std::round(std::min(*number, static_cast<double>(scale)) * 10.0 / scale * 2.0) / 2.0;
    if (tenths <= 0)
        return {};
    char out[24];
    std::snprintf(out, sizeof out, std::floor(tenths) == tenths ? "%.0f/10" : "%.1f/10", tenths);
    return out;
}

} // namespace exchange
