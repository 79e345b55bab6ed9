#pragma once
// The board screen headless: a fresh game object with its folders beside the test executable (the
// built data folder), the shared image and sound banks and the player arrays as start-up makes
// them, a fake clock, and the screen loaded and started as the current screen. The title screen is
// a probe that only counts what the shell does with it.

#include "framework/audio/channel_array.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/ui/menu.h"
#include "framework/util/input.h"
#include "game/board/board_globals.h"
#include "game/board/computer_match.h"
#include "game/board/game_screen.h"
#include "game/board/program_data.h"
#include "platform/system.h"
#include "tests/support/my_game_object.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace board_test {

// The board rebuilt from scratch, in the rules and in the sprites on the squares alike: player 1's
// and player 2's pawns, nothing borne off, the player to move and the pending throw (the die
// showing when there is one).
inline void PlaceBoard(TGameScreen& screen, const std::vector<int>& ones,
                       const std::vector<int>& twos, int current, int movement) {
    for (auto& square : screen.Squares)
        square.pawn = nullptr;
    screen.Pawns.clear();
    screen.Rules.Pawn.fill(0);
    for (int player = 1; player <= 2; ++player) {
        for (int sq : player == 1 ? ones : twos) {
            screen.Pawns.AddNew(screen.Squares, sq, player);
            screen.Rules.Pawn[static_cast<std::size_t>(sq)] = static_cast<std::uint8_t>(player);
        }
    }
    screen.Rules.BearedOff.fill(0);
    screen.Rules.CurrentPlayer = current;
    screen.Rules.Movement = movement;
    if (movement)
        screen.Die->visible = 1;
}

class BoardScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver.UseGame(testing_support::NewMyGame());
        Game->DataInAppBundle = 1;
        Game->SetSubPathWrapper("Board Test");
        Game->Init(4);
        Game->ChannelsCreate(16);
        LoadBoardData();
        PlayerName = {"", "Ann", "Computer"};
        ComputerPlayer = {0, 0, 1};
        ComputerPlayerStrategy = 3;
        networkGame = 0;
        RandomSquares = 0;
        title = std::make_shared<testing_support::TProbeScreen>("title", 0);
        TitleScreen = title;
        screen = std::make_shared<TGameScreen>();
        GameScreen = screen;
        platform::SeedRnd(1);
        screen->PreStart();
    }

    void TearDown() override {
        GameScreen = nullptr;
        TitleScreen = nullptr;
        screen = nullptr;
        title = nullptr;
        images = nullptr;
        sounds = nullptr;
        DialogBG = nullptr;
        PlayerColor = {};
        PlayerName = {};
        ComputerPlayer = {};
        ComputerPlayerStrategy = 0;
    }

    void SetBoard(const std::vector<int>& ones, const std::vector<int>& twos, int current,
                  int movement) {
        PlaceBoard(*screen, ones, twos, current, movement);
    }

    // The squares' sprites agree with the rules, and every pawn is on the board or borne off.
    void ExpectConsistent() {
        int onBoard[3] = {0, 0, 0};
        for (const auto& square : screen->Squares) {
            const int owner = screen->Rules.Pawn[static_cast<std::size_t>(square.id)];
            ASSERT_EQ(square.pawn ? square.pawn->Player : 0, owner) << "square " << square.id;
            if (owner)
                ++onBoard[owner];
        }
        EXPECT_EQ(static_cast<int>(screen->Pawns.size()), onBoard[1] + onBoard[2]);
        for (const auto& pawn : screen->Pawns) {
            int held = 0;
            for (const auto& square : screen->Squares)
                held += square.pawn == pawn ? 1 : 0;
            EXPECT_EQ(held, 1) << "a pawn of the list stands on exactly one square";
        }
    }

    // Texts of the statistics box, top down.
    std::vector<std::string> StatTexts() const {
        std::vector<std::string> texts;
        for (const auto& label : screen->StatBox->Message)
            texts.push_back(label ? label->Text : "<empty>");
        return texts;
    }

    // A key hit as the event pump records it, for the open dialog to take.
    static void PressKey(int code) {
        ccInputKeyDown(code);
        ccInputKeyUp(code);
    }

    // Logic ticks of the screen alone, 5 ms apart on the fake clock.
    void Logic(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            driver.Advance(5);
            screen->Logic();
        }
    }

    testing_support::ShellDriver driver;
    std::shared_ptr<testing_support::TProbeScreen> title;
    std::shared_ptr<TGameScreen> screen;
};

} // namespace board_test
