#include "platform/file_lock.h"

#include "platform/files_internal.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// Opened for writing where it may be: a lock on a network file system is a write lock. A file
// made here is a change on disk; opening one that exists is not.
int OpenForLock(const std::string& path, bool create) {
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = open(path.c_str(), O_RDWR | flags);
    if (fd < 0 && errno == EACCES)
        fd = open(path.c_str(), O_RDONLY | flags);
    if (fd < 0 && errno == ENOENT && create) {
        detail::BeforeFileChange();
        fd = open(path.c_str(), O_RDWR | O_CREAT | flags, 0666);
    }
    return fd;
}

} // namespace

std::unique_ptr<TFileLock> TFileLock::Share(const std::string& path) {
    // A start that takes the file to remove it holds it only for that; the file it removed is
    // then made again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = OpenForLock(path, true);
        if (fd < 0)
            return nullptr;
        int locked;
        do
            locked = flock(fd, LOCK_SH);
        while (locked != 0 && errno == EINTR);
        if (locked != 0 || detail::SameFile(fd, path))
            return std::unique_ptr<TFileLock>(new TFileLock(fd));
        close(fd);
    }
    return nullptr;
}

std::unique_ptr<TFileLock> TFileLock::Take(const std::string& path, bool* held) {
    if (held)
        *held = false;
    const int fd = OpenForLock(path, false);
    if (fd < 0)
        return nullptr;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        close(fd);
        if (held)
            *held = true;
        return nullptr;
    }
    return std::unique_ptr<TFileLock>(new TFileLock(fd));
}

TFileLock::~TFileLock() {
    close(fd_);
}

bool TFileLock::Names(const std::string& path) const {
    return detail::SameFile(fd_, path);
}

} // namespace platform
