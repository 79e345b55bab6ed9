// The display's dealings with the X server behind SDL's X11 driver: a window manager frames the
// window in windows of its own, which come and go as the window is shown and hidden, and SDL asks
// the server about them.
#include "platform/system.h"
#include "platform/x11_window_internal.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#endif

namespace platform::detail {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

// Longer than any window manager in order takes to let go of a hidden window.
constexpr auto WITHDRAWAL_LIMIT = std::chrono::seconds(2);

std::mutex xErrorMutex;
::Window ownWindow = 0;
std::string keptError; // the first error about the program's own resources not raised yet

bool X11Driver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "x11") == 0;
}

bool OnX11(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return window && X11Driver() && SDL_GetWindowWMInfo(window, &info) &&
           info.subsystem == SDL_SYSWM_X11;
}

std::string Describe(Display* display, const XErrorEvent& e) {
    char what[256] = "";
    XGetErrorText(display, e.error_code, what, sizeof what);
    const std::string major = std::to_string(e.request_code);
    char request[128] = "";
    XGetErrorDatabaseText(display, "XRequest", major.c_str(), "", request, sizeof request);
    char resource[32];
    std::snprintf(resource, sizeof resource, "0x%lx", e.resourceid);
    std::string text = std::string("X error ") + what + " in request " + major;
    if (request[0])
        text += std::string(" (") + request + ")";
    else
        text += "." + std::to_string(e.minor_code);
    return text + " on " + resource;
}

// Runs inside the Xlib call that met the error, so it only takes note: a C++ error cannot leave
// through Xlib, and the process must not end there.
int OnXError(Display* display, XErrorEvent* e) {
    const std::string text = Describe(display, *e);
    const bool aboutAWindow = e->error_code == BadWindow || e->error_code == BadDrawable;
    bool ours;
    {
        std::lock_guard<std::mutex> lock(xErrorMutex);
        ours = !aboutAWindow || (ownWindow != 0 && e->resourceid == ownWindow);
        if (ours && keptError.empty())
            keptError = text;
    }
    if (!ours)
        Warn("display", "ignored " + text + ", a window that is not the program's");
    return 0;
}

// True once the window is back on the root window and no window manager counts it as shown
// (ICCCM: WM_STATE removed or Withdrawn); at once without a window manager.
bool Withdrawn(Display* display, ::Window window, Atom wmState) {
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return true;
    if (children)
        XFree(children);
    if (parent != root)
        return false;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, wmState, 0, 1, False, AnyPropertyType, &type, &format,
                           &items, &after, &data) != Success)
        return true;
    const bool withdrawn = type == None || items == 0 || format != 32 ||
                           *reinterpret_cast<const long*>(data) == WithdrawnState;
    if (data)
        XFree(data);
    return withdrawn;
}

} // namespace

void WatchXErrors() {
    if (!X11Driver())
        return;
    // SDL's own handler puts changed display modes back and ends the process; this layer changes
    // no modes (full screen is a window over the desktop), so it is not called on.
    XSetErrorHandler(OnXError);
}

void SetOwnWindow(SDL_Window* window) {
    SDL_SysWMinfo info;
    const ::Window id = OnX11(window, info) ? info.info.x11.window : 0;
    std::lock_guard<std::mutex> lock(xErrorMutex);
    ownWindow = id;
}

void RaiseXError() {
    std::string text;
    {
        std::lock_guard<std::mutex> lock(xErrorMutex);
        text.swap(keptError);
    }
    if (!text.empty())
        RuntimeError("The display failed: " + text);
}

// A window manager lets go of a hidden window in its own time: it puts the window back on the root
// window and destroys its frame. Until then SDL still takes the frame for the window's parent
// (when it handles a configure event or places the window) and asks the server about it after it
// is gone; and the window shown again in the meantime may never be mapped.
void AwaitWithdrawal(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!OnX11(window, info))
        return;
    Display* display = info.info.x11.display;
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const auto limit = std::chrono::steady_clock::now() + WITHDRAWAL_LIMIT;
    while (!Withdrawn(display, info.info.x11.window, wmState) &&
           std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

#else

void WatchXErrors() {}
void SetOwnWindow(SDL_Window*) {}
void RaiseXError() {}
void AwaitWithdrawal(SDL_Window*) {}

#endif

} // namespace platform::detail
