#pragma once

// TMDb as the batch's source: a video's film beyond doubt is the one its IMDb
// id names at TMDb, else the one film TMDb finds whose title (or original
// title) is the video's and whose year is the video's. Each answer is waited
// for in an event loop of its own, so that a window's progress box goes on.

#include "FilmFill.h"
#include "Tmdb.h"

namespace lookup {

class TmdbSource final : public FilmSource {
public:
    explicit TmdbSource(TmdbClient& client)
        : m_client(client)
    {
    }
    FillMatch match(std::string_view title, int year, std::string_view imdbId) override;
    bool givesCovers() const override { return true; }
    std::string poster(const Film& film, int longestSide) override;

private:
    std::optional<Film> details(const Film& found);
    TmdbClient& m_client;
};

} // namespace lookup
