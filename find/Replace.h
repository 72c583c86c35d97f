#pragma once

#include "Search.h"
#include "Table.h"

#include <functional>
#include <optional>
#include <string>

namespace find {

// One global search and replace: the field, what to find and what to put in
// its place, read by the field's class.
struct ReplaceSpec {
    int position = 0; // schema position 1..40
    RowClass kind = RowClass::Text;
    std::string search;       // text fields: upper-cased, the whole field must equal it
    std::string replacement;  // trimmed, in normal form C (UTF-8)
    double searchValue = 0;   // number, or date as a day number
    double replacementValue = 0;
};

// Search and replace refused because another copy holds the collection.
extern const char* const kReplaceInUse;

struct ReplaceCounters {
    uint64_t processed = 0;
    uint64_t found = 0;
    uint64_t changed = 0;
};

// Checks and reads the two texts typed for a field. Returns the message of
// the first problem (and which box: 0 search, 1 replacement), or the run to make.
struct ReplaceCheck {
    std::optional<ReplaceSpec> spec;
    db::Message message; // why the texts cannot be used, for the window to speak
    int box = 0;
};
ReplaceCheck checkReplace(int position, const std::string& searchText, const std::string& replacementText,
                          const db::EditTextFormat& dates = db::editTextFormat());

// The same for the texts as the user typed them, for a collection of that
// encoding: a text holding characters that a Windows-1252 collection cannot
// store is refused, never changed to "?", and so is a replacement longer than
// its field.
ReplaceCheck checkTypedReplace(int position, const std::string& searchUtf8, const std::string& replacementUtf8,
                               db::TextEncoding encoding, const db::EditTextFormat& dates = db::editTextFormat());

// Runs over the table in stored order (no index selected), changing every
// record whose field matches. confirm (when given) is asked with the record's
// Title; progress is told after every record. A failure of the engine part
// way through is returned, with the counters of what was done before it.
struct ReplaceOutcome {
    ReplaceCounters counters;
    std::string failure; // empty when the run went through
};
// True when a replace in the field at a schema position needs the sort index
// put aside during the run and built anew after it: the index's key is made
// from the field (its records move), or there is no sort index to keep. Any
// other replace leaves every key as it was, and the index stays.
bool replaceRebuildsSortIndex(db::Table& table, int position);

ReplaceOutcome runReplace(db::Table& table, const ReplaceSpec& spec,
                          const std::function<bool(const std::string& title)>& confirm,
                          const std::function<void(const ReplaceCounters&)>& progress);

} // namespace find
