#pragma once
// The globals that start-up creates for the whole run: the banks every screen loads from and the
// screens themselves. They sit at the bottom of the game so that every game folder reaches them
// without including the start-up.

#include "framework/audio/game_sound.h"
#include "framework/graphics/game_image.h"
#include "framework/shell/screen.h"
#include "platform/graphics.h"

#include <memory>

// The image and sound banks every screen fetches its pictures and sounds from.
extern std::shared_ptr<TImageBank> images;
extern std::shared_ptr<TSoundBank> sounds;
// The background picture of the game's dialogs.
extern platform::ImagePtr DialogBG;

// Load the start-up sound bank and the start-up images (the drawn pointer, the image bank and the
// dialog background) from the game object's folders.
int LoadSounds();
int LoadImages();

// The screens, created once at start-up and kept for the whole run.
extern std::shared_ptr<TScreen> GameScreen;
extern std::shared_ptr<TScreen> TitleScreen;
extern std::shared_ptr<TScreen> OptionsScreen;
extern std::shared_ptr<TScreen> CreditsScreen;
extern std::shared_ptr<TScreen> InstructionsScreen;
