#include "Replace.h"

#include "Ascii.h"
#include "Cp1252.h"
#include "KeyExpression.h"
#include "Schema.h"
#include "TextEncoding.h"
#include "Translatable.h"
#include "SortOrder.h"

namespace find {

const char* const kReplaceInUse = TRANSLATABLE(
    "find",
    "Search and Replace requires exclusive use of the DBase File.  Make sure that the DBase File is not in use by "
    "another program  or that no other users are running the software or that no other copies of the software are in "
    "use.");

namespace {
std::string trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool blankDate(const std::string& s)
{
    return s.empty() || s == "/  /" || s == "-  -" || s == ".  .";
}
} // namespace

ReplaceCheck checkReplace(int position, const std::string& searchText, const std::string& replacementText,
                          const db::EditTextFormat& dates)
{
    ReplaceCheck check;
    if (position < 1 || position > db::kSchemaFieldCount) {
        check.message = db::Message(TRANSLATABLE("find", "No field has been selected."));
        return check;
    }
    ReplaceSpec spec;
    spec.position = position;
    spec.kind = rowClass(position);
    const std::string search = trim(searchText);
    spec.replacement = trim(replacementText);
    switch (spec.kind) {
    case RowClass::Number: {
        const auto s = db::parseDecimalNumber(search);
        if (search.empty() || !s)
            return {std::nullopt, db::Message(TRANSLATABLE("find", "Invalid search value entered.  Please correct.")), 0};
        const auto r = db::parseDecimalNumber(spec.replacement);
        if (spec.replacement.empty() || !r)
            return {std::nullopt, db::Message(TRANSLATABLE("find", "Invalid replacement value entered.  Please correct.")), 1};
        spec.searchValue = *s;
        spec.replacementValue = *r;
        break;
    }
    case RowClass::Date: {
        const auto s = blankDate(search) ? std::nullopt : db::parseShortDate(search, dates);
        if (!s)
            return {std::nullopt, db::Message(TRANSLATABLE("find", "Invalid search date entered.  Please correct.")), 0};
        const auto r = blankDate(spec.replacement) ? std::nullopt : db::parseShortDate(spec.replacement, dates);
        if (!r)
            return {std::nullopt, db::Message(TRANSLATABLE("find", "Invalid replacement date entered.  Please correct.")), 1};
        spec.searchValue = db::dayNumberFromCivil(*s);
        spec.replacementValue = db::dayNumberFromCivil(*r);
        break;
    }
    case RowClass::Text:
        // An empty search text finds the empty fields.
        spec.search = db::upperUtf8(db::normalizedUtf8(search));
        spec.replacement = db::normalizedUtf8(spec.replacement);
        break;
    }
    check.spec = spec;
    return check;
}

ReplaceCheck checkTypedReplace(int position, const std::string& searchUtf8, const std::string& replacementUtf8,
                               db::TextEncoding encoding, const db::EditTextFormat& dates)
{
    const std::string* typed[] = {&searchUtf8, &replacementUtf8};
    for (int box = 0; box < 2 && encoding == db::TextEncoding::Windows1252; ++box) {
        int replaced = 0;
        db::utf8ToCp1252(*typed[box], &replaced);
        if (replaced > 0)
            return {std::nullopt,
                    db::Message(TRANSLATABLE("find", "The text \"%1\" holds characters that a collection cannot store.  "
                                                     "Please correct."),
                                {trim(*typed[box])}),
                    box};
    }
    ReplaceCheck check = checkReplace(position, searchUtf8, replacementUtf8, dates);
    // A replacement longer than its field would be cut in every record it goes to: it is refused.
    if (check.spec && check.spec->kind == RowClass::Text) {
        const db::FieldDef stored = db::collectionFieldDefs().at(static_cast<size_t>(position - 1));
        bool cut = false;
        db::fieldBytes(check.spec->replacement, encoding, static_cast<size_t>(stored.width), &cut);
        if (cut)
            return {std::nullopt,
                    db::Message(TRANSLATABLE("find", "The replacement text is longer than the field %1 holds.  Please "
                                                     "correct."),
                                {db::schemaField(position).displayName}),
                    1};
    }
    return check;
}

bool replaceRebuildsSortIndex(db::Table& table, int position)
{
    const int field = table.fieldIndex(db::schemaField(position).name);
    for (const db::TagDefinition& tag : table.indexTags()) {
        if (tag.name != kSortTag)
            continue;
        try {
            return field < 0 || db::KeyExpression(tag.expression, table.fields()).reads(table.field(field));
        } catch (const std::exception&) {
            return true; // a key we cannot read is rebuilt, as before
        }
    }
    return true; // no sort index to keep: it is built after the run, as the sort order asks
}

ReplaceOutcome runReplace(db::Table& table, const ReplaceSpec& spec,
                          const std::function<bool(const std::string& title)>& confirm,
                          const std::function<void(const ReplaceCounters&)>& progress)
{
    ReplaceOutcome outcome;
    ReplaceCounters& c = outcome.counters;
    const int field = spec.position - 1;
    std::string text;
    try {
        for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
            const db::Record record = table.current();
            bool match;
            switch (spec.kind) {
            case RowClass::Text:
                record.text(field, text);
                match = (db::isAscii(text) ? db::upperAscii(text) : db::upperUtf8(text)) == spec.search;
                break;
            case RowClass::Number: match = record.number(field) == spec.searchValue; break;
            default: match = record.date(field) == spec.searchValue; break;
            }
            if (match) {
                ++c.found;
                if (confirm && progress)
                    progress(c); // the question is asked over counters that include this record
                if (!confirm || confirm(record.text(0))) {
                    table.edit();
                    if (spec.kind == RowClass::Date)
                        table.setDate(field, spec.replacementValue);
                    else
                        table.setText(field, spec.replacement);
                    table.post();
                    ++c.changed;
                }
            }
            ++c.processed;
            if (progress)
                progress(c);
        }
    } catch (const std::exception& e) {
        if (table.active() && table.state() != db::Table::State::Browse)
            table.cancel();
        outcome.failure = e.what();
    }
    return outcome;
}

} // namespace find
