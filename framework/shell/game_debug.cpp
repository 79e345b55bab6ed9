// The debug overlay: timings, frame rates, drivers, volumes, memory and the pointer, drawn over
// the frame while Debug is on.

#include "framework/graphics/font.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/screen.h"
#include "framework/util/drawing.h"
#include "framework/util/records.h"
#include "framework/util/window.h"
#include "platform/graphics.h"

#include <sstream>

namespace {

std::string OnOff(int on) {
    return on ? "on" : "off";
}

std::string FloatText(float value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

} // namespace

int TGame::DebugReset() {
    FixedRateLogic->maximum = 0;
    LogicTime->Init();
    DrawTime->Init();
    CodeTime->Init();
    FPS->Init();
    return 0;
}

std::vector<std::string> TGame::DebugLines() {
    TMemoryStatus memory = ccGetMemoryStatus();
    long long total = memory.dwTotalPhys;
    long long used = total - memory.dwAvailPhys;
    // With no total known the load reads 0 rather than an undefined number.
    std::string load = "0";
    if (total > 0) {
        load = FloatText(static_cast<float>(used) / static_cast<float>(total) * 100.0f);
        load = load.substr(0, load.find('.'));
    }
    std::vector<std::string> lines = {
        LogicTime->GetDisplay(),
        DrawTime->GetDisplay(),
        FPS->GetDisplay(),
        "Desk Hz " + std::to_string(DesktopRefreshRate),
        "Game Hz " + std::to_string(GameRefreshRate),
        FixedRateLogic->GetDisplay(),
        "Flip    " + std::to_string(ccFlipSync),
        "Fast    " + std::to_string(Fast),
        "Slow    " + std::to_string(SlowMotion),
        "VSync   " + std::to_string(VSync),
        "Timing  " + std::to_string(NoTiming == 0 ? 1 : 0),
        "Gfx Drv OpenGL",
        "Snd Drv " + SoundDriver,
        "Os Ver  " + OSVersion,
        // No garbage collector keeps a count of its own here.
        "GC Mem  0",
        "Win Mem " + std::to_string(used / 1024 / 1024) + "MB Used/" +
            std::to_string(total / 1024 / 1024) + "MB Total = " + load + "% Load",
        "M. Vol. " + std::to_string(MusicVolume) + " (" + OnOff(Music) + ")",
        "S. Vol. " + std::to_string(SoundVolume) + " (" + OnOff(Sound) + ")",
        "Sp. Vol." + std::to_string(SpeechVolume) + " (" + OnOff(Speech) + ")",
        "Mouse X " + std::to_string(Mouse->x),
        "Mouse Y " + std::to_string(Mouse->y),
        "Screen  " + (CurrentTScreen ? CurrentTScreen->name : std::string()),
        "Handle  " + std::to_string(WindowHandle),
        "Debug1  " + std::to_string(Debug1),
        "Debug2  " + std::to_string(Debug2),
        "Debug3  " + FloatText(Debug3),
        "Debug4  " + FloatText(Debug4),
    };
    if (GraphicPlacement) {
        lines.push_back("GP X    " + std::to_string(gpX));
        lines.push_back("GP Y    " + std::to_string(gpY));
    }
    return lines;
}

int TGame::DebugPrint() {
    if (!Debug)
        return 0;
    int count = GraphicPlacement ? 29 : 27;
    if (DebugPanel > 0) {
        platform::SetAlpha(DebugPanel);
        platform::SetColor(0, 0, 0);
        platform::DrawRect(static_cast<float>(DebugDisplayX - 5),
                           static_cast<float>(DebugDisplayY - 5), 350.0f,
                           static_cast<float>(count * 12 + 10));
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(1.0f);
    }
    platform::SetImageFont(nullptr);
    FPS->Calc();
    TTextCursor cursor;
    cursor.Init(DebugDisplayX, DebugDisplayY, 12);
    if (DebugShadow) {
        cursor.Shadow = 1;
        ccShadowTextSet(1.0f, 1.0f, 1.0f);
    }
    for (const auto& line : DebugLines())
        cursor.OutputNL(line);
    return 0;
}
