// A one-player game on the real board screen in a window: the throw button and a pawn clicked
// through injected input, the frame read back, and a screenshot left for people to look at.

#include "tests/game/board/board_screen_fixture.h"

#include "framework/util/drawing.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

class BoardInWindow : public board_test::BoardScreenTest {
protected:
    void SetUp() override {
        BoardScreenTest::SetUp();
        // The game's own window, so that the drawn pointer follows the system pointer in it.
        Game->FullScreen = 0;
        Game->GraphicsCreate();
        ASSERT_TRUE(platform::GraphicsOpen());
        // Frames as fast as they come: the clock is the test's.
        savedFlipSync = ccFlipSync;
        ccFlipSync = 0;
        platform::SetFlipHook([this] { frame = platform::GrabPixmap(0, 0, 800, 600); });
    }
    void TearDown() override {
        platform::SetFlipHook(nullptr);
        ccFlipSync = savedFlipSync;
        platform::EndGraphics();
        BoardScreenTest::TearDown();
    }
    // The pointer to (x, y): the system pointer too, which the drawn pointer follows in a window.
    static void Point(int x, int y) {
        platform::MoveMouse(x, y);
        platform::InjectMouseMove(x, y);
    }
    // A click at (x, y) through the window system, one frame for each step.
    void Click(int x, int y) {
        Point(x, y);
        driver.Ticks(2);
        platform::InjectMouseButton(1, true);
        driver.Ticks(1);
        platform::InjectMouseButton(1, false);
        driver.Ticks(1);
    }
    // The colour at (x, y) of the last frame shown.
    void At(int x, int y, int& r, int& g, int& b) const {
        const uint32_t argb = frame->ReadPixel(x, y);
        r = static_cast<int>((argb >> 16) & 0xFF);
        g = static_cast<int>((argb >> 8) & 0xFF);
        b = static_cast<int>(argb & 0xFF);
    }
    bool Blue(int x, int y) const {
        int r, g, b;
        At(x, y, r, g, b);
        return b > 120 && b > r + 60 && b > g + 60;
    }

    int savedFlipSync = 1;
    platform::PixmapPtr frame;
};

TEST_F(BoardInWindow, OnePlayerGameByPointerAndClick) {
    driver.Ticks(5);
    ASSERT_NE(frame, nullptr);
    platform::SavePixmapPNG(frame, testing_support::TestOutputDir() + "board_start.png");
    // Player 1's pawns stand tinted blue on the even squares of the top row.
    EXPECT_TRUE(Blue(SquareX(0), SquareY(0)));
    EXPECT_FALSE(Blue(SquareX(1), SquareY(1)));

    Click(402, 549);
    const int thrown = screen->Rules.Movement;
    ASSERT_TRUE(thrown >= 1 && thrown <= MAX_THROW);
    // Player 1's foremost pawn that may move, clicked.
    int from = -1;
    for (int sq = BOARD_SQUARES - 1; sq >= 0 && from < 0; --sq)
        if (screen->Rules.Pawn[static_cast<std::size_t>(sq)] == 1 &&
            screen->Rules.ValidMovesHere(sq))
            from = sq;
    ASSERT_GE(from, 0);
    const int to = from + thrown;
    Click(SquareX(from), SquareY(from));
    EXPECT_EQ(screen->Rules.CurrentPlayer, 2);
    EXPECT_EQ(screen->Rules.Pawn[static_cast<std::size_t>(to)], 1);

    // Once the sparks have gone: the moved pawn on its new square, in player 1's blue.
    Point(780, 20);
    driver.Ticks(2);
    Logic(120);
    driver.Ticks(1);
    EXPECT_TRUE(Blue(SquareX(to), SquareY(to))) << "square " << to;
    EXPECT_FALSE(Blue(SquareX(from), SquareY(from)) &&
                 screen->Rules.Pawn[static_cast<std::size_t>(from)] != 1)
        << "square " << from;
    EXPECT_TRUE(
        platform::SavePixmapPNG(frame, testing_support::TestOutputDir() + "board_screen.png"));

    // The computer answers within its three seconds (the logic alone: no frames needed).
    Logic(600);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
}

} // namespace
