#pragma once

// Dataset files the lookup's tests write: gzip text as IMDb's files hold it,
// and a small index of a few well-known films.
#include "ImdbIndex.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <string>

namespace {

using testing_support::TempDir;

inline const char* const kBasicsHeader = "tconst\ttitleType\tprimaryTitle\toriginalTitle\tisAdult\tstartYear\tendYear\truntimeMinutes\tgenres\n";

inline void writeGzip(const std::string& path, const std::string& text)
{
    gzFile file = gzopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
    gzclose(file);
}

// An index of three films: Heat (1995) by its id, two films called "Ran", and
// one whose names are longer than the fields that take them.
inline std::string smallIndex(TempDir& dir)
{
    const std::string folder = dir.file("imdb");
    std::filesystem::create_directories(folder);
    std::string basics = kBasicsHeader;
    basics += "tt0113277\tmovie\tHeat\tHeat\t0\t1995\t\\N\t170\tAction,Crime,Drama\n";
    basics += "tt0089881\tmovie\tRan\tRan\t0\t1985\t\\N\t162\tDrama,War\n";
    basics += "tt0999999\tmovie\tRan\tRan\t0\t2001\t\\N\t90\tDocumentary\n";
    basics += "tt0211915\tmovie\tAmélie\tLe fabuleux destin d'Amélie Poulain\t0\t2001\t\\N\t122\tComedy,Romance\n";
    writeGzip(folder + "/title.basics.tsv.gz", basics);
    writeGzip(folder + "/title.crew.tsv.gz", "tconst\tdirectors\twriters\n"
                                             "tt0113277\tnm0000520\tnm0000520\n"
                                             "tt0211915\tnm0000466,nm0000001,nm0000002,nm0000003\tnm0000466\n");
    std::string principals = "tconst\tordering\tnconst\tcategory\tjob\tcharacters\n";
    const char* heat[] = {"nm0000199", "nm0000134", "nm0000158", "nm0000380", "nm0000620", "nm0000169", "nm0000700"};
    for (int o = 0; o < 7; ++o)
        principals += std::string("tt0113277\t") + std::to_string(o + 1) + '\t' + heat[o] + "\tactor\t\\N\t\\N\n";
    writeGzip(folder + "/title.principals.tsv.gz", principals);
    writeGzip(folder + "/name.basics.tsv.gz",
              "nconst\tprimaryName\tbirthYear\tdeathYear\tprimaryProfession\tknownForTitles\n"
              "nm0000520\tMichael Mann\t\\N\t\\N\t\\N\t\\N\nnm0000199\tAl Pacino\t\\N\t\\N\t\\N\t\\N\n"
              "nm0000134\tRobert De Niro\t\\N\t\\N\t\\N\t\\N\nnm0000158\tTom Sizemore\t\\N\t\\N\t\\N\t\\N\n"
              "nm0000380\tVal Kilmer\t\\N\t\\N\t\\N\t\\N\nnm0000620\tJon Voight\t\\N\t\\N\t\\N\t\\N\n"
              "nm0000169\tDiane Venora\t\\N\t\\N\t\\N\t\\N\nnm0000700\tAmy Brenneman\t\\N\t\\N\t\\N\t\\N\n"
              "nm0000466\tJean-Pierre Jeunet Dupont-Aignan de la Tour\t\\N\t\\N\t\\N\t\\N\n"
              "nm0000001\tŁukasz Żółtowski-Wiśniewski\t\\N\t\\N\t\\N\t\\N\n"
              "nm0000002\tSecond Director\t\\N\t\\N\t\\N\t\\N\nnm0000003\tThird Director\t\\N\t\\N\t\\N\t\\N\n");
    const std::string index = dir.file("imdb.sqlite");
    lookup::buildImdbIndex(folder, index);
    return index;
}

} // namespace
