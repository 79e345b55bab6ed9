#include "platform/file_lock.h"

#include "platform/files_internal.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

int LockShared(int fd) {
    int locked;
    do
        locked = flock(fd, LOCK_SH);
    while (locked != 0 && errno == EINTR);
    return locked;
}

// The missing file made share-locked: under a temporary name beside it, locked, then linked into
// place, so that it has its name only once it is locked. -1 when it cannot be made, with errno
// EEXIST when another run made it first.
int MakeLocked(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size()).substr(0, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = detail::TempName(folder, name);
        detail::BeforeFileChange();
        const int fd =
            open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return -1;
        // A start's sweep of abandoned temporary files may have taken this one before the lock.
        if (flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            close(fd);
            continue;
        }
        if (!detail::SameFile(fd, temp)) {
            close(fd);
            continue;
        }
        detail::BeforeFileChange();
        const bool linked = link(temp.c_str(), path.c_str()) == 0;
        const int linkError = errno;
        detail::BeforeFileChange();
        unlink(temp.c_str());
        if (linked)
            return fd;
        close(fd);
        if (linkError == EEXIST) {
            errno = EEXIST;
            return -1;
        }
        // A file system without hard links: the file is made in place, its lock a moment later.
        detail::BeforeFileChange();
        const int inPlace =
            open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (inPlace >= 0)
            LockShared(inPlace);
        return inPlace;
    }
    return -1;
}

} // namespace

std::unique_ptr<TFileLock> TFileLock::Share(const std::string& path) {
    // A start that takes the file to remove it holds it only for that; the file it removed is
    // then made again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = detail::OpenForLock(path);
        if (fd < 0 && errno == ENOENT) {
            fd = MakeLocked(path);
            if (fd >= 0)
                return std::unique_ptr<TFileLock>(new TFileLock(fd));
            if (errno == EEXIST)
                continue;
        }
        if (fd < 0)
            return nullptr;
        if (LockShared(fd) != 0 || detail::SameFile(fd, path))
            return std::unique_ptr<TFileLock>(new TFileLock(fd));
        close(fd);
    }
    return nullptr;
}

std::unique_ptr<TFileLock> TFileLock::Take(const std::string& path, bool* held) {
    if (held)
        *held = false;
    const int fd = detail::OpenForLock(path);
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

bool TFileLock::Write(const std::string& text) {
    const auto size = static_cast<ssize_t>(text.size());
    detail::BeforeFileChange();
    if (pwrite(fd_, text.data(), text.size(), 0) != size)
        return false;
    struct stat st;
    if (fstat(fd_, &st) != 0)
        return false;
    if (st.st_size <= size)
        return true;
    detail::BeforeFileChange();
    return ftruncate(fd_, size) == 0;
}

} // namespace platform
