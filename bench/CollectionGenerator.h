#pragma once

#include "TextEncoding.h"

#include <cstdint>
#include <string>

namespace bench {

// How the made-up collection keeps its text.
enum class GeneratedText {
    Unicode,        // a Unicode collection of Western titles
    UnicodeScripts, // a Unicode collection in which every tenth title is in another script
    Windows1252,    // the same records as UnicodeScripts, kept in Windows-1252 with Western titles only
};

// Fills a collection table with n made-up but plausible records, the same
// ones for the same seed, through the table engine (exclusive use, no index).
void generateCollection(const std::string& path, uint32_t records, uint32_t seed = 1995,
                        GeneratedText text = GeneratedText::Unicode);

} // namespace bench
