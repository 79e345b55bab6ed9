#include "game/app/my_game.h"

#include "framework/audio/audio_stream.h"
#include "platform/system.h"

int TMyGame::ReadKeys() {
    return ReadHotKeys(0);
}

int TMyGame::MusicLoad(const std::string& file, int looped) {
    if (Music) {
        MusicStop();
        // The stream loops and starts at once; a file that cannot be streamed leaves no music
        // channel and no error, and MusicOn tries again later.
        MusicChannel = CreateAudioStream(MusicPath + file, 1, 1);
    }
    MusicLooped = looped;
    MusicRestart = 1;
    MusicFileName = file;
    return 0;
}

int TMyGame::MusicStop() {
    // A stream is stopped whether or not it plays (a paused or starved stream would otherwise
    // live on beside the next one).
    if (Music && MusicChannel) {
        platform::StopChannel(MusicChannel);
        MusicChannel = platform::AllocChannel();
    }
    MusicRestart = 1;
    return 0;
}

int TMyGame::MusicPlay(int fadeIn) {
    // The stream plays already: nothing to cue, only the fade-in and the resume.
    return MusicStart(fadeIn, 0);
}

int TMyGame::DoPeekEvent() {
    return PumpInputEvents();
}

int TMyGame::MakeGoodExit() {
    return TGame::MakeGoodExit();
}
