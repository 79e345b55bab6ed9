#pragma once
// What the file functions, the atomic writer and the streams share.

#include <string>

namespace platform::detail {

// Runs the hook of SetFileChangeHook, if any; called just before each change made on disk.
void BeforeFileChange();

// Whether path still names the file open as fd (not one made in its place since).
bool SameFile(int fd, const std::string& path);

// The file opened to be locked, without following a link: for writing where it may be (a lock on
// a network file system is a write lock), else for reading; with create, made empty when missing
// (a change on disk, where opening one that exists is not). -1 when it cannot be opened.
int OpenForLock(const std::string& path, bool create = false);

} // namespace platform::detail
