#pragma once

// A page device the report engine prints on: a printer, or a PDF file that
// stands in for one. The engine asks it for its resolution and page geometry,
// measures text against it and draws on the painter it hands out while a
// document is open.

#include "ReportTypes.h"

#include <QPageLayout>
#include <QString>

#include <memory>

class QPaintDevice;
class QPainter;
class QPagedPaintDevice;
class QPdfWriter;
class QTemporaryFile;

namespace engine {

// Resolution and page geometry in device dots.
struct DeviceGeometry {
    double resolutionX = 96;
    double resolutionY = 96;
    double offsetX = 0; // printable area's corner from the paper's corner
    double offsetY = 0;
    double physicalWidth = 0;
    double physicalHeight = 0;
    double printableWidth = 0;
    double printableHeight = 0;
};

// What a report file's header records of the printer's device mode.
struct DeviceMode {
    int copies = 1;
    int paperSize = 0;
    int paperWidth = 0;  // tenths of a millimetre
    int paperLength = 0; // tenths of a millimetre
};

DeviceGeometry geometryOf(const QPageLayout& layout, int resolution);

class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    virtual QString deviceName() const = 0;
    virtual QString driverName() const = 0;
    virtual QString portName() const = 0;
    virtual DeviceGeometry geometry() const = 0;
    virtual DeviceMode deviceMode() const = 0;
    virtual void setCopies(int copies) = 0;
    virtual void setOrientation(TOrientation orientation) = 0; // poDefault leaves the device's own
    virtual void selectPrinter(const QString& name) {}

    // Font metrics are taken against this device, whether a document is open or not.
    virtual QPaintDevice* measuringDevice() = 0;

    // Opens a document and returns the painter to draw its first sheet on;
    // throws EReportError when the device cannot start.
    virtual QPainter* beginDocument(const QString& title) = 0;
    virtual void newSheet() = 0;
    virtual void abortDocument() = 0;
    // Closes the document; throws EReportError when it could not be written.
    virtual void endDocument() = 0;
    virtual bool printing() const = 0;
};

// A PDF file as the printer: the whole paper is printable and positions land
// where the engine puts them. The file is written to a work file, then
// compacted into a temporary file renamed into place when the document ends;
// an aborted document leaves any earlier file untouched. A pipe or a device
// ("-" for standard output) is written directly, once the document is whole.
class PdfDevice : public PrintDevice {
public:
    explicit PdfDevice(const QString& fileName, int resolution = 1200,
                       const QPageSize& pageSize = QPageSize(QPageSize::Letter));
    ~PdfDevice() override;

    QString deviceName() const override;
    QString driverName() const override;
    QString portName() const override;
    DeviceGeometry geometry() const override;
    DeviceMode deviceMode() const override;
    void setCopies(int copies) override { m_copies = copies; }
    void setOrientation(TOrientation orientation) override;
    QPaintDevice* measuringDevice() override;
    QPainter* beginDocument(const QString& title) override;
    void newSheet() override;
    void abortDocument() override;
    void endDocument() override;
    bool printing() const override { return m_printing; }

    QString fileName() const { return m_fileName; }
    int pagesBegun() const { return m_pages; }

private:
    void writeToStream();

    QString m_fileName;
    std::unique_ptr<QTemporaryFile> m_work; // Qt's PDF, before it is compacted
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    int m_copies = 1;
    int m_pages = 0;
    bool m_printing = false;
};

} // namespace engine
