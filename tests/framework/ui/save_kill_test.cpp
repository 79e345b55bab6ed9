// A game killed while it saves: a child process saves the settings file, the profile and the
// high-score table over and over with changing values and is killed at random moments. Each file
// must then hold the old content or the new, whole, and the next start must read it.

#include "framework/shell/game.h"
#include "framework/ui/high_score.h"
#include "framework/ui/my_profile.h"
#include "framework/util/ini_file.h"
#include "platform/files.h"
#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using testing_support::ChildForker;
using testing_support::ReadTextFile;
using testing_support::TempDir;

constexpr int KILLS = 200;
constexpr int SCORE_ENTRIES = 10;
constexpr const char* PLAYER = "Player";

// Round i of the saves: every value of every file follows from i, so a file that mixes two rounds
// (or holds no round) shows.
void SetRound(int i, TMyProfile& profile, THighScoreList& table) {
    Game->Particles = i % 101;
    Game->ProfileName = "Round" + std::to_string(i);
    Game->MusicVolume = i % 97;
    profile.Won3 = i;
    profile.Won5 = 2 * i;
    profile.Won10 = 3 * i;
    profile.Won20 = i + 7;
    profile.Lost5 = i % 13;
    profile.Dominated = -i;
    profile.Swept = i / 2;
    table.clear();
    for (int k = 0; k < SCORE_ENTRIES; ++k)
        table.Add("Round" + std::to_string(i), i * 10 - k, k);
}

void SaveRound(int i, TMyProfile& profile, THighScoreList& table) {
    SetRound(i, profile, table);
    Game->IniFill();
    Game->Ini->Save();
    profile.Save();
    table.Save();
}

// The round a file's values come from, or -1 with the reason when they come from none.
int RoundOfName(const std::string& name) {
    if (name.rfind("Round", 0) != 0 || name.size() == 5)
        return -1;
    for (size_t k = 5; k < name.size(); ++k)
        if (name[k] < '0' || name[k] > '9')
            return -1;
    return std::stoi(name.substr(5));
}

class SaveKill : public ::testing::Test {
protected:
    void SetUp() override {
        // In memory where the system has such a folder: every save flushes to disk, and the test
        // is about the process dying, not the machine.
        if (platform::FileType("/dev/shm") == platform::FILETYPE_DIR)
            memory = std::make_unique<TempDir>("/dev/shm");
        folder = memory ? memory->Path() : dir.Path();
        Game = std::make_unique<TGame>();
        Game->ProfilePath = File("profiles/");
        Game->Ini->FileName = File("settings");
        platform::CreateDir(Game->ProfilePath);
        table.Create(File("scores"), 10);
    }
    void TearDown() override { Game.reset(); }
    std::string File(const std::string& name) const { return folder + name; }

    // Saves rounds from `first` on until killed.
    [[noreturn]] void SaveForever(int first) {
        try {
            auto profile = TMyProfile::Create(PLAYER);
            for (int i = first;; ++i)
                SaveRound(i, *profile, table);
        } catch (...) {
        }
        _exit(3);
    }

    // Checks every file as the next start finds it; returns the rounds they hold (or fails).
    void CheckFiles(int kill, std::vector<int>& rounds) {
        SCOPED_TRACE("after kill " + std::to_string(kill));
        std::vector<int> now(3, -1);

        // The settings: every line of the game, in order, then the game's own reader.
        const std::string settings = ReadTextFile(File("settings.ini"));
        ASSERT_FALSE(settings.empty()) << "the settings file is empty or missing";
        ASSERT_EQ(settings.substr(settings.size() - 2), "\r\n") << "the settings file is cut";
        Game->Particles = Game->MusicVolume = -1;
        Game->ProfileName.clear();
        Game->IniFill();
        ASSERT_EQ(std::count(settings.begin(), settings.end(), '\n'),
                  static_cast<long>(Game->Ini->size()));
        Game->Ini->Load();
        Game->IniExtract();
        now[0] = RoundOfName(Game->ProfileName);
        ASSERT_GE(now[0], 0) << settings;
        EXPECT_EQ(Game->Particles, now[0] % 101) << settings;
        EXPECT_EQ(Game->MusicVolume, now[0] % 97) << settings;
        ++filesChecked;

        // The profile: all its bytes, read as sound, its counters of one round.
        auto profile = TMyProfile::Create(PLAYER);
        ASSERT_EQ(platform::FileSize(profile->FilePath()), 28);
        ASSERT_EQ(profile->Load(), 1);
        now[1] = profile->Won3;
        EXPECT_EQ(profile->Won5, 2 * now[1]);
        EXPECT_EQ(profile->Won20, now[1] + 7);
        EXPECT_EQ(profile->Dominated, -now[1]);
        EXPECT_EQ(profile->Swept, now[1] / 2);
        ++filesChecked;

        // The high scores: read as sound (nothing kept aside), every entry of one round.
        THighScoreList scores;
        scores.Create(File("scores"), 10);
        scores.Load();
        ASSERT_EQ(scores.size(), static_cast<size_t>(SCORE_ENTRIES));
        now[2] = RoundOfName(scores.front()->name);
        ASSERT_GE(now[2], 0) << scores.front()->name;
        int k = 0;
        for (const THighScorePtr& entry : scores) {
            EXPECT_EQ(entry->name, scores.front()->name);
            EXPECT_EQ(entry->score, now[2] * 10 - k);
            EXPECT_EQ(entry->level, k);
            ++k;
        }
        ++filesChecked;

        std::vector<std::string> names;
        platform::ReadDir(Game->ProfilePath, names);
        for (const std::string& name : names)
            EXPECT_EQ(name.find(".damaged"), std::string::npos) << name;
        EXPECT_FALSE(platform::FileType(File("scores.dat.damaged")));

        // The old content or the new: no file goes back to an earlier round, and as each round
        // saves the three in turn, none is ahead of the one saved before it.
        for (size_t f = 0; f < 3; ++f)
            EXPECT_GE(now[f], rounds[f]) << "file " << f << " went back";
        EXPECT_GE(now[0], now[1]);
        EXPECT_GE(now[1], now[2]);
        rounds = now;
    }

    TempDir dir;
    std::unique_ptr<TempDir> memory;
    std::string folder;
    FatalErrorCapture fatal;
    THighScoreList table;
    int filesChecked = 0;
};

TEST_F(SaveKill, EveryFileIsWholeAfterAKillAndTheNextStartReadsIt) {
    {
        auto profile = TMyProfile::Create(PLAYER);
        SaveRound(0, *profile, table);
    }
    // The kills fall anywhere in the time of a few rounds, measured here, however fast the
    // machine is.
    const auto start = std::chrono::steady_clock::now();
    {
        auto profile = TMyProfile::Create(PLAYER);
        for (int i = 1; i <= 10; ++i)
            SaveRound(0, *profile, table);
    }
    const auto round = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - start) /
                       10;
    long window = std::max<long>(50, static_cast<long>(round.count()) * 3);
    std::vector<int> rounds(3, 0);
    std::mt19937 random(17);
    ChildForker savers([this](int first) { SaveForever(first); });
    int kills = 0;
    for (; kills < KILLS && !HasFatalFailure(); ++kills) {
        const pid_t child = savers.Start(rounds[0] + 1);
        ASSERT_GT(child, 0);
        // Sometimes before the first save is through, mostly in the middle of one.
        usleep(static_cast<useconds_t>(static_cast<long>(random() % 1000) * window / 1000));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_TRUE(savers.Wait(child, status));
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself: " << status;
        const int before = rounds[0];
        CheckFiles(kills, rounds);
        // The window follows the time a child takes to start and save: longer after a child
        // killed before it saved anything, shorter after one that saved.
        if (rounds[0] == before)
            window = std::min<long>(window * 5 / 4, 200000);
        else
            window = std::max<long>(window * 4 / 5, 50);
    }
    EXPECT_EQ(kills, KILLS);
    EXPECT_EQ(filesChecked, 3 * KILLS);
    // The kills landed while rounds went on, not only before the first save of each child.
    EXPECT_GT(rounds[0], KILLS / 10);
    std::printf("save kill: %d kills, %d files checked, last round %d\n", kills, filesChecked,
                rounds[0]);
}

} // namespace
