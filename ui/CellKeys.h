#pragma once

// Cells a double click acts on (a Yes/No toggle, a chooser) answer the Space
// bar too, for the user who works by keyboard.

#include <functional>

class QTableWidget;

namespace ui {

// Space on the current cell calls press(row, column); when press returns
// true the key is taken, else the grid has it as before (typing in a cell).
void pressCellsWithSpace(QTableWidget* grid, std::function<bool(int row, int column)> press);

} // namespace ui
