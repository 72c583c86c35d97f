#include "Tmdb.h"

#include "ImdbIndex.h"
#include "ProgramFolders.h"
#include "Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <set>

namespace lookup {

namespace {

constexpr qint64 kLargestAnswer = 8LL << 20;  // a JSON answer larger than this is no answer of TMDb's
constexpr qint64 kLargestPoster = 40LL << 20; // nor is a poster larger than this
constexpr int kConfigurationDays = 7;         // TMDb asks that its image configuration be fetched again now and then

std::string text(const QJsonValue& value) { return value.toString().trimmed().toStdString(); }

int yearOf(const QJsonValue& releaseDate)
{
    const QString date = releaseDate.toString();
    return date.size() >= 4 ? date.left(4).toInt() : 0;
}

// The fields a search, a find and the details all give a film.
Film filmFrom(const QJsonObject& o)
{
    Film film;
    film.tmdbId = o.value("id").toInt();
    film.title = text(o.value("title"));
    film.originalTitle = text(o.value("original_title"));
    film.year = yearOf(o.value("release_date"));
    film.overview = text(o.value("overview"));
    film.posterPath = text(o.value("poster_path"));
    film.rating = o.value("vote_average").toDouble();
    film.votes = o.value("vote_count").toInt();
    film.kind = "movie";
    return film;
}

std::vector<Film> filmsFrom(const QJsonArray& results)
{
    std::vector<Film> films;
    for (const QJsonValue& result : results)
        if (result.isObject() && result.toObject().value("id").toInt() > 0)
            films.push_back(filmFrom(result.toObject()));
    return films;
}

void addOnce(std::vector<std::string>& names, const std::string& name)
{
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

// The certification of the film's release in a country: a theatrical one first, else any.
std::string certificationIn(const QJsonObject& details, const std::string& country)
{
    const QJsonArray countries = details.value("release_dates").toObject().value("results").toArray();
    for (const QJsonValue& c : countries) {
        if (c.toObject().value("iso_3166_1").toString().toStdString() != country)
            continue;
        std::string any;
        for (const QJsonValue& release : c.toObject().value("release_dates").toArray()) {
            const std::string certification = text(release.toObject().value("certification"));
            if (certification.empty())
                continue;
            if (release.toObject().value("type").toInt() == 3) // theatrical
                return certification;
            if (any.empty())
                any = certification;
        }
        return any;
    }
    return {};
}

Film detailsFrom(const QJsonObject& o, const std::string& country)
{
    Film film = filmFrom(o);
    const std::string imdb = text(o.value("imdb_id"));
    if (imdb.starts_with("tt"))
        film.id = imdb;
    film.runtime = o.value("runtime").toInt();
    for (const QJsonValue& genre : o.value("genres").toArray())
        addOnce(film.genres, text(genre.toObject().value("name")));
    const QJsonObject credits = o.value("credits").toObject();
    std::vector<QJsonObject> cast;
    for (const QJsonValue& member : credits.value("cast").toArray())
        cast.push_back(member.toObject());
    std::stable_sort(cast.begin(), cast.end(),
                     [](const QJsonObject& a, const QJsonObject& b) { return a.value("order").toInt() < b.value("order").toInt(); });
    for (const QJsonObject& member : cast)
        addOnce(film.stars, text(member.value("name")));
    for (const QJsonValue& value : credits.value("crew").toArray()) {
        const QJsonObject member = value.toObject();
        const QString job = member.value("job").toString();
        const std::string name = text(member.value("name"));
        if (job == "Director")
            addOnce(film.directors, name);
        else if (job == "Producer")
            addOnce(film.producers, name);
        if (member.value("department").toString() == "Writing")
            addOnce(film.writers, name);
    }
    film.certification = certificationIn(o, country);
    if (film.certification.empty() && country != "US")
        film.certification = certificationIn(o, "US");
    return film;
}

// The seconds a 429 answer asks to wait: a number, or an HTTP date.
int retryAfterSeconds(const QByteArray& header)
{
    bool number = false;
    const int seconds = header.trimmed().toInt(&number);
    if (number)
        return std::max(0, seconds);
    const QDateTime when = QDateTime::fromString(QString::fromLatin1(header).trimmed(), Qt::RFC2822Date);
    if (when.isValid())
        return static_cast<int>(std::max<qint64>(0, QDateTime::currentDateTimeUtc().secsTo(when)));
    return 1;
}

db::Message failureOf(int status, const QByteArray& body)
{
    // TMDb's errors carry a status_message; said after ours when there is one.
    const QString said = QJsonDocument::fromJson(body).object().value("status_message").toString().left(300);
    const std::string number = std::to_string(status);
    switch (status) {
    case 401:
        return db::Message(TRANSLATABLE("lookup", "TMDb did not accept the API key or read token (HTTP %1): %2 "
                                                  "Give yours in Options, TMDb Online Lookup."),
                           {number, said.toStdString()});
    case 404:
        return db::Message(TRANSLATABLE("lookup", "TMDb does not have it (HTTP %1): %2"), {number, said.toStdString()});
    default:
        if (status >= 500)
            return db::Message(TRANSLATABLE("lookup", "TMDb could not answer (HTTP %1). Try again later."), {number});
        return db::Message(TRANSLATABLE("lookup", "TMDb refused the request (HTTP %1): %2"), {number, said.toStdString()});
    }
}

std::optional<QJsonObject> objectOf(const QByteArray& body, std::optional<db::Message>& failure)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        failure = db::Message(TRANSLATABLE("lookup", "TMDb's answer was not the JSON its documentation describes."));
        return std::nullopt;
    }
    return document.object();
}

} // namespace

TmdbSettings tmdbSettings(const app::Settings& settings)
{
    TmdbSettings tmdb;
    tmdb.credential = settings.tmdbKey.trimmed().toStdString();
    tmdb.timeoutSeconds = settings.tmdbTimeout;
    tmdb.country = settings.tmdbCountry.trimmed().toUpper().toStdString();
    if (tmdb.country.size() != 2)
        tmdb.country = "US";
    // Titles and overviews in the language the program speaks, where TMDb has them.
    const QLocale spoken = settings.language.isEmpty() ? QLocale::system() : QLocale(settings.language);
    if (spoken.language() != QLocale::C)
        tmdb.language = spoken.name().replace('_', '-').toStdString();
    tmdb.configurationCache = app::tmdbConfigurationPath().toStdString();
    if (const QByteArray address = qgetenv("REELKEEPER_TMDB_ADDRESS"); !address.isEmpty())
        tmdb.address = address.toStdString();
    return tmdb;
}

bool sameTitle(const std::string& a, const std::string& b)
{
    const std::string key = titleKey(a);
    return !key.empty() && key == titleKey(b);
}

TmdbClient::TmdbClient(TmdbSettings settings, QObject* parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_network(new QNetworkAccessManager(this))
{
}

TmdbClient::~TmdbClient() { cancelAll(); }

void TmdbClient::cancelAll()
{
    std::vector<QNetworkReply*> pending;
    pending.swap(m_pending);
    for (QNetworkReply* reply : pending) {
        reply->disconnect();
        reply->abort();
        reply->deleteLater();
    }
    m_configurationWaiters.clear();
}

QUrl TmdbClient::apiUrl(const QString& path, std::vector<std::pair<QString, QString>> query) const
{
    QUrl url(QString::fromStdString(m_settings.address).remove(QRegularExpression("/+$")) + path);
    if (!m_settings.language.empty())
        query.emplace_back("language", QString::fromStdString(m_settings.language));
    // A v3 API key goes in the address; a v4 read token (a JWT, with dots) in the Authorization header.
    if (m_settings.credential.find('.') == std::string::npos)
        query.emplace_back("api_key", QString::fromStdString(m_settings.credential));
    // Every value encoded whole: a "+", "&" or "#" in a title is a letter of the title.
    QByteArray encoded;
    for (const auto& [key, value] : query)
        encoded += (encoded.isEmpty() ? "" : "&") + QUrl::toPercentEncoding(key) + "=" + QUrl::toPercentEncoding(value);
    url.setQuery(QString::fromLatin1(encoded), QUrl::StrictMode);
    return url;
}

void TmdbClient::get(const QUrl& url, bool api, qint64 largest, BodyDone done, int waited)
{
    if (api && m_settings.credential.empty()) {
        done({}, 0, db::Message(TRANSLATABLE("lookup", "No TMDb API key or read token is set: give yours in Options, TMDb Online Lookup.")));
        return;
    }
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "application/json");
    if (api && m_settings.credential.find('.') != std::string::npos)
        request.setRawHeader("Authorization", "Bearer " + QByteArray::fromStdString(m_settings.credential));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_network->get(request);
    m_pending.push_back(reply);
    // The time limit runs from asking to the whole answer; past it the request is given up.
    auto* limit = new QTimer(reply);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, reply, [reply] {
        reply->setProperty("timedOut", true);
        reply->abort();
    });
    limit->start(std::max(1, m_settings.timeoutSeconds) * 1000);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, largest](qint64 received, qint64) {
        if (received > largest) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, url, api, largest, done = std::move(done), waited] {
        finished(reply, url, api, largest, done, waited);
    });
}

void TmdbClient::finished(QNetworkReply* reply, const QUrl& url, bool api, qint64 largest, const BodyDone& done, int waited)
{
    std::erase(m_pending, reply);
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->property("timedOut").toBool()) {
        done({}, 0, db::Message(TRANSLATABLE("lookup", "TMDb did not answer within %1 seconds. Options, TMDb Online Lookup "
                                                    "can give it longer."),
                             {std::to_string(m_settings.timeoutSeconds)}));
        return;
    }
    if (reply->property("tooLarge").toBool()) {
        done({}, status, db::Message(TRANSLATABLE("lookup", "TMDb's answer was larger than any it gives: it was left unread.")));
        return;
    }
    if (status == 429) {
        const int seconds = retryAfterSeconds(reply->rawHeader("Retry-After"));
        if (waited >= m_settings.mostWaits || seconds > m_settings.longestWaitSeconds) {
            done({}, status, db::Message(TRANSLATABLE("lookup", "TMDb asks for fewer requests (HTTP 429) and to wait %1 seconds. "
                                                        "Try again later."),
                                 {std::to_string(seconds)}));
            return;
        }
        // Waited out as the answer says, then asked again; a window goes on meanwhile.
        QTimer::singleShot(std::max(seconds, 0) * 1000 + 50, this,
                           [this, url, api, largest, done, waited] { get(url, api, largest, done, waited + 1); });
        return;
    }
    const QByteArray body = reply->readAll();
    if (status >= 400) {
        done({}, status, failureOf(status, body));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        done({}, 0, db::Message(TRANSLATABLE("lookup", "TMDb could not be reached: %1"), {reply->errorString().toStdString()}));
        return;
    }
    done(body, status, std::nullopt);
}

void TmdbClient::search(const std::string& title, int year, std::function<void(TmdbFilms)> done)
{
    std::vector<std::pair<QString, QString>> query = {{"query", QString::fromStdString(title)}, {"include_adult", "false"}};
    if (year > 0)
        query.emplace_back("year", QString::number(year));
    get(apiUrl("/search/movie", query), true, kLargestAnswer, [done = std::move(done)](QByteArray body, int status, std::optional<db::Message> failure) {
        TmdbFilms answer;
        answer.status = status;
        if (!failure)
            if (const auto o = objectOf(body, failure))
                answer.films = filmsFrom(o->value("results").toArray());
        answer.failure = failure;
        done(std::move(answer));
    });
}

void TmdbClient::findImdb(const std::string& imdbId, std::function<void(TmdbFilms)> done)
{
    // Only a well-formed id goes into the address.
    static const QRegularExpression wellFormed("^tt[0-9]{1,10}$");
    if (!wellFormed.match(QString::fromStdString(imdbId)).hasMatch()) {
        done({{}, db::Message(TRANSLATABLE("lookup", "\"%1\" is no IMDb id (tt and a number)."), {imdbId})});
        return;
    }
    get(apiUrl("/find/" + QString::fromStdString(imdbId), {{"external_source", "imdb_id"}}), true, kLargestAnswer,
        [done = std::move(done), imdbId](QByteArray body, int status, std::optional<db::Message> failure) {
            TmdbFilms answer;
            answer.status = status;
            if (!failure)
                if (const auto o = objectOf(body, failure)) {
                    answer.films = filmsFrom(o->value("movie_results").toArray());
                    for (Film& film : answer.films)
                        film.id = imdbId;
                }
            answer.failure = failure;
            done(std::move(answer));
        });
}

void TmdbClient::details(int tmdbId, std::function<void(TmdbFilm)> done)
{
    get(apiUrl("/movie/" + QString::number(tmdbId), {{"append_to_response", "credits,release_dates"}}), true, kLargestAnswer,
        [this, done = std::move(done)](QByteArray body, int status, std::optional<db::Message> failure) {
            TmdbFilm answer;
            answer.status = status;
            if (!failure)
                if (const auto o = objectOf(body, failure))
                    answer.film = detailsFrom(*o, m_settings.country);
            answer.failure = failure;
            done(std::move(answer));
        });
}

bool TmdbClient::loadConfiguration()
{
    if (m_settings.configurationCache.empty())
        return false;
    QFile file(QString::fromStdString(m_settings.configurationCache));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestAnswer)
        return false;
    const QJsonObject kept = QJsonDocument::fromJson(file.readAll()).object();
    const QDateTime fetched = QDateTime::fromString(kept.value("fetched").toString(), Qt::ISODate);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!fetched.isValid() || fetched > now || fetched.daysTo(now) >= kConfigurationDays)
        return false;
    return takeImages(kept.value("images").toObject());
}

bool TmdbClient::takeImages(const QJsonObject& images)
{
    m_imageBase = images.value("secure_base_url").toString();
    m_posterSizes.clear();
    for (const QJsonValue& size : images.value("poster_sizes").toArray())
        m_posterSizes.push_back(size.toString());
    if (m_imageBase.isEmpty() || m_posterSizes.empty()) {
        m_imageBase.clear(); // none known: asked for again
        return false;
    }
    return true;
}

void TmdbClient::withConfiguration(std::function<void(std::optional<db::Message>)> done)
{
    if (!m_imageBase.isEmpty() || loadConfiguration()) {
        done(std::nullopt);
        return;
    }
    m_configurationWaiters.push_back(std::move(done));
    if (m_configurationWaiters.size() > 1)
        return; // asked already: every waiter hears the one answer
    get(apiUrl("/configuration", {}), true, kLargestAnswer, [this](QByteArray body, int, std::optional<db::Message> failure) {
        if (!failure)
            if (const auto o = objectOf(body, failure)) {
                const QJsonObject images = o->value("images").toObject();
                if (!takeImages(images)) {
                    failure = db::Message(TRANSLATABLE("lookup", "TMDb's answer was not the JSON its documentation describes."));
                } else if (!m_settings.configurationCache.empty()) {
                    QJsonObject kept{{"fetched", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)}, {"images", images}};
                    const QString path = QString::fromStdString(m_settings.configurationCache);
                    QDir().mkpath(QFileInfo(path).absolutePath());
                    QSaveFile file(path);
                    if (file.open(QIODevice::WriteOnly)) { // kept only to save a request: not kept is no failure
                        file.write(QJsonDocument(kept).toJson(QJsonDocument::Compact));
                        file.commit();
                    }
                }
            }
        std::vector<std::function<void(std::optional<db::Message>)>> waiters;
        waiters.swap(m_configurationWaiters);
        for (auto& waiter : waiters)
            waiter(failure);
    });
}

void TmdbClient::poster(const std::string& posterPath, int longestSide, std::function<void(TmdbPicture)> done)
{
    // A poster path is one file name; anything else in it could point the request elsewhere.
    static const QRegularExpression fileName("^/[A-Za-z0-9_-]+\\.(jpg|jpeg|png|webp)$");
    if (!fileName.match(QString::fromStdString(posterPath)).hasMatch()) {
        done({{}, db::Message(TRANSLATABLE("lookup", "TMDb gave no poster of a known kind (\"%1\")."), {posterPath})});
        return;
    }
    withConfiguration([this, posterPath, longestSide, done = std::move(done)](std::optional<db::Message> failure) {
        if (failure) {
            done({{}, failure});
            return;
        }
        // Posters are two wide to three tall: the smallest width whose height is enough, else the original.
        QString size = m_posterSizes.back();
        for (const QString& s : m_posterSizes)
            if (s.startsWith('w') && s.mid(1).toInt() * 3 / 2 >= longestSide) {
                size = s;
                break;
            }
        const QUrl url(m_imageBase + size + QString::fromStdString(posterPath));
        if (!url.isValid() || (url.scheme() != "https" && url.scheme() != "http")) {
            done({{}, db::Message(TRANSLATABLE("lookup", "TMDb's answer was not the JSON its documentation describes."))});
            return;
        }
        get(url, false, kLargestPoster, [done](QByteArray body, int status, std::optional<db::Message> failure) {
            done({body.toStdString(), failure, status});
        });
    });
}

} // namespace lookup
