#pragma once

#include "DbError.h"

// The report designer's rules: lines fitted to the report width, the width
// switches, the part window's changes, and the checks made before a
// definition is saved.

#include "ReportDefinitions.h"

#include <optional>
#include <string>

namespace report {

// Fits a line to the width: an item of width 0 takes the whole width, the
// widths are added until they reach it (or item 20), the item that passes it
// gives up the excess (item 20 takes any shortfall), and every later item
// gets width 0. Afterwards the widths add up to exactly width.
void fitLine(ReportLine& line, int width);

// A width switch: every defined body line fitted to the new width, and the
// body font's size for it (90 → 10, 120 → 8, 150 → 6 points). The totals
// line is left as it is.
void switchWidth(ReportDefinition& definition, int width);

// A definition from a damaged file as the designer shows it: a negative
// width (which nothing writes) becomes 0 and so ends its line there. Lines
// wider or narrower than the report are shown as they are (the defaults have
// such lines); the designer fits a line when one of its parts is changed.
// True when something was changed.
bool repairLines(ReportDefinition& definition);

// Update's last step before a definition is saved: every body line in use
// and the totals line whose items add up to more than the report width are
// fitted to it, so that nothing runs off the right edge (a new definition's
// first item is 150 wide). Narrower lines stay as they are. True when a line
// was changed.
bool fitWideLines(ReportDefinition& definition);

// The body font size a width gets.
int bodyFontSizeFor(int width);

// The number of lines as typed: a whole number 0..12 (blanks around it), else none.
std::optional<int> readNumberOfLines(const std::string& text);
// A margin as typed: a number of inches from 0 (blanks around it, a point or
// the decimal character given), else none.
std::optional<double> readMargin(const std::string& text, char decimal = '.');

enum class PartKind { Filler, Label, Field, Cover };
// The part window's Ok on item (0-based) of a line: the width stored and the
// line fitted, then the item made a filler, a label with its text, the
// field (or total) of number (1-based), or the film's cover, number lines tall.
void setPart(ReportLine& line, int item, int itemWidth, PartKind kind, const std::string& labelText, int number,
             bool totalsLine, int reportWidth);

// The totals line's three totals, by kind 1..3: the name a part stores (marked for
// the windows, which show it translated).
const char* totalName(int kind);

// The row of the part window's list that a field or total part selects when
// the window opens: its field (or total) found by name, in any letter case;
// by its number when the name is none (a damaged record); -1 for neither.
int partListRow(const ReportItem& item, bool totalsLine);

// What keeps a definition from being saved ("" when nothing): margins that
// leave no printable width or height on the paper, a field item with no
// field, a label longer than its field.
std::string definitionProblem(const ReportDefinition& definition, const db::Speak& speak = {});

} // namespace report
