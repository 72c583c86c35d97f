#pragma once

// The report the report benchmarks record: a listing as the program's reports
// print one, boxed, six columns, 60 lines a page.
#include "TBaseReport.h"

#include <QString>

namespace bench {

// A listing as the program's reports print one: boxed, shaded header cells, six columns.
inline void listing(engine::TBaseReport& job, int pages)
{
    job.OnPrintPage = [pages](engine::TBaseReport& r, int& page) {
        const auto boxed = engine::tlLeft | engine::tlRight | engine::tlTop | engine::tlBottom;
        r.SelectFont(QStringLiteral("Arial"), 9);
        r.setMarginLeft(0.5);
        r.RemoveTabStops();
        r.AddTabStop(0.5, engine::taLeft, 2.5, 5, boxed, 0);
        r.AddTabStop(-1, engine::taLeft, 1.5, 5, boxed, 0);
        r.AddTabStop(-1, engine::taRight, 0.6, 5, boxed, 0);
        r.AddTabStop(-1, engine::taCenter, 0.8, 5, boxed, 0);
        r.AddTabStop(-1, engine::taLeft, 1.0, 5, boxed, 0);
        r.AddTabStop(-1, engine::taRight, 1.0, 5, boxed, 0);
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


} // namespace bench
