// Cassette labels over a real collection: the media-number scan, and the
// face and spine layouts as the recording holds them.
#include "CollectionFile.h"
#include "Cp1252.h"
#include "LabelRender.h"
#include "PdfWords.h"
#include "PrintDevice.h"
#include "TFilePrinter.h"
#include "ReportStream.h"
#include "TReportFiler.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QPageSize>
#include <QStandardPaths>

using namespace report;
using testing_support::TempDir;

namespace {

struct Text {
    std::string text;
    float x, y;
};

// Every text the recording's first page writes, in order.
std::vector<Text> textsOf(const engine::ReportBytes& stream)
{
    std::vector<Text> texts;
    engine::StreamReader reader(stream);
    reader.seek(engine::pagePositions(stream).at(0));
    reader.pageHeader();
    while (true) {
        const uint8_t code = reader.byte();
        if (code == engine::rcEndPage)
            return texts;
        if (code >= engine::rcCenterText && code <= engine::rcRightText) {
            Text t{};
            t.y = reader.real();
            t.text = db::cp1252ToUtf8(reader.string());
            t.x = reader.real();
            texts.push_back(t);
        } else {
            reader.skipRecord(code);
        }
    }
}

bool has(const std::vector<Text>& texts, const std::string& text)
{
    return std::any_of(texts.begin(), texts.end(), [&](const Text& t) { return t.text == text; });
}

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string path = dir.file("FILMS.DBF");
        db::createCollectionTable(path);
        table.setFilePath(path);
        table.open();
    }

    void film(const char* title, const char* media, const char* start, int year = 1960)
    {
        table.insert();
        table.setText(0, title);
        table.setText(table.requireField("MediaNum"), media);
        table.setText(table.requireField("CounterSta"), start);
        table.setText(table.requireField("CounterSto"), "9999");
        table.setText(table.requireField("Rating"), "PG");
        table.setText(table.requireField("Category"), "Drama");
        table.setNumber(table.requireField("Year"), year);
        table.setNumber(table.requireField("RunTime"), 101);
        table.post();
    }

    std::vector<Text> record(LabelSettings settings, LabelRender** renderOut = nullptr)
    {
        engine::ReportBytes stream;
        engine::TReportFiler filer;
        filer.StreamMode = engine::smUser;
        filer.setStream(&stream);
        filer.setOrientation(engine::poPortrait);
        const LabelStock& stock = labelStock(settings.kind);
        filer.setPaper(stock.paperWidth, stock.paperHeight);
        filer.setLineHeightMethod(engine::lhmFont);
        render = std::make_unique<LabelRender>(std::move(settings), table);
        render->attach(filer);
        filer.RunJob();
        EXPECT_FALSE(filer.Cancelled());
        EXPECT_EQ(filer.PageNumber(), 1);
        return textsOf(stream);
    }

    TempDir dir;
    db::Table table;
    std::unique_ptr<LabelRender> render;
};

} // namespace

TEST_F(LabelTest, OneScanFillsEveryPositionWithUpToSixRecordsByStartCounter)
{
    for (const char* start : {"0700", "0100", "0300", "0200", "0600", "0500", "0400"})
        film((std::string("Tape A part ") + start).c_str(), "A1", start);
    film("Alone", "B2", "0000");
    const auto positions = scanMediaNumbers(table, {"A1", " B2 ", "A1", "none", ""}, 10);
    ASSERT_EQ(positions.size(), 10u);
    ASSERT_EQ(positions[0].records.size(), 6u); // seven match, six are kept
    EXPECT_EQ(positions[0].records[0][liStartCounter], "0100");
    EXPECT_EQ(positions[0].records[5][liStartCounter], "0700");
    for (const auto& kept : positions[0].records)
        EXPECT_NE(kept[liStartCounter], "0400"); // the seventh in the walk is the one left out
    EXPECT_EQ(positions[1].mediaNumber, "B2"); // trimmed
    EXPECT_EQ(positions[1].records.size(), 1u);
    EXPECT_EQ(positions[2].records.size(), 6u); // the same media number twice: the same records on both
    EXPECT_TRUE(positions[3].records.empty());
    EXPECT_TRUE(positions[4].records.empty());
}

TEST_F(LabelTest, AOneRecordFaceLabelCentresItsFourLines)
{
    film("Casablanca", "T-17", "0042");
    LabelSettings settings;
    settings.kind = 1;
    settings.cells = {"T-17"};
    const auto texts = record(settings);
    EXPECT_TRUE(has(texts, "T-17"));
    EXPECT_TRUE(has(texts, "Casablanca"));
    EXPECT_TRUE(has(texts, "101 min"));
    EXPECT_TRUE(has(texts, "Start: 0042"));
    EXPECT_TRUE(has(texts, "Stop: 9999"));
    // Position 1 sits at the sheet's first column, one inch down.
    for (const Text& t : texts) {
        EXPECT_GE(t.x, 1.1f);
        EXPECT_GE(t.y, 1.0f);
        EXPECT_LT(t.y, 1.0f + 1.8125f);
    }

    // Only the title: the other lines are printed empty.
    settings.items.fill(false);
    settings.items[liTitle] = true;
    const auto onlyTitle = record(settings);
    EXPECT_TRUE(has(onlyTitle, "Casablanca"));
    EXPECT_FALSE(has(onlyTitle, "T-17"));
    EXPECT_FALSE(has(onlyTitle, "101 min"));
    EXPECT_FALSE(has(onlyTitle, "Start: 0042"));
}

TEST_F(LabelTest, ATitleWiderThanItsStopIsCutToFit)
{
    const std::string longTitle(60, 'W');
    film(longTitle.c_str(), "W1", "0001");
    LabelSettings settings;
    settings.kind = 1;
    settings.cells = {"W1"};
    const auto texts = record(settings);
    const auto title = std::find_if(texts.begin(), texts.end(), [](const Text& t) { return t.text.rfind("WWW", 0) == 0; });
    ASSERT_NE(title, texts.end());
    EXPECT_LT(title->text.size(), longTitle.size());
    EXPECT_GT(title->text.size(), 5u);
}

TEST_F(LabelTest, SpineLabelsSitInTheirRowsOfTheSheet)
{
    film("First", "S1", "0001");
    film("Second", "S2", "0001");
    film("Second too", "S2", "0002");
    LabelSettings settings;
    settings.kind = 4; // L7654 spine, on A4
    settings.cells = {"S1", "", "S2"};
    const auto texts = record(settings);
    const LabelStock& stock = labelStock(4);
    for (const Text& t : texts) {
        if (t.text == "First") {
            EXPECT_LT(t.y, stock.top + stock.rowPitch);
        }
        if (t.text == "Second too") {
            EXPECT_GT(t.y, stock.top + 2 * stock.rowPitch);
        }
    }
    EXPECT_TRUE(has(texts, "S1"));
    EXPECT_TRUE(has(texts, "Second"));
    EXPECT_TRUE(has(texts, "Second too"));
    EXPECT_EQ(labelStock(2).labels, 15); // Avery 5199 spine: the grid's last cell is never a position
    EXPECT_EQ(labelKind(true, true), 2);
    EXPECT_EQ(labelKind(false, false), 3);
}

TEST_F(LabelTest, EveryLabelsFirstTextSitsWhereTheStockPutsIt)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (int n = 1; n <= 16; ++n)
        film(("Film " + std::to_string(n)).c_str(), ("M" + std::to_string(n)).c_str(), "0001");
    for (int kind = 1; kind <= 4; ++kind) {
        SCOPED_TRACE(kind);
        const LabelStock& stock = labelStock(kind);
        LabelSettings settings;
        settings.kind = kind;
        for (int n = 1; n <= stock.labels; ++n)
            settings.cells.push_back(QString("M%1").arg(n));
        engine::ReportBytes stream;
        engine::TReportFiler filer;
        filer.StreamMode = engine::smUser;
        filer.setStream(&stream);
        filer.setOrientation(engine::poPortrait);
        filer.setPaper(stock.paperWidth, stock.paperHeight);
        filer.setLineHeightMethod(engine::lhmFont);
        LabelRender render(settings, table);
        render.attach(filer);
        filer.RunJob();
        const QString pdf = QString::fromStdString(dir.file("labels" + std::to_string(kind) + ".pdf"));
        {
            engine::PdfDevice device(pdf, 1200, QPageSize(kind >= 3 ? QPageSize::A4 : QPageSize::Letter));
            engine::TFilePrinter printer(&device);
            printer.StreamMode = engine::smUser;
            printer.setStream(&stream);
            printer.PrintPages(0, 0, 0);
        }
        const auto words = testing_support::pdfWords(pdf);
        for (int n = 1; n <= stock.labels; ++n) {
            SCOPED_TRACE(n);
            const auto word = std::find_if(words.begin(), words.end(),
                                           [n](const testing_support::PdfWord& w) { return w.text == QString("M%1").arg(n); });
            ASSERT_NE(word, words.end());
            const double xMin = word->xMin / 72, xMax = word->xMax / 72, yMin = word->yMin / 72, yMax = word->yMax / 72;
            const int column = stock.spine() ? 0 : (n - 1) % 2;
            const int row = stock.spine() ? n - 1 : (n - 1) / 2;
            const double left = stock.left + column * (stock.width + stock.columnGap);
            const double top = stock.top + row * stock.rowPitch;
            // Inside the label's rectangle.
            EXPECT_GE(xMin, left);
            EXPECT_LE(xMax, left + stock.width);
            EXPECT_GE(yMin, top);
            EXPECT_LE(yMax, top + stock.rowPitch);
            if (stock.spine())
                EXPECT_NEAR(xMin, left + 0.02, 0.02) << "a spine's media number starts at its stop's inner margin";
            else
                EXPECT_NEAR((xMin + xMax) / 2, left + stock.width / 2, 0.02) << "a face's media number is centred";
        }
    }
}
