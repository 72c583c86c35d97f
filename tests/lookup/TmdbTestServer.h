#pragma once

// A stand-in for TMDb on 127.0.0.1: an HTTP/1.1 server of the tests that
// answers each request as a route says (status, headers, body, a delay, or no
// answer at all), with bodies shaped as TMDb's API documentation shows them,
// and keeps every request it was sent.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <functional>
#include <memory>

namespace testing_support {

struct HttpRequest {
    QString path;
    QUrlQuery query;
    QMap<QByteArray, QByteArray> headers; // names in lower case
};

struct HttpAnswer {
    HttpAnswer(int status = 200, QByteArray body = {}, QList<std::pair<QByteArray, QByteArray>> headers = {}, int delayMs = 0,
               bool silent = false, QByteArray contentType = "application/json;charset=utf-8")
        : status(status)
        , body(std::move(body))
        , headers(std::move(headers))
        , delayMs(delayMs)
        , silent(silent)
        , contentType(std::move(contentType))
    {
    }
    int status;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    int delayMs;
    bool silent; // never answers
    QByteArray contentType;
};

class TmdbTestServer : public QObject {
public:
    using Route = std::function<HttpAnswer(const HttpRequest&)>;

    TmdbTestServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                auto buffer = std::make_shared<QByteArray>();
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                    buffer->append(socket->readAll());
                    const qsizetype end = buffer->indexOf("\r\n\r\n");
                    if (end < 0)
                        return;
                    const QByteArray head = buffer->left(end);
                    buffer->remove(0, end + 4);
                    answer(socket, head);
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    // The API's address (as the client's settings take it) and the server's own.
    QString api() const { return root() + "/3"; }
    QString root() const { return "http://127.0.0.1:" + QString::number(m_server.serverPort()); }

    // Requests whose path starts with prefix are answered by route (the last one added first).
    void on(const QString& prefix, Route route) { m_routes.prepend({prefix, std::move(route)}); }
    void on(const QString& prefix, HttpAnswer answer)
    {
        on(prefix, [answer](const HttpRequest&) { return answer; });
    }

    const QList<HttpRequest>& requests() const { return m_requests; }
    int requestsTo(const QString& prefix) const
    {
        int n = 0;
        for (const HttpRequest& r : m_requests)
            n += r.path.startsWith(prefix);
        return n;
    }

private:
    void answer(QTcpSocket* socket, const QByteArray& head)
    {
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        HttpRequest request;
        const QUrl target("http://x" + QString::fromLatin1(first.value(1)));
        request.path = target.path();
        request.query = QUrlQuery(target);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
        }
        m_requests.append(request);
        HttpAnswer answer{404, R"({"success":false,"status_code":34,"status_message":"The resource you requested could not be found."})"};
        for (const auto& [prefix, route] : m_routes)
            if (request.path.startsWith(prefix)) {
                answer = route(request);
                break;
            }
        if (answer.silent)
            return;
        QTimer::singleShot(answer.delayMs, socket, [socket, answer] {
            QByteArray out = "HTTP/1.1 " + QByteArray::number(answer.status) + " Status\r\n";
            out += "Content-Type: " + answer.contentType + "\r\n";
            out += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
            for (const auto& [name, value] : answer.headers)
                out += name + ": " + value + "\r\n";
            out += "\r\n" + answer.body;
            socket->write(out);
        });
    }

    QTcpServer m_server;
    QList<std::pair<QString, Route>> m_routes;
    QList<HttpRequest> m_requests;
};

// Bodies as TMDb's documentation shows them (the fields the program reads, and some it does not).
inline QByteArray tmdbSearchBody(const QList<std::tuple<int, QString, QString, QString, QString>>& films)
{
    QByteArray results;
    for (const auto& [id, title, original, date, poster] : films) {
        if (!results.isEmpty())
            results += ",";
        results += QString(R"({"adult":false,"backdrop_path":"/b%1.jpg","genre_ids":[80,18],"id":%1,"original_language":"en",)"
                           R"("original_title":"%3","overview":"A film.","popularity":30.5,"poster_path":%5,)"
                           R"("release_date":"%4","title":"%2","video":false,"vote_average":7.9,"vote_count":6000})")
                       .arg(id)
                       .arg(title, original, date, poster.isEmpty() ? QString("null") : "\"" + poster + "\"")
                       .toUtf8();
    }
    return R"({"page":1,"results":[)" + results + R"(],"total_pages":1,"total_results":)"
           + QByteArray::number(films.size()) + "}";
}

inline QByteArray tmdbConfigurationBody(const QString& imageBase)
{
    return QString(R"({"change_keys":["adult","air_date"],"images":{"base_url":"%1","secure_base_url":"%1",)"
                   R"("backdrop_sizes":["w300","w780","w1280","original"],"logo_sizes":["w45","w92"],)"
                   R"("poster_sizes":["w92","w154","w185","w342","w500","w780","original"],)"
                   R"("profile_sizes":["w45","w185","h632","original"],"still_sizes":["w92","w185","original"]}})")
        .arg(imageBase)
        .toUtf8();
}

// Heat (1995), as /movie/949?append_to_response=credits,release_dates gives it.
inline QByteArray tmdbHeatDetailsBody()
{
    return QByteArray(R"({"adult":false,"backdrop_path":"/b.jpg","belongs_to_collection":null,"budget":60000000,)"
                      R"("genres":[{"id":80,"name":"Crime"},{"id":18,"name":"Drama"},{"id":28,"name":"Action"}],)"
                      R"("homepage":"","id":949,"imdb_id":"tt0113277","original_language":"en","original_title":"Heat",)"
                      R"("overview":"Obsessive master thief Neil McCauley leads a top-notch crew on various daring heists throughout Los Angeles while determined detective Vincent Hanna pursues him without rest. Each man recognizes and respects the ability and the dedication of the other.",)"
                      R"("popularity":51.2,"poster_path":"/heat.jpg","release_date":"1995-12-15","revenue":187436818,"runtime":170,)"
                      R"("status":"Released","tagline":"A Los Angeles crime saga","title":"Heat","video":false,"vote_average":7.9,"vote_count":6800,)"
                      R"("credits":{"cast":[)"
                      R"({"adult":false,"cast_id":2,"character":"Lt. Vincent Hanna","credit_id":"a","gender":2,"id":1158,"known_for_department":"Acting","name":"Al Pacino","order":0},)"
                      R"({"adult":false,"cast_id":4,"character":"Chris Shiherlis","credit_id":"c","gender":2,"id":5576,"known_for_department":"Acting","name":"Val Kilmer","order":2},)"
                      R"({"adult":false,"cast_id":3,"character":"Neil McCauley","credit_id":"b","gender":2,"id":380,"known_for_department":"Acting","name":"Robert De Niro","order":1}],)"
                      R"("crew":[)"
                      R"({"adult":false,"credit_id":"d","department":"Directing","gender":2,"id":638,"job":"Director","name":"Michael Mann"},)"
                      R"({"adult":false,"credit_id":"e","department":"Writing","gender":2,"id":638,"job":"Screenplay","name":"Michael Mann"},)"
                      R"({"adult":false,"credit_id":"f","department":"Production","gender":2,"id":5,"job":"Producer","name":"Art Linson"},)"
                      R"({"adult":false,"credit_id":"g","department":"Sound","gender":2,"id":6,"job":"Original Music Composer","name":"Elliot Goldenthal"}]},)"
                      R"("release_dates":{"results":[)"
                      R"({"iso_3166_1":"DE","release_dates":[{"certification":"","iso_639_1":"","note":"","release_date":"1996-02-29T00:00:00.000Z","type":4},)"
                      R"({"certification":"16","iso_639_1":"","note":"","release_date":"1996-02-29T00:00:00.000Z","type":3}]},)"
                      R"({"iso_3166_1":"US","release_dates":[{"certification":"R","iso_639_1":"","note":"","release_date":"1995-12-15T00:00:00.000Z","type":3}]}]}})");
}

// A poster as TMDb's image server gives one: a JPEG of that size.
inline QByteArray jpegPoster(int width = 500, int height = 750)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

inline QByteArray tmdbError(int code, const char* message)
{
    return QString(R"({"success":false,"status_code":%1,"status_message":"%2"})").arg(code).arg(message).toUtf8();
}

} // namespace testing_support
