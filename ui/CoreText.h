#pragma once

// The core's fixed texts (marked TRANSLATABLE) in the user's language.

#include "DbError.h"
#include "Translatable.h"

#include <QCoreApplication>
#include <QString>

#include <exception>

namespace ui {

// Speaks the texts of the core folder whose catalogue context is given
// ("exchange", "backup"), and the engine's ("db") that its messages carry.
inline db::Speak speakerFor(const char* context)
{
    return [context](const char* text) {
        QString spoken = QCoreApplication::translate(context, text);
        if (spoken == QString::fromUtf8(text))
            spoken = QCoreApplication::translate("db", text);
        return spoken.toStdString();
    };
}

// A failure in the user's language: an engine message spoken, any other as it stands.
inline QString errorText(const std::exception& error)
{
    if (const auto* engine = dynamic_cast<const db::DbError*>(&error))
        return QString::fromStdString(engine->spoken(speakerFor("db")));
    return QString::fromStdString(error.what());
}

} // namespace ui
