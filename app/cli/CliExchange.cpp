// The command line's import and export: the same cores as the Import and
// Export windows, with the settings file's export layout and field names.

#include "CliShared.h"

#include "CollectionFile.h"
#include "Cp1252.h"
#include "DbError.h"
#include "DelimitedText.h"
#include "FileIO.h"
#include "Export.h"
#include "Catalogues.h"
#include "HeaderMatch.h"
#include "Import.h"
#include "Schema.h"
#include "Table.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <unistd.h>

namespace cli::detail {

namespace {

bool hasExtension(const std::string& path, const char* extension)
{
    const size_t length = std::strlen(extension);
    if (path.size() < length)
        return false;
    std::string last = path.substr(path.size() - length);
    std::transform(last.begin(), last.end(), last.begin(), [](unsigned char c) { return std::toupper(c); });
    return last == extension;
}

std::vector<std::string> splitList(const std::string& text, char separator)
{
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, separator))
        items.push_back(item);
    return items;
}

// A collection field named by its schema name or its display name, in any case.
int fieldPosition(const std::string& name, const app::Settings& settings)
{
    if (const int position = db::schemaPosition(name))
        return position;
    for (int k = 0; k < db::kSchemaFieldCount; ++k)
        if (settings.fields[static_cast<size_t>(k)].displayName.compare(QString::fromStdString(name), Qt::CaseInsensitive)
            == 0)
            return k + 1;
    throw UsageError("no collection field is named \"" + name + "\"");
}

std::vector<std::string> fieldLabels(const app::Settings& settings)
{
    std::vector<std::string> labels;
    for (const app::FieldSettings& field : settings.fields)
        labels.push_back(field.displayName.toStdString());
    return labels;
}

void openCollection(db::Table& table, const std::string& path, db::Table::OpenMode mode, std::ostream& err)
{
    table.setFilePath(path);
    sayWhileWaiting(table, err);
    table.open(mode);
    if (!db::isCollectionTable(path))
        throw db::DbError(table.filePath(), db::kNotCollectionMessage);
}


// Standard input ("-") as a file: an import reads its file more than once
// (its kind and encoding first, then its records), so what comes in is kept
// in a file of a temporary folder of its own, removed when the import ends.
class StandardInputFile {
public:
    StandardInputFile()
    {
        std::string folder = (std::filesystem::temp_directory_path() / "reelkeeper-XXXXXX").string();
        if (!::mkdtemp(folder.data()))
            throw db::DbError(folder, db::Message{TRANSLATABLE("db", "Cannot open file: %1"), {std::strerror(errno)}});
        m_folder = folder;
        m_path = m_folder + "/standard input";
        db::File file;
        file.open(m_path, db::File::Mode::CreateTruncate);
        std::vector<char> buffer(size_t{1} << 20);
        uint64_t at = 0;
        while (true) {
            const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw db::DbError("-", db::Message{TRANSLATABLE("db", "Read error: %1"), {std::strerror(errno)}});
            if (got == 0)
                break;
            file.writeAt(at, buffer.data(), static_cast<size_t>(got));
            at += static_cast<uint64_t>(got);
        }
    }
    ~StandardInputFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    StandardInputFile(const StandardInputFile&) = delete;
    StandardInputFile& operator=(const StandardInputFile&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_folder;
    std::string m_path;
};

} // namespace

// A bulk change opens the collection exclusively when no other copy has it
// open: its index pages are then written once, when it closes, not at the end
// of every batch. Shared use is the fallback, as the program shares it.
void openForBulkWork(db::Table& table, const std::string& path, std::ostream& err)
{
    // The collection check opens the file itself: it comes first, as an
    // exclusive hold would keep it out.
    table.setFilePath(path);
    sayWhileWaiting(table, err);
    if (!db::isCollectionTable(path))
        throw db::DbError(table.filePath(), db::kNotCollectionMessage);
    try {
        table.open(db::Table::OpenMode::Exclusive);
    } catch (const db::DbError&) {
        table.close(); // another copy has it open: shared, as the program shares it
        table.open(db::Table::OpenMode::Shared);
    }
}

int exportRecords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 3)
        throw UsageError("export needs a collection and a file to write");
    const app::Settings settings = effectiveSettings();
    std::vector<find::SearchItem> items;
    std::vector<int> chosen;
    bool header = false;
    bool withCovers = true;
    for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--header") {
            header = true;
        } else if (args[i] == "--no-covers") {
            withCovers = false;
        } else if (args[i] == "--level" && i + 1 < args.size()) {
            if (!addLevel(args[++i], items, err))
                return 1;
        } else if (args[i] == "--fields" && i + 1 < args.size()) {
            for (const std::string& name : splitList(args[++i], ','))
                chosen.push_back(fieldPosition(name, settings));
        } else {
            throw UsageError("unknown export argument \"" + args[i] + "\"");
        }
    }
    applyEditTextFormat(settings);
    db::Table table;
    openCollection(table, args[1], db::Table::OpenMode::ReadOnly, err);
    if (!items.empty()) {
        table.setFilter([&items](const db::Record& r) { return find::BuildFilter(items, r); }, true);
        table.setFiltered(true);
    }
    selectSortIndex(table);
    warnOfProblems(table, err);

    // The fields given, in their order; else the export layout of the settings (for an HTML
    // catalogue the viewer's columns).
    const std::string& path = args[2];
    const bool html = hasExtension(path, ".HTML") || hasExtension(path, ".HTM");
    std::vector<exchange::ExportLayoutEntry> layout;
    for (const app::FieldSettings& field : settings.fields)
        layout.push_back(html ? exchange::ExportLayoutEntry{field.order, field.display}
                              : exchange::ExportLayoutEntry{field.exportOrder, field.exported});
    if (!chosen.empty()) {
        for (auto& entry : layout)
            entry = {0, false};
        for (size_t i = 0; i < chosen.size(); ++i)
            layout[static_cast<size_t>(chosen[i] - 1)] = {static_cast<int>(i) + 1, true};
    }
    const auto fields = exchange::exportList(layout, fieldLabels(settings), table);
    if (fields.empty()) {
        err << "No fields selected for export.\n";
        return 1;
    }
    exchange::ExportOptions textOptions;
    textOptions.header = header;
    exchange::ExportOptions catalogueOptions;
    catalogueOptions.withCovers = withCovers;
    // A folder (an existing one, or a name ending in "/") is a Kodi library.
    const bool kodi = path.ends_with('/') || std::filesystem::is_directory(path);
    exchange::ExportResult result;
    if (kodi)
        result = exchange::exportKodi(table, path, catalogueOptions);
    else if (hasExtension(path, ".DBF"))
        result = exchange::exportDbf(table, fields, path, {});
    else if (hasExtension(path, ".XML") || hasExtension(path, ".TC"))
        result = exchange::exportTellico(table, path, catalogueOptions);
    else if (html)
        result = exchange::exportHtml(table, fields, path, exchange::catalogueTitle(args[1]), catalogueOptions);
    else
        result = exchange::exportDelimited(table, fields, path, textOptions);
    std::ostream& summary = summaryStream(path, out, err);
    summary << "Export Complete. " << plural(result.written, "record", "records") << " written to " << path << "\n";
    const bool pictured = kodi || html || hasExtension(path, ".XML") || hasExtension(path, ".TC");
    if (pictured && withCovers)
        summary << plural(result.covers, "cover", "covers") << " taken along.\n";
    for (const std::string& failure : result.coversNotWritten)
        err << "Cover not written: " << failure << "\n";
    return result.coversNotWritten.empty() ? 0 : 1;
}

namespace {

// The format --format names (nullopt for "auto" or an unknown name).
std::optional<exchange::CatalogueFormat> formatNamed(const std::string& name)
{
    using F = exchange::CatalogueFormat;
    static const std::map<std::string, F> formats = {{"text", F::Text},     {"imdb", F::Imdb},       {"letterboxd", F::Letterboxd},
                                                     {"gcstar", F::Gcstar}, {"tellico", F::Tellico}, {"nfo", F::Nfo}};
    const auto found = formats.find(name);
    return found == formats.end() ? std::nullopt : std::optional<F>(found->second);
}

} // namespace

int importRecords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 3)
        throw UsageError("import needs a collection and a file to read");
    const app::Settings settings = effectiveSettings();
    exchange::ImportOptions options;
    options.skipFirst = false;
    options.coverLimits = covers::CoverLimits::sized(settings.coverLongestSide, settings.coverJpegQuality);
    std::vector<std::pair<std::string, int>> pairs;
    std::string format = "auto";
    for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--skip-first") {
            options.skipFirst = true;
        } else if (args[i] == "--skip-existing") {
            options.skipExisting = true;
        } else if (args[i] == "--format" && i + 1 < args.size()) {
            format = args[++i];
            if (!formatNamed(format) && format != "auto")
                throw UsageError("--format takes auto, text, imdb, letterboxd, gcstar, tellico or nfo, not \"" + format
                                 + "\"");
        } else if (args[i] == "--map" && i + 1 < args.size()) {
            for (const std::string& pair : splitList(args[++i], ',')) {
                const size_t equals = pair.find('=');
                if (equals == std::string::npos)
                    throw UsageError("--map takes SOURCE=FIELD pairs, not \"" + pair + "\"");
                pairs.emplace_back(pair.substr(0, equals), fieldPosition(pair.substr(equals + 1), settings));
            }
        } else {
            throw UsageError("unknown import argument \"" + args[i] + "\"");
        }
    }
    applyEditTextFormat(settings);
    const std::string& named = args[2];
    const std::unique_ptr<StandardInputFile> standardInput = named == "-" ? std::make_unique<StandardInputFile>() : nullptr;
    const std::string& path = standardInput ? standardInput->path() : named;
    exchange::CatalogueFormat catalogue = formatNamed(format).value_or(exchange::CatalogueFormat::Text);
    if (format == "auto" && !hasExtension(path, ".DBF"))
        catalogue = exchange::recogniseCatalogue(path);
    if (catalogue != exchange::CatalogueFormat::Text) {
        db::Table table;
        openForBulkWork(table, args[1], err);
        const exchange::ImportResult result = exchange::importCatalogue(table, path, catalogue, options);
        (result.error.empty() ? out : err) << exchange::importMessage(result) << "\n";
        out << plural(result.imported, "record", "records") << " imported from " << named << " (" << exchange::catalogueName(catalogue)
            << ")\n";
        return result.error.empty() ? 0 : 1;
    }
    exchange::ImportSource source;
    if (hasExtension(path, ".DBF")) {
        source = exchange::openDbfSource(path);
        if (source.fileFields > exchange::kMaxImportFields)
            err << "The file has " << source.fileFields << " fields; only its first " << exchange::kMaxImportFields
                << " can be imported.\n";
        options.skipFirst = false;
    } else if (const int result = exchange::openDelimitedSource(path, source); result != exchange::flOk) {
        err << exchange::firstLineMessage(result) << "\n";
        return 1;
    }
    // Without --map the import starts as the window does: columns matched by their names, or each
    // going to the collection field in its place.
    std::vector<std::string> displayNames;
    for (const auto& field : settings.fields)
        displayNames.push_back(field.displayName.toStdString());
    exchange::ImportMap map = pairs.empty() ? exchange::startingMap(source, options.skipFirst, displayNames)
                                            : exchange::ImportMap(source.fieldNames.size(), 0);
    for (const auto& [name, position] : pairs) {
        const auto found = std::find(source.fieldNames.begin(), source.fieldNames.end(), name);
        if (found == source.fieldNames.end())
            throw UsageError("the file has no field named \"" + name + "\"");
        map[static_cast<size_t>(found - source.fieldNames.begin())] = position;
    }

    db::Table table;
    openForBulkWork(table, args[1], err);
    const exchange::ImportResult result = exchange::importRecords(table, source, map, options);
    (result.error.empty() ? out : err) << exchange::importMessage(result) << "\n";
    out << plural(result.imported, "record", "records") << " imported from " << named << "\n";
    return result.error.empty() ? 0 : 1;
}

std::string plural(uint64_t n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

} // namespace cli::detail
