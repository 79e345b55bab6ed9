// The system's message box as a program of its own: pelorin-message-box title serious text. Notify
// starts it beside the game and waits for it, so that a request to end can close the box by
// ending this process. A box shown in the game's own process could not be closed so: SDL waits for
// it there without end.
#include <SDL.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const Uint32 kind =
        std::strcmp(argv[2], "1") == 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // 0 once answered; 1 when no box could be shown, so that the caller can try its own.
    return SDL_ShowSimpleMessageBox(kind, argv[1], argv[3], nullptr) == 0 ? 0 : 1;
}
