#pragma once

// The ready-made color combinations of the color window: twelve that set six
// colors of a color set and derive the other seven from them, and a
// thirteenth, "Follow the Desktop", whose colors follow the desktop's light or
// dark preference.

#include "Settings.h"

#include <QStringList>

namespace appearance {

// The drop-down list's entries: an empty first entry, the twelve names, then "Follow the Desktop".
QStringList combinationNames();
constexpr int kFollowTheDesktop = 13; // its index in combinationNames()

// The desktop's preference as the XDG settings portal gives it
// (org.freedesktop.appearance color-scheme): 0 none, 1 dark, 2 light.
enum class DesktopScheme { NoPreference = 0, Dark = 1, Light = 2 };

// The colors of "Follow the Desktop": a dark set for a dark preference; the
// system palette's own colors (given as a color set) otherwise, or a light
// set when a light preference meets a dark system palette.
app::ColorSet desktopColorSet(DesktopScheme scheme, const app::ColorSet& systemPalette);

// The set after choosing entry index of combinationNames() (0, the empty
// entry, leaves it as it is).
app::ColorSet applyCombination(const app::ColorSet& set, int index);

} // namespace appearance
