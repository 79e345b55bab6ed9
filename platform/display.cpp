// The display: one SDL window and one OpenGL 2.1 context for the whole process. Frames are drawn
// into a framebuffer object of the logical size; Flip shows it letterboxed in the window, so that
// reading the frame back and mapping the mouse are the same in a window and full screen. Where
// OpenGL runs in software and the window shows the frame pixel for pixel, frames are drawn
// straight into the window instead: the second full-screen pass would cost as much as the frame.
#include "platform/display_internal.h"
#include "platform/draw_internal.h"
#include "platform/events_internal.h"
#include "platform/frame_pacing.h"
#include "platform/graphics.h"
#include "platform/system.h"
#include "platform/x11_window_internal.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// Where the driver cannot wait for the vertical blank, Flip(1) waits for the next boundary of
// this rate itself.
constexpr int SOFTWARE_HERTZ = 60;

struct Display {
    bool videoInit = false, videoFailed = false, eventsInit = false, eventsFailed = false;
    bool shutdownRegistered = false;
    SDL_Window* window = nullptr;
    SDL_GLContext gl = nullptr;
    uint64_t serial = 0;
    bool open = false, fullScreen = false;
    int logicalW = 800, logicalH = 600, hertz = 60;
    GLuint fbo = 0, fboTexture = 0;
    int fboW = 0, fboH = 0;
    bool softwareGl = false; // OpenGL runs on the processor
    bool direct = false;     // drawing into the window's back buffer, not the framebuffer object
    int swapInterval = -1;   // as last asked of the driver; -1 before the first flip
    bool vsyncWorks = false;
    Clock::time_point lastFlip{};
    int64_t flips = 0;
    std::function<void()> flipHook;
    std::string title;
    bool cursorShown = true;
};

Display D;
// Set once the process exits: images that static objects hold must not call OpenGL any more
// while the driver shuts down.
bool exiting = false;

PFNGLGENFRAMEBUFFERSPROC pGenFramebuffers = nullptr;
PFNGLDELETEFRAMEBUFFERSPROC pDeleteFramebuffers = nullptr;
PFNGLBINDFRAMEBUFFERPROC pBindFramebuffer = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DPROC pFramebufferTexture2D = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSPROC pCheckFramebufferStatus = nullptr;

template <typename T> bool LoadGl(T& fn, const char* name, const char* extName) {
    fn = reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
    if (!fn)
        fn = reinterpret_cast<T>(SDL_GL_GetProcAddress(extName));
    return fn != nullptr;
}

bool LoadFramebufferFunctions() {
    // The core names (GL 3.0, ARB_framebuffer_object) and the EXT ones take the same arguments.
    return LoadGl(pGenFramebuffers, "glGenFramebuffers", "glGenFramebuffersEXT") &&
           LoadGl(pDeleteFramebuffers, "glDeleteFramebuffers", "glDeleteFramebuffersEXT") &&
           LoadGl(pBindFramebuffer, "glBindFramebuffer", "glBindFramebufferEXT") &&
           LoadGl(pFramebufferTexture2D, "glFramebufferTexture2D", "glFramebufferTexture2DEXT") &&
           LoadGl(pCheckFramebufferStatus, "glCheckFramebufferStatus",
                  "glCheckFramebufferStatusEXT");
}

void Shutdown() {
    if (D.gl) {
        detail::FlushBatch();
        if (D.fbo)
            pDeleteFramebuffers(1, &D.fbo);
        if (D.fboTexture)
            glDeleteTextures(1, &D.fboTexture);
        SDL_GL_DeleteContext(D.gl);
    }
    if (D.window)
        SDL_DestroyWindow(D.window);
    detail::SetOwnWindow(nullptr);
    D.gl = nullptr;
    D.window = nullptr;
    D.fbo = D.fboTexture = 0;
    D.open = false;
    D.videoInit = D.eventsInit = false;
    SDL_Quit();
    detail::ReleaseRequestsAfterSdl();
}

void RegisterShutdown() {
    if (D.shutdownRegistered)
        return;
    D.shutdownRegistered = true;
    AtEnd(Shutdown);
}

void SetCommonHints() {
    // One window: closing it is an EVENT_APPTERMINATE of its own, not a second quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
}

// Starts SDL subsystems once; a failure is reported once and remembered.
bool StartSdl(Uint32 flags, bool& started, bool& failed, const char* what) {
    if (started)
        return true;
    if (failed)
        return false;
    SetCommonHints();
    // Before SDL's events start, so that SDL leaves SIGINT and SIGTERM to the event layer.
    if ((flags & SDL_INIT_EVENTS) != 0)
        detail::CatchRequestsWhileSdlRuns();
    if (SDL_InitSubSystem(flags) != 0) {
        Warn(what, SDL_GetError());
        if (!SDL_WasInit(SDL_INIT_EVENTS))
            detail::ReleaseRequestsAfterSdl();
        failed = true;
        return false;
    }
    RegisterShutdown();
    started = true;
    return true;
}

bool InitVideo() {
    const bool started = D.videoInit;
    if (!StartSdl(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER, D.videoInit, D.videoFailed,
                  "display"))
        return false;
    D.eventsInit = true;
    if (!started)
        detail::WatchXErrors();
    return true;
}

// (Re)makes the framebuffer of the logical frame; its texture is the only one the display owns.
bool MakeFrame(int w, int h) {
    if (D.fbo && D.fboW == w && D.fboH == h)
        return true;
    detail::FlushBatch();
    if (!D.fboTexture)
        glGenTextures(1, &D.fboTexture);
    glBindTexture(GL_TEXTURE_2D, D.fboTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (!D.fbo)
        pGenFramebuffers(1, &D.fbo);
    pBindFramebuffer(GL_FRAMEBUFFER, D.fbo);
    pFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, D.fboTexture, 0);
    if (pCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Warn("display", "the frame buffer of " + std::to_string(w) + "x" + std::to_string(h) +
                            " is incomplete");
        return false;
    }
    D.fboW = w;
    D.fboH = h;
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

// Renderers that draw on the processor. Their swap keeps the back buffer as it was, so a frame
// drawn straight into the window can still be read back after the flip.
bool SoftwareRenderer(const std::string& name) {
    for (const char* soft : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (name.find(soft) != std::string::npos)
            return true;
    return false;
}

// Where frames are drawn: straight into the window while it shows the logical frame pixel for
// pixel on a software renderer, else into the framebuffer object. Binds it for drawing.
void ChooseDrawTarget() {
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(D.window, &dw, &dh);
    D.direct = D.softwareGl && !D.fullScreen && dw == D.logicalW && dh == D.logicalH;
    pBindFramebuffer(GL_FRAMEBUFFER, D.direct ? 0 : D.fbo);
}

bool MakeWindow(int w, int h) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    D.window =
        SDL_CreateWindow(D.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!D.window) {
        Warn("display", SDL_GetError());
        return false;
    }
    detail::SetOwnWindow(D.window);
    D.gl = SDL_GL_CreateContext(D.window);
    if (!D.gl || !LoadFramebufferFunctions()) {
        Warn("display", std::string("no OpenGL context with frame buffers: ") + SDL_GetError());
        if (D.gl)
            SDL_GL_DeleteContext(D.gl);
        SDL_DestroyWindow(D.window);
        detail::SetOwnWindow(nullptr);
        D.gl = nullptr;
        D.window = nullptr;
        return false;
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    D.softwareGl = SoftwareRenderer(renderer ? renderer : "");
    static const bool exitHandler = std::atexit([] { exiting = true; }) == 0;
    (void)exitHandler;
    ++D.serial;
    D.swapInterval = -1;
    D.lastFlip = Clock::now();
    return true;
}

// Full screen is a window that covers the desktop. It is made borderless and given the desktop's
// place and size first: a window manager that honours the full-screen request does the same, but
// without one (or with one that ignores it) the request changes nothing on the server, while SDL
// takes the window for desktop-sized all the same.
void CoverDesktop() {
    const int display = std::max(SDL_GetWindowDisplayIndex(D.window), 0);
    SDL_Rect desktop;
    if (SDL_GetDisplayBounds(display, &desktop) != 0) {
        desktop.x = desktop.y = 0;
        DesktopSize(desktop.w, desktop.h);
    }
    SDL_SetWindowBordered(D.window, SDL_FALSE);
    SDL_SetWindowPosition(D.window, desktop.x, desktop.y);
    SDL_SetWindowSize(D.window, desktop.w, desktop.h);
    if (SDL_SetWindowFullscreen(D.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        Warn("display", std::string("no full screen: ") + SDL_GetError());
}

// A framed window of the logical size, centred on the desktop.
void PlaceWindow(int w, int h) {
    SDL_SetWindowFullscreen(D.window, 0);
    SDL_SetWindowBordered(D.window, SDL_TRUE);
    SDL_SetWindowSize(D.window, w, h);
    SDL_SetWindowPosition(D.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// The letterbox: the logical frame scaled to fit (w, h) and centred.
void Letterbox(int w, int h, double& scale, double& offX, double& offY) {
    if (w <= 0 || h <= 0 || D.logicalW <= 0 || D.logicalH <= 0) {
        scale = 1;
        offX = offY = 0;
        return;
    }
    scale = std::min(static_cast<double>(w) / D.logicalW, static_cast<double>(h) / D.logicalH);
    offX = (w - D.logicalW * scale) / 2;
    offY = (h - D.logicalH * scale) / 2;
}

// The letterbox in window coordinates (SDL's points); false without an open display.
bool WindowLetterbox(double& scale, double& offX, double& offY) {
    if (!D.open)
        return false;
    int w = 0, h = 0;
    SDL_GetWindowSize(D.window, &w, &h);
    Letterbox(w, h, scale, offX, offY);
    return true;
}

// The frame is already in the window's back buffer.
void PresentDirect() {
    detail::FlushBatch();
    SDL_GL_SwapWindow(D.window);
    ChooseDrawTarget();
    detail::ResetGlState();
}

// The frame, in the framebuffer object, drawn letterboxed into the window.
void PresentFrame() {
    detail::FlushBatch();
    pBindFramebuffer(GL_FRAMEBUFFER, 0);
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(D.window, &dw, &dh);
    double scale, offX, offY;
    Letterbox(dw, dh, scale, offX, offY);
    const int x0 = static_cast<int>(std::lround(offX)), y0 = static_cast<int>(std::lround(offY));
    const int x1 = static_cast<int>(std::lround(offX + D.logicalW * scale));
    const int y1 = static_cast<int>(std::lround(offY + D.logicalH * scale));

    glViewport(0, 0, dw, dh);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, dw, 0, dh, -1, 1); // bottom-up, as the frame's texture
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, D.fboTexture);
    const bool exact = x1 - x0 == D.logicalW && y1 - y0 == D.logicalH;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, exact ? GL_NEAREST : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, exact ? GL_NEAREST : GL_LINEAR);
    glColor4ub(255, 255, 255, 255);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2i(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2i(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2i(x0, y1);
    glEnd();
    SDL_GL_SwapWindow(D.window);

    ChooseDrawTarget();
    detail::ResetGlState();
}

void Present() {
    if (D.direct)
        PresentDirect();
    else
        PresentFrame();
}

// sync != 0 must not let a loop spin: when the swap did not wait for a vertical blank (no swap
// control, or a driver without a real one), wait for the next frame boundary on the real clock.
void Pace(int sync) {
    const auto period = std::chrono::nanoseconds(1'000'000'000 / SOFTWARE_HERTZ);
    const TFramePace pace = FramePace(Clock::now(), D.lastFlip, period, sync != 0, D.vsyncWorks);
    if (pace.sleep > std::chrono::nanoseconds(0))
        std::this_thread::sleep_for(pace.sleep);
    D.lastFlip = pace.lastFlip;
}

} // namespace

// ---- Internal --------------------------------------------------------------------------------

namespace detail {

bool InitSdlEvents() {
    return StartSdl(SDL_INIT_EVENTS | SDL_INIT_TIMER, D.eventsInit, D.eventsFailed, "events");
}

bool DisplayReady() {
    return D.open;
}

bool GlContextAlive() {
    return D.gl != nullptr && !exiting;
}

uint64_t GlContextSerial() {
    return D.serial;
}

SDL_Window* SdlWindow() {
    return D.window;
}

uint32_t SdlWindowId() {
    return D.window ? SDL_GetWindowID(D.window) : 0;
}

void WindowToLogical(int wx, int wy, int& lx, int& ly) {
    double scale, offX, offY;
    if (!WindowLetterbox(scale, offX, offY)) {
        lx = wx;
        ly = wy;
        return;
    }
    // The centre of the window pixel, so that LogicalToWindow round-trips.
    const double x = std::floor((wx + 0.5 - offX) / scale);
    const double y = std::floor((wy + 0.5 - offY) / scale);
    lx = static_cast<int>(std::clamp(x, 0.0, static_cast<double>(D.logicalW - 1)));
    ly = static_cast<int>(std::clamp(y, 0.0, static_cast<double>(D.logicalH - 1)));
}

void LogicalToWindow(int lx, int ly, int& wx, int& wy) {
    double scale, offX, offY;
    if (!WindowLetterbox(scale, offX, offY)) {
        wx = lx;
        wy = ly;
        return;
    }
    wx = TruncToInt(std::floor(offX + (lx + 0.5) * scale));
    wy = TruncToInt(std::floor(offY + (ly + 0.5) * scale));
}

} // namespace detail

// ---- Modes -----------------------------------------------------------------------------------

namespace {

struct Mode {
    int w, h, depth, hertz;
};

std::vector<Mode> Modes() {
    std::vector<Mode> modes;
    for (int depth : {16, 24, 32})
        modes.push_back({800, 600, depth, 60});
    if (InitVideo()) {
        const int n = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < n; ++i) {
            SDL_DisplayMode m;
            if (SDL_GetDisplayMode(0, i, &m) != 0)
                continue;
            // SDL counts XRGB8888 as 24 bits; the padding byte is part of the mode's depth.
            const int depth = static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8;
            Mode mode{m.w, m.h, depth, m.refresh_rate ? m.refresh_rate : 60};
            const bool known = std::any_of(modes.begin(), modes.end(), [&](const Mode& k) {
                return k.w == mode.w && k.h == mode.h && k.depth == mode.depth &&
                       k.hertz == mode.hertz;
            });
            if (!known)
                modes.push_back(mode);
        }
    }
    return modes;
}

} // namespace

int CountGraphicsModes() {
    return static_cast<int>(Modes().size());
}

bool GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz) {
    const std::vector<Mode> modes = Modes();
    if (index < 0 || index >= static_cast<int>(modes.size()))
        return false;
    width = modes[index].w;
    height = modes[index].h;
    depth = modes[index].depth;
    hertz = modes[index].hertz;
    return true;
}

bool GraphicsModeExists(int width, int height, int depth, int hertz) {
    for (const Mode& m : Modes())
        if (m.w == width && m.h == height && (depth == 0 || m.depth == depth) &&
            (hertz == 0 || m.hertz == hertz))
            return true;
    return false;
}

// ---- Display ---------------------------------------------------------------------------------

bool Graphics(int width, int height, int depth, int hertz, int flags) {
    (void)flags; // always a double-buffered back buffer
    if (width <= 0 || height <= 0 || !InitVideo())
        return false;
    if (!D.window && !MakeWindow(width, height))
        return false;
    detail::FlushBatch();
    SDL_GL_MakeCurrent(D.window, D.gl);
    D.logicalW = width;
    D.logicalH = height;
    if (!MakeFrame(width, height))
        return false;

    const bool full = depth != 0;
    if (full)
        CoverDesktop();
    else
        PlaceWindow(width, height);
    SDL_SetWindowTitle(D.window, D.title.c_str());
    SDL_ShowWindow(D.window);
    SDL_RaiseWindow(D.window);
    SDL_ShowCursor(D.cursorShown ? SDL_ENABLE : SDL_DISABLE);
    SDL_StartTextInput();
    D.fullScreen = full;
    const bool wasDirect = D.direct;
    ChooseDrawTarget();
    if (D.direct && !wasDirect) {
        // A new frame starts black, as the framebuffer object does.
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    SDL_DisplayMode mode;
    D.hertz = SDL_GetWindowDisplayMode(D.window, &mode) == 0 && mode.refresh_rate > 0
                  ? mode.refresh_rate
                  : (hertz > 0 ? hertz : 60);
    D.open = true;
    SetViewport(0, 0, width, height);
    detail::ResetGlState();
    detail::RaiseXError();
    return true;
}

void EndGraphics() {
    if (!D.open)
        return;
    detail::FlushBatch();
    D.open = false;
    if (D.fullScreen)
        SDL_SetWindowFullscreen(D.window, 0);
    D.fullScreen = false;
    SDL_HideWindow(D.window);
    // Before SDL handles the events of the hidden window, and before the window is placed and
    // shown again.
    detail::AwaitWithdrawal(D.window);
    SDL_PumpEvents();
}

bool GraphicsOpen() {
    return D.open;
}

bool GraphicsFullScreen() {
    return D.open && D.fullScreen;
}

int LogicalWidth() {
    return D.logicalW;
}

int LogicalHeight() {
    return D.logicalH;
}

int GraphicsHertz() {
    return D.open ? D.hertz : 60;
}

std::string GraphicsRenderer() {
    if (!D.gl)
        return "";
    detail::FlushBatch();
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return name ? name : "";
}

void Flip(int sync) {
    ++D.flips;
    // A copy: the hook may replace itself.
    if (D.flipHook) {
        std::function<void()> hook = D.flipHook;
        hook();
    }
    if (!D.open)
        return;
    const int interval = sync != 0 ? 1 : 0;
    if (interval != D.swapInterval) {
        D.vsyncWorks = SDL_GL_SetSwapInterval(interval) == 0 && interval == 1;
        D.swapInterval = interval;
    }
    Present();
    Pace(sync);
    SDL_PumpEvents();
    detail::RaiseXError();
}

void SetFlipHook(std::function<void()> hook) {
    D.flipHook = std::move(hook);
}

int64_t FlipCount() {
    return D.flips;
}

void SetAppTitle(const std::string& title) {
    D.title = title;
    if (D.window)
        SDL_SetWindowTitle(D.window, title.c_str());
}

std::string AppTitle() {
    return D.title;
}

void DesktopSize(int& width, int& height) {
    SDL_DisplayMode mode;
    if (InitVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        width = mode.w;
        height = mode.h;
        return;
    }
    width = D.logicalW;
    height = D.logicalH;
}

int DesktopHertz() {
    SDL_DisplayMode mode;
    if (InitVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0)
        return mode.refresh_rate;
    return 60;
}

int WindowId() {
    return D.open ? static_cast<int>(SDL_GetWindowID(D.window)) : 0;
}

bool WindowPosition(int& x, int& y) {
    if (!D.open)
        return false;
    SDL_GetWindowPosition(D.window, &x, &y);
    return true;
}

void MinimizeWindow() {
    if (D.open)
        SDL_MinimizeWindow(D.window);
}

void ShowMouse() {
    D.cursorShown = true;
    if (D.videoInit)
        SDL_ShowCursor(SDL_ENABLE);
}

void HideMouse() {
    D.cursorShown = false;
    if (D.videoInit)
        SDL_ShowCursor(SDL_DISABLE);
}

void MoveMouse(int x, int y) {
    if (!D.open)
        return;
    int wx, wy;
    detail::LogicalToWindow(x, y, wx, wy);
    SDL_WarpMouseInWindow(D.window, wx, wy);
}

// ---- Reading the frame -----------------------------------------------------------------------

PixmapPtr GrabPixmap(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    PixmapPtr pixmap = CreatePixmap(width, height, PF_RGBA8888);
    if (!pixmap)
        return nullptr;
    for (int row = 0; row < height; ++row) {
        uint8_t* p = pixmap->PixelPtr(0, row);
        for (int col = 0; col < width; ++col)
            p[col * 4 + 3] = 255; // a new pixmap is all zeros: opaque black
    }
    if (!D.open)
        return pixmap;
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, D.logicalW), y1 = std::min(y + height, D.logicalH);
    if (x1 <= x0 || y1 <= y0)
        return pixmap;
    const int cw = x1 - x0, ch = y1 - y0;
    detail::FlushBatch();
    std::vector<uint8_t> rows(static_cast<size_t>(cw) * ch * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, D.logicalH - y1, cw, ch, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    for (int r = 0; r < ch; ++r) {
        // OpenGL's rows run bottom-up.
        const uint8_t* src = rows.data() + static_cast<size_t>(ch - 1 - r) * cw * 4;
        uint8_t* dst = pixmap->PixelPtr(x0 - x, y0 - y + r);
        for (int c = 0; c < cw; ++c, src += 4, dst += 4) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            dst[3] = 255;
        }
    }
    return pixmap;
}

} // namespace platform
