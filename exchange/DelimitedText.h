#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

// ASCII delimited text: every value in double quotes, a comma between values,
// CR LF after the last. A double quote inside a value is written twice.
//
// One value as written: quotes doubled, cut to 255 characters, then blanks
// (character 32 only) removed from both ends.
std::string delimitedValue(std::string_view text);

// A whole line of values, without its line end.
std::string delimitedLine(const std::vector<std::string>& values);
std::string delimitedLine(std::span<const std::string_view> values);

constexpr std::string_view kLineEnd = "\r\n";

} // namespace exchange
