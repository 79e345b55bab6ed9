// Tells whether OpenAL's default device opens now: it writes "1" on its standard output when it
// does, "0" when it does not. The audio layer asks it after the device was lost, so that what the
// sound libraries say about a device that is still away goes to a pipe of the layer's, not to the
// game's standard error, and so that a sound server that never answers holds this process, not the
// game. The answer is written, not given as the exit status: a game started with SIGCHLD ignored
// never sees the status.
#include <AL/alc.h>

#include <unistd.h>

int main() {
    // The answer keeps the pipe to itself: whatever the libraries print goes with their complaints.
    const int answer = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device)
        alcCloseDevice(device);
    const char word = device ? '1' : '0';
    return answer >= 0 && write(answer, &word, 1) == 1 ? 0 : 1;
}
