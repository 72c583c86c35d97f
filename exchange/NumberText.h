#pragma once

// Numbers as other programs write them into text files: "1234.5", "1,234.50",
// "1.234,50" where the comma is the decimal character, "1 234,5", "$12.50",
// "-3e2". A value is read whole or not at all: a number is never read as a
// different number ("1,234.50" is never 1).

#include <optional>
#include <string>
#include <string_view>

namespace exchange {

// The value as a decimal number. The point is always a decimal character;
// localeDecimal (this computer's) is one too, and so is a single point or
// comma after thousands parted by blanks ("1 234,5" in any locale). Thousands
// separators (the other of point and comma, a blank, a tab, a no-break or
// narrow no-break blank, an apostrophe) are accepted between groups of three
// digits. A currency sign ($, €, £, ¥, in UTF-8 or Windows-1252) before or
// after, blanks around, a sign and an exponent are allowed. nullopt when the
// text is no number.
std::optional<double> readDecimalText(std::string_view text, char localeDecimal);

// The value as a number: a decimal number as above, or one followed by a
// blank and other words ("1994 and more" is 1994, "12.50 USD" 12.5).
// nullopt for anything else ("about 90", "1,5" where the comma groups,
// "12 50" where the words are another number).
std::optional<double> readNumberText(std::string_view text, char localeDecimal);

// The same for a whole number: nullopt for a number with a fraction ("1.5").
std::optional<double> readWholeText(std::string_view text, char localeDecimal);

// A rating read from text ("4.5" of 5, "8" of 10) on the one scale the
// collection keeps imported ratings on, out of ten ("9/10", "8/10", "7.5/10");
// "" for no rating (0 or no number).
std::string ratingOutOfTen(std::string_view text, int scale);

} // namespace exchange
