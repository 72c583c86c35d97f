#pragma once

// User report rendering: one report definition over the records a table
// shows (all, or those of the active search, in its current order), through
// the report engine's page events. Printed modes lay out tab stops; the
// text mode also writes every line to a text file, each item exactly as
// wide as its width, with a form feed ending every page.

#include "RegionalFormats.h"
#include "CoverStore.h"
#include "ReportDefinitions.h"
#include "TBaseReport.h"
#include "Table.h"

#include <QString>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>

namespace report {

enum class RenderMode { Printer = 1, Preview = 2, TextFile = 3 };

struct RenderSettings {
    RenderMode mode = RenderMode::Preview;
    // The four sort levels' schema positions (0 none): the first that names a
    // field is the level-1 group field, the next that names one the level-2.
    std::array<int, 4> sortFields{0, 0, 0, 0};
    app::NumberFormats numbers;
    // The field display name of a schema position, for column headers.
    std::function<QString(int position)> displayName;
    // Today's date in the program's short date format, for the footer.
    QString today;
    // The text file of mode 3, written in the collection's encoding (Windows-1252 or UTF-8).
    std::ostream* text = nullptr;
};

class ReportRender {
public:
    ReportRender(const ReportDefinition& definition, db::Table& table, RenderSettings settings);
    // Connects the page events of an engine to this rendering.
    void attach(engine::TBaseReport& engine);

    // Texts of one record's field as the report prints it.
    QString fieldText(const db::Record& record, int position) const;
    // A number field's value as the report prints it.
    QString numberText(int position, double value) const;

private:
    // An item of a line as the text file writes it, worked out once per report: the line's
    // bytes are put together in the table's code page without a Unicode round trip.
    struct TextItem {
        enum class Kind { Filler, Label, Field, Total } kind = Kind::Filler;
        int number = 0; // schema position of a field, total kind of a total
        int width = 0;
        bool padLeft = false;   // labels stand against the value after them
        bool keepWhole = false; // numbers, dates and labels are never cut
        std::string label;      // a label's text (UTF-8)
    };
    using TextLine = std::vector<TextItem>;

    struct Totals {
        double count = 0;
        double listPrice = 0;
        double purchasePrice = 0;
    };

    void beforePrint(engine::TBaseReport& r);
    void header(engine::TBaseReport& r);
    bool page(engine::TBaseReport& r);
    void footer(engine::TBaseReport& r);
    void afterPrint(engine::TBaseReport& r);

    bool textMode() const { return m_settings.mode == RenderMode::TextFile; }
    void selectFont(engine::TBaseReport& r, FontRole role);
    void lineToFile(engine::TBaseReport& r, const QString& text);
    QString fitted(engine::TBaseReport& r, QString text, double width);
    double stopWidth(int characters) const;
    uint8_t boxLines() const; // the box lines of the one-body-line layout
    void setLineStops(engine::TBaseReport& r, const ReportLine& line, bool oneLine);
    void setTotalsStops(engine::TBaseReport& r);
    void columnHeaders(engine::TBaseReport& r);
    // A cover part's room on the page, in inches.
    struct CoverBox {
        double left, top, right, bottom;
    };
    bool hasCovers() const;
    // The rooms of a line's cover parts, noted as the line is about to be written (its stops set).
    void noteCoverBoxes(engine::TBaseReport& r, const ReportLine& line, int lineIndex, std::vector<CoverBox>& boxes);
    // The record's cover in each room, once its lines are written.
    void drawCovers(engine::TBaseReport& r, const db::Record& record, const std::vector<CoverBox>& boxes);
    void bodyLine(engine::TBaseReport& r, const ReportLine& line, const db::Record& record);
    // One line of items: to the file exactly as wide as the items, or through the stops. A value
    // that keepWhole names (a number, a date, a label's text) is never cut: on paper it is printed
    // up to a fifth smaller to fit its stop and runs into the gap beside it when that is not enough,
    // in the file it takes room from the blanks of the items after it. With numberColumns, a
    // number field's column prints every value at the one size its widest value needs.
    void writeItems(engine::TBaseReport& r, const std::vector<ReportItem>& items,
                    const std::function<QString(const ReportItem&)>& valueOf,
                    const std::function<bool(const ReportItem&)>& keepWhole, bool numberColumns);
    static TextLine textLine(const std::vector<ReportItem>& items, bool (*keepWhole)(const ReportItem&));
    // Appends the bytes of a field's value as the report prints it.
    void appendFieldBytes(std::string& out, const db::Record& record, int position);
    void appendTotalBytes(std::string& out, int kind, const Totals& totals) const;
    template <typename AppendValue>
    void writeTextItems(engine::TBaseReport& r, const TextLine& items, AppendValue&& appendValue);
    // Writes text into the next stop in a body font small enough for it to fit inner inches.
    void writeShrunk(engine::TBaseReport& r, const QString& text, double inner);
    // The body size, half a point at a time down to four fifths of it, at which text fits inner inches.
    double shrunkSize(engine::TBaseReport& r, const QString& text, double inner);
    void writeAtSize(engine::TBaseReport& r, const QString& text, double size);
    // The one size a column of a number field prints every value in: the size
    // its widest value among the report's records fits at.
    double numberColumnSize(engine::TBaseReport& r, int position, double inner);
    QString widestNumber(int position);
    bool groupHeader(engine::TBaseReport& r);
    bool groupTotals(engine::TBaseReport& r);
    bool finalTotals(engine::TBaseReport& r);
    void caption(engine::TBaseReport& r, const QString& text);
    void totalsLine(engine::TBaseReport& r, const Totals& totals);
    QString totalText(int kind, const Totals& totals) const;
    void centeredStop(engine::TBaseReport& r, QString& text, uint8_t lines);
    void writeText(const QString& line);
    void writeBytes(std::string_view line);

    ReportDefinition m_definition;
    db::Table& m_table;
    std::optional<db::Table::ReadHold> m_hold; // from the job's start to its end
    RenderSettings m_settings;
    int m_charactersPerLine = 90;
    double m_usableWidth = 7.5;
    std::array<int, 2> m_groupFields{0, 0};
    std::array<QString, 2> m_previous;
    QString m_pendingHeaderText;
    bool m_headerPending = false;
    bool m_totalsPending = false;
    bool m_firstGroup = true;
    bool m_finalDone = false;
    Totals m_group;
    Totals m_report;
    // Text mode: the body lines and the totals line, and the buffers a line is built in.
    std::vector<TextLine> m_textBody;
    TextLine m_textTotals;
    std::string m_line;
    std::string m_cell;
    std::string m_scratch;
    // The smallest and largest value of each number field the body prints,
    // found in one pass over the records when a column first needs them.
    std::optional<std::map<int, std::pair<double, double>>> m_numberRanges;
    std::map<std::pair<int, double>, double> m_numberColumnSizes; // by field and inner width
    std::optional<covers::CoverFiles> m_covers; // printed reports with a cover part
};

} // namespace report
