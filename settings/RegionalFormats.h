#pragma once

#include "EditText.h"

#include <QString>
#include <array>

namespace app {

// The twelve date formats of the Date Format menu, by code 1..12.
struct DateFormatChoice {
    const char* menuText;
    char separator;
    const char* patternWithZeros;
    const char* patternWithout;
};
const std::array<DateFormatChoice, 12>& dateFormatChoices();
bool isDateFormatCode(int code);

// The engine's edit text format for a date format code (1..12) and the
// leading-zeros flag, keeping the decimal character given.
db::EditTextFormat editTextFormatFor(int code, bool leadingZeros, char decimalSeparator = '.');

// The platform's regional values; QLocale::system() supplies them, with the
// U.S. defaults where it has none.
// A regional separator as the program uses it: one that Windows-1252 can hold.
QChar storableSeparator(QChar c);

struct RegionalValues {
    QChar decimal = '.';
    QChar thousand = ',';
    int digits = 2;
    int currencyDigits = 2;
    static RegionalValues fromSystem();
};

// The number formatting routines of reports and the record editor. Each
// returns the text right-aligned in at least width characters (longer text is
// not cut). numericFormat and currencyFormat: 1 U.S., 2 the regional values.
struct NumberFormats {
    int numericFormat = 1;
    int currencyFormat = 1;
    RegionalValues regional;

    QString plainNumber(double value, int width, int decimals) const;
    QString groupedNumber(double value, int width, int decimals) const;
    QString moneyAmount(double value, int width) const;
};

} // namespace app
