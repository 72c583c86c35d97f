#pragma once

#include "DbfFormat.h"

#include <array>
#include <string>
#include <vector>

namespace db {

// The 40 fields every collection table has, in schema position order; the
// order is also the physical column order of every collection.
enum class SchemaKind { Character = 1, WholeNumber = 2, DecimalNumber = 3, Date = 4 };

struct SchemaField {
    int position;             // 1..40
    const char* name;         // field name, at most 10 characters
    const char* displayName;  // default field display name, at most 20 characters
    SchemaKind kind;
    int width;                // character width, or the entry width of the other kinds
};

constexpr int kSchemaFieldCount = 40;

const std::array<SchemaField, kSchemaFieldCount>& collectionSchema();
// The schema row of a position 1..40 (throws std::out_of_range otherwise).
const SchemaField& schemaField(int position);
// Position 1..40 of a field name in any letter case, 0 when it is none.
int schemaPosition(std::string_view name);

// Column definitions for a new collection table: character fields with their
// width, whole numbers N(11,0), decimal numbers F(20,4), dates D.
std::vector<FieldDef> collectionFieldDefs();

} // namespace db
