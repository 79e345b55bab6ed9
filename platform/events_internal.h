#pragma once
// What the event queue shares with the timers, the polled input and the key table.

namespace platform::detail {

// A program that did not catch the requests to end for its whole run (CatchRequestsToEnd) has them
// caught while SDL's events run, from before their start (SDL then leaves SIGINT and SIGTERM to
// us) to SDL_Quit, where they get their default action back.
void CatchRequestsWhileSdlRuns();
void ReleaseRequestsAfterSdl();
// True while a request to end waits for the next poll: a wait that blocks the main thread (the
// system's message box) ends on it and leaves it pending.
bool EndRequested();
// While one stands, the requests to end that are caught get their default action: a wait that
// nothing can end otherwise (the system's message box shown in this process) ends with the process.
class TRequestsEndAtOnce {
public:
    TRequestsEndAtOnce();
    ~TRequestsEndAtOnce();
    TRequestsEndAtOnce(const TRequestsEndAtOnce&) = delete;
    TRequestsEndAtOnce& operator=(const TRequestsEndAtOnce&) = delete;

private:
    bool released_[3] = {false, false, false};
};
// Posts the tick of every due timer (timer.cpp); PollSystem calls it.
void CheckTimers();
// Notices a lost audio device and looks for a new one, each at its own modest interval
// (audio.cpp); PollSystem calls it.
void WatchAudioDevice();
// The pointer's last known logical position, kept from every mouse event.
void LastMousePosition(int& x, int& y);
// The SDL key symbol (SDL_Keycode) of a key code; 0 for none.
int SdlKeyFromKeyCode(int key);
// The key code of a physical key (SDL_Scancode) in the US layout: the fallback for key symbols
// of other layouts that have no code of their own.
int KeyCodeFromScancode(int scancode);

} // namespace platform::detail
