#pragma once

// The core's fixed texts (marked TRANSLATABLE) in the user's language.

#include "Translatable.h"

#include <QCoreApplication>

namespace ui {

// Speaks the texts of the core folder whose catalogue context is given ("exchange", "backup").
inline db::Speak speakerFor(const char* context)
{
    return [context](const char* text) { return QCoreApplication::translate(context, text).toStdString(); };
}

} // namespace ui
