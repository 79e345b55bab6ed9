#pragma once
// Drives the game shell's real main loop deterministically: a fake millisecond clock stepped by
// the test, the end of the process turned into an exception, message boxes recorded, and the
// shared user-data folder in a temporary folder. Frames are run with the loop's own operations.

#include "framework/shell/game.h"
#include "framework/shell/screen.h"
#include "platform/system.h"
#include "tests/support/temp_dir.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// Thrown in place of ending the process.
struct ProcessEnded : platform::TProcessEnd {};

class ShellDriver {
public:
    ShellDriver();
    ~ShellDriver();
    ShellDriver(const ShellDriver&) = delete;
    ShellDriver& operator=(const ShellDriver&) = delete;

    // Makes game the global Game with its clock ready (no files touched, no display opened).
    void UseGame(std::unique_ptr<TGame> game);
    // Moves the fake clock on; it wraps like the real 32-bit count.
    void Advance(int ms) {
        now = static_cast<int>(static_cast<uint32_t>(now) + static_cast<uint32_t>(ms));
    }
    // One frame ms after the last: the logic ticks, then the drawing unless a tick asked for the
    // end. Returns MainLogicLoop's result.
    int Frame(int ms = 5);
    // Frames of 5 ms (one logic tick each at normal speed) until count ticks have run or the
    // loop asked for the end; returns the last result.
    int Ticks(int count);

    int now = 100000;
    std::vector<std::string> notes; // texts shown in the system's message box
    TempDir home;                   // the shared user-data folder (XDG_DATA_HOME)
    std::string savedXdg;
    bool hadXdg = false;
};

// A screen that counts what the shell calls on it.
class TProbeScreen : public TScreen {
public:
    explicit TProbeScreen(std::string screenName = "probe", int fadeIn = 1)
        : probeName(std::move(screenName)), fadeIn(fadeIn) {}
    int Load() override;
    int Start() override;
    int Kill() override;
    int Logic() override;
    int Draw() override;
    int PostFadeIn() override;
    int SpecificKeys() override;

    std::string probeName;
    int fadeIn;
    int loads = 0, starts = 0, kills = 0, draws = 0, postFadeIns = 0, specificKeys = 0;
    std::vector<float> deltas; // Delta at each Logic call
};

} // namespace testing_support
