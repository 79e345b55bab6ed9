#pragma once
// The parts of a file name: its folder, its name without folder, its extension. A folder ends at
// the last "/" (or "\", which data files written elsewhere may use); an extension begins after the
// last "." of the name without folder.

#include <string>

namespace platform {

// "Data/sound/click.wav" -> "wav"; "" when the name has no ".".
std::string ExtractExt(const std::string& path);
// "Data/sound/click.wav" -> "Data/sound/click" (the folder stays).
std::string StripExt(const std::string& path);
// "Data/sound/click.wav" -> "click.wav".
std::string StripDir(const std::string& path);
// "Data/sound/click.wav" -> "click".
std::string StripAll(const std::string& path);
// "Data/sound/click.wav" -> "Data/sound" (no separator at the end); "" without a folder.
std::string ExtractDir(const std::string& path);

} // namespace platform
