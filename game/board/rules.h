#pragma once
// The rules of the race game as plain values: who stands where, which squares are special, how many
// pawns each player has borne off, whose turn it is and the pending throw; whether a pawn may move,
// and the move itself. The board screen, the computer players and network play all decide and make
// moves through this one class, and tests drive it without a window.

#include "game/board/board_constants.h"

#include <array>
#include <cstdint>
#include <functional>

// What a move did, so that the screen can move its sprites, play the sound and add the particles of
// that kind of move without deciding anything again.
enum class TMoveKind : std::uint8_t {
    None,    // refused (or not a move): nothing changed
    BearOff, // the pawn left the board
    Step,    // the pawn went to an empty square
    Water,   // the pawn landed on the water square and was sent on to Destination
    Attack,  // the pawn swapped squares with an unprotected opponent pawn
};

struct TMoveResult {
    TMoveKind Kind = TMoveKind::None;
    int Player = 0;       // the mover
    int Throw = 0;        // the throw that was used
    int From = -1;        // the square the pawn left
    int To = -1;          // the target square; -1 when bearing off
    int Destination = -1; // where the pawn rests: To, the water move's end, or -1 when borne off
    bool Won = false;     // the move bore off the mover's last pawn; the turn stays with the winner
};

// The square of special `id` in the random layout, drawn with platform::Rand: the return square on
// 10..18; the safe square on 10..26 and the water square on 19..27 (27 taken as 29), each drawn
// again while `hasSpecial` says its square already carries a special. Ids 4 and 5 keep `index`.
int RandomSpecialSquare(int id, int index, const std::function<bool(int)>& hasSpecial);

class TRules {
public:
    // Owner of the pawn on each square: 0 for none, else player 1 or 2.
    std::array<std::uint8_t, BOARD_SQUARES> Pawn{};
    // Id of the special on each square, SPECIAL_NONE for a plain square.
    std::array<std::uint8_t, BOARD_SQUARES> Special{};
    // Pawns borne off by players 1 and 2 (index 0 unused).
    std::array<int, 3> BearedOff{};
    // The player to move, 1 or 2.
    int CurrentPlayer = 1;
    // The pending throw, 1 to MAX_THROW; 0 while none has been made this turn.
    int Movement = 0;

    // ---- Setting up ----

    // The ten start pawns on squares 0 to 9 (player 1 on the even squares), nothing borne off. The
    // turn and the specials are left as they are: a new game offered after a win keeps both.
    void StartPosition();
    // Removes every special.
    void ClearSpecials();
    // Puts special `id` on square `index`, or, in the random layout, on a square drawn for it with
    // platform::Rand (ids 4 and 5 always keep `index`). Returns the square used. The ids must be
    // added in the order 1 to 5 for the random draws to keep the specials apart.
    int AddSpecial(int index, int id, bool randomLayout);
    // All five specials in the order 1 to 5: the standard layout, or the random one when asked.
    void PlaceSpecials(bool randomLayout);

    // ---- Reading the board ----

    // True when no pawn stands on the board.
    bool NoPawns() const;
    // Pawns of player p standing on the board.
    int PawnsOnBoard(int p) const;
    // The first square carrying special `id`, or -1.
    int SquareOfSpecial(int id) const;

    // ---- The rule ----

    // 1 when the pawn on square i may move by Movement, else 0. Before the throw (Movement 0) and
    // on an empty board the answer is 1 for every square of the board: the turn loops rely on it.
    // A square off the board, or a throw outside 0..MAX_THROW, answers 0.
    int ValidMovesHere(int i) const;
    // 1 when CurrentPlayer has a legal move with Movement, or before the throw, or with no pawn on
    // the board; else 0.
    int AnyValidMoves() const;
    // The kind of move the pawn on square i would make with Movement; None when it may not move
    // (also before the throw).
    TMoveKind Classify(int i) const;
    // Where a pawn from square `from` that lands on the water square `water` comes to rest: the
    // return square, else the nearest empty square below it. Never a square that holds a pawn and
    // never the water square; the pawn's own square counts as held, as the search runs before the
    // pawn leaves it.
    int WaterDestination(int from, int water) const;

    // ---- The move ----

    // Makes the move of the pawn on square i with Movement, if the rule allows it, and ends the
    // turn: Movement back to 0, and the turn passes unless the move won the game. A refused move
    // (no pawn of CurrentPlayer on i, no throw, or a move the rule forbids) changes nothing and
    // returns Kind None.
    TMoveResult MovePawn(int i);
    // Ends a turn without a move (the throw could not be used): Movement 0, the other player moves.
    void PassTurn();
    // The player who has borne off all pawns, or 0.
    int Winner() const;

private:
    // Whether the pawn of CurrentPlayer on square i may move m squares: no blockade on the way,
    // the exact throw off an exit square, and a target that is free, off the board, or an
    // unprotected opponent pawn off the safe square. The caller has checked the square and throw.
    bool MoveAllowed(int i, int m) const;
};
