#include "RegionalFormats.h"

#include "Cp1252.h"

#include <QLocale>

namespace app {

namespace {
constexpr std::array<DateFormatChoice, 12> kChoices = {{
    {"mm/dd/yy", '/', "mm/dd/yy", "m/d/yy"},
    {"mm-dd-yy", '-', "mm/dd/yy", "m/d/yy"},
    {"mm.dd.yy", '.', "mm/dd/yy", "m/d/yy"},
    {"dd/mm/yy", '/', "dd/mm/yy", "d/m/yy"},
    {"dd-mm-yy", '-', "dd/mm/yy", "d/m/yy"},
    {"dd.mm.yy", '.', "dd/mm/yy", "d/m/yy"},
    {"mm/dd/yyyy", '/', "mm/dd/yyyy", "m/d/yyyy"},
    {"mm-dd-yyyy", '-', "mm/dd/yyyy", "m/d/yyyy"},
    {"mm.dd.yyyy", '.', "mm/dd/yyyy", "m/d/yyyy"},
    {"dd/mm/yyyy", '/', "dd/mm/yyyy", "d/m/yyyy"},
    {"dd-mm-yyyy", '-', "dd/mm/yyyy", "d/m/yyyy"},
    {"dd.mm.yyyy", '.', "dd/mm/yyyy", "d/m/yyyy"},
}};

// Fixed notation with n decimals, right-aligned in w characters, "." as point.
QString fixed(double value, int width, int decimals)
{
    return QString::number(value, 'f', decimals).rightJustified(width, ' ');
}

QString grouped(double value, int width, int decimals, QChar decimalChar, QChar thousandChar, bool regional)
{
    QString text = fixed(value, width, decimals);
    if (regional)
        text.replace('.', decimalChar);
    text = text.trimmed();
    const bool negative = text.startsWith('-');
    int end = decimals > 0 ? text.indexOf(regional ? decimalChar : QChar('.')) : text.size();
    if (end < 0)
        end = text.size();
    const int firstDigit = negative ? 1 : 0;
    // Groups of three counted from the decimal character; none straight after a minus.
    for (int at = end - 3; at > firstDigit; at -= 3)
        text.insert(at, thousandChar);
    return text.rightJustified(width, ' ');
}
} // namespace

const std::array<DateFormatChoice, 12>& dateFormatChoices()
{
    return kChoices;
}

bool isDateFormatCode(int code)
{
    return code >= 1 && code <= 12;
}

db::EditTextFormat editTextFormatFor(int code, bool leadingZeros, char decimalSeparator)
{
    db::EditTextFormat format;
    format.decimalSeparator = decimalSeparator;
    if (!isDateFormatCode(code))
        return format;
    const DateFormatChoice& c = kChoices[static_cast<size_t>(code - 1)];
    format.dateSeparator = c.separator;
    format.shortDatePattern = leadingZeros ? c.patternWithZeros : c.patternWithout;
    return format;
}

QChar storableSeparator(QChar c)
{
    // Collections and report texts are Windows-1252. Separators it cannot
    // hold (French locales group with U+202F, some with U+2009) become the
    // no-break space it can.
    if (c.unicode() < 0x80 || db::unicodeToCp1252(c.unicode()) >= 0)
        return c;
    return c.isSpace() || c.category() == QChar::Separator_Space ? QChar(0x00A0) : QChar(' ');
}

RegionalValues RegionalValues::fromSystem()
{
    const QLocale locale = QLocale::system();
    RegionalValues v;
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    v.decimal = storableSeparator(decimal.isEmpty() ? QChar(' ') : decimal.front());
    v.thousand = storableSeparator(group.isEmpty() ? QChar(' ') : group.front());
    return v;
}

QString NumberFormats::plainNumber(double value, int width, int decimals) const
{
    QString text = fixed(value, width, decimals);
    if (numericFormat == 2)
        text.replace('.', regional.decimal);
    return text;
}

QString NumberFormats::groupedNumber(double value, int width, int decimals) const
{
    const bool regionalChars = numericFormat == 2;
    return grouped(value, width, decimals, regional.decimal, regionalChars ? regional.thousand : QChar(','),
                   regionalChars);
}

QString NumberFormats::moneyAmount(double value, int width) const
{
    const bool regionalChars = currencyFormat == 2;
    const int decimals = regionalChars ? regional.currencyDigits : 2;
    return grouped(value, width, decimals, regional.decimal, regionalChars ? regional.thousand : QChar(','),
                   regionalChars);
}

} // namespace app
