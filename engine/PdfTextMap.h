#pragma once

// A PDF font's ToUnicode map tells a reader which characters each glyph
// stands for. Qt's PDF writer gives each glyph the first character of the
// font that draws it, and that is often not the one the text had: the common
// Chinese and Japanese ideographs come out as the CJK radicals that share
// their glyph ("⽇" for "日", "⻰" for "龙"), and Arabic letters as their
// presentation forms. A PDF's text must copy and search as it was written, so
// the map is mended before the file is finished.

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The map with each radical as its unified ideograph and each presentation
// form as its letters (entries written one glyph at a time), or nullopt when
// nothing in it needs mending or it is not a map of the shape Qt writes.
// glyphs: how many glyphs the font has; unmapped: the characters of a glyph
// the map leaves out or maps to nothing ("" where they are not known).
std::optional<std::string> mendedTextMap(std::string_view map, uint32_t glyphs = 0,
                                         const std::function<QString(uint32_t glyph)>& unmapped = {});

} // namespace engine
