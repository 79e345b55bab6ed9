#pragma once
// The program's keyboard and mouse input layer. In normal mode the shell's event pump fills the
// key arrays and the character ring below and these functions read and clear them; in polled mode
// (the short blocking stretches: the in-game error box, splashes, the player manager's box) they
// hand each question to the platform's polled input. The cc mouse functions always read the
// platform's polled mouse state.

#include "platform/input.h"

// 1: polled mode (the platform's state); 0: normal mode (the arrays below).
extern int ccPolledInputState;

// Per key code (0..255): key-down events since the code's hit was last taken or flushed.
extern int Keys[256];
// Per key code: 1 while the key is held down.
extern int KeyStates[256];
// Ring of typed character codes; slot of count n is n & 255, pending = charPut - charGet.
extern int charQueue[256];
extern int charGet;
extern int charPut;
// 1 after ccMouseShowHide showed the system pointer, 0 after it hid it.
extern int MouseVisible;

// Start-up's creation of the arrays: all of Keys, KeyStates and charQueue set to 0, the ring empty.
int ccCreateInputArrays();

// What the event pump records (codes outside 0..255 are ignored; a character arriving with 256
// pending is dropped).
int ccInputKeyDown(int code);
int ccInputKeyUp(int code);
int ccInputChar(int code);

// ---- Keyboard (mode-dependent) ------------------------------------------------------------------

// Normal mode: 1 when the code was hit since last asked (the hit is taken), else 0.
int KeyHit(int code);
// 1 while the key is held down.
int KeyDown(int code);
// The next typed character, 0 when none.
int GetChar();
// A key code of the platform's names picks these, not the platform's own functions of the same
// names that argument-dependent lookup would also find.
inline int KeyHit(platform::KeyCode code) {
    return KeyHit(static_cast<int>(code));
}
inline int KeyDown(platform::KeyCode code) {
    return KeyDown(static_cast<int>(code));
}
// Forgets every key hit, held key and typed character.
int FlushKeys();
// Forgets the key hits and typed characters not yet taken; keys held down stay held.
int ccDropKeyPresses();
// Forgets the typed characters not yet taken.
int ccDropTypedChars();
// Forgets held mouse buttons and button hits (the drawn pointer's in normal mode).
int FlushMouse();
// How FlushMouse reaches the drawn pointer, which lives above this layer: the game object sets it
// when it is made; unset, normal mode has no pointer buttons to forget.
extern void (*FlushDrawnMouseHook)();

int ccFlushAll();
// ccFlushAll, and the key, character and mouse-button events still queued in the system are
// forgotten too; a close request, pointer moves and the other events stay queued.
int ccFlushAllQueued();
// KeyHit for the codes 0..255 in rising order: 1 at the first hit (only that one is taken), else 0.
int ccAnyKeyPressed();
// 1 when some Keys entry is exactly 1; takes nothing.
int AnyKeyPressed();
// The lowest code whose Keys entry is exactly 1, else -1; takes nothing.
int KeyPressed();

// ---- Mouse (always the platform's polled state; buttons 1 left, 2 right, 3 middle) --------------

// 1 at the first of buttons 1, 2, 3 that reports a hit (later buttons' hits stay pending), else 0.
int ccMouseHit();
// All hits of the three buttons since last asked, all taken.
int ccMouseButtons();
int ccMouseDown();
int ccMouseDownTotal();
// Takes one event: shows the system pointer when it left the window, hides it when it entered.
int ccMouseShowHide();
int ccAnyInput();

// ---- Mode switches and waits -------------------------------------------------------------------

int ccEnablePolledInput();
// Back to normal mode; every queued event is discarded.
int ccDisablePolledInput();
int ccWaitForKeyOrMouse();
// -1 as soon as a click or key hit arrives, 0 once more than ms milliseconds have passed.
int ccWaitForTime(float ms);
