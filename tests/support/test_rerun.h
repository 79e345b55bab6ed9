#pragma once
// Parts of a test that run in processes of their own, each the test binary run again for that
// test alone (as GoogleTest's "threadsafe" death tests do): such a process starts without the
// threads of the test's process, whose locks a fork would inherit, some of them held. The re-run
// goes through the test from its start up to the place of its part and runs the part there. On its
// way, what the places before it gave (a child ready, a wait status) is what they gave in the
// test's own run, and the test's temporary folders are folders of the re-run's own, which become
// links to the test's folders at its place: nothing that the test did before the place is done
// again to the test's files. Objects of the re-run from before its place must not touch files when
// the part destroys them (the re-run never ends them itself).

#include <functional>
#include <string>
#include <sys/types.h>

namespace testing_support {

// One such place in a test.
class RerunPlace {
public:
    enum Role {
        STARTED, // in the test's own run: the re-run is started, Socket() talks to it
        HERE,    // in the re-run of this place: the part runs here, Socket() talks to the test
        PASSED,  // in a re-run of a later place, on its way
    };
    RerunPlace();
    ~RerunPlace();
    RerunPlace(const RerunPlace&) = delete;
    RerunPlace& operator=(const RerunPlace&) = delete;

    Role GetRole() const { return role_; }
    // STARTED while the re-run runs, and HERE: the joining socket's end; -1 otherwise.
    int Socket() const { return socket_; }
    // STARTED: whether the re-run is still there (not yet waited for).
    bool Running() const { return pid_ > 0; }
    // STARTED: closes the test's end (the part goes on as its test is gone) and waits up to a
    // minute for the re-run's end, then kills it and fails the test; its wait status, -1 when it
    // was not running.
    int Finish();
    // STARTED: kills the re-run at once and waits for it; its wait status.
    int Kill();
    // HERE: the end of the part, with its exit status.
    [[noreturn]] static void EndPart(int status);

private:
    Role role_ = STARTED;
    int socket_ = -1;
    pid_t pid_ = -1;
    std::string scratch_; // the re-run's own folders
};

// What something that may differ between runs gave (a call at a place, a process number): in the
// test's own run value() (noted for its re-runs); in a re-run on its way to its place, what it gave
// in the test's own run (value is not called there).
int SameInReruns(const std::function<int()>& value);

// The path of the test's next temporary folder, made in base ("" for the system's), for TempDir:
// in the test's own run a fresh one; in a re-run one of its own; in a death test's child the
// test's own folder (the child goes through the test in it). owned: removed by the TempDir.
struct TestFolder {
    std::string path;
    int index = -1; // among the test's folders, -1 for one made outside a test
    bool owned = true;
};
TestFolder NewTestFolder(const std::string& base);
// A TempDir of the test removed its folder.
void TestFolderGone(int index);

// True in a re-run of a test for one of its places.
bool InRerun();
// Around each test (the state reset): places, outcomes and folders start afresh.
void ResetRerunState();
// After the tests of a re-run, which ended without coming to its place: says so and ends the
// process with a status of its own.
void EndRerun();

// Waits up to ms milliseconds for the end of a child of this process; true with its wait status
// when it ended.
bool WaitForEnd(pid_t pid, int ms, int& status);

} // namespace testing_support
