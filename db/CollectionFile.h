#pragma once

#include "FileIO.h"
#include "TextEncoding.h"

#include <functional>
#include <optional>
#include <string>

namespace db {

// The message the format check shows for a table that is not a collection.
extern const char* const kNotCollectionMessage;

// The table file a path names: the path itself when it ends in .DBF (in either
// case; the other case when only that file exists), else the path with .DBF.
std::string tableFileFor(const std::string& path);
// The production index file beside a table path (same name, .MDX in the
// extension's letter case).
std::string indexFileFor(const std::string& path);

// Clears byte 28 (the production index flag) of a table file so that an
// engine opens it without its index file. Does nothing when the file cannot
// be opened for writing; write errors after that throw DbError.
void removeIndexFlag(const std::string& path);

// The format check of a collection: with the index file missing the index
// flag is cleared first; then the table is opened read-only and passes when it
// has exactly the 40 schema field names in order, compared without regard to
// letter case (types and widths are not compared). Throws DbError when the
// table cannot be opened at all. wait: told while the check waits for another
// copy of the program that is changing the table (see Table::setLockWait).
bool isCollectionTable(const std::string& path, const std::function<void(bool waiting)>& wait = {});

// Creates an empty collection table (replacing an existing file that nobody
// holds): a Unicode collection unless Windows-1252 is asked for, which older
// programs read.
void createCollectionTable(const std::string& path, TextEncoding encoding = TextEncoding::Utf8);

// A table copied to another place (a backup, a restore) takes its word on
// how it keeps its text along: the .cpg beside the copy says what the source
// is read as. A .cpg saying UTF-8 is written before the copy, one saying
// Windows-1252 after it, so that whichever table is at the destination
// meanwhile is read right by its own language byte (see Table::encodingOf);
// a copy that fails puts the destination's .cpg back as it was.
class CodePageFileCopy {
public:
    // Before the copy. Throws DbError when the .cpg cannot be written.
    CodePageFileCopy(const std::string& source, const std::string& destination);
    // Once the copy is whole. Throws DbError when the .cpg cannot be written.
    void copied();

private:
    std::string m_destination;
    TextEncoding m_encoding;
    std::optional<CodePageFileChange> m_unicode;
};

// True when the table cannot be opened exclusively: another table object or
// program holds it (the in-use test).
bool tableInUse(const std::string& path);

// The in-use test that keeps its answer: while it lives, it holds the table
// file as an exclusive open does, so no copy of the program can open the
// table until it ends (a backup or restore copies a file nobody changes).
class ExclusiveUse {
public:
    explicit ExclusiveUse(const std::string& path);
    // False when another table object or program has the table open.
    bool acquired() const { return m_acquired; }

private:
    File m_file;
    bool m_acquired = false;
};

} // namespace db
