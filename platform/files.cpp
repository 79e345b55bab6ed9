#include "platform/files.h"

#include "platform/atomic_file.h"
#include "platform/files_internal.h"
#include "platform/replaceable_internal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

detail::TReplaceable<void()> changeHook;

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool IsDir(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        // ASCII letters only: other bytes pass through as they are.
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// Candidates for one component in the folder prefix ("" = the working folder): the exact name
// first when it exists, then every other name equal without regard to case, in byte order.
std::vector<std::string> Candidates(const std::string& prefix, const std::string& name) {
    std::vector<std::string> found;
    if (Exists(prefix + name))
        found.push_back(name);
    if (name == "." || name == "..")
        return found;
    DIR* dir = opendir(prefix.empty() ? "." : prefix.c_str());
    if (!dir)
        return found;
    std::vector<std::string> others;
    while (const dirent* entry = readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName != name && SameIgnoringCase(entryName, name))
            others.push_back(entryName);
    }
    closedir(dir);
    std::sort(others.begin(), others.end());
    found.insert(found.end(), others.begin(), others.end());
    return found;
}

// Depth first, so that "Data/x" is found in "data/" when both "Data/" and "data/" exist.
bool ResolveFrom(const std::string& prefix, const std::vector<std::string>& parts, size_t index,
                 bool wantDir, std::string& out) {
    if (index == parts.size()) {
        out = prefix;
        return true;
    }
    const bool last = index + 1 == parts.size();
    for (const std::string& name : Candidates(prefix, parts[index])) {
        const std::string path = prefix + name;
        if (last && !wantDir) {
            out = path;
            return true;
        }
        if (IsDir(path) && ResolveFrom(path + "/", parts, index + 1, wantDir, out))
            return true;
    }
    return false;
}

bool RemoveTree(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return false;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    for (const std::string& name : names) {
        const std::string child = path + "/" + name;
        struct stat st;
        if (lstat(child.c_str(), &st) != 0)
            continue;
        // Links are removed, never followed.
        if (S_ISDIR(st.st_mode)) {
            RemoveTree(child);
        } else {
            detail::BeforeFileChange();
            unlink(child.c_str());
        }
    }
    detail::BeforeFileChange();
    return rmdir(path.c_str()) == 0;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

namespace detail {

void BeforeFileChange() {
    if (const auto hook = changeHook.Get())
        (*hook)();
}

int OpenForLock(const std::string& path) {
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = open(path.c_str(), O_WRONLY | flags);
    if (fd < 0 && errno == EACCES)
        fd = open(path.c_str(), O_RDONLY | flags);
    return fd;
}

bool SameFile(int fd, const std::string& path) {
    struct stat held, named;
    return fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 &&
           named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

} // namespace detail

void SetFileChangeHook(std::function<void()> hook) {
    changeHook.Set(std::move(hook));
}

std::string ResolvePath(const std::string& path) {
    if (path.empty() || Exists(path))
        return path;
    const std::vector<std::string> parts = SplitPath(path);
    if (parts.empty())
        return path;
    const bool wantDir = path.back() == '/';
    std::string resolved;
    if (!ResolveFrom(path[0] == '/' ? "/" : "", parts, 0, wantDir, resolved))
        return path;
    if (wantDir && resolved.back() != '/')
        resolved += '/';
    return resolved;
}

int FileType(const std::string& path) {
    struct stat st;
    if (path.empty() || stat(ResolvePath(path).c_str(), &st) != 0)
        return FILETYPE_NONE;
    return S_ISDIR(st.st_mode) ? FILETYPE_DIR : FILETYPE_FILE;
}

int64_t FileSize(const std::string& path) {
    struct stat st;
    if (path.empty() || stat(ResolvePath(path).c_str(), &st) != 0)
        return -1;
    return S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
}

bool ReadDir(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    DIR* dir = opendir(ResolvePath(path).c_str());
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return true;
}

bool CreateDir(const std::string& path, bool recurse) {
    const std::string dir = WithoutTrailingSlashes(path);
    if (dir.empty())
        return false;
    if (recurse) {
        for (size_t slash = dir.find('/', 1); slash != std::string::npos;
             slash = dir.find('/', slash + 1)) {
            detail::BeforeFileChange();
            mkdir(dir.substr(0, slash).c_str(), 0777);
        }
    }
    // 0777 less the user's mask, as every program creates folders.
    detail::BeforeFileChange();
    if (mkdir(dir.c_str(), 0777) == 0)
        return true;
    return errno == EEXIST && IsDir(dir);
}

bool DeleteDir(const std::string& path, bool recurse) {
    const std::string dir = WithoutTrailingSlashes(path);
    if (dir.empty())
        return false;
    struct stat st;
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    if (recurse)
        return RemoveTree(dir);
    detail::BeforeFileChange();
    return rmdir(dir.c_str()) == 0;
}

bool CreateFile(const std::string& path) {
    detail::BeforeFileChange();
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    return close(fd) == 0;
}

bool DeleteFile(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    detail::BeforeFileChange();
    return unlink(path.c_str()) == 0;
}

bool CopyFile(const std::string& src, const std::string& dst) {
    FILE* in = std::fopen(ResolvePath(src).c_str(), "rb");
    if (!in)
        return false;
    TAtomicFile out;
    bool ok = out.Open(dst);
    char buffer[65536];
    while (ok) {
        const size_t n = std::fread(buffer, 1, sizeof buffer, in);
        ok = out.Write(buffer, n);
        if (n < sizeof buffer)
            break;
    }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    return ok && out.Commit();
}

bool RenameFile(const std::string& src, const std::string& dst) {
    detail::BeforeFileChange();
    return rename(ResolvePath(src).c_str(), dst.c_str()) == 0;
}

bool SetFileMode(const std::string& path, int mode) {
    detail::BeforeFileChange();
    return chmod(path.c_str(), static_cast<mode_t>(mode) & 07777) == 0;
}

bool LoadBytes(const std::string& path, std::string& data) {
    data.clear();
    const int fd = open(ResolvePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    if (ok && S_ISREG(st.st_mode))
        data.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    while (ok) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (!ok)
        data.clear();
    return ok;
}

bool SaveBytesAtomic(const std::string& path, const std::string& data) {
    TAtomicFile file;
    return file.Open(path) && file.Write(data.data(), data.size()) && file.Commit();
}

} // namespace platform
