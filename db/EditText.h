#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace db {

// Dates travel through the program as day numbers counted from 30 December
// 1899 (day 0 is the empty date), the same count the search items and the
// reports use. Stored dates are dBASE's YYYYMMDD text.

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Today on the system clock.
CivilDate today();

bool isValidCivilDate(const CivilDate& date);
double dayNumberFromCivil(const CivilDate& date);
CivilDate civilFromDayNumber(double dayNumber);

// YYYYMMDD as stored in a date field; nullopt when the text is not a real date
// (blank, non-digits, month 13, 31 February ...).
std::optional<CivilDate> parseStoredDate(std::string_view eightChars);
std::string storedDateText(const CivilDate& date);

// The program-wide short date format and decimal character that every
// conversion between a field and its edit text uses. The regional settings of
// the program set them; the defaults are the U.S. forms.
struct EditTextFormat {
    char dateSeparator = '/';
    std::string shortDatePattern = "m/d/yy"; // m, mm, d, dd, yy, yyyy and '/' for the separator
    char decimalSeparator = '.';
};

const EditTextFormat& editTextFormat();
void setEditTextFormat(const EditTextFormat& format);

// Writes dates in one short date format, its pattern worked out once: passes
// over many records format a date for every record.
class ShortDateWriter {
public:
    explicit ShortDateWriter(const EditTextFormat& format);
    // The longest text write() produces.
    static constexpr size_t kMaxLength = 64;
    // Writes date into out (kMaxLength bytes) and returns its length.
    size_t write(const CivilDate& date, char* out) const;

private:
    std::string m_pieces;
    char m_separator;
};

// A date in the current short date format ("" for the empty date).
std::string formatShortDate(const CivilDate& date);
// The date year first ("1995-12-25"), as spreadsheets and other programs exchange dates.
std::string formatYearFirstDate(const CivilDate& date);
std::string formatShortDate(const CivilDate& date, const EditTextFormat& format);
void formatShortDate(const CivilDate& date, const EditTextFormat& format, std::string& out);

// Reads a date typed in the current short date format. Day and month follow
// the pattern's order; a two-digit year lies in the 100 years that end 20
// years from now. nullopt when the text is not a valid date.
std::optional<CivilDate> parseShortDate(std::string_view text);
std::optional<CivilDate> parseShortDate(std::string_view text, const EditTextFormat& format);

// A decimal number in general format with up to 15 significant digits and the
// current decimal character, without thousands separators.
std::string formatGeneralNumber(double value);

// Reads a number with "." as decimal point: optional sign, digits, fraction,
// exponent, blanks around it allowed. nullopt for anything else.
std::optional<double> parseDecimalNumber(std::string_view text);

} // namespace db
