#pragma once

// Import: new records for the open collection from a delimited text file or a
// dBASE table. Every imported record is a new record; existing records are
// never changed. Each value is stored by the type of the collection field it
// goes to (see storeValue in Import.cpp).

#include "CoverStore.h"
#include "DbError.h"
#include "TextEncoding.h"

#include <array>
#include <exception>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace db {
class Table;
}

namespace exchange {

enum class ImportKind { Ascii = 1, DBase = 2 };

// A file chosen for import and what the import window shows of it.
struct ImportSource {
    ImportKind kind = ImportKind::Ascii;
    std::string path;
    // The import fields, in file order (UTF-8): the first line's values or
    // the dBASE table's field names. At most 50.
    std::vector<std::string> fieldNames;
    bool utf8 = false;   // a text file read as UTF-8
    int fileFields = 0;  // a dBASE table's own field count (more than 50 are not all offered)
};

// Checks a text file's first line. Returns the FirstLineResult; on flOk the
// source holds the field names. A file that cannot be read throws db::DbError.
int openDelimitedSource(const std::string& path, ImportSource& source);
// The field names of a dBASE table (its first 50); db::DbError when the table
// engine cannot read it.
ImportSource openDbfSource(const std::string& path);

// True when the text is valid UTF-8 holding at least one non-ASCII character:
// such a file is read as UTF-8, any other as Windows-1252.
bool isUtf8Text(const std::string& path);

// One pass over a whole text file: its encoding, and whether a NUL character
// anywhere in it makes it binary.
struct TextScan {
    bool utf8 = false;
    bool hasNul = false;
};
TextScan scanTextFile(const std::string& path);

// For each import field, the schema position (1..40) of the collection field
// that receives it, or 0 for none.
using ImportMap = std::vector<int>;

// The import window's grid, rows 1..40 (or more): each row's import field
// name and whether its USE cell reads "Yes". An import field goes to the
// first row that carries its name, when that row is in use; a name found in
// no row, or only below row 40, is not imported.
struct ImportRow {
    std::string name;
    bool use = false;
};
ImportMap importMapOf(const std::vector<std::string>& fieldNames, const std::vector<ImportRow>& rows);

struct ImportOptions {
    bool skipFirst = true; // text files: the first line names the fields and is no record
    // A record whose title and year match one in the collection (case, accents and a leading
    // article aside) is not imported again.
    bool skipExisting = false;
    // After every record posted, with the count read so far; returning false cancels.
    std::function<bool(uint64_t imported)> progress;
    // Records appended under one hold of the table's update lock.
    uint32_t batchSize = 10000;
    // How large a catalogue's pictures are kept as covers (the user's Cover Size).
    covers::CoverLimits coverLimits;
};

struct ImportResult {
    uint64_t imported = 0;
    uint64_t changedValues = 0;   // values with characters Windows-1252 cannot hold, stored with "?"
    uint64_t plainFormValues = 0; // values with such characters stored in their nearest plain form
    uint64_t cutValues = 0;     // values longer than 255 characters, cut
    uint64_t notNumbers = 0;    // values for number fields that are no number, left empty
    uint64_t tooLarge = 0;      // numbers too large for their fields, left empty
    std::vector<std::string> tooLargeFields; // the display names of the fields those were for
    uint64_t lineBreaks = 0;    // line breaks inside quoted values, stored as blanks
    uint64_t skippedExisting = 0; // records already in the collection, not imported again
    uint64_t cutToWidth = 0;      // values longer than their field, cut to it
    std::vector<std::string> cutFields; // the display names of the fields those were cut for
    uint64_t listItemsLeftOut = 0;      // names, genres or key words of another catalogue's lists that did not fit
    std::vector<std::string> listFields; // the display names of the fields those were for
    std::vector<db::DbError> leftOutFiles; // files of a folder that held no record, each with why
    uint64_t coversTaken = 0; // pictures a catalogue gave, kept as their films' covers
    uint64_t coversKept = 0;  // films that had a cover already, which stays
    // Pictures a catalogue named that were missing or could not be read: each
    // film, "Title (Year)", was imported without its cover.
    struct CoverNotTaken {
        std::string film;
        db::DbError why;
    };
    std::vector<CoverNotTaken> coversNotTaken;
    bool cancelled = false;
    std::string error; // what stopped the import ("" when it ran to its end)
    std::exception_ptr failure; // the failure behind error, when it was one, for speaking it
};

// Imports every record of the source into the open table. Nothing is thrown:
// a failure ends the import with its message in error, and the records
// imported before it stay.
ImportResult importRecords(db::Table& table, const ImportSource& source, const ImportMap& map,
                           const ImportOptions& options);

// One record of another catalogue, its values (UTF-8) by schema position 1..40
// at index position - 1; an empty value leaves the field empty.
using CollectionValues = std::array<std::string, 40>;
// The index in CollectionValues of a field, by its stored name ("Title" 0, "Year" 10).
size_t valueIndex(const char* storedName);
// Fills the next record; false at the end. May throw db::DbError.
using NextValues = std::function<bool(CollectionValues& values)>;

// Imports every record next gives, as importRecords does: values cut to their
// field's width are counted by field, characters the collection cannot store
// take their nearest plain form. The lists another catalogue gives are shaped
// for the collection: the first genre is the category and the others key
// words, and a list of names, genres or key words longer than its field keeps
// the whole items that fit (the others counted, by field).
ImportResult importValues(db::Table& table, const NextValues& next, const ImportOptions& options);

// The key a record is known by when a newer export of the same list comes in:
// the title as Find Duplicates compares it (db::sameTitleKey), and the year.
std::string sameFilmKey(std::string_view utf8Title, std::string_view year);

// The first records of a source (at most count), each value as UTF-8, for the
// import window to show before anything is stored. A file that cannot be read
// gives what was read before the failure.
std::vector<std::vector<std::string>> firstRecords(const ImportSource& source, bool skipFirst, int count);

// A value as the collection field at a schema position would hold it (UTF-8):
// in the characters a collection of that encoding holds and cut to the
// field's width; a number as the collection shows it, "" where it is no
// number or too large for its field.
std::string storedPreview(const std::string& utf8Value, int position, db::TextEncoding encoding);

// The message shown when an import ends: "Import Complete." or what stopped
// it, with the counts that matter.
std::string importMessage(const ImportResult& result, const db::Speak& speak = {});

// The message for a date value that does not convert.
std::string invalidDateMessage(const std::string& value);

} // namespace exchange
