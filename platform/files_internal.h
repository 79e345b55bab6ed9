#pragma once
// What the file functions, the atomic writer and the streams share.

namespace platform::detail {

// Runs the hook of SetFileChangeHook, if any; called just before each change made on disk.
void BeforeFileChange();

} // namespace platform::detail
