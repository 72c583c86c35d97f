#pragma once

// Stored numbers whose edit text is (nearly) their stored text: the fast
// paths of every conversion of a number field to text.

#include <string>
#include <string_view>

namespace db {

// A whole number stored as blanks, an optional minus and digits without
// leading zeros is its own edit text.
inline bool plainInteger(std::string_view digits)
{
    size_t i = digits.size() > 1 && digits[0] == '-' ? 1 : 0;
    if (i == digits.size() || (digits[i] == '0' && digits.size() > i + 1))
        return false;
    for (; i < digits.size(); ++i)
        if (digits[i] < '0' || digits[i] > '9')
            return false;
    return true;
}

// A fixed-point number written with at most 15 significant digits reads in
// general format as itself without trailing zeros ("1234.5000" is "1234.5").
// The first form gives that text with "." for its decimal point, seen in
// place; the second writes it with the current decimal character.
bool plainDecimal(std::string_view text, std::string_view& plain);
bool plainDecimal(std::string_view text, std::string& out);

} // namespace db
