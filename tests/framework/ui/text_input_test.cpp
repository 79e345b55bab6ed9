#include "framework/shell/screen.h"
#include "framework/ui/text_input.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

using ui_test::UiTest;

class TextInputTest : public UiTest {
protected:
    // Feeds the text and runs one tick per character (and a few more); the last non-zero result.
    static int TypeAndRun(TTextInput& input, const std::string& text) {
        Type(text);
        int result = 0;
        for (size_t i = 0; i < text.size() + 2; ++i) {
            const int r = input.Manage();
            if (r != 0)
                result = r;
        }
        return result;
    }
};

TEST_F(TextInputTest, KeySequences) {
    struct Case {
        const char* what;
        std::string start, typed;
        int allowNull;
        bool fileNameSafe;
        std::string text;
        int result;
    };
    const std::string tooLong = "abcdefghijkl";
    const Case cases[] = {
        {"the eleventh character is ignored", "", tooLong, 1, false, "abcdefghij", 0},
        {"banned characters", "", "a/b", 1, true, "ab", 0},
        {"codes above 126 and control codes", "", "a\xe9\x01\x09z", 1, false, "az", 0},
        {"Backspace", "xy", "\b\b\bq", 1, false, "q", 0},
        {"Enter ends the entry", "", "ok\r", 1, false, "ok", 1},
        {"Enter on an empty entry with AllowNull", "", "\r", 1, false, "", 1},
        {"Enter on an empty entry without AllowNull", "", "\r", 0, false, "", 0},
        {"Escape empties and aborts", "keep", "\x1b", 1, false, "", -1},
        {"Space is a character", "", "a b", 1, false, "a b", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ccCreateInputArrays();
        TTextInput input;
        input.Init(nullptr, c.start, 10, 20, nullptr);
        input.AllowNull = c.allowNull;
        if (c.fileNameSafe)
            input.MakeCharsFileNameSafe();
        EXPECT_EQ(TypeAndRun(input, c.typed), c.result);
        EXPECT_EQ(input.Text, c.text);
        EXPECT_EQ(input.CurrentChar, static_cast<int>(c.text.size()) + 1);
        EXPECT_EQ(input.Done, c.result != 0 ? 1 : 0);
        EXPECT_EQ(input.Active, c.result != 0 ? 0 : 1);
        EXPECT_EQ(Game->BlockKeys, c.result != 0 ? 0 : 1) << "hot keys blocked while typing";
    }
}

TEST_F(TextInputTest, OneCharacterPerTickAndKeysBeforeTheEntryAreForgotten) {
    Type("x");
    TTextInput input;
    input.Init(nullptr, "", 0, 0, nullptr);
    input.Manage();
    EXPECT_EQ(input.Text, "") << "typed before the entry opened";
    Type("abc");
    input.Manage();
    EXPECT_EQ(input.Text, "a");
    input.Manage();
    EXPECT_EQ(input.Text, "ab");
    EXPECT_EQ(std::string("\"|*\\/:;~?<>,+=%"), (input.MakeCharsFileNameSafe(), input.BannedChars));
}

TEST_F(TextInputTest, PixelWidthLimitAcceptsAnExactFit) {
    TTextInput input;
    input.Init(nullptr, "", 0, 0, nullptr);
    input.MaxLength = 100;
    platform::SetImageFont(nullptr);
    input.MaxPixelWidth = platform::TextWidth("WWW");
    TypeAndRun(input, "WWWW");
    EXPECT_EQ(input.Text, "WWW");
    EXPECT_EQ(input.GetWidth(""), input.MaxPixelWidth);
}

TEST_F(TextInputTest, CursorFlashesEveryFiftyTicks) {
    TTextInput input;
    input.Init(nullptr, "", 0, 0, nullptr);
    EXPECT_EQ(input.CursorFlashSpeed, 50);
    for (int tick = 1; tick < 50; ++tick)
        input.Manage();
    EXPECT_EQ(input.CursorOn, 1);
    input.Manage();
    EXPECT_EQ(input.CursorOn, 0);
}

TEST_F(TextInputTest, DrawsTextCursorAndDots) {
    struct Case {
        std::string text;
        int cursorOn;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"abc", 1, {"abc", "_", "......"}},
        {"abc", 0, {"abc", "......"}},
        {"abcdefghij", 1, {"abcdefghij"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + (c.cursorOn ? " cursor" : ""));
        TTextInput input;
        input.Init(nullptr, c.text, 10, 20, nullptr);
        input.TextShadow = nullptr; // each piece drawn once
        input.DrawDots = 1;
        input.CursorOn = c.cursorOn;
        platform::ClearDrawLog();
        input.Draw();
        std::vector<std::string> pieces;
        std::vector<float> xs;
        for (const auto& r : Drawn(platform::TDrawRecord::TEXT)) {
            pieces.push_back(r.text);
            xs.push_back(r.x);
        }
        EXPECT_EQ(pieces, c.pieces);
        if (c.pieces.size() == 3) {
            EXPECT_EQ(Drawn(platform::TDrawRecord::TEXT)[1].g, 255) << "the cursor in cyan";
            EXPECT_EQ(Drawn(platform::TDrawRecord::TEXT)[1].r, 0);
        }
        const float afterCursor =
            10.0f + static_cast<float>(platform::TextWidth("abc") + platform::TextWidth("_"));
        if (c.pieces.size() > 1) {
            EXPECT_FLOAT_EQ(xs.back(), afterCursor) << "the dots keep their place";
        }
    }
    TTextInput idle;
    platform::ClearDrawLog();
    EXPECT_EQ(idle.Draw(), 0);
    EXPECT_TRUE(platform::DrawLog().empty());
}

// A new entry has a shadow of its own, with a shadow's defaults (one pixel right and down, alpha
// 0.5): text and cursor are each drawn first in black at that offset, then in their colour.
TEST_F(TextInputTest, ANewEntryDrawsWithADefaultShadow) {
    TTextInput input;
    ASSERT_TRUE(input.TextShadow);
    EXPECT_EQ(input.TextShadow->X, 1.0f);
    EXPECT_EQ(input.TextShadow->Y, 1.0f);
    EXPECT_EQ(input.TextShadow->Alpha, 0.5f);
    EXPECT_NE(TTextInput().TextShadow, input.TextShadow) << "each entry has its own";
    input.Init(nullptr, "ab", 10, 20, nullptr);
    platform::ClearDrawLog();
    input.Draw();
    const auto texts = Drawn(platform::TDrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 4u);
    const float cursorX = 10.0f + static_cast<float>(platform::TextWidth("ab"));
    struct Piece {
        const char* text;
        float x, y;
        int r, g, b;
        float alpha;
    };
    const Piece expected[] = {{"ab", 11, 21, 0, 0, 0, 0.5f},
                              {"ab", 10, 20, 255, 255, 255, 1.0f},
                              {"_", cursorX + 1, 21, 0, 0, 0, 0.5f},
                              {"_", cursorX, 20, 0, 255, 255, 1.0f}};
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_FLOAT_EQ(texts[i].x, expected[i].x);
        EXPECT_FLOAT_EQ(texts[i].y, expected[i].y);
        EXPECT_EQ(texts[i].r, expected[i].r);
        EXPECT_EQ(texts[i].g, expected[i].g);
        EXPECT_EQ(texts[i].b, expected[i].b);
        EXPECT_FLOAT_EQ(texts[i].alpha, expected[i].alpha);
    }
}

class TEscScreen : public TScreen {
public:
    int SetEscDestination() override {
        ++asked;
        return 300;
    }
    int asked = 0;
};

TEST_F(TextInputTest, TheChatLineKeepsItsTextAndPassesEscapeOn) {
    // A dialog claims Escape: the hit is handed on to it.
    Game->IgnoreEscapeKey = 1;
    TTextInputEx line;
    line.Init(nullptr, "", 0, 0, nullptr);
    EXPECT_EQ(TypeAndRun(line, "hi\x1b"), 0);
    EXPECT_EQ(line.Text, "hi");
    EXPECT_EQ(line.Done, 1);
    EXPECT_EQ(Game->BlockKeys, 0);
    EXPECT_EQ(Keys[27], 1);

    // Nothing claims it: the screen's Escape fade-out starts.
    ccCreateInputArrays();
    Game->IgnoreEscapeKey = 0;
    auto screen = std::make_shared<TEscScreen>();
    Game->CurrentTScreen = screen;
    line.Reset();
    EXPECT_EQ(TypeAndRun(line, "\x1b"), 0);
    EXPECT_EQ(screen->asked, 1);
    EXPECT_EQ(Game->GameFade->Active, 1);
    EXPECT_EQ(Game->GameFade->Out, 1);

    // A running fade is completed at once.
    line.Reset();
    EXPECT_EQ(TypeAndRun(line, "\x1b"), 0);
    EXPECT_EQ(Game->GameFade->Active, 0);
    Game->CurrentTScreen = nullptr;
}

} // namespace
