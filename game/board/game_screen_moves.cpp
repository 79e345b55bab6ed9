// The board screen's moves: the move through the rules with the board's sprites kept in step, its
// sound and particles, the end of the turn, the win and the statistics, and the board's sounds.

#include "game/board/game_screen.h"

#include "framework/audio/channel_array.h"
#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "game/board/board_constants.h"
#include "game/board/board_globals.h"
#include "game/board/program_data.h"

#include "platform/system.h"

#include <string>

namespace {

// The particles of a move, each spread at random around its square's centre.
constexpr int SPARK_COUNT = 21;
constexpr int SPARK_SPREAD = 30;
constexpr int SPLASH_COUNT = 4;
constexpr int BUBBLE_SPREAD = 20;

const TSquare& SquareAt(const TSquares& squares, int n) {
    return squares[static_cast<std::size_t>(n)];
}

} // namespace

// ---- The move -----------------------------------------------------------------------------------

int TGameScreen::MovePawn(int i) {
    TMoveResult result;
    if (MakeMove(i, false, result))
        FinishMove(result, false);
    return 0;
}

bool TGameScreen::MakeMove(int i, bool signShown, TMoveResult& result) {
    // The rules refuse a square off the board, a square without a pawn of the player to move,
    // a move without a throw and a move the rule forbids: nothing changes then.
    result = Rules.MovePawn(i);
    if (result.Kind == TMoveKind::None)
        return false;
    TSquare& from = Squares[static_cast<std::size_t>(result.From)];
    TPawnPtr mover = from.pawn;
    switch (result.Kind) {
    case TMoveKind::BearOff:
        Pawns.Remove(mover);
        from.pawn = nullptr;
        break;
    case TMoveKind::Water:
    case TMoveKind::Step:
        from.pawn = nullptr;
        Squares[static_cast<std::size_t>(result.Destination)].pawn = mover;
        break;
    case TMoveKind::Attack:
        from.pawn = Squares[static_cast<std::size_t>(result.To)].pawn;
        Squares[static_cast<std::size_t>(result.To)].pawn = mover;
        break;
    case TMoveKind::None:
        break;
    }
    if (result.To >= 0) {
        const TSquare& target = SquareAt(Squares, result.To);
        Highlight->x = static_cast<float>(target.x);
        Highlight->y = static_cast<float>(target.y);
        Highlight->visible = 1;
    }
    AddMoveParticles(result, signShown);
    Record(TBoardEvent::TKind::Move, result.Player, result.From, result.Throw);
    return true;
}

int TGameScreen::FinishMove(const TMoveResult& result, bool turnLine) {
    Die->visible = 0;
    Menu->AcceptInput = 1;
    if (result.Won) {
        HighlightParticles.Clear();
        UpdateWins(result.Player);
        Record(TBoardEvent::TKind::Win, result.Player, -1, 0);
        YesNoDialog = TDialogYesNo::Create(PlayerName[static_cast<std::size_t>(result.Player)] +
                                               " wins!  Do you want to play again?",
                                           DialogBG, BOARD_DIALOG_WIDTH, 0, 0, 1);
        YesNoDialog->Start();
        return 0;
    }
    Highlight->visible = 0;
    if (turnLine && NoComputerPlayer() && TextIndicator == 1)
        MessageBox->AddNew(PlayerName[static_cast<std::size_t>(Rules.CurrentPlayer)] + "'s turn!",
                           PlayerColor[3]);
    return 0;
}

// ---- Sound and particles of a move --------------------------------------------------------------

int TGameScreen::AddMoveParticles(const TMoveResult& result, bool signShown) {
    const int s = result.From;
    const int t = result.To;
    switch (result.Kind) {
    case TMoveKind::BearOff: {
        if (!signShown)
            AddBearOffSign(s);
        PlayExitBoardSound();
        const TSquare& from = SquareAt(Squares, s);
        HighlightParticles.AddNew(from.x, from.y, images->Find("particle3"), 0.0f, -0.1f, 0.0f,
                                  600.0f, 0, 0, 0.0f, 1.0f, 0.0f, 0, 0);
        break;
    }
    case TMoveKind::Water: {
        PlayWaterSound();
        AddParticles(SPARK_COUNT, "particle2", s, SPARK_SPREAD, -0.1f, 200.0f, 1, 0);
        const TSquare& water = SquareAt(Squares, t);
        for (int k = 0; k < SPLASH_COUNT; ++k)
            HighlightParticles.AddNew(water.x - 14 + 10 * k, water.y + 30,
                                      images->Find("particle4"), 0.0f, -0.2f, 0.0f, 500.0f, 0, 0,
                                      1.0f, 1.0f, 0.0f, 0, 0);
        const TSquare& rest = SquareAt(Squares, result.Destination);
        for (int k = 0; k < SPARK_COUNT; ++k) {
            // Drawn one after the other: the order of a call's arguments is not fixed.
            const int x = platform::Rand(rest.x - BUBBLE_SPREAD, rest.x + BUBBLE_SPREAD);
            const int y = rest.y - 10 - platform::Rand(0, 15);
            HighlightParticles.AddNew(x, y, images->Find("particle5"), 0.0f, 0.2f, 0.0f, 1000.0f, 0,
                                      0, 1.0f, 1.0f, 0.0f, 0, 0);
        }
        break;
    }
    case TMoveKind::Step:
        PlayMoveSound();
        for (int k = 0; k < SPARK_COUNT; ++k) {
            AddParticles(1, "particle2", s, SPARK_SPREAD, -0.1f, 200.0f, 1, 0);
            AddParticles(1, "particle1", t, SPARK_SPREAD, -0.1f, 500.0f, 1, 1);
        }
        break;
    case TMoveKind::Attack:
        PlaySwapSound();
        for (int k = 0; k < SPARK_COUNT; ++k) {
            AddParticles(1, "particle2", s, SPARK_SPREAD, -0.1f, 200.0f, 1, 0);
            AddParticles(1, "particle2", t, SPARK_SPREAD, -0.1f, 200.0f, 1, 0);
        }
        for (int k = 0; k < SPARK_COUNT; ++k) {
            AddParticles(1, "particle1", s, SPARK_SPREAD, -0.1f, 500.0f, 1, 1);
            AddParticles(1, "particle1", t, SPARK_SPREAD, -0.1f, 500.0f, 1, 1);
        }
        break;
    case TMoveKind::None:
        break;
    }
    return 0;
}

int TGameScreen::AddParticles(int count, const char* image, int square, int spread, float dy,
                              float fadeMs, int lightBlend, int rotate) {
    const TSquare& centre = SquareAt(Squares, square);
    const TGameImagePtr picture = images->Find(image);
    for (int k = 0; k < count; ++k) {
        // Drawn one after the other: the order of a call's arguments is not fixed.
        const int x = platform::Rand(centre.x - spread, centre.x + spread);
        const int y = platform::Rand(centre.y - spread, centre.y + spread);
        HighlightParticles.AddNew(x, y, picture, 0.0f, dy, 0.0f, fadeMs, lightBlend, rotate, 1.0f,
                                  1.0f, 0.0f, 0, 0);
    }
    return 0;
}

// Shown for a moment on a pawn that may bear off while it is under the pointer.
int TGameScreen::AddBearOffSign(int square) {
    const TSquare& centre = SquareAt(Squares, square);
    HighlightParticles.AddNew(centre.x, centre.y, images->Find("particle3"), 0.0f, 0.0f, 0.0f, 1.0f,
                              0, 0, 0.0f, 1.0f, 0.0f, 0, 0);
    return 0;
}

// ---- Sounds -------------------------------------------------------------------------------------

namespace {

int PlayBoardSound(const TGameSoundPtr& sound) {
    if (sound && Game->Channels)
        Game->Channels->PlayGameSound(sound, nullptr, 1.0f, 0.0f);
    return 0;
}

// Plays the sound with its pitch varied by a factor of (100 + r) / 100, r drawn from lo (included)
// to hi (excluded), for this one playing: the stored pitch is put back.
int PlayVaried(const TGameSoundPtr& sound, double lo, double hi) {
    const double r = platform::Rnd(lo, hi);
    if (!sound)
        return 0;
    const float stored = sound->pitch;
    sound->pitch = static_cast<float>(stored * (100.0 + r) / 100.0);
    PlayBoardSound(sound);
    sound->pitch = stored;
    return 0;
}

} // namespace

int TGameScreen::PlayMoveSound() {
    return PlayVaried(SoundMove, -2.0, 12.0);
}

int TGameScreen::PlayNoMoveSound() {
    return PlayBoardSound(SoundNoMove);
}

int TGameScreen::PlayRollSound() {
    SoundRoll = sounds->Find("roll" + std::to_string(platform::Rand(0, 1)));
    return PlayVaried(SoundRoll, -10.0, 10.0);
}

int TGameScreen::PlaySwapSound() {
    return PlayBoardSound(SoundSwap);
}

int TGameScreen::PlayWaterSound() {
    return PlayBoardSound(SoundWater);
}

int TGameScreen::PlayWinSound() {
    return PlayBoardSound(SoundWin);
}

int TGameScreen::PlayExitBoardSound() {
    return PlayBoardSound(SoundExitBoard);
}

// ---- Wins and statistics ------------------------------------------------------------------------

int TGameScreen::RedrawStats() {
    if (!StatBox)
        return 0;
    StatBox->Clear();
    for (const auto& line : Stats.StatLines(PlayerName[1], PlayerName[2]))
        StatBox->AddNew(line.Text, PlayerColor[static_cast<std::size_t>(line.Color)]);
    return 0;
}

int TGameScreen::UpdateWins(int player) {
    Stats.UpdateWins(player);
    PlayWinSound();
    return RedrawStats();
}
