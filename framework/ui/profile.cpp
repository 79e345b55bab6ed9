#include "framework/ui/profile.h"

#include "framework/shell/game.h"
#include "framework/ui/player_files.h"

#include <cstdint>

namespace {

// The five values before the time taken are stored masked; the sums wrap modulo 2^32.
constexpr int MASKED = 5;
// Bytes before the hints: five masked values, the double and three more integers.
constexpr size_t HEAD_BYTES = 4 * MASKED + 8 + 4 * 3;

uint32_t Mask(int position) {
    return 5830417u + 3061289u * static_cast<uint32_t>(position);
}

} // namespace

TProfilePtr TProfile::Create(const std::string& name) {
    auto profile = std::make_shared<TProfile>();
    profile->Init(name);
    if (CreateUserFunction)
        CreateUserFunction(*profile);
    return profile;
}

int TProfile::Init(const std::string& name) {
    Name = name;
    CurrentLevel = 1;
    LockedLevel = 2;
    Score = 0;
    Lives = 3;
    Kills = 0;
    TimeTaken = 0.0;
    Difficulty = 0;
    TipsFlag = 1;
    InstructionsFlag = 1;
    return ClearHints();
}

int TProfile::ClearHints() {
    return HintsSet(0);
}

int TProfile::HintsSet(int value) {
    HintsShown.fill(value);
    return 0;
}

int TProfile::ShowHint(int index, int save) {
    if (index < 0 || index >= MAX_HINTS || HintsShown[static_cast<size_t>(index)] != 0)
        return 0;
    HintsShown[static_cast<size_t>(index)] = 1;
    if (save)
        Save();
    return 1;
}

std::string TProfile::FilePath() const {
    return Game->ProfilePath + Name + ".dat";
}

int TProfile::Save() {
    SaveProfileFile(Game->ProfilePath, FilePath(), [this](const platform::StreamPtr& file) {
        const int masked[MASKED] = {CurrentLevel, LockedLevel, Score, Lives, Kills};
        for (int p = 0; p < MASKED; ++p)
            file->WriteInt(static_cast<int>(static_cast<uint32_t>(masked[p]) + Mask(p)));
        file->WriteDouble(TimeTaken);
        file->WriteInt(Difficulty);
        file->WriteInt(TipsFlag);
        file->WriteInt(InstructionsFlag);
        for (int hint : HintsShown)
            file->WriteInt(hint);
        if (SaveUserFunction)
            SaveUserFunction(file);
    });
    return 0;
}

int TProfile::Load() {
    std::string bytes;
    // A file needs its whole head; the hints may end early.
    if (!ReadProfileFile(
            FilePath(), HEAD_BYTES, bytes, [this] { Save(); }, [this] { Init(Name); }))
        return 0;
    platform::StreamPtr file = platform::MemoryStream(bytes);
    int* masked[MASKED] = {&CurrentLevel, &LockedLevel, &Score, &Lives, &Kills};
    for (int p = 0; p < MASKED; ++p)
        *masked[p] = static_cast<int>(static_cast<uint32_t>(file->ReadInt()) - Mask(p));
    TimeTaken = file->ReadDouble();
    Difficulty = file->ReadInt();
    TipsFlag = file->ReadInt();
    InstructionsFlag = file->ReadInt();
    // A file may end before all the hints: the ones it holds are read, the rest stay unseen.
    ClearHints();
    for (int& hint : HintsShown) {
        if (file->Size() - file->Pos() < 4)
            break;
        hint = file->ReadInt();
    }
    if (LoadUserFunction)
        LoadUserFunction(file);
    return 1;
}
