// Printing for real: jobs and recorded reports printed into PDF files (the
// stand-in printer) and checked with poppler's pdftotext, and the preview's
// page images.
#include "PrintDevice.h"
#include "QPrinterDevice.h"
#include "ReportStream.h"
#include "PdfWords.h"
#include "ScriptedPrompter.h"
#include "TCanvasReport.h"
#include "TFilePrinter.h"
#include "TReportFiler.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QFontInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <functional>

using namespace engine;

namespace {

using Word = testing_support::PdfWord;

std::vector<Word> wordsOf(const QString& pdf) { return testing_support::pdfWords(pdf); }

int pagesOf(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(file.readAll().count("/Type /Page\n"));
}

const Word* find(const std::vector<Word>& words, const QString& text)
{
    for (const Word& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

class ReportReaders : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    QString pdf(const QString& name) const { return QString::fromStdString(dir.file(name.toStdString())); }

    // Three pages, each with its number at one inch from the left, two inches down.
    static void threePages(TBaseReport& job)
    {
        job.OnPrintPage = [](TBaseReport& r, int& page) {
            r.SelectFont(QStringLiteral("Arial"), 12);
            r.MoveCursor(1, 2);
            r.WriteText(QStringLiteral("Page%1").arg(page));
            return page < 3;
        };
    }

    ReportBytes recordThreePages()
    {
        TReportFiler filer;
        ReportBytes stream;
        filer.StreamMode = smUser;
        filer.setStream(&stream);
        threePages(filer);
        filer.RunJob();
        return stream;
    }

    // A job whose OnPrint is print, recorded as a report file.
    static ReportBytes recordJob(const std::function<void(TBaseReport&)>& print)
    {
        TReportFiler filer;
        ReportBytes stream;
        filer.StreamMode = smUser;
        filer.setStream(&stream);
        filer.OnPrint = print;
        filer.RunJob();
        return stream;
    }

    // Replays every page of a recording into a PDF file of this name.
    void printAll(const ReportBytes& stream, const QString& name) const
    {
        PdfDevice printer(pdf(name));
        TFilePrinter file(&printer);
        file.StreamMode = smUser;
        file.setStream(&stream);
        file.PrintPages(0, 0, 0);
    }

    static void showIn(TFilePreview& preview, FixedScrollBox& box, const ReportBytes& stream)
    {
        preview.ScrollBox = &box;
        preview.StreamMode = smUser;
        preview.setStream(&stream);
    }

    testing_support::TempDir dir;
    testing_support::ScriptedPrompter prompter;
};

} // namespace

TEST_F(ReportReaders, WithoutPrintersNothingIsPrinted)
{
    TReportPrinter job(nullptr);
    job.setErrorHandler(testing_support::showTo(prompter));
    bool ran = false;
    job.OnPrint = [&](TBaseReport&) { ran = true; };
    job.RunJob();
    EXPECT_FALSE(ran);
    TFilePrinter file(nullptr);
    file.setErrorHandler(testing_support::showTo(prompter));
    file.PrintPages(0, 0, 0);
    EXPECT_EQ(prompter.messageTexts(), QStringList({"No printers are defined, aborting print job.",
                                                    "No printers are defined, aborting print job."}));
    EXPECT_DOUBLE_EQ(job.PaperWidth(), 8.5);
}

TEST_F(ReportReaders, APrinterJobPutsTextWhereTheEngineSays)
{
    PdfDevice printer(pdf("job.pdf"));
    TReportPrinter job(&printer);
    try {
        job.Canvas();
        ADD_FAILURE() << "a canvas outside a job";
    } catch (const EReportError& e) {
        EXPECT_STREQ(e.what(), "Error!  Canvas not yet active.");
    }
    job.setTitle(QStringLiteral("Videos by title"));
    threePages(job);
    job.RunJob();
    EXPECT_FALSE(job.Printing());
    EXPECT_EQ(pagesOf(pdf("job.pdf")), 3);
    const auto words = wordsOf(pdf("job.pdf"));
    const Word* second = find(words, QStringLiteral("Page2"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->page, 2);
    EXPECT_NEAR(second->xMin, 72, 0.5);
    EXPECT_GT(second->yMax, 144 - 12); // the baseline lies two inches down
    EXPECT_LT(second->yMin, 144);
    // Arial resolves to its metric twin, so that layouts hold.
    QFont arial(QStringLiteral("Arial"));
    EXPECT_EQ(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
}

TEST_F(ReportReaders, APageRangeReachesThePrinterAlone)
{
    PdfDevice printer(pdf("range.pdf"));
    TReportPrinter job(&printer);
    job.setFirstPage(2);
    job.setLastPage(2);
    threePages(job);
    job.RunJob();
    EXPECT_EQ(pagesOf(pdf("range.pdf")), 1);
    const auto words = wordsOf(pdf("range.pdf"));
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].text, QStringLiteral("Page2"));
}

TEST_F(ReportReaders, ARecordedJobReplaysIntoAPdfWithItsTextsInPlace)
{
    const auto stream = recordThreePages();
    printAll(stream, "all.pdf");
    EXPECT_EQ(pagesOf(pdf("all.pdf")), 3);
    const auto words = wordsOf(pdf("all.pdf"));
    ASSERT_EQ(words.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(words[i].page, i + 1);
        EXPECT_EQ(words[i].text, QStringLiteral("Page%1").arg(i + 1));
        EXPECT_NEAR(words[i].xMin, 72, 0.5);
    }

    PdfDevice some(pdf("some.pdf"));
    TFilePrinter part(&some);
    part.StreamMode = smUser;
    part.setStream(&stream);
    part.PrintPages(2, 99, 2);
    EXPECT_EQ(part.Copies(), 2);
    const auto partWords = wordsOf(pdf("some.pdf"));
    ASSERT_EQ(partWords.size(), 2u);
    EXPECT_EQ(partWords[0].text, QStringLiteral("Page2"));
    EXPECT_EQ(partWords[1].text, QStringLiteral("Page3"));

    PdfDevice none(pdf("none.pdf"));
    TFilePrinter nothing(&none);
    nothing.StreamMode = smUser;
    nothing.setStream(&stream);
    nothing.PrintPages(5, 2, 1);
    EXPECT_FALSE(QFile::exists(pdf("none.pdf")));
}

TEST_F(ReportReaders, ALargeRecordingMovesToATemporaryFileAndReplaysTheSame)
{
    const ReportBytes inMemory = recordThreePages();
    // The temporary file is unlinked as soon as it is made: its folder stays empty.
    const bool hadTemp = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray oldTemp = qgetenv("TMPDIR");
    const QString temp = QString::fromStdString(dir.file("tmp"));
    QDir().mkpath(temp);
    qputenv("TMPDIR", temp.toLocal8Bit());
    TReportFiler filer;
    filer.MemoryLimit = 64;
    ReportBytes spilled;
    filer.StreamMode = smUser;
    filer.setStream(&spilled);
    threePages(filer);
    filer.RunJob();
    if (hadTemp)
        qputenv("TMPDIR", oldTemp);
    else
        qunsetenv("TMPDIR"); // an empty one would name no folder at all
    EXPECT_TRUE(spilled.spilled());
    EXPECT_TRUE(QDir(temp).isEmpty());
    EXPECT_EQ(spilled.toVector(), inMemory.toVector()); // the page links patched in the file as in memory

    printAll(spilled, "spilled.pdf");
    const auto words = wordsOf(pdf("spilled.pdf"));
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[2].text, QStringLiteral("Page3"));

    TFilePreview fromFile, fromMemory;
    FixedScrollBox fileBox, memoryBox;
    showIn(fromFile, fileBox, spilled);
    showIn(fromMemory, memoryBox, inMemory);
    fromFile.OpenPreview();
    fromMemory.OpenPreview();
    fromFile.ShowPage(3);
    fromMemory.ShowPage(3);
    EXPECT_EQ(fromFile.pageImage(), fromMemory.pageImage());
}

TEST_F(ReportReaders, AHeaderThatCountsTooManyPagesPrintsThePagesThereAre)
{
    auto stream = recordThreePages();
    StreamWriter patch;
    patch.bytes() = std::move(stream);
    patch.patchInteger(1, 1000000000); // the file header's page count
    printAll(patch.bytes(), "overcounted.pdf");
    EXPECT_EQ(pagesOf(pdf("overcounted.pdf")), 3);
}

TEST_F(ReportReaders, AReportFileOnDiskReplaysAndAMissingOneIsNamed)
{
    TReportFiler filer;
    filer.StreamMode = smMemory;
    filer.FileName = QString::fromStdString(dir.file("report.rpt"));
    threePages(filer);
    filer.RunJob();
    ASSERT_TRUE(QFile::exists(filer.FileName));

    PdfDevice printer(pdf("fromfile.pdf"));
    TFilePrinter file(&printer);
    file.StreamMode = smFile;
    file.FileName = filer.FileName;
    file.RunJob();
    EXPECT_EQ(pagesOf(pdf("fromfile.pdf")), 3);

    file.FileName = QString::fromStdString(dir.file("missing.rpt"));
    file.setErrorHandler(testing_support::showTo(prompter));
    file.PrintPages(0, 0, 0);
    EXPECT_EQ(prompter.messageTexts(),
              QStringList{QStringLiteral("Error initializing input stream \"%1\"").arg(file.FileName)});
}

TEST_F(ReportReaders, ADamagedStreamIsRefusedAndLeavesNoPdf)
{
    const auto good = recordThreePages().toVector();
    const auto pages = pagePositions(ReportBytes(good));
    auto refuse = [&](std::vector<uint8_t> badBytes, const char* what) {
        const ReportBytes bad(std::move(badBytes));
        SCOPED_TRACE(what);
        const QString name = pdf(QString::fromLatin1(what) + ".pdf");
        PdfDevice printer(name);
        TFilePrinter file(&printer);
        file.StreamMode = smUser;
        file.setStream(&bad);
        try {
            file.PrintPages(0, 0, 0);
            ADD_FAILURE() << "no error";
        } catch (const EReportError& e) {
            EXPECT_STREQ(e.what(), "Unexpected code found in report file.");
        }
        EXPECT_TRUE(file.Cancelled());
        EXPECT_FALSE(file.Printing());
        EXPECT_FALSE(QFile::exists(name));
    };
    refuse({good.begin(), good.begin() + static_cast<long>(pages[1]) - 3}, "cut in the first page");
    auto unknown = good;
    unknown[pages[1] - 1] = 99; // the first page's end becomes a code outside the table
    refuse(unknown, "code outside the table");
    StreamWriter patch;
    patch.bytes() = ReportBytes(good);
    patch.patchInteger(pages[0] + 5, static_cast<int32_t>(pages[0]));
    refuse(patch.bytes().toVector(), "link back to its own page");
    patch.patchInteger(pages[0] + 5, static_cast<int32_t>(good.size() + 100));
    refuse(patch.bytes().toVector(), "link outside the stream");

    // A page of one bad record each.
    auto onePage = [](const std::function<void(StreamWriter&)>& record) {
        StreamWriter w;
        FileHeader header;
        header.pageCount = 1;
        w.fileHeader(header);
        w.pageHeader({0, 0, 1, 0});
        record(w);
        w.code(rcEndPage);
        return w.bytes().toVector();
    };
    refuse(onePage([](StreamWriter& w) {
               w.code(rcPolygon);
               w.integer(-1);
           }),
           "negative polygon count");
    refuse(onePage([](StreamWriter& w) {
               w.code(rcPolyline);
               w.integer(1 << 28);
           }),
           "polygon count past the end");
    refuse(onePage([](StreamWriter& w) {
               w.code(rcLeftText);
               w.real(1);
               w.byte(200); // a string of 200 characters in a stream that ends sooner
               w.byte('x');
           }),
           "string past the end");
    refuse(onePage([](StreamWriter& w) { w.pageHeader({0, 0, 2, 0}); }), "page header inside a page");
}

TEST_F(ReportReaders, ThePreviewDrawsOnePageAtATimeAndFollowsTheLinks)
{
    const auto stream = recordThreePages();
    TFilePreview preview;
    EXPECT_THROW(preview.OpenPreview(), EReportError);
    FixedScrollBox box;
    box.position = {5, 7};
    showIn(preview, box, stream);
    preview.MarginPercent = 2.5;
    int pageChanges = 0;
    preview.OnPageChange = [&](TBaseReport&) { ++pageChanges; };
    preview.OpenPreview();
    EXPECT_EQ(preview.PageCount(), 3);
    EXPECT_EQ(preview.CurrentPage(), 1);
    EXPECT_EQ(preview.pageImage().size(), QSize(816, 1056));
    EXPECT_EQ(box.shownAt, QPoint(20, 20)); // 2.5 % of 8.5 inches at 96 dpi
    EXPECT_EQ(box.range, QSize(856, 1096));
    EXPECT_EQ(box.position, QPoint(5, 7)); // the scroll position survives a redraw

    // The text sits one inch in, its baseline two inches down.
    const QImage& page = preview.pageImage();
    bool inked = false;
    for (int x = 96; x < 140 && !inked; ++x)
        for (int y = 180; y < 192 && !inked; ++y)
            inked = qGray(page.pixel(x, y)) < 128;
    EXPECT_TRUE(inked);

    preview.NextPage();
    preview.NextPage();
    EXPECT_EQ(preview.CurrentPage(), 3);
    preview.NextPage(); // on the last page: nothing
    EXPECT_EQ(preview.CurrentPage(), 3);
    preview.PreviousPage();
    EXPECT_EQ(preview.CurrentPage(), 2);
    EXPECT_EQ(pageChanges, 4);

    preview.setZoomFactor(5);
    EXPECT_EQ(preview.ZoomFactor(), 10);
    preview.setZoomFactor(250);
    EXPECT_EQ(preview.ZoomFactor(), 200);
    EXPECT_EQ(preview.pageImage().size(), QSize(1632, 2112));
    EXPECT_EQ(preview.CurrentPage(), 2);
    preview.ZoomOut();
    EXPECT_EQ(preview.ZoomFactor(), 190);
    preview.Monochrome = true;
    preview.RedrawPage();
    EXPECT_EQ(preview.pageImage().format(), QImage::Format_Mono);

    preview.ClosePreview();
    EXPECT_FALSE(preview.Printing());
    EXPECT_THROW(preview.ClosePreview(), EReportError);
}

TEST_F(ReportReaders, AReportWithoutPagesPreviewsAsAnEmptySheet)
{
    TReportFiler filer;
    ReportBytes stream;
    filer.StreamMode = smUser;
    filer.setStream(&stream);
    filer.setFirstPage(5);
    filer.OnPrint = [](TBaseReport& r) { r.WriteText("on page 1 only"); };
    filer.RunJob();
    TFilePreview preview;
    FixedScrollBox box;
    showIn(preview, box, stream);
    preview.OpenPreview();
    EXPECT_EQ(preview.PageCount(), 0);
    EXPECT_EQ(preview.pageImage().size(), QSize(816, 1056));
    preview.NextPage();
    preview.ClosePreview();
}

TEST_F(ReportReaders, ZoomToFitFollowsTheScrollBoxAndTheMarginMethod)
{
    const auto stream = recordThreePages();
    TFilePreview preview;
    FixedScrollBox box;
    showIn(preview, box, stream);
    preview.MarginPercent = 2.5;
    preview.OpenPreview();
    // Fixed margins: b = c = round(96 * 8.5 * 0.025) = 20; the page at that width is
    // taller than the box, so the vertical bar's 16 dots are left free too.
    EXPECT_NEAR(preview.PageWidthZoom(), 100 * (1000 - (4 + 40 + 16)) / 816.0, 1e-9);
    EXPECT_NEAR(preview.WholePageZoom(), 100 * std::min((1000 - 4 - 40) / 816.0, (800 - 4 - 40) / 1056.0), 1e-9);
    preview.MarginMethod = mmScaled;
    EXPECT_NEAR(preview.PageWidthZoom(), 100 * (1000 - 4 - 16) / (816 * 1.05), 1e-9);
    EXPECT_NEAR(preview.WholePageZoom(), 100 * std::min(996 / (816 * 1.05), 796 / (1056 + 816 * 0.05)), 1e-9);
    preview.ClosePreview();
}

TEST_F(ReportReaders, AShadedCellShowsItsGrayInThePreview)
{
    const ReportBytes stream = recordJob([](TBaseReport& r) {
        r.setTabShade(20);
        r.MoveCursor(0, 2);
        r.AddTabStop(1, taLeft, 2, 0, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.WriteText("\t");
    });
    TFilePreview preview;
    FixedScrollBox box;
    showIn(preview, box, stream);
    preview.OpenPreview();
    const QImage& page = preview.pageImage();
    EXPECT_EQ(qGray(page.pixel(192, 185)), 204); // inside the cell
    EXPECT_EQ(qGray(page.pixel(96, 185)), 0);    // its left line
    EXPECT_EQ(qGray(page.pixel(192, 100)), 255); // above it
    preview.ClosePreview();
}

TEST_F(ReportReaders, BoxedRowsShowEveryLineTheyShare)
{
    const ReportBytes stream = recordJob([](TBaseReport& r) {
        r.MoveCursor(0, 2);
        r.AddTabStop(1, taLeft, 1, 0, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.AddTabStop(2, taLeft, 1, 0, tlLeft | tlRight | tlTop | tlBottom, 0);
        for (int row = 0; row < 2; ++row) {
            r.WriteText("\t\t");
            r.EndTextLine();
        }
    });
    TFilePreview preview;
    FixedScrollBox box;
    showIn(preview, box, stream);
    preview.OpenPreview();
    const QImage& page = preview.pageImage();
    const auto darkestAcross = [&](int x0, int x1, int y) { // the darkest pixel of a short run
        int darkest = 255;
        for (int x = x0; x <= x1; ++x)
            darkest = std::min(darkest, qGray(page.pixel(x, y)));
        return darkest;
    };
    const auto darkestDown = [&](int x, int y0, int y1) {
        int darkest = 255;
        for (int y = y0; y <= y1; ++y)
            darkest = std::min(darkest, qGray(page.pixel(x, y)));
        return darkest;
    };
    // At 96 dots an inch the sides stand at 1, 2 and 3 in; the rules at the rows' tops and bottoms.
    for (const int x : {96, 192, 288})
        for (const int y : {187, 203})
            EXPECT_EQ(darkestAcross(x - 2, x + 2, y), 0) << "a side at " << x << ", " << y;
    for (const int y : {179, 195, 211})
        for (const int x : {140, 240})
            EXPECT_EQ(darkestDown(x, y - 2, y + 2), 0) << "a rule at " << x << ", " << y;
    preview.ClosePreview();
}

// The page contents of a PDF as Qt writes them (each stream deflated).
QByteArray pageContents(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QByteArray contents;
    for (qsizetype at = bytes.indexOf("stream\n"); at >= 0; at = bytes.indexOf("stream\n", at + 1)) {
        const qsizetype start = at + 7;
        const qsizetype end = bytes.indexOf("endstream", start);
        if (end < 0)
            break;
        const qsizetype dictionary = bytes.lastIndexOf("<<", at);
        if (bytes.mid(dictionary, at - dictionary).indexOf("/FlateDecode") < 0) {
            at = end;
            continue;
        }
        // qUncompress wants the size first; a generous guess is enough.
        QByteArray packed(4, '\0');
        const quint32 guess = static_cast<quint32>((end - start) * 100 + 1024);
        for (int i = 0; i < 4; ++i)
            packed[i] = static_cast<char>((guess >> (24 - 8 * i)) & 0xFF);
        packed += bytes.mid(start, end - start);
        const QByteArray stream = qUncompress(packed);
        if (stream.contains("BT\n"))
            contents += stream;
        at = end;
    }
    return contents;
}

// The rules of neighbouring cells and rows are drawn as one line each: forty
// boxed rows of three cells are 41 rules across and 4 down, not 200 pieces.
TEST_F(ReportReaders, BoxedRowsAreDrawnWithOneLinePerRule)
{
    constexpr int kRows = 40;
    const ReportBytes stream = recordJob([](TBaseReport& r) {
        r.MoveCursor(0, 1);
        for (int stop = 1; stop <= 3; ++stop)
            r.AddTabStop(stop, taLeft, 1, 0, tlLeft | tlRight | tlTop | tlBottom, 0);
        for (int row = 0; row < kRows; ++row) {
            r.WriteText(QStringLiteral("\tR%1\tmiddle\tend").arg(row));
            r.EndTextLine();
        }
    });
    printAll(stream, "boxes.pdf");
    const QByteArray contents = pageContents(pdf("boxes.pdf"));
    ASSERT_FALSE(contents.isEmpty());
    static const QRegularExpression line(R"((\S+) (\S+) m\n(\S+) (\S+) l\n)");
    int across = 0, down = 0;
    for (auto it = line.globalMatch(QString::fromLatin1(contents)); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == m.captured(4))
            ++across;
        else if (m.captured(1) == m.captured(3))
            ++down;
    }
    EXPECT_EQ(across, kRows + 1);
    EXPECT_EQ(down, 4);
    const auto words = wordsOf(pdf("boxes.pdf"));
    for (const QString& text : {QStringLiteral("R0"), QStringLiteral("R39"), QStringLiteral("middle")})
        EXPECT_NE(find(words, text), nullptr) << text.toStdString();
}

// Rules wait to be drawn together, but never over what came after them and
// covers them, and never in another's color: a red text on an opaque
// background after a black box stays red, its background over the box.
TEST_F(ReportReaders, ATextAfterBoxRulesKeepsItsColorAndItsBackground)
{
    const ReportBytes stream = recordJob([](TBaseReport& r) {
        r.SelectFont(QStringLiteral("Arial"), 24);
        r.MoveCursor(0, 2);
        r.AddTabStop(1, taLeft, 2, 0, tlLeft | tlRight | tlTop | tlBottom, 0);
        r.WriteText(QStringLiteral("\t"));
        r.EndTextLine();
        r.SetFontColor(0x0000FF); // red
        r.setTextBKMode(bkOpaque);
        r.MoveCursor(0.9, 2);
        r.WriteText(QStringLiteral("WWWW"));
    });
    TFilePreview preview;
    FixedScrollBox box;
    showIn(preview, box, stream);
    preview.OpenPreview();
    const QImage& page = preview.pageImage();
    int red = 0, black = 0;
    // At 96 dots an inch the text's background spans about 86 to 207 across
    // and 168 to 194 down, over the box's top and left rules (at 183 and 96).
    for (int y = 160; y < 195; ++y)
        for (int x = 90; x < 200; ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            black += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 20) << "the text is red";
    EXPECT_EQ(black, 0) << "the box's rules under the text's background do not show through";
    preview.ClosePreview();
}

TEST_F(ReportReaders, QtsPrinterPrintsTheJobLikeThePdfDevice)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf("qprinter.pdf"));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    QPrinterDevice device(&printer);
    TReportPrinter job(&device);
    EXPECT_NEAR(job.PaperWidth(), 8.5, 1e-9);
    EXPECT_NEAR(job.PaperHeight(), 11.0, 1e-9);
    threePages(job);
    job.setFirstPage(2);
    job.RunJob();
    const auto words = wordsOf(pdf("qprinter.pdf"));
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].text, QStringLiteral("Page2"));
    EXPECT_NEAR(words[0].xMin, 72, 0.5);
    EXPECT_EQ(words[1].page, 2);

    // Landscape turns the page the engine measures.
    job.setOrientation(poLandScape);
    EXPECT_NEAR(job.PaperWidth(), 11.0, 1e-9);
    EXPECT_EQ(device.deviceMode().paperSize, 1); // the Windows code of Letter

    // Without a print server there is no printer at all.
    EXPECT_EQ(defaultPrinter() == nullptr, QPrinterInfo::availablePrinters().isEmpty());
}

TEST_F(ReportReaders, CancellingFromTheStatusWindowAbortsTheDocument)
{
    PdfDevice printer(pdf("cancelled.pdf"));
    TReportPrinter job(&printer);
    job.setStatusLabel([&job](const QString& caption) {
        if (caption == QStringLiteral("Printing page 2"))
            job.CancelJob(); // the status window's Cancel button, served while the label is refreshed
    });
    int pages = 0;
    job.OnPrintPage = [&](TBaseReport& r, int& page) {
        ++pages;
        r.WriteText(QStringLiteral("page %1").arg(page));
        return page < 5;
    };
    job.RunJob();
    EXPECT_EQ(pages, 2);
    EXPECT_TRUE(job.Cancelled());
    EXPECT_FALSE(job.Printing());
    EXPECT_FALSE(QFile::exists(pdf("cancelled.pdf")));
}

TEST_F(ReportReaders, APrinterThatCannotWriteSaysWhichFile)
{
    PdfDevice printer(QStringLiteral("/nonexistent-folder/report.pdf"));
    TReportPrinter job(&printer);
    int after = 0;
    job.OnAfterPrint = [&](TBaseReport&) { ++after; };
    threePages(job);
    try {
        job.RunJob();
        ADD_FAILURE() << "no error";
    } catch (const EReportError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/report.pdf"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(job.Printing());
    EXPECT_EQ(after, 1); // the job's end is announced whatever happened
}

TEST_F(ReportReaders, ALandscapeRecordingPrintsLandscape)
{
    PdfDevice reference(pdf("unused.pdf"));
    TReportFiler filer(&reference);
    filer.setOrientation(poLandScape);
    EXPECT_NEAR(filer.PaperWidth(), 11.0, 1e-9);
    ReportBytes stream;
    filer.StreamMode = smUser;
    filer.setStream(&stream);
    threePages(filer);
    filer.RunJob();
    StreamReader reader(stream);
    const FileHeader header = reader.fileHeader();
    EXPECT_EQ(header.orientation, poLandScape);
    EXPECT_FLOAT_EQ(header.paperWidth, 11.0f);
    reader.seek(pagePositions(stream).at(0));
    EXPECT_EQ(reader.pageHeader().orientation, poLandScape);

    PdfDevice printer(pdf("landscape.pdf"));
    TFilePrinter file(&printer);
    file.StreamMode = smUser;
    file.setStream(&stream);
    file.PrintPages(1, 1, 0);
    EXPECT_NEAR(file.PaperWidth(), 11.0, 1e-9); // the file's orientation was applied to the printer
    const auto words = wordsOf(pdf("landscape.pdf"));
    ASSERT_EQ(words.size(), 1u);
    EXPECT_NEAR(words[0].xMin, 72, 0.5);
}

TEST_F(ReportReaders, PrinterSetupsPaperStaysForTheRestOfTheRun)
{
    QPrinter chosen(QPrinter::HighResolution);
    chosen.setOutputFormat(QPrinter::PdfFormat);
    chosen.setPageSize(QPageSize(QPageSize::A5));
    keepPrinterSetup(chosen);
    QPrinter next(QPrinter::HighResolution);
    next.setOutputFormat(QPrinter::PdfFormat);
    applyPrinterSetup(next);
    EXPECT_EQ(next.pageLayout().pageSize().id(), QPageSize::A5);
    chosen.setPageSize(QPageSize(QPageSize::Letter)); // as the other tests expect
    keepPrinterSetup(chosen);
}
