// The game's player profile on arbitrary bytes: read or kept aside as damaged, and a profile
// that was read saves and reads back to the same counters.

#include "framework/ui/my_profile.h"
#include "fuzz/profile_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::CheckProfile<TMyProfile>(data, size, [](const TMyProfile& a, const TMyProfile& b) {
        return a.Won3 == b.Won3 && a.Won5 == b.Won5 && a.Won10 == b.Won10 && a.Won20 == b.Won20 &&
               a.Lost5 == b.Lost5 && a.Dominated == b.Dominated && a.Swept == b.Swept;
    });
}
