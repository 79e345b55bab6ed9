#pragma once
// The settings of the match: who plays, under which names and colours, and whether over the
// network. The title screen sets them, the board screen and network play read them.

#include "framework/util/color.h"

#include <array>
#include <memory>
#include <string>

// The players: 1 and 2 (index 0 unused), with colour 0 for the system's lines and 3 for
// highlighted lines.
extern std::array<int, 3> ComputerPlayer;
extern std::array<std::string, 3> PlayerName;
extern std::array<std::shared_ptr<TColor>, 4> PlayerColor;

// 1 in a game over the network, 0 in a local game.
extern int networkGame;
// This machine's player in a networked game: 1 host, 2 joining.
extern int myPlayer;
// 1 selects the random layout of the special squares in a local game; 0 (the default) the
// standard one. Nothing in the game sets it.
extern int RandomSquares;
// The computer's strategy: 1 the Racer, 2 the Plodder, 3 one of the two drawn at the start of each
// computer turn; any other value leaves the computer idle. The title screen sets 3.
extern int ComputerPlayerStrategy;
