#pragma once
// Runs a program of the build in a child process with an environment of the test's choosing, for
// tests of the real executable.

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

} // namespace testing_support
