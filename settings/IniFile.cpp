#include "IniFile.h"

#include "Cp1252.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include "DbError.h"
#include "FileIO.h"

namespace app {

namespace {
QString fromAnsi(const QByteArray& bytes)
{
    return QString::fromStdString(db::cp1252ToUtf8(std::string_view(bytes.constData(), bytes.size())));
}

QByteArray toAnsi(const QString& text)
{
    const std::string ansi = db::utf8ToCp1252(text.toStdString());
    return QByteArray(ansi.data(), static_cast<qsizetype>(ansi.size()));
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return QCoreApplication::translate("settings", "Cannot write the settings file \"%1\": %2").arg(path, reason);
}
} // namespace

bool IniFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        parse({});
        return false;
    }
    parse(file.readAll());
    return true;
}

void IniFile::parse(const QByteArray& bytes)
{
    m_preamble.clear();
    m_sections.clear();
    std::vector<Line>* target = &m_preamble;
    for (QByteArray rawLine : bytes.split('\n')) {
        if (rawLine.endsWith('\r'))
            rawLine.chop(1);
        const QString line = fromAnsi(rawLine);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.indexOf(']') > 0) {
            m_sections.push_back({trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed(), {}});
            target = &m_sections.back().lines;
            continue;
        }
        Line entry;
        entry.raw = line;
        const int equals = line.indexOf('=');
        if (equals > 0 && !trimmed.startsWith(';')) {
            entry.key = line.left(equals).trimmed();
            QString value = line.mid(equals + 1).trimmed();
            // The Windows profile functions drop one pair of enclosing quotes.
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2);
            entry.value = value;
        }
        target->push_back(entry);
    }
    // The split leaves one empty line after a final line end.
    std::vector<Line>& last = m_sections.empty() ? m_preamble : m_sections.back().lines;
    if (!last.empty() && last.back().key.isEmpty() && last.back().raw.isEmpty())
        last.pop_back();
}

IniFile::Section* IniFile::findSection(const QString& name)
{
    for (Section& s : m_sections)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    for (const Section& s : m_sections)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    for (const Line& line : s->lines)
        if (!line.key.isEmpty() && sameName(line.key, key))
            return line.value;
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Section* s = findSection(section);
    if (!s) {
        m_sections.push_back({section, {}});
        s = &m_sections.back();
    }
    for (Line& line : s->lines) {
        if (!line.key.isEmpty() && sameName(line.key, key)) {
            line.value = value;
            line.raw.clear();
            return;
        }
    }
    // A new key goes after the section's last entry, before any trailing blank lines.
    auto at = s->lines.end();
    while (at != s->lines.begin() && (at - 1)->key.isEmpty() && (at - 1)->raw.trimmed().isEmpty())
        --at;
    s->lines.insert(at, Line{key, value, {}});
}

QByteArray IniFile::serialize() const
{
    QByteArray out;
    auto writeLine = [&out](const Line& line) {
        if (!line.key.isEmpty() && line.raw.isEmpty())
            out += toAnsi(line.key + "=" + line.value);
        else
            out += toAnsi(line.raw);
        out += '\n';
    };
    for (const Line& line : m_preamble)
        writeLine(line);
    for (const Section& s : m_sections) {
        out += toAnsi("[" + s.name + "]");
        out += '\n';
        for (const Line& line : s.lines)
            writeLine(line);
    }
    return out;
}

QString IniFile::save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(path, file.errorString());
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return cannotWrite(path, file.errorString());
    try {
        db::syncFolderOf(path.toStdString()); // the rename itself survives a power cut
    } catch (const db::DbError& e) {
        return cannotWrite(path, QString::fromStdString(e.spoken([](const char* text) {
            return QCoreApplication::translate("db", text).toStdString();
        })));
    }
    return {};
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (const Section& s : m_sections)
        names << s.name;
    return names;
}

std::vector<std::pair<QString, QString>> IniFile::entries(const QString& section) const
{
    std::vector<std::pair<QString, QString>> out;
    if (const Section* s = findSection(section))
        for (const Line& line : s->lines)
            if (!line.key.isEmpty())
                out.emplace_back(line.key, line.value);
    return out;
}

} // namespace app
