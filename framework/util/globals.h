#pragma once
// Globals shared by every layer of the framework.

// The step of the current logic tick: 1.0 for a whole tick, the fractional rest for the last tick
// of a frame. It keeps its value between frames. Every per-tick change is scaled by it.
extern float Delta;

// The logical screen size.
extern int ScreenWidth;
extern int ScreenHeight;

// Progress code of start-up and display creation, shown in front of an error that escapes.
extern int DebugInt;

// While non-zero, a name missing from an image or sound bank is a fatal error.
extern int ShowErrors;
