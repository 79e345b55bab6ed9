#pragma once
// What the board screen calls of network play, which sits above the board: start-up installs it.
// While nothing is installed a networked board screen does nothing on the network.

class TGameScreen;

struct TNetworkHooks {
    // One tick of the networked turn on the screen, its player's move included.
    int (*GameLogic)(TGameScreen& screen) = nullptr;
    // This machine's player leaves the networked game with the screen.
    void (*Leave)(TGameScreen& screen) = nullptr;
};

extern TNetworkHooks NetworkHooks;
