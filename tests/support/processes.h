#pragma once
// The processes of the machine as /proc has them, for tests that check what a program leaves
// running: its children, theirs, and whether one still runs.

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support {

// A process of the machine, told apart from a later one of the same number by its start time.
struct Process {
    pid_t pid = 0;
    std::string started; // clock ticks after boot, as /proc has it
};

// The process of that number as it is now; pid 0 when there is none.
Process ProcessNow(pid_t pid);
// Every process below pid: its children, theirs, and so on.
std::vector<Process> Descendants(pid_t pid);
// True while the process runs: a zombie only waits to be reaped.
bool Running(const Process& p);
// The arguments the process was started with.
std::vector<std::string> Arguments(pid_t pid);
// The program the process runs ("" once it is gone).
std::string ProgramOf(pid_t pid);
// Waits up to seconds for done; true once it holds.
bool Within(double seconds, const std::function<bool()>& done);

} // namespace testing_support
