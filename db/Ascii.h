#pragma once

#include <string>
#include <string_view>

namespace db {

// Letter case as the program compares it: the letters a to z only, so that
// the other characters of the code page compare as they stand.
inline char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string upperAscii(std::string text)
{
    for (char& c : text)
        c = upperAscii(c);
    return text;
}

inline bool sameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    return true;
}

} // namespace db
