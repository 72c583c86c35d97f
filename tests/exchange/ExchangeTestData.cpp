#include "ExchangeTestData.h"

#include "EditText.h"
#include "RecordTexts.h"
#include "Schema.h"
#include "Scripts.h"
#include "Table.h"

#include <random>

namespace exchange_testing {

void fillAtRandom(db::Table& table, int n, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::string> words = {"Casablanca", "a \"quoted\" word", "comma, inside", "Caf\xC3\xA9", "\xC3\x85ngstr\xC3\xB6m",
                                            "5'11\" tall", "x", "The End \"", "O'Brien", "trailing"};
    // A Unicode collection holds titles in every script as well, some of them cut at their field's end.
    if (table.encoding() == db::TextEncoding::Utf8)
        for (const testing_support::ScriptTitle& title : testing_support::scriptTitles())
            words.push_back(title.stored);
    table.beginBatch();
    for (int r = 0; r < n; ++r) {
        table.insert();
        for (const db::SchemaField& f : db::collectionSchema()) {
            const int field = table.requireField(f.name);
            if (random() % 7 == 0)
                continue; // left empty
            switch (f.kind) {
            case db::SchemaKind::Character: {
                std::string text = words[random() % words.size()];
                if (random() % 2)
                    text += " " + words[random() % words.size()];
                table.setText(field, text);
                break;
            }
            case db::SchemaKind::WholeNumber:
                table.setNumber(field, static_cast<double>(static_cast<int>(random() % 200000) - 100000));
                break;
            case db::SchemaKind::DecimalNumber:
                table.setNumber(field, static_cast<double>(static_cast<int>(random() % 2000000) - 1000000) / 100.0);
                break;
            case db::SchemaKind::Date:
                table.setDate(field, db::dayNumberFromCivil({1900 + static_cast<int>(random() % 300),
                                                             1 + static_cast<int>(random() % 12),
                                                             1 + static_cast<int>(random() % 28)}));
                break;
            }
        }
        table.post();
    }
    table.endBatch();
}


std::vector<std::vector<std::string>> recordsOf(const std::string& path)
{
    db::Table t;
    t.setFilePath(path);
    t.open(db::Table::OpenMode::ReadOnly);
    t.selectIndex("");
    std::vector<std::vector<std::string>> rows;
    db::RecordTexts texts(t.fields());
    for (t.first(); !t.isEmpty() && !t.eof(); t.next()) {
        const auto& values = texts.read(t.current().bytes());
        rows.emplace_back(values.begin(), values.end());
    }
    return rows;
}

exchange::ImportMap positionalMap(size_t fields)
{
    exchange::ImportMap map(fields);
    for (size_t i = 0; i < fields; ++i)
        map[i] = i < 40 ? static_cast<int>(i) + 1 : 0;
    return map;
}

} // namespace exchange_testing
