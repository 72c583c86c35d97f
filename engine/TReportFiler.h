#pragma once

// Records a job into a report file instead of printing it: every output
// operation and every change of font, brush or pen becomes a coded record
// (see ReportStream.h). The state records are written only when a value
// differs from the one last written, and all of them at each page header, so
// that any page can be replayed on its own.

#include "ReportStream.h"
#include "TBaseReport.h"

#include <memory>

class QSaveFile;

namespace engine {

class TReportFiler : public TBaseReport {
public:
    // printer: the current printer, measured against; none measures on a 96-dpi screen page.
    explicit TReportFiler(PrintDevice* printer = nullptr);
    ~TReportFiler() override;

    QString FileName;
    TStreamMode StreamMode = smMemory;
    TAccuracyMethod AccuracyMethod = amAppearance;
    // How much of the recording stays in memory before it moves to a temporary file.
    size_t MemoryLimit = ReportBytes::kDefaultMemoryLimit;
    // The owner's stream under smUser: replaced by the recording, never freed by the filer.
    void setStream(ReportBytes* stream) { m_userStream = stream; }

    // The paper of a job recorded without a printer (8.5 by 11 inches unless told), in inches.
    void setPaper(double width, double height) { setPaperSize(width, height); }

    void RunJob() override;

protected:
    DeviceKind deviceKind() const override { return dkFile; }
    PrintDevice* printDevice() const override { return m_printer; }
    QPaintDevice* measuringDevice() override;
    void outputText(uint8_t alignment, const QString& text, double x, int widthDots) override;
    void shape(uint8_t code, const std::vector<Point>& points, double a = 0, double b = 0) override;
    void textRect(const std::vector<Point>& points, const QString& text) override;
    void stretchDraw(const std::vector<Point>& points, const QByteArray& picture) override;
    void fontChanged() override;
    void brushChanged() override;
    void penChanged() override;
    void scaleChanged(bool horizontal) override;
    void textBKModeChanged() override;
    void bkColorChanged() override;
    void pageStarted() override;
    void pageEnding() override;

private:
    // Records go into an open page only: never between pages, never on a discarded one.
    bool recording() const { return Printing() && !discarded() && m_inPage; }
    void point(const Point& p);
    void text(const QString& text);
    // A state record when write (or, for reals, when all or the value changed).
    void integerRecord(bool write, ReportCode code, int32_t value);
    void byteRecord(bool write, ReportCode code, uint8_t value);
    void realRecord(bool all, ReportCode code, double value, double written);
    void writeBrush(bool all);
    void writeFont(bool all);
    void writePen(bool all);
    void recorded(); // after every record: let the interface breathe
    void record();
    FileHeader fileHeader();
    bool prepareStream();
    void finishStream();

    PrintDevice* m_printer;
    StreamWriter m_writer;
    ReportBytes* m_userStream = nullptr;
    size_t m_pageCountAt = 0;
    size_t m_lastPageAt = 0;      // code byte of the last page header, 0 for none yet
    size_t m_lastNextLinkAt = 0;  // its next-page link, waiting for the next header
    int m_pageCount = 0;
    bool m_inPage = false;
    std::unique_ptr<QSaveFile> m_file;
    BrushState m_writtenBrush;
    FontState m_writtenFont;
    PenState m_writtenPen;
};

} // namespace engine
