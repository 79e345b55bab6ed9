#pragma once
// The replay log of the board screen: every game's start, every turn's throw and the square of the
// pawn moved (or that the throw allowed no move), and every win, one event a line:
//
//     game G start
//     turn P throw M move S STRATEGY
//     turn P throw M none
//     win P
//
// G counts the games of the log from 0, P is the player, M the throw, S the square the pawn moved
// from and STRATEGY the computer strategy of the turn ("racer" or "plodder"; "human" for a person).
// A seeded run of computer players always writes the same log, so a change to the rules, the
// strategies or the random sequence shows up in it.

#include <string>

struct TBoardEvent {
    enum class TKind { GameStart, Move, NoMove, Win };
    TKind Kind = TKind::GameStart;
    int Player = 0;
    int Throw = 0;
    int Square = -1;
    // STRATEGY_RACER or STRATEGY_PLODDER for a computer turn, 0 for a person's.
    int Strategy = 0;
};

class TBoardLog {
public:
    // Appends the event's line; a game start takes the next game number.
    void Record(const TBoardEvent& event);

    // The lines so far, each ending in a newline.
    std::string Text;
    // Games started so far.
    int Games = 0;
};
