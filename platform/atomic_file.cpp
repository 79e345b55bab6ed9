#include "platform/atomic_file.h"

#include "platform/files_internal.h"
#include "platform/system.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
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

// The process that made entry, when entry is one of our temporary names for the target name
// ("." + name + "." + process id + "." + count + ".tmp"); 0 when it is not.
pid_t TempOwner(const std::string& entry, const std::string& name) {
    const std::string prefix = "." + name + ".", suffix = ".tmp";
    if (entry.size() <= prefix.size() + suffix.size() ||
        entry.compare(0, prefix.size(), prefix) != 0 ||
        entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 0;
    const std::string middle =
        entry.substr(prefix.size(), entry.size() - prefix.size() - suffix.size());
    const size_t dot = middle.find('.');
    if (dot == std::string::npos || dot > 9 || !AllDigits(middle.substr(0, dot)) ||
        !AllDigits(middle.substr(dot + 1)))
        return 0;
    const long pid = std::strtol(middle.substr(0, dot).c_str(), nullptr, 10);
    return pid > 0 && pid <= 0x7fffffffL ? static_cast<pid_t>(pid) : 0;
}

// A save killed before its rename leaves its temporary file behind, named after the dead process;
// the next save of the same file removes it. A live process's temporary file is its own.
void RemoveStaleTemps(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(dir)) {
        const pid_t owner = TempOwner(entry->d_name, name);
        if (owner > 0 && owner != getpid() && kill(owner, 0) != 0 && errno == ESRCH)
            stale.push_back(folder + entry->d_name);
    }
    closedir(dir);
    for (const std::string& path : stale) {
        struct stat st;
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            detail::BeforeFileChange();
            unlink(path.c_str());
        }
    }
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
    RemoveStaleTemps(folder, name);
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp_ = folder + "." + name + "." + std::to_string(getpid()) + "." +
                std::to_string(counter++) + ".tmp";
        detail::BeforeFileChange();
        fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
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
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok) {
        detail::BeforeFileChange();
        ok = rename(temp_.c_str(), target_.c_str()) == 0;
    }
    if (!ok) {
        detail::BeforeFileChange();
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
        detail::BeforeFileChange();
        unlink(temp_.c_str());
        DropPending(temp_);
        temp_.clear();
    }
}

} // namespace platform
