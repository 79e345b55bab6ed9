#include "framework/ui/list_box.h"
#include "framework/util/drawing.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

constexpr int KEY_UP = 38;
constexpr int KEY_DOWN = 40;

// A box at (100, 100), 200 wide, with a click sound; the double-click window is 500 ms (100
// ticks).
class ListBoxTest : public UiTest {
protected:
    TListBoxPtr Make(int count, int limit = 0) {
        TListBoxPtr box = TListBox::Create(5, 0, 1, 500);
        for (int i = 0; i < count; ++i)
            box->Strings.push_back("line" + std::to_string(i));
        box->SetCoords(100.0f, 100.0f, 200.0f, 300.0f);
        box->CalcLineHeight();
        box->Limit = limit;
        box->ClickSound = TGameSound::Create(Game->SoundPath + "buttonclick.wav", 0);
        return box;
    }
    // A press in the middle of visible row r.
    static void ClickRow(const TListBox& box, int r) {
        ClickAt(150, 100 + r * box.LineHeight + box.LineHeight / 2);
    }
    // One tick with a click on row r; the sounds it played.
    static size_t ClickTick(TListBox& box, int r) {
        TakeCued();
        ClickRow(box, r);
        box.Manage();
        return TakeCued().size();
    }
    static size_t KeyTick(TListBox& box, int key) {
        TakeCued();
        PressKey(key);
        box.Manage();
        return TakeCued().size();
    }
};

TEST_F(ListBoxTest, LineHeightComesFromTheFontAndCutsTheBox) {
    TListBoxPtr box = Make(3);
    const int lineHeight = platform::TextHeight("") + 10;
    EXPECT_EQ(box->LineHeight, lineHeight);
    EXPECT_EQ(box->DoubleClickTime, 100.0f);
    EXPECT_EQ(box->Box.H, static_cast<float>(300 / lineHeight * lineHeight));
    EXPECT_EQ(box->DisplayLines, 300 / lineHeight);
}

TEST_F(ListBoxTest, SelectionScrollsTheWindowToIt) {
    struct Case {
        const char* what;
        int count, limit, top, index;
        int wantIndex, wantTop;
        const char* value;
    };
    const Case cases[] = {
        {"below the window", 10, 5, 0, 7, 7, 3, "line7"},
        {"above the window", 10, 5, 4, 2, 2, 2, "line2"},
        {"inside the window", 10, 5, 2, 4, 4, 2, "line4"},
        {"no limit", 10, 0, 4, 9, 9, 4, "line9"},
        {"none leaves the window", 10, 5, 4, -1, -1, 4, ""},
        {"past the end selects none", 3, 5, 0, 3, -1, 0, ""},
        {"in an empty list", 0, 5, 0, 0, -1, 0, ""},
        {"the one line", 1, 5, 0, 0, 0, 0, "line0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TListBoxPtr box = Make(c.count, c.limit);
        box->TopIndex = c.top;
        box->Value = "stale";
        box->SetIndex(c.index);
        EXPECT_EQ(box->Index, c.wantIndex);
        EXPECT_EQ(box->TopIndex, c.wantTop);
        EXPECT_EQ(box->Value, c.value);
    }
}

TEST_F(ListBoxTest, WindowEndAndTopIndexStayInsideTheList) {
    struct Case {
        int count, limit, setTop;
        int top, tempLimit;
    };
    const Case cases[] = {
        {0, 5, 0, 0, 0},   {1, 5, 0, 0, 1}, {10, 5, -3, 0, 5}, {10, 5, 2, 2, 7},
        {10, 5, 7, 5, 10}, {3, 5, 1, 0, 3}, {10, 0, 4, 4, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.count << " lines, limit " << c.limit << ", top " << c.setTop);
        TListBoxPtr box = Make(c.count, c.limit);
        box->SetTopIndex(c.setTop);
        EXPECT_EQ(box->TopIndex, c.top);
        EXPECT_EQ(box->GetTempLimit(), c.tempLimit);
    }
}

TEST_F(ListBoxTest, ClickSelectsTheRowUnderThePointer) {
    TListBoxPtr box = Make(10, 5);
    box->SetTopIndex(3);
    EXPECT_EQ(ClickTick(*box, 1), 1u) << "a click sound";
    EXPECT_EQ(box->Index, 4);
    EXPECT_EQ(box->Value, "line4");
    EXPECT_EQ(box->GetIndexY(), 100 + box->LineHeight);

    // The line between two rows, and the box's right edge, belong to no row.
    ClickAt(150, 100 + 2 * box->LineHeight);
    box->Manage();
    ClickAt(300, 100 + box->LineHeight / 2);
    box->Manage();
    EXPECT_EQ(box->Index, 4);
    EXPECT_EQ(Game->Mouse->GetMh(0), 0) << "the click is taken even when it misses";

    // Rows past the limit are not hit; without a limit every line is, whatever the box height.
    ClickTick(*box, 6);
    EXPECT_EQ(box->Index, 4);
    TListBoxPtr unlimited = Make(40);
    ClickTick(*unlimited, 35);
    EXPECT_EQ(unlimited->Index, 35);
}

TEST_F(ListBoxTest, SecondClickOnTheSelectedLineIsADoubleClick) {
    TListBoxPtr box = Make(10, 5);
    box->SetTopIndex(3);
    ClickTick(*box, 1);
    EXPECT_EQ(ClickTick(*box, 1), 0u) << "no click sound for the double click";
    EXPECT_EQ(box->DoubleClicked, 4) << "the position in the list, not the row";
    EXPECT_EQ(box->DoubleClickCounter, 0.0f);

    // A second click on another line selects it with a sound and opens a new window.
    box->DoubleClicked = -1;
    ClickTick(*box, 0);
    EXPECT_EQ(ClickTick(*box, 2), 1u);
    EXPECT_EQ(box->Index, 5);
    EXPECT_EQ(box->DoubleClicked, -1);
    EXPECT_EQ(box->DoubleClickCounter, 99.0f);

    // After the window has run out, the same line only clicks.
    for (int i = 0; i < 100; ++i)
        box->Manage();
    EXPECT_EQ(ClickTick(*box, 2), 1u);
    EXPECT_EQ(box->DoubleClicked, -1);
}

TEST_F(ListBoxTest, ArrowKeysMoveTheSelectionWithinTheList) {
    TListBoxPtr box = Make(3, 2);
    EXPECT_EQ(KeyTick(*box, KEY_UP), 0u) << "nothing selected: up does nothing";
    EXPECT_EQ(KeyTick(*box, KEY_DOWN), 1u);
    EXPECT_EQ(box->Index, 0) << "down selects the first line";
    EXPECT_EQ(KeyTick(*box, KEY_UP), 0u) << "already the first line";
    EXPECT_EQ(box->Index, 0);
    KeyTick(*box, KEY_DOWN);
    EXPECT_EQ(KeyTick(*box, KEY_DOWN), 1u);
    EXPECT_EQ(box->Index, 2);
    EXPECT_EQ(box->TopIndex, 1) << "scrolled to keep it in view";
    EXPECT_EQ(KeyTick(*box, KEY_DOWN), 0u) << "already the last line";
    EXPECT_EQ(box->Index, 2);

    TListBoxPtr empty = Make(0);
    EXPECT_EQ(KeyTick(*empty, KEY_DOWN), 0u);
    EXPECT_EQ(empty->Index, -1);
    box->ArrowKeysMoveHighlight = 0;
    KeyTick(*box, KEY_UP);
    EXPECT_EQ(box->Index, 2);
}

TEST_F(ListBoxTest, DrawsTheVisibleLinesInTheirColours) {
    TListBoxPtr box = Make(10, 4);
    box->SetupFont(nullptr, TColor::Create(200, 200, 200, 1.0f), nullptr, nullptr,
                   TColor::Create(255, 255, 0, 1.0f));
    box->LockedArray = {0, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    box->LockedColor = TColor::Create(90, 90, 90, 0.5f);
    box->SetTopIndex(1);
    box->SetIndex(2); // selected and locked: the inverse colour wins
    box->Draw();

    const auto texts = Drawn(platform::TDrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 4u);
    struct Want {
        const char* text;
        int r;
        float alpha;
    };
    const Want want[] = {
        {"line1", 90, 0.5f}, {"line2", 255, 1.0f}, {"line3", 200, 1.0f}, {"line4", 200, 1.0f}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(want[i].text);
        EXPECT_EQ(texts[i].text, want[i].text);
        EXPECT_EQ(texts[i].r, want[i].r);
        EXPECT_EQ(texts[i].alpha, want[i].alpha);
        EXPECT_EQ(texts[i].x, 110.0f) << "TextBorder in from the left";
        EXPECT_EQ(texts[i].y, static_cast<float>(105 + static_cast<int>(i) * box->LineHeight));
    }
    const auto rects = Drawn(platform::TDrawRecord::RECT);
    ASSERT_EQ(rects.size(), 2u) << "the box, then the bar under the text";
    EXPECT_EQ(rects[0].r, 0);
    EXPECT_EQ(rects[1].b, 150);
    EXPECT_EQ(rects[1].y, static_cast<float>(100 + box->LineHeight));
    EXPECT_EQ(rects[1].h, static_cast<float>(box->LineHeight));
    int r = 0, g = 0, b = 0;
    platform::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255) << "white again";

    // A selection scrolled out of view draws no bar.
    platform::ClearDrawLog();
    box->SetTopIndex(5);
    box->Draw();
    EXPECT_EQ(Drawn(platform::TDrawRecord::RECT).size(), 1u);
}

TEST_F(ListBoxTest, ATiedScrollBarScrollsTheList) {
    WritePicture(Game->ImagePath + "knob.png", 16, 20, 0xFFA0A0A0);
    TListBoxPtr box = Make(10, 5);
    box->ScrollBar = TScrollBar::Create(TGameImage::Create(Game->ImagePath + "knob.png", -1, 0), 70,
                                        5.0, 310.0f, 100.0f, 1);
    box->SetIndex(7);
    EXPECT_EQ(box->ScrollBar->SliderPosition, 30);
    EXPECT_EQ(box->ScrollBar->Value, 3);
    box->ScrollBar->SliderSetPosition(5.0);
    box->ScrollBar->ValueCalc();
    box->Manage();
    EXPECT_EQ(box->TopIndex, 5);
    box->Draw();
    EXPECT_EQ(Drawn(platform::TDrawRecord::IMAGE).size(), 1u) << "the scroll bar's slider";
}

TEST_F(ListBoxTest, WithoutAChannelPoolTheClickUsesItsOwnChannel) {
    struct TStopCounting : public ui_test::TRecordingChannel {
        void Stop() override { ++stops; }
        int stops = 0;
    };
    Game->Channels = nullptr;
    TListBoxPtr box = Make(3);
    ASSERT_TRUE(box->ClickChannel);
    auto channel = std::make_shared<TStopCounting>();
    box->ClickChannel = channel;
    box->PlayClick();
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{box->ClickSound->sound.get()});
    const int stopsBefore = channel->stops;
    box->Kill();
    EXPECT_GT(channel->stops, stopsBefore);
    EXPECT_FALSE(box->ClickChannel);
}

} // namespace
