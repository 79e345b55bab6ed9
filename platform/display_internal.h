#pragma once
// What the display shares with the drawing, image and event code of the layer.

#include <cstdint>

struct SDL_Window;

namespace platform::detail {

// Starts SDL's event and timer subsystems once (the first event poll); false when SDL cannot.
bool InitSdlEvents();
// True while a display is open: drawing then goes into the logical frame.
bool DisplayReady();
// True while the GL context exists (textures can be made and freed), open or not.
bool GlContextAlive();
// Changes whenever a new GL context is made, so that textures of an old one are not reused.
uint64_t GlContextSerial();
SDL_Window* SdlWindow();
uint32_t SdlWindowId();

// Window coordinates (SDL's, in points) to the logical screen and back; without a display both
// are the identity. WindowToLogical clamps to the logical screen.
void WindowToLogical(int wx, int wy, int& lx, int& ly);
void LogicalToWindow(int lx, int ly, int& wx, int& wy);

} // namespace platform::detail
