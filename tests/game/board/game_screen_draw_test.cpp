// What the board screen draws, in which order, read from the drawing layer's log (no window).

#include "tests/game/board/board_screen_fixture.h"

#include "platform/graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using board_test::BoardScreenTest;

class DrawTest : public BoardScreenTest {
protected:
    void SetUp() override {
        BoardScreenTest::SetUp();
        platform::SetDrawLog(true);
    }
    std::vector<platform::TDrawRecord> Frame() {
        platform::ClearDrawLog();
        screen->Draw();
        return platform::DrawLog();
    }
    static const platform::TImage* Bank(const char* name) {
        return images->Find(name)->image.get();
    }
    // Index of the first record of the image, or -1.
    static int First(const std::vector<platform::TDrawRecord>& log, const platform::TImage* image) {
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i].image == image)
                return static_cast<int>(i);
        return -1;
    }
    static int Last(const std::vector<platform::TDrawRecord>& log, const platform::TImage* image) {
        for (std::size_t i = log.size(); i-- > 0;)
            if (log[i].image == image)
                return static_cast<int>(i);
        return -1;
    }
};

TEST_F(DrawTest, LayersOfTheBoard) {
    auto log = Frame();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].kind, platform::TDrawRecord::CLS);
    ASSERT_EQ(log[1].image, screen->Image.get());
    EXPECT_EQ(log[1].x, 400.0f);
    EXPECT_EQ(log[1].y, 300.0f);
    EXPECT_EQ(log[1].blend, platform::SOLIDBLEND);
    // A local game has no chat line.
    EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const platform::TDrawRecord& r) {
        return r.kind == platform::TDrawRecord::RECT;
    }));
    // The throw button while no throw is pending, never the die.
    const auto button = screen->Menu->FindButton("die");
    EXPECT_NE(First(log, button->image->image.get()), -1);
    EXPECT_EQ(First(log, Bank("die")), -1);
    // The indicator in the colour of the player to move, its overlay untinted above it.
    const int tinted = First(log, Bank("indicator1"));
    ASSERT_NE(tinted, -1);
    EXPECT_EQ(log[static_cast<std::size_t>(tinted)].b, 255);
    EXPECT_EQ(log[static_cast<std::size_t>(tinted)].r, 0);
    const int overlay = First(log, Bank("indicator2"));
    ASSERT_GT(overlay, tinted);
    EXPECT_EQ(log[static_cast<std::size_t>(overlay)].r, 255);
    // Specials below pawns, the explanation above the boxes.
    EXPECT_LT(Last(log, Bank("special5")), First(log, Bank("pawn")));
    EXPECT_LT(Last(log, Bank("pawn")), First(log, Bank("explain")));

    // The die in the button's place once thrown, and player 2's colour on the indicator.
    screen->Rules.Movement = 5;
    screen->Die->visible = 1;
    screen->Die->ImageFrame = 4;
    screen->Rules.CurrentPlayer = 2;
    log = Frame();
    EXPECT_EQ(First(log, button->image->image.get()), -1);
    const int die = First(log, Bank("die"));
    ASSERT_NE(die, -1);
    EXPECT_EQ(log[static_cast<std::size_t>(die)].frame, 4);
    EXPECT_EQ(log[static_cast<std::size_t>(First(log, Bank("indicator1")))].g, 255);
}

TEST_F(DrawTest, ScaledAndTurnedIndicatorKeepsItsOverlayPlain) {
    screen->Indicator->ScaleX = 2.0f;
    screen->Indicator->Rotation = 30.0f;
    const auto log = Frame();
    const auto& tinted = log[static_cast<std::size_t>(First(log, Bank("indicator1")))];
    const auto& overlay = log[static_cast<std::size_t>(First(log, Bank("indicator2")))];
    EXPECT_EQ(tinted.scaleX, 2.0f);
    EXPECT_EQ(tinted.rotation, 30.0f);
    EXPECT_EQ(overlay.scaleX, 1.0f);
    EXPECT_EQ(overlay.rotation, 0.0f);
    // A new colour object of player 1 shows at the next frame.
    PlayerColor[1] = TColor::Create(200, 10, 10, 1.0f);
    const auto recoloured = Frame();
    EXPECT_EQ(recoloured[static_cast<std::size_t>(First(recoloured, Bank("indicator1")))].r, 200);
}

// The statistics box and the network lines stand in one place: in a network game only the lines
// show there, also once the statistics have been written (as the name exchange writes them).
TEST_F(DrawTest, NetworkLinesTakeThePlaceOfTheStatistics) {
    auto texts = [&] {
        std::vector<std::string> drawn;
        for (const auto& record : Frame())
            if (record.kind == platform::TDrawRecord::TEXT)
                drawn.push_back(record.text);
        return drawn;
    };
    auto has = [](const std::vector<std::string>& drawn, const std::string& text) {
        return std::find(drawn.begin(), drawn.end(), text) != drawn.end();
    };
    EXPECT_TRUE(has(texts(), "Game Statistics")) << "a local game shows its statistics";

    networkGame = 1;
    screen->MessageBox->AddNew("** Bob joined the game. **", PlayerColor[0]);
    screen->RedrawStats();
    const auto drawn = texts();
    EXPECT_TRUE(has(drawn, "** Bob joined the game. **"));
    for (const char* line : {"Game Statistics", "Ann - 0", "Computer - 0"})
        EXPECT_FALSE(has(drawn, line)) << line;
}

TEST_F(DrawTest, OpenDialogIsDrawnOverEverything) {
    SetBoard({27, 28}, {3}, 1, 4);
    Logic(50);
    ASSERT_NE(screen->OKDialog, nullptr);
    const auto log = Frame();
    const int dialog = First(log, DialogBG.get());
    ASSERT_NE(dialog, -1);
    EXPECT_GT(dialog, Last(log, Bank("explain")));
    EXPECT_GT(dialog, Last(log, Bank("pawn")));
}

} // namespace
