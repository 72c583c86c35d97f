#include "LabelRender.h"

#include "Cp1252.h"
#include "TextEncoding.h"

#include <QCoreApplication>

#include <algorithm>

using engine::TBaseReport;

namespace report {

namespace {

// A counter or play time with its word in the user's language; nothing when the label leaves it out.
QString labelled(bool shown, const char* words, const QString& value)
{
    return shown ? QCoreApplication::translate("report", words).arg(value) : QString();
}

constexpr int kMostRecords = 6;
constexpr int kInnerMargin = 2; // hundredths of an inch inside each stop
constexpr int kMediaNumberLength = 10;

QString fromTable(const std::string& text) { return QString::fromStdString(text); }

} // namespace

int labelKind(bool spine, bool avery5199) { return (avery5199 ? 1 : 3) + (spine ? 1 : 0); }

const LabelStock& labelStock(int kind)
{
    static const std::array<LabelStock, 4> stocks = {{
        {10, 2, 3.06, 1.8125, 0.25, 1.0, 1.1, 8.5, 11.0},
        {15, 1, 5.7, 0.6562, 0, 0.6, 1.45, 8.5, 11.0},
        {12, 2, 3.06, 1.8125, 0.098, 0.437, 1.12, 8.27, 11.69},
        {16, 1, 5.7, 0.667, 0, 0.625, 1.42, 8.27, 11.69},
    }};
    return stocks.at(static_cast<size_t>(std::clamp(kind, 1, 4) - 1));
}

const std::array<LabelField, kLabelItemCount>& labelFields()
{
    static const std::array<LabelField, kLabelItemCount> fields = {{
        {"MediaNum", 10},
        {"Title", 60},
        {"CounterSta", 8},
        {"CounterSto", 8},
        {"Rating", 15},
        {"Year", 4},
        {"RunTime", 3},
        {"Category", 20},
    }};
    return fields;
}

std::array<bool, kLabelItemCount> labelItemsFromSettings(const std::array<bool, 8>& flags)
{
    std::array<bool, kLabelItemCount> items{};
    items[liRating] = flags[0];
    items[liTitle] = flags[1];
    items[liStartCounter] = flags[2];
    items[liStopCounter] = flags[3];
    items[liPlayTime] = flags[4];
    items[liCategory] = flags[5];
    items[liMediaNumber] = flags[6];
    items[liYear] = flags[7];
    return items;
}

std::vector<LabelPosition> scanMediaNumbers(db::Table& table, const std::vector<QString>& cells, int labels)
{
    std::vector<LabelPosition> positions(static_cast<size_t>(labels));
    for (int n = 0; n < labels; ++n)
        if (n < static_cast<int>(cells.size()))
            positions[static_cast<size_t>(n)].mediaNumber = db::leftCharacters(cells[static_cast<size_t>(n)].trimmed(), kMediaNumberLength);
    std::array<int, kLabelItemCount> fields{};
    for (int i = 0; i < kLabelItemCount; ++i)
        fields[static_cast<size_t>(i)] = table.requireField(labelFields()[static_cast<size_t>(i)].field);
    // The grid does not follow the walk.
    const db::Table::ControlsDisabled quiet(table);
    // One scan of one state of the collection: other copies' changes wait for it.
    const db::Table::ReadHold hold(table);
    for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
        const db::Record record = table.current();
        const QString media = db::leftCharacters(fromTable(record.text(fields[liMediaNumber])), kMediaNumberLength);
        if (media.isEmpty())
            continue;
        for (LabelPosition& position : positions) {
            if (position.mediaNumber != media || position.records.size() >= kMostRecords)
                continue;
            std::array<QString, kLabelItemCount> values;
            for (int i = 0; i < kLabelItemCount; ++i)
                values[static_cast<size_t>(i)] = db::leftCharacters(fromTable(record.text(fields[static_cast<size_t>(i)])),
                                                                    labelFields()[static_cast<size_t>(i)].characters);
            position.records.push_back(values);
        }
    }
    for (LabelPosition& position : positions)
        std::stable_sort(position.records.begin(), position.records.end(),
                         [](const auto& a, const auto& b) { return a[liStartCounter] < b[liStartCounter]; });
    return positions;
}

LabelRender::LabelRender(LabelSettings settings, db::Table& table)
    : m_settings(std::move(settings))
    , m_table(table)
{
}

void LabelRender::attach(TBaseReport& engine)
{
    engine.OnBeforePrint = [this](TBaseReport& r) { beforePrint(r); };
    engine.OnPrintPage = [this](TBaseReport& r, int&) { return page(r); };
    engine.OnPrintHeader = nullptr;
    engine.OnPrintFooter = nullptr;
    engine.OnAfterPrint = nullptr;
}

void LabelRender::beforePrint(TBaseReport& r)
{
    r.setStatusFormat(QCoreApplication::translate("report", "Scanning database for media numbers."));
    r.RefreshStatus();
    const LabelStock& stock = labelStock(m_settings.kind);
    m_positions = scanMediaNumbers(m_table, m_settings.cells, stock.labels);
    r.setStatusFormat(QCoreApplication::translate("report", "Printing Page %p\r%0\r%1"));
    r.StatusText() = QStringList{QString(), QString()};
}

void LabelRender::selectFont(TBaseReport& r, double points)
{
    const app::FontSetting& font = m_settings.font;
    r.SelectFont(font.name, points);
    r.SetFontBold(font.bold);
    r.SetFontItalic(font.italic);
    r.SetFontUnderline(font.underline);
    r.SetFontStrikeOut(font.strikeout);
    r.SetFontColor(static_cast<engine::ColorRef>(font.color));
}

void LabelRender::line(TBaseReport& r, double x, const std::vector<Cell>& cells)
{
    r.RemoveTabStops();
    QString text;
    for (size_t k = 0; k < cells.size(); ++k) {
        r.AddTabStop(k == 0 ? x : -1, cells[k].alignment, cells[k].width, kInnerMargin, 0, 0);
        // Cut from the right, a character at a time, until it fits its stop.
        QString fitted = cells[k].text;
        const double inner = r.TabStopInnerWidth(static_cast<int>(k) + 1);
        while (!fitted.isEmpty() && r.MeasureText(fitted) > inner)
            fitted.chop(1);
        text += '\t' + fitted;
    }
    r.WriteText(text);
}

bool LabelRender::page(TBaseReport& r)
{
    selectFont(r, m_settings.font.size);
    const LabelStock& stock = labelStock(m_settings.kind);
    for (size_t i = 0; i < m_positions.size(); ++i) {
        const LabelPosition& position = m_positions[i];
        if (position.records.empty())
            continue;
        const int n = static_cast<int>(i) + 1;
        r.setStatusFormat(QCoreApplication::translate("report", "Formatting Label %1").arg(n));
        r.RefreshStatus();
        if (stock.spine())
            spineLabel(r, position, n);
        else
            faceLabel(r, position, n);
    }
    return false; // a sheet is one page
}

void LabelRender::faceLabel(TBaseReport& r, const LabelPosition& position, int n)
{
    const LabelStock& stock = labelStock(m_settings.kind);
    const int column = (n - 1) % 2, row = (n - 1) / 2;
    const double x = stock.left + column * (stock.width + stock.columnGap);
    const double y = stock.top + row * stock.rowPitch;
    selectFont(r, 10);
    r.MoveCursor(x, y);
    r.EndTextLine();
    if (m_settings.items[liMediaNumber]) {
        line(r, x, {{stock.width, engine::taCenter, db::leftCharacters(position.mediaNumber, 11)}});
        r.EndTextLine();
    }
    const auto& records = position.records;
    if (records.size() > 1) {
        const double ratingWidth = width(liRating, 1.75);
        const double titleWidth = width(liTitle, stock.width - ratingWidth);
        const int count = static_cast<int>(records.size());
        selectFont(r, count <= 3 ? 10 : count == 4 ? 9 : count == 5 ? 8 : 6);
        for (const auto& record : records) {
            line(r, x, {{titleWidth, engine::taLeft, value(record, liTitle)},
                        {ratingWidth, engine::taLeft, value(record, liRating)}});
            r.EndTextLine();
            line(r, x, {{width(liStartCounter, 0.5), engine::taLeft, value(record, liStartCounter)},
                        {width(liStopCounter, 0.5), engine::taLeft, value(record, liStopCounter)},
                        {width(liYear, 0.5), engine::taLeft, value(record, liYear)},
                        {width(liPlayTime, 0.5), engine::taLeft, value(record, liPlayTime)},
                        {width(liCategory, 1.0), engine::taLeft, value(record, liCategory)}});
            r.EndTextLine();
        }
        return;
    }
    // One record: a blank line, then four centered lines.
    const auto& record = records.front();
    selectFont(r, 11);
    r.EndTextLine();
    line(r, x, {{width(liTitle, stock.width), engine::taCenter, value(record, liTitle)}});
    r.EndTextLine();
    const QString playTime =
        labelled(m_settings.items[liPlayTime], QT_TRANSLATE_NOOP("report", "%1 min"), record[liPlayTime]);
    line(r, x, {{width(liYear, 1.0), engine::taCenter, value(record, liYear)},
                {width(liPlayTime, 1.5), engine::taCenter, playTime}});
    r.EndTextLine();
    line(r, x, {{width(liCategory, 2.0), engine::taCenter, value(record, liCategory)},
                {width(liRating, 1.875), engine::taCenter, value(record, liRating)}});
    r.EndTextLine();
    const QString start =
        labelled(m_settings.items[liStartCounter], QT_TRANSLATE_NOOP("report", "Start: %1"), db::leftCharacters(record[liStartCounter], 15));
    const QString stop =
        labelled(m_settings.items[liStopCounter], QT_TRANSLATE_NOOP("report", "Stop: %1"), db::leftCharacters(record[liStopCounter], 14));
    line(r, x, {{width(liStartCounter, 1.5), engine::taCenter, start}, {width(liStopCounter, 1.5), engine::taCenter, stop}});
    r.EndTextLine();
}

void LabelRender::spineLabel(TBaseReport& r, const LabelPosition& position, int n)
{
    const LabelStock& stock = labelStock(m_settings.kind);
    const double x = stock.left, pitch = stock.rowPitch;
    const double y = stock.top + (n - 1) * pitch;
    r.MoveCursor(x, y + 0.25 * pitch);
    double w = 0;
    if (m_settings.items[liMediaNumber]) {
        // The media number's own column, as narrow as it fits in, by tenths of an inch.
        selectFont(r, 10);
        const QString media = db::leftCharacters(position.mediaNumber, 11);
        w = 0.1;
        const double inner = 2.0 * kInnerMargin / 100.0;
        while (r.MeasureText(media) > w - inner && w < stock.width)
            w += 0.1;
        line(r, x, {{w, engine::taLeft, media}});
        r.MoveCursor(x, y);
    }
    const auto& records = position.records;
    if (records.size() == 1) {
        const auto& record = records.front();
        const double ratingWidth = width(liRating, 0.8);
        selectFont(r, 11);
        r.EndTextLine();
        line(r, x + w, {{width(liTitle, stock.width - w - ratingWidth), engine::taCenter, value(record, liTitle)},
                        {ratingWidth, engine::taLeft, value(record, liRating)}});
        r.EndTextLine();
        const QString start =
            labelled(m_settings.items[liStartCounter], QT_TRANSLATE_NOOP("report", "Start: %1"), db::leftCharacters(record[liStartCounter], 15));
        const QString stop =
            labelled(m_settings.items[liStopCounter], QT_TRANSLATE_NOOP("report", "Stop: %1"), db::leftCharacters(record[liStopCounter], 14));
        const QString playTime =
            labelled(m_settings.items[liPlayTime], QT_TRANSLATE_NOOP("report", "%1 min"), record[liPlayTime]);
        line(r, x + w, {{width(liStartCounter, 1.15), engine::taLeft, start},
                        {width(liStopCounter, 1.15), engine::taLeft, stop},
                        {width(liYear, 0.5), engine::taLeft, value(record, liYear)},
                        {width(liPlayTime, 1.0), engine::taLeft, playTime},
                        {width(liCategory, 2 - w), engine::taLeft, value(record, liCategory)},
                        {ratingWidth, engine::taLeft, QString()}});
        r.EndTextLine();
        return;
    }
    const std::array<double, 6> widths = {width(liStartCounter, 0.5), width(liStopCounter, 0.5), width(liYear, 0.5),
                                          width(liPlayTime, 0.5),     width(liCategory, 1.0),    width(liRating, 0.5)};
    double others = 0;
    for (const double each : widths)
        others += each;
    const double titleWidth = width(liTitle, stock.width - w - others);
    const int count = static_cast<int>(records.size());
    selectFont(r, count == 2 ? 10 : count == 3 ? 9 : count == 4 ? 8 : count == 5 ? 7 : 5);
    r.EndTextLine();
    for (const auto& record : records) {
        line(r, x + w, {{widths[0], engine::taLeft, value(record, liStartCounter)},
                        {widths[1], engine::taLeft, value(record, liStopCounter)},
                        {titleWidth, engine::taLeft, value(record, liTitle)},
                        {widths[2], engine::taLeft, value(record, liYear)},
                        {widths[3], engine::taLeft, value(record, liPlayTime)},
                        {widths[4], engine::taLeft, value(record, liCategory)},
                        {widths[5], engine::taLeft, value(record, liRating)}});
        r.EndTextLine();
    }
}

} // namespace report
