// The system's message box as a program of its own: pelorin-message-box title serious text. Notify
// starts it beside the game and waits for it, so that a request to end can close the box by
// ending this process. A box shown in the game's own process could not be closed so: SDL waits for
// it there without end. It writes "1" on its standard output once the box has been answered; a
// program that writes nothing (it could show no box, or it crashed) leaves the box to the game.
#include <SDL.h>

#include <csignal>
#include <cstring>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

pid_t self = 0;

// SDL shows the box in a fork of this process: that fork ends with this one, however this one
// ends (the game ends it with SIGKILL, and it ends so with the game).
void EndWithTheProgram() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != self)
        _exit(1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    self = getpid();
    pthread_atfork(nullptr, nullptr, EndWithTheProgram);
    const int answer = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    const Uint32 kind =
        std::strcmp(argv[2], "1") == 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (SDL_ShowSimpleMessageBox(kind, argv[1], argv[3], nullptr) != 0)
        return 1;
    const char word = '1';
    return answer >= 0 && write(answer, &word, 1) == 1 ? 0 : 1;
}
