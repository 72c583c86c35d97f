#include "CliCommands.h"
#include "CliOutput.h"
#include "CliShared.h"
#include "CoverStore.h"
#include "Duplicates.h"

#include "CollectionFile.h"
#include "ReelkeeperVersion.h"
#include "Cp1252.h"
#include "DbError.h"
#include "DelimitedText.h"
#include "IniFile.h"
#include "ProgramFolders.h"
#include "Settings.h"
#include "Schema.h"
#include "RecordTexts.h"
#include "RegionalFormats.h"
#include "ReportDefinitions.h"
#include "ReportRender.h"
#include "TextReportFile.h"
#include "PrintDevice.h"
#include "TFilePrinter.h"
#include "TReportFiler.h"
#include "Replace.h"
#include "Search.h"
#include "SortOrder.h"
#include "Table.h"

#include <QGuiApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>

namespace cli {

namespace detail {

constexpr const char* kUsage =
    "usage: reelkeeper-cli COMMAND FILE [ARGUMENTS]\n"
    "       reelkeeper-cli --version\n"
    "commands:\n"
    "  create FILE [--replace] [--encoding utf-8|windows-1252]\n"
    "                              create an empty collection, Unicode unless Windows-1252 (which older\n"
    "                              programs read) is asked for; --replace empties an existing one\n"
    "  info FILE                   records, fields, index tags, whether it is a collection\n"
    "  check FILE [--repair]       exit 0 for a sound collection, else the reasons and exit 1;\n"
    "                              --repair packs a damaged table and rebuilds its index\n"
    "  index FILE EXPRESSION       make the tag NewIndex with a dBASE key expression\n"
    "  dump FILE [--limit N]       the live records as delimited text (UTF-8)\n"
    "  pack FILE                   remove deleted records and rebuild the index\n"
    "  reindex FILE                rebuild the index\n"
    "  convert-unicode FILE        keep a Windows-1252 collection's text in Unicode (UTF-8) from now on:\n"
    "                              every record keeps its text, the index is rebuilt\n"
    "  search FILE --level \"CRITERION; ...\" [--level ...] [--count]\n"
    "                              the records that meet the criteria (CRITERION: FIELD OP VALUE,\n"
    "                              OP one of = > < ><, blanks around it optional, a range as\n"
    "                              LOW..HIGH), or only their number\n"
    "  sort FILE KEY1 [KEY2 KEY3 KEY4]  rebuild NewIndex on up to four schema positions (0 none)\n"
    "  replace FILE FIELD SEARCH REPLACEMENT  set FIELD to REPLACEMENT wherever it equals SEARCH\n"
    "  report FILE (--definition N | --name NAME) (--text OUT | --pdf OUT) [--level \"CRITERION; ...\"]...\n"
    "                              a report definition (N from 1, as the Reports list shows them)\n"
    "                              over the collection in its sort order, or over the search given\n"
    "  export FILE OUT [--level \"CRITERION; ...\"]... [--fields F1,F2,...] [--header] [--no-covers]\n"
    "                              the collection (or the search given) in its sort order as delimited\n"
    "                              text, as a dBASE table when OUT ends in .dbf, a Tellico file (.tc\n"
    "                              with its images, .xml with them in OUT_files), an HTML catalogue\n"
    "                              (.html, the viewer's columns, covers in OUT_covers) or a Kodi\n"
    "                              library (OUT a folder: an .nfo and a poster for each film); the\n"
    "                              fields given (schema or display names) or the Export window's layout\n"
    "  import FILE IN [--map SOURCE=FIELD,...] [--skip-first] [--skip-existing]\n"
    "         [--format auto|text|imdb|letterboxd|gcstar|tellico|nfo]\n"
    "                              new records from delimited text, a dBASE table (.dbf), an IMDb or\n"
    "                              Letterboxd export, a GCstar or Tellico file, or Kodi .nfo files (IN\n"
    "                              a folder of them), found from the content; columns go to\n"
    "                              the fields their names match (with --skip-first), in their place,\n"
    "                              or as mapped; --skip-existing leaves out films already held\n"
    "  backup FILE FOLDER [--lists] [--definitions]\n"
    "                              copy the collection (and the pick lists, the report definitions)\n"
    "                              into FOLDER, each replaced only once its copy is whole\n"
    "  labels FILE --stock 5199|L7654 (--face | --spine) --media M1,M2,... --pdf OUT\n"
    "                              cassette labels of those media numbers, one per position in turn\n"
    "  stats FILE [--level \"CRITERION; ...\"]... [--json]\n"
    "                              counts and shares by category, decade, rating, format, picture and\n"
    "                              sound; viewed, lent out; price totals; the most frequent stars and\n"
    "                              directors; over the collection or the search given\n"
    "  duplicates FILE [--same-year] [--same-format]\n"
    "                              the groups of records whose titles are the same once case, accents,\n"
    "                              punctuation, \"&\" for \"and\" and a leading or trailing article are\n"
    "                              set aside; optionally only when the year or the format is the same too\n"
    "  lookup-index FOLDER         builds the film lookup index from IMDb's dataset files in FOLDER\n"
    "                              (title.basics, title.ratings, title.crew, title.principals,\n"
    "                              name.basics and title.akas .tsv.gz, as downloaded) into the\n"
    "                              program folder\n"
    "  lookup TITLE [--year YEAR] | lookup ttNNNNNNN\n"
    "                              the films of the index with every word of TITLE among their\n"
    "                              titles (any order, accents and case aside), or with that IMDb id\n"
    "  fill FILE [--level \"CRITERION; ...\"]... [--source imdb|tmdb]\n"
    "                              fills the empty fields of each video (or of the search's) that has\n"
    "                              no director or no year from its film in the lookup index, when only\n"
    "                              one film can be it: the one its IMDb id names, or the one of its\n"
    "                              title and year; lists the videos with more than one possible film;\n"
    "                              tmdb asks TMDb online (the key set in Options) and takes posters as\n"
    "                              covers of the videos without one\n"
    "  settings                    the settings file's path and every setting, defaults filled in\n"
    "  hold FILE [--exclusive]     keep the table open until standard input ends\n";

constexpr const char* kSortTag = "NewIndex";

void expectArguments(const std::vector<std::string>& args, size_t count)
{
    if (args.size() != count)
        throw UsageError("wrong number of arguments for " + args[0]);
}

std::ostream& summaryStream(const std::string& destination, std::ostream& out, std::ostream& err)
{
    struct stat written {}, standardOutput {};
    const bool sameFile = ::stat(destination.c_str(), &written) == 0 && ::fstat(STDOUT_FILENO, &standardOutput) == 0
                          && written.st_dev == standardOutput.st_dev && written.st_ino == standardOutput.st_ino;
    return destination == "-" || sameFile ? err : out;
}

std::string kindLetterName(char type)
{
    switch (type) {
    case 'C': return "character";
    case 'N': return "numeric";
    case 'F': return "float";
    case 'D': return "date";
    case 'L': return "logical";
    case 'M': return "memo";
    default: return "other";
    }
}

void writeRecords(db::Table& table, long long limit, std::ostream& out);

int create(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("create needs a file");
    bool replace = false;
    db::TextEncoding encoding = db::TextEncoding::Utf8;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--replace") {
            replace = true;
        } else if (args[i] == "--encoding" && i + 1 < args.size()) {
            const std::string& name = args[++i];
            const std::optional<db::TextEncoding> named = db::encodingOfCodePage(name);
            if (!named)
                throw UsageError("--encoding takes utf-8 or windows-1252, not \"" + name + "\"");
            encoding = *named;
        } else {
            throw UsageError("unknown create argument \"" + args[i] + "\"");
        }
    }
    // A name without the extension gets it, so that the file written is the one reported and opened.
    std::string path = args[1];
    if (db::indexPathOfTableFile(path).empty())
        path += ".DBF";
    // An existing file may be a collection full of films: it is emptied only when the user says so.
    const std::string existing = db::tableFileFor(path);
    if (!replace && std::filesystem::exists(std::filesystem::symlink_status(existing))) {
        err << "reelkeeper-cli: " << existing
            << " already exists; nothing was changed (add --replace to replace it with an empty collection)\n";
        return 1;
    }
    db::createCollectionTable(replace ? existing : path, encoding);
    out << "Created " << std::filesystem::absolute(replace ? existing : path).string() << "\n";
    return 0;
}

int info(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 2);
    const bool collection = db::isCollectionTable(args[1]);
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::ReadOnly);
    out << "File: " << table.filePath() << "\n";
    out << "Records: " << table.recordCount() << " (" << table.physicalRecordCount()
        << " with deleted records)\n";
    out << "Collection: " << (collection ? "yes" : "no") << "\n";
    out << "Text: " << (table.encoding() == db::TextEncoding::Utf8 ? "UTF-8 (Unicode)" : "Windows-1252") << "\n";
    out << "Fields: " << table.fieldCount() << "\n";
    for (int i = 0; i < table.fieldCount(); ++i) {
        const db::FieldDef& f = table.field(i);
        out << "  " << (i + 1) << " " << db::cp1252ToUtf8(f.name) << " " << f.type << " (" << kindLetterName(f.type)
            << ") width " << f.width;
        if (f.decimals)
            out << " decimals " << f.decimals;
        out << "\n";
    }
    const auto tags = table.indexTags();
    out << "Index tags: " << tags.size() << "\n";
    for (const db::TagDefinition& t : tags)
        out << "  " << t.name << " " << t.expression << " (key length " << t.keyLength << ")\n";
    for (const std::string* problem : {&table.fileProblem(), &table.indexProblem()})
        if (!problem->empty())
            out << "Problem: " << *problem << "\n";
    if (!table.fileNote().empty())
        out << "Note: " << table.fileNote() << "\n";
    return 0;
}

// What is wrong with an open table's file and index, one line each; none when all is well.
std::vector<std::string> tableProblems(db::Table& table)
{
    std::vector<std::string> problems;
    if (!table.fileProblem().empty())
        problems.push_back(table.fileProblem());
    if (!table.indexProblem().empty())
        problems.push_back(table.indexProblem());
    const std::string index = table.checkIndex();
    if (!index.empty())
        problems.push_back(index);
    return problems;
}

int check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const bool repair = args.size() == 3 && args[2] == "--repair";
    if (!repair)
        expectArguments(args, 2);
    if (!db::isCollectionTable(args[1])) {
        out << db::kNotCollectionMessage << "\n";
        return 1;
    }
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::ReadOnly);
    std::vector<std::string> problems = tableProblems(table);
    const std::string note = table.fileNote();
    table.close();
    for (const std::string& problem : problems)
        out << problem << "\n";
    if (!note.empty())
        out << "Note: " << note << "\n";
    if ((problems.empty() && note.empty()) || !repair)
        return problems.empty() ? 0 : 1;
    if (db::tableInUse(args[1])) {
        err << "The table is in use by another program: it can be repaired only when no other program has it open.\n";
        return 1;
    }
    // Packing writes the file anew from the whole records there are and rebuilds the index.
    table.open(db::Table::OpenMode::Exclusive);
    table.pack();
    problems = tableProblems(table);
    for (const std::string& problem : problems)
        out << problem << "\n";
    if (!problems.empty())
        return 1;
    out << "Repaired " << table.filePath() << ": " << table.physicalRecordCount() << " records\n";
    return 0;
}

int index(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    expectArguments(args, 3);
    if (db::tableInUse(args[1])) {
        err << "The table is in use by another program: its index can be changed only when no other program has it "
               "open.\n";
        return 1;
    }
    db::Table table;
    table.setFilePath(args[1]);
    table.addIndex(kSortTag, args[2]);
    out << "Index " << kSortTag << " built on " << args[2] << "\n";
    return 0;
}

int dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    long long limit = -1;
    if (args.size() == 4 && args[2] == "--limit") {
        const std::string& n = args[3];
        const auto [ptr, ec] = std::from_chars(n.data(), n.data() + n.size(), limit);
        if (ec != std::errc() || ptr != n.data() + n.size() || limit < 0)
            throw UsageError("--limit needs a whole number, not \"" + n + "\"");
    } else {
        expectArguments(args, 2);
    }
    db::Table table;
    table.setFilePath(args[1]);
    sayWhileWaiting(table, err);
    table.open(db::Table::OpenMode::ReadOnly);
    selectSortIndex(table);
    writeRecords(table, limit, out);
    warnOfProblems(table, err);
    return 0;
}

int pack(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 2);
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::Exclusive);
    out << "Packed " << table.filePath() << ": " << db::Table::packMessage(table.pack()) << "\n";
    return 0;
}

int convertUnicode(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 2);
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::Exclusive);
    const db::Table::ConversionResult result = table.convertToUnicode();
    out << (result.alreadyUnicode ? "" : "Converted " + table.filePath() + ": ")
        << db::Table::conversionMessage(result) << "\n";
    return 0;
}

int reindex(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 2);
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::Exclusive);
    table.regenerateIndexes();
    out << "Rebuilt " << table.indexTags().size() << " index tag(s) of " << table.filePath() << "\n";
    return 0;
}

void sayWhileWaiting(db::Table& table, std::ostream& err)
{
    table.setLockWait([&err, said = false](bool waiting) mutable {
        if (waiting && !said)
            err << "Another copy of the program is reading or changing this collection.  Waiting until it is done..."
                << std::endl;
        said = said || waiting;
    });
}

// The record lines of dump and search: every field's edit text, quoted.
constexpr size_t kOutputBlock = size_t{1} << 20;

void writeRecords(db::Table& table, long long limit, std::ostream& out)
{
    // One state of the collection from the first record to the last: other copies' changes wait.
    const db::Table::ReadHold hold(table);
    table.first();
    db::RecordTexts texts(table.fields());
    // One line and one block of output reused throughout: a million records
    // cost no allocation each, and reach the stream a megabyte at a time.
    std::string line, block;
    block.reserve(kOutputBlock + 4096);
    for (long long written = 0; !table.isEmpty() && !table.eof() && written != limit; ++written) {
        line.clear();
        const std::vector<std::string_view>& values = texts.read(table.current().bytes());
        for (size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                line += ',';
            exchange::appendQuotedValue(line, values[i]);
        }
        block += line;
        block += '\n';
        if (block.size() >= kOutputBlock) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            checkOutput(out); // a full disk ends the walk at once
            block.clear();
        }
        table.next();
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

// A reader goes on when the index cannot be used, and says why.
void warnOfProblems(const db::Table& table, std::ostream& err)
{
    for (const std::string* problem : {&table.fileProblem(), &table.indexProblem()})
        if (!problem->empty())
            err << "reelkeeper-cli: " << *problem << "\n";
}

void selectSortIndex(db::Table& table)
{
    for (const db::TagDefinition& t : table.indexTags())
        if (t.name == kSortTag)
            table.selectIndex(kSortTag);
    table.first();
}

struct CriteriaError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string trimmed(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string unreadable(const std::string& criterion, const std::string& why)
{
    return std::string(find::kInvalidCriteria) + "\nCannot read the criterion \"" + criterion + "\": " + why + ".";
}

// One level of criteria as the search window would hold them in its rows.
find::CriteriaLevel levelFromText(const std::string& text)
{
    find::CriteriaLevel rows;
    std::vector<bool> used(40, false);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(';', start);
        const std::string criterion = trimmed(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() + 1 : end + 1;
        if (criterion.empty())
            continue;
        // FIELD OP VALUE, with or without blanks around the operator (Year>1980, Title=star).
        const size_t at = criterion.find_first_of("=<>");
        if (at == std::string::npos)
            throw CriteriaError(unreadable(criterion, "no operator (one of = > < ><)"));
        const std::string op = criterion.compare(at, 2, "><") == 0 ? "><" : criterion.substr(at, 1);
        const std::string fieldName = trimmed(criterion.substr(0, at));
        const int position = db::schemaPosition(fieldName);
        const std::string value = trimmed(criterion.substr(at + op.size()));
        if (position == 0)
            throw CriteriaError(unreadable(criterion, "no field is named \"" + fieldName + "\""));
        if (used[static_cast<size_t>(position - 1)])
            throw CriteriaError(unreadable(criterion, "the field has a criterion already in this level"));
        used[static_cast<size_t>(position - 1)] = true;
        find::CriteriaRow& row = rows[static_cast<size_t>(position - 1)];
        const bool text = find::rowClass(position) == find::RowClass::Text;
        if (op == "=") {
            row = {text ? value : "= " + value, 1};
        } else if (!text && (op == ">" || op == "<")) {
            row = {op + " " + value, op == ">" ? 2 : 3};
        } else if (!text && op == "><") {
            const size_t dots = value.find("..");
            if (dots == std::string::npos)
                throw CriteriaError(unreadable(criterion, "a range is written LOW..HIGH"));
            row = {"> " + value.substr(0, dots) + " AND < " + value.substr(dots + 2), 4};
        } else {
            throw CriteriaError(unreadable(criterion, "a text field takes only ="));
        }
    }
    return rows;
}

bool addLevel(const std::string& text, std::vector<find::SearchItem>& items, std::ostream& err)
{
    if (std::count_if(items.begin(), items.end(), [](const find::SearchItem& it) { return it.levelEnd; })
        >= find::kMaxLevels)
        throw UsageError("at most 10 levels");
    find::CriteriaLevel rows;
    try {
        rows = levelFromText(text);
    } catch (const CriteriaError& e) {
        err << e.what() << "\n";
        return false;
    }
    const find::SaveResult result = find::saveLevel(rows, items);
    switch (result.kind) {
    case find::SaveResult::Saved: return true;
    case find::SaveResult::NoCriteria: err << find::kNoCriteria << "\n"; return false;
    case find::SaveResult::Invalid: err << find::kInvalidCriteria << "\n"; return false;
    case find::SaveResult::TooMany: err << find::tooManyItemsMessage() << "\n"; return false;
    }
    return false;
}

void applyEditTextFormat(const app::Settings& settings)
{
    const QChar decimal = app::RegionalValues::fromSystem().decimal;
    if (app::isDateFormatCode(settings.dateFormat))
        db::setEditTextFormat(app::editTextFormatFor(settings.dateFormat, settings.dateLeadingZeros,
                                                     decimal.toLatin1() ? decimal.toLatin1() : '.'));
}

int search(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("search needs a file");
    bool countOnly = false;
    std::vector<find::SearchItem> items;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--count") {
            countOnly = true;
        } else if (args[i] == "--level" && i + 1 < args.size()) {
            if (!addLevel(args[++i], items, err))
                return 1;
        } else {
            throw UsageError("unknown search argument \"" + args[i] + "\"");
        }
    }
    if (items.empty()) {
        err << find::kNoCriteria << "\n";
        return 1;
    }
    db::Table table;
    table.setFilePath(args[1]);
    sayWhileWaiting(table, err);
    table.open(db::Table::OpenMode::ReadOnly);
    if (!db::isCollectionTable(args[1]))
        throw db::DbError(table.filePath(), db::kNotCollectionMessage);
    table.setFilter([&items](const db::Record& r) { return find::BuildFilter(items, r); }, true);
    table.setFiltered(true);
    if (countOnly) {
        out << table.recordCount() << "\n";
        return 0;
    }
    selectSortIndex(table);
    writeRecords(table, -1, out);
    warnOfProblems(table, err);
    return 0;
}

int sort(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 3 || args.size() > 6)
        throw UsageError("sort needs a file and one to four keys");
    find::SortKeys keys{0, 0, 0, 0};
    for (size_t i = 2; i < args.size(); ++i) {
        int key = -1;
        const std::string& a = args[i];
        const auto [ptr, ec] = std::from_chars(a.data(), a.data() + a.size(), key);
        if (ec != std::errc() || ptr != a.data() + a.size() || key < 0 || key > 40)
            throw UsageError("a sort key is a schema position from 0 to 40, not \"" + a + "\"");
        keys[i - 2] = key;
    }
    const std::string expression = find::buildSortString(keys);
    if (db::tableInUse(args[1])) {
        err << find::kSortOrderInUse << "\n";
        return 1;
    }
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::Exclusive);
    find::applySortOrder(table, expression);
    table.close();
    out << (expression.empty() ? std::string("No sort order: records in stored order") : "NewIndex on " + expression)
        << "\n";
    return 0;
}

int replace(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    expectArguments(args, 5);
    const int position = db::schemaPosition(args[2]);
    if (position == 0)
        throw UsageError("\"" + args[2] + "\" is not a field of a collection");
    if (!db::isCollectionTable(args[1])) {
        err << db::kNotCollectionMessage << "\n";
        return 1;
    }
    const find::ReplaceCheck check =
        find::checkTypedReplace(position, args[3], args[4], db::Table::encodingOfFile(db::tableFileFor(args[1])));
    if (!check.spec) {
        err << check.message.spoken() << "\n";
        return 1;
    }
    if (db::tableInUse(args[1])) {
        err << find::kReplaceInUse << "\n";
        return 1;
    }
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::Exclusive);
    covers::followTitleChanges(table); // a film's cover keeps its title and year
    // The run goes in stored order. When the sort index's key is made from the field, the index is
    // put aside and rebuilt after; otherwise no key changes and the index stays as it is.
    std::string sortExpression;
    if (find::replaceRebuildsSortIndex(table, position)) {
        for (const db::TagDefinition& t : table.indexTags())
            if (t.name == kSortTag)
                sortExpression = t.expression;
        table.deleteIndex(kSortTag);
    }
    table.selectIndex("");
    const find::ReplaceOutcome outcome = find::runReplace(table, *check.spec, nullptr, nullptr);
    if (!sortExpression.empty())
        table.addIndex(kSortTag, sortExpression);
    table.close();
    out << "Processed " << outcome.counters.processed << ", Found " << outcome.counters.found << ", Changed "
        << outcome.counters.changed << "\n";
    if (!outcome.failure.empty()) {
        err << outcome.failure << "\n";
        return 1;
    }
    return 0;
}

app::Settings effectiveSettings()
{
    app::IniFile file;
    file.load(app::settingsFilePath());
    app::Settings effective = app::Settings::defaults(app::startFolder());
    effective.read(file);
    return effective;
}

// The report engine measures text with Qt's fonts, which need a GUI
// application; the command line gets one on the offscreen platform.
void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own warnings are said as the tool's other words are, with its name first.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            std::cerr << "reelkeeper-cli: " << message.toStdString() << std::endl;
    });
    static int argc = 1;
    static char name[] = "reelkeeper-cli";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives as long as the process
}

int report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("report needs a file");
    int number = 0;
    std::string name, textOut, pdfOut;
    std::vector<find::SearchItem> items;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size())
            throw UsageError(option + " needs a value");
        const std::string& value = args[++i];
        if (option == "--definition") {
            const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (ec != std::errc() || ptr != value.data() + value.size() || number < 1)
                throw UsageError("--definition takes a report's number in the list, from 1, not \"" + value + "\"");
        } else if (option == "--name") {
            name = db::utf8ToCp1252(value);
        } else if (option == "--text") {
            textOut = value;
        } else if (option == "--pdf") {
            pdfOut = value;
        } else if (option == "--level") {
            if (!addLevel(value, items, err))
                return 1;
        } else {
            throw UsageError("unknown report argument \"" + option + "\"");
        }
    }
    if ((number == 0) == name.empty() || textOut.empty() == pdfOut.empty())
        throw UsageError("report needs one of --definition and --name, and one of --text and --pdf");

    ensureGuiApplication();
    const app::Settings settings = effectiveSettings();
    const std::string folder = app::programFolder().toStdString();
    std::error_code made;
    std::filesystem::create_directories(folder, made); // the program folder, as the program's first start makes it
    report::prepareDefinitionsFile(folder);
    const report::DefinitionsFile definitions(folder + "/REELKP.URP");
    const report::DefinitionsFile::Listing listing = definitions.list();
    if (!name.empty()) {
        const auto found = std::find(listing.names.begin(), listing.names.end(), name);
        number = found == listing.names.end() ? 0 : static_cast<int>(found - listing.names.begin()) + 1;
    }
    if (number < 1 || number > static_cast<int>(listing.names.size())) {
        err << "Report format could not be located.\n";
        if (!listing.problem().empty())
            err << listing.problem() << "\n";
        return 1;
    }
    const report::ReportDefinition definition = definitions.read(number - 1);

    db::Table table;
    table.setFilePath(args[1]);
    sayWhileWaiting(table, err);
    table.open(db::Table::OpenMode::ReadOnly);
    if (!db::isCollectionTable(args[1]))
        throw db::DbError(table.filePath(), db::kNotCollectionMessage);
    if (!items.empty()) {
        table.setFilter([&items](const db::Record& r) { return find::BuildFilter(items, r); }, true);
        table.setFiltered(true);
    }
    selectSortIndex(table);
    warnOfProblems(table, err);

    report::RenderSettings render;
    render.mode = textOut.empty() ? report::RenderMode::Preview : report::RenderMode::TextFile;
    for (const db::TagDefinition& t : table.indexTags())
        if (t.name == table.selectedIndex()) {
            const find::SortKeys keys = find::sortKeysOfExpression(t.expression);
            render.sortFields = {keys[0], keys[1], keys[2], keys[3]};
        }
    render.numbers.numericFormat = settings.numericFormat;
    render.numbers.currencyFormat = settings.currencyFormat;
    render.numbers.regional = app::RegionalValues::fromSystem();
    applyEditTextFormat(settings);
    render.displayName = [&settings](int position) { return settings.fields[static_cast<size_t>(position - 1)].displayName; };
    render.today = QString::fromStdString(db::formatShortDate(db::today()));
    // The text goes straight to a file beside the destination, renamed into place when complete.
    std::unique_ptr<report::TextReportFile> text;
    if (!textOut.empty()) {
        text = std::make_unique<report::TextReportFile>(textOut);
        render.text = &text->stream();
    }

    report::ReportRender renderer(definition, table, render);
    engine::ReportBytes recording;
    engine::TReportFiler filer;
    filer.StreamMode = engine::smUser;
    filer.setStream(&recording);
    filer.setLineHeightMethod(engine::lhmFont);
    filer.setTitle("Test Report");
    filer.setOrientation(definition.landscape ? engine::poLandScape : engine::poPortrait);
    QString failure;
    filer.setErrorHandler([&failure](const QString& message) { failure = message; });
    renderer.attach(filer);
    filer.RunJob();
    if (!failure.isEmpty()) {
        err << "reelkeeper-cli: " << failure.toStdString() << "\n";
        return 1;
    }
    const int pages = filer.PageNumber();
    std::string written;
    if (text) {
        text->commit();
        written = textOut;
    } else {
        failure = writePdf(recording, pdfOut, QPageSize(QPageSize::Letter),
                           definition.landscape ? engine::poLandScape : engine::poPortrait,
                           QString::fromStdString(db::cp1252ToUtf8(definition.name)));
        if (!failure.isEmpty()) {
            err << "reelkeeper-cli: " << failure.toStdString() << "\n";
            return 1;
        }
        written = pdfOut;
    }
    summaryStream(written, out, err) << "Report \"" << db::cp1252ToUtf8(definition.name) << "\": " << pages << (pages == 1 ? " page" : " pages")
        << " written to " << written << "\n";
    return 0;
}

QString writePdf(const engine::ReportBytes& recording, const std::string& path, const QPageSize& paper,
                 engine::TOrientation orientation, const QString& title)
{
    QString failure;
    engine::PdfDevice pdf(QString::fromStdString(path), 1200, paper);
    pdf.setOrientation(orientation);
    engine::TFilePrinter printer(&pdf);
    printer.setTitle(title);
    printer.StreamMode = engine::smUser;
    printer.setStream(&recording);
    printer.setErrorHandler([&failure](const QString& message) { failure = message; });
    printer.PrintPages(0, 0, 0);
    return failure;
}

int settings(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 1);
    const QString path = app::settingsFilePath();
    const app::Settings effective = effectiveSettings();
    app::IniFile shown;
    effective.write(shown);
    out << "Settings file: " << path.toStdString() << "\n";
    for (const QString& section : shown.sectionNames()) {
        out << "[" << section.toStdString() << "]\n";
        for (const auto& [key, value] : shown.entries(section))
            out << key.toStdString() << "=" << value.toStdString() << "\n";
    }
    return 0;
}

int hold(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    const bool exclusive = args.size() == 3 && args[2] == "--exclusive";
    if (!exclusive)
        expectArguments(args, 2);
    db::Table table;
    table.setFilePath(args[1]);
    table.open(exclusive ? db::Table::OpenMode::Exclusive : db::Table::OpenMode::Shared);
    out << "holding " << table.filePath() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

} // namespace detail

using namespace detail;

namespace detail {

// The groups of records whose titles are the same (case, accents, punctuation and articles aside).
int duplicates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("duplicates needs a collection");
    find::DuplicateOptions options;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--same-year")
            options.sameYear = true;
        else if (args[i] == "--same-format")
            options.sameFormat = true;
        else
            throw UsageError("unknown duplicates argument \"" + args[i] + "\"");
    }
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::ReadOnly);
    table.selectIndex("");
    warnOfProblems(table, err);
    const std::vector<find::DuplicateGroup> groups = find::findDuplicates(table, options);
    const int yearField = table.fieldIndex("Year");
    const int formatField = table.fieldIndex("Format");
    size_t records = 0;
    for (const find::DuplicateGroup& group : groups) {
        out << group.records.size() << " records: " << group.key << "\n";
        for (const uint32_t rec : group.records) {
            if (!table.gotoBookmark(db::Table::Bookmark{rec, {}}))
                continue;
            const db::Record record = table.current();
            out << "  #" << rec << "  " << record.text(0);
            if (yearField >= 0 && !record.text(yearField).empty())
                out << " (" << record.text(yearField) << ")";
            if (formatField >= 0 && !record.text(formatField).empty())
                out << ", " << record.text(formatField);
            out << "\n";
        }
        records += group.records.size();
    }
    out << groups.size() << (groups.size() == 1 ? " group" : " groups") << " of duplicates, " << records
        << (records == 1 ? " record" : " records") << "\n";
    return 0;
}

} // namespace detail

namespace {

constexpr std::string_view kProgramPrefix = "reelkeeper-cli: ";

// Every line of an error starts with the program's name, as a script's log
// then says who spoke; a line that has it already is left as it is.
class PrefixedLines : public std::streambuf {
public:
    explicit PrefixedLines(std::ostream& to)
        : m_to(to)
    {
    }
    ~PrefixedLines() override { sync(); }

protected:
    int overflow(int c) override
    {
        if (c == traits_type::eof())
            return traits_type::not_eof(c);
        m_line += static_cast<char>(c);
        if (c == '\n')
            writeLine();
        return c;
    }
    int sync() override
    {
        writeLine();
        m_to.flush();
        return m_to ? 0 : -1;
    }

private:
    void writeLine()
    {
        if (m_line.empty())
            return;
        if (m_atLineStart && m_line != "\n" && !m_line.starts_with(kProgramPrefix))
            m_to << kProgramPrefix;
        m_to << m_line;
        m_atLineStart = m_line.back() == '\n';
        m_line.clear();
    }

    std::ostream& m_to;
    std::string m_line;
    bool m_atLineStart = true;
};

// --limit=2 is --limit 2: an option and its value in one argument are split.
std::vector<std::string> splitOptionValues(const std::vector<std::string>& args)
{
    std::vector<std::string> split;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const size_t equals = a.find('=');
        if (i > 0 && a.starts_with("--") && equals != std::string::npos) {
            split.push_back(a.substr(0, equals));
            split.push_back(a.substr(equals + 1));
        } else {
            split.push_back(a);
        }
    }
    return split;
}

// One command's lines of the usage: its own line and the lines that continue it.
std::string commandUsage(const std::string& name)
{
    const std::string_view usage = kUsage;
    const size_t start = usage.find("\n  " + name + " ");
    if (start == std::string_view::npos)
        return {};
    std::string lines = "usage: reelkeeper-cli ";
    size_t at = start + 3;
    do {
        const size_t end = usage.find('\n', at);
        lines += usage.substr(at, end - at + 1);
        at = end + 1;
    } while (at < usage.size() && usage.substr(at, 3) == "   ");
    return lines;
}

bool asksForHelp(const std::vector<std::string>& args)
{
    return std::any_of(args.begin() + 1, args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

} // namespace

int run(const std::vector<std::string>& given, std::ostream& out, std::ostream& plainErr)
{
    using Command = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;
    static const std::map<std::string, Command> commands = {
        {"create", create}, {"info", info},   {"check", check},     {"index", index},
        {"dump", dump},     {"pack", pack},   {"reindex", reindex}, {"hold", hold}, {"convert-unicode", convertUnicode},
        {"settings", settings}, {"search", search}, {"sort", sort}, {"replace", replace},
        {"report", report}, {"export", exportRecords}, {"import", importRecords},
        {"backup", backupFiles}, {"labels", labels}, {"duplicates", duplicates}, {"stats", statistics},
        {"lookup-index", lookupIndex}, {"lookup", lookupFilm}, {"fill", fillFromLookup},
    };
    PrefixedLines prefixed(plainErr);
    std::ostream err(&prefixed);
    const std::vector<std::string> args = splitOptionValues(given);
    if (args.empty()) {
        plainErr << kUsage;
        return 2;
    }
    const auto command = commands.find(args[0]);
    const bool known = command != commands.end() || args[0] == "--version" || args[0] == "--help" || args[0] == "-h";
    if (!known) {
        err << "unknown command \"" << args[0] << "\" (try --help)\n";
        return 2;
    }
    try {
        // What reaches standard output is checked at the end as well: a
        // command that printed into a full disk has not done its work.
        int code = 0;
        if (args[0] == "--version")
            out << "reelkeeper-cli " << REELKEEPER_VERSION << "\n";
        else if (args[0] == "--help" || args[0] == "-h")
            out << kUsage;
        else if (asksForHelp(args))
            out << commandUsage(args[0]);
        else
            code = command->second(args, out, err);
        checkOutput(out);
        return code;
    } catch (const UsageError& e) {
        err << e.what() << " (try reelkeeper-cli " << args[0] << " --help)\n";
        return 2;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

} // namespace cli
