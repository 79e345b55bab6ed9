#include "tests/support/private_desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testing_support {

namespace {

// How long the server and the window manager may take to come up on a loaded machine.
constexpr auto START_LIMIT = std::chrono::seconds(30);

// The program's file, found on PATH where the name has no slash.
std::string ProgramFile(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (name.find('/') != std::string::npos || !path)
        return name;
    const std::string folders = path;
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string file =
            (end > start ? folders.substr(start, end - start) : std::string(".")) + "/" + name;
        if (access(file.c_str(), X_OK) == 0)
            return file;
        start = end + 1;
    }
    return name;
}

// Starts args[0] with standard output and error thrown away and every other descriptor closed
// but keep; it ends with this process (the display's connection stays open until the very end of
// the process, so the server must outlive everything in it). Everything is made before the fork:
// the child of a process with threads may make only async-signal-safe calls.
pid_t Spawn(const std::vector<std::string>& args, int keep = -1) {
    const std::string file = ProgramFile(args[0]);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keep)
            close(fd);
    execv(file.c_str(), argv.data());
    _exit(127);
}

bool Running(pid_t pid) {
    int status = 0;
    return pid > 0 && waitpid(pid, &status, WNOHANG) == 0;
}

} // namespace

PrivateDesktop::PrivateDesktop(int width, int height, bool windowManager, bool glx)
    : width_(width), height_(height) {
    if (const char* display = std::getenv("DISPLAY")) {
        hadDisplay_ = true;
        savedDisplay_ = display;
    }
    if (StartServer(glx) && windowManager)
        StartWindowManager();
}

PrivateDesktop::~PrivateDesktop() {
    if (x_)
        XCloseDisplay(x_);
    for (pid_t pid : {windowManager_, server_})
        if (pid > 0 && kill(pid, SIGTERM) == 0)
            waitpid(pid, nullptr, 0);
    if (hadDisplay_)
        setenv("DISPLAY", savedDisplay_.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

bool PrivateDesktop::StartServer(bool glx) {
    int fds[2];
    if (pipe(fds) != 0) {
        error_ = "no pipe";
        return false;
    }
    // The server picks a free display and writes its number to the pipe once it takes clients.
    std::vector<std::string> args = {
        "Xvfb",      "-displayfd", std::to_string(fds[1]),
        "-screen",   "0",          std::to_string(width_) + "x" + std::to_string(height_) + "x24",
        "-nolisten", "tcp"};
    if (!glx) {
        args.push_back("-extension");
        args.push_back("GLX");
    }
    server_ = Spawn(args, fds[1]);
    close(fds[1]);
    std::string number;
    const auto limit = std::chrono::steady_clock::now() + START_LIMIT;
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < limit) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c[16];
        const ssize_t n = read(fds[0], c, sizeof c);
        if (n <= 0)
            break;
        number.append(c, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        error_ = "Xvfb did not start";
        return false;
    }
    name_ = ":" + number.substr(0, number.find('\n'));
    setenv("DISPLAY", name_.c_str(), 1);
    x_ = XOpenDisplay(nullptr);
    if (!x_) {
        error_ = "no connection to Xvfb";
        return false;
    }
    return true;
}

bool PrivateDesktop::StartWindowManager() {
    windowManager_ = Spawn({"openbox", "--sm-disable"});
    // Up once it names its check window on the root window.
    const Atom check = XInternAtom(x_, "_NET_SUPPORTING_WM_CHECK", False);
    const auto limit = std::chrono::steady_clock::now() + START_LIMIT;
    while (Running(windowManager_) && std::chrono::steady_clock::now() < limit) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const int got = XGetWindowProperty(x_, DefaultRootWindow(x_), check, 0, 1, False, XA_WINDOW,
                                           &type, &format, &items, &after, &data);
        if (data)
            XFree(data);
        if (got == Success && items == 1)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    error_ = "openbox did not start";
    return false;
}

PrivateDesktop::Geometry PrivateDesktop::ProgramWindow() const {
    Geometry g;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!x_ || !window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return g;
    return GeometryOf(info.info.x11.window);
}

PrivateDesktop::Geometry PrivateDesktop::GeometryOf(unsigned long window) const {
    Geometry g;
    XWindowAttributes a;
    ::Window child = 0;
    if (XGetWindowAttributes(x_, window, &a) &&
        XTranslateCoordinates(x_, window, DefaultRootWindow(x_), 0, 0, &g.x, &g.y, &child)) {
        g.w = a.width;
        g.h = a.height;
        g.viewable = a.map_state == IsViewable;
    }
    return g;
}

namespace {

// Windows of other clients may go at any moment while they are looked at.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// The first window under parent, depth first, that matches; 0 when none.
::Window FindWindow(Display* x, ::Window parent, const std::function<bool(::Window)>& matches,
                    int depth) {
    ::Window root = 0, up = 0, *children = nullptr;
    unsigned int count = 0;
    if (depth > 3 || !XQueryTree(x, parent, &root, &up, &children, &count))
        return 0;
    ::Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        if (matches(children[i]))
            found = children[i];
        else
            found = FindWindow(x, children[i], matches, depth + 1);
    }
    if (children)
        XFree(children);
    return found;
}

bool HasPid(Display* x, ::Window window, unsigned long pid) {
    const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool has = XGetWindowProperty(x, window, pidAtom, 0, 1, False, XA_CARDINAL, &type,
                                        &format, &items, &after, &data) == Success &&
                     format == 32 && items == 1 && *reinterpret_cast<unsigned long*>(data) == pid;
    if (data)
        XFree(data);
    return has;
}

// The title as WM_NAME holds it, in whatever encoding (SDL's boxes name theirs in UTF-8).
bool HasTitle(Display* x, ::Window window, const std::string& title) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const bool has = XGetWindowProperty(x, window, XA_WM_NAME, 0, 256, False, AnyPropertyType,
                                        &type, &format, &items, &after, &data) == Success &&
                     format == 8 && data &&
                     std::string(reinterpret_cast<char*>(data), items) == title;
    if (data)
        XFree(data);
    return has;
}

} // namespace

PrivateDesktop::Geometry PrivateDesktop::WindowOf(pid_t pid) const {
    Geometry g;
    if (!x_)
        return g;
    XErrorHandler previous = XSetErrorHandler(IgnoreXError);
    if (const ::Window w = FindWindow(
            x_, DefaultRootWindow(x_),
            [&](::Window w) { return HasPid(x_, w, static_cast<unsigned long>(pid)); }, 0))
        g = GeometryOf(w);
    XSync(x_, False);
    XSetErrorHandler(previous);
    return g;
}

unsigned long PrivateDesktop::FindViewableTitled(const std::string& title, Geometry& g) const {
    return FindWindow(
        x_, DefaultRootWindow(x_),
        [&](::Window w) {
            if (!HasTitle(x_, w, title))
                return false;
            g = GeometryOf(w);
            return g.viewable;
        },
        0);
}

PrivateDesktop::Geometry PrivateDesktop::ViewableWindowTitled(const std::string& title) const {
    Geometry g;
    if (!x_)
        return g;
    XErrorHandler previous = XSetErrorHandler(IgnoreXError);
    FindViewableTitled(title, g);
    XSync(x_, False);
    XSetErrorHandler(previous);
    return g;
}

bool PrivateDesktop::CloseWindowTitled(const std::string& title) const {
    if (!x_)
        return false;
    XErrorHandler previous = XSetErrorHandler(IgnoreXError);
    Geometry g;
    const ::Window w = FindViewableTitled(title, g);
    if (w) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(x_, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(x_, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(x_, w, False, NoEventMask, &e);
    }
    XSync(x_, False);
    XSetErrorHandler(previous);
    return w != 0;
}

std::vector<uint32_t> PrivateDesktop::Screen() const {
    std::vector<uint32_t> pixels;
    if (!x_)
        return pixels;
    XImage* image = XGetImage(x_, DefaultRootWindow(x_), 0, 0, static_cast<unsigned>(width_),
                              static_cast<unsigned>(height_), AllPlanes, ZPixmap);
    if (!image)
        return pixels;
    pixels.resize(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const auto channel = [p](unsigned long mask) {
                int shift = 0;
                while (mask && !(mask & 1)) {
                    mask >>= 1;
                    ++shift;
                }
                return static_cast<uint32_t>((p >> shift) & mask & 255);
            };
            pixels[static_cast<size_t>(y) * width_ + x] = channel(image->red_mask) << 16 |
                                                          channel(image->green_mask) << 8 |
                                                          channel(image->blue_mask);
        }
    XDestroyImage(image);
    return pixels;
}

void PrivateDesktop::WarpPointer(int x, int y) const {
    if (!x_)
        return;
    XWarpPointer(x_, 0, DefaultRootWindow(x_), 0, 0, 0, 0, x, y);
    XFlush(x_);
}

} // namespace testing_support
