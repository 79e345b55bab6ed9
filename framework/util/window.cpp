#include "framework/util/window.h"

#include "framework/util/globals.h"
#include "framework/util/records.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"

namespace {

int DesktopHeight() {
    int w = 0, h = 0;
    platform::DesktopSize(w, h);
    return h;
}

} // namespace

// ---- Functions that do real work ----------------------------------------------------------------

std::string ccGetSharedUserDataFolder() {
    return platform::SharedUserDataFolder();
}

// The window's id stands for its handle: the game has one window, and it counts whether or not
// it has the keyboard focus.
int ccGetActiveWindowOSX() {
    return platform::WindowId();
}

// The client area's origin plus the pointer's position in it, turned bottom-up, so that the
// pointer's position in the window comes back exactly from the client coordinates.
TPoint ccGetCursorPosOSX() {
    int cx = 0, cy = 0;
    platform::WindowPosition(cx, cy);
    TPoint p;
    p.Set(cx + platform::MouseX(), DesktopHeight() - (cy + platform::MouseY()));
    return p;
}

int ccGetDesktopSize(int& width, int& height) {
    platform::DesktopSize(width, height);
    return 1;
}

TPoint ccGetWindowOriginOSX(int window) {
    TPoint p;
    int x = 0, y = 0;
    if (window != 0 && window == platform::WindowId() && platform::WindowPosition(x, y))
        p.Set(x, DesktopHeight() - y - ScreenHeight);
    return p;
}

int ccFixMacWindowY(int y, int height) {
    return height - y - ScreenHeight;
}

int ccFindScreenRes(int width, int height, int depth, int hertz) {
    for (int i = 0; i < platform::CountGraphicsModes(); i++) {
        int w, h, d, hz;
        if (platform::GetGraphicsMode(i, w, h, d, hz) && w == width && h == height && d == depth &&
            hz == hertz)
            return 1;
    }
    return 0;
}

int ccPrintGraphicsModes() {
    for (int i = 0; i < platform::CountGraphicsModes(); i++) {
        int w = 0, h = 0, d = 0, hz = 0;
        platform::GetGraphicsMode(i, w, h, d, hz);
        platform::Print(std::to_string(i) + " Width: " + std::to_string(w) +
                        " Height: " + std::to_string(h) + " Depth: " + std::to_string(d) +
                        " Hertz: " + std::to_string(hz));
    }
    return 0;
}

int ccDirectXVersionIsValid() {
    std::string v = ccGetDirectXVersion();
    return (v == "1.0" || v == "2.0" || v == "3.0" || v == "5.0" || v == "6.0") ? 0 : 1;
}

// ---- Neutral on this platform -------------------------------------------------------------------

int ccCentreWindow() {
    return 0;
}

int ccCentreWindowHandle(int) {
    return 0;
}

int ccCreateMutex(const std::string&) {
    return 0;
}

int ccEnableMaximize(int, int) {
    return 0;
}

int ccEnableMinimize(int, int) {
    return 0;
}

int ccMinimiseWindow(int) {
    return 0;
}

int ccSetIcon() {
    return 0;
}

int ccSetPriority(int, int) {
    return 0;
}

int ccSetWallpaper() {
    return 0;
}

int ccGiveDirectoryFullAccess(const std::string&) {
    return 0;
}

std::string ccGetSpecialFolder(int) {
    return std::string();
}

std::string ccGetVersionString() {
    return std::string();
}

std::string ccGetDirectXVersion() {
    return std::string();
}

int ccGetVideoMemory() {
    return 0;
}

TMemoryStatus ccGetMemoryStatus() {
    return TMemoryStatus();
}

TWindowInfo ccGetWindowInfo() {
    return TWindowInfo();
}

TWindowInfo ccGetWindowInfoHandle(int) {
    return TWindowInfo();
}

int ccWindowActive() {
    return 0;
}

std::shared_ptr<TRect> ccWindowPosition() {
    return nullptr;
}

std::shared_ptr<TRect> ccWindowPositionHandle(int) {
    return nullptr;
}

TPoint ccGetCursorPos() {
    return TPoint();
}
