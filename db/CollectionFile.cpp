#include "CollectionFile.h"

#include "Translatable.h"

#include "DbError.h"
#include "DbfFormat.h"
#include "FileIO.h"
#include "Schema.h"
#include "Table.h"
#include "TableInternals.h"

#include <cctype>

namespace db {

const char* const kNotCollectionMessage =
    TRANSLATABLE("db", "This DBase file was not created with Reelkeeper Videos 95.  It cannot be opened.  "
                       "You may, however, import data from this file using the import function.");

std::string tableFileFor(const std::string& path)
{
    Table table;
    table.setFilePath(path);
    return table.filePath();
}

std::string indexFileFor(const std::string& path)
{
    Table table;
    table.setFilePath(path);
    return table.indexPath();
}

void removeIndexFlag(const std::string& path)
{
    File file;
    try {
        if (!file.openIfExists(path, File::Mode::ReadWrite))
            return;
    } catch (const DbError&) {
        return;
    }
    // Only a file whose header reads as a dBASE table has an index flag to clear.
    try {
        if (readDbfHeader(file, CountCheck::Lenient).productionIndexFlag == 0)
            return;
    } catch (const DbError&) {
        return; // not a table: the open that follows says what is wrong with it
    }
    const char zero = 0;
    file.writeAt(kHeaderIndexFlagOffset, &zero, 1);
}

bool isCollectionTable(const std::string& path, const std::function<void(bool waiting)>& wait)
{
    if (!fileExists(indexFileFor(path)))
        removeIndexFlag(path);
    Table check;
    check.setFilePath(path);
    check.setLockWait(wait);
    check.open(Table::OpenMode::ReadOnly);
    bool passes = check.fieldCount() == kSchemaFieldCount;
    for (int i = 0; passes && i < kSchemaFieldCount; ++i) {
        const std::string& name = check.field(i).name;
        passes = schemaPosition(name) == i + 1;
    }
    check.close();
    return passes;
}

void createCollectionTable(const std::string& path, TextEncoding encoding)
{
    Table::createTable(path, collectionFieldDefs(), encoding);
}

ExclusiveUse::ExclusiveUse(const std::string& path)
{
    const std::string file = tableFileFor(path);
    try {
        m_file.open(file, File::Mode::ReadWrite);
        m_acquired = m_file.tryLock(kOpenLock, File::LockKind::Exclusive);
        return;
    } catch (const DbError&) {
    }
    // A file this user may not write: copies of the program may have it open
    // only to read, so holding the update lock keeps every change out.
    try {
        m_file.open(file, File::Mode::ReadOnly);
        m_acquired = m_file.tryLock(kOpenLock, File::LockKind::Shared) && m_file.tryLock(kUpdateLock, File::LockKind::Shared);
    } catch (const DbError&) {
        m_acquired = false;
    }
}

bool tableInUse(const std::string& path)
{
    Table check;
    check.setFilePath(path);
    try {
        check.open(Table::OpenMode::Exclusive);
    } catch (const DbError&) {
        return true;
    }
    check.close();
    return false;
}

CodePageFileCopy::CodePageFileCopy(const std::string& source, const std::string& destination)
    : m_destination(destination)
    , m_encoding(Table::encodingOfFile(source))
{
    if (m_encoding == TextEncoding::Utf8)
        m_unicode.emplace(destination, TextEncoding::Utf8);
}

void CodePageFileCopy::copied()
{
    if (m_unicode)
        m_unicode->keep();
    else
        writeCodePageFile(m_destination, m_encoding);
}

} // namespace db
