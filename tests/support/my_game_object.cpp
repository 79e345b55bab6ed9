#include "tests/support/my_game_object.h"

#include "game/app/my_game.h"

namespace testing_support {

std::unique_ptr<TGame> NewMyGame() {
    return std::make_unique<TMyGame>();
}

} // namespace testing_support
