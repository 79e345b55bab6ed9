#pragma once
// The game's own game object, with its hot keys, music and focus handling, for the fixtures of the
// game folders below the start-up, which do not include it.

#include "framework/shell/game.h"

#include <memory>

namespace testing_support {

std::unique_ptr<TGame> NewMyGame();

} // namespace testing_support
