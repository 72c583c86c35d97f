#pragma once

// What the table's own source files share and nobody else sees: the lock
// bytes, the read-ahead size, the update lock and the repair wrapper.

#include "DbError.h"
#include "Table.h"

namespace db {

// Lock bytes lie far beyond any real data (see FileIO.h).
constexpr uint64_t kOpenLock = 1ULL << 62;
constexpr uint64_t kUpdateLock = kOpenLock + 1;
constexpr size_t kChunkBytes = 256 * 1024;

// The update lock: shared while reading a consistent piece of the table,
// exclusive while writing. An exclusively opened table needs none.
class Table::UpdateLock {
public:
    // Nested locks of one table object share the outermost one; a nested
    // exclusive request upgrades it for the rest of the outer scope.
    UpdateLock(Table& table, File::LockKind kind)
        : m_table(table)
        , m_held(table.m_mode != OpenMode::Exclusive)
    {
        if (!m_held)
            return;
        if (m_table.m_lockDepth == 0 || (kind == File::LockKind::Exclusive && !m_table.m_lockExclusive)) {
            m_table.lockUpdate(kind);
            m_table.m_lockExclusive = kind == File::LockKind::Exclusive;
        }
        ++m_table.m_lockDepth;
    }
    ~UpdateLock()
    {
        if (m_held && --m_table.m_lockDepth == 0) {
            m_table.m_file.unlock(kUpdateLock);
            m_table.m_lockExclusive = false;
        }
    }
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

private:
    Table& m_table;
    bool m_held;
};

template <class Work>
auto Table::repairing(Work&& work) -> decltype(work())
{
    try {
        return work();
    } catch (const IndexDamaged&) {
        repairIndex();
        return work();
    }
}

} // namespace db
