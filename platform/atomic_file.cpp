#include "platform/atomic_file.h"

#include "platform/files.h"
#include "platform/files_internal.h"
#include "platform/system.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The target's name when entry is one of our temporary names ("." + name + "." + process id + "."
// + count + ".tmp"), else empty.
std::string TempTarget(const std::string& entry) {
    const std::string suffix = ".tmp";
    if (entry.size() <= 1 + suffix.size() || entry[0] != '.' ||
        entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) != 0)
        return {};
    const std::string stem = entry.substr(1, entry.size() - 1 - suffix.size());
    const size_t countDot = stem.rfind('.');
    if (countDot == std::string::npos || countDot == 0 || !AllDigits(stem.substr(countDot + 1)))
        return {};
    const size_t idDot = stem.rfind('.', countDot - 1);
    if (idDot == std::string::npos || idDot == 0 ||
        !AllDigits(stem.substr(idDot + 1, countDot - idDot - 1)))
        return {};
    return stem.substr(0, idDot);
}

bool IsPending(const std::string& temp) {
    std::lock_guard<std::mutex> lock(pendingMutex);
    return pending && pending->count(temp) != 0;
}

// A writer holds an exclusive lock on its temporary file from its creation to its rename, so a
// file whose lock can be taken is no live save's, whichever process, namespace or machine made
// it. Where the file system has no locks nothing is proven and nothing is removed.
void RemoveIfAbandoned(const std::string& path) {
    struct stat named;
    if (lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) || IsPending(path))
        return;
    // The temporary file of a read-only target has the target's mode: then it opens for reading.
    const int fd = detail::OpenForLock(path);
    if (fd < 0)
        return;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && detail::SameFile(fd, path)) {
        detail::BeforeFileChange();
        unlink(path.c_str());
    }
    close(fd);
}

// Takes the lock on a temporary file just made. False when a sweep took the file first (it is
// being removed); where the file system has no locks the file is used without one.
bool HoldTemp(int fd, const std::string& temp) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return false;
    return detail::SameFile(fd, temp);
}

} // namespace

std::string detail::TempName(const std::string& folder, const std::string& name) {
    static std::atomic<unsigned> counter{0};
    return folder + "." + name + "." + std::to_string(getpid()) + "." + std::to_string(counter++) +
           ".tmp";
}

void RemoveAbandonedTemps(const std::string& folder, const std::string& name) {
    std::string prefix = folder.empty() ? std::string("./") : folder;
    if (prefix.back() != '/')
        prefix += '/';
    DIR* dir = opendir(prefix.c_str());
    if (!dir)
        return;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(dir)) {
        const std::string target = TempTarget(entry->d_name);
        if (!target.empty() && (name.empty() || target == name.substr(0, 200)))
            found.push_back(prefix + entry->d_name);
    }
    closedir(dir);
    for (const std::string& path : found)
        RemoveIfAbandoned(path);
}

namespace {

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

    const size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
    // Shortened so that the temporary name stays within the file system's limit.
    const std::string name =
        (slash == std::string::npos ? target_ : target_.substr(slash + 1)).substr(0, 200);
    RemoveAbandonedTemps(folder, name);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp_ = detail::TempName(folder, name);
        detail::BeforeFileChange();
        fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
        if (fd >= 0 && !HoldTemp(fd, temp_)) {
            close(fd);
            fd = -1;
        }
    }
    if (fd < 0) {
        temp_.clear();
        return false;
    }
    if (exists) {
        detail::BeforeFileChange();
        fchmod(fd, st.st_mode & 0777);
    }
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        detail::BeforeFileChange();
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    AddPending(temp_);
    return true;
}

bool TAtomicFile::Write(const void* data, size_t size) {
    if (!file_)
        return false;
    if (size == 0)
        return true;
    detail::BeforeFileChange();
    return std::fwrite(data, 1, size, file_) == size;
}

bool TAtomicFile::Commit() {
    if (!file_)
        return false;
    detail::BeforeFileChange();
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    detail::BeforeFileChange();
    ok = fsync(fileno(file_)) == 0 && ok;
    // Renamed while still open: the file's lock keeps sweeps off it until it is the target.
    if (ok) {
        detail::BeforeFileChange();
        ok = rename(temp_.c_str(), target_.c_str()) == 0;
    }
    if (!ok) {
        detail::BeforeFileChange();
        unlink(temp_.c_str());
    }
    // Flushed and synced before: the close has nothing left to report.
    std::fclose(file_);
    file_ = nullptr;
    if (ok)
        SyncFolder(FolderOf(target_));
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
        detail::BeforeFileChange();
        unlink(temp_.c_str());
        DropPending(temp_);
        temp_.clear();
    }
}

} // namespace platform
