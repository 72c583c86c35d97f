#include "PickListStore.h"

#include "Cp1252.h"
#include "PickList.h"

namespace edit {

QString fromAnsi(const std::string& text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (unsigned char c : text)
        out += QChar(static_cast<char16_t>(db::cp1252ToUnicode(c)));
    return out;
}

std::string toAnsi(const QString& text)
{
    return db::utf8ToCp1252(text.toStdString());
}

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
        entries << fromAnsi(e);
    return entries;
}

bool PickListStore::writeFile(int code, const QStringList& entries) const
{
    db::PickList list;
    for (const QString& e : entries)
        list.push_back(toAnsi(e));
    return db::writePickList(filePath(code).toStdString(), list);
}

} // namespace edit
