#include "BackgroundWriter.h"

namespace db {

BackgroundWriter::BackgroundWriter(File& file)
    : m_file(file)
    , m_writer([this] { writeLoop(); })
{
    m_buffer.reserve(kPieceSize + 64 * 1024);
}

BackgroundWriter::~BackgroundWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_writer.join();
}

void BackgroundWriter::waitForWriter(std::unique_lock<std::mutex>& lock)
{
    m_changed.wait(lock, [this] { return !m_pending; });
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void BackgroundWriter::flush()
{
    std::unique_lock lock(m_mutex);
    waitForWriter(lock);
    m_writing.swap(m_buffer);
    m_buffer.clear();
    m_pending = true;
    lock.unlock();
    m_changed.notify_all();
}

void BackgroundWriter::finish()
{
    flush();
    std::unique_lock lock(m_mutex);
    waitForWriter(lock);
}

void BackgroundWriter::writeLoop()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending)
            return;
        lock.unlock();
        std::exception_ptr failure;
        try {
            m_file.writeAt(m_offset, m_writing.data(), m_writing.size());
            m_offset += m_writing.size();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        if (failure && !m_failure)
            m_failure = failure;
        m_pending = false;
        m_changed.notify_all();
    }
}

} // namespace db
