#include "TemporaryProgram.h"

#include <QDir>
#include <QFileInfo>

namespace testing_support {

TemporaryProgram::TemporaryProgram(const TempDir& dir)
    : home(QString::fromStdString(dir.file("home")))
    , config(QString::fromStdString(dir.file("REELKP.INI")))
{
    qputenv("REELKEEPER_HOME", home.toLocal8Bit());
    qputenv("REELKEEPER_CONFIG", config.toLocal8Bit());
    qputenv("REELKEEPER_CACHE", QString::fromStdString(dir.file("thumbnails")).toLocal8Bit());
    settings.setValue("Misc", "Show Tips", "No");
    settings.setValue("Sort Order", "Primary Sort", "1");
    QDir().mkpath(home);
}

void TemporaryProgram::saveSettings()
{
    QDir().mkpath(QFileInfo(config).absolutePath());
    settings.save(config);
}

} // namespace testing_support
