#pragma once

// The real printer behind the report engine: Qt's QPrinter on the system's
// print queues (CUPS). Kept apart from the engine core because Qt's printing
// module brings the widgets with it.

#include "PrintDevice.h"

#include <memory>

class QPrinter;

namespace engine {

class QPrinterDevice : public PrintDevice {
public:
    // Uses the given printer (not owned); its whole paper is addressed, so
    // engine positions are measured from the paper's corner.
    explicit QPrinterDevice(QPrinter* printer);
    ~QPrinterDevice() override;

    QString deviceName() const override;
    QString driverName() const override;
    QString portName() const override;
    DeviceGeometry geometry() const override;
    DeviceMode deviceMode() const override;
    void setCopies(int copies) override;
    void setOrientation(TOrientation orientation) override;
    void selectPrinter(const QString& name) override;
    QPaintDevice* measuringDevice() override;
    QPainter* beginDocument(const QString& title) override;
    void newSheet() override;
    void abortDocument() override;
    void endDocument() override;
    bool printing() const override { return m_painter != nullptr; }

private:
    QPrinter* m_printer;
    std::unique_ptr<QPainter> m_painter;
};

// The current printer: the one chosen in Printer Setup during this run of the
// program, with its paper, else the system's default printer on the paper its
// queue is set up for; none when no printers are defined.
std::unique_ptr<QPrinter> defaultPrinter();
// Keeps what the Printer Setup dialog chose (printer and paper) for the rest of the run.
void keepPrinterSetup(const QPrinter& chosen);
// Puts the kept choice on a printer (the paper always, the printer when it still exists).
void applyPrinterSetup(QPrinter& printer);

} // namespace engine
