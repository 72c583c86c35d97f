#pragma once

// A combo box as a screen reader meets it. Qt's own, on Linux, gives a combo
// box the value it holds as its name ("Jean-Pierre Jeunet" for the Director
// box); here its name is its own accessible name or its label's words, and
// the value it holds is its value, as for every other control.

namespace ui {

// Installs the combo boxes' accessible interface for the whole program (once).
void nameComboBoxesByTheirLabels();

} // namespace ui
