#include "TReportFiler.h"

#include "Cp1252.h"
#include "PrintDevice.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace engine {

TReportFiler::TReportFiler(PrintDevice* printer)
    : m_printer(printer)
{
    queryDevice();
}

TReportFiler::~TReportFiler() = default;

QPaintDevice* TReportFiler::measuringDevice() { return m_printer ? m_printer->measuringDevice() : screenReference(); }

void TReportFiler::recorded() { processPendingEvents(); }

void TReportFiler::point(const Point& p) { m_writer.point(static_cast<float>(p.x + originX()), static_cast<float>(p.y + originY())); }

void TReportFiler::text(const QString& value)
{
    m_writer.string(value.toStdString());
}

// ---- recording -------------------------------------------------------------------

namespace {

// Whether each character of a text may stand at a place of its own: letters
// of the alphabets that neither join nor combine nor run from right to left
// (Latin, Greek, Cyrillic and their neighbours below Hebrew), each one code unit.
bool placedByCharacter(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x0590 && !c.isMark(); });
}

} // namespace

void TReportFiler::outputText(uint8_t alignment, const QString& value, double x, int widthDots)
{
    if (!recording())
        return;
    const float y = static_cast<float>(cursorY() + originY());
    if (AccuracyMethod == amAppearance) {
        m_writer.code(alignment == taLeft ? rcLeftText : alignment == taRight ? rcRightText : rcCenterText);
        m_writer.real(y);
        text(value);
        m_writer.real(static_cast<float>(x + originX()));
        recorded();
        return;
    }
    // Character by character, each at the place the measuring device gives it.
    double at = x;
    if (alignment == taRight)
        at = x - dotsToInchesX(widthDots);
    else if (alignment == taCenter)
        at = x - dotsToInchesX(widthDots / 2);
    if (!placedByCharacter(value)) {
        // Scripts whose letters join, combine or run from right to left (and
        // CJK, emoji) are shaped as a whole text: one at its place.
        m_writer.code(rcLeftText);
        m_writer.real(y);
        text(value);
        m_writer.real(static_cast<float>(at + originX()));
        recorded();
        return;
    }
    for (const QChar c : value) {
        const QString character(c);
        m_writer.code(rcLeftText);
        m_writer.real(y);
        text(character);
        m_writer.real(static_cast<float>(at + originX()));
        at += dotsToInchesX(textWidthDots(character));
        recorded();
    }
}

void TReportFiler::shape(uint8_t code, const std::vector<Point>& points, double a, double b)
{
    if (!recording() || points.empty())
        return;
    m_writer.code(static_cast<ReportCode>(code));
    if (code == rcPolygon || code == rcPolyline)
        m_writer.integer(static_cast<int32_t>(points.size()) - 1);
    for (const Point& p : points)
        point(p);
    if (code == rcRoundRect) {
        m_writer.real(static_cast<float>(a));
        m_writer.real(static_cast<float>(b));
    }
    recorded();
}

void TReportFiler::stretchDraw(const std::vector<Point>& points, const QByteArray& picture)
{
    if (!recording() || points.size() < 2)
        return;
    m_writer.code(rcStretchDraw);
    m_writer.byte(1); // the kind of graphic: a picture file Qt reads
    m_writer.integer(static_cast<int32_t>(picture.size()));
    m_writer.bytes().append(reinterpret_cast<const uint8_t*>(picture.constData()), static_cast<size_t>(picture.size()));
    point(points[0]);
    point(points[1]);
    recorded();
}

void TReportFiler::textRect(const std::vector<Point>& points, const QString& value)
{
    if (!recording() || points.size() < 3)
        return;
    m_writer.code(rcTextRect);
    for (const Point& p : points)
        point(p);
    text(value);
    recorded();
}

void TReportFiler::integerRecord(bool write, ReportCode code, int32_t value)
{
    if (write) {
        m_writer.code(code);
        m_writer.integer(value);
    }
}

void TReportFiler::byteRecord(bool write, ReportCode code, uint8_t value)
{
    if (write) {
        m_writer.code(code);
        m_writer.byte(value);
    }
}

// Reals are compared as the file stores them, so that a change too small to show writes nothing.
void TReportFiler::realRecord(bool all, ReportCode code, double value, double written)
{
    if (all || static_cast<float>(value) != static_cast<float>(written)) {
        m_writer.code(code);
        m_writer.real(static_cast<float>(value));
    }
}

void TReportFiler::writeBrush(bool all)
{
    const BrushState& brush = Brush();
    const BrushState& was = m_writtenBrush;
    integerRecord(all || brush.color != was.color, rcSetBrushColor, brush.color);
    byteRecord(all || brush.style != was.style, rcSetBrushStyle, brush.style);
    if (all || brush.hasBitmap != was.hasBitmap || brush.bitmap != was.bitmap) {
        m_writer.code(rcSetBrushBitmap);
        m_writer.byte(brush.hasBitmap ? 1 : 0);
        if (brush.hasBitmap) {
            m_writer.byte(brush.bitmap.kind);
            m_writer.integer(static_cast<int32_t>(brush.bitmap.bytes.size()));
            m_writer.bytes().append(brush.bitmap.bytes.data(), brush.bitmap.bytes.size());
        }
    }
    m_writtenBrush = brush;
}

void TReportFiler::writeFont(bool all)
{
    const FontState& font = Font();
    const FontState& was = m_writtenFont;
    if (all || font.name != was.name) {
        m_writer.code(rcSetFontName);
        text(font.name);
    }
    integerRecord(all || font.color != was.color, rcSetFontColor, font.color);
    byteRecord(all || font.pitch != was.pitch, rcSetFontPitch, font.pitch);
    realRecord(all, rcSetFontHeight, font.height, was.height);
    byteRecord(all || font.bold != was.bold, rcSetFontBold, font.bold);
    // The page header carries the codes in their numeric order, a change in the order of the styles.
    if (all)
        byteRecord(true, rcSetFontUnderline, font.underline);
    byteRecord(all || font.italic != was.italic, rcSetFontItalic, font.italic);
    if (!all)
        byteRecord(font.underline != was.underline, rcSetFontUnderline, font.underline);
    byteRecord(all || font.strikeOut != was.strikeOut, rcSetFontStrikeout, font.strikeOut);
    m_writtenFont = font;
}

void TReportFiler::writePen(bool all)
{
    const PenState& pen = Pen();
    const PenState& was = m_writtenPen;
    integerRecord(all || pen.color != was.color, rcSetPenColor, pen.color);
    byteRecord(all || pen.mode != was.mode, rcSetPenMode, pen.mode);
    byteRecord(all || pen.style != was.style, rcSetPenStyle, pen.style);
    realRecord(all, rcSetPenWidth, pen.width, was.width);
    m_writtenPen = pen;
}

void TReportFiler::fontChanged()
{
    if (recording()) {
        writeFont(false);
        recorded();
    }
}

void TReportFiler::brushChanged()
{
    if (recording()) {
        writeBrush(false);
        recorded();
    }
}

void TReportFiler::penChanged()
{
    if (recording()) {
        writePen(false);
        recorded();
    }
}

void TReportFiler::scaleChanged(bool horizontal)
{
    if (!recording())
        return;
    m_writer.code(horizontal ? rcSetScaleX : rcSetScaleY);
    m_writer.real(static_cast<float>(horizontal ? ScaleX() : ScaleY()));
    recorded();
}

void TReportFiler::textBKModeChanged()
{
    if (!recording())
        return;
    m_writer.code(rcSetTextBKMode);
    m_writer.byte(TextBKMode());
    recorded();
}

void TReportFiler::bkColorChanged()
{
    if (!recording())
        return;
    m_writer.code(rcSetBKColor);
    m_writer.integer(bkColor());
    recorded();
}

// ---- pages -------------------------------------------------------------------------

void TReportFiler::pageStarted()
{
    if (discarded())
        return;
    ++m_pageCount;
    const size_t at = m_writer.position();
    // The page before links here only now that a page follows it: a last
    // recorded page keeps 0 even when discarded pages came after it.
    if (m_lastNextLinkAt != 0)
        m_writer.patchInteger(m_lastNextLinkAt, static_cast<int32_t>(at));
    PageHeader header;
    header.previous = static_cast<int32_t>(m_lastPageAt);
    header.pageNumber = PageNumber();
    header.orientation = Orientation();
    m_lastNextLinkAt = m_writer.pageHeader(header);
    m_lastPageAt = at;
    writeBrush(true);
    writeFont(true);
    writePen(true);
    m_writer.code(rcSetScaleX);
    m_writer.real(static_cast<float>(ScaleX()));
    m_writer.code(rcSetScaleY);
    m_writer.real(static_cast<float>(ScaleY()));
    m_writer.code(rcSetTextBKMode);
    m_writer.byte(TextBKMode());
    m_writer.code(rcSetBKColor);
    m_writer.integer(bkColor());
    m_inPage = true;
    recorded();
}

void TReportFiler::pageEnding()
{
    // A page cancelled half-way is still closed, so that the stream stays readable.
    if (!m_inPage)
        return;
    m_writer.code(rcEndPage);
    m_inPage = false;
}

// ---- the job -----------------------------------------------------------------------

bool TReportFiler::prepareStream()
{
    m_writer = StreamWriter{};
    m_writer.bytes().setMemoryLimit(MemoryLimit);
    m_file.reset();
    if (StreamMode == smUser)
        return m_userStream != nullptr;
    m_file = std::make_unique<QSaveFile>(FileName);
    if (FileName.isEmpty() || !m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        return false;
    }
    return true;
}

void TReportFiler::finishStream()
{
    if (StreamMode == smUser) {
        if (m_userStream)
            *m_userStream = m_writer.take();
        return;
    }
    if (!m_file)
        return;
    ReportBytes recording = m_writer.take();
    std::vector<uint8_t> chunk;
    bool written = true;
    for (size_t at = 0; written && at < recording.size(); at += chunk.size()) {
        chunk.resize(std::min<size_t>(size_t{1} << 20, recording.size() - at));
        recording.read(at, chunk.data(), chunk.size());
        const auto size = static_cast<qint64>(chunk.size());
        written = m_file->write(reinterpret_cast<const char*>(chunk.data()), size) == size;
    }
    written = written && m_file->commit();
    const QString error = m_file->errorString();
    m_file.reset();
    if (!written)
        throw EReportError(QCoreApplication::translate("engine", "Cannot write the report file \"%1\": %2").arg(FileName, error).toStdString());
}

void TReportFiler::RunJob()
{
    checkNotPrinting();
    m_lastPageAt = m_lastNextLinkAt = 0;
    m_pageCount = 0;
    m_inPage = false;
    runWithJobEvents([this] { record(); });
}

void TReportFiler::record()
{
    if (!prepareStream()) {
        showError(QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(kStreamInitError), FileName));
        return;
    }
    setPrinting(true);
    setCancelled(false);
    auto finish = [this] {
        pageEnding();
        m_writer.patchInteger(m_pageCountAt, m_pageCount);
        setPrinting(false);
        finishStream();
    };
    try {
        m_pageCountAt = m_writer.fileHeader(fileHeader());
        resetJobState();
        startFirstPage();
        runPages();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

FileHeader TReportFiler::fileHeader()
{
    FileHeader header;
    header.firstPage = FirstPage();
    header.lastPage = LastPage();
    header.paperWidth = static_cast<float>(PaperWidth() / UnitsFactor());
    header.paperHeight = static_cast<float>(PaperHeight() / UnitsFactor());
    header.stripLeft = static_cast<float>(stripLeft());
    header.stripRight = static_cast<float>(stripRight());
    header.stripTop = static_cast<float>(stripTop());
    header.stripBottom = static_cast<float>(stripBottom());
    header.orientation = Orientation();
    if (m_printer) {
        const DeviceMode mode = m_printer->deviceMode();
        header.copies = mode.copies;
        header.paperSize = mode.paperSize;
        header.paperWidthTenthsMm = mode.paperWidth;
        header.paperLengthTenthsMm = mode.paperLength;
    } else {
        // Measured on the screen: the status escapes name no printer.
        setDeviceNames(QStringLiteral("Preview Only"), QStringLiteral("Preview Only"), QStringLiteral("Preview"));
    }
    return header;
}

} // namespace engine
