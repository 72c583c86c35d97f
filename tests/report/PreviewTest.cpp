// The preview window and its page-range dialog over a real recording.
#include "ScriptedPrompter.h"
#include "TMyPreview.h"
#include "TPrintRange.h"
#include "TReportForm.h"
#include "TReportFiler.h"

#include "RunCommand.h"

#include <gtest/gtest.h>

#include <QTest>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QDir>
#include <QProgressDialog>
#include <QTimer>

using namespace report_ui;
using testing_support::ScriptedPrompter;

namespace {

// A recording of the given number of pages, each with one line of text.
engine::ReportBytes recording(int pages, int firstPage = 1)
{
    engine::ReportBytes stream;
    engine::TReportFiler filer;
    filer.setFirstPage(firstPage);
    filer.StreamMode = engine::smUser;
    filer.setStream(&stream);
    filer.OnPrintPage = [pages](engine::TBaseReport& r, int& page) {
        r.WriteTextLine("Page text " + QString::number(page));
        return page < pages;
    };
    filer.RunJob();
    return stream;
}

} // namespace

TEST(PrintRange, StartAndEndAreCheckedAgainstThePageCount)
{
    EXPECT_EQ(checkPageRange("0", "3", 5).message, "Invalid Starting Page specified. Please correct.");
    EXPECT_TRUE(checkPageRange("six", "3", 5).startIsWrong); // not a number reads as 0
    EXPECT_EQ(checkPageRange("6", "6", 5).message, "Invalid Starting Page specified. Please correct.");
    EXPECT_EQ(checkPageRange("2", "1", 5).message, "Invalid Ending Page specified.  Please correct.");
    EXPECT_EQ(checkPageRange("2", "x", 5).message, "Invalid Ending Page specified.  Please correct.");
    EXPECT_EQ(checkPageRange("2", "6", 5).message, "Invalid Ending Page specified.  Please correct.");
    const RangeCheck ok = checkPageRange(" 2 ", "5", 5);
    ASSERT_TRUE(ok.range);
    EXPECT_EQ(ok.range->first, 2);
    EXPECT_EQ(ok.range->last, 5);
}

TEST(Preview, PagesZoomAndRangesAsTheUserMovesThrough)
{
    engine::ReportBytes stream = recording(4);
    ScriptedPrompter prompter;
    QRect bounds(10, 20, 700, 500);
    std::function<void(TPrintRange&)> rangeScript;
    TMyPreview preview({prompter, bounds, [&](QDialog& d) {
                            rangeScript(static_cast<TPrintRange&>(d));
                            return d.result();
                        }},
                       &stream, "Star Report", false);
    EXPECT_EQ(preview.windowTitle(), "Star Report");
    preview.show();
    EXPECT_EQ(preview.PageLabel->text(), "Page 1 of 4");
    EXPECT_EQ(preview.ZoomEdit->text(), "100.0");
    preview.ZoomEdit->setText("500");
    preview.ZoomEditExit();
    EXPECT_EQ(preview.ZoomEdit->text(), "200.0"); // held to the widest zoom
    preview.action("NextPage")->trigger();
    EXPECT_EQ(preview.PageLabel->text(), "Page 2 of 4");
    preview.PageEdit->setText("4");
    preview.PageEditExit();
    EXPECT_EQ(preview.PageLabel->text(), "Page 4 of 4");
    preview.action("FirstPage")->trigger();
    EXPECT_EQ(preview.PageEdit->text(), "1");
    // The window's short-cuts work while a box has the focus: Ctrl+C is Use Color there, not Copy.
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    preview.PageEdit->setFocus();
    const bool colored = preview.action("UseColor")->isChecked();
    QTest::keyClick(preview.PageEdit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_NE(preview.action("UseColor")->isChecked(), colored);
    QTest::keyClick(preview.ZoomEdit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(preview.action("UseColor")->isChecked(), colored);

    rangeScript = [](TPrintRange& range) {
        EXPECT_EQ(range.windowTitle(), "Page Printing");
        EXPECT_EQ(range.StartEdit->text(), "1");
        EXPECT_EQ(range.EndEdit->text(), "4");
        range.StartEdit->setText("0");
        range.PrintButtonClick();
        range.StartEdit->setText("2");
        range.EndEdit->setText("1");
        range.PrintButtonClick();
        EXPECT_FALSE(range.printRequested());
        range.reject();
    };
    preview.action("PrintRange")->trigger();
    EXPECT_EQ(prompter.messageTexts(), (QStringList{"Invalid Starting Page specified. Please correct.",
                                                    "Invalid Ending Page specified.  Please correct."}));
    // Without print queues the engine says that no printer is defined.
    preview.action("PrintPage")->trigger();
    EXPECT_EQ(prompter.messageTexts().back(), "No printers are defined, aborting print job.");
    // Save as PDF replays every page into the file chosen.
    QTemporaryDir folder;
    prompter.fileNames = {folder.filePath("report.pdf")};
    preview.action("SaveAsPdf")->trigger();
    QFile pdf(folder.filePath("report.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    if (testing_support::haveProgram("pdfinfo")) { // titled with the report's name
        EXPECT_NE(testing_support::runCommand("pdfinfo '" + folder.filePath("report.pdf").toStdString() + "'")
                      .find("Title:           Star Report"),
                  std::string::npos);
    }
    preview.move(30, 40);
    preview.action("Exit")->trigger();
    EXPECT_EQ(bounds.topLeft(), QPoint(30, 40));
    EXPECT_EQ(bounds.size(), QSize(700, 500));
    EXPECT_EQ(stream.toVector(), recording(4).toVector()); // the preview never changes the recording
}

TEST(Preview, SaveAsPdfOffersTheReportsNameInTheLastFolderAndCancelWritesNothing)
{
    // Long enough that the progress box, brought up to date ten times a second, shows.
    engine::ReportBytes stream = recording(5000);
    ScriptedPrompter prompter;
    QRect bounds(0, 0, 640, 480);
    QTemporaryDir last, chosen;
    QString pdfFolder = last.path();
    TMyPreview preview({prompter, bounds, {}, &pdfFolder}, &stream, "Titles: A/B", false);
    preview.show();

    // Cancel in the progress box stops the replay and leaves no file behind.
    prompter.fileNames = {chosen.filePath("cancelled.pdf")};
    bool cancelled = false;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* progress = preview.findChild<QProgressDialog*>(); progress && progress->value() > 5) {
            progress->cancel();
            cancelled = true;
        }
    });
    canceller.start(0);
    preview.action("SaveAsPdf")->trigger();
    canceller.stop();
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].startFolder, last.path());
    EXPECT_EQ(prompter.fileDialogs[0].fileName, QDir(last.path()).filePath("Titles A B.pdf"));
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(QFile::exists(chosen.filePath("cancelled.pdf")));
    EXPECT_EQ(pdfFolder, chosen.path()); // the folder chosen is offered next time

    // Left alone, every page reaches the file.
    prompter.fileNames = {chosen.filePath("whole.pdf")};
    preview.action("SaveAsPdf")->trigger();
    EXPECT_EQ(prompter.fileDialogs[1].fileName, QDir(chosen.path()).filePath("Titles A B.pdf"));
    QFile pdf(chosen.filePath("whole.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.readAll().count("/Type /Page\n"), 5000);
    preview.reject();
}

TEST(Preview, AOnePageReportAndALabelSheetStayOnTheirPage)
{
    engine::ReportBytes stream = recording(1);
    ScriptedPrompter prompter;
    QRect bounds(0, 0, 640, 480);
    TMyPreview report({prompter, bounds, {}}, &stream, "Ratings Report", false);
    report.show();
    report.action("NextPage")->trigger();
    report.action("PreviousPage")->trigger();
    EXPECT_EQ(report.PageLabel->text(), "Page 1 of 1");
    report.reject();

    // A recording of pages 3 to 5 counts its pages from its first.
    engine::ReportBytes fromThree = recording(5, 3);
    TMyPreview range({prompter, bounds, {}}, &fromThree, "Ratings Report", false);
    range.show();
    EXPECT_EQ(range.PageLabel->text(), "Page 1 of 3");
    range.action("NextPage")->trigger();
    EXPECT_EQ(range.PageLabel->text(), "Page 2 of 3");
    range.reject();

    TMyPreview labels({prompter, bounds, {}}, &stream, "Ratings Report", true);
    EXPECT_EQ(labels.windowTitle(), "Label Printing");
    EXPECT_FALSE(labels.action("NextPage")->isEnabled());
    EXPECT_FALSE(labels.action("PrintReport")->isEnabled());
    EXPECT_FALSE(labels.action("PrintRange")->isEnabled());
    EXPECT_TRUE(labels.action("PrintPage")->isEnabled());
    EXPECT_FALSE(labels.findChild<QWidget*>("NextPage")->isEnabled());
    // Use Color turns the page image monochrome and back.
    labels.show();
    labels.action("UseColor")->trigger();
    EXPECT_TRUE(labels.preview().Monochrome);
    EXPECT_FALSE(labels.action("UseColor")->isChecked());
    labels.reject();
}

TEST(ReportStatus, RunsTheJobOnceAndEndsWithOkAndHowItWent)
{
    engine::ReportBytes stream;
    engine::TReportFiler filer;
    filer.StreamMode = engine::smUser;
    filer.setStream(&stream);
    filer.OnBeforePrint = [](engine::TBaseReport& r) { r.setStatusFormat("Printing Page %p"); };
    filer.OnPrintPage = [](engine::TBaseReport& r, int& page) {
        r.WriteTextLine("text");
        return page < 3;
    };
    TReportForm status(filer);
    EXPECT_EQ(status.windowTitle(), "Report Status Screen");
    EXPECT_EQ(status.Button->text(), "Cancel");
    status.RunJob();
    status.RunJob(); // once only
    EXPECT_EQ(filer.PageNumber(), 3);
    EXPECT_FALSE(status.cancelled());
    EXPECT_EQ(status.Button->text(), "OK");
    EXPECT_EQ(status.StatusLabel->text(), "\rReport Completed!");

    // Cancel during the job: it stops after the current page.
    engine::TReportFiler second;
    engine::ReportBytes secondStream;
    second.StreamMode = engine::smUser;
    second.setStream(&secondStream);
    TReportForm* form = nullptr;
    second.OnPrintPage = [&form](engine::TBaseReport& r, int& page) {
        r.WriteTextLine("text");
        if (page == 2)
            form->Button->click();
        return page < 50;
    };
    TReportForm cancelled(second);
    form = &cancelled;
    cancelled.RunJob();
    EXPECT_TRUE(cancelled.cancelled());
    EXPECT_LT(second.PageNumber(), 50);
    EXPECT_EQ(cancelled.StatusLabel->text(), "\rReport Canceled!");
}
