#include "TBaseReport.h"

#include "PrintDevice.h"
#include "ReportStream.h"
#include "TextEncoding.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

constexpr double kUnitFactors[] = {1.0, 25.4, 2.54, 72.0};

// Inches to device dots and every other rounding of the engine: nearest, ties to even.
// Values from a damaged report file may be huge or not numbers at all: they
// are held to a range every device survives.
int nearestEven(double value)
{
    if (!(value > -1e7))
        return std::isnan(value) ? 0 : -10000000;
    if (value > 1e7)
        return 10000000;
    return static_cast<int>(std::nearbyint(value));
}

constexpr double kCloseEnough = 1e-9;

// Two positions on the page that are the same up to rounding (inches).
bool near(double a, double b) { return std::abs(a - b) < 1e-6; }

} // namespace

TBaseReport::TBaseReport() = default;
TBaseReport::~TBaseReport() = default;

// ---- properties ------------------------------------------------------------

void TBaseReport::setLinesPerInch(int lines)
{
    if (lines >= 1)
        m_linesPerInch = lines;
}

void TBaseReport::setUnits(TPrintUnits units)
{
    m_units = units;
    if (units != unUser)
        m_unitsFactor = kUnitFactors[units];
}

void TBaseReport::setUnitsFactor(double factor)
{
    if (factor <= 0)
        return;
    m_unitsFactor = factor;
    m_units = unUser;
    for (int u = unInch; u <= unPoint; ++u)
        if (kUnitFactors[u] == factor)
            m_units = static_cast<TPrintUnits>(u);
}

void TBaseReport::setMarginLeft(double value)
{
    m_marginLeft = value;
    m_areaLeft = in(value);
}

void TBaseReport::setMarginRight(double value)
{
    m_marginRight = value;
    m_areaRight = m_paperWidth - in(value);
}

void TBaseReport::setMarginTop(double value)
{
    m_marginTop = value;
    m_areaTop = in(value);
}

void TBaseReport::setMarginBottom(double value)
{
    m_marginBottom = value;
    m_areaBottom = m_paperHeight - in(value);
}

void TBaseReport::applyMargins()
{
    setMarginLeft(m_marginLeft);
    setMarginRight(m_marginRight);
    setMarginTop(m_marginTop);
    setMarginBottom(m_marginBottom);
}

void TBaseReport::setTabShade(int percent) { m_tabShade = std::clamp(percent, 0, 100); }

void TBaseReport::setTextBKMode(TBKMode mode)
{
    m_textBKMode = mode;
    if (m_printing && !m_discard)
        textBKModeChanged();
}

void TBaseReport::setCopies(int copies)
{
    checkNotPrinting();
    m_copies = copies;
}

void TBaseReport::setOrientation(TOrientation orientation)
{
    checkNotPrinting();
    m_orientation = orientation;
    if (orientation != poDefault && printDevice()) {
        printDevice()->setOrientation(orientation);
        queryDevice();
    }
}

void TBaseReport::setScaleX(double percent)
{
    m_scaleX = percent;
    fontMetricsChanged();
    if (m_printing && !m_discard)
        scaleChanged(true);
}

void TBaseReport::setScaleY(double percent)
{
    m_scaleY = percent;
    fontMetricsChanged();
    if (m_printing && !m_discard)
        scaleChanged(false);
}

// ---- device ----------------------------------------------------------------

void TBaseReport::setStrips(double left, double right, double top, double bottom)
{
    m_stripLeft = left;
    m_stripRight = right;
    m_stripTop = top;
    m_stripBottom = bottom;
}

void TBaseReport::setPaperSize(double width, double height)
{
    m_paperWidth = width;
    m_paperHeight = height;
    applyMargins();
}

void TBaseReport::setDeviceNames(const QString& device, const QString& driver, const QString& port)
{
    m_deviceName = device;
    m_driverName = driver;
    m_portName = port;
}

QString TBaseReport::deviceNames(char which) const
{
    switch (which) {
    case 'D': return m_deviceName;
    case 'R': return m_driverName;
    default: return m_portName;
    }
}

void TBaseReport::queryDevice()
{
    checkNotPrinting();
    setStrips(0, 0, 0, 0);
    PrintDevice* device = printDevice();
    if (!device) {
        setResolution(96, 96);
        m_paperWidth = 8.5;
        m_paperHeight = 11.0;
    } else {
        setDeviceNames(device->deviceName(), device->driverName(), device->portName());
        if (deviceKind() != dkPreview) {
            const DeviceGeometry g = device->geometry();
            setResolution(g.resolutionX, g.resolutionY);
            setStrips(g.offsetX / g.resolutionX, (g.physicalWidth - g.offsetX - g.printableWidth) / g.resolutionX,
                      g.offsetY / g.resolutionY, (g.physicalHeight - g.offsetY - g.printableHeight) / g.resolutionY);
            m_paperWidth = g.printableWidth / g.resolutionX + m_stripLeft + m_stripRight;
            m_paperHeight = g.printableHeight / g.resolutionY + m_stripTop + m_stripBottom;
        }
    }
    applyMargins();
}

double TBaseReport::PaperWidth() const { return out(m_paperWidth); }
double TBaseReport::PaperHeight() const { return out(m_paperHeight); }

int TBaseReport::xDots(double x) const
{
    return nearestEven(((x + m_originX) * m_scaleX * m_zoom / 10000.0 - m_stripLeft) * m_resolutionX) + m_deviceOffsetX;
}

int TBaseReport::yDots(double y) const
{
    return nearestEven(((y + m_originY) * m_scaleY * m_zoom / 10000.0 - m_stripTop) * m_resolutionY) + m_deviceOffsetY;
}

double TBaseReport::dotsToInchesX(double dots) const { return dots * 10000.0 / (m_resolutionX * m_scaleX * m_zoom); }
double TBaseReport::dotsToInchesY(double dots) const { return dots * 10000.0 / (m_resolutionY * m_scaleY * m_zoom); }

QFont TBaseReport::deviceFont() const
{
    QFont font(m_font.name);
    font.setPixelSize(std::clamp(nearestEven(m_font.height * m_resolutionY), 1, 20000));
    font.setBold(m_font.bold);
    font.setItalic(m_font.italic);
    font.setUnderline(m_font.underline);
    font.setStrikeOut(m_font.strikeOut);
    if (m_font.pitch == fpFixed)
        font.setFixedPitch(true);
    // The same outlines on every device, so that a page measured on the screen
    // prints alike, and no kerning: a text is as wide as its characters.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

const QFontMetrics& TBaseReport::metrics()
{
    if (!m_metrics)
        m_metrics = std::make_unique<QFontMetrics>(deviceFont(), measuringDevice());
    return *m_metrics;
}

QPaintDevice* TBaseReport::screenReference()
{
    if (!m_screenReference) {
        m_screenReference = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(96 / 0.0254);
        m_screenReference->setDotsPerMeterX(dotsPerMetre);
        m_screenReference->setDotsPerMeterY(dotsPerMetre);
    }
    return m_screenReference.get();
}

void TBaseReport::fontMetricsChanged()
{
    m_metrics.reset();
    m_advancesKnown = false;
}

// Without kerning a text's width is the sum of its characters' advances;
// adding them from a table is a hundred times faster than shaping each text.
int TBaseReport::textWidthDots(const QString& text)
{
    if (text.isEmpty())
        return 0;
    if (!m_advancesKnown) {
        const QFontMetricsF exact(deviceFont(), measuringDevice());
        for (int c = 0; c < 256; ++c)
            m_advances[static_cast<size_t>(c)] = exact.horizontalAdvance(QChar(c));
        m_advancesKnown = true;
    }
    double width = 0;
    for (const QChar c : text) {
        if (c.unicode() >= 256 || c.unicode() < 32)
            return metrics().horizontalAdvance(text);
        width += m_advances[c.unicode()];
    }
    return qRound(width);
}

// ---- geometry and cursor ---------------------------------------------------

void TBaseReport::setAreaLeft(double value)
{
    m_areaLeft = in(value);
    if (m_areaLeft > m_cursorX)
        m_cursorX = m_areaLeft;
}

void TBaseReport::setAreaRight(double value)
{
    m_areaRight = in(value);
    if (m_areaRight < m_cursorX)
        m_cursorX = m_areaRight;
}

void TBaseReport::setAreaTop(double value)
{
    m_areaTop = in(value);
    if (m_areaTop > m_cursorY)
        m_cursorY = m_areaTop;
}

void TBaseReport::setAreaBottom(double value)
{
    m_areaBottom = in(value);
    if (m_areaBottom < m_cursorY)
        m_cursorY = m_areaBottom;
}

void TBaseReport::refreshLineHeight()
{
    if (!m_printing)
        return;
    m_descent = dotsToInchesY(metrics().descent());
    m_lineHeight = m_lineHeightMethod == lhmLinesPerInch ? 1.0 / m_linesPerInch : m_fontLineHeight;
}

void TBaseReport::MoveCursor(double x, double y)
{
    refreshLineHeight();
    m_cursorX = in(x);
    m_cursorY = in(y);
}

void TBaseReport::ReturnHome()
{
    m_column = 1;
    m_lineNumber = 1;
    refreshLineHeight();
    m_cursorX = columnLeft();
    m_cursorY = m_areaTop + m_lineHeight - m_descent;
}

int TBaseReport::LinesRemaining()
{
    const double a = m_cursorY + m_descent;
    if (a > m_areaBottom + kCloseEnough)
        return 0;
    return static_cast<int>(std::trunc((m_areaBottom - a) / m_lineHeight + kCloseEnough)) + 1;
}

void TBaseReport::EndTextLine()
{
    if (m_column >= m_columnCount || LinesRemaining() > 1) {
        refreshLineHeight();
        m_cursorX = columnLeft();
        ++m_lineNumber;
        m_cursorY += m_lineHeight;
        m_bottomsAbove.swap(m_bottomsHere);
        m_bottomsHere.clear();
        m_lastRightSide = -1;
    } else {
        forgetDrawnRules();
        ++m_column;
        m_lineNumber = 1;
        refreshLineHeight();
        m_cursorX = columnLeft();
        m_cursorY = m_areaTop + m_lineHeight - m_descent;
        if (OnNewColumn)
            OnNewColumn(*this);
    }
    resetTabState();
}

void TBaseReport::resetTabState()
{
    m_currentStop = -1;
    m_inCell = false;
    m_restartTabs = !m_tabStops.empty();
}

// ---- text ------------------------------------------------------------------

void TBaseReport::WriteText(const QString& input)
{
    checkPrinting();
    QString text = db::leftCharacters(input, 255);
    for (qsizetype tab = text.indexOf(QLatin1Char('\t')); tab >= 0; tab = text.indexOf(QLatin1Char('\t'))) {
        if (tab > 0)
            writeSegment(text.left(tab));
        text.remove(0, tab + 1);
        tabStep();
    }
    writeSegment(text);
}

void TBaseReport::WriteTextLine(const QString& text)
{
    WriteText(text);
    EndTextLine();
}

void TBaseReport::writeSegment(const QString& segment)
{
    const bool inCell = m_inCell && m_currentStop >= 0 && m_currentStop < static_cast<int>(m_tabStops.size());
    if (!inCell) {
        printText(taLeft, segment, m_cursorX);
        return;
    }
    const TabStop& stop = m_tabStops[static_cast<size_t>(m_currentStop)];
    writeInCell(segment, stop.position + (m_column - 1) * m_columnWidth, stop.width, stop.margin, stop.alignment);
    m_inCell = false;
}

void TBaseReport::writeInCell(const QString& text, double cellLeft, double width, double margin, uint8_t alignment)
{
    switch (alignment) {
    case taLeft: printText(taLeft, text, cellLeft + margin); break;
    case taRight: printText(taRight, text, cellLeft + width - margin); break;
    default: printText(taCenter, text, cellLeft + width / 2); break;
    }
}

void TBaseReport::printText(uint8_t alignment, const QString& text, double x)
{
    // The cursor moves on a discarded page too, so that report code sees the same layout on every page.
    const int width = textWidthDots(text);
    if (!m_discard && !text.isEmpty())
        outputText(alignment, text, x, width);
    switch (alignment) {
    case taLeft: m_cursorX = x + dotsToInchesX(width); break;
    case taRight: m_cursorX = x; break;
    default: m_cursorX = x + dotsToInchesX((width + 1) / 2); break;
    }
}

void TBaseReport::WriteCenteredAt(const QString& text, double x)
{
    checkPrinting();
    printText(taCenter, db::leftCharacters(text, 255), in(x));
}

void TBaseReport::WriteInArea(const QString& text, uint8_t alignment)
{
    checkPrinting();
    refreshLineHeight();
    m_cursorX = columnLeft();
    m_cursorY = m_areaBottom - m_descent;
    writeInCell(db::leftCharacters(text, 255), m_areaLeft, m_areaRight - m_areaLeft, 0, alignment);
}

double TBaseReport::MeasureText(const QString& text)
{
    checkPrinting();
    // Back from dots the way the writers move the cursor, so that a measured width is the width written.
    return out(dotsToInchesX(textWidthDots(text)));
}

void TBaseReport::SelectFont(const QString& name, double size)
{
    checkPrinting();
    if (size < 1)
        return;
    m_fontLineHeight = size / 60.0;
    const double characterDots = std::round(size * m_resolutionY / 72.0);
    const int dots = nearestEven(characterDots * m_scaleY * m_zoom / 10000.0);
    m_font.name = name;
    m_font.height = dots / m_resolutionY;
    m_font.pitch = fpDefault;
    m_font.color = kBlack;
    m_font.bold = m_font.italic = m_font.underline = m_font.strikeOut = false;
    fontMetricsChanged();
    fontChanged();
}

void TBaseReport::SetFontBold(bool on)
{
    checkPrinting();
    m_font.bold = on;
    fontMetricsChanged();
    fontChanged();
}

void TBaseReport::SetFontItalic(bool on)
{
    checkPrinting();
    m_font.italic = on;
    fontMetricsChanged();
    fontChanged();
}

void TBaseReport::SetFontUnderline(bool on)
{
    checkPrinting();
    m_font.underline = on;
    fontChanged();
}

void TBaseReport::SetFontStrikeOut(bool on)
{
    checkPrinting();
    m_font.strikeOut = on;
    fontChanged();
}

void TBaseReport::SetFontColor(ColorRef color)
{
    checkPrinting();
    m_font.color = color;
    fontChanged();
}

void TBaseReport::SetBKColor(ColorRef color)
{
    m_bkColor = color;
    if (m_printing && !m_discard)
        bkColorChanged();
}

void TBaseReport::SetBrush(ColorRef color, uint8_t style)
{
    checkPrinting();
    m_brush.color = color;
    m_brush.style = style;
    brushChanged();
}

void TBaseReport::SetPen(ColorRef color, uint8_t style, double widthInUnits, uint8_t mode)
{
    checkPrinting();
    m_pen.color = color;
    m_pen.style = style;
    m_pen.mode = mode;
    m_pen.width = in(widthInUnits);
    forgetDrawnRules(); // lines of another pen are no lines of this one
    penChanged();
}

// ---- tab stops ---------------------------------------------------------------

void TBaseReport::AddTabStop(double position, uint8_t alignment, double width, int margin, uint8_t lines, int shade)
{
    TabStop stop;
    if (position < 0) {
        stop.position = m_tabStops.empty() ? in(m_marginLeft) : m_tabStops.back().position + m_tabStops.back().width;
    } else {
        stop.position = in(position);
    }
    stop.alignment = alignment;
    stop.width = in(width);
    if (stop.width > 0) {
        stop.margin = margin / 100.0;
        stop.leftLine = lines & tlLeft;
        stop.rightLine = lines & tlRight;
        stop.topLine = lines & tlTop;
        stop.bottomLine = lines & tlBottom;
        stop.shade = static_cast<uint8_t>(std::clamp(shade, 0, 100));
    } else {
        // A stop without width only marks where its text starts.
        stop.width = 0;
        stop.alignment = taLeft;
    }
    m_tabStops.push_back(stop);
    if (m_tabStops.size() == 1 && m_currentStop < 0)
        m_restartTabs = true;
}

void TBaseReport::RemoveTabStops()
{
    m_tabStops.clear();
    resetTabState();
}

double TBaseReport::TabStopInnerWidth(int n) const
{
    const int index = n == 0 ? m_currentStop : n - 1;
    if (index < 0 || index >= static_cast<int>(m_tabStops.size()))
        return 0;
    const TabStop& stop = m_tabStops[static_cast<size_t>(index)];
    return out(stop.width - 2 * stop.margin);
}

void TBaseReport::tabStep()
{
    const int next = m_restartTabs ? 0 : m_currentStop + 1;
    m_restartTabs = false;
    if (next >= static_cast<int>(m_tabStops.size())) {
        m_currentStop = static_cast<int>(m_tabStops.size());
        m_inCell = false;
        return;
    }
    m_currentStop = next;
    m_inCell = true;
    const TabStop& stop = m_tabStops[static_cast<size_t>(next)];
    if (stop.width <= 0 || m_discard)
        return;
    const double left = stop.position + (m_column - 1) * m_columnWidth;
    const double right = left + stop.width;
    const double bottom = m_cursorY + m_descent;
    const double top = bottom - m_lineHeight;
    const int percent = stop.shade != 0 ? stop.shade : m_tabShade;
    // A shaded cell paints over the lines around it, so it draws all of its own again.
    const bool shaded = percent != 0;
    if (shaded)
        shadeCell(left, top, right, bottom, percent);
    const bool onRightSide = !shaded && m_lastRightSide >= 0 && near(left, m_lastRightSide)
                             && near(top, m_lastRightTop) && near(bottom, m_lastRightBottom);
    if (stop.leftLine && !onRightSide) {
        shape(rcMoveTo, {{left, bottom}});
        shape(rcLineTo, {{left, top}});
    }
    m_lastRightSide = -1;
    if (stop.rightLine) {
        shape(rcMoveTo, {{right, bottom}});
        shape(rcLineTo, {{right, top}});
        m_lastRightSide = right;
        m_lastRightTop = top;
        m_lastRightBottom = bottom;
    }
    if (stop.topLine && (shaded || !liesOnBottomAbove(top, left, right))) {
        shape(rcMoveTo, {{left, top}});
        shape(rcLineTo, {{right, top}});
    }
    if (stop.bottomLine) {
        shape(rcMoveTo, {{left, bottom}});
        shape(rcLineTo, {{right, bottom}});
        m_bottomsHere.push_back({bottom, left, right});
    }
}

bool TBaseReport::liesOnBottomAbove(double y, double left, double right) const
{
    return std::any_of(m_bottomsAbove.begin(), m_bottomsAbove.end(), [&](const DrawnRule& rule) {
        return near(rule.at, y) && rule.from <= left + kCloseEnough && rule.to >= right - kCloseEnough;
    });
}

void TBaseReport::forgetDrawnRules()
{
    m_bottomsAbove.clear();
    m_bottomsHere.clear();
    m_lastRightSide = -1;
}

void TBaseReport::shadeCell(double left, double top, double right, double bottom, int percent)
{
    const int gray = 255 - percent * 255 / 100;
    const BrushState brush = m_brush;
    const PenState pen = m_pen;
    m_brush.color = gray | (gray << 8) | (gray << 16);
    m_brush.style = bsSolid;
    m_pen.style = psClear;
    brushChanged();
    penChanged();
    shape(rcTabRectangle, {{left, top}, {right, bottom}});
    m_brush = brush;
    m_pen = pen;
    brushChanged();
    penChanged();
}

// ---- drawing primitives ------------------------------------------------------

void TBaseReport::drawShape(uint8_t code, std::vector<Point> points, double a, double b)
{
    checkPrinting();
    if (m_discard)
        return;
    forgetDrawnRules(); // a drawing of the report's own may cover them
    for (Point& p : points)
        p = {in(p.x), in(p.y)};
    shape(code, points, in(a), in(b));
}

void TBaseReport::MoveTo(double x, double y) { drawShape(rcMoveTo, {{x, y}}); }
void TBaseReport::LineTo(double x, double y) { drawShape(rcLineTo, {{x, y}}); }
void TBaseReport::Rectangle(double x1, double y1, double x2, double y2) { drawShape(rcRectangle, {{x1, y1}, {x2, y2}}); }
void TBaseReport::FillRect(double x1, double y1, double x2, double y2) { drawShape(rcFillRect, {{x1, y1}, {x2, y2}}); }
void TBaseReport::FrameRect(double x1, double y1, double x2, double y2) { drawShape(rcFrameRect, {{x1, y1}, {x2, y2}}); }
void TBaseReport::Ellipse(double x1, double y1, double x2, double y2) { drawShape(rcEllipse, {{x1, y1}, {x2, y2}}); }

void TBaseReport::RoundRect(double x1, double y1, double x2, double y2, double cornerWidth, double cornerHeight)
{
    drawShape(rcRoundRect, {{x1, y1}, {x2, y2}}, cornerWidth, cornerHeight);
}

void TBaseReport::Polyline(const std::vector<std::pair<double, double>>& points)
{
    std::vector<Point> p;
    for (const auto& [x, y] : points)
        p.push_back({x, y});
    if (!p.empty())
        drawShape(rcPolyline, p);
}

void TBaseReport::Polygon(const std::vector<std::pair<double, double>>& points)
{
    std::vector<Point> p;
    for (const auto& [x, y] : points)
        p.push_back({x, y});
    if (!p.empty())
        drawShape(rcPolygon, p);
}

void TBaseReport::TextRect(double x1, double y1, double x2, double y2, double x, double y, const QString& text)
{
    checkPrinting();
    if (m_discard)
        return;
    textRect({{in(x1), in(y1)}, {in(x2), in(y2)}, {in(x), in(y)}}, db::leftCharacters(text, 255));
}

void TBaseReport::StretchDraw(double x1, double y1, double x2, double y2, const QByteArray& picture)
{
    checkPrinting();
    if (m_discard || picture.isEmpty())
        return;
    stretchDraw({{in(x1), in(y1)}, {in(x2), in(y2)}}, picture);
}

// ---- job -------------------------------------------------------------------------

void TBaseReport::checkPrinting() const
{
    if (!m_printing)
        throw EReportError(kNotPrinting);
}

void TBaseReport::checkNotPrinting() const
{
    if (m_printing)
        throw EReportError(kAlreadyPrinting);
}

void TBaseReport::runWithJobEvents(const std::function<void()>& job)
{
    m_pageNumber = 0;
    if (OnBeforePrint)
        OnBeforePrint(*this);
    struct AfterPrint {
        TBaseReport& job;
        ~AfterPrint()
        {
            if (job.OnAfterPrint)
                job.OnAfterPrint(job);
        }
    } afterPrint{*this};
    if (OnPrint || OnPrintPage)
        job();
}

void TBaseReport::CancelJob()
{
    m_cancelled = true;
    m_discard = true;
}

void TBaseReport::showError(const QString& text)
{
    if (m_onError)
        m_onError(text);
}

void TBaseReport::RefreshStatus()
{
    if (!m_statusLabel)
        return;
    const QString& pattern = m_statusFormat;
    QString caption;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != QLatin1Char('%') || i + 1 >= pattern.size() || !pattern[i + 1].isLetterOrNumber()) {
            caption += c;
            continue;
        }
        const QChar escape = pattern[++i].toUpper();
        if (escape == QLatin1Char('P'))
            caption += QString::number(m_pageNumber);
        else if (escape == QLatin1Char('F'))
            caption += QString::number(m_firstPage);
        else if (escape == QLatin1Char('L'))
            caption += QString::number(m_lastPage);
        else if (escape.isDigit()) {
            const int line = escape.digitValue();
            if (line < m_statusText.size())
                caption += m_statusText[line];
        } else if (escape == QLatin1Char('D') || escape == QLatin1Char('R') || escape == QLatin1Char('T'))
            caption += deviceNames(static_cast<char>(escape.unicode()));
    }
    m_statusLabel(caption);
    QCoreApplication::processEvents();
}

void TBaseReport::processPendingEvents()
{
    // Every few milliseconds is enough for a Cancel button and costs the job nothing.
    if (!m_eventClock.isValid() || m_eventClock.hasExpired(15)) {
        m_eventClock.start();
        QCoreApplication::processEvents();
    }
}

void TBaseReport::resetJobState()
{
    m_brush = BrushState{};
    m_pen = PenState{};
    m_pen.width = 1.0 / m_resolutionX;
    // A fresh canvas starts with the default font: 10 points on this device.
    m_font = FontState{};
    m_font.height = nearestEven(std::round(10 * m_resolutionY / 72.0) * m_scaleY * m_zoom / 10000.0) / m_resolutionY;
    m_fontLineHeight = 1.0 / 6.0;
    m_originX = m_originY = 0;
    m_column = 1;
    m_columnCount = 1;
    RemoveTabStops();
    forgetDrawnRules();
    applyMargins();
    m_columnWidth = m_areaRight - m_areaLeft;
    fontMetricsChanged();
    brushChanged();
    penChanged();
    ReturnHome();
}

void TBaseReport::startFirstPage()
{
    m_pageNumber = 1;
    m_discard = isOutsideRange(m_pageNumber);
    RefreshStatus();
    pageStarted();
    if (OnNewPage)
        OnNewPage(*this);
    if (OnPrintHeader)
        OnPrintHeader(*this);
}

void TBaseReport::runPages()
{
    if (OnPrint) {
        OnPrint(*this);
    } else {
        while (true) {
            int page = m_pageNumber;
            const bool more = OnPrintPage(*this, page);
            m_pageNumber = page;
            if (!more || m_cancelled)
                break;
            breakPage();
        }
    }
    if (OnPrintFooter)
        OnPrintFooter(*this);
}

void TBaseReport::breakPage()
{
    if (OnPrintFooter)
        OnPrintFooter(*this);
    const bool endingDiscarded = m_discard;
    pageEnding();
    ++m_pageNumber;
    RefreshStatus();
    m_discard = isOutsideRange(m_pageNumber) || m_cancelled;
    m_originX = m_originY = 0;
    resetTabState();
    forgetDrawnRules();
    applyMargins();
    ReturnHome();
    newDevicePage(!endingDiscarded && !m_discard);
    pageStarted();
    if (OnNewPage)
        OnNewPage(*this);
    if (OnPrintHeader)
        OnPrintHeader(*this);
}

} // namespace engine
