#include "framework/ui/dialog_text_input.h"
#include "framework/ui/dialogs.h"
#include "tests/framework/ui/ui_fixture.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using ui_test::UiTest;

constexpr int KEY_ESCAPE = 27;

class TextDialogTest : public UiTest {
protected:
    // A prompt set up as the game's prompts are: caption, entry, OK (and Cancel); not started.
    static TDialogTextInputPtr Unstarted(int withCancel, int allowNull = 0, int maxLength = 10) {
        TDialogTextInputPtr d =
            TDialogTextInput::Create("Enter your name", "", maxLength, nullptr, 400, 0, 0, 0);
        d->MenuCreate(withCancel, 20);
        d->SetupCaption(nullptr, TColor::Create(255, 255, 255, 1.0f), nullptr, nullptr);
        d->AllowNull = allowNull;
        d->SetupText(nullptr, TColor::Create(255, 255, 0, 1.0f), nullptr, 1, nullptr);
        EXPECT_EQ(Game->BlockKeys, 0) << "not open yet";
        return d;
    }
    TDialogTextInputPtr Prompt(int withCancel, int allowNull = 0, int maxLength = 10) {
        TDialogTextInputPtr d = Unstarted(withCancel, allowNull, maxLength);
        d->Start();
        return d;
    }
    // Runs ticks until the dialog answers (or the ticks run out); the answer.
    static int Run(TDialogTextInput& d, int ticks = 20) {
        for (int i = 0; i < ticks; ++i)
            if (const int r = d.Manage())
                return r;
        return 0;
    }
    const platform::TSound* OKSound(const TDialog& d) const {
        return d.Menu->FindButton("OK")->SoundClick->sound.get();
    }
};

TEST_F(TextDialogTest, EnterConfirmsWithTheFirstLetterUpperCased) {
    for (int upper : {1, 0}) {
        SCOPED_TRACE(upper);
        ccCreateInputArrays();
        TDialogTextInputPtr d = Prompt(1);
        d->UppercaseFirstChar = upper;
        EXPECT_EQ(Game->BlockKeys, 1);
        EXPECT_EQ(Game->IgnoreEscapeKey, 1);
        TakeCued();
        Type("hello\r");
        EXPECT_EQ(Run(*d), 1);
        EXPECT_EQ(d->TextInput->Text, upper ? "Hello" : "hello");
        EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{OKSound(*d)});
        EXPECT_EQ(d->Active, 0);
        EXPECT_EQ(Game->BlockKeys, 0);
        EXPECT_EQ(Game->IgnoreEscapeKey, 0);
        d->Kill();
    }
}

TEST_F(TextDialogTest, OKButtonClickConfirmsAndSpaceIsTyped) {
    TDialogTextInputPtr d = Prompt(0);
    Type("a b");
    Run(*d, 5);
    EXPECT_EQ(d->Active, 1) << "Space did not click OK";
    EXPECT_EQ(d->TextInput->Text, "a b");
    TButtonPtr ok = d->Menu->FindButton("OK");
    ClickAt(static_cast<int>(ok->x) + 5, static_cast<int>(ok->y) + 5);
    EXPECT_EQ(d->Manage(), 1);
    EXPECT_EQ(d->TextInput->Text, "A b");
    EXPECT_EQ(Game->BlockKeys, 0);
}

TEST_F(TextDialogTest, EmptyTextIsRefusedWithoutAllowNull) {
    TDialogTextInputPtr d = Prompt(1);
    Type("\r");
    EXPECT_EQ(Run(*d, 3), 0);
    TButtonPtr ok = d->Menu->FindButton("OK");
    ClickAt(static_cast<int>(ok->x) + 5, static_cast<int>(ok->y) + 5);
    EXPECT_EQ(d->Manage(), 0);
    EXPECT_EQ(d->Active, 1);
    Type("z\r");
    EXPECT_EQ(Run(*d), 1) << "the entry still takes input";
    EXPECT_EQ(d->TextInput->Text, "Z");

    TDialogTextInputPtr empty = Prompt(1, 1);
    Type("\r");
    EXPECT_EQ(Run(*empty), 1) << "with AllowNull an empty text is confirmed";
    EXPECT_EQ(empty->TextInput->Text, "");
}

TEST_F(TextDialogTest, EscapeCancelsOnlyWithACancelButton) {
    TDialogTextInputPtr d = Prompt(1);
    Type("abc");
    Run(*d, 4);
    TakeCued();
    Type("\x1b");
    EXPECT_EQ(Run(*d), -1);
    EXPECT_EQ(d->TextInput->Text, "");
    EXPECT_EQ(TakeCued(), std::vector<const platform::TSound*>{OKSound(*d)});
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);
    EXPECT_EQ(Game->BlockKeys, 0);

    TDialogTextInputPtr noCancel = Prompt(0);
    Type("abc\x1b");
    EXPECT_EQ(Run(*noCancel), 0);
    EXPECT_EQ(noCancel->TextInput->Text, "abc");
    EXPECT_EQ(noCancel->Active, 1);

    TDialogTextInputPtr clicked = Prompt(1);
    TButtonPtr cancel = clicked->Menu->FindButton("Cancel");
    ClickAt(static_cast<int>(cancel->x) + 5, static_cast<int>(cancel->y) + 5);
    EXPECT_EQ(clicked->Manage(), -1);
}

TEST_F(TextDialogTest, RefusedTextOpensTheErrorDialogAndReturnsToTheEntry) {
    for (const std::string answer : {"\r", "\x1b", "click"}) {
        SCOPED_TRACE(answer);
        ccCreateInputArrays();
        TDialogTextInputPtr d = Prompt(1, 0, 5);
        std::vector<std::string> checked;
        d->ErrorCheckFunc = [&](const std::string& text, std::string& error) {
            checked.push_back(text);
            if (text.find_first_not_of("0123456789") != std::string::npos) {
                error = "Error: Invalid Port Number";
                return -1;
            }
            return 0;
        };
        d->ErrorDialogFunc = [](const std::string& error) {
            TDialogOKPtr ok = TDialogOK::Create(error, nullptr, 400, 0, 0);
            ok->Start();
            return ok;
        };
        Type("x99\r");
        EXPECT_EQ(Run(*d, 6), 0);
        ASSERT_TRUE(d->DialogOK);
        EXPECT_EQ(d->DialogOK->Caption->Text, "Error: Invalid Port Number");
        EXPECT_EQ(checked, std::vector<std::string>{"X99"});
        EXPECT_EQ(Game->BlockKeys, 0) << "the entry waits";

        if (answer == "click") {
            TButtonPtr ok = d->DialogOK->Menu->FindButton("OK");
            ClickAt(static_cast<int>(ok->x) + 5, static_cast<int>(ok->y) + 5);
        } else {
            PressKey(answer[0]);
        }
        EXPECT_EQ(d->Manage(), 0);
        EXPECT_FALSE(d->DialogOK);
        EXPECT_EQ(d->TextInput->Active, 1) << "back to the entry";
        EXPECT_EQ(d->TextInput->Text, "X99");
        EXPECT_EQ(Game->IgnoreEscapeKey, 1) << "the text dialog keeps its claim";
        EXPECT_EQ(Game->BlockKeys, 1);

        Type("\b\b\b8080\r");
        EXPECT_EQ(Run(*d), 1);
        EXPECT_EQ(d->TextInput->Text, "8080");
        EXPECT_EQ(Game->IgnoreEscapeKey, 0);
        d->Kill();
    }
}

TEST_F(TextDialogTest, ACheckWithoutAnErrorDialogRefusesSilently) {
    TDialogTextInputPtr d = Prompt(1);
    d->ErrorCheckFunc = [](const std::string&, std::string& error) {
        error = "no";
        return -1;
    };
    Type("abc\r");
    EXPECT_EQ(Run(*d, 6), 0);
    EXPECT_FALSE(d->DialogOK);
    EXPECT_EQ(d->Active, 1);
    EXPECT_EQ(d->TextInput->Active, 1) << "the player can still correct the text";
}

TEST_F(TextDialogTest, OKClickedFunctionDecidesTheAnswer) {
    TDialogTextInputPtr d = Prompt(0);
    int calls = 0;
    d->OKClickedFunc = [&](TDialogTextInput& dialog) {
        ++calls;
        EXPECT_EQ(dialog.TextInput->Text, "Joe");
        return 7;
    };
    Type("joe\r");
    EXPECT_EQ(Run(*d), 7);
    EXPECT_EQ(calls, 1);
}

TEST_F(TextDialogTest, LayoutAndDrawing) {
    TDialogTextInputPtr d = Prompt(1);
    const int buttonH = 30;
    EXPECT_EQ(d->w, 400);
    EXPECT_EQ(d->h, platform::TruncToInt(d->Caption->H + d->Text->H + 60.0f + 40.0f + buttonH));
    EXPECT_EQ(d->Text->X, static_cast<float>(d->x + 20));
    EXPECT_EQ(d->Text->Y, d->Caption->Y + d->Caption->H + 30.0f);
    EXPECT_EQ(d->TextInput->X, d->x + 20);
    EXPECT_EQ(d->TextInput->DrawDots, 1);

    platform::ClearDrawLog();
    EXPECT_EQ(d->Draw(), 1);
    const auto rects = Drawn(platform::TDrawRecord::RECT);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[1].r + rects[1].g + rects[1].b, 0) << "the black entry box";
    EXPECT_EQ(rects[1].x, static_cast<float>(d->x + 10));
    EXPECT_EQ(rects[1].w, static_cast<float>(d->w - 20));
    const auto texts = Drawn(platform::TDrawRecord::TEXT);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "Enter your name");
    EXPECT_EQ(texts[1].text, "");
    EXPECT_EQ(texts[1].b, 0) << "the entry in the label's colour";
}

TEST_F(TextDialogTest, APromptWithAnInTransitionOpensWhenItEnds) {
    TDialogTextInputPtr d = Unstarted(1);
    d->Slide = 2;
    d->SetTransitions(100, 0, 0.5f, 1); // 20 ticks in
    d->Start();
    Type("x");
    for (int tick = 1; tick <= 20; ++tick)
        EXPECT_EQ(d->Manage(), 0) << tick;
    EXPECT_EQ(d->Transitioning, 0);
    EXPECT_EQ(d->OffsetX, 0.0f);
    Type("ann\r");
    EXPECT_EQ(Run(*d), 1);
    EXPECT_EQ(d->TextInput->Text, "Ann") << "what was typed during the slide is dropped";
    EXPECT_EQ(Game->BlockKeys, 0);
    d->Kill();
}

TEST_F(TextDialogTest, WithAnOutTransitionTheAnswerComesOnceWhenItEnds) {
    struct Case {
        const char* what;
        std::function<void(TDialogTextInput&)> answer;
        int result;
    };
    auto click = [this](const char* button) {
        return [this, button](TDialogTextInput& d) {
            TButtonPtr b = d.Menu->FindButton(button);
            ClickAt(static_cast<int>(b->x) + 5, static_cast<int>(b->y) + 5);
        };
    };
    const Case cases[] = {
        {"Enter", [](TDialogTextInput&) { Type("\r"); }, 1},
        {"OK", click("OK"), 1},
        {"Escape", [](TDialogTextInput&) { Type("\x1b"); }, -1},
        {"Cancel", click("Cancel"), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ccCreateInputArrays();
        TDialogTextInputPtr d = Unstarted(1);
        d->Slide = 2;
        d->SetTransitions(0, 50, 0.0f, 0); // 10 ticks out
        d->Start();
        Type("ann");
        EXPECT_EQ(Run(*d, 4), 0);
        c.answer(*d);
        std::vector<int> answers;
        for (int tick = 0; tick < 20; ++tick)
            answers.push_back(d->Manage());
        std::vector<int> expected(20, 0);
        const auto at = std::find(answers.begin(), answers.end(), c.result);
        ASSERT_NE(at, answers.end()) << "no answer";
        EXPECT_GE(at - answers.begin(), 9) << "answered before the slide-out ran";
        expected[static_cast<size_t>(at - answers.begin())] = c.result;
        EXPECT_EQ(answers, expected) << "one answer";
        EXPECT_EQ(d->Active, 0);
        if (c.result == 1) {
            EXPECT_EQ(d->TextInput->Text, "Ann");
        }
        EXPECT_EQ(Game->IgnoreEscapeKey, 0);
        EXPECT_EQ(Game->BlockKeys, 0);
        d->Kill();
    }
}

TEST_F(TextDialogTest, KillingAnOpenPromptReleasesEscapeAndTheHotKeys) {
    TDialogTextInputPtr d = Prompt(1);
    Type("ab");
    Run(*d, 3);
    d->Kill();
    EXPECT_EQ(Game->IgnoreEscapeKey, 0);
    EXPECT_EQ(Game->BlockKeys, 0);
    EXPECT_EQ(KeyHit(KEY_ESCAPE), 0);
}

} // namespace
