#pragma once

// Options > IMDb Lookup Index: the index built from the folder of IMDb's
// dataset files the user chose, on a thread of its own while a progress box
// shows what is being read and offers Cancel; the window stays alive, and a
// cancelled or failed build leaves the index there was.

#include "CoverStore.h"
#include "Prompter.h"
#include "Tmdb.h"

#include <QString>

class QWidget;

namespace db {
class Table;
}

namespace lookup_ui {

// Builds the index at indexPath from folder; true when it was built. Says
// how it ended (the counts, the files' notes, or why it failed) through the prompter.
bool buildLookupIndex(QWidget* owner, app::Prompter& prompter, const QString& folder, const QString& indexPath);

// Tools > Fill In Missing: the empty fields of the visible videos without a
// director or a year filled from their one film of the index, with a progress
// box that can stop it; then what it did, naming the videos it had doubts
// about. False when there is no index (said why).
bool fillInMissing(QWidget* owner, app::Prompter& prompter, db::Table& table, const QString& indexPath);
// The same from TMDb online, the videos without a cover looked up too and given the film's poster.
bool fillInMissingFromTmdb(QWidget* owner, app::Prompter& prompter, db::Table& table, const lookup::TmdbSettings& tmdb,
                           const covers::CoverLimits& limits);

} // namespace lookup_ui
