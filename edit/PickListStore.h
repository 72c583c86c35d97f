#pragma once

#include <QString>
#include <QStringList>

namespace edit {

// The pick-list files of the program folder, read and written as lists of
// Unicode text (see db/PickList.h for how the files keep it), by list code 1..17.
class PickListStore {
public:
    explicit PickListStore(QString folder);

    QStringList readFile(int code) const;
    bool writeFile(int code, const QStringList& entries) const;
    QString filePath(int code) const;

private:
    QString m_folder;
};

} // namespace edit
