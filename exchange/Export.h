#pragma once

// Export: the collection, or the records of the current search, to a
// delimited text file or to a new dBASE table, in the fields and order the
// user chose. The output is written beside its destination and renamed into
// place when complete: a failed or cancelled export leaves the destination as
// it was.

#include "Translatable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace db {
class Table;
}

namespace exchange {

enum class ExportKind { Ascii = 1, DBase = 2 };

// One collection field's place in the export layout.
struct ExportLayoutEntry {
    int position = 0; // export position 1..40
    bool exported = true;
};

// A field of the export list, in export order.
struct ExportField {
    int schemaPosition = 0; // 1..40
    int tableField = -1;    // the table's field index
    std::string label;      // the header line's text (UTF-8)
};

// The export list: for each export position 1..40 the first field in schema
// order that has it, when it is exported. layout and labels are indexed by
// schema position - 1.
std::vector<ExportField> exportList(const std::vector<ExportLayoutEntry>& layout, const std::vector<std::string>& labels,
                                    const db::Table& table);

struct ExportOptions {
    bool header = true; // text files: a first line of field labels
    // After every record written, with the count so far; returning false cancels.
    std::function<bool(uint64_t written)> progress;
    // An HTML page's own words (its search box, its count) in the user's language.
    db::Speak speak;
    // A text export in an index's order reads the file in passes and holds
    // the lines of a pass (about this many bytes) until their turn comes.
    size_t linesHeldInOrder = size_t{96} << 20;
    // Tellico, HTML and Kodi exports: the films' covers taken along.
    bool withCovers = false;
};

struct ExportResult {
    uint64_t written = 0;
    bool cancelled = false; // nothing was written to the destination
    uint64_t covers = 0;    // pictures taken along (withCovers)
    std::vector<std::string> coversNotWritten; // each with why
};

// Writes the table's visible records (its current order, its filter when on)
// from the first, in the collection's encoding (Windows-1252 or UTF-8). A
// failure throws db::DbError and leaves the destination untouched.
ExportResult exportDelimited(db::Table& table, const std::vector<ExportField>& fields, const std::string& path,
                             const ExportOptions& options);
// A dBASE table of the export list's fields: character fields of their width,
// whole numbers N(11), decimal numbers F(20,4), dates D; no index.
ExportResult exportDbf(db::Table& table, const std::vector<ExportField>& fields, const std::string& path,
                       const ExportOptions& options);

// Tellico's XML of the visible records: a video collection with the standard
// fields filled, and every value under its own name as well, so that this
// program's import reads the file back to the same records.
ExportResult exportTellico(db::Table& table, const std::string& path, const ExportOptions& options);

// A Kodi movie library of the visible records in a folder: for each film a
// folder "Title (Year)" holding "Title (Year).nfo" and, withCovers, its poster
// "Title (Year)-poster.jpg", as Kodi and MediaElch read them. Films of one
// name ("Heat (1995)" on VHS and DVD) get folders "Heat (1995)", "Heat (1995) [2]".
ExportResult exportKodi(db::Table& table, const std::string& folder, const ExportOptions& options);

// One self-contained HTML page of the visible records in the given columns (the
// viewer's, with their names as labels): a search box and columns that sort when
// their header is clicked, readable on a phone, nothing fetched from a network.
// "Reelkeeper Videos (MASTER)" for MASTER.DBF: an HTML catalogue's title, as the main window's caption
// names the collection.
std::string catalogueTitle(const std::string& collectionPath);

ExportResult exportHtml(db::Table& table, const std::vector<ExportField>& columns, const std::string& path,
                        const std::string& title, const ExportOptions& options);

} // namespace exchange
