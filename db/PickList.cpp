#include "PickList.h"

#include "Translatable.h"

#include "Ascii.h"
#include "Cp1252.h"
#include "DbError.h"
#include "FileIO.h"
#include "TextEncoding.h"

#include <QString>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace db {

namespace {
constexpr size_t kEntryLimit = 255;

constexpr std::array<PickListInfo, 17> kLists = {{
    {1, "PRODUCER.LST", TRANSLATABLE("db", "&Producer"), TRANSLATABLE("db", "Producer"), 25, "Producer"},
    {2, "STAR.LST", TRANSLATABLE("db", "&Stars"), TRANSLATABLE("db", "Stars"), 25, "Star1"},
    {3, "DIRECT.LST", TRANSLATABLE("db", "&Director"), TRANSLATABLE("db", "Director"), 28, "Director"},
    {4, "RELEASE.LST", TRANSLATABLE("db", "&Released By"), TRANSLATABLE("db", "Released By"), 28, "ReleasedBy"},
    {5, "RATING.LST", TRANSLATABLE("db", "Ra&ting"), TRANSLATABLE("db", "Rating"), 15, "Rating"},
    {6, "CATEGORY.LST", TRANSLATABLE("db", "Cate&gory"), TRANSLATABLE("db", "Category"), 10, "Category"},
    {7, "PICTURE.LST", TRANSLATABLE("db", "P&icture"), TRANSLATABLE("db", "Picture"), 10, "Picture"},
    {8, "SOUND.LST", TRANSLATABLE("db", "So&und"), TRANSLATABLE("db", "Sound"), 10, "Sound"},
    {9, "FORMAT.LST", TRANSLATABLE("db", "&Format"), TRANSLATABLE("db", "Format"), 15, "Format"},
    {10, "LASER.LST", TRANSLATABLE("db", "&Laser Format"), TRANSLATABLE("db", "Laser Format"), 15, "LaserForma"},
    {11, "PERSRATE.LST", TRANSLATABLE("db", "Perso&nal Rating"), TRANSLATABLE("db", "Personal Rating"), 15, "PersonalRa"},
    {12, "RECSPEED.LST", TRANSLATABLE("db", "R&ecord Speed"), TRANSLATABLE("db", "Record Speed"), 6, "RecSpeed"},
    {13, "CONTENT.LST", TRANSLATABLE("db", "&Content"), TRANSLATABLE("db", "Content"), 10, "Content"},
    {14, "OSCAR.LST", TRANSLATABLE("db", "&Oscars"), TRANSLATABLE("db", "Oscar Names"), 110, ""},
    {15, "CHECKOUT.LST", TRANSLATABLE("db", "Chec&k Out Person"), TRANSLATABLE("db", "Checkout Person"), 25, "CheckName"},
    {16, "PURCH.LST", TRANSLATABLE("db", "&Where Purchased"), TRANSLATABLE("db", "Where Purchase"), 25, "WherePurch"},
    {17, "MISC.LST", TRANSLATABLE("db", "&Miscellaneous"), TRANSLATABLE("db", "Miscellaneous"), 25, ""},
}};

constexpr std::array<int, 17> kMenuOrder = {2, 1, 3, 4, 5, 6, 11, 7, 8, 9, 12, 13, 10, 14, 15, 16, 17};

std::string trimBlanks(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUtf8().toStdString() == text;
}

} // namespace

PickList readPickList(const std::string& path)
{
    PickList entries;
    std::ifstream in(path, std::ios::binary);
    std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const bool marked = whole.starts_with(kByteOrderMark);
    if (marked)
        whole.erase(0, kByteOrderMark.size());
    const bool utf8 = marked || (!isAscii(whole) && isUtf8(whole));
    std::istringstream lines(whole);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!utf8)
            line = cp1252ToUtf8(line);
        line.resize(utf8CharactersLength(line, kEntryLimit));
        std::string entry = trimBlanks(line);
        if (!entry.empty())
            entries.push_back(std::move(entry));
    }
    return entries;
}

bool writePickList(const std::string& path, const PickList& entries)
{
    bool windows1252 = true;
    for (const std::string& entry : entries) {
        int replaced = 0;
        utf8ToCp1252(entry, &replaced);
        windows1252 = windows1252 && replaced == 0;
    }
    std::string bytes = windows1252 ? std::string() : std::string(kByteOrderMark);
    for (const std::string& entry : entries)
        bytes += (windows1252 ? utf8ToCp1252(entry) : entry) + "\r\n";
    try {
        writeReplacing(path, [&](File& out) {
            if (!bytes.empty())
                out.writeAt(0, bytes.data(), bytes.size());
        });
    } catch (const DbError&) {
        return false;
    }
    return true;
}

const std::array<PickListInfo, 17>& pickLists()
{
    return kLists;
}

const PickListInfo& pickList(int code)
{
    if (code < 1 || code > 17)
        throw std::out_of_range("pick list code " + std::to_string(code));
    return kLists[static_cast<size_t>(code - 1)];
}

const std::array<int, 17>& pickListMenuOrder()
{
    return kMenuOrder;
}

int pickListCodeForField(const std::string& fieldName)
{
    for (const char* star : {"Star1", "Star2", "Star3", "Star4", "Star5", "Star6"})
        if (sameLetters(fieldName, star))
            return 2;
    for (const PickListInfo& list : kLists)
        if (*list.fieldName && sameLetters(fieldName, list.fieldName))
            return list.code;
    return 0;
}

} // namespace db
