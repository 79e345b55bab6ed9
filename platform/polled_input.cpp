// Polled input: the layer's own key and mouse state, kept by one hook while enabled. Every query
// polls the system first, so that a loop that only asks for keys still sees them (and keeps the
// timers ticking).
#include "platform/events_internal.h"
#include "platform/input.h"

#include <array>
#include <deque>

namespace platform {

namespace {

constexpr int KEYS = 256;
constexpr int BUTTONS = 8;
// Typed characters nobody takes: past this many the newest are dropped.
constexpr size_t CHAR_LIMIT = 256;

struct Polled {
    int hook = 0;
    std::array<int, KEYS> keyDown{}, keyHits{};
    std::deque<int> chars;
    std::array<int, BUTTONS> mouseDown{}, mouseHits{};
    int mouseZ = 0;
};

Polled P;

void ResetKeys() {
    P.keyDown.fill(0);
    P.keyHits.fill(0);
    P.chars.clear();
}

void ResetMouse() {
    P.mouseDown.fill(0);
    P.mouseHits.fill(0);
    P.mouseZ = 0;
}

bool IsKey(int key) {
    return key >= 0 && key < KEYS;
}

bool IsButton(int button) {
    return button >= 1 && button < BUTTONS;
}

void Track(const TEvent& e) {
    switch (e.id) {
    case EVENT_KEYDOWN:
        if (IsKey(e.data)) {
            P.keyDown[e.data] = 1;
            ++P.keyHits[e.data];
        }
        break;
    case EVENT_KEYUP:
        if (IsKey(e.data))
            P.keyDown[e.data] = 0;
        break;
    case EVENT_KEYCHAR:
        if (P.chars.size() < CHAR_LIMIT)
            P.chars.push_back(e.data);
        break;
    case EVENT_MOUSEDOWN:
        if (IsButton(e.data)) {
            P.mouseDown[e.data] = 1;
            ++P.mouseHits[e.data];
        }
        break;
    case EVENT_MOUSEUP:
        if (IsButton(e.data))
            P.mouseDown[e.data] = 0;
        break;
    case EVENT_MOUSEWHEEL:
        P.mouseZ += e.data;
        break;
    default:
        break;
    }
}

} // namespace

void EnablePolledInput() {
    if (P.hook)
        return;
    // Fresh state: what happened while disabled is unknown.
    ResetKeys();
    ResetMouse();
    P.hook = AddHook(Track);
}

void DisablePolledInput() {
    if (!P.hook)
        return;
    RemoveHook(P.hook);
    P.hook = 0;
}

bool PolledInputEnabled() {
    return P.hook != 0;
}

int KeyHit(int key) {
    PollSystem();
    if (!IsKey(key))
        return 0;
    const int hits = P.keyHits[key];
    P.keyHits[key] = 0;
    return hits;
}

int KeyDown(int key) {
    PollSystem();
    return IsKey(key) ? P.keyDown[key] : 0;
}

int GetChar() {
    PollSystem();
    if (P.chars.empty())
        return 0;
    const int c = P.chars.front();
    P.chars.pop_front();
    return c;
}

void FlushKeys() {
    PollSystem();
    ResetKeys();
}

void DropKeyHits() {
    PollSystem();
    P.keyHits.fill(0);
    P.chars.clear();
}

int MouseHit(int button) {
    PollSystem();
    if (!IsButton(button))
        return 0;
    const int hits = P.mouseHits[button];
    P.mouseHits[button] = 0;
    return hits;
}

int MouseDown(int button) {
    PollSystem();
    return IsButton(button) ? P.mouseDown[button] : 0;
}

int MouseX() {
    PollSystem();
    int x, y;
    detail::LastMousePosition(x, y);
    return x;
}

int MouseY() {
    PollSystem();
    int x, y;
    detail::LastMousePosition(x, y);
    return y;
}

int MouseZ() {
    PollSystem();
    return P.mouseZ;
}

void FlushMouse() {
    PollSystem();
    ResetMouse();
}

} // namespace platform
