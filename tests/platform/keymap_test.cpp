#include "platform/input.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(KeyMap, SdlSymbolsMapToTheVirtualKeyLayout) {
    struct Case {
        SDL_Keycode sym;
        int key;
    };
    const Case cases[] = {
        {SDLK_a, 65},
        {SDLK_z, 90},
        {SDLK_0, 48},
        {SDLK_9, 57},
        {SDLK_F1, 112},
        {SDLK_F12, 123},
        {SDLK_BACKSPACE, 8},
        {SDLK_TAB, 9},
        {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13},
        {SDLK_ESCAPE, 27},
        {SDLK_SPACE, 32},
        {SDLK_PAGEUP, 33},
        {SDLK_PAGEDOWN, 34},
        {SDLK_END, 35},
        {SDLK_HOME, 36},
        {SDLK_LEFT, 37},
        {SDLK_UP, 38},
        {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},
        {SDLK_INSERT, 45},
        {SDLK_DELETE, 46},
        {SDLK_KP_0, 96},
        {SDLK_KP_9, 105},
        {SDLK_KP_MULTIPLY, 106},
        {SDLK_KP_PLUS, 107},
        {SDLK_KP_MINUS, 109},
        {SDLK_KP_PERIOD, 110},
        {SDLK_KP_DIVIDE, 111},
        {SDLK_LSHIFT, 160},
        {SDLK_RSHIFT, 161},
        {SDLK_LCTRL, 162},
        {SDLK_RCTRL, 163},
        {SDLK_LALT, 164},
        {SDLK_RALT, 165},
        {SDLK_SEMICOLON, 186},
        {SDLK_EQUALS, 187},
        {SDLK_COMMA, 188},
        {SDLK_MINUS, 189},
        {SDLK_PERIOD, 190},
        {SDLK_SLASH, 191},
        {SDLK_BACKQUOTE, 192},
        {SDLK_LEFTBRACKET, 219},
        {SDLK_BACKSLASH, 220},
        {SDLK_RIGHTBRACKET, 221},
        {SDLK_QUOTE, 222},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyCodeFromSDL(c.sym), c.key) << SDL_GetKeyName(c.sym);
}

TEST(KeyMap, KeysOutsideTheLayoutAreZero) {
    for (SDL_Keycode sym : {SDLK_UNKNOWN, SDLK_EXCLAIM, SDLK_AUDIOPLAY, SDLK_MODE})
        EXPECT_EQ(KeyCodeFromSDL(sym), 0) << sym;
}

} // namespace
