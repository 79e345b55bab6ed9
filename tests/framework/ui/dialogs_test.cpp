#include "framework/shell/screen.h"
#include "framework/ui/dialogs.h"
#include "framework/util/drawing.h"
#include "platform/system.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

constexpr int KEY_ENTER = 13;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_SPACE = 32;
constexpr int KEY_N = 78;
constexpr int KEY_Y = 89;

class DialogTest : public UiTest {
protected:
    static TDialogOKPtr OpenOK(const std::string& caption = "Player 1 has no possible moves.") {
        TDialogOKPtr d = TDialogOK::Create(caption, nullptr, 0, 0, 0);
        d->Start();
        return d;
    }
    static TDialogYesNoPtr OpenYesNo(const std::string& caption = "Play again?") {
        TDialogYesNoPtr d = TDialogYesNo::Create(caption, nullptr, 0, 0, 0, 1);
        d->Start();
        return d;
    }
    // A left click in the middle of the named button.
    static void ClickButton(const TDialog& d, const std::string& name) {
        TButtonPtr b = d.Menu->FindButton(name);
        ASSERT_TRUE(b);
        ClickAt(static_cast<int>(b->x) + b->w / 2, static_cast<int>(b->y) + b->h / 2);
    }
};

TEST_F(DialogTest, AnswersByKeyAndByClick) {
    struct Case {
        const char* what;
        bool yesNo;
        int key;            // 0: click the button instead
        const char* button; // the button clicked, or the one the key shows clicked
        int result;
    };
    const Case cases[] = {
        {"OK by Enter", false, KEY_ENTER, "OK", 1},   {"OK by Space", false, KEY_SPACE, "OK", 1},
        {"OK by Escape", false, KEY_ESCAPE, "OK", 1}, {"OK by click", false, 0, "OK", 1},
        {"OK ignores Y", false, KEY_Y, nullptr, 0},   {"Yes by Y", true, KEY_Y, "Yes", 1},
        {"Yes by Enter", true, KEY_ENTER, "Yes", 1},  {"Yes by Space", true, KEY_SPACE, "Yes", 1},
        {"Yes by click", true, 0, "Yes", 1},          {"No by N", true, KEY_N, "No", -1},
        {"No by Escape", true, KEY_ESCAPE, "No", -1}, {"No by click", true, 0, "No", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ccCreateInputArrays();
        MovePointer(0, 0);
        Game->IgnoreEscapeKey = 0;
        TDialogPtr d = c.yesNo ? TDialogPtr(OpenYesNo()) : TDialogPtr(OpenOK());
        EXPECT_EQ(Game->IgnoreEscapeKey, 1) << "an open dialog claims Escape";
        EXPECT_EQ(d->Manage(), 0);
        TakeCued();
        if (c.key)
            PressKey(c.key);
        else
            ClickButton(*d, c.button);
        EXPECT_EQ(d->Manage(), c.result);
        if (c.result == 0) {
            EXPECT_EQ(d->Active, 1);
            continue;
        }
        EXPECT_EQ(d->Active, 0);
        EXPECT_EQ(d->CloseResult, c.result);
        EXPECT_EQ(Game->IgnoreEscapeKey, 0) << "Escape is handed back";
        EXPECT_EQ(d->Menu->FindButton(c.button)->Clicked, 1) << "the answer shows on its button";
        EXPECT_EQ(TakeCued().back(), d->Menu->SoundClick->sound.get());
        EXPECT_EQ(d->Manage(), 0) << "closed";
        EXPECT_EQ(d->Draw(), 0);
        d->Kill();
    }
}

TEST_F(DialogTest, EscapeAndNInOneTickLeaveTheNPending) {
    TDialogYesNoPtr d = OpenYesNo();
    PressKey(KEY_ESCAPE);
    PressKey(KEY_N);
    EXPECT_EQ(d->Manage(), -1);
    EXPECT_EQ(KeyHit(KEY_N), 1);
}

// Keys pressed before a dialog opens do not answer it, whichever key and dialog; the character of
// the key that answers it, and anything else typed at it, is gone when it closes.
TEST_F(DialogTest, OnlyKeysPressedWhileOpenAnswerAndNoneTypedAtItRemains) {
    struct Case {
        const char* what;
        bool yesNo;
        int key;
        int result;
    };
    const Case cases[] = {
        {"OK, Enter", false, KEY_ENTER, 1},    {"OK, Space", false, KEY_SPACE, 1},
        {"OK, Escape", false, KEY_ESCAPE, 1},  {"Yes/No, Y", true, KEY_Y, 1},
        {"Yes/No, N", true, KEY_N, -1},        {"Yes/No, Escape", true, KEY_ESCAPE, -1},
        {"Yes/No, Enter", true, KEY_ENTER, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ccCreateInputArrays();
        // Pressed (and typed) before the dialog opens, and not read by anyone yet.
        Type("nice");
        PressKey(c.key);
        ccInputChar(c.key == KEY_Y || c.key == KEY_N ? c.key + 32 : c.key);
        TDialogPtr d = c.yesNo ? TDialogPtr(OpenYesNo()) : TDialogPtr(OpenOK());
        EXPECT_EQ(d->Manage(), 0);
        EXPECT_EQ(d->Manage(), 0);
        EXPECT_EQ(d->Active, 1) << "still waiting for an answer";
        EXPECT_EQ(GetChar(), 0) << "nothing typed before remains to be read";
        // Typed while it is open: the answer, with its character.
        Type("ok");
        PressKey(c.key);
        ccInputChar(c.key == KEY_Y || c.key == KEY_N ? c.key + 32 : c.key);
        EXPECT_EQ(d->Manage(), c.result);
        EXPECT_EQ(d->Active, 0);
        EXPECT_EQ(GetChar(), 0) << "what was typed at the dialog reaches nobody else";
        d->Kill();
    }
}

TEST_F(DialogTest, SizeFollowsTheCaptionOrTheBackground) {
    TDialogYesNoPtr d = OpenYesNo("A question of some length");
    const int buttonH = 30;
    EXPECT_EQ(d->w, platform::TruncToInt(d->Caption->W + 40.0f));
    EXPECT_EQ(d->h, platform::TruncToInt(d->Caption->H + 50.0f + 40.0f + buttonH));
    EXPECT_EQ(d->x, (800 - d->w) / 2);
    EXPECT_EQ(d->y, (600 - d->h) / 2);
    EXPECT_EQ(d->Caption->Y, static_cast<float>(d->y + 20)) << "one line stands Border below";
    EXPECT_EQ(d->Caption->X, static_cast<float>(d->x + d->w / 2));
    TButtonPtr yes = d->Menu->FindButton("Yes"), no = d->Menu->FindButton("No");
    EXPECT_EQ(no->x - yes->x, 60.0f + 50.0f) << "ButtonGap between them";
    EXPECT_EQ(static_cast<int>(yes->y) + buttonH, d->y + d->h - 20);
    EXPECT_EQ(static_cast<int>(yes->x), d->x + (d->w - 170) / 2);

    // A background picture gives the size; its handle goes to its corner.
    platform::ImagePtr bg = platform::CreateImage(400, 200);
    platform::SetImageHandle(bg, 200.0f, 100.0f);
    TDialogOKPtr withBg = TDialogOK::Create("Short", bg, 400, 0, 0);
    withBg->Start();
    EXPECT_EQ(withBg->w, 400);
    EXPECT_EQ(withBg->h, 200);
    EXPECT_EQ(bg->handleX, 0.0f);
    EXPECT_EQ(withBg->Caption->WordWrap, 0) << "a caption that fits is not wrapped";

    // A fixed width wraps a long caption and centres it vertically.
    TDialogOKPtr wrapped =
        TDialogOK::Create("This caption is much too long to stand on one line of a narrow dialog",
                          nullptr, 200, 0, 0);
    wrapped->Start();
    EXPECT_EQ(wrapped->w, 200);
    EXPECT_EQ(wrapped->Caption->WordWrap, 160);
    EXPECT_GT(wrapped->Caption->TotalLines, 1);
    EXPECT_FLOAT_EQ(wrapped->Caption->Y,
                    static_cast<float>(wrapped->y + wrapped->h / 2) - wrapped->Caption->H / 2.0f);

    // CaptionOX 0 with CaptionOY 5 is a fixed place.
    TDialogOKPtr fixed = TDialogOK::Create("Here", nullptr, 0, 0, 0);
    fixed->CaptionOY = 5;
    fixed->Start();
    EXPECT_EQ(fixed->Caption->X, 0.0f);
    EXPECT_EQ(fixed->Caption->Y, 5.0f);
}

TEST_F(DialogTest, TransitionsDiscardEarlyKeysAndAnswerWhenTheyEnd) {
    TDialogOKPtr d = TDialogOK::Create("Sliding", nullptr, 0, 0, 0);
    d->Slide = 2;
    d->SetTransitions(100, 50, 0.5f, 1); // 20 ticks in, 10 out
    d->Start();
    EXPECT_FLOAT_EQ(d->OffsetX, static_cast<float>(800 - d->x)) << "starts beyond the right edge";
    d->Draw();
    EXPECT_EQ(d->Alpha, 0.0f) << "fades in from nothing";

    PressKey(KEY_ENTER);
    for (int tick = 1; tick < 20; ++tick)
        EXPECT_EQ(d->Manage(), 0) << tick;
    EXPECT_EQ(d->Transitioning, 1);
    EXPECT_EQ(d->Manage(), 0);
    EXPECT_EQ(d->Transitioning, 0);
    EXPECT_EQ(d->OffsetX, 0.0f);
    EXPECT_EQ(d->Manage(), 0) << "the Enter hit during the slide was discarded";

    PressKey(KEY_ENTER);
    EXPECT_EQ(d->Manage(), 0) << "the out-transition starts";
    EXPECT_EQ(d->Transitioning, 2);
    EXPECT_EQ(d->Active, 1);
    for (int tick = 1; tick < 10; ++tick)
        EXPECT_EQ(d->Manage(), 0) << tick;
    EXPECT_EQ(d->Manage(), 1) << "answered when the transition ends";
    EXPECT_EQ(d->Active, 0);
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);
    EXPECT_EQ(d->Manage(), 0);
}

TEST_F(DialogTest, RandomSlideIsChosenOnceAtStart) {
    platform::SeedRnd(7);
    for (int i = 0; i < 8; ++i) {
        TDialogOKPtr d = TDialogOK::Create("Where from?", nullptr, 0, 0, 0);
        d->Slide = 5;
        d->Start();
        EXPECT_GE(d->Slide, 1);
        EXPECT_LE(d->Slide, 4);
        d->Kill();
    }
}

TEST_F(DialogTest, KillingAnOpenDialogHandsEscapeBack) {
    Game->IgnoreEscapeKey = 0;
    TDialogOKPtr outer = OpenOK();
    TDialogOKPtr inner = OpenOK("nested");
    inner->ReenableEscapeKey = 0;
    inner->Kill();
    EXPECT_EQ(Game->IgnoreEscapeKey, 1) << "a nested dialog leaves the claim to the outer one";
    outer->Kill();
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);
    EXPECT_EQ(outer->Active, 0);

    // Killing a closed dialog changes nothing.
    TDialogOKPtr done = OpenOK();
    PressKey(KEY_ENTER);
    ASSERT_EQ(done->Manage(), 1);
    Game->IgnoreEscapeKey = 1;
    done->Kill();
    EXPECT_EQ(Game->IgnoreEscapeKey, 1);
}

TEST_F(DialogTest, DrawsVeilBodyHighlightCaptionAndButtons) {
    TDialogOKPtr d = TDialogOK::Create("Look", nullptr, 0, 0, 0);
    EXPECT_EQ(d->Draw(), 0) << "not started";
    EXPECT_TRUE(platform::DrawLog().empty());
    d->SetTransitions(0, 0, 0.5f, 0);
    d->Start();
    EXPECT_EQ(d->Draw(), 1);
    std::vector<platform::TDrawRecord::Kind> kinds;
    for (const auto& r : platform::DrawLog())
        if (kinds.empty() || kinds.back() != r.kind)
            kinds.push_back(r.kind);
    using K = platform::TDrawRecord;
    // Veil and body (two rectangles), the highlight, the caption, the button.
    const std::vector<platform::TDrawRecord::Kind> expected = {K::RECT, K::LINE, K::TEXT, K::IMAGE};
    EXPECT_EQ(kinds, expected);
    const auto rects = Drawn(K::RECT);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].w, 800.0f) << "the veil over the whole screen";
    EXPECT_FLOAT_EQ(rects[0].alpha, 0.5f);
    EXPECT_EQ(rects[1].r, 150);
    EXPECT_EQ(rects[1].x, static_cast<float>(d->x));
    EXPECT_EQ(rects[1].w, static_cast<float>(d->w));
    EXPECT_EQ(Drawn(K::LINE).size(), 2u);
    EXPECT_EQ(platform::GetAlpha(), 1.0f);
}

// A screen that asks its questions in dialogs over itself: first an OK message, then Yes/No.
class TAskScreen : public TScreen {
public:
    int Open() {
        Message = TDialogOK::Create("Welcome", nullptr, 400, 0, 0);
        Message->Start();
        return 0;
    }
    int Logic() override {
        if (Message) {
            if (Message->Manage() != 0) {
                Message->Kill();
                Message = nullptr;
                Question = TDialogYesNo::Create("Play again?", nullptr, 400, 0, 0, 1);
                Question->Start();
            }
        } else if (Question) {
            Answer = Question->Manage();
            if (Answer != 0) {
                Question->Kill();
                Question = nullptr;
            }
        }
        return 0;
    }
    int Draw() override {
        platform::Cls();
        if (Message)
            Message->Draw();
        if (Question)
            Question->Draw();
        return 0;
    }
    TDialogOKPtr Message;
    TDialogYesNoPtr Question;
    int Answer = 0;
};

TEST_F(DialogTest, AScreenOpensDialogsOverItselfAndReadsTheAnswers) {
    TAskScreen screen;
    screen.Open();
    screen.Logic();
    screen.Draw();
    ASSERT_FALSE(platform::DrawLog().empty());
    EXPECT_EQ(platform::DrawLog().front().kind, platform::TDrawRecord::CLS);
    EXPECT_FALSE(Drawn(platform::TDrawRecord::RECT).empty()) << "the dialog over the screen";

    PressKey(KEY_ENTER);
    screen.Logic();
    ASSERT_TRUE(screen.Question);
    EXPECT_EQ(Game->IgnoreEscapeKey, 1);
    screen.Logic();
    EXPECT_EQ(screen.Answer, 0);
    PressKey(KEY_N);
    screen.Logic();
    EXPECT_EQ(screen.Answer, -1);
    EXPECT_FALSE(screen.Question);
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);
}

} // namespace
