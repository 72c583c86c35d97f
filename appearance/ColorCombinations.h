#pragma once

// The twelve ready-made color combinations of the color window. Each sets
// six colors of a color set and derives the other seven from them.

#include "Settings.h"

#include <QStringList>

namespace appearance {

// The drop-down list's entries: an empty first entry, then the twelve names.
QStringList combinationNames();

// The set after choosing entry index of combinationNames() (0, the empty
// entry, leaves it as it is).
app::ColorSet applyCombination(const app::ColorSet& set, int index);

} // namespace appearance
