#include "framework/util/input.h"

#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"

#include <algorithm>

int ccPolledInputState = 0;
int Keys[256] = {};
int KeyStates[256] = {};
int charQueue[256] = {};
int charGet = 0;
int charPut = 0;
int MouseVisible = 0;
void (*FlushDrawnMouseHook)() = nullptr;

namespace {

bool ValidCode(int code) {
    return code >= 0 && code < 256;
}

} // namespace

int ccCreateInputArrays() {
    std::fill(std::begin(Keys), std::end(Keys), 0);
    std::fill(std::begin(KeyStates), std::end(KeyStates), 0);
    std::fill(std::begin(charQueue), std::end(charQueue), 0);
    charGet = 0;
    charPut = 0;
    return 0;
}

int ccInputKeyDown(int code) {
    if (!ValidCode(code))
        return 0;
    KeyStates[code] = 1;
    Keys[code]++;
    return 0;
}

int ccInputKeyUp(int code) {
    if (ValidCode(code))
        KeyStates[code] = 0;
    return 0;
}

int ccInputChar(int code) {
    if (charPut - charGet >= 256)
        return 0;
    charQueue[charPut & 255] = code;
    charPut++;
    return 0;
}

// ---- Keyboard
// ------------------------------------------------------------------------------------

int KeyHit(int code) {
    if (ccPolledInputState)
        return platform::KeyHit(code);
    if (!ValidCode(code) || Keys[code] == 0)
        return 0;
    Keys[code] = 0;
    return 1;
}

int KeyDown(int code) {
    if (ccPolledInputState)
        return platform::KeyDown(code);
    return ValidCode(code) ? KeyStates[code] : 0;
}

int GetChar() {
    if (ccPolledInputState)
        return platform::GetChar();
    if (charGet == charPut)
        return 0;
    int c = charQueue[charGet & 255];
    charGet++;
    return c;
}

int FlushKeys() {
    if (ccPolledInputState) {
        platform::FlushKeys();
        return 0;
    }
    std::fill(std::begin(Keys), std::end(Keys), 0);
    std::fill(std::begin(KeyStates), std::end(KeyStates), 0);
    charGet = 0;
    charPut = 0;
    return 0;
}

int ccDropKeyPresses() {
    if (ccPolledInputState) {
        platform::DropKeyHits();
        return 0;
    }
    std::fill(std::begin(Keys), std::end(Keys), 0);
    return ccDropTypedChars();
}

int ccDropTypedChars() {
    if (ccPolledInputState) {
        while (platform::GetChar() != 0) {
        }
        return 0;
    }
    charGet = charPut;
    return 0;
}

int FlushMouse() {
    if (ccPolledInputState) {
        platform::FlushMouse();
        return 0;
    }
    if (FlushDrawnMouseHook)
        FlushDrawnMouseHook();
    return 0;
}

int ccFlushAll() {
    FlushKeys();
    FlushMouse();
    return 0;
}

int ccFlushAllQueued() {
    // A loop that pumped no events (loading) left its input in the queue, where ccFlushAll alone
    // would not reach it and the next tick would take it.
    platform::DropInputEvents();
    return ccFlushAll();
}

int ccAnyKeyPressed() {
    for (int code = 0; code < 256; code++) {
        if (KeyHit(code))
            return 1;
    }
    return 0;
}

int AnyKeyPressed() {
    return KeyPressed() != -1 ? 1 : 0;
}

int KeyPressed() {
    for (int code = 0; code < 256; code++) {
        if (Keys[code] == 1)
            return code;
    }
    return -1;
}

// ---- Mouse
// ---------------------------------------------------------------------------------------

int ccMouseHit() {
    for (int button = 1; button <= 3; button++) {
        if (platform::MouseHit(button))
            return 1;
    }
    return 0;
}

int ccMouseButtons() {
    int hits = platform::MouseHit(1);
    hits += platform::MouseHit(2);
    hits += platform::MouseHit(3);
    return hits;
}

int ccMouseDown() {
    return ccMouseDownTotal() > 0 ? 1 : 0;
}

int ccMouseDownTotal() {
    return platform::MouseDown(1) + platform::MouseDown(2) + platform::MouseDown(3);
}

int ccMouseShowHide() {
    if (!platform::PollEvent())
        return 0;
    int id = platform::CurrentEvent().id;
    if (id == platform::EVENT_MOUSELEAVE) {
        platform::ShowMouse();
        MouseVisible = 1;
    } else if (id == platform::EVENT_MOUSEENTER) {
        platform::HideMouse();
        MouseVisible = 0;
    }
    return 0;
}

int ccAnyInput() {
    if (ccAnyKeyPressed())
        return 1;
    return ccMouseHit();
}

// ---- Mode switches and waits
// ---------------------------------------------------------------------

int ccEnablePolledInput() {
    platform::EnablePolledInput();
    ccPolledInputState = 1;
    return 0;
}

int ccDisablePolledInput() {
    platform::DisablePolledInput();
    ccPolledInputState = 0;
    platform::PollSystem();
    // What was typed or clicked meanwhile is dropped; a request to close the program is not: it
    // stays queued for the program's own pump.
    bool closeRequested = false;
    while (platform::PollEvent())
        closeRequested =
            closeRequested || platform::CurrentEvent().id == platform::EVENT_APPTERMINATE;
    if (closeRequested) {
        platform::TEvent quit;
        quit.id = platform::EVENT_APPTERMINATE;
        platform::EmitEvent(quit);
    }
    return 0;
}

int ccWaitForKeyOrMouse() {
    ccFlushAll();
    while (!ccAnyKeyPressed() && !ccMouseHit()) {
    }
    ccFlushAll();
    return 0;
}

int ccWaitForTime(float ms) {
    int start = platform::MilliSecs();
    float elapsed = 0.0f;
    while (!(elapsed > ms)) {
        elapsed = static_cast<float>(platform::MilliSecsDiff(platform::MilliSecs(), start));
        if (ccMouseButtons() || ccAnyKeyPressed())
            return -1;
    }
    return 0;
}
