#pragma once

#include "FileIO.h"
#include "TextEncoding.h"

#include <functional>
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
