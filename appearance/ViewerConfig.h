#pragma once

// What the viewer configuration window decides when it closes: display
// names without duplicates, column widths read from their cells, and the
// viewer positions from the order list.

#include "Settings.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace appearance {

constexpr int kDisplayNameLength = 20;

// A width cell: blanks around it trimmed, its leading digits read (none is
// 0); below 1 or above 255 it is 10.
int widthFromCell(const QString& cell);

// The first name (in row order) that two rows share exactly, if any: two
// empty names are duplicates too.
std::optional<QString> firstDuplicate(const QStringList& names);
// The closing message for it.
QString duplicateMessage(const QString& name);

// The viewer positions from the order list: each field takes the first row
// that holds the name it was listed by (listedNames, by schema position - 1).
// A field whose name is in no row keeps its position.
void takeOrder(app::Settings& settings, const QStringList& listedNames, const QStringList& orderRows);

// The order list as it opens: each field's display name in the row of its viewer position.
QStringList orderRows(const app::Settings& settings);

} // namespace appearance
