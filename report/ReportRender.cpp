#include "ReportRender.h"

#include "Cp1252.h"
#include "DbfFormat.h"
#include "TextEncoding.h"
#include "Schema.h"

#include "CoverStore.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>

namespace report {

using engine::TBaseReport;

namespace {

const QString kNoValue = "zzxkytrweq"; // a previous group value no field holds
constexpr int kInnerMargin = 2;         // hundredths of an inch inside every stop
constexpr double kCoverDpi = 200;       // a cover's pixels to the inch on the page: sharp in print, small in a PDF
// The price fields the totals add up (schema positions 28 and 34, counted from 0).
const int kListPriceField = db::schemaPosition("ListPrice") - 1;
const int kPurchPriceField = db::schemaPosition("PurchPrice") - 1;

// A text of the report definitions file (Windows-1252).
QString fromDefinition(const std::string& text)
{
    return QString::fromStdString(db::cp1252ToUtf8(text));
}

// Exactly width characters: cut, then padded on the right (or on the left).
QString exactly(const QString& text, int width, bool padLeft = false)
{
    const QString cut = db::leftCharacters(text, width);
    const QString padding(std::max<qsizetype>(0, width - db::characterCount(cut)), ' ');
    return padLeft ? padding + cut : cut + padding;
}

bool isField(const ReportItem& item)
{
    return !item.isFiller() && !item.isLabel() && !item.isCover() && item.number >= 1 && item.number <= db::kSchemaFieldCount;
}

bool isNumericField(const ReportItem& item)
{
    return isField(item) && (db::schemaField(item.number).kind == db::SchemaKind::WholeNumber
                             || db::schemaField(item.number).kind == db::SchemaKind::DecimalNumber);
}

// Numbers and dates lose their meaning when cut ("199" for 1991), and so does a label's fixed text.
bool keepsBodyValueWhole(const ReportItem& item)
{
    return item.isLabel() || isNumericField(item)
           || (isField(item) && db::schemaField(item.number).kind == db::SchemaKind::Date);
}

} // namespace

ReportRender::ReportRender(const ReportDefinition& definition, db::Table& table, RenderSettings settings)
    : m_definition(definition)
    , m_table(table)
    , m_settings(std::move(settings))
{
}

void ReportRender::attach(TBaseReport& engine)
{
    engine.OnBeforePrint = [this](TBaseReport& r) { beforePrint(r); };
    engine.OnPrintHeader = [this](TBaseReport& r) { header(r); };
    engine.OnPrintPage = [this](TBaseReport& r, int&) { return page(r); };
    engine.OnPrintFooter = [this](TBaseReport& r) { footer(r); };
    engine.OnAfterPrint = [this](TBaseReport& r) { afterPrint(r); };
}

QString ReportRender::numberText(int position, double value) const
{
    const app::NumberFormats& n = m_settings.numbers;
    const db::SchemaField& schema = db::schemaField(position);
    if (schema.kind == db::SchemaKind::DecimalNumber)
        return n.moneyAmount(value, 1);
    // Year as a plain number; other whole numbers (the play time) grouped.
    return schema.name == std::string("Year") ? n.plainNumber(value, 1, 0) : n.groupedNumber(value, 1, 0);
}

QString ReportRender::fieldText(const db::Record& record, int position) const
{
    const int field = position - 1;
    const db::SchemaField& schema = db::schemaField(position);
    // A number nobody entered prints blank, not as 0.
    if ((schema.kind == db::SchemaKind::WholeNumber || schema.kind == db::SchemaKind::DecimalNumber)
        && db::trimBoth(record.raw(field)).empty())
        return {};
    switch (schema.kind) {
    case db::SchemaKind::WholeNumber:
    case db::SchemaKind::DecimalNumber: return numberText(position, record.number(field));
    default: return QString::fromStdString(record.text(field));
    }
}

// ---------------------------------------------------------------- job frame

void ReportRender::beforePrint(TBaseReport& r)
{
    r.setStatusFormat(QCoreApplication::translate("report", "Printing Page %p\r%0\r%1"));
    r.StatusText() = QStringList{QString(), QString()};
    r.setMarginTop(m_definition.topMargin);
    r.setMarginBottom(m_definition.bottomMargin);
    r.setMarginLeft(m_definition.leftMargin);
    r.setMarginRight(m_definition.rightMargin);
    m_charactersPerLine = m_definition.width;
    m_usableWidth = r.PaperWidth() - m_definition.leftMargin - m_definition.rightMargin;
    // The group fields are the first sort levels that name a field.
    m_groupFields = {0, 0};
    if (m_definition.groupByLevel1) {
        std::vector<int> named;
        for (const int position : m_settings.sortFields)
            if (position >= 1 && position <= db::kSchemaFieldCount)
                named.push_back(position);
        if (!named.empty())
            m_groupFields[0] = named[0];
        if (named.size() > 1 && m_definition.groupByLevel2)
            m_groupFields[1] = named[1];
    }
    m_previous = {kNoValue, kNoValue};
    m_headerPending = m_totalsPending = m_finalDone = false;
    m_firstGroup = true;
    m_group = m_report = Totals{};
    m_textBody.clear();
    for (const ReportLine& line : m_definition.lines)
        m_textBody.push_back(textLine(lineItems(line), keepsBodyValueWhole));
    m_textTotals = textLine(lineItems(m_definition.totals), [](const ReportItem& item) { return !item.isFiller(); });
    m_covers.reset();
    if (!textMode() && hasCovers())
        m_covers.emplace(m_table.filePath());
    m_table.disableControls();
    // The report is one state of the collection: other copies' changes wait until it ends.
    m_hold.emplace(m_table);
    m_table.first();
}

void ReportRender::afterPrint(TBaseReport&)
{
    if (textMode() && m_settings.text)
        m_settings.text->flush();
    m_hold.reset();
    m_table.enableControls();
}

void ReportRender::header(TBaseReport& r)
{
    if (textMode()) {
        for (const std::string& title : m_definition.titles)
            if (!title.empty())
                writeText(fromDefinition(title));
        return;
    }
    r.setAreaTop(0.5);
    r.setAreaBottom(1.25);
    r.ReturnHome();
    selectFont(r, TitleFont);
    for (const std::string& title : m_definition.titles) {
        if (title.empty())
            continue; // an empty title line takes no space
        r.WriteCenteredAt(fromDefinition(title), r.PaperWidth() / 2);
        r.EndTextLine();
    }
}

void ReportRender::footer(TBaseReport& r)
{
    const QString page = QCoreApplication::translate("report", "Page %1").arg(r.PageNumber());
    if (textMode()) {
        QString line;
        if (m_definition.pageNumbers)
            line += page + "     ";
        if (m_definition.dateOnPages)
            line += "     " + m_settings.today;
        writeText(QString());
        writeText(line + QChar('\f'));
        return;
    }
    const double bottom = r.PaperHeight() - m_definition.bottomMargin;
    r.setAreaTop(bottom - 0.5);
    r.setAreaBottom(bottom);
    r.ReturnHome();
    selectFont(r, FootnoteFont);
    if (m_definition.pageNumbers)
        r.WriteInArea(page, engine::taLeft);
    if (m_definition.dateOnPages)
        r.WriteInArea(m_settings.today, engine::taRight);
}

// ---------------------------------------------------------------- pages

bool ReportRender::page(TBaseReport& r)
{
    const bool oneLine = m_definition.numberOfLines == 1;
    r.setAreaTop(1.25);
    r.setAreaBottom(r.PaperHeight() - m_definition.bottomMargin - 0.75);
    r.ReturnHome();
    if (oneLine && m_definition.columnHeaders)
        columnHeaders(r);
    else
        selectFont(r, BodyFont);
    if (oneLine) {
        r.RemoveTabStops();
        setLineStops(r, m_definition.lines[0], true);
    }
    const int lines = m_definition.numberOfLines;
    while (r.LinesRemaining() >= lines && !m_table.eof() && !m_table.isEmpty()) {
        if (m_totalsPending && !groupTotals(r))
            break;
        if (m_headerPending && !groupHeader(r))
            break;
        const db::Record record = m_table.current();
        if (m_groupFields[0] != 0) {
            const QString first = db::leftCharacters(fieldText(record, m_groupFields[0]), 120);
            bool newGroup = false;
            QString second;
            if (m_groupFields[1] != 0) {
                second = db::leftCharacters(fieldText(record, m_groupFields[1]), 120);
                if (second != m_previous[1]) {
                    m_previous[1] = second;
                    newGroup = true;
                }
            }
            newGroup = newGroup || first != m_previous[0];
            if (newGroup) {
                m_previous[0] = first;
                m_pendingHeaderText = m_groupFields[1] != 0 ? first + ", " + second : first;
                m_totalsPending = true;
                m_headerPending = true;
                if (groupTotals(r))
                    groupHeader(r);
            }
            if (m_totalsPending || m_headerPending)
                break; // they, and then this record, open the next page
        }
        std::vector<CoverBox> coverBoxes;
        if (oneLine) {
            noteCoverBoxes(r, m_definition.lines[0], 0, coverBoxes);
            bodyLine(r, m_definition.lines[0], record);
        } else {
            for (int i = 0; i < lines; ++i) {
                if (!textMode()) { // the text file never uses the stops
                    r.RemoveTabStops();
                    setLineStops(r, m_definition.lines[static_cast<size_t>(i)], false);
                    noteCoverBoxes(r, m_definition.lines[static_cast<size_t>(i)], i, coverBoxes);
                }
                bodyLine(r, m_definition.lines[static_cast<size_t>(i)], record);
            }
        }
        drawCovers(r, record, coverBoxes);
        if (m_definition.useTotals) {
            const double list = record.number(kListPriceField);
            const double purchase = record.number(kPurchPriceField);
            for (Totals* t : {&m_group, &m_report}) {
                t->count += 1;
                t->listPrice += list;
                t->purchasePrice += purchase;
            }
        }
        m_table.next();
    }
    const bool atEnd = m_table.eof() || m_table.isEmpty();
    if (atEnd && !m_finalDone && !m_totalsPending && !m_headerPending)
        m_finalDone = finalTotals(r);
    return !(atEnd && m_finalDone);
}

bool ReportRender::hasCovers() const
{
    for (int l = 0; l < std::max(1, m_definition.numberOfLines) && l < kMaxBodyLines; ++l)
        for (const ReportItem& item : lineItems(m_definition.lines[static_cast<size_t>(l)]))
            if (item.isCover())
                return true;
    return false;
}

void ReportRender::noteCoverBoxes(TBaseReport& r, const ReportLine& line, int lineIndex, std::vector<CoverBox>& boxes)
{
    if (!m_covers || !m_covers->any())
        return;
    const std::vector<ReportItem> items = lineItems(line);
    const auto& stops = r.TabStops();
    const int lines = std::max(1, m_definition.numberOfLines);
    for (size_t k = 0; k < items.size() && k < stops.size(); ++k) {
        if (!items[k].isCover())
            continue;
        // From the top of its own line down through as many of the record's lines as it is tall.
        const int tall = std::clamp<int>(items[k].number == 0 ? lines - lineIndex : items[k].number, 1, lines - lineIndex);
        const double top = r.YPos() + r.FontDescent() - r.LineHeight();
        const double margin = stops[k].margin;
        boxes.push_back({stops[k].position + margin, top + margin, stops[k].position + stops[k].width - margin,
                         top + tall * r.LineHeight() - margin});
    }
}

void ReportRender::drawCovers(TBaseReport& r, const db::Record& record, const std::vector<CoverBox>& boxes)
{
    if (boxes.empty())
        return;
    const int year = m_table.fieldIndex("Year");
    const std::string file = m_covers->fileOf(record.text(0), year >= 0 ? record.text(year) : std::string());
    if (file.empty())
        return; // a film without a cover leaves its room blank
    for (const CoverBox& box : boxes) {
        const double width = box.right - box.left, height = box.bottom - box.top;
        if (width <= 0 || height <= 0)
            continue;
        // Read at the size it prints (a page holds no more detail than the printer shows), its shape kept.
        const QImage picture = covers::readCover(file, QSize(static_cast<int>(width * kCoverDpi), static_cast<int>(height * kCoverDpi)));
        if (picture.isNull())
            continue;
        const double scale = std::min(width / picture.width(), height / picture.height());
        const double w = picture.width() * scale, h = picture.height() * scale;
        const std::string bytes = covers::encodePicture(picture, picture.hasAlphaChannel(), 85);
        if (bytes.empty())
            continue;
        const double left = box.left + (width - w) / 2;
        r.StretchDraw(left, box.top, left + w, box.top + h, QByteArray::fromStdString(bytes));
    }
}

void ReportRender::columnHeaders(TBaseReport& r)
{
    const std::vector<ReportItem> items = lineItems(m_definition.lines[0]);
    if (textMode()) {
        QString line;
        for (const ReportItem& item : items)
            line += exactly(isField(item) ? m_settings.displayName(item.number) : QString(), item.width);
        lineToFile(r, line);
        selectFont(r, BodyFont);
        return;
    }
    selectFont(r, ColumnHeaderFont);
    r.RemoveTabStops();
    const uint8_t boxes = boxLines();
    for (const ReportItem& item : items)
        r.AddTabStop(-1, engine::taCenter, stopWidth(item.width), kInnerMargin, boxes, 0);
    QString text;
    for (size_t k = 0; k < items.size(); ++k) {
        text += '\t';
        if (isField(items[k]))
            text += fitted(r, m_settings.displayName(items[k].number), r.TabStopInnerWidth(static_cast<int>(k) + 1));
    }
    r.WriteText(text);
    selectFont(r, BodyFont);
    r.EndTextLine();
}

uint8_t ReportRender::boxLines() const
{
    // Vertical lines draw the stops' sides, horizontal lines their tops and bottoms.
    uint8_t lines = 0;
    if (m_definition.verticalLines)
        lines |= engine::tlLeft | engine::tlRight;
    if (m_definition.horizontalLines)
        lines |= engine::tlTop | engine::tlBottom;
    return lines;
}

void ReportRender::setLineStops(TBaseReport& r, const ReportLine& line, bool oneLine)
{
    const uint8_t boxes = oneLine ? boxLines() : 0;
    for (const ReportItem& item : lineItems(line)) {
        uint8_t alignment = engine::taLeft;
        if (oneLine && isNumericField(item))
            alignment = engine::taRight;
        else if (!oneLine && item.isLabel())
            alignment = engine::taRight;
        r.AddTabStop(-1, alignment, stopWidth(item.width), kInnerMargin, boxes, 0);
    }
}

void ReportRender::bodyLine(TBaseReport& r, const ReportLine& line, const db::Record& record)
{
    if (textMode()) {
        const auto index = static_cast<size_t>(&line - m_definition.lines.data());
        writeTextItems(r, m_textBody[index],
                       [&](std::string& out, const TextItem& item) { appendFieldBytes(out, record, item.number); });
        return;
    }
    writeItems(
        r, lineItems(line), [&](const ReportItem& item) { return isField(item) ? fieldText(record, item.number) : QString(); },
        keepsBodyValueWhole, true);
}

void ReportRender::writeItems(TBaseReport& r, const std::vector<ReportItem>& items,
                              const std::function<QString(const ReportItem&)>& valueOf,
                              const std::function<bool(const ReportItem&)>& keepWhole, bool numberColumns)
{
    // Labels give their text, fillers blank space, the other items their value. Cells that fit
    // are gathered and written together; one that has to shrink is written on its own.
    QString pending;
    for (size_t k = 0; k < items.size(); ++k) {
        const ReportItem& item = items[k];
        const double inner = r.TabStopInnerWidth(static_cast<int>(k) + 1);
        const QString value = item.isLabel() ? fromDefinition(item.label) : item.isFiller() ? QString() : valueOf(item);
        if (numberColumns && isNumericField(item) && !value.isEmpty()) {
            // A column of numbers prints all its values at one size: 95 and 120 alike.
            const double size = numberColumnSize(r, item.number, inner);
            if (size < m_definition.fonts[BodyFont].size) {
                if (!pending.isEmpty())
                    r.WriteText(pending);
                pending.clear();
                writeAtSize(r, value, r.MeasureText(value) <= inner ? size : shrunkSize(r, value, inner));
                continue;
            }
        }
        if (!keepWhole(item) || r.MeasureText(value) <= inner) {
            pending += QLatin1Char('\t') + fitted(r, value, inner);
            continue;
        }
        if (!pending.isEmpty())
            r.WriteText(pending);
        pending.clear();
        writeShrunk(r, value, inner);
    }
    r.WriteText(pending);
    r.EndTextLine();
}

ReportRender::TextLine ReportRender::textLine(const std::vector<ReportItem>& items,
                                             bool (*keepWhole)(const ReportItem&))
{
    TextLine line;
    for (const ReportItem& item : items) {
        TextItem t;
        t.width = item.width;
        t.number = item.number;
        t.keepWhole = keepWhole(item);
        if (item.isFiller() || item.isCover()) { // a text file has no pictures: the cover's room stays blank
            t.kind = TextItem::Kind::Filler;
        } else if (item.isLabel()) {
            t.kind = TextItem::Kind::Label;
            t.padLeft = true;
            t.label = db::cp1252ToUtf8(item.label); // as a printed label reads
        } else {
            t.kind = TextItem::Kind::Field;
        }
        line.push_back(std::move(t));
    }
    return line;
}

void ReportRender::appendFieldBytes(std::string& out, const db::Record& record, int position)
{
    if (position < 1 || position > db::kSchemaFieldCount)
        return;
    const db::SchemaKind kind = db::schemaField(position).kind;
    if (kind == db::SchemaKind::WholeNumber || kind == db::SchemaKind::DecimalNumber) {
        out += fieldText(record, position).toStdString();
        return;
    }
    out += record.textView(position - 1, m_scratch);
}

void ReportRender::appendTotalBytes(std::string& out, int kind, const Totals& totals) const
{
    out += totalText(kind, totals).toStdString();
}

template <typename AppendValue>
void ReportRender::writeTextItems(TBaseReport& r, const TextLine& items, AppendValue&& appendValue)
{
    // Each item exactly as wide as its width: cut, then padded. A value that keepWhole names
    // and is wider than its item runs on; the items after it give up blanks until the line
    // is back in step, so the columns after it stay where they were whenever there is room.
    // Cells are UTF-8 and measured in characters; the line is written in the collection's encoding.
    m_line.clear();
    size_t overflow = 0;
    for (const TextItem& item : items) {
        const auto width = static_cast<size_t>(item.width);
        m_cell.clear();
        if (item.kind == TextItem::Kind::Label)
            m_cell = item.label;
        else if (item.kind != TextItem::Kind::Filler)
            appendValue(m_cell, item);
        const size_t characters = db::isAscii(m_cell) ? m_cell.size() : db::utf8CharacterCount(m_cell);
        if (item.keepWhole && characters > width) {
            m_line += m_cell;
            overflow += characters - width;
            continue;
        }
        if (characters > width)
            m_cell.resize(db::utf8CharactersLength(m_cell, width));
        m_cell.insert(item.padLeft ? size_t{0} : m_cell.size(), width - std::min(width, characters), ' ');
        // Blanks off the end of the cell, then off its start, while the line runs over.
        size_t end = m_cell.size();
        size_t start = 0;
        while (overflow > 0 && end > start && m_cell[end - 1] == ' ') {
            --end;
            --overflow;
        }
        while (overflow > 0 && start < end && m_cell[start] == ' ') {
            ++start;
            --overflow;
        }
        m_line.append(m_cell, start, end - start);
    }
    writeBytes(m_line);
    r.EndTextLine(); // the engine counts the line, so that pages break where printed ones would
}

void ReportRender::writeShrunk(TBaseReport& r, const QString& text, double inner)
{
    writeAtSize(r, text, shrunkSize(r, text, inner));
}

double ReportRender::shrunkSize(TBaseReport& r, const QString& text, double inner)
{
    const FontBlock& body = m_definition.fonts[BodyFont];
    // Half a point at a time, down to four fifths of the body size (smaller is hard to read);
    // what is still too wide there is printed whole and runs into the gap beside its stop.
    double size = body.size;
    const double smallest = std::max(1.0, body.size * 0.8);
    do {
        size -= 0.5;
        r.SelectFont(fromDefinition(body.face), size);
    } while (size - 0.5 >= smallest && r.MeasureText(text) > inner);
    selectFont(r, BodyFont);
    return size;
}

void ReportRender::writeAtSize(TBaseReport& r, const QString& text, double size)
{
    const engine::FontState kept = r.Font();
    r.SelectFont(fromDefinition(m_definition.fonts[BodyFont].face), size);
    r.SetFontBold(kept.bold);
    r.SetFontItalic(kept.italic);
    r.SetFontUnderline(kept.underline);
    r.SetFontStrikeOut(kept.strikeOut);
    r.SetFontColor(kept.color);
    r.WriteText(QLatin1Char('\t') + text);
    selectFont(r, BodyFont);
}

double ReportRender::numberColumnSize(TBaseReport& r, int position, double inner)
{
    const std::pair<int, double> column{position, inner};
    if (const auto known = m_numberColumnSizes.find(column); known != m_numberColumnSizes.end())
        return known->second;
    const QString widest = widestNumber(position);
    const double size = widest.isEmpty() || r.MeasureText(widest) <= inner ? m_definition.fonts[BodyFont].size
                                                                            : shrunkSize(r, widest, inner);
    m_numberColumnSizes[column] = size;
    return size;
}

QString ReportRender::widestNumber(int position)
{
    if (!m_numberRanges) {
        // One pass over the records the report prints, for every number field its body shows.
        std::vector<int> positions;
        for (const ReportLine& line : m_definition.lines)
            for (const ReportItem& item : lineItems(line))
                if (isNumericField(item) && std::find(positions.begin(), positions.end(), item.number) == positions.end())
                    positions.push_back(item.number);
        using Ranges = std::vector<std::pair<double, double>>;
        std::vector<Ranges> found(m_table.scanWorkers(), Ranges(positions.size(), {HUGE_VAL, -HUGE_VAL}));
        const std::vector<db::FieldDef>& fields = m_table.fields();
        m_table.scanVisibleInParallel([&](unsigned worker, const char* bytes, uint32_t) {
            const db::Record record(&fields, bytes);
            for (size_t k = 0; k < positions.size(); ++k) {
                const int field = positions[k] - 1;
                if (field >= static_cast<int>(fields.size()) || db::trimBoth(record.raw(field)).empty())
                    continue;
                const double value = record.number(field);
                auto& [low, high] = found[worker][k];
                low = std::min(low, value);
                high = std::max(high, value);
            }
        });
        m_numberRanges.emplace();
        for (size_t k = 0; k < positions.size(); ++k) {
            std::pair<double, double> range{HUGE_VAL, -HUGE_VAL};
            for (const Ranges& ranges : found) {
                range.first = std::min(range.first, ranges[k].first);
                range.second = std::max(range.second, ranges[k].second);
            }
            (*m_numberRanges)[positions[k]] = range;
        }
    }
    const auto range = m_numberRanges->find(position);
    if (range == m_numberRanges->end() || range->second.first > range->second.second)
        return {}; // no record has a value
    // The widest text is the lowest value's (a long negative one) or the highest's.
    const QString low = numberText(position, range->second.first);
    const QString high = numberText(position, range->second.second);
    return low.size() > high.size() ? low : high;
}

// ---------------------------------------------------------------- groups and totals

bool ReportRender::groupHeader(TBaseReport& r)
{
    if (r.LinesRemaining() < m_definition.numberOfLines + 2)
        return false; // stays pending: the next page starts with it
    m_headerPending = false;
    QString text = m_pendingHeaderText;
    if (textMode()) {
        const QString indent((m_charactersPerLine - static_cast<int>(text.size())) / 2 > 0
                                 ? (m_charactersPerLine - static_cast<int>(text.size())) / 2
                                 : 0,
                             ' ');
        lineToFile(r, QString());
        lineToFile(r, indent + QString(text.size(), '-'));
        lineToFile(r, indent + text);
        lineToFile(r, indent + QString(text.size(), '-'));
        return true;
    }
    r.EndTextLine(); // a blank line before it
    r.RemoveTabStops();
    centeredStop(r, text, engine::tlLeft | engine::tlRight | engine::tlTop | engine::tlBottom);
    r.WriteText("\t" + text);
    r.EndTextLine();
    if (m_definition.numberOfLines == 1) {
        r.RemoveTabStops();
        setLineStops(r, m_definition.lines[0], true);
    }
    return true;
}

bool ReportRender::groupTotals(TBaseReport& r)
{
    if (m_firstGroup || !m_definition.useTotals) {
        m_firstGroup = false;
        m_totalsPending = false;
        return true;
    }
    if (r.LinesRemaining() < m_definition.numberOfLines + 3)
        return false;
    m_totalsPending = false;
    caption(r, QCoreApplication::translate("report", "TOTALS"));
    setTotalsStops(r);
    totalsLine(r, m_group);
    m_group = Totals{};
    if (m_definition.numberOfLines == 1 && !textMode()) {
        r.RemoveTabStops();
        setLineStops(r, m_definition.lines[0], true);
    }
    return true;
}

bool ReportRender::finalTotals(TBaseReport& r)
{
    if (!m_definition.useTotals)
        return true;
    if (r.LinesRemaining() < 5)
        return false;
    caption(r, QCoreApplication::translate("report", "TOTALS"));
    setTotalsStops(r);
    totalsLine(r, m_group);
    if (textMode())
        lineToFile(r, QString());
    else
        r.EndTextLine();
    caption(r, QCoreApplication::translate("report", "GRAND TOTALS"));
    setTotalsStops(r);
    totalsLine(r, m_report);
    return true;
}

void ReportRender::caption(TBaseReport& r, const QString& text)
{
    if (textMode()) {
        const int indent = std::max(0, (m_charactersPerLine - static_cast<int>(text.size())) / 2);
        lineToFile(r, QString(indent, ' ') + text);
        return;
    }
    QString fittedText = text;
    r.RemoveTabStops();
    centeredStop(r, fittedText, engine::tlBottom);
    r.WriteText("\t" + fittedText);
    r.EndTextLine();
}

void ReportRender::centeredStop(TBaseReport& r, QString& text, uint8_t lines)
{
    double w = r.MeasureText(text);
    if (w > m_usableWidth - 0.2) {
        text = fitted(r, text, m_usableWidth - 0.2);
        w = m_usableWidth;
    }
    r.AddTabStop(m_definition.leftMargin + (m_usableWidth - w) / 2, engine::taCenter, w + 0.2, kInnerMargin, lines, 0);
}

void ReportRender::setTotalsStops(TBaseReport& r)
{
    if (textMode())
        return;
    r.RemoveTabStops();
    for (const ReportItem& item : lineItems(m_definition.totals))
        r.AddTabStop(-1, item.isLabel() ? engine::taRight : engine::taLeft, stopWidth(item.width), kInnerMargin, 0, 0);
}

QString ReportRender::totalText(int kind, const Totals& totals) const
{
    const app::NumberFormats& n = m_settings.numbers;
    switch (kind) {
    case 1: return n.groupedNumber(totals.count, 1, 0);
    case 2: return n.moneyAmount(totals.listPrice, 1);
    case 3: return n.moneyAmount(totals.purchasePrice, 1);
    default: return {};
    }
}

void ReportRender::totalsLine(TBaseReport& r, const Totals& totals)
{
    if (textMode()) {
        writeTextItems(r, m_textTotals,
                       [&](std::string& out, const TextItem& item) { appendTotalBytes(out, item.number, totals); });
        return;
    }
    // Every totals value is a number or a label.
    writeItems(
        r, lineItems(m_definition.totals), [&](const ReportItem& item) { return totalText(item.number, totals); },
        [](const ReportItem& item) { return !item.isFiller(); }, false);
}

// ---------------------------------------------------------------- helpers

void ReportRender::selectFont(TBaseReport& r, FontRole role)
{
    const FontBlock& f = m_definition.fonts[static_cast<size_t>(role)];
    r.SelectFont(fromDefinition(f.face), f.size);
    r.SetFontBold(f.bold);
    r.SetFontItalic(f.italic);
    r.SetFontUnderline(f.underline);
    r.SetFontStrikeOut(f.strikeOut);
    r.SetFontColor(f.color);
}

void ReportRender::lineToFile(TBaseReport& r, const QString& text)
{
    // The file gets the line, the engine an empty line: pages break where printed ones would.
    writeText(text);
    r.WriteTextLine(QString());
}

void ReportRender::writeText(const QString& line)
{
    writeBytes(line.toStdString());
}

void ReportRender::writeBytes(std::string_view utf8Line)
{
    // The file keeps the collection's encoding: a character Windows-1252 lacks is written as "?".
    if (!m_settings.text)
        return;
    if (m_table.encoding() == db::TextEncoding::Utf8 || db::isAscii(utf8Line))
        *m_settings.text << utf8Line << "\r\n"; // as every text file of the program
    else
        *m_settings.text << db::utf8ToCp1252(utf8Line) << "\r\n";
}

QString ReportRender::fitted(TBaseReport& r, QString text, double width)
{
    while (!text.isEmpty() && r.MeasureText(text) > width)
        text.chop(1);
    return text;
}

double ReportRender::stopWidth(int characters) const
{
    return static_cast<double>(characters) / m_charactersPerLine * m_usableWidth;
}

} // namespace report
