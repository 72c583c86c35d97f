#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace db::faults {

// A seam for crash tests. Every change the engine makes to a file (a write,
// a sync, a change of size, a rename or a removal) is counted here first;
// a test arms one of them to fail as a full disk would, to stop the process
// on the spot as a kill would, or to stop it as a power cut would: then
// every write and size change not yet synced to its file is undone first,
// as if it had never left the page cache. Unarmed, it only counts.
// PowerCutLosingLatest is the harsher order a disk may choose: earlier
// unsynced writes of a file reach it, its latest does not.
// Corrupt changes one byte of the armed change when it is a write, and says
// nothing: what a failing disk or cable does, which only reading back finds.
enum class Action { Fail, Stop, PowerCut, PowerCutLosingLatest, Corrupt };

// The count-th change from now (1 = the next one) fails or stops the process
// with exit status kStoppedExitStatus.
void arm(uint64_t count, Action action);
void disarm();
// Changes made since the program started (or since the last reset).
uint64_t changesSoFar();
void resetCount();

constexpr int kStoppedExitStatus = 86;

// File times read as whole seconds, as on file systems with one-second
// timestamps: a change within the same second then leaves a file's time as
// it was, and only the content can tell that something changed.
void setCoarseTimestamps(bool on);
bool coarseTimestamps();

// A record of the changes made while recording is on, in order, so that a
// test can see that a sync came after a write, or a folder sync after a rename.
struct Change {
    std::string path;
    std::string what;
};
void startRecording();
std::vector<Change> stopRecording();

// Called by the file layer before each change; throws DbError for an armed failure.
void beforeChange(const std::string& path, const char* what);
// The same for a write or a change of size of an open file, which a power
// cut may take back until the file is synced; afterSync marks it synced.
// True when this write is to reach the file with one byte changed (Corrupt).
bool beforeWrite(const std::string& path, int fd, uint64_t offset, size_t length);
void beforeResize(const std::string& path, int fd, uint64_t size);
void afterSync(const std::string& path);

} // namespace db::faults
