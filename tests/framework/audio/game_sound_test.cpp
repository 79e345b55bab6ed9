#include "framework/audio/game_sound.h"
#include "framework/shell/game.h"
#include "framework/util/error.h"
#include "framework/util/globals.h"
#include "platform/files.h"
#include "platform/system.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/fake_channel.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using testing_support::MakeWav;
using testing_support::TempDir;
using testing_support::TWavSpec;

namespace {

// A sound folder of small WAV files, each with its own data so that the loaded file shows.
class SoundBank : public testing::Test {
protected:
    void SetUp() override {
        Game = std::make_unique<TGame>();
        ccGraphicalErrors = 0; // errors are raised as exceptions
        platform::SetNotifyHandler([this](const std::string& text, bool) { notified += text; });
        ASSERT_TRUE(platform::CreateDir(dir.File("sound/fx"), true));
        for (const char* file : {"click.wav", "Theme.OGG", "fx/boom.wav", "a.wav"}) {
            ASSERT_TRUE(testing_support::WriteTextFile(dir.File("sound/") + file,
                                                       MakeWav(TWavSpec{}, Data(file))));
        }
        bank.SetPath(dir.File("sound"));
    }
    static std::string Data(const std::string& file) {
        return file + std::string(4 - file.size() % 4, '.');
    }

    TempDir dir;
    TSoundBank bank;
    std::string notified;
};

TEST_F(SoundBank, PathsNamesAndExtensions) {
    struct Case {
        const char* file;
        const char* name;
        const char* loaded; // the file whose data the sample holds
        const char* findAs;
    };
    const Case cases[] = {
        {"click", "CLICK", "click.wav", "Click"},
        {"Theme.OGG", "THEME", "Theme.OGG", "theme"},
        {"fx/boom", "BOOM", "fx/boom.wav", "BOOM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        bank.Load(c.file, 1.0f, 1.0f, "", 0);
        const TGameSoundPtr sound = bank.Sounds.back();
        EXPECT_EQ(sound->name, c.name);
        EXPECT_EQ(sound->sound->pcm, Data(c.loaded));
        EXPECT_EQ(bank.Find(c.findAs), sound);
    }
    bank.Load("a.wav", 0.8f, 0.5f, "Alert", 1);
    const TGameSoundPtr alert = bank.Find("ALERT");
    ASSERT_TRUE(alert);
    EXPECT_FLOAT_EQ(alert->pitch, 0.8f);
    EXPECT_FLOAT_EQ(alert->volume, 0.5f);
    EXPECT_TRUE(alert->sound->loop); // flags pass through

    // The first of two sounds with one name wins.
    bank.Load("a", 1.0f, 1.0f, "click", 0);
    EXPECT_EQ(bank.Find("click")->sound->pcm, Data("click.wav"));
}

TEST_F(SoundBank, SetPathAddsOneSlash) {
    const std::string folder = dir.File("sound");
    bank.SetPath(folder);
    EXPECT_EQ(bank.Path, folder + "/");
    bank.SetPath(folder + "/");
    EXPECT_EQ(bank.Path, folder + "/");
    bank.SetPath("");
    EXPECT_EQ(bank.Path, "/");
}

TEST_F(SoundBank, MissingNamesAndFiles) {
    ShowErrors = 0;
    EXPECT_FALSE(bank.Find("nope"));
    EXPECT_EQ(notified, "");

    ShowErrors = 1;
    EXPECT_THROW(bank.Find("nope"), platform::TRuntimeError);
    EXPECT_EQ(notified, "Sound 'NOPE' was not found in the SoundBank");

    notified.clear();
    EXPECT_THROW(bank.Load("missing", 1.0f, 1.0f, "", 0), platform::TRuntimeError);
    EXPECT_EQ(notified, "Error loading sample " + dir.File("sound/missing.wav"));
}

TEST_F(SoundBank, PlayInChannelUsesTheGameObjectsPlayer) {
    bank.Load("click", 1.5f, 0.5f, "", 0);
    const TGameSoundPtr sound = bank.Find("click");
    auto fake = std::make_shared<testing_support::TFakeChannel>();
    platform::ChannelPtr channel = fake;
    Game->SoundVolume = 80;
    sound->PlayInChannel(channel, 0.25f);
    EXPECT_EQ(channel, fake); // the caller's variable is kept
    EXPECT_EQ(fake->cued, sound->sound);
    EXPECT_FLOAT_EQ(fake->volume, 0.8f * 0.5f);
    EXPECT_FLOAT_EQ(fake->pan, 0.25f);
    EXPECT_FLOAT_EQ(fake->rate, 1.5f);
    EXPECT_EQ(fake->resumes, 1);

    Game->Sound = 0;
    sound->PlayInChannel(channel, 0.0f);
    EXPECT_EQ(fake->cues, 1);
}

} // namespace
