#include "framework/shell/game.h"

#include "framework/audio/audio_stream.h"
#include "framework/audio/channel_array.h"
#include "framework/audio/game_sound.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/graphics/sprite.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/loading_screen.h"
#include "framework/shell/screen.h"
#include "framework/ui/high_score.h"
#include "framework/ui/my_profile.h"
#include "framework/ui/profile.h"
#include "framework/util/date_time.h"
#include "framework/util/drawing.h"
#include "framework/util/error.h"
#include "framework/util/globals.h"
#include "framework/util/ini.h"
#include "framework/util/ini_file.h"
#include "framework/util/input.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/system.h"

#include <vector>

std::unique_ptr<TGame> Game;

namespace {

// The input layer's FlushMouse, in normal mode: the global game object's drawn pointer forgets its
// buttons.
void FlushGameMouse() {
    if (Game && Game->Mouse)
        Game->Mouse->ClearButtons();
}

} // namespace

void ResetGlobals() {
    Game.reset();
    Delta = 1.0f;
    ScreenWidth = 800;
    ScreenHeight = 600;
    DebugInt = 0;
    ShowErrors = 1;
    ccDisablePolledInput();
    ccCreateInputArrays();
    FlushDrawnMouseHook = nullptr;
    MouseVisible = 0;
    ccGraphicalErrors = 1;
    ccWriteErrors = 1;
    ccErrorPath.clear();
    ccFlipSync = 1;
    ccShadowTextSet(1.0f, 1.0f, 0.5f);
    ccTextAlpha = 1.0f;
    TDateTime::Language = TDateTime::lngEnglish;
    TProfile::CreateUserFunction = nullptr;
    TAudioStream::Timer = nullptr;
}

TGame::TGame() {
    Ini = std::make_shared<TIniFile>();
    FixedRateLogic = std::make_shared<TFixedRateLogic>();
    LogicTime = std::make_shared<TDebugVar>();
    DrawTime = std::make_shared<TDebugVar>();
    CodeTime = std::make_shared<TDebugVar>();
    FPS = std::make_shared<TFPSCounter>();
    LoadingScreen = std::make_shared<TLoadingScreen>();
    ExitScreen = std::make_shared<TExitScreen>();
    GameFade = std::make_shared<TGameFade>();
    Mouse = std::make_shared<TMousePointer>();
    FlushDrawnMouseHook = FlushGameMouse;
    HighScores = std::make_shared<THighScoreList>();
    PausedMusicState = Music;
    PausedSpeechState = Speech;
}

TGame::~TGame() = default;

int TGame::Init(int choice) {
    // A seed of this run: the millisecond clock counts from the program's own start, so every
    // session would throw the same dice.
    platform::SeedRnd(platform::RunSeed());
    FixedRateLogic->Label = "Ticks   ";
    LogicTime->Label = "Logic   ";
    DrawTime->Label = "Draw    ";
    CodeTime->Label = "Code    ";
    FPS->Label = "FPS     ";

    std::vector<std::string> names;
    if (UseCorrectPath && !platform::ReadDir(SubPath, names)) {
        if (!platform::CreateDir(SubPath, true))
            ccRunTimeError("Cannot create shared data folder " + SubPath, 1);
    }

    Ini->FileName = IniFilePath().substr(0, IniFilePath().size() - 4);
    IniFill();
    std::string iniFile = Ini->FileName + ".ini";
    if (!ccFileExists(iniFile) && ccFileExists(DataPrefix + "data/Default.ini"))
        platform::CopyFile(DataPrefix + "data/Default.ini", iniFile);
    Ini->Load();
    IniExtract();

    if (!platform::ReadDir(ProfilePath, names)) {
        if (!platform::CreateDir(ProfilePath, false))
            ccRunTimeError("Cannot create shared profiles folder " + ProfilePath, 1);
    }
    // A save killed before its rename leaves a temporary file, and a save removes only those of
    // its own file: the profiles may not be saved again for a long time. The game's own folder
    // holds the settings and is swept whole; beside the program, only the settings' files go.
    const size_t folderEnd = iniFile.rfind('/') + 1; // 0 without a folder
    platform::RemoveAbandonedTemps(iniFile.substr(0, folderEnd),
                                   UseCorrectPath ? "" : iniFile.substr(folderEnd));
    platform::RemoveAbandonedTemps(ProfilePath);

    SetFlipSync();

    if (choice == 1)
        ChangeSoundDriver("FreeAudio", 0);
    else if (choice == 2)
        ChangeSoundDriver("DirectSound", 0);
    else if (choice == 3)
        ChangeSoundDriver("OpenAL Generic Software", 0);
    else if (choice <= 0)
        ChangeSoundDriver(SoundDriver, 0);

    FixedRateLogic->Create();
    MusicChannel = platform::AllocChannel();
    SpeechChannel = platform::AllocChannel();
    EscapeChannel = platform::AllocChannel();
    return 0;
}

int TGame::Kill() {
    platform::StopChannel(MusicChannel);
    MusicChannel = nullptr;
    platform::StopChannel(SpeechChannel);
    SpeechChannel = nullptr;
    platform::StopChannel(EscapeChannel);
    EscapeChannel = nullptr;
    ChannelsKill();
    return 0;
}

float TGame::CalcAnimLength(int ms) {
    return static_cast<float>(ms) / FixedRateLogic->MS / CurrentSpeed;
}

float TGame::CalcAnimLengthFromFloat(float ms) {
    return ms / FixedRateLogic->MS / CurrentSpeed;
}
