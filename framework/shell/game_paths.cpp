// The data folders (read-only, beside the program) and the game's own writable folder inside the
// shared user-data folder.

#include "framework/shell/game.h"
#include "framework/util/error.h"
#include "framework/util/ini.h"
#include "platform/system.h"

int TGame::SetDefaultPaths() {
    // The data lies beside the executable, so the game runs from any working directory.
    if (DataInAppBundle == 1)
        DataPrefix = platform::AppDir();
    SetImagePath(DataPrefix + "Data/graphics");
    SetSoundPath(DataPrefix + "Data/sound");
    SetMusicPath(DataPrefix + "Data/music");
    SetSpeechPath(DataPrefix + "Data/speech");
    SetMenuPath(DataPrefix + "Data/menus");
    if (UseCorrectPath)
        SetProfilePath("profiles");
    else
        SetProfilePath(DataPrefix + "Data/profiles");
    SetTextPath(DataPrefix + "Data/text");
    return 0;
}

int TGame::SetSubPath(const std::string& path) {
    SubPath = path.empty() ? std::string() : ccAddSlash(path);
    if (UseCorrectPath) {
        SubPath = ccAddSlash(platform::SharedUserDataFolder()) + SubPath;
        ApplySubPath();
    }
    ccErrorPath = SubPath;
    return 0;
}

int TGame::SetSubPathWrapper(const std::string& folderName) {
    SetDefaultPaths();
    return SetSubPath(folderName);
}

int TGame::ApplySubPath() {
    return SetProfilePath(SubPath + ProfilePath);
}

int TGame::SetImagePath(const std::string& path) {
    ImagePath = ccAddSlash(path);
    return 0;
}

int TGame::SetSoundPath(const std::string& path) {
    SoundPath = ccAddSlash(path);
    return 0;
}

int TGame::SetMusicPath(const std::string& path) {
    MusicPath = ccAddSlash(path);
    return 0;
}

int TGame::SetSpeechPath(const std::string& path) {
    SpeechPath = ccAddSlash(path);
    return 0;
}

int TGame::SetMenuPath(const std::string& path) {
    MenuPath = ccAddSlash(path);
    return 0;
}

int TGame::SetProfilePath(const std::string& path) {
    ProfilePath = ccAddSlash(path);
    return 0;
}

int TGame::SetTextPath(const std::string& path) {
    TextPath = ccAddSlash(path);
    return 0;
}
