#include "platform/child_program_internal.h"

#include "platform/system.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform::detail {

pid_t StartProgramBeside(const std::string& name, const std::vector<std::string>& args,
                         bool ownGroup, int errorFd) {
    const std::string dir = AppDir();
    std::string program = dir + name;
    if (dir.empty() || access(program.c_str(), X_OK) != 0)
        return -1;
    // Everything the child needs is made before the fork.
    std::vector<std::string> owned(args);
    std::vector<char*> argv{program.data()};
    for (std::string& arg : owned)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Closed by a successful exec; carries errno when the exec fails.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid < 0) {
        close(report[0]);
        close(report[1]);
        return -1;
    }
    if (pid == 0) {
        // Only async-signal-safe calls up to the exec: other threads of the game (sound) may hold
        // locks. The requests to end get the default action that the exec would give them, at
        // once: one that comes before the exec ends the child rather than this copy's flag.
        // Ignored ones stay ignored, as they were for the game.
        if (ownGroup)
            setpgid(0, 0);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction action;
            if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler != SIG_IGN) {
                action.sa_handler = SIG_DFL;
                action.sa_flags = 0;
                sigaction(signal, &action, nullptr);
            }
        }
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (errorFd != -1)
            dup2(errorFd, STDERR_FILENO);
        close(report[0]);
        close_range(3, static_cast<unsigned>(report[1]) - 1, 0);
        close_range(static_cast<unsigned>(report[1]) + 1, ~0u, 0);
        execv(program.c_str(), argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        _exit(127);
    }
    // Both sides set the group, so that it is in place whichever runs first.
    if (ownGroup)
        setpgid(pid, pid);
    close(report[1]);
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (got > 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return -1;
    }
    return pid;
}

} // namespace platform::detail
