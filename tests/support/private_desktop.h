#pragma once
// An X server of its own for one test process: a desktop of a chosen size, with or without a
// window manager, that this process's display (or a program started on it) then opens on. It also
// reads back what the server shows (the program's window and the screen's pixels) and moves the
// real pointer.

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

namespace testing_support {

class PrivateDesktop {
public:
    // Starts Xvfb with one screen of width by height on a free display and, when windowManager,
    // openbox on it; DISPLAY names it until the desktop is gone. Without glx the server lacks
    // OpenGL, as a remote or bare X server may: no program can open a GL window on it. Nothing of
    // the display may be open in this process yet.
    PrivateDesktop(int width, int height, bool windowManager, bool glx = true);
    // Ends the server and the window manager: the display of this process must not be open on it.
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    // "" when the desktop is up, else why not.
    const std::string& Error() const { return error_; }

    struct Geometry {
        int x = 0, y = 0, w = 0, h = 0; // the drawable, on the screen
        bool viewable = false;
    };
    // The program's window (the one of the current GL context) as the server has it.
    Geometry ProgramWindow() const;
    // The window of another process (by its _NET_WM_PID) as the server has it; not viewable when
    // the process shows none.
    Geometry WindowOf(pid_t pid) const;
    // The first window with this title (as the window names it, whoever shows it) that is
    // viewable; not viewable when none is. For windows that name no process, as message boxes.
    Geometry ViewableWindowTitled(const std::string& title) const;
    // Asks that window to close, as a window manager's close button does; false when none is
    // shown.
    bool CloseWindowTitled(const std::string& title) const;
    // The screen as shown, 0xRRGGBB row by row.
    std::vector<uint32_t> Screen() const;
    // Moves the real pointer to (x, y) of the screen.
    void WarpPointer(int x, int y) const;

    // The display's name (":N"), for programs started on it.
    const std::string& Name() const { return name_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    bool StartServer(bool glx);
    bool StartWindowManager();
    // A window's size, place on the screen and state as the server has them (an X window id).
    Geometry GeometryOf(unsigned long window) const;
    // The first viewable window with the title, g its geometry; 0 when none. X errors are the
    // caller's to catch.
    unsigned long FindViewableTitled(const std::string& title, Geometry& g) const;

    int width_, height_;
    pid_t server_ = -1, windowManager_ = -1;
    _XDisplay* x_ = nullptr; // this test's own connection, for looking
    std::string error_;
    std::string name_;
    std::string savedDisplay_;
    bool hadDisplay_ = false;
};

} // namespace testing_support
