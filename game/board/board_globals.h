#pragma once
// Globals of the board game that the title screen sets and the board screen reads.

// 1 in a game over the network, 0 in a local game.
extern int networkGame;
// 1 selects the random layout of the special squares in a local game; 0 (the default) the
// standard one. Nothing in the game sets it.
extern int RandomSquares;
// The computer's strategy: 1 the Racer, 2 the Plodder, 3 one of the two drawn at the start of each
// computer turn; any other value leaves the computer idle. The title screen sets 3.
extern int ComputerPlayerStrategy;
