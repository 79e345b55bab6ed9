#include "tests/support/program_script.h"

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "game/app/program.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace testing_support {

namespace {

// Frames a click's effect may take after the release before the click is made again, and how
// often it is made again.
constexpr int CLICK_PATIENCE = 20;
constexpr int CLICK_RETRIES = 10;

} // namespace

int RunProgramFrames(ShellDriver& driver, const std::function<void(int frame)>& onFrame) {
    int frame = 0;
    platform::SetFlipHook([&] {
        // One logic tick per frame, without waiting for the vertical blank.
        if (++frame == 1)
            Game->FastOn();
        driver.Advance(5);
        onFrame(frame);
    });
    int status = -1;
    try {
        RunProgram();
    } catch (const ProcessEnded& end) {
        status = end.status;
    }
    platform::SetFlipHook(nullptr);
    return status;
}

int RunProgramScript(ShellDriver& driver, ProgramScript& script) {
    return RunProgramFrames(driver, [&script](int) { script(); });
}

::testing::AssertionResult RunsToTheEnd(ShellDriver& driver, ProgramScript& script) {
    const int status = RunProgramScript(driver, script);
    if (script.Finished() && status == 0)
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    if (!script.Finished())
        failure << "stopped at: " << script.Pending() << "; ";
    failure << "exit status " << status;
    if (!driver.notes.empty())
        failure << "; last message: " << driver.notes.back();
    return failure;
}

ProgramScript& ProgramScript::Then(std::string what, std::function<bool()> ready,
                                   std::function<void()> act) {
    steps_.push_back({std::move(what), std::move(ready), std::move(act)});
    return *this;
}

ProgramScript& ProgramScript::Await(const std::string& what,
                                    const std::shared_ptr<TScreen>* screen) {
    return Then(what, [screen] { return Idle(*screen); });
}

ProgramScript& ProgramScript::Check(std::string what, std::function<void()> check) {
    return Then(
        std::move(what), [] { return true; }, std::move(check));
}

ProgramScript& ProgramScript::Key(int key, int modifier) {
    Then(
        "key down", [] { return Idle(Game->CurrentTScreen); },
        [key, modifier] {
            if (modifier)
                platform::InjectKey(modifier, true);
            platform::InjectKey(key, true);
        });
    return Then(
        "key up", [] { return true; },
        [key, modifier] {
            platform::InjectKey(key, false);
            if (modifier)
                platform::InjectKey(modifier, false);
        });
}

ProgramScript& ProgramScript::Click(const std::string& button, std::function<TMenuPtr()> menu,
                                    std::function<bool()> taken) {
    // The button found at the latest aim: the one pressed.
    auto pressed = std::make_shared<TButtonPtr>();
    auto where = [button, menu, pressed] {
        *pressed = (menu ? menu() : Game->CurrentTScreen->Menu)->FindButton(button);
        if (!*pressed)
            throw std::runtime_error("no button " + button);
        const TButton& b = **pressed;
        return Point{static_cast<int>(b.x) + b.w / 2, static_cast<int>(b.y) + b.h / 2};
    };
    if (!taken)
        taken = [pressed] { return *pressed && (*pressed)->Clicked != 0; };
    return ClickOn(button, where, std::move(taken));
}

ProgramScript& ProgramScript::ClickAt(const std::string& what, int x, int y,
                                      std::function<bool()> taken) {
    return ClickOn(
        what,
        [x, y] {
            return Point{x, y};
        },
        std::move(taken));
}

ProgramScript& ProgramScript::ClickOn(const std::string& what, std::function<Point()> where,
                                      std::function<bool()> taken) {
    auto moveTo = [where] {
        const Point p = where();
        platform::InjectMouseMove(p.x, p.y);
        return Game->Mouse->x == p.x && Game->Mouse->y == p.y;
    };
    auto waited = std::make_shared<int>(0);
    auto tries = std::make_shared<int>(0);
    Then(
        "point at " + what, [] { return Idle(Game->CurrentTScreen); }, [moveTo] { moveTo(); });
    Then("press " + what, moveTo, [moveTo] {
        moveTo();
        platform::InjectMouseButton(1, true);
    });
    Then(
        "release " + what, [] { return true; },
        [this, taken, waited] {
            platform::InjectMouseButton(1, false);
            *waited = 0;
            if (taken())
                ++next_; // no need to wait for the effect
        });
    return Then(
        "effect of the click on " + what,
        [taken, waited] { return taken() || ++*waited > CLICK_PATIENCE; },
        [this, what, taken, tries] {
            if (taken())
                return;
            if (++*tries > CLICK_RETRIES) {
                --next_; // the step the run ended at
                throw std::runtime_error("the click on " + what + " is not taken");
            }
            next_ -= 4; // from the pointing again
        });
}

void ProgramScript::operator()() {
    if (onFrame)
        onFrame();
    if (busy_ || next_ >= steps_.size())
        return;
    Step& step = steps_[next_];
    if (!step.ready()) {
        if (++waited_ > stepLimit_)
            throw std::runtime_error("stuck at: " + step.what);
        return;
    }
    waited_ = 0;
    ++next_;
    if (step.act) {
        busy_ = true;
        step.act();
        busy_ = false;
    }
}

bool ProgramScript::Idle(const std::shared_ptr<TScreen>& screen) {
    return screen && Game->CurrentTScreen == screen && !Game->GameFade->Active;
}

void PressKey(int key) {
    platform::InjectKey(key, true);
    platform::InjectKey(key, false);
}

void SaveScreenshot(const std::string& name) {
    auto frame = platform::GrabPixmap(0, 0, 800, 600);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(platform::SavePixmapPNG(frame, TestOutputDir() + name));
}

} // namespace testing_support
