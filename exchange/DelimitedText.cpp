#include "DelimitedText.h"

namespace exchange {

namespace {
constexpr size_t kMaxValue = 255;
}

std::string delimitedValue(std::string_view text)
{
    // The value keeps at most 255 characters; a doubled quote is cut only whole.
    std::string value;
    for (char c : text) {
        const size_t need = c == '"' ? 2 : 1;
        if (value.size() + need > kMaxValue)
            break;
        value.append(need, c);
    }
    const size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const size_t last = value.find_last_not_of(' ');
    return value.substr(first, last - first + 1);
}

namespace {
template <class Values>
std::string lineOf(const Values& values)
{
    std::string line;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += ',';
        line += '"';
        line += delimitedValue(values[i]);
        line += '"';
    }
    return line;
}
} // namespace

std::string delimitedLine(const std::vector<std::string>& values)
{
    return lineOf(values);
}

std::string delimitedLine(std::span<const std::string_view> values)
{
    return lineOf(values);
}

} // namespace exchange
