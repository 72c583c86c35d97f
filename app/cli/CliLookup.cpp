// lookup-index and lookup: IMDb's dataset files made into the program's
// lookup index, and films found in it by title or by IMDb id.
#include "CliShared.h"

#include "CoverStore.h"
#include "FilmFill.h"
#include "ImdbIndex.h"
#include "Search.h"
#include "Table.h"
#include "ProgramFolders.h"

#include <QDir>

#include <chrono>
#include <ostream>

namespace cli::detail {

namespace {

std::string indexPath()
{
    return app::lookupIndexPath().toStdString();
}

void printFilm(const lookup::Film& f, std::ostream& out)
{
    const auto list = [](const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& name : names)
            text += (text.empty() ? "" : ", ") + name;
        return text;
    };
    out << f.id << "  " << f.title;
    if (f.year > 0)
        out << " (" << f.year << ")";
    if (!f.originalTitle.empty() && f.originalTitle != f.title)
        out << "  [" << f.originalTitle << "]";
    out << "  " << f.kind;
    if (f.runtime > 0)
        out << ", " << f.runtime << " min";
    out << "\n";
    if (!f.directors.empty())
        out << "    directed by " << list(f.directors) << "\n";
    if (!f.stars.empty())
        out << "    with " << list(f.stars) << "\n";
    if (!f.genres.empty())
        out << "    " << list(f.genres) << (f.rating > 0 ? "; rated " + std::to_string(f.rating).substr(0, 3) + "/10 by " + std::to_string(f.votes) : std::string()) << "\n";
}

} // namespace

int lookupIndex(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
        throw UsageError("lookup-index needs the folder of IMDb's dataset files");
    const auto started = std::chrono::steady_clock::now();
    int shown = -1;
    const lookup::ImdbBuildResult result = lookup::buildImdbIndex(args[1], indexPath(), [&](const std::string& file, double done) {
        const int percent = static_cast<int>(done * 100);
        if (percent != shown) {
            shown = percent;
            err << "building the index: " << percent << "% " << file << "\n";
        }
        return true;
    });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    out << "IMDb index built in " << static_cast<int>(seconds) << " s: " << indexPath() << "\n"
        << plural(result.titles, "film", "films") << ", found by " << plural(result.titleNames, "title", "titles") << "; "
        << plural(result.names, "person", "people") << " named; " << plural(result.otherTitles, "episode or other title", "episodes and other titles")
        << " left out\n";
    if (result.damagedLines > 0)
        out << plural(result.damagedLines, "line was", "lines were") << " not whole and left out\n";
    for (const std::string& note : result.notes)
        err << note << "\n";
    out << lookup::kImdbCourtesy << "\n";
    return 0;
}

int lookupFilm(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("lookup needs a title or an IMDb id (tt...)");
    std::string title;
    int year = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--year" && i + 1 < args.size())
            year = std::atoi(args[++i].c_str());
        else
            title += (title.empty() ? "" : " ") + args[i];
    }
    lookup::ImdbIndex index(indexPath());
    std::vector<lookup::Film> films;
    if (title.starts_with("tt")) {
        if (auto film = index.byId(title))
            films.push_back(std::move(*film));
    }
    if (films.empty())
        films = index.byTitle(title, year, 10);
    if (films.empty()) {
        err << "No film found for \"" << title << "\".\n";
        return 1;
    }
    for (const lookup::Film& film : films)
        printFilm(film, out);
    out << lookup::kImdbCourtesy << "\n";
    return 0;
}

} // namespace cli::detail

namespace cli::detail {

int fillFromLookup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("fill needs a collection");
    std::vector<find::SearchItem> items;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--level" && i + 1 < args.size()) {
            if (!addLevel(args[++i], items, err))
                return 1;
        } else if (args[i] == "--source" && i + 1 < args.size()) {
            if (args[++i] != "imdb")
                throw UsageError("fill knows the source imdb (the lookup index of IMDb's dataset files)");
        } else {
            throw UsageError("unknown fill argument \"" + args[i] + "\"");
        }
    }
    lookup::ImdbIndex index(indexPath());
    applyEditTextFormat(effectiveSettings());
    db::Table table;
    openForBulkWork(table, args[1], err);
    covers::followTitleChanges(table); // a year filled in renames the film's cover with it
    table.selectIndex("");
    if (!items.empty()) {
        table.setFilter([&items](const db::Record& r) { return find::BuildFilter(items, r); }, true);
        table.setFiltered(true);
    }
    const auto started = std::chrono::steady_clock::now();
    const lookup::FillSummary summary = lookup::fillMissing(table, index);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    table.close();
    out << "Looked up " << plural(summary.looked, "video", "videos") << " without a director or a year; filled "
        << plural(summary.filled, "video", "videos") << " with " << plural(summary.values, "value", "values");
    if (summary.cutValues > 0)
        out << " (" << plural(summary.cutValues, "value", "values") << " cut to fit)";
    out << " in " << static_cast<int>(seconds * 10) / 10.0 << " s\n";
    if (!summary.ambiguous.empty()) {
        out << plural(summary.ambiguous.size(), "video has", "videos have") << " more than one possible film; pick in the editor:\n";
        for (const std::string& film : summary.ambiguous)
            out << "  " << film << "\n";
    }
    if (!summary.notFound.empty())
        out << plural(summary.notFound.size(), "video was", "videos were") << " not found in the index\n";
    out << lookup::kImdbCourtesy << "\n";
    return 0;
}

} // namespace cli::detail
