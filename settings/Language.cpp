#include "Language.h"

namespace app {

QStringList translatedLanguages()
{
    return {"de"};
}

QString languageToSpeak(const QString& choice, const QLocale& desktop)
{
    if (choice == "en" || translatedLanguages().contains(choice))
        return choice;
    // The desktop's languages in its order of preference: the first we speak wins.
    for (const QString& name : desktop.uiLanguages()) {
        const QString language = name.section('-', 0, 0).section('_', 0, 0).toLower();
        if (language == "en" || translatedLanguages().contains(language))
            return language;
    }
    return "en";
}

QString translationFile(const QString& language)
{
    return ":/i18n/reelkeeper_" + language + ".qm";
}

} // namespace app
