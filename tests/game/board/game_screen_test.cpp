// The board screen's set-up, moves and dialogs, headless on a fake clock.

#include "tests/game/board/board_screen_fixture.h"

#include "framework/shell/game_fade.h"
#include "framework/util/globals.h"
#include "game/board/strategy.h"
#include "platform/input.h"

#include "tests/support/fake_channel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using board_test::BoardScreenTest;

// A channel that notes every sound cued on it in one list shared by the pool.
class TNotingChannel : public testing_support::TFakeChannel {
public:
    explicit TNotingChannel(std::vector<platform::SoundPtr>& cued) : cued_(cued) {}
    void Cue(const platform::SoundPtr& sound) override {
        TFakeChannel::Cue(sound);
        cued_.push_back(sound);
    }

private:
    std::vector<platform::SoundPtr>& cued_;
};

// The sounds played through the game's channel pool from now on, by their names in the sound
// bank, in the order played.
class TPlayedSounds {
public:
    TPlayedSounds() {
        for (const auto& entry : Game->Channels->Channels)
            entry->Channel = std::make_shared<TNotingChannel>(cued_);
    }
    // The names played since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> names;
        for (const auto& sound : cued_) {
            std::string name = "<not in the bank>";
            for (const auto& known : sounds->Sounds)
                if (known->sound == sound)
                    name = known->name;
            names.push_back(name);
        }
        cued_.clear();
        return names;
    }

private:
    std::vector<platform::SoundPtr> cued_;
};

using TSoundNames = std::vector<std::string>;

TEST_F(BoardScreenTest, LoadSetsOutTheBoard) {
    for (int n = 0; n < BOARD_SQUARES; ++n) {
        const TSquare& square = screen->Squares[static_cast<std::size_t>(n)];
        EXPECT_EQ(square.id, n);
        const int owner = n < 10 ? 1 + n % 2 : 0;
        EXPECT_EQ(square.pawn ? square.pawn->Player : 0, owner) << n;
        EXPECT_EQ(square.hover, 0);
    }
    // The list holds the pawns in square order, tinted with their player's colour object itself.
    int n = 0;
    for (const auto& pawn : screen->Pawns) {
        EXPECT_EQ(pawn, screen->Squares[static_cast<std::size_t>(n++)].pawn);
        EXPECT_EQ(pawn->Color, PlayerColor[static_cast<std::size_t>(pawn->Player)]);
        EXPECT_EQ(pawn->Pawns, &screen->Pawns);
    }
    EXPECT_EQ(n, 10);
    // Corners of the path: 9 above 10, 19 above 20.
    struct Corner {
        int square, x, y;
    };
    for (const Corner c : {Corner{0, 67, 133}, Corner{9, 733, 133}, Corner{10, 733, 213},
                           Corner{19, 67, 213}, Corner{20, 67, 293}, Corner{29, 733, 293}}) {
        EXPECT_EQ(screen->Squares[static_cast<std::size_t>(c.square)].x, c.x) << c.square;
        EXPECT_EQ(screen->Squares[static_cast<std::size_t>(c.square)].y, c.y) << c.square;
    }
    const int specialAt[] = {14, 25, 26, 27, 28};
    int id = 0;
    for (const auto& special : screen->Specials) {
        ++id;
        EXPECT_EQ(special->id, id);
        EXPECT_EQ(screen->Squares[static_cast<std::size_t>(specialAt[id - 1])].special, special);
        EXPECT_EQ(screen->Rules.Special[static_cast<std::size_t>(specialAt[id - 1])], id);
    }
    EXPECT_EQ(id, 5);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
    EXPECT_EQ(screen->Rules.Movement, 0);

    // The throw button (72 by 72) at the bottom, a little right of centre; the die in its place;
    // the indicator above it.
    const auto button = screen->Menu->FindButton("die");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->x, 366.0f);
    EXPECT_EQ(button->y, 513.0f);
    EXPECT_EQ(screen->Die->x, 366.0f);
    EXPECT_EQ(screen->Die->y, 513.0f);
    EXPECT_EQ(screen->Die->visible, 0);
    EXPECT_EQ(screen->Indicator->x, 402.0f);
    EXPECT_EQ(screen->Indicator->y, 465.0f);
    EXPECT_EQ(screen->Explain->ImageFrame, 0);
    EXPECT_EQ(screen->ExplainFade->visible, 0);
    EXPECT_EQ(StatTexts(), (std::vector<std::string>{"Game Statistics", " ", "Ann - 0",
                                                     "Computer - 0", " ", " ", " "}));
}

TEST_F(BoardScreenTest, PieceListsMoveTheirPiecesAndMarkThemForCollisions) {
    const float delta = Delta;
    Delta = 2.0f;
    TPawnPtr first = screen->Pawns.front();
    first->dx = 3.0f;
    first->dy = -1.0f;
    TSpecialPtr water = screen->Squares[26].special;
    water->dx = 0.5f;
    EXPECT_EQ(screen->Pawns.Move(), 0);
    EXPECT_EQ(screen->Specials.Move(), 0);
    Delta = delta;
    EXPECT_EQ(first->x, 67.0f + 6.0f);
    EXPECT_EQ(first->y, 133.0f - 2.0f);
    EXPECT_EQ(screen->Squares[1].pawn->x, 141.0f) << "a pawn without speed stays";
    EXPECT_EQ(water->x, static_cast<float>(screen->Squares[26].x) + 1.0f);

    // The Manage pass leaves every piece as it was: none moves, turns, scales, animates or leaves
    // its list or its square, even with a speed and running ramps that a sprite pass would apply.
    first->SetupRotation(2.0f, 1000);
    first->SetupScale(0.1f, 0.1f, 1000);
    water->SetupRotation(3.0f, 1000);
    water->SetupAnim(4, 1000, 1, 0, 0);
    // Each piece's place and look and its list and kind, then what every square holds.
    auto pieces = [&] {
        using TState = std::tuple<const void*, float, float, float, float, float, int, float, int,
                                  const void*, int>;
        std::vector<TState> state;
        auto add = [&](const TSprite& piece, const void* list, int kind) {
            state.emplace_back(&piece, piece.x, piece.y, piece.Rotation, piece.ScaleX,
                               piece.AnimCounter, piece.ImageFrame, piece.Alpha, piece.visible,
                               list, kind);
        };
        for (const auto& pawn : screen->Pawns)
            add(*pawn, pawn->Pawns, pawn->Player);
        for (const auto& special : screen->Specials)
            add(*special, special->Specials, special->id);
        std::vector<std::pair<const void*, const void*>> squares;
        for (const auto& square : screen->Squares)
            squares.emplace_back(square.pawn.get(), square.special.get());
        return std::make_pair(state, squares);
    };
    const auto before = pieces();
    Delta = 2.0f;
    EXPECT_EQ(screen->Pawns.Manage(), 0);
    EXPECT_EQ(screen->Specials.Manage(), 0);
    Delta = delta;
    const auto after = pieces();
    ASSERT_EQ(after.first.size(), before.first.size());
    for (std::size_t i = 0; i < before.first.size(); ++i)
        EXPECT_EQ(after.first[i], before.first[i]) << "piece " << i;
    EXPECT_EQ(after.second, before.second) << "what the squares hold";

    // Each list writes its pieces into collision layer 1, each piece as its own collision object.
    for (bool pawns : {true, false}) {
        SCOPED_TRACE(pawns ? "pawns" : "specials");
        platform::ResetCollisions();
        EXPECT_EQ(pawns ? screen->Pawns.Collide() : screen->Specials.Collide(), 0);
        const TSquare& square = screen->Squares[pawns ? 4 : 14];
        const std::vector<void*> hit =
            platform::CollideRect(static_cast<float>(square.x) - 1.0f,
                                  static_cast<float>(square.y) - 1.0f, 2.0f, 2.0f, 1, 0);
        void* expected = pawns ? static_cast<void*>(square.pawn.get())
                               : static_cast<void*>(square.special.get());
        EXPECT_EQ(hit, std::vector<void*>{expected});
        EXPECT_TRUE(platform::CollideRect(400.0f, 560.0f, 2.0f, 2.0f, 1, 0).empty());
    }
    platform::ResetCollisions();
}

TEST_F(BoardScreenTest, RandomLayoutOnlyInALocalGame) {
    RandomSquares = 1;
    for (int seed = 1; seed <= 30; ++seed) {
        platform::SeedRnd(seed);
        screen->Load();
        const int back = screen->Rules.SquareOfSpecial(SPECIAL_RETURN);
        const int safe = screen->Rules.SquareOfSpecial(SPECIAL_SAFE);
        const int water = screen->Rules.SquareOfSpecial(SPECIAL_WATER);
        EXPECT_TRUE(back >= 10 && back <= 18) << back;
        EXPECT_TRUE(safe >= 10 && safe <= 26 && safe != back) << safe;
        EXPECT_TRUE(((water >= 19 && water <= 26) || water == 29) && water != safe) << water;
        EXPECT_EQ(screen->Rules.SquareOfSpecial(SPECIAL_EXIT_ON_3), 27);
        EXPECT_EQ(screen->Rules.SquareOfSpecial(SPECIAL_EXIT_ON_2), 28);
        int marked = 0;
        for (const auto& square : screen->Squares)
            marked += square.special ? 1 : 0;
        EXPECT_EQ(marked, 5);
    }
    networkGame = 1;
    screen->Load();
    for (int id = 1; id <= SPECIAL_COUNT; ++id)
        EXPECT_EQ(screen->Rules.SquareOfSpecial(id),
                  STANDARD_SPECIAL_SQUARE[static_cast<std::size_t>(id)]);
}

// A match left with Escape in the middle of a turn leaves nothing to the next: no throw without a
// die, no half-done computer turn, no particles.
TEST_F(BoardScreenTest, LoadStartsWithNoThrowAndNoComputerTurnUnderWay) {
    screen->Rules.Movement = 4;
    screen->Computer.ComputerWaiting = 3;
    screen->Computer.WaitUntil = platform::MilliSecs();
    screen->MovePawn(8);
    ASSERT_FALSE(screen->HighlightParticles.Empty());
    screen->Rules.Movement = 4;
    screen->Kill();

    screen->PreStart();
    EXPECT_EQ(screen->Rules.Movement, 0);
    EXPECT_EQ(screen->Computer.ComputerWaiting, 0);
    EXPECT_TRUE(screen->HighlightParticles.Empty());
    // With the pointer on one of player 1's pawns and no throw, a click moves nothing and no
    // dialog opens.
    Game->Mouse->x = 67;
    Game->Mouse->y = 133;
    Game->Mouse->h1 = 1;
    Game->Mouse->CalcButtonTotals();
    Logic();
    EXPECT_EQ(screen->OKDialog, nullptr);
    EXPECT_EQ(screen->Rules.Pawn[0], 1);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
}

TEST_F(BoardScreenTest, MovesChangeTheBoardWithTheirParticles) {
    struct Case {
        const char* name;
        std::vector<int> ones, twos;
        int movement, square;
        TMoveKind kind;
        int particles;
        std::vector<int> onesAfter, twosAfter;
        const char* sound; // the one sound the move plays
    };
    const std::vector<Case> cases = {
        {"step", {3}, {20}, 4, 3, TMoveKind::Step, 42, {7}, {20}, "MOVE"},
        {"step onto the return square", {10}, {3}, 4, 10, TMoveKind::Step, 42, {14}, {3}, "MOVE"},
        {"step onto the safe square", {21}, {3}, 4, 21, TMoveKind::Step, 42, {25}, {3}, "MOVE"},
        {"step onto an exit square", {24}, {3}, 3, 24, TMoveKind::Step, 42, {27}, {3}, "MOVE"},
        {"attack swaps",
         {18, 20, 22},
         {21},
         3,
         18,
         TMoveKind::Attack,
         84,
         {20, 21, 22},
         {18},
         "SWAP"},
        {"water with 14 free", {22}, {3}, 4, 22, TMoveKind::Water, 46, {14}, {3}, "WATER"},
        {"water with 14 held", {14, 22}, {3}, 4, 22, TMoveKind::Water, 46, {13, 14}, {3}, "WATER"},
        {"water with 14 to 12 held",
         {14, 12, 23},
         {13},
         3,
         23,
         TMoveKind::Water,
         46,
         {11, 12, 14},
         {13},
         "WATER"},
        {"bearing off", {29, 5}, {3}, 4, 29, TMoveKind::BearOff, 2, {5}, {3}, "EXITBOARD"},
    };
    TPlayedSounds played;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetBoard(c.ones, c.twos, 1, c.movement);
        screen->HighlightParticles.Clear();
        EXPECT_EQ(screen->Rules.Classify(c.square), c.kind);
        screen->MovePawn(c.square);
        EXPECT_EQ(played.Take(), TSoundNames{c.sound});
        EXPECT_EQ(screen->HighlightParticles.Count(), c.particles);
        ExpectConsistent();
        for (int sq : c.onesAfter)
            EXPECT_EQ(screen->Rules.Pawn[static_cast<std::size_t>(sq)], 1) << sq;
        for (int sq : c.twosAfter)
            EXPECT_EQ(screen->Rules.Pawn[static_cast<std::size_t>(sq)], 2) << sq;
        EXPECT_EQ(screen->Rules.PawnsOnBoard(1), static_cast<int>(c.onesAfter.size()));
        EXPECT_EQ(screen->Rules.Pawn[26], 0) << "no pawn rests on the water square";
        // The turn passes after every kind of move: no extra turns.
        EXPECT_EQ(screen->Rules.CurrentPlayer, 2);
        EXPECT_EQ(screen->Rules.Movement, 0);
        EXPECT_EQ(screen->Die->visible, 0);
        EXPECT_EQ(screen->Highlight->visible, 0);
        EXPECT_EQ(screen->Menu->AcceptInput, 1);
    }
}

TEST_F(BoardScreenTest, RefusedMovesChangeNothing) {
    struct Case {
        const char* name;
        int movement, square;
    };
    const Case cases[] = {
        {"no throw", 0, 5},         {"empty square", 3, 12},          {"opponent's pawn", 3, 6},
        {"blockade", 4, 5},         {"own pawn on the target", 2, 3}, {"exit needs a 2", 3, 28},
        {"below the board", 3, -1}, {"past the board", 3, 30},        {"far off", 3, 100000},
    };
    TPlayedSounds played;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetBoard({3, 5, 28}, {6, 7, 8}, 1, c.movement);
        screen->HighlightParticles.Clear();
        const TRules before = screen->Rules;
        screen->MovePawn(c.square);
        EXPECT_EQ(played.Take(), TSoundNames{}) << "a refused move is silent";
        EXPECT_EQ(screen->Rules.Pawn, before.Pawn);
        EXPECT_EQ(screen->Rules.Movement, c.movement);
        EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
        EXPECT_TRUE(screen->HighlightParticles.Empty());
        ExpectConsistent();
    }
}

TEST_F(BoardScreenTest, WinCountsAndOffersAnotherGame) {
    ComputerPlayer = {0, 0, 0};
    TPlayedSounds played;
    for (int game = 1; game <= 3; ++game) {
        // Player 1 wins the first two, player 2 the third.
        const int winner = game < 3 ? 1 : 2;
        SetBoard(winner == 1 ? std::vector<int>{29} : std::vector<int>{3},
                 winner == 2 ? std::vector<int>{29} : std::vector<int>{3}, winner, 2);
        screen->Rules.BearedOff = {0, winner == 1 ? 4 : 2, winner == 2 ? 4 : 2};
        played.Take();
        screen->MovePawn(29);
        EXPECT_EQ(played.Take(), (TSoundNames{"EXITBOARD", "WIN"}));
        EXPECT_TRUE(screen->HighlightParticles.Empty());
        EXPECT_EQ(screen->Rules.CurrentPlayer, winner);
        ASSERT_NE(screen->YesNoDialog, nullptr);
        EXPECT_EQ(screen->YesNoDialog->Caption->Text, PlayerName[static_cast<std::size_t>(winner)] +
                                                          " wins!  Do you want to play again?");
        EXPECT_EQ(Game->IgnoreEscapeKey, 1) << "the open dialog takes the Escape key";

        PressKey('Y');
        for (int i = 0; i < 200 && screen->YesNoDialog; ++i)
            Logic();
        ASSERT_EQ(screen->YesNoDialog, nullptr);
        // A new game with the winner to throw first; the wins stay.
        EXPECT_EQ(screen->Rules.CurrentPlayer, winner);
        EXPECT_EQ(screen->Rules.BearedOff, (std::array<int, 3>{0, 0, 0}));
        for (int n = 0; n < 10; ++n)
            EXPECT_EQ(screen->Rules.Pawn[static_cast<std::size_t>(n)], 1 + n % 2);
        ExpectConsistent();
    }
    EXPECT_EQ(screen->Stats.PlayerWins, (std::array<int, 3>{0, 2, 1}));
    EXPECT_EQ(StatTexts(), (std::vector<std::string>{"Game Statistics", " ", "Ann - 2",
                                                     "Computer - 1", " ", " ", " "}));
    EXPECT_EQ(screen->Specials.size(), 5u);
}

TEST_F(BoardScreenTest, StreakLine) {
    SetBoard({29}, {3}, 1, 2);
    screen->Rules.BearedOff = {0, 4, 0};
    screen->MovePawn(29);
    screen->UpdateWins(1);
    EXPECT_EQ(StatTexts()[5], "Ann has won 2 games in a row.");
    EXPECT_EQ(screen->StatBox->Message[5]->Color, PlayerColor[3]);
    EXPECT_EQ(screen->StatBox->Message[2]->Color, PlayerColor[1]);
}

TEST_F(BoardScreenTest, NoToAnotherGameLeavesForTheTitleScreen) {
    SetBoard({29}, {3}, 1, 2);
    screen->Rules.BearedOff = {0, 4, 0};
    screen->MovePawn(29);
    ASSERT_NE(screen->YesNoDialog, nullptr);
    // Through the shell's own loop: Escape on the open dialog answers No, and the shell does not
    // take the key itself.
    platform::InjectKey(platform::KEY_ESCAPE, true);
    driver.Ticks(1);
    platform::InjectKey(platform::KEY_ESCAPE, false);
    driver.Ticks(200);
    EXPECT_EQ(screen->YesNoDialog, nullptr);
    EXPECT_EQ(Game->CurrentTScreen, TitleScreen);
    EXPECT_EQ(title->loads, 1);
    // Left: the dialogs and the message boxes are dropped.
    EXPECT_EQ(screen->MessageBox, nullptr);
    EXPECT_EQ(screen->StatBox, nullptr);
}

TEST_F(BoardScreenTest, EscapeWithNoDialogLeavesForTheTitleScreen) {
    platform::InjectKey(platform::KEY_ESCAPE, true);
    driver.Ticks(1);
    platform::InjectKey(platform::KEY_ESCAPE, false);
    driver.Ticks(200);
    EXPECT_EQ(Game->CurrentTScreen, TitleScreen);
}

TEST_F(BoardScreenTest, NoMoveDialogPassesTheTurn) {
    screen->TextIndicator = 1;
    ComputerPlayer = {0, 0, 0};
    SetBoard({27, 28}, {3}, 1, 4);
    Logic();
    ASSERT_NE(screen->OKDialog, nullptr);
    EXPECT_EQ(screen->OKDialog->Caption->Text, "Ann has no possible moves.");
    // Escape answers the dialog; the board screen stays.
    platform::InjectKey(platform::KEY_ESCAPE, true);
    driver.Ticks(1);
    platform::InjectKey(platform::KEY_ESCAPE, false);
    driver.Ticks(100);
    EXPECT_EQ(Game->CurrentTScreen, GameScreen);
    EXPECT_EQ(screen->OKDialog, nullptr);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 2);
    EXPECT_EQ(screen->Rules.Movement, 0);
    EXPECT_EQ(screen->Die->visible, 0);
    EXPECT_EQ(screen->Menu->AcceptInput, 1);
    // No turn line after a turn without a move.
    for (const auto& label : screen->MessageBox->Message)
        EXPECT_EQ(label, nullptr);
}

// The move and the throw vary their pitch for one playing only; the throw picks either recording.
TEST_F(BoardScreenTest, VariedPitchStaysWithinItsRangeAndIsPutBack) {
    std::vector<std::shared_ptr<testing_support::TFakeChannel>> fakes;
    for (const auto& entry : Game->Channels->Channels) {
        fakes.push_back(std::make_shared<testing_support::TFakeChannel>());
        entry->Channel = fakes.back();
    }
    // The rate the last playing was given.
    auto lastRate = [&] {
        float rate = -1.0f;
        int most = -1;
        for (const auto& fake : fakes)
            if (fake->cues > most) {
                most = fake->cues;
                rate = fake->rate;
            }
        return rate;
    };
    const float movePitch = screen->SoundMove->pitch;
    std::set<std::string> rolls;
    float low = 10.0f, high = 0.0f;
    for (int i = 0; i < 300; ++i) {
        for (const auto& fake : fakes)
            fake->cues = 0;
        screen->PlayMoveSound();
        const float move = lastRate();
        EXPECT_TRUE(move >= 0.98f * movePitch && move < 1.12f * movePitch) << move;
        for (const auto& fake : fakes)
            fake->cues = 0;
        screen->PlayRollSound();
        rolls.insert(screen->SoundRoll->name);
        const float roll = lastRate() / screen->SoundRoll->pitch;
        low = std::min(low, roll);
        high = std::max(high, roll);
    }
    EXPECT_EQ(screen->SoundMove->pitch, movePitch);
    EXPECT_EQ(rolls.size(), 2u);
    EXPECT_GE(low, 0.9f);
    EXPECT_LT(high, 1.1f);
    EXPECT_LT(low, 0.95f) << "the roll's pitch does vary";
    // The other sounds play at their stored pitch.
    for (const auto& fake : fakes)
        fake->cues = 0;
    screen->PlaySwapSound();
    EXPECT_EQ(lastRate(), screen->SoundSwap->pitch);
}

} // namespace
