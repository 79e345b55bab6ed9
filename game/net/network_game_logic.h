#pragma once
// What the board screen calls of network play, through the hooks of network_hooks.h.

class TGameScreen;

// One tick of the networked turn on the board screen (TGameScreen::NetworkGameLogic); nothing
// without a connection.
int NetworkGameLogic(TGameScreen& screen);

// This machine's player leaves the networked game (the board screen is left): the chat line gives
// the keys back, the peer is told and the connection closed.
void LeaveNetworkGame(TGameScreen& screen);
// Makes the board screen's network hooks call the two functions above.
void InstallNetworkHooks();
