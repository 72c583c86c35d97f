#include "RecordReadAhead.h"

namespace exchange {

namespace {
constexpr size_t kRecordsPerBlock = 512;
constexpr size_t kBlocksAhead = 4;
} // namespace

RecordReadAhead::RecordReadAhead(DelimitedReader& reader, int fieldCount)
    : m_reader(reader)
    , m_fieldCount(fieldCount)
{
    m_thread = std::thread([this] { read(); });
}

RecordReadAhead::~RecordReadAhead()
{
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

RecordReadAhead::Block RecordReadAhead::takeFreeBlock()
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (m_free.empty()) {
        Block block;
        block.records.resize(kRecordsPerBlock);
        return block;
    }
    Block block = std::move(m_free.back());
    m_free.pop_back();
    block.count = 0;
    block.last = false;
    block.error = nullptr;
    return block;
}

void RecordReadAhead::read()
{
    bool last = false;
    while (!last) {
        Block block = takeFreeBlock();
        try {
            while (block.count < kRecordsPerBlock && !last) {
                Record& r = block.records[block.count];
                r.line = m_reader.readRecord(m_fieldCount, r.values, r.present);
                r.cutValues = m_reader.cutValues();
                r.lineBreaks = m_reader.lineBreaks();
                last = r.line == DelimitedReader::Line::End;
                ++block.count; // counted once read whole: a failed read leaves no record behind
            }
        } catch (...) {
            block.error = std::current_exception();
            last = true;
        }
        block.last = last;
        std::unique_lock<std::mutex> hold(m_mutex);
        m_changed.wait(hold, [this] { return m_stop || m_ready.size() < kBlocksAhead; });
        if (m_stop)
            return;
        m_ready.push_back(std::move(block));
        m_changed.notify_all();
    }
}

const RecordReadAhead::Record& RecordReadAhead::next()
{
    while (m_at >= m_current.count) {
        if (m_current.error)
            std::rethrow_exception(m_current.error);
        if (m_current.last) // the End record was handed out: it stays the answer
            return m_current.records[m_current.count - 1];
        std::unique_lock<std::mutex> hold(m_mutex);
        if (!m_current.records.empty())
            m_free.push_back(std::move(m_current));
        m_changed.wait(hold, [this] { return !m_ready.empty(); });
        m_current = std::move(m_ready.front());
        m_ready.pop_front();
        m_at = 0;
        m_changed.notify_all();
    }
    return m_current.records[m_at++];
}

} // namespace exchange
