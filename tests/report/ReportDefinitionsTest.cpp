// The report definitions file: its byte layout, the defaults, the older
// file's merge, and damaged files.
#include "FileIO.h"
#include "ReportDefinitions.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <cstring>
#include <filesystem>
#include <random>

using namespace report;
using testing_support::readFileBytes;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

int16_t int16At(const std::string& b, size_t at)
{
    return static_cast<int16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::string textAt(const std::string& b, size_t at)
{
    return b.substr(at + 1, static_cast<unsigned char>(b[at]));
}

std::string widths(const ReportLine& line)
{
    std::string out;
    for (const ReportItem& item : lineItems(line))
        out += (item.isLabel() ? "L:" + item.label : item.kind) + "=" + std::to_string(item.width) + " ";
    return out;
}

ReportDefinition randomDefinition(std::mt19937& random)
{
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto text = [&](size_t most) {
        std::string s(static_cast<size_t>(pick(static_cast<int>(most) + 1)), ' ');
        for (char& c : s)
            c = static_cast<char>(32 + pick(200));
        return s;
    };
    ReportDefinition d = newDefinition();
    d.name = text(30);
    d.width = std::array<int, 3>{90, 120, 150}[static_cast<size_t>(pick(3))];
    for (FontBlock& f : d.fonts) {
        f.face = text(50);
        f.size = 6 + pick(30);
        f.bold = pick(2);
        f.italic = pick(2);
        f.underline = pick(2);
        f.strikeOut = pick(2);
        f.color = static_cast<int32_t>(random());
    }
    d.columnHeaders = pick(2);
    d.landscape = pick(2);
    d.numberOfLines = pick(13);
    d.topMargin = pick(100) / 16.0;
    d.rightMargin = -pick(5) / 8.0;
    for (std::string& t : d.titles)
        t = text(80);
    for (ReportLine& line : d.lines) {
        int left = d.width;
        for (ReportItem& item : line) {
            const int kind = pick(3);
            item.kind = kind == 0 ? kFiller : kind == 1 ? kLabel : "Title";
            item.label = text(40);
            item.number = static_cast<uint8_t>(pick(41));
            item.width = std::min(left, pick(20));
            left -= item.width;
        }
    }
    d.groupByLevel1 = pick(2);
    d.groupByLevel2 = pick(2);
    return d;
}

} // namespace

TEST(ReportDefinitions, TheSixDefaultsAreWrittenOnceWordForWord)
{
    TempDir dir;
    ASSERT_EQ(prepareDefinitionsFile(dir.path().string()), 0);
    const std::string path = dir.file("REELKP.URP");
    const std::string bytes = readFileBytes(path);
    ASSERT_EQ(bytes.size(), 6 * kDefinitionSize);
    DefinitionsFile file(path);
    const DefinitionsFile::Listing listing = file.list();
    EXPECT_EQ(listing.problem(), "");
    EXPECT_EQ(listing.names, (std::vector<std::string>{"Title and Media Number Report", "Ratings Report", "Star Report",
                                                       "Oscar Report", "Large Report", "Statistic/Summary Report"}));
    // The layout, read straight from the bytes of the Star Report (record 2).
    const std::string star = bytes.substr(2 * kDefinitionSize, kDefinitionSize);
    EXPECT_EQ(textAt(star, 0), "Star Report");
    EXPECT_EQ(int16At(star, 31), 120);
    EXPECT_EQ(textAt(star, 33), "Arial");
    EXPECT_EQ(int16At(star, 33 + 51), 8);
    EXPECT_EQ(star[338], 0); // column headers off
    EXPECT_EQ(star[339], 1); // page numbers
    EXPECT_EQ(int16At(star, 343), 3);
    EXPECT_EQ(textAt(star, 345), "<LABEL>");
    EXPECT_EQ(textAt(star, 345 + 34), "Quantity:");
    EXPECT_EQ(textAt(star, 345 + 75 * 2), "Quantity");
    EXPECT_EQ(star[345 + 75 * 2 + 31], 1);
    double top;
    std::memcpy(&top, star.data() + 1845, 8);
    EXPECT_EQ(top, 0.5);
    EXPECT_EQ(textAt(star, 2122 + 75 * 2), "MediaNum");
    EXPECT_EQ(star[2122 + 75 * 2 + 31], 19); // its field number
    EXPECT_EQ(int16At(star, 2122 + 75 * 2 + 32), 10);
    EXPECT_EQ(textAt(star, 2122 + 1500 + 75 * 2), "Star1");
    EXPECT_EQ(star[20122], 1); // grouped by the first sort level

    const ReportDefinition large = file.read(4);
    EXPECT_EQ(widths(large.lines[4]), "L:Play Time:=10 <FILLER>=1 RunTime=3 L:Picture:=10 <FILLER>=1 Picture=5 L:Sound:=8 "
                                      "<FILLER>=1 Sound=6 L:Format:=9 <FILLER>=1 Format=10 L:Record Speed:=16 <FILLER>=1 "
                                      "RecSpeed=3 L:Laser Format:=15 <FILLER>=1 LaserForma=12 ");
    EXPECT_EQ(widths(large.lines[11]), "<FILLER>=150 ");
    EXPECT_EQ(file.read(3).lines[0][0].width, 13); // the Oscar Report's shorter label
    EXPECT_EQ(file.read(5).numberOfLines, 0);

    // A second start adds nothing.
    EXPECT_EQ(prepareDefinitionsFile(dir.path().string()), 0);
    EXPECT_EQ(readFileBytes(path), bytes);

    // Every byte of the six records, checked in (REELKEEPER_UPDATE_GOLDEN=1 writes it anew after a deliberate change).
    const std::string golden = std::string(GOLDEN_FOLDER) + "/REELKP.URP";
    if (std::getenv("REELKEEPER_UPDATE_GOLDEN"))
        testing_support::writeFileBytes(golden, bytes);
    const std::string expected = readFileBytes(golden);
    ASSERT_EQ(bytes.size(), expected.size());
    for (size_t at = 0; at < bytes.size(); ++at)
        ASSERT_EQ(bytes[at], expected[at]) << "the first byte that differs: record " << at / kDefinitionSize
                                           << ", offset " << at % kDefinitionSize;
}

TEST(ReportDefinitions, EveryDefinitionReadsBackUnchanged)
{
    TempDir dir;
    DefinitionsFile file(dir.file("REELKP.URP"));
    std::vector<ReportDefinition> all = defaultDefinitions();
    all.push_back(newDefinition());
    std::mt19937 random(7);
    for (int i = 0; i < 20; ++i)
        all.push_back(randomDefinition(random));
    file.create(all);
    for (size_t n = 0; n < all.size(); ++n) {
        SCOPED_TRACE(n);
        const ReportDefinition back = file.read(static_cast<int>(n));
        EXPECT_EQ(encodeDefinition(back), encodeDefinition(all[n]));
        EXPECT_EQ(back.name, all[n].name);
        EXPECT_EQ(back.fonts[BodyFont].face, all[n].fonts[BodyFont].face);
        EXPECT_EQ(back.rightMargin, all[n].rightMargin);
    }
}

TEST(ReportDefinitions, WriteInPlaceAppendAndDelete)
{
    TempDir dir;
    ASSERT_EQ(prepareDefinitionsFile(dir.path().string()), 0);
    DefinitionsFile file(dir.file("REELKP.URP"));
    ReportDefinition mine = newDefinition();
    mine.name = "Mine";
    EXPECT_EQ(file.append(mine), 6);
    ReportDefinition ratings = file.read(1);
    ratings.titles[0] = "Every rating";
    file.write(1, ratings);
    EXPECT_EQ(file.read(1).titles[0], "Every rating");
    EXPECT_EQ(file.read(6).name, "Mine");
    file.remove(0); // later records move one place toward the front
    EXPECT_EQ(file.count(), 6);
    EXPECT_EQ(file.read(0).titles[0], "Every rating");
    file.remove(5); // the last one only shortens the file
    EXPECT_EQ(file.list().names.back(), "Statistic/Summary Report");
    EXPECT_FALSE(std::filesystem::exists(dir.file("REELKP.URP.rk-new")));
    EXPECT_THROW(file.read(9), DefinitionsError);
    EXPECT_THROW(file.remove(9), DefinitionsError);
    // An empty file lists nothing.
    writeFileBytes(dir.file("EMPTY.URP"), "");
    EXPECT_TRUE(DefinitionsFile(dir.file("EMPTY.URP")).list().names.empty());
    EXPECT_TRUE(DefinitionsFile(dir.file("MISSING.URP")).list().names.empty());
}

TEST(ReportDefinitions, DamagedFilesNameTheFileAndTheRecordAndKeepWhatCameBefore)
{
    TempDir dir;
    const std::string path = dir.file("REELKP.URP");
    DefinitionsFile file(path);
    file.create(defaultDefinitions());
    const std::string good = readFileBytes(path);
    struct Case {
        const char* what;
        size_t at;
        std::string bytes;
        const char* expected;
    };
    std::string wide(2, '\0');
    wide[0] = 100;
    const std::vector<Case> cases = {
        {"a name longer than its field", 2 * kDefinitionSize, std::string(1, '\x40'), "length of its name (64)"},
        {"13 body lines", 2 * kDefinitionSize + 343, std::string("\x0D\x00", 2), "13 body lines"},
        {"a label longer than its field", 2 * kDefinitionSize + 2122 + 34, std::string(1, '\x50'), "label text"},
        {"a line wider than any report", 2 * kDefinitionSize + 2122 + 75 * 5 + 32, std::string("\x64\x00", 2),
         "wider than the widest report's 150"},
    };
    // A width that is not 90, 120 or 150 is read as 90, as the designer reads it: no report is hidden.
    {
        std::string bytes = good;
        bytes.replace(2 * kDefinitionSize + 31, wide.size(), wide);
        writeFileBytes(path, bytes);
        EXPECT_EQ(file.list().names.size(), 6u);
        EXPECT_EQ(file.list().problem(), "");
        EXPECT_EQ(file.read(2).width, 90);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        bytes.replace(c.at, c.bytes.size(), c.bytes);
        writeFileBytes(path, bytes);
        const DefinitionsFile::Listing listing = file.list();
        EXPECT_EQ(listing.names.size(), 2u); // the records before it stay usable
        EXPECT_NE(listing.problem().find(c.expected), std::string::npos) << listing.problem();
        EXPECT_NE(listing.problem().find("REELKP.URP"), std::string::npos);
        EXPECT_NE(listing.problem().find("report 3"), std::string::npos) << listing.problem();
        EXPECT_THROW(file.read(2), DefinitionsError);
        EXPECT_EQ(file.read(1).name, "Ratings Report");
    }
    writeFileBytes(path, good + std::string(100, 'x'));
    const DefinitionsFile::Listing partial = file.list();
    EXPECT_EQ(partial.names.size(), 6u);
    EXPECT_NE(partial.problem().find("partial report 7"), std::string::npos) << partial.problem();
    EXPECT_EQ(file.append(newDefinition()), 6); // the partial record is not kept
    EXPECT_EQ(readFileBytes(path).size(), 7 * kDefinitionSize);
}

TEST(ReportDefinitions, OlderDefinitionsAreMergedAndTheOlderFileDeleted)
{
    TempDir dir;
    auto olderRecord = [](const std::string& name, int width, int lines) {
        std::string b(kOlderDefinitionSize, '\0');
        b[0] = static_cast<char>(name.size());
        std::memcpy(b.data() + 1, name.data(), name.size());
        b[31] = static_cast<char>(width);
        b[83] = 1;  // column headers
        b[85] = 1;  // use totals
        b[86] = static_cast<char>(lines);
        const std::string title = "My titles";
        b[1588] = static_cast<char>(title.size());
        std::memcpy(b.data() + 1589, title.data(), title.size());
        // Line 1: the field Year, 4 wide; the older number byte is garbage.
        const size_t item = 256 + 1500 + 75;
        b[item] = 4;
        std::memcpy(b.data() + item + 1, "Year", 4);
        b[item + 31] = 99;
        b[item + 32] = 4;
        // Totals item 1: Quantity.
        b[13 + 75] = 8;
        std::memcpy(b.data() + 13 + 75 + 1, "Quantity", 8);
        b[13 + 75 + 32] = 12;
        return b;
    };
    writeFileBytes(dir.file("VIDEO2.CFR"), olderRecord("Star Report", 120, 3) + olderRecord("By Year", 90, 1)
                                              + std::string(100, 'x'));
    EXPECT_EQ(prepareDefinitionsFile(dir.path().string()), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("VIDEO2.CFR")));
    DefinitionsFile file(dir.file("REELKP.URP"));
    ASSERT_EQ(file.count(), 7);
    const ReportDefinition byYear = file.read(6);
    EXPECT_EQ(byYear.name, "By Year");
    EXPECT_EQ(byYear.width, 90);
    EXPECT_TRUE(byYear.columnHeaders);
    EXPECT_FALSE(byYear.pageNumbers);
    EXPECT_TRUE(byYear.dateOnPages);
    EXPECT_TRUE(byYear.groupByLevel1);
    EXPECT_EQ(byYear.titles[0], "My titles");
    EXPECT_EQ(byYear.fonts[BodyFont].face, "Courier New");
    EXPECT_EQ(byYear.fonts[BodyFont].size, 10);
    EXPECT_TRUE(byYear.fonts[TitleFont].bold);
    EXPECT_EQ(byYear.lines[0][0].kind, "Year");
    EXPECT_EQ(byYear.lines[0][0].number, 11); // set from the name, not the older byte
    EXPECT_EQ(byYear.totals[0].number, 1);
}
