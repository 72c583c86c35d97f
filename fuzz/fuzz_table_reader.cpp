// libFuzzer target: the table reader and the index reader on arbitrary bytes.
// The first input byte chooses what the rest is: a table file (.DBF), an
// index file (.MDX) beside a small valid table, or an index file walked
// page by page whatever its stamp. Either must give a DbError
// or a readable table, never a crash, a hang or a read out of bounds.
#include "DbError.h"
#include "IndexFile.h"
#include "RecordTexts.h"
#include "Table.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string scratchFolder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/reelkeeper-fuzz-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return folder;
}

void write(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
}

void readEverything(const std::string& path, bool withIndex)
{
    db::Table t;
    t.setFilePath(path);
    if (withIndex)
        t.selectIndex("NewIndex");
    t.open(db::Table::OpenMode::Shared);
    std::string text;
    int visited = 0;
    // The whole-record reader must read every record as the record reads it field by field.
    db::RecordTexts texts(t.fields());
    for (t.first(); !t.isEmpty() && !t.eof() && visited < 2000; t.next(), ++visited) {
        const db::Record r = t.current();
        const auto& all = texts.read(r.bytes());
        for (int i = 0; i < t.fieldCount(); ++i) {
            r.text(i, text);
            if (all[static_cast<size_t>(i)] != text)
                __builtin_trap();
            (void)r.number(i);
            (void)r.date(i);
        }
    }
    (void)t.recordCount();
    (void)t.checkIndex(); // walks every tag whole against the records
    for (t.last(); !t.isEmpty() && !t.bof() && visited < 4000; t.prior(), ++visited) {
    }
}

void makeSmallTable(const std::string& path)
{
    db::Table::createTable(path, {{"TITLE", 'C', 12, 0}, {"YEAR", 'N', 11, 0}, {"BOUGHT", 'D', 8, 0}});
    db::Table t;
    t.setFilePath(path);
    t.open();
    for (int i = 0; i < 40; ++i) {
        t.insert();
        t.setText(0, "Film " + std::to_string((i * 7) % 40));
        t.setNumber(1, 1950 + i);
        t.post();
    }
}

// Walks every tag of an index file directly, whatever its stamp says.
void walkIndex(const std::string& path)
{
    db::IndexFile index;
    if (index.open(path, true) != db::IndexFile::OpenResult::Valid)
        return;
    for (int tag = 0; tag < static_cast<int>(index.tags().size()); ++tag) {
        db::IndexFile::Cursor c;
        int steps = 0;
        for (bool more = index.first(c, tag); more && steps < 5000; more = index.next(c))
            ++steps;
        for (bool more = index.last(c, tag); more && steps < 10000; more = index.prior(c))
            ++steps;
        const db::IndexFile::Entry probe(static_cast<size_t>(index.tags()[tag].keyLength) + 4, 'M');
        index.seek(c, tag, probe);
        (void)index.rank(tag, probe);
        index.entryAt(c, tag, index.entryCount(tag) / 2);
        index.beginChange();
        index.insert(tag, probe);
        index.erase(tag, probe);
        index.endChange({});
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::string folder = scratchFolder();
    try {
        if (data[0] % 3 == 2) {
            const std::string path = folder + "/WALK.MDX";
            write(path, data + 1, size - 1);
            try {
                walkIndex(path);
            } catch (const db::IndexDamaged&) {
            }
        } else if (data[0] % 3 == 0) {
            const std::string path = folder + "/FUZZ.DBF";
            ::unlink((folder + "/FUZZ.MDX").c_str());
            write(path, data + 1, size - 1);
            readEverything(path, false);
        } else {
            const std::string path = folder + "/SMALL.DBF";
            makeSmallTable(path);
            write(folder + "/SMALL.MDX", data + 1, size - 1);
            readEverything(path, false);
            try {
                readEverything(path, true);
            } catch (const db::DbError&) {
            }
        }
    } catch (const db::DbError&) {
        // A clear refusal is a good outcome.
    }
    return 0;
}
