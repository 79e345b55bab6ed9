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
