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

// For a profile's Load: true with the whole file in bytes when it holds at least minBytes.
// Otherwise false: with no file, save has written the values in memory; with a damaged one, reset
// has put the starting values back (the object may hold another player's) and save has written
// them when the damaged file could be moved aside (one left in place is not written over).
bool ReadProfileFile(const std::string& path, size_t minBytes, std::string& bytes,
                     const std::function<void()>& save, const std::function<void()>& reset);
