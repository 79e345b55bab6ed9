// The settings file as start-up reads it: the game's keys registered, the file read over them and
// saved again, the values taken into the game. What was saved reads back to the same values.

#include "framework/shell/game.h"
#include "framework/util/ini_file.h"
#include "fuzz/fuzz_support.h"

#include <vector>

namespace {

std::vector<std::string> Values() {
    std::vector<std::string> values;
    for (const auto& object : *Game->Ini)
        if (auto line = std::dynamic_pointer_cast<TIniLine>(object))
            values.push_back(line->Name + "=" + line->Value);
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    if (!Game)
        Game = std::make_unique<TGame>();
    fuzz::WriteFile("settings.ini", fuzz::Bytes(data, size));
    Game->Ini->FileName = fuzz::Folder() + "settings";
    Game->IniFill();
    Game->Ini->Load();
    Game->IniExtract();
    const std::vector<std::string> first = Values();

    Game->IniFill();
    Game->Ini->Load();
    Game->IniExtract();
    fuzz::Check(Values() == first, "the saved settings read back differently");
    return 0;
}
