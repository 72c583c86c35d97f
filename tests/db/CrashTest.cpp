// Crash tests in the manner of SQLite's: a scripted workload runs in a child
// process that the file layer stops (as a kill would), cuts off (as a power
// cut would, taking back every write not yet synced) or fails (as a full
// disk would) at its N-th change of a file, for every N the workload reaches. After each stop the collection must open, its file and
// index must be sound, every record must be wholly one version the workload
// wrote, and no record the workload was told was saved may be missing.
//
// CI walks every point of the workload three times with each action, the
// records' keys shifted each round; REELKEEPER_CRASH_ROUNDS=N walks it N times.

#include "DbError.h"
#include "FaultInjection.h"
#include "Table.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace db;
using testing_support::readFileBytes;
using testing_support::TempDir;
using testing_support::writeFileBytes;

namespace {

const char* const kFirstKey = "Upper(Left(Title,20))+STR(N,11,0)";
const char* const kSecondKey = "Upper(Left(Title,30))";
constexpr int kAbsent = -1;

// Titles carry the record's id and version; the first letter moves the key.
// The letters beyond ASCII take one byte each before the collection is
// converted to Unicode and two or three after.
const char* const kBeyondAscii = "\xC3\xA9\xE2\x82\xAC"; // "é€"

std::string titleOf(int id, int version, int round)
{
    const char letter = static_cast<char>('a' + (id * 7 + version * 3 + round) % 26);
    return std::string(1, letter) + " id" + std::to_string(id) + " v" + std::to_string(version) + " " + kBeyondAscii;
}

// The child tells the parent, through a pipe, what it is about to do ("I id
// version", version -1 for a delete; "T expression" for a tag change) and
// when the changes it announced were reported done ("D").
class Reporter {
public:
    explicit Reporter(int fd) : m_fd(fd) {}
    void intend(int id, int version) { say("I " + std::to_string(id) + " " + std::to_string(version)); }
    void intendTag(const std::string& expression) { say("T " + expression); }
    void done() { say("D"); }

private:
    void say(const std::string& line)
    {
        const std::string text = line + "\n";
        (void)!::write(m_fd, text.data(), text.size());
    }
    int m_fd;
};

bool moveTo(Table& t, int id)
{
    const std::string mark = " id" + std::to_string(id) + " ";
    for (t.first(); !t.eof(); t.next())
        if (t.text(0).find(mark) != std::string::npos)
            return true;
    return false;
}

void append(Table& t, Reporter& r, int id, int round, bool report = true)
{
    r.intend(id, 0);
    t.insert();
    t.setText(0, titleOf(id, 0, round));
    t.setNumber(1, id);
    t.post();
    if (report)
        r.done();
}

// report: say "done" when the change returns. Changes under exclusive use
// are held back until the table closes (that is what makes maintenance
// fast), so the workload is told they are saved only then.
void change(Table& t, Reporter& r, int id, int version, int round, bool report = true)
{
    if (!moveTo(t, id))
        throw DbError("", "record " + std::to_string(id) + " went missing");
    r.intend(id, version);
    t.edit();
    t.setText(0, titleOf(id, version, round));
    t.post();
    if (report)
        r.done();
}

void remove(Table& t, Reporter& r, int id, bool report = true)
{
    if (!moveTo(t, id))
        throw DbError("", "record " + std::to_string(id) + " went missing");
    r.intend(id, kAbsent);
    t.deleteRecord();
    if (report)
        r.done();
}

// Appends, posts that move records in key order, deletes, a batch, pack,
// reindex, the conversion to Unicode, changes under exclusive use, and a tag
// redefined.
void workload(const std::string& path, Reporter& r, int round)
{
    {
        Table t;
        t.setFilePath(path);
        t.selectIndex("NewIndex");
        t.open();
        for (int id = 0; id < 6; ++id)
            append(t, r, id, round);
        for (int id : {1, 3, 5})
            change(t, r, id, 1, round);
        remove(t, r, 2);
        t.beginBatch();
        for (int id = 6; id < 11; ++id)
            append(t, r, id, round, false);
        t.endBatch();
        r.done();
        change(t, r, 0, 2, round);
    }
    {
        Table t;
        t.setFilePath(path);
        t.selectIndex("NewIndex");
        t.open(Table::OpenMode::Exclusive);
        t.pack();
        t.regenerateIndexes();
        t.convertToUnicode();
        change(t, r, 4, 1, round, false);
        remove(t, r, 3, false);
        t.close();
        r.done();
    }
    {
        Table t;
        t.setFilePath(path);
        t.open();
        r.intendTag(kSecondKey);
        t.addIndex("NewIndex", kSecondKey);
        r.done();
        t.selectIndex("NewIndex");
        append(t, r, 11, round);
        change(t, r, 5, 2, round);
    }
}

struct Model {
    std::map<int, int> saved;                // id -> version told saved (kAbsent: deleted)
    std::map<int, std::set<int>> inFlight;   // versions announced but not yet told saved
    std::string tag = kFirstKey;
    std::set<std::string> tagsInFlight;
};

Model readReports(const std::string& text)
{
    Model m;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line == "D") {
            for (const auto& [id, versions] : m.inFlight)
                m.saved[id] = *versions.rbegin() == kAbsent ? kAbsent : *versions.rbegin();
            m.inFlight.clear();
            if (!m.tagsInFlight.empty())
                m.tag = *m.tagsInFlight.begin();
            m.tagsInFlight.clear();
        } else if (line.rfind("I ", 0) == 0) {
            int id = 0, version = 0;
            std::sscanf(line.c_str(), "I %d %d", &id, &version);
            m.inFlight[id].clear();
            m.inFlight[id].insert(version);
        } else if (line.rfind("T ", 0) == 0) {
            m.tagsInFlight.insert(line.substr(2));
        }
    }
    return m;
}

// What is wrong with the collection after the child ended, or "".
std::string verify(const std::string& path, const Model& m, int round)
{
    std::ostringstream problems;
    try {
        Table t;
        t.setFilePath(path);
        t.open(); // as the next run of the program opens it: a suspect index is rebuilt here
        if (!t.fileProblem().empty())
            problems << t.fileProblem() << "; ";
        if (!t.indexProblem().empty())
            problems << t.indexProblem() << "; ";
        const std::string index = t.checkIndex();
        if (!index.empty())
            problems << index << "; ";
        const auto tags = t.indexTags();
        if (tags.size() != 1)
            return problems.str() + "the index has " + std::to_string(tags.size()) + " tags";
        if (tags[0].expression != m.tag && !m.tagsInFlight.count(tags[0].expression))
            problems << "the tag is " << tags[0].expression << "; ";
        std::map<int, int> found;
        static const std::regex shape(std::string("([a-z]) id([0-9]+) v([0-9]+) ") + kBeyondAscii);
        for (t.first(); !t.eof(); t.next()) {
            std::smatch part;
            const std::string title = t.text(0);
            if (!std::regex_match(title, part, shape)) {
                problems << "a torn or foreign record \"" << title << "\"; ";
                continue;
            }
            const int id = std::stoi(part[2]), version = std::stoi(part[3]);
            if (title != titleOf(id, version, round) || t.number(1) != id)
                problems << "record " << id << " is torn; ";
            if (!found.emplace(id, version).second)
                problems << "record " << id << " is there twice; ";
        }
        std::set<int> ids;
        for (const auto& [id, version] : m.saved)
            ids.insert(id);
        for (const auto& [id, versions] : m.inFlight)
            ids.insert(id);
        for (const auto& [id, version] : found)
            if (!ids.count(id))
                problems << "record " << id << " was never written; ";
        for (const int id : ids) {
            std::set<int> allowed;
            if (const auto s = m.saved.find(id); s != m.saved.end())
                allowed.insert(s->second);
            else
                allowed.insert(kAbsent); // not yet told saved
            if (const auto f = m.inFlight.find(id); f != m.inFlight.end())
                allowed.insert(f->second.begin(), f->second.end());
            const auto at = found.find(id);
            const int seen = at == found.end() ? kAbsent : at->second;
            if (!allowed.count(seen))
                problems << "record " << id << (seen == kAbsent ? " is missing" : " has version " + std::to_string(seen))
                         << "; ";
        }
    } catch (const std::exception& e) {
        problems << "the collection does not open: " << e.what();
    }
    return problems.str();
}

struct Run {
    int status = 0;
    std::string reports;
};

Run runWorkload(const std::string& path, uint64_t at, faults::Action action, int round)
{
    int channel[2];
    if (pipe(channel) != 0)
        throw std::runtime_error("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        ::close(channel[0]);
        Reporter reporter(channel[1]);
        faults::resetCount(); // the parent's own changes are not the workload's
        if (at > 0)
            faults::arm(at, action);
        faults::startRecording();
        try {
            workload(path, reporter, round);
        } catch (const DbError& e) {
            std::string said = std::string("F ") + e.what() + "\n";
            const auto changes = faults::stopRecording();
            for (size_t i = changes.size() > 12 ? changes.size() - 12 : 0; i < changes.size(); ++i)
                said += "  " + std::to_string(i + 1) + " " + changes[i].what + " " + changes[i].path + "\n";
            (void)!::write(channel[1], said.data(), said.size());
            _exit(3); // a failure reported as such
        } catch (...) {
            _exit(4);
        }
        if (std::getenv("REELKEEPER_CRASH_LIST")) {
            const auto changes = faults::stopRecording();
            for (size_t i = 0; i < changes.size(); ++i)
                std::fprintf(stderr, "%zu %s %s\n", i + 1, changes[i].what.c_str(), changes[i].path.c_str());
        }
        const std::string total = "C " + std::to_string(faults::changesSoFar()) + "\n";
        (void)!::write(channel[1], total.data(), total.size());
        _exit(0);
    }
    ::close(channel[1]);
    Run run;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        run.reports.append(buffer, static_cast<size_t>(got));
    ::close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

void prepare(const std::string& path)
{
    Table::createTable(path, {{"TITLE", 'C', 30, 0}, {"N", 'N', 11, 0}});
    Table t;
    t.setFilePath(path);
    t.addIndex("NewIndex", kFirstKey);
}

int rounds()
{
    const char* text = std::getenv("REELKEEPER_CRASH_ROUNDS");
    return text ? std::max(1, std::atoi(text)) : 3;
}

// expected: the exit statuses a run may end with (a failure the program
// swallows on purpose, such as removing a stale work file, lets it go on).
void walkEveryPoint(faults::Action action, const std::set<int>& expected)
{
    // Times of whole seconds: most runs of the workload fall within one
    // second, so a change cut short must be found from the files' content.
    faults::setCoarseTimestamps(true);
    struct Fine {
        ~Fine() { faults::setCoarseTimestamps(false); }
    } fine;
    TempDir dir;
    const std::string path = dir.file("CRASH.DBF");
    prepare(path);
    const std::string table = readFileBytes(path), index = readFileBytes(dir.file("CRASH.MDX"));
    auto restore = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove_all(entry.path());
        writeFileBytes(path, table);
        writeFileBytes(dir.file("CRASH.MDX"), index);
    };
    for (int round = 0; round < rounds(); ++round) {
        restore();
        const Run whole = runWorkload(path, 0, action, round);
        ASSERT_EQ(whole.status, 0) << whole.reports;
        const size_t total = whole.reports.rfind("C ");
        ASSERT_NE(total, std::string::npos);
        const uint64_t changes = std::stoull(whole.reports.substr(total + 2));
        ASSERT_GT(changes, 100u);
        EXPECT_EQ(verify(path, readReports(whole.reports), round), "");
        int stopped = 0;
        for (uint64_t at = 1; at <= changes; ++at) {
            restore();
            const Run run = runWorkload(path, at, action, round);
            const std::string problems = verify(path, readReports(run.reports), round);
            EXPECT_EQ(problems, "") << "round " << round << ", change " << at << " of " << changes << "\n"
                                    << run.reports;
            EXPECT_TRUE(expected.count(run.status)) << "round " << round << ", change " << at << ": status "
                                                    << run.status;
            stopped += run.status != 0;
            if (run.status == 0 && std::getenv("REELKEEPER_CRASH_SHOW"))
                std::printf("change %llu: the run went on (a failure the program absorbs)\n", static_cast<unsigned long long>(at));
            if (::testing::Test::HasFailure())
                return; // the first point that breaks is the one to look at
        }
        std::printf("round %d: %llu points, %d ended early\n", round, static_cast<unsigned long long>(changes),
                    stopped);
    }
}

} // namespace

TEST(Crash, StoppedAtEveryChangeTheCollectionOpensWholeWithEverySavedRecord)
{
    walkEveryPoint(faults::Action::Stop, {faults::kStoppedExitStatus});
}

TEST(Crash, PowerCutAtEveryChangeLosesOnlyWhatWasNotYetSynced)
{
    // Whatever reached no sync is lost as well: the ordering of syncs must
    // keep the collection whole and every record the workload was told was saved.
    walkEveryPoint(faults::Action::PowerCut, {faults::kStoppedExitStatus});
}

TEST(Crash, PowerCutLosingEachFilesLatestWriteAtEveryChangeKeepsTheCollectionWhole)
{
    // The disk kept earlier unsynced writes and lost the latest of each file:
    // a clean mark of one change may survive while the next change's
    // unclean mark does not.
    walkEveryPoint(faults::Action::PowerCutLosingLatest, {faults::kStoppedExitStatus});
}

TEST(Crash, FailedAtEveryChangeTheWorkloadStopsWithAMessageAndLosesNothingSaved)
{
    walkEveryPoint(faults::Action::Fail, {0, 3});
}
