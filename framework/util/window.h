#pragma once
// The window and operating-system functions of the library. Five do real work through the
// platform layer: the shared user-data folder, the game window's handle, the cursor position, the
// desktop size and the window's origin. Positions from them are desktop coordinates counted
// bottom-up (origin at the desktop's bottom-left corner, y growing upwards); ccFixMacWindowY turns
// a y between that and the top-down coordinates the rest of the program uses. The others exist
// for callers that call them on every platform and return a neutral value here.

#include <memory>
#include <string>

struct TPoint;
struct TRect;
struct TMemoryStatus;
struct TWindowInfo;

// ---- Functions that do real work ----------------------------------------------------------------

// The per-user data folder in which the game makes its own folder ($XDG_DATA_HOME when set and
// absolute, else ~/.local/share), without a trailing slash; "" when there is none.
std::string ccGetSharedUserDataFolder();
// The game window's handle while the display is open, else 0.
int ccGetActiveWindowOSX();
// The cursor's position on the desktop, bottom-up.
TPoint ccGetCursorPosOSX();
// The desktop's size; returns 1.
int ccGetDesktopSize(int& width, int& height);
// The origin (bottom-left corner) of the window's client area on the desktop, bottom-up; (0, 0)
// for a handle that is not the open game window.
TPoint ccGetWindowOriginOSX(int window);
// height - y - ScreenHeight: converts a window's y between bottom-up and top-down.
int ccFixMacWindowY(int y, int height);
// 1 when the display offers exactly that mode.
int ccFindScreenRes(int width, int height, int depth, int hertz);
int ccPrintGraphicsModes();
int ccDirectXVersionIsValid();

// ---- Neutral on this platform -------------------------------------------------------------------

int ccCentreWindow();
int ccCentreWindowHandle(int window);
int ccCreateMutex(const std::string& name);
int ccEnableMaximize(int window, int flag);
int ccEnableMinimize(int window, int flag);
int ccMinimiseWindow(int window);
int ccSetIcon();
int ccSetPriority(int processPriority, int threadPriority);
int ccSetWallpaper();
int ccGiveDirectoryFullAccess(const std::string& folder);
std::string ccGetSpecialFolder(int folderId);
std::string ccGetVersionString();
std::string ccGetDirectXVersion();
int ccGetVideoMemory();
TMemoryStatus ccGetMemoryStatus();
TWindowInfo ccGetWindowInfo();
TWindowInfo ccGetWindowInfoHandle(int window);
int ccWindowActive();
std::shared_ptr<TRect> ccWindowPosition();
std::shared_ptr<TRect> ccWindowPositionHandle(int window);
TPoint ccGetCursorPos();
