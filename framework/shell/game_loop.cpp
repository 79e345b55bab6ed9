// One frame of the program: the logic ticks the clock says are due, each pumping events, reading
// the hot keys and running the fade and the current screen, then one drawn frame.

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/screen.h"
#include "framework/util/drawing.h"
#include "framework/util/error.h"
#include "framework/util/input.h"
#include "platform/input.h"

#include <cmath>

int TGame::MainLogicLoop() {
    FixedRateLogic->Calc();
    if (NoTiming)
        FixedRateLogic->NumTicks = NoTimingTicks;
    LogicTime->Start();
    double ticks = FixedRateLogic->NumTicks;
    double whole = std::floor(ticks);
    for (double i = 1; i <= whole; ++i) {
        FixedRateLogic->SetDelta(1.0f);
        if (LogicWrapper() == -1)
            return -1;
    }
    double rest = std::fmod(ticks, 1.0);
    if (rest > 0) {
        FixedRateLogic->SetDelta(static_cast<float>(rest));
        if (LogicWrapper() == -1)
            return -1;
    }
    LogicTime->Calc();
    return 1;
}

int TGame::LogicWrapper() {
    // A click counts in exactly one tick: the hits of the last tick go before the pump.
    Mouse->ClearMouseHit();
    Mouse->Manage();
    DoPeekEvent();
    ReadKeys();
    if (InstantExit)
        return -1;
    if (Paused || Suspended)
        return 0;
    GameFade->Manage();
    if (!Fading() || GameFade->AllowAnim) {
        ScreenChange();
        if (CurrentTScreen)
            CurrentTScreen->Logic();
    }
    return 1;
}

// Applies one event of the queue to the input arrays and the pointer; suspend and resume are
// passed back to the caller, which decides about them.
static void ApplyInputEvent(TGame& game, const platform::TEvent& event) {
    TMousePointer& mouse = *game.Mouse;
    int code = event.data;
    switch (event.id) {
    case platform::EVENT_MOUSEMOVE:
        mouse.x = event.x;
        mouse.y = event.y;
        break;
    case platform::EVENT_MOUSEDOWN:
        mouse.ClearMouseHit();
        if (code == 1) {
            mouse.b1 = 1;
            ++mouse.h1;
        } else if (code == 2) {
            mouse.b2 = 1;
            ++mouse.h2;
        } else if (code == 3) {
            mouse.b3 = 1;
            ++mouse.h3;
        }
        mouse.CalcButtonTotals();
        break;
    case platform::EVENT_MOUSEUP:
        if (code == 1)
            mouse.b1 = 0;
        else if (code == 2)
            mouse.b2 = 0;
        else if (code == 3)
            mouse.b3 = 0;
        mouse.CalcButtonTotals();
        break;
    case platform::EVENT_MOUSEWHEEL:
        mouse.z += code;
        break;
    case platform::EVENT_KEYDOWN:
        ccInputKeyDown(code);
        break;
    case platform::EVENT_KEYUP:
        ccInputKeyUp(code);
        break;
    case platform::EVENT_KEYCHAR:
        ccInputChar(code);
        break;
    case platform::EVENT_APPTERMINATE:
        game.TerminatedEvent = 1;
        break;
    default:
        break;
    }
}

int TGame::DoPeekEvent() {
    while (platform::PeekEvent()) {
        platform::PollEvent();
        const platform::TEvent& event = platform::CurrentEvent();
        if (event.id == platform::EVENT_APPSUSPEND)
            SuspendedEvent = 1;
        else if (event.id == platform::EVENT_APPRESUME)
            SuspendedEvent = 0;
        else
            ApplyInputEvent(*this, event);
    }
    return 0;
}

int TGame::PumpInputEvents() {
    while (platform::PeekEvent()) {
        platform::PollEvent();
        ApplyInputEvent(*this, platform::CurrentEvent());
    }
    return 0;
}

int TGame::ScreenDraw() {
    DrawTime->Start();
    if (NoDraw) {
        NoDraw = 0;
        return 0;
    }
    if (CurrentTScreen)
        CurrentTScreen->Draw();
    if (!GameFade->Active)
        ShowPaused();
    if (FadeMouse)
        Mouse->Draw();
    GameFade->Draw();
    if (GameFade->Active)
        ShowPaused();
    if (!FadeMouse)
        Mouse->Draw();
    DrawTime->Calc();
    DebugPrint();
    PostDraw();
    return 0;
}

int TGame::PostDraw() {
    ccFlip();
    return 0;
}

int TGame::ScreenChange() {
    if (!GameFade->GetDone() || GameFade->Out != 1 || !CurrentTScreen)
        return 0;
    if (!CurrentTScreen->StopKill)
        CurrentTScreen->Kill();
    if (!DestinationTScreen)
        ccRunTimeError(
            "Screen '" + CurrentTScreen->name + "' does not have a destination screen set!", 1);
    LastTScreen = CurrentTScreen;
    if (DestinationTScreen == ExitScreen) {
        InstantExit = 1;
        CurrentTScreen = ExitScreen;
    } else {
        DestinationTScreen->PreStart();
    }
    ccFlushAll();
    return 0;
}
