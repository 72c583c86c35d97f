#pragma once

// Columns matched to collection fields by the names in a file's first line:
// the user's display names, the stored field names, the default display names
// and the names other catalogues and spreadsheets give the same things
// ("Name", "Directors", "Genres", "Runtime", "Plot", ...).

#include "Import.h"

#include <string>
#include <string_view>
#include <vector>

namespace exchange {

// A name reduced to what matching compares: lower case letters and digits,
// accents and everything else left out ("Runtime (mins)" as "runtimemins").
std::string matchingKey(std::string_view utf8Name);

// For each column name (UTF-8), the schema position 1..40 of the field it
// matches, or 0. displayNames are the user's names of positions 1..40 (empty:
// the defaults). A field takes the first column that matches it; exact names
// are matched before common ones, so "Rating" is the rating and "Your Rating"
// the personal rating.
ImportMap matchColumns(const std::vector<std::string>& columnNames, const std::vector<std::string>& displayNames = {});

// Where an import starts before the user changes anything: columns matched by
// their names when the names are field names (a dBASE table's, or a text
// file's first line) and one of them matches; otherwise each column goes to
// the field in its place.
ImportMap startingMap(const ImportSource& source, bool firstLineNamesFields,
                      const std::vector<std::string>& displayNames = {});

} // namespace exchange
