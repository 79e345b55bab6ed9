#include "platform/atomic_file.h"

#include "platform/system.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Temporary files not yet committed or discarded. End leaves without destructors, so it removes
// them itself.
std::mutex pendingMutex;
std::set<std::string>* pending = nullptr;

void RemovePending() {
    std::lock_guard<std::mutex> lock(pendingMutex);
    if (!pending)
        return;
    for (const std::string& temp : *pending)
        unlink(temp.c_str());
    pending->clear();
}

void AddPending(const std::string& temp) {
    std::lock_guard<std::mutex> lock(pendingMutex);
    if (!pending) {
        // Never freed: End may still need it while static destructors run elsewhere.
        pending = new std::set<std::string>();
        AtEnd(RemovePending);
    }
    pending->insert(temp);
}

void DropPending(const std::string& temp) {
    std::lock_guard<std::mutex> lock(pendingMutex);
    if (pending)
        pending->erase(temp);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Some file systems cannot flush a folder; the rename has happened either way.
    fsync(fd);
    close(fd);
}

} // namespace

TAtomicFile::~TAtomicFile() {
    Discard();
}

bool TAtomicFile::Open(const std::string& path) {
    Discard();
    if (path.empty() || path.back() == '/')
        return false;
    target_ = path;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
    }
    const bool exists = stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return false;

    static std::atomic<unsigned> counter{0};
    const size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
    // Shortened so that the temporary name stays within the file system's limit.
    const std::string name =
        (slash == std::string::npos ? target_ : target_.substr(slash + 1)).substr(0, 200);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp_ = folder + "." + name + "." + std::to_string(getpid()) + "." +
                std::to_string(counter++) + ".tmp";
        fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        temp_.clear();
        return false;
    }
    if (exists)
        fchmod(fd, st.st_mode & 0777);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    AddPending(temp_);
    return true;
}

bool TAtomicFile::Write(const void* data, size_t size) {
    return file_ && (size == 0 || std::fwrite(data, 1, size, file_) == size);
}

bool TAtomicFile::Commit() {
    if (!file_)
        return false;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    ok = fsync(fileno(file_)) == 0 && ok;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok)
        ok = rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        unlink(temp_.c_str());
    } else {
        SyncFolder(FolderOf(target_));
    }
    DropPending(temp_);
    temp_.clear();
    return ok;
}

void TAtomicFile::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        unlink(temp_.c_str());
        DropPending(temp_);
        temp_.clear();
    }
}

} // namespace platform
