#include "ReportStream.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

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
    return w.bytes().toVector();
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
    EXPECT_EQ(w.bytes().toVector(), expected);
    // A text of 255 bytes or more: 255, its length as an int, its UTF-8 bytes; read back whole.
    StreamWriter longText;
    std::string text(300, 'x');
    for (int i = 0; i < 100; ++i)
        text += "\xE5\x8D\x83"; // 千, three bytes each
    longText.string(text);
    ASSERT_EQ(longText.bytes().size(), 1u + 4u + 600u);
    EXPECT_EQ(longText.bytes().toVector()[0], 255);
    StreamReader r(longText.bytes());
    EXPECT_EQ(r.string(), text);
    // Past the longest a text may be it is cut where a character ends.
    StreamWriter longest;
    longest.string("x" + std::string(kLongestString, '\xC3') );
    EXPECT_LE(longest.bytes().size(), 5u + kLongestString);
}

TEST(ReportStream, HeadersRoundTripAndPagesFollowTheirLinks)
{
    const ReportBytes stream(twoPages());
    StreamReader r(stream);
    const FileHeader h = r.fileHeader();
    EXPECT_EQ(h.pageCount, 2);
    EXPECT_EQ(h.lastPage, std::numeric_limits<int32_t>::max());
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
            pagePositions(ReportBytes(bytes));
        } catch (const EReportError& e) {
            return std::string(e.what()) == kUnexpectedCode;
        }
        return false;
    };
    EXPECT_TRUE(fails({}));
    EXPECT_TRUE(fails({rcNewPage}));                                          // no file header
    EXPECT_TRUE(fails(std::vector<uint8_t>(good.begin(), good.begin() + 30))); // cut short
    std::vector<uint8_t> outside = good;
    const std::vector<size_t> pages = pagePositions(ReportBytes(good));
    StreamWriter patch;
    patch.bytes() = ReportBytes(outside);
    patch.patchInteger(pages[0] + 5, 1 << 30); // next link far past the end
    EXPECT_TRUE(fails(patch.bytes().toVector()));
    patch.patchInteger(pages[0] + 5, static_cast<int32_t>(pages[0])); // a link to itself
    EXPECT_TRUE(fails(patch.bytes().toVector()));

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

TEST(ReportStream, BytesInATemporaryFileReadAndPatchLikeBytesInMemory)
{
    // A model vector beside bytes that move to a file after 100 bytes; appends,
    // patches and reads at random, across the file's end and the memory tail.
    std::mt19937 random(7);
    ReportBytes bytes;
    bytes.setMemoryLimit(100);
    std::vector<uint8_t> model;
    for (int step = 0; step < 3000; ++step) {
        const int action = static_cast<int>(random() % 4);
        if (action < 2 || model.size() < 8) {
            std::vector<uint8_t> data(random() % 300);
            for (uint8_t& b : data)
                b = static_cast<uint8_t>(random());
            bytes.append(data.data(), data.size());
            model.insert(model.end(), data.begin(), data.end());
        } else if (action == 2) {
            const size_t at = random() % (model.size() - 4);
            const uint8_t data[4] = {1, 2, 3, static_cast<uint8_t>(step)};
            bytes.patch(at, data, 4);
            std::copy(data, data + 4, model.begin() + static_cast<long>(at));
        } else {
            const size_t n = std::min<size_t>(random() % 64, model.size());
            const size_t at = random() % (model.size() - n + 1);
            const uint8_t* span = bytes.span(at, n);
            ASSERT_TRUE(std::equal(span, span + n, model.begin() + static_cast<long>(at))) << "step " << step;
        }
    }
    EXPECT_TRUE(bytes.spilled());
    EXPECT_EQ(bytes.size(), model.size());
    EXPECT_EQ(bytes.toVector(), model);
    EXPECT_THROW(bytes.patch(model.size() - 2, model.data(), 4), EReportError);

    ReportBytes moved = std::move(bytes);
    EXPECT_EQ(moved.toVector(), model);
    EXPECT_TRUE(bytes.empty());
}
