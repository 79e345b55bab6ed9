// The in-game error box in a real window: what it shows, what closes it, and how a fatal error
// ends the process.

#include "framework/util/drawing.h"
#include "framework/util/error.h"
#include "framework/util/input.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"
#include "tests/framework/util/local_time.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

struct EndCalled {
    int status;
};

using testing_support::Rgb;
using testing_support::RgbOf;

// True when some pixel of the rectangle passes the test.
bool Any(const platform::PixmapPtr& frame, int x0, int y0, int x1, int y1,
         const std::function<bool(Rgb)>& test) {
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            if (test(RgbOf(frame->ReadPixel(x, y))))
                return true;
    return false;
}

class ErrorBox : public testing_support::InWindow<> {
protected:
    void SetUp() override {
        InWindow::SetUp();
        platform::SetEndHandler([](int status) { throw EndCalled{status}; });
        platform::SetNotifyHandler(
            [this](const std::string& text, bool) { notes.push_back(text); });
        platform::SetLocalTimeSource(
            [] { return util_tests::LocalTimeAt(2026, 12, 8, 21, 17, 40); });
        ccErrorPath = dir.Path();
        ccGraphicalErrors = 1;
        ccClsNoFlip(40, 40, 40);
    }
    // Answers the box with a key on the given frame, keeping that frame.
    void AnswerOnFlip(int answerFlip) {
        platform::SetFlipHook([this, answerFlip] {
            if (++flips == answerFlip) {
                shown = platform::GrabPixmap(0, 0, 800, 600);
                platform::InjectKey(platform::KEY_SPACE, true);
                platform::InjectKey(platform::KEY_SPACE, false);
            }
        });
    }

    testing_support::TempDir dir;
    std::vector<std::string> notes;
    int flips = 0;
    platform::PixmapPtr shown;
};

TEST_F(ErrorBox, AFatalErrorShowsTheBoxLogsAndEndsTheProcess) {
    AnswerOnFlip(1);
    try {
        ccRunTimeError("Error loading bitmap Data/graphics/pawn.png", 1);
        FAIL() << "the process did not end";
    } catch (const EndCalled& end) {
        EXPECT_EQ(end.status, 1);
    }
    EXPECT_EQ(flips, 1);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(testing_support::ReadTextFile(dir.File("ErrorLog.txt")),
              "Date: 08 Dec 2026\r\nTime: 21:17:40\r\n"
              "Error loading bitmap Data/graphics/pawn.png\r\n");
    ASSERT_TRUE(shown);
    // 600 by 100 at (100, 250): outline, grey box, black shadow 4 pixels down and right.
    EXPECT_EQ(At(shown, 100, 250), (Rgb{220, 220, 200}));
    EXPECT_EQ(At(shown, 699, 349), (Rgb{220, 220, 200}));
    EXPECT_EQ(At(shown, 105, 300), (Rgb{150, 150, 150}));
    EXPECT_EQ(At(shown, 702, 352), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(shown, 98, 300), (Rgb{40, 40, 40}));
    // The message in cyan near the top, the prompt in green near the bottom, both centred.
    const int h = platform::TextHeight("");
    EXPECT_TRUE(Any(shown, 110, 260, 690, 260 + h,
                    [](Rgb c) { return c.r < 60 && c.g > 180 && c.b > 180; }));
    EXPECT_TRUE(Any(shown, 110, 340 - h, 690, 340,
                    [](Rgb c) { return c.r < 60 && c.g > 180 && c.b < 60; }));
    EXPECT_FALSE(Any(shown, 110, 340 - h, 330, 340,
                     [](Rgb c) { return c.r < 60 && c.g > 180 && c.b < 60; }));
}

TEST_F(ErrorBox, ALongPathIsBrokenIntoLinesThatAllShowInTheBox) {
    std::string path = dir.Path();
    for (int i = 0; i < 20; ++i)
        path += "a-rather-long-folder-name-" + std::to_string(i) + "/";
    const std::string message = "Failed to save file " + path + "pelorin-demo.ini";
    const int h = platform::TextHeight("");
    ASSERT_GT(platform::TextWidth(message), 5 * 580) << "six lines at least";
    AnswerOnFlip(1);
    testing::internal::CaptureStderr();
    EXPECT_THROW(ccRunTimeError(message, 1), EndCalled);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), message + "\n");
    EXPECT_EQ(testing_support::ReadTextFile(dir.File("ErrorLog.txt")),
              "Date: 08 Dec 2026\r\nTime: 21:17:40\r\n" + message + "\r\n");
    ASSERT_TRUE(shown);

    // The box's left edge: the outline's column, grown taller than 100 to hold the lines.
    int boxTop = -1, boxBottom = -1;
    for (int y = 0; y < 600; ++y)
        if (At(shown, 100, y) == (Rgb{220, 220, 200})) {
            boxTop = boxTop < 0 ? y : boxTop;
            boxBottom = y;
        }
    ASSERT_GE(boxTop, 0);
    EXPECT_GT(boxBottom - boxTop + 1, 100);
    // Every pixel of the message (cyan) and of the prompt (green) inside the box, the message on
    // six lines at least, all of them above the prompt.
    int outside = 0, messageTop = 600, messageBottom = -1, promptTop = 600;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const Rgb c = At(shown, x, y);
            const bool message = c.r < 60 && c.g > 180 && c.b > 180;
            const bool prompt = c.r < 60 && c.g > 180 && c.b < 60;
            if (!message && !prompt)
                continue;
            if (x < 110 || x >= 690 || y <= boxTop || y >= boxBottom)
                ++outside;
            if (message) {
                messageTop = std::min(messageTop, y);
                messageBottom = std::max(messageBottom, y);
            } else {
                promptTop = std::min(promptTop, y);
            }
        }
    EXPECT_EQ(outside, 0) << "pixels of text outside the box";
    EXPECT_GT(messageBottom - messageTop, 5 * h);
    EXPECT_GT(promptTop, messageBottom);
}

// A path in UTF-8 shows in the box's Latin-1 font letter for letter, a letter the font lacks as
// one "?"; standard error and the log keep the bytes as they came.
TEST_F(ErrorBox, UnicodeTextShowsInTheFontsOwnCharacters) {
    const std::string message = "Failed to save file /home/Jos\xc3\xa9/"
                                "\xce\xa9\xce\xbc\xce\xad/\xe6\x97\xa5/pelorin-demo.ini";
    const std::string shown = "Failed to save file /home/Jos\xe9/"
                              "???"
                              "/?/pelorin-demo.ini";
    AnswerOnFlip(1);
    platform::SetDrawLog(true);
    platform::ClearDrawLog();
    testing::internal::CaptureStderr();
    EXPECT_THROW(ccRunTimeError(message, 1), EndCalled);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), message + "\n");
    EXPECT_EQ(testing_support::ReadTextFile(dir.File("ErrorLog.txt")),
              "Date: 08 Dec 2026\r\nTime: 21:17:40\r\n" + message + "\r\n");
    std::vector<platform::TDrawRecord> texts;
    for (const platform::TDrawRecord& record : platform::DrawLog())
        if (record.kind == platform::TDrawRecord::TEXT && record.text != "<press any key>")
            texts.push_back(record);
    platform::SetDrawLog(false);
    ASSERT_FALSE(texts.empty());
    for (const platform::TDrawRecord& record : texts) {
        EXPECT_EQ(record.text, shown);
        EXPECT_EQ(record.w, static_cast<float>(platform::TextWidth(shown)));
    }
}

TEST_F(ErrorBox, OnlyInputAfterTheBoxAppearedClosesItAndTheStateIsLeftKnown) {
    ccEnablePolledInput();
    platform::InjectKey(platform::KEY_ENTER, true);
    platform::InjectMouseButton(1, true);
    AnswerOnFlip(2);
    ccTextAlpha = 0.25f;
    EXPECT_EQ(ccDialogOK("Delete this profile?\nThis cannot be undone.", 400, 100), 0);
    EXPECT_EQ(flips, 2);
    // Two message lines, each drawn opaque whatever alpha the last font left.
    const int h = platform::TextHeight("");
    auto cyan = [](Rgb c) { return c.r < 40 && c.g > 200 && c.b > 200; };
    EXPECT_TRUE(Any(shown, 210, 260, 590, 260 + h, cyan));
    EXPECT_TRUE(Any(shown, 210, 260 + h, 590, 260 + 2 * h, cyan));
    EXPECT_EQ(At(shown, 200, 250), (Rgb{220, 220, 200}));
    EXPECT_EQ(At(shown, 150, 300), (Rgb{40, 40, 40}));
    int r, g, b;
    platform::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    EXPECT_EQ(platform::GetBlend(), platform::SOLIDBLEND);
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 0.25f);
    EXPECT_FLOAT_EQ(ccTextAlpha, 0.25f);
    EXPECT_FLOAT_EQ(ccShadowTextDepthX, 1.0f);
    EXPECT_EQ(KeyHit(platform::KEY_SPACE), 0); // the answer was forgotten
}

TEST_F(ErrorBox, ClosingTheWindowAnswersTheBox) {
    platform::SetFlipHook([this] {
        if (++flips == 1)
            platform::InjectQuit();
    });
    EXPECT_THROW(ccRunTimeError("Error loading sample Data/sound/win.wav", 1), EndCalled);
    EXPECT_EQ(flips, 1);
}

} // namespace
