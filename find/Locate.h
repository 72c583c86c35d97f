#pragma once

#include "Table.h"

#include <string>

namespace find {

// How a located field must match the value.
enum TMyLocateMatchType { mtExactMatch, mtPartialMatchStart, mtPartialMatchAny };

// A field text against the value: exact = the same text (two empty texts
// match); at the beginning = the value starts the text; anywhere = the value
// occurs in it (an empty value never matches either of these). Without case sensitivity both
// are compared with the letters a to z upper-cased.
bool textMatches(std::string_view fieldText, std::string_view value, TMyLocateMatchType type, bool caseSensitive);

// LocateValue: moves the table to the next record (or the first, from the
// beginning) whose field matches; false leaves the current record. Number
// fields under an exact match take the value as a number (digits with at most
// one "." and an optional leading "-"), and a value that is not one never matches.
bool LocateValue(bool fromBeginning, db::Table& table, int field, bool caseSensitive, TMyLocateMatchType type,
                 const std::string& value);

} // namespace find
