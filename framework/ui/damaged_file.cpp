#include "framework/ui/damaged_file.h"

#include "platform/files.h"

#include <cstdio>

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
        std::fprintf(stderr, "%s: '%s' is damaged; kept as '%s', %s\n", what.c_str(), path.c_str(),
                     aside.c_str(), replacement.c_str());
        return true;
    }
    std::fprintf(stderr, "%s: '%s' is damaged and could not be moved aside; left as it is\n",
                 what.c_str(), path.c_str());
    return false;
}
