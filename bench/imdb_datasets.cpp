// Writes files shaped as IMDb's non-commercial datasets, at their real size
// or a share of it, for timing the lookup index:
//   imdb_datasets FOLDER [SCALE]
// SCALE 1 writes what the real files hold (about 12 million titles, most of
// them episodes; 15 million names; 90 million principals; 1.5 million
// ratings; akas for the films), 0.1 a tenth. Titles are words of several
// languages in random order, with accents, quotes and numbers, as real ones are.
#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

uint64_t state = 0x9E3779B97F4A7C15ULL;
uint64_t next()
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
size_t pick(size_t n) { return static_cast<size_t>(next() % n); }

const std::vector<std::string> kWords = {
    "the", "night", "love", "city", "dark", "return", "last", "blue", "garden", "storm", "king", "queen", "empire",
    "ghost", "mirror", "stranger", "road", "summer", "winter", "dream", "fire", "island", "heart", "moon", "shadow",
    "Amélie", "été", "Mädchen", "Straße", "Łódź", "człowiek", "ночь", "любовь", "город", "ταξίδι", "東京", "物語",
    "夜", "사랑", "Kärlek", "Noche", "corazón", "destino", "l'amour", "\"Heat\"", "2", "II", "XIV", "&", "of", "in",
    "and", "a", "de", "la", "der", "die", "das", "le", "il", "man", "woman", "war", "peace", "time", "house", "river"};
const std::vector<std::string> kFirst = {"John", "Mary", "Akira", "Ingrid", "Jean-Pierre", "Zoë", "Łukasz", "Иван",
                                         "Sofia", "Marcello", "Greta", "Hayao", "Agnès", "Pedro", "Wong", "Satyajit"};
const std::vector<std::string> kLast = {"Smith", "Kurosawa", "Bergman", "Jeunet", "Kieślowski", "Тарковский", "Loren",
                                        "Mastroianni", "Garbo", "Miyazaki", "Varda", "Almodóvar", "Kar-wai", "Ray"};
const std::vector<std::string> kGenres = {"Drama", "Comedy", "Action", "Thriller", "Romance", "Documentary", "Horror",
                                          "Crime", "Adventure", "Animation", "Family", "Sci-Fi", "Fantasy", "Mystery"};

std::string title()
{
    std::string t;
    const size_t words = 1 + pick(5);
    for (size_t i = 0; i < words; ++i)
        t += (i ? " " : "") + kWords[pick(kWords.size())];
    return t;
}

std::string id(const char* prefix, uint64_t n)
{
    char text[24];
    std::snprintf(text, sizeof text, "%s%07llu", prefix, static_cast<unsigned long long>(n));
    return text;
}

// The kinds of titles in the real file's shares (per thousand).
const char* kind()
{
    const size_t r = pick(1000);
    return r < 730 ? "tvEpisode" : r < 800 ? "movie" : r < 880 ? "short" : r < 910 ? "video" : r < 930 ? "tvSeries"
                   : r < 945 ? "tvMovie" : r < 960 ? "tvMiniSeries" : r < 970 ? "tvSpecial" : r < 985 ? "videoGame"
                                                                                       : "tvShort";
}

class Out {
public:
    Out(const std::string& path, const char* header)
        : m_file(gzopen(path.c_str(), "wb1"))
    {
        if (!m_file) {
            std::perror(path.c_str());
            std::exit(1);
        }
        m_buffer = header;
        m_buffer += '\n';
    }
    ~Out()
    {
        flush();
        gzclose(m_file);
    }
    std::string& line() { return m_buffer; }
    void end()
    {
        m_buffer += '\n';
        if (m_buffer.size() > (1 << 20))
            flush();
    }

private:
    void flush()
    {
        gzwrite(m_file, m_buffer.data(), static_cast<unsigned>(m_buffer.size()));
        m_buffer.clear();
    }
    gzFile m_file;
    std::string m_buffer;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: imdb_datasets FOLDER [SCALE]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const double scale = argc > 2 ? std::atof(argv[2]) : 1.0;
    const uint64_t titles = static_cast<uint64_t>(12'000'000 * scale);
    const uint64_t names = static_cast<uint64_t>(15'000'000 * scale);
    {
        Out basics(folder + "/title.basics.tsv.gz",
                   "tconst\ttitleType\tprimaryTitle\toriginalTitle\tisAdult\tstartYear\tendYear\truntimeMinutes\tgenres");
        Out crew(folder + "/title.crew.tsv.gz", "tconst\tdirectors\twriters");
        Out principals(folder + "/title.principals.tsv.gz", "tconst\tordering\tnconst\tcategory\tjob\tcharacters");
        Out ratings(folder + "/title.ratings.tsv.gz", "tconst\taverageRating\tnumVotes");
        Out akas(folder + "/title.akas.tsv.gz",
                 "titleId\tordering\ttitle\tregion\tlanguage\ttypes\tattributes\tisOriginalTitle");
        static const std::array<const char*, 8> categories = {"actor", "actress", "director", "writer", "producer",
                                                              "composer", "cinematographer", "self"};
        for (uint64_t t = 1; t <= titles; ++t) {
            const std::string tt = id("tt", t);
            const char* k = kind();
            const std::string own = title();
            const std::string original = pick(5) == 0 ? title() : own;
            std::string& b = basics.line();
            b += tt + '\t' + k + '\t' + own + '\t' + original + "\t0\t" + std::to_string(1890 + pick(137)) + "\t\\N\t"
                 + (pick(10) ? std::to_string(5 + pick(180)) : "\\N") + '\t' + kGenres[pick(kGenres.size())];
            if (pick(3) == 0)
                b += "," + kGenres[pick(kGenres.size())];
            basics.end();
            crew.line() += tt + '\t' + id("nm", 1 + pick(names)) + '\t' + (pick(3) ? id("nm", 1 + pick(names)) : "\\N");
            crew.end();
            const size_t credited = 1 + pick(14); // 7.5 on average
            for (size_t o = 1; o <= credited; ++o) {
                principals.line() += tt + '\t' + std::to_string(o) + '\t' + id("nm", 1 + pick(names)) + '\t'
                                     + categories[pick(categories.size())] + "\t\\N\t\\N";
                principals.end();
            }
            if (pick(8) == 0) {
                ratings.line() += tt + '\t' + std::to_string(1 + pick(9)) + "." + std::to_string(pick(10)) + '\t'
                                  + std::to_string(5 + pick(100000));
                ratings.end();
            }
            const bool film = std::string(k) != "tvEpisode";
            const size_t others = film ? pick(8) : (pick(10) == 0 ? 1 : 0);
            for (size_t a = 1; a <= others; ++a) {
                akas.line() += tt + '\t' + std::to_string(a) + '\t' + (pick(2) ? title() : own) + "\tXX\t\\N\t\\N\t\\N\t0";
                akas.end();
            }
        }
    }
    {
        Out people(folder + "/name.basics.tsv.gz",
                   "nconst\tprimaryName\tbirthYear\tdeathYear\tprimaryProfession\tknownForTitles");
        for (uint64_t n = 1; n <= names; ++n) {
            people.line() += id("nm", n) + '\t' + kFirst[pick(kFirst.size())] + ' ' + kLast[pick(kLast.size())] + "\t"
                             + std::to_string(1850 + pick(160)) + "\t\\N\tactor\t" + id("tt", 1 + pick(titles ? titles : 1));
            people.end();
        }
    }
    std::printf("%llu titles, %llu names written to %s\n", static_cast<unsigned long long>(titles),
                static_cast<unsigned long long>(names), folder.c_str());
    return 0;
}
