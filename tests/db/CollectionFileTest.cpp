#include "CollectionFile.h"
#include "DbError.h"
#include "FileIO.h"
#include "PickList.h"
#include "Schema.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace db;
using testing_support::readFileBytes;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

std::vector<FieldDef> collectionDefsWith(const std::function<void(std::vector<FieldDef>&)>& change)
{
    std::vector<FieldDef> defs = collectionFieldDefs();
    change(defs);
    return defs;
}

} // namespace

TEST(Schema, HasFortyFieldsWithTheirKindsAndWidths)
{
    const auto& schema = collectionSchema();
    ASSERT_EQ(schema.size(), 40u);
    EXPECT_STREQ(schema[0].name, "Title");
    EXPECT_EQ(schema[0].width, 60);
    EXPECT_STREQ(schema[10].displayName, "Year");
    EXPECT_EQ(schema[10].kind, SchemaKind::WholeNumber);
    EXPECT_STREQ(schema[11].displayName, "Play Time");
    EXPECT_EQ(schema[27].kind, SchemaKind::DecimalNumber);
    EXPECT_EQ(schema[31].kind, SchemaKind::Date);
    EXPECT_STREQ(schema[39].name, "UserDef2");
    for (int p = 1; p <= 40; ++p) {
        EXPECT_EQ(schemaField(p).position, p);
        EXPECT_LE(std::strlen(schemaField(p).name), 10u);
        EXPECT_LE(std::strlen(schemaField(p).displayName), 20u);
    }
    EXPECT_EQ(schemaPosition("RELEASEDBY"), 10);
    EXPECT_EQ(schemaPosition("personalra"), 18);
    EXPECT_EQ(schemaPosition("Nothing"), 0);
    EXPECT_THROW(schemaField(41), std::out_of_range);
}

TEST(CollectionFile, NewCollectionHasTheSchemaColumns)
{
    TempDir dir;
    const std::string path = dir.file("MASTER.DBF");
    createCollectionTable(path);
    Table t;
    t.setFilePath(path);
    t.open();
    ASSERT_EQ(t.fieldCount(), 40);
    EXPECT_EQ(t.field(0).type, 'C');
    EXPECT_EQ(t.field(22).width, 140);
    EXPECT_EQ(t.field(10).type, 'N');
    EXPECT_EQ(t.field(10).width, 11);
    EXPECT_EQ(t.field(27).type, 'F');
    EXPECT_EQ(t.field(27).decimals, 4);
    EXPECT_EQ(t.field(31).type, 'D');
    EXPECT_EQ(t.recordCount(), 0u);
}

TEST(CollectionFile, FormatCheckComparesNamesInOrderOnly)
{
    TempDir dir;
    const std::string path = dir.file("CHECK.DBF");
    struct Case {
        const char* what;
        std::vector<FieldDef> fields;
        bool collection;
    };
    const std::vector<Case> cases = {
        {"the schema", collectionFieldDefs(), true},
        {"other types and widths",
         collectionDefsWith([](auto& d) {
             d[10] = {"YEAR", 'C', 4, 0};
             d[0].width = 10;
         }),
         true},
        {"names in other letter case", collectionDefsWith([](auto& d) { d[0].name = "TITLE"; d[9].name = "releasedby"; }), true},
        {"39 fields", collectionDefsWith([](auto& d) { d.pop_back(); }), false},
        {"41 fields", collectionDefsWith([](auto& d) { d.push_back({"Extra", 'C', 5, 0}); }), false},
        {"two fields swapped", collectionDefsWith([](auto& d) { std::swap(d[1], d[2]); }), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Table::createTable(path, c.fields);
        EXPECT_EQ(isCollectionTable(path), c.collection);
    }
}

TEST(CollectionFile, ADottedNameIsItsOwnCollectionAndNeverAShorterOne)
{
    TempDir dir;
    createCollectionTable(dir.file("A.DBF"));
    Table::createTable(dir.file("A.B.DBF"), {{"OTHER", 'C', 5, 0}});
    EXPECT_EQ(tableFileFor(dir.file("A.B.DBF")), dir.file("A.B.DBF"));
    EXPECT_FALSE(isCollectionTable(dir.file("A.B.DBF"))); // the file A.B.DBF is checked, not table A
    createCollectionTable(dir.file("Films 2.0.dbf"));
    EXPECT_TRUE(isCollectionTable(dir.file("Films 2.0.dbf")));
    EXPECT_EQ(indexFileFor(dir.file("Films 2.0.dbf")), dir.file("Films 2.0.mdx"));
    // A name of another kind is never taken for the collection before its dot.
    EXPECT_THROW(isCollectionTable(dir.file("A.csv")), DbError);
}

TEST(CollectionFile, MissingIndexClearsTheIndexFlag)
{
    TempDir dir;
    const std::string path = dir.file("FLAG.DBF");
    createCollectionTable(path);
    {
        Table t;
        t.setFilePath(path);
        t.addIndex("NewIndex", "Upper(Left(Title,80))");
    }
    EXPECT_EQ(readFileBytes(path)[28], 1);
    removeFile(indexFileFor(path));
    EXPECT_TRUE(isCollectionTable(path));
    EXPECT_EQ(readFileBytes(path)[28], 0);

    // A foreign table loses the flag too, even though it fails the check.
    const std::string foreign = dir.file("FOREIGN.DBF");
    Table::createTable(foreign, {{"X", 'C', 5, 0}});
    std::string bytes = readFileBytes(foreign);
    bytes[28] = 1;
    writeFileBytes(foreign, bytes);
    EXPECT_FALSE(isCollectionTable(foreign));
    EXPECT_EQ(readFileBytes(foreign)[28], 0);
}

TEST(CollectionFile, IndexFlagRepairIgnoresFilesItCannotOpen)
{
    TempDir dir;
    EXPECT_NO_THROW(removeIndexFlag(dir.file("NONE.DBF")));
}

TEST(CollectionFile, MissingOrDamagedFilesAreEngineErrors)
{
    TempDir dir;
    EXPECT_THROW(isCollectionTable(dir.file("NONE.DBF")), DbError);
    writeFileBytes(dir.file("JUNK.DBF"), "not a table at all, just text");
    EXPECT_THROW(isCollectionTable(dir.file("JUNK.DBF")), DbError);
}

TEST(CollectionFile, InUseWhileAnyTableObjectHoldsIt)
{
    TempDir dir;
    const std::string path = dir.file("USED.DBF");
    createCollectionTable(path);
    EXPECT_FALSE(tableInUse(path));
    Table holder;
    holder.setFilePath(path);
    holder.open();
    EXPECT_TRUE(tableInUse(path));
    holder.close();
    EXPECT_FALSE(tableInUse(path));
}

TEST(PickLists, FilesLoadTrimmedWithoutBlankLines)
{
    TempDir dir;
    const std::string path = dir.file("STAR.LST");
    writeFileBytes(path, "  Cary Grant  \r\n\r\n   \r\nBette Davis\nAudrey Hepburn" + std::string(300, 'x') + "\r\n");
    const PickList list = readPickList(path);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], "Cary Grant");
    EXPECT_EQ(list[1], "Bette Davis");
    EXPECT_EQ(list[2].size(), 255u);
    EXPECT_TRUE(writePickList(path, {"One", "Two"}));
    EXPECT_EQ(readFileBytes(path), "One\r\nTwo\r\n");
    EXPECT_TRUE(readPickList(dir.file("NONE.LST")).empty());
    EXPECT_FALSE(writePickList(dir.file("missing/X.LST"), {"a"}));
    EXPECT_EQ(pickListCodeForField("STAR4"), 2);
    EXPECT_EQ(pickListCodeForField("releasedby"), 4);
    EXPECT_EQ(pickListCodeForField("Title"), 0);
    EXPECT_STREQ(pickList(pickListMenuOrder()[6]).menuItem, "Perso&nal Rating");
}
