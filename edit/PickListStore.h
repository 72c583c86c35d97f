#pragma once

#include <QString>
#include <QStringList>

namespace edit {

// The pick-list files of the program folder, read and written as lists of
// Unicode text (the files are Windows-1252), by list code 1..17.
class PickListStore {
public:
    explicit PickListStore(QString folder);

    QStringList readFile(int code) const;
    bool writeFile(int code, const QStringList& entries) const;
    QString filePath(int code) const;

private:
    QString m_folder;
};

QString fromAnsi(const std::string& text);
std::string toAnsi(const QString& text);

} // namespace edit
