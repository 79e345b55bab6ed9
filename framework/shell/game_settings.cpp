// The settings: between the game object's fields and the settings file, the crash-recovery
// markers, and the particle amount.

#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/ini.h"
#include "framework/util/ini_file.h"
#include "framework/util/numbers.h"
#include "framework/util/strings.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/system.h"

#include <string>

namespace {

// One setting: its key as added, and the field it travels to and from.
struct TSettingKey {
    const char* key;
    int TGame::*number;
    std::string TGame::*text;
};

const TSettingKey SETTINGS[] = {
    {"Full Screen", &TGame::FullScreen, nullptr},
    {"Sound", &TGame::Sound, nullptr},
    {"Music", &TGame::Music, nullptr},
    {"Speech", &TGame::Speech, nullptr},
    {"Sound Volume", &TGame::SoundVolume, nullptr},
    {"Music Volume", &TGame::MusicVolume, nullptr},
    {"Speech Volume", &TGame::SpeechVolume, nullptr},
    {"Fade", &TGame::Fade, nullptr},
    {"Particles", &TGame::Particles, nullptr},
    {"Portal Splash", &TGame::PortalSplash, nullptr},
    {"Portal Splash2", &TGame::PortalSplash2, nullptr},
    {"Intro", &TGame::IntroShow, nullptr},
    {"VSync", &TGame::VSync, nullptr},
    {"Driver", &TGame::Driver, nullptr},
    {"Sound Driver", nullptr, &TGame::SoundDriver},
    {"Full Screen Process Priority", &TGame::FullScreenProcess, nullptr},
    {"Full Screen Thread Priority", &TGame::FullScreenThread, nullptr},
    {"Windowed Process Priority", &TGame::WindowedProcess, nullptr},
    {"Windowed Thread Priority", &TGame::WindowedThread, nullptr},
    {"Profile Name", nullptr, &TGame::ProfileName},
    {"Region", &TGame::Region, nullptr},
};

} // namespace

std::string TGame::AppName() {
    std::string app = ccAppFileNonDebug();
    size_t slash = app.find_last_of('/');
    if (slash != std::string::npos)
        app = app.substr(slash + 1);
    size_t dot = app.find_last_of('.');
    if (dot != std::string::npos)
        app = app.substr(0, dot);
    return app;
}

std::string TGame::IniFilePath() {
    if (UseCorrectPath)
        return SubPath + AppName() + ".ini";
    std::string app = ccAppFileNonDebug();
    size_t slash = app.find_last_of('/');
    size_t dot = app.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        app = app.substr(0, dot);
    return app + ".ini";
}

std::string TGame::GoodExitPath() {
    return UseCorrectPath ? SubPath + "GoodExit.dat" : "data/GoodExit.dat";
}

std::string TGame::IniChangedPath() {
    return UseCorrectPath ? SubPath + "inichanged.dat" : "Data/inichanged.dat";
}

int TGame::IniFill() {
    Ini->clear();
    for (const auto& s : SETTINGS)
        Ini->Add(s.key, s.number ? std::to_string(this->*s.number) : this->*s.text);
    return 0;
}

int TGame::IniExtract() {
    for (const auto& object : *Ini) {
        auto line = std::dynamic_pointer_cast<TIniLine>(object);
        if (!line)
            continue;
        for (const auto& s : SETTINGS) {
            if (line->Name != AsciiUpper(s.key))
                continue;
            if (s.number)
                this->*s.number = platform::StrToInt(line->Value);
            else
                this->*s.text = line->Value;
        }
    }
    // A hand-edited volume out of range would draw its bar off the panel and be saved back.
    ccRangeCheck100(SoundVolume);
    ccRangeCheck100(MusicVolume);
    ccRangeCheck100(SpeechVolume);
    return 0;
}

// Two copies of the game may run on one folder (two players trying network play on one machine).
// Every run that has saved a change holds a shared lock on the settings-changed marker until it
// ends, so the marker tells a killed run (no lock left) from a live one. Each change also writes
// the run's stamp into the marker, and a run that ends in order leaves a good exit holding its
// stamp only while the marker holds it: the end of the run whose change was the last one, in
// order or not, decides the next start. Markers of older runs are empty, and two empty markers
// agree.

int TGame::IniUpdate(int flag) {
    // A change is marked before it is saved: a start of another copy meanwhile finds this run alive
    // and restores nothing over the save, and a kill between the two is restored at the next start.
    if (flag != 0) {
        const std::string marker = IniChangedPath();
        if (RunStamp.empty())
            RunStamp = platform::UniqueStamp();
        if (!IniChangedLock || !IniChangedLock->Names(marker))
            IniChangedLock = platform::TFileLock::Share(marker);
        if (IniChangedLock)
            IniChangedLock->Write(RunStamp);
        // Another copy's good exit spoke for a change before this one.
        platform::DeleteFile(GoodExitPath());
    }
    IniFill();
    Ini->Save();
    return 0;
}

int TGame::MakeGoodExit() {
    // A run that changed nothing has nothing to speak for.
    if (!Game || !Game->IniChangedLock)
        return 0;
    const std::string marker = Game->IniChangedPath();
    std::string stamp;
    if (Game->IniChangedLock->Names(marker) && platform::LoadBytes(marker, stamp) &&
        stamp == Game->RunStamp)
        platform::SaveBytesAtomic(Game->GoodExitPath(), stamp);
    // Held up to here: a start meanwhile sees this run alive, not killed.
    Game->IniChangedLock.reset();
    return 0;
}

int TGame::CheckGoodExit() {
    const std::string goodExit = GoodExitPath();
    const std::string iniChanged = IniChangedPath();
    // A copy of the game still running on this folder holds the marker: its settings are its
    // own, and both markers stay for the end of the copies that run.
    bool held = false;
    std::unique_ptr<platform::TFileLock> changed = platform::TFileLock::Take(iniChanged, &held);
    if (held)
        return 0;
    bool restored = false;
    std::string stamp, spokenFor;
    if (changed && !(platform::LoadBytes(goodExit, spokenFor) &&
                     platform::LoadBytes(iniChanged, stamp) && spokenFor == stamp)) {
        // The run that changed the settings last did not end in order: back to the defaults,
        // keeping the player's name. They replace the old file in one atomic step, so a run
        // killed during the restore leaves the old settings or the restored ones, both with the
        // name. Only without a default file is the old one deleted, to be made afresh by Init.
        std::string settings = IniFilePath();
        std::string name = ccReadIniLine(settings, "profile name");
        const std::string defaults = DataPrefix + "data/default.ini";
        if (!ccWriteIniLine(defaults, settings, "PROFILE NAME", name) && !ccFileExists(defaults))
            platform::DeleteFile(settings);
        restored = true;
    }
    platform::DeleteFile(goodExit);
    platform::DeleteFile(iniChanged);
    // Shown once the marker is free again: another copy's save must not wait for the box.
    changed.reset();
    if (restored)
        platform::Notify("Default ini file restored!", false);
    return 0;
}

int TGame::ParticlesSet(int amount, int save) {
    Particles = amount;
    ccRangeCheck100(Particles);
    if (save == 1) {
        IniUpdate(1);
        FixedRateLogic->Init();
    }
    return 0;
}

int TGame::ParticlesChange(int step) {
    Particles += step;
    ccRangeCheck100(Particles);
    IniUpdate(1);
    FixedRateLogic->Init();
    return 0;
}
