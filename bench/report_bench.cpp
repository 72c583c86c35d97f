// The report engine's figures: recording a 1,000-page report of 60 lines of
// 6 tab cells, drawing one page into a 100 % preview image, and replaying
// every page into a PDF file.
//
//   report_bench [PAGES] [PDF]     (defaults: 1000 pages, /tmp/reelkeeper-report-bench.pdf)

#include "PrintDevice.h"
#include "ReportListing.h"
#include "TFilePrinter.h"
#include "TReportFiler.h"
#include "Timing.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace engine;


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
    bench::listing(filer, pages);
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
