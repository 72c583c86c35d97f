#include "RecentDatabases.h"

namespace app {

void updateRecentDatabases(RecentDatabases& recent, const QString& previous, const QString& current)
{
    for (size_t p = 0; p < recent.size(); ++p) {
        if (recent[p] == current) {
            for (size_t q = p; q + 1 < recent.size(); ++q)
                recent[q] = recent[q + 1];
            recent.back().clear();
            break;
        }
    }
    for (size_t q = recent.size() - 1; q > 0; --q)
        recent[q] = recent[q - 1];
    recent[0] = previous;
}

QString recentItemCaption(int n, const QString& name)
{
    return "&" + QString::number(n) + "   " + name;
}

} // namespace app
