#pragma once

#include <QString>
#include <array>

namespace app {

// The five recent databases of the File menu, most recent first.
using RecentDatabases = std::array<QString, 5>;

// After opening current with previous open before it: current leaves the list
// (exact comparison, first match; the entries after it move up), then previous
// becomes entry 1 and the others move down (the fifth is lost). previous is
// not looked for, so it may stand in the list twice.
void updateRecentDatabases(RecentDatabases& recent, const QString& previous, const QString& current);

// The caption of recent item n (1..5): "&n   name".
QString recentItemCaption(int n, const QString& name);

} // namespace app
