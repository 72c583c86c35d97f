#include "XmlCatalogues.h"

#include "DbError.h"
#include "FileIO.h"
#include "Schema.h"
#include "XmlPullReader.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QCoreApplication>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace exchange {

namespace {

constexpr int kStars = 6;
constexpr qint64 kLargestXml = qint64{512} << 20; // a catalogue larger than this is no catalogue
const char* const kTellicoNamespace = "http://periapsis.org/tellico/";
// Our own fields in a Tellico file: every value, under its stored name, so that it reads back the same.
const QString kOwnPrefix = "reelkeeper-";

size_t at(const char* field) { return valueIndex(field); }

std::string utf8(const QString& text) { return text.trimmed().toStdString(); }

// A value as the collection keeps it: without the spaces around it.
std::string trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

std::string joined(const std::vector<std::string>& values)
{
    std::string out;
    for (const std::string& v : values) {
        const std::string value = trimmed(v);
        if (value.empty())
            continue;
        if (!out.empty())
            out += ", ";
        out += value;
    }
    return out;
}

void putStars(CollectionValues& values, const std::vector<std::string>& names)
{
    int star = 0;
    for (const std::string& name : names) {
        std::string value = trimmed(name);
        if (!value.empty() && star < kStars)
            values[at("Star1") + static_cast<size_t>(star++)] = std::move(value);
    }
}

// Lists read by Qt's reader (Tellico, .nfo): each value trimmed as Qt trims it, then the same joining.
std::vector<std::string> trimmedUtf8(const QStringList& values)
{
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(values.size()));
    for (const QString& v : values)
        out.push_back(utf8(v));
    return out;
}

std::string joined(const QStringList& values) { return joined(trimmedUtf8(values)); }

void putStars(CollectionValues& values, const QStringList& names) { putStars(values, trimmedUtf8(names)); }

// The runs of digits in a text, as numbers (at most the first three).
std::vector<int> numbersIn(const QString& text)
{
    std::vector<int> numbers;
    int value = -1;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            value = std::min((value < 0 ? 0 : value) * 10 + (c.unicode() - '0'), 1000000);
        } else if (value >= 0) {
            numbers.push_back(value);
            value = -1;
            if (numbers.size() == 3)
                return numbers;
        }
    }
    if (value >= 0)
        numbers.push_back(value);
    return numbers;
}

// "128", "128 min", "2h 8m", "2:08" as minutes ("" when none can be read).
std::string minutesOf(const QString& text)
{
    const std::vector<int> numbers = numbersIn(text);
    if (numbers.empty())
        return {};
    // Hours first when an "h" or a colon follows the first number.
    qsizetype after = 0;
    while (after < text.size() && !text[after].isDigit())
        ++after;
    while (after < text.size() && (text[after].isDigit() || text[after] == QLatin1Char(' ')))
        ++after;
    const bool hoursFirst = numbers.size() >= 2 && after < text.size()
                            && (text[after].toLower() == QLatin1Char('h') || text[after] == QLatin1Char(':'));
    return std::to_string(hoursFirst ? numbers[0] * 60 + numbers[1] : numbers[0]);
}

// The first year (four digits, 1870 to 2199) in a date or text.
std::string yearOf(const QString& text)
{
    int run = 0, value = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const QChar c = i < text.size() ? text[i] : QChar(' ');
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            value = run < 5 ? value * 10 + (c.unicode() - '0') : value;
            ++run;
            continue;
        }
        if (run == 4 && value >= 1870 && value <= 2199)
            return std::to_string(value);
        run = value = 0;
    }
    return {};
}

// A date as the collection reads it whatever its short date format: year first.
// "2023-01-05" stays; "05/01/2023" (day first, as GCstar writes) becomes 2023-01-05.
std::string isoDate(const QString& text)
{
    static const QRegularExpression iso(R"(^(\d{4})-(\d{1,2})-(\d{1,2}))");
    static const QRegularExpression dayFirst(R"(^(\d{1,2})/(\d{1,2})/(\d{4})$)");
    const QString t = text.trimmed();
    if (const auto m = iso.match(t); m.hasMatch())
        return QString("%1-%2-%3").arg(m.captured(1)).arg(m.captured(2).toInt(), 2, 10, QChar('0')).arg(m.captured(3).toInt(), 2, 10, QChar('0')).toStdString();
    if (const auto m = dayFirst.match(t); m.hasMatch())
        return QString("%1-%2-%3").arg(m.captured(3)).arg(m.captured(2).toInt(), 2, 10, QChar('0')).arg(m.captured(1).toInt(), 2, 10, QChar('0')).toStdString();
    return {};
}

// "8" as "8/10" on a scale of 10; nothing for 0 or no number.
std::string ratingOutOf(const QString& text, int scale)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value <= 0)
        return {};
    return (QString::number(value) + "/" + QString::number(scale)).toStdString();
}

QByteArray readWholeFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "Cannot open the file: %1"),
                                            {file.errorString().toStdString()}});
    if (file.size() > kLargestXml)
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is too large for a catalogue")});
    return file.readAll();
}

bool isZip(const QByteArray& bytes) { return bytes.startsWith("PK\x03\x04"); }

// tellico.xml from a .tc file (a zip); throws when there is none.
QByteArray tellicoFromZip(const std::string& path)
{
    int error = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(path.c_str(), ZIP_RDONLY, &error), &zip_discard);
    if (!archive)
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no readable zip archive")});
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive.get(), "tellico.xml", 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The archive holds no tellico.xml: it is no Tellico "
                                                                     "file")});
    if (stat.size > static_cast<zip_uint64_t>(kLargestXml))
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is too large for a catalogue")});
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> member(zip_fopen(archive.get(), "tellico.xml", 0), &zip_fclose);
    if (!member)
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "tellico.xml in the archive cannot be read")});
    QByteArray bytes(static_cast<qsizetype>(stat.size), '\0');
    if (zip_fread(member.get(), bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "tellico.xml in the archive is damaged")});
    return bytes;
}

// The name of the first element of an XML text ("" when there is none),
// found past a byte order mark, the declaration, comments, processing
// instructions and a document type without judging the characters: a file
// whose text is damaged further on is still known for what it is, and its
// import then names the damage and its line.
QString rootElement(const QByteArray& bytes)
{
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const auto skipPast = [&](const char* end) {
        const qsizetype found = bytes.indexOf(end, at);
        at = found < 0 ? bytes.size() : found + static_cast<qsizetype>(std::strlen(end));
    };
    while (at < bytes.size()) {
        const char c = bytes[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
        } else if (bytes.mid(at, 4) == "<!--") {
            skipPast("-->");
        } else if (bytes.mid(at, 2) == "<?") {
            skipPast("?>");
        } else if (bytes.mid(at, 2) == "<!") {
            skipPast(">");
        } else if (c == '<') {
            qsizetype end = ++at;
            while (end < bytes.size() && !QByteArrayView(" \t\r\n/>").contains(bytes[end]))
                ++end;
            return QString::fromUtf8(bytes.mid(at, end - at));
        } else {
            return {};
        }
    }
    return {};
}

[[noreturn]] void damaged(const std::string& path, const QXmlStreamReader& xml)
{
    throw db::DbError(path, db::Message{TRANSLATABLE("db", "The XML is damaged at line %1: %2"),
                                        {std::to_string(xml.lineNumber()), xml.errorString().toStdString()}});
}

// The values of a list element, read to its end: one per child (<genres><genre>A</genre>...),
// the first column of each row (<actors><line><col>A</col><col>role</col></line>, Tellico's
// <casts><cast><column>A</column>...), or the element's own text when it has no children.
QStringList childTexts(QXmlStreamReader& xml)
{
    QStringList texts;
    QString ownText;
    while (xml.readNext() != QXmlStreamReader::EndElement && !xml.atEnd()) {
        if (xml.tokenType() == QXmlStreamReader::Characters) {
            ownText += xml.text();
            continue;
        }
        if (xml.tokenType() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (name != "line" && name != "cast") {
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            continue;
        }
        bool first = true;
        while (xml.readNextStartElement()) { // the row's columns
            const QString column = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (first)
                texts << column;
            first = false;
        }
    }
    if (texts.isEmpty() && !ownText.trimmed().isEmpty())
        texts << ownText;
    return texts;
}

// ---------------------------------------------------------------- GCstar

QString qtext(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::vector<std::string> splitAtCommas(std::string_view text)
{
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
        const size_t comma = text.find(',', from);
        parts.push_back(std::string(text.substr(from, comma == std::string_view::npos ? comma : comma - from)));
        if (comma == std::string_view::npos)
            return parts;
        from = comma + 1;
    }
}

// The values of a list element, read to its end, as childTexts above reads them.
std::vector<std::string> childTexts(XmlPullReader& xml)
{
    std::vector<std::string> texts;
    std::string ownText;
    while (true) {
        const XmlPullReader::Token token = xml.next();
        if (token == XmlPullReader::Token::EndElement || token == XmlPullReader::Token::End)
            break;
        if (token == XmlPullReader::Token::Text) {
            ownText += xml.text();
            continue;
        }
        if (xml.name() != "line" && xml.name() != "cast") {
            texts.push_back(xml.elementText());
            continue;
        }
        bool first = true;
        while (xml.nextChildElement()) { // the row's columns
            std::string column = xml.elementText();
            if (first)
                texts.push_back(std::move(column));
            first = false;
        }
    }
    if (texts.empty() && !trimmed(ownText).empty())
        texts.push_back(std::move(ownText));
    return texts;
}

CollectionValues gcstarItem(XmlPullReader& xml)
{
    CollectionValues v;
    const auto attribute = [&xml](const char* name) { return xml.attribute(name); };
    v[at("Title")] = trimmed(attribute("title"));
    if (v[at("Title")].empty())
        v[at("Title")] = trimmed(attribute("original"));
    v[at("Year")] = yearOf(qtext(attribute("date")));
    v[at("RunTime")] = minutesOf(qtext(attribute("time")));
    v[at("Director")] = trimmed(attribute("director"));
    v[at("PersonalRa")] = ratingOutOf(qtext(attribute("rating")), 10);
    v[at("Viewed")] = attribute("seen") == "1" ? "Yes" : "";
    v[at("Format")] = trimmed(attribute("format"));
    v[at("MediaNum")] = trimmed(attribute("number"));
    v[at("WherePurch")] = trimmed(attribute("place"));
    const std::string borrower = trimmed(attribute("borrower"));
    if (!borrower.empty() && qtext(borrower).compare("none", Qt::CaseInsensitive) != 0) {
        v[at("CheckOut")] = "Yes";
        v[at("CheckName")] = borrower;
        v[at("CheckDate")] = isoDate(qtext(attribute("lendDate")));
    }
    // Older files keep the lists as attributes, newer ones as elements.
    if (xml.hasAttribute("actors"))
        putStars(v, splitAtCommas(attribute("actors")));
    if (xml.hasAttribute("genre"))
        v[at("Category")] = joined(splitAtCommas(attribute("genre")));
    if (xml.hasAttribute("synopsis"))
        v[at("Descriptio")] = trimmed(attribute("synopsis"));
    if (xml.hasAttribute("comment"))
        v[at("Miscellane")] = trimmed(attribute("comment"));
    while (xml.nextChildElement()) {
        const std::string_view name = xml.name();
        if (name == "actors")
            putStars(v, childTexts(xml));
        else if (name == "genre")
            v[at("Category")] = joined(childTexts(xml));
        else if (name == "director")
            v[at("Director")] = joined(childTexts(xml));
        else if (name == "synopsis")
            v[at("Descriptio")] = trimmed(xml.elementText());
        else if (name == "comment")
            v[at("Miscellane")] = trimmed(xml.elementText());
        else
            xml.skipElement();
    }
    return v;
}

[[noreturn]] void damaged(const std::string& path, const XmlPullReader::Damage& damage)
{
    // The reader's reasons are Qt's own words for the same faults, which Qt's catalogue translates.
    throw db::DbError(path, db::Message{TRANSLATABLE("db", "The XML is damaged at line %1: %2"),
                                        {std::to_string(damage.line),
                                         QCoreApplication::translate("QXmlStream", damage.what()).toStdString()}});
}

} // namespace

// A GCstar collection read item by item from the file, mapped into memory: the
// file is read once, by the system, and no copy of it is made.
class GcstarItems {
public:
    explicit GcstarItems(const std::string& path)
        : m_path(path)
    {
        m_file.open(path, db::File::Mode::ReadOnly);
        const uint64_t size = m_file.size();
        if (size > static_cast<uint64_t>(kLargestXml))
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is too large for a catalogue")});
        m_length = static_cast<size_t>(size);
        if (m_length > 0 && !(m_view = m_file.map(0, m_length)))
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "Cannot read the file into memory")});
        try {
            m_xml = std::make_unique<XmlPullReader>(utf8Document(std::string_view(m_view, m_length), m_converted));
            if (!m_xml->nextChildElement() || m_xml->name() != "collection")
                throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no GCstar collection")});
        } catch (const XmlPullReader::Damage& damage) {
            if (std::string_view(damage.what()).starts_with("Premature end"))
                throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no GCstar collection")});
            damaged(path, damage);
        }
        const std::string type(m_xml->attribute("type"));
        if (type != "GCfilms")
            throw db::DbError(path, type.empty() ? db::Message{TRANSLATABLE("db", "The file is a GCstar collection of "
                                                                              "unknown things, not of films (GCfilms)")}
                                                 : db::Message{TRANSLATABLE("db", "The file is a GCstar collection of %1, "
                                                                                  "not of films (GCfilms)"),
                                                               {type}});
    }
    ~GcstarItems() { db::File::unmap(m_view, m_length); }
    GcstarItems(const GcstarItems&) = delete;
    GcstarItems& operator=(const GcstarItems&) = delete;

    // The next film; false at the end. Damaged XML throws, naming its line;
    // a film whose element is damaged is not taken.
    bool next(CollectionValues& film)
    {
        try {
            while (m_xml->nextChildElement()) {
                if (m_xml->name() == "item") {
                    film = gcstarItem(*m_xml);
                    return true;
                }
                m_xml->skipElement();
            }
        } catch (const XmlPullReader::Damage& damage) {
            damaged(m_path, damage);
        }
        return false;
    }

private:
    std::string m_path;
    db::File m_file;
    const char* m_view = nullptr;
    size_t m_length = 0;
    std::string m_converted; // the document in UTF-8 when the file is in another encoding
    std::unique_ptr<XmlPullReader> m_xml;
};

namespace {

std::vector<CollectionValues> readGcstar(const std::string& path)
{
    GcstarItems items(path);
    std::vector<CollectionValues> films;
    CollectionValues film;
    while (items.next(film))
        films.push_back(film);
    return films;
}

// ---------------------------------------------------------------- Tellico

const char* tellicoTypeName(int type)
{
    switch (type) {
    case 1: return "custom";
    case 2: return "book";
    case 4: return "music";
    case 5: return "bibliography";
    case 6: return "comic book";
    case 7: return "wine";
    case 8: return "coin";
    case 9: return "stamp";
    case 10: return "trading card";
    case 11: return "video game";
    case 12: return "file";
    case 13: return "board game";
    default: return "unknown";
    }
}

CollectionValues tellicoEntry(QXmlStreamReader& xml, QString& id)
{
    CollectionValues v;
    std::map<std::string, std::string> own; // our own fields by stored name
    id = xml.attributes().value("id").toString();
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        if (name.startsWith(kOwnPrefix)) {
            own[name.mid(kOwnPrefix.size()).toStdString()] = xml.readElementText().toStdString();
        } else if (name == "title") {
            v[at("Title")] = utf8(xml.readElementText());
        } else if (name == "year") {
            v[at("Year")] = yearOf(xml.readElementText());
        } else if (name == "medium") {
            v[at("Format")] = utf8(xml.readElementText());
        } else if (name == "certification") {
            v[at("Rating")] = utf8(xml.readElementText().remove(QRegularExpression(R"(\s*\([^)]*\)\s*$)")));
        } else if (name == "genres") {
            v[at("Category")] = joined(childTexts(xml));
        } else if (name == "keywords") {
            v[at("KeyWords")] = joined(childTexts(xml));
        } else if (name == "casts") {
            putStars(v, childTexts(xml));
        } else if (name == "directors") {
            v[at("Director")] = joined(childTexts(xml));
        } else if (name == "producers") {
            v[at("Producer")] = joined(childTexts(xml));
        } else if (name == "writers") {
            v[at("Writers")] = joined(childTexts(xml));
        } else if (name == "studios") {
            v[at("ReleasedBy")] = joined(childTexts(xml));
        } else if (name == "running-time") {
            v[at("RunTime")] = minutesOf(xml.readElementText());
        } else if (name == "plot") {
            v[at("Descriptio")] = utf8(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else if (name == "comments") {
            v[at("Miscellane")] = utf8(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else if (name == "rating") {
            v[at("PersonalRa")] = ratingOutOf(xml.readElementText(), 5);
        } else if (name == "pur_price") {
            static const QRegularExpression amount(R"(\d+(\.\d+)?)");
            const auto m = amount.match(xml.readElementText());
            v[at("PurchPrice")] = m.hasMatch() ? m.captured(0).toStdString() : std::string();
        } else if (name == "pur_date") {
            v[at("PurchDate")] = isoDate(xml.readElementText());
        } else if (name == "loaned") {
            v[at("CheckOut")] = xml.readElementText().trimmed() == "true" ? "Yes" : "";
        } else if (name == "seen") {
            v[at("Viewed")] = xml.readElementText().trimmed() == "true" ? "Yes" : "";
        } else {
            xml.skipCurrentElement();
        }
    }
    // A file of ours carries every value as it was: those stand.
    if (!own.empty())
        for (int p = 1; p <= db::kSchemaFieldCount; ++p) {
            const auto found = own.find(db::schemaField(p).name);
            v[static_cast<size_t>(p - 1)] = found == own.end() ? std::string() : found->second;
        }
    return v;
}

std::vector<CollectionValues> readTellico(const std::string& path, const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("tellico"))
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no Tellico collection")});
    std::vector<CollectionValues> films;
    std::map<QString, size_t> byId;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("collection")) {
            xml.skipCurrentElement();
            continue;
        }
        const int type = xml.attributes().value("type").toInt();
        if (type != 3)
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is a Tellico %1 collection, not a video "
                                                                   "collection"),
                                                {tellicoTypeName(type)}});
        while (xml.readNextStartElement()) {
            const QString name = xml.name().toString();
            if (name == "entry") {
                QString id;
                CollectionValues v = tellicoEntry(xml, id);
                byId[id] = films.size();
                films.push_back(std::move(v));
            } else if (name == "borrowers") {
                // <borrower name="..."><loan entryRef="id" loanDate="..."/></borrower>
                while (xml.readNextStartElement()) {
                    const QString borrower = xml.attributes().value("name").toString();
                    while (xml.readNextStartElement()) {
                        const auto found = byId.find(xml.attributes().value("entryRef").toString());
                        if (xml.name() == QLatin1String("loan") && found != byId.end()) {
                            CollectionValues& v = films[found->second];
                            v[at("CheckOut")] = "Yes";
                            v[at("CheckName")] = utf8(borrower);
                            v[at("CheckDate")] = isoDate(xml.attributes().value("loanDate").toString());
                        }
                        xml.skipCurrentElement();
                    }
                }
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError())
        damaged(path, xml);
    return films;
}

// ---------------------------------------------------------------- Kodi .nfo

CollectionValues nfoMovie(QXmlStreamReader& xml)
{
    CollectionValues v;
    QStringList genres, directors, writers, studios, actors, tags;
    QString originalTitle, premiered;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        if (name == "title") {
            v[at("Title")] = utf8(xml.readElementText());
        } else if (name == "originaltitle") {
            originalTitle = xml.readElementText();
        } else if (name == "year") {
            v[at("Year")] = yearOf(xml.readElementText());
        } else if (name == "premiered") {
            premiered = xml.readElementText();
        } else if (name == "runtime") {
            v[at("RunTime")] = minutesOf(xml.readElementText());
        } else if (name == "plot") {
            v[at("Descriptio")] = utf8(xml.readElementText());
        } else if (name == "mpaa") {
            v[at("Rating")] = utf8(xml.readElementText().remove(QRegularExpression(R"(^Rated\s+)")));
        } else if (name == "genre") {
            genres << xml.readElementText();
        } else if (name == "director") {
            directors << xml.readElementText();
        } else if (name == "credits") {
            writers << xml.readElementText();
        } else if (name == "studio") {
            studios << xml.readElementText();
        } else if (name == "tag") {
            tags << xml.readElementText();
        } else if (name == "userrating") {
            v[at("PersonalRa")] = ratingOutOf(xml.readElementText(), 10);
        } else if (name == "playcount") {
            if (xml.readElementText().trimmed().toInt() > 0)
                v[at("Viewed")] = "Yes";
        } else if (name == "watched") {
            if (xml.readElementText().trimmed() == "true")
                v[at("Viewed")] = "Yes";
        } else if (name == "uniqueid") {
            const bool imdb = xml.attributes().value("type") == QLatin1String("imdb");
            const QString id = xml.readElementText();
            if (imdb)
                v[at("UserDef1")] = utf8(id);
        } else if (name == "id") {
            const QString id = xml.readElementText().trimmed();
            if (id.startsWith("tt") && v[at("UserDef1")].empty())
                v[at("UserDef1")] = utf8(id);
        } else if (name == "actor") {
            QString actor;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("name"))
                    actor = xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
            actors << actor;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (v[at("Title")].empty())
        v[at("Title")] = utf8(originalTitle);
    if (v[at("Year")].empty())
        v[at("Year")] = yearOf(premiered);
    v[at("Category")] = joined(genres);
    v[at("Director")] = joined(directors);
    v[at("Writers")] = joined(writers);
    v[at("ReleasedBy")] = joined(studios);
    v[at("KeyWords")] = joined(tags);
    putStars(v, actors);
    return v;
}

CollectionValues readNfoFile(const std::string& path)
{
    const QByteArray bytes = readWholeFile(path);
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement())
        throw db::DbError(path, xml.hasError() ? db::Message{TRANSLATABLE("db", "The XML is damaged: %1"),
                                                             {xml.errorString().toStdString()}}
                                               : db::Message{TRANSLATABLE("db", "The file holds no XML")});
    const QString root = xml.name().toString();
    if (root == "tvshow" || root == "episodedetails")
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file describes a TV show, not a movie")});
    if (root != "movie")
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no movie .nfo (its first element is <%1>)"),
                                            {root.toStdString()}});
    CollectionValues v = nfoMovie(xml);
    if (xml.hasError())
        damaged(path, xml);
    return v;
}

std::vector<CollectionValues> readNfoFolder(const std::string& path, std::vector<db::DbError>* refused)
{
    QStringList files;
    // System entries too (FIFOs, devices, links to them): they are named among the files left out.
    QDirIterator it(QString::fromStdString(path), {"*.nfo", "*.NFO"}, QDir::Files | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort(); // the same order every time, whatever the directory's
    std::vector<CollectionValues> films;
    for (const QString& file : files) {
        try {
            if (!QFileInfo(file).isFile())
                throw db::DbError(file.toStdString(), db::Message{TRANSLATABLE("db", "Cannot open file: it is not a "
                                                                                     "regular file but a pipe, a "
                                                                                     "device or a socket")});
            films.push_back(readNfoFile(file.toStdString()));
        } catch (const db::DbError& e) {
            if (refused)
                refused->push_back(e);
        } catch (const std::exception& e) {
            if (refused)
                refused->emplace_back(file.toStdString(), e.what());
        }
    }
    return films;
}

} // namespace

XmlCatalogue recogniseXmlCatalogue(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    if (info.isDir())
        return XmlCatalogue::Nfo;
    if (!info.isFile())
        return XmlCatalogue::None; // a pipe or a device: not opened here, where it could block, and refused as text
    try {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            return XmlCatalogue::None;
        const QByteArray start = file.read(4096);
        if (isZip(start))
            return XmlCatalogue::Tellico; // readXmlCatalogue says so when it holds no tellico.xml
        const QString root = rootElement(start);
        if (root == "tellico")
            return XmlCatalogue::Tellico;
        if (root == "collection" && start.contains("GCfilms"))
            return XmlCatalogue::Gcstar;
        if (root == "movie" || root == "tvshow" || root == "episodedetails")
            return XmlCatalogue::Nfo;
    } catch (const std::exception&) {
    }
    return XmlCatalogue::None;
}

void GcstarItemsClose::operator()(GcstarItems* items) const { delete items; }
GcstarReader openGcstar(const std::string& path) { return GcstarReader(new GcstarItems(path)); }
bool nextGcstarFilm(GcstarItems& items, CollectionValues& film) { return items.next(film); }

const char* xmlCatalogueName(XmlCatalogue kind)
{
    switch (kind) {
    case XmlCatalogue::Gcstar: return "GCstar";
    case XmlCatalogue::Tellico: return "Tellico";
    case XmlCatalogue::Nfo: return "Kodi .nfo";
    case XmlCatalogue::None: break;
    }
    return "XML";
}

std::vector<CollectionValues> readXmlCatalogue(const std::string& path, XmlCatalogue kind, std::vector<db::DbError>* refused)
{
    switch (kind) {
    case XmlCatalogue::Gcstar: return readGcstar(path);
    case XmlCatalogue::Tellico: {
        const QByteArray bytes = readWholeFile(path);
        return readTellico(path, isZip(bytes) ? tellicoFromZip(path) : bytes);
    }
    case XmlCatalogue::Nfo:
        if (QFileInfo(QString::fromStdString(path)).isDir())
            return readNfoFolder(path, refused);
        return {readNfoFile(path)};
    case XmlCatalogue::None: break;
    }
    throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no GCstar, Tellico or .nfo catalogue")});
}

std::string tellicoStart()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD("<!DOCTYPE tellico PUBLIC '-//Robby Stephenson/DTD Tellico V11.0//EN' "
                 "'http://periapsis.org/tellico/dtd/v11/tellico.dtd'>");
    xml.writeStartElement("tellico");
    xml.writeDefaultNamespace(kTellicoNamespace);
    xml.writeAttribute("syntaxVersion", "11");
    xml.writeStartElement("collection");
    xml.writeAttribute("title", "Reelkeeper Videos");
    xml.writeAttribute("type", "3");
    // The standard video fields, then ours, which carry every value as it is stored.
    xml.writeStartElement("fields");
    xml.writeEmptyElement("field");
    xml.writeAttribute("name", "_default");
    for (const db::SchemaField& f : db::collectionSchema()) {
        xml.writeEmptyElement("field");
        xml.writeAttribute("name", kOwnPrefix + f.name);
        xml.writeAttribute("title", f.displayName);
        xml.writeAttribute("category", "Reelkeeper");
        xml.writeAttribute("type", "1");
        xml.writeAttribute("flags", "0");
        xml.writeAttribute("format", "4");
    }
    xml.writeEndElement();
    xml.writeCharacters(""); // closes the start tag, so that the entries follow as text of their own
    return out.toStdString() + "\n";
}

std::string tellicoEntry(const CollectionValues& v, int id)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartElement("entry");
    xml.writeAttribute("id", QString::number(id));
    const auto text = [&](const char* element, const char* field) {
        const std::string& value = v[at(field)];
        if (!value.empty())
            xml.writeTextElement(element, QString::fromStdString(value));
    };
    const auto list = [&](const char* outer, const char* inner, const std::vector<const char*>& fields) {
        QStringList items;
        for (const char* field : fields)
            for (const QString& part : QString::fromStdString(v[at(field)]).split(", ", Qt::SkipEmptyParts))
                items << part;
        if (items.isEmpty())
            return;
        xml.writeStartElement(outer);
        for (const QString& item : items) {
            if (std::string(inner) == "cast") {
                xml.writeStartElement("cast");
                xml.writeTextElement("column", item);
                xml.writeEndElement();
            } else {
                xml.writeTextElement(inner, item);
            }
        }
        xml.writeEndElement();
    };
    text("title", "Title");
    text("year", "Year");
    text("medium", "Format");
    text("certification", "Rating");
    list("genres", "genre", {"Category"});
    list("casts", "cast", {"Star1", "Star2", "Star3", "Star4", "Star5", "Star6"});
    list("directors", "director", {"Director"});
    list("producers", "producer", {"Producer"});
    list("writers", "writer", {"Writers"});
    list("studios", "studio", {"ReleasedBy"});
    text("running-time", "RunTime");
    text("plot", "Descriptio");
    text("comments", "Miscellane");
    for (int p = 1; p <= db::kSchemaFieldCount; ++p)
        if (!v[static_cast<size_t>(p - 1)].empty())
            xml.writeTextElement(kOwnPrefix + db::schemaField(p).name, QString::fromStdString(v[static_cast<size_t>(p - 1)]));
    xml.writeEndElement();
    return out.toStdString() + "\n";
}

std::string tellicoEnd() { return " </collection>\n</tellico>\n"; }

std::string tellicoXml(const std::vector<CollectionValues>& records)
{
    std::string xml = tellicoStart();
    int id = 0;
    for (const CollectionValues& record : records)
        xml += tellicoEntry(record, ++id);
    return xml + tellicoEnd();
}

} // namespace exchange
