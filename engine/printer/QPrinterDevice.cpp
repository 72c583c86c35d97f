#include "QPrinterDevice.h"

#include "PdfCompaction.h"
#include "ReportStream.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace engine {

QPrinterDevice::QPrinterDevice(QPrinter* printer)
    : m_printer(printer)
{
    m_printer->setFullPage(true);
}

QPrinterDevice::~QPrinterDevice()
{
    if (m_painter)
        abortDocument();
}

QString QPrinterDevice::deviceName() const { return m_printer->printerName(); }

QString QPrinterDevice::driverName() const
{
    return m_printer->outputFormat() == QPrinter::PdfFormat ? QStringLiteral("PDF") : QStringLiteral("CUPS");
}

QString QPrinterDevice::portName() const
{
    return m_printer->outputFileName().isEmpty() ? m_printer->printerName() : m_printer->outputFileName();
}

DeviceGeometry QPrinterDevice::geometry() const
{
    return geometryOf(m_printer->pageLayout(), m_printer->resolution());
}

DeviceMode QPrinterDevice::deviceMode() const
{
    DeviceMode mode;
    mode.copies = m_printer->copyCount();
    const QPageSize size = m_printer->pageLayout().pageSize();
    mode.paperSize = size.windowsId();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    mode.paperWidth = qRound(mm.width() * 10);
    mode.paperLength = qRound(mm.height() * 10);
    return mode;
}

void QPrinterDevice::setCopies(int copies)
{
    if (copies > 0)
        m_printer->setCopyCount(copies);
}

void QPrinterDevice::setOrientation(TOrientation orientation)
{
    if (orientation == poPortrait)
        m_printer->setPageOrientation(QPageLayout::Portrait);
    else if (orientation == poLandScape)
        m_printer->setPageOrientation(QPageLayout::Landscape);
}

namespace {

// QPrinter starts every printer on its own idea of a page (A4), not on the
// paper the queue is set up for: a report laid out on A4 and printed on
// Letter comes out shrunk to fit. The queue's default paper is taken instead.
void takeDefaultPaper(QPrinter& printer, const QPrinterInfo& info)
{
    const QPageSize paper = info.defaultPageSize();
    if (paper.isValid())
        printer.setPageSize(paper);
}

// The program's printer, as Printer Setup leaves it: one for the whole run.
struct PrinterSetup {
    bool chosen = false;
    QString printerName;
    QPageSize paper;
};

PrinterSetup& printerSetup()
{
    static PrinterSetup setup;
    return setup;
}

} // namespace

void keepPrinterSetup(const QPrinter& chosen)
{
    PrinterSetup& setup = printerSetup();
    setup.chosen = true;
    setup.printerName = chosen.printerName();
    setup.paper = chosen.pageLayout().pageSize();
}

void applyPrinterSetup(QPrinter& printer)
{
    const PrinterSetup& setup = printerSetup();
    if (!setup.chosen)
        return;
    if (!setup.printerName.isEmpty() && QPrinterInfo::availablePrinterNames().contains(setup.printerName))
        printer.setPrinterName(setup.printerName);
    if (setup.paper.isValid())
        printer.setPageSize(setup.paper);
}

void QPrinterDevice::selectPrinter(const QString& name)
{
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        return;
    m_printer->setPrinterName(name);
    takeDefaultPaper(*m_printer, QPrinterInfo::printerInfo(name));
}

QPaintDevice* QPrinterDevice::measuringDevice() { return m_printer; }

QPainter* QPrinterDevice::beginDocument(const QString& title)
{
    m_printer->setDocName(title);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer))
        throw EReportError(QCoreApplication::translate("engine", "The printer \"%1\" could not start the job.").arg(portName()).toStdString());
    m_painter = std::move(painter);
    return m_painter.get();
}

void QPrinterDevice::newSheet()
{
    if (m_painter)
        m_printer->newPage();
}

void QPrinterDevice::abortDocument()
{
    if (!m_painter)
        return;
    m_printer->abort();
    m_painter->end();
    m_painter.reset();
}

void QPrinterDevice::endDocument()
{
    if (!m_painter)
        return;
    const bool written = m_painter->end();
    m_painter.reset();
    if (!written)
        throw EReportError(QCoreApplication::translate("engine", "The printer \"%1\" could not finish the job.").arg(portName()).toStdString());
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
        compactPdfFile(m_printer->outputFileName());
}

std::unique_ptr<QPrinter> defaultPrinter()
{
    if (QPrinterInfo::availablePrinters().isEmpty())
        return nullptr;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    takeDefaultPaper(*printer, info);
    applyPrinterSetup(*printer);
    return printer;
}

} // namespace engine
