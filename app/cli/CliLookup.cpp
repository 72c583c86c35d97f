// lookup-index, lookup and fill: IMDb's dataset files made into the program's
// lookup index, films found in it by title or by IMDb id, and videos filled from it or from TMDb.
#include "CliShared.h"

#include "CoverStore.h"
#include "FilmFill.h"
#include "ImdbIndex.h"
#include "TmdbSource.h"
#include "Search.h"
#include "Table.h"
#include "ProgramFolders.h"
#include "Settings.h"

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
    bool tmdb = false;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--level" && i + 1 < args.size()) {
            if (!addLevel(args[++i], items, err))
                return 1;
        } else if (args[i] == "--source" && i + 1 < args.size()) {
            const std::string source = args[++i];
            if (source != "imdb" && source != "tmdb")
                throw UsageError("fill knows the sources imdb (the lookup index of IMDb's dataset files) and tmdb (TMDb online)");
            tmdb = source == "tmdb";
        } else {
            throw UsageError("unknown fill argument \"" + args[i] + "\"");
        }
    }
    const app::Settings settings = effectiveSettings();
    std::unique_ptr<lookup::ImdbIndex> index;
    std::unique_ptr<lookup::TmdbClient> client;
    std::unique_ptr<lookup::FilmSource> source;
    std::optional<lookup::FillCovers> covers;
    if (tmdb) {
        ensureGuiApplication(); // the answers come through an event loop
        client = std::make_unique<lookup::TmdbClient>(lookup::tmdbSettings(settings));
        if (client->settings().credential.empty())
            throw UsageError("fill --source tmdb needs a TMDb API key or read token: set it in the program's Options, TMDb Online Lookup");
        source = std::make_unique<lookup::TmdbSource>(*client);
        covers = lookup::FillCovers{args[1], covers::CoverLimits::sized(settings.coverLongestSide, settings.coverJpegQuality)};
    } else {
        index = std::make_unique<lookup::ImdbIndex>(indexPath());
        source = std::make_unique<lookup::ImdbSource>(*index);
    }
    applyEditTextFormat(settings);
    db::Table table;
    openForBulkWork(table, args[1], err);
    covers::followTitleChanges(table); // a year filled in renames the film's cover with it
    table.selectIndex("");
    if (!items.empty()) {
        table.setFilter([&items](const db::Record& r) { return find::BuildFilter(items, r); }, true);
        table.setFiltered(true);
    }
    const auto started = std::chrono::steady_clock::now();
    lookup::FillSummary summary;
    std::string failure;
    try {
        summary = lookup::fillMissing(table, *source, {}, covers);
    } catch (const db::DbError& e) {
        failure = e.what(); // what was written before stays
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    table.close();
    out << "Looked up " << plural(summary.looked, "video", "videos") << (tmdb ? " without a director, a year or a cover" : " without a director or a year")
        << "; filled " << plural(summary.filled, "video", "videos") << " with " << plural(summary.values, "value", "values");
    if (summary.cutValues > 0)
        out << " (" << plural(summary.cutValues, "value", "values") << " cut to fit)";
    if (tmdb)
        out << "; took " << plural(summary.covers, "cover", "covers");
    out << " in " << static_cast<int>(seconds * 10) / 10.0 << " s\n";
    if (!summary.ambiguous.empty()) {
        out << plural(summary.ambiguous.size(), "video has", "videos have") << " more than one possible film; pick in the editor:\n";
        for (const std::string& film : summary.ambiguous)
            out << "  " << film << "\n";
    }
    if (!summary.notFound.empty())
        out << plural(summary.notFound.size(), "video was", "videos were") << (tmdb ? " not found at TMDb\n" : " not found in the index\n");
    for (const std::string& cover : summary.coverFailures)
        out << "No cover for " << cover << "\n";
    out << (tmdb ? lookup::kTmdbAttribution : lookup::kImdbCourtesy) << "\n";
    if (!failure.empty()) {
        err << "reelkeeper-cli: the filling stopped: " << failure << "\n";
        return 1;
    }
    return 0;
}

} // namespace cli::detail
