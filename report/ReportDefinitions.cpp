#include "ReportDefinitions.h"

#include "Cp1252.h"
#include "DbError.h"
#include "FileIO.h"
#include "Schema.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace report {

const char* const kFiller = "<FILLER>";
const char* const kLabel = "<LABEL>";
const char* const kCover = "<COVER>";

namespace {

// Offsets of the record layout (see the header).
constexpr size_t kName = 0, kWidth = 31, kFonts = 33, kFontSize = 61, kFlags = 338, kLines = 343, kTotals = 345,
                 kMargins = 1845, kBoxes = 1877, kTitles = 1879, kBody = 2122, kGroups = 20122;
constexpr size_t kItemSize = 75, kLineSize = kItemSize * kItemsPerLine;
constexpr int kWidestReport = 150;

// Little-endian fields over a record's bytes, bounds checked by the caller's record size.
class Bytes {
public:
    Bytes(std::string_view bytes, const std::string& file, int record)
        : m_bytes(bytes), m_file(file), m_record(record)
    {
    }
    int16_t int16(size_t at) const { return static_cast<int16_t>(byte(at) | (byte(at + 1) << 8)); }
    int32_t int32(size_t at) const
    {
        return static_cast<int32_t>(byte(at) | (byte(at + 1) << 8) | (byte(at + 2) << 16)
                                    | (static_cast<uint32_t>(byte(at + 3)) << 24));
    }
    double real(size_t at) const
    {
        double v;
        std::memcpy(&v, m_bytes.data() + at, 8);
        return v;
    }
    bool flag(size_t at) const { return byte(at) != 0; }
    uint8_t byte(size_t at) const { return static_cast<uint8_t>(m_bytes[at]); }
    std::string text(size_t at, size_t capacity, const char* what) const
    {
        const size_t length = byte(at);
        if (length > capacity)
            fail(TRANSLATABLE("db", "The report definitions file \"%1\" is damaged at report %2: the length of its %3 "
                                    "(%4) is past the field's %5 characters."),
                 {what, std::to_string(length), std::to_string(capacity)});
        return std::string(m_bytes.substr(at + 1, length));
    }
    // Sentences that name the file as %1 and the report as %2, then the words of the fault.
    [[noreturn]] void fail(const char* sentence, std::vector<std::string> words = {}) const
    {
        words.insert(words.begin(), {m_file, std::to_string(m_record + 1)});
        throw DefinitionsError("", db::Message(sentence, std::move(words)));
    }

private:
    std::string_view m_bytes;
    const std::string& m_file;
    int m_record;
};

void putInt16(std::string& b, size_t at, int v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void putInt32(std::string& b, size_t at, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

void putReal(std::string& b, size_t at, double v)
{
    std::memcpy(b.data() + at, &v, 8);
}

void putText(std::string& b, size_t at, size_t capacity, const std::string& text)
{
    const size_t length = std::min(text.size(), capacity);
    b[at] = static_cast<char>(length);
    std::memcpy(b.data() + at + 1, text.data(), length);
}

ReportItem readItem(const Bytes& b, size_t at)
{
    ReportItem item;
    item.kind = b.text(at, 30, "item kind");
    item.number = b.byte(at + 31);
    item.width = b.int16(at + 32);
    item.label = b.text(at + 34, 40, "label text");
    return item;
}

void writeItem(std::string& b, size_t at, const ReportItem& item)
{
    putText(b, at, 30, item.kind);
    b[at + 31] = static_cast<char>(item.number);
    putInt16(b, at + 32, item.width);
    putText(b, at + 34, 40, item.label);
}

FontBlock readFont(const Bytes& b, size_t at)
{
    FontBlock f;
    f.face = b.text(at, 50, "font name");
    f.size = b.int16(at + 51);
    f.bold = b.flag(at + 53);
    f.italic = b.flag(at + 54);
    f.underline = b.flag(at + 55);
    f.strikeOut = b.flag(at + 56);
    f.color = b.int32(at + 57);
    return f;
}

void writeFont(std::string& b, size_t at, const FontBlock& f)
{
    putText(b, at, 50, f.face);
    putInt16(b, at + 51, f.size);
    b[at + 53] = f.bold;
    b[at + 54] = f.italic;
    b[at + 55] = f.underline;
    b[at + 56] = f.strikeOut;
    putInt32(b, at + 57, f.color);
}

// The width a line needs: up to its last item that is not blank filler.
int printedWidth(const ReportLine& line)
{
    int width = 0, needed = 0;
    for (const ReportItem& item : lineItems(line)) {
        width += item.width;
        if (!item.isFiller())
            needed = width;
    }
    return needed;
}

ReportItem filler(int width)
{
    ReportItem item;
    item.width = width;
    return item;
}

ReportItem label(const char* text, int width)
{
    ReportItem item;
    item.kind = kLabel;
    item.label = text;
    item.width = width;
    return item;
}

ReportItem field(const char* name, int width)
{
    ReportItem item;
    item.kind = name;
    item.number = static_cast<uint8_t>(db::schemaPosition(name));
    item.width = width;
    return item;
}

ReportItem total(const char* name, uint8_t kind, int width)
{
    ReportItem item;
    item.kind = name;
    item.number = kind;
    item.width = width;
    return item;
}

ReportLine lineOf(std::initializer_list<ReportItem> items)
{
    ReportLine line;
    std::copy(items.begin(), items.end(), line.begin());
    return line;
}

FontBlock font(const char* face, int size, bool bold)
{
    FontBlock f;
    f.face = face;
    f.size = size;
    f.bold = bold;
    return f;
}

} // namespace

std::vector<ReportItem> lineItems(const ReportLine& line)
{
    std::vector<ReportItem> items;
    for (const ReportItem& item : line) {
        if (item.width <= 0)
            break;
        items.push_back(item);
    }
    return items;
}

std::string encodeDefinition(const ReportDefinition& d)
{
    std::string b = d.stored.size() == kDefinitionSize ? d.stored : std::string(kDefinitionSize, '\0');
    putText(b, kName, 30, d.name);
    putInt16(b, kWidth, d.width);
    for (size_t f = 0; f < FontCount; ++f)
        writeFont(b, kFonts + f * kFontSize, d.fonts[f]);
    const bool flags[] = {d.columnHeaders, d.pageNumbers, d.landscape, d.dateOnPages, d.useTotals};
    for (size_t i = 0; i < 5; ++i)
        b[kFlags + i] = flags[i];
    putInt16(b, kLines, d.numberOfLines);
    for (int j = 0; j < kItemsPerLine; ++j)
        writeItem(b, kTotals + kItemSize * j, d.totals[j]);
    const double margins[] = {d.topMargin, d.bottomMargin, d.leftMargin, d.rightMargin};
    for (size_t i = 0; i < 4; ++i)
        putReal(b, kMargins + 8 * i, margins[i]);
    b[kBoxes] = d.verticalLines;
    b[kBoxes + 1] = d.horizontalLines;
    for (size_t t = 0; t < 3; ++t)
        putText(b, kTitles + 81 * t, 80, d.titles[t]);
    for (size_t i = 0; i < kMaxBodyLines; ++i)
        for (int j = 0; j < kItemsPerLine; ++j)
            writeItem(b, kBody + kLineSize * i + kItemSize * j, d.lines[i][j]);
    b[kGroups] = d.groupByLevel1;
    b[kGroups + 1] = d.groupByLevel2;
    return b;
}

ReportDefinition decodeDefinition(std::string_view bytes, const std::string& file, int record)
{
    const Bytes b(bytes, file, record);
    if (bytes.size() != kDefinitionSize)
        b.fail(TRANSLATABLE("db", "The report definitions file \"%1\" is damaged at report %2: the record holds %3 "
                                  "bytes, not %4."),
               {std::to_string(bytes.size()), std::to_string(kDefinitionSize)});
    ReportDefinition d;
    d.stored = std::string(bytes);
    d.name = b.text(kName, 30, "name");
    d.width = b.int16(kWidth);
    if (d.width != 90 && d.width != 120 && d.width != 150)
        d.width = 90; // as the designer reads it: the narrowest report, and the lines are fitted to it
    for (size_t f = 0; f < FontCount; ++f)
        d.fonts[f] = readFont(b, kFonts + f * kFontSize);
    d.columnHeaders = b.flag(kFlags);
    d.pageNumbers = b.flag(kFlags + 1);
    d.landscape = b.flag(kFlags + 2);
    d.dateOnPages = b.flag(kFlags + 3);
    d.useTotals = b.flag(kFlags + 4);
    d.numberOfLines = b.int16(kLines);
    if (d.numberOfLines < 0 || d.numberOfLines > kMaxBodyLines)
        b.fail(TRANSLATABLE("db", "The report definitions file \"%1\" is damaged at report %2: it has %3 body lines, "
                                  "not 0 to 12."),
               {std::to_string(d.numberOfLines)});
    for (int j = 0; j < kItemsPerLine; ++j)
        d.totals[j] = readItem(b, kTotals + kItemSize * j);
    d.topMargin = b.real(kMargins);
    d.bottomMargin = b.real(kMargins + 8);
    d.leftMargin = b.real(kMargins + 16);
    d.rightMargin = b.real(kMargins + 24);
    d.verticalLines = b.flag(kBoxes);
    d.horizontalLines = b.flag(kBoxes + 1);
    for (size_t t = 0; t < 3; ++t)
        d.titles[t] = b.text(kTitles + 81 * t, 80, "title");
    for (size_t i = 0; i < kMaxBodyLines; ++i)
        for (int j = 0; j < kItemsPerLine; ++j)
            d.lines[i][j] = readItem(b, kBody + kLineSize * i + kItemSize * j);
    // A line a little wider than its report is cut when it prints (the
    // program's own Large Report has a 130-character line in a 120-character
    // report); one wider than the widest report is no line any layout holds.
    for (int i = 0; i < d.numberOfLines; ++i) {
        const int needed = printedWidth(d.lines[static_cast<size_t>(i)]);
        if (needed > kWidestReport)
            b.fail(TRANSLATABLE("db", "The report definitions file \"%1\" is damaged at report %2: body line %3 is %4 "
                                      "characters wide, wider than the widest report's %5."),
                   {std::to_string(i + 1), std::to_string(needed), std::to_string(kWidestReport)});
    }
    d.groupByLevel1 = b.flag(kGroups);
    d.groupByLevel2 = b.flag(kGroups + 1);
    return d;
}

ReportDefinition newDefinition()
{
    ReportDefinition d;
    d.width = 90;
    d.fonts[TitleFont] = d.fonts[ColumnHeaderFont] = d.fonts[FootnoteFont] = font("Courier New", 10, true);
    d.fonts[BodyFont] = d.fonts[SpareFont] = font("Courier New", 10, false);
    d.columnHeaders = d.pageNumbers = d.dateOnPages = d.useTotals = true;
    d.verticalLines = d.horizontalLines = d.groupByLevel1 = true;
    d.numberOfLines = 1;
    for (ReportLine& line : d.lines)
        line[0].width = 150;
    d.totals[0].width = 150;
    return d;
}

std::vector<ReportDefinition> defaultDefinitions(const db::Speak& speak)
{
    // The definitions are written once, into the user's own file, so they are
    // written in the language the program speaks; a label a language makes
    // longer widens its part rather than being cut.
    const auto words = [&](const char* text) { return db::utf8ToCp1252(db::spoken(speak, text)); };
    const auto label = [&](const char* text, int width) {
        ReportItem item = report::label(text, width);
        item.label = words(text);
        item.width = std::max(width, static_cast<int>(item.label.size()));
        return item;
    };
    auto common = [&](const char* name, int width, bool headers, bool boxes, bool group, int lines) {
        ReportDefinition d;
        d.name = words(name);
        d.width = width;
        d.fonts.fill(font("Arial", 8, false));
        d.pageNumbers = d.dateOnPages = d.useTotals = true;
        d.columnHeaders = headers;
        d.verticalLines = d.horizontalLines = boxes;
        d.groupByLevel1 = group;
        d.numberOfLines = lines;
        for (ReportLine& line : d.lines)
            line[0].width = 150;
        d.totals = lineOf({label(TRANSLATABLE("report", "Quantity:"), 14), filler(1), total("Quantity", 1, 12),
                           label(TRANSLATABLE("report", "List Price:"), 14), filler(1), total("List Price", 2, 12),
                           label(TRANSLATABLE("report", "Purchase Price:"), 18), filler(1),
                           total("Purchase Price", 3, 12), filler(60)});
        return d;
    };
    const auto mediaAndTitle = [&](int labelWidth) {
        return lineOf({label(TRANSLATABLE("report", "Media Number:"), labelWidth), filler(1), field("MediaNum", 10),
                       label(TRANSLATABLE("report", "Title:"), 10), filler(1), field("Title", 60),
                       label(TRANSLATABLE("report", "Year:"), 8), filler(1), field("Year", 4)});
    };
    const ReportLine stars = lineOf({label(TRANSLATABLE("report", "Stars:"), 6), filler(1), field("Star1", 25),
                                     filler(4), field("Star2", 25), filler(4), field("Star3", 25), filler(4),
                                     field("Star4", 25)});
    const ReportLine oscarNominations =
        lineOf({label(TRANSLATABLE("report", "Oscar Nom:"), 10), filler(1), field("OscarNom", 109)});
    const ReportLine oscarAwards =
        lineOf({label(TRANSLATABLE("report", "Oscar Award:"), 12), filler(1), field("OscarAward", 107)});
    const ReportLine blank = lineOf({filler(150)});

    std::vector<ReportDefinition> all;
    ReportDefinition d = common(TRANSLATABLE("report", "Title and Media Number Report"), 90, true, true, false, 1);
    d.lines[0] = lineOf({field("MediaNum", 12), field("Title", 64), field("Year", 4)});
    all.push_back(d);

    d = common(TRANSLATABLE("report", "Ratings Report"), 90, true, true, true, 1);
    d.lines[0] = lineOf({field("Title", 60), field("Rating", 15), field("PersonalRa", 15)});
    all.push_back(d);

    d = common(TRANSLATABLE("report", "Star Report"), 120, false, false, true, 3);
    d.lines[0] = mediaAndTitle(16);
    d.lines[1] = stars;
    d.lines[2] = blank;
    all.push_back(d);

    d = common(TRANSLATABLE("report", "Oscar Report"), 120, false, false, true, 4);
    d.lines[0] = mediaAndTitle(13);
    d.lines[1] = oscarNominations;
    d.lines[2] = oscarAwards;
    d.lines[3] = blank;
    all.push_back(d);

    d = common(TRANSLATABLE("report", "Large Report"), 120, false, false, true, 12);
    d.lines[0] = mediaAndTitle(13);
    d.lines[1] = stars;
    d.lines[2] = lineOf({label(TRANSLATABLE("report", "Producer:"), 9), filler(1), field("Producer", 28),
                         label(TRANSLATABLE("report", "Director:"), 11), filler(1), field("Director", 28),
                         label(TRANSLATABLE("report", "Released By:"), 14), filler(1), field("ReleasedBy", 37)});
    d.lines[3] = lineOf({label(TRANSLATABLE("report", "Category:"), 9), filler(1), field("Category", 20),
                         label(TRANSLATABLE("report", "Rating:"), 9), filler(1), field("Rating", 15),
                         label(TRANSLATABLE("report", "Personal Rating:"), 18), filler(1), field("PersonalRa", 15),
                         label(TRANSLATABLE("report", "Content:"), 10), filler(1), field("Content", 10)});
    d.lines[4] = lineOf({label(TRANSLATABLE("report", "Play Time:"), 10), filler(1), field("RunTime", 3),
                         label(TRANSLATABLE("report", "Picture:"), 10), filler(1), field("Picture", 5),
                         label(TRANSLATABLE("report", "Sound:"), 8), filler(1), field("Sound", 6),
                         label(TRANSLATABLE("report", "Format:"), 9), filler(1), field("Format", 10),
                         label(TRANSLATABLE("report", "Record Speed:"), 16), filler(1), field("RecSpeed", 3),
                         label(TRANSLATABLE("report", "Laser Format:"), 15), filler(1), field("LaserForma", 12)});
    d.lines[5] = lineOf({label(TRANSLATABLE("report", "Counter Start:"), 14), filler(1), field("CounterSta", 10),
                         label(TRANSLATABLE("report", "Counter Stop:"), 15), filler(1), field("CounterSto", 10),
                         label(TRANSLATABLE("report", "List Price:"), 13), filler(1), field("ListPrice", 20)});
    d.lines[6] = lineOf({label(TRANSLATABLE("report", "Key Words:"), 10), filler(1), field("KeyWords", 80)});
    d.lines[7] = lineOf({label(TRANSLATABLE("report", "Miscellaneous:"), 14), filler(1), field("Miscellane", 80)});
    d.lines[8] = lineOf({label(TRANSLATABLE("report", "Summary:"), 8), filler(1), field("Descriptio", 110)});
    d.lines[9] = oscarNominations;
    d.lines[10] = oscarAwards;
    d.lines[11] = blank;
    all.push_back(d);

    all.push_back(common(TRANSLATABLE("report", "Statistic/Summary Report"), 90, false, false, true, 0));
    return all;
}

ReportDefinition convertOlderDefinition(std::string_view bytes)
{
    static const std::string file = "VIDEO2.CFR";
    const Bytes b(bytes, file, 0);
    if (bytes.size() != kOlderDefinitionSize)
        b.fail(TRANSLATABLE("db", "The report definitions file \"%1\" is damaged at report %2: the record is cut "
                                  "short."));
    ReportDefinition d;
    d.name = b.text(0, 30, "name");
    d.width = b.int16(31);
    d.columnHeaders = b.flag(83);
    d.pageNumbers = b.flag(84);
    d.useTotals = b.flag(85);
    d.numberOfLines = std::clamp<int>(b.int16(86), 0, kMaxBodyLines);
    d.landscape = false;
    d.dateOnPages = true;
    d.verticalLines = d.horizontalLines = false;
    d.groupByLevel1 = true;
    d.groupByLevel2 = false;
    for (size_t t = 0; t < 3; ++t)
        d.titles[t] = b.text(1588 + 81 * t, 80, "title");
    const int size = d.width == 90 ? 10 : 8;
    d.fonts[TitleFont] = d.fonts[ColumnHeaderFont] = d.fonts[FootnoteFont] = font("Courier New", size, true);
    d.fonts[BodyFont] = d.fonts[SpareFont] = font("Courier New", size, false);
    // The older record's field number byte is not taken: it is set from the
    // field's name (totals from theirs), as the renderer finds fields by number.
    auto converted = [&](size_t at, bool totals) {
        ReportItem item = readItem(b, at);
        item.number = 0;
        if (totals)
            item.number = item.kind == "Quantity" ? 1 : item.kind == "List Price" ? 2 : item.kind == "Purchase Price" ? 3 : 0;
        else if (!item.isFiller() && !item.isLabel())
            item.number = static_cast<uint8_t>(db::schemaPosition(item.kind));
        return item;
    };
    // Totals item j (1..20) at 13 + 75 j; body line i (1..12), item j at 256 + 1500 i + 75 j.
    for (size_t j = 1; j <= kItemsPerLine; ++j)
        d.totals[j - 1] = converted(13 + kItemSize * j, true);
    for (size_t i = 1; i <= kMaxBodyLines; ++i)
        for (size_t j = 1; j <= kItemsPerLine; ++j)
            d.lines[i - 1][j - 1] = converted(256 + kLineSize * i + kItemSize * j, false);
    return d;
}

// ---------------------------------------------------------------- the file

DefinitionsFile::DefinitionsFile(std::string path)
    : m_path(std::move(path))
{
}

bool DefinitionsFile::exists() const
{
    return db::fileExists(m_path);
}

std::string DefinitionsFile::wholeFile() const
{
    db::File file;
    try {
        if (!file.openIfExists(m_path, db::File::Mode::ReadOnly))
            return {};
        std::string bytes(file.size(), '\0');
        bytes.resize(file.readSomeAt(0, bytes.data(), bytes.size()));
        return bytes;
    } catch (const db::DbError& e) {
        throw DefinitionsError(e);
    }
}

int DefinitionsFile::count() const
{
    db::File file;
    try {
        if (!file.openIfExists(m_path, db::File::Mode::ReadOnly))
            return 0;
        return static_cast<int>(file.size() / kDefinitionSize);
    } catch (const db::DbError& e) {
        throw DefinitionsError(e);
    }
}

DefinitionsFile::Listing DefinitionsFile::list() const
{
    Listing listing;
    const std::string bytes = wholeFile();
    const size_t whole = bytes.size() / kDefinitionSize;
    for (size_t n = 0; n < whole; ++n) {
        try {
            listing.names.push_back(
                decodeDefinition(std::string_view(bytes).substr(n * kDefinitionSize, kDefinitionSize), m_path,
                                 static_cast<int>(n))
                    .name);
        } catch (const DefinitionsError& e) {
            listing.damage = e;
            return listing;
        }
    }
    if (bytes.size() % kDefinitionSize != 0)
        listing.damage = DefinitionsError(
            "", db::Message(TRANSLATABLE("db", "The report definitions file \"%1\" ends in a partial report %2 of %3 "
                                               "bytes; the reports before it can be used."),
                            {m_path, std::to_string(whole + 1), std::to_string(bytes.size() % kDefinitionSize)}));
    return listing;
}

namespace {
// Opens the file and checks that the record is one of its whole records.
db::File openAt(const std::string& path, int record, db::File::Mode mode)
{
    db::File file;
    try {
        if (record >= 0 && file.openIfExists(path, mode)
            && static_cast<uint64_t>(record) < file.size() / kDefinitionSize)
            return file;
    } catch (const db::DbError&) {
        // A file that cannot be opened holds no report to find.
    }
    throw DefinitionsError("", db::Message(TRANSLATABLE("db", "Report format could not be located.")));
}
} // namespace

ReportDefinition DefinitionsFile::read(int record) const
{
    std::string bytes(kDefinitionSize, '\0');
    try {
        const db::File file = openAt(m_path, record, db::File::Mode::ReadOnly);
        file.readAt(static_cast<uint64_t>(record) * kDefinitionSize, bytes.data(), bytes.size());
    } catch (const db::DbError& e) {
        throw DefinitionsError(e);
    }
    return decodeDefinition(bytes, m_path, record);
}

void DefinitionsFile::write(int record, const ReportDefinition& definition)
{
    const std::string bytes = encodeDefinition(definition);
    try {
        db::File file = openAt(m_path, record, db::File::Mode::ReadWrite);
        file.writeAt(static_cast<uint64_t>(record) * kDefinitionSize, bytes.data(), bytes.size());
        file.sync();
    } catch (const db::DbError& e) {
        throw DefinitionsError(e);
    }
}

void DefinitionsFile::replaceWith(const std::string& bytes)
{
    try {
        db::writeReplacing(m_path, [&](db::File& out) {
            if (!bytes.empty())
                out.writeAt(0, bytes.data(), bytes.size());
        });
    } catch (const db::DbError& e) {
        throw DefinitionsError(e);
    }
}

int DefinitionsFile::append(const ReportDefinition& definition)
{
    std::string bytes = wholeFile();
    bytes.resize(bytes.size() - bytes.size() % kDefinitionSize); // a partial record at the end is not kept
    const int record = static_cast<int>(bytes.size() / kDefinitionSize);
    bytes += encodeDefinition(definition);
    replaceWith(bytes);
    return record;
}

void DefinitionsFile::remove(int record)
{
    std::string bytes = wholeFile();
    if (record < 0 || static_cast<size_t>(record) >= bytes.size() / kDefinitionSize)
        throw DefinitionsError("", db::Message(TRANSLATABLE("db", "Report format could not be located.")));
    bytes.erase(static_cast<size_t>(record) * kDefinitionSize, kDefinitionSize);
    replaceWith(bytes);
}

void DefinitionsFile::create(const std::vector<ReportDefinition>& definitions)
{
    std::string bytes;
    for (const ReportDefinition& d : definitions)
        bytes += encodeDefinition(d);
    replaceWith(bytes);
}

int prepareDefinitionsFile(const std::string& programFolder, const db::Speak& speak)
{
    const std::string folder = programFolder.empty() || programFolder.back() == '/' ? programFolder : programFolder + "/";
    DefinitionsFile file(folder + "REELKP.URP");
    if (!file.exists())
        file.create(defaultDefinitions(speak));
    const std::string older = folder + "VIDEO2.CFR";
    if (!db::fileExists(older))
        return 0;
    static const char* const kOlderDefaults[] = {"Title and Media Number Report", "Ratings Report", "Star Report",
                                                 "Oscar Report", "Complete Report", "Statistic/Summary Report"};
    int merged = 0;
    std::string bytes;
    try {
        db::File in;
        in.open(older, db::File::Mode::ReadOnly);
        bytes.resize(in.size());
        bytes.resize(in.readSomeAt(0, bytes.data(), bytes.size()));
    } catch (const db::DbError&) {
        // An unreadable older file merges nothing; it is deleted all the same.
    }
    try {
        for (size_t at = 0; at + kOlderDefinitionSize <= bytes.size(); at += kOlderDefinitionSize) {
            ReportDefinition d = convertOlderDefinition(std::string_view(bytes).substr(at, kOlderDefinitionSize));
            if (std::find(std::begin(kOlderDefaults), std::end(kOlderDefaults), d.name) != std::end(kOlderDefaults))
                continue;
            if (d.width != 90 && d.width != 120 && d.width != 150)
                continue; // a record no report could print
            file.append(d);
            ++merged;
        }
    } catch (const DefinitionsError&) {
        // A record that does not convert ends the merge; the ones before it stay.
    }
    db::removeFile(older);
    return merged;
}

} // namespace report
