#pragma once

#include "FileIO.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace db {

// Maps the next window of a forward scan on a helper thread while the scan
// works on the current one, and unmaps the windows it is done with: setting
// up and tearing down a window's pages costs about as much as reading the
// records in it. Windows are File::map views. The file must stay open while
// the read-ahead lives.
class ReadAhead {
public:
    explicit ReadAhead(const File& file);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Starts mapping [offset, offset + length); a window mapped earlier and
    // not taken is dropped.
    void prepare(uint64_t offset, size_t length);
    // The window [offset, offset + length) when it is the one prepared (waiting
    // for it if the helper is still at work); nullptr otherwise.
    const char* take(uint64_t offset, size_t length);
    // Hands a window the scan is done with to the helper to unmap.
    void release(const char* window, size_t length);

private:
    void run(std::stop_token stop);
    void dropReadyLocked();

    const File& m_file;
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    uint64_t m_offset = 0;
    size_t m_length = 0;       // 0: nothing asked for
    bool m_requested = false;  // the helper has yet to map the window asked for
    const char* m_ready = nullptr;
    std::vector<std::pair<const char*, size_t>> m_retired;
    std::jthread m_helper;     // last: stops before the members above go
};

} // namespace db
