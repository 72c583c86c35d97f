#pragma once

// The report file: a recorded print job as a byte stream of coded records.
//
//   record   one code byte, then its arguments, little-endian:
//            byte (1), int (4, signed), real (4, IEEE single), string (length
//            byte + UTF-8 text; 255 as the length byte is followed by an int
//            with the length of a longer text, at most kLongestString), point
//            (real x, real y in inches).
//   layout   file header (81), then for each recorded page: page header (80)
//            with links to the previous and next page headers, the page's
//            drawing state and records, and the page end (82).
//
// The reader never trusts the stream: every read is bounded by its size, a
// link must point inside the stream and away from the page it leaves, and a
// code outside the table is the engine's "Unexpected code found in report file."

#include "ReportBytes.h"

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Every failure of the report engine.
class EReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kUnexpectedCode = "Unexpected code found in report file.";
inline constexpr size_t kLongestString = size_t{64} << 10;

enum ReportCode : uint8_t {
    rcArc = 1, rcBrushCopy = 2, rcChord = 3, rcCopyRect = 4, rcDraw = 5, rcDrawFocusRect = 6, rcEllipse = 7,
    rcFillRect = 8, rcFloodFill = 9, rcFrameRect = 10, rcLineTo = 11, rcMoveTo = 12, rcPie = 13, rcPolygon = 14,
    rcPolyline = 15, rcPrintBitmap = 16, rcPrintBitmapRect = 17, rcRectangle = 18, rcTabRectangle = 19,
    rcRoundRect = 20, rcStretchDraw = 21, rcTextRect = 22, rcCenterText = 23, rcLeftText = 24, rcRightText = 25,
    rcSetTextBKMode = 26, rcSetBKColor = 27, rcSetScaleX = 28, rcSetScaleY = 29, rcPrintData = 30,
    rcSetBrush = 40, rcSetBrushColor = 41, rcSetBrushStyle = 42, rcSetBrushBitmap = 43,
    rcSetFont = 50, rcSetFontName = 51, rcSetFontColor = 52, rcSetFontPitch = 53, rcSetFontHeight = 54,
    rcSetFontBold = 55, rcSetFontUnderline = 56, rcSetFontItalic = 57, rcSetFontStrikeout = 58,
    rcSetPen = 70, rcSetPenColor = 71, rcSetPenMode = 72, rcSetPenStyle = 73, rcSetPenWidth = 74,
    rcNewPage = 80, rcReportHeader = 81, rcEndPage = 82,
};

struct FileHeader {
    int32_t pageCount = 0;
    int32_t firstPage = 1;
    int32_t lastPage = std::numeric_limits<int32_t>::max(); // no range chosen
    float paperWidth = 8.5f;
    float paperHeight = 11.0f;
    float stripLeft = 0, stripRight = 0, stripTop = 0, stripBottom = 0;
    uint8_t orientation = 0;
    int32_t copies = 1;
    int32_t paperSize = 0;
    int32_t paperWidthTenthsMm = 0;
    int32_t paperLengthTenthsMm = 0;
    std::string printer;
};

struct PageHeader {
    int32_t previous = 0; // stream position of the previous page header's code byte, 0 for none
    int32_t next = 0;     // of the next one, 0 on the last page
    int32_t pageNumber = 0;
    uint8_t orientation = 0;
};

// Appends records to a byte stream.
class StreamWriter {
public:
    ReportBytes& bytes() { return m_bytes; }
    // Hands the recording over, leaving the writer empty.
    ReportBytes take() { return std::move(m_bytes); }
    size_t position() const { return m_bytes.size(); }

    void code(ReportCode c) { byte(c); }
    void byte(uint8_t v) { m_bytes.push_back(v); }
    void integer(int32_t v);
    void real(float v);
    void string(std::string_view text); // UTF-8, cut where a character ends past kLongestString bytes
    void point(float x, float y)
    {
        real(x);
        real(y);
    }
    // Overwrites an int written earlier (the header's page count, a page link).
    void patchInteger(size_t at, int32_t v);

    // The file header; returns where its page count lies, to patch at the end.
    size_t fileHeader(const FileHeader& header);
    // A page header; returns where its next-page link lies.
    size_t pageHeader(const PageHeader& header);

private:
    ReportBytes m_bytes;
};

// Reads records from a byte stream, bounded by its size.
class StreamReader {
public:
    explicit StreamReader(const ReportBytes& bytes)
        : m_bytes(bytes)
    {
    }
    size_t position() const { return m_at; }
    void seek(size_t at);
    bool atEnd() const { return m_at >= m_bytes.size(); }
    size_t remaining() const { return m_at < m_bytes.size() ? m_bytes.size() - m_at : 0; }

    uint8_t byte();
    int32_t integer();
    float real();
    std::string string();
    std::vector<uint8_t> bytes(size_t n);

    FileHeader fileHeader(); // expects code 81
    PageHeader pageHeader(); // expects code 80 at the current position

    // Skips the arguments of a drawing or state record whose code was read.
    void skipRecord(uint8_t code);

private:
    [[noreturn]] void unexpected() const { throw EReportError(kUnexpectedCode); }
    void need(size_t n) const
    {
        if (m_bytes.size() - m_at < n || m_at > m_bytes.size())
            unexpected();
    }

    const ReportBytes& m_bytes;
    size_t m_at = 0;
};

// The stream positions of the page headers, found by following the links
// from the first page after the file header. A link that leaves the stream,
// points back or loops ends the walk with kUnexpectedCode.
std::vector<size_t> pagePositions(const ReportBytes& stream);

} // namespace engine
