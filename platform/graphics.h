#pragma once
// The display and the 2D drawing layer: one window and one OpenGL context for the whole process,
// a logical screen (800 by 600 for this game) drawn letterboxed when full screen, global drawing
// state (colour, alpha, blend, rotation, scale, handle, origin, viewport), images with frames,
// primitives, the built-in default font and the collision layers.
//
// Every drawing call is safe without an open display: it then draws nothing (but is still recorded
// in the draw log when that is on), so that logic tests run with no window.

#include "platform/pixmap.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// ---- Display -----------------------------------------------------------------------------------

// Display modes. The list always offers the logical size (800 by 600) at 16, 24 and 32 bits,
// because full screen is a letterboxed desktop-size window that every desktop can show.
int CountGraphicsModes();
bool GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz);
bool GraphicsModeExists(int width, int height, int depth = 0, int hertz = 0);

// Opens (or reconfigures) the display: depth 0 = a window of width by height, any other depth =
// full screen at the desktop size with the logical screen letterboxed in it. The logical screen
// becomes width by height. The one window and GL context are kept across calls, so every image
// stays valid when switching. False when no display can be opened.
bool Graphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
// Closes the display (hides the window; the GL context and textures are kept). Safe when closed.
void EndGraphics();
bool GraphicsOpen();
bool GraphicsFullScreen();
int LogicalWidth();
int LogicalHeight();
// Refresh rate of the opened display (60 when unknown).
int GraphicsHertz();
// The OpenGL renderer's name, as the driver gives it ("" before the first display).
std::string GraphicsRenderer();

// Shows the back buffer. sync 1 waits for the vertical blank; where the driver cannot wait (Xvfb,
// software GL) the layer waits itself until the next 60 Hz frame boundary, so a loop paced by the
// flip never spins. sync 0 returns at once. -1 behaves as 1. Without an open display it only
// counts the flip and runs the flip hook.
void Flip(int sync = 1);
// Called by Flip with the finished frame still in the back buffer, before it is shown (tests read
// the frame and inject input here). An empty function removes it.
void SetFlipHook(std::function<void()> hook);
// Number of flips since start.
int64_t FlipCount();

// The window title (also the caption of the message box).
void SetAppTitle(const std::string& title);
std::string AppTitle();

// The desktop size in pixels, and its refresh rate (60 when unknown).
void DesktopSize(int& width, int& height);
int DesktopHertz();
// The window's id (non-zero while the display is open), the client area's origin on the desktop
// (top-down), and the pointer's position relative to the client area in logical pixels.
int WindowId();
bool WindowPosition(int& x, int& y);
void MinimizeWindow();

// The system pointer.
void ShowMouse();
void HideMouse();
// Moves the pointer to logical (x, y).
void MoveMouse(int x, int y);

// ---- Drawing state -----------------------------------------------------------------------------

enum BlendMode { MASKBLEND = 1, SOLIDBLEND = 2, ALPHABLEND = 3, LIGHTBLEND = 4, SHADEBLEND = 5 };

void SetColor(int r, int g, int b); // stored as given; clamped to 0..255 when drawn
void GetColor(int& r, int& g, int& b);
void SetAlpha(float alpha);
float GetAlpha();
// 2 solid (no blending), 3 alpha blending, 4 light (the colour, scaled by alpha, added to what lies
// below); 1 mask (alpha test) and 5 shade (multiply) are also understood.
void SetBlend(int mode);
int GetBlend();
void SetRotation(float degrees); // positive turns clockwise on screen
float GetRotation();
void SetScale(float sx, float sy);
void GetScale(float& sx, float& sy);
// The matrix of rotation and scale: a point (u, v) of an image or text maps to
// (u*ix + v*iy, u*jx + v*jy) before the position is added.
void GetTransform(float& ix, float& iy, float& jx, float& jy);
// The handle of text and primitives (images have their own).
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
// Added to every drawing position.
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
// Drawing is clipped to this rectangle of the logical screen.
void SetViewport(int x, int y, int w, int h);
void GetViewport(int& x, int& y, int& w, int& h);
void SetClsColor(int r, int g, int b);
void GetClsColor(int& r, int& g, int& b);
// Clears the back buffer (inside the viewport) to the clear colour.
void Cls();

// ---- Images ------------------------------------------------------------------------------------

enum ImageFlags {
    MASKEDIMAGE = 1,   // pixels of the mask colour (black) become transparent
    FILTEREDIMAGE = 2, // linear filtering when scaled or rotated
    MIPMAPPEDIMAGE = 4,
    DYNAMICIMAGE = 8,
};
// Flags -1 mean the default set: masked and filtered.
constexpr int DEFAULT_IMAGE_FLAGS = MASKEDIMAGE | FILTEREDIMAGE;

// An image of one or more frames of equal size, each kept as a pixmap on the CPU and uploaded as
// a texture when first drawn (again after its pixels changed).
class TImage {
public:
    TImage(int width, int height, int frames, int flags);
    ~TImage();
    TImage(const TImage&) = delete;
    TImage& operator=(const TImage&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Frames() const { return static_cast<int>(frames_.size()); }
    int Flags() const { return flags_; }
    // Pixels of a frame (RGBA8888, mask already applied); null for an invalid frame.
    PixmapPtr Frame(int frame) const;
    // Marks a frame's texture stale after its pixels were changed.
    void Invalidate(int frame);

    float handleX = 0.0f, handleY = 0.0f;

    struct Gpu; // the display's textures of this image
    Gpu* gpu() const { return gpu_.get(); }

private:
    friend std::shared_ptr<TImage> MakeImage(std::vector<PixmapPtr> frames, int flags);
    int width_, height_, flags_;
    std::vector<PixmapPtr> frames_;
    std::unique_ptr<Gpu> gpu_;
};
using ImagePtr = std::shared_ptr<TImage>;

// Images made from pixmaps (copied, masked when the flags say so). All frames share one size.
ImagePtr MakeImage(std::vector<PixmapPtr> frames, int flags);

// While on, images loaded get their handle at their centre (w/2, h/2 as floats). Off at start.
void AutoMidHandle(bool on);
bool AutoMidHandleOn();

// Loads a PNG, JPEG, BMP or TGA picture; null on a missing or bad file (never throws), with the
// reason in error when given.
ImagePtr LoadImage(const std::string& path, int flags = -1, std::string* error = nullptr);
ImagePtr LoadImage(const PixmapPtr& pixmap, int flags = -1);
// Cuts a picture into cells of cellWidth by cellHeight, row by row from the top-left, and keeps
// count frames starting at cell first. Null when the file is bad or holds fewer cells, with the
// reason in error when given.
ImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int first, int count,
                       int flags = -1, std::string* error = nullptr);
ImagePtr LoadAnimImage(const PixmapPtr& pixmap, int cellWidth, int cellHeight, int first, int count,
                       int flags = -1);
// A blank (transparent black) image; null for a size or frame count below 1. Like a loaded image
// it gets a centred handle while AutoMidHandle is on.
ImagePtr CreateImage(int width, int height, int frames = 1, int flags = -1);
// Makes every frame's texture now (when a GL context exists), so that the first draw need not.
void PrecacheImage(const ImagePtr& image);

int ImageWidth(const ImagePtr& image);  // 0 for null
int ImageHeight(const ImagePtr& image); // 0 for null
void SetImageHandle(const ImagePtr& image, float x, float y);
void MidHandleImage(const ImagePtr& image);

// Draws a frame with its handle at (x, y) under the current state. A null image or an invalid
// frame draws nothing.
void DrawImage(const ImagePtr& image, float x, float y, int frame = 0);
// The same, stretched to w by h (the handle is not stretched).
void DrawImageRect(const ImagePtr& image, float x, float y, float w, float h, int frame = 0);
// Draws the source rectangle (sx, sy, sw, sh) of a frame (in pixels, clipped to the frame)
// stretched to w by h at (x, y), with the handle (hx, hy) in destination pixels.
void DrawSubImageRect(const ImagePtr& image, float x, float y, float w, float h, float sx, float sy,
                      float sw, float sh, float hx = 0, float hy = 0, int frame = 0);

// A frame's pixels for reading and writing; UnlockImage marks the texture stale. A lock that is
// never unlocked does no harm.
PixmapPtr LockImage(const ImagePtr& image, int frame = 0);
void UnlockImage(const ImagePtr& image, int frame = 0);

// Copies the back buffer at logical (x, y) into a frame of the image (its size), and the
// rectangle into a new pixmap (rows top-down, alpha 255; null for a width or height below 1).
// Parts outside the logical screen, and everything without a display, read opaque black.
void GrabImage(const ImagePtr& image, int x, int y, int frame = 0);
PixmapPtr GrabPixmap(int x, int y, int width, int height);

// ---- Primitives --------------------------------------------------------------------------------

void DrawRect(float x, float y, float w, float h);
void DrawOval(float x, float y, float w, float h);
// One pixel wide; the end pixel is drawn only when lastPixel is true.
void DrawLine(float x1, float y1, float x2, float y2, bool lastPixel = true);
void Plot(float x, float y); // one pixel at (x, y) plus the origin; no handle, rotation or scale

// ---- Text in an image font
// -----------------------------------------------------------------------

struct TGlyph {
    ImagePtr image;   // null for a glyph without pixels (a blank)
    int x = 0, y = 0; // offset of the glyph's image from the pen position, top-down
    int advance = 0;
};

// An image font. The layer has one built in (a proportional sans serif 12 pixels high, baked into
// the program at build time); nothing is loaded from a font file at run time.
class TImageFont {
public:
    virtual ~TImageFont() = default;
    virtual int Height() const = 0;
    // The glyph of a character code; null when the font has none.
    virtual const TGlyph* Glyph(int code) const = 0;
};
using ImageFontPtr = std::shared_ptr<TImageFont>;

ImageFontPtr DefaultFont();
// Null selects the default font.
void SetImageFont(const ImageFontPtr& font);
ImageFontPtr GetImageFont();
// Draws the text with its top-left at (x, y) under the current state. Unturned, unscaled text
// is placed on whole pixels (x and y rounded) so that it stays sharp.
void DrawText(const std::string& text, float x, float y);
// Sum of the advances, unscaled; a character without a glyph counts 0.
int TextWidth(const std::string& text);
// The font's line height, for any text including "".
int TextHeight(const std::string& text);
// UTF-8 text from outside the program (paths, system messages) as the current image font draws
// it, a byte for each character: a character the font has stands as itself, any other as one
// "?"; a byte that starts no UTF-8 character is taken as the Latin-1 character it is, and plain
// ASCII stands as it is.
std::string FontText(const std::string& utf8);

// ---- Collision layers --------------------------------------------------------------------------
// 32 layers (bits of a mask). A write stores the drawn footprint (the opaque pixels of the frame,
// placed as DrawImage places them: handle, rotation, scale and origin) in the writeMask layers,
// tagged with id; a test returns the ids whose footprints in the collideMask layers overlap (each
// id once), before the write. Footprints overlap where a pixel centre of the screen lies in both.
// A rectangle is taken as it lies on the screen. Each layer keeps at most 16384 footprints until
// it is reset.

void ResetCollisions(int mask = 0); // 0 clears every layer
std::vector<void*> CollideImage(const ImagePtr& image, float x, float y, int frame, int collideMask,
                                int writeMask, void* id = nullptr);
std::vector<void*> CollideRect(float x, float y, float w, float h, int collideMask, int writeMask,
                               void* id = nullptr);

// ---- Draw log (tests) --------------------------------------------------------------------------
// While on, every drawing call is recorded with the state it was drawn in, display or not.

struct TDrawRecord {
    enum Kind { CLS, IMAGE, RECT, OVAL, LINE, PLOT, TEXT } kind = CLS;
    float x = 0, y = 0, w = 0, h = 0; // position; size for images, rects and ovals; end of a line
    int frame = 0;
    const TImage* image = nullptr;
    std::string text;
    int r = 255, g = 255, b = 255;
    float alpha = 1, rotation = 0, scaleX = 1, scaleY = 1;
    int blend = ALPHABLEND;
};
void SetDrawLog(bool on);
const std::vector<TDrawRecord>& DrawLog();
void ClearDrawLog();
// Draw calls sent to OpenGL since start (the benchmarks report it).
int64_t DrawCallCount();

} // namespace platform
