#pragma once

// Produces items on a thread of their own, a few blocks ahead of the import
// that stores them: on two cores the reading and the storing overlap. Items
// come out in the order they were made; an error comes out where it
// happened, after the items made before it.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace exchange {

template <class Item>
class ReadAhead {
public:
    // Fills an item and says whether it is the last one (which is handed out too).
    using Produce = std::function<bool(Item&)>;

    // What produce reads is used by the thread alone until this object is gone.
    explicit ReadAhead(Produce produce, size_t itemsPerBlock = 512)
        : m_produce(std::move(produce))
        , m_itemsPerBlock(itemsPerBlock)
    {
        m_thread = std::thread([this] { produceBlocks(); });
    }
    ~ReadAhead() // stops the producing and waits for the thread
    {
        {
            std::lock_guard<std::mutex> hold(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next item; once the last has come, the last again. The producer's
    // error is thrown here, after the items made before it.
    Item& next()
    {
        while (m_at >= m_current.count) {
            if (m_current.error)
                std::rethrow_exception(m_current.error);
            if (m_current.last) // the last item was handed out: it stays the answer
                return m_current.items[m_current.count - 1];
            std::unique_lock<std::mutex> hold(m_mutex);
            if (!m_current.items.empty())
                m_free.push_back(std::move(m_current));
            m_changed.wait(hold, [this] { return !m_ready.empty(); });
            m_current = std::move(m_ready.front());
            m_ready.pop_front();
            m_at = 0;
            m_changed.notify_all();
        }
        return m_current.items[m_at++];
    }

private:
    static constexpr size_t kBlocksAhead = 4;

    struct Block {
        std::vector<Item> items;
        size_t count = 0;
        bool last = false;
        std::exception_ptr error;
    };

    // A block handed back, its items' room kept; a new one when none is.
    Block takeFreeBlock()
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        if (m_free.empty()) {
            Block block;
            block.items.resize(m_itemsPerBlock);
            return block;
        }
        Block block = std::move(m_free.back());
        m_free.pop_back();
        block.count = 0;
        block.last = false;
        block.error = nullptr;
        return block;
    }

    void produceBlocks()
    {
        bool last = false;
        while (!last) {
            Block block = takeFreeBlock();
            try {
                while (block.count < m_itemsPerBlock && !last) {
                    last = m_produce(block.items[block.count]);
                    ++block.count; // counted once made whole: a failure leaves no item behind
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

    Produce m_produce;
    const size_t m_itemsPerBlock;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_ready;
    std::vector<Block> m_free;
    bool m_stop = false;
    Block m_current;
    size_t m_at = 0;
    std::thread m_thread;
};

} // namespace exchange
