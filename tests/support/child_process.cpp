#include "tests/support/child_process.h"

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace testing_support {

ChildProcess StartChild(const std::string& program,
                        const std::vector<std::pair<std::string, std::string>>& environment) {
    ChildProcess child;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return child;
    child.pid = fork();
    if (child.pid == 0) {
        dup2(pipeFds[1], 2);
        for (int fd = 3; fd < 1024; ++fd)
            close(fd);
        for (const auto& [name, value] : environment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        if (chdir("/") != 0)
            _exit(126);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    child.errorOutput = pipeFds[0];
    return child;
}

bool WaitChild(const ChildProcess& child, double seconds, int& status) {
    for (int i = 0; i <= static_cast<int>(seconds * 10); ++i) {
        if (waitpid(child.pid, &status, WNOHANG) == child.pid)
            return true;
        usleep(100000);
    }
    kill(child.pid, SIGKILL);
    waitpid(child.pid, &status, 0);
    return false;
}

std::string ReadErrorOutput(ChildProcess& child) {
    std::string text;
    char buffer[512];
    ssize_t n;
    while (child.errorOutput >= 0 && (n = read(child.errorOutput, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    if (child.errorOutput >= 0)
        close(child.errorOutput);
    child.errorOutput = -1;
    return text;
}

namespace {

// The test's ends of the pipes of every held child: a child forked later closes them, so that each
// child sees the test let go of it however many children are held at once.
std::vector<int>& TestEnds() {
    static std::vector<int> ends;
    return ends;
}

void CloseTestEnd(int& fd) {
    std::erase(TestEnds(), fd);
    close(fd);
    fd = -1;
}

} // namespace

HeldChild::HeldChild(const std::function<bool(const std::function<void()>& ready)>& body) {
    if (pipe(toParent_) != 0 || pipe(toChild_) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        for (const int fd : TestEnds())
            close(fd);
        close(toParent_[0]);
        close(toChild_[1]);
        const bool ok = body([this] {
            char c = 1;
            if (write(toParent_[1], &c, 1) != 1 || read(toChild_[0], &c, 1) < 0)
                _exit(2);
        });
        _exit(ok ? 0 : 1);
    }
    close(toParent_[1]);
    close(toChild_[0]);
    TestEnds().push_back(toParent_[0]);
    TestEnds().push_back(toChild_[1]);
}

HeldChild::~HeldChild() {
    if (pid_ > 0)
        Release();
    CloseTestEnd(toParent_[0]);
}

bool HeldChild::Ready() {
    char c = 0;
    return pid_ > 0 && read(toParent_[0], &c, 1) == 1;
}

bool HeldChild::Next() {
    const char c = 1;
    return pid_ > 0 && write(toChild_[1], &c, 1) == 1 && Ready();
}

int HeldChild::Release() {
    CloseTestEnd(toChild_[1]);
    int status = -1;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

void HeldChild::Kill() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGKILL);
    Release();
}

} // namespace testing_support
