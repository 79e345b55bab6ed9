#pragma once
// Private to the audio layer: the one OpenAL device and context, and the generation that tells an
// OpenAL object whether the device that made it is still the current one.

#include <AL/al.h>

namespace platform::audio_detail {

// Increases every time a device is opened or closed. An object made under another generation
// belongs to a device that has gone: it must make no OpenAL call.
int Generation();
// True while a device is open and current under that generation.
bool Live(int generation);
// OpenAL's format for a PCM layout; 0 for a layout it cannot take.
ALenum PcmFormat(int channels, int bits);
// Gain, pan position and pitch as the channels and the stream set them.
void SetSourceVolume(ALuint source, float volume);
void SetSourcePan(ALuint source, float pan);
void SetSourceRate(ALuint source, float rate);
// A fresh source: source-relative at the listener, no roll-off.
ALuint NewSource();
ALint SourceState(ALuint source);

} // namespace platform::audio_detail
