#pragma once

// Reads the records of a delimited text on a thread of its own, a few blocks
// ahead of the import that stores them: on two cores the reading and the
// storing overlap. Records come out in file order, each with the reader's
// counts as they stood after it, so that what the import reports covers the
// records it stored and no more; an error comes out where it happened.

#include "DelimitedText.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace exchange {

class RecordReadAhead {
public:
    struct Record {
        DelimitedReader::Line line = DelimitedReader::Line::End;
        int present = 0;
        uint64_t cutValues = 0;  // the reader's counts after this record
        uint64_t lineBreaks = 0;
        std::vector<std::string> values;
    };

    // The reader is used by the thread alone until this object is gone.
    RecordReadAhead(DelimitedReader& reader, int fieldCount);
    ~RecordReadAhead(); // stops the reading and waits for the thread

    RecordReadAhead(const RecordReadAhead&) = delete;
    RecordReadAhead& operator=(const RecordReadAhead&) = delete;

    // The next record (the last one has line End). The reader's error is
    // thrown here, after the records read before it.
    const Record& next();

private:
    struct Block {
        std::vector<Record> records;
        size_t count = 0;
        bool last = false;
        std::exception_ptr error;
    };

    void read();
    Block takeFreeBlock();

    DelimitedReader& m_reader;
    const int m_fieldCount;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_ready;
    std::vector<Block> m_free; // blocks handed back, their strings' room kept
    bool m_stop = false;
    Block m_current;
    size_t m_at = 0;
    std::thread m_thread;
};

} // namespace exchange
