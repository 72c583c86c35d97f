#pragma once

// Reads the records of a delimited text on a thread of its own, a few blocks
// ahead of the import that stores them. Records come out in file order, each
// with the reader's counts as they stood after it, so that what the import
// reports covers the records it stored and no more; an error comes out where
// it happened.

#include "DelimitedText.h"
#include "ReadAhead.h"

#include <cstdint>
#include <string>
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
    RecordReadAhead(DelimitedReader& reader, int fieldCount)
        : m_ahead([&reader, fieldCount](Record& r) {
            r.line = reader.readRecord(fieldCount, r.values, r.present);
            r.cutValues = reader.cutValues();
            r.lineBreaks = reader.lineBreaks();
            return r.line == DelimitedReader::Line::End;
        })
    {
    }

    // The next record (the last one has line End). The reader's error is
    // thrown here, after the records read before it.
    const Record& next() { return m_ahead.next(); }

private:
    ReadAhead<Record> m_ahead;
};

} // namespace exchange
