#pragma once

#include <array>
#include <string>
#include <vector>

namespace db {

// A pick list: the values offered for a field (UTF-8), one per line of a
// .LST file in the program folder, lines ended by CR LF. The lists serve
// every collection, of either encoding: a file is written in Windows-1252
// (which older programs read) while every entry fits it, else in UTF-8 with
// a byte order mark; a file is read as UTF-8 when it has the mark or is
// valid UTF-8 holding characters beyond ASCII, else as Windows-1252.
using PickList = std::vector<std::string>;

// Reads a list file: each line taken up to 255 characters, blanks removed at
// both ends, empty lines skipped. A missing or unreadable file gives an empty list.
PickList readPickList(const std::string& path);

// Rewrites a list file from its entries (beside it, then renamed into place).
// Returns false when it could not be written; nothing is reported.
bool writePickList(const std::string& path, const PickList& entries);

// The 17 lists, by list code 1..17.
struct PickListInfo {
    int code;
    const char* fileName;     // e.g. "STAR.LST"
    const char* menuItem;     // e.g. "&Stars"
    const char* captionName;  // e.g. "Stars", shown as Edit "Stars" List
    int entryLength;          // most characters the list editor's entry box takes
    const char* fieldName;    // the field it feeds; "" for the award and miscellaneous lists
};
const std::array<PickListInfo, 17>& pickLists();
const PickListInfo& pickList(int code);
// Codes in the order of the List Maintenance menu.
const std::array<int, 17>& pickListMenuOrder();
// The list code of a field fed by a list (all six star fields give 2), 0 for none.
int pickListCodeForField(const std::string& fieldName);

} // namespace db
