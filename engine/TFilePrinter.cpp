#include "TFilePrinter.h"

#include "Cp1252.h"
#include "PrintDevice.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <cmath>

namespace engine {

namespace {

// Paper larger than this is damage, not a report (and would make a preview image of gigabytes).
constexpr double kLargestPaper = 48.0;

struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

int nearestEven(double value) { return static_cast<int>(std::nearbyint(value)); }

} // namespace

TFilePrinter::TFilePrinter(PrintDevice* printer)
    : m_printer(printer)
{
    queryDevice();
}

TFilePrinter::~TFilePrinter() = default;

QPaintDevice* TFilePrinter::measuringDevice() { return m_printer ? m_printer->measuringDevice() : screenReference(); }

void TFilePrinter::unexpectedCode()
{
    CancelJob();
    throw EReportError(kUnexpectedCode);
}

// ---- the stream ------------------------------------------------------------------

bool TFilePrinter::openStream()
{
    closeStream();
    const ReportBytes* bytes = nullptr;
    if (StreamMode == smUser) {
        bytes = m_userStream;
    } else {
        QFile file(FileName);
        if (!FileName.isEmpty() && file.open(QIODevice::ReadOnly)) {
            // Read in pieces, so that a large report file moves to a temporary file as it is read.
            while (!file.atEnd()) {
                const QByteArray data = file.read(qint64{1} << 20);
                if (data.isEmpty())
                    break;
                m_loaded.append(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size()));
            }
            bytes = &m_loaded;
        }
    }
    if (!bytes) {
        showError(QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(kInputStreamInitError), FileName));
        return false;
    }
    m_reader = std::make_unique<StreamReader>(*bytes);
    try {
        m_header = m_reader->fileHeader();
        if (!(m_header.paperWidth > 0 && m_header.paperWidth <= kLargestPaper && m_header.paperHeight > 0
              && m_header.paperHeight <= kLargestPaper))
            throw EReportError(kUnexpectedCode);
    } catch (...) {
        closeStream();
        throw;
    }
    m_header.pageCount = std::max(0, m_header.pageCount);
    m_firstPageAt = m_reader->position();
    m_pageAt = 0;
    m_page = 0;
    return true;
}

void TFilePrinter::closeStream()
{
    m_reader.reset();
    m_loaded.clear();
    m_header = FileHeader{};
    m_page = 0;
}

void TFilePrinter::readPageHeaderAt(size_t at)
{
    m_reader->seek(at);
    m_pageHeader = m_reader->pageHeader();
    m_pageAt = at;
}

int TFilePrinter::PagePosition() const
{
    const int64_t position = int64_t{m_pageHeader.pageNumber} - m_header.firstPage + 1;
    return position >= 1 && position <= m_header.pageCount ? static_cast<int>(position) : m_page;
}

void TFilePrinter::seekPage(int n)
{
    if (!m_reader || m_header.pageCount == 0)
        unexpectedCode();
    if (m_page == 0) {
        readPageHeaderAt(m_firstPageAt);
        m_page = 1;
    }
    // Pages are counted as they lie in the stream; a forward link must lead
    // forward and a backward one back, so a damaged link can never loop.
    while (m_page < n && m_pageHeader.next > 0) {
        const auto next = static_cast<size_t>(m_pageHeader.next);
        if (next <= m_pageAt)
            unexpectedCode();
        readPageHeaderAt(next);
        ++m_page;
    }
    while (m_page > n && m_pageHeader.previous > 0) {
        const auto previous = static_cast<size_t>(m_pageHeader.previous);
        if (previous >= m_pageAt)
            unexpectedCode();
        readPageHeaderAt(previous);
        --m_page;
    }
    readPageHeaderAt(m_pageAt);
}

TBaseReport::Point TFilePrinter::readPoint()
{
    const double x = m_reader->real();
    const double y = m_reader->real();
    return {x, y};
}

std::vector<TBaseReport::Point> TFilePrinter::readPoints(int count)
{
    std::vector<Point> points;
    points.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        points.push_back(readPoint());
    return points;
}

QImage TFilePrinter::readGraphic()
{
    m_reader->byte(); // kind: every graphic is read as an image file Qt knows
    const int32_t length = m_reader->integer();
    if (length < 0)
        unexpectedCode();
    const std::vector<uint8_t> data = m_reader->bytes(static_cast<size_t>(length));
    return QImage::fromData(data.data(), static_cast<int>(data.size()));
}

QString TFilePrinter::readText() { return QString::fromStdString(m_reader->string()); }

void TFilePrinter::replayPage()
{
    while (true) {
        const uint8_t code = m_reader->byte();
        if (code == rcEndPage) {
            flushRules();
            return;
        }
        replayRecord(code);
    }
}

void TFilePrinter::replayRecord(uint8_t code)
{
    FontState& font = fontState();
    BrushState& brush = brushState();
    PenState& pen = penState();
    auto fontDone = [this] {
        fontMetricsChanged();
        fontChanged();
    };
    auto readBrushBitmap = [&] {
        brush.hasBitmap = m_reader->byte() != 0;
        brush.bitmap = {};
        if (brush.hasBitmap) {
            brush.bitmap.kind = m_reader->byte();
            const int32_t length = m_reader->integer();
            if (length < 0)
                unexpectedCode();
            brush.bitmap.bytes = m_reader->bytes(static_cast<size_t>(length));
        }
    };
    switch (code) {
    case rcCenterText:
    case rcLeftText:
    case rcRightText: {
        setCursorY(m_reader->real());
        const QString text = readText();
        const double x = m_reader->real();
        printText(code == rcCenterText ? taCenter : code == rcLeftText ? taLeft : taRight, text, x);
        break;
    }
    case rcMoveTo:
    case rcLineTo: shape(code, readPoints(1)); break;
    case rcArc:
    case rcChord:
    case rcPie: shape(code, readPoints(4)); break;
    case rcDrawFocusRect:
    case rcFillRect:
    case rcFrameRect:
    case rcEllipse:
    case rcRectangle:
    case rcTabRectangle: shape(code, readPoints(2)); break;
    case rcRoundRect: {
        const std::vector<Point> corners = readPoints(2);
        const double w = m_reader->real();
        const double h = m_reader->real();
        shape(code, corners, w, h);
        break;
    }
    case rcPolygon:
    case rcPolyline: {
        const int32_t last = m_reader->integer();
        // Each point takes 8 bytes: a count the stream cannot hold is damage.
        if (last < 0 || static_cast<size_t>(last) >= (m_reader->remaining() / 8))
            unexpectedCode();
        shape(code, readPoints(last + 1));
        break;
    }
    case rcTextRect: {
        const std::vector<Point> points = readPoints(3);
        textRect(points, readText());
        break;
    }
    case rcBrushCopy: {
        const QImage image = readGraphic();
        const std::vector<Point> destination = readPoints(2);
        readPoints(2);
        m_reader->integer();
        drawImage(image, destination);
        break;
    }
    case rcCopyRect:
        readPoints(2);
        m_reader->integer();
        readPoints(2);
        break;
    case rcDraw: {
        const QImage image = readGraphic();
        drawImage(image, readPoints(1));
        break;
    }
    case rcFloodFill:
        readPoint();
        m_reader->integer();
        m_reader->integer();
        break;
    case rcPrintBitmap: {
        const QImage image = readGraphic();
        const Point at = readPoint();
        const double w = m_reader->real();
        const double h = m_reader->real();
        drawImage(image, {at, {at.x + w, at.y + h}});
        break;
    }
    case rcPrintBitmapRect:
    case rcStretchDraw: {
        const QImage image = readGraphic();
        drawImage(image, readPoints(2));
        break;
    }
    case rcPrintData: m_reader->string(); break; // raw printer data has no meaning to Qt's devices
    case rcSetTextBKMode: setTextBKMode(m_reader->byte() == bkOpaque ? bkOpaque : bkTransparent); break;
    case rcSetBKColor: SetBKColor(m_reader->integer()); break;
    case rcSetScaleX: setScaleX(m_reader->real()); break;
    case rcSetScaleY: setScaleY(m_reader->real()); break;
    case rcSetBrush:
        brush.color = m_reader->integer();
        brush.style = m_reader->byte();
        readBrushBitmap();
        break;
    case rcSetBrushColor: brush.color = m_reader->integer(); break;
    case rcSetBrushStyle: brush.style = m_reader->byte(); break;
    case rcSetBrushBitmap: readBrushBitmap(); break;
    case rcSetFont:
        font.name = readText();
        font.color = m_reader->integer();
        font.pitch = m_reader->byte();
        font.height = m_reader->real() * zoom() / 100.0;
        font.bold = m_reader->byte() != 0;
        font.italic = m_reader->byte() != 0;
        font.underline = m_reader->byte() != 0;
        font.strikeOut = m_reader->byte() != 0;
        fontDone();
        break;
    case rcSetFontName: font.name = readText(); fontDone(); break;
    case rcSetFontColor: font.color = m_reader->integer(); fontDone(); break;
    case rcSetFontPitch: font.pitch = m_reader->byte(); fontDone(); break;
    case rcSetFontHeight: font.height = m_reader->real() * zoom() / 100.0; fontDone(); break;
    case rcSetFontBold: font.bold = m_reader->byte() != 0; fontDone(); break;
    case rcSetFontUnderline: font.underline = m_reader->byte() != 0; fontDone(); break;
    case rcSetFontItalic: font.italic = m_reader->byte() != 0; fontDone(); break;
    case rcSetFontStrikeout: font.strikeOut = m_reader->byte() != 0; fontDone(); break;
    case rcSetPen:
        pen.color = m_reader->integer();
        pen.mode = m_reader->byte();
        pen.style = m_reader->byte();
        pen.width = m_reader->real();
        break;
    case rcSetPenColor: pen.color = m_reader->integer(); break;
    case rcSetPenMode: pen.mode = m_reader->byte(); break;
    case rcSetPenStyle: pen.style = m_reader->byte(); break;
    case rcSetPenWidth: pen.width = m_reader->real(); break;
    default: unexpectedCode(); // a header inside a page, or a code outside the table
    }
}

// ---- printing ------------------------------------------------------------------------

void TFilePrinter::RunJob() { PrintPages(0, 0, 0); }

void TFilePrinter::PrintPages(int first, int last, int copies)
{
    if (!m_printer) {
        showError(kNoPrinters);
        return;
    }
    checkNotPrinting();
    WaitCursor wait;
    if (!openStream())
        return;
    struct CloseStream {
        TFilePrinter& printer;
        ~CloseStream() { printer.closeStream(); }
    } closeAtEnd{*this};
    const FileHeader& h = m_header;
    if (!h.printer.empty())
        m_printer->selectPrinter(QString::fromStdString(h.printer));
    if (h.orientation != poDefault)
        setOrientation(static_cast<TOrientation>(h.orientation == poLandScape ? poLandScape : poPortrait));
    setCopies(std::clamp(h.copies, 1, 9999)); // a damaged count never reaches the printer
    if (copies > 0)
        setCopies(copies);
    if (first == 0)
        first = 1;
    if (last < 1 || last >= h.pageCount)
        last = h.pageCount;
    if (first < 1 || first > last)
        return; // nothing in range: no document at all
    printOnDevice(*m_printer, true, [&] {
        for (int page = first; page <= last && !Cancelled(); ++page) {
            setPageNumber(page);
            RefreshStatus();
            seekPage(page);
            if (CurrentPage() != page)
                break; // the header counts pages the stream does not hold
            if (page > first)
                m_printer->newSheet();
            replayPage();
        }
    });
}

// ---- the preview ---------------------------------------------------------------------

TFilePreview::TFilePreview()
    : TFilePrinter(nullptr)
{
}

void TFilePreview::setZoomFactor(double percent)
{
    setZoomValue(std::clamp(percent, 10.0, 200.0));
    fontMetricsChanged();
    if (OnZoomChange)
        OnZoomChange(*this);
    else if (Printing())
        RedrawPage();
}

void TFilePreview::OpenPreview()
{
    checkNotPrinting();
    if (!ScrollBox)
        throw EReportError(kNoScrollBox);
    if (OnZoomChange)
        OnZoomChange(*this);
    const int dpi = ScrollBox->screenResolution();
    setResolution(dpi, dpi);
    setStrips(0, 0, 0, 0);
    setDeviceOffset(0, 0);
    if (!openStream())
        return;
    setPaperSize(header().paperWidth, header().paperHeight);
    setPrinting(true);
    setCancelled(false);
    resetJobState();
    try {
        ShowPage(1);
    } catch (...) {
        ClosePreview();
        throw;
    }
}

void TFilePreview::ClosePreview()
{
    if (!Printing())
        throw EReportError(kNotPrinting);
    setPrinting(false);
    m_image = QImage();
    closeStream();
}

void TFilePreview::ShowPage(int n)
{
    if (!Printing())
        return;
    WaitCursor wait;
    const bool blank = PageCount() == 0; // a report without pages shows an empty sheet
    if (!blank)
        seekPage(n);
    if (OnPageChange)
        OnPageChange(*this);
    const QPoint scrolled = ScrollBox->scrollPosition();
    ScrollBox->setScrollPosition(QPoint(0, 0));
    const double paperWidth = header().paperWidth;
    const double paperHeight = header().paperHeight;
    int margin = nearestEven(resolutionX() * paperWidth * MarginPercent / 100.0);
    if (MarginMethod == mmScaled)
        margin = nearestEven(margin * zoom() / 100.0);
    const int width = nearestEven(resolutionX() * paperWidth * zoom() / 100.0);
    const int height = nearestEven(resolutionY() * paperHeight * zoom() / 100.0);
    m_image = QImage(width, height, QImage::Format_RGB32);
    if (m_image.isNull())
        throw EReportError(QCoreApplication::translate("engine", "Not enough memory to show the page.").toStdString());
    const int dotsPerMetre = qRound(resolutionX() / 0.0254);
    m_image.setDotsPerMeterX(dotsPerMetre);
    m_image.setDotsPerMeterY(qRound(resolutionY() / 0.0254));
    m_image.fill(Qt::white);
    {
        QPainter painter(&m_image);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(0, 0, width - 1, height - 1);
        painter.setRenderHint(QPainter::TextAntialiasing);
        fontMetricsChanged();
        setCanvas(&painter);
        try {
            if (!blank)
                replayPage();
        } catch (...) {
            CancelJob();
            setCanvas(nullptr);
            throw;
        }
        setCanvas(nullptr);
    }
    if (Monochrome)
        m_image = m_image.convertToFormat(QImage::Format_Mono);
    ScrollBox->showPage(m_image, QPoint(margin, margin));
    ScrollBox->setScrollPosition(scrolled);
    ScrollBox->setScrollRange(QSize(width + 2 * margin, height + 2 * margin));
}

void TFilePreview::NextPage()
{
    if (Printing() && currentPageHeader().next > 0)
        ShowPage(CurrentPage() + 1);
}

void TFilePreview::PreviousPage()
{
    if (Printing() && currentPageHeader().previous > 0)
        ShowPage(CurrentPage() - 1);
}

void TFilePreview::RedrawPage() { ShowPage(CurrentPage()); }

double TFilePreview::PageWidthZoom() const
{
    if (!ScrollBox)
        return 100;
    const double W = ScrollBox->outerSize().width();
    const double H = ScrollBox->outerSize().height();
    const double bw = W - ScrollBox->clientSize().width();
    const double bh = H - ScrollBox->clientSize().height();
    const double sv = ScrollBox->verticalScrollBarWidth();
    const double Rx = resolutionX(), Ry = resolutionY();
    const double P = header().paperWidth, Q = header().paperHeight;
    const double k = MarginPercent / 100.0;
    double a = 0;
    double c = 0;
    if (MarginMethod == mmFixed) {
        const double b = nearestEven(Rx * P * k);
        a = (W - (bw + 2 * b)) / (Rx * P);
        c = nearestEven(Rx * P * k);
    } else {
        a = (W - bw) / (Rx * P * (2 * k + 1));
        c = nearestEven(Rx * P * k * a);
    }
    if (H - bh < a * Ry * Q + 2 * c) {
        // The page will not fit vertically: leave room for the vertical scroll bar.
        if (MarginMethod == mmFixed)
            a = (W - (bw + 2 * c + sv)) / (Rx * P);
        else
            a = (W - bw - sv) / (Rx * P * (2 * k + 1));
    }
    return 100 * a;
}

double TFilePreview::WholePageZoom() const
{
    if (!ScrollBox)
        return 100;
    const double W = ScrollBox->outerSize().width();
    const double H = ScrollBox->outerSize().height();
    const double Rx = resolutionX(), Ry = resolutionY();
    const double P = header().paperWidth, Q = header().paperHeight;
    const double k = MarginPercent / 100.0;
    if (MarginMethod == mmFixed) {
        const double m = nearestEven(Rx * P * k);
        return 100 * std::min((W - 4 - 2 * m) / (Rx * P), (H - 4 - 2 * m) / (Ry * Q));
    }
    return 100 * std::min((W - 4) / (Rx * P * (2 * k + 1)), (H - 4) / (Ry * Q + Rx * P * 2 * k));
}

} // namespace engine
