#include "DbError.h"
#include "DbfFormat.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace db;
using testing_support::readFileBytes;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

std::vector<FieldDef> smallFields()
{
    return {{"NAME", 'C', 10, 0}, {"YEAR", 'N', 11, 0}, {"PRICE", 'F', 20, 4}, {"BOUGHT", 'D', 8, 0}};
}

// A small table with two records, as bytes, to damage in the tests below.
std::string makeTableBytes(const TempDir& dir)
{
    const std::string path = dir.file("SMALL.DBF");
    Table::createTable(path, smallFields());
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::Exclusive);
    for (const char* name : {"one", "two"}) {
        t.insert();
        t.setText(0, name);
        t.setNumber(1, 1999);
        t.post();
    }
    t.close();
    return readFileBytes(path);
}

std::string openError(const std::string& path)
{
    Table t;
    t.setFilePath(path);
    try {
        t.open(Table::OpenMode::ReadOnly);
    } catch (const DbError& e) {
        return e.what();
    }
    return "";
}

void setLe16(std::string& bytes, size_t at, uint16_t v)
{
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

} // namespace

TEST(DbfFormat, WritesTheDbaseLayout)
{
    TempDir dir;
    const std::string bytes = makeTableBytes(dir);
    ASSERT_GE(bytes.size(), 32u + 4 * 32 + 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x03);
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 2); // record count
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8), 32 + 4 * 32 + 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[10]), 1 + 10 + 11 + 20 + 8);
    EXPECT_EQ(static_cast<unsigned char>(bytes[29]), 0x03); // Windows ANSI, code page 1252
    EXPECT_EQ(bytes[32 + 4 * 32], '\x0D');
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ(bytes.substr(32, 5), std::string("NAME\0", 5));
    EXPECT_EQ(bytes[32 + 11], 'C');
    const size_t first = 32 + 4 * 32 + 1;
    EXPECT_EQ(bytes.substr(first, 11), " one       ");
    EXPECT_EQ(bytes.substr(first + 11, 11), "       1999");
}

TEST(DbfFormat, DamagedFilesGiveClearErrorsNamingTheFile)
{
    TempDir dir;
    const std::string good = makeTableBytes(dir);
    const std::string path = dir.file("BAD.DBF");
    struct Case {
        const char* what;
        std::string bytes;
        const char* expected;
    };
    std::vector<Case> cases;
    cases.push_back({"truncated", good.substr(0, 20), "too short"});
    {
        std::string b = good;
        setLe16(b, 8, 60000);
        cases.push_back({"header length past the end", b, "header length"});
    }
    {
        std::string b = good;
        setLe16(b, 10, 1);
        cases.push_back({"record length too small", b, "record length"});
    }
    {
        std::string b = good;
        b[32 + 16] = 0;
        cases.push_back({"zero width", b, "zero width"});
    }
    {
        std::string b = good;
        b[32 + 4 * 32] = ' ';
        cases.push_back({"no terminator", b, "terminator"});
    }
    {
        std::string b = good;
        b[0] = 0x7F;
        cases.push_back({"unknown version", b, "version"});
    }
    {
        std::string b = good;
        b[32 + 16] = static_cast<char>(200); // fields wider than the record
        cases.push_back({"fields wider than record", b, "record length"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFileBytes(path, c.bytes);
        const std::string message = openError(path);
        EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        EXPECT_NE(message.find("BAD.DBF"), std::string::npos) << message;
    }
}

TEST(DbfFormat, UnreadableValuesReadAsEmpty)
{
    TempDir dir;
    std::string bytes = makeTableBytes(dir);
    const size_t first = 32 + 4 * 32 + 1;
    bytes.replace(first + 11, 11, "     12ab3 ");        // letters in a number
    bytes.replace(first + 1 + 10 + 11 + 20, 8, "20231341"); // month 13
    const std::string path = dir.file("ODD.DBF");
    writeFileBytes(path, bytes);
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::ReadOnly);
    EXPECT_EQ(t.text(1), "");
    EXPECT_EQ(t.number(1), 0.0);
    EXPECT_EQ(t.text(3), "");
    EXPECT_EQ(t.date(3), 0.0);
}

TEST(DbfFormat, UnknownFieldTypesReadAsText)
{
    TempDir dir;
    std::string bytes = makeTableBytes(dir);
    bytes[32 + 11] = 'X'; // NAME becomes a type nobody knows
    const std::string path = dir.file("ODD.DBF");
    writeFileBytes(path, bytes);
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::ReadOnly);
    EXPECT_EQ(t.field(0).kind(), FieldKind::Other);
    EXPECT_EQ(t.text(0), "one");
}

TEST(DbfFormat, HeaderRulesForNewTables)
{
    EXPECT_THROW(makeDbfHeader({}), DbError);
    EXPECT_THROW(makeDbfHeader({{"WAYTOOLONGNAME", 'C', 5, 0}}), DbError);
    EXPECT_THROW(makeDbfHeader({{"A", 'C', 0, 0}}), DbError);
    EXPECT_THROW(makeDbfHeader({{"A", 'N', 21, 0}}), DbError);
    EXPECT_THROW(makeDbfHeader({{"A", 'Q', 5, 0}}), DbError);
    const DbfHeader h = makeDbfHeader({{"A", 'D', 3, 0}, {"B", 'L', 9, 0}});
    EXPECT_EQ(h.fields[0].width, 8);
    EXPECT_EQ(h.fields[1].width, 1);
    EXPECT_EQ(h.recordLength, 10);
}

TEST(DbfFormat, NumberTextThatDoesNotFitIsRefused)
{
    EXPECT_EQ(numberFieldText(1234.5, 20, 4), std::optional<std::string>("           1234.5000"));
    EXPECT_EQ(numberFieldText(-7, 4, 0), std::optional<std::string>("  -7"));
    EXPECT_FALSE(numberFieldText(123456, 4, 0).has_value());
    EXPECT_EQ(storedNumber("  12,5"), 12.5);
    EXPECT_FALSE(storedNumber("     ").has_value());
}
