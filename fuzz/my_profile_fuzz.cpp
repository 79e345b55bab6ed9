// The game's player profile on arbitrary bytes: read or kept aside as damaged, and a profile
// that was read saves and reads back to the same counters.

#include "framework/shell/game.h"
#include "framework/ui/my_profile.h"
#include "fuzz/fuzz_support.h"

namespace {

bool Same(const TMyProfile& a, const TMyProfile& b) {
    return a.Won3 == b.Won3 && a.Won5 == b.Won5 && a.Won10 == b.Won10 && a.Won20 == b.Won20 &&
           a.Lost5 == b.Lost5 && a.Dominated == b.Dominated && a.Swept == b.Swept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    if (!Game)
        Game = std::make_unique<TGame>();
    Game->ProfilePath = fuzz::Folder();
    fuzz::ClearFolder();
    fuzz::WriteFile("Player.dat", fuzz::Bytes(data, size));
    const TMyProfilePtr profile = TMyProfile::Create("Player");
    if (profile->Load() == 1) {
        profile->Save();
        const TMyProfilePtr again = TMyProfile::Create("Player");
        fuzz::Check(again->Load() == 1 && Same(*profile, *again),
                    "a profile that does not read back as saved");
    }
    return 0;
}
