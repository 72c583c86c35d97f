#include "SortOrder.h"

#include "Schema.h"

namespace find {

const char* const kSortOrderInUse =
    "Creating a new sort order requires exclusive use of the DBase File.  Make sure that the DBase File is not in use "
    "by another program  or that no other users are running the software or that no other copies of the software "
    "are in use.";

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

} // namespace find
