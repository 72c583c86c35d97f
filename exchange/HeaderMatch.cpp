#include "HeaderMatch.h"

#include "TextEncoding.h"
#include "Schema.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace exchange {

namespace {

// Names other programs give the collection's fields, already as matching keys.
struct Synonyms {
    int position;
    std::vector<const char*> names;
};

const std::vector<Synonyms>& commonNames()
{
    static const std::vector<Synonyms> names = {
        {1, {"name", "movie", "film", "movietitle", "filmtitle"}},
        {2, {"star", "stars", "cast", "actor", "actors", "starring", "leadactor"}},
        {8, {"producers", "producedby"}},
        {9, {"directors", "directedby"}},
        {10, {"studio", "studios", "distributor", "publisher", "label"}},
        {11, {"releaseyear", "yearreleased"}},
        {12, {"runtime", "runtimemins", "runtimeminutes", "runningtime", "length", "duration", "minutes", "mins"}},
        {13, {"mpaa", "mpaarating", "certification", "certificate", "agerating", "contentrating"}},
        {14, {"genre", "genres", "categories"}},
        {17, {"medium", "media", "mediatype"}},
        {18, {"yourrating", "myrating", "userrating", "personalrating", "stars5", "score"}},
        {19, {"medianumber", "mediano", "tapenumber", "tapeno", "tape"}},
        {23, {"plot", "summary", "synopsis", "overview", "storyline"}},
        {25, {"notes", "note", "comments", "comment", "review"}},
        {26, {"keywords", "tags", "tag"}},
        {28, {"price", "msrp", "retailprice"}},
        {31, {"lent", "loaned", "lentout", "checkedout"}},
        {32, {"lentdate", "loandate", "dateloaned", "datelent"}},
        {33, {"borrower", "lentto", "loanedto"}},
        {34, {"purchaseprice", "pricepaid", "paid", "cost"}},
        {35, {"purchasedate", "datepurchased", "dateacquired", "acquired"}},
        {36, {"store", "shop", "vendor", "wherebought", "purchasedfrom"}},
        {37, {"seen", "watched"}},
        {38, {"writer", "writtenby", "screenplay", "screenwriter"}},
    };
    return names;
}

} // namespace

std::string matchingKey(std::string_view utf8Name)
{
    std::string key;
    for (const char c : db::foldedUtf8(utf8Name))
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            key += c;
    return key;
}

ImportMap matchColumns(const std::vector<std::string>& columnNames, const std::vector<std::string>& displayNames)
{
    // The names each field answers to, most exact first: the user's display name,
    // the stored name, the default display name; then the common names.
    std::array<std::vector<std::string>, db::kSchemaFieldCount> exact;
    for (int p = 1; p <= db::kSchemaFieldCount; ++p) {
        auto& names = exact[static_cast<size_t>(p - 1)];
        if (static_cast<size_t>(p - 1) < displayNames.size() && !displayNames[static_cast<size_t>(p - 1)].empty())
            names.push_back(matchingKey(displayNames[static_cast<size_t>(p - 1)]));
        names.push_back(matchingKey(db::schemaField(p).name));
        names.push_back(matchingKey(db::schemaField(p).displayName));
    }
    std::vector<std::string> keys;
    for (const std::string& name : columnNames)
        keys.push_back(matchingKey(name));

    ImportMap map(columnNames.size(), 0);
    std::array<bool, db::kSchemaFieldCount> taken{};
    const auto claim = [&](size_t column, int position) {
        if (map[column] != 0 || taken[static_cast<size_t>(position - 1)])
            return;
        map[column] = position;
        taken[static_cast<size_t>(position - 1)] = true;
    };
    for (size_t column = 0; column < keys.size(); ++column)
        for (int p = 1; p <= db::kSchemaFieldCount && !keys[column].empty(); ++p)
            for (const std::string& name : exact[static_cast<size_t>(p - 1)])
                if (keys[column] == name)
                    claim(column, p);
    for (size_t column = 0; column < keys.size(); ++column)
        for (const Synonyms& s : commonNames())
            for (const char* name : s.names)
                if (keys[column] == name)
                    claim(column, s.position);
    return map;
}

ImportMap startingMap(const ImportSource& source, bool firstLineNamesFields, const std::vector<std::string>& displayNames)
{
    if (source.kind == ImportKind::DBase || firstLineNamesFields) {
        ImportMap matched = matchColumns(source.fieldNames, displayNames);
        if (std::any_of(matched.begin(), matched.end(), [](int position) { return position != 0; }))
            return matched;
    }
    ImportMap inPlace(source.fieldNames.size(), 0);
    for (size_t i = 0; i < inPlace.size() && i < db::kSchemaFieldCount; ++i)
        inPlace[i] = static_cast<int>(i) + 1;
    return inPlace;
}

} // namespace exchange
