#include "Schema.h"

#include "Translatable.h"

#include "Ascii.h"

#include <stdexcept>

namespace db {

namespace {
using K = SchemaKind;
constexpr std::array<SchemaField, kSchemaFieldCount> kSchema = {{
    {1, "Title", TRANSLATABLE("db", "Title"), K::Character, 60},
    {2, "Star1", TRANSLATABLE("db", "Star 1"), K::Character, 25},
    {3, "Star2", TRANSLATABLE("db", "Star 2"), K::Character, 25},
    {4, "Star3", TRANSLATABLE("db", "Star 3"), K::Character, 25},
    {5, "Star4", TRANSLATABLE("db", "Star 4"), K::Character, 25},
    {6, "Star5", TRANSLATABLE("db", "Star 5"), K::Character, 25},
    {7, "Star6", TRANSLATABLE("db", "Star 6"), K::Character, 25},
    {8, "Producer", TRANSLATABLE("db", "Producer"), K::Character, 28},
    {9, "Director", TRANSLATABLE("db", "Director"), K::Character, 28},
    {10, "ReleasedBy", TRANSLATABLE("db", "Released By"), K::Character, 28},
    {11, "Year", TRANSLATABLE("db", "Year"), K::WholeNumber, 4},
    {12, "RunTime", TRANSLATABLE("db", "Play Time"), K::WholeNumber, 3},
    {13, "Rating", TRANSLATABLE("db", "Rating"), K::Character, 15},
    {14, "Category", TRANSLATABLE("db", "Category"), K::Character, 20},
    {15, "Picture", TRANSLATABLE("db", "Picture"), K::Character, 10},
    {16, "Sound", TRANSLATABLE("db", "Sound"), K::Character, 10},
    {17, "Format", TRANSLATABLE("db", "Format"), K::Character, 15},
    {18, "PersonalRa", TRANSLATABLE("db", "Personal Rating"), K::Character, 15},
    {19, "MediaNum", TRANSLATABLE("db", "Media #"), K::Character, 10},
    {20, "RecSpeed", TRANSLATABLE("db", "Rec Speed"), K::Character, 6},
    {21, "CounterSta", TRANSLATABLE("db", "Counter Start"), K::Character, 8},
    {22, "CounterSto", TRANSLATABLE("db", "Counter Stop"), K::Character, 8},
    {23, "Descriptio", TRANSLATABLE("db", "Description"), K::Character, 140},
    {24, "Content", TRANSLATABLE("db", "Content"), K::Character, 10},
    {25, "Miscellane", TRANSLATABLE("db", "Miscellaneous"), K::Character, 80},
    {26, "KeyWords", TRANSLATABLE("db", "Key Words"), K::Character, 80},
    {27, "LaserForma", TRANSLATABLE("db", "Laser Format"), K::Character, 12},
    {28, "ListPrice", TRANSLATABLE("db", "List Price"), K::DecimalNumber, 12},
    {29, "OscarNom", TRANSLATABLE("db", "Oscar Nomination"), K::Character, 110},
    {30, "OscarAward", TRANSLATABLE("db", "Oscar Award"), K::Character, 110},
    {31, "CheckOut", TRANSLATABLE("db", "Checked Out"), K::Character, 3},
    {32, "CheckDate", TRANSLATABLE("db", "Check Out Date"), K::Date, 10},
    {33, "CheckName", TRANSLATABLE("db", "Check Out Person"), K::Character, 25},
    {34, "PurchPrice", TRANSLATABLE("db", "Purch Price"), K::DecimalNumber, 12},
    {35, "PurchDate", TRANSLATABLE("db", "Purch Date"), K::Date, 10},
    {36, "WherePurch", TRANSLATABLE("db", "Where Purchased"), K::Character, 25},
    {37, "Viewed", TRANSLATABLE("db", "Viewed"), K::Character, 3},
    {38, "Writers", TRANSLATABLE("db", "Writers"), K::Character, 60},
    {39, "UserDef1", TRANSLATABLE("db", "User Defined 1"), K::Character, 40},
    {40, "UserDef2", TRANSLATABLE("db", "User Defined 2"), K::Character, 40},
}};

} // namespace

const std::array<SchemaField, kSchemaFieldCount>& collectionSchema()
{
    return kSchema;
}

const SchemaField& schemaField(int position)
{
    if (position < 1 || position > kSchemaFieldCount)
        throw std::out_of_range("schema position " + std::to_string(position));
    return kSchema[static_cast<size_t>(position - 1)];
}

int schemaPosition(std::string_view name)
{
    for (const SchemaField& f : kSchema)
        if (sameLetters(f.name, name))
            return f.position;
    return 0;
}

std::vector<FieldDef> collectionFieldDefs()
{
    std::vector<FieldDef> defs;
    for (const SchemaField& f : kSchema) {
        FieldDef d;
        d.name = f.name;
        switch (f.kind) {
        case K::Character: d.type = 'C'; d.width = f.width; break;
        case K::WholeNumber: d.type = 'N'; d.width = 11; break;
        case K::DecimalNumber: d.type = 'F'; d.width = 20; d.decimals = 4; break;
        case K::Date: d.type = 'D'; d.width = 8; break;
        }
        defs.push_back(d);
    }
    return defs;
}

} // namespace db
