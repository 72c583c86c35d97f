#pragma once

// The table engine: one dBASE table (.DBF) with its production index (.MDX).
//
// Sharing. A table object holds its file open shared (or exclusive) between
// open() and close(). Copies of the program, and table objects within one
// copy, share a table like this:
//   - every open table holds a shared lock on the table file; an exclusive open
//     needs the only lock and fails with a DbError while anyone else holds it;
//   - posts and deletes take the table's update lock for the few writes they
//     make, so two writers never interleave inside one record or index page;
//   - a reader sees other writers' new and changed records after refresh();
//   - a whole-collection read (an export, a report, a backup, a count) holds
//     the update lock shared for its run (ReadHold), so it sees the table as
//     it stood at one moment; writers wait until it ends.
// Not supported: tables on network file systems without POSIX byte-range
// locks, and programs other than this engine writing the table while it is
// open (their changes are noticed at the next open or refresh, when the index
// is rebuilt, but records they write at the same moment may be lost).

#include "Translatable.h"
#include "DbfFormat.h"
#include "IndexFile.h"
#include "KeyExpression.h"
#include "KeyedReadAhead.h"
#include "ReadAhead.h"
#include "Record.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace db {

// The production index file of a table file ("" for a name without the
// .DBF extension): the same name with .MDX in the extension's case.
std::string indexPathOfTableFile(const std::string& tablePath);

class Table {
    class UpdateLock; // below, with the other private parts

public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class OpenMode { Shared, Exclusive, ReadOnly };
    // The record filter: asked for each record a visit or count considers.
    using Filter = std::function<bool(const Record&)>;

    // Holds the update lock shared while it lives: other copies' changes wait,
    // so that everything read meanwhile is one state of the table. Changes
    // of this table object itself upgrade it for the rest of its life.
    class ReadHold {
    public:
        explicit ReadHold(Table& table);
        ~ReadHold();
        ReadHold(const ReadHold&) = delete;
        ReadHold& operator=(const ReadHold&) = delete;

    private:
        Table& m_table;
        std::unique_ptr<UpdateLock> m_lock;
    };

    // Called while this table waits for another copy's lock (true, now and
    // again while it waits) and once when the wait is over (false), so that a
    // window can say why nothing happens. Without it the table just waits.
    using LockWait = std::function<void(bool waiting)>;
    void setLockWait(LockWait wait) { m_lockWait = std::move(wait); }

    struct Bookmark {
        uint32_t record = 0;
        IndexFile::Entry entry;
        bool valid() const { return record != 0; }
    };

    Table();
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Naming: the folder (a trailing "/" optional) and the table name, given
    // with or without its .DBF extension; the name is all before that
    // extension, dots included.
    void setDatabaseName(const std::string& folder);
    void setTableName(const std::string& name);
    // Both at once from a file path.
    void setFilePath(const std::string& path);
    const std::string& databaseName() const { return m_folder; }
    const std::string& tableName() const { return m_name; }
    std::string filePath() const;
    std::string indexPath() const;

    void open(OpenMode mode = OpenMode::Shared);
    void close();
    bool active() const { return m_state != State::Inactive; }
    OpenMode openMode() const { return m_mode; }

    // Structure, in physical column order.
    int fieldCount() const { return static_cast<int>(m_header.fields.size()); }
    const FieldDef& field(int index) const { return m_header.fields.at(static_cast<size_t>(index)); }
    const std::vector<FieldDef>& fields() const { return m_header.fields; }
    int fieldIndex(std::string_view name) const; // case-insensitive; -1 when missing
    int requireField(std::string_view name) const; // throws DbError when missing

    // How the table keeps its text: its .cpg file's word, else Windows-1252.
    TextEncoding encoding() const { return m_encoding; }

    // Creates (or replaces) a table file with no records and no index, its
    // text kept as encoding says, with a .cpg file beside it that says so. The
    // file is written beside its destination and renamed into place; a table
    // that another opener holds is not replaced.
    static void createTable(const std::string& path, const std::vector<FieldDef>& fields,
                            TextEncoding encoding = TextEncoding::Windows1252);
    // The encoding the table at a path keeps its text in, without opening it:
    // UTF-8 where its .cpg file says so and its header's language byte names
    // no code page (see encodingOf), else Windows-1252.
    static TextEncoding encodingOfFile(const std::string& path);
    // How a table with this language byte and this .cpg word keeps its text.
    // Both must say UTF-8: the language byte changes with the file itself, so
    // a table is read as what it is at every moment of a conversion, and a
    // .cpg that an interrupted one left behind does not change how an older
    // table reads.
    static TextEncoding encodingOf(uint8_t languageDriver, std::optional<TextEncoding> codePage);
    // A table whose header names no code page and that has no .cpg is read as
    // Windows-1252, unless its first records hold text beyond ASCII that is all
    // valid UTF-8 (a Unicode collection copied without its .cpg); nullopt
    // where those records are all ASCII and cannot tell.
    static std::optional<TextEncoding> encodingWithoutWord(const File& file, uint16_t headerLength);

    // Navigation over the visible records (live, and accepted by the filter
    // when it is on) in the selected index's order or in physical order.
    void first();
    void last();
    void next();
    void prior();
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const { return m_recNo == 0; }
    void refresh();
    uint32_t recordCount();

    // Positions 0..recordCount()-1 of the visible records in the current
    // order, for views that show a window of rows. With an index and no
    // filter they cost one descent of the index; otherwise the table lists
    // the visible records once and keeps the list until something changes.
    bool gotoPosition(uint32_t position);
    uint32_t currentPosition();
    // With a filter on, the visible records are listed as far as asked:
    // lists at least `atLeast` (or all there are) and says how many are listed.
    uint32_t listPositions(uint32_t atLeast);
    bool allPositionsListed() const { return m_positionsDone; }
    // The bytes of the record at a position, without moving the current record.
    bool recordAtPosition(uint32_t position, std::vector<char>& bytes, uint32_t& recNo);
    // Raised by every change of records, order, filter or file: views drop
    // what they cached when it moves.
    uint64_t generation() const { return m_generation; }
    uint32_t physicalRecordCount() const { return m_header.recordCount; }
    uint32_t recNo() const { return m_recNo; }

    // The current record (the edit buffer while editing or inserting).
    Record current() const;
    std::string text(int field) const { return current().text(field); }
    double number(int field) const { return current().number(field); }
    double date(int field) const { return current().date(field); }

    State state() const { return m_state; }
    void edit();
    void insert();
    void append() { insert(); }
    // Text is UTF-8, as every text of the program; a character field keeps it
    // in the table's encoding, at most its width in bytes (never cutting a
    // character), and says false when it could not keep it whole (cut, or a
    // character Windows-1252 cannot hold, kept as "?"). Numbers and dates must
    // read as such (empty text empties the field), else DbError.
    bool setText(int field, std::string_view text);
    // Whether a field keeps a text (UTF-8) whole: too long for its width, or
    // holding a character Windows-1252 cannot store, it does not.
    enum class Fit { Whole, TooLong, NotHeld };
    Fit fit(int field, std::string_view text) const;
    void setNumber(int field, double value);
    void setDate(int field, double dayNumber); // day 0 empties the field
    void clearField(int field);
    void post();
    void cancel();
    void deleteRecord();

    // parallelSafe: the filter only reads (the record and data nobody changes
    // during a count), so a count may run it on several threads at once.
    void setFilter(Filter filter, bool parallelSafe = false);
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Refreshes with what a pass elsewhere (a worker with a table of its own)
    // found of the filter now on: by record number, 0 for a record known to
    // fail it, and how many passed. Records marked 0 are passed over unread
    // when the table looks for visible ones; the others, and records past the
    // list's end (added since), are read and tested as always, so what is
    // shown is the record as it is. The count stands until something changes.
    // Holds until the filter changes (refresh, setFilter, setFiltered) or the
    // table closes.
    using Candidates = std::shared_ptr<const std::vector<uint8_t>>;
    void refreshWithCandidates(Candidates candidates, uint32_t count);

    // Index tags of the production index. Adding and deleting work on an open
    // table (under its update lock) or open the table for the change.
    std::vector<TagDefinition> indexTags();
    // Why the table goes on without its index (a reader that cannot rebuild a
    // damaged or out-of-date index, an index file that cannot be read), or ""
    // when the index is in use or there is none. The records are then read in
    // stored order.
    const std::string& indexProblem() const { return m_indexProblem; }
    // Compares every tag, entry by entry, with the keys the records give now:
    // "" when the index is exactly what a rebuild would write, else what differs.
    std::string checkIndex();
    // What is wrong with the table file itself, found at open: a header that
    // counts more records than the file holds (the table then shows the whole
    // records there are). "" when nothing is. pack() writes a consistent file.
    const std::string& fileProblem() const { return m_fileProblem; }
    // Whole records past the header's count (an append cut short between its
    // record and its count): not damage, as no reader sees them, but worth
    // telling; pack() keeps them. "" when there are none.
    const std::string& fileNote() const { return m_fileNote; }
    void addIndex(const std::string& tag, const std::string& expression);
    void deleteIndex(const std::string& tag);
    // "" selects physical order. On a closed table the choice applies at open.
    void selectIndex(const std::string& tag);
    const std::string& selectedIndex() const { return m_selectedTag; }
    // Key search on the selected tag: the text is the start of a key.
    bool findKey(std::string_view keyText);     // a key equal to it (blank-padded)
    bool findNearest(std::string_view keyText); // the first key at or after it

    // The next visible record (in the current order) after the current one,
    // or from the first when fromBeginning, that match accepts; it becomes
    // current. false leaves the current record where it was. Runs one pass
    // over the file, whatever the order.
    bool findNext(const Filter& match, bool fromBeginning);

    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark& bookmark);

    // A batch of changes made under one hold of the update lock: other copies
    // wait for the batch to end and then see all of it. Appended records and
    // index pages are written when the batch ends (or every 256 KB of records),
    // which is what makes bulk appends fast. A crash inside a batch loses the
    // batch's unwritten records and leaves the index marked for a rebuild.
    void beginBatch();
    // Ends the batch. When its writing fails, the records written before the
    // failure stay and the rest are forgotten; the error goes on to the caller.
    // appended: the records of the batch that are in the file are added to it,
    // also when the writing fails.
    void endBatch(uint64_t* appended = nullptr);
    bool inBatch() const { return m_batchLock != nullptr; }

    // Maintenance on an exclusively open table. Pack keeps the live records
    // (flag blank), those within the count and the whole ones past it (a
    // change cut short), and says what it did.
    struct PackResult {
        uint32_t kept = 0;      // live records written, those from past the count included
        uint32_t deleted = 0;   // records marked deleted, left out
        uint32_t damaged = 0;   // records whose flag is neither blank nor '*' (the end-of-file mark), left out
        uint32_t pastCount = 0; // live records past the header's count, kept
    };
    PackResult pack();
    // What a pack did, in words: "3 records kept, 1 deleted record removed".
    static std::string packMessage(const PackResult& result, const Speak& speak = {});
    void regenerateIndexes();
    // Rewrites a Windows-1252 table as a Unicode one (UTF-8 text, the
    // language byte 0x00 and a .cpg saying UTF-8) on an exclusively open
    // table: every record, deleted ones included, keeps its text, and the
    // index is rebuilt. A new file replaces the old only when it is whole, so
    // that a stop at any moment leaves the one table or the other. Where a
    // live record's text would need more bytes than its field has, nothing is
    // changed and the DbError names the records and fields.
    struct ConversionResult {
        bool alreadyUnicode = false;
        uint32_t records = 0;   // records written, deleted ones and those past the count included
        uint32_t pastCount = 0; // whole records past the header's count (a change cut short), kept
        uint32_t cutDeleted = 0; // deleted records whose text was shortened at a character's end to fit
    };
    ConversionResult convertToUnicode();
    // What a conversion did, in words: "1,204 records now keep their text in Unicode".
    static std::string conversionMessage(const ConversionResult& result, const Speak& speak = {});
    // Rebuilds an index that a failed write left marked damaged (a full disk
    // during a batch), where this table may write it; otherwise the next open
    // that may write does. Throws when the rebuild fails.
    void mendIndex();

    // While controls are disabled, change notifications are held back; the
    // last enable sends one.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }
    // Controls disabled while it lives: for a pass the viewer does not follow.
    class ControlsDisabled {
    public:
        explicit ControlsDisabled(Table& table)
            : m_table(table)
        {
            m_table.disableControls();
        }
        ~ControlsDisabled() { m_table.enableControls(); }
        ControlsDisabled(const ControlsDisabled&) = delete;
        ControlsDisabled& operator=(const ControlsDisabled&) = delete;

    private:
        Table& m_table;
    };
    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }
    // Told of every stored record this table object changes, with the record
    // as it was and as it is now, while the change still holds the update lock
    // (so that what belongs to a record, its cover file, changes in the same
    // step and other copies see both together). New records are not told.
    using PostWatch = std::function<void(const Record& before, const Record& after)>;
    void setPostWatch(PostWatch watch) { m_postWatch = std::move(watch); }

    // Whole-table passes that need no cursor (counts, exports, checks): the
    // records in physical order, deleted ones included (their first byte is
    // '*'), a block of consecutive records at a time, read in place.
    void scanRecords(const std::function<void(const char* records, uint32_t first, uint32_t count)>& visit);
    // The same over the records first..last (physical numbers).
    void scanRecords(uint32_t first, uint32_t last,
                     const std::function<void(const char* records, uint32_t first, uint32_t count)>& visit) const;
    // The same for one pass on one thread, through mapped windows (the next
    // one mapped on the side): the records a pass only looks at are not
    // copied. Under a ReadHold, as other copies cannot cut the file short.
    void scanRecordsMapped(uint32_t first, uint32_t last,
                           const std::function<void(const char* records, uint32_t first, uint32_t count)>& visit) const;
    // The same on every core: large tables are shared out in runs of blocks
    // among workers (0..scanWorkers()-1), which call visit at the same time.
    // For passes whose blocks may be handled in any order: counts, checks,
    // texts that the caller puts back in order.
    using ParallelVisit = std::function<void(unsigned worker, const char* records, uint32_t first, uint32_t count)>;
    void scanRecordsInParallel(const ParallelVisit& visit) const;
    unsigned scanWorkers() const;
    // The visible records (live and accepted by the filter) of one state of the
    // table, in physical order within each worker's share; on every core when
    // the filter may run there, else on worker 0 alone. For passes that add up
    // what the workers found (statistics); visit gets each record's bytes.
    using VisibleVisit = std::function<void(unsigned worker, const char* record, uint32_t recNo)>;
    void scanVisibleInParallel(const VisibleVisit& visit);
    // For passes that want the visible records in the current order but read
    // the file in physical order (a read per record at a random place costs
    // more than several passes over the whole file): the stored records'
    // numbers in the selected index's order, but for those the filter
    // candidates rule out. Nothing in physical order. A pass keeps the order
    // true by reading the records under the same ReadHold, and tells visible
    // records from the others with isVisible.
    std::optional<std::vector<uint32_t>> recordsInOrder();
    // Whether a stored record's bytes (from a scan) make a visible record:
    // live, and accepted by the filter when it is on.
    bool isVisible(const char* bytes) const { return visible(bytes); }
    size_t recordLength() const { return m_header.recordLength; }
    size_t headerLength() const { return m_header.headerLength; }

private:
    friend class UpdateLock;

    void firstNow();
    void lastNow();
    void nextNow();
    void priorNow();
    void refreshNow(Candidates candidates = nullptr, uint32_t count = 0);
    uint32_t recordCountNow();
    bool findKeyNow(std::string_view keyText);
    bool findNearestNow(std::string_view keyText);
    bool gotoBookmarkNow(const Bookmark& bookmark);
    // Refuse an operation the table's state does not allow. Only a fault of the
    // program itself reaches the user here, so what (the operation) stays the
    // engine's English inside a translated sentence.
    void requireActive(const char* what) const;
    void requireBrowse(const char* what) const;
    void notify();
    void changed()
    {
        ++m_generation;
        m_positions.clear();
        m_positionOf.clear();
        m_positionsStarted = m_positionsDone = false;
    }
    // Lists visible records in order until the list holds position `needed`
    // (or a given record), so the first screen of a search needs no full pass.
    void extendPositions(uint32_t needed, uint32_t untilRecord = 0);
    bool positionsByIndex() const;
    bool visible(const char* bytes) const;
    // Whether the filter candidates' count of visible records is still good
    // and no more than `listed`: then no other visible record is left to find.
    bool allCandidatesFound(size_t listed) const
    {
        return m_candidates && m_filtered && m_countGeneration == m_generation && listed >= m_count;
    }
    // False for a record the filter candidates rule out: it need not be read.
    bool mayBeVisible(uint32_t recNo) const
    {
        return !m_candidates || !m_filtered || recNo >= m_candidates->size() || (*m_candidates)[recNo];
    }
    // direction +1 or -1 reads ahead that way; 0 reads the one record.
    const char* readRecord(uint32_t recNo, int direction);
    void keepCurrentOutOfChunk();
    void pinCurrent(); // the current record gets its own copy before the chunk changes
    void updateChunkRecord(uint32_t recNo, const char* bytes); // bytes null: marked deleted
    bool inChunk(const char* bytes) const;
    // The records a mapped window holds from first on (none past last), and
    // where in the file the mapping lies.
    struct MappedWindow {
        uint32_t count;
        uint64_t offset;  // of the first record
        uint64_t aligned; // where the mapping starts
        size_t mapLength;
    };
    MappedWindow mappedWindowAt(uint32_t first, uint32_t last) const;
    bool mapWindow(uint32_t start);
    void releaseWindow();
    // A record of the key-order read-ahead (reading the next window when the
    // walk has come to the end of one), or null when the walk reads for itself.
    const char* keyedRecord(uint32_t recNo);
    void readKeyedWindow();
    // The record numbers of up to `reach` index entries from `from` on, but
    // for those the filter candidates rule out; `from` ends on the first
    // entry not listed, and `more` says whether there is one.
    std::vector<uint32_t> listKeyedRecords(IndexFile::Cursor& from, uint32_t reach, bool& more);
    void prepareKeyedWindow();
    void dropKeyedReadAhead();
    void writePendingAppends();
    bool deferWrites() const { return m_mode == OpenMode::Exclusive || inBatch(); }
    void invalidateChunk()
    {
        keepCurrentOutOfChunk();
        dropKeyedReadAhead();
    }
    void rereadRecordCount();
    void readRecordCountFromFile();
    // Brings the index up to what other copies wrote (under the update lock),
    // recompiling the key expressions when another copy redefined the tags.
    void synchronizeIndex();
    void setCurrent(uint32_t recNo, const char* bytes);
    void setNoCurrent();
    void stayAfterFailedMove(bool& endFlag);
    bool seekPhysical(uint32_t from, int direction);
    bool seekIndexed(bool forward, bool restart);
    bool indexStep(bool forward);
    // walking: a step of a walk through the index (first, next), which may
    // read the records ahead; false for a search landing on one entry.
    bool landOnVisible(bool found, bool forward, bool walking);
    bool landOnEntryOrNeighbour(const IndexFile::Entry& entry);
    int selectedTagNumber() const;
    TableStamp currentStamp() const;
    void openIndex();
    uint32_t countVisible(const char* records, uint32_t n, size_t length) const;
    void writeConvertedTable(const std::string& path, uint32_t last, ConversionResult& result);
    void adoptRewrittenTable(const std::string& path, const Message& lockedByAnother);
    void buildIndexFile(std::vector<TagDefinition> tags);
    void extractKeys(const std::vector<TagDefinition>& tags, const std::vector<KeyExpression>& expressions,
                     std::vector<IndexFile::BuiltTag>& built) const;
    void withTableOpen(const std::function<void()>& work);
    // Runs work; when it meets a damaged index page the index is rebuilt from
    // the table and the work runs once more.
    template <class Work>
    auto repairing(Work&& work) -> decltype(work());
    void repairIndex();
    IndexFile::Entry currentEntry() const;
    IndexFile::Entry entryOf(int tag, const char* record, uint32_t recNo) const;
    // Brings every tag up to date for one record (old and/or new image);
    // false when a damaged index page was met (the index then needs a rebuild).
    bool updateIndexEntries(const char* oldRecord, const char* newRecord, uint32_t recNo);
    bool beginIndexChange();
    bool guardIndexChange(const std::function<void()>& change);
    void compileIndexExpressions();
    std::vector<TagDefinition> usableTags(const std::vector<TagDefinition>& definitions) const;
    // Goes on without the index (in stored order) and remembers why.
    void dropIndex(const std::string& why);
    void placeAfterPost(const std::vector<char>& posted, uint32_t rec, bool& repairPending);
    void placeAfterDelete(uint32_t rec, bool& repairPending);
    void removeStaleWorkFiles();
    void beginBatchNow();
    void abandonBatch();
    void cutAfterCountedRecords();

    void noteCountProblem();
    void writeIndexFlag(bool on);
    std::vector<char> blankRecord() const;
    char* editField(int field);
    bool setCharacters(int field, std::string_view text);
    // Reads the header, the fields taking the table's encoding.
    void readHeader(CountCheck check);

    std::string m_folder;
    std::string m_name;
    std::string m_extension = ".DBF";
    OpenMode m_mode = OpenMode::Shared;
    State m_state = State::Inactive;
    File m_file;
    DbfHeader m_header;
    TextEncoding m_encoding = TextEncoding::Windows1252;
    bool m_encodingUncertain = false; // no word on it and nothing in the records to tell
    std::string m_fileProblem;
    std::string m_fileNote;

    IndexFile m_index;
    bool m_indexOpen = false;
    std::vector<KeyExpression> m_expressions; // one per tag
    uint64_t m_expressionsVersion = 0;        // the index's definitions they were compiled from
    std::string m_indexProblem;
    std::string m_selectedTag;
    IndexFile::Cursor m_cursor;

    // Read-ahead of records: a window of the file mapped for forward scans,
    // or a buffer filled by reads.
    std::vector<char> m_chunk;
    const char* m_chunkData = nullptr;
    uint32_t m_chunkFirst = 0;
    uint32_t m_chunkCount = 0;
    const char* m_mapped = nullptr;
    size_t m_mappedLength = 0;
    uint32_t m_windowEnd = 0; // the record after the mapped window
    std::unique_ptr<ReadAhead> m_readAhead;
    // Read-ahead of a walk forward in key order inside a ReadHold (an export,
    // a report): other copies cannot change the file then, and this table
    // drops it when it changes a record itself.
    int m_holds = 0;
    std::unique_ptr<KeyedReadAhead> m_keyed;
    uint32_t m_keyedReach = 0;    // how many entries the last window listed
    IndexFile::Cursor m_keyedPeek; // the first entry no window lists yet
    bool m_keyedMore = false;      // whether there is one

    // The current record: in place in the read-ahead chunk, or in its own
    // copy when the chunk is about to be refilled or the record came from elsewhere.
    const char* m_currentBytes = nullptr;
    std::vector<char> m_currentCopy;
    std::vector<char> m_edit;
    uint32_t m_recNo = 0;
    bool m_bof = true;
    bool m_eof = true;

    Filter m_filter;
    bool m_filtered = false;
    bool m_filterParallelSafe = false;
    Candidates m_candidates;

    int m_lockDepth = 0;
    bool m_lockExclusive = false;
    LockWait m_lockWait;
    // Takes the update lock, telling m_lockWait while another copy keeps it.
    void lockUpdate(File::LockKind kind);
    std::unique_ptr<UpdateLock> m_batchLock;
    std::vector<char> m_pendingAppends; // records appended in a batch, not yet written
    uint32_t m_pendingCount = 0;
    bool m_appendFailed = false; // a write of this batch's appends failed: the file may hold uncounted records
    uint32_t m_batchStartCount = 0; // the record count when the batch began
    uint32_t m_countOnDisk = 0;     // the record count the file's header holds, within a batch

    uint64_t m_generation = 1;
    uint64_t m_countGeneration = 0; // the generation m_count was taken at
    uint32_t m_count = 0;
    std::vector<uint32_t> m_positions; // record numbers of the visible records in order, as far as listed
    std::unordered_map<uint32_t, uint32_t> m_positionOf;
    bool m_positionsStarted = false;
    bool m_positionsDone = false;
    IndexFile::Cursor m_positionCursor;
    uint32_t m_positionNextRecord = 1;

    int m_disabled = 0;
    bool m_pendingNotify = false;
    std::function<void()> m_listener;
    PostWatch m_postWatch;
};

} // namespace db
