#pragma once
// The small programs of the layer that stand beside the game (the message box, the audio probe),
// each run in a process of its own and held by a process descriptor.

#include <string>
#include <vector>

namespace platform::detail {

// A program of the layer's own running beside the game: AppDir() + name. It is held by a process
// descriptor, not by its number: once it has ended, reaped here or elsewhere (a start from a
// launcher that ignores SIGCHLD has the kernel reap it at once), nothing signals or waits for the
// number, which may be another program's by then. It ends with the game however the game ends (a
// kill -9 included), and the thread that starts it must outlive it: the object's end kills it.
// What the program writes on its standard output is its answer, kept in a pipe of the object's.
class TChildProgram {
public:
    // Starts it with args: in a process group of its own when ownGroup, with errorFd as its
    // standard error when it is not -1, none of this process's other descriptors, no signal
    // blocked, SIGINT, SIGTERM and SIGHUP at their default action unless ignored, and SIGCHLD at
    // its default action. Safe on any thread: nothing but async-signal-safe calls between the fork
    // and the exec. Not Started() when the program is missing or could not be started.
    TChildProgram(const std::string& name, const std::vector<std::string>& args, bool ownGroup,
                  int errorFd = -1);
    // One still running is killed; its end is waited for.
    ~TChildProgram();
    TChildProgram(const TChildProgram&) = delete;
    TChildProgram& operator=(const TChildProgram&) = delete;

    bool Started() const { return process_ != -1; }
    // Waits up to ms (0: only looks; -1: for as long as it takes) for the program's end, or until
    // alsoFd has something to read when it is not -1; true once the program has ended.
    bool WaitForEnd(int ms, int alsoFd = -1);
    // Ends it at once (SIGKILL) unless it has ended already. Safe on another thread than the one
    // that waits.
    void Kill();
    // What it has written on its standard output so far.
    std::string Answer();

private:
    int process_ = -1; // the process descriptor
    int answer_ = -1;  // the read end of its standard output
    bool ended_ = false;
};

} // namespace platform::detail
