// Ini lines and the blocks of a sectioned file on arbitrary bytes: a key read from the file, the
// settings copy with one key replaced (as the crash recovery writes it), and the section readers
// stepping through the file to its end.

#include "framework/util/ini.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    const std::string bytes = fuzz::Bytes(data, size);
    fuzz::WriteFile("in.ini", bytes);
    const std::string in = fuzz::Folder() + "in.ini";
    const std::string out = fuzz::Folder() + "out.ini";

    const std::string before = ccReadIniLine(in, "profile name");
    ccReadIniLine(in, "Sound Volume");
    fuzz::Check(ccWriteIniLine(in, out, "PROFILE NAME", "Fuzzed") == 1, "the copy was not made");
    // Every line of the key now holds the new value; a file without the key gains none.
    const std::string after = ccReadIniLine(out, "Profile Name");
    fuzz::Check(after == "Fuzzed" || (after.empty() && before.empty()),
                "the key was not replaced: '" + after + "'");
    ccWriteIniLine(out, out, "SOUND", "0");

    // The section readers, from a file and from its lines, each stepping on to the end.
    platform::StreamPtr stream = platform::MemoryStream(bytes);
    std::string line;
    for (int guard = 0; !stream->Eof() && guard <= static_cast<int>(size); ++guard) {
        const int64_t at = stream->Pos();
        ccLoadSectionArrayFromFile(stream, line);
        fuzz::Guarded([&] { ccTestSectionHeader("TEXT", line); });
        ccLoadSectionStringFromFile(stream, line);
        fuzz::Check(stream->Pos() > at || stream->Eof(), "a section reader that does not move on");
    }
    const TStringArray lines = ccSplitStringIntoLines(bytes);
    int index = 0;
    while (static_cast<size_t>(index) < lines.size()) {
        const int at = index;
        ccLoadSectionArrayFromArray(lines, index);
        ccLoadSectionStringFromArray(lines, index);
        fuzz::Check(index > at, "a section reader that does not move on");
    }
    return 0;
}
