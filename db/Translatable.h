#pragma once

// Marks a fixed message of the core for the translation catalogue. The core
// keeps and returns the English text; a window shows it in the user's language
// through QCoreApplication::translate(context, text). The catalogue tools read
// this mark as Qt's QT_TRANSLATE_NOOP.
#define TRANSLATABLE(context, text) text
