// The framework's level profile on arbitrary bytes: read or kept aside as damaged, and a profile
// that was read saves and reads back to the same values.

#include "framework/ui/profile.h"
#include "fuzz/profile_check.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::CheckProfile<TProfile>(data, size, [](const TProfile& a, const TProfile& b) {
        return a.CurrentLevel == b.CurrentLevel && a.LockedLevel == b.LockedLevel &&
               a.Score == b.Score && a.Lives == b.Lives && a.Kills == b.Kills &&
               std::memcmp(&a.TimeTaken, &b.TimeTaken, sizeof a.TimeTaken) == 0 &&
               a.Difficulty == b.Difficulty && a.TipsFlag == b.TipsFlag &&
               a.InstructionsFlag == b.InstructionsFlag && a.HintsShown == b.HintsShown;
    });
}
