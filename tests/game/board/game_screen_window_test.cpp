// A one-player game on the real board screen in a window: the throw button and a pawn clicked
// through injected input, the frame read back, and a screenshot left for people to look at; and
// the no-move box's light edge on its picture.

#include "tests/game/board/board_screen_fixture.h"

#include "framework/ui/dialog.h"
#include "framework/util/drawing.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

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
    // A click at (x, y) through the window system: the move and the press reach the logic in one
    // tick, the release in the next. Other windows on the same display move the shared pointer,
    // which the drawn pointer follows between ticks, so a click that `taken` does not see is made
    // again.
    void Click(int x, int y, const std::function<bool()>& taken) {
        for (int attempt = 0; attempt < 10 && !taken(); ++attempt) {
            Point(x, y);
            platform::InjectMouseButton(1, true);
            driver.Ticks(1);
            Point(x, y);
            platform::InjectMouseButton(1, false);
            driver.Ticks(1);
        }
        ASSERT_TRUE(taken()) << "the click at " << x << ", " << y << " was not taken";
    }
    // A frame drawn without the pointer (which other windows on the display may move anywhere).
    void Shot() {
        Game->Mouse->Active = 0;
        driver.Ticks(1);
        Game->Mouse->Active = 1;
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
    Shot();
    ASSERT_NE(frame, nullptr);
    // Player 1's pawns stand tinted blue on the even squares of the top row.
    EXPECT_TRUE(Blue(SquareX(0), SquareY(0)));
    EXPECT_FALSE(Blue(SquareX(1), SquareY(1)));

    Click(402, 549, [this] { return screen->Rules.Movement != 0; });
    const int thrown = screen->Rules.Movement;
    ASSERT_TRUE(thrown >= 1 && thrown <= MAX_THROW);
    // Player 1's foremost pawn that may move, clicked; the move made is read from the screen's
    // log of events.
    int from = -1;
    for (int sq = BOARD_SQUARES - 1; sq >= 0 && from < 0; --sq)
        if (screen->Rules.Pawn[static_cast<std::size_t>(sq)] == 1 &&
            screen->Rules.ValidMovesHere(sq))
            from = sq;
    ASSERT_GE(from, 0);
    TBoardEvent move;
    screen->EventHook = [&move](const TBoardEvent& event) {
        if (event.Kind == TBoardEvent::TKind::Move)
            move = event;
    };
    Click(SquareX(from), SquareY(from), [this] { return screen->Rules.CurrentPlayer == 2; });
    ASSERT_EQ(move.Player, 1);
    from = move.Square;
    const int to = from + thrown;
    ASSERT_EQ(screen->Rules.Pawn[static_cast<std::size_t>(to)], 1);

    // Once the sparks have gone: the moved pawn on its new square, in player 1's blue.
    Logic(120);
    Shot();
    EXPECT_TRUE(Blue(SquareX(to), SquareY(to))) << "square " << to;
    EXPECT_EQ(Blue(SquareX(from), SquareY(from)),
              screen->Rules.Pawn[static_cast<std::size_t>(from)] == 1)
        << "square " << from;
    EXPECT_TRUE(
        platform::SavePixmapPNG(frame, testing_support::TestOutputDir() + "board_screen.png"));

    // The computer answers within its three seconds (the logic alone: no frames needed).
    Logic(600);
    EXPECT_EQ(screen->Rules.CurrentPlayer, 1);
}

// The no-move box over the board: its light lines along the top row and the left column fall on
// its picture, lighting it by half, and the board just outside them shows as it was.
TEST_F(BoardInWindow, TheNoMoveBoxsLightEdgeLiesOnItsPicture) {
    SetBoard({28}, {1, 3, 5, 7, 9}, 1, 0);
    Shot();
    const platform::PixmapPtr behind = frame;
    // A throw of 4, and the pawn on square 28 leaves only with a 3.
    screen->Rules.Movement = 4;
    screen->Die->visible = 1;
    Shot();
    ASSERT_NE(screen->OKDialog, nullptr);
    const TDialog& box = *screen->OKDialog;
    ASSERT_EQ(box.Transitioning, 0);
    const platform::PixmapPtr picture = box.Background->Frame(0);
    ASSERT_NE(picture, nullptr);

    std::vector<std::string> wrong;
    auto expect = [&](int x, int y, uint32_t want, const std::string& what) {
        const uint32_t got = frame->ReadPixel(x, y);
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((got >> shift) & 0xFF) -
                         static_cast<int>((want >> shift) & 0xFF)) > 3) {
                wrong.push_back(what + " at " + std::to_string(x) + "," + std::to_string(y));
                return;
            }
    };
    auto lit = [&](int px, int py) {
        const uint32_t p = picture->ReadPixel(px, py);
        if ((p >> 24) != 0xFF)
            wrong.push_back("see-through picture under the line at " + std::to_string(px) + "," +
                            std::to_string(py));
        uint32_t half = 0;
        for (int shift : {0, 8, 16})
            half |= ((((p >> shift) & 0xFF) + 255) / 2) << shift;
        expect(box.x + px, box.y + py, half, "line");
    };
    // The corner pixel, where both lines start, is lit twice.
    for (int i = 1; i < box.w; ++i)
        lit(i, 0);
    for (int j = 1; j < box.h; ++j)
        lit(0, j);
    auto unlit = [&](int x, int y) { expect(x, y, behind->ReadPixel(x, y), "outside"); };
    for (int x = box.x - 1; x <= box.x + box.w; ++x)
        unlit(x, box.y - 1);
    for (int y = box.y; y <= box.y + box.h; ++y)
        unlit(box.x - 1, y);
    unlit(box.x + box.w, box.y);
    unlit(box.x, box.y + box.h);
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " pixels, the first: " << wrong.front();
}

} // namespace
