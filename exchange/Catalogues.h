#pragma once

// Other catalogues' exports, recognised by what they hold and imported field
// by field into the collection (the XML ones are read in XmlCatalogues):
// - IMDb's ratings, watchlist and list exports (CSV; columns found by name);
// - Letterboxd's diary, ratings, watched and watchlist exports, and its list
//   export (a line "Letterboxd list export", the list's own table, then the
//   films' table).

#include "Import.h"

#include <string>

namespace exchange {

enum class CatalogueFormat { Text, Imdb, Letterboxd, Gcstar, Tellico, Nfo };

// The format a file's first lines show (a folder: .nfo files); Text for anything else.
CatalogueFormat recogniseCatalogue(const std::string& path);
// "IMDb", "Letterboxd", "GCstar", "Tellico", "Kodi .nfo", "text".
const char* catalogueName(CatalogueFormat format);

// Imports a catalogue's records. A file that is not the format named gives
// an error naming what is missing; nothing is thrown.
ImportResult importCatalogue(db::Table& table, const std::string& path, CatalogueFormat format,
                             const ImportOptions& options);

} // namespace exchange
