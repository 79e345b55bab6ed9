#pragma once
// The one way in which the program reports a failure it cannot continue from, and the error log.

#include "platform/system.h"

#include <exception>
#include <string>

// Non-zero once start-up has entered its error handler: errors are shown in the in-game box, logged
// and end the process; 0 before that: the system message box, then the error is raised.
extern int ccGraphicalErrors;
// Non-zero: the error log is written.
extern int ccWriteErrors;
// Folder of the error log, ending in "/" when set; empty means the working directory.
extern std::string ccErrorPath;

// The error object that ccRunTimeError raises before start-up's handler runs: its message has
// been shown already.
class TReportedError : public platform::TRuntimeError {
public:
    using platform::TRuntimeError::TRuntimeError;
};

// Reports the message; returns 0 only when fatal is 0 and the in-game box was used. The message
// also goes to standard error, for a player who started the game from a terminal or a script.
int ccRunTimeError(const std::string& message, int fatal);
// The modal in-game message box of w by h pixels, shown until a key or mouse button is hit (or the
// window is asked to close). It reads the answer through polled input: callers enable it first.
// The message is wrapped to the box, a word wider than it (a long path) broken too; the box grows
// taller when the lines need it.
int ccDialogOK(const std::string& message, int w, int h);
// The last resort of start-up's handler: writes the error's text to the error log, then closes the
// display and shows it. A platform runtime error's text gets the prefix "(" + DebugInt + ") " while
// DebugInt is non-zero.
int HandleGeneralError(const std::exception& error);
// A thrown string is shown as it is.
int HandleGeneralError(const std::string& thrown);
// Whatever start-up's handler caught: its catch-all passes std::current_exception() here.
int HandleGeneralError(std::exception_ptr error);
// The handler of start-up's steps before its guarded phase, where no display is open: an error
// that ccRunTimeError raised was shown already, anything else is shown as HandleGeneralError shows
// it; either is logged, and the process ends with a failure status.
[[noreturn]] void HandleStartUpError(std::exception_ptr error);
