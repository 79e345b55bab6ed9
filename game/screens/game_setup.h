#pragma once
// What the title menu sets before it fades to the board: the players of a game on this machine or
// over the network, and the shuffle of the two players' colours. Plain functions of the player
// globals, so that the title screen and the tests share them.

#include "game/board/board_globals.h"

#include <array>
#include <string>

// The globals of a networked game's set-up, and the unlock flag; the title screen sets them
// (myPlayer, networkGame and ComputerPlayerStrategy are the board's).
extern std::string hostAddress; // the host's address ("127.0.0.1" on the host)
extern int hostPort;            // the port typed at the port prompt
extern int UnlockedSomething;   // 1 while an unlocked bonus has not been looked at

// The strategy every game started from the title menu gets: one of the two, drawn per turn.
constexpr int SETUP_STRATEGY = 3;

// "Player 1" against the computer as "Computer", player 2.
void SetUpOnePlayerGame();
// "Player 1" against "Player 2", both people.
void SetUpTwoPlayerGame();
// A networked game between two people: this machine's player gets the typed name; the other
// player's name arrives from the peer.
void SetUpNetworkGame(const std::string& typedName);
// The host side of the network set-up: this machine is player 1 and serves on every address.
void ChooseNetworkHost();
// The joining side: this machine is player 2.
void ChooseNetworkJoin();

// Red, green and blue of one player's colour.
using TColorValues = std::array<int, 3>;

// Two colours drawn with the platform's random numbers: each channel 0 or 200 to 255, at least
// one channel lit in each, and the two differing in which channels are lit. Each of the 42
// ordered pairs of lit patterns is equally likely.
std::array<TColorValues, 2> ShuffledColorValues();
// Players 1 and 2 get new colour objects of ShuffledColorValues (the old objects, held by anything
// drawn in them, stay as they were).
void ShufflePlayerColors();
