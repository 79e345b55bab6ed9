#include "framework/ui/my_profile.h"

#include "framework/shell/game.h"
#include "framework/ui/player_files.h"

#include <cstdint>

namespace {

constexpr int COUNTERS = 7;
constexpr size_t FILE_BYTES = 4 * COUNTERS;

// Counters are stored with a per-position mask so that the file holds none of them in plain
// form. The sums wrap modulo 2^32.
uint32_t Mask(int position) {
    return 3918274u + 6187u * static_cast<uint32_t>(position);
}

} // namespace

std::shared_ptr<TMyProfile> TMyProfile::Create(const std::string& name) {
    auto profile = std::make_shared<TMyProfile>();
    profile->Init(name);
    return profile;
}

int TMyProfile::Init(const std::string& name) {
    Name = name;
    Won3 = Won5 = Won10 = Won20 = Lost5 = Dominated = Swept = 0;
    return 0;
}

std::string TMyProfile::FilePath() const {
    return Game->ProfilePath + Name + ".dat";
}

int TMyProfile::Save() {
    SaveProfileFile(Game->ProfilePath, FilePath(), [this](const platform::StreamPtr& file) {
        const int* counters[COUNTERS] = {&Won3, &Won5, &Won10, &Won20, &Lost5, &Dominated, &Swept};
        for (int p = 0; p < COUNTERS; ++p)
            file->WriteInt(static_cast<int>(static_cast<uint32_t>(*counters[p]) + Mask(p)));
    });
    return 0;
}

int TMyProfile::Load() {
    std::string bytes;
    if (!ReadProfileFile(
            FilePath(), FILE_BYTES, bytes, [this] { Save(); }, [this] { Init(Name); }))
        return 0;
    platform::StreamPtr file = platform::MemoryStream(bytes);
    int* counters[COUNTERS] = {&Won3, &Won5, &Won10, &Won20, &Lost5, &Dominated, &Swept};
    for (int p = 0; p < COUNTERS; ++p)
        *counters[p] = static_cast<int>(static_cast<uint32_t>(file->ReadInt()) - Mask(p));
    return 1;
}
