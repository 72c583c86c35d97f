// The IMDb lookup timed on dataset files (bench/imdb_datasets writes them):
//   lookup_bench FOLDER [--build]
// With --build the index is built first (its time and peak memory printed);
// then a thousand titles of the files, their words shuffled, accents taken
// off and in capitals as a user might type them, are looked up, and as many
// ids. Beside them, in the same run, the peer a user without the index has:
// zgrep over title.basics for one title.
#include "ImdbIndex.h"
#include "TsvGzip.h"
#include "Timing.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <iostream>
#include <random>

#include <sys/resource.h>

using bench::Clock;
using bench::msSince;

namespace {

void report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::cout << what << ": median " << ms[ms.size() / 2] << " ms, 99th " << ms[ms.size() * 99 / 100] << " ms, worst "
              << ms.back() << " ms (" << ms.size() << " lookups)\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: lookup_bench FOLDER [--build]\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string index = folder + "/imdb-index.sqlite";
    if (argc > 2 && std::string(argv[2]) == "--build") {
        const auto started = Clock::now();
        const lookup::ImdbBuildResult built = lookup::buildImdbIndex(folder, index);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::cout << "index built in " << msSince(started) / 1000 << " s, peak memory " << usage.ru_maxrss / 1024 << " MB: "
                  << built.titles << " films by " << built.titleNames << " titles, " << built.names << " people, "
                  << built.damagedLines << " damaged lines\n";
    }
    // Titles of the files' films, as a user types them.
    std::vector<std::pair<std::string, std::string>> films; // id, typed title
    {
        lookup::TsvGzipReader basics(folder + "/title.basics.tsv.gz");
        std::vector<std::string_view> v;
        std::mt19937 random(5);
        while (basics.next(v) && films.size() < 200000)
            if (v[1] == "movie" && random() % 4 == 0) {
                QStringList words = QString::fromUtf8(v[2].data(), static_cast<qsizetype>(v[2].size())).split(' ');
                std::shuffle(words.begin(), words.end(), random);
                QString typed = words.join(' ').normalized(QString::NormalizationForm_D).toUpper();
                typed.remove(QRegularExpression("\\p{M}"));
                films.emplace_back(std::string(v[0]), typed.toStdString());
            }
    }
    std::mt19937 random(9);
    std::shuffle(films.begin(), films.end(), random);
    films.resize(std::min<size_t>(films.size(), 1000));
    lookup::ImdbIndex imdb(index);
    std::vector<double> byTitle, byId;
    size_t found = 0;
    for (const auto& [id, typed] : films) {
        auto started = Clock::now();
        const auto matches = imdb.byTitle(typed, 0, 20);
        byTitle.push_back(msSince(started));
        found += std::any_of(matches.begin(), matches.end(), [&](const lookup::Film& f) { return f.id == id; });
        started = Clock::now();
        imdb.byId(id);
        byId.push_back(msSince(started));
    }
    report("by title (any word order, accents and case aside)", byTitle);
    report("by IMDb id", byId);
    std::cout << "the film sought among the 20 shown: " << found << " of " << films.size() << "\n";
    const auto started = Clock::now();
    QProcess zgrep;
    zgrep.start("zgrep", {"-c", "-F", QString::fromStdString("\t" + films.front().second), QString::fromStdString(folder + "/title.basics.tsv.gz")});
    zgrep.waitForFinished(-1);
    std::cout << "  beside zgrep over title.basics for one title, in the same run: " << msSince(started) << " ms\n";
    return 0;
}
