#pragma once
// The whole program (start-up, main loop, orderly end) run in this process with a script called
// at every flip, one logic tick per frame on the shell driver's fake clock; and a script as a list
// of steps, each waited for frame by frame and then done, with keys and clicks injected as the
// window system delivers them.

#include "framework/shell/screen.h"
#include "framework/ui/menu.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// Runs the program with onFrame called at every flip (frames counted from 1); returns the exit
// status. An exception thrown by onFrame is the program's error in that frame.
int RunProgramFrames(ShellDriver& driver, const std::function<void(int frame)>& onFrame);

// Steps of a run of the program; one step at most is done per frame. A step that waits longer
// than the step limit (in frames) stops the run as an error that names it.
class ProgramScript {
public:
    explicit ProgramScript(int stepLimit = 2000) : stepLimit_(stepLimit) {}

    // Waits until ready, then acts in the same frame.
    ProgramScript& Then(std::string what, std::function<bool()> ready,
                        std::function<void()> act = {});
    // Waits until screen is current with no fade running.
    ProgramScript& Await(const std::string& what, const std::shared_ptr<TScreen>* screen);
    // Acts in the next frame.
    ProgramScript& Check(std::string what, std::function<void()> check);
    // Presses a key once the current screen is idle, and releases it in the next frame; with a
    // modifier (KEY_LALT for Alt+Enter), that is held down around it.
    ProgramScript& Key(int key, int modifier = 0);
    // Clicks the centre of a button of the current screen's menu, or of `menu` (a dialog's); the
    // click is taken when the button says so, or when `taken` does (a button the click rebuilds).
    ProgramScript& Click(const std::string& button, std::function<TMenuPtr()> menu = {},
                         std::function<bool()> taken = {});
    // Clicks (x, y) until `taken` says the click had its effect.
    ProgramScript& ClickAt(const std::string& what, int x, int y, std::function<bool()> taken);

    // Called at every flip, also inside a step that draws frames of its own (a splash); the steps
    // wait until that step has ended.
    void operator()();
    // Called at every flip before the steps.
    std::function<void()> onFrame;

    bool Finished() const { return next_ >= steps_.size(); }
    // The step waited for, "" when finished.
    std::string Pending() const { return Finished() ? "" : steps_[next_].what; }

    static bool Idle(const std::shared_ptr<TScreen>& screen);

private:
    struct Point {
        int x, y;
    };
    // The pointer goes to where() once the current screen is idle; the press waits until it has
    // arrived there, and the move goes again with it (other windows on the same display move the
    // shared pointer). A click that `taken` does not see at the release, nor in the frames after
    // it, is made again.
    ProgramScript& ClickOn(const std::string& what, std::function<Point()> where,
                           std::function<bool()> taken);

    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int waited_ = 0;
    int stepLimit_;
    bool busy_ = false;
};

// Runs the program through the script; returns the exit status. The end of the run is up to the
// script (Escape on the title screen, a quit).
int RunProgramScript(ShellDriver& driver, ProgramScript& script);
// Runs the program through the script: success when every step was done and the program ended
// with status 0; else says where it stopped, with the status and the last message shown.
::testing::AssertionResult RunsToTheEnd(ShellDriver& driver, ProgramScript& script);

// A key pressed and released in one frame.
void PressKey(int key);
// The frame just drawn, saved in TestOutputDir() for people to look at.
void SaveScreenshot(const std::string& name);

} // namespace testing_support
