// The display (a window or full screen of the logical 800 by 600 screen), the window's position,
// suspension and the system's request to end the program.

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/screen.h"
#include "framework/ui/my_profile.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "framework/util/records.h"
#include "framework/util/window.h"
#include "platform/audio.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"

#include <algorithm>

int TGame::GraphicsCreate() {
    DebugInt = 100;
    if (platform::CountGraphicsModes() <= 0)
        platform::RuntimeError("No 3D Hardware Found (could not count graphics modes.)");
    // The OpenGL 2D driver is the one driver of this platform.
    DebugInt = 10901;
    DebugInt = 10902;
    Driver = 1;
    DebugInt = 110;
    IniUpdate(0);

    if (FirstTime) {
        DebugInt = 112;
        FirstTime = 0;
        DesktopRefreshRate = 60;
        ccGetDesktopSize(DesktopWidth, DesktopHeight);
        if (FullScreen) {
            platform::Graphics(10, 10, 0, 60, 0);
            platform::EndGraphics();
        }
    }

    if (FullScreen) {
        const int depths[] = {32, 24, 16};
        const int codes[] = {114, 115, 116};
        bool opened = false;
        for (int i = 0; i < 3 && !opened; ++i) {
            DebugInt = codes[i];
            if (platform::GraphicsModeExists(ScreenWidth, ScreenHeight, depths[i]))
                opened = platform::Graphics(ScreenWidth, ScreenHeight, depths[i], Hertz, 0);
        }
        if (!opened) {
            DebugInt = 117;
            ForceWindowedMode = 1;
            FullScreen = 0;
        }
    }

    if (FullScreen) {
        DebugInt = 133;
        WindowHandle = 0;
    } else {
        DebugInt = 118;
        if (!platform::Graphics(ScreenWidth, ScreenHeight, 0, DesktopRefreshRate, 0)) {
            DebugInt = 28;
            platform::RuntimeError("Cannot create Windowed Mode at " + std::to_string(ScreenWidth) +
                                   "x" + std::to_string(ScreenHeight) + " " +
                                   std::to_string(DesktopRefreshRate) + "Hz");
        }
        DebugInt = 119;
        WindowHandle = ccGetActiveWindowOSX();
        DebugInt = 130;
        ccCentreWindowHandle(WindowHandle);
        DebugInt = 131;
        SetWindowCoords();
        SetClientCoords();
        DebugInt = 132;
        ccEnableMinimize(WindowHandle, 1);
    }

    DebugInt = 134;
    ccDisablePolledInput();
    DebugInt = 135;
    SetPriority();
    GameRefreshRate = -1;
    DebugInt = 136;
    ccSetIcon();
    DebugInt = 138;
    DebugInt = 139;
    return 0;
}

int TGame::SetPriority() {
    if (FullScreen)
        ccSetPriority(FullScreenProcess, FullScreenThread);
    else
        ccSetPriority(WindowedProcess, WindowedThread);
    return 0;
}

int TGame::ToggleFullScreen() {
    if (FullScreen) {
        FullScreen = 0;
    } else {
        if (ForceWindowedMode)
            return 0;
        FullScreen = 1;
        platform::HideMouse();
    }
    if (!FullScreen) {
        platform::EndGraphics();
        platform::PollSystem();
    }
    Mouse->ClearButtons();
    GraphicsCreate();
    if (FullScreen == 1) {
        Mouse->x = std::clamp(Mouse->x, 0, ScreenWidth - 1);
        Mouse->y = std::clamp(Mouse->y, 0, ScreenHeight - 1);
    }
    platform::MoveMouse(Mouse->x, Mouse->y);
    IniUpdate(1);
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
    return 0;
}

int TGame::ToggleVSync() {
    VSync = VSync == 0 ? 1 : 0;
    IniUpdate(1);
    SetFlipSync();
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
    return 0;
}

int TGame::SetDriver(int driver) {
    if ((driver == 0 && Driver == 0) || (driver != 0 && Driver == 1))
        return 0;
    Driver = driver != 0 ? 1 : 0;
    platform::EndGraphics();
    GraphicsCreate();
    platform::MoveMouse(Mouse->x, Mouse->y);
    IniUpdate(1);
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
    return 1;
}

int TGame::SetGP(int x, int y) {
    gpX = x;
    gpY = y;
    return 0;
}

int TGame::CheckWindow() {
    if (GameTerminated() == -1)
        return -1;
    if (SuspendedEvent && !Suspended) {
        if (PauseOnLossOfFocus && !Paused) {
            Paused = 1;
            Pause();
        }
        if (!Paused)
            Pause(); // silences music and speech as a pause does, without pausing the game
        Suspended = 1;
        platform::ShowMouse();
    } else if (!SuspendedEvent && Suspended) {
        if (!Paused)
            UnPause();
        FixedRateLogic->Init();
        Suspended = 0;
        platform::HideMouse();
        ccFlushAll();
    }
    if (!Suspended && !Paused) {
        if (Music == 1 && MusicLooped == 0 && !platform::ChannelPlaying(MusicChannel))
            MusicStopped = 1;
        if (Speech == 1 && !platform::ChannelPlaying(SpeechChannel))
            SpeechStopped = 1;
        MusicFadeInManage();
    }
    if (Suspended)
        platform::Delay(1);
    return 1;
}

int TGame::SetWindowCoords() {
    TPoint origin = ccGetWindowOriginOSX(WindowHandle);
    WindowX = origin.X;
    WindowY = origin.Y;
    if (!FullScreen)
        WindowY = DesktopHeight - WindowY - ScreenHeight;
    return 0;
}

int TGame::SetClientCoords() {
    // Full screen is a window covering the desktop, without a handle of its own here; the pointer
    // is measured from its real origin all the same (it need not be the desktop's), which comes
    // back from the reported one as in a window.
    const int window = FullScreen ? ccGetActiveWindowOSX() : WindowHandle;
    TPoint origin = ccGetWindowOriginOSX(window);
    ClientX = origin.X;
    ClientY = DesktopHeight - origin.Y - ScreenHeight;
    return 0;
}

int TGame::GameTerminated() {
    if (!TerminatedEvent)
        return 1;
    TerminatedEvent = 0;
    if (TerminatedUserFunction && TerminatedUserFunction() != 0)
        return 1;
    InstantExit = 1;
    if (CurrentProfile && CurrentTScreen && CurrentTScreen->name == "game")
        CurrentProfile->Save();
    return -1;
}
