#pragma once
// Events, event hooks, timers and polled input. Everything runs on the main thread: PollSystem
// drains the window system's events, turns each into a TEvent, runs the hooks and appends it to
// the layer's queue; timers are checked there too and post tick events.

#include <functional>
#include <memory>
#include <string>

namespace platform {

// ---- Key codes (the usual virtual-key layout) ---------------------------------------------------

enum KeyCode {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_ENTER = 13,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_PAGEUP = 33,
    KEY_PAGEDOWN = 34,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_INSERT = 45,
    KEY_DELETE = 46,
    KEY_0 = 48,    // digits 48..57
    KEY_A = 65,    // letters 65..90
    KEY_NUM0 = 96, // keypad digits 96..105
    KEY_NUMMULTIPLY = 106,
    KEY_NUMADD = 107,
    KEY_NUMSUBTRACT = 109,
    KEY_NUMDECIMAL = 110,
    KEY_NUMDIVIDE = 111,
    KEY_F1 = 112, // F1..F12 112..123
    KEY_LSHIFT = 160,
    KEY_RSHIFT = 161,
    KEY_LCONTROL = 162,
    KEY_RCONTROL = 163,
    KEY_LALT = 164,
    KEY_RALT = 165,
    KEY_SEMICOLON = 186,
    KEY_EQUALS = 187,
    KEY_COMMA = 188,
    KEY_MINUS = 189,
    KEY_PERIOD = 190,
    KEY_SLASH = 191,
    KEY_TILDE = 192,
    KEY_OPENBRACKET = 219,
    KEY_BACKSLASH = 220,
    KEY_CLOSEBRACKET = 221,
    KEY_QUOTES = 222,
};

// The key code of an SDL key symbol (SDL_Keycode); 0 for a key outside the layout.
int KeyCodeFromSDL(int sdlKeycode);

// ---- Events ------------------------------------------------------------------------------------

enum EventId {
    EVENT_APPSUSPEND = 257,   // focus lost
    EVENT_APPRESUME = 258,    // focus back
    EVENT_APPTERMINATE = 259, // quit command, window close, SIGINT/SIGTERM/SIGHUP
    EVENT_KEYDOWN = 513,      // data = key code (never sent for auto-repeat)
    EVENT_KEYUP = 514,
    EVENT_KEYCHAR = 515,    // data = character 8, 9, 13, 27 or 32..255 (repeats included)
    EVENT_KEYREPEAT = 516,  // auto-repeat of a held key; data = key code
    EVENT_MOUSEDOWN = 1025, // data = button: 1 left, 2 right, 3 middle; x, y logical
    EVENT_MOUSEUP = 1026,
    EVENT_MOUSEMOVE = 1027,  // x, y logical (clamped to the logical screen)
    EVENT_MOUSEWHEEL = 1028, // data = steps
    EVENT_MOUSEENTER = 1029,
    EVENT_MOUSELEAVE = 1030,
    EVENT_TIMERTICK = 2049, // source = the timer
};

struct TEvent {
    int id = 0;
    int data = 0;
    int x = 0;
    int y = 0;
    void* source = nullptr;
};

// SIGINT, SIGTERM and SIGHUP become a request to end, EVENT_APPTERMINATE at the next PollSystem,
// from this call to the end of the process; a signal whose action is not the default (a hang-up
// ignored from the start, under nohup) keeps its action, and SDL's hint against signal handlers is
// honoured. The program calls it first thing. Without the call they are caught only while SDL's
// events run.
void CatchRequestsToEnd();
// Drains pending window-system events and due timers into the queue, running the hooks.
void PollSystem();
// True when an event is waiting (calls PollSystem first when the queue is empty).
bool PeekEvent();
// Takes the next event into CurrentEvent(); false (and an empty current event) when none.
bool PollEvent();
const TEvent& CurrentEvent();
// Runs the hooks on an event and appends it to the queue, as if the system had sent it. The queue
// holds 4096 events: past that the oldest is dropped (the hooks have seen it).
void EmitEvent(const TEvent& event);
// Drops every queued event.
void ClearEvents();
// Takes in what the window system holds, then drops the queued key, character, mouse button and
// wheel events: input that arrived while nothing pumped. The rest (close requests, focus, pointer
// moves, timer ticks) stays queued in order; the hooks have seen every event already.
void DropInputEvents();

// Hooks run on every emitted event, highest priority first; a hook may add or remove hooks.
using EventHook = std::function<void(const TEvent&)>;
int AddHook(EventHook hook, int priority = 0); // returns a handle
void RemoveHook(int handle);

// ---- Timers ------------------------------------------------------------------------------------

// A timer that posts one EVENT_TIMERTICK (source = the timer) per PollSystem call in which at
// least one period has passed; late ticks are coalesced.
class TTimer {
public:
    virtual ~TTimer() = default;
    virtual float Hertz() const = 0;
    virtual int Ticks() const = 0; // periods elapsed since creation
    virtual void Stop() = 0;
};
using TimerPtr = std::shared_ptr<TTimer>;
TimerPtr CreateTimer(float hertz);

// ---- Polled input ------------------------------------------------------------------------------
// The layer's own key and mouse state, kept by one of its hooks while polled input is enabled.
// Each query first calls PollSystem, so a blocking loop sees new input and keeps timers running.

void EnablePolledInput();
void DisablePolledInput();
bool PolledInputEnabled();
int KeyHit(int key);  // key-downs since last asked (then reset)
int KeyDown(int key); // 1 while held
int GetChar();        // next typed character, 0 when none
void FlushKeys();
void DropKeyHits();        // forgets key hits and typed characters; keys held down stay held
int MouseHit(int button);  // presses since last asked (then reset)
int MouseDown(int button); // 1 while held
int MouseX();              // logical pointer position
int MouseY();
int MouseZ(); // wheel position
void FlushMouse();

// ---- Injected input (tests) --------------------------------------------------------------------
// Sent through the window system's queue when a display is open (so they take the same path as
// real input), else emitted directly. Coordinates are logical.

void InjectKey(int key, bool down);
void InjectText(const std::string& text); // typed characters, one byte each
void InjectMouseMove(int x, int y);
void InjectMouseButton(int button, bool down);
void InjectMouseWheel(int steps);
void InjectQuit();

} // namespace platform
