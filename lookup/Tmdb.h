#pragma once

// TMDb online, with the user's own API key (v3) or read access token (v4):
// films found by title and year or by their IMDb id, a film's details with
// its credits and certifications, and its poster through TMDb's image
// configuration (kept for a week). Every request is asynchronous, on Qt's
// network access, so that no window waits on the service; each has a time
// limit the user sets, and an answer of 429 is waited out as long as it says.
// The batch and the command line wait for the answers in an event loop of
// their own (awaitAnswer).

#include "DbError.h"
#include "Film.h"

#include <QEventLoop>
#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QNetworkAccessManager;
class QJsonObject;
class QNetworkReply;

namespace app {
struct Settings;
}

namespace lookup {

// TMDb's terms ask for this notice wherever its data is shown.
inline constexpr const char* kTmdbAttribution =
    "This product uses the TMDB API but is not endorsed or certified by TMDB. (https://www.themoviedb.org)";

struct TmdbSettings {
    std::string credential;                        // the API key, or the read access token
    std::string address = "https://api.themoviedb.org/3";
    int timeoutSeconds = 20;                       // for each request, from asking to the whole answer
    std::string country = "US";                    // whose certification becomes the Rating
    std::string language;                          // "de-DE": titles and overviews in it where TMDb has them
    std::string configurationCache;                // the file the image configuration is kept in; "" none
    int mostWaits = 3;                             // answers of 429 waited out for one request
    int longestWaitSeconds = 60;                   // a 429 asking for longer is a failure
};

// The user's TMDb settings: key, time limit, country, the language the
// program speaks, and the image configuration kept in the cache folder.
// $REELKEEPER_TMDB_ADDRESS names another address of the API (a mirror, a test server).
TmdbSettings tmdbSettings(const app::Settings& settings);

// What an answer gives: the films (or the one film, or the picture's bytes), or why there are none.
// status is the HTTP status of a failure TMDb answered with (404: it has no such film).
struct TmdbFilms {
    std::vector<Film> films;
    std::optional<db::Message> failure;
    int status = 0;
};
struct TmdbFilm {
    std::optional<Film> film;
    std::optional<db::Message> failure;
    int status = 0;
};
struct TmdbPicture {
    std::string bytes;
    std::optional<db::Message> failure;
    int status = 0;
};

class TmdbClient : public QObject {
    Q_OBJECT

public:
    explicit TmdbClient(TmdbSettings settings, QObject* parent = nullptr);
    ~TmdbClient() override;

    const TmdbSettings& settings() const { return m_settings; }

    // Films whose titles TMDb finds for title (of that year, 0: any), as its
    // search gives them: title, original title, year, poster and overview.
    void search(const std::string& title, int year, std::function<void(TmdbFilms)> done);
    // The film (or films) TMDb knows by an IMDb id ("tt0113277").
    void findImdb(const std::string& imdbId, std::function<void(TmdbFilms)> done);
    // One film whole: credits, genres, runtime, IMDb id, certification.
    void details(int tmdbId, std::function<void(TmdbFilm)> done);
    // A film's poster at the smallest of TMDb's sizes at least longestSide tall.
    void poster(const std::string& posterPath, int longestSide, std::function<void(TmdbPicture)> done);

    // Drops every answer not yet come: their callbacks are never called.
    void cancelAll();

private:
    using BodyDone = std::function<void(QByteArray body, int status, std::optional<db::Message> failure)>;
    void get(const QUrl& url, bool api, qint64 largest, BodyDone done, int waited = 0);
    void finished(QNetworkReply* reply, const QUrl& url, bool api, qint64 largest, const BodyDone& done, int waited);
    QUrl apiUrl(const QString& path, std::vector<std::pair<QString, QString>> query) const;
    void withConfiguration(std::function<void(std::optional<db::Message>)> done);
    bool loadConfiguration();
    bool takeImages(const QJsonObject& images);

    TmdbSettings m_settings;
    QNetworkAccessManager* m_network;
    std::vector<QNetworkReply*> m_pending;
    // The image configuration: where pictures are, in which widths ("w92", "original").
    QString m_imageBase;
    std::vector<QString> m_posterSizes;
    std::vector<std::function<void(std::optional<db::Message>)>> m_configurationWaiters;
};

// Waits in an event loop of its own for an asynchronous answer: start gets
// the callback to hand the answer to.
template <class Answer, class Start>
Answer awaitAnswer(Start start)
{
    std::optional<Answer> answer;
    QEventLoop loop;
    start([&answer, &loop](Answer given) {
        answer = std::move(given);
        loop.quit();
    });
    if (!answer)
        loop.exec();
    return std::move(*answer);
}

// Whether two titles are the same words (any order, accents and case aside).
bool sameTitle(const std::string& a, const std::string& b);

} // namespace lookup
