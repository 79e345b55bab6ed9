#include "framework/shell/fixed_rate_logic.h"
#include "framework/shell/game.h"
#include "framework/util/error.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/system.h"
#include "tests/support/child_process.h"
#include "tests/support/shell_driver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <vector>

namespace {

using testing_support::HeldChild;
using testing_support::ReadTextFile;
using testing_support::ShellDriver;
using testing_support::WriteTextFile;

const char* const DEFAULT_INI = "FULL SCREEN=0\r\nSOUND=1\r\nMUSIC=1\r\nSPEECH=1\r\n"
                                "SOUND VOLUME=100\r\nMUSIC VOLUME=20\r\nSPEECH VOLUME=100\r\n"
                                "FADE=1\r\nPARTICLES=80\r\nPORTAL SPLASH=0\r\nPORTAL SPLASH2=0\r\n"
                                "INTRO=0\r\nVSYNC=1\r\nDRIVER=1\r\nSOUND DRIVER=OpenAL\r\n"
                                "FULL SCREEN PROCESS PRIORITY=0\r\n"
                                "FULL SCREEN THREAD PRIORITY=0\r\n"
                                "WINDOWED PROCESS PRIORITY=0\r\nWINDOWED THREAD PRIORITY=0\r\n"
                                "PROFILE NAME=\r\nREGION=0\r\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Value(const std::string& text, const std::string& key) {
    for (const auto& line : Lines(text))
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return "<missing>";
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        oldMask = umask(022);
        dataDir = driver.home.File("app/");
        platform::CreateDir(dataDir + "data", true);
        WriteTextFile(dataDir + "data/Default.ini", DEFAULT_INI);
        NewGame();
    }
    void TearDown() override { umask(oldMask); }
    // A game object as start-up makes it, up to the crash check (Init is the test's).
    void NewGame() {
        driver.UseGame(std::make_unique<TGame>());
        Game->DataPrefix = dataDir;
        Game->SoundDriver = "OpenAL";
        Game->MusicVolume = 20;
        Game->FullScreen = 0;
        Game->SetSubPathWrapper("Pelorin Demo");
    }
    // A start of the program up to its settings: the crash check, then Init.
    void StartGame() {
        NewGame();
        Game->CheckGoodExit();
        Game->Init(4);
    }
    // The defaults restored at the last start, with the name Ada kept.
    void ExpectRestoredForAda() {
        EXPECT_EQ(driver.notes, std::vector<std::string>{"Default ini file restored!"});
        EXPECT_EQ(Game->MusicVolume, 20);
        EXPECT_EQ(Game->ProfileName, "Ada");
    }
    std::string IniText() { return ReadTextFile(Game->IniFilePath()); }
    // Another copy of the game, as a child held at each ready().
    std::unique_ptr<HeldChild> Copy(const std::function<bool(const std::function<void()>&)>& body) {
        NewGame();
        return std::make_unique<HeldChild>(body);
    }
    ShellDriver driver;
    std::string dataDir;
    mode_t oldMask = 0;
};

int Mode(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return static_cast<int>(st.st_mode & 0777);
}

TEST_F(Settings, FirstStartMakesTheFoldersAndTheSettingsFile) {
    EXPECT_EQ(Game->SubPath, driver.home.Path() + "Pelorin Demo/");
    Game->CheckGoodExit();
    Game->Init(0);
    EXPECT_EQ(platform::FileType(Game->SubPath), platform::FILETYPE_DIR);
    EXPECT_EQ(platform::FileType(Game->ProfilePath), platform::FILETYPE_DIR);
    // The 21 keys upper case, in the order of the default settings above (which is the order the
    // settings are registered in, whatever order a file has).
    auto keysOf = [](const std::string& text) {
        std::vector<std::string> keys;
        for (const auto& line : Lines(text))
            keys.push_back(line.substr(0, line.find('=')));
        return keys;
    };
    std::vector<std::string> keys = keysOf(IniText());
    std::vector<std::string> expected = keysOf(DEFAULT_INI);
    ASSERT_EQ(expected.size(), 21u);
    EXPECT_EQ(keys, expected);
    // Created with the user's umask: nothing the game makes is world-writable.
    EXPECT_EQ(Mode(Game->SubPath), 0755);
    EXPECT_EQ(Mode(Game->ProfilePath), 0755);
    EXPECT_EQ(Mode(Game->IniFilePath()), 0644);
    Game->IniUpdate(1);
    TGame::MakeGoodExit();
    EXPECT_EQ(Mode(Game->IniChangedPath()), 0644);
    EXPECT_EQ(Mode(Game->GoodExitPath()), 0644);
}

TEST_F(Settings, ValuesAreReadAsTheyStandAndOnlyTheKnownKeysKept) {
    platform::CreateDir(Game->SubPath, true);
    WriteTextFile(Game->IniFilePath(), "sound volume=150\nParticles=-5\nMUSIC=12abc\nSPEECH=abc\n"
                                       "Profile Name=\nUNKNOWN=7\nFADE=$10\n"
                                       "Speech Volume=-40\n");
    Game->ProfileName = "x";
    Game->Init(4);
    // Volumes are kept to 0 to 100, as the volume setters keep them.
    EXPECT_EQ(Game->SoundVolume, 100);
    EXPECT_EQ(Game->SpeechVolume, 0);
    EXPECT_EQ(Game->Particles, -5);
    EXPECT_EQ(Game->Music, 12);
    EXPECT_EQ(Game->Speech, 0);
    EXPECT_EQ(Game->Fade, 16);
    EXPECT_EQ(Game->ProfileName, "");
    // Keys the file lacks keep what start-up set.
    EXPECT_EQ(Game->SoundDriver, "OpenAL");
    EXPECT_EQ(Game->MusicVolume, 20);
    std::string text = IniText();
    EXPECT_EQ(Lines(text).size(), 21u);
    EXPECT_EQ(Value(text, "UNKNOWN"), "<missing>");
    // What is saved back is the kept volume.
    Game->IniUpdate(0);
    text = IniText();
    EXPECT_EQ(Value(text, "SOUND VOLUME"), "100");
    EXPECT_EQ(Value(text, "SPEECH VOLUME"), "0");
}

TEST_F(Settings, CrashRecovery) {
    struct Case {
        bool goodExit;
        bool iniChanged;
        bool restored;
    };
    const Case cases[] = {
        {true, true, false}, {true, false, false}, {false, true, true}, {false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.goodExit) + std::to_string(c.iniChanged));
        NewGame();
        driver.notes.clear();
        platform::CreateDir(Game->SubPath, true);
        WriteTextFile(Game->IniFilePath(), "MUSIC VOLUME=70\r\nprofile name=Ada\r\n");
        // Empty, as older runs left them.
        if (c.goodExit)
            WriteTextFile(Game->GoodExitPath(), "");
        if (c.iniChanged)
            WriteTextFile(Game->IniChangedPath(), "");
        Game->CheckGoodExit();
        EXPECT_EQ(platform::FileType(Game->GoodExitPath()), 0);
        EXPECT_EQ(platform::FileType(Game->IniChangedPath()), 0);
        Game->Init(4);
        if (c.restored) {
            ASSERT_EQ(driver.notes.size(), 1u);
            EXPECT_EQ(driver.notes[0], "Default ini file restored!");
            EXPECT_EQ(Game->MusicVolume, 20);
        } else {
            EXPECT_TRUE(driver.notes.empty());
            EXPECT_EQ(Game->MusicVolume, 70);
        }
        EXPECT_EQ(Game->ProfileName, "Ada"); // the player's name survives either way
    }
}

TEST_F(Settings, ARunThatChangedSettingsAndDiedIsRestoredNextTime) {
    Game->CheckGoodExit();
    Game->Init(4);
    Game->ProfileName = "Bo";
    Game->MusicChangeVolume(30); // saved with the changed-marker; then the run dies
    NewGame();
    Game->CheckGoodExit();
    Game->Init(4);
    EXPECT_EQ(driver.notes, std::vector<std::string>{"Default ini file restored!"});
    EXPECT_EQ(Game->MusicVolume, 20);
    EXPECT_EQ(Game->ProfileName, "Bo");
}

// The restore killed just before each change it makes on disk, one after the other: the settings
// file is the old one or the restored one, whole; the next start restores it keeping the player's
// name and leaves nothing else behind (no temporary file of the killed process).
TEST_F(Settings, ARestoreKilledAtAnyStepLeavesTheOldSettingsOrTheRestoredOnes) {
    platform::CreateDir(Game->SubPath, true);
    const std::string old = "MUSIC VOLUME=70\r\nprofile name=Ada\r\n";
    std::string restored = DEFAULT_INI;
    restored.replace(restored.find("PROFILE NAME="), 13, "PROFILE NAME=Ada");
    std::vector<std::string> left = {Game->IniFilePath().substr(Game->SubPath.size()), "profiles"};
    std::sort(left.begin(), left.end());
    int completedAt = 0;
    for (int step = 1; step < 200 && !completedAt && !HasFatalFailure(); ++step) {
        SCOPED_TRACE("killed before change " + std::to_string(step));
        NewGame();
        ASSERT_TRUE(WriteTextFile(Game->IniFilePath(), old));
        ASSERT_TRUE(WriteTextFile(Game->IniChangedPath(), ""));
        HeldChild restore([&](const std::function<void()>&) {
            int changes = 0;
            platform::SetFileChangeHook([&] {
                if (++changes == step)
                    raise(SIGKILL);
            });
            Game->CheckGoodExit();
            return true;
        });
        const int status = restore.Release();
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            completedAt = step;
        else
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        const std::string text = IniText();
        EXPECT_TRUE(text == old || text == restored) << text;

        NewGame();
        Game->CheckGoodExit();
        Game->Init(4);
        EXPECT_EQ(Game->ProfileName, "Ada");
        EXPECT_EQ(Game->MusicVolume, 20);
        std::vector<std::string> names;
        platform::ReadDir(Game->SubPath, names);
        EXPECT_EQ(names, left);
    }
    // The restore was killed at each of its changes (a temporary file made, written, flushed,
    // renamed, the marker deleted) before one run went through.
    EXPECT_GT(completedAt, 5);
}

// Saves of the settings and of a profile killed before their rename: the next start removes their
// temporary files, although it may not save the profile for a long time.
TEST_F(Settings, TheNextStartRemovesTheTemporaryFilesOfKilledSaves) {
    platform::CreateDir(Game->ProfilePath, true);
    HeldChild saves([this](const std::function<void()>&) {
        auto settings = platform::WriteFile(Game->IniFilePath());
        auto profile = platform::WriteFile(Game->ProfilePath + "Ada.dat");
        if (settings && profile) {
            settings->WriteLine("PROFILE NAME=Ada");
            profile->WriteString("counters");
            raise(SIGKILL);
        }
        return false;
    });
    const int status = saves.Release();
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    std::vector<std::string> names;
    platform::ReadDir(Game->ProfilePath, names);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].substr(0, 9), ".Ada.dat.");

    NewGame();
    Game->CheckGoodExit();
    Game->Init(4);
    names.clear();
    platform::ReadDir(Game->SubPath, names);
    std::vector<std::string> left = {Game->IniFilePath().substr(Game->SubPath.size()), "profiles"};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(names, left);
    names.clear();
    platform::ReadDir(Game->ProfilePath, names);
    EXPECT_TRUE(names.empty()) << names[0];
}

// Two copies on one folder (two players trying network play on one machine): a start beside a
// live copy that changed its settings leaves them and their marker alone and says nothing; only
// the kill of that copy makes the next start restore.
TEST_F(Settings, AStartBesideALiveCopyKeepsItsSettingsUntilThatCopyIsKilled) {
    platform::CreateDir(Game->SubPath, true);
    ASSERT_TRUE(WriteTextFile(Game->IniFilePath(), "PROFILE NAME=Ada\r\n"));
    // The first copy: started, its music turned up, then running on.
    auto first = Copy([this](const std::function<void()>& ready) {
        StartGame();
        Game->MusicSetVolume(70, 1);
        ready();
        return true;
    });
    ASSERT_TRUE(first->Ready());
    ASSERT_EQ(platform::FileType(Game->IniChangedPath()), platform::FILETYPE_FILE);

    StartGame();
    EXPECT_TRUE(driver.notes.empty());
    EXPECT_EQ(Game->MusicVolume, 70);
    EXPECT_EQ(platform::FileType(Game->IniChangedPath()), platform::FILETYPE_FILE);
    // This copy ends in order first: its good exit does not speak for the other one.
    TGame::MakeGoodExit();
    EXPECT_EQ(platform::FileType(Game->GoodExitPath()), platform::FILETYPE_NONE);

    first->Kill();
    StartGame();
    ExpectRestoredForAda();
    EXPECT_EQ(platform::FileType(Game->IniChangedPath()), platform::FILETYPE_NONE);
}

// A copy that changes its settings after another changed them and ended in order, and is then
// killed, is restored at the next start: the other's good exit was not its own.
TEST_F(Settings, AChangeAfterAnotherCopyEndedInOrderIsJudgedByItsOwnEnd) {
    platform::CreateDir(Game->SubPath, true);
    ASSERT_TRUE(WriteTextFile(Game->IniFilePath(), "PROFILE NAME=Ada\r\n"));
    auto second = Copy([this](const std::function<void()>& ready) {
        StartGame();
        ready();
        Game->MusicSetVolume(70, 1);
        ready();
        return true;
    });
    ASSERT_TRUE(second->Ready());
    StartGame();
    Game->MusicSetVolume(50, 1);
    TGame::MakeGoodExit();
    ASSERT_EQ(platform::FileType(Game->GoodExitPath()), platform::FILETYPE_FILE);

    ASSERT_TRUE(second->Next());
    EXPECT_EQ(platform::FileType(Game->GoodExitPath()), platform::FILETYPE_NONE);
    second->Kill();
    StartGame();
    ExpectRestoredForAda();
}

// A first change killed before each change it makes on disk, one after the other: whenever the
// marker has its name it is locked, so a start never takes it for a killed run's while the run
// lives; and the next start leaves nothing of the killed run behind but its settings.
TEST_F(Settings, TheMarkerIsLockedFromTheMomentItHasItsName) {
    StartGame();
    const std::string marker = Game->IniChangedPath();
    std::vector<std::string> left = {Game->IniFilePath().substr(Game->SubPath.size()), "profiles"};
    std::sort(left.begin(), left.end());
    int completedAt = 0;
    for (int step = 1; step < 100 && !completedAt && !HasFatalFailure(); ++step) {
        SCOPED_TRACE("killed before change " + std::to_string(step));
        auto run = Copy([&](const std::function<void()>&) {
            StartGame();
            int changes = 0;
            platform::SetFileChangeHook([&] {
                bool held = false;
                if (platform::TFileLock::Take(marker, &held))
                    _exit(3); // named, and no lock on it
                if (++changes == step)
                    raise(SIGKILL);
            });
            Game->MusicSetVolume(70, 1);
            return true;
        });
        const int status = run->Release();
        const bool completed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (completed)
            completedAt = step;
        else
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;

        driver.notes.clear();
        StartGame();
        std::vector<std::string> names;
        platform::ReadDir(Game->SubPath, names);
        EXPECT_EQ(names, left);
        // Killed with the marker in place: restored; before it: nothing saved, nothing said (the
        // change is marked before it is saved, so none is ever kept unmarked).
        if (driver.notes.empty()) {
            EXPECT_EQ(Game->MusicVolume, completed ? 70 : 20);
        } else {
            EXPECT_EQ(driver.notes, std::vector<std::string>{"Default ini file restored!"});
            EXPECT_EQ(Game->MusicVolume, 20);
        }
    }
    // The marker made under a temporary name, linked into place and stamped, then the settings
    // saved (a temporary file made, written line by line, flushed, renamed).
    EXPECT_GT(completedAt, 25);
}

// Two copies on one folder: A changes the settings, then B changes them or not; each is then
// killed or ends in order, before the next start or (still running at it) after it, the two ends
// in either order. Only the end of the copy that changed them last, in order or not, decides: a
// start beside a live copy that changed them leaves them and both markers alone, and the start
// after the copies' ends follows the rule. A copy that changed nothing (B, or the start between)
// never speaks for the settings.
TEST_F(Settings, OnlyTheEndOfTheCopyThatChangedLastDecidesTheNextStart) {
    enum End { KILLED, IN_ORDER, LIVE_THEN_KILLED, LIVE_THEN_IN_ORDER };
    const char* const endNames[] = {"killed", "in order", "live, then killed",
                                    "live, then in order"};
    auto live = [](End e) { return e == LIVE_THEN_KILLED || e == LIVE_THEN_IN_ORDER; };
    struct Case {
        bool bChanges;
        End aEnd, bEnd;
        bool aEndsFirst;
    };
    std::vector<Case> cases;
    for (const bool bChanges : {false, true}) {
        for (const End aEnd : {KILLED, IN_ORDER, LIVE_THEN_KILLED, LIVE_THEN_IN_ORDER}) {
            for (const End bEnd : {KILLED, IN_ORDER, LIVE_THEN_KILLED, LIVE_THEN_IN_ORDER}) {
                cases.push_back({bChanges, aEnd, bEnd, true});
                // With a live copy, the other one ends first.
                if (!live(aEnd) && !live(bEnd))
                    cases.push_back({bChanges, aEnd, bEnd, false});
            }
        }
    }
    // A copy: started, then its change (none with volume 0), then its end in order when let go.
    auto copy = [this](int volume) {
        return Copy([this, volume](const std::function<void()>& ready) {
            StartGame();
            ready();
            if (volume)
                Game->MusicSetVolume(volume, 1);
            ready();
            TGame::MakeGoodExit();
            return true;
        });
    };
    auto end = [](HeldChild& child, End how) {
        if (how == KILLED || how == LIVE_THEN_KILLED) {
            child.Kill();
        } else {
            EXPECT_EQ(child.Release(), 0);
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("B ") + (c.bChanges ? "changes" : "changes nothing") + ", A " +
                     endNames[c.aEnd] + ", B " + endNames[c.bEnd] +
                     (c.aEndsFirst ? ", A ends first" : ", B ends first"));
        platform::DeleteDir(Game->SubPath, true);
        platform::CreateDir(Game->SubPath, true);
        ASSERT_TRUE(WriteTextFile(Game->IniFilePath(), "PROFILE NAME=Ada\r\n"));
        auto a = copy(50);
        ASSERT_TRUE(a->Ready());
        auto b = copy(c.bChanges ? 70 : 0);
        ASSERT_TRUE(b->Ready());
        ASSERT_TRUE(a->Next());
        ASSERT_TRUE(b->Next());
        HeldChild* first = c.aEndsFirst ? a.get() : b.get();
        HeldChild* second = c.aEndsFirst ? b.get() : a.get();
        const End firstEnd = c.aEndsFirst ? c.aEnd : c.bEnd;
        const End secondEnd = c.aEndsFirst ? c.bEnd : c.aEnd;
        if (!live(firstEnd))
            end(*first, firstEnd);
        if (!live(secondEnd))
            end(*second, secondEnd);

        const int lastVolume = c.bChanges ? 70 : 50;
        const End lastEnd = c.bChanges ? c.bEnd : c.aEnd;
        const bool lastKilled = lastEnd == KILLED || lastEnd == LIVE_THEN_KILLED;
        const bool liveChanger = live(c.aEnd) || (c.bChanges && live(c.bEnd));
        auto expect = [&](bool restored) {
            if (restored) {
                ExpectRestoredForAda();
            } else {
                EXPECT_TRUE(driver.notes.empty());
                EXPECT_EQ(Game->MusicVolume, lastVolume);
            }
        };
        driver.notes.clear();
        StartGame();
        expect(!liveChanger && lastKilled);
        TGame::MakeGoodExit();
        if (live(firstEnd))
            end(*first, firstEnd);
        if (live(secondEnd))
            end(*second, secondEnd);
        driver.notes.clear();
        StartGame();
        if (liveChanger) {
            expect(lastKilled);
        } else {
            EXPECT_TRUE(driver.notes.empty());
        }
        EXPECT_EQ(Game->MusicVolume, lastKilled ? 20 : lastVolume);
    }
}

TEST_F(Settings, SaveFlags) {
    Game->Init(4);
    Game->IniUpdate(0);
    EXPECT_EQ(platform::FileType(Game->IniChangedPath()), 0);
    Game->ParticlesSet(130, 2);
    EXPECT_EQ(Game->Particles, 100);
    EXPECT_EQ(Value(IniText(), "PARTICLES"), "80"); // not written
    Game->ParticlesChange(-150);
    EXPECT_EQ(Game->Particles, 0);
    EXPECT_EQ(Value(IniText(), "PARTICLES"), "0");
    EXPECT_EQ(platform::FileType(Game->IniChangedPath()), 1);
}

TEST_F(Settings, ASoundDriverThatFailsAtStartKeepsThePlayersChoice) {
    platform::CreateDir(Game->SubPath, true);
    WriteTextFile(Game->IniFilePath(), "SOUND DRIVER=DirectSound\r\n");
    Game->Init(0);
    EXPECT_EQ(Value(IniText(), "SOUND DRIVER"), "DirectSound");
    Game->MusicChangeVolume(10); // a later save keeps it too
    EXPECT_EQ(Value(IniText(), "SOUND DRIVER"), "DirectSound");
    EXPECT_EQ(platform::FileType(Game->IniChangedPath()), 1);
    platform::DeleteFile(Game->IniChangedPath());

    // A driver the player picks that fails becomes "None", saved with the marker.
    Game->ChangeSoundDriver("DirectSound", 1);
    EXPECT_EQ(Game->SoundDriver, "None");
    EXPECT_EQ(Value(IniText(), "SOUND DRIVER"), "None");
    EXPECT_EQ(platform::FileType(Game->IniChangedPath()), 1);
}

TEST_F(Settings, FoldersFollowTheirRules) {
    std::string shared = driver.home.Path();
    Game->SetSubPathWrapper("");
    EXPECT_EQ(Game->SubPath, shared);
    EXPECT_EQ(Game->ProfilePath, shared + "profiles/");
    Game->SetSubPathWrapper("Pelorin Demo/");
    EXPECT_EQ(Game->SubPath, shared + "Pelorin Demo/");
    EXPECT_EQ(Game->ProfilePath, shared + "Pelorin Demo/profiles/");
    Game->SetSubPathWrapper("Pelorin Demo");
    EXPECT_EQ(Game->ProfilePath, shared + "Pelorin Demo/profiles/");
    EXPECT_EQ(ccErrorPath, Game->SubPath);
    EXPECT_EQ(Game->ImagePath, dataDir + "Data/graphics/");
    EXPECT_EQ(Game->TextPath, dataDir + "Data/text/");

    Game->UseCorrectPath = 0;
    Game->DataPrefix = "";
    Game->SetSubPathWrapper("Pelorin Demo");
    EXPECT_EQ(Game->SubPath, "Pelorin Demo/");
    EXPECT_EQ(Game->ProfilePath, "Data/profiles/");
    EXPECT_EQ(Game->SoundPath, "Data/sound/");
    Game->SetMusicPath("");
    EXPECT_EQ(Game->MusicPath, "/");

    Game->DataInAppBundle = 1;
    Game->SetDefaultPaths();
    EXPECT_EQ(Game->DataPrefix, platform::AppDir());
}

TEST_F(Settings, AGameFolderThatCannotBeMadeIsFatal) {
    WriteTextFile(driver.home.File("blocker"), "a file, not a folder");
    Game->SubPath = driver.home.File("blocker/Pelorin Demo/");
    try {
        Game->Init(4);
        FAIL();
    } catch (const testing_support::ProcessEnded&) {
    }
    EXPECT_EQ(driver.notes.back(), "Cannot create shared data folder " + Game->SubPath);
}

} // namespace
