#include "game/board/board_globals.h"

std::array<int, 3> ComputerPlayer{};
std::array<std::string, 3> PlayerName;
std::array<std::shared_ptr<TColor>, 4> PlayerColor;
int networkGame = 0;
int myPlayer = 0;
int RandomSquares = 0;
int ComputerPlayerStrategy = 0;
