#pragma once
// The board's fixed numbers: the path of thirty squares laid out on the 800 by 600 screen, the
// pieces, the special squares and their layouts. The rules and the screen both read them here.

#include <array>
#include <cstdint>

// ---- The path and its geometry ------------------------------------------------------------------

// Squares on the path, 0 to 29; a target of BOARD_SQUARES or more bears the pawn off.
constexpr int BOARD_SQUARES = 30;
constexpr int BOARD_ROW_LENGTH = 10;
// Centre x of column c (counted from 0 at the left) is BOARD_COLUMN_X0 + BOARD_COLUMN_PITCH * c.
constexpr int BOARD_COLUMN_X0 = 67;
constexpr int BOARD_COLUMN_PITCH = 74;
// Centre y of the top, middle and bottom rows.
constexpr std::array<int, 3> BOARD_ROW_Y = {133, 213, 293};
// A square is under the pointer when the pointer lies strictly within this many pixels of its
// centre on both axes. Centres are 74 pixels apart, so at most one square is ever hit.
constexpr int SQUARE_HIT_HALF = 30;

// The path runs left to right on the top row, right to left on the middle row and left to right
// again on the bottom row, so square 10 lies below 9 and square 20 below 19. For squares 0 to 29.
constexpr int SquareColumn(int n) {
    const int k = n % BOARD_ROW_LENGTH;
    return (n / BOARD_ROW_LENGTH) == 1 ? BOARD_ROW_LENGTH - 1 - k : k;
}
constexpr int SquareX(int n) {
    return BOARD_COLUMN_X0 + BOARD_COLUMN_PITCH * SquareColumn(n);
}
constexpr int SquareY(int n) {
    return BOARD_ROW_Y[static_cast<unsigned>(n / BOARD_ROW_LENGTH)];
}

// The square under the pointer at (px, py), or -1 when there is none.
constexpr int SquareUnder(int px, int py) {
    for (int n = 0; n < BOARD_SQUARES; ++n) {
        const int x = SquareX(n);
        const int y = SquareY(n);
        if (px > x - SQUARE_HIT_HALF && px < x + SQUARE_HIT_HALF && py > y - SQUARE_HIT_HALF &&
            py < y + SQUARE_HIT_HALF)
            return n;
    }
    return -1;
}

// ---- Pieces and players -------------------------------------------------------------------------

constexpr int PAWNS_PER_PLAYER = 5;
// A player has won with this many pawns borne off.
constexpr int WIN_COUNT = PAWNS_PER_PLAYER;
// The start position fills squares 0 to START_SQUARES - 1, player 1 on the even squares.
constexpr int START_SQUARES = 2 * PAWNS_PER_PLAYER;
// This many opponent pawns in a row on the way block a move.
constexpr int BLOCKADE_RUN = 3;
// A throw of the die is 1 to MAX_THROW; 0 means no throw is pending.
constexpr int MAX_THROW = 6;

// ---- Special squares ----------------------------------------------------------------------------

// The special's id, which names its image ("special1" ... "special5") and its explanation frame.
constexpr int SPECIAL_NONE = 0;
constexpr int SPECIAL_RETURN = 1;    // where a pawn that lands on the water square is sent
constexpr int SPECIAL_SAFE = 2;      // an occupied safe square cannot be targeted
constexpr int SPECIAL_WATER = 3;     // landing on it sends the pawn to the return square
constexpr int SPECIAL_EXIT_ON_3 = 4; // left only with a throw of exactly 3
constexpr int SPECIAL_EXIT_ON_2 = 5; // left only with a throw of exactly 2
constexpr int SPECIAL_COUNT = 5;

// Squares of specials 1 to 5 in the standard layout (index 0 unused).
constexpr std::array<int, SPECIAL_COUNT + 1> STANDARD_SPECIAL_SQUARE = {-1, 14, 25, 26, 27, 28};

// The random layout draws the return square from 10..18, the safe square from 10..26 and the
// water square from 19..27 with a draw of 27 moved to 29; the exit squares stay where they are.
constexpr int RANDOM_RETURN_LOW = 10;
constexpr int RANDOM_RETURN_HIGH = 18;
constexpr int RANDOM_SAFE_LOW = 10;
constexpr int RANDOM_SAFE_HIGH = 26;
constexpr int RANDOM_WATER_LOW = 19;
constexpr int RANDOM_WATER_HIGH = 27;
constexpr int RANDOM_WATER_MOVED_FROM = 27;
constexpr int RANDOM_WATER_MOVED_TO = 29;

// ---- Screen layout ------------------------------------------------------------------------------
// Where the furniture stands on the 800 by 600 screen.

constexpr int THROW_BUTTON_BOTTOM_GAP = 15; // below the throw button
constexpr int THROW_BUTTON_NUDGE = 2;       // the button and the indicator sit right of centre
constexpr int INDICATOR_ABOVE_BUTTON = 48;
constexpr float EXPLAIN_X = 33.0f;
constexpr float EXPLAIN_Y = 432.0f;
constexpr int MESSAGE_X = 452;
constexpr int MESSAGE_Y = 438;
constexpr int MESSAGE_LINES = 7;
// The chat line of a networked game, under the message area: its frame, and where it is typed.
constexpr int CHAT_X = MESSAGE_X;
constexpr int CHAT_Y = 543;
constexpr int CHAT_W = 306;
constexpr int CHAT_H = 15;
// The width of the board's message dialogs (no move, end of game).
constexpr int BOARD_DIALOG_WIDTH = 400;

// ---- Timing -------------------------------------------------------------------------------------
// Waits and hovers are MilliSecs values of the wall clock, compared with platform::MilliSecsDiff.

// The computer's base pause in milliseconds: before its throw, after the Racer's throw (the
// Plodder waits half), and twice the pause between showing the destination and moving.
constexpr int COMPUTER_PLAYER_WAIT = 1000;
// The pointer rests this long on a special square before its explanation shows.
constexpr int EXPLAIN_HOVER_DELAY = 900;
// The fading copy of an explanation lasts this long, holding full opacity for the first
// EXPLAIN_FADE_LENGTH - EXPLAIN_FADE_SHRINK ms and then losing EXPLAIN_FADE_FACTOR of its alpha at
// every logic call.
constexpr int EXPLAIN_FADE_LENGTH = 2500;
constexpr int EXPLAIN_FADE_SHRINK = 2000;
constexpr float EXPLAIN_FADE_FACTOR = 0.95f;

// The MilliSecs value ms milliseconds after `now`, wrapping as the clock does.
constexpr int ClockAdd(int now, int ms) {
    return static_cast<int>(static_cast<std::uint32_t>(now) + static_cast<std::uint32_t>(ms));
}
