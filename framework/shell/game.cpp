#include "framework/shell/game.h"

#include "framework/audio/channel_array.h"
#include "framework/audio/game_sound.h"
#include "framework/graphics/loading_screen.h"
#include "framework/graphics/mouse_pointer.h"
#include "framework/graphics/sprite.h"
#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game_fade.h"
#include "framework/shell/screen.h"
#include "framework/ui/high_score.h"
#include "framework/ui/my_profile.h"
#include "framework/util/globals.h"

// The skeleton of the game object: construction and the clock conversions. The shell's operations
// are added as the shell is built.

std::unique_ptr<TGame> Game;

TGame::TGame() {
    FixedRateLogic = std::make_shared<TFixedRateLogic>();
    LogicTime = std::make_shared<TDebugVar>();
    DrawTime = std::make_shared<TDebugVar>();
    CodeTime = std::make_shared<TDebugVar>();
    FPS = std::make_shared<TFPSCounter>();
    LoadingScreen = std::make_shared<TLoadingScreen>();
    ExitScreen = std::make_shared<TExitScreen>();
    GameFade = std::make_shared<TGameFade>();
    Mouse = std::make_shared<TMousePointer>();
    HighScores = std::make_shared<THighScoreList>();
    PausedMusicState = Music;
    PausedSpeechState = Speech;
}

TGame::~TGame() = default;

int TGame::Init(int choice) {
    (void)choice;
    FixedRateLogic->Create();
    return 0;
}

int TGame::IniUpdate(int flag) {
    (void)flag;
    return 0;
}

int TGame::ReadKeys() {
    return 0;
}

int TGame::MusicLoad(const std::string& file, int looped) {
    (void)file;
    (void)looped;
    return 0;
}

int TGame::MusicStop() {
    return 0;
}

int TGame::MusicPlay(int fadeIn) {
    (void)fadeIn;
    return 0;
}

int TGame::DoPeekEvent() {
    return 0;
}

int TGame::Fading() {
    return GameFade->Active;
}

float TGame::CalcAnimLength(int ms) {
    return static_cast<float>(ms) / FixedRateLogic->MS / CurrentSpeed;
}

float TGame::CalcAnimLengthFromFloat(float ms) {
    return ms / FixedRateLogic->MS / CurrentSpeed;
}
