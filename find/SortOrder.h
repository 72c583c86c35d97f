#pragma once

#include <array>
#include <string>

namespace db {
class Table;
}

namespace find {

// The four sort keys: schema positions 1..40, 0 for none.
using SortKeys = std::array<int, 4>;

// The dBASE key expression of the sort index "NewIndex": character fields as
// Upper(Left(field,w)) with w = 80 divided among all chosen keys, whole numbers
// STR(field,12,0), decimal numbers STR(field,12,2), dates DTOS(field), joined
// by "+". Empty when no key is chosen; keys outside 1..40 count as none.
std::string buildSortString(const SortKeys& keys);

// The name of the sort index tag.
inline constexpr const char* kSortTag = "NewIndex";

// A new sort order refused because another copy holds the collection.
extern const char* const kSortOrderInUse;

// Makes the sort index of an expression on a table (open for exclusive use,
// or closed): the tag NewIndex built anew (a tag of that name is replaced in
// the same rebuild, so the collection is never left without one), or taken
// away when the expression is empty.
void applySortOrder(db::Table& table, const std::string& expression);

// The schema positions a sort expression orders by, in its order: the
// fields named inside its Left(...), STR(...) and DTOS(...) terms.
SortKeys sortKeysOfExpression(const std::string& expression);

} // namespace find
