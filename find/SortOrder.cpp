#include "SortOrder.h"

#include "FileIO.h"
#include "Schema.h"
#include "Table.h"
#include "Translatable.h"

namespace find {

const char* const kSortOrderInUse = TRANSLATABLE(
    "find",
    "Creating a new sort order requires exclusive use of the DBase File.  Make sure that the DBase File is not in use "
    "by another program  or that no other users are running the software or that no other copies of the software "
    "are in use.");

void applySortOrder(db::Table& table, const std::string& expression)
{
    if (!expression.empty())
        table.addIndex(kSortTag, expression);
    else if (db::fileExists(table.indexPath()))
        table.deleteIndex(kSortTag);
}

std::string buildSortString(const SortKeys& keys)
{
    int chosen = 0;
    for (int key : keys)
        if (key >= 1 && key <= db::kSchemaFieldCount)
            ++chosen;
    if (chosen == 0)
        return {};
    const int width = 80 / chosen;
    std::string expression;
    for (int key : keys) {
        if (key < 1 || key > db::kSchemaFieldCount)
            continue;
        const db::SchemaField& f = db::schemaField(key);
        switch (f.kind) {
        case db::SchemaKind::Character:
            expression += "Upper(Left(" + std::string(f.name) + "," + std::to_string(width) + "))+";
            break;
        case db::SchemaKind::WholeNumber: expression += "STR(" + std::string(f.name) + ",12,0)+"; break;
        case db::SchemaKind::DecimalNumber: expression += "STR(" + std::string(f.name) + ",12,2)+"; break;
        case db::SchemaKind::Date: expression += "DTOS(" + std::string(f.name) + ")+"; break;
        }
    }
    expression.pop_back();
    return expression;
}

SortKeys sortKeysOfExpression(const std::string& expression)
{
    SortKeys keys{0, 0, 0, 0};
    size_t next = 0;
    size_t at = 0;
    while (next < keys.size() && (at = expression.find('(', at)) != std::string::npos) {
        ++at;
        const size_t end = expression.find_first_of(",()", at);
        if (end == std::string::npos)
            break;
        if (const int position = db::schemaPosition(expression.substr(at, end - at)); position != 0)
            keys[next++] = position;
    }
    return keys;
}

} // namespace find
