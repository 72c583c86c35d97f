#pragma once

#include <QString>

#include <vector>

namespace testing_support {

struct PdfWord {
    int page;
    QString text;
    double xMin, yMin, xMax, yMax; // points from the page's top-left corner
};

// The words of a PDF with their boxes, as poppler's pdftotext -bbox reports them.
std::vector<PdfWord> pdfWords(const QString& pdf);

} // namespace testing_support
