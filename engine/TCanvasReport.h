#pragma once

// The engine's output on a device canvas: a QPainter on a printer, a PDF
// file or a preview image. Positions become device dots by the engine's
// conversion; font, brush and pen are carried over to the painter when they
// change.

#include "TBaseReport.h"

#include <QLineF>
#include <QPen>
#include <QPoint>

#include <vector>

class QImage;
class QPainter;

namespace engine {

class TCanvasReport : public TBaseReport {
public:
    // The device canvas of the running job (the rules waiting to be drawn
    // are drawn first: whatever is drawn on it comes over them).
    QPainter* Canvas();

protected:
    void setCanvas(QPainter* painter);
    QPainter* canvas() const { return m_canvas; }

    void outputText(uint8_t alignment, const QString& text, double x, int widthDots) override;
    void shape(uint8_t code, const std::vector<Point>& points, double a = 0, double b = 0) override;
    void textRect(const std::vector<Point>& points, const QString& text) override;
    void stretchDraw(const std::vector<Point>& points, const QByteArray& picture) override;
    void fontChanged() override { m_fontDirty = true; }
    // Runs the pages of a job as one document on the printer: the document
    // is aborted when the job was cancelled (or, with cancelOnError, failed).
    void printOnDevice(PrintDevice& printer, bool cancelOnError, const std::function<void()>& pages);
    // Draws an image into a rectangle of page inches (the graphic records of a report file).
    void drawImage(const QImage& image, const std::vector<Point>& rect);
    // Draws the rules that wait (see m_rules); called before a page ends.
    void flushRules();

private:
    QPointF dots(const Point& p) const;
    QRectF dotsRect(const Point& a, const Point& b) const;
    void useDrawingPen();
    int penWidthDots() const;
    void drawLine(const QPointF& from, const QPointF& to);

    QPainter* m_canvas = nullptr;
    QPointF m_penPosition;
    // Straight rules in a solid pen (the lines of boxes) wait to be drawn
    // together until something else is drawn that could cover them or be
    // covered (a fill, an image, an opaque text) or the page ends. Rules of
    // neighbouring cells and rows then join into one line each: a page of
    // boxes is a few dozen lines instead of hundreds of short ones, which
    // halves a PDF page and draws faster everywhere.
    std::vector<QLineF> m_rules;
    QPen m_rulePen;
    bool m_fontDirty = true;
};

// Runs a job on the printer. Without one the job shows "No printers are
// defined, aborting print job." and does nothing.
class TReportPrinter : public TCanvasReport {
public:
    // printer: the current printer, or none when no printers are defined.
    explicit TReportPrinter(PrintDevice* printer);
    void RunJob() override;

protected:
    DeviceKind deviceKind() const override { return dkPrinter; }
    PrintDevice* printDevice() const override { return m_printer; }
    QPaintDevice* measuringDevice() override;
    void newDevicePage(bool advance) override;

private:
    PrintDevice* m_printer;
};

QColor colorOf(ColorRef color);

} // namespace engine
