#include "platform/file_lock.h"

#include "platform/files_internal.h"

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<TFileLock> TFileLock::Share(const std::string& path) {
    // A start that takes the file to remove it holds it only for that; the file it removed is
    // then made again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = detail::OpenForLock(path, true);
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
    const int fd = detail::OpenForLock(path, false);
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
