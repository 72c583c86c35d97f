#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace edit {

// The master copies of the pick lists while the program runs, by list code
// 1..17, read from and written to the .LST files of the program folder.
class PickListStore {
public:
    explicit PickListStore(QString folder);

    void loadAll();
    // Writes the ordinary lists (all but the award and miscellaneous lists,
    // which are written the moment they change).
    void saveOrdinaryLists() const;

    const QStringList& list(int code) const;
    void setList(int code, const QStringList& entries);
    QStringList readFile(int code) const;
    bool writeFile(int code, const QStringList& entries) const;
    QString filePath(int code) const;

private:
    QString m_folder;
    std::array<QStringList, 17> m_lists;
};

QString fromAnsi(const std::string& text);
std::string toAnsi(const QString& text);

} // namespace edit
