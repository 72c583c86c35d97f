// The designer's rules, and definitions that read back as the designer wrote them.
#include "ReportDesign.h"

#include <gtest/gtest.h>

#include <random>

using namespace report;

namespace {

int sumOf(const ReportLine& line)
{
    int sum = 0;
    for (const ReportItem& item : line)
        sum += item.width;
    return sum;
}

void expectSameItems(const ReportLine& a, const ReportLine& b)
{
    for (int i = 0; i < kItemsPerLine; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[static_cast<size_t>(i)].kind, b[static_cast<size_t>(i)].kind);
        EXPECT_EQ(a[static_cast<size_t>(i)].number, b[static_cast<size_t>(i)].number);
        EXPECT_EQ(a[static_cast<size_t>(i)].width, b[static_cast<size_t>(i)].width);
        EXPECT_EQ(a[static_cast<size_t>(i)].label, b[static_cast<size_t>(i)].label);
    }
}

void expectSameDefinition(const ReportDefinition& a, const ReportDefinition& b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.width, b.width);
    for (int f = 0; f < FontCount; ++f) {
        const FontBlock &x = a.fonts[static_cast<size_t>(f)], &y = b.fonts[static_cast<size_t>(f)];
        EXPECT_EQ(x.face, y.face);
        EXPECT_EQ(x.size, y.size);
        EXPECT_EQ(std::tie(x.bold, x.italic, x.underline, x.strikeOut, x.color),
                  std::tie(y.bold, y.italic, y.underline, y.strikeOut, y.color));
    }
    EXPECT_EQ(std::tie(a.columnHeaders, a.pageNumbers, a.landscape, a.dateOnPages, a.useTotals, a.numberOfLines),
              std::tie(b.columnHeaders, b.pageNumbers, b.landscape, b.dateOnPages, b.useTotals, b.numberOfLines));
    EXPECT_EQ(std::tie(a.topMargin, a.bottomMargin, a.leftMargin, a.rightMargin),
              std::tie(b.topMargin, b.bottomMargin, b.leftMargin, b.rightMargin));
    EXPECT_EQ(std::tie(a.verticalLines, a.horizontalLines, a.groupByLevel1, a.groupByLevel2),
              std::tie(b.verticalLines, b.horizontalLines, b.groupByLevel1, b.groupByLevel2));
    EXPECT_EQ(a.titles, b.titles);
    expectSameItems(a.totals, b.totals);
    for (int l = 0; l < kMaxBodyLines; ++l)
        expectSameItems(a.lines[static_cast<size_t>(l)], b.lines[static_cast<size_t>(l)]);
}

} // namespace

TEST(ReportDesign, LinesAreFittedToTheReportWidth)
{
    ReportLine line;
    line[0].width = 30;
    line[5].width = 7; // beyond the stop: cleared
    fitLine(line, 90);
    EXPECT_EQ(line[0].width, 30);
    EXPECT_EQ(line[1].width, 60); // the first empty item takes the rest
    for (int i = 2; i < kItemsPerLine; ++i)
        EXPECT_EQ(line[static_cast<size_t>(i)].width, 0);
    // Too wide: the item that passes the width gives up the excess.
    ReportLine wide;
    wide[0].width = 100;
    fitLine(wide, 90);
    EXPECT_EQ(wide[0].width, 90);
    // Twenty items short of the width: the last takes the shortfall.
    ReportLine narrow;
    for (ReportItem& item : narrow)
        item.width = 4;
    fitLine(narrow, 120);
    EXPECT_EQ(narrow[19].width, 44);
    EXPECT_EQ(sumOf(narrow), 120);
}

TEST(ReportDesign, AWidthSwitchFitsTheBodyLinesButNotTheTotals)
{
    ReportDefinition d = newDefinition();
    d.width = 150;
    d.numberOfLines = 2;
    d.lines[0][0].width = 100;
    d.lines[0][1].width = 50;
    d.totals[0].width = 150;
    switchWidth(d, 120);
    EXPECT_EQ(d.width, 120);
    EXPECT_EQ(d.lines[0][0].width, 100);
    EXPECT_EQ(d.lines[0][1].width, 20);
    EXPECT_EQ(sumOf(d.lines[1]), 120);
    EXPECT_EQ(d.totals[0].width, 150);
    EXPECT_EQ(d.fonts[BodyFont].size, 8);
    EXPECT_EQ(d.lines[2][0].width, 150); // lines past the number of lines are not touched
}

TEST(ReportDesign, TypedValuesAreReadOrRefused)
{
    EXPECT_EQ(readNumberOfLines(" 12 "), 12);
    EXPECT_EQ(readNumberOfLines("0"), 0);
    EXPECT_FALSE(readNumberOfLines("13"));
    EXPECT_FALSE(readNumberOfLines("-1"));
    EXPECT_FALSE(readNumberOfLines("2a"));
    EXPECT_FALSE(readNumberOfLines(""));
    EXPECT_EQ(readMargin("0.75"), 0.75);
    EXPECT_EQ(readMargin("0,75", ','), 0.75);
    EXPECT_FALSE(readMargin("abc"));
    EXPECT_FALSE(readMargin("-1"));
}

TEST(ReportDesign, PartsAndTheChecksBeforeSaving)
{
    ReportLine line;
    setPart(line, 0, 30, PartKind::Field, "", 1, false, 90);
    EXPECT_EQ(line[0].kind, "Title");
    EXPECT_EQ(line[0].number, 1);
    EXPECT_EQ(line[1].width, 60);
    setPart(line, 1, 60, PartKind::Label, "Title:", 0, false, 90);
    EXPECT_EQ(line[1].kind, kLabel);
    EXPECT_EQ(line[1].label, "Title:");
    ReportLine totals;
    setPart(totals, 0, 20, PartKind::Field, "", 2, true, 90);
    EXPECT_EQ(totals[0].kind, "List Price");
    // A cover is as tall as the lines it is given, at most all twelve; the totals line has no film.
    setPart(line, 1, 60, PartKind::Cover, "", 30, false, 90);
    EXPECT_EQ(line[1].kind, kCover);
    EXPECT_EQ(line[1].number, kMaxBodyLines);
    EXPECT_TRUE(line[1].label.empty());
    setPart(totals, 1, 20, PartKind::Cover, "", 3, true, 90);
    EXPECT_EQ(totals[1].kind, kFiller);

    ReportDefinition d = newDefinition();
    EXPECT_EQ(definitionProblem(d), "");
    d.lines[0][0].kind = "Title";
    d.lines[0][0].number = 0; // a field part without its field
    EXPECT_NE(definitionProblem(d).find("without a field"), std::string::npos);
    d.lines[0][0].kind = kCover; // a cover needs no field
    EXPECT_EQ(definitionProblem(d), "");
    d = newDefinition();
    d.leftMargin = d.rightMargin = 4.25;
    EXPECT_NE(definitionProblem(d).find("margins"), std::string::npos);
}

TEST(ReportDesign, EveryDefinitionTheDesignerSavesReadsBackUnchanged)
{
    std::vector<ReportDefinition> definitions = defaultDefinitions();
    definitions.push_back(newDefinition());
    // And one built at random, as a designer's edits could leave it.
    std::mt19937 random(42);
    ReportDefinition d = newDefinition();
    d.name = "Random \xE9 report";
    d.width = 120;
    d.numberOfLines = 3;
    d.landscape = d.groupByLevel2 = true;
    d.topMargin = 0.25;
    d.rightMargin = 1.125;
    d.titles = {"One", std::string(80, 'x'), ""};
    d.fonts[BodyFont] = {"Liberation Serif", 9, true, false, true, false, 0x123456};
    for (int l = 0; l < 3; ++l) {
        ReportLine& line = d.lines[static_cast<size_t>(l)];
        for (int i = 0; i < 6; ++i) {
            const int kind = static_cast<int>(random() % 3);
            setPart(line, i, 1 + static_cast<int>(random() % 30),
                    kind == 0 ? PartKind::Filler : kind == 1 ? PartKind::Label : PartKind::Field,
                    "Label " + std::to_string(random() % 1000), 1 + static_cast<int>(random() % 40), false, d.width);
        }
    }
    setPart(d.totals, 0, 30, PartKind::Field, "", 3, true, d.width);
    definitions.push_back(d);
    for (const ReportDefinition& definition : definitions) {
        SCOPED_TRACE(definition.name);
        const std::string bytes = encodeDefinition(definition);
        ASSERT_EQ(bytes.size(), kDefinitionSize);
        expectSameDefinition(decodeDefinition(bytes, "REELKP.URP", 0), definition);
    }
}

TEST(ReportDesign, ADamagedDefinitionIsShownRepaired)
{
    for (const ReportDefinition& d : defaultDefinitions()) {
        ReportDefinition copy = d;
        EXPECT_FALSE(repairLines(copy)) << d.name; // the defaults are whole
    }
    ReportDefinition d = newDefinition();
    d.numberOfLines = 2;
    d.lines[0][0] = {"Title", 1, 100, ""};
    d.lines[0][1] = {"Nothing", 77, 100, ""}; // a field number outside 1..40
    d.lines[1][0] = {"Title", 1, -5, ""};
    d.lines[1][1] = {"Year", 11, 20, ""};
    EXPECT_TRUE(repairLines(d));
    EXPECT_EQ(d.lines[0][0].width, 100); // wider than the report: shown as it is, fitted when edited
    EXPECT_EQ(d.lines[1][0].width, 0);   // the negative width ends the line
    EXPECT_NE(definitionProblem(d).find("Line 1 has a field part without a field"), std::string::npos);
    fitLine(d.lines[0], d.width);
    EXPECT_EQ(sumOf(d.lines[0]), 90);
}

TEST(ReportDesign, UpdateFitsLinesThatRunPastTheWidthAndLeavesTheRest)
{
    ReportDefinition d = newDefinition(); // 90 characters; item 1 of every line 150 wide
    d.numberOfLines = 2;
    d.lines[1][0] = {"Title", 1, 40, ""};
    d.lines[1][1] = {"Year", 11, 10, ""}; // 50 wide: narrower lines keep their room
    EXPECT_TRUE(fitWideLines(d));
    EXPECT_EQ(d.lines[0][0].width, 90);
    EXPECT_EQ(sumOf(d.lines[0]), 90);
    EXPECT_EQ(sumOf(d.lines[1]), 50);
    EXPECT_EQ(d.totals[0].width, 90);
    EXPECT_EQ(d.lines[2][0].width, 150); // a line not in use is not touched
    EXPECT_FALSE(fitWideLines(d));
}

TEST(ReportDesign, APartSelectsItsFieldByNameAndByNumberOnlyWhenTheNameIsNone)
{
    EXPECT_EQ(partListRow({"Year", 11, 10, ""}, false), 10);
    EXPECT_EQ(partListRow({"year", 3, 10, ""}, false), 10);   // the name holds over a wrong number
    EXPECT_EQ(partListRow({"Nonsense", 3, 10, ""}, false), 2); // a name that is no field: its number
    EXPECT_EQ(partListRow({"Nonsense", 0, 10, ""}, false), -1);
    EXPECT_EQ(partListRow({"Purchase Price", 1, 10, ""}, true), 2);
    EXPECT_EQ(partListRow({"?", 4, 10, ""}, true), -1);
}
