#include "EditText.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace db {

namespace {

EditTextFormat& currentFormat()
{
    static EditTextFormat format;
    return format;
}

constexpr long long kEpochOffset = 25569; // days from 1899-12-30 (day 0) to 1970-01-01

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

CivilDate today()
{
    const std::chrono::year_month_day ymd(std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

// Calendar arithmetic is the standard library's (proleptic Gregorian).
bool isValidCivilDate(const CivilDate& d)
{
    using namespace std::chrono;
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31
        && year_month_day(year(d.year), month(static_cast<unsigned>(d.month)), day(static_cast<unsigned>(d.day))).ok();
}

double dayNumberFromCivil(const CivilDate& d)
{
    using namespace std::chrono;
    const sys_days date{year(d.year) / month(static_cast<unsigned>(d.month)) / day(static_cast<unsigned>(d.day))};
    return static_cast<double>(date.time_since_epoch().count() + kEpochOffset);
}

CivilDate civilFromDayNumber(double dayNumber)
{
    using namespace std::chrono;
    const year_month_day date{sys_days{days{static_cast<long long>(std::floor(dayNumber)) - kEpochOffset}}};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

std::optional<CivilDate> parseStoredDate(std::string_view s)
{
    if (s.size() != 8)
        return std::nullopt;
    // All eight at once: a digit has 3 in its high half and at most 9 in its low half.
    uint64_t v;
    std::memcpy(&v, s.data(), 8);
    const uint64_t low = v & 0x0F0F0F0F0F0F0F0FULL;
    if ((v & 0xF0F0F0F0F0F0F0F0ULL) != 0x3030303030303030ULL || ((low + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) != 0)
        return std::nullopt;
    auto digit = [&s](int i) { return s[static_cast<size_t>(i)] - '0'; };
    const CivilDate d{digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3), digit(4) * 10 + digit(5),
                      digit(6) * 10 + digit(7)};
    if (!isValidCivilDate(d))
        return std::nullopt;
    return d;
}

std::string storedDateText(const CivilDate& d)
{
    std::string s(8, '0');
    const int parts[] = {d.year / 100, d.year % 100, d.month, d.day};
    for (int i = 0; i < 4; ++i) {
        s[i * 2] = static_cast<char>('0' + parts[i] / 10 % 10);
        s[i * 2 + 1] = static_cast<char>('0' + parts[i] % 10);
    }
    return s;
}

const EditTextFormat& editTextFormat()
{
    return currentFormat();
}

void setEditTextFormat(const EditTextFormat& format)
{
    currentFormat() = format;
}

std::string formatShortDate(const CivilDate& date)
{
    return formatShortDate(date, currentFormat());
}

std::string formatYearFirstDate(const CivilDate& date)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string formatShortDate(const CivilDate& date, const EditTextFormat& format)
{
    std::string out;
    formatShortDate(date, format, out);
    return out;
}

namespace {
// The pattern as pieces: 'm', 'M' (two digits), 'd', 'D', 'y' (two-digit
// year), 'Y' (four digits), '/' (the separator) or a literal character.
std::string compilePattern(const std::string& p)
{
    std::string pieces;
    for (size_t i = 0; i < p.size();) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(p[i])));
        size_t run = 1;
        while (i + run < p.size() && std::tolower(static_cast<unsigned char>(p[i + run])) == c)
            ++run;
        if (c == 'm' || c == 'd')
            pieces += run >= 2 ? static_cast<char>(std::toupper(c)) : c;
        else if (c == 'y')
            pieces += run >= 3 ? 'Y' : 'y';
        else
            pieces.append(run, p[i] == '/' ? '/' : p[i]);
        i += run;
    }
    return pieces;
}
} // namespace

ShortDateWriter::ShortDateWriter(const EditTextFormat& format)
    : m_pieces(compilePattern(format.shortDatePattern))
    , m_separator(format.dateSeparator)
{
    // A pattern whose text could outgrow kMaxLength loses its last pieces,
    // so that write() needs no check per character.
    size_t longest = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const char piece = m_pieces[i];
        const size_t width = piece == 'Y' ? 4 : (piece == 'm' || piece == 'M' || piece == 'd' || piece == 'D' || piece == 'y') ? 2 : 1;
        if (longest + width > kMaxLength) {
            m_pieces.resize(i);
            break;
        }
        longest += width;
    }
}

size_t ShortDateWriter::write(const CivilDate& date, char* out) const
{
    char* at = out;
    auto two = [&at](int v, bool pad) {
        if (pad || v >= 10)
            *at++ = static_cast<char>('0' + v / 10 % 10);
        *at++ = static_cast<char>('0' + v % 10);
    };
    for (const char piece : m_pieces) {
        switch (piece) {
        case 'm': two(date.month, false); break;
        case 'M': two(date.month, true); break;
        case 'd': two(date.day, false); break;
        case 'D': two(date.day, true); break;
        case 'y': two(date.year % 100, true); break;
        case 'Y':
            two(date.year / 100, true);
            two(date.year % 100, true);
            break;
        case '/': *at++ = m_separator; break;
        default: *at++ = piece;
        }
    }
    return static_cast<size_t>(at - out);
}

void formatShortDate(const CivilDate& date, const EditTextFormat& format, std::string& out)
{
    // Field texts format a date for every record a scan reads: the writer for
    // the last pattern seen is kept.
    static thread_local std::string lastPattern;
    static thread_local char lastSeparator = 0;
    static thread_local std::optional<ShortDateWriter> writer;
    if (!writer || format.shortDatePattern != lastPattern || format.dateSeparator != lastSeparator) {
        lastPattern = format.shortDatePattern;
        lastSeparator = format.dateSeparator;
        writer.emplace(format);
    }
    char text[ShortDateWriter::kMaxLength];
    out.assign(text, writer->write(date, text));
}

std::optional<CivilDate> parseShortDate(std::string_view text)
{
    return parseShortDate(text, currentFormat());
}

std::optional<CivilDate> parseShortDate(std::string_view text, const EditTextFormat& format)
{
    // The order of day, month and year comes from the pattern's letters.
    std::vector<char> order;
    for (char ch : format.shortDatePattern) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if ((c == 'm' || c == 'd' || c == 'y') && (order.empty() || order.back() != c))
            order.push_back(c);
    }
    if (order.size() != 3)
        order = {'m', 'd', 'y'};

    text = trimBlanks(text);
    std::vector<std::pair<int, size_t>> parts; // value, digit count
    size_t i = 0;
    while (i < text.size()) {
        size_t start = i;
        while (i < text.size() && text[i] == ' ')
            ++i;
        start = i;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 9)
            value = value * 10 + (text[i++] - '0');
        if (i == start)
            return std::nullopt;
        parts.emplace_back(value, i - start);
        while (i < text.size() && text[i] == ' ')
            ++i;
        if (i < text.size()) {
            if (text[i] != format.dateSeparator || parts.size() == 3)
                return std::nullopt;
            ++i;
            if (i == text.size())
                return std::nullopt;
        }
    }
    if (parts.size() != 3)
        return std::nullopt;

    CivilDate d;
    for (size_t k = 0; k < 3; ++k) {
        const auto [value, digits] = parts[k];
        switch (order[k]) {
        case 'm': d.month = value; break;
        case 'd': d.day = value; break;
        default:
            if (digits <= 2) {
                // Two-digit years fall in the century window ending 20 years ahead.
                const int pivot = today().year + 20;
                int year = pivot / 100 * 100 + value;
                if (year > pivot)
                    year -= 100;
                d.year = year;
            } else {
                d.year = value;
            }
        }
    }
    if (!isValidCivilDate(d))
        return std::nullopt;
    return d;
}

std::string formatGeneralNumber(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s = buf;
    // Exponents are written without "+" and without leading zeros, as in 1.5E20.
    const size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string mantissa = s.substr(0, e);
        std::string exponent = s.substr(e + 1);
        bool negative = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-'))
            exponent.erase(0, 1);
        while (exponent.size() > 1 && exponent[0] == '0')
            exponent.erase(0, 1);
        s = mantissa + "E" + (negative ? "-" : "") + exponent;
    }
    const char sep = currentFormat().decimalSeparator;
    if (sep != '.')
        for (char& c : s)
            if (c == '.')
                c = sep;
    return s;
}

std::optional<double> parseDecimalNumber(std::string_view text)
{
    text = trimBlanks(text);
    if (text.empty())
        return std::nullopt;
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-')
            return std::nullopt;
    }
    // from_chars would also take "inf" and "nan": only digits, a point or a sign may lead.
    const char lead = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
    if (!((lead >= '0' && lead <= '9') || lead == '.'))
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                           std::chars_format::general);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace db
