#pragma once

#include "EditText.h"
#include "Record.h"

#include <array>
#include <string>
#include <vector>

namespace find {

// One test of a search. Items form levels: a level is a run of items closed
// by one with levelEnd set; all items of a level must pass, and a record
// passes the search when any level does.
struct SearchItem {
    enum Test { Equal = 1, Greater = 2, Less = 3, Contains = 5, AnyKeyWord = 6, AnyStar = 7 };
    std::string value;              // the criterion in capitals (UTF-8), at most 110 characters
    std::vector<std::string> words; // the key words of an AnyKeyWord test, split once
    double number = 0;
    double date = 0;
    int field = 0;                  // schema position 1..40
    int test = Contains;
    bool levelEnd = false;
    bool isDate = false;
};

constexpr int kMaxSearchItems = 75;
constexpr int kMaxLevels = 10;

// The record filter: runs the stored items against one collection record
// (fields in schema order). Text is compared in capitals: an ASCII criterion
// in the stored bytes, with no parsing and no allocation per record; one with
// other letters ("łódź") in the field's text, every letter in capitals.
bool BuildFilter(const std::vector<SearchItem>& items, const db::Record& record);

// The criteria typed for one level: per schema position, the cell text and
// the row operator (1 =, 2 >, 3 <, 4 range).
struct CriteriaRow {
    std::string text; // UTF-8
    int op = 1;
};
using CriteriaLevel = std::array<CriteriaRow, 40>;

// The outcome of turning one level's rows into items.
struct SaveResult {
    enum Kind { Saved, NoCriteria, Invalid, TooMany } kind = Saved;
    int row = 0; // the offending schema position for Invalid
};

// SaveFields: adds the level's items after those already in items and closes
// the level. On Invalid or NoCriteria the level's items are dropped again; on
// TooMany (over 75 items in all) every item is dropped.
SaveResult saveLevel(const CriteriaLevel& rows, std::vector<SearchItem>& items,
                     const db::EditTextFormat& dates = db::editTextFormat());

// The search window's messages.
extern const char* const kInvalidCriteria;   // "Invalid search criteria entered.  Please correct."
extern const char* const kNoCriteria;        // "No search criteria entered."
extern const char* const kNoMatches;         // "No valid matches found.  Search Criteria will be cleared."
extern const char* const kTooManyItems;      // the same with %1 for the most items a search may hold
std::string tooManyItemsMessage();

// Row classes by the schema's field kinds.
enum class RowClass { Text, Number, Date };
RowClass rowClass(int position);
// Fields whose "..." cell offers values from a list.
bool isValueListRow(int position);

} // namespace find
