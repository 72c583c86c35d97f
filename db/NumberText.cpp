#include "NumberText.h"

#include "EditText.h"

namespace db {

// A fixed-point number written with at most 15 significant digits reads in
// general format as itself without trailing zeros ("1234.5000" is "1234.5"),
// with "." as its decimal character: that text, seen in place.
bool plainDecimal(std::string_view text, std::string_view& plain)
{
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    if (i >= text.size() || text[i] < '0' || text[i] > '9' || (text[i] == '0' && i + 1 < text.size() && text[i + 1] != '.'))
        return false;
    int significant = 0;
    bool seenPoint = false, leading = true;
    for (size_t k = i; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '.') {
            if (seenPoint)
                return false;
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (c != '0')
                leading = false;
            if (!leading)
                ++significant;
        } else {
            return false;
        }
    }
    if (significant > 15)
        return false;
    if (seenPoint) {
        while (text.back() == '0')
            text.remove_suffix(1);
        if (text.back() == '.')
            text.remove_suffix(1);
    }
    plain = text == "-0" ? std::string_view("0") : text;
    return true;
}

// The same in the current decimal character.
bool plainDecimal(std::string_view text, std::string& out)
{
    std::string_view plain;
    if (!plainDecimal(text, plain))
        return false;
    out.assign(plain);
    const char sep = editTextFormat().decimalSeparator;
    if (sep != '.') {
        const size_t point = out.find('.');
        if (point != std::string::npos)
            out[point] = sep;
    }
    return true;
}

} // namespace db
