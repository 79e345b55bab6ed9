#include "framework/ui/player_files.h"

#include "framework/util/error.h"

#include "platform/system.h"

namespace {

std::string FreeDamagedName(const std::string& path) {
    std::string name = path + ".damaged";
    for (int n = 2; platform::FileType(name) != platform::FILETYPE_NONE; ++n)
        name = path + ".damaged." + std::to_string(n);
    return name;
}

} // namespace

bool KeepDamagedFile(const std::string& path, const std::string& what,
                     const std::string& replacement) {
    const std::string aside = FreeDamagedName(path);
    if (platform::RenameFile(path, aside)) {
        platform::Warn(what, "'" + path + "' is damaged; kept as '" + aside + "', " + replacement);
        return true;
    }
    platform::Warn(what, "'" + path + "' is damaged and could not be moved aside; left as it is");
    return false;
}

void SaveProfileFile(const std::string& folder, const std::string& path,
                     const std::function<void(const platform::StreamPtr&)>& write) {
    platform::CreateDir(folder, true);
    platform::StreamPtr file = platform::WriteFile(path);
    bool written = false;
    if (file) {
        write(file);
        written = file->Close();
    }
    if (!written)
        ccRunTimeError("Could not create file '" + path + "'", 1);
}

bool ReadProfileFile(const std::string& path, size_t minBytes, std::string& bytes,
                     const std::function<void()>& save, const std::function<void()>& reset) {
    if (platform::FileType(path) == platform::FILETYPE_NONE) {
        save();
        return false;
    }
    if (platform::FileType(path) == platform::FILETYPE_FILE && platform::LoadBytes(path, bytes) &&
        bytes.size() >= minBytes)
        return true;
    // The player goes on with a new profile of that name.
    reset();
    if (KeepDamagedFile(path, "profile", "a new profile is used"))
        save();
    return false;
}
