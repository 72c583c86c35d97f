#pragma once

// The language the program speaks: the settings file's choice ([Misc]
// Language: empty follows the desktop's language, "en" English, "de" German),
// and the translations that give it.

#include <QLocale>
#include <QString>
#include <QStringList>

namespace app {

// The languages the program has a translation for, besides English (the
// language its texts are written in).
QStringList translatedLanguages();

// The language to speak: the choice when it is one of ours, else the
// desktop's language when there is a translation for it, else English ("en").
QString languageToSpeak(const QString& choice, const QLocale& desktop);

// The program's translation of a language, as compiled into it.
QString translationFile(const QString& language);

} // namespace app
