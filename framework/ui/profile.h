#pragma once
// The framework's general player profile for a game played in levels: name, current and highest
// unlocked level, score, lives, kills, time taken, difficulty, the tips and instructions flags and
// which of up to MAX_HINTS in-game hints were already shown. It is kept in the profiles folder as
// name + ".dat": 440 bytes (the first five values masked; 32-bit integers and a 64-bit double,
// little-endian), then whatever SaveUserFunction appends.

#include "framework/util/object.h"
#include "platform/files.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

class TProfile;
using TProfilePtr = std::shared_ptr<TProfile>;

class TProfile : public TObject {
public:
    static constexpr int MAX_HINTS = 100;

    // A profile with the starting values (level 1, levels up to 2 open, 3 lives, tips and
    // instructions on, no hints seen), handed to CreateUserFunction when that is set. The file is
    // not read.
    static TProfilePtr Create(const std::string& name);
    int Init(const std::string& name);
    int ClearHints();
    // Writes the file, then SaveUserFunction's data; a file that cannot be written is fatal.
    virtual int Save();
    // 1 when the file was read; 0 when there was none (a file is then written from the values in
    // memory) or it was damaged (kept beside it as name + ".dat.damaged"; the profile starts anew
    // as Init makes it, and that is written).
    virtual int Load();
    int HintsSet(int value);
    // 1 when the hint (0 to MAX_HINTS - 1) was not shown before: it is then marked shown, and the
    // file written when save is not 0. 0 for a hint shown before or an index outside the range.
    int ShowHint(int index, int save);

    // The profile's file: Game->ProfilePath + Name + ".dat".
    std::string FilePath() const;

    // Called by Create with each new profile.
    static inline std::function<int(TProfile&)> CreateUserFunction;

    std::string Name;
    int CurrentLevel = 0;
    int LockedLevel = 0;
    int Score = 0;
    int Lives = 0;
    int Kills = 0;
    double TimeTaken = 0.0;
    int Difficulty = 0;
    int TipsFlag = 0;
    int InstructionsFlag = 0;
    std::array<int, MAX_HINTS> HintsShown{};
    // Called with the open file after the standard data is written (Save) or read (Load).
    std::function<int(const platform::StreamPtr&)> SaveUserFunction;
    std::function<int(const platform::StreamPtr&)> LoadUserFunction;
};
