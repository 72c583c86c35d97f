#pragma once

// The page model under every printed report and label. Report code positions
// a cursor on a page measured in inches (or the caller's units), defines tab
// stops that form boxed and shaded columns, selects fonts and writes text;
// the engine numbers the pages, keeps only those of the requested range,
// shows progress and lets the user cancel. The classes below it decide where
// the output goes: a device canvas (TCanvasReport and its printers) or a
// report file (TReportFiler).
//
// Every length is held in inches; a value from a caller is divided by
// UnitsFactor and a value handed back multiplied by it. The cursor's y is the
// text baseline.

#include "ReportTypes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

class QFontMetrics;
class QImage;
class QPaintDevice;

namespace engine {

class PrintDevice;

class TBaseReport {
public:
    using Event = std::function<void(TBaseReport& sender)>;
    using TPrintPageEvent = std::function<bool(TBaseReport& sender, int& pageNumber)>;
    using StatusLabelSink = std::function<void(const QString& caption)>;

    struct TabStop {
        double position = 0; // inches
        uint8_t alignment = taLeft;
        double width = 0;  // inches
        double margin = 0; // inches
        bool leftLine = false;
        bool rightLine = false;
        bool topLine = false;
        bool bottomLine = false;
        uint8_t shade = 0; // percent
    };

    TBaseReport();
    virtual ~TBaseReport();
    TBaseReport(const TBaseReport&) = delete;
    TBaseReport& operator=(const TBaseReport&) = delete;

    QString Version() const { return QString::fromLatin1(kEngineVersion); }

    // The last page when no range was chosen: every page reaches the device.
    static constexpr int kNoLastPage = std::numeric_limits<int32_t>::max();

    // Published properties.
    int FirstPage() const { return m_firstPage; }
    void setFirstPage(int page) { m_firstPage = page; }
    int LastPage() const { return m_lastPage; }
    void setLastPage(int page) { m_lastPage = page; }
    void setStatusLabel(StatusLabelSink label) { m_statusLabel = std::move(label); }
    QString StatusFormat() const { return m_statusFormat; }
    void setStatusFormat(const QString& format) { m_statusFormat = format.left(255); }
    QStringList& StatusText() { return m_statusText; }
    TLineHeightMethod LineHeightMethod() const { return m_lineHeightMethod; }
    void setLineHeightMethod(TLineHeightMethod method) { m_lineHeightMethod = method; }
    int LinesPerInch() const { return m_linesPerInch; }
    void setLinesPerInch(int lines);
    TPrintUnits Units() const { return m_units; }
    void setUnits(TPrintUnits units);
    double UnitsFactor() const { return m_unitsFactor; }
    void setUnitsFactor(double factor);
    double MarginLeft() const { return m_marginLeft; }
    void setMarginLeft(double value);
    double MarginRight() const { return m_marginRight; }
    void setMarginRight(double value);
    double MarginTop() const { return m_marginTop; }
    void setMarginTop(double value);
    double MarginBottom() const { return m_marginBottom; }
    void setMarginBottom(double value);
    int TabShade() const { return m_tabShade; }
    void setTabShade(int percent);
    QString Title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    TBKMode TextBKMode() const { return m_textBKMode; }
    void setTextBKMode(TBKMode mode);
    int Copies() const { return m_copies; }
    void setCopies(int copies);
    TOrientation Orientation() const { return m_orientation; }
    void setOrientation(TOrientation orientation);
    double ScaleX() const { return m_scaleX; }
    void setScaleX(double percent);
    double ScaleY() const { return m_scaleY; }
    void setScaleY(double percent);

    Event OnPrint, OnBeforePrint, OnAfterPrint, OnNewPage, OnNewColumn, OnPrintHeader, OnPrintFooter;
    TPrintPageEvent OnPrintPage;

    // Where messages of the job (no printers) are shown; none shows nothing.
    // Errors of a job (no printers, a stream that cannot be made) go to the
    // caller, which shows them; without a handler they are dropped.
    using ErrorHandler = std::function<void(const QString& text)>;
    void setErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }

    // Geometry and cursor.
    double PaperWidth() const;
    double PaperHeight() const;
    double AreaLeft() const { return out(m_areaLeft); }
    void setAreaLeft(double value);
    double AreaRight() const { return out(m_areaRight); }
    void setAreaRight(double value);
    double AreaTop() const { return out(m_areaTop); }
    void setAreaTop(double value);
    double AreaBottom() const { return out(m_areaBottom); }
    void setAreaBottom(double value);
    double XPos() const { return out(m_cursorX); }
    double YPos() const { return out(m_cursorY); }
    int LineNumber() const { return m_lineNumber; }
    double LineHeight() const { return out(m_lineHeight); }
    double FontDescent() const { return out(m_descent); }
    void MoveCursor(double x, double y);
    void ReturnHome();
    int LinesRemaining();

    // Text.
    void WriteText(const QString& text);
    void WriteTextLine(const QString& text);
    void EndTextLine();
    void WriteCenteredAt(const QString& text, double x);
    void WriteInArea(const QString& text, uint8_t alignment);
    double MeasureText(const QString& text);
    void SelectFont(const QString& name, double size);
    void SetFontBold(bool on);
    void SetFontItalic(bool on);
    void SetFontUnderline(bool on);
    void SetFontStrikeOut(bool on);
    void SetFontColor(ColorRef color);
    void SetBKColor(ColorRef color);
    const FontState& Font() const { return m_font; }

    // Brush and pen of the drawing primitives.
    void SetBrush(ColorRef color, uint8_t style);
    void SetPen(ColorRef color, uint8_t style, double widthInUnits, uint8_t mode = pmCopy);
    const BrushState& Brush() const { return m_brush; }
    const PenState& Pen() const { return m_pen; }

    // Tab stops.
    void AddTabStop(double position, uint8_t alignment, double width, int margin, uint8_t lines, int shade);
    void RemoveTabStops();
    double TabStopInnerWidth(int n) const;
    const std::vector<TabStop>& TabStops() const { return m_tabStops; }

    // Drawing primitives, in the caller's units.
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Rectangle(double x1, double y1, double x2, double y2);
    void FillRect(double x1, double y1, double x2, double y2);
    void FrameRect(double x1, double y1, double x2, double y2);
    void Ellipse(double x1, double y1, double x2, double y2);
    void RoundRect(double x1, double y1, double x2, double y2, double cornerWidth, double cornerHeight);
    void Polyline(const std::vector<std::pair<double, double>>& points);
    void Polygon(const std::vector<std::pair<double, double>>& points);
    void TextRect(double x1, double y1, double x2, double y2, double x, double y, const QString& text);
    // A picture (the bytes of a JPEG or PNG file) stretched over a rectangle.
    void StretchDraw(double x1, double y1, double x2, double y2, const QByteArray& picture);

    // Job.
    virtual void RunJob() = 0;
    void CancelJob();
    bool Cancelled() const { return m_cancelled; }
    bool Printing() const { return m_printing; }
    int PageNumber() const { return m_pageNumber; }
    void RefreshStatus();

protected:
    enum DeviceKind { dkPrinter = 0, dkPreview = 1, dkFile = 2 };
    struct Point {
        double x;
        double y;
    };

    // What the output classes provide.
    virtual DeviceKind deviceKind() const = 0;
    // The printer when one exists (none means a 96-dpi page of 8.5 by 11 inches).
    virtual PrintDevice* printDevice() const = 0;
    // The device text is measured against.
    virtual QPaintDevice* measuringDevice() = 0;
    // Places text at the cursor's baseline: centered on x, starting at x or
    // ending at x (page inches); widthDots is its width on the measuring device.
    virtual void outputText(uint8_t alignment, const QString& text, double x, int widthDots) = 0;
    // A drawing record (move to, line to, rectangles, shapes) in page inches; a and b
    // are the corner sizes of a rounded rectangle.
    virtual void shape(uint8_t code, const std::vector<Point>& points, double a = 0, double b = 0) = 0;
    // Text clipped to a rectangle, baseline-left at a point: {corner, corner, point}.
    virtual void textRect(const std::vector<Point>& points, const QString& text) = 0;
    // A picture file's bytes over a rectangle: {corner, corner}.
    virtual void stretchDraw(const std::vector<Point>& points, const QByteArray& picture) = 0;
    // Told after the font, brush, pen or a scale or background setting changed during a job.
    virtual void fontChanged() {}
    virtual void brushChanged() {}
    virtual void penChanged() {}
    virtual void scaleChanged(bool horizontal) {}
    virtual void textBKModeChanged() {}
    virtual void bkColorChanged() {}

    // The job steps shared by every output class.
    void checkPrinting() const;
    // The frame of every job: page 0, OnBeforePrint, the job when any page
    // event is assigned, and OnAfterPrint at the end whatever happened.
    void runWithJobEvents(const std::function<void()>& job);
    void checkNotPrinting() const;
    void queryDevice();
    void resetJobState();
    void startFirstPage();
    void runPages();
    void setPageNumber(int page) { m_pageNumber = page; }
    // Writes text with a writer and moves the cursor after it (page inches).
    void printText(uint8_t alignment, const QString& text, double x);
    // A 96-dpi image: the measuring device when there is no printer.
    QPaintDevice* screenReference();
    void breakPage();
    // The page's first and last moments for the output class (the filer writes its header and end).
    virtual void pageStarted() {}
    virtual void pageEnding() {}
    // The device side of a page break: advance == the printer may take a new sheet.
    virtual void newDevicePage(bool advance) {}
    bool isOutsideRange(int page) const { return page < m_firstPage || page > m_lastPage; }
    bool discarded() const { return m_discard; }
    void setPrinting(bool printing) { m_printing = printing; }
    void setCancelled(bool cancelled) { m_cancelled = cancelled; }
    void showError(const QString& text);

    // Device conversions: inches to device dots with ties to even.
    int xDots(double x) const;
    int yDots(double y) const;
    double dotsToInchesX(double dots) const;
    double dotsToInchesY(double dots) const;
    // The font as the measuring or output device sees it, in device dots.
    QFont deviceFont() const;
    const QFontMetrics& metrics();
    int textWidthDots(const QString& text);
    void fontMetricsChanged();
    void setCursorX(double x) { m_cursorX = x; }
    void setCursorY(double y) { m_cursorY = y; }
    double cursorX() const { return m_cursorX; }
    double cursorY() const { return m_cursorY; }
    double originX() const { return m_originX; }
    double originY() const { return m_originY; }
    double zoom() const { return m_zoom; }
    void setZoomValue(double zoom) { m_zoom = zoom; }
    void setDeviceOffset(int x, int y)
    {
        m_deviceOffsetX = x;
        m_deviceOffsetY = y;
    }
    double resolutionX() const { return m_resolutionX; }
    double resolutionY() const { return m_resolutionY; }
    void setResolution(double x, double y)
    {
        m_resolutionX = x;
        m_resolutionY = y;
        fontMetricsChanged();
    }
    void setStrips(double left, double right, double top, double bottom);
    // The paper in inches (the file readers take it from the report file).
    void setPaperSize(double width, double height);
    double stripLeft() const { return m_stripLeft; }
    double stripRight() const { return m_stripRight; }
    double stripTop() const { return m_stripTop; }
    double stripBottom() const { return m_stripBottom; }
    FontState& fontState() { return m_font; }
    BrushState& brushState() { return m_brush; }
    PenState& penState() { return m_pen; }
    ColorRef bkColor() const { return m_bkColor; }
    QString deviceNames(char which) const;
    void setDeviceNames(const QString& device, const QString& driver, const QString& port);
    const ErrorHandler& errorHandler() const { return m_onError; }
    // Lets pending user-interface events run (a Cancel button), at most every few milliseconds.
    void processPendingEvents();

private:
    double in(double value) const { return value / m_unitsFactor; }
    double out(double inches) const { return inches * m_unitsFactor; }
    void applyMargins();
    void refreshLineHeight();
    void resetTabState();
    void tabStep();
    void writeSegment(const QString& segment);
    void drawShape(uint8_t code, std::vector<Point> points, double a = 0, double b = 0);
    void shadeCell(double left, double top, double right, double bottom, int percent);
    void writeInCell(const QString& text, double cellLeft, double width, double margin, uint8_t alignment);
    double columnLeft() const { return (m_column - 1) * m_columnWidth + m_areaLeft; }

    int m_firstPage = 1;
    // No last page unless a caller asks for a range: a report prints every page it has.
    int m_lastPage = kNoLastPage;
    StatusLabelSink m_statusLabel;
    QString m_statusFormat = QCoreApplication::translate("engine", "Printing page %p");
    QStringList m_statusText;
    TLineHeightMethod m_lineHeightMethod = lhmLinesPerInch;
    int m_linesPerInch = 6;
    TPrintUnits m_units = unInch;
    double m_unitsFactor = 1.0;
    double m_marginLeft = 0, m_marginRight = 0, m_marginTop = 0, m_marginBottom = 0; // as given
    int m_tabShade = 0;
    QString m_title = QStringLiteral("Report Engine Report");
    TBKMode m_textBKMode = bkTransparent;
    int m_copies = 1;
    TOrientation m_orientation = poPortrait;
    double m_scaleX = 100;
    double m_scaleY = 100;
    ErrorHandler m_onError;

    // Device.
    double m_resolutionX = 300, m_resolutionY = 300;
    double m_stripLeft = 0, m_stripRight = 0, m_stripTop = 0, m_stripBottom = 0;
    double m_zoom = 100;
    int m_deviceOffsetX = 0, m_deviceOffsetY = 0;
    double m_originX = 0, m_originY = 0;
    QString m_deviceName, m_driverName, m_portName;

    double m_paperWidth = 8.5, m_paperHeight = 11.0;

    // Print area, cursor, lines and columns (inches).
    double m_areaLeft = 0, m_areaRight = 8.5, m_areaTop = 0, m_areaBottom = 11.0;
    double m_cursorX = 0, m_cursorY = 0;
    int m_lineNumber = 1;
    int m_column = 1;
    double m_columnWidth = 8.5;
    int m_columnCount = 1;
    double m_lineHeight = 1.0 / 6.0;
    double m_fontLineHeight = 1.0 / 6.0;
    double m_descent = 0;

    // Tab stops.
    std::vector<TabStop> m_tabStops;
    int m_currentStop = -1;
    bool m_inCell = false;
    bool m_restartTabs = false;
    // Box lines already drawn: the bottoms of the line above and of this line, and this line's
    // last right side. A cell's top or left side that lies on one of them is not drawn twice,
    // which keeps a boxed table's pages much shorter on paper and in a PDF.
    struct DrawnRule {
        double at, from, to;
    };
    std::vector<DrawnRule> m_bottomsAbove, m_bottomsHere;
    double m_lastRightSide = -1;
    double m_lastRightTop = 0, m_lastRightBottom = 0;
    void forgetDrawnRules();
    bool liesOnBottomAbove(double y, double left, double right) const;

    // Drawing state.
    FontState m_font;
    BrushState m_brush;
    PenState m_pen;
    ColorRef m_bkColor = kWhite;
    std::unique_ptr<QFontMetrics> m_metrics;
    // Advances of the code page's characters in the current font (device dots), filled on first use.
    std::array<double, 256> m_advances{};
    bool m_advancesKnown = false;
    std::unique_ptr<QImage> m_screenReference;

    // Job.
    int m_pageNumber = 0;
    bool m_printing = false;
    bool m_cancelled = false;
    bool m_discard = false;
    QElapsedTimer m_eventClock;
};

} // namespace engine
