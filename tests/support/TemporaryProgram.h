#pragma once

#include "IniFile.h"
#include "TempDir.h"

#include <QString>

namespace testing_support {

// Points the program folder and the settings file of the program under test
// into a temporary folder, with settings that keep the tip of the day away
// and sort by title; tests add their own settings before saveSettings().
class TemporaryProgram {
public:
    explicit TemporaryProgram(const TempDir& dir);

    void saveSettings();

    QString home;   // the program folder
    QString config; // the settings file
    app::IniFile settings;
};

} // namespace testing_support
