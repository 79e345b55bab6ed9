#pragma once
// Runs a program of the build in a child process with an environment of the test's choosing, for
// tests of the real executable; and parts of a test in processes of their own.

#include "tests/support/test_rerun.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace testing_support {

struct ChildProcess {
    pid_t pid = -1;
    int errorOutput = -1; // read end of the child's standard error
};

// Starts the program in the root folder (no working directory of the build) with these variables
// set or, with an empty value, removed; nothing of this process but standard input and output
// goes over to it.
ChildProcess StartChild(const std::string& program,
                        const std::vector<std::pair<std::string, std::string>>& environment);
// Waits up to seconds for the child's end; true with its wait status when it ended. A child that
// has not ended by then is killed (status then says so) and false returned.
bool WaitChild(const ChildProcess& child, double seconds, int& status);
// Everything the child wrote to standard error (read to its end).
std::string ReadErrorOutput(ChildProcess& child);

// A part of the test in a process of its own (a re-run of the test, see test_rerun.h) that runs
// body, which calls ready() wherever it is to wait for the test: there the test sees it Ready, and
// lets it go on with Next or Release. A child that the test is gone from goes on as released. The
// test waits at most a minute for it each time, then kills it and fails.
class HeldChild {
public:
    explicit HeldChild(const std::function<bool(const std::function<void()>& ready)>& body);
    ~HeldChild();
    HeldChild(const HeldChild&) = delete;
    HeldChild& operator=(const HeldChild&) = delete;
    // True once the child is at a ready().
    bool Ready();
    // Lets the child go on to its next ready(); true once it is there.
    bool Next();
    // Lets the child go on to its end (every later ready() returns at once); its wait status.
    int Release();
    // Ends the child at once, as a kill -9 would.
    void Kill();

private:
    bool ReadyNow();
    RerunPlace place_;
};

// Processes that each run body(argument), forked for each Start from a re-run of the test that
// stays where the forker is made: that re-run has no other threads there (it checks before each
// fork), so what a fork does is defined, and it starts at once. The test ends them itself (kill)
// and waits for them here. A forker that does not answer within a minute is killed with its
// processes, and the test fails.
class ChildForker {
public:
    explicit ChildForker(const std::function<void(int argument)>& body);
    ChildForker(const ChildForker&) = delete;
    ChildForker& operator=(const ChildForker&) = delete;
    // The new process's number, or -1 when none was started.
    pid_t Start(int argument);
    // True with its wait status once the process ended.
    bool Wait(pid_t pid, int& status);

private:
    bool Ask(int what, int value, int& answer);
    RerunPlace place_;
    bool broken_ = false;
};

// The number of a process that has ended, the same in the test's re-runs.
pid_t GonePid();

} // namespace testing_support
