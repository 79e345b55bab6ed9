#pragma once
// The game's own game object: the framework's, with music streamed from the music folder, the
// hot keys without the boss and sound-driver keys, and focus changes that neither pause nor
// silence the game.

#include "framework/shell/game.h"

class TMyGame : public TGame {
public:
    int ReadKeys() override;
    int MusicLoad(const std::string& file, int looped) override;
    int MusicStop() override;
    int MusicPlay(int fadeIn) override;
    int DoPeekEvent() override;
    // Writes the good-exit marker of the global game object, when its run made the last change.
    static int MakeGoodExit();
};
