#include "PdfWords.h"

#include <QProcess>
#include <QRegularExpression>

namespace testing_support {

std::vector<PdfWord> pdfWords(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    tool.waitForFinished(30000);
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    std::vector<PdfWord> words;
    int page = 0;
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = item.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

} // namespace testing_support
