#include "ReportDesign.h"

#include "Schema.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace report {

namespace {

bool sameNameAnyCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y)); });
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Field items hold a field's name and number; labels, fillers and totals do not need one.
bool isFieldItem(const ReportItem& item, bool totalsLine)
{
    return !item.isFiller() && !item.isLabel() && !item.isCover() && !totalsLine;
}

} // namespace

void fitLine(ReportLine& line, int width)
{
    int sum = 0;
    int stop = kItemsPerLine - 1;
    for (int i = 0; i < kItemsPerLine; ++i) {
        ReportItem& item = line[static_cast<size_t>(i)];
        if (item.width <= 0)
            item.width = width;
        sum += item.width;
        if (sum >= width) {
            stop = i;
            break;
        }
    }
    // Past the width the stopping item gives up the excess; short of it (only at item 20) it takes the rest.
    line[static_cast<size_t>(stop)].width -= sum - width;
    for (int i = stop + 1; i < kItemsPerLine; ++i)
        line[static_cast<size_t>(i)].width = 0;
}

bool repairLines(ReportDefinition& definition)
{
    bool changed = false;
    auto repair = [&changed](ReportLine& line) {
        for (ReportItem& item : line)
            if (item.width < 0) {
                item.width = 0;
                changed = true;
            }
    };
    for (ReportLine& line : definition.lines)
        repair(line);
    repair(definition.totals);
    return changed;
}

bool fitWideLines(ReportDefinition& definition)
{
    bool changed = false;
    auto fitIfWide = [&](ReportLine& line) {
        int sum = 0;
        for (const ReportItem& item : lineItems(line))
            sum += item.width;
        if (sum > definition.width) {
            fitLine(line, definition.width);
            changed = true;
        }
    };
    for (int l = 0; l < definition.numberOfLines && l < kMaxBodyLines; ++l)
        fitIfWide(definition.lines[static_cast<size_t>(l)]);
    fitIfWide(definition.totals);
    return changed;
}

int bodyFontSizeFor(int width) { return width == 150 ? 6 : width == 120 ? 8 : 10; }

void switchWidth(ReportDefinition& definition, int width)
{
    for (int l = 0; l < definition.numberOfLines && l < kMaxBodyLines; ++l)
        fitLine(definition.lines[static_cast<size_t>(l)], width);
    definition.width = width;
    definition.fonts[BodyFont].size = bodyFontSizeFor(width);
}

std::optional<int> readNumberOfLines(const std::string& text)
{
    const std::string t = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || error != std::errc() || end != t.data() + t.size() || value < 0 || value > kMaxBodyLines)
        return std::nullopt;
    return value;
}

std::optional<double> readMargin(const std::string& text, char decimal)
{
    std::string t = trimmed(text);
    for (char& c : t)
        if (c == decimal)
            c = '.';
    double value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || error != std::errc() || end != t.data() + t.size() || !(value >= 0) || value > 20)
        return std::nullopt;
    return value;
}

const char* totalName(int kind)
{
    switch (kind) {
    case 1: return TRANSLATABLE("report", "Quantity");
    case 2: return TRANSLATABLE("report", "List Price");
    case 3: return TRANSLATABLE("report", "Purchase Price");
    default: return "";
    }
}

int partListRow(const ReportItem& item, bool totalsLine)
{
    const int count = totalsLine ? 3 : db::kSchemaFieldCount;
    if (totalsLine) {
        for (int kind = 1; kind <= 3; ++kind)
            if (sameNameAnyCase(item.kind, totalName(kind)))
                return kind - 1;
    } else if (const int position = db::schemaPosition(item.kind); position > 0) {
        return position - 1;
    }
    return item.number >= 1 && item.number <= count ? item.number - 1 : -1;
}

void setPart(ReportLine& line, int item, int itemWidth, PartKind kind, const std::string& labelText, int number,
             bool totalsLine, int reportWidth)
{
    ReportItem& part = line.at(static_cast<size_t>(item));
    part.width = itemWidth;
    fitLine(line, reportWidth);
    part.label.clear();
    part.number = 0;
    switch (kind) {
    case PartKind::Filler: part.kind = kFiller; break;
    case PartKind::Label:
        part.kind = kLabel;
        part.label = labelText.substr(0, 40);
        break;
    case PartKind::Field:
        part.kind = totalsLine ? totalName(number) : db::schemaField(number).name;
        part.number = static_cast<uint8_t>(number);
        break;
    case PartKind::Cover:
        part.kind = totalsLine ? kFiller : kCover; // the totals line has no film
        part.number = totalsLine ? 0 : static_cast<uint8_t>(std::clamp(number, 1, kMaxBodyLines));
        break;
    }
}

std::string definitionProblem(const ReportDefinition& definition, const db::Speak& speak)
{
    // The paper the report prints on: letter, turned for landscape.
    const double paperWidth = definition.landscape ? 11.0 : 8.5;
    const double paperHeight = definition.landscape ? 8.5 : 11.0;
    if (definition.leftMargin + definition.rightMargin >= paperWidth - 0.5)
        return db::spoken(speak, TRANSLATABLE("report", "The left and right margins leave no room to print on the page.  "
                                                        "Please correct them."));
    if (definition.topMargin + definition.bottomMargin >= paperHeight - 1.0)
        return db::spoken(speak, TRANSLATABLE("report", "The top and bottom margins leave no room to print on the page.  "
                                                        "Please correct them."));
    for (int l = 0; l < definition.numberOfLines; ++l)
        for (const ReportItem& item : lineItems(definition.lines[static_cast<size_t>(l)]))
            if (isFieldItem(item, false) && (item.number < 1 || item.number > db::kSchemaFieldCount))
                return db::Message{TRANSLATABLE("report", "Line %1 has a field part without a field.  Please choose one."),
                                   {std::to_string(l + 1)}}
                    .spoken(speak);
    if (definition.useTotals)
        for (const ReportItem& item : lineItems(definition.totals))
            if (!item.isFiller() && !item.isLabel() && (item.number < 1 || item.number > 3))
                return db::spoken(speak, TRANSLATABLE("report", "The totals line has a field part without a total.  Please "
                                                                "choose one."));
    return {};
}

} // namespace report
