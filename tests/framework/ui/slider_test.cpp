#include "framework/ui/slider.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

// A bar 200 by 20 at (100, 50) with 10 pixels of border, and a knob 10 pixels wide.
class SliderTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        WritePicture(Game->ImagePath + "bar.png", 200, 20, 0xFF404040);
        WritePicture(Game->ImagePath + "dot.png", 10, 20, 0xFFFFFFFF);
        slider = TSlider::CreateSpecial("bar", "dot", 100.0f, 50.0f, 10, "volume", 5);
    }
    static void Hold(int x, int y, bool held) {
        MovePointer(x, y);
        Game->Mouse->b1 = held ? 1 : 0;
        Game->Mouse->CalcButtonTotals();
    }

    TSliderPtr slider;
};

TEST_F(SliderTest, StartsInTheMiddleAndClampsItsValue) {
    EXPECT_EQ(slider->name, "VOLUME");
    EXPECT_EQ(slider->active, 1);
    EXPECT_EQ(slider->w, 200);
    EXPECT_EQ(slider->h, 20);
    EXPECT_EQ(slider->Value, 50);
    EXPECT_EQ(slider->DotX, 100 + 10 + 90 - 5) << "the knob's middle at the value's place";
    EXPECT_EQ(slider->DotY, 50);
    slider->SetValue(-5);
    EXPECT_EQ(slider->Value, 0);
    EXPECT_EQ(slider->DotX, 105);
    slider->SetValue(250);
    EXPECT_EQ(slider->Value, 100);
    EXPECT_EQ(slider->DotX, 285);
}

TEST_F(SliderTest, APressOverTheBarSetsTheValueThere) {
    struct Case {
        int mx, my;
        bool held;
        int result, mouseOver, value; // value 50: unchanged
    };
    const Case cases[] = {
        {210, 60, true, 1, 1, 56},  // ccRound(100 / 180 * 100)
        {105, 60, true, 1, 1, 0},   // inside the left border
        {295, 60, true, 1, 1, 100}, // inside the right border
        {92, 60, true, 1, 1, 0},    // 8 pixels left of the bar
        {90, 60, true, 1, 1, 0},    // exactly 10 pixels left still counts
        {89, 60, true, 0, 0, 50},   // 11 pixels left does not
        {309, 60, true, 1, 1, 100}, {310, 60, true, 0, 0, 50},
        {200, 45, true, 1, 1, 50}, // BorderY above the bar
        {200, 44, true, 0, 0, 50},  {200, 74, true, 1, 1, 50},
        {200, 75, true, 0, 0, 50},  {250, 60, false, 0, 1, 50}, // over it without a button held
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mx << "," << c.my << (c.held ? " held" : ""));
        slider->SetValue(50);
        Hold(c.mx, c.my, c.held);
        EXPECT_EQ(slider->Manage(), c.result);
        EXPECT_EQ(slider->MouseOver, c.mouseOver);
        EXPECT_EQ(slider->Value, c.value);
    }
}

TEST_F(SliderTest, DraggingFollowsThePointerUntilItLeavesTheArea) {
    Hold(110, 60, true);
    slider->Manage();
    EXPECT_EQ(slider->Value, 0);
    Hold(155, 60, true);
    EXPECT_EQ(slider->Manage(), 1);
    EXPECT_EQ(slider->Value, 25);
    EXPECT_EQ(slider->DotX, 100 + 10 + 45 - 5);
    // Held but dragged off the area: the value stays, the slider no longer counts as hovered.
    Hold(155, 90, true);
    EXPECT_EQ(slider->Manage(), 0);
    EXPECT_EQ(slider->Value, 25);
    EXPECT_EQ(slider->MouseOver, 0);
    // Released over the bar: nothing more changes.
    Hold(250, 60, false);
    EXPECT_EQ(slider->Manage(), 0);
    EXPECT_EQ(slider->Value, 25);
}

TEST_F(SliderTest, DrawsTheBarThenTheKnobAndNothingWhenInactive) {
    slider->SetValue(100);
    slider->visible = 0; // the slider does not read the sprite's visibility
    slider->Draw();
    const auto images = Drawn(platform::TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image, slider->image->image.get());
    EXPECT_EQ(images[0].x, 100.0f);
    EXPECT_EQ(images[0].y, 50.0f);
    EXPECT_EQ(images[1].image, slider->DotImage->image.get());
    EXPECT_EQ(images[1].x, 285.0f);
    EXPECT_EQ(images[1].y, 50.0f);
    EXPECT_EQ(images[1].blend, platform::ALPHABLEND);

    platform::ClearDrawLog();
    slider->active = 0;
    Hold(200, 60, true);
    EXPECT_EQ(slider->Manage(), 0);
    slider->Draw();
    EXPECT_TRUE(platform::DrawLog().empty());
}

} // namespace
