#pragma once

#include <QString>

namespace app {

// Where the program keeps its own files (pick lists, report definitions,
// MASTER.DBF, help): $REELKEEPER_HOME, else $XDG_DATA_HOME/reelkeeper
// (~/.local/share/reelkeeper). Never the executable's folder, which is
// usually read-only.
QString programFolder();

// The settings file REELKP.INI: $REELKEEPER_CONFIG (a file path), else
// $XDG_CONFIG_HOME/reelkeeper/REELKP.INI (~/.config/reelkeeper/REELKP.INI).
QString settingsFilePath();

// Where thumbnails of covers are kept: $REELKEEPER_CACHE, else
// $XDG_CACHE_HOME/reelkeeper/thumbnails (~/.cache/reelkeeper/thumbnails).
// Anything in it may go at any time; it is made again.
QString thumbnailFolder();

// The film lookup index built from IMDb's dataset files, in the program folder.
QString lookupIndexPath();
// TMDb's image configuration as last fetched, kept beside the thumbnails
// ($REELKEEPER_CACHE, else ~/.cache/reelkeeper): may go at any time.
QString tmdbConfigurationPath();

// Creates the program folder when it is missing. Returns an empty text on
// success, else a message that says which folder could not be made and why.
QString ensureProgramFolder();

} // namespace app
