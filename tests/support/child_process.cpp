#include "tests/support/child_process.h"

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

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

} // namespace testing_support
