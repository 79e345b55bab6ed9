#include "framework/ui/high_score.h"

#include "framework/ui/player_files.h"
#include "framework/util/error.h"
#include "platform/files.h"

#include <optional>

namespace {

// Every stored name byte is the character's code less this, modulo 256.
constexpr int NAME_SHIFT = 19;

struct TDefaultEntry {
    const char* name;
    int score;
    int level;
};
constexpr TDefaultEntry DEFAULT_TABLE[] = {
    {"Ace", 10000, 10}, {"Comet", 9000, 9}, {"Dart", 8000, 8}, {"Ember", 7000, 7},
    {"Flint", 6000, 6}, {"Gale", 5000, 5},  {"Hawk", 4000, 4}, {"Jet", 3000, 3},
    {"Kite", 2000, 2},  {"Lark", 1000, 1},
};

THighScorePtr NewEntry(const std::string& name, int score, int level) {
    auto entry = std::make_shared<THighScore>();
    entry->name = name;
    entry->score = score;
    entry->level = level;
    return entry;
}

// The entries of a file's bytes; nothing when a record is cut short.
std::optional<std::list<THighScorePtr>> ParseRecords(const std::string& bytes) {
    std::list<THighScorePtr> entries;
    platform::StreamPtr file = platform::MemoryStream(bytes);
    while (!file->Eof()) {
        THighScorePtr entry = NewEntry("", 0, 0);
        bool terminated = false;
        while (!file->Eof()) {
            const int b = file->ReadByte();
            if (b == 0) {
                terminated = true;
                break;
            }
            entry->name += static_cast<char>((b + NAME_SHIFT) & 0xFF);
        }
        if (!terminated)
            return std::nullopt;
        entry->score = file->ReadInt();
        entry->level = file->ReadInt();
        if (file->Failed())
            return std::nullopt;
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

int THighScoreList::Create(const std::string& path, int maxNameLength) {
    clear();
    filepath = path + ".dat";
    MaxNameLength = maxNameLength;
    return 0;
}

int THighScoreList::Add(const std::string& entryName, int score, int level) {
    push_back(NewEntry(entryName, score, level));
    return 0;
}

int THighScoreList::Insert(const std::string& entryName, int score, int level) {
    auto at = begin();
    while (at != end() && (!*at || (*at)->score > score))
        ++at;
    insert(at, NewEntry(entryName, score, level));
    return 0;
}

void THighScoreList::AddDefaults() {
    for (const TDefaultEntry& row : DEFAULT_TABLE)
        Add(row.name, row.score, row.level);
}

int THighScoreList::CreateDefault() {
    AddDefaults();
    return Save();
}

int THighScoreList::Zero(int count) {
    clear();
    for (int i = 0; i < count; ++i)
        Add("Empty", 0, 0);
    return Save();
}

int THighScoreList::Load() {
    clear();
    if (platform::FileType(filepath) == platform::FILETYPE_NONE)
        return CreateDefault();
    std::string bytes;
    std::optional<std::list<THighScorePtr>> entries;
    if (platform::FileType(filepath) == platform::FILETYPE_FILE &&
        platform::LoadBytes(filepath, bytes))
        entries = ParseRecords(bytes);
    if (entries) {
        splice(end(), *entries);
        return 0;
    }
    // A damaged table is moved aside, not overwritten, so nothing is lost.
    if (KeepDamagedFile(filepath, "high scores", "the default table is used"))
        return CreateDefault();
    AddDefaults();
    return 0;
}

int THighScoreList::Save() {
    platform::StreamPtr file = platform::WriteFile(filepath);
    bool written = false;
    if (file) {
        for (const THighScorePtr& entry : *this) {
            if (!entry)
                continue;
            for (unsigned char c : entry->name) {
                const int stored = (c - NAME_SHIFT) & 0xFF;
                // The one character that would be stored as the name's end cannot be kept.
                if (stored != 0)
                    file->WriteByte(stored);
            }
            file->WriteByte(0);
            file->WriteInt(entry->score);
            file->WriteInt(entry->level);
        }
        written = file->Close();
    }
    if (!written)
        ccRunTimeError("Failed to save file " + filepath, 1);
    return 0;
}
