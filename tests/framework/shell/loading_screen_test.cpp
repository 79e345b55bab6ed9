#include "framework/shell/loading_screen.h"
#include "framework/ui/button.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using platform::TDrawRecord;
using ui_test::UiTest;

constexpr int KEY_ENTER = 13;
constexpr int KEY_SPACE = 32;
constexpr int KEY_A = 65;

class LoadingBarTest : public UiTest {
protected:
    static platform::ImagePtr Picture(int w, int h) {
        return platform::MakeImage({testing_support::Filled(w, h, 0xFFFFFFFF)}, 0);
    }
    // A 200 by 20 bar at (300, 500) with its images as asked, eight steps, done steps steps.
    TLoadingBar Bar(bool withEmpty, bool withFinal, int steps) {
        TLoadingBar bar;
        bar.Init(Picture(200, 20), withEmpty ? Picture(200, 20) : nullptr,
                 withFinal ? Picture(200, 20) : nullptr);
        bar.Centre(500);
        bar.SetSteps(8);
        for (int i = 0; i < steps; ++i)
            bar.Progress();
        return bar;
    }
    // What a draw of the bar left in the log, in order: 'R'ect, 'L'ine, 'E'mpty, 'F'inal,
    // 'f'ill (of its width).
    static std::string Drawn(TLoadingBar& bar, int& result) {
        platform::ClearDrawLog();
        result = bar.Draw();
        std::string out;
        for (const auto& r : platform::DrawLog()) {
            if (r.kind == TDrawRecord::RECT)
                out += 'R';
            else if (r.kind == TDrawRecord::LINE)
                out += 'L';
            else if (r.image == bar.EmptyImage.get())
                out += 'E';
            else if (r.image == bar.FinalImage.get())
                out += 'F';
            else if (r.image == bar.Image.get())
                out += "f" + std::to_string(static_cast<int>(r.w));
        }
        return out;
    }
};

TEST_F(LoadingBarTest, EachStepWidensTheFillUntilTheBarIsFull) {
    TLoadingBar bar = Bar(false, false, 0);
    EXPECT_EQ((std::array{bar.x, bar.y, bar.w, bar.h}), (std::array{300, 500, 200, 20}));
    for (int step = 1; step <= 8; ++step) {
        bar.Progress();
        EXPECT_FLOAT_EQ(bar.Position, 25.0f * step);
        EXPECT_EQ(bar.Finished, step == 8 ? 1 : 0);
    }
    // Fewer than one step: the fill stays empty and the bar never fills.
    bar.SetSteps(0);
    bar.Progress();
    EXPECT_FLOAT_EQ(bar.Position, 0.0f);
}

TEST_F(LoadingBarTest, TheModesDrawTheirBackgroundAndTheFill) {
    struct Case {
        std::string what;
        int mode;
        bool withEmpty, withFinal;
        int drawEmptyUnderFinal, steps;
        std::string drawn;
        int blendAfter;
    };
    const Case cases[] = {
        {"box at 3 of 8", 0, false, false, 0, 3, "RLLLLf75", platform::SOLIDBLEND},
        {"box, full, no final picture", 0, false, false, 0, 8, "RLLLLf200", platform::SOLIDBLEND},
        {"empty picture", 1, true, false, 0, 4, "Ef100", platform::SOLIDBLEND},
        {"mode 1 missing its empty picture", 1, false, false, 0, 4, "f100", platform::SOLIDBLEND},
        {"fill only", 2, true, true, 0, 1, "f25", platform::SOLIDBLEND},
        {"nothing filled yet", 2, false, false, 0, 0, "", platform::SOLIDBLEND},
        {"final picture", 0, true, true, 0, 8, "F", platform::ALPHABLEND},
        {"final over empty", 1, true, true, 1, 8, "EF", platform::ALPHABLEND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TLoadingBar bar = Bar(c.withEmpty, c.withFinal, c.steps);
        bar.Mode = c.mode;
        bar.DrawEmptyUnderFinal = c.drawEmptyUnderFinal;
        platform::SetBlend(platform::ALPHABLEND);
        int result = 0;
        EXPECT_EQ(Drawn(bar, result), c.drawn);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(platform::GetBlend(), c.blendAfter);
    }
}

TEST_F(LoadingBarTest, TheBoxTakesItsColoursAndTheFillStartsAtTheBar) {
    TLoadingBar bar = Bar(false, false, 2);
    bar.SetBackgroundColour(10, 20, 30);
    bar.SetBorderColour(200, 0, 0);
    int result = 0;
    Drawn(bar, result);
    const auto& log = platform::DrawLog();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ((std::array{log[0].r, log[0].g, log[0].b}), (std::array{10, 20, 30}));
    EXPECT_EQ((std::array{log[0].x, log[0].y, log[0].w, log[0].h}),
              (std::array{300.0f, 500.0f, 200.0f, 20.0f}));
    EXPECT_EQ(log[0].blend, platform::SOLIDBLEND);
    EXPECT_EQ((std::array{log[1].r, log[1].g, log[1].b}), (std::array{200, 0, 0}));
    EXPECT_EQ((std::array{log[5].x, log[5].y, log[5].w, log[5].h}),
              (std::array{300.0f, 500.0f, 50.0f, 20.0f}));
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
}

TEST_F(LoadingBarTest, ABarWithoutPicturesDrawsNothing) {
    TLoadingBar bare; // as the game object makes it
    int result = 1;
    EXPECT_EQ(Drawn(bare, result), "");
    EXPECT_EQ(result, 0);
    bare.Progress();
    TLoadingBar noImage = Bar(true, false, 2);
    noImage.Image = nullptr;
    noImage.Mode = 1;
    EXPECT_EQ(Drawn(noImage, result), "");
    EXPECT_EQ(result, 0);
    // The game's own loading screen steps and draws without any picture.
    Game->MoveBar();
    EXPECT_EQ(Game->LoadingScreen->LoadingBar->CurrentStep, 1);
}

class LoadingScreenTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        const std::pair<const char*, int> pictures[] = {{"bg.png", 800},
                                                        {"bar.png", 200},
                                                        {"loading.png", 100},
                                                        {"loading2.png", 100},
                                                        {"click.png", 100}};
        for (const auto& [name, width] : pictures)
            WritePicture(Game->ImagePath + name, width, 20, 0xFFFFFFFF);
        destination = std::make_shared<TScreen>();
        screen->Destination = destination;
    }
    // The screen loaded with bg.png, bar.png and loading.png, in steps steps.
    void Load(int steps) {
        screen->SpecialLoad("bg.png", "bar.png", "loading.png");
        screen->SetSteps(steps);
    }
    bool Leaving() const {
        return Game->GameFade->Active && Game->GameFade->Out == 1 &&
               Game->DestinationTScreen == destination;
    }
    std::shared_ptr<TLoadingScreen> screen = std::make_shared<TLoadingScreen>();
    std::shared_ptr<TScreen> destination;
};

TEST_F(LoadingScreenTest, SpecialLoadFindsTheBarsCompanionPictures) {
    struct Case {
        std::string what;
        std::vector<std::string> present;
        bool empty, full;
    };
    const Case cases[] = {
        {"none", {}, false, false},
        {"only the final picture", {"barfinal.png"}, false, true},
        {"both", {"barempty.png", "barfinal.png"}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::DeleteFile(Game->ImagePath + "barempty.png");
        platform::DeleteFile(Game->ImagePath + "barfinal.png");
        for (const auto& name : c.present)
            WritePicture(Game->ImagePath + name, 200, 20, 0xFF00FF00);
        Game->MusicName = "theme";
        auto loading = std::make_shared<TLoadingScreen>();
        loading->SpecialLoad("bg.png", "bar.png", "loading.png");
        EXPECT_EQ(loading->name, "loading");
        EXPECT_EQ(loading->LoadingBar->w, 200);
        EXPECT_EQ(loading->LoadingBar->EmptyImage != nullptr, c.empty);
        EXPECT_EQ(loading->LoadingBar->FinalImage != nullptr, c.full);
        EXPECT_FLOAT_EQ(loading->Image->handleX, 0.0f);
        EXPECT_FLOAT_EQ(loading->LoadingTextImage->handleX, 50.0f);
        EXPECT_EQ((std::array{loading->LoadingX, loading->LoadingY}), (std::array{400, 300}));
        EXPECT_EQ(Game->MusicName, "none");
    }
    const std::string missing = Game->ImagePath + "nothing.png";
    EXPECT_EQ(FatalErrorCapture::MessageOf(
                  [&] { screen->SpecialLoad("bg.png", "bar.png", "nothing.png"); }),
              "Error loading bitmap " + missing);
}

TEST_F(LoadingScreenTest, ProgressFinishesWithTheBarAndDropsPendingInput) {
    Load(3);
    screen->Progress();
    screen->Progress();
    EXPECT_EQ(screen->Finished, 0);
    PressKey(KEY_A);
    screen->Progress();
    EXPECT_EQ(screen->Finished, 1);
    EXPECT_EQ(KeyHit(KEY_A), 0);
}

TEST_F(LoadingScreenTest, DrawShowsLoadingThenTheButton) {
    Load(2);
    int customDraws = 0;
    screen->CustomDrawFunction = [&customDraws] { return ++customDraws; };
    platform::ClearDrawLog();
    screen->Draw();
    auto images = Drawn(TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u); // the background; no fill yet; the loading picture
    EXPECT_EQ(images[0].image, screen->Image.get());
    EXPECT_EQ(images[0].blend, platform::SOLIDBLEND);
    EXPECT_EQ(images[1].image, screen->LoadingTextImage.get());
    EXPECT_EQ((std::array{images[1].x, images[1].y}), (std::array{400.0f, 300.0f}));
    EXPECT_EQ(images[1].blend, platform::ALPHABLEND);
    EXPECT_EQ(Drawn(TDrawRecord::RECT).size(), 1u);

    screen->LoadingTextImage2 = platform::LoadImage(Game->ImagePath + "loading2.png");
    screen->DrawLoadingTextImage2 = 1;
    screen->SetClickHereButton("click", "", "", "buttonclick", 450);
    EXPECT_EQ((std::array{screen->ClickHereButton->x, screen->ClickHereButton->y}),
              (std::array{350.0f, 450.0f}));
    EXPECT_EQ(screen->ClickHereButton->OKButton, 1);
    platform::ClearDrawLog();
    screen->Draw();
    images = Drawn(TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1].image, screen->LoadingTextImage2.get());

    // Finished with a button: no bar without a final picture, no loading picture, the button.
    screen->Progress();
    screen->Progress();
    platform::ClearDrawLog();
    screen->Draw();
    images = Drawn(TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1].image, screen->ClickHereButton->image->image.get());
    EXPECT_TRUE(Drawn(TDrawRecord::RECT).empty());
    EXPECT_EQ(customDraws, 3);

    // Finished without a button: the full bar, no loading picture.
    screen->ClickHereButton = nullptr;
    platform::ClearDrawLog();
    screen->Draw();
    images = Drawn(TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1].image, screen->LoadingBar->Image.get());
    EXPECT_FLOAT_EQ(images[1].w, 200.0f);
}

TEST_F(LoadingScreenTest, AFrameOfItsOwnShowsThePictureWhileMusicIsOn) {
    Load(2);
    Game->Mouse->On();
    struct Case {
        int mode, music, fadeMouse;
        int pictures, plots, flips;
    };
    const Case cases[] = {
        {0, 0, 0, 1, 0, 0}, {1, 1, 0, 1, 1, 1}, {1, 0, 0, 0, 1, 1},
        {1, 1, 1, 1, 0, 1}, {2, 1, 0, 0, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " music " << c.music);
        Game->Music = c.music;
        Game->FadeMouse = c.fadeMouse;
        platform::ClearDrawLog();
        const int64_t flips = platform::FlipCount();
        screen->DrawLoading(c.mode);
        EXPECT_EQ(Drawn(TDrawRecord::CLS).size(), c.mode != 0 ? 1u : 0u);
        EXPECT_EQ(static_cast<int>(Drawn(TDrawRecord::IMAGE).size()), c.pictures);
        EXPECT_EQ(static_cast<int>(Drawn(TDrawRecord::PLOT).size()), c.plots);
        EXPECT_EQ(platform::FlipCount() - flips, c.flips);
    }
}

TEST_F(LoadingScreenTest, LeavesAtOnceWithoutAButton) {
    Load(1);
    screen->Logic();
    EXPECT_TRUE(Leaving());
}

TEST_F(LoadingScreenTest, WithAButtonItWaitsForAClickOrAnOKKey) {
    struct Case {
        std::string what;
        std::function<void()> input;
        bool leaves;
    };
    const Case cases[] = {
        {"nothing", [] {}, false},
        {"pointer over the button", [] { MovePointer(360, 455); }, false},
        {"click on the button", [] { ClickAt(360, 455); }, true},
        {"click anywhere", [] { ClickAt(10, 10); }, true},
        {"Enter", [] { PressKey(KEY_ENTER); }, true},
        {"Space", [] { PressKey(KEY_SPACE); }, true},
        {"another key", [] { PressKey(KEY_A); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Game->GameFade->Active = 0;
        Game->DestinationTScreen = nullptr;
        MovePointer(-100, -100);
        Game->Mouse->ClearMouseHit();
        ccFlushAll();
        Load(1);
        screen->SetClickHereButton("click", "", "", "buttonclick", 450);
        screen->Progress();
        TakeCued();
        c.input();
        screen->Logic();
        EXPECT_EQ(Leaving(), c.leaves);
        // Every way of leaving sounds the click once.
        EXPECT_EQ(TakeCued().size(), c.leaves ? 1u : 0u);
    }
}

TEST_F(LoadingScreenTest, AKilledScreenCanBeLoadedAgain) {
    Load(2);
    screen->SetClickHereButton("click", "", "", "", 450);
    int kills = 0;
    screen->CustomKillFunction = [&kills] { return ++kills; };
    screen->Kill();
    EXPECT_EQ(kills, 1);
    EXPECT_EQ(screen->LoadingBar, nullptr);
    EXPECT_EQ(screen->ClickHereButton, nullptr);
    EXPECT_EQ(screen->Image, nullptr);
    // Stepping, drawing and leaving go on without the bar.
    screen->SetSteps(4);
    screen->Progress();
    screen->Draw();
    Load(1);
    ASSERT_NE(screen->LoadingBar, nullptr);
    screen->Progress();
    EXPECT_EQ(screen->Finished, 1);
}

} // namespace
