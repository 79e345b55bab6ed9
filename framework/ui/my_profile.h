#pragma once
// The game's player profile: a name and seven result counters, kept in the profiles folder as
// name + ".dat" (28 bytes: each counter masked, 32-bit little-endian, in field order).

#include "framework/util/object.h"
#include "platform/files.h"

#include <functional>
#include <memory>
#include <string>

class TMyProfile : public TObject {
public:
    static std::shared_ptr<TMyProfile> Create(const std::string& name);
    int Init(const std::string& name);
    // Writes the file; a file that cannot be written is a fatal error. A derived profile may
    // store more: Load runs its Save when there is no file.
    virtual int Save();
    // 1 when the file was read; 0 when there was none (a file is then written from the values in
    // memory) or it was damaged (kept beside it as name + ".dat.damaged"; the profile starts anew
    // as Init makes it, and that is written).
    virtual int Load();

    // The profile's file: Game->ProfilePath + Name + ".dat".
    std::string FilePath() const;

    std::string Name;
    int Won3 = 0;
    int Won5 = 0;
    int Won10 = 0;
    int Won20 = 0;
    int Lost5 = 0;
    int Dominated = 0;
    int Swept = 0;
    // Hook slots for derived profiles; Save and Load of this class do not call them.
    std::function<int(const platform::StreamPtr&)> SaveUserFunction;
    std::function<int(const platform::StreamPtr&)> LoadUserFunction;
};
using TMyProfilePtr = std::shared_ptr<TMyProfile>;
