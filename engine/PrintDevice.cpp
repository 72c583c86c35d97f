#include "PrintDevice.h"

#include "PdfCompaction.h"
#include "ReportStream.h"

#include "FileIO.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

#include <stdexcept>
#include <unistd.h>

namespace engine {

DeviceGeometry geometryOf(const QPageLayout& layout, int resolution)
{
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    DeviceGeometry g;
    g.resolutionX = resolution;
    g.resolutionY = resolution;
    g.offsetX = paint.left() - full.left();
    g.offsetY = paint.top() - full.top();
    g.physicalWidth = full.width();
    g.physicalHeight = full.height();
    g.printableWidth = paint.width();
    g.printableHeight = paint.height();
    return g;
}

namespace {

QString cannotWrite(const QString& fileName, const QString& why)
{
    return QCoreApplication::translate("engine", "Cannot write the file \"%1\": %2").arg(fileName, why);
}

// Qt's PDF goes beside the destination, on the same disk, as the work file
// is about as large as the PDF; a pipe or a device has no folder of its own
// for it, and it goes to the temporary folder.
QString workFileFor(const QString& fileName)
{
    const QString pattern = QStringLiteral("/.reelkeeper-XXXXXX.pdf");
    if (db::isStreamDestination(fileName.toStdString()))
        return QDir::tempPath() + pattern;
    return QFileInfo(fileName).absolutePath() + pattern;
}

// The destination, written directly: standard output for "-", else the pipe or device.
bool openStream(QFile& file, const QString& fileName)
{
    if (fileName == QLatin1String("-"))
        return file.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
    file.setFileName(fileName);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

PdfDevice::PdfDevice(const QString& fileName, int resolution, const QPageSize& pageSize)
    : m_fileName(fileName)
    , m_work(std::make_unique<QTemporaryFile>(workFileFor(fileName)))
    , m_writer(std::make_unique<QPdfWriter>(m_work.get()))
{
    m_writer->setResolution(resolution);
    m_writer->setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    m_writer->setCreator(QStringLiteral("Reelkeeper Videos"));
}

PdfDevice::~PdfDevice()
{
    if (m_printing)
        abortDocument();
}

QString PdfDevice::deviceName() const { return QStringLiteral("PDF file"); }
QString PdfDevice::driverName() const { return QStringLiteral("PDF"); }
QString PdfDevice::portName() const { return m_fileName; }

DeviceGeometry PdfDevice::geometry() const { return geometryOf(m_writer->pageLayout(), m_writer->resolution()); }

DeviceMode PdfDevice::deviceMode() const
{
    DeviceMode mode;
    mode.copies = m_copies;
    const QSizeF mm = m_writer->pageLayout().pageSize().size(QPageSize::Millimeter);
    mode.paperWidth = qRound(mm.width() * 10);
    mode.paperLength = qRound(mm.height() * 10);
    return mode;
}

void PdfDevice::setOrientation(TOrientation orientation)
{
    if (orientation == poPortrait)
        m_writer->setPageOrientation(QPageLayout::Portrait);
    else if (orientation == poLandScape)
        m_writer->setPageOrientation(QPageLayout::Landscape);
}

QPaintDevice* PdfDevice::measuringDevice() { return m_writer.get(); }

QPainter* PdfDevice::beginDocument(const QString& title)
{
    if (!m_work->open())
        throw EReportError(cannotWrite(m_fileName, m_work->errorString()).toStdString());
    m_writer->setTitle(title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        m_work->close();
        m_painter.reset();
        throw EReportError(QCoreApplication::translate("engine", "Cannot write the file \"%1\".").arg(m_fileName).toStdString());
    }
    m_printing = true;
    m_pages = 1;
    return m_painter.get();
}

void PdfDevice::newSheet()
{
    if (m_printing && m_writer->newPage())
        ++m_pages;
}

void PdfDevice::abortDocument()
{
    if (!m_printing)
        return;
    m_painter->end();
    m_painter.reset();
    m_work->remove(); // any earlier file stays as it was
    m_printing = false;
}

void PdfDevice::endDocument()
{
    if (!m_printing)
        return;
    m_printing = false;
    m_painter->end();
    m_painter.reset();
    // Qt's PDF is written to the work file, then compacted into the destination.
    if (!m_work->flush() || m_work->error() != QFileDevice::NoError)
        throw EReportError(cannotWrite(m_fileName, m_work->errorString()).toStdString());
    if (db::isStreamDestination(m_fileName.toStdString())) {
        writeToStream();
        return;
    }
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EReportError(cannotWrite(m_fileName, file.errorString()).toStdString());
    try {
        compactPdf(*m_work, file);
    } catch (const std::runtime_error& error) {
        file.cancelWriting();
        throw EReportError(cannotWrite(m_fileName, QString::fromStdString(error.what())).toStdString());
    }
    if (!file.commit())
        throw EReportError(cannotWrite(m_fileName, file.errorString()).toStdString());
    m_work->remove();
}

void PdfDevice::writeToStream()
{
    QFile file;
    const auto fail = [&](const QString& why) {
        m_work->remove();
        throw EReportError(cannotWrite(m_fileName, why).toStdString());
    };
    if (!openStream(file, m_fileName))
        fail(file.errorString());
    try {
        compactPdf(*m_work, file);
    } catch (const std::runtime_error& error) {
        fail(QString::fromStdString(error.what()));
    }
    if (!file.flush() || file.error() != QFileDevice::NoError)
        fail(file.errorString());
    m_work->remove();
}

} // namespace engine
