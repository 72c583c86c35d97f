#pragma once

// Kills at every change, in the manner of the collection's crash test: a
// workload runs in a child process whose file layer stops it (as a kill
// would) at its N-th change of a file, for every N the workload reaches; the
// test then checks what the stop left. The child may say things to the
// parent (the counts it printed) through say().

#include "FaultInjection.h"

#include <cstdint>
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

struct StoppedRun {
    int status = 0;    // 0: the workload ran to its end; faults::kStoppedExitStatus: stopped
    std::string said;  // what the child said, one line each
    uint64_t changes = 0; // the changes a whole run made (when it ran to its end)
};

using Say = std::function<void(const std::string&)>;

// Runs work in a child stopped at its at-th change (0: never).
inline StoppedRun runStoppedAt(uint64_t at, const std::function<void(const Say&)>& work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {-1, "no pipe", 0};
    const pid_t child = fork();
    if (child == 0) {
        ::close(channel[0]);
        const Say say = [&](const std::string& line) {
            const std::string text = line + "\n";
            (void)!::write(channel[1], text.data(), text.size());
        };
        try {
            db::faults::resetCount();
            if (at > 0)
                db::faults::arm(at, db::faults::Action::Stop);
            work(say);
            say("C " + std::to_string(db::faults::changesSoFar()));
        } catch (const std::exception& e) {
            say(std::string("E ") + e.what());
            _exit(1);
        }
        _exit(0);
    }
    ::close(channel[1]);
    StoppedRun run;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        run.said.append(buffer, static_cast<size_t>(got));
    ::close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (const size_t total = run.said.rfind("C "); total != std::string::npos)
        run.changes = std::stoull(run.said.substr(total + 2));
    return run;
}

// What the child said after the key ("N 42" gives "42" for "N"), "" when nothing.
inline std::string saidAfter(const std::string& said, const std::string& key)
{
    const size_t at = said.rfind(key + " ");
    if (at == std::string::npos)
        return "";
    const size_t end = said.find('\n', at);
    return said.substr(at + key.size() + 1, end - at - key.size() - 1);
}

} // namespace testing_support
