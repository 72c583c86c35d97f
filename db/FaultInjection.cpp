#include "FaultInjection.h"

#include "DbError.h"

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
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
std::atomic<bool> g_coarse{false};
std::mutex g_recordMutex;
std::vector<Change> g_recorded;

// What a power cut takes back: the bytes and size each unsynced change replaced.
struct Undo {
    std::string path;
    uint64_t offset;
    std::string before; // the bytes the change overwrote (those that existed)
    uint64_t sizeBefore;
};
std::mutex g_undoMutex;
std::vector<Undo> g_undo;

bool keepingUndo()
{
    const Action action = g_action.load();
    return g_armedAt.load(std::memory_order_relaxed) != 0
        && (action == Action::PowerCut || action == Action::PowerCutLosingLatest);
}

void remember(const std::string& path, int fd, uint64_t offset, uint64_t length)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return;
    const auto size = static_cast<uint64_t>(st.st_size);
    Undo undo{path, offset, {}, size};
    if (offset < size) {
        undo.before.resize(static_cast<size_t>(std::min<uint64_t>(length, size - offset)));
        const ssize_t got = ::pread(fd, undo.before.data(), undo.before.size(), static_cast<off_t>(offset));
        undo.before.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    std::lock_guard lock(g_undoMutex);
    g_undo.push_back(std::move(undo));
}

[[noreturn]] void cutThePower(bool latestOnly)
{
    // Newest first: each file goes back to what it held at its last sync,
    // or loses only its latest write.
    std::vector<std::string> undone;
    for (auto it = g_undo.rbegin(); it != g_undo.rend(); ++it) {
        if (latestOnly) {
            if (std::find(undone.begin(), undone.end(), it->path) != undone.end())
                continue;
            undone.push_back(it->path);
        }
        const int fd = ::open(it->path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            continue; // renamed or removed since: what a rename made durable stays
        if (!it->before.empty())
            (void)!::pwrite(fd, it->before.data(), it->before.size(), static_cast<off_t>(it->offset));
        (void)!::ftruncate(fd, static_cast<off_t>(it->sizeBefore));
        ::close(fd);
    }
    ::_exit(kStoppedExitStatus);
}
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

bool beforeWrite(const std::string& path, int fd, uint64_t offset, size_t length)
{
    const bool corrupt = g_armedAt.load() == g_changes.load() + 1 && g_action.load() == Action::Corrupt;
    beforeChange(path, "write file");
    if (keepingUndo())
        remember(path, fd, offset, length);
    return corrupt;
}

void beforeResize(const std::string& path, int fd, uint64_t size)
{
    beforeChange(path, "change file size");
    if (keepingUndo())
        remember(path, fd, size, UINT64_MAX); // the bytes past the new end, and the old size
}

void afterSync(const std::string& path)
{
    std::lock_guard lock(g_undoMutex);
    std::erase_if(g_undo, [&](const Undo& u) { return u.path == path; });
}

void setCoarseTimestamps(bool on)
{
    g_coarse = on;
}

bool coarseTimestamps()
{
    return g_coarse.load(std::memory_order_relaxed);
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
    if (g_action.load() == Action::Corrupt)
        return; // a write changes one byte of what it writes (see beforeWrite); anything else goes through
    if (g_action.load() == Action::Stop)
        ::_exit(kStoppedExitStatus); // nothing more reaches the file, as after a kill
    if (g_action.load() == Action::PowerCut || g_action.load() == Action::PowerCutLosingLatest)
        cutThePower(g_action.load() == Action::PowerCutLosingLatest);
    throw DbError(path, std::string("Cannot ") + what + ": No space left on device");
}

} // namespace db::faults
