#include "CoverNames.h"

#include "DbfFormat.h"
#include "TextEncoding.h"

namespace covers {

std::string coversFolderOf(const std::string& collectionPath)
{
    const size_t slash = collectionPath.find_last_of('/');
    const size_t dot = collectionPath.find_last_of('.');
    const bool hasEnding = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasEnding ? collectionPath.substr(0, dot) : collectionPath) + ".covers";
}

namespace {

bool unfitForAFileName(unsigned char c)
{
    return c < 0x20 || c == 0x7F || std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string trimmedOfDotsAndBlanks(std::string text)
{
    const auto unwanted = [](char c) { return c == ' ' || c == '.'; };
    size_t start = 0;
    while (start < text.size() && unwanted(text[start]))
        ++start;
    size_t end = text.size();
    while (end > start && unwanted(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

} // namespace

std::string coverBaseName(std::string_view title, std::string_view year)
{
    std::string name = db::normalizedUtf8(db::trimBoth(title));
    for (char& c : name)
        if (unfitForAFileName(static_cast<unsigned char>(c)))
            c = '_';
    name = trimmedOfDotsAndBlanks(std::move(name));
    if (name.empty())
        return {};
    std::string yearText(db::trimBoth(year));
    const bool isYear = !yearText.empty() && yearText.find_first_not_of("0123456789") == std::string::npos;
    const std::string suffix = isYear && yearText != "0" ? " (" + yearText + ")" : std::string();
    name.resize(db::utf8FittingLength(name, kLongestName - suffix.size()));
    return trimmedOfDotsAndBlanks(std::move(name)) + suffix;
}

const std::vector<std::string>& coverEndings()
{
    static const std::vector<std::string> endings = {"jpg", "jpeg", "png", "webp"};
    return endings;
}

} // namespace covers
