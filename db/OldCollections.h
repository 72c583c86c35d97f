#pragma once

// Collection files of the program's earlier versions: version 1.X kept the
// collection in VLOG.DBF (26 fields), version 2.X in V2LOG.DBF (29 fields).
// They are recognised by their fields and their records copied into the
// open collection.

#include <cstdint>
#include <string>
#include <vector>

namespace db {

class Table;

enum class OldVersion { V1, V2 };

// "VLOG.DBF" or "V2LOG.DBF".
const char* oldCollectionFileName(OldVersion version);

// Whether a file has the old version's structure: its field count, and the
// names of every field from the second on (the first is not looked at).
// Never throws: a file that cannot be read has no old structure.
bool isOldCollection(const std::string& path, OldVersion version);

struct ConversionResult {
    uint64_t copied = 0;  // records this run put in the collection (written and synced)
    uint64_t resumed = 0; // records an earlier run that stopped had put there already
    // Values that could not be stored (a year that is no number, a date that
    // is no date): their fields are left empty. A few examples are kept.
    uint64_t unstored = 0;
    std::vector<std::string> examples;
    // Texts longer than their field in the collection (a Unicode collection
    // takes two to four bytes for a letter beyond ASCII): cut where a
    // character ends. A few examples are kept.
    uint64_t shortened = 0;
    std::vector<std::string> shortenedExamples;
    std::string error; // what stopped the conversion, "" when every record was copied
};

// Copies every record of the old file into the open collection, in batches
// with the index kept, and syncs them. Nothing is thrown; the old file is
// left as it is (the caller deletes it with removeConvertedFile once the
// result has no error). A conversion that stopped part-way goes on, the next
// time, from the first old record that is not in the collection: a record is
// never copied twice.
ConversionResult convertOldCollection(Table& collection, const std::string& path, OldVersion version);

// Deletes a converted old file, its index and what the conversion kept beside it.
void removeConvertedFile(const std::string& path);

// What to tell the user after a conversion ("" when nothing needs saying).
std::string conversionReport(const ConversionResult& result, const std::string& oldFile);

} // namespace db
