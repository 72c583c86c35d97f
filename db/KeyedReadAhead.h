#pragma once

#include "FileIO.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace db {

// The records a walk in key order comes to next, read a window at a time in
// file order: one read of a record at a random place costs more than the
// walk's own work on it, and the same reads in file order cost a quarter
// less. While the walk works through one window, a helper thread reads the
// next. The table keeps the windows true: it drops them when it changes a
// record itself, and only reads ahead while other copies cannot change the
// file. The file must stay open while the read-ahead lives.
class KeyedReadAhead {
public:
    // No window lists more than longestWindow records.
    KeyedReadAhead(const File& file, uint64_t headerLength, size_t recordLength, size_t longestWindow);
    ~KeyedReadAhead();
    KeyedReadAhead(const KeyedReadAhead&) = delete;
    KeyedReadAhead& operator=(const KeyedReadAhead&) = delete;

    // The bytes of a record the current window lists at or after the walk's
    // place in it (records the walk skips are passed over); null otherwise.
    const char* find(uint32_t recNo);
    // Whether the walk has come through at least half the current window.
    bool mostlyWalked() const { return m_current.at * 2 >= m_current.order.size(); }
    // Reads the records (listed in key order) now and makes them the current window.
    void readNow(std::vector<uint32_t> records);
    // Has the helper read the records of the window after the current one.
    void prepare(std::vector<uint32_t> records);
    // Makes the prepared window current once the helper has read it; false
    // when none was prepared or its reading failed (the walk then reads for itself).
    bool advance();

private:
    // Memory for a window's records in pages of two megabytes where the
    // system has them: the walk's jumps through tens of megabytes would
    // otherwise miss the address cache at almost every record, and filling
    // it would take a fault every four kilobytes. The room for the longest
    // window is taken at once (pages come as they are first written), so
    // that growing windows never give up pages they have filled.
    class Bytes {
    public:
        Bytes() = default;
        ~Bytes();
        Bytes(Bytes&& other) noexcept;
        Bytes& operator=(Bytes&& other) noexcept;
        // At least n bytes, whose contents are then undefined; room for
        // `room` bytes when it has to be taken.
        void reserve(size_t n, size_t room);
        char* data() const { return m_data; }

    private:
        char* m_data = nullptr;
        size_t m_capacity = 0;
    };
    struct Window {
        std::vector<uint32_t> order; // record numbers in key order
        std::vector<uint32_t> slot;  // where each one's bytes lie, in records
        Bytes bytes;                 // the records in file order
        size_t at = 0;               // the walk's place in order
    };
    void read(Window& window) const;
    void run(std::stop_token stop);

    const File& m_file;
    const uint64_t m_headerLength;
    const size_t m_length;
    const size_t m_longestWindow;
    Window m_current;

    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    Window m_next;
    bool m_requested = false; // the helper has yet to read m_next
    bool m_ready = false;     // m_next holds the window prepared
    std::jthread m_helper;    // started by the first prepare; last, so it stops first
};

} // namespace db
