#pragma once

// Marks a fixed message of the core for the translation catalogue. The core
// keeps and returns the English text; a window shows it in the user's language
// through QCoreApplication::translate(context, text). The catalogue tools read
// this mark as Qt's QT_TRANSLATE_NOOP.
#define TRANSLATABLE(context, text) text

#include <functional>
#include <string>

namespace db {

// Turns a fixed text of the core (marked TRANSLATABLE) into the user's
// language: the windows pass Qt's translation, the command line none, which
// keeps the English.
using Speak = std::function<std::string(const char* text)>;

inline std::string spoken(const Speak& speak, const char* text) { return speak ? speak(text) : std::string(text); }

} // namespace db
