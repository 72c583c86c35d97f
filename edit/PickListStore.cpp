#include "PickListStore.h"

#include "PickList.h"

namespace edit {


PickListStore::PickListStore(QString folder)
    : m_folder(std::move(folder))
{
}

QString PickListStore::filePath(int code) const
{
    return m_folder + "/" + db::pickList(code).fileName;
}

QStringList PickListStore::readFile(int code) const
{
    QStringList entries;
    for (const std::string& e : db::readPickList(filePath(code).toStdString()))
        entries << QString::fromStdString(e);
    return entries;
}

bool PickListStore::writeFile(int code, const QStringList& entries) const
{
    db::PickList list;
    for (const QString& e : entries)
        list.push_back(e.toStdString());
    return db::writePickList(filePath(code).toStdString(), list);
}

} // namespace edit
