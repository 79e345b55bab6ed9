#include "framework/util/error.h"

#include "framework/util/drawing.h"
#include "framework/util/globals.h"
#include "framework/util/input.h"
#include "framework/util/strings.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"

#include <algorithm>

int ccGraphicalErrors = 1;
int ccWriteErrors = 1;
std::string ccErrorPath;

namespace {

// The log holds only the latest error; it is replaced whole, so a crash while writing leaves the
// previous one. A log that cannot be written is skipped: the error itself is what matters.
void WriteErrorLog(const std::string& message) {
    if (!ccWriteErrors)
        return;
    auto log = platform::WriteFile(ccErrorPath + "ErrorLog.txt");
    if (!log)
        return;
    log->WriteLine("Date: " + platform::CurrentDate());
    log->WriteLine("Time: " + platform::CurrentTime());
    log->WriteLine(message);
    log->Close();
}

// Status of a process ended by a fatal error: a failure, whatever the user pressed.
constexpr int FATAL_EXIT_STATUS = 1;

// Logs and shows the text of an error that start-up's handler caught. Logged first, so that the
// log is there however the box ends: a log-out or a kill while it waits for an answer.
int ShowGeneralError(const std::string& text) {
    WriteErrorLog(text);
    platform::EndGraphics();
    platform::ShowMouse();
    platform::Notify(text, false);
    return 0;
}

void DrawDialogOK(int x, int y, int w, int h, const std::vector<std::string>& lines) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    const float centre = static_cast<float>(ScreenWidth / 2);
    const int textHeight = platform::TextHeight("");
    platform::SetColor(0, 0, 0);
    platform::DrawRect(fx + 4.0f, fy + 4.0f, fw, fh);
    platform::SetColor(150, 150, 150);
    platform::DrawRect(fx, fy, fw, fh);
    platform::SetColor(220, 220, 200);
    ccDrawRectOutline(x, y, w, h);
    platform::SetColor(0, 220, 220);
    ccShadowTextWrapped(centre, fy + 10.0f, lines, 1, textHeight);
    platform::SetColor(0, 220, 0);
    ccShadowText(centre, static_cast<float>(y + h - textHeight - 10), "<press any key>", 1);
}

} // namespace

int ccRunTimeError(const std::string& message, int fatal) {
    if (!ccGraphicalErrors) {
        platform::Notify(message, false);
        throw TReportedError(message);
    }
    // Logged before the box is shown, so that the log is there even when the player kills the
    // program instead of answering the box.
    WriteErrorLog(message);
    // Without a display the box falls back to the system's message box, which echoes it there.
    if (platform::GraphicsOpen())
        platform::PrintError(message);
    ccEnablePolledInput();
    ccDialogOK(message, 600, 100);
    if (fatal)
        platform::End(FATAL_EXIT_STATUS);
    return 0;
}

int ccDialogOK(const std::string& message, int w, int h) {
    // Without a display (before it opens, or after it closed) the box cannot be drawn or answered:
    // the message goes to the system's message box instead.
    if (!platform::GraphicsOpen()) {
        platform::Notify(message, false);
        return 0;
    }
    const int margin = 10;
    ccRestoreSolidMode();
    platform::SetImageFont(nullptr);
    ccShadowTextDepthX = 1.0f;
    ccShadowTextDepthY = 1.0f;
    // The box is drawn fully opaque whatever alpha the last font left for text.
    const float textAlpha = ccTextAlpha;
    ccTextAlpha = 1.0f;
    const int width = w - 2 * margin;
    // Paths and system messages come in UTF-8; the box's font draws one byte a character.
    const std::string shown = platform::FontText(message);
    std::vector<std::string> lines;
    for (const std::string& line : ccWordWrapArray(ccSplitStringIntoLines(shown), width, nullptr)) {
        // A word wider than the box (a long path) is broken too, so that all of it shows.
        for (std::string& part : platform::BreakIntoLines(line, [width](const std::string& text) {
                 return platform::TextWidth(text) <= width;
             }))
            lines.push_back(std::move(part));
    }
    // The box grows to hold every line above the prompt.
    const int textHeight = platform::TextHeight("");
    h = std::max(h, static_cast<int>(lines.size() + 1) * textHeight + 2 * margin);
    const int x = (ScreenWidth - w) / 2;
    const int y = (ScreenHeight - h) / 2;
    // A request to close the window answers the box too, so that a player who closes the window
    // is not kept waiting; the request stays queued for the program's own pump.
    bool closeRequested = false;
    const int hook = platform::AddHook([&closeRequested](const platform::TEvent& event) {
        if (event.id == platform::EVENT_APPTERMINATE)
            closeRequested = true;
    });
    ccFlushAll();
    while (!ccAnyKeyPressed() && !ccMouseHit() && !closeRequested) {
        DrawDialogOK(x, y, w, h, lines);
        ccFlip();
    }
    platform::RemoveHook(hook);
    ccTextAlpha = textAlpha;
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(ccTextAlpha);
    ccFlushAll();
    return 0;
}

int HandleGeneralError(const std::exception& error) {
    std::string text = error.what();
    if (DebugInt != 0)
        text.insert(0, "(" + std::to_string(DebugInt) + ") ");
    return ShowGeneralError(text);
}

int HandleGeneralError(const std::string& thrown) {
    return ShowGeneralError(thrown);
}

int HandleGeneralError(std::exception_ptr error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return HandleGeneralError(e);
    } catch (const std::string& s) {
        return HandleGeneralError(s);
    } catch (const char* s) {
        return HandleGeneralError(std::string(s ? s : ""));
    } catch (...) {
    }
    return HandleGeneralError(std::string("Unknown error"));
}

void HandleStartUpError(std::exception_ptr error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const TReportedError& reported) {
        WriteErrorLog(reported.what());
        platform::End(FATAL_EXIT_STATUS);
    } catch (...) {
    }
    HandleGeneralError(error);
    platform::End(FATAL_EXIT_STATUS);
}
