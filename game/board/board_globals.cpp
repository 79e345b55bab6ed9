#include "game/board/board_globals.h"

int networkGame = 0;
int RandomSquares = 0;
int ComputerPlayerStrategy = 0;
