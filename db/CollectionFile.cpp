#include "CollectionFile.h"

#include "DbError.h"
#include "DbfFormat.h"
#include "FileIO.h"
#include "Schema.h"
#include "Table.h"

#include <cctype>

namespace db {

const char* const kNotCollectionMessage =
    "This DBase file was not created with Reelkeeper Videos 95.  It cannot be opened.  "
    "You may, however, import data from this file using the import function.";

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

bool isCollectionTable(const std::string& path)
{
    if (!fileExists(indexFileFor(path)))
        removeIndexFlag(path);
    Table check;
    check.setFilePath(path);
    check.open(Table::OpenMode::ReadOnly);
    bool passes = check.fieldCount() == kSchemaFieldCount;
    for (int i = 0; passes && i < kSchemaFieldCount; ++i) {
        const std::string& name = check.field(i).name;
        passes = schemaPosition(name) == i + 1;
    }
    check.close();
    return passes;
}

void createCollectionTable(const std::string& path)
{
    Table::createTable(path, collectionFieldDefs());
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

} // namespace db
