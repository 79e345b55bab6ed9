#pragma once
// The property both profile formats keep on arbitrary bytes: the file is read or kept aside as
// damaged, and a profile that was read saves and reads back to the same values.

#include "framework/shell/game.h"
#include "fuzz/fuzz_support.h"

namespace fuzz {

template <class Profile, class SameFn>
int CheckProfile(const uint8_t* data, size_t size, SameFn same) {
    Setup();
    if (!Game)
        Game = std::make_unique<TGame>();
    Game->ProfilePath = Folder();
    ClearFolder();
    WriteFile("Player.dat", Bytes(data, size));
    const auto profile = Profile::Create("Player");
    if (profile->Load() == 1) {
        profile->Save();
        const auto again = Profile::Create("Player");
        Check(again->Load() == 1 && same(*profile, *again),
              "a profile that does not read back as saved");
    }
    return 0;
}

} // namespace fuzz
