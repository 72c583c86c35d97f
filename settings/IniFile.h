#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace app {

// A settings file in the Windows profile form: "[Section]" headers and
// "Key=Value" lines, read and written in Windows-1252. Sections and keys are
// found without regard to letter case; lines the program does not know
// (other keys, comments, even garbage) are kept in place when it writes.
class IniFile {
public:
    // Reads a file; a missing or unreadable file gives an empty profile.
    bool load(const QString& path);
    void parse(const QByteArray& bytes);

    std::optional<QString> value(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray serialize() const;
    // Writes the whole file beside its destination and renames it into place;
    // returns an empty text or the reason it failed.
    QString save(const QString& path) const;

    QStringList sectionNames() const;
    // Keys and values of one section, in file order.
    std::vector<std::pair<QString, QString>> entries(const QString& section) const;

private:
    struct Line {
        QString key;   // empty for a line that is not Key=Value
        QString value;
        QString raw;   // the line as read, for lines kept unchanged
    };
    struct Section {
        QString name;
        std::vector<Line> lines;
    };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;

    std::vector<Line> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
};

} // namespace app
