#include "KeyedReadAhead.h"

#include <algorithm>
#include <new>
#include <numeric>
#include <sys/mman.h>
#include <utility>

namespace db {

KeyedReadAhead::Bytes::~Bytes()
{
    if (m_data)
        ::munmap(m_data, m_capacity);
}

KeyedReadAhead::Bytes::Bytes(Bytes&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_capacity(std::exchange(other.m_capacity, 0))
{
}

KeyedReadAhead::Bytes& KeyedReadAhead::Bytes::operator=(Bytes&& other) noexcept
{
    std::swap(m_data, other.m_data);
    std::swap(m_capacity, other.m_capacity);
    return *this;
}

void KeyedReadAhead::Bytes::reserve(size_t n, size_t room)
{
    if (n <= m_capacity)
        return;
    constexpr size_t kLargePage = size_t{2} << 20;
    const size_t capacity = (std::max(n, room) + kLargePage - 1) / kLargePage * kLargePage;
    void* data = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED)
        throw std::bad_alloc();
    ::madvise(data, capacity, MADV_HUGEPAGE); // only a wish: small pages work too
    if (m_data)
        ::munmap(m_data, m_capacity);
    m_data = static_cast<char*>(data);
    m_capacity = capacity;
}

KeyedReadAhead::KeyedReadAhead(const File& file, uint64_t headerLength, size_t recordLength, size_t longestWindow)
    : m_file(file)
    , m_headerLength(headerLength)
    , m_length(recordLength)
    , m_longestWindow(longestWindow)
{
}

KeyedReadAhead::~KeyedReadAhead()
{
    if (m_helper.joinable()) {
        m_helper.request_stop();
        m_helper.join();
    }
}

const char* KeyedReadAhead::find(uint32_t recNo)
{
    const std::vector<uint32_t>& order = m_current.order;
    for (size_t i = m_current.at; i < order.size(); ++i) {
        if (order[i] == recNo) {
            m_current.at = i + 1;
            return m_current.bytes.data() + static_cast<size_t>(m_current.slot[i]) * m_length;
        }
    }
    return nullptr;
}

void KeyedReadAhead::read(Window& window) const
{
    // Each record's place among the window's records in file order; a run of
    // neighbours in the file is read at once.
    const size_t n = window.order.size();
    std::vector<uint32_t> byRecord(n);
    std::iota(byRecord.begin(), byRecord.end(), 0U);
    std::sort(byRecord.begin(), byRecord.end(),
              [&](uint32_t a, uint32_t b) { return window.order[a] < window.order[b]; });
    window.slot.resize(n);
    for (size_t s = 0; s < n; ++s)
        window.slot[byRecord[s]] = static_cast<uint32_t>(s);
    window.bytes.reserve(n * m_length, m_longestWindow * m_length);
    window.at = 0;
    for (size_t s = 0; s < n;) {
        size_t end = s + 1;
        while (end < n && window.order[byRecord[end]] == window.order[byRecord[end - 1]] + 1)
            ++end;
        const uint32_t first = window.order[byRecord[s]];
        m_file.readAt(m_headerLength + static_cast<uint64_t>(first - 1) * m_length, window.bytes.data() + s * m_length,
                      (end - s) * m_length);
        s = end;
    }
}

void KeyedReadAhead::readNow(std::vector<uint32_t> records)
{
    m_current.order = std::move(records);
    read(m_current);
}

void KeyedReadAhead::prepare(std::vector<uint32_t> records)
{
    if (!m_helper.joinable()) // may fail (no thread to spare) before anything is asked for
        m_helper = std::jthread([this](std::stop_token stop) { run(std::move(stop)); });
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_requested; });
    m_next.order = std::move(records);
    m_requested = true;
    m_ready = false;
    m_changed.notify_all();
}

bool KeyedReadAhead::advance()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_requested; });
    if (!m_ready)
        return false;
    std::swap(m_current, m_next);
    m_ready = false;
    return true;
}

void KeyedReadAhead::run(std::stop_token stop)
{
    std::unique_lock lock(m_mutex);
    while (m_changed.wait(lock, stop, [this] { return m_requested; })) {
        lock.unlock();
        bool read = true;
        try {
            this->read(m_next);
        } catch (...) {
            read = false; // the walk reads these records for itself and meets the error there
        }
        lock.lock();
        m_ready = read;
        m_requested = false;
        m_changed.notify_all();
    }
}

} // namespace db
