#pragma once
// What the file functions, the atomic writer and the streams share.

#include <string>

namespace platform::detail {

// Runs the hook of SetFileChangeHook, if any; called just before each change made on disk.
void BeforeFileChange();

// Whether path still names the file open as fd (not one made in its place since).
bool SameFile(int fd, const std::string& path);

} // namespace platform::detail
