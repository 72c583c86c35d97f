// The compaction of Qt's PDF files: the same pages, drawn and read the same
// by poppler, in fewer bytes; files of any other shape copied as they are.
#include "PdfCompaction.h"
#include "PrintDevice.h"
#include "ReportStream.h"
#include "RunCommand.h"
#include "TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

#include <string>

using namespace engine;
using testing_support::runCommand;

namespace {

// Pages as Qt writes them: a title, a box and the page's number on each.
QByteArray qtPdf(int pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("Titles 3 0 R (and more)"));
    QPainter painter(&writer);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        painter.drawText(300, 300, QStringLiteral("Films on page %1").arg(page));
        painter.drawRect(300, 400, 1500, 600);
    }
    painter.end();
    return buffer.data();
}

struct Compacted {
    PdfCompaction how;
    QByteArray bytes;
};

Compacted compact(const QByteArray& pdf)
{
    QBuffer in;
    in.setData(pdf);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const PdfCompaction how = compactPdf(in, out);
    return {how, out.data()};
}

QString saved(const testing_support::TempDir& dir, const std::string& name, const QByteArray& bytes)
{
    const QString path = QString::fromStdString(dir.file(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// What a poppler tool prints of the file (pdftotext's text, pdftoppm's image).
std::string poppler(const std::string& command, const QString& pdf)
{
    const bool toStandardOutput = command == "pdftotext";
    return runCommand(command + " '" + pdf.toStdString() + "'" + (toStandardOutput ? " -" : "") + " 2>&1");
}

bool havePoppler() { return testing_support::haveProgram("pdftotext") && testing_support::haveProgram("pdftoppm"); }

// A hand-written file: two pages with a resource dictionary each (the same
// text), an empty annotation list, a stream whose length is another object,
// and strings that hold what looks like references.
QByteArray handWritten()
{
    const char* objects[] = {
        "1 0 obj\n<<\n/Title (Costs 3 0 R \\) and \\(more)\n>>\nendobj\n",
        "2 0 obj\n<<\n/Type /Catalog\n/Pages 3 0 R\n>>\nendobj\n",
        "3 0 obj\n<<\n/Type /Pages\n/Kids [4 0 R 5 0 R]\n/Count 2\n>>\nendobj\n",
        "4 0 obj\n<<\n/Type /Page\n/Parent 3 0 R\n/Contents 8 0 R\n/Resources 6 0 R\n/Annots 10 0 R\n"
        "/MediaBox [0 0 200 100]\n>>\nendobj\n",
        "5 0 obj\n<<\n/Type /Page\n/Parent 3 0 R\n/Contents 8 0 R\n/Resources 7 0 R\n/MediaBox [0 0 200 100]\n>>\nendobj\n",
        "6 0 obj\n<<\n/Font <<\n/F1 11 0 R\n>>\n>>\nendobj\n",
        "7 0 obj\n<<\n/Font <<\n/F1 11 0 R\n>>\n>>\nendobj\n",
        "8 0 obj\n<<\n/Length 9 0 R\n>>\nstream\nBT /F1 12 Tf 20 50 Td (Hello 9 0 R) Tj ET\nendstream\nendobj\n",
        "9 0 obj\n41\nendobj\n",
        "10 0 obj\n[ ]\nendobj\n",
        "11 0 obj\n<<\n/Type /Font\n/Subtype /Type1\n/BaseFont /Helvetica\n>>\nendobj\n",
    };
    QByteArray pdf = "%PDF-1.4\n";
    std::vector<qsizetype> offsets;
    for (const char* object : objects) {
        offsets.push_back(pdf.size());
        pdf += object;
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size " + QByteArray::number(offsets.size() + 1) + "\n/Info 1 0 R\n/Root 2 0 R\n>>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace

TEST(PdfCompaction, QtsPagesKeepTheirTextAndTheirLooksInFewerBytes)
{
    const QByteArray original = qtPdf(12);
    const Compacted result = compact(original);
    ASSERT_EQ(result.how, PdfCompaction::Compacted);
    EXPECT_LT(result.bytes.size(), original.size());
    // Twelve of each become one resource dictionary, one paper size and no empty lists.
    EXPECT_EQ(original.count("/ColorSpace"), 12);
    EXPECT_EQ(result.bytes.count("/ColorSpace"), 1);
    EXPECT_EQ(result.bytes.count("/MediaBox"), 1);
    EXPECT_EQ(result.bytes.count("/Annots"), 0);
    EXPECT_EQ(result.bytes.count("/Type /Page\n"), 12);
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    testing_support::TempDir dir;
    const QString before = saved(dir, "qt.pdf", original);
    const QString after = saved(dir, "compacted.pdf", result.bytes);
    EXPECT_NE(poppler("pdfinfo", after).find("Pages:           12"), std::string::npos) << poppler("pdfinfo", after);
    EXPECT_NE(poppler("pdfinfo", after).find("Titles 3 0 R (and more)"), std::string::npos);
    EXPECT_EQ(poppler("pdftotext", after), poppler("pdftotext", before));
    EXPECT_NE(poppler("pdftotext", after).find("Films on page 12"), std::string::npos);
    for (const char* page : {"1", "7", "12"}) {
        const std::string render = std::string("pdftoppm -r 40 -png -f ") + page + " -l " + page;
        const std::string image = poppler(render, after);
        EXPECT_EQ(image.substr(1, 3), "PNG");
        EXPECT_EQ(image, poppler(render, before)) << "page " << page;
    }
}

TEST(PdfCompaction, StringsStayAsTheyAreAndSharedObjectsBecomeOne)
{
    const Compacted result = compact(handWritten());
    ASSERT_EQ(result.how, PdfCompaction::Compacted);
    const QByteArray& pdf = result.bytes;
    EXPECT_NE(pdf.indexOf("/Title (Costs 3 0 R \\) and \\(more)"), -1);
    EXPECT_NE(pdf.indexOf("(Hello 9 0 R) Tj"), -1); // stream bytes are copied
    EXPECT_NE(pdf.indexOf("/Length 41\n"), -1);
    EXPECT_EQ(pdf.count("/Font <<"), 1);
    EXPECT_EQ(pdf.count("/MediaBox [0 0 200 100]"), 1);
    EXPECT_EQ(pdf.indexOf("[ ]"), -1);
    // Eleven objects less the length, the second resource dictionary and the empty list.
    EXPECT_NE(pdf.indexOf("xref\n0 9\n"), -1);
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils are not installed";
    testing_support::TempDir dir;
    const QString path = saved(dir, "hand.pdf", pdf);
    const std::string info = poppler("pdfinfo", path);
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("Costs 3 0 R ) and (more"), std::string::npos) << info;
    EXPECT_EQ(info.find("Syntax Error"), std::string::npos) << info;
    EXPECT_NE(poppler("pdftotext", path).find("Hello 9 0 R"), std::string::npos);
}

TEST(PdfCompaction, FilesOfAnyOtherShapeAreCopiedByteForByte)
{
    const QByteArray qt = qtPdf(3);
    QByteArray updated = qt;
    updated.replace("/Root", "/Prev 0\n/Root");
    QByteArray wrongOffset = qt;
    const qsizetype firstEntry = wrongOffset.lastIndexOf("0000000000 65535 f \n") + 20;
    wrongOffset.replace(firstEntry, 10, "0000000003");
    QByteArray shortStream = handWritten();
    shortStream.replace("9 0 obj\n41\n", "9 0 obj\n30\n");
    const QByteArray shapes[] = {
        "not a PDF at all",
        "",
        qt.left(qt.size() / 2),
        updated,
        wrongOffset,
        shortStream,
    };
    for (const QByteArray& shape : shapes) {
        const Compacted result = compact(shape);
        EXPECT_EQ(result.how, PdfCompaction::Unchanged) << shape.left(40).toStdString();
        EXPECT_EQ(result.bytes, shape);
    }
}

TEST(PdfCompaction, APdfReportLeavesNoWorkFileBehind)
{
    testing_support::TempDir dir;
    const QString target = QString::fromStdString(dir.file("report.pdf"));
    {
        PdfDevice device(target, 300);
        QPainter* painter = device.beginDocument(QStringLiteral("Films"));
        painter->drawText(100, 100, QStringLiteral("Casablanca"));
        device.newSheet();
        painter->drawText(100, 100, QStringLiteral("Vertigo"));
        device.endDocument();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.pdf")});
    }
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2);
    EXPECT_EQ(bytes.count("/Annots"), 0);
    {
        // An abandoned document keeps the earlier file and leaves nothing beside it.
        PdfDevice device(target, 300);
        device.beginDocument(QStringLiteral("Films"))->drawText(100, 100, QStringLiteral("Psycho"));
        device.abortDocument();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.pdf")});
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
}

TEST(PdfCompaction, APdfThatCannotBeWrittenSaysSoBeforeAnythingIsDrawn)
{
    testing_support::TempDir dir;
    const QString target = QString::fromStdString(dir.file("missing/report.pdf"));
    PdfDevice device(target, 300);
    try {
        device.beginDocument(QStringLiteral("Films"));
        FAIL() << "a PDF in a missing folder was begun";
    } catch (const EReportError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot write the file"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("missing/report.pdf"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(device.printing());
    EXPECT_TRUE(QDir(QString::fromStdString(dir.path().string())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST(PdfCompaction, AFileIsCompactedInPlaceOrLeftAsItWas)
{
    testing_support::TempDir dir;
    const QByteArray qt = qtPdf(4);
    const QString pdf = saved(dir, "printed.pdf", qt);
    const QString other = saved(dir, "notes.pdf", "not a PDF at all");
    compactPdfFile(pdf);
    compactPdfFile(other);
    compactPdfFile(QString::fromStdString(dir.file("missing.pdf")));
    QFile compacted(pdf), unchanged(other);
    ASSERT_TRUE(compacted.open(QIODevice::ReadOnly) && unchanged.open(QIODevice::ReadOnly));
    EXPECT_EQ(compacted.readAll(), compact(qt).bytes);
    EXPECT_EQ(unchanged.readAll(), QByteArray("not a PDF at all"));
    EXPECT_EQ(QDir(QString::fromStdString(dir.path().string())).entryList(QDir::Files | QDir::Hidden).size(), 2);
}
