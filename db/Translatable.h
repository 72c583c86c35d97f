#pragma once

// Marks a fixed message of the core for the translation catalogue. The core
// keeps and returns the English text; a window shows it in the user's language
// through QCoreApplication::translate(context, text). The catalogue tools read
// this mark as Qt's QT_TRANSLATE_NOOP.
#define TRANSLATABLE(context, text) text

#include <cstdint>
#include <functional>
#include <string>

namespace db {

// Turns a fixed text of the core (marked TRANSLATABLE) into the user's
// language: the windows pass Qt's translation, the command line none, which
// keeps the English.
using Speak = std::function<std::string(const char* text)>;

inline std::string spoken(const Speak& speak, const char* text) { return speak ? speak(text) : std::string(text); }

// A text with %1 (and %2) put in: the one of two texts that fits the count.
inline std::string counted(const Speak& speak, uint64_t n, const char* one, const char* many, const std::string& second = {})
{
    std::string text = spoken(speak, n == 1 ? one : many);
    if (const size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, std::to_string(n));
    if (const size_t at = text.find("%2"); at != std::string::npos)
        text.replace(at, 2, second);
    return text;
}

} // namespace db
