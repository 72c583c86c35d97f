#include "ReportStream.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

// A stream of two pages with a text record each, links filled in as a filer would.
std::vector<uint8_t> twoPages()
{
    StreamWriter w;
    FileHeader h;
    const size_t countAt = w.fileHeader(h);
    const size_t first = w.position();
    const size_t firstNext = w.pageHeader({0, 0, 1, 0});
    w.code(rcLeftText);
    w.real(1.0f);
    w.string("Hello");
    w.real(1.5f);
    w.code(rcEndPage);
    const size_t second = w.position();
    w.patchInteger(firstNext, static_cast<int32_t>(second));
    w.pageHeader({static_cast<int32_t>(first), 0, 2, 0});
    w.code(rcEndPage);
    w.patchInteger(countAt, 2);
    return w.bytes();
}

} // namespace

TEST(ReportStream, WritesTheRecordsByteForByte)
{
    StreamWriter w;
    w.code(rcCenterText);
    w.real(2.0f);
    w.string("Hi");
    w.real(-1.0f);
    w.code(rcSetFontBold);
    w.byte(1);
    w.code(rcSetBrushColor);
    w.integer(-2);
    const std::vector<uint8_t> expected = {23, 0x00, 0x00, 0x00, 0x40, 2, 'H', 'i', 0x00, 0x00, 0x80, 0xBF,
                                           55, 1, 41, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(w.bytes(), expected);
    StreamWriter longText;
    longText.string(std::string(300, 'x'));
    EXPECT_EQ(longText.bytes().size(), 256u);
    EXPECT_EQ(longText.bytes()[0], 255);
}

TEST(ReportStream, HeadersRoundTripAndPagesFollowTheirLinks)
{
    const std::vector<uint8_t> stream = twoPages();
    StreamReader r(stream);
    const FileHeader h = r.fileHeader();
    EXPECT_EQ(h.pageCount, 2);
    EXPECT_EQ(h.lastPage, 9999);
    EXPECT_FLOAT_EQ(h.paperHeight, 11.0f);
    const std::vector<size_t> pages = pagePositions(stream);
    ASSERT_EQ(pages.size(), 2u);
    r.seek(pages[1]);
    const PageHeader second = r.pageHeader();
    EXPECT_EQ(second.pageNumber, 2);
    EXPECT_EQ(static_cast<size_t>(second.previous), pages[0]);
    EXPECT_EQ(second.next, 0);
    r.seek(pages[0]);
    r.pageHeader();
    EXPECT_EQ(r.byte(), rcLeftText);
    EXPECT_FLOAT_EQ(r.real(), 1.0f);
    EXPECT_EQ(r.string(), "Hello");
}

TEST(ReportStream, AJobWithNoPageInRangeHasOnlyItsHeader)
{
    StreamWriter w;
    w.fileHeader({});
    EXPECT_TRUE(pagePositions(w.bytes()).empty());
}

TEST(ReportStream, DamagedStreamsAreTheEnginesErrorNeverACrash)
{
    const std::vector<uint8_t> good = twoPages();
    auto fails = [](const std::vector<uint8_t>& bytes) {
        try {
            pagePositions(bytes);
        } catch (const EReportError& e) {
            return std::string(e.what()) == kUnexpectedCode;
        }
        return false;
    };
    EXPECT_TRUE(fails({}));
    EXPECT_TRUE(fails({rcNewPage}));                                          // no file header
    EXPECT_TRUE(fails(std::vector<uint8_t>(good.begin(), good.begin() + 30))); // cut short
    std::vector<uint8_t> outside = good;
    const std::vector<size_t> pages = pagePositions(good);
    StreamWriter patch;
    patch.bytes() = outside;
    patch.patchInteger(pages[0] + 5, 1 << 30); // next link far past the end
    EXPECT_TRUE(fails(patch.bytes()));
    patch.patchInteger(pages[0] + 5, static_cast<int32_t>(pages[0])); // a link to itself
    EXPECT_TRUE(fails(patch.bytes()));

    // Records: a string longer than what is left, a negative polygon count, an unknown code.
    StreamWriter records;
    records.byte(10);
    records.byte('a');
    StreamReader stringPastEnd(records.bytes());
    EXPECT_THROW(stringPastEnd.string(), EReportError);
    StreamWriter polygon;
    polygon.integer(-3);
    StreamReader negative(polygon.bytes());
    EXPECT_THROW(negative.skipRecord(rcPolygon), EReportError);
    StreamWriter huge;
    huge.integer(1 << 30);
    StreamReader tooMany(huge.bytes());
    EXPECT_THROW(tooMany.skipRecord(rcPolyline), EReportError);
    StreamReader unknown(records.bytes());
    EXPECT_THROW(unknown.skipRecord(99), EReportError);
}
