#include "framework/ui/my_profile.h"

#include "framework/shell/game.h"
#include "framework/ui/damaged_file.h"
#include "framework/util/error.h"

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
    const std::string path = FilePath();
    // The profiles folder is made on the first save; the file is written beside it and renamed
    // over the old one, so a crash never leaves half a profile.
    platform::CreateDir(Game->ProfilePath, true);
    platform::StreamPtr file = platform::WriteFile(path);
    bool written = false;
    if (file) {
        const int* counters[COUNTERS] = {&Won3, &Won5, &Won10, &Won20, &Lost5, &Dominated, &Swept};
        for (int p = 0; p < COUNTERS; ++p)
            file->WriteInt(static_cast<int>(static_cast<uint32_t>(*counters[p]) + Mask(p)));
        written = file->Close();
    }
    if (!written)
        ccRunTimeError("Could not create file '" + path + "'", 1);
    return 0;
}

int TMyProfile::Load() {
    const std::string path = FilePath();
    if (platform::FileType(path) == platform::FILETYPE_NONE) {
        Save();
        return 0;
    }
    std::string bytes;
    if (platform::FileType(path) == platform::FILETYPE_FILE && platform::LoadBytes(path, bytes) &&
        bytes.size() >= FILE_BYTES) {
        platform::StreamPtr file = platform::MemoryStream(bytes);
        int* counters[COUNTERS] = {&Won3, &Won5, &Won10, &Won20, &Lost5, &Dominated, &Swept};
        for (int p = 0; p < COUNTERS; ++p)
            *counters[p] = static_cast<int>(static_cast<uint32_t>(file->ReadInt()) - Mask(p));
        return 1;
    }
    // A short or unreadable profile is moved aside, not overwritten, so nothing is lost; the
    // player goes on with the values in memory.
    if (KeepDamagedFile(path, "profile", "a new profile is used"))
        Save();
    return 0;
}
