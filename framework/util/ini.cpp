#include "framework/util/ini.h"

#include "framework/util/error.h"
#include "platform/system.h"

#include <cstdint>

namespace {

// Every line of a file, or false when it cannot be read. The settings files are small, so the
// whole file is read before anything is written, which makes a copy onto itself safe.
bool ReadAllLines(const std::string& path, TStringArray& lines) {
    // Read-only: the default settings inside the installed data folder are often not writable.
    platform::StreamPtr in = platform::ReadFile(path);
    if (!in)
        return false;
    while (!in->Eof() && !in->Failed())
        lines.push_back(in->ReadLine());
    // A read that broke off before the end would make a copy that lacks lines.
    const bool complete = in->Eof();
    in->Close();
    return complete;
}

bool KeyMatches(const std::string& line, const std::string& upperKey) {
    return AsciiUpper(ccFirstStringToSub(line, "=")) == upperKey;
}

} // namespace

std::string ccReadIniLine(const std::string& file, const std::string& key) {
    const std::string upperKey = AsciiUpper(key);
    platform::StreamPtr in = platform::ReadFile(file);
    if (!in)
        return std::string();
    std::string result;
    while (!in->Eof() && !in->Failed()) {
        std::string line = in->ReadLine();
        if (KeyMatches(line, upperKey)) {
            result = ccLastStringToSub(line, "=");
            break;
        }
    }
    in->Close();
    return result;
}

int ccWriteIniLine(const std::string& source, const std::string& destination,
                   const std::string& key, const std::string& value) {
    const std::string upperKey = AsciiUpper(key);
    TStringArray lines;
    if (!ReadAllLines(source, lines))
        return 0;
    platform::StreamPtr out = platform::WriteFile(destination);
    if (!out)
        return 0;
    for (const std::string& line : lines)
        out->WriteLine(KeyMatches(line, upperKey) ? upperKey + "=" + value : line);
    return out->Close() ? 1 : 0;
}

int ccWriteIniNumber(const platform::StreamPtr& stream, const std::string& key, int n) {
    return ccWriteIniString(stream, key, std::to_string(n));
}

int ccWriteIniString(const platform::StreamPtr& stream, const std::string& key,
                     const std::string& text) {
    if (stream)
        stream->WriteLine(AsciiUpper(key) + "=" + text);
    return 0;
}

std::string ccIniFirstString(const std::string& line) {
    return ccFirstStringToSub(line, "=");
}

std::string ccIniLastString(const std::string& line) {
    return ccLastStringToSub(line, "=");
}

int ccTestSectionHeader(const std::string& name, const std::string& line) {
    if (AsciiUpper(line) != "[" + name + "]")
        ccRunTimeError("[" + name + "] header hot found", 1);
    return 0;
}

TStringArray ccLoadSectionArrayFromArray(const TStringArray& lines, int& index) {
    TStringArray section;
    if (index < 0)
        return section;
    while (static_cast<size_t>(index) < lines.size()) {
        const std::string& line = lines[static_cast<size_t>(index)];
        if (!line.empty() && line[0] == '[')
            break;
        section.push_back(line);
        ++index;
    }
    return section;
}

TStringArray ccLoadSectionArrayFromFile(const platform::StreamPtr& stream, std::string& line) {
    TStringArray section;
    if (!stream)
        return section;
    std::string current = stream->ReadLine();
    while ((current.empty() || current[0] != '[') && !stream->Eof() && !stream->Failed()) {
        section.push_back(current);
        current = stream->ReadLine();
    }
    line = current;
    // The file's last line when no line ending follows it.
    if (!current.empty() && current[0] != '[')
        section.push_back(current);
    return section;
}

std::string ccLoadSectionStringFromArray(const TStringArray& lines, int& index) {
    std::string line;
    if (index >= 0 && static_cast<size_t>(index) < lines.size())
        line = lines[static_cast<size_t>(index)];
    if (index < INT32_MAX)
        ++index;
    return line;
}

std::string ccLoadSectionStringFromFile(const platform::StreamPtr& stream, std::string& line) {
    if (!stream) {
        line.clear();
        return std::string();
    }
    std::string first = stream->ReadLine();
    line = stream->ReadLine();
    return first;
}

platform::StreamPtr ccLoadFile(const std::string& path) {
    platform::StreamPtr stream = platform::ReadFile(path);
    if (!stream)
        ccRunTimeError("Error loading file " + path, 1);
    return stream;
}

int ccFileExists(const std::string& path) {
    return platform::FileType(path) != platform::FILETYPE_NONE ? 1 : 0;
}

std::string ccAddSlash(const std::string& path) {
    if (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        return path;
    return path + "/";
}

std::string ccAppFileNonDebug() {
    return ccAppFileNonDebug(platform::AppFile());
}

std::string ccAppFileNonDebug(const std::string& appFile) {
    // Only a bundle counts: a path component named "Name.app". A ".app" inside a folder's name
    // ("games.apps") would name the settings after that folder.
    std::string bundle = appFile;
    for (size_t start = 0; start < appFile.size();) {
        size_t end = appFile.find('/', start);
        if (end == std::string::npos)
            end = appFile.size();
        if (end - start > 4 && appFile.compare(end - 4, 4, ".app") == 0) {
            bundle = appFile.substr(0, end - 4);
            break;
        }
        start = end + 1;
    }
    // A debug build's bundle "Name.debug.app" shares the settings of "Name.app".
    if (bundle.size() >= 5 && bundle.compare(bundle.size() - 5, 5, "debug") == 0)
        bundle.resize(bundle.size() >= 6 ? bundle.size() - 6 : 0);
    return bundle + ".app";
}
