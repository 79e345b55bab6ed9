#pragma once
// What the profile and score files share. A file is written to a temporary file renamed over the
// old one, so a crash never leaves half a file. A file that cannot be read is moved aside, never
// overwritten, so that nothing is lost, and a line on standard error says where it went.

#include "platform/files.h"

#include <cstddef>
#include <functional>
#include <string>

// Renames the file (or whatever stands in its place) to a free name beside it: path +
// ".damaged", then ".damaged.2", ".damaged.3", ... and reports "<what>: '<path>' is damaged; kept
// as '<new name>', <replacement>". True when it was moved; when it could not be, that is reported
// instead and the file is left as it is.
bool KeepDamagedFile(const std::string& path, const std::string& what,
                     const std::string& replacement);

// Writes a profile: the profiles folder is made when missing, write fills the file. A profile
// that cannot be written is fatal: "Could not create file '<path>'".
void SaveProfileFile(const std::string& folder, const std::string& path,
                     const std::function<void(const platform::StreamPtr&)>& write);

enum class TProfileRead {
    READ,  // bytes hold the whole file, at least minBytes
    FRESH, // there was none, or a damaged one was moved aside: the caller writes its values
    KEPT,  // a damaged one could not be moved aside: nothing is to be written over it
};
TProfileRead ReadProfileFile(const std::string& path, size_t minBytes, std::string& bytes);
