#pragma once
// A file written beside its target under a temporary name and renamed over the target when
// committed, so that readers see the old file or the whole new one, never a half-written one.

#include <cstdio>
#include <string>

namespace platform {

class TAtomicFile {
public:
    TAtomicFile() = default;
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;
    // Discards the temporary file unless it was committed.
    ~TAtomicFile();

    // Creates the temporary file in the target's folder and locks it until Commit or Discard. A
    // target that is a symbolic link is written through to the file it names; an existing target's
    // permission bits are kept, a new file gets 0666 less the user's mask.
    bool Open(const std::string& path);
    // The open temporary file, or null.
    FILE* File() const { return file_; }
    bool Write(const void* data, size_t size);
    // Flushes the file to disk, renames it over the target and flushes the folder. False (with
    // the temporary file gone and the target untouched) when any step before the rename fails.
    bool Commit();
    void Discard();

private:
    FILE* file_ = nullptr;
    std::string target_, temp_;
};

} // namespace platform
