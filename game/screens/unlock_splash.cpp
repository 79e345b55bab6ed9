#include "game/screens/unlock_splash.h"

#include "framework/graphics/splash_screen.h"
#include "framework/shell/game.h"
#include "framework/util/ini.h"
#include "game/board/asset_names.h"

std::string UnlockPicturePath(const std::string& imageFolder, int n) {
    std::string stem = imageFolder + UNLOCK_IMAGE + (n == 0 ? std::string() : std::to_string(n));
    std::string png = stem + IMAGE_EXT;
    return ccFileExists(png) ? png : stem + ".jpg";
}

int UnlockSplash(int n) {
    auto splash = std::make_shared<TSplashScreen>();
    splash->TimeIn = 2000;
    splash->TimeFull = 10000;
    splash->TimeOut = 2000;
    splash->Init(UnlockPicturePath(Game->ImagePath, n), "", 1, 0);
    splash->DoSplash();
    return 0;
}
