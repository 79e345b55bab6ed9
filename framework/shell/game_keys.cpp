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

} // namespace

int TGame::ReadKeys() {
    return ReadHotKeys(1);
}

int TGame::ReadHotKeys(int withExtraKeys) {
    if (CheckWindow() == -1) {
        if (!FadeOnExit)
            return -1;
        InstantExit = 0;
        // A running fade-in would refuse the fade-out: complete it first, so that the request
        // to close is never lost.
        if (GameFade->Active && !GameFade->Out)
            GameFade->Finish();
        LeaveTo(ExitScreen, MusicChannel);
    }
    if (BlockKeys)
        return 0;

    if (!IgnorePauseKey) {
        if (KeyHit(FRAMEWORK_PAUSE_KEY) || (Paused && Mouse->GetMh(1))) {
            Paused = Paused ? 0 : 1;
            if (Paused)
                Pause();
            else
                UnPause();
            ccFlushAll();
        }
    }

    if (KeyHit(KEY_ESCAPE)) {
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
    }

    if ((KeyDown(KEY_LALT) || KeyDown(KEY_RALT)) && KeyHit(KEY_ENTER)) {
        ToggleFullScreen();
        FlushKeys();
    }

    if (!IgnoreFrameworkKeys) {
        if (KeyHit(FRAMEWORK_VOLUME_DOWN_KEY)) {
            SoundChangeVolume(-10);
            MusicChangeVolume(-10);
            SpeechChangeVolume(-10);
            FlushKeys();
        }
        if (KeyHit(FRAMEWORK_VOLUME_UP_KEY)) {
            SoundChangeVolume(10);
            MusicChangeVolume(10);
            SpeechChangeVolume(10);
            FlushKeys();
        }
        if (KeyDown(FRAMEWORK_EXIT_KEY) && (KeyDown(KEY_LCONTROL) || KeyDown(KEY_RCONTROL))) {
            InstantExit = 1;
            if (CurrentProfile && CurrentTScreen && CurrentTScreen->name == "game")
                CurrentProfile->Save();
        }
        if (KeyHit(FRAMEWORK_FULLSCREEN_KEY)) {
            ToggleFullScreen();
            FlushKeys();
        }
        if (withExtraKeys && KeyHit(FRAMEWORK_BOSS_KEY)) {
            ccMinimiseWindow(WindowHandle);
            platform::Flip(-1);
            FlushKeys();
        }
        if (KeyHit(FRAMEWORK_MUSIC_KEY)) {
            ToggleMusic();
            FlushKeys();
        }
        if (KeyHit(FRAMEWORK_SOUND_KEY)) {
            ToggleSound();
            FlushKeys();
        }
        if (Debug && KeyHit(FRAMEWORK_FAST_KEY)) {
            if (!Fast) {
                FastOn();
                SlowMotionOff();
            } else {
                FastOff();
            }
            FlushKeys();
        }
        if (Debug && KeyHit(FRAMEWORK_SLOW_KEY)) {
            if (!SlowMotion) {
                SlowMotionOn();
                FastOff();
            } else {
                SlowMotionOff();
            }
            FlushKeys();
        }
        if (KeyHit(FRAMEWORK_SCREENSHOT_KEY)) {
            ccScreenShot(UseCorrectPath ? SubPath : std::string());
            FlushKeys();
            FixedRateLogic->Init();
        }
        if (Debug && KeyHit(FRAMEWORK_FLIPSYNC_KEY)) {
            ccFlipSync += 1;
            if (ccFlipSync == 2)
                ccFlipSync = -1;
            FlushKeys();
        }
        if (Debug && KeyHit(FRAMEWORK_NOTIMING_KEY)) {
            NoTiming = NoTiming ? 0 : 1;
            FlushKeys();
        }
        if (KeyHit(FRAMEWORK_VSYNC_KEY)) {
            ToggleVSync();
            FlushKeys();
        }
        if (KeyHit(FRAMEWORK_GRAPHICS_KEY)) {
            SetDriver(Driver == 0 ? 1 : 0);
            FlushKeys();
        }
        if (withExtraKeys && KeyHit(FRAMEWORK_SOUNDDRIVER_KEY)) {
            std::string next = NextSoundDriver(SoundDriver);
            if (!next.empty())
                ChangeSoundDriver(next, 1);
            FlushKeys();
        }
    }

    if (!IgnoreDebugKey && KeyHit(FRAMEWORK_DEBUG_KEY)) {
        Debug = Debug ? 0 : 1;
        if (Debug) {
            DebugReset();
            LogicTime->Start();
        }
        FlushKeys();
    }

    if (GraphicPlacement) {
        if (KeyHit(KEY_LEFT))
            --gpX;
        if (KeyHit(KEY_RIGHT))
            ++gpX;
        if (KeyHit(KEY_UP))
            --gpY;
        if (KeyHit(KEY_DOWN))
            ++gpY;
    }

    if (!Paused && !Suspended && CurrentTScreen)
        CurrentTScreen->SpecificKeys();
    return 1;
}
