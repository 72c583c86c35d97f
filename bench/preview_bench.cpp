// The preview window's Save as PDF beside the command line's way of writing
// the same recording (a replay straight into the PDF writer), run in turn in
// one process on a listing of PAGES pages (default 5,000):
//
//   preview_bench [PAGES]
#include "PrintDevice.h"
#include "SilentPrompter.h"
#include "ReportListing.h"
#include "TFilePrinter.h"
#include "TMyPreview.h"
#include "TReportFiler.h"
#include "Timing.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>


int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 5000;
    QTemporaryDir folder;

    engine::ReportBytes stream;
    engine::TReportFiler filer;
    filer.StreamMode = engine::smUser;
    filer.setStream(&stream);
    bench::listing(filer, pages);
    filer.RunJob();

    bench::SilentPrompter prompter;
    QRect bounds;
    report_ui::TMyPreview window({prompter, bounds, [](QDialog&) { return 0; }, nullptr}, &stream, "Listing", false);
    window.show();
    QApplication::processEvents();
    std::vector<double> ratios;
    for (int run = 0; run < 3; ++run) {
        prompter.saveAs = folder.filePath("window.pdf");
        auto start = bench::Clock::now();
        window.SaveAsPdf();
        const double windowMs = bench::msSince(start);

        start = bench::Clock::now();
        engine::PdfDevice pdf(folder.filePath("direct.pdf"));
        engine::TFilePrinter printer(&pdf);
        printer.StreamMode = engine::smUser;
        printer.setStream(&stream);
        printer.PrintPages(0, 0, 0);
        const double directMs = bench::msSince(start);
        ratios.push_back(windowMs / directMs);
        std::printf("%d pages to PDF: preview's Save as PDF %.0f ms (%.0f pages/s), command line's replay %.0f ms "
                    "(%.0f pages/s)\n",
                    pages, windowMs, pages * 1000.0 / windowMs, directMs, pages * 1000.0 / directMs);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("versus preview Save as PDF / command line: median ratio %.2f, peak memory %ld MB\n", ratios[1],
                bench::peakMegabytes());
    return 0;
}
