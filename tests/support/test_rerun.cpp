#include "tests/support/test_rerun.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testing_support {

namespace {

// Where the re-run finds its end of the joining socket.
constexpr int PART_FD = 3;
constexpr int MINUTE_MS = 60000;
// The exit status of a re-run that went another way than the test's own run.
constexpr int LOST_STATUS = 125;

// "<place> <folder>": the place whose part the re-run runs, and where it makes its own folders.
const char* const RERUN_VAR = "PELORIN_RERUN";
// What the test's own run gave up to the place, in order.
const char* const OUTCOMES_VAR = "PELORIN_RERUN_OUTCOMES";
// The test's folders, one a line, in the order it made them.
const char* const FOLDERS_VAR = "PELORIN_TEST_FOLDERS";

std::vector<std::string> Split(const char* text, char separator) {
    std::vector<std::string> parts;
    if (!text || !*text)
        return parts;
    std::string part;
    for (const char* c = text;; ++c) {
        if (*c == separator || !*c) {
            parts.push_back(part);
            part.clear();
            if (!*c)
                break;
        } else {
            part += *c;
        }
    }
    return parts;
}

// What this process was started as, read before it sets the variables for children of its own.
struct StartedAs {
    int place = -1; // -1: not a re-run
    std::string scratch;
    std::vector<int> outcomes;
    std::vector<std::string> folders;
};

StartedAs ReadStart() {
    StartedAs s;
    if (const char* rerun = std::getenv(RERUN_VAR)) {
        const std::vector<std::string> parts = Split(rerun, ' ');
        if (parts.size() == 2) {
            s.place = std::atoi(parts[0].c_str());
            s.scratch = parts[1];
        }
    }
    for (const std::string& o : Split(std::getenv(OUTCOMES_VAR), ' '))
        s.outcomes.push_back(std::atoi(o.c_str()));
    s.folders = Split(std::getenv(FOLDERS_VAR), '\n');
    return s;
}

const StartedAs started = ReadStart();

// The current test's run.
struct TestRun {
    int places = 0;
    bool atPlace = false; // a re-run's part has begun
    size_t replayed = 0;
    std::vector<int> outcomes;
    std::vector<std::string> folders;
    std::vector<bool> live;
};
TestRun run;

bool InDeathTestChild() {
    return !GTEST_FLAG_GET(internal_run_death_test).empty();
}

// In the test's own run, that is: its children take what it notes.
bool OwnRun() {
    return !InRerun() && !InDeathTestChild();
}

[[noreturn]] void Lost(const std::string& why) {
    std::fprintf(stderr, "the re-run of the test for its part %d %s\n", started.place, why.c_str());
    std::fflush(stderr);
    _exit(LOST_STATUS);
}

std::string Joined(const std::vector<std::string>& parts, char separator) {
    std::string text;
    for (const std::string& p : parts)
        text += (text.empty() ? "" : std::string(1, separator)) + p;
    return text;
}

std::string WithoutSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string MakeFolder(const std::string& base) {
    const std::filesystem::path in =
        base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base);
    std::string pattern = (in / "pelorin-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder in " + in.string());
    return pattern + "/";
}

// At the re-run's place: each of its folders becomes a link to the test's.
void LinkFolders() {
    for (size_t i = 0; i < run.folders.size(); ++i) {
        if (!run.live[i])
            continue;
        if (i >= started.folders.size())
            Lost("made a folder that the test did not make");
        std::error_code ec;
        std::filesystem::remove_all(run.folders[i], ec);
        if (symlink(WithoutSlash(started.folders[i]).c_str(),
                    WithoutSlash(run.folders[i]).c_str()) != 0)
            Lost("cannot link its folder to the test's: " + std::string(std::strerror(errno)));
    }
}

std::string ProgramPath() {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("/proc/self/exe") : p.string();
}

// This process's environment less what a re-run must not take over: the variables of the re-run
// machinery and GoogleTest's output file and sharding, which belong to the test's own run.
std::vector<std::string> RerunEnvironment() {
    const char* const dropped[] = {
        RERUN_VAR,         OUTCOMES_VAR,        FOLDERS_VAR,          "GTEST_OUTPUT",
        "XML_OUTPUT_FILE", "GTEST_SHARD_INDEX", "GTEST_TOTAL_SHARDS", "GTEST_SHARD_STATUS_FILE"};
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool drop = false;
        for (const char* d : dropped)
            drop = drop || name == d;
        if (!drop)
            env.push_back(entry);
    }
    return env;
}

} // namespace

RerunPlace::RerunPlace() {
    const int index = run.places++;
    if (InRerun()) {
        if (run.atPlace || index > started.place)
            Lost("came to a place after its own");
        if (index < started.place) {
            role_ = PASSED;
            return;
        }
        if (run.replayed != started.outcomes.size())
            Lost("came to its place another way than the test's own run");
        role_ = HERE;
        run.atPlace = true;
        LinkFolders();
        socket_ = PART_FD;
        return;
    }
    role_ = STARTED;
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    if (!info) {
        ADD_FAILURE() << "a part of a test in a process of its own, outside a test";
        return;
    }
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        ADD_FAILURE() << "no socket for a part of the test: " << std::strerror(errno);
        return;
    }
    // Both ends above PART_FD, so that putting the re-run's end there moves it.
    socket_ = fcntl(pair[0], F_DUPFD_CLOEXEC, PART_FD + 1);
    const int partEnd = fcntl(pair[1], F_DUPFD_CLOEXEC, PART_FD + 1);
    close(pair[0]);
    close(pair[1]);
    std::string scratch =
        (std::filesystem::temp_directory_path() / "pelorin-rerun-XXXXXX").string();
    if (socket_ < 0 || partEnd < 0 || !mkdtemp(scratch.data())) {
        ADD_FAILURE() << "cannot prepare a part of the test: " << std::strerror(errno);
        close(partEnd);
        close(socket_);
        socket_ = -1;
        return;
    }
    scratch_ = scratch;

    std::vector<std::string> args = {
        ProgramPath(),
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name(),
        "--gtest_repeat=1",
        "--gtest_also_run_disabled_tests",
        "--gtest_break_on_failure=0",
        "--gtest_throw_on_failure=0",
    };
    std::vector<std::string> env = RerunEnvironment();
    env.push_back(std::string(RERUN_VAR) + "=" + std::to_string(index) + " " + scratch_);
    std::vector<std::string> outcomes;
    for (const int o : run.outcomes)
        outcomes.push_back(std::to_string(o));
    env.push_back(std::string(OUTCOMES_VAR) + "=" + Joined(outcomes, ' '));
    env.push_back(std::string(FOLDERS_VAR) + "=" + Joined(run.folders, '\n'));
    std::vector<char*> argv, envp;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    // What the re-run's own run of the test prints (the failures of the checks on its way, which
    // miss what the parts before it did) is of no use to anyone; its standard error stays.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, partEnd, PART_FD);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, PART_FD + 1);
    const int failed =
        posix_spawn(&pid_, "/proc/self/exe", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(partEnd);
    if (failed != 0) {
        ADD_FAILURE() << "cannot start a re-run of the test: " << std::strerror(failed);
        pid_ = -1;
        close(socket_);
        socket_ = -1;
    }
}

RerunPlace::~RerunPlace() {
    if (role_ != STARTED)
        return;
    Finish();
    if (socket_ >= 0)
        close(socket_);
    if (!scratch_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(scratch_, ec);
    }
}

int RerunPlace::Finish() {
    if (pid_ <= 0)
        return -1;
    // Its part reads the end of the test's messages; the test still reads what it sends.
    if (socket_ >= 0)
        shutdown(socket_, SHUT_WR);
    int status = -1;
    if (!WaitForEnd(pid_, MINUTE_MS, status)) {
        ADD_FAILURE() << "a part of the test in a process of its own did not end within a minute";
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    close(socket_);
    socket_ = -1;
    return status;
}

int RerunPlace::Kill() {
    if (pid_ > 0)
        kill(pid_, SIGKILL);
    return Finish();
}

void RerunPlace::EndPart(int status) {
    _exit(status);
}

int SameInReruns(const std::function<int()>& value) {
    if (InRerun() && !run.atPlace) {
        if (run.replayed >= started.outcomes.size())
            Lost("went another way than the test's own run");
        return started.outcomes[run.replayed++];
    }
    const int v = value();
    if (!InRerun())
        run.outcomes.push_back(v);
    return v;
}

TestFolder NewTestFolder(const std::string& base) {
    TestFolder folder;
    if (!testing::UnitTest::GetInstance()->current_test_info()) {
        folder.path = MakeFolder(base);
        return folder;
    }
    const size_t index = run.folders.size();
    if (InRerun()) {
        folder.path = started.scratch + "/" + std::to_string(index) + "/";
        std::error_code ec;
        if (!std::filesystem::create_directory(folder.path, ec))
            throw std::runtime_error("cannot create a temporary folder in " + started.scratch);
    } else if (InDeathTestChild() && index < started.folders.size()) {
        folder.path = started.folders[index];
        folder.owned = false;
    } else {
        folder.path = MakeFolder(base);
    }
    folder.index = static_cast<int>(index);
    run.folders.push_back(folder.path);
    run.live.push_back(true);
    // GoogleTest starts a death test's child itself, with this process's environment.
    if (OwnRun())
        setenv(FOLDERS_VAR, Joined(run.folders, '\n').c_str(), 1);
    return folder;
}

void TestFolderGone(int index) {
    if (index >= 0 && static_cast<size_t>(index) < run.live.size())
        run.live[static_cast<size_t>(index)] = false;
}

bool InRerun() {
    return started.place >= 0;
}

void ResetRerunState() {
    run = TestRun();
    if (OwnRun())
        unsetenv(FOLDERS_VAR);
}

void EndRerun() {
    if (InRerun())
        Lost("did not come to its place");
}

bool WaitForEnd(pid_t pid, int ms, int& status) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const pid_t got = waitpid(pid, &status, WNOHANG);
        if (got == pid)
            return true;
        if (got < 0 && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= limit)
            return false;
        usleep(1000);
    }
}

} // namespace testing_support
