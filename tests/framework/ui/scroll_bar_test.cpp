#include "framework/ui/scroll_bar.h"
#include "framework/util/numbers.h"
#include "tests/framework/ui/ui_fixture.h"

#include <cmath>

namespace {

using ui_test::UiTest;

// A vertical track 120 pixels long at (300, 100) with a slider 16 by 20: it travels 100 pixels.
class ScrollBarTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        WritePicture(Game->ImagePath + "knob.png", 16, 20, 0xFFA0A0A0);
        knob = TGameImage::Create(Game->ImagePath + "knob.png", -1, 0);
    }
    TScrollBarPtr Bar(double valueMax, int size = 120, int vertical = 1) {
        return TScrollBar::Create(knob, size, valueMax, 300.0f, 100.0f, vertical);
    }
    // Arrow pictures 14 by 10 with disabled images.
    void ArrowPictures() {
        for (const char* name : {"up", "down"}) {
            MenuPicture(name, 14, 10);
            WritePicture(Game->MenuPath + name + std::string("_disabled.png"), 14, 10, 0xFF303030);
        }
    }
    static void Hold(int x, int y, bool held) {
        MovePointer(x, y);
        Game->Mouse->b1 = held ? 1 : 0;
        Game->Mouse->CalcButtonTotals();
    }
    static void ClickOn(const TButton& b) {
        ClickAt(static_cast<int>(b.x) + b.w / 2, static_cast<int>(b.y) + b.h / 2);
    }

    TGameImagePtr knob;
};

TEST_F(ScrollBarTest, PositionsAndValuesMapBothWays) {
    TScrollBarPtr bar = Bar(10.0);
    EXPECT_EQ(bar->Range(), 100);
    bar->SliderSetPosition(5.0);
    EXPECT_EQ(bar->SliderPosition, 50);
    bar->SliderPosition = 37;
    bar->ValueCalc();
    EXPECT_DOUBLE_EQ(bar->ValuePrecise, 3.7);
    EXPECT_EQ(bar->Value, 4);
    EXPECT_EQ(TScrollBar::Create(knob, 120, -3.0, 0, 0, 1)->ValueMax, 0.0);
}

TEST_F(ScrollBarTest, NoRangeOrNoMaximumKeepsEverythingAtZero) {
    struct Case {
        const char* what;
        double valueMax;
        int size;
    };
    const Case cases[] = {
        {"maximum 0", 0.0, 120},
        {"track as long as the slider", 10.0, 20},
        {"track shorter than the slider", 10.0, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TScrollBarPtr bar = Bar(c.valueMax, c.size);
        bar->SliderSetPosition(5.0);
        EXPECT_EQ(bar->SliderPosition, 0);
        Hold(305, 105, true);
        bar->Manage();
        Hold(305, 190, true);
        bar->Manage();
        if (bar->Range() <= 0) {
            EXPECT_EQ(bar->SliderPosition, 0);
        }
        EXPECT_EQ(bar->ValuePrecise, 0.0);
        EXPECT_FALSE(std::isnan(bar->ValuePrecise));
        EXPECT_EQ(bar->Value, 0);
        Hold(0, 0, false);
    }
}

TEST_F(ScrollBarTest, DraggingKeepsTheSliderOnTheTrack) {
    TScrollBarPtr bar = Bar(10.0);
    Hold(305, 106, true); // 6 pixels into the slider
    bar->Manage();
    EXPECT_EQ(bar->SliderSelected, 1);
    EXPECT_EQ(bar->SliderOffset, 6);
    struct Step {
        int my;
        int position;
        int value;
    };
    const Step steps[] = {{146, 40, 4}, {500, 100, 10}, {20, 0, 0}, {131, 25, 3}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.my);
        Hold(400, s.my, true); // the pointer may leave the slider sideways while dragging
        bar->Manage();
        EXPECT_EQ(bar->SliderPosition, s.position);
        EXPECT_EQ(bar->Value, s.value);
    }
    EXPECT_EQ(bar->SliderGlow, 0.5f) << "lit while dragged";
    Hold(400, 131, false);
    bar->Manage();
    EXPECT_EQ(bar->SliderSelected, 0);
    bar->Manage();
    EXPECT_FLOAT_EQ(bar->SliderGlow, 0.48f) << "fading by 0.02 a tick once released";

    // A press beside the slider that then moves onto it while held grabs it.
    Hold(250, 130, true);
    bar->Manage();
    EXPECT_EQ(bar->SliderSelected, 0);
    Hold(301, 130, true);
    bar->Manage();
    EXPECT_EQ(bar->SliderSelected, 1);
    EXPECT_EQ(bar->SliderOffset, 5);
}

TEST_F(ScrollBarTest, HorizontalBarRunsToTheRight) {
    TScrollBarPtr bar = Bar(4.0, 116, 0); // travels 100 pixels
    Hold(302, 110, true);
    bar->Manage();
    Hold(352, 110, true);
    bar->Manage();
    EXPECT_EQ(bar->SliderPosition, 50);
    EXPECT_EQ(bar->Value, 2);
}

TEST_F(ScrollBarTest, ArrowsStepTheValueAndDisableAtTheEnds) {
    ArrowPictures();
    TScrollBarPtr bar = Bar(10.0);
    bar->ValueStep = 3.0;
    bar->SetArrows("up", "down", 100);
    TButtonPtr up = bar->Menu->FindButton("up"), down = bar->Menu->FindButton("down");
    ASSERT_TRUE(up && down);
    EXPECT_EQ(up->x, 301.0f);
    EXPECT_EQ(up->y, 90.0f) << "just above the track";
    EXPECT_EQ(down->y, 220.0f) << "just below it";
    EXPECT_EQ(up->ClickWhenDown, 1);
    EXPECT_EQ(up->Disabled, 1) << "nothing to scroll up at 0";
    EXPECT_EQ(down->Disabled, 0);

    const double expected[] = {3.0, 6.0, 9.0, 10.0, 10.0};
    for (double value : expected) {
        ClickOn(*down);
        bar->Manage();
        EXPECT_EQ(bar->ValuePrecise, value);
        EXPECT_EQ(bar->SliderPosition, ccRound(static_cast<float>(value * 10.0)));
    }
    EXPECT_EQ(down->Disabled, 1);
    EXPECT_EQ(up->Disabled, 0);
    ClickOn(*up);
    bar->Manage();
    EXPECT_EQ(bar->ValuePrecise, 7.0);
    EXPECT_EQ(bar->Value, 7);
    EXPECT_EQ(down->Disabled, 0);
    bar->Kill();
    EXPECT_FALSE(bar->Menu);
}

TEST_F(ScrollBarTest, DraggingToEitherEndDisablesThatArrow) {
    ArrowPictures();
    // Maxima whose value computed back from the track's end is not exactly the maximum.
    for (double valueMax : {10.0, 11.0, 29.0, 83.0}) {
        SCOPED_TRACE(valueMax);
        TScrollBarPtr bar = Bar(valueMax);
        bar->SetArrows("up", "down", 100);
        TButtonPtr up = bar->Menu->FindButton("up"), down = bar->Menu->FindButton("down");
        Hold(305, 105, true);
        bar->Manage();
        Hold(305, 400, true);
        bar->Manage();
        EXPECT_EQ(bar->SliderPosition, 100);
        EXPECT_EQ(bar->ValuePrecise, valueMax);
        EXPECT_EQ(down->Disabled, 1);
        EXPECT_EQ(up->Disabled, 0);
        Hold(305, 0, true);
        bar->Manage();
        EXPECT_EQ(bar->ValuePrecise, 0.0);
        EXPECT_EQ(up->Disabled, 1);
        EXPECT_EQ(down->Disabled, 0);
        Hold(0, 0, false);
        bar->Manage();
    }
}

TEST_F(ScrollBarTest, DrawsTheSliderAndItsGlowAndPutsTheStateBack) {
    TScrollBarPtr bar = Bar(10.0);
    bar->Scale = 2.0f;
    bar->SliderPosition = 30;
    bar->SliderGlow = 0.25f;
    bar->Draw();
    const auto images = Drawn(platform::TDrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].x, 300.0f);
    EXPECT_EQ(images[0].y, 160.0f);
    EXPECT_EQ(images[0].scaleX, 2.0f);
    EXPECT_EQ(images[1].blend, platform::LIGHTBLEND);
    EXPECT_EQ(images[1].alpha, 0.25f);
    float sx = 0, sy = 0;
    platform::GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(platform::GetBlend(), platform::ALPHABLEND);
    EXPECT_EQ(platform::GetAlpha(), 1.0f);
}

} // namespace
