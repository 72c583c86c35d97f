// The command line's statistics: the same core as Tools > Statistics, over the
// collection or the search given, as text in the regional formats or as JSON.
#include "CliCommands.h"
#include "CliShared.h"
#include "RegionalFormats.h"
#include "Search.h"
#include "Statistics.h"
#include "Table.h"

#include <iomanip>
#include <ostream>

namespace cli::detail {

namespace {

void tallies(std::ostream& out, const char* heading, const std::vector<stats::Tally>& list, uint64_t of)
{
    out << heading << ":\n";
    for (const stats::Tally& t : list) {
        const double share = of ? 100.0 * static_cast<double>(t.count) / static_cast<double>(of) : 0;
        out << "  " << std::left << std::setw(28) << (t.value.empty() ? std::string("(none)") : t.value) << std::right
            << std::setw(10) << t.count << std::setw(8) << std::fixed << std::setprecision(1) << share << "%\n";
    }
}

} // namespace

int statistics(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() < 2)
        throw UsageError("stats needs a collection");
    std::vector<find::SearchItem> items;
    bool json = false;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--json")
            json = true;
        else if (args[i] == "--level" && i + 1 < args.size()) {
            if (!addLevel(args[++i], items, err))
                return 1;
        } else
            throw UsageError("unknown stats argument \"" + args[i] + "\"");
    }
    const app::Settings settings = effectiveSettings();
    db::Table table;
    table.setFilePath(args[1]);
    table.open(db::Table::OpenMode::ReadOnly);
    table.selectIndex("");
    if (!items.empty()) {
        table.setFilter([&items](const db::Record& r) { return find::BuildFilter(items, r); }, true);
        table.setFiltered(true);
    }
    warnOfProblems(table, err);
    const stats::CollectionStatistics s = stats::collectStatistics(table);
    if (json) {
        out << stats::statisticsJson(s);
        return 0;
    }
    app::NumberFormats numbers;
    numbers.numericFormat = settings.numericFormat;
    numbers.currencyFormat = settings.currencyFormat;
    numbers.regional = app::RegionalValues::fromSystem();
    out << "Videos: " << numbers.groupedNumber(static_cast<double>(s.videos), 1, 0).toStdString() << "\n";
    out << "Viewed: " << s.viewed << ", not viewed: " << s.notViewed << ", lent out: " << s.lentOut << "\n";
    for (const auto& [name, total] : {std::pair{"List Price", &s.listPrice}, std::pair{"Purch Price", &s.purchasePrice}})
        out << name << ": total " << numbers.moneyAmount(total->sum, 1).toStdString() << ", average "
            << numbers.moneyAmount(total->average(), 1).toStdString() << " over " << total->priced << " priced\n";
    tallies(out, "Category", s.categories, s.videos);
    tallies(out, "Decade", s.decades, s.videos);
    tallies(out, "Rating", s.ratings, s.videos);
    tallies(out, "Personal Rating", s.personalRatings, s.videos);
    tallies(out, "Format", s.formats, s.videos);
    tallies(out, "Picture", s.pictures, s.videos);
    tallies(out, "Sound", s.sounds, s.videos);
    tallies(out, "Most frequent stars", s.stars, s.videos);
    tallies(out, "Most frequent directors", s.directors, s.videos);
    return 0;
}

} // namespace cli::detail
