#pragma once

// The readers of a report file: TFilePrinter replays pages of a recorded job
// to the printer (or to a PDF file standing in for one); TFilePreview replays
// one page at a time into an image for the preview window, with zoom and page
// navigation. Both trust nothing in the stream: a damaged one ends with
// "Unexpected code found in report file."

#include "ReportStream.h"
#include "TCanvasReport.h"

#include <QImage>
#include <QPoint>
#include <QSize>

#include <memory>

namespace engine {

class TFilePrinter : public TCanvasReport {
public:
    explicit TFilePrinter(PrintDevice* printer);
    ~TFilePrinter() override;

    QString FileName;
    TStreamMode StreamMode = smMemory;
    // The owner's stream under smUser, read from its start and never freed.
    void setStream(const ReportBytes* stream) { m_userStream = stream; }

    // Replays pages first..last: first 0 means 1; last below 1 or at or past
    // the page count means the last page; copies above 0 sets Copies.
    void PrintPages(int first, int last, int copies);
    // Prints every page with the printer's copies.
    void RunJob() override;

    int PageCount() const { return m_header.pageCount; }
    int CurrentPage() const { return m_page; }
    // The current page's place in the recording: its printed number less the
    // recording's first page, plus one (a recording of pages 3 to 5 shows its
    // first page as 1). A number that does not fit the recording, as in a
    // damaged stream, counts by the page's place in the stream instead.
    int PagePosition() const;

protected:
    DeviceKind deviceKind() const override { return dkPrinter; }
    PrintDevice* printDevice() const override { return m_printer; }
    QPaintDevice* measuringDevice() override;

    // Loads the stream for its mode and reads the file header; false (after
    // the message) when it cannot be opened.
    bool openStream();
    void closeStream();
    bool streamOpen() const { return m_reader != nullptr; }
    const FileHeader& header() const { return m_header; }
    // Moves to the n-th recorded page by the page links.
    void seekPage(int n);
    const PageHeader& currentPageHeader() const { return m_pageHeader; }
    // Carries out the current page's records on the canvas, up to its page end.
    void replayPage();
    [[noreturn]] void unexpectedCode();

private:
    void readPageHeaderAt(size_t at);
    void replayRecord(uint8_t code);
    Point readPoint();
    std::vector<Point> readPoints(int count);
    QImage readGraphic();
    QString readText();

    PrintDevice* m_printer;
    const ReportBytes* m_userStream = nullptr;
    ReportBytes m_loaded;
    std::unique_ptr<StreamReader> m_reader;
    FileHeader m_header;
    size_t m_firstPageAt = 0;
    size_t m_pageAt = 0;
    PageHeader m_pageHeader;
    int m_page = 0;
};

// The scrolling container the preview draws its page into (the preview
// window's scroll box; tests give their own).
class PreviewScrollBox {
public:
    virtual ~PreviewScrollBox() = default;
    virtual QSize outerSize() const = 0;
    virtual QSize clientSize() const = 0;
    virtual int verticalScrollBarWidth() const = 0;
    virtual int horizontalScrollBarHeight() const = 0;
    virtual int screenResolution() const { return 96; }
    virtual QPoint scrollPosition() const = 0;
    virtual void setScrollPosition(QPoint position) = 0;
    virtual void setScrollRange(QSize range) = 0;
    // Shows the page image with its top-left corner at the given place.
    virtual void showPage(const QImage& page, QPoint at) = 0;
};

// A scroll box of a fixed size that keeps what the preview tells it: for
// drawing pages without a window (page images, benchmarks, tests).
class FixedScrollBox : public PreviewScrollBox {
public:
    QSize outer{1000, 800};
    QSize client{996, 796};
    int barWidth = 16;
    QPoint position;
    QSize range;
    QPoint shownAt;
    int pagesShown = 0;

    QSize outerSize() const override { return outer; }
    QSize clientSize() const override { return client; }
    int verticalScrollBarWidth() const override { return barWidth; }
    int horizontalScrollBarHeight() const override { return barWidth; }
    QPoint scrollPosition() const override { return position; }
    void setScrollPosition(QPoint p) override { position = p; }
    void setScrollRange(QSize r) override { range = r; }
    void showPage(const QImage&, QPoint at) override
    {
        shownAt = at;
        ++pagesShown;
    }
};

class TFilePreview : public TFilePrinter {
public:
    TFilePreview();

    PreviewScrollBox* ScrollBox = nullptr;
    int ZoomInc = 10;
    bool Monochrome = false;
    TMarginMethod MarginMethod = mmFixed;
    double MarginPercent = 0;
    Event OnZoomChange, OnPageChange;

    double ZoomFactor() const { return zoom(); }
    void setZoomFactor(double percent);

    void OpenPreview();
    void ClosePreview();
    void ShowPage(int n);
    void NextPage();
    void PreviousPage();
    void RedrawPage();
    void ZoomIn() { setZoomFactor(ZoomFactor() + ZoomInc); }
    void ZoomOut() { setZoomFactor(ZoomFactor() - ZoomInc); }
    double PageWidthZoom() const;
    double WholePageZoom() const;

    // The page last drawn.
    const QImage& pageImage() const { return m_image; }

protected:
    DeviceKind deviceKind() const override { return dkPreview; }
    QPaintDevice* measuringDevice() override { return &m_image; }

private:
    QImage m_image;
    QSize m_outer, m_border;
    int m_verticalBar = 0, m_horizontalBar = 0;
};

} // namespace engine
