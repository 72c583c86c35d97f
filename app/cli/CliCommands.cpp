#include "CliCommands.h"

#include "CollectionFile.h"
#include "Cp1252.h"
#include "DbError.h"
#include "DelimitedText.h"
#include "IniFile.h"
#include "ProgramFolders.h"
#include "Settings.h"
#include "Table.h"

#include <charconv>
#include <functional>
#include <iostream>
#include <map>

namespace cli {

namespace {

constexpr const char* kUsage =
    "usage: reelkeeper-cli COMMAND FILE [ARGUMENTS]\n"
    "commands:\n"
    "  create FILE                 create an empty collection\n"
    "  info FILE                   records, fields, index tags, whether it is a collection\n"
    "  check FILE                  exit 0 for a collection, else the reason and exit 1\n"
    "  index FILE EXPRESSION       make the tag NewIndex with a dBASE key expression\n"
    "  dump FILE [--limit N]       the live records as delimited text (UTF-8)\n"
    "  pack FILE                   remove deleted records and rebuild the index\n"
    "  reindex FILE                rebuild the index\n"
    "  settings                    the settings file's path and every setting, defaults filled in\n"
    "  hold FILE [--exclusive]     keep the table open until standard input ends\n";

constexpr const char* kSortTag = "NewIndex";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void expectArguments(const std::vector<std::string>& args, size_t count)
{
    if (args.size() != count)
        throw UsageError("wrong number of arguments for " + args[0]);
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

int create(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 2);
    db::createCollectionTable(args[1]);
    out << "Created " << db::tableFileFor(args[1]) << "\n";
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
    return 0;
}

int check(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 2);
    if (db::isCollectionTable(args[1]))
        return 0;
    out << db::kNotCollectionMessage << "\n";
    return 1;
}

int index(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 3);
    db::Table table;
    table.setFilePath(args[1]);
    table.addIndex(kSortTag, args[2]);
    out << "Index " << kSortTag << " built on " << args[2] << "\n";
    return 0;
}

int dump(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
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
    table.open(db::Table::OpenMode::ReadOnly);
    for (const db::TagDefinition& t : table.indexTags())
        if (t.name == kSortTag)
            table.selectIndex(kSortTag);
    table.first();
    std::vector<std::string> values(static_cast<size_t>(table.fieldCount()));
    for (long long written = 0; !table.isEmpty() && !table.eof() && written != limit; ++written) {
        const db::Record record = table.current();
        for (int i = 0; i < table.fieldCount(); ++i)
            record.text(i, values[static_cast<size_t>(i)]);
        out << db::cp1252ToUtf8(exchange::delimitedLine(values)) << "\n";
        table.next();
    }
    return 0;
}

int pack(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 2);
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::Exclusive);
    const uint32_t before = table.physicalRecordCount();
    table.pack();
    out << "Packed " << table.filePath() << ": " << table.physicalRecordCount() << " records kept, "
        << before - table.physicalRecordCount() << " removed\n";
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

int settings(const std::vector<std::string>& args, std::ostream& out, std::ostream&)
{
    expectArguments(args, 1);
    const QString path = app::settingsFilePath();
    app::IniFile file;
    file.load(path);
    app::Settings effective = app::Settings::defaults(app::startFolder());
    effective.read(file);
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

} // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    using Command = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;
    static const std::map<std::string, Command> commands = {
        {"create", create}, {"info", info},   {"check", check},     {"index", index},
        {"dump", dump},     {"pack", pack},   {"reindex", reindex}, {"hold", hold},
        {"settings", settings},
    };
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? 2 : 0;
    }
    const auto command = commands.find(args[0]);
    if (command == commands.end()) {
        err << "reelkeeper-cli: unknown command \"" << args[0] << "\" (try --help)\n";
        return 2;
    }
    try {
        return command->second(args, out, err);
    } catch (const UsageError& e) {
        err << "reelkeeper-cli: " << e.what() << " (try --help)\n";
        return 2;
    } catch (const db::DbError& e) {
        err << "reelkeeper-cli: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "reelkeeper-cli: " << e.what() << "\n";
        return 1;
    }
}

} // namespace cli
