#include "ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

namespace {
QString fromEnvironment(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

QString homeRelative(const char* variable, const QString& fallback)
{
    const QString base = fromEnvironment(variable);
    return base.isEmpty() ? QDir::homePath() + fallback : base;
}
} // namespace

QString programFolder()
{
    const QString home = fromEnvironment("REELKEEPER_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    return QDir::cleanPath(homeRelative("XDG_DATA_HOME", "/.local/share") + "/reelkeeper");
}

QString settingsFilePath()
{
    const QString config = fromEnvironment("REELKEEPER_CONFIG");
    if (!config.isEmpty())
        return config;
    return QDir::cleanPath(homeRelative("XDG_CONFIG_HOME", "/.config") + "/reelkeeper/REELKP.INI");
}

QString thumbnailFolder()
{
    const QString cache = fromEnvironment("REELKEEPER_CACHE");
    if (!cache.isEmpty())
        return QDir::cleanPath(cache);
    return QDir::cleanPath(homeRelative("XDG_CACHE_HOME", "/.cache") + "/reelkeeper/thumbnails");
}

QString tmdbConfigurationPath()
{
    const QString cache = fromEnvironment("REELKEEPER_CACHE");
    const QString folder = !cache.isEmpty() ? QDir::cleanPath(cache) : QDir::cleanPath(homeRelative("XDG_CACHE_HOME", "/.cache") + "/reelkeeper");
    return QDir(folder).filePath("tmdb-configuration.json");
}

QString lookupIndexPath()
{
    return QDir(programFolder()).filePath("imdb-index.sqlite");
}

QString ensureProgramFolder()
{
    const QString folder = programFolder();
    const QFileInfo info(folder);
    if (info.isDir())
        return {};
    if (info.exists())
        return QCoreApplication::translate("settings",
                                           "The program folder \"%1\" cannot be created: a file of that name is in the way.")
            .arg(folder);
    if (!QDir().mkpath(folder))
        return QCoreApplication::translate("settings", "The program folder \"%1\" cannot be created.  Check that its "
                                                       "parent folder exists and may be written, or set REELKEEPER_HOME "
                                                       "to another folder.")
            .arg(folder);
    return {};
}

} // namespace app
