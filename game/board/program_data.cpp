#include "game/board/program_data.h"

#include "framework/graphics/mouse_pointer.h"
#include "framework/shell/game.h"
#include "framework/util/assets.h"
#include "game/board/asset_names.h"

std::shared_ptr<TImageBank> images;
std::shared_ptr<TSoundBank> sounds;
platform::ImagePtr DialogBG;
std::shared_ptr<TScreen> GameScreen;
std::shared_ptr<TScreen> TitleScreen;
std::shared_ptr<TScreen> OptionsScreen;
std::shared_ptr<TScreen> CreditsScreen;
std::shared_ptr<TScreen> InstructionsScreen;

int LoadSounds() {
    for (const char* name : STARTUP_SOUNDS)
        sounds->Load(name, 1.0f, 1.0f, "", 0);
    return 0;
}

int LoadImages() {
    Game->Mouse->Load(POINTER_IMAGE);
    for (const auto& image : BANK_IMAGES) {
        if (image.frames > 0)
            images->LoadAnim(image.name, image.frameWidth, image.frameHeight, 0, image.frames, -1,
                             0);
        else
            images->Load(image.name, "", -1, 1);
    }
    DialogBG = ccLoadBitmap(Game->ImagePath + DIALOG_BACKGROUND, -1);
    return 0;
}
