#pragma once
// The hot-key tests' game: a fresh game object on the fake clock with one probe screen running,
// its settings kept in the test's folder.

#include "framework/shell/game.h"
#include "platform/input.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <memory>

constexpr int ESC = 27, ENTER = 13, LALT = 164, LCTRL = 162;

class HotKeys : public ::testing::Test {
protected:
    void SetUp() override {
        driver.UseGame(std::make_unique<TGame>());
        screen = std::make_shared<testing_support::TProbeScreen>("game", 0);
        screen->PreStart();
        // Settings are written by some keys: keep them in the test's folder.
        Game->SetSubPathWrapper("Keys Test");
        Game->Init(4);
    }
    static void Press(int key) { platform::InjectKey(key, true); }
    void Tick() { driver.Ticks(1); }
    testing_support::ShellDriver driver;
    std::shared_ptr<testing_support::TProbeScreen> screen;
};
