#include "FaultInjection.h"

#include "DbError.h"

#include <atomic>
#include <mutex>
#include <unistd.h>
#include <utility>

namespace db::faults {

namespace {
// Process-wide on purpose: a crash test arms the whole engine at once.
std::atomic<uint64_t> g_changes{0};
std::atomic<uint64_t> g_armedAt{0}; // 0: unarmed
std::atomic<Action> g_action{Action::Fail};
std::atomic<bool> g_recording{false};
std::mutex g_recordMutex;
std::vector<Change> g_recorded;
} // namespace

void arm(uint64_t count, Action action)
{
    g_action = action;
    g_armedAt = g_changes.load() + count;
}

void disarm()
{
    g_armedAt = 0;
}

uint64_t changesSoFar()
{
    return g_changes.load();
}

void resetCount()
{
    g_changes = 0;
    g_armedAt = 0;
}

void startRecording()
{
    std::lock_guard lock(g_recordMutex);
    g_recorded.clear();
    g_recording = true;
}

std::vector<Change> stopRecording()
{
    std::lock_guard lock(g_recordMutex);
    g_recording = false;
    return std::exchange(g_recorded, {});
}

void beforeChange(const std::string& path, const char* what)
{
    const uint64_t number = ++g_changes;
    if (g_recording.load(std::memory_order_relaxed)) {
        std::lock_guard lock(g_recordMutex);
        g_recorded.push_back({path, what});
    }
    const uint64_t armed = g_armedAt.load(std::memory_order_relaxed);
    if (armed == 0 || number != armed)
        return;
    g_armedAt = 0;
    if (g_action.load() == Action::Stop)
        ::_exit(kStoppedExitStatus); // nothing more reaches the file, as after a kill
    throw DbError(path, std::string("Cannot ") + what + ": No space left on device");
}

} // namespace db::faults
