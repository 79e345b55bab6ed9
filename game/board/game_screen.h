#pragma once
// The board-game screen: the whole state of a match between player 1 and player 2 (the board, the
// pawns, the specials, the throw, whose turn it is, the computer's waiting stage, the open dialog,
// the turn indicator, the message and statistics boxes and the explanation picture), its set-up,
// its logic tick (the local turn loop) and its drawing. The rules live in one engine (TRules): the
// human move, the computer's move and a peer's move all go through it; the screen glues it to
// input, timing, drawing, sound and particles. The global GameScreen holds the one instance.

#include "framework/audio/game_sound.h"
#include "framework/graphics/particle.h"
#include "framework/graphics/sprite.h"
#include "framework/shell/screen.h"
#include "framework/ui/dialogs.h"
#include "game/board/board_log.h"
#include "game/board/computer_turn.h"
#include "game/board/indicator.h"
#include "game/board/message_area.h"
#include "game/board/my_fade.h"
#include "game/board/rules.h"
#include "game/board/squares.h"
#include "game/board/stats.h"

#include <functional>
#include <memory>

class TTextInputEx;

class TGameScreen : public TScreen {
    // Network play runs its turn loop on the screen's moves and pieces.
    friend class TScreenNetworkBoard;

public:
    TGameScreen();
    ~TGameScreen() override;

    // ---- The screen ----
    // Sets up a new match: background, throw button, squares, start pawns, specials, indicator,
    // explanation picture, message and statistics boxes, sounds; player 1 to move, no throw.
    int Load() override;
    int Start() override;
    int Kill() override;
    // One logic tick: particles, the explanation picture, then the local turn.
    int Logic() override;
    int Draw() override;
    int SetEscDestination() override;
    int SpecificKeys() override;
    // Fades out to the title screen, after the last game of a match.
    int LeaveToTitle();

    // ---- The rules, for the current player and throw ----
    int AnyValidMoves();
    int ValidMovesHere(int i);

    // ---- Network play (the networked turn, with the move of the player at this machine) ----
    int NetworkGameLogic();

    // ---- Moves and the computer player ----
    // Carries out the current throw for the pawn on square i with its sound and particles, then
    // ends the turn (or records the win and offers another game). A refused call changes nothing.
    int MovePawn(int i);
    // Shows the destination of the move from square i, unless it bears the pawn off.
    int ComputerHighlight(int i);
    int ComputerPlodder();
    int ComputerRacer();

    // ---- Sounds ----
    int PlayMoveSound();
    int PlayNoMoveSound();
    int PlayRollSound();
    int PlaySwapSound();
    int PlayWaterSound();
    int PlayWinSound();
    int PlayExitBoardSound();

    // ---- Wins and statistics ----
    int RedrawStats();
    int UpdateWins(int player);

    // ---- The match ----
    // The pawns on the board, the special markers and the squares that hold them: the drawn view
    // of Rules, kept in step with it after every move.
    TPawnList Pawns;
    TSpecialList Specials;
    TSquares Squares;
    // Who stands where, the specials' kinds, BearedOff, CurrentPlayer and Movement.
    TRules Rules;
    // ComputerPlayerWait, ComputerWaiting, WaitUntil and WhichStrategy.
    TComputerTurn Computer;

    // ---- Dialogs and sprites ----
    TDialogOKPtr OKDialog;       // "... has no possible moves."
    TDialogYesNoPtr YesNoDialog; // "... wins!  Do you want to play again?"
    TPawnPtr Highlight;          // the destination sign
    TParticleList HighlightParticles;
    TSpritePtr Die;
    TIndicatorPtr Indicator;

    // ---- Text ----
    // 1 announces each turn of two people at one machine in MessageBox; nothing sets it.
    int TextIndicator = 0;
    TMessageAreaPtr MessageBox;
    TMessageAreaPtr StatBox;

    // ---- Network play ----
    int SentName = 0;
    int GotName = 0;
    int LastBeacon = 0; // MilliSecs values
    int NextBeacon = 0;
    std::shared_ptr<TTextInputEx> TextInput;
    int needReady = 0;
    // On the joining machine: 1 from its throw request until the host's throw result answers it.
    int ThrowRequested = 0;
    // 1 while the end-of-game dialog, opened over a chat line holding unsent text, leaves the keys
    // of the typing that goes on unanswered; LastTyping is the MilliSecs of its last character
    // (or of the opening).
    int DialogKeysHeld = 0;
    int LastTyping = 0;

    // ---- Statistics of the visit: PlayerWins and PlayerStreak ----
    TStats Stats;

    // ---- The explanation of the special squares ----
    TSpritePtr Explain;
    TMyFadePtr ExplainFade;

    // ---- Sounds ----
    TGameSoundPtr SoundWater;
    TGameSoundPtr SoundRoll;
    TGameSoundPtr SoundExitBoard;
    TGameSoundPtr SoundSwap;
    TGameSoundPtr SoundMove;
    TGameSoundPtr SoundNoMove;
    TGameSoundPtr SoundWin;

    // Told of every game start, move, throw without a move and win (the replay log), when set.
    std::function<void(const TBoardEvent&)> EventHook;

private:
    TScreenPtr TitleOrExit() const;
    // The explanation of the special square under the pointer: shown once the pointer has rested
    // on it, faded out after the pointer has left.
    int ExplainLogic(int now);
    // One tick of the turn of a person at this machine: the throw button, then the move chosen
    // with the pointer. -1 when the pawns are to keep their places this tick.
    int HumanTurn();
    // The pointer's part of the move of a person at this machine: the pawns put on their
    // squares, the destination of the player's pawn under the pointer shown (for bearing off,
    // the sign on the pawn), and the square of that pawn once it is clicked for a legal move.
    // POINTER_NO_MOVE when nothing was chosen; POINTER_BEFORE_THROW, ending the scan, when the
    // pointer rests on one of the player's pawns before the throw.
    int PointerMove();
    static constexpr int POINTER_NO_MOVE = -1;
    static constexpr int POINTER_BEFORE_THROW = -2;
    int ComputerTurn(int now);
    int ComputerStrategyStep(int now, int strategy);
    // The throw of the die for the current player.
    int Throw();
    // The start pawns on squares 0 to 9, on the board and in the rules.
    int AddStartPawns();
    // The move of the pawn on square i through the rules, with the board's sprites, sound and
    // particles; false when refused. `signShown` leaves out the bearing-off sign that the human's
    // hover has already shown.
    bool MakeMove(int i, bool signShown, TMoveResult& result);
    // The end of a completed move: the die and the throw button, then the win or the next turn.
    int FinishMove(const TMoveResult& result, bool turnLine);
    int AddMoveParticles(const TMoveResult& result, bool signShown);
    int AddParticles(int count, const char* image, int square, int spread, float dy, float fadeMs,
                     int lightBlend, int rotate);
    int AddBearOffSign(int square);
    int PlacePawns();
    int DropDialogs();
    int Record(TBoardEvent::TKind kind, int player, int square, int throwValue);
    // Both players are people at this machine.
    bool NoComputerPlayer() const;
};
using TGameScreenPtr = std::shared_ptr<TGameScreen>;
