// The page model through its report file: what a job records is what the
// engine decided, so the stream shows cursor, lines, tab cells and pages.
#include "ReportStream.h"
#include "ScriptedPrompter.h"
#include "TReportFiler.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace engine;

namespace {

struct Record {
    uint8_t code;
    size_t at; // position of the code byte
};

// Every record of one recorded page (page state included), in order.
std::vector<Record> recordsOfPage(const ReportBytes& stream, size_t pageAt)
{
    StreamReader reader(stream);
    reader.seek(pageAt);
    reader.pageHeader();
    std::vector<Record> records;
    while (true) {
        const size_t at = reader.position();
        const uint8_t code = reader.byte();
        if (code == rcEndPage)
            return records;
        records.push_back({code, at});
        reader.skipRecord(code);
    }
}

std::vector<uint8_t> codesOf(const std::vector<Record>& records)
{
    std::vector<uint8_t> codes;
    for (const Record& r : records)
        codes.push_back(r.code);
    return codes;
}

struct TextRecord {
    uint8_t code;
    float y;
    std::string text;
    float x;
};

std::vector<TextRecord> textsOfPage(const ReportBytes& stream, size_t pageAt)
{
    std::vector<TextRecord> texts;
    for (const Record& r : recordsOfPage(stream, pageAt)) {
        if (r.code < rcCenterText || r.code > rcRightText)
            continue;
        StreamReader reader(stream);
        reader.seek(r.at + 1);
        TextRecord t{r.code, 0, {}, 0};
        t.y = reader.real();
        t.text = reader.string();
        t.x = reader.real();
        texts.push_back(t);
    }
    return texts;
}

// Records one page of report code on the 96-dpi screen reference.
ReportBytes recordPage(const std::function<void(TBaseReport&)>& page, TReportFiler* filer = nullptr)
{
    TReportFiler own;
    TReportFiler& job = filer ? *filer : own;
    ReportBytes stream;
    job.StreamMode = smUser;
    job.setStream(&stream);
    job.OnPrint = page;
    job.RunJob();
    return stream;
}

size_t firstPageAt(const ReportBytes& stream) { return pagePositions(stream).at(0); }

} // namespace

TEST(ReportEngine, UnitsAndTheirFactors)
{
    TReportFiler job;
    EXPECT_EQ(job.Units(), unInch);
    job.setUnits(unMM);
    EXPECT_DOUBLE_EQ(job.UnitsFactor(), 25.4);
    job.setUnitsFactor(2.54);
    EXPECT_EQ(job.Units(), unCM);
    job.setUnitsFactor(10);
    EXPECT_EQ(job.Units(), unUser);
    job.setUnitsFactor(0);
    job.setUnitsFactor(-3);
    EXPECT_DOUBLE_EQ(job.UnitsFactor(), 10);
    job.setUnits(unUser);
    EXPECT_DOUBLE_EQ(job.UnitsFactor(), 10);

    // Lengths come in and go out in the caller's units.
    job.setUnits(unMM);
    job.setMarginLeft(25.4);
    EXPECT_DOUBLE_EQ(job.AreaLeft(), 25.4);
    job.setUnits(unInch);
    EXPECT_DOUBLE_EQ(job.AreaLeft(), 1.0);
    EXPECT_DOUBLE_EQ(job.MarginLeft(), 25.4); // the getter returns what was set
    EXPECT_DOUBLE_EQ(job.PaperWidth(), 8.5);
    EXPECT_EQ(job.Version(), QStringLiteral("1.0"));
}

TEST(ReportEngine, DeviceDotsRoundHalfToEven)
{
    struct Probe : TReportFiler {
        using TBaseReport::xDots;
        using TBaseReport::yDots;
    } job; // no printer: 96 dots per inch
    EXPECT_EQ(job.xDots(1.0 / 64), 2); // 1.5 dots
    EXPECT_EQ(job.xDots(3.0 / 64), 4); // 4.5 dots
    EXPECT_EQ(job.yDots(5.0 / 64), 8); // 7.5 dots
    EXPECT_EQ(job.xDots(1.0), 96);
}

TEST(ReportEngine, PropertiesKeepTheirLimits)
{
    TReportFiler job;
    job.setTabShade(150);
    EXPECT_EQ(job.TabShade(), 100);
    job.setTabShade(-5);
    EXPECT_EQ(job.TabShade(), 0);
    job.setLinesPerInch(0);
    EXPECT_EQ(job.LinesPerInch(), 6);
    job.setLinesPerInch(8);
    EXPECT_EQ(job.LinesPerInch(), 8);
    EXPECT_EQ(job.Title(), QStringLiteral("Report Engine Report"));
    EXPECT_EQ(job.StatusFormat(), QStringLiteral("Printing page %p"));
    EXPECT_EQ(job.FirstPage(), 1);
    EXPECT_EQ(job.LastPage(), TBaseReport::kNoLastPage); // every page, unless a range is chosen
}

TEST(ReportEngine, OutputOutsideAJobIsRefusedAndAJobCannotStartTwice)
{
    TReportFiler job;
    try {
        job.WriteText("x");
        FAIL();
    } catch (const EReportError& e) {
        EXPECT_STREQ(e.what(), "Invalid method call.  Report engine is not printing.");
    }
    EXPECT_THROW(job.MeasureText("x"), EReportError);
    EXPECT_THROW(job.SelectFont("Arial", 10), EReportError);
    EXPECT_THROW(job.SetFontBold(true), EReportError);

    std::string inner;
    recordPage(
        [&](TBaseReport& r) {
            try {
                r.RunJob();
            } catch (const EReportError& e) {
                inner = e.what();
            }
            EXPECT_THROW(r.setCopies(2), EReportError);
            EXPECT_THROW(r.setOrientation(poLandScape), EReportError);
        },
        &job);
    EXPECT_EQ(inner, "Invalid method call.  Report engine already printing.");
    EXPECT_FALSE(job.Printing());
}

TEST(ReportEngine, LinesRemainingCountsWholeLinesAboveTheBottom)
{
    std::vector<int> remaining;
    recordPage([&](TBaseReport& r) {
        r.setMarginTop(1);
        r.setMarginBottom(1); // area bottom 10 inches
        const double descent = r.FontDescent();
        EXPECT_GT(descent, 0);
        r.MoveCursor(1, 10 - descent); // baseline plus descent exactly on the bottom: this line still fits
        remaining.push_back(r.LinesRemaining());
        r.MoveCursor(1, 10 - descent + 0.001); // just below it: nothing fits
        remaining.push_back(r.LinesRemaining());
        r.MoveCursor(1, 10 - descent - 1.0 / 6); // one line above it: two lines
        remaining.push_back(r.LinesRemaining());
        r.ReturnHome(); // line 1 at the top of a 9-inch area of 1/6-inch lines
        remaining.push_back(r.LinesRemaining());
    });
    EXPECT_EQ(remaining, (std::vector<int>{1, 0, 2, 54}));
}

TEST(ReportEngine, LineHeightFollowsTheFontOrTheLinesPerInch)
{
    std::vector<double> heights;
    recordPage([&](TBaseReport& r) {
        heights.push_back(r.LineHeight()); // 6 lines per inch
        r.setLineHeightMethod(lhmFont);
        r.SelectFont("Arial", 12);
        r.EndTextLine();
        heights.push_back(r.LineHeight()); // 1.2 times 12 points
        r.SelectFont("Courier New", 0); // no change at all
        EXPECT_EQ(r.Font().name, QStringLiteral("Arial"));
        r.EndTextLine();
        heights.push_back(r.LineHeight());
    });
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_DOUBLE_EQ(heights[0], 1.0 / 6);
    EXPECT_DOUBLE_EQ(heights[1], 0.2);
    EXPECT_DOUBLE_EQ(heights[2], 0.2);
}

TEST(ReportEngine, EndTextLineStepsOneLineFromTheLeftEdge)
{
    const auto stream = recordPage([](TBaseReport& r) {
        r.setMarginLeft(1);
        r.setMarginTop(1);
        r.ReturnHome();
        r.WriteTextLine("one");
        EXPECT_EQ(r.LineNumber(), 2);
        EXPECT_DOUBLE_EQ(r.XPos(), 1.0);
        r.WriteText("two");
    });
    const auto texts = textsOfPage(stream, firstPageAt(stream));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].code, rcLeftText);
    EXPECT_FLOAT_EQ(texts[0].x, 1.0f);
    EXPECT_NEAR(texts[1].y - texts[0].y, 1.0 / 6, 1e-6);
}

TEST(ReportEngine, WritersMoveTheCursorAfterTheirText)
{
    recordPage([](TBaseReport& r) {
        const double width = r.MeasureText("Reelkeeper");
        EXPECT_GT(width, 0.5);
        r.MoveCursor(1, 2);
        r.WriteText("Reelkeeper");
        EXPECT_NEAR(r.XPos(), 1 + width, 1e-9);
        r.WriteCenteredAt("Reelkeeper", 4);
        // Half the width rounded up in dots of the 96-dpi reference.
        EXPECT_NEAR(r.XPos(), 4 + std::ceil(width * 96 / 2) / 96, 1e-9);
    });
}

TEST(ReportEngine, TabCellsPlaceTextByTheirAlignmentAndMargin)
{
    const auto stream = recordPage([](TBaseReport& r) {
        r.AddTabStop(1.0, taLeft, 2.0, 10, 0, 0);   // left at 1.10
        r.AddTabStop(-1, taRight, 2.0, 10, 0, 0);   // right at 4.90
        r.AddTabStop(-1, taCenter, 2.0, 0, 0, 0);   // centered on 6.00
        r.WriteText("\ta\tb\tc\td");                // a fourth TAB finds no stop: "d" follows "c"
    });
    const auto texts = textsOfPage(stream, firstPageAt(stream));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].code, rcLeftText);
    EXPECT_FLOAT_EQ(texts[0].x, 1.1f);
    EXPECT_EQ(texts[1].code, rcRightText);
    EXPECT_FLOAT_EQ(texts[1].x, 4.9f);
    EXPECT_EQ(texts[2].code, rcCenterText);
    EXPECT_FLOAT_EQ(texts[2].x, 6.0f);
    EXPECT_EQ(texts[3].code, rcLeftText);
    EXPECT_GT(texts[3].x, 6.0f);
}

TEST(ReportEngine, ANegativeFirstStopStartsAtTheLeftMarginNotTheAreaEdge)
{
    recordPage([](TBaseReport& r) {
        r.setMarginLeft(0.5);
        r.setAreaLeft(2.0);
        r.AddTabStop(-1, taLeft, 1.0, 0, 0, 0);
        r.AddTabStop(-1, taLeft, 1.5, 0, 0, 0);
        ASSERT_EQ(r.TabStops().size(), 2u);
        EXPECT_DOUBLE_EQ(r.TabStops()[0].position, 0.5);
        EXPECT_DOUBLE_EQ(r.TabStops()[1].position, 1.5);
        EXPECT_NEAR(r.TabStopInnerWidth(2), 1.5, 1e-12);
        EXPECT_EQ(r.TabStopInnerWidth(3), 0);
    });
}

TEST(ReportEngine, AZeroWidthStopWritesLeftAtItsPositionWithoutBoxOrShade)
{
    const auto stream = recordPage([](TBaseReport& r) {
        r.setTabShade(30);
        r.AddTabStop(2.0, taRight, 0, 10, tlLeft | tlRight | tlTop | tlBottom, 50);
        r.WriteText("\tx");
    });
    const auto records = recordsOfPage(stream, firstPageAt(stream));
    for (const Record& r : records) {
        EXPECT_NE(r.code, rcTabRectangle);
        EXPECT_NE(r.code, rcLineTo);
    }
    const auto texts = textsOfPage(stream, firstPageAt(stream));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].code, rcLeftText);
    EXPECT_FLOAT_EQ(texts[0].x, 2.0f);
}

TEST(ReportEngine, ACellWithoutItsOwnShadeTakesTheDefaultShadeAndDrawsItsLines)
{
    const auto stream = recordPage([](TBaseReport& r) {
        r.setTabShade(20);
        r.AddTabStop(1.0, taLeft, 2.0, 0, tlLeft | tlBottom, 0);
        r.WriteText("\tx");
    });
    const auto records = recordsOfPage(stream, firstPageAt(stream));
    const auto codes = codesOf(records);
    // After the page state: gray brush, clear pen, the cell, brush and pen back, two lines, the text.
    ASSERT_GE(codes.size(), 12u);
    const std::vector<uint8_t> cell(codes.end() - 12, codes.end() - 1);
    EXPECT_EQ(cell, (std::vector<uint8_t>{rcSetBrushColor, rcSetBrushStyle, rcSetPenStyle, rcTabRectangle,
                                          rcSetBrushColor, rcSetBrushStyle, rcSetPenStyle, rcMoveTo, rcLineTo,
                                          rcMoveTo, rcLineTo}));
    StreamReader reader(stream);
    reader.seek(records[records.size() - 12].at + 1);
    EXPECT_EQ(reader.integer(), 0xCCCCCC); // 255 - 20 * 255 div 100 = 204
    EXPECT_EQ(textsOfPage(stream, firstPageAt(stream)).size(), 1u);
}

// Neighbouring boxed cells share their sides: the side a cell shares with the cell
// before it and the top it shares with the row above are drawn once; a shaded cell,
// which paints over its neighbours' lines, draws all of its own again.
TEST(ReportEngine, BoxedCellsDrawTheLinesTheyShareOnce)
{
    const auto linesOfTwoRows = [](int shade) {
        const auto stream = recordPage([shade](TBaseReport& r) {
            for (int k = 0; k < 3; ++k)
                r.AddTabStop(-1, taLeft, 1.0, 0, tlLeft | tlRight | tlTop | tlBottom, k == 1 ? shade : 0);
            r.WriteText("\ta\tb\tc");
            r.EndTextLine();
            r.WriteText("\ta\tb\tc");
            r.EndTextLine();
        });
        const auto codes = codesOf(recordsOfPage(stream, firstPageAt(stream)));
        return std::count(codes.begin(), codes.end(), rcLineTo);
    };
    EXPECT_EQ(linesOfTwoRows(0), (1 + 3 + 3 + 3) + (1 + 3 + 0 + 3));
    EXPECT_EQ(linesOfTwoRows(30), (2 + 3 + 3 + 3) + (2 + 3 + 1 + 3)) << "the shaded middle cell draws its left side and top";
}

TEST(ReportEngine, OnlyPagesInTheRangeAreRecordedButEveryPageRuns)
{
    TReportFiler job;
    job.setFirstPage(3);
    job.setLastPage(3);
    std::vector<int> newPages;
    job.OnNewPage = [&](TBaseReport& r) { newPages.push_back(r.PageNumber()); };
    job.OnPrintPage = [](TBaseReport& r, int& page) {
        r.WriteText(QStringLiteral("page %1").arg(page));
        return page < 5;
    };
    ReportBytes stream;
    job.StreamMode = smUser;
    job.setStream(&stream);
    job.RunJob();
    EXPECT_EQ(newPages, (std::vector<int>{1, 2, 3, 4, 5}));
    StreamReader reader(stream);
    const FileHeader header = reader.fileHeader();
    EXPECT_EQ(header.pageCount, 1);
    EXPECT_EQ(header.firstPage, 3);
    const auto pages = pagePositions(stream);
    ASSERT_EQ(pages.size(), 1u);
    reader.seek(pages[0]);
    const PageHeader page = reader.pageHeader();
    EXPECT_EQ(page.pageNumber, 3);
    EXPECT_EQ(page.next, 0); // the pages after it were discarded: no link to follow
    EXPECT_EQ(textsOfPage(stream, pages[0]).at(0).text, "page 3");

    job.setFirstPage(7);
    job.setLastPage(9);
    job.RunJob();
    StreamReader none(stream);
    EXPECT_EQ(none.fileHeader().pageCount, 0);
    EXPECT_EQ(none.remaining(), 0u);
}

TEST(ReportEngine, AJobOfMoreThanNineThousandNineHundredAndNinetyNinePagesKeepsEveryPage)
{
    TReportFiler job;
    constexpr int kPages = 10050;
    job.OnPrintPage = [](TBaseReport& r, int& page) {
        r.WriteText(QStringLiteral("page %1").arg(page));
        return page < kPages;
    };
    ReportBytes stream;
    job.StreamMode = smUser;
    job.setStream(&stream);
    job.RunJob();
    StreamReader reader(stream);
    EXPECT_EQ(reader.fileHeader().pageCount, kPages);
    const auto pages = pagePositions(stream);
    ASSERT_EQ(pages.size(), static_cast<size_t>(kPages));
    EXPECT_EQ(textsOfPage(stream, pages.back()).at(0).text, "page 10050");
}

TEST(ReportEngine, UnchangedFontAttributesWriteNothingAndThePageHeaderWritesThemAll)
{
    TReportFiler job;
    job.OnPrintPage = [](TBaseReport& r, int& page) {
        r.SelectFont("Arial", 10);
        r.SetFontBold(true);
        r.SetFontBold(true);
        r.WriteText("a");
        r.SetFontItalic(false);
        r.WriteText("b");
        return page < 2;
    };
    ReportBytes stream;
    job.StreamMode = smUser;
    job.setStream(&stream);
    job.RunJob();
    const auto pages = pagePositions(stream);
    ASSERT_EQ(pages.size(), 2u);
    const std::vector<uint8_t> pageState{rcSetBrushColor, rcSetBrushStyle, rcSetBrushBitmap, rcSetFontName,
                                         rcSetFontColor, rcSetFontPitch, rcSetFontHeight, rcSetFontBold,
                                         rcSetFontUnderline, rcSetFontItalic, rcSetFontStrikeout, rcSetPenColor,
                                         rcSetPenMode, rcSetPenStyle, rcSetPenWidth, rcSetScaleX, rcSetScaleY,
                                         rcSetTextBKMode, rcSetBKColor};
    auto first = codesOf(recordsOfPage(stream, pages[0]));
    std::vector<uint8_t> expected = pageState;
    expected.insert(expected.end(), {rcSetFontBold, rcLeftText, rcLeftText});
    EXPECT_EQ(first, expected);
    // Page 2 starts bold: its header says so, and SelectFont's plain style is one record.
    auto second = codesOf(recordsOfPage(stream, pages[1]));
    expected = pageState;
    expected.insert(expected.end(), {rcSetFontBold, rcSetFontBold, rcLeftText, rcLeftText});
    EXPECT_EQ(second, expected);
}

TEST(ReportEngine, PositioningAccuracyWritesOneRecordPerCharacter)
{
    TReportFiler job;
    job.AccuracyMethod = amPositioning;
    const auto stream = recordPage(
        [](TBaseReport& r) {
            r.MoveCursor(3, 1);
            r.WriteText("abc");
        },
        &job);
    const auto texts = textsOfPage(stream, firstPageAt(stream));
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "a");
    EXPECT_FLOAT_EQ(texts[0].x, 3.0f);
    EXPECT_LT(texts[0].x, texts[1].x);
    EXPECT_LT(texts[1].x, texts[2].x);
    for (const TextRecord& t : texts)
        EXPECT_EQ(t.code, rcLeftText);
}

TEST(ReportEngine, StatusTextExpandsItsEscapesAndCancelEndsTheJobAfterThePage)
{
    TReportFiler job;
    QStringList captions;
    job.setStatusFormat("%p of %F-%L: %0%1 on %d 100%");
    job.setLastPage(9999);
    job.StatusText() << "Videos";
    job.setStatusLabel([&](const QString& caption) { captions << caption; });
    int pagesRun = 0;
    job.OnPrintPage = [&](TBaseReport& r, int& page) {
        ++pagesRun;
        if (page == 2)
            r.CancelJob();
        return true;
    };
    ReportBytes stream;
    job.StreamMode = smUser;
    job.setStream(&stream);
    job.RunJob();
    EXPECT_EQ(pagesRun, 2);
    EXPECT_TRUE(job.Cancelled());
    ASSERT_FALSE(captions.isEmpty());
    EXPECT_EQ(captions[0], QStringLiteral("1 of 1-9999: Videos on Preview Only 100%"));
    // The cancelled page is still closed: the stream reads to its end.
    StreamReader reader(stream);
    EXPECT_EQ(reader.fileHeader().pageCount, 2);
    EXPECT_EQ(pagePositions(stream).size(), 2u);
}

TEST(ReportEngine, TheAreaBottomLineTakesTextAcrossTheArea)
{
    const auto stream = recordPage([](TBaseReport& r) {
        r.setMarginLeft(1);
        r.setMarginRight(1);
        r.setMarginBottom(1);
        r.WriteInArea("right", taRight);
        r.WriteInArea("middle", taCenter);
    });
    const auto texts = textsOfPage(stream, firstPageAt(stream));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].code, rcRightText);
    EXPECT_FLOAT_EQ(texts[0].x, 7.5f);
    EXPECT_FLOAT_EQ(texts[1].x, 4.25f);
    EXPECT_LT(texts[0].y, 10.0f);
    EXPECT_GT(texts[0].y, 9.9f);
}

TEST(ReportEngine, AStreamThatCannotBeCreatedIsReportedByName)
{
    testing_support::ScriptedPrompter prompter;
    TReportFiler job;
    job.setErrorHandler(testing_support::showTo(prompter));
    job.StreamMode = smFile;
    job.FileName = "/nonexistent-folder/report.rpt";
    bool printed = false;
    job.OnPrint = [&](TBaseReport&) { printed = true; };
    job.RunJob();
    EXPECT_FALSE(printed);
    EXPECT_EQ(prompter.messageTexts(), QStringList{"Error initializing stream \"/nonexistent-folder/report.rpt\""});
}

TEST(ReportEngine, ASmallJobRecordsByteForByte)
{
    const auto stream = recordPage([](TBaseReport& r) {
        r.MoveCursor(1, 1);
        r.WriteText("Hi");
        r.SetFontBold(true);
    });
    const std::vector<uint8_t> bytes = stream.toVector();
    QByteArray hex = QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())).toHex(' ');
    const QByteArray expected =
        // file header: 1 page of 1..no last page, 8.5 x 11 inches, no strips, portrait, 1 copy, no paper data, no printer
        "51 01 00 00 00 01 00 00 00 ff ff ff 7f 00 00 08 41 00 00 30 41 "
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        // page header: no previous, no next, page 1, portrait
        "50 00 00 00 00 00 00 00 00 01 00 00 00 00 "
        // brush black, clear, no bitmap
        "29 00 00 00 00 2a 01 2b 00 "
        // font Arial, black, default pitch, 13 dots of 96 high, plain
        "33 05 41 72 69 61 6c 34 00 00 00 00 35 00 36 ab aa 0a 3e 37 00 38 00 39 00 3a 00 "
        // pen black, copy, solid, one dot of 96 wide
        "47 00 00 00 00 48 04 49 00 4a ab aa 2a 3c "
        // scale 100 %, 100 %, transparent text on white
        "1c 00 00 c8 42 1d 00 00 c8 42 1a 00 1b ff ff ff 00 "
        // "Hi" from (1, 1), then bold
        "18 00 00 80 3f 02 48 69 00 00 80 3f 37 01 "
        // page end
        "52";
    EXPECT_EQ(hex.toStdString(), expected.toStdString());
}
