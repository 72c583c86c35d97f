#pragma once

// A film as a catalogue gives it (IMDb's datasets or TMDb), in the shape the
// fill-in takes it: each source fills what it has, the rest stays empty.

#include <string>
#include <vector>

namespace lookup {

struct Film {
    std::string id;       // the IMDb id, "tt0113277"; empty when the source does not know it
    std::string kind;     // movie, tvMovie, tvSeries, video, short...
    std::string title;
    std::string originalTitle;
    int year = 0;
    int runtime = 0;      // minutes
    std::vector<std::string> genres;
    double rating = 0;    // out of ten; 0 for none
    int votes = 0;
    std::vector<std::string> directors, writers, stars, producers; // names, in billing order
    // What only TMDb gives.
    int tmdbId = 0;
    std::string overview;      // the story in a few lines
    std::string certification; // the age rating in the user's country ("PG-13", "12")
    std::string posterPath;    // "/abc.jpg", read through TMDb's image configuration
};

} // namespace lookup
