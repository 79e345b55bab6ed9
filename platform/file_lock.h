#pragma once
// Locks that tell whether a file is in use by a live run of the program, in this process or
// another: the kernel drops a lock with the process that held it, however that process ends, so a
// killed run leaves none behind.

#include <memory>
#include <string>

namespace platform {

class TFileLock {
public:
    // A shared lock on the file, made empty when missing; every live run that marks the file
    // holds one. A file made here is locked from the moment it has its name, so that no start
    // takes it for a killed run's. Null when the file cannot be made or opened; where the file
    // system has no locks, a lock that holds nothing.
    static std::unique_ptr<TFileLock> Share(const std::string& path);
    // An exclusive lock on the existing file, taken only when no live run holds a lock on it.
    // Null when the file is missing or cannot be opened, or when a live run holds it (held then
    // says so). Where the file system has no locks, nothing proves a run is live: the lock is
    // given, holding nothing.
    static std::unique_ptr<TFileLock> Take(const std::string& path, bool* held = nullptr);

    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    // Whether the path still names the locked file (not one made in its place since).
    bool Names(const std::string& path) const;
    // Makes text the whole content of the locked file, written in place: the file stays the one
    // that the other runs hold their locks on. False when it cannot be written.
    bool Write(const std::string& text);

private:
    explicit TFileLock(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace platform
