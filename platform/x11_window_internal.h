#pragma once
// What the display asks of the X server itself under SDL's X11 driver. Under any other driver
// (the dummy and offscreen ones of the tests, Wayland) each of these does nothing.

struct SDL_Window;

namespace platform::detail {

// Takes the handling of X errors over from SDL, whose handler ends the process: an error about a
// window that is not the display's own (a window manager's frame that is already gone) is only
// reported as a warning, any other is kept for RaiseXError. Called once the video subsystem is up.
void WatchXErrors();
// The display's window, that X errors are judged by (null when there is none).
void SetOwnWindow(SDL_Window* window);
// Raises the runtime error of the first X error kept since the last call, if any.
void RaiseXError();
// Waits, for a limited time, until a window manager has let go of the just hidden window.
void AwaitWithdrawal(SDL_Window* window);

} // namespace platform::detail
