#include "game/app/program.h"

#include "framework/audio/channel_array.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/graphics/splash_screen.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/ui/my_profile.h"
#include "framework/util/drawing.h"
#include "framework/util/error.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "framework/util/window.h"
#include "game/app/my_game.h"
#include "game/board/asset_names.h"
#include "game/board/board_globals.h"
#include "game/board/game_screen.h"
#include "game/board/program_data.h"
#include "game/net/network_game_logic.h"
#include "game/screens/options_screen.h"
#include "game/screens/picture_screens.h"
#include "game/screens/title_screen.h"
#include "platform/graphics.h"
#include "platform/system.h"

#include <exception>

namespace {

// The values that make this game what it is, set on the game object around its start-up.
void SetUpGame() {
    Game->SoundDriver = "OpenAL";
    Game->MusicVolume = 20;
    Game->FullScreen = 0;
    Game->DataInAppBundle = 1;
    Game->SetSubPathWrapper("Pelorin Demo");
    Game->CheckGoodExit();
    Game->Init(0);
    Game->ChannelsCreate(16);
    Game->Channels->MaxVol = 16.0f;
    Game->DebugDisplayX = 5;
    Game->DebugDisplayY = 5;
    Game->IgnorePauseKey = 1;
    Game->IgnoreFrameworkKeys = 1;
    Game->Mouse->On();
    Game->FadeMusic = 0;
    Game->SetEscapeSound(ESCAPE_SOUND);
    Game->IgnoreDebugKey = 1;
}

// Start-up before the guarded phase: the game object, its settings and folders, the banks, the
// player arrays and the screens. No display is open yet.
void StartUp() {
    ccCreateInputArrays();
    ccCreateMutex("Pelorin Demo");
    platform::SetAppTitle("Pelorin Demo v1.0");
    ScreenWidth = 800;
    ScreenHeight = 600;
    ccGraphicalErrors = 0;
    Game = std::make_unique<TMyGame>();
    SetUpGame();

    images = std::make_shared<TImageBank>();
    images->SetPath(Game->ImagePath);
    sounds = std::make_shared<TSoundBank>();
    sounds->SetPath(Game->SoundPath);

    ComputerPlayer = {};
    PlayerName = {};
    PlayerColor = {};

    GameScreen = std::make_shared<TGameScreen>();
    TitleScreen = std::make_shared<TTitleScreen>();
    OptionsScreen = std::make_shared<TOptionsScreen>();
    CreditsScreen = std::make_shared<TCreditsScreen>();
    InstructionsScreen = std::make_shared<TInstructionsScreen>();
    InstallNetworkHooks();
}

// The guarded phase: the display, the data, then the main loop for ever.
[[noreturn]] void RunGuarded() {
    ccGraphicalErrors = 1;
    Game->GraphicsCreate();
    PlayerColor[0] = TColor::Create(240, 240, 240, 1.0f);
    PlayerColor[1] = TColor::Create(0, 0, 255, 1.0f);
    PlayerColor[2] = TColor::Create(0, 255, 0, 1.0f);
    PlayerColor[3] = TColor::Create(255, 229, 153, 1.0f);
    platform::HideMouse();
    if (Game->PortalSplash)
        PortalSplash(0, 0, 0, 0);
    LoadData();
    ccFlushAllQueued();
    Game->FixedRateLogic->Init();
    for (;;) {
        if (Game->MainLogicLoop() == -1)
            Shutdown(0);
        Game->ScreenDraw();
    }
}

} // namespace

int RunProgram() {
    // A fatal error here (a game folder that cannot be made, a missing sound, settings that cannot
    // be written) was shown where it was raised: logged, it ends the process with a failure.
    try {
        StartUp();
    } catch (const platform::TProcessEnd&) {
        throw;
    } catch (...) {
        HandleStartUpError(std::current_exception());
    }
    try {
        RunGuarded();
    } catch (const platform::TProcessEnd&) {
        throw;
    } catch (...) {
        // Whatever was thrown in start-up or in a later frame: shown, then the orderly end.
        HandleGeneralError(std::current_exception());
        Shutdown(1);
    }
}

int LoadData() {
    platform::AutoMidHandle(true);
    ccClsVSync(0, 0, 0);
    LoadSounds();
    LoadImages();
    auto profile = std::make_shared<TMyProfile>();
    profile->Name = "player";
    profile->Load();
    Game->CurrentProfile = profile;
    TitleScreen->Load();
    TitleScreen->Start();
    Game->CurrentTScreen = TitleScreen;
    return 0;
}

void Shutdown(int status) {
    TMyGame::MakeGoodExit();
    platform::ShowMouse();
    CleanUp();
    platform::End(status);
}

int CleanUp() {
    return 0;
}
