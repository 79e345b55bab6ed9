// The framework's level profile on arbitrary bytes: read or kept aside as damaged, and a profile
// that was read saves and reads back to the same values.

#include "framework/shell/game.h"
#include "framework/ui/profile.h"
#include "fuzz/fuzz_support.h"

#include <cstring>

namespace {

bool Same(const TProfile& a, const TProfile& b) {
    return a.CurrentLevel == b.CurrentLevel && a.LockedLevel == b.LockedLevel &&
           a.Score == b.Score && a.Lives == b.Lives && a.Kills == b.Kills &&
           std::memcmp(&a.TimeTaken, &b.TimeTaken, sizeof a.TimeTaken) == 0 &&
           a.Difficulty == b.Difficulty && a.TipsFlag == b.TipsFlag &&
           a.InstructionsFlag == b.InstructionsFlag && a.HintsShown == b.HintsShown;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    if (!Game)
        Game = std::make_unique<TGame>();
    Game->ProfilePath = fuzz::Folder();
    fuzz::ClearFolder();
    fuzz::WriteFile("Player.dat", fuzz::Bytes(data, size));
    const TProfilePtr profile = TProfile::Create("Player");
    if (profile->Load() == 1) {
        profile->Save();
        const TProfilePtr again = TProfile::Create("Player");
        fuzz::Check(again->Load() == 1 && Same(*profile, *again),
                    "a profile that does not read back as saved");
    }
    return 0;
}
