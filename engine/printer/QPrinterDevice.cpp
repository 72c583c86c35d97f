#include "QPrinterDevice.h"

#include "ReportStream.h"

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

void QPrinterDevice::selectPrinter(const QString& name)
{
    if (QPrinterInfo::availablePrinterNames().contains(name))
        m_printer->setPrinterName(name);
}

QPaintDevice* QPrinterDevice::measuringDevice() { return m_printer; }

QPainter* QPrinterDevice::beginDocument(const QString& title)
{
    m_printer->setDocName(title);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_printer))
        throw EReportError(QStringLiteral("The printer \"%1\" could not start the job.").arg(portName()).toStdString());
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
        throw EReportError(QStringLiteral("The printer \"%1\" could not finish the job.").arg(portName()).toStdString());
}

std::unique_ptr<QPrinter> defaultPrinter()
{
    if (QPrinterInfo::availablePrinters().isEmpty())
        return nullptr;
    return std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
}

} // namespace engine
