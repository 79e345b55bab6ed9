#include "framework/util/error.h"

#include "framework/util/globals.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/system.h"

int ccGraphicalErrors = 1;
int ccWriteErrors = 1;
std::string ccErrorPath;

namespace {

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

} // namespace

int ccRunTimeError(const std::string& message, int fatal) {
    if (!ccGraphicalErrors) {
        platform::Notify(message, false);
        platform::RuntimeError(message);
    }
    ccDialogOK(message, 600, 100);
    WriteErrorLog(message);
    if (fatal)
        platform::End(0);
    return 0;
}

// The in-game box is drawn by the drawing functions of the utility library; until they exist the
// message goes to the system's message box.
int ccDialogOK(const std::string& message, int w, int h) {
    (void)w;
    (void)h;
    platform::Notify(message, false);
    return 0;
}

int HandleGeneralError(const std::exception& error) {
    platform::EndGraphics();
    platform::ShowMouse();
    std::string text = error.what();
    if (dynamic_cast<const platform::TRuntimeError*>(&error) && DebugInt != 0)
        text = "(" + std::to_string(DebugInt) + ") " + text;
    platform::Notify(text, false);
    return 0;
}

int HandleGeneralError(const std::string& thrown) {
    platform::EndGraphics();
    platform::ShowMouse();
    platform::Notify(thrown, false);
    return 0;
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
