#include "platform/path_names.h"

namespace platform {

namespace {

// Length of the folder part including its separator.
size_t FolderLength(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the extension's dot within path, or npos.
size_t DotOf(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < FolderLength(path) ? std::string::npos : dot;
}

} // namespace

std::string ExtractExt(const std::string& path) {
    const size_t dot = DotOf(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string StripExt(const std::string& path) {
    return path.substr(0, DotOf(path));
}

std::string StripDir(const std::string& path) {
    return path.substr(FolderLength(path));
}

std::string StripAll(const std::string& path) {
    return StripDir(StripExt(path));
}

std::string ExtractDir(const std::string& path) {
    const size_t folder = FolderLength(path);
    return folder == 0 ? std::string() : path.substr(0, folder - 1);
}

} // namespace platform
