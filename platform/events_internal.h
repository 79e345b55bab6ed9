#pragma once
// What the event queue shares with the timers, the polled input and the key table.

namespace platform::detail {

// SIGHUP becomes EVENT_APPTERMINATE at the next poll, as SDL makes SIGTERM a quit: caught while
// SDL's events run (from their start to SDL_Quit), unless its action was changed before.
void CatchHangUp();
void ReleaseHangUp();
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
