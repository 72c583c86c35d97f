#include "OldCollections.h"

#include "CollectionFile.h"
#include "DbError.h"
#include "EditText.h"
#include "FileIO.h"
#include "Table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace db {

namespace {

constexpr std::array<const char*, 28> kVersion2Fields = {
    "Title", "Star1", "Star2", "Star3", "Star4", "Producer", "Director", "ReleasedBy", "Year", "RunTime",
    "Rating", "Category", "Picture", "Sound", "Format", "PersonalRa", "MediaNum", "RecSpeed", "CounterSta",
    "CounterSto", "Descriptio", "Content", "Miscellane", "KeyWords", "LaserForma", "ListPrice", "OscarNom",
    "OscarAward"};
constexpr std::array<const char*, 25> kVersion1Fields = {
    "Title", "Star1", "Star2", "Star3", "Star4", "Producer", "Director", "ReleasedBy", "Year", "RunTime",
    "Rating", "Category", "Picture", "Sound", "Format", "PersonalRa", "TapeNum", "RecSpeed", "CounterSta",
    "CounterSto", "Descriptio", "Content", "CloseCapt", "NoiseRed", "SurroundSo"};
constexpr size_t kExamples = 5;

std::vector<std::string_view> expectedFields(OldVersion version)
{
    if (version == OldVersion::V2)
        return {kVersion2Fields.begin(), kVersion2Fields.end()};
    return {kVersion1Fields.begin(), kVersion1Fields.end()};
}

std::string upper(std::string_view text)
{
    std::string out(text.substr(0, 10));
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

// The collection field an old field goes to: the same name, but the tape
// number of 1.X is the media number, and the three 1.X flags make up the
// miscellaneous text (see below), so they go nowhere by themselves.
std::string collectionFieldOf(std::string_view oldName)
{
    const std::string name = upper(oldName);
    if (name == "TAPENUM")
        return "MediaNum";
    if (name == "CLOSECAPT" || name == "NOISERED" || name == "SURROUNDSO")
        return {};
    return std::string(oldName);
}

bool says(const std::string& text, const char* word) { return upper(trimBoth(text)) == word; }

// The 1.X flags as the miscellaneous text: the phrases of those set, joined by ", ".
std::string miscellaneousOf(const Table& old)
{
    std::string text;
    const std::array<std::pair<const char*, const char*>, 3> flags = {
        {{"CloseCapt", "Closed Captioned, "}, {"NoiseRed", "Noise Reduction, "}, {"SurroundSo", "Surround Sound, "}}};
    for (const auto& [field, phrase] : flags)
        if (says(old.text(old.requireField(field)), "YES"))
            text += phrase;
    if (!text.empty())
        text.resize(text.size() - 2);
    return text;
}

// Version 1.X wrote its texts with "/" and month, day, year: the conversion reads them so.
class OldDateFormat {
public:
    explicit OldDateFormat(bool apply)
        : m_previous(editTextFormat())
        , m_applied(apply)
    {
        if (apply) {
            EditTextFormat old = m_previous;
            old.dateSeparator = '/';
            old.shortDatePattern = "m/d/yy";
            setEditTextFormat(old);
        }
    }
    ~OldDateFormat()
    {
        if (m_applied)
            setEditTextFormat(m_previous);
    }

private:
    EditTextFormat m_previous;
    bool m_applied;
};

} // namespace

const char* oldCollectionFileName(OldVersion version) { return version == OldVersion::V2 ? "V2LOG.DBF" : "VLOG.DBF"; }

bool isOldCollection(const std::string& path, OldVersion version)
{
    try {
        if (!fileExists(path))
            return false;
        if (!fileExists(indexPathOfTableFile(path)))
            removeIndexFlag(path);
        Table check;
        check.setFilePath(path);
        check.open(Table::OpenMode::ReadOnly);
        const std::vector<std::string_view> expected = expectedFields(version);
        if (check.fieldCount() != static_cast<int>(expected.size()) + 1)
            return false;
        for (size_t i = 0; i < expected.size(); ++i)
            if (upper(check.field(static_cast<int>(i) + 1).name) != upper(expected[i]))
                return false;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

ConversionResult convertOldCollection(Table& collection, const std::string& path, OldVersion version)
{
    ConversionResult result;
    const OldDateFormat dateFormat(version == OldVersion::V1);
    const bool batch = !collection.inBatch();
    try {
        Table old;
        old.setFilePath(path);
        old.open(Table::OpenMode::ReadOnly);
        old.selectIndex("");
        // Each old field with its collection field, found once.
        std::vector<std::pair<int, int>> pairs;
        for (int f = 1; f < old.fieldCount(); ++f) {
            const std::string target = collectionFieldOf(old.field(f).name);
            const int to = target.empty() ? -1 : collection.fieldIndex(target);
            if (to >= 0)
                pairs.emplace_back(f, to);
        }
        const int miscellaneous = version == OldVersion::V1 ? collection.requireField("Miscellane") : -1;
        collection.disableControls();
        struct Enable {
            Table& table;
            ~Enable() { table.enableControls(); }
        } enable{collection};
        if (batch)
            collection.beginBatch();
        for (old.first(); !old.isEmpty() && !old.eof(); old.next()) {
            collection.insert();
            for (const auto& [from, to] : pairs) {
                const std::string value = old.text(from);
                try {
                    collection.setText(to, value);
                } catch (const DbError&) {
                    // Not a value this field can hold: it stays empty, and the user hears of it.
                    collection.clearField(to);
                    if (result.examples.size() < kExamples)
                        result.examples.push_back(old.field(from).name + " \"" + value + "\"");
                    ++result.unstored;
                }
            }
            if (miscellaneous >= 0)
                collection.setText(miscellaneous, miscellaneousOf(old));
            collection.post();
            ++result.copied;
            if (batch && result.copied % 10000 == 0) {
                collection.endBatch();
                collection.beginBatch();
            }
        }
        if (batch)
            collection.endBatch(); // writes and syncs what the batch holds
    } catch (const std::exception& e) {
        result.error = e.what();
        if (collection.state() == Table::State::Insert)
            collection.cancel();
        try {
            if (batch && collection.inBatch())
                collection.endBatch();
        } catch (const std::exception&) {
        }
    }
    return result;
}

std::string conversionReport(const ConversionResult& result, const std::string& oldFile)
{
    std::string report;
    if (!result.error.empty())
        report = result.error + "\n\nThe conversion stopped there: " + std::to_string(result.copied)
                 + (result.copied == 1 ? " record was" : " records were") + " copied into the collection, and \""
                 + oldFile + "\" was kept.";
    if (result.unstored > 0) {
        if (!report.empty())
            report += "\n\n";
        report += std::to_string(result.unstored)
                  + (result.unstored == 1 ? " value could not be stored and was left empty:"
                                          : " values could not be stored and were left empty:");
        for (const std::string& example : result.examples)
            report += "\n" + example;
    }
    return report;
}

} // namespace db
