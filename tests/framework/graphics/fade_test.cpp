#include "framework/graphics/fade.h"
#include "framework/graphics/splash_screen.h"
#include "framework/util/input.h"
#include "platform/input.h"
#include "tests/framework/graphics/graphics_fixture.h"
#include "tests/support/audio_fixtures.h"

#include <functional>
#include <map>

using graphics_test::GraphicsTest;
using graphics_test::Solid;

namespace {

// A channel that records the volumes it is given.
class TRecordingChannel : public platform::TChannel {
public:
    void SetVolume(float volume) override { volumes.push_back(volume); }
    std::vector<float> volumes;
};

// Every flip moves the fake clock on by a frame and may deliver input planned for that time.
class BlockingFadeTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        start = now;
        platform::SetFlipHook([this] {
            ++flips;
            now += frameMs;
            const int at = now - start;
            for (auto it = planned.begin(); it != planned.end() && it->first <= at;) {
                it->second();
                it = planned.erase(it);
            }
        });
        ccEnablePolledInput();
    }
    // Input planned for the first flip at or after ms from the start.
    void At(int ms, std::function<void()> what) { planned.emplace(ms, std::move(what)); }
    static void Click() {
        platform::InjectMouseButton(1, true);
        platform::InjectMouseButton(1, false);
    }
    static void Key() {
        platform::InjectKey(platform::KEY_SPACE, true);
        platform::InjectKey(platform::KEY_SPACE, false);
    }
    // The alpha of each drawing of the picture.
    std::vector<float> PictureAlphas(const platform::ImagePtr& picture) const {
        std::vector<float> out;
        for (const auto& r : platform::DrawLog())
            if (r.kind == platform::TDrawRecord::IMAGE && r.image == picture.get())
                out.push_back(r.alpha);
        return out;
    }

    int start = 0;
    int frameMs = 100;
    int flips = 0;
    std::multimap<int, std::function<void()>> planned;
    platform::ImagePtr picture = platform::LoadImage(Solid(200, 100), 0);
};

TEST_F(BlockingFadeTest, FadeOutRunsFromFullToNothing) {
    TFade fade;
    fade.Init(1000.0f, picture, nullptr);
    fade.CentreImage();
    EXPECT_EQ(fade.X, 300);
    EXPECT_EQ(fade.Y, 250);
    EXPECT_EQ(fade.FadeDo(1), 1);
    auto alphas = PictureAlphas(picture);
    ASSERT_EQ(alphas.size(), 12u); // frames at 0, 100 ... 1100 ms
    EXPECT_FLOAT_EQ(alphas.front(), 1.0f);
    EXPECT_FLOAT_EQ(alphas[5], 0.5f);
    EXPECT_FLOAT_EQ(alphas.back(), 0.0f);
    EXPECT_EQ(platform::GetBlend(), platform::SOLIDBLEND);
    fade.Full();
    EXPECT_FLOAT_EQ(PictureAlphas(picture).back(), 1.0f);
}

TEST_F(BlockingFadeTest, InputCutsTheFadeShortButNotInputFromBefore) {
    Key(); // before the fade: flushed at its start
    TFade fade;
    fade.Init(1000.0f, picture, nullptr);
    At(300, Click);
    EXPECT_EQ(fade.FadeDo(0), -1);
    EXPECT_EQ(now - start, 300);
    EXPECT_EQ(platform::GetBlend(), platform::SOLIDBLEND);
    EXPECT_EQ(ccMouseButtons(), 0); // the click was flushed
    EXPECT_NEAR(fade.Ratio, 0.2f, 1e-6);

    fade.Reset();
    At(900, Key);
    EXPECT_EQ(fade.FadeDo(0), -1);
}

TEST_F(BlockingFadeTest, HoldKeepsFullAlphaForItsTime) {
    TFade fade;
    fade.Init(1000.0f, picture, nullptr);
    frameMs = 50;
    EXPECT_EQ(fade.WaitForTime(750.0f), 0);
    EXPECT_GE(now - start, 750);
    EXPECT_EQ(fade.Out, -1);
    for (float alpha : PictureAlphas(picture))
        EXPECT_FLOAT_EQ(alpha, 1.0f);
    fade.Reset();
    start = now;
    At(200, Click);
    EXPECT_EQ(fade.WaitForTime(750.0f), -1);
}

TEST_F(BlockingFadeTest, AFadeWithoutLengthShowsItsEndAtOnce) {
    TFade fade;
    fade.Init(0.0f, picture, nullptr);
    EXPECT_EQ(fade.FadeDo(1), 1);
    auto alphas = PictureAlphas(picture);
    ASSERT_FALSE(alphas.empty());
    for (float alpha : alphas)
        EXPECT_FLOAT_EQ(alpha, 0.0f);
}

TEST_F(BlockingFadeTest, BackgroundScrollsAndFadesAtTheEnds) {
    auto background = platform::LoadImage(Solid(1000, 800), 0);
    TFade fade;
    fade.Background = background;
    fade.BackgroundXSpeed = 20.0f;
    fade.BackgroundFadeTime = 250.0f;
    fade.Init(2000.0f, picture, nullptr);
    frameMs = 250;
    fade.FadeDo(1);
    std::vector<platform::TDrawRecord> back;
    for (const auto& r : platform::DrawLog())
        if (r.image == background.get())
            back.push_back(r);
    ASSERT_EQ(back.size(), 10u);          // 0, 250 ... 2250 ms
    EXPECT_FLOAT_EQ(back[4].x, -20.0f);   // one second: 20 pixels to the left
    EXPECT_FLOAT_EQ(back[7].alpha, 1.0f); // 1750 ms
    EXPECT_FLOAT_EQ(back[8].alpha, 0.0f); // 2000 ms
    EXPECT_FLOAT_EQ(back[5].alpha, 1.0f);

    platform::ClearDrawLog();
    fade.Reset();
    fade.FadeDo(0); // the scroll goes on from where it was
    back.clear();
    for (const auto& r : platform::DrawLog())
        if (r.image == background.get())
            back.push_back(r);
    EXPECT_FLOAT_EQ(back[0].alpha, 0.0f);
    EXPECT_FLOAT_EQ(back[1].alpha, 1.0f);
    EXPECT_LT(back[0].x, -40.0f);
}

TEST_F(BlockingFadeTest, ChannelVolumeFollowsThePicture) {
    Game->SoundVolume = 80;
    auto channel = std::make_shared<TRecordingChannel>();
    TFade fade;
    fade.Init(1000.0f, picture, channel);
    fade.FadeDo(0);
    auto alphas = PictureAlphas(picture);
    ASSERT_EQ(channel->volumes.size(), alphas.size());
    for (size_t i = 0; i < alphas.size(); ++i)
        EXPECT_NEAR(channel->volumes[i], 0.8f * alphas[i], 1e-6);
}

TEST_F(BlockingFadeTest, ACloseRequestEndsTheFade) {
    TFade fade;
    fade.Init(1000.0f, picture, nullptr);
    At(400, platform::InjectQuit);
    EXPECT_EQ(fade.FadeDo(0), -1);
    EXPECT_EQ(fade.TerminateRequested, 1);
}

class SplashTest : public BlockingFadeTest {
protected:
    void SetUp() override {
        BlockingFadeTest::SetUp();
        ccDisablePolledInput(); // as the game has it before its splash
        frameMs = 20;
        Game->DataPrefix = dir.Path();
        platform::CreateDir(dir.File("data"));
    }
    // The size of the picture the splash drew.
    int DrawnWidth() const {
        for (const auto& r : platform::DrawLog())
            if (r.kind == platform::TDrawRecord::IMAGE)
                return static_cast<int>(r.w);
        return 0;
    }
};

TEST_F(SplashTest, PortalSplashPrefersThePngAndRunsItsDefaultTimes) {
    WritePicture("data/portallogo.png", 40, 30);
    WritePicture("data/portallogo.jpg", 20, 10);
    WritePicture("data/portallogo2.png", 60, 30);
    EXPECT_EQ(PortalSplash(0, 0, 0, 0), 0);
    EXPECT_EQ(DrawnWidth(), 40);
    EXPECT_NEAR(now - start, 5000, 200); // a few 20 ms frames beyond each stage
    EXPECT_EQ(ccPolledInputState, 0);
    EXPECT_TRUE(platform::AutoMidHandleOn());

    platform::ClearDrawLog();
    start = now;
    PortalSplash(3000, 0, 0, 2);
    EXPECT_EQ(DrawnWidth(), 60);
    EXPECT_NEAR(now - start, 6000, 200);

    platform::DeleteFile(dir.File("data/portallogo.png"));
    platform::ClearDrawLog();
    PortalSplash(100, 100, 100, 0);
    EXPECT_EQ(DrawnWidth(), 20);
    EXPECT_EQ(FatalErrorCapture::MessageOf([] { PortalSplash(0, 0, 0, 7); }),
              "Error loading bitmap " + dir.Path() + "data/portallogo7.jpg");
}

TEST_F(SplashTest, AKeyOrAClickSkipsTheRest) {
    const std::string path = WritePicture("logo.png", 40, 30);
    struct Case {
        int at;
        std::function<void()> input;
    };
    const Case cases[] = {{500, Key}, {2500, Click}, {4000, Key}};
    for (const auto& c : cases) {
        TSplashScreen splash;
        splash.Init(path, "", 1, 0);
        EXPECT_EQ(ccPolledInputState, 1);
        start = now;
        At(c.at, c.input);
        EXPECT_EQ(splash.DoSplash(), -1) << c.at;
        EXPECT_EQ(now - start, c.at);
        EXPECT_EQ(ccPolledInputState, 0);
        EXPECT_EQ(platform::GetBlend(), platform::SOLIDBLEND);
        EXPECT_EQ(splash.Image->handleX, 0.0f);
    }
    // A splash begun in polled mode leaves it on.
    ccEnablePolledInput();
    TSplashScreen polled;
    polled.Init(path, "", 1, 0);
    At(now - start + 200, Click);
    EXPECT_EQ(polled.DoSplash(), -1);
    EXPECT_EQ(ccPolledInputState, 1);
}

TEST_F(SplashTest, ACloseRequestDuringTheSplashReachesTheGame) {
    const std::string path = WritePicture("logo.png", 40, 30);
    TSplashScreen splash;
    splash.Init(path, "", 1, 0);
    At(1500, platform::InjectQuit);
    EXPECT_EQ(splash.DoSplash(), -1);
    bool quit = false;
    while (platform::PollEvent())
        quit = quit || platform::CurrentEvent().id == platform::EVENT_APPTERMINATE;
    EXPECT_TRUE(quit);
}

TEST_F(SplashTest, ACloseRequestInItsLastFrameReachesTheGameOnce) {
    const std::string path = WritePicture("logo.png", 40, 30);
    auto run = [&] {
        TSplashScreen splash;
        splash.Init(path, "", 1, 0);
        splash.InitTimes(200, 200, 200);
        start = now;
        flips = 0;
        return splash.DoSplash();
    };
    ASSERT_EQ(run(), 0);
    const int lastFlip = now - start;
    // Then again, with the window closed as the last frame is shown: the fades are over by then.
    At(lastFlip, platform::InjectQuit);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(now - start, lastFlip);
    int closeRequests = 0;
    while (platform::PollEvent())
        closeRequests += platform::CurrentEvent().id == platform::EVENT_APPTERMINATE ? 1 : 0;
    EXPECT_EQ(closeRequests, 1);

    // One that ends the splash early is handed on once too.
    At(300, platform::InjectQuit);
    EXPECT_EQ(run(), -1);
    closeRequests = 0;
    while (platform::PollEvent())
        closeRequests += platform::CurrentEvent().id == platform::EVENT_APPTERMINATE ? 1 : 0;
    EXPECT_EQ(closeRequests, 1);
}

TEST_F(SplashTest, SoundsPlayOnceOrFadeWithThePicture) {
    const std::string picture = WritePicture("logo.png", 40, 30);
    const std::string sound = dir.File("sound.wav");
    testing_support::WriteTextFile(
        sound, testing_support::MakeWav(testing_support::WavLayout(1, 16, 22050),
                                        std::string(88200, '\0')));
    struct Case {
        int soundFlag, fadeSound;
        bool channel, fadeHasChannel, loops;
    };
    const Case cases[] = {
        {1, 1, true, true, true}, {1, 0, true, false, false}, {0, 1, false, false, true}};
    // On a device (OpenAL's null output in the test runs) a sound still sounding would show.
    platform::SetAudioDriver("OpenAL");
    for (const auto& c : cases) {
        TSplashScreen splash;
        splash.Init(picture, sound, c.soundFlag, c.fadeSound);
        EXPECT_EQ(splash.Sample->loop, c.loops);
        splash.InitTimes(200, 200, 200);
        EXPECT_EQ(splash.DoSplash(), 0);
        EXPECT_EQ(splash.Channel != nullptr, c.channel);
        EXPECT_EQ(splash.fade->Channel != nullptr, c.fadeHasChannel);
        EXPECT_FALSE(platform::ChannelPlaying(splash.Channel));
    }
    platform::CloseAudio();
    EXPECT_EQ(
        FatalErrorCapture::MessageOf([&] { ShowSplash(picture, dir.File("none.wav"), 1, 0); }),
        "Error loading sample " + dir.File("none.wav"));
}

TEST_F(SplashTest, MakersSplashWithItsBackground) {
    WritePicture("data/Vantorel.png", 40, 30);
    WritePicture("data/splashbg.jpg", 900, 700);
    testing_support::WriteTextFile(
        dir.File("data/SplashSound.wav"),
        testing_support::MakeWav(testing_support::WavLayout(1, 16, 22050), std::string(64, '\0')));
    // Anchored at its top-left corner, the moving and growing background covers the whole screen
    // through the fade-in, the hold and the fade-out.
    int covered = 0;
    for (int ms : {100, 1000, 2000, 3000, 3900})
        At(ms, [&covered, ms] {
            const platform::TDrawRecord* last = nullptr;
            for (const auto& r : platform::DrawLog())
                if (r.kind == platform::TDrawRecord::IMAGE && static_cast<int>(r.w) == 900)
                    last = &r;
            ASSERT_NE(last, nullptr) << ms;
            const float left = last->x - last->image->handleX * last->scaleX;
            const float top = last->y - last->image->handleY * last->scaleY;
            EXPECT_LE(left, 0.0f) << ms;
            EXPECT_LE(top, 0.0f) << ms;
            EXPECT_GE(left + last->w * last->scaleX, 800.0f) << ms;
            EXPECT_GE(top + last->h * last->scaleY, 600.0f) << ms;
            ++covered;
        });
    EXPECT_EQ(VantorelSplash(1, 1), 0);
    EXPECT_EQ(covered, 5);
    EXPECT_NEAR(now - start, 1750 + 750 + 1500, 200);
    int backgroundDraws = 0;
    for (const auto& r : platform::DrawLog())
        if (r.kind == platform::TDrawRecord::IMAGE && static_cast<int>(r.w) == 900)
            ++backgroundDraws;
    EXPECT_GT(backgroundDraws, 150);
}

} // namespace
