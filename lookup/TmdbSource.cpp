#include "TmdbSource.h"

namespace lookup {

namespace {

// A service that cannot answer stops the batch: the same would happen to every other video.
template <class Answer>
Answer answered(Answer answer)
{
    if (answer.failure)
        throw db::DbError("", *answer.failure);
    return answer;
}

} // namespace

std::optional<Film> TmdbSource::details(const Film& found)
{
    const TmdbFilm answer = awaitAnswer<TmdbFilm>([&](auto done) { m_client.details(found.tmdbId, std::move(done)); });
    if (answer.status == 404)
        return {}; // gone from TMDb since it was found
    Film film = *answered(answer).film;
    if (film.id.empty())
        film.id = found.id;
    return film;
}

FillMatch TmdbSource::match(std::string_view title, int year, std::string_view imdbId)
{
    FillMatch match;
    if (imdbId.starts_with("tt")) {
        const TmdbFilms byId = answered(awaitAnswer<TmdbFilms>([&](auto done) { m_client.findImdb(std::string(imdbId), std::move(done)); }));
        if (byId.films.size() == 1) {
            match.film = details(byId.films.front());
            return match;
        }
    }
    const TmdbFilms found = answered(awaitAnswer<TmdbFilms>([&](auto done) { m_client.search(std::string(title), year, std::move(done)); }));
    std::vector<const Film*> same;
    for (const Film& film : found.films)
        if ((sameTitle(std::string(title), film.title) || sameTitle(std::string(title), film.originalTitle))
            && (year == 0 || film.year == year))
            same.push_back(&film);
    if (same.size() == 1)
        match.film = details(*same.front());
    else
        match.ambiguous = same.size() > 1;
    return match;
}

std::string TmdbSource::poster(const Film& film, int longestSide)
{
    if (film.posterPath.empty())
        return {};
    return answered(awaitAnswer<TmdbPicture>([&](auto done) { m_client.poster(film.posterPath, longestSide, std::move(done)); })).bytes;
}

} // namespace lookup
