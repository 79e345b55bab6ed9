#include "framework/shell/game.h"
#include "framework/ui/profile.h"
#include "platform/files.h"
#include "tests/framework/util/fatal_error_capture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <sys/stat.h>

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Game = std::make_unique<TGame>();
        Game->ProfilePath = dir.Path() + "profiles/";
    }
    std::string File() const { return dir.Path() + "profiles/hero.dat"; }

    TempDir dir;
};

void PutInt(std::string& out, uint32_t v) {
    for (int b = 0; b < 4; ++b)
        out += static_cast<char>((v >> (8 * b)) & 0xff);
}

// The stored head: five values plus their masks, the double, three plain integers.
std::string StoredHead(const int (&masked)[5], double timeTaken, int difficulty, int tips,
                       int instructions) {
    std::string out;
    for (int p = 0; p < 5; ++p)
        PutInt(out, static_cast<uint32_t>(masked[p]) + 5830417u + 3061289u * uint32_t(p));
    uint64_t bits = 0;
    std::memcpy(&bits, &timeTaken, 8);
    PutInt(out, static_cast<uint32_t>(bits));
    PutInt(out, static_cast<uint32_t>(bits >> 32));
    PutInt(out, static_cast<uint32_t>(difficulty));
    PutInt(out, static_cast<uint32_t>(tips));
    PutInt(out, static_cast<uint32_t>(instructions));
    return out;
}

TEST_F(ProfileTest, AMissingFileIsWrittenFromTheStartingValues) {
    const mode_t saved = umask(022);
    TProfilePtr profile = TProfile::Create("hero");
    EXPECT_EQ(profile->Load(), 0);
    umask(saved);

    const int start[5] = {1, 2, 0, 3, 0};
    const std::string bytes = ReadTextFile(File());
    EXPECT_EQ(bytes, StoredHead(start, 0.0, 0, 1, 1) + std::string(400, '\0'));
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x12\xf7\x58\x00", 4)); // 5830417 + 1
    struct stat st {};
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u) << "the user's mask, never world-writable";

    TProfilePtr back = TProfile::Create("other");
    back->Name = "hero";
    back->Lives = 99;
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(back->Lives, 3);
    EXPECT_EQ(back->LockedLevel, 2);
}

TEST_F(ProfileTest, EveryValueSurvivesSaveAndLoad) {
    TProfilePtr profile = TProfile::Create("hero");
    profile->CurrentLevel = INT_MIN;
    profile->LockedLevel = INT_MAX;
    profile->Score = -1;
    profile->Lives = -5830417;
    profile->Kills = 123456789;
    profile->TimeTaken = -1234.5625;
    profile->Difficulty = -7;
    profile->TipsFlag = 0;
    profile->InstructionsFlag = INT_MIN;
    for (int i = 0; i < TProfile::MAX_HINTS; ++i)
        profile->HintsShown[static_cast<size_t>(i)] = i % 3 == 0 ? -i : i;
    profile->Save();
    EXPECT_EQ(ReadTextFile(File()).size(), 440u);

    TProfilePtr back = TProfile::Create("hero");
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(back->CurrentLevel, INT_MIN);
    EXPECT_EQ(back->LockedLevel, INT_MAX);
    EXPECT_EQ(back->Score, -1);
    EXPECT_EQ(back->Lives, -5830417);
    EXPECT_EQ(back->Kills, 123456789);
    EXPECT_EQ(back->TimeTaken, -1234.5625);
    EXPECT_EQ(back->Difficulty, -7);
    EXPECT_EQ(back->TipsFlag, 0);
    EXPECT_EQ(back->InstructionsFlag, INT_MIN);
    EXPECT_EQ(back->HintsShown, profile->HintsShown);
}

TEST_F(ProfileTest, AFileEndingEarlyKeepsTheHintsItHolds) {
    const int values[5] = {4, 5, 600, 2, 17};
    std::string bytes = StoredHead(values, 8.5, 1, 0, 1);
    for (int i = 0; i < 10; ++i)
        PutInt(bytes, 1);
    bytes += "\x01\x00"; // half a value at the end
    ASSERT_TRUE(platform::CreateDir(Game->ProfilePath));
    ASSERT_TRUE(WriteTextFile(File(), bytes));

    TProfilePtr profile = TProfile::Create("hero");
    profile->HintsSet(1);
    EXPECT_EQ(profile->Load(), 1);
    EXPECT_EQ(profile->Score, 600);
    EXPECT_EQ(profile->TimeTaken, 8.5);
    for (int i = 0; i < TProfile::MAX_HINTS; ++i)
        EXPECT_EQ(profile->HintsShown[static_cast<size_t>(i)], i < 10 ? 1 : 0) << i;
    EXPECT_EQ(ReadTextFile(File()), bytes) << "a file that was read is not rewritten";
}

TEST_F(ProfileTest, AHintIsShownOnceAndSavedWhenAsked) {
    TProfilePtr profile = TProfile::Create("hero");
    EXPECT_EQ(profile->ShowHint(5, 1), 1);
    EXPECT_EQ(profile->HintsShown[5], 1);
    ASSERT_EQ(ReadTextFile(File()).substr(40 + 5 * 4, 4), std::string("\x01\0\0\0", 4));
    ASSERT_TRUE(platform::DeleteFile(File()));
    EXPECT_EQ(profile->ShowHint(5, 1), 0);
    EXPECT_EQ(platform::FileType(File()), platform::FILETYPE_NONE) << "nothing written";
    EXPECT_EQ(profile->ShowHint(6, 0), 1);
    EXPECT_EQ(platform::FileType(File()), platform::FILETYPE_NONE);
    for (int outside : {-1, TProfile::MAX_HINTS, INT_MAX})
        EXPECT_EQ(profile->ShowHint(outside, 1), 0) << outside;
    profile->HintsSet(1);
    EXPECT_EQ(profile->ShowHint(0, 0), 0);
    profile->ClearHints();
    EXPECT_EQ(profile->ShowHint(0, 0), 1);
}

TEST_F(ProfileTest, GamesAppendAndReadTheirOwnData) {
    int created = 0;
    TProfile::CreateUserFunction = [&created](TProfile& p) {
        ++created;
        p.Difficulty = 2;
        return 0;
    };
    TProfilePtr profile = TProfile::Create("hero");
    EXPECT_EQ(created, 1);
    EXPECT_EQ(profile->Difficulty, 2);
    profile->SaveUserFunction = [](const platform::StreamPtr& s) {
        s->WriteInt(4242);
        return 0;
    };
    profile->Save();
    EXPECT_EQ(ReadTextFile(File()).size(), 444u);

    int extra = 0;
    TProfilePtr back = TProfile::Create("hero");
    back->LoadUserFunction = [&extra](const platform::StreamPtr& s) {
        extra = s->ReadInt();
        return 0;
    };
    EXPECT_EQ(back->Load(), 1);
    EXPECT_EQ(extra, 4242);
}

TEST_F(ProfileTest, AShortFileIsKeptAsideAndAFreshOneWritten) {
    struct Case {
        const char* what;
        std::string bytes;
        bool folder;
    };
    const Case cases[] = {
        {"empty", std::string(), false},
        {"one byte short of the head", std::string(39, '\x05'), false},
        {"a folder", std::string(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseDir;
        Game->ProfilePath = caseDir.Path();
        const std::string file = caseDir.File("hero.dat");
        if (c.folder)
            ASSERT_TRUE(platform::CreateDir(file));
        else
            ASSERT_TRUE(WriteTextFile(file, c.bytes));
        // Another player's values in the object: the new profile starts from Init's.
        TProfilePtr profile = TProfile::Create("anna");
        profile->Score = 77, profile->Lives = 1, profile->HintsShown[4] = 1;
        profile->Name = "hero";
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(profile->Load(), 0);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("hero.dat.damaged"), std::string::npos) << err;
        if (c.folder)
            EXPECT_EQ(platform::FileType(file + ".damaged"), platform::FILETYPE_DIR);
        else
            EXPECT_EQ(ReadTextFile(file + ".damaged"), c.bytes);
        TProfilePtr reread = TProfile::Create("x");
        reread->Name = "hero";
        EXPECT_EQ(reread->Load(), 1);
        for (const TProfilePtr& held : {profile, reread}) {
            EXPECT_EQ(held->Score, 0);
            EXPECT_EQ(held->Lives, 3);
            EXPECT_EQ(held->HintsShown[4], 0);
        }
        EXPECT_EQ(ReadTextFile(file).size(), 440u);
    }
}

TEST_F(ProfileTest, AProfileThatCannotBeWrittenIsFatalWithItsPath) {
    ASSERT_TRUE(WriteTextFile(dir.File("profiles"), "not a folder"));
    FatalErrorCapture fatal;
    EXPECT_EQ(FatalErrorCapture::MessageOf([] { TProfile::Create("hero")->Save(); }),
              "Could not create file '" + File() + "'");
}

} // namespace
