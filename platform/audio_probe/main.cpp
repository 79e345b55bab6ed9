// Tells, by its exit status, whether OpenAL's default device opens now: 0 when it does, 1 when it
// does not. The audio layer asks it after the device was lost, so that what the sound libraries
// say about a device that is still away goes to a pipe of the layer's, not to the game's standard
// error, and so that a sound server that never answers holds this process, not the game.
#include <AL/alc.h>

int main() {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device)
        return 1;
    alcCloseDevice(device);
    return 0;
}
