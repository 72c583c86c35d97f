#pragma once

// Text from other programs comes as Unicode; a collection stores Windows-1252.
// A character the code page lacks becomes its nearest plain form where the C
// library knows one (ł as l, ő as o, ﬁ as fi), and "?" only where none exists.

#include <string>
#include <string_view>

namespace exchange {

struct PlainTextCounts {
    int plainForms = 0; // characters stored in their nearest plain form
    int replaced = 0;   // characters stored as "?"
};

// UTF-8 text as Windows-1252 bytes; counts what had to change.
std::string toCollectionText(std::string_view utf8, PlainTextCounts& counts);

} // namespace exchange
