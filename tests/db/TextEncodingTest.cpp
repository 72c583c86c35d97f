// How a table keeps its text: Unicode tables hold any script, cut only where
// a character ends and in normal form C; Windows-1252 tables hold what that
// code page has. Each says which by its language byte and its .cpg file, and
// an older table is converted with every record's text kept.

#include "DbError.h"
#include "Scripts.h"
#include "Table.h"
#include "TempDir.h"
#include "DbfFormat.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace db;
using testing_support::readFileBytes;
using testing_support::scriptTitles;
using testing_support::TempDir;
using testing_support::u8s;
using testing_support::writeFileBytes;

namespace {

const std::string kTitle1252 = u8s(u8"Amélie € “quoted” Œuvre");

std::vector<FieldDef> fields(int titleWidth = 60)
{
    return {{"TITLE", 'C', titleWidth, 0}, {"YEAR", 'N', 4, 0}, {"NOTES", 'C', 20, 0}};
}

uint8_t languageByte(const std::string& path) { return static_cast<uint8_t>(readFileBytes(path).at(29)); }

// Opens a table for writing and closes it again, as the program's first writable open does.
void openForWriting(const std::string& path)
{
    Table t;
    t.setFilePath(path);
    t.open();
}

std::string cpgOf(const std::string& path)
{
    const std::string cpg = codePageFileOf(path);
    return std::filesystem::exists(cpg) ? readFileBytes(cpg) : "(none)";
}

void append(Table& t, const std::string& title, int year = 0)
{
    t.insert();
    ASSERT_TRUE(t.setText(0, title)) << title;
    t.setNumber(1, year);
    t.post();
}

std::vector<std::string> titles(const std::string& path)
{
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::ReadOnly);
    std::vector<std::string> found;
    for (t.first(); !t.eof(); t.next())
        found.push_back(t.text(0) + "|" + t.text(2) + "|" + std::to_string(static_cast<int>(t.number(1))));
    return found;
}

// Sets the language byte of a table in place, as an older or another program wrote it.
void setLanguageByte(const std::string& path, uint8_t value)
{
    std::string bytes = readFileBytes(path);
    bytes[29] = static_cast<char>(value);
    writeFileBytes(path, bytes);
}

} // namespace

TEST(TextEncoding, AUnicodeFieldIsCutOnlyWhereACharacterEnds)
{
    for (const auto& s : scriptTitles()) {
        for (size_t width = 0; width <= s.stored.size() + 1; ++width) {
            bool cut = false;
            const std::string kept = fieldBytes(s.title, TextEncoding::Utf8, width, &cut);
            EXPECT_LE(kept.size(), width) << s.script;
            EXPECT_TRUE(isValidUtf8(kept)) << s.script << " at " << width;
            EXPECT_EQ(s.stored.substr(0, kept.size()), kept) << s.script;
            EXPECT_EQ(cut, kept != s.stored) << s.script << " at " << width;
            // Nothing more would have fitted: the next character is longer than what is left.
            if (cut) {
                const size_t next = utf8CharactersLength(s.stored.substr(kept.size()), 1);
                EXPECT_GT(kept.size() + next, width) << s.script << " at " << width;
            }
        }
    }
}

TEST(TextEncoding, UnicodeTextIsStoredInNormalFormCAndBadBytesAsReplacement)
{
    for (const auto& s : scriptTitles())
        EXPECT_EQ(fieldBytes(s.title, TextEncoding::Utf8, 200), s.stored) << s.script;
    EXPECT_EQ(fieldBytes("a\xFF" "b", TextEncoding::Utf8, 20), u8s(u8"a\uFFFDb"));
    int replaced = 0;
    EXPECT_EQ(fieldBytes(u8s(u8"Łódź 千"), TextEncoding::Windows1252, 20, nullptr, &replaced), "?\xF3" "d? ?");
    EXPECT_EQ(replaced, 3);
}

TEST(TextEncoding, ValidUtf8IsToldFromEverythingElse)
{
    for (const auto& s : scriptTitles())
        EXPECT_TRUE(isValidUtf8(s.title)) << s.script;
    for (const char* bad : {"\xC0\x80", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                            "\x80", "Am\xE9lie", "\xE0\x80\xAF"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

// Both are read eight bytes at a time: a byte beyond ASCII is seen at every
// place of texts of every length, and padding of blanks and NULs ends wherever
// the text does.
TEST(TextEncoding, AsciiAndPaddingAreToldAtEveryPlaceOfEveryLength)
{
    for (size_t length = 0; length <= 40; ++length) {
        const std::string plain(length, 'a');
        EXPECT_TRUE(isAscii(plain)) << length;
        for (size_t at = 0; at < length; ++at) {
            std::string beyond = plain;
            beyond[at] = '\xC3';
            EXPECT_FALSE(isAscii(beyond)) << length << " " << at;
            EXPECT_TRUE(isAscii(std::string_view(beyond).substr(0, at))) << "nothing past the view is read";
        }
        for (size_t padding = 0; padding <= 20; ++padding) {
            for (const char pad : {' ', '\0'}) {
                const std::string field = plain + " a" + std::string(padding, pad);
                EXPECT_EQ(trimRight(field), plain + " a") << length << " " << padding;
            }
            EXPECT_EQ(trimRight(std::string(padding, ' ') + std::string(padding, '\0')), "");
        }
    }
}

TEST(TextEncoding, CapitalsAndFoldingWorkACharacterAtATimeInEveryScript)
{
    EXPECT_EQ(upperUtf8(u8s(u8"łódź")), u8s(u8"ŁÓDŹ"));
    EXPECT_EQ(upperUtf8(u8s(u8"летят")), u8s(u8"ЛЕТЯТ"));
    EXPECT_EQ(upperUtf8(u8s(u8"θίασος")), u8s(u8"ΘΊΑΣΟΣ"));
    EXPECT_EQ(upperUtf8(u8s(u8"straße 千🎬")), u8s(u8"STRAßE 千🎬"));
    EXPECT_EQ(foldedUtf8(u8s(u8"Łódź")), "lodz");
    for (const auto& s : scriptTitles())
        EXPECT_NE(foldedUtf8(s.stored).find(foldedUtf8(s.typed)), std::string::npos) << s.script;
    // Capitals never change a text's length in characters, so that a key keeps its place.
    for (const auto& s : scriptTitles())
        EXPECT_EQ(utf8CharacterCount(upperUtf8(s.stored)), utf8CharacterCount(s.stored)) << s.script;
}

TEST(TableEncoding, NewTablesSayHowTheyKeepTheirTextInTheHeaderAndACpgFile)
{
    TempDir dir;
    Table::createTable(dir.file("UNI.DBF"), fields(), TextEncoding::Utf8);
    Table::createTable(dir.file("old.dbf"), fields(), TextEncoding::Windows1252);
    EXPECT_EQ(languageByte(dir.file("UNI.DBF")), 0x00);
    EXPECT_EQ(readFileBytes(dir.file("UNI.CPG")), "UTF-8");
    EXPECT_EQ(languageByte(dir.file("old.dbf")), 0x03);
    EXPECT_EQ(readFileBytes(dir.file("old.cpg")), "1252");
    EXPECT_EQ(Table::encodingOfFile(dir.file("UNI.DBF")), TextEncoding::Utf8);
    EXPECT_EQ(Table::encodingOfFile(dir.file("old.dbf")), TextEncoding::Windows1252);
}

TEST(TableEncoding, EveryScriptGoesInAndComesOutOfAUnicodeTableAsStored)
{
    TempDir dir;
    const std::string path = dir.file("UNI.DBF");
    Table::createTable(path, fields(), TextEncoding::Utf8);
    {
        Table t;
        t.setFilePath(path);
        t.open();
        for (const auto& s : scriptTitles())
            append(t, s.title);
        t.addIndex("NewIndex", "Upper(Left(Title,30))");
    }
    std::vector<std::string> expected;
    for (const auto& s : scriptTitles())
        expected.push_back(s.stored + "||0");
    EXPECT_EQ(titles(path), expected);

    // The key order is the byte order of the capitals, and the index agrees with the file.
    Table t;
    t.setFilePath(path);
    t.selectIndex("NewIndex");
    t.open();
    EXPECT_EQ(t.checkIndex(), "");
    std::string previous;
    for (t.first(); !t.eof(); t.next()) {
        const std::string key = upperUtf8(t.text(0));
        EXPECT_LE(previous, key);
        previous = key;
    }
    // A text longer than its field is refused whole, and so is nothing cut.
    t.first();
    t.edit();
    EXPECT_EQ(t.fit(2, u8s(u8"千と千尋の神隠し")), Table::Fit::TooLong); // 24 bytes in a field of 20
    EXPECT_EQ(t.fit(2, u8s(u8"千と千尋の神")), Table::Fit::Whole);      // 18
    t.cancel();
}

TEST(TableEncoding, AWindows1252TableSaysWhatItCannotHold)
{
    TempDir dir;
    const std::string path = dir.file("OLD.DBF");
    Table::createTable(path, fields(), TextEncoding::Windows1252);
    Table t;
    t.setFilePath(path);
    t.open();
    t.insert();
    EXPECT_EQ(t.fit(0, kTitle1252), Table::Fit::Whole);
    EXPECT_EQ(t.fit(0, u8s(u8"Łódź")), Table::Fit::NotHeld);
    EXPECT_EQ(t.fit(2, std::string(21, 'a')), Table::Fit::TooLong);
    ASSERT_TRUE(t.setText(0, kTitle1252));
    t.post();
    EXPECT_EQ(t.text(0), kTitle1252);
    EXPECT_EQ(readFileBytes(path).find("Am\xE9lie \x80 \x93quoted\x94 \x8Cuvre"), 32 * 4u + 1 + 1); // the header, its end mark, the deletion flag
}

TEST(TableEncoding, AnOlderTableGetsItsCpgWhenOpenedForWritingOnly)
{
    TempDir dir;
    const std::string path = dir.file("OLDER.DBF");
    Table::createTable(path, fields(), TextEncoding::Windows1252);
    std::filesystem::remove(dir.file("OLDER.CPG"));
    setLanguageByte(path, 0x57); // as earlier versions wrote it
    {
        Table t;
        t.setFilePath(path);
        t.open(Table::OpenMode::ReadOnly);
        EXPECT_EQ(t.encoding(), TextEncoding::Windows1252);
    }
    EXPECT_EQ(cpgOf(path), "(none)");
    openForWriting(path);
    EXPECT_EQ(cpgOf(path), "1252");
    EXPECT_EQ(languageByte(path), 0x57); // the table itself is not touched

    // A folder that may not be written leaves it without, and it opens all the same.
    if (::geteuid() != 0) {
        std::filesystem::remove(dir.file("OLDER.CPG"));
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
        Table t;
        t.setFilePath(path);
        EXPECT_NO_THROW(t.open());
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
        EXPECT_EQ(cpgOf(path), "(none)");
    }
}

TEST(TableEncoding, ACpgSayingUnicodeBesideATableThatNamesACodePageIsPutRight)
{
    // What a conversion stopped between its .cpg and its table leaves.
    TempDir dir;
    const std::string path = dir.file("HALF.DBF");
    Table::createTable(path, fields(), TextEncoding::Windows1252);
    {
        Table t;
        t.setFilePath(path);
        t.open();
        append(t, kTitle1252, 2001);
    }
    writeFileBytes(dir.file("HALF.CPG"), "UTF-8");
    EXPECT_EQ(Table::encodingOfFile(path), TextEncoding::Windows1252);
    EXPECT_EQ(titles(path), std::vector<std::string>{kTitle1252 + "||2001"});
    openForWriting(path);
    EXPECT_EQ(cpgOf(path), "1252");
}

TEST(TableEncoding, AUnicodeTableCopiedWithoutItsCpgIsReadAsUnicodeAndGetsItBack)
{
    TempDir dir;
    const std::string path = dir.file("COPY.DBF");
    Table::createTable(path, fields(), TextEncoding::Utf8);
    {
        Table t;
        t.setFilePath(path);
        t.open();
        append(t, "Plain title");
        append(t, u8s(u8"Łódź"));
    }
    std::filesystem::remove(dir.file("COPY.CPG"));
    EXPECT_EQ(Table::encodingOfFile(path), TextEncoding::Utf8);
    EXPECT_EQ(titles(path), (std::vector<std::string>{"Plain title||0", u8s(u8"Łódź") + "||0"}));
    openForWriting(path);
    EXPECT_EQ(cpgOf(path), "UTF-8");

    // Nothing beyond ASCII cannot tell: read as Windows-1252, and no word is written.
    const std::string plain = dir.file("PLAIN.DBF");
    Table::createTable(plain, fields(), TextEncoding::Utf8);
    {
        Table t;
        t.setFilePath(plain);
        t.open();
        append(t, "Plain title");
    }
    std::filesystem::remove(dir.file("PLAIN.CPG"));
    {
        Table t;
        t.setFilePath(plain);
        t.open();
        EXPECT_EQ(t.encoding(), TextEncoding::Windows1252);
    }
    EXPECT_EQ(cpgOf(plain), "(none)");

    // Bytes that are no UTF-8 are Windows-1252.
    const std::string older = dir.file("OLDER.DBF");
    Table::createTable(older, fields(), TextEncoding::Windows1252);
    {
        Table t;
        t.setFilePath(older);
        t.open();
        append(t, kTitle1252);
    }
    std::filesystem::remove(dir.file("OLDER.CPG"));
    setLanguageByte(older, 0x00);
    EXPECT_EQ(titles(older), std::vector<std::string>{kTitle1252 + "||0"});
    openForWriting(older);
    EXPECT_EQ(cpgOf(older), "1252");
}

// ---- conversion ----------------------------------------------------------------------------

TEST(UnicodeConversion, EveryRecordKeepsItsTextAndTheIndexIsRebuilt)
{
    TempDir dir;
    const std::string path = dir.file("OLD.DBF");
    Table::createTable(path, fields(), TextEncoding::Windows1252);
    {
        Table t;
        t.setFilePath(path);
        t.open();
        append(t, kTitle1252, 2001);
        append(t, "Zulu", 1964);
        append(t, u8s(u8"Ærø – “Ñandú”"), 1999);
        append(t, u8s(u8"deleted é"), 1);
        t.deleteRecord();
        t.edit();
        ASSERT_TRUE(t.setText(2, u8s(u8"ÀÉÎÕÜ ŒŠŽ"))); // 19 bytes in Unicode, in a field of 20
        t.post();
        t.addIndex("NewIndex", "Upper(Left(Title,30))");
    }
    const std::vector<std::string> before = titles(path);
    Table::ConversionResult result;
    {
        Table t;
        t.setFilePath(path);
        t.selectIndex("NewIndex");
        t.open(Table::OpenMode::Exclusive);
        result = t.convertToUnicode();
        EXPECT_EQ(t.encoding(), TextEncoding::Utf8);
        // The new table takes any script at once.
        t.first();
        t.edit();
        EXPECT_EQ(t.fit(0, u8s(u8"千と千尋の神隠し")), Table::Fit::Whole);
        t.cancel();
    }
    EXPECT_FALSE(result.alreadyUnicode);
    EXPECT_EQ(result.records, 4u);
    EXPECT_EQ(Table::conversionMessage(result), "4 records now keep their text in Unicode");
    EXPECT_EQ(titles(path), before);
    EXPECT_EQ(languageByte(path), 0x00);
    EXPECT_EQ(cpgOf(path), "UTF-8");
    EXPECT_NE(readFileBytes(path).find(u8s(u8"Amélie € “quoted” Œuvre")), std::string::npos);
    EXPECT_NE(readFileBytes(path).find(u8s(u8"deleted é")), std::string::npos); // deleted records too

    Table t;
    t.setFilePath(path);
    t.selectIndex("NewIndex");
    t.open();
    EXPECT_EQ(t.checkIndex(), "");
    EXPECT_EQ(t.indexProblem(), "");
    std::vector<std::string> inOrder;
    for (t.first(); !t.eof(); t.next())
        inOrder.push_back(t.text(0));
    EXPECT_EQ(inOrder, (std::vector<std::string>{kTitle1252, "Zulu", u8s(u8"Ærø – “Ñandú”")}));

    // Once more changes nothing.
    t.close();
    t.open(Table::OpenMode::Exclusive);
    const std::string bytes = readFileBytes(path);
    EXPECT_TRUE(t.convertToUnicode().alreadyUnicode);
    EXPECT_EQ(readFileBytes(path), bytes);
}

TEST(UnicodeConversion, TextsThatWouldNotFitStopItBeforeAnythingChanges)
{
    TempDir dir;
    const std::string path = dir.file("FULL.DBF");
    Table::createTable(path, fields(), TextEncoding::Windows1252);
    {
        Table t;
        t.setFilePath(path);
        t.open();
        append(t, "Fits");
        append(t, u8s(u8"Amélie"));
        t.edit();
        ASSERT_TRUE(t.setText(2, u8s(u8"éééééééééééé"))); // 12 characters, 24 bytes in Unicode
        t.post();
        t.addIndex("NewIndex", "Upper(Left(Title,30))");
    }
    const std::string table = readFileBytes(path), index = readFileBytes(dir.file("FULL.MDX"));
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::Exclusive);
    try {
        t.convertToUnicode();
        ADD_FAILURE() << "converted";
    } catch (const DbError& e) {
        const std::string said = e.what();
        EXPECT_NE(said.find("Nothing was converted: 1 text would be longer than its field"), std::string::npos) << said;
        EXPECT_NE(said.find(u8s(u8"2 “Amélie” NOTES")), std::string::npos) << said;
    }
    EXPECT_EQ(t.encoding(), TextEncoding::Windows1252);
    EXPECT_EQ(t.text(0), "Fits");
    t.close();
    EXPECT_EQ(readFileBytes(path), table);
    EXPECT_EQ(readFileBytes(dir.file("FULL.MDX")), index);
    EXPECT_EQ(cpgOf(path), "1252");
}

TEST(UnicodeConversion, OnlyAnExclusiveOpenConverts)
{
    TempDir dir;
    const std::string path = dir.file("SHARED.DBF");
    Table::createTable(path, fields(), TextEncoding::Windows1252);
    Table t;
    t.setFilePath(path);
    t.open();
    EXPECT_THROW(t.convertToUnicode(), DbError);
    EXPECT_EQ(cpgOf(path), "1252");
}

TEST(UnicodeConversion, ATableWhoseHeaderNamesNoCodePageIsConvertedAsWindows1252)
{
    // A .cpg written ahead of the table must not make the old table read as
    // Unicode: the header says Windows-1252 first.
    TempDir dir;
    const std::string path = dir.file("NOLDID.DBF");
    Table::createTable(path, fields(), TextEncoding::Windows1252);
    {
        Table t;
        t.setFilePath(path);
        t.open();
        append(t, kTitle1252, 5);
    }
    std::filesystem::remove(dir.file("NOLDID.CPG"));
    setLanguageByte(path, 0x00);
    Table t;
    t.setFilePath(path);
    t.open(Table::OpenMode::Exclusive);
    EXPECT_EQ(t.encoding(), TextEncoding::Windows1252);
    t.convertToUnicode();
    t.close();
    EXPECT_EQ(titles(path), std::vector<std::string>{kTitle1252 + "||5"});
    EXPECT_EQ(cpgOf(path), "UTF-8");
}
