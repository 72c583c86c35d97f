#pragma once

// What the command-line commands share: argument checks, the settings in
// force, the sort order and the search criteria of --level.

#include "ReportBytes.h"
#include "ReportTypes.h"
#include "Search.h"
#include "Settings.h"

#include <QPageSize>

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace db {
class Table;
}

namespace cli::detail {

// A command line the tool cannot read: exit code 2 with the usage hint.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void expectArguments(const std::vector<std::string>& args, size_t count);
// Where a command says what it wrote: standard error when its output went to
// standard output ("-", /dev/stdout), where the words would end up inside the file.
std::ostream& summaryStream(const std::string& destination, std::ostream& out, std::ostream& err);
// The settings file's settings, defaults filled in.
app::Settings effectiveSettings();
// The date format and decimal character of the settings, for every edit text.
void applyEditTextFormat(const app::Settings& settings);
// Selects the sort order's tag when the table has one, and goes to the first record.
void selectSortIndex(db::Table& table);
// While the table waits for another copy of the program (its batch of
// changes, or its whole-collection read), says so once on err.
void sayWhileWaiting(db::Table& table, std::ostream& err);
// Says why a reader goes on without its index or with a damaged file.
void warnOfProblems(const db::Table& table, std::ostream& err);
// Adds one --level of criteria to items; false after saying what is wrong.
bool addLevel(const std::string& text, std::vector<find::SearchItem>& items, std::ostream& err);

// Opens a collection for a bulk change: alone when no other copy has it open
// (its index is then written once, when it closes), else shared.
void openForBulkWork(db::Table& table, const std::string& path, std::ostream& err);

int exportRecords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int importRecords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The report engine measures text with Qt's fonts, which need a GUI application.
void ensureGuiApplication();
// Replays a recorded job into a PDF file titled as given; the engine's message when it fails, else "".
QString writePdf(const engine::ReportBytes& recording, const std::string& path, const QPageSize& paper,
                 engine::TOrientation orientation, const QString& title);
int labels(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int statistics(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int backupFiles(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int lookupIndex(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int lookupFilm(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int fillFromLookup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "1 record", "2 records".
std::string plural(uint64_t n, const char* one, const char* many);

} // namespace cli::detail
