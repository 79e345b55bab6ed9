#include "tests/support/shell_driver.h"

#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game_fade.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"

#include <cstdlib>

namespace testing_support {

ShellDriver::ShellDriver() {
    platform::SetMilliSecsSource([this] { return now; });
    platform::SetDelayHandler([this](int ms) { now += ms > 0 ? ms : 0; });
    // Start-up's seed comes from the fake clock, so that a run through the shell repeats.
    platform::SetRunSeedSource([this] { return now; });
    platform::SetEndHandler([](int status) { throw ProcessEnded{{status}}; });
    platform::SetNotifyHandler([this](const std::string& text, bool) { notes.push_back(text); });
    const char* xdg = std::getenv("XDG_DATA_HOME");
    hadXdg = xdg != nullptr;
    if (xdg)
        savedXdg = xdg;
    setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
    platform::ClearEvents();
    ccCreateInputArrays();
}

ShellDriver::~ShellDriver() {
    Game.reset();
    platform::ClearEvents();
    platform::SetMilliSecsSource(nullptr);
    platform::SetDelayHandler(nullptr);
    platform::SetRunSeedSource(nullptr);
    platform::SetEndHandler(nullptr);
    platform::SetNotifyHandler(nullptr);
    if (hadXdg)
        setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    Delta = 1.0f;
}

void ShellDriver::UseGame(std::unique_ptr<TGame> game) {
    Game = std::move(game);
    Game->FixedRateLogic->Create();
    Game->FixedRateLogic->Init();
}

int ShellDriver::Frame(int ms) {
    Advance(ms);
    int result = Game->MainLogicLoop();
    if (result != -1)
        Game->ScreenDraw();
    return result;
}

int ShellDriver::Ticks(int count) {
    int result = 1;
    for (int i = 0; i < count && result != -1; ++i)
        result = Frame(5);
    return result;
}

int TProbeScreen::Load() {
    ++loads;
    name = probeName;
    return 0;
}

int TProbeScreen::Start() {
    ++starts;
    TScreen::Start();
    if (fadeIn)
        Game->GameFade->Init(FADE_SPEED, 0, nullptr, 0, 0);
    return 0;
}

int TProbeScreen::Kill() {
    ++kills;
    return TScreen::Kill();
}

int TProbeScreen::Logic() {
    deltas.push_back(Delta);
    return TScreen::Logic();
}

int TProbeScreen::Draw() {
    ++draws;
    return TScreen::Draw();
}

int TProbeScreen::PostFadeIn() {
    ++postFadeIns;
    return 0;
}

int TProbeScreen::SpecificKeys() {
    ++specificKeys;
    return 0;
}

} // namespace testing_support
