// The report designer's layout window: how long it takes to paint the rows
// of boxes of a twelve-line definition (the Large Report), the frame budget
// of a 60 Hz screen being 16 ms.
//
//   designer_bench [PAINTS]     (default: 200)

#include "ReportDefinitions.h"
#include "Settings.h"
#include "TUserReport.h"
#include "Timing.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    report::ReportDefinition large;
    for (const report::ReportDefinition& d : report::defaultDefinitions())
        if (d.name == "Large Report")
            large = d;
    const app::Settings settings = app::Settings::defaults("/");
    report_ui::LayoutView view(large, settings);
    view.resize(900, view.minimumHeight());
    QImage target(view.size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> times;
    for (int i = 0; i < paints; ++i) {
        const auto start = bench::Clock::now();
        view.render(&target);
        times.push_back(bench::msSince(start));
    }
    std::sort(times.begin(), times.end());
    std::printf("layout window of a %d-line definition painted: median %.3f ms, worst %.3f ms (%d paints)\n",
                large.numberOfLines, times[times.size() / 2], times.back(), paints);
    return 0;
}
