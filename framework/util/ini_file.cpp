#include "framework/util/ini_file.h"

#include "framework/util/error.h"
#include "framework/util/strings.h"
#include "platform/files.h"

int TIniFile::Add(const std::string& name, const std::string& value) {
    push_back(std::make_shared<TIniLine>(AsciiUpper(name), value));
    return 0;
}

int TIniFile::Save() {
    const std::string path = FileName + ".ini";
    // The lines go to a temporary file renamed over the old one, so a crash or a full disk never
    // leaves a half-written settings file; a write that fails is reported, not taken for success.
    platform::StreamPtr out = platform::WriteFile(path);
    if (!out) {
        ccRunTimeError("Failed to save file " + path, 1);
        return 0;
    }
    for (const TObjectPtr& entry : *this)
        if (auto line = std::dynamic_pointer_cast<TIniLine>(entry))
            out->WriteLine(line->Name + "=" + line->Value);
    if (!out->Close())
        ccRunTimeError("Failed to save file " + path, 1);
    return 0;
}

int TIniFile::Load() {
    if (platform::StreamPtr in = platform::ReadFile(FileName + ".ini")) {
        while (!in->Eof() && !in->Failed()) {
            const std::string text = in->ReadLine();
            const std::string key = AsciiUpper(ccFirstStringToSub(text, "="));
            const std::string value = ccLastStringToSub(text, "=");
            for (const TObjectPtr& entry : *this) {
                auto line = std::dynamic_pointer_cast<TIniLine>(entry);
                if (line && line->Name == key)
                    line->Value = value;
            }
        }
        in->Close();
    }
    Save();
    return 0;
}
