#include "framework/shell/game.h"
#include "framework/ui/my_profile.h"
#include "framework/util/error.h"
#include "platform/files.h"
#include "platform/system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <sys/stat.h>
#include <vector>

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

class MyProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Game = std::make_unique<TGame>();
        Game->ProfilePath = dir.Path() + "profiles/";
    }

    std::string ProfileFile() const { return dir.Path() + "profiles/player.dat"; }

    TempDir dir;
};

// The stored bytes of seven counters, each plus its position's mask, little-endian.
std::string StoredBytes(const int (&counters)[7]) {
    std::string out;
    for (int p = 0; p < 7; ++p) {
        const uint32_t v = static_cast<uint32_t>(counters[p]) + 3918274u + 6187u * uint32_t(p);
        for (int b = 0; b < 4; ++b)
            out += static_cast<char>((v >> (8 * b)) & 0xff);
    }
    return out;
}

TEST_F(MyProfileTest, FirstRunWritesMaskedZerosAndNextRunReadsThemBack) {
    const mode_t saved = umask(022);
    auto first = TMyProfile::Create("player");
    EXPECT_EQ(first->Load(), 0);
    umask(saved);

    const int zeros[7] = {};
    const std::string bytes = ReadTextFile(ProfileFile());
    EXPECT_EQ(bytes, StoredBytes(zeros));
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xc2\xc9\x3b\x00", 4)); // 3918274
    struct stat st {};
    ASSERT_EQ(stat(ProfileFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u) << "created with the user's mask, never world-writable";

    auto second = TMyProfile::Create("player");
    EXPECT_EQ(second->Load(), 1);
    EXPECT_EQ(second->Won3 + second->Won5 + second->Won10 + second->Won20 + second->Lost5 +
                  second->Dominated + second->Swept,
              0);
}

TEST_F(MyProfileTest, EveryCounterValueSurvivesSaveAndLoad) {
    const int values[7] = {INT_MIN, INT_MAX, -1, 1, 0, -3918274, 123456789};
    auto profile = TMyProfile::Create("player");
    int* fields[7] = {&profile->Won3,  &profile->Won5,      &profile->Won10, &profile->Won20,
                      &profile->Lost5, &profile->Dominated, &profile->Swept};
    for (int i = 0; i < 7; ++i)
        *fields[i] = values[i];
    profile->Save();
    EXPECT_EQ(ReadTextFile(ProfileFile()), StoredBytes(values));

    auto back = TMyProfile::Create("player");
    EXPECT_EQ(back->Load(), 1);
    const int got[7] = {back->Won3,  back->Won5,      back->Won10, back->Won20,
                        back->Lost5, back->Dominated, back->Swept};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(got[i], values[i]) << "counter " << i;
}

TEST_F(MyProfileTest, DamagedFileIsKeptAsideAndAFreshProfileWritten) {
    struct Case {
        const char* what;
        std::string bytes; // empty with folder set: a folder in the file's place
        bool folder;
    };
    const Case cases[] = {
        {"truncated", std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a", 10), false},
        {"empty", std::string(), false},
        {"one byte short", std::string(27, '\x11'), false},
        {"a folder", std::string(), true},
    };
    const int zeros[7] = {};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseDir;
        Game->ProfilePath = caseDir.Path();
        const std::string file = caseDir.File("player.dat");
        if (c.folder)
            ASSERT_TRUE(platform::CreateDir(file));
        else
            ASSERT_TRUE(WriteTextFile(file, c.bytes));

        // The one current profile switched to this name still holds the previous player's
        // counters: none of them may reach the new file.
        auto profile = TMyProfile::Create("anna");
        profile->Won3 = 1, profile->Won5 = 2, profile->Won10 = 3, profile->Won20 = 4;
        profile->Lost5 = 5, profile->Dominated = 6, profile->Swept = 7;
        profile->Name = "player";
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(profile->Load(), 0);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("player.dat.damaged"), std::string::npos) << err;

        if (c.folder)
            EXPECT_EQ(platform::FileType(file + ".damaged"), platform::FILETYPE_DIR);
        else
            EXPECT_EQ(ReadTextFile(file + ".damaged"), c.bytes);
        EXPECT_EQ(ReadTextFile(file), StoredBytes(zeros));
        const int held[7] = {profile->Won3,  profile->Won5,      profile->Won10, profile->Won20,
                             profile->Lost5, profile->Dominated, profile->Swept};
        EXPECT_EQ(std::vector<int>(held, held + 7), std::vector<int>(7, 0));
        EXPECT_EQ(profile->Name, "player");
    }
}

TEST_F(MyProfileTest, ASecondDamagedFileDoesNotReplaceTheFirstCopy) {
    ASSERT_TRUE(platform::CreateDir(Game->ProfilePath));
    ASSERT_TRUE(WriteTextFile(ProfileFile(), "first"));
    ::testing::internal::CaptureStderr();
    TMyProfile::Create("player")->Load();
    ASSERT_TRUE(WriteTextFile(ProfileFile(), "second"));
    TMyProfile::Create("player")->Load();
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadTextFile(ProfileFile() + ".damaged"), "first");
    EXPECT_EQ(ReadTextFile(ProfileFile() + ".damaged.2"), "second");
}

TEST_F(MyProfileTest, LoadWithoutFileKeepsTheValuesInMemory) {
    auto profile = TMyProfile::Create("player");
    profile->Swept = 42;
    EXPECT_EQ(profile->Load(), 0);
    EXPECT_EQ(profile->Swept, 42);
    auto back = TMyProfile::Create("player");
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(back->Swept, 42);
}

// A profile that stores more than the counters: its own Save and Load are the ones that run.
class TDerivedProfile : public TMyProfile {
public:
    int Save() override {
        ++saves;
        return TMyProfile::Save();
    }
    int Load() override {
        ++loads;
        return TMyProfile::Load();
    }
    int saves = 0;
    int loads = 0;
};

TEST_F(MyProfileTest, LoadWithoutFileRunsTheDerivedProfilesSave) {
    auto derived = std::make_shared<TDerivedProfile>();
    derived->Init("player");
    const TMyProfilePtr profile = derived;
    EXPECT_EQ(profile->Load(), 0);
    EXPECT_EQ(derived->loads, 1);
    EXPECT_EQ(derived->saves, 1);
    EXPECT_EQ(platform::FileType(ProfileFile()), platform::FILETYPE_FILE);
    EXPECT_EQ(profile->Load(), 1);
    EXPECT_EQ(derived->saves, 1) << "a file was there";
}

TEST_F(MyProfileTest, AProfileThatCannotBeWrittenIsFatalWithItsPath) {
    // The profiles "folder" is a plain file: nothing can be created inside it.
    ASSERT_TRUE(WriteTextFile(dir.File("profiles"), "not a folder"));
    const int saved = ccGraphicalErrors;
    ccGraphicalErrors = 0;
    platform::SetNotifyHandler([](const std::string&, bool) {});
    std::string message;
    try {
        TMyProfile::Create("player")->Save();
    } catch (const platform::TRuntimeError& e) {
        message = e.what();
    }
    platform::SetNotifyHandler(nullptr);
    ccGraphicalErrors = saved;
    EXPECT_EQ(message, "Could not create file '" + ProfileFile() + "'");
}

} // namespace
