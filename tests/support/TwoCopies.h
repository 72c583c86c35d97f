#pragma once

// Two copies of the program at once: a writer in another process changes a
// table in steps whose every state can be told apart, so that a reader can
// check that what it read (an export, a backup) is one state the writer
// passed through, and not a mixture of several.
//
// The table holds TITLE (C 20) and N (N 11), indexed on the title (NewIndex).
// It starts with titles T00000, T00001, ... The writer renames them to
// U00000, U00001, ... in that order, one post each, and after every 25
// renames appends a batch of ten records A00000, A00001, ... A state is
// therefore "U below k, T from k, A below m" for some k and some m that is a
// multiple of ten.

#include "Table.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

// How long a writer runs: three seconds in CI, REELKEEPER_STRESS_SECONDS for longer runs.
inline double stressSeconds()
{
    const char* text = std::getenv("REELKEEPER_STRESS_SECONDS");
    return text ? std::max(0.5, std::atof(text)) : 3.0;
}

inline std::string stateTitle(char kind, int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%c%05d", kind, n);
    return text;
}

inline void makeStateTable(const std::string& path, int records)
{
    db::Table::createTable(path, {{"TITLE", 'C', 20, 0}, {"N", 'N', 11, 0}});
    db::Table t;
    t.setFilePath(path);
    t.addIndex("NewIndex", "Upper(Left(Title,20))");
    t.open();
    t.beginBatch();
    for (int n = 0; n < records; ++n) {
        t.insert();
        t.setText(0, stateTitle('T', n));
        t.setNumber(1, n);
        t.post();
    }
    t.endBatch();
}

// One writer step on an open table: rename T-n to U-n, and after every 25th
// an appended batch of ten.
inline void writerStep(db::Table& t, int n, int& appended)
{
    if (!t.findKey(stateTitle('T', n)))
        throw std::runtime_error("the writer lost " + stateTitle('T', n));
    t.edit();
    t.setText(0, stateTitle('U', n));
    t.post();
    if ((n + 1) % 25 != 0)
        return;
    t.beginBatch();
    for (int k = 0; k < 10; ++k, ++appended) {
        t.insert();
        t.setText(0, stateTitle('A', appended));
        t.setNumber(1, appended);
        t.post();
    }
    t.endBatch();
}

// Starts the writer in a child process for at most `seconds`. reopenEach: the
// writer closes the table after every step and opens it again (waiting while
// someone holds it exclusively), as separate runs of a program would.
inline pid_t startStateWriter(const std::string& path, int records, double seconds, bool reopenEach)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    try {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        db::Table t;
        t.setFilePath(path);
        t.selectIndex("NewIndex");
        int appended = 0;
        for (int n = 0; n < records && std::chrono::steady_clock::now() < end; ++n) {
            while (t.state() == db::Table::State::Inactive) {
                try {
                    t.open();
                } catch (const std::exception&) {
                    if (std::chrono::steady_clock::now() > end)
                        _exit(0);
                    std::this_thread::sleep_for(std::chrono::milliseconds(2)); // held for a backup: try again
                }
            }
            writerStep(t, n, appended);
            if (reopenEach)
                t.close();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "writer failed: %s\n", e.what());
        _exit(1);
    }
    _exit(0);
}

inline int waitForChild(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// "" when the titles are one state of the writer's, each once; else what is wrong.
inline std::string stateProblem(const std::vector<std::string>& titles, int records)
{
    const std::set<std::string> distinct(titles.begin(), titles.end());
    if (distinct.size() != titles.size())
        return std::to_string(titles.size() - distinct.size()) + " titles read twice";
    int renamed = 0, appended = 0;
    while (distinct.count(stateTitle('U', renamed)))
        ++renamed;
    while (distinct.count(stateTitle('A', appended)))
        ++appended;
    if (appended % 10 != 0)
        return "a batch read in part: " + std::to_string(appended) + " appended records";
    for (int n = renamed; n < records; ++n)
        if (!distinct.count(stateTitle('T', n)))
            return "neither " + stateTitle('T', n) + " nor " + stateTitle('U', n) + " after " + std::to_string(renamed)
                   + " renames";
    const size_t expected = static_cast<size_t>(records + appended);
    if (titles.size() != expected)
        return std::to_string(titles.size()) + " titles where one state has " + std::to_string(expected);
    return "";
}

} // namespace testing_support
