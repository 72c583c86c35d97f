#pragma once

#include <string>
#include <string_view>

namespace db {

// Collection tables, pick lists and the other 8-bit files of the program are
// Windows-1252. Inside the program text is Unicode; these routines convert at
// the file boundary. UTF-8 is the program's exchange form with the command line.

// Unicode code point of one Windows-1252 byte (undefined bytes map to U+FFFD).
char32_t cp1252ToUnicode(unsigned char byte);

// Windows-1252 byte of a code point, or -1 when the code page cannot hold it.
int unicodeToCp1252(char32_t codePoint);

// The UTF-8 bytes of a code point, added to the end of out.
void appendUtf8(std::string& out, char32_t codePoint);
// Decodes one UTF-8 sequence at text[i] and moves i past it; malformed input
// yields U+FFFD and moves on by one byte, so that decoding always makes progress.
char32_t decodeUtf8(std::string_view text, size_t& i);

std::string cp1252ToUtf8(std::string_view text);
// The same, added to the end of out.
void appendCp1252AsUtf8(std::string& out, std::string_view text);

// Converts UTF-8 to Windows-1252. Characters the code page cannot hold become
// '?'; the count of such characters is added to *replaced when given.
std::string utf8ToCp1252(std::string_view text, int* replaced = nullptr);

// The text in lower case with the accents of Windows-1252's letters taken off
// ("Am\xE9lie" as "amelie"), for comparing names as a reader would. Characters
// without a plain letter stay as they are.
std::string foldedCp1252(std::string_view text);

} // namespace db
