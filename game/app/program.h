#pragma once
// The program: start-up, the shared data loaded once, the main loop and the orderly end; and the
// globals that start-up creates for the whole run.

#include "framework/audio/game_sound.h"
#include "framework/graphics/game_image.h"
#include "framework/shell/screen.h"
#include "framework/util/color.h"
#include "platform/graphics.h"

#include <array>
#include <memory>
#include <string>

// The image and sound banks every screen fetches its pictures and sounds from.
extern std::shared_ptr<TImageBank> images;
extern std::shared_ptr<TSoundBank> sounds;
// The background picture of the game's dialogs.
extern platform::ImagePtr DialogBG;

// The players: 1 and 2 (index 0 unused), with colour 0 for the system's lines and 3 for
// highlighted lines.
extern std::array<int, 3> ComputerPlayer;
extern std::array<std::string, 3> PlayerName;
extern std::array<std::shared_ptr<TColor>, 4> PlayerColor;

// The screens, created once at start-up and kept for the whole run.
extern std::shared_ptr<TScreen> GameScreen;
extern std::shared_ptr<TScreen> TitleScreen;
extern std::shared_ptr<TScreen> OptionsScreen;
extern std::shared_ptr<TScreen> CreditsScreen;
extern std::shared_ptr<TScreen> InstructionsScreen;

// Runs the whole program; it ends the process in Shutdown or in a fatal error, so it returns only
// when a test has replaced the end of the process.
int RunProgram();
// Loads the shared sounds, images and the player profile, then shows the first screen.
int LoadData();
int LoadSounds();
int LoadImages();
// Ends the process in order: the good-exit marker, the system pointer, then the exit status (0
// after a normal end, non-zero after an error that start-up caught).
[[noreturn]] void Shutdown(int status = 0);
// Hook for releasing the game's resources before the end.
int CleanUp();
