// The report engine's figures: recording a 1,000-page report of 60 lines of
// 6 tab cells, drawing one page into a 100 % preview image, and replaying
// every page into a PDF file.
//
//   report_bench [PAGES] [PDF]     (defaults: 1000 pages, /tmp/reelkeeper-report-bench.pdf)

#include "PrintDevice.h"
#include "TFilePrinter.h"
#include "TReportFiler.h"
#include "Timing.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace engine;

namespace {

// A listing as the program's reports print one: boxed, shaded header cells, six columns.
void listing(TBaseReport& job, int pages)
{
    job.OnPrintPage = [pages](TBaseReport& r, int& page) {
        r.SelectFont(QStringLiteral("Arial"), 9);
        r.setMarginLeft(0.5);
        r.RemoveTabStops();
        r.AddTabStop(0.5, taLeft, 2.5, 5, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.AddTabStop(-1, taLeft, 1.5, 5, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.AddTabStop(-1, taRight, 0.6, 5, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.AddTabStop(-1, taCenter, 0.8, 5, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.AddTabStop(-1, taLeft, 1.0, 5, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.AddTabStop(-1, taRight, 1.0, 5, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.MoveCursor(0.5, 0.75);
        for (int line = 0; line < 60; ++line) {
            const int n = (page - 1) * 60 + line;
            r.WriteTextLine(QStringLiteral("\tThe Video Title Number %1\tDrama\t%2\tVHS\t%3\t%4.95")
                                .arg(n)
                                .arg(1950 + n % 70)
                                .arg(QStringLiteral("12/%1/1999").arg(1 + n % 28))
                                .arg(n % 100));
        }
        return page < pages;
    };
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 1000;
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/reelkeeper-report-bench.pdf");

    ReportBytes stream;
    TReportFiler filer;
    filer.StreamMode = smUser;
    filer.setStream(&stream);
    listing(filer, pages);
    auto start = bench::Clock::now();
    filer.RunJob();
    std::printf("record %d pages: %.0f ms, stream %.1f MB, peak memory %ld MB\n", pages, bench::msSince(start),
                stream.size() / 1e6, bench::peakMegabytes());

    FixedScrollBox box;
    TFilePreview preview;
    preview.ScrollBox = &box;
    preview.StreamMode = smUser;
    preview.setStream(&stream);
    preview.OpenPreview();
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        start = bench::Clock::now();
        preview.ShowPage(1 + (i * 37) % pages);
        times.push_back(bench::msSince(start));
    }
    std::sort(times.begin(), times.end());
    std::printf("preview one page at 100 %%: median %.1f ms, slowest %.1f ms\n", times[times.size() / 2], times.back());
    preview.ClosePreview();

    PdfDevice printer(pdf);
    TFilePrinter file(&printer);
    file.StreamMode = smUser;
    file.setStream(&stream);
    start = bench::Clock::now();
    file.PrintPages(0, 0, 0);
    std::printf("replay %d pages into %s: %.0f ms, peak memory %ld MB\n", pages, qPrintable(pdf), bench::msSince(start),
                bench::peakMegabytes());
    return 0;
}
