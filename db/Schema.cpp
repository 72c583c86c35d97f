#include "Schema.h"

#include "Ascii.h"

#include <stdexcept>

namespace db {

namespace {
using K = SchemaKind;
constexpr std::array<SchemaField, kSchemaFieldCount> kSchema = {{
    {1, "Title", "Title", K::Character, 60},
    {2, "Star1", "Star 1", K::Character, 25},
    {3, "Star2", "Star 2", K::Character, 25},
    {4, "Star3", "Star 3", K::Character, 25},
    {5, "Star4", "Star 4", K::Character, 25},
    {6, "Star5", "Star 5", K::Character, 25},
    {7, "Star6", "Star 6", K::Character, 25},
    {8, "Producer", "Producer", K::Character, 28},
    {9, "Director", "Director", K::Character, 28},
    {10, "ReleasedBy", "Released By", K::Character, 28},
    {11, "Year", "Year", K::WholeNumber, 4},
    {12, "RunTime", "Play Time", K::WholeNumber, 3},
    {13, "Rating", "Rating", K::Character, 15},
    {14, "Category", "Category", K::Character, 20},
    {15, "Picture", "Picture", K::Character, 10},
    {16, "Sound", "Sound", K::Character, 10},
    {17, "Format", "Format", K::Character, 15},
    {18, "PersonalRa", "Personal Rating", K::Character, 15},
    {19, "MediaNum", "Media #", K::Character, 10},
    {20, "RecSpeed", "Rec Speed", K::Character, 6},
    {21, "CounterSta", "Counter Start", K::Character, 8},
    {22, "CounterSto", "Counter Stop", K::Character, 8},
    {23, "Descriptio", "Description", K::Character, 140},
    {24, "Content", "Content", K::Character, 10},
    {25, "Miscellane", "Miscellaneous", K::Character, 80},
    {26, "KeyWords", "Key Words", K::Character, 80},
    {27, "LaserForma", "Laser Format", K::Character, 12},
    {28, "ListPrice", "List Price", K::DecimalNumber, 12},
    {29, "OscarNom", "Oscar Nomination", K::Character, 110},
    {30, "OscarAward", "Oscar Award", K::Character, 110},
    {31, "CheckOut", "Checked Out", K::Character, 3},
    {32, "CheckDate", "Check Out Date", K::Date, 10},
    {33, "CheckName", "Check Out Person", K::Character, 25},
    {34, "PurchPrice", "Purch Price", K::DecimalNumber, 12},
    {35, "PurchDate", "Purch Date", K::Date, 10},
    {36, "WherePurch", "Where Purchased", K::Character, 25},
    {37, "Viewed", "Viewed", K::Character, 3},
    {38, "Writers", "Writers", K::Character, 60},
    {39, "UserDef1", "User Defined 1", K::Character, 40},
    {40, "UserDef2", "User Defined 2", K::Character, 40},
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
