// The framework's hot keys, read once per logic tick before the current screen's logic.

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/hot_keys.h"
#include "framework/shell/screen.h"
#include "framework/ui/my_profile.h"
#include "framework/util/assets.h"
#include "framework/util/drawing.h"
#include "framework/util/input.h"
#include "framework/util/window.h"
#include "platform/graphics.h"
#include "platform/input.h"

#include <cstddef>
#include <string>

namespace {

constexpr int KEY_ESCAPE = 27;
constexpr int KEY_ENTER = 13;
constexpr int KEY_LALT = 164, KEY_RALT = 165;
constexpr int KEY_LCONTROL = 162, KEY_RCONTROL = 163;
constexpr int KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40;

// The next sound driver of the framework's driver key; "" leaves the driver as it is.
std::string NextSoundDriver(const std::string& driver) {
    if (driver == "FreeAudio")
        return "DirectSound";
    if (driver == "DirectSound")
        return "OpenAL Generic Software";
    if (driver == "OpenAL Generic Software" || driver == "None")
        return "FreeAudio";
    return "";
}

// A framework key that acts when hit; the other pending hits of the tick are then dropped, so
// one press causes one action. The key is read through its global, which a game may change.
struct THotKey {
    const int* key;
    bool debugOnly; // read only while the debug overlay is on; otherwise the hit stays pending
    bool extraOnly; // the framework's own reader only, not the game's
    void (*action)(TGame& game);
};

void ChangeAllVolumes(TGame& game, int step) {
    game.SoundChangeVolume(step);
    game.MusicChangeVolume(step);
    game.SpeechChangeVolume(step);
}

// Read before the exit chord, which a flush after them would hide.
constexpr THotKey VOLUME_KEYS[] = {
    {&FRAMEWORK_VOLUME_DOWN_KEY, false, false, [](TGame& g) { ChangeAllVolumes(g, -10); }},
    {&FRAMEWORK_VOLUME_UP_KEY, false, false, [](TGame& g) { ChangeAllVolumes(g, 10); }},
};

// In the order they are read: a hit flushes the hits of the keys after it.
constexpr THotKey SWITCH_KEYS[] = {
    {&FRAMEWORK_FULLSCREEN_KEY, false, false, [](TGame& g) { g.ToggleFullScreen(); }},
    {&FRAMEWORK_BOSS_KEY, false, true,
     [](TGame& g) {
         ccMinimiseWindow(g.WindowHandle);
         platform::Flip(-1);
     }},
    {&FRAMEWORK_MUSIC_KEY, false, false, [](TGame& g) { g.ToggleMusic(); }},
    {&FRAMEWORK_SOUND_KEY, false, false, [](TGame& g) { g.ToggleSound(); }},
    {&FRAMEWORK_FAST_KEY, true, false,
     [](TGame& g) {
         if (g.Fast) {
             g.FastOff();
             return;
         }
         g.FastOn();
         g.SlowMotionOff();
     }},
    {&FRAMEWORK_SLOW_KEY, true, false,
     [](TGame& g) {
         if (g.SlowMotion) {
             g.SlowMotionOff();
             return;
         }
         g.SlowMotionOn();
         g.FastOff();
     }},
    // The time the screenshot took causes no catch-up burst of logic ticks.
    {&FRAMEWORK_SCREENSHOT_KEY, false, false,
     [](TGame& g) {
         ccScreenShot(g.UseCorrectPath ? g.SubPath : std::string());
         g.FixedRateLogic->Init();
     }},
    // The flip sync steps 1 -> -1 -> 0 -> 1.
    {&FRAMEWORK_FLIPSYNC_KEY, true, false,
     [](TGame&) { ccFlipSync = ccFlipSync == 1 ? -1 : ccFlipSync + 1; }},
    {&FRAMEWORK_NOTIMING_KEY, true, false, [](TGame& g) { g.NoTiming = g.NoTiming ? 0 : 1; }},
    {&FRAMEWORK_VSYNC_KEY, false, false, [](TGame& g) { g.ToggleVSync(); }},
    {&FRAMEWORK_GRAPHICS_KEY, false, false, [](TGame& g) { g.SetDriver(g.Driver == 0 ? 1 : 0); }},
    {&FRAMEWORK_SOUNDDRIVER_KEY, false, true,
     [](TGame& g) {
         const std::string next = NextSoundDriver(g.SoundDriver);
         if (!next.empty())
             g.ChangeSoundDriver(next, 1);
     }},
};

template <std::size_t N>
void ReadKeyTable(TGame& game, const THotKey (&table)[N], int withExtraKeys) {
    for (const THotKey& hotKey : table) {
        if ((hotKey.debugOnly && !game.Debug) || (hotKey.extraOnly && !withExtraKeys))
            continue;
        if (KeyHit(*hotKey.key)) {
            hotKey.action(game);
            FlushKeys();
        }
    }
}

} // namespace

int TGame::ReadKeys() {
    return ReadHotKeys(1);
}

int TGame::ReadHotKeys(int withExtraKeys) {
    if (ReadCloseRequest() == -1)
        return -1;
    if (BlockKeys)
        return 0;
    if (!IgnorePauseKey)
        ReadPauseKey();
    ReadEscapeKey();
    // Alt+Enter works whatever IgnoreFrameworkKeys says; Enter alone is left to the screen.
    if ((KeyDown(KEY_LALT) || KeyDown(KEY_RALT)) && KeyHit(KEY_ENTER)) {
        ToggleFullScreen();
        FlushKeys();
    }
    if (!IgnoreFrameworkKeys)
        ReadFrameworkKeys(withExtraKeys);
    if (!IgnoreDebugKey)
        ReadDebugKey();
    if (GraphicPlacement)
        ReadPlacementKeys();
    if (!Paused && !Suspended && CurrentTScreen)
        CurrentTScreen->SpecificKeys();
    return 1;
}

int TGame::ReadCloseRequest() {
    if (CheckWindow() != -1)
        return 0;
    if (!FadeOnExit)
        return -1;
    InstantExit = 0;
    // A running fade-in would refuse the fade-out: complete it first, so that the request to
    // close is never lost.
    if (GameFade->Active && !GameFade->Out)
        GameFade->Finish();
    LeaveTo(ExitScreen, MusicChannel);
    return 0;
}

int TGame::ReadPauseKey() {
    if (KeyHit(FRAMEWORK_PAUSE_KEY) || (Paused && Mouse->GetMh(1))) {
        Paused = Paused ? 0 : 1;
        if (Paused)
            Pause();
        else
            UnPause();
        ccFlushAll();
    }
    return 0;
}

int TGame::ReadEscapeKey() {
    if (!KeyHit(KEY_ESCAPE))
        return 0;
    if (Fading()) {
        if (!GameFade->Out) {
            GameFade->FadeInAborted = 1;
            GameFade->AbortKey = 0;
        }
        GameFade->Finish();
    } else if (Paused) {
        Paused = 0;
        UnPause();
        ccFlushAll();
    } else if (!IgnoreEscapeKey) {
        EscapeSoundPlay();
        int length = CurrentTScreen ? CurrentTScreen->SetEscDestination() : 0;
        if (length == 0)
            length = FADE_SPEED;
        GameFade->Init(static_cast<float>(length), 1, FadeMusic ? MusicChannel : nullptr, 1, 0);
        FadeMusic = 1;
    } else {
        // Escape belongs to a dialog of the screen: leave the hit for it.
        Keys[KEY_ESCAPE] = 1;
    }
    return 0;
}

int TGame::ReadFrameworkKeys(int withExtraKeys) {
    ReadKeyTable(*this, VOLUME_KEYS, withExtraKeys);
    // Ctrl+X ends the program before the screen's logic of this tick; it flushes nothing.
    if (KeyDown(FRAMEWORK_EXIT_KEY) && (KeyDown(KEY_LCONTROL) || KeyDown(KEY_RCONTROL))) {
        InstantExit = 1;
        if (CurrentProfile && CurrentTScreen && CurrentTScreen->name == "game")
            CurrentProfile->Save();
    }
    ReadKeyTable(*this, SWITCH_KEYS, withExtraKeys);
    return 0;
}

int TGame::ReadDebugKey() {
    if (KeyHit(FRAMEWORK_DEBUG_KEY)) {
        Debug = Debug ? 0 : 1;
        if (Debug) {
            DebugReset();
            LogicTime->Start();
        }
        FlushKeys();
    }
    return 0;
}

// The arrows move the graphic placement offsets, each read on its own and flushing nothing.
int TGame::ReadPlacementKeys() {
    if (KeyHit(KEY_LEFT))
        --gpX;
    if (KeyHit(KEY_RIGHT))
        ++gpX;
    if (KeyHit(KEY_UP))
        --gpY;
    if (KeyHit(KEY_DOWN))
        ++gpY;
    return 0;
}
