#pragma once
// Runs a program of the build in a child process with an environment of the test's choosing, for
// tests of the real executable.

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

// A child process (a fork of the test) that runs body, which calls ready() wherever it is to wait
// for the test: there the test sees it Ready, and lets it go on with Next or Release. A child that
// the test is gone from goes on as released.
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
    int toParent_[2] = {-1, -1}, toChild_[2] = {-1, -1};
    pid_t pid_ = -1;
};

} // namespace testing_support
