#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/input.h"

#include <gtest/gtest.h>

namespace {

TEST(GameInput, FlushAllInNormalModeClearsTheDrawnPointer) {
    Game = std::make_unique<TGame>();
    Game->Mouse->b1 = 1;
    Game->Mouse->h2 = 2;
    Game->Mouse->CalcButtonTotals();
    ccFlushAll();
    EXPECT_EQ(Game->Mouse->mb, 0);
    EXPECT_EQ(Game->Mouse->mh, 0);
    Game.reset();
    ccFlushAll(); // the game object gone: nothing to clear, no crash
}

} // namespace
