#include "Duplicates.h"

#include "Cp1252.h"
#include "TextEncoding.h"
#include "FileIO.h"
#include "Table.h"


#include <algorithm>
#include <fstream>
#include <unordered_map>

namespace find {

std::string duplicateTitleKey(std::string_view title)
{
    return db::sameTitleKey(title);
}

std::vector<DuplicateGroup> findDuplicates(db::Table& table, const DuplicateOptions& options)
{
    const int yearField = table.fieldIndex("Year");
    const int formatField = table.fieldIndex("Format");
    std::unordered_map<std::string, DuplicateGroup> byKey;
    std::string text;
    {
        const db::Table::ReadHold hold(table); // one state of the collection
        for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
            const db::Record record = table.current();
            record.text(0, text);
            std::string key = duplicateTitleKey(text);
            if (key.empty())
                continue; // a record without a title is no one's duplicate
            if (options.sameYear && yearField >= 0) {
                record.text(yearField, text);
                key += " | " + (text.empty() ? std::string("0") : text);
            }
            if (options.sameFormat && formatField >= 0) {
                record.text(formatField, text);
                key += " | " + db::foldedUtf8(text);
            }
            byKey[key].records.push_back(table.recNo());
        }
    }
    std::vector<DuplicateGroup> groups;
    for (auto& [key, group] : byKey) {
        if (group.records.size() < 2)
            continue;
        group.key = key;
        groups.push_back(std::move(group));
    }
    std::sort(groups.begin(), groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
        return a.records.size() != b.records.size() ? a.records.size() > b.records.size() : a.key < b.key;
    });
    return groups;
}

NotDuplicates::NotDuplicates(const std::string& collectionPath)
{
    const size_t dot = collectionPath.find_last_of('.');
    const size_t slash = collectionPath.find_last_of('/');
    m_path = (dot != std::string::npos && (slash == std::string::npos || dot > slash) ? collectionPath.substr(0, dot)
                                                                                      : collectionPath)
             + ".NOTDUP";
    std::ifstream in(m_path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            m_keys.push_back(line);
    }
}

bool NotDuplicates::contains(const std::string& key) const
{
    return std::find(m_keys.begin(), m_keys.end(), key) != m_keys.end();
}

void NotDuplicates::add(const std::string& key)
{
    if (contains(key))
        return;
    std::vector<std::string> keys = m_keys;
    keys.push_back(key);
    db::writeReplacing(m_path, [&](db::File& out) {
        std::string text;
        for (const std::string& k : keys)
            text += k + "\r\n";
        out.writeAt(0, text.data(), text.size());
    });
    m_keys = std::move(keys);
}

} // namespace find
