#pragma once
// The game's player profile: seven counters in "profiles/<name>.dat".

#include "framework/util/object.h"

#include <string>

class TMyProfile : public TObject {
public:
    int Load();
    int Save();

    std::string Name;
};
