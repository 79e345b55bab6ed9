// SDL's key symbols and physical keys to the virtual-key layout of input.h, and back.
#include "platform/events_internal.h"
#include "platform/input.h"

#include <SDL.h>

#include <utility>

namespace platform {

namespace {

// Keys whose symbol is not a letter or a digit of the main keyboard, or a function key.
constexpr std::pair<SDL_Keycode, int> SYMBOLS[] = {
    {SDLK_BACKSPACE, KEY_BACKSPACE},
    {SDLK_TAB, KEY_TAB},
    {SDLK_RETURN, KEY_ENTER},
    {SDLK_KP_ENTER, KEY_ENTER},
    {SDLK_PAUSE, 19},
    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, KEY_ESCAPE},
    {SDLK_SPACE, KEY_SPACE},
    {SDLK_PAGEUP, KEY_PAGEUP},
    {SDLK_PAGEDOWN, KEY_PAGEDOWN},
    {SDLK_END, KEY_END},
    {SDLK_HOME, KEY_HOME},
    {SDLK_LEFT, KEY_LEFT},
    {SDLK_UP, KEY_UP},
    {SDLK_RIGHT, KEY_RIGHT},
    {SDLK_DOWN, KEY_DOWN},
    {SDLK_PRINTSCREEN, 44},
    {SDLK_INSERT, KEY_INSERT},
    {SDLK_DELETE, KEY_DELETE},
    {SDLK_LGUI, 91},
    {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93},
    {SDLK_KP_0, KEY_NUM0},
    {SDLK_KP_1, KEY_NUM0 + 1},
    {SDLK_KP_2, KEY_NUM0 + 2},
    {SDLK_KP_3, KEY_NUM0 + 3},
    {SDLK_KP_4, KEY_NUM0 + 4},
    {SDLK_KP_5, KEY_NUM0 + 5},
    {SDLK_KP_6, KEY_NUM0 + 6},
    {SDLK_KP_7, KEY_NUM0 + 7},
    {SDLK_KP_8, KEY_NUM0 + 8},
    {SDLK_KP_9, KEY_NUM0 + 9},
    {SDLK_KP_MULTIPLY, KEY_NUMMULTIPLY},
    {SDLK_KP_PLUS, KEY_NUMADD},
    {SDLK_KP_MINUS, KEY_NUMSUBTRACT},
    {SDLK_KP_PERIOD, KEY_NUMDECIMAL},
    {SDLK_KP_DIVIDE, KEY_NUMDIVIDE},
    {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
    {SDLK_LSHIFT, KEY_LSHIFT},
    {SDLK_RSHIFT, KEY_RSHIFT},
    {SDLK_LCTRL, KEY_LCONTROL},
    {SDLK_RCTRL, KEY_RCONTROL},
    {SDLK_LALT, KEY_LALT},
    {SDLK_RALT, KEY_RALT},
    {SDLK_SEMICOLON, KEY_SEMICOLON},
    {SDLK_EQUALS, KEY_EQUALS},
    {SDLK_COMMA, KEY_COMMA},
    {SDLK_MINUS, KEY_MINUS},
    {SDLK_PERIOD, KEY_PERIOD},
    {SDLK_SLASH, KEY_SLASH},
    {SDLK_BACKQUOTE, KEY_TILDE},
    {SDLK_LEFTBRACKET, KEY_OPENBRACKET},
    {SDLK_BACKSLASH, KEY_BACKSLASH},
    {SDLK_RIGHTBRACKET, KEY_CLOSEBRACKET},
    {SDLK_QUOTE, KEY_QUOTES},
};

// Physical keys that carry punctuation in the US layout.
constexpr std::pair<SDL_Scancode, int> SCANCODES[] = {
    {SDL_SCANCODE_MINUS, KEY_MINUS},
    {SDL_SCANCODE_EQUALS, KEY_EQUALS},
    {SDL_SCANCODE_LEFTBRACKET, KEY_OPENBRACKET},
    {SDL_SCANCODE_RIGHTBRACKET, KEY_CLOSEBRACKET},
    {SDL_SCANCODE_BACKSLASH, KEY_BACKSLASH},
    {SDL_SCANCODE_NONUSHASH, KEY_BACKSLASH},
    {SDL_SCANCODE_SEMICOLON, KEY_SEMICOLON},
    {SDL_SCANCODE_APOSTROPHE, KEY_QUOTES},
    {SDL_SCANCODE_GRAVE, KEY_TILDE},
    {SDL_SCANCODE_COMMA, KEY_COMMA},
    {SDL_SCANCODE_PERIOD, KEY_PERIOD},
    {SDL_SCANCODE_SLASH, KEY_SLASH},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

} // namespace

int KeyCodeFromSDL(int sdlKeycode) {
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z)
        return KEY_A + (sdlKeycode - SDLK_a);
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9)
        return KEY_0 + (sdlKeycode - SDLK_0);
    if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12)
        return KEY_F1 + (sdlKeycode - SDLK_F1);
    if (sdlKeycode >= SDLK_F13 && sdlKeycode <= SDLK_F24)
        return KEY_F1 + 12 + (sdlKeycode - SDLK_F13);
    for (const auto& [sym, key] : SYMBOLS)
        if (sym == sdlKeycode)
            return key;
    return 0;
}

namespace detail {

int SdlKeyFromKeyCode(int key) {
    if (key >= KEY_A && key < KEY_A + 26)
        return SDLK_a + (key - KEY_A);
    if (key >= KEY_0 && key < KEY_0 + 10)
        return SDLK_0 + (key - KEY_0);
    if (key >= KEY_F1 && key < KEY_F1 + 12)
        return SDLK_F1 + (key - KEY_F1);
    if (key >= KEY_F1 + 12 && key < KEY_F1 + 24)
        return SDLK_F13 + (key - KEY_F1 - 12);
    // The first symbol of a code: Enter is the main keyboard's.
    for (const auto& [sym, code] : SYMBOLS)
        if (code == key)
            return sym;
    return 0;
}

int KeyCodeFromScancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return KEY_A + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return KEY_0 + 1 + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0)
        return KEY_0;
    for (const auto& [code, key] : SCANCODES)
        if (code == scancode)
            return key;
    return 0;
}

} // namespace detail

} // namespace platform
