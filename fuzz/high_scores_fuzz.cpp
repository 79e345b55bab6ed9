// The high-score table on arbitrary bytes: read, or kept aside with the default table used; the
// table read saves and reads back the same.

#include "framework/ui/high_score.h"
#include "fuzz/fuzz_support.h"

#include <tuple>
#include <vector>

namespace {

std::vector<std::tuple<std::string, int, int>> Entries(const THighScoreList& list) {
    std::vector<std::tuple<std::string, int, int>> entries;
    for (const THighScorePtr& entry : list)
        entries.emplace_back(entry->name, entry->score, entry->level);
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Setup();
    fuzz::ClearFolder();
    fuzz::WriteFile("scores.dat", fuzz::Bytes(data, size));
    THighScoreList table;
    table.Create(fuzz::Folder() + "scores", 10);
    table.Load();
    fuzz::Check(!table.empty() || size == 0, "no table at all");
    table.Save();
    THighScoreList again;
    again.Create(fuzz::Folder() + "scores", 10);
    again.Load();
    fuzz::Check(Entries(again) == Entries(table), "a table that does not read back as saved");
    return 0;
}
