#include "TCanvasReport.h"

#include "PrintDevice.h"
#include "ReportStream.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace engine {

namespace {

Qt::BrushStyle qtBrushStyle(uint8_t style)
{
    switch (style) {
    case bsSolid: return Qt::SolidPattern;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

Qt::PenStyle qtPenStyle(uint8_t style)
{
    switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// Angle in degrees, counter-clockwise, of a point seen from a centre (y grows downwards).
double angleOf(const QPointF& centre, const QPointF& p) { return std::atan2(centre.y() - p.y(), p.x() - centre.x()) * 180 / std::numbers::pi; }

} // namespace

QColor colorOf(ColorRef color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

QPainter* TCanvasReport::Canvas()
{
    if (!m_canvas)
        throw EReportError(kCanvasNotActive);
    flushRules();
    return m_canvas;
}

void TCanvasReport::setCanvas(QPainter* painter)
{
    flushRules();
    m_canvas = painter;
    m_fontDirty = true;
}

void TCanvasReport::drawLine(const QPointF& from, const QPointF& to)
{
    const QPen& pen = m_canvas->pen();
    const bool straight = from.x() == to.x() || from.y() == to.y();
    if (!straight || pen.style() != Qt::SolidLine) {
        flushRules();
        m_canvas->drawLine(from, to);
        return;
    }
    if (!m_rules.empty() && pen != m_rulePen)
        flushRules();
    m_rulePen = pen;
    m_rules.emplace_back(from, to);
}

namespace {

// Joins rules on one line that touch or overlap; `along` is 0 for
// horizontal rules (x varies), 1 for vertical ones.
std::vector<QLineF> joined(std::vector<std::pair<QPointF, QPointF>> rules, int along)
{
    constexpr double kTouching = 0.01; // dots
    auto at = [along](const QPointF& p) { return along == 0 ? p.x() : p.y(); };
    auto across = [along](const QPointF& p) { return along == 0 ? p.y() : p.x(); };
    std::sort(rules.begin(), rules.end(), [&](const auto& a, const auto& b) {
        return across(a.first) != across(b.first) ? across(a.first) < across(b.first) : at(a.first) < at(b.first);
    });
    std::vector<QLineF> lines;
    for (size_t i = 0; i < rules.size();) {
        QPointF start = rules[i].first, end = rules[i].second;
        size_t j = i + 1;
        for (; j < rules.size() && across(rules[j].first) == across(start) && at(rules[j].first) <= at(end) + kTouching; ++j)
            if (at(rules[j].second) > at(end))
                end = rules[j].second;
        lines.emplace_back(start, end);
        i = j;
    }
    return lines;
}

} // namespace

void TCanvasReport::flushRules()
{
    if (!m_canvas)
        m_rules.clear();
    if (m_rules.empty())
        return;
    std::vector<std::pair<QPointF, QPointF>> horizontal, vertical;
    for (const QLineF& rule : m_rules) {
        QPointF a = rule.p1(), b = rule.p2();
        if (a.y() == b.y()) {
            if (b.x() < a.x())
                std::swap(a, b);
            horizontal.emplace_back(a, b);
        } else {
            if (b.y() < a.y())
                std::swap(a, b);
            vertical.emplace_back(a, b);
        }
    }
    m_rules.clear();
    std::vector<QLineF> lines = joined(std::move(horizontal), 0);
    const std::vector<QLineF> columns = joined(std::move(vertical), 1);
    lines.insert(lines.end(), columns.begin(), columns.end());
    m_canvas->setPen(m_rulePen);
    m_canvas->drawLines(lines.data(), static_cast<int>(lines.size()));
}

QPointF TCanvasReport::dots(const Point& p) const { return QPointF(xDots(p.x), yDots(p.y)); }

QRectF TCanvasReport::dotsRect(const Point& a, const Point& b) const { return QRectF(dots(a), dots(b)).normalized(); }

int TCanvasReport::penWidthDots() const
{
    const double dots = Pen().width * resolutionX() * ScaleX() * zoom() / 10000.0;
    return std::isfinite(dots) ? static_cast<int>(std::nearbyint(std::clamp(dots, 0.0, 2000.0))) : 1;
}

void TCanvasReport::useDrawingPen()
{
    const PenState& pen = Pen();
    QColor color = colorOf(pen.color);
    if (pen.mode == pmBlack)
        color = Qt::black;
    else if (pen.mode == pmWhite)
        color = Qt::white;
    if (pen.mode == pmNop || pen.style == psClear)
        m_canvas->setPen(Qt::NoPen);
    else
        m_canvas->setPen(QPen(color, std::max(1, penWidthDots()), qtPenStyle(pen.style), Qt::FlatCap, Qt::MiterJoin));
    const BrushState& brush = Brush();
    m_canvas->setBrush(QBrush(colorOf(brush.color), qtBrushStyle(brush.style)));
}

void TCanvasReport::outputText(uint8_t alignment, const QString& text, double x, int widthDots)
{
    if (!m_canvas)
        return;
    if (m_fontDirty) {
        m_canvas->setFont(deviceFont());
        m_fontDirty = false;
    }
    double left = xDots(x);
    if (alignment == taCenter)
        left -= widthDots / 2.0;
    else if (alignment == taRight)
        left -= widthDots;
    const double baseline = yDots(cursorY());
    const bool opaque = TextBKMode() == bkOpaque;
    if (opaque)
        flushRules(); // the text's background covers the rules before it
    // Text takes only the pen's color: keeping the drawing pen when the colors
    // agree saves a state change per text on vector devices.
    const QColor textColor = colorOf(Font().color);
    if (m_canvas->pen().style() == Qt::NoPen || m_canvas->pen().color() != textColor)
        m_canvas->setPen(textColor);
    if (opaque) {
        const QFontMetrics& fm = metrics();
        m_canvas->fillRect(QRectF(left, baseline - fm.ascent(), widthDots, fm.height()), colorOf(bkColor()));
    }
    m_canvas->drawText(QPointF(left, baseline), text);
}

void TCanvasReport::shape(uint8_t code, const std::vector<Point>& p, double a, double b)
{
    if (!m_canvas || p.empty())
        return;
    switch (code) {
    case rcMoveTo: m_penPosition = dots(p[0]); return;
    case rcLineTo: {
        useDrawingPen();
        const QPointF to = dots(p[0]);
        drawLine(m_penPosition, to);
        m_penPosition = to;
        return;
    }
    default: break;
    }
    flushRules(); // what follows may cover the rules before it, or be covered
    if (p.size() < 2)
        return;
    const QRectF rect = dotsRect(p[0], p[1]);
    switch (code) {
    case rcTabRectangle:
        // One dot larger on every side, so that neighbouring cells meet without a gap.
        m_canvas->fillRect(rect.adjusted(-1, -1, 1, 1), colorOf(Brush().color));
        break;
    case rcFillRect: m_canvas->fillRect(rect, QBrush(colorOf(Brush().color), qtBrushStyle(Brush().style))); break;
    case rcFrameRect:
        m_canvas->setPen(QPen(colorOf(Brush().color), 1));
        m_canvas->setBrush(Qt::NoBrush);
        m_canvas->drawRect(rect);
        break;
    case rcDrawFocusRect:
        m_canvas->setPen(QPen(Qt::black, 1, Qt::DotLine));
        m_canvas->setBrush(Qt::NoBrush);
        m_canvas->drawRect(rect);
        break;
    case rcRectangle: useDrawingPen(); m_canvas->drawRect(rect); break;
    case rcEllipse: useDrawingPen(); m_canvas->drawEllipse(rect); break;
    case rcRoundRect:
        useDrawingPen();
        m_canvas->drawRoundedRect(rect, a * resolutionX() * zoom() / 200.0, b * resolutionY() * zoom() / 200.0);
        break;
    case rcPolygon:
    case rcPolyline: {
        QPolygonF polygon;
        for (const Point& point : p)
            polygon << dots(point);
        useDrawingPen();
        if (code == rcPolygon)
            m_canvas->drawPolygon(polygon);
        else
            m_canvas->drawPolyline(polygon);
        break;
    }
    case rcArc:
    case rcChord:
    case rcPie: {
        if (p.size() < 4)
            break;
        const double start = angleOf(rect.center(), dots(p[2]));
        double span = angleOf(rect.center(), dots(p[3])) - start;
        if (span <= 0)
            span += 360;
        useDrawingPen();
        const int a16 = qRound(start * 16), s16 = qRound(span * 16);
        if (code == rcArc)
            m_canvas->drawArc(rect, a16, s16);
        else if (code == rcChord)
            m_canvas->drawChord(rect, a16, s16);
        else
            m_canvas->drawPie(rect, a16, s16);
        break;
    }
    default: break;
    }
}

void TCanvasReport::textRect(const std::vector<Point>& p, const QString& text)
{
    if (!m_canvas || p.size() < 3)
        return;
    flushRules();
    m_canvas->save();
    m_canvas->setClipRect(dotsRect(p[0], p[1]));
    m_canvas->setFont(deviceFont());
    m_canvas->setPen(colorOf(Font().color));
    m_canvas->drawText(dots(p[2]), text);
    m_canvas->restore();
}

void TCanvasReport::stretchDraw(const std::vector<Point>& points, const QByteArray& picture)
{
    drawImage(QImage::fromData(picture), points);
}

void TCanvasReport::drawImage(const QImage& image, const std::vector<Point>& rect)
{
    if (!m_canvas || image.isNull() || rect.empty())
        return;
    flushRules();
    if (rect.size() == 1)
        m_canvas->drawImage(dots(rect[0]), image);
    else
        m_canvas->drawImage(dotsRect(rect[0], rect[1]), image);
}

// ---- the printer job -------------------------------------------------------------

TReportPrinter::TReportPrinter(PrintDevice* printer)
    : m_printer(printer)
{
    queryDevice();
}

QPaintDevice* TReportPrinter::measuringDevice() { return m_printer ? m_printer->measuringDevice() : screenReference(); }

void TReportPrinter::newDevicePage(bool advance)
{
    flushRules();
    if (advance)
        m_printer->newSheet();
}

void TReportPrinter::RunJob()
{
    if (!m_printer) {
        showError(kNoPrinters);
        return;
    }
    checkNotPrinting();
    runWithJobEvents([this] {
        printOnDevice(*m_printer, false, [this] {
            startFirstPage();
            runPages();
        });
    });
}

void TCanvasReport::printOnDevice(PrintDevice& printer, bool cancelOnError, const std::function<void()>& pages)
{
    printer.setCopies(Copies());
    setCanvas(printer.beginDocument(Title()));
    setPrinting(true);
    setCancelled(false);
    auto finish = [&] {
        if (Cancelled())
            m_rules.clear(); // the document is thrown away
        else
            flushRules();
        if (Cancelled())
            printer.abortDocument();
        setCanvas(nullptr);
        setPrinting(false);
        printer.endDocument();
    };
    try {
        resetJobState();
        pages();
    } catch (...) {
        if (cancelOnError)
            CancelJob(); // what was begun is not kept
        finish();
        throw;
    }
    finish();
}

} // namespace engine
