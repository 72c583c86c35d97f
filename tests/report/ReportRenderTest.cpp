// User report rendering over a real collection, to text and to the preview's recording.
#include "CollectionFile.h"
#include "CoverStore.h"
#include "ReportDesign.h"
#include "Cp1252.h"
#include "EditText.h"
#include "ReportDefinitions.h"
#include "ReportRender.h"
#include "Schema.h"
#include "SortOrder.h"
#include "PrintDevice.h"
#include "TFilePrinter.h"
#include "TReportFiler.h"
#include "Table.h"
#include "InstalledTranslation.h"
#include "PdfWords.h"
#include "Scripts.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QStringList>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using namespace report;
using testing_support::TempDir;

namespace {

class ReportRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("FILMS.DBF");
        db::createCollectionTable(path);
        table.setFilePath(path);
        table.addIndex("NewIndex", find::buildSortString({14, 1, 0, 0})); // category, then title
        table.selectIndex("NewIndex");
        table.open();
        const char* categories[] = {"Drama", "Comedy", "Western"};
        for (int i = 0; i < 30; ++i) {
            table.insert();
            table.setText(0, "Film " + std::to_string(100 + i));
            table.setText(table.requireField("Category"), categories[i % 3]);
            table.setText(table.requireField("MediaNum"), "M" + std::to_string(i));
            table.setNumber(table.requireField("Year"), 1950 + i);
            table.setNumber(table.requireField("ListPrice"), 10.5);
            table.setNumber(table.requireField("PurchPrice"), 2.25);
            const char* stars[] = {"Cary Grant", "Grace Kelly", "James Stewart", "Audrey Hepburn", "Kim Novak"};
            for (int k = 0; k < 4; ++k)
                table.setText(table.requireField("Star" + std::to_string(k + 1)), stars[(i + k) % 5]);
            const char* ratings[] = {"G", "PG", "PG-13", "R"};
            table.setText(table.requireField("Rating"), ratings[i % 4]);
            table.setText(table.requireField("PersonalRa"), i % 2 ? "Excellent" : "Good");
            if (i % 7 == 0)
                table.setText(table.requireField("OscarAward"), "Best Picture, Best Actor");
            table.setNumber(table.requireField("RunTime"), 90 + i);
            table.setText(table.requireField("PurchDate"), "3/" + std::to_string(1 + i % 28) + "/97");
            table.post();
        }
    }

    // Runs a definition in text mode; returns the file's lines.
    QStringList textOf(const ReportDefinition& definition, std::array<int, 4> sortFields = {14, 1, 0, 0})
    {
        const QString text = QString::fromStdString(bytesOf(definition, sortFields));
        EXPECT_EQ(text.count('\n'), text.count("\r\n")) << "every line ends with CR LF";
        return text.split("\r\n");
    }

    // The text file's bytes (Windows-1252) of a definition run in text mode.
    std::string bytesOf(const ReportDefinition& definition, std::array<int, 4> sortFields = {14, 1, 0, 0})
    {
        std::ostringstream out;
        RenderSettings settings = settingsFor(RenderMode::TextFile);
        settings.sortFields = sortFields;
        settings.text = &out;
        ReportRender render(definition, table, settings);
        engine::TReportFiler filer;
        engine::ReportBytes recording; // the file engine paginates; the text goes to the file
        filer.StreamMode = engine::smUser;
        filer.setStream(&recording);
        filer.setLineHeightMethod(engine::lhmFont);
        render.attach(filer);
        filer.RunJob();
        pages = filer.PageNumber();
        return out.str();
    }

    // Sorted by category then title, schema display names, a fixed date.
    static RenderSettings settingsFor(RenderMode mode)
    {
        RenderSettings settings;
        settings.mode = mode;
        settings.sortFields = {14, 1};
        settings.displayName = [](int position) { return QString::fromLatin1(db::schemaField(position).displayName); };
        settings.today = "12/8/26";
        return settings;
    }

    // Runs a definition for the printer and replays it into a PDF file at pdfPath.
    void writePdf(const ReportDefinition& definition, const QString& pdfPath, bool fontLineHeight,
                  std::array<int, 4> sortFields = {14, 1, 0, 0}, engine::TAccuracyMethod accuracy = engine::amAppearance)
    {
        engine::ReportBytes stream;
        RenderSettings settings = settingsFor(RenderMode::Printer);
        settings.sortFields = sortFields;
        ReportRender render(definition, table, settings);
        engine::TReportFiler filer;
        filer.AccuracyMethod = accuracy;
        filer.StreamMode = engine::smUser;
        filer.setStream(&stream);
        if (fontLineHeight)
            filer.setLineHeightMethod(engine::lhmFont);
        render.attach(filer);
        filer.RunJob();
        engine::PdfDevice pdf(pdfPath);
        engine::TFilePrinter printer(&pdf);
        printer.StreamMode = engine::smUser;
        printer.setStream(&stream);
        printer.PrintPages(0, 0, 1);
    }

    static ReportDefinition byName(const std::string& name)
    {
        for (const ReportDefinition& d : defaultDefinitions())
            if (d.name == name)
                return d;
        throw std::runtime_error("no default " + name);
    }

    TempDir dir;
    std::string path;
    db::Table table;
    int pages = 0;
};

} // namespace

TEST_F(ReportRenderTest, TextLinesAreAsWideAsTheirItemsAndEveryPageEndsWithAFormFeed)
{
    const QStringList lines = textOf(byName("Title and Media Number Report"));
    int records = 0, formFeeds = 0;
    for (const QString& line : lines) {
        if (line.contains("Film 1")) {
            ++records;
            EXPECT_EQ(line.size(), 12 + 64 + 4) << line.toStdString();
            EXPECT_TRUE(line.startsWith("M")) << line.toStdString();
        }
        formFeeds += line.endsWith('\f');
    }
    EXPECT_EQ(records, 30);
    EXPECT_GE(pages, 1);
    EXPECT_EQ(formFeeds, pages);
    EXPECT_TRUE(lines[lines.size() - 2].endsWith('\f')); // the last line of the file ends the last page
    // Column headers: each display name as wide as its item.
    const QString headers = QString::fromLatin1(db::schemaField(19).displayName).leftJustified(12).left(12)
        + QString::fromLatin1(db::schemaField(1).displayName).leftJustified(64).left(64)
        + QString::fromLatin1(db::schemaField(11).displayName).leftJustified(4).left(4);
    EXPECT_TRUE(lines.contains(headers)) << headers.toStdString();
    // Not grouped: TOTALS and GRAND TOTALS show the same values.
    const int totals = static_cast<int>(lines.indexOf(QRegularExpression("^ *TOTALS$")));
    const int grand = static_cast<int>(lines.indexOf(QRegularExpression("^ *GRAND TOTALS$")));
    ASSERT_GE(totals, 0);
    ASSERT_GT(grand, totals);
    EXPECT_EQ(lines[totals + 1], lines[grand + 1]);
    EXPECT_TRUE(lines[grand + 1].contains("30")) << lines[grand + 1].toStdString();
    EXPECT_TRUE(lines[grand + 1].contains("315.00")) << lines[grand + 1].toStdString(); // 30 x 10.50
    EXPECT_TRUE(lines[grand + 1].contains("67.50")) << lines[grand + 1].toStdString();  // 30 x 2.25
}

TEST_F(ReportRenderTest, GroupsHaveHeadersAndTotalsAndTheSummaryReportNothingElse)
{
    const QStringList lines = textOf(byName("Statistic/Summary Report"));
    EXPECT_FALSE(lines.join('\n').contains("Film ")); // no records, only what sums them
    for (const char* category : {"Comedy", "Drama", "Western"})
        EXPECT_EQ(lines.filter(QRegularExpression(QString("^ *") + category + "$")).size(), 1) << category;
    EXPECT_EQ(lines.filter(QRegularExpression("^ *TOTALS$")).size(), 3); // two group breaks and the final one
    EXPECT_EQ(lines.filter(QRegularExpression("^ *GRAND TOTALS$")).size(), 1);
    const int grand = static_cast<int>(lines.indexOf(QRegularExpression("^ *GRAND TOTALS$")));
    EXPECT_TRUE(lines[grand + 1].contains("30"));
    // Each group's totals count its ten records.
    const int firstTotals = static_cast<int>(lines.indexOf(QRegularExpression("^ *TOTALS$")));
    EXPECT_TRUE(lines[firstTotals + 1].contains("  10 ") || lines[firstTotals + 1].contains(" 10  "))
        << lines[firstTotals + 1].toStdString();
}

// The first sort level that names a field groups, and the next one that names a field groups within it.
TEST_F(ReportRenderTest, GroupFieldsAreTheFirstTwoSortLevelsThatNameAField)
{
    const int category = db::schemaPosition("Category"), year = db::schemaPosition("Year");
    // "none, none, none, Category": grouped by category.
    QStringList lines = textOf(byName("Statistic/Summary Report"), {0, 0, 0, category});
    for (const char* name : {"Comedy", "Drama", "Western"})
        EXPECT_EQ(lines.filter(QRegularExpression(QString("^ *") + name + "$")).size(), 1) << name;
    // "Category, none, Year": grouped by category and year.
    ReportDefinition twoLevels = byName("Statistic/Summary Report");
    twoLevels.groupByLevel2 = true;
    lines = textOf(twoLevels, {category, 0, year, 0});
    EXPECT_EQ(lines.filter(QRegularExpression("^ *Comedy, 1951$")).size(), 1) << lines.join('\n').toStdString();
}

TEST_F(ReportRenderTest, ManyLineReportsPrintEveryLineOfEveryRecord)
{
    const QStringList lines = textOf(byName("Star Report"));
    EXPECT_EQ(lines.filter("Media Number:").size(), 30);
    EXPECT_EQ(lines.filter("Stars:").size(), 30);
    for (const QString& line : lines.filter("Media Number:"))
        EXPECT_EQ(line.size(), 16 + 1 + 10 + 10 + 1 + 60 + 8 + 1 + 4);
}

// The text file is in the collection's encoding: in a Windows-1252 one an
// accented letter is one byte and a character it could not store is "?"; in a
// Unicode one every character is kept and the columns count characters, not
// bytes. A year too wide for its item prints whole while the next column keeps its place.
TEST_F(ReportRenderTest, TheTextFileIsInTheCollectionsEncodingAndItsColumnsCountCharacters)
{
    const auto item = [](const char* kind, const char* field, int width, const char* text = "") {
        ReportItem i;
        i.kind = kind;
        i.number = field ? static_cast<uint8_t>(db::schemaPosition(field)) : 0;
        i.width = width;
        i.label = text;
        return i;
    };
    ReportDefinition definition = byName("Large Report");
    definition.numberOfLines = 1;
    definition.lines[0] = {item(kLabel, nullptr, 7, "Title:"), item("Title", "Title", 15), item("Year", "Year", 4),
                           item(kFiller, nullptr, 2), item("MediaNum", "MediaNum", 4)};
    const std::string title = "Caf\xC3\xA9 \xE2\x82\xAC Noir \xE6\x97\xA5\xE6\x9C\xAC"; // "Café € Noir 日本", 14 characters
    for (const db::TextEncoding encoding : {db::TextEncoding::Windows1252, db::TextEncoding::Utf8}) {
        SCOPED_TRACE(db::codePageName(encoding));
        table.close();
        db::createCollectionTable(path, encoding);
        table.selectIndex("");
        table.open();
        table.insert();
        table.setText(0, title);
        table.setText(table.requireField("MediaNum"), "MX");
        table.setNumber(table.requireField("Year"), 12345);
        table.post();
        const std::string text = bytesOf(definition, {0, 0, 0, 0});
        const std::string expected = encoding == db::TextEncoding::Utf8 ? " Title:" + title + " 12345 MX  \r\n"
                                                                        : " Title:Caf\xE9 \x80 Noir ?? 12345 MX  \r\n";
        EXPECT_NE(text.find(expected), std::string::npos) << text << "\none blank after the year goes to the year's extra digit";
    }
    // A year nobody entered prints blank, not as 0.
    table.edit();
    table.setText(table.requireField("Year"), "");
    table.post();
    const std::string text = bytesOf(definition, {0, 0, 0, 0});
    EXPECT_NE(text.find(" Title:" + title + "       MX  \r\n"), std::string::npos) << text;
}

// The text of each default report over the fixed collection, checked in as
// files; REELKEEPER_UPDATE_GOLDEN=1 writes them anew after a deliberate change.
TEST_F(ReportRenderTest, EachDefaultReportWritesItsGoldenText)
{
    for (const ReportDefinition& definition : defaultDefinitions()) {
        SCOPED_TRACE(definition.name);
        std::string name = definition.name;
        std::replace(name.begin(), name.end(), '/', '-');
        std::replace(name.begin(), name.end(), ' ', '-');
        const std::string golden = std::string(GOLDEN_FOLDER) + "/" + name + ".txt";
        const std::string text = textOf(definition).join('\n').toStdString();
        if (qEnvironmentVariableIsSet("REELKEEPER_UPDATE_GOLDEN")) {
            testing_support::writeFileBytes(golden, text);
            continue;
        }
        EXPECT_EQ(text, testing_support::readFileBytes(golden)) << "differs from " << golden;
    }
}

// The printed layout, read back from a PDF with pdftotext -bbox: titles
// centred, column headers centred in their stops, fields at their stops,
// numbers right-aligned, page number and date in the footer.
TEST_F(ReportRenderTest, ThePdfOfTheTitleAndMediaNumberReportHasItsTextsWhereTheyBelong)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ReportDefinition definition = byName("Title and Media Number Report");
    definition.titles[0] = "My Collection";
    QTemporaryDir folder;
    const QString pdfPath = folder.filePath("report.pdf");
    writePdf(definition, pdfPath, true);
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-f", "1", "-l", "1", "-bbox", pdfPath, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString xml = QString::fromUtf8(pdftotext.readAllStandardOutput());
    struct Word {
        double left, top, right, bottom;
    };
    std::multimap<QString, Word> words;
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        words.insert({m.captured(5), {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                                      m.captured(4).toDouble()}});
    }
    auto first = [&](const QString& text) {
        const auto it = words.find(text);
        return it == words.end() ? Word{-1, -1, -1, -1} : it->second;
    };
    // Points: 0.5-inch margins on a letter page (612 x 792), 7.5 inches of 90 characters.
    const double middle = (first("My").left + first("Collection").right) / 2;
    EXPECT_NEAR(middle, 306, 2) << "the title is centred on the page";
    const double header = (first("Media").left + first("#").right) / 2;
    EXPECT_NEAR(header, 36 + 72.0 / 2, 2) << "the first column header is centred in its stop";
    EXPECT_NEAR(first("M0").left, 36 + 1.44, 0.5) << "fields start at their stop's inner margin";
    const double yearStopEnd = 36 + (12 + 64 + 4) / 90.0 * 540;
    EXPECT_NEAR(first("1950").right, yearStopEnd - 1.44, 1) << "numbers end at their stop's inner margin";
    EXPECT_NEAR(first("Page").left, 36, 1);
    EXPECT_GT(first("Page").top, 792 - 36 - 36 - 1);
    EXPECT_NEAR(first("12/8/26").right, 612 - 36, 1) << "the date ends at the right margin";
}

// A Unicode collection's titles in every script come out of the PDF as they
// are stored (pdftotext gives right-to-left text in its reading order), placed
// as a whole text or a character at a time.
TEST_F(ReportRenderTest, EveryScriptOfAUnicodeCollectionIsInThePdfAsStored)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    table.close();
    db::createCollectionTable(path, db::TextEncoding::Utf8);
    table.selectIndex("");
    table.open();
    for (const auto& s : testing_support::scriptTitles()) {
        table.insert();
        table.setText(0, s.title);
        table.setText(table.requireField("MediaNum"), "M1");
        table.post();
    }
    for (const engine::TAccuracyMethod method : {engine::amAppearance, engine::amPositioning}) {
        SCOPED_TRACE(method == engine::amAppearance ? "whole texts" : "character by character");
        QTemporaryDir folder;
        const QString pdfPath = folder.filePath("scripts.pdf");
        writePdf(byName("Title and Media Number Report"), pdfPath, false, {0, 0, 0, 0}, method);

        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-enc", "UTF-8", pdfPath, "-"});
        ASSERT_TRUE(pdftotext.waitForFinished(30000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).normalized(QString::NormalizationForm_C);
        for (const auto& s : testing_support::scriptTitles())
            EXPECT_TRUE(text.contains(QString::fromStdString(s.stored))) << s.script << ": " << s.stored << "\n"
                                                                          << text.toStdString();
    }
}

// Every number, date and label of the six default reports is printed whole:
// a year of four digits in a four-character stop once came out as "199".
TEST_F(ReportRenderTest, NoDefaultReportCutsANumberADateOrALabel)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // Play times of three digits and years no title holds.
    table.first();
    for (int i = 0; !table.eof(); ++i, table.next()) {
        table.edit();
        table.setNumber(table.requireField("RunTime"), 200 + 7 * i);
        table.setNumber(table.requireField("Year"), 1981 + i % 19);
        table.setNumber(table.requireField("ListPrice"), 1234.5 + i);
        table.post();
    }
    QTemporaryDir folder;
    for (const ReportDefinition& definition : defaultDefinitions()) {
        SCOPED_TRACE(definition.name);
        const QString pdfPath = folder.filePath("report.pdf");
        writePdf(definition, pdfPath, false);
        ReportRender render(definition, table, settingsFor(RenderMode::Printer)); // for the field texts
        std::multiset<QString> words;
        for (const testing_support::PdfWord& word : testing_support::pdfWords(pdfPath))
            words.insert(word.text);
        // Each label's words, and each number or date a body line shows, as often as the records give it.
        std::map<QString, int> wanted;
        for (int line = 0; line < definition.numberOfLines; ++line)
            for (const ReportItem& item : lineItems(definition.lines[static_cast<size_t>(line)]))
                if (item.isLabel())
                    for (const QString& w : QString::fromStdString(item.label).split(' ', Qt::SkipEmptyParts))
                        wanted[w] = std::max(wanted[w], 1);
        std::map<QString, int> values;
        for (table.first(); !table.eof(); table.next())
            for (int line = 0; line < definition.numberOfLines; ++line)
                for (const ReportItem& item : lineItems(definition.lines[static_cast<size_t>(line)]))
                    if (!item.isLabel() && !item.isFiller() && item.number >= 1 && item.number <= 40
                        && db::schemaField(item.number).kind != db::SchemaKind::Character)
                        ++values[render.fieldText(table.current(), item.number)];
        for (const auto& [value, count] : values)
            wanted[value] = std::max(wanted[value], count);
        std::multiset<QString> textWords;
        for (const QString& line : textOf(definition))
            for (const QString& w : line.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
                textWords.insert(w);
        for (const auto& [word, count] : wanted) {
            EXPECT_GE(static_cast<int>(words.count(word)), count) << "\"" << word.toStdString() << "\" is not printed whole";
            EXPECT_GE(static_cast<int>(textWords.count(word)), count) << "\"" << word.toStdString() << "\" is cut in the file";
        }
    }
}

// Play times of two to five digits, years and prices: every value of a number
// column is printed at one size, the size its widest value fits at.
TEST_F(ReportRenderTest, ANumberColumnPrintsAllItsValuesAtOneSize)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // Two digits at least, so that no page number or count reads like one.
    const int runTimes[] = {11, 96, 318, 4096, 97, 512, 1234, 65};
    table.first();
    for (int i = 0; !table.eof(); ++i, table.next()) {
        table.edit();
        table.setNumber(table.requireField("RunTime"), runTimes[i % 8] + (i / 8) * 10000);
        table.setNumber(table.requireField("ListPrice"), i % 2 ? 4.5 : 1234.5 + i);
        table.post();
    }
    QTemporaryDir folder;
    int columnsSeen = 0;
    for (const ReportDefinition& definition : defaultDefinitions()) {
        SCOPED_TRACE(definition.name);
        const QString pdfPath = folder.filePath("report.pdf");
        writePdf(definition, pdfPath, false);
        ReportRender render(definition, table, settingsFor(RenderMode::Printer)); // for the field texts
        const std::vector<testing_support::PdfWord> words = testing_support::pdfWords(pdfPath);
        for (const char* name : {"RunTime", "ListPrice"}) {
            const int position = db::schemaPosition(name);
            bool shown = false;
            for (const ReportLine& line : definition.lines)
                for (const ReportItem& item : lineItems(line))
                    shown = shown || (item.number == position && !item.isLabel() && !item.isFiller());
            if (!shown)
                continue;
            std::set<QString> texts;
            for (table.first(); !table.eof(); table.next())
                texts.insert(render.fieldText(table.current(), position));
            std::set<long> heights; // in hundredths of a point
            for (const testing_support::PdfWord& word : words)
                if (texts.count(word.text))
                    heights.insert(std::lround((word.yMax - word.yMin) * 100));
            ASSERT_FALSE(heights.empty()) << name;
            EXPECT_EQ(heights.size(), 1u) << name << " is printed at " << heights.size() << " sizes";
            ++columnsSeen;
        }
    }
    EXPECT_GT(columnsSeen, 0);
}

// A German user's Large Report: its own labels, page footer and totals in
// German, and no label a part cuts.
TEST_F(ReportRenderTest, TheGermanLargeReportPrintsItsGermanWordsWhole)
{
    const testing_support::InstalledTranslation german(RK_GERMAN);
    ASSERT_TRUE(german.loaded());
    const db::Speak speak = [](const char* text) { return QCoreApplication::translate("report", text).toStdString(); };
    const ReportDefinition large = defaultDefinitions(speak)[4];
    ASSERT_EQ(db::cp1252ToUtf8(large.name), "Großer Bericht");
    const QString text = QString::fromStdString(bytesOf(large)); // a Unicode collection's text file is UTF-8
    const QStringList lines = text.split("\r\n");
    // Every label once a record at least, whole ("Stichwörter:" is two wider than the English part).
    for (int line = 0; line < large.numberOfLines; ++line)
        for (const ReportItem& item : lineItems(large.lines[static_cast<size_t>(line)]))
            if (item.isLabel()) {
                EXPECT_GE(text.count(QString::fromStdString(db::cp1252ToUtf8(item.label))), 30) << item.label;
            }
    EXPECT_EQ(text.count("Stichwörter: "), 30);
    EXPECT_EQ(lines.filter(QRegularExpression("^Seite 1 ")).size(), 1);
    EXPECT_EQ(lines.filter(QRegularExpression("^ *SUMMEN$")).size(), 3);
    EXPECT_EQ(lines.filter(QRegularExpression("^ *GESAMTSUMMEN$")).size(), 1);
    EXPECT_TRUE(lines.filter("Anzahl:").size() >= 4);
}

TEST_F(ReportRenderTest, EveryDefaultReportRendersToThePreviewRecording)
{
    for (const ReportDefinition& definition : defaultDefinitions()) {
        SCOPED_TRACE(definition.name);
        engine::ReportBytes stream;
        const RenderSettings settings = settingsFor(RenderMode::Preview);
        ReportRender render(definition, table, settings);
        engine::TReportFiler filer;
        filer.StreamMode = engine::smUser;
        filer.setStream(&stream);
        filer.setLineHeightMethod(engine::lhmFont);
        render.attach(filer);
        filer.RunJob();
        EXPECT_GE(filer.PageNumber(), 1);
        EXPECT_GT(stream.size(), 100u);
        EXPECT_TRUE(table.eof());
    }
}

// A cover part prints each film's picture in its room, as tall as the lines it
// spans; films without a cover leave it blank, and so does the text file. The
// PDF stays within half again its size without covers, plus the covers' bytes.
TEST_F(ReportRenderTest, ACoverPartPrintsEachFilmsPictureAndKeepsThePdfSmall)
{
    // Pictures with detail, as photographs have: noise over a gradient.
    qint64 coverBytes = 0;
    covers::CoverStore store(path);
    uint32_t seed = 7;
    for (int i = 0; i < 30; i += 3) {
        QImage image(600, 900, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                image.setPixel(x, y, qRgb((x / 3 + (seed >> 24) % 40) % 256, (y / 4) % 256, (i * 8 + (seed >> 16) % 30) % 256));
            }
        const std::string file = store.storeImage("Film " + std::to_string(100 + i), std::to_string(1950 + i), image);
        coverBytes += QFileInfo(QString::fromStdString(file)).size();
    }
    const auto definitionWith = [](report::PartKind first) {
        ReportDefinition d = newDefinition();
        d.numberOfLines = 4;
        for (int l = 0; l < 4; ++l) {
            ReportLine& line = d.lines[static_cast<size_t>(l)];
            setPart(line, 0, 90, report::PartKind::Filler, "", 0, false, 90);
            setPart(line, 0, 12, l == 0 ? first : report::PartKind::Filler, "", 4, false, 90);
            setPart(line, 1, 78, report::PartKind::Field, "", l == 0 ? 1 : 11, false, 90); // Title, then Year
        }
        return d;
    };
    const ReportDefinition withCovers = definitionWith(report::PartKind::Cover);
    EXPECT_EQ(withCovers.lines[0][0].kind, "<COVER>");
    EXPECT_EQ(withCovers.lines[0][0].number, 4);
    // The definitions file keeps it as any other part.
    EXPECT_EQ(decodeDefinition(encodeDefinition(withCovers), "REELKP.URP", 0).lines[0][0].kind, "<COVER>");

    const QString folder = QString::fromStdString(dir.file(""));
    const QString pdf = folder + "/covers.pdf", plain = folder + "/plain.pdf";
    writePdf(withCovers, pdf, true);
    table.first();
    writePdf(definitionWith(report::PartKind::Filler), plain, true);
    const qint64 size = QFileInfo(pdf).size(), plainSize = QFileInfo(plain).size();
    EXPECT_LE(size, plainSize * 3 / 2 + coverBytes) << size << " bytes, " << plainSize << " without covers, " << coverBytes
                                                    << " of covers";
    if (!QStandardPaths::findExecutable("pdfimages").isEmpty()) {
        QProcess images;
        images.start("pdfimages", {"-list", pdf});
        ASSERT_TRUE(images.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(images.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size() - 2, 10) << "one picture for each film that has a cover:\n" << lines.join('\n').toStdString();
    }
    // The words still print beside the pictures.
    if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        ASSERT_TRUE(text.waitForFinished(30000));
        EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains("Film 100"));
    }
    // In the text file the cover's room is blank: twelve spaces before the title.
    table.first();
    const QStringList lines = textOf(withCovers);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith(QString(12, ' ') + "Film 1"); }))
        << lines.mid(0, 12).join('\n').toStdString();
}
