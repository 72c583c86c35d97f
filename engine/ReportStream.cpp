#include "ReportStream.h"

#include "TextEncoding.h"

#include <cstring>
#include <set>

namespace engine {

void StreamWriter::integer(int32_t v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                              static_cast<uint8_t>(u >> 24)};
    m_bytes.append(bytes, 4);
}

void StreamWriter::real(float v)
{
    int32_t bits;
    std::memcpy(&bits, &v, 4);
    integer(bits);
}

void StreamWriter::string(std::string_view text)
{
    // A text of 255 bytes or more (UTF-8 takes up to four a character) has its length in an int after the 255.
    const size_t n = db::utf8FittingLength(text, kLongestString);
    if (n < 255) {
        m_bytes.push_back(static_cast<uint8_t>(n));
    } else {
        m_bytes.push_back(255);
        integer(static_cast<int32_t>(n));
    }
    m_bytes.append(reinterpret_cast<const uint8_t*>(text.data()), n);
}

void StreamWriter::patchInteger(size_t at, int32_t v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                              static_cast<uint8_t>(u >> 24)};
    m_bytes.patch(at, bytes, 4);
}

size_t StreamWriter::fileHeader(const FileHeader& h)
{
    code(rcReportHeader);
    const size_t countAt = position();
    integer(h.pageCount);
    integer(h.firstPage);
    integer(h.lastPage);
    real(h.paperWidth);
    real(h.paperHeight);
    real(h.stripLeft);
    real(h.stripRight);
    real(h.stripTop);
    real(h.stripBottom);
    byte(h.orientation);
    integer(h.copies);
    integer(h.paperSize);
    integer(h.paperWidthTenthsMm);
    integer(h.paperLengthTenthsMm);
    string(h.printer);
    return countAt;
}

size_t StreamWriter::pageHeader(const PageHeader& h)
{
    code(rcNewPage);
    integer(h.previous);
    const size_t nextAt = position();
    integer(h.next);
    integer(h.pageNumber);
    byte(h.orientation);
    return nextAt;
}

void StreamReader::seek(size_t at)
{
    if (at > m_bytes.size())
        unexpected();
    m_at = at;
}

uint8_t StreamReader::byte()
{
    need(1);
    const uint8_t value = *m_bytes.span(m_at, 1);
    ++m_at;
    return value;
}

int32_t StreamReader::integer()
{
    need(4);
    const uint8_t* b = m_bytes.span(m_at, 4);
    const uint32_t u = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16
                       | static_cast<uint32_t>(b[3]) << 24;
    m_at += 4;
    int32_t v;
    std::memcpy(&v, &u, 4);
    return v;
}

float StreamReader::real()
{
    const int32_t bits = integer();
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

std::string StreamReader::string()
{
    size_t n = byte();
    if (n == 255) {
        const int32_t length = integer();
        if (length < 0 || static_cast<size_t>(length) > kLongestString)
            unexpected();
        n = static_cast<size_t>(length);
    }
    need(n);
    std::string text(reinterpret_cast<const char*>(m_bytes.span(m_at, n)), n);
    m_at += n;
    return text;
}

std::vector<uint8_t> StreamReader::bytes(size_t n)
{
    need(n);
    std::vector<uint8_t> data(n);
    m_bytes.read(m_at, data.data(), n);
    m_at += n;
    return data;
}

FileHeader StreamReader::fileHeader()
{
    if (byte() != rcReportHeader)
        unexpected();
    FileHeader h;
    h.pageCount = integer();
    h.firstPage = integer();
    h.lastPage = integer();
    h.paperWidth = real();
    h.paperHeight = real();
    h.stripLeft = real();
    h.stripRight = real();
    h.stripTop = real();
    h.stripBottom = real();
    h.orientation = byte();
    h.copies = integer();
    h.paperSize = integer();
    h.paperWidthTenthsMm = integer();
    h.paperLengthTenthsMm = integer();
    h.printer = string();
    return h;
}

PageHeader StreamReader::pageHeader()
{
    if (byte() != rcNewPage)
        unexpected();
    PageHeader h;
    h.previous = integer();
    h.next = integer();
    h.pageNumber = integer();
    h.orientation = byte();
    return h;
}

void StreamReader::skipRecord(uint8_t code)
{
    auto points = [this](int n) {
        for (int i = 0; i < 2 * n; ++i)
            real();
    };
    auto graphic = [this] {
        byte();
        const int32_t n = integer();
        if (n < 0)
            unexpected();
        need(static_cast<size_t>(n));
        m_at += static_cast<size_t>(n);
    };
    switch (code) {
    case rcArc: case rcChord: case rcPie: points(4); break;
    case rcBrushCopy: graphic(); points(4); integer(); break;
    case rcCopyRect: points(2); integer(); points(2); break;
    case rcDraw: graphic(); points(1); break;
    case rcDrawFocusRect: case rcFillRect: case rcFrameRect: points(2); break;
    case rcEllipse: case rcRectangle: case rcTabRectangle: points(2); break;
    case rcFloodFill: points(1); integer(); integer(); break;
    case rcLineTo: case rcMoveTo: points(1); break;
    case rcPolygon: case rcPolyline: {
        const int32_t n = integer();
        if (n < 0 || static_cast<size_t>(n) > (m_bytes.size() - m_at) / 8)
            unexpected();
        points(n + 1);
        break;
    }
    case rcPrintBitmap: graphic(); points(1); real(); real(); break;
    case rcPrintBitmapRect: graphic(); points(2); break;
    case rcRoundRect: points(2); real(); real(); break;
    case rcStretchDraw: graphic(); points(2); break;
    case rcTextRect: points(3); string(); break;
    case rcCenterText: case rcLeftText: case rcRightText: real(); string(); real(); break;
    case rcSetTextBKMode: case rcSetBrushStyle: case rcSetFontPitch: case rcSetFontBold: case rcSetFontUnderline:
    case rcSetFontItalic: case rcSetFontStrikeout: case rcSetPenMode: case rcSetPenStyle: byte(); break;
    case rcSetBKColor: case rcSetBrushColor: case rcSetFontColor: case rcSetPenColor: integer(); break;
    case rcSetScaleX: case rcSetScaleY: case rcSetFontHeight: case rcSetPenWidth: real(); break;
    case rcPrintData: case rcSetFontName: string(); break;
    case rcSetBrush:
        integer();
        byte();
        if (byte() != 0)
            graphic();
        break;
    case rcSetBrushBitmap:
        if (byte() != 0)
            graphic();
        break;
    case rcSetFont: string(); integer(); byte(); real(); byte(); byte(); byte(); byte(); break;
    case rcSetPen: integer(); byte(); byte(); real(); break;
    default: unexpected();
    }
}

std::vector<size_t> pagePositions(const ReportBytes& stream)
{
    StreamReader reader(stream);
    const FileHeader header = reader.fileHeader();
    std::vector<size_t> pages;
    if (header.pageCount <= 0)
        return pages;
    std::set<size_t> seen;
    size_t at = reader.position();
    while (true) {
        if (!seen.insert(at).second)
            throw EReportError(kUnexpectedCode); // a link back to a page already seen
        reader.seek(at);
        const PageHeader page = reader.pageHeader();
        pages.push_back(at);
        if (page.next <= 0)
            break;
        if (static_cast<size_t>(page.next) <= at || static_cast<size_t>(page.next) >= stream.size())
            throw EReportError(kUnexpectedCode);
        at = static_cast<size_t>(page.next);
    }
    return pages;
}

} // namespace engine
