#include "Settings.h"

#include "Language.h"

#include "Schema.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QDir>
#include <limits>
#include <memory>
#include <vector>

namespace app {

const std::array<const char*, ColorRoleCount> kColorKeys = {
    "Main Background", "Major Title", "Minor Title", "Edit Background", "Edit Text", "Combo Background",
    "Combo Text", "List Box Background", "List Box Text", "Radio Background", "Radio Text", "Check Background",
    "Check Text"};

const std::array<const char*, ColorGroupCount> kColorSections = {
    "Main Window Color", "Edit Window Color", "Search Window Color", "Report Window Color", "Configure Window Color"};

const std::array<const char*, 8> kLabelItemKeys = {
    "Label Rating", "Label Title", "Label Start Counter", "Label Stop Counter",
    "Label Play Time", "Label Category", "Label Media Number", "Label Year Released"};

ColorSet defaultColorSet()
{
    return {12632256, 0, 0, 16777215, 0, 16777215, 0, 16777215, 0, 12632256, 0, 12632256, 0};
}

QString startFolder()
{
    return QDir::currentPath();
}

namespace {

// Read limits of the settings file.
constexpr int kNumberLimit = 14;
constexpr int kFileNameLimit = 249;
constexpr int kNameLimit = 149;
constexpr int kLabelItemLimit = 24;
constexpr int kColorMax = 0xFFFFFF;
constexpr int kAny = std::numeric_limits<int>::max();

// One walk over every key serves reading and writing, so the two never drift apart.
class Reader {
public:
    explicit Reader(const IniFile& ini)
        : m_ini(ini)
    {
    }
    // A number that is not a whole number, or lies outside [low, high], keeps its default.
    void number(const char* section, const QString& key, int& value, int low = -kAny, int high = kAny)
    {
        const auto text = m_ini.value(section, key);
        if (!text)
            return;
        bool ok = false;
        const int read = text->left(kNumberLimit).trimmed().toInt(&ok);
        if (ok && read >= low && read <= high)
            value = read;
    }
    void yesNo(const char* section, const QString& key, bool& value)
    {
        if (const auto text = m_ini.value(section, key))
            value = text->left(255).toUpper() == "YES";
    }
    void text(const char* section, const QString& key, QString& value, int limit, int keep = kAny)
    {
        if (const auto text = m_ini.value(section, key))
            value = text->left(limit).left(keep);
    }

private:
    const IniFile& m_ini;
};

class Writer {
public:
    explicit Writer(IniFile& ini)
        : m_ini(ini)
    {
    }
    void number(const char* section, const QString& key, int& value, int = 0, int = 0)
    {
        m_ini.setValue(section, key, QString::number(value));
    }
    void yesNo(const char* section, const QString& key, bool& value)
    {
        m_ini.setValue(section, key, value ? "Yes" : "No");
    }
    void text(const char* section, const QString& key, QString& value, int, int = 0)
    {
        m_ini.setValue(section, key, value);
    }

private:
    IniFile& m_ini;
};

template <class Visitor>
void visitFont(Visitor& v, const char* section, FontSetting& f)
{
    v.number(section, "Color", f.color, 0, kColorMax);
    v.text(section, "Font Name", f.name, kNameLimit);
    v.number(section, "Size", f.size, 1, 500);
    v.yesNo(section, "Bold", f.bold);
    v.yesNo(section, "Italic", f.italic);
    v.yesNo(section, "Underline", f.underline);
    v.yesNo(section, "Strikeout", f.strikeout);
}

template <class Visitor>
void visitWindowFont(Visitor& v, const char* section, WindowFont& f)
{
    v.text(section, "Font Name", f.name, kNameLimit);
    v.yesNo(section, "Bold", f.bold);
    v.yesNo(section, "Italic", f.italic);
}

template <class Visitor>
void visitRect(Visitor& v, const char* section, const QString& prefix, QRect& r)
{
    int left = r.left(), top = r.top(), width = r.width(), height = r.height();
    v.number(section, prefix + " Left", left, -100000, 100000);
    v.number(section, prefix + " Top", top, -100000, 100000);
    v.number(section, prefix + " Width", width, 0, 100000);
    v.number(section, prefix + " Height", height, 0, 100000);
    r = QRect(left, top, width, height);
}

template <class Visitor>
void visitAll(Visitor& v, Settings& s)
{
    const char* misc = "Misc";
    v.number(misc, "Button Bar", s.buttonBar, 1, 3);
    visitRect(v, misc, "Main Window", s.mainWindow);
    v.text(misc, "Last Import File", s.lastImportFile, kFileNameLimit);
    v.text(misc, "Last Export File", s.lastExportFile, kFileNameLimit);
    v.text(misc, "Last Database", s.lastDatabase, kFileNameLimit);
    for (int i = 0; i < 5; ++i)
        v.text(misc, "Last File " + QString::number(i + 1), s.lastFiles[static_cast<size_t>(i)], kFileNameLimit);
    v.yesNo(misc, "Show Tips", s.showTips);
    v.yesNo(misc, "Show Cover", s.showCover);
    v.number("Covers", "Longest Side", s.coverLongestSide, 300, 6000);
    v.number("Covers", "JPEG Quality", s.coverJpegQuality, 50, 100);
    v.text("Lookup", "IMDb Folder", s.imdbFolder, kFileNameLimit);
    v.text("Lookup", "TMDb Key", s.tmdbKey, 1024);
    v.number("Lookup", "TMDb Timeout", s.tmdbTimeout, 3, 600);
    v.text("Lookup", "TMDb Country", s.tmdbCountry, 2);
    v.text("Lookup", "Fill In Source", s.fillInSource, 4);
    v.number(misc, "Overdue Days", s.overdueDays, 1, 3650);
    v.number(misc, "Window Size", s.windowSize, 0, 100000);
    v.number(misc, "Date Format", s.dateFormat);
    v.yesNo(misc, "Date Leading Zeros", s.dateLeadingZeros);
    v.number(misc, "Currency Format", s.currencyFormat, 1, 2);
    v.number(misc, "Numeric Format", s.numericFormat, 1, 2);
    v.text(misc, "Language", s.language, 10);

    for (const db::SchemaField& f : db::collectionSchema()) {
        FieldSettings& field = s.fields[static_cast<size_t>(f.position - 1)];
        const QString key = f.name;
        v.text("Field Names", key, field.displayName, kNameLimit, 20);
        v.yesNo("Display Fields", key, field.display);
        v.number("Field Width", key, field.width, 0, 1000);
        v.number("Field Order", key, field.order);
        v.yesNo("Export Fields", key, field.exported);
        v.number("Export Order", key, field.exportOrder);
    }

    v.yesNo("Export", "First Row", s.exportFirstRow);
    v.number("Export", "File Type", s.exportFileType, 1, 5);
    v.yesNo("Export", "With Covers", s.exportCovers);
    v.yesNo("Import", "Skip First", s.importSkipFirst);
    v.number("Import", "File Type", s.importFileType, 1, 3);
    v.number("Sort Order", "Primary Sort", s.sortKeys[0], 0, 40);
    v.number("Sort Order", "Secondary Sort", s.sortKeys[1], 0, 40);
    v.number("Sort Order", "Third Level Sort", s.sortKeys[2], 0, 40);
    v.number("Sort Order", "Fourth Level Sort", s.sortKeys[3], 0, 40);

    for (int g = 0; g < ColorGroupCount; ++g) {
        for (int c = 0; c < ColorRoleCount; ++c)
            v.number(kColorSections[static_cast<size_t>(g)], kColorKeys[static_cast<size_t>(c)],
                     s.colorSets[static_cast<size_t>(g)][static_cast<size_t>(c)], 0, kColorMax);
        v.yesNo(kColorSections[static_cast<size_t>(g)], "Follow Desktop", s.followDesktop[static_cast<size_t>(g)]);
    }

    v.yesNo("Grid Title", "Show Titles", s.gridShowTitles);
    v.number("Grid Title", "Background Color", s.gridTitleBackground, 0, kColorMax);
    v.number("Grid Title", "Alignment", s.gridTitleAlignment, 1, 3);
    visitFont(v, "Grid Title Font", s.gridTitleFont);
    visitFont(v, "Grid Font", s.gridFont);
    v.number("Grid Options", "Cell Color", s.gridCellColor, 0, kColorMax);
    v.yesNo("Grid Options", "Column Lines", s.gridColumnLines);
    v.yesNo("Grid Options", "Row Lines", s.gridRowLines);
    v.yesNo("Grid Options", "Row Indicator", s.gridRowIndicator);
    v.yesNo("Grid Options", "Field Editing", s.gridFieldEditing);
    visitWindowFont(v, "Edit Font", s.editFont);
    visitWindowFont(v, "Label Font", s.labelFont);
    visitWindowFont(v, "Button Font", s.buttonFont);
    visitFont(v, "Report Label Font", s.reportLabelFont);

    const char* reports = "Reports";
    v.number(reports, "Last Report", s.lastReport, -1, kAny); // -1: none was selected
    visitRect(v, reports, "Report Viewing Window", s.reportViewingWindow);
    v.yesNo(reports, "Avery 5199", s.avery5199);
    for (size_t i = 0; i < kLabelItemKeys.size(); ++i)
        v.yesNo(reports, kLabelItemKeys[i], s.labelItems[i]);
    v.number(reports, "What To Print", s.whatToPrint, 1, 4);
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 8; ++i)
            v.text(reports, "Label Item " + QString::number(k) + QString::number(i),
                   s.labelCells[static_cast<size_t>(k * 8 + i)], kLabelItemLimit, 15);
    v.text(reports, "Last PDF Folder", s.lastPdfFolder, kFileNameLimit);
}

} // namespace

Settings Settings::defaults(const QString& startFolder)
{
    Settings s;
    s.lastImportFile = startFolder;
    s.lastExportFile = startFolder;
    s.lastPdfFolder = startFolder;
    for (const db::SchemaField& f : db::collectionSchema()) {
        FieldSettings& field = s.fields[static_cast<size_t>(f.position - 1)];
        // A new settings file names the fields in the language the program speaks.
        field.displayName = QCoreApplication::translate("db", f.displayName);
        field.order = f.position;
        field.exportOrder = f.position;
    }
    s.colorSets.fill(defaultColorSet());
    return s;
}

namespace {

// Whether a field's name is its default in one of the languages the program
// speaks: the name it was given, not one the user chose.
bool isDefaultName(const db::SchemaField& field, const QString& name)
{
    if (name == QString::fromUtf8(field.displayName) || name == QCoreApplication::translate("db", field.displayName))
        return true;
    // Each catalogue read once, the first time a name needs it, and never changed.
    static const std::vector<std::shared_ptr<QTranslator>> catalogues = [] {
        std::vector<std::shared_ptr<QTranslator>> loaded;
        for (const QString& language : translatedLanguages()) {
            auto catalogue = std::make_shared<QTranslator>();
            if (catalogue->load(translationFile(language)))
                loaded.push_back(std::move(catalogue));
        }
        return loaded;
    }();
    for (const auto& catalogue : catalogues)
        if (catalogue->translate("db", field.displayName) == name)
            return true;
    return false;
}

} // namespace

void Settings::read(const IniFile& ini)
{
    Reader reader(ini);
    visitAll(reader, *this);
    // Names that are still a default (in any language) follow the language the program speaks
    // now; names the user gave stay as they are.
    for (const db::SchemaField& f : db::collectionSchema()) {
        QString& name = fields[static_cast<size_t>(f.position - 1)].displayName;
        if (isDefaultName(f, name))
            name = QCoreApplication::translate("db", f.displayName);
    }
}

void Settings::write(IniFile& ini) const
{
    Writer writer(ini);
    Settings copy = *this; // the walk takes its values by reference
    visitAll(writer, copy);
}

} // namespace app
