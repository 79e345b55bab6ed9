#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testing_support {

namespace {

constexpr int MINUTE_MS = 60000;

// Waits up to a minute for something to read on fd; false (the test failed, naming what) when
// nothing came.
bool AwaitInput(int fd, const char* what) {
    pollfd p{fd, POLLIN, 0};
    int got;
    while ((got = poll(&p, 1, MINUTE_MS)) < 0 && errno == EINTR) {
    }
    if (got > 0)
        return true;
    ADD_FAILURE() << what << " within a minute";
    return false;
}

bool SendAll(int fd, const void* data, size_t size) {
    return send(fd, data, size, MSG_NOSIGNAL) == static_cast<ssize_t>(size);
}

bool ReceiveAll(int fd, void* data, size_t size) {
    char* at = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = recv(fd, at, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

int Threads() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir))
            count += entry->d_name[0] != '.';
        closedir(dir);
    }
    return count;
}

enum Request { START = 1, WAIT = 2 };

// The forker's re-run at its place: forks a process for each Start, waits for one for each Wait,
// and ends (with every process it started that is still there) when the test lets go.
[[noreturn]] void Serve(int fd, const std::function<void(int argument)>& body) {
    const pid_t self = getpid();
    std::set<pid_t> started;
    int request[2];
    while (ReceiveAll(fd, request, sizeof request)) {
        int answer = -1;
        if (request[0] == START) {
            const int threads = Threads();
            if (threads != 1) {
                std::fprintf(stderr, "a forker of the test has %d threads: it does not fork\n",
                             threads);
            } else if (const pid_t pid = fork(); pid == 0) {
                // Ends with the forker, which a test that gives up on it kills.
                prctl(PR_SET_PDEATHSIG, SIGKILL);
                if (getppid() != self)
                    _exit(0);
                close(fd);
                body(request[1]);
                _exit(0);
            } else if (pid > 0) {
                started.insert(pid);
                answer = pid;
            }
        } else if (request[0] == WAIT && started.erase(request[1]) != 0) {
            int status = 0;
            if (waitpid(request[1], &status, 0) == request[1])
                answer = status;
        }
        if (!SendAll(fd, &answer, sizeof answer))
            break;
    }
    for (const pid_t pid : started) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    RerunPlace::EndPart(0);
}

} // namespace

ChildProcess StartChild(const std::string& program,
                        const std::vector<std::pair<std::string, std::string>>& environment) {
    ChildProcess child;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return child;
    // All made here: posix_spawn runs nothing of this process's own in the child.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool changed = false;
        for (const auto& change : environment)
            changed = changed || change.first == name;
        if (!changed)
            env.push_back(entry);
    }
    for (const auto& [name, value] : environment)
        if (!value.empty())
            env.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawn_file_actions_addchdir_np(&actions, "/");
    if (posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    child.errorOutput = pipeFds[0];
    return child;
}

bool WaitChild(const ChildProcess& child, double seconds, int& status) {
    status = -1;
    if (child.pid <= 0)
        return false;
    if (WaitForEnd(child.pid, static_cast<int>(seconds * 1000), status))
        return true;
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

HeldChild::HeldChild(const std::function<bool(const std::function<void()>& ready)>& body) {
    if (place_.GetRole() != RerunPlace::HERE)
        return;
    const int fd = place_.Socket();
    bool released = false;
    const bool ok = body([fd, &released] {
        // A test that let go (or is gone) lets every ready() return at once.
        char c = 1;
        if (!released && (!SendAll(fd, &c, 1) || !ReceiveAll(fd, &c, 1)))
            released = true;
    });
    RerunPlace::EndPart(ok ? 0 : 1);
}

HeldChild::~HeldChild() = default;

bool HeldChild::ReadyNow() {
    const int fd = place_.Socket();
    if (fd < 0 || !place_.Running())
        return false;
    if (!AwaitInput(fd, "a held child did not come to a ready()")) {
        place_.Kill();
        return false;
    }
    char c = 0;
    return ReceiveAll(fd, &c, 1);
}

bool HeldChild::Ready() {
    return SameInReruns([this] { return ReadyNow() ? 1 : 0; }) != 0;
}

bool HeldChild::Next() {
    return SameInReruns([this] {
               const char c = 1;
               const int fd = place_.Socket();
               return fd >= 0 && place_.Running() && SendAll(fd, &c, 1) && ReadyNow() ? 1 : 0;
           }) != 0;
}

int HeldChild::Release() {
    return SameInReruns([this] { return place_.Finish(); });
}

void HeldChild::Kill() {
    if (place_.GetRole() == RerunPlace::STARTED)
        place_.Kill();
}

ChildForker::ChildForker(const std::function<void(int argument)>& body) {
    if (place_.GetRole() == RerunPlace::HERE)
        Serve(place_.Socket(), body);
}

bool ChildForker::Ask(int what, int value, int& answer) {
    const int request[2] = {what, value};
    const int fd = place_.Socket();
    if (!broken_ && fd >= 0 && SendAll(fd, request, sizeof request) &&
        AwaitInput(fd, "a forker of the test did not answer") &&
        ReceiveAll(fd, &answer, sizeof answer))
        return true;
    // Out of step with it from here on.
    broken_ = true;
    place_.Kill();
    return false;
}

pid_t ChildForker::Start(int argument) {
    return SameInReruns([&] {
        int pid = -1;
        return Ask(START, argument, pid) ? pid : -1;
    });
}

bool ChildForker::Wait(pid_t pid, int& status) {
    int got = -1;
    const bool ended = SameInReruns([&] { return Ask(WAIT, pid, got) && got != -1 ? 1 : 0; }) != 0;
    status = SameInReruns([&] { return got; });
    if (!ended && !broken_)
        ADD_FAILURE() << "process " << pid << " is no process of the forker's";
    return ended;
}

pid_t GonePid() {
    return SameInReruns([] {
        // The child only ends, which a fork of a process with other threads may do.
        const pid_t pid = fork();
        if (pid == 0)
            _exit(0);
        return pid > 0 && waitpid(pid, nullptr, 0) == pid ? pid : -1;
    });
}

} // namespace testing_support
