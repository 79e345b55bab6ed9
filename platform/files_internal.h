#pragma once
// What the file functions, the atomic writer and the streams share.

#include <string>

namespace platform::detail {

// Runs the hook of SetFileChangeHook, if any; called just before each change made on disk.
void BeforeFileChange();

// Whether path still names the file open as fd (not one made in its place since).
bool SameFile(int fd, const std::string& path);

// The existing file opened to be locked, without following a link: for writing where it may be (a
// lock on a network file system is a write lock), else for reading. -1 (errno set) when it cannot
// be opened.
int OpenForLock(const std::string& path);

// A new name for a temporary file of the file called name in folder (which is empty or ends with
// "/"): "." + name + "." + process id + "." + count + ".tmp", the form that RemoveAbandonedTemps
// sweeps.
std::string TempName(const std::string& folder, const std::string& name);

} // namespace platform::detail
