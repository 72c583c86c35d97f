#include "ReadAhead.h"

namespace db {

ReadAhead::ReadAhead(const File& file)
    : m_file(file)
    , m_helper([this](std::stop_token stop) { run(std::move(stop)); })
{
}

ReadAhead::~ReadAhead()
{
    m_helper.request_stop();
    m_helper.join();
    File::unmap(m_ready, m_length);
    for (const auto& [window, length] : m_retired)
        File::unmap(window, length);
}

void ReadAhead::prepare(uint64_t offset, size_t length)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_requested; });
    dropReadyLocked();
    m_offset = offset;
    m_length = length;
    m_requested = length > 0;
    m_changed.notify_all();
}

const char* ReadAhead::take(uint64_t offset, size_t length)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_requested; });
    if (offset != m_offset || length != m_length || !m_ready) {
        dropReadyLocked();
        return nullptr;
    }
    const char* window = m_ready;
    m_ready = nullptr;
    m_length = 0;
    return window;
}

void ReadAhead::release(const char* window, size_t length)
{
    if (!window)
        return;
    std::lock_guard lock(m_mutex);
    m_retired.emplace_back(window, length);
    m_changed.notify_all();
}

void ReadAhead::dropReadyLocked()
{
    File::unmap(m_ready, m_length);
    m_ready = nullptr;
    m_length = 0;
}

void ReadAhead::run(std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    while (m_changed.wait(lock, stop, [this] { return m_requested || !m_retired.empty(); })) {
        // A window asked for comes first: the scan may be waiting for it.
        if (m_requested) {
            const uint64_t offset = m_offset;
            const size_t length = m_length;
            lock.unlock();
            const char* window = m_file.map(offset, length);
            lock.lock();
            m_ready = window;
            m_requested = false;
            m_changed.notify_all();
            continue;
        }
        const auto retired = std::exchange(m_retired, {});
        lock.unlock();
        for (const auto& [window, length] : retired)
            File::unmap(window, length);
        lock.lock();
    }
}

} // namespace db
