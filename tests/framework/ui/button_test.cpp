#include "framework/ui/button.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

constexpr int KEY_ENTER = 13;
constexpr int KEY_SPACE = 32;

class ButtonTest : public UiTest {
protected:
    // A 40 by 20 button "Play" with both sounds, its top-left corner at (100, 50).
    TButtonPtr MakeButton() {
        MenuPicture("Play", 40, 20);
        auto button = std::make_shared<TButton>();
        button->UseMenuPath = 1;
        button->Load("Play", "PlayMO", "buttonMO", "buttonclick", 0, 0, 1);
        button->x = 100.0f;
        button->y = 50.0f;
        return button;
    }
    const platform::TSound* ClickSound(const TButton& b) const { return b.SoundClick->sound.get(); }
    const platform::TSound* HoverSound(const TButton& b) const {
        return b.SoundMouseOver->sound.get();
    }
};

TEST_F(ButtonTest, LoadNamesSizesAndPlacesTheButton) {
    TButtonPtr b = MakeButton();
    EXPECT_EQ(b->name, "PLAY");
    EXPECT_EQ(b->w, 40);
    EXPECT_EQ(b->h, 20);
    ASSERT_TRUE(b->SoundMouseOver && b->SoundClick && b->ImageMouseOver);
    EXPECT_FALSE(b->ChannelClick) << "with a channel pool no private channel is made";
    b->CentreX(77);
    EXPECT_EQ(b->x, 380.0f);
    EXPECT_EQ(b->y, 77.0f);
}

TEST_F(ButtonTest, PointerInsideIncludesTheLeftAndTopEdgesOnly) {
    TButtonPtr b = MakeButton();
    struct Case {
        int x, y, over;
    };
    const Case cases[] = {{100, 50, 1}, {139, 69, 1}, {140, 50, 0}, {100, 70, 0},
                          {99, 60, 0},  {120, 49, 0}, {120, 60, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        MovePointer(c.x, c.y);
        b->Manage();
        EXPECT_EQ(b->MouseOver, c.over);
    }
}

TEST_F(ButtonTest, MouseOverSoundPlaysOncePerEntry) {
    TButtonPtr b = MakeButton();
    MovePointer(110, 60);
    for (int i = 0; i < 5; ++i)
        b->Manage();
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{HoverSound(*b)});
    MovePointer(0, 0);
    b->Manage();
    MovePointer(110, 60);
    b->Manage();
    EXPECT_EQ(TakeCued().size(), 1u) << "re-entering plays it again";
    MovePointer(0, 0);
    b->Manage();
    MovePointer(110, 60);
    b->ManageNoSound();
    EXPECT_TRUE(TakeCued().empty());
    EXPECT_EQ(b->MouseOver, 1);
}

TEST_F(ButtonTest, ClickHoldsForOneTickAndPlaysTheClickSound) {
    TButtonPtr b = MakeButton();
    MovePointer(110, 60);
    b->Manage();
    TakeCued();
    ClickAt(110, 60);
    b->Manage();
    EXPECT_EQ(b->Clicked, 1);
    EXPECT_EQ(Game->Mouse->mh, 0) << "the button takes the hit";
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{ClickSound(*b)});
    b->Manage();
    EXPECT_EQ(b->Clicked, 0);

    ClickAt(300, 300);
    b->Manage();
    EXPECT_EQ(b->Clicked, 0) << "a click elsewhere";
    EXPECT_EQ(Game->Mouse->mh, 1) << "is left for others";
}

TEST_F(ButtonTest, PressedImageRefusesClicksUnlessClickWhenDown) {
    for (int whenDown : {0, 1}) {
        SCOPED_TRACE(whenDown);
        TButtonPtr b = MakeButton();
        WritePicture(Game->MenuPath + "Play_down.png", 40, 20, 0xFF202020);
        b->LoadMouseClick("Play_down", 200);
        EXPECT_EQ(b->MouseClickDuration, 40.0f);
        b->ClickWhenDown = whenDown;
        ClickAt(110, 60);
        b->Manage();
        EXPECT_EQ(b->Clicked, 1);
        EXPECT_EQ(b->MouseClickCounter, 39.0f);
        ClickAt(110, 60);
        b->Manage();
        EXPECT_EQ(b->Clicked, whenDown);
        for (int i = 0; i < 40; ++i)
            b->Manage();
        EXPECT_EQ(b->MouseClickCounter, 0.0f);
        ClickAt(110, 60);
        b->Manage();
        EXPECT_EQ(b->Clicked, 1) << "accepted once the pressed image is gone";
    }
    // Without a pressed image every tick with a hit clicks.
    TButtonPtr plain = MakeButton();
    for (int i = 0; i < 3; ++i) {
        ClickAt(110, 60);
        plain->Manage();
        EXPECT_EQ(plain->Clicked, 1);
    }
}

TEST_F(ButtonTest, OKButtonKeys) {
    struct Case {
        const char* what;
        std::vector<int> keys;
        int useSpace, active, clicked;
        std::vector<int> pending; // keys whose hit is left for the next reader
    };
    const Case cases[] = {
        {"Enter", {KEY_ENTER}, 1, 1, 1, {}},
        {"Space", {KEY_SPACE}, 1, 1, 1, {}},
        {"Space switched off", {KEY_SPACE}, 0, 1, 0, {KEY_SPACE}},
        {"Enter and Space: Space is not read", {KEY_ENTER, KEY_SPACE}, 1, 1, 1, {KEY_SPACE}},
        {"inactive", {KEY_ENTER}, 1, 0, 0, {KEY_ENTER}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ccCreateInputArrays();
        TButtonPtr b = MakeButton();
        b->OKButton = 1;
        b->OKButtonUseSpace = c.useSpace;
        b->Active = c.active;
        MovePointer(600, 500); // the pointer elsewhere
        for (int key : c.keys)
            PressKey(key);
        b->Manage();
        EXPECT_EQ(b->Clicked, c.clicked);
        EXPECT_EQ(b->MouseOver, c.clicked) << "a key click shows the button hovered";
        for (int key : c.pending)
            EXPECT_EQ(KeyHit(key), 1) << key;
    }
}

TEST_F(ButtonTest, DisabledButtonWithAndWithoutClickDisabled) {
    for (int clickDisabled : {1, 0}) {
        SCOPED_TRACE(clickDisabled);
        TButtonPtr b = MakeButton();
        WritePicture(Game->MenuPath + "Play_disabled.png", 40, 20, 0xFF404040);
        b->LoadDisabled("Play_disabled");
        b->Disabled = 1;
        b->ClickDisabled = clickDisabled;
        ClickAt(110, 60);
        b->Manage();
        EXPECT_EQ(b->MouseOver, clickDisabled);
        EXPECT_EQ(b->Clicked, clickDisabled);

        platform::ClearDrawLog();
        b->Draw();
        const auto images = Drawn(platform::TDrawRecord::IMAGE);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].image,
                  clickDisabled ? b->ImageMouseOver->image.get() : b->ImageDisabled->image.get());
    }
}

TEST_F(ButtonTest, HoverScaleRisesToItsCapAndFallsBackToOne) {
    TButtonPtr b = MakeButton();
    b->ScaleOnMOMax = 1.2f;
    MovePointer(110, 60);
    for (int tick = 1; tick <= 6; ++tick)
        b->Manage();
    EXPECT_LT(b->ScaleOnMO, 1.2f);
    b->Manage();
    EXPECT_EQ(b->ScaleOnMO, 1.2f) << "capped on the seventh tick";
    MovePointer(0, 0);
    b->Manage();
    EXPECT_NEAR(b->ScaleOnMO, 1.19f, 1e-5);
    for (int tick = 0; tick < 30; ++tick)
        b->Manage();
    EXPECT_EQ(b->ScaleOnMO, 1.0f);

    // Drawn grown about its centre, with the state put back afterwards.
    b->ScaleOnMO = 1.2f;
    platform::ClearDrawLog();
    b->Draw();
    const auto images = Drawn(platform::TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_FLOAT_EQ(images[0].x, 96.0f);
    EXPECT_FLOAT_EQ(images[0].y, 48.0f);
    EXPECT_FLOAT_EQ(images[0].scaleX, 1.2f);
    EXPECT_EQ(b->ScaleX, 1.0f);
    EXPECT_EQ(b->x, 100.0f);
}

TEST_F(ButtonTest, DrawsOneFaceAfterItsShadowAndRestoresTheState) {
    TButtonPtr b = MakeButton();
    b->Active = 0;
    EXPECT_EQ(b->Draw(), 0);
    EXPECT_TRUE(platform::DrawLog().empty());
    b->Active = 1;

    b->SetShadow(1, 3.0f, 3.0f, 0.5f);
    b->offx = 10.0f;
    b->Alpha = 0.5f;
    EXPECT_EQ(b->Draw(), 1);
    auto images = Drawn(platform::TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].r + images[0].g + images[0].b, 0) << "the shadow first";
    EXPECT_FLOAT_EQ(images[0].x, 113.0f);
    EXPECT_EQ(images[1].image, b->image->image.get());
    EXPECT_FLOAT_EQ(images[1].x, 110.0f);
    EXPECT_FLOAT_EQ(images[1].alpha, 0.5f);
    EXPECT_EQ(b->x, 100.0f);

    float scaleX = 0, scaleY = 0;
    platform::GetScale(scaleX, scaleY);
    EXPECT_EQ(scaleX, 1.0f);
    EXPECT_EQ(platform::GetAlpha(), 1.0f);

    // A face whose image is missing falls through to the normal image.
    b->SetShadow(0, 0.0f, 0.0f, 0.0f);
    b->Disabled = 1;
    platform::ClearDrawLog();
    b->Draw();
    images = Drawn(platform::TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].image, b->image->image.get());
}

TEST_F(ButtonTest, WithoutAPoolTheButtonPlaysOnItsOwnChannels) {
    Game->Channels = nullptr;
    TButtonPtr b = MakeButton();
    ASSERT_TRUE(b->ChannelClick && b->ChannelMouseOver);
    b->ChannelClick = std::make_shared<ui_test::TRecordingChannel>();
    b->PlayClick();
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{ClickSound(*b)});
    b->Kill();
    EXPECT_FALSE(b->ChannelClick);
}

} // namespace
