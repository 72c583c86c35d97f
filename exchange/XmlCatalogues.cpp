#include "XmlCatalogues.h"

#include "NumberText.h"

#include "CatalogueXmlSource.h"
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
#include <QUrl>
#include <QCoreApplication>
#include <QXmlStreamWriter>

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace exchange {

namespace {

constexpr int kStars = 6;
const char* const kTellicoNamespace = "http://periapsis.org/tellico/";
// Our own fields in a Tellico file: every value, under its stored name, so that it reads back the same.
const std::string kOwnPrefix = "reelkeeper-";

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
QString qtext(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A list of values read from one film (genres, actors, directors): it stops
// growing where no field could keep more of it.
class ValueList {
public:
    void add(std::string value)
    {
        if (m_bytes > XmlPullReader::kMaxElementText)
            return;
        m_bytes += value.size();
        m_values.push_back(std::move(value));
    }
    const std::vector<std::string>& values() const { return m_values; }

private:
    std::vector<std::string> m_values;
    size_t m_bytes = 0;
};

bool isZip(std::string_view bytes) { return bytes.substr(0, 4) == "PK\x03\x04"; }

// A picture path a catalogue gives, as a file on this computer: relative ones
// from the catalogue's folder, "file://" ones as plain paths; "" for none.
std::string localPicture(const std::string& given, const QDir& from)
{
    QString path = qtext(trimmed(given));
    if (path.isEmpty())
        return {};
    if (path.startsWith("file://"))
        path = QUrl(path).toLocalFile();
    if (QFileInfo(path).isRelative() && !path.contains("://"))
        path = from.absoluteFilePath(path);
    return path.toStdString();
}

QDir folderOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).absoluteDir(); }

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

[[noreturn]] void damaged(const std::string& path, const XmlPullReader::Damage& damage)
{
    // The reader's reasons are Qt's own words for the same faults, which Qt's catalogue translates.
    throw db::DbError(path, db::Message{TRANSLATABLE("db", "The XML is damaged at line %1: %2"),
                                        {std::to_string(damage.line),
                                         QCoreApplication::translate("QXmlStream", damage.what()).toStdString()}});
}

// One catalogue document, read as it goes: from a file, or from a member of
// a zip archive (a Tellico .tc file).
class XmlDocument {
public:
    explicit XmlDocument(const std::string& path)
        : m_path(path)
    {
        m_file.open(path, db::File::Mode::ReadOnly);
        m_source = std::make_unique<CatalogueXmlSource>(path, [this, offset = uint64_t{0}](char* into, size_t n) mutable {
            const size_t got = m_file.readSomeAt(offset, into, n);
            offset += got;
            return got;
        });
        start();
    }

    XmlDocument(const std::string& path, const char* member)
        : m_path(path)
    {
        db::File check; // a regular file, not a pipe or a device that would never end
        check.open(path, db::File::Mode::ReadOnly);
        int error = 0;
        m_archive.reset(zip_open(path.c_str(), ZIP_RDONLY, &error));
        if (!m_archive)
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no readable zip archive")});
        m_member.reset(zip_fopen(m_archive.get(), member, 0));
        if (!m_member) {
            if (zip_name_locate(m_archive.get(), member, 0) < 0)
                throw db::DbError(path, db::Message{TRANSLATABLE("db", "The archive holds no tellico.xml: it is no "
                                                                       "Tellico file")});
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "tellico.xml in the archive cannot be read")});
        }
        m_source = std::make_unique<CatalogueXmlSource>(path, [this, path](char* into, size_t n) {
            const zip_int64_t got = zip_fread(m_member.get(), into, n);
            if (got < 0)
                throw db::DbError(path, db::Message{TRANSLATABLE("db", "tellico.xml in the archive is damaged")});
            return static_cast<size_t>(got);
        });
        start();
    }

    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    XmlPullReader& xml() { return *m_xml; }
    const std::string& path() const { return m_path; }

    // Runs work, which reads from the document, naming damage met with the file and its line.
    template <class Work>
    auto reading(Work&& work) -> decltype(work())
    {
        try {
            return work();
        } catch (const XmlPullReader::Damage& damage) {
            damaged(m_path, damage);
        }
    }

private:
    void start()
    {
        reading([this] { m_xml = std::make_unique<XmlPullReader>(*m_source); });
    }

    struct ArchiveClose {
        void operator()(zip_t* archive) const { zip_discard(archive); }
    };
    struct MemberClose {
        void operator()(zip_file_t* member) const { zip_fclose(member); }
    };

    std::string m_path;
    db::File m_file;
    std::unique_ptr<zip_t, ArchiveClose> m_archive;
    std::unique_ptr<zip_file_t, MemberClose> m_member;
    std::unique_ptr<CatalogueXmlSource> m_source;
    std::unique_ptr<XmlPullReader> m_xml;
};

// ---------------------------------------------------------------- lists of values

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

// The values of a list element, read to its end: one per child (<genres><genre>A</genre>...),
// the first column of each row (<actors><line><col>A</col><col>role</col></line>, Tellico's
// <casts><cast><column>A</column>...), or the element's own text when it has no children.
std::vector<std::string> childTexts(XmlPullReader& xml)
{
    ValueList texts;
    std::string ownText;
    while (true) {
        const XmlPullReader::Token token = xml.next();
        if (token == XmlPullReader::Token::EndElement || token == XmlPullReader::Token::End)
            break;
        if (token == XmlPullReader::Token::Text) {
            if (ownText.size() < XmlPullReader::kMaxElementText)
                ownText += xml.text();
            continue;
        }
        if (xml.name() != "line" && xml.name() != "cast") {
            texts.add(xml.elementText());
            continue;
        }
        bool first = true;
        while (xml.nextChildElement()) { // the row's columns
            std::string column = xml.elementText();
            if (first)
                texts.add(std::move(column));
            first = false;
        }
    }
    if (texts.values().empty() && !trimmed(ownText).empty())
        texts.add(std::move(ownText));
    return texts.values();
}

// ---------------------------------------------------------------- GCstar

CollectionValues gcstarItem(XmlPullReader& xml, std::string& image)
{
    CollectionValues v;
    const auto attribute = [&xml](const char* name) { return xml.attribute(name); };
    image = attribute("image");
    v[at("Title")] = trimmed(attribute("title"));
    if (v[at("Title")].empty())
        v[at("Title")] = trimmed(attribute("original"));
    v[at("Year")] = yearOf(qtext(attribute("date")));
    v[at("RunTime")] = minutesOf(qtext(attribute("time")));
    v[at("Director")] = trimmed(attribute("director"));
    v[at("PersonalRa")] = ratingOutOfTen(trimmed(attribute("rating")), 10);
    // Seen and unseen are both said; a file that says neither leaves Viewed blank.
    const std::string seen = trimmed(attribute("seen"));
    v[at("Viewed")] = seen == "1" ? "Yes" : seen == "0" ? "No" : "";
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

// A GCstar collection read item by item as the file is read.
class GcstarFilms : public XmlFilms {
public:
    explicit GcstarFilms(const std::string& path)
        : m_document(path)
        , m_folder(folderOf(path))
    {
        XmlPullReader& xml = m_document.xml();
        try {
            if (!xml.nextChildElement() || xml.name() != "collection")
                throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no GCstar collection")});
        } catch (const XmlPullReader::Damage& damage) {
            if (std::string_view(damage.what()).starts_with("Premature end"))
                throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no GCstar collection")});
            damaged(path, damage);
        }
        const std::string type(xml.attribute("type"));
        if (type != "GCfilms")
            throw db::DbError(path, type.empty() ? db::Message{TRANSLATABLE("db", "The file is a GCstar collection of "
                                                                              "unknown things, not of films (GCfilms)")}
                                                 : db::Message{TRANSLATABLE("db", "The file is a GCstar collection of %1, "
                                                                                  "not of films (GCfilms)"),
                                                               {type}});
    }

    // The next film; damaged XML throws, naming its line.
    bool next(CollectionValues& film) override
    {
        return m_document.reading([&] {
            XmlPullReader& xml = m_document.xml();
            while (xml.nextChildElement()) {
                if (xml.name() == "item") {
                    std::string image;
                    film = gcstarItem(xml, image);
                    picture = {localPicture(image, m_folder), {}};
                    return true;
                }
                xml.skipElement();
            }
            return false;
        });
    }

private:
    XmlDocument m_document;
    QDir m_folder; // where the pictures' relative paths start
};

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

std::string withoutSuffix(const std::string& text, const QRegularExpression& suffix)
{
    return utf8(qtext(text).remove(suffix));
}

CollectionValues tellicoEntry(XmlPullReader& xml, std::string& cover)
{
    static const QRegularExpression certificationCountry(R"(\s*\([^)]*\)\s*$)");
    static const QRegularExpression amount(R"(\d+(\.\d+)?)");
    CollectionValues v;
    std::map<std::string, std::string> own; // our own fields by stored name
    std::string name;
    while (xml.nextChildElement()) {
        name = xml.name();
        if (name.starts_with(kOwnPrefix)) {
            own[name.substr(kOwnPrefix.size())] = xml.elementText();
        } else if (name == "title") {
            v[at("Title")] = trimmed(xml.elementText());
        } else if (name == "cover") {
            cover = trimmed(xml.elementText());
        } else if (name == "year") {
            v[at("Year")] = yearOf(qtext(xml.elementText()));
        } else if (name == "medium") {
            v[at("Format")] = trimmed(xml.elementText());
        } else if (name == "certification") {
            v[at("Rating")] = withoutSuffix(xml.elementText(), certificationCountry);
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
            v[at("RunTime")] = minutesOf(qtext(xml.elementText()));
        } else if (name == "plot") {
            v[at("Descriptio")] = trimmed(xml.elementText());
        } else if (name == "comments") {
            v[at("Miscellane")] = trimmed(xml.elementText());
        } else if (name == "rating") {
            v[at("PersonalRa")] = ratingOutOfTen(trimmed(xml.elementText()), 5);
        } else if (name == "pur_price") {
            const auto m = amount.match(qtext(xml.elementText()));
            v[at("PurchPrice")] = m.hasMatch() ? m.captured(0).toStdString() : std::string();
        } else if (name == "pur_date") {
            v[at("PurchDate")] = isoDate(qtext(xml.elementText()));
        } else if (name == "loaned") {
            v[at("CheckOut")] = trimmed(xml.elementText()) == "true" ? "Yes" : "";
        } else if (name == "seen") {
            const std::string seen = trimmed(xml.elementText());
            v[at("Viewed")] = seen == "true" ? "Yes" : seen == "false" ? "No" : "";
        } else {
            xml.skipElement();
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

// A Tellico collection, read twice as it goes: first for its loans, which
// follow the entries they name, then entry by entry.
class TellicoFilms : public XmlFilms {
public:
    explicit TellicoFilms(const std::string& path)
        : m_path(path)
    {
        db::File file;
        file.open(path, db::File::Mode::ReadOnly);
        char start[4] = {};
        m_zipped = isZip(std::string_view(start, file.readSomeAt(0, start, sizeof start)));
        {
            const std::unique_ptr<XmlDocument> loans = open();
            loans->reading([&] {
                while (nextCollection(*loans))
                    while (loans->xml().nextChildElement()) {
                        if (loans->xml().name() == "borrowers")
                            readLoans(loans->xml());
                        else
                            loans->xml().skipElement();
                    }
            });
        }
        m_entries = open();
    }

    bool next(CollectionValues& film) override
    {
        return m_entries->reading([&] {
            XmlPullReader& xml = m_entries->xml();
            while (m_inCollection || (m_inCollection = nextCollection(*m_entries))) {
                while (xml.nextChildElement()) {
                    if (xml.name() != "entry") {
                        xml.skipElement();
                        continue;
                    }
                    const std::string id(xml.attribute("id"));
                    std::string cover;
                    film = tellicoEntry(xml, cover);
                    picture = pictureOf(cover);
                    if (const auto loan = m_loans.find(id); loan != m_loans.end()) {
                        film[at("CheckOut")] = "Yes";
                        film[at("CheckName")] = loan->second.borrower;
                        film[at("CheckDate")] = loan->second.date;
                    }
                    return true;
                }
                m_inCollection = false;
            }
            return false;
        });
    }

private:
    struct Loan {
        std::string borrower;
        std::string date;
    };

    // An entry's image, by its id: in a .tc archive under images/; beside a bare
    // XML file in the folder Tellico keeps them in ("<name>_files"), or in images/.
    FilmPicture pictureOf(const std::string& id) const
    {
        const std::string name = QFileInfo(qtext(id)).fileName().toStdString(); // never a path out of the folder
        if (name.empty() || name == "." || name == "..")
            return {};
        if (m_zipped)
            return {m_path, "images/" + name};
        const QFileInfo file(qtext(m_path));
        const QDir folder = file.absoluteDir();
        const std::string beside = folder.absoluteFilePath(file.completeBaseName() + "_files/" + qtext(name)).toStdString();
        const std::string inImages = folder.absoluteFilePath("images/" + qtext(name)).toStdString();
        return {QFileInfo::exists(qtext(beside)) || !QFileInfo::exists(qtext(inImages)) ? beside : inImages, {}};
    }

    std::unique_ptr<XmlDocument> open() const
    {
        auto document = m_zipped ? std::make_unique<XmlDocument>(m_path, "tellico.xml") : std::make_unique<XmlDocument>(m_path);
        if (!document->reading([&] { return document->xml().nextChildElement() && document->xml().name() == "tellico"; }))
            throw db::DbError(m_path, db::Message{TRANSLATABLE("db", "The file is no Tellico collection")});
        return document;
    }

    // Moves to the next <collection> of the document, a video collection or
    // refused by its type; false at the document's end.
    bool nextCollection(XmlDocument& document) const
    {
        XmlPullReader& xml = document.xml();
        while (xml.nextChildElement()) {
            if (xml.name() != "collection") {
                xml.skipElement();
                continue;
            }
            const int type = qtext(xml.attribute("type")).toInt();
            if (type != 3)
                throw db::DbError(m_path, db::Message{TRANSLATABLE("db", "The file is a Tellico %1 collection, not a "
                                                                         "video collection"),
                                                      {tellicoTypeName(type)}});
            return true;
        }
        return false;
    }

    // <borrower name="..."><loan entryRef="id" loanDate="..."/></borrower>
    void readLoans(XmlPullReader& xml)
    {
        while (xml.nextChildElement()) {
            const std::string borrower = trimmed(xml.attribute("name"));
            while (xml.nextChildElement()) {
                if (xml.name() == "loan" && m_loans.size() < kMostLoans)
                    m_loans[std::string(xml.attribute("entryRef"))] = {borrower, isoDate(qtext(xml.attribute("loanDate")))};
                xml.skipElement();
            }
        }
    }

    static constexpr size_t kMostLoans = 100'000; // more than a collection lends: the rest are not kept

    std::string m_path;
    bool m_zipped = false;
    std::map<std::string, Loan> m_loans;
    std::unique_ptr<XmlDocument> m_entries;
    bool m_inCollection = false;
};

// ---------------------------------------------------------------- Kodi .nfo

CollectionValues nfoMovie(XmlPullReader& xml, std::string& thumb)
{
    CollectionValues v;
    ValueList genres, directors, writers, studios, actors, tags;
    std::string originalTitle, premiered, name;
    while (xml.nextChildElement()) {
        name = xml.name();
        if (name == "title") {
            v[at("Title")] = trimmed(xml.elementText());
        } else if (name == "originaltitle") {
            originalTitle = xml.elementText();
        } else if (name == "year") {
            v[at("Year")] = yearOf(qtext(xml.elementText()));
        } else if (name == "premiered") {
            premiered = xml.elementText();
        } else if (name == "runtime") {
            v[at("RunTime")] = minutesOf(qtext(xml.elementText()));
        } else if (name == "plot") {
            v[at("Descriptio")] = trimmed(xml.elementText());
        } else if (name == "mpaa") {
            static const QRegularExpression rated(R"(^\s*Rated\s+)");
            v[at("Rating")] = withoutSuffix(xml.elementText(), rated);
        } else if (name == "genre") {
            genres.add(xml.elementText());
        } else if (name == "director") {
            directors.add(xml.elementText());
        } else if (name == "credits") {
            writers.add(xml.elementText());
        } else if (name == "studio") {
            studios.add(xml.elementText());
        } else if (name == "tag") {
            tags.add(xml.elementText());
        } else if (name == "thumb") {
            // The first picture on this computer; the addresses of a scraper's are not fetched.
            std::string given = trimmed(xml.elementText());
            if (thumb.empty() && (given.find("://") == std::string::npos || given.starts_with("file://")))
                thumb = std::move(given);
        } else if (name == "userrating") {
            v[at("PersonalRa")] = ratingOutOfTen(trimmed(xml.elementText()), 10);
        } else if (name == "playcount") {
            // Played once is seen, whatever else the file says; a count of 0 is unseen.
            bool number = false;
            const int plays = qtext(trimmed(xml.elementText())).toInt(&number);
            if (number)
                v[at("Viewed")] = plays > 0 || v[at("Viewed")] == "Yes" ? "Yes" : "No";
        } else if (name == "watched") {
            const std::string watched = trimmed(xml.elementText());
            if (watched == "true" || watched == "false")
                v[at("Viewed")] = watched == "true" || v[at("Viewed")] == "Yes" ? "Yes" : "No";
        } else if (name == "uniqueid") {
            const bool imdb = xml.attribute("type") == "imdb";
            const std::string id = xml.elementText();
            if (imdb)
                v[at("UserDef1")] = trimmed(id);
        } else if (name == "id") {
            const std::string id = trimmed(xml.elementText());
            if (id.starts_with("tt") && v[at("UserDef1")].empty())
                v[at("UserDef1")] = id;
        } else if (name == "actor") {
            std::string actor;
            while (xml.nextChildElement()) {
                if (xml.name() == "name")
                    actor = xml.elementText();
                else
                    xml.skipElement();
            }
            actors.add(std::move(actor));
        } else {
            xml.skipElement();
        }
    }
    if (v[at("Title")].empty())
        v[at("Title")] = trimmed(originalTitle);
    if (v[at("Year")].empty())
        v[at("Year")] = yearOf(qtext(premiered));
    v[at("Category")] = joined(genres.values());
    v[at("Director")] = joined(directors.values());
    v[at("Writers")] = joined(writers.values());
    v[at("ReleasedBy")] = joined(studios.values());
    v[at("KeyWords")] = joined(tags.values());
    putStars(v, actors.values());
    return v;
}

CollectionValues readNfoFile(const std::string& path, std::string& thumb)
{
    XmlDocument document(path);
    XmlPullReader& xml = document.xml();
    std::string root;
    try {
        if (!xml.nextChildElement())
            throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file holds no XML")});
        root = xml.name();
    } catch (const XmlPullReader::Damage& damage) {
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The XML is damaged: %1"),
                                            {QCoreApplication::translate("QXmlStream", damage.what()).toStdString()}});
    }
    if (root == "tvshow" || root == "episodedetails")
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file describes a TV show, not a movie")});
    if (root != "movie")
        throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no movie .nfo (its first element is <%1>)"),
                                            {root}});
    // What follows the movie's element is not read: Kodi's files may end with the film's address.
    return document.reading([&] { return nfoMovie(xml, thumb); });
}

// One .nfo file, or a folder of them read file by file: a file that holds no
// film (a TV show's, damaged) is left out and named, the others are read.
class NfoFilms : public XmlFilms {
public:
    explicit NfoFilms(const std::string& path)
        : m_folder(QFileInfo(QString::fromStdString(path)).isDir())
    {
        if (!m_folder) {
            m_files.push_back(path);
            return;
        }
        // System entries too (FIFOs, devices, links to them): they are named among the files left out.
        QDirIterator it(QString::fromStdString(path), {"*.nfo", "*.NFO"}, QDir::Files | QDir::System,
                        QDirIterator::Subdirectories);
        QStringList files;
        while (it.hasNext())
            files << it.next();
        files.sort(); // the same order every time, whatever the directory's
        for (const QString& file : files) {
            m_files.push_back(file.toStdString());
            ++m_nfoFilesIn[QFileInfo(file).absolutePath()];
        }
    }

    bool next(CollectionValues& film) override
    {
        while (m_next < m_files.size()) {
            const std::string& file = m_files[m_next++];
            std::string thumb;
            if (!m_folder) {
                film = readNfoFile(file, thumb);
                picture = posterOf(file, thumb);
                return true;
            }
            try {
                if (!QFileInfo(QString::fromStdString(file)).isFile())
                    throw db::DbError(file, db::Message{TRANSLATABLE("db", "Cannot open file: it is not a regular file "
                                                                           "but a pipe, a device or a socket")});
                film = readNfoFile(file, thumb);
                picture = posterOf(file, thumb);
                return true;
            } catch (const db::DbError& e) {
                leftOut.push_back(e);
            } catch (const std::exception& e) {
                leftOut.emplace_back(file, e.what());
            }
        }
        return false;
    }

private:
    // A film's poster as Kodi keeps it beside the .nfo: "<name>-poster.jpg";
    // in a folder of the film's own, "poster.jpg"; the .nfo's own <thumb>;
    // "folder.jpg" last. A folder shared by several films' .nfo files gives
    // none of them its poster.jpg or folder.jpg.
    FilmPicture posterOf(const std::string& nfo, const std::string& thumb)
    {
        const QFileInfo info(qtext(nfo));
        const QDir folder = info.absoluteDir();
        // Counted once when the folder was listed, not looked up again for every film.
        const auto counted = m_nfoFilesIn.find(info.absolutePath());
        const bool ownFolder = counted == m_nfoFilesIn.end() || counted->second <= 1;
        const auto existing = [&](const QString& stem) -> std::string {
            for (const char* ending : {"jpg", "jpeg", "png", "webp", "JPG", "JPEG", "PNG", "WEBP"}) {
                const QString path = folder.absoluteFilePath(stem + "." + ending);
                if (QFileInfo(path).isFile())
                    return path.toStdString();
            }
            return {};
        };
        std::string found = existing(info.completeBaseName() + "-poster");
        if (found.empty() && ownFolder)
            found = existing("poster");
        if (found.empty() && !thumb.empty())
            return {localPicture(thumb, folder), {}}; // counted when it is missing
        if (found.empty() && ownFolder)
            found = existing("folder");
        return {found, {}};
    }

    bool m_folder;
    std::vector<std::string> m_files;
    std::map<QString, int> m_nfoFilesIn; // the .nfo files of each folder of the library
    size_t m_next = 0;
};

} // namespace

struct FilmPictureReader::Archive {
    std::string path;
    zip_t* zip = nullptr;
    ~Archive()
    {
        if (zip)
            zip_discard(zip);
    }
};

FilmPictureReader::FilmPictureReader() = default;
FilmPictureReader::~FilmPictureReader() = default;

std::string FilmPictureReader::read(const FilmPicture& picture, long long largest)
{
    const std::string shownName = picture.member.empty() ? picture.file : picture.file + "/" + picture.member;
    const auto tooLarge = [&] {
        return db::DbError(shownName, db::Message{TRANSLATABLE("covers", "The picture \"%1\" is larger than %2 MB."),
                                                  {QFileInfo(qtext(shownName)).fileName().toStdString(),
                                                   std::to_string(largest >> 20)}});
    };
    const auto missing = [&] {
        return db::DbError(shownName, db::Message{TRANSLATABLE("exchange", "The picture \"%1\" is not there."),
                                                  {QFileInfo(qtext(shownName)).fileName().toStdString()}});
    };
    if (picture.member.empty()) {
        QFile file(qtext(picture.file));
        if (!QFileInfo(file).isFile())
            throw missing();
        if (!file.open(QIODevice::ReadOnly))
            throw db::DbError(shownName, db::Message{TRANSLATABLE("covers", "The picture \"%1\" could not be opened."),
                                                     {QFileInfo(file).fileName().toStdString()}});
        if (file.size() > largest)
            throw tooLarge();
        return file.readAll().toStdString();
    }
    if (!m_archive || m_archive->path != picture.file) {
        m_archive = std::make_unique<Archive>();
        m_archive->path = picture.file;
        int error = 0;
        m_archive->zip = zip_open(picture.file.c_str(), ZIP_RDONLY, &error);
        if (!m_archive->zip)
            throw db::DbError(picture.file, db::Message{TRANSLATABLE("db", "The file is no readable zip archive")});
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(m_archive->zip, picture.member.c_str(), 0, &stat) != 0)
        throw missing();
    if ((stat.valid & ZIP_STAT_SIZE) == 0 || stat.size > static_cast<zip_uint64_t>(largest))
        throw tooLarge(); // a member that says nothing of its size, or unpacks to more than a picture is
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> member(zip_fopen(m_archive->zip, picture.member.c_str(), 0), zip_fclose);
    std::string bytes(static_cast<size_t>(stat.size), '\0');
    // What it gives is bounded by what the archive says it holds: never more than that.
    if (!member || zip_fread(member.get(), bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size()))
        throw db::DbError(shownName, db::Message{TRANSLATABLE("covers", "The picture \"%1\" is damaged: %2"),
                                                 {QFileInfo(qtext(picture.member)).fileName().toStdString(),
                                                  zip_strerror(m_archive->zip)}});
    return bytes;
}

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
        if (isZip(std::string_view(start.constData(), static_cast<size_t>(start.size()))))
            return XmlCatalogue::Tellico; // its import says so when it holds no tellico.xml
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

std::unique_ptr<XmlFilms> openXmlCatalogue(const std::string& path, XmlCatalogue kind)
{
    switch (kind) {
    case XmlCatalogue::Gcstar: return std::make_unique<GcstarFilms>(path);
    case XmlCatalogue::Tellico: return std::make_unique<TellicoFilms>(path);
    case XmlCatalogue::Nfo: return std::make_unique<NfoFilms>(path);
    case XmlCatalogue::None: break;
    }
    throw db::DbError(path, db::Message{TRANSLATABLE("db", "The file is no GCstar, Tellico or .nfo catalogue")});
}

std::vector<CollectionValues> readXmlCatalogue(const std::string& path, XmlCatalogue kind, std::vector<db::DbError>* refused)
{
    const std::unique_ptr<XmlFilms> films = openXmlCatalogue(path, kind);
    std::vector<CollectionValues> all;
    CollectionValues film;
    while (films->next(film))
        all.push_back(film);
    if (refused)
        *refused = std::move(films->leftOut);
    return all;
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
        xml.writeAttribute("name", QString::fromStdString(kOwnPrefix + f.name));
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

std::string tellicoEntry(const CollectionValues& v, int id, const std::string& cover)
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
    if (!cover.empty())
        xml.writeTextElement("cover", QString::fromStdString(cover));
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
            xml.writeTextElement(QString::fromStdString(kOwnPrefix + db::schemaField(p).name),
                                 QString::fromStdString(v[static_cast<size_t>(p - 1)]));
    xml.writeEndElement();
    return out.toStdString() + "\n";
}

std::string tellicoEnd(const std::vector<TellicoImage>& images)
{
    if (images.empty())
        return " </collection>\n</tellico>\n";
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartElement("images");
    for (const TellicoImage& image : images) {
        xml.writeEmptyElement("image");
        xml.writeAttribute("format", QString::fromStdString(image.format));
        xml.writeAttribute("id", QString::fromStdString(image.id));
        xml.writeAttribute("width", QString::number(image.width));
        xml.writeAttribute("height", QString::number(image.height));
    }
    xml.writeEndElement();
    return out.toStdString() + "\n </collection>\n</tellico>\n";
}

std::string nfoXml(const CollectionValues& v)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument("1.0", true);
    xml.writeStartElement("movie");
    const auto text = [&](const char* element, const std::string& value) {
        if (!value.empty())
            xml.writeTextElement(element, QString::fromStdString(value));
    };
    const auto each = [&](const char* element, const char* field) {
        for (const QString& item : QString::fromStdString(v[at(field)]).split(",", Qt::SkipEmptyParts))
            if (!item.trimmed().isEmpty())
                xml.writeTextElement(element, item.trimmed());
    };
    text("title", v[at("Title")]);
    text("year", v[at("Year")]);
    text("runtime", v[at("RunTime")]);
    text("plot", v[at("Descriptio")]);
    text("mpaa", v[at("Rating")]);
    each("genre", "Category");
    each("tag", "KeyWords");
    each("director", "Director");
    each("credits", "Writers");
    each("studio", "ReleasedBy");
    // "8/10" or "7.5/10" as Kodi's rating out of ten.
    const QString rating = QString::fromStdString(v[at("PersonalRa")]);
    if (rating.endsWith("/10"))
        text("userrating", rating.chopped(3).toStdString());
    const std::string& viewed = v[at("Viewed")];
    if (viewed == "Yes" || viewed == "No") {
        text("playcount", viewed == "Yes" ? "1" : "0");
        text("watched", viewed == "Yes" ? "true" : "false");
    }
    if (v[at("UserDef1")].starts_with("tt")) {
        xml.writeStartElement("uniqueid");
        xml.writeAttribute("type", "imdb");
        xml.writeAttribute("default", "true");
        xml.writeCharacters(QString::fromStdString(v[at("UserDef1")]));
        xml.writeEndElement();
    }
    for (int star = 0; star < kStars; ++star) {
        const std::string& name = v[at("Star1") + static_cast<size_t>(star)];
        if (name.empty())
            continue;
        xml.writeStartElement("actor");
        xml.writeTextElement("name", QString::fromStdString(name));
        xml.writeTextElement("order", QString::number(star));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return out.toStdString();
}

std::string tellicoXml(const std::vector<CollectionValues>& records)
{
    std::string xml = tellicoStart();
    int id = 0;
    for (const CollectionValues& record : records)
        xml += tellicoEntry(record, ++id);
    return xml + tellicoEnd();
}

} // namespace exchange
