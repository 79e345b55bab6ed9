#include "platform/child_program_internal.h"

#include "platform/system.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform::detail {

namespace {

// Called by their numbers: the C library's declarations of them lack C linkage in C++.
int OpenProcess(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

void SendSignal(int process, int signal) {
    syscall(SYS_pidfd_send_signal, process, signal, nullptr, 0);
}

void CloseBoth(int (&ends)[2]) {
    close(ends[0]);
    close(ends[1]);
}

// The child's side, up to the exec: only async-signal-safe calls, since other threads of the game
// (sound) may hold locks.
[[noreturn]] void BecomeProgram(const char* program, char* const* argv, pid_t game, bool ownGroup,
                                int errorFd, int answer, int go, int report) {
    // Ends with the thread that started it, which waits for it, and so with the game; a game gone
    // already, before the line above, is seen here.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != game)
        _exit(127);
    if (ownGroup)
        setpgid(0, 0);
    // The requests to end get the default action that the exec would give them, at once: one that
    // comes before the exec ends the child rather than this copy's flag. Ignored ones stay ignored,
    // as they were for the game. SIGCHLD ignored by whoever started the game would have the
    // program's own children reaped before it could wait for them (SDL waits for the one that shows
    // the box).
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) {
        struct sigaction action;
        if (sigaction(signal, nullptr, &action) == 0 &&
            (action.sa_handler != SIG_IGN || signal == SIGCHLD)) {
            action.sa_handler = SIG_DFL;
            action.sa_flags = 0;
            sigaction(signal, &action, nullptr);
        }
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Held until the game has the process's descriptor: until then its number is all there is.
    char word = 0;
    if (read(go, &word, 1) != 1)
        _exit(127);
    dup2(answer, STDOUT_FILENO);
    if (errorFd != -1)
        dup2(errorFd, STDERR_FILENO);
    close_range(3, static_cast<unsigned>(report) - 1, 0);
    close_range(static_cast<unsigned>(report) + 1, ~0u, 0);
    execv(program, argv);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(report, &error, sizeof error);
    _exit(127);
}

} // namespace

TChildProgram::TChildProgram(const std::string& name, const std::vector<std::string>& args,
                             bool ownGroup, int errorFd) {
    const std::string dir = AppDir();
    std::string program = dir + name;
    if (dir.empty() || access(program.c_str(), X_OK) != 0)
        return;
    // Everything the child needs is made before the fork.
    std::vector<std::string> owned(args);
    std::vector<char*> argv{program.data()};
    for (std::string& arg : owned)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // answer: its standard output; go: lets it go on once it is held here (a socket, so that a
    // child gone meanwhile fails the word instead of raising SIGPIPE); report: closed by a
    // successful exec, carries errno when the exec fails.
    int answer[2], go[2], report[2];
    if (pipe2(answer, O_CLOEXEC) != 0)
        return;
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, go) != 0) {
        CloseBoth(answer);
        return;
    }
    if (pipe2(report, O_CLOEXEC) != 0) {
        CloseBoth(answer);
        CloseBoth(go);
        return;
    }
    const pid_t game = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        BecomeProgram(program.c_str(), argv.data(), game, ownGroup, errorFd, answer[1], go[0],
                      report[1]);
    close(answer[1]);
    close(go[0]);
    close(report[1]);
    // The child waits for the word, so it is alive and unreaped here: its number is still its own.
    const int process = pid > 0 ? OpenProcess(pid) : -1;
    if (process == -1) {
        // No descriptor (a kernel without them): the child ends unstarted at the closed pipe, and
        // is reaped at once while its number is still surely its own.
        close(go[1]);
        close(report[0]);
        close(answer[0]);
        if (pid > 0)
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        return;
    }
    if (ownGroup)
        setpgid(pid, pid); // both sides set it, so that it is in place whichever runs first
    const char word = 1;
    const bool let = send(go[1], &word, 1, MSG_NOSIGNAL) == 1;
    close(go[1]);
    if (!let) {
        // Gone before the word (a signal of someone else's): its number may have been given on
        // already, and the descriptor with it. Reaped only where it is this process's own child.
        siginfo_t info{};
        while (waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(process), &info, WEXITED) <
                   0 &&
               errno == EINTR) {
        }
        close(process);
        close(report[0]);
        close(answer[0]);
        return;
    }
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    process_ = process;
    answer_ = answer[0];
    fcntl(answer_, F_SETFL, O_NONBLOCK);
    if (got != 0) {
        // Not started: it has ended, or ends, at the failed exec.
        WaitForEnd(-1);
        close(answer_);
        close(process_);
        answer_ = process_ = -1;
    }
}

TChildProgram::~TChildProgram() {
    if (!Started())
        return;
    if (!WaitForEnd(0)) {
        Kill();
        WaitForEnd(-1);
    }
    close(answer_);
    close(process_);
}

bool TChildProgram::WaitForEnd(int ms, int alsoFd) {
    if (ended_)
        return true;
    pollfd watched[2] = {{process_, POLLIN, 0}, {alsoFd, POLLIN, 0}};
    const nfds_t count = alsoFd == -1 ? 1 : 2;
    int ready;
    while ((ready = poll(watched, count, ms)) < 0 && errno == EINTR) {
    }
    if (ready <= 0 || (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
        return false;
    // Reaped here, unless someone else did so first: either way it has ended.
    siginfo_t info{};
    while (waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(process_), &info, WEXITED) <
               0 &&
           errno == EINTR) {
    }
    ended_ = true;
    return true;
}

void TChildProgram::Kill() {
    // A program that has ended answers ESRCH: its number is never used.
    SendSignal(process_, SIGKILL);
}

std::string TChildProgram::Answer() {
    std::string text;
    char buffer[64];
    ssize_t got;
    while ((got = read(answer_, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(got));
    return text;
}

} // namespace platform::detail
