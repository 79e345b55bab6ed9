#pragma once
// What the board screen calls of network play besides its two networked methods.

class TGameScreen;

// This machine's player leaves the networked game (the board screen is left): the chat line gives
// the keys back, the peer is told and the connection closed.
void LeaveNetworkGame(TGameScreen& screen);
