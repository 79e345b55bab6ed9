#pragma once
// The high-score table (the game creates one and never loads it).

#include "framework/util/object.h"

#include <string>

class THighScoreList : public TObject {
public:
    std::string filepath;
    int MaxNameLength = 10;
};
