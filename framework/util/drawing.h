#pragma once
// The drawing steps that screens, widgets and the shell repeat: clearing and showing the screen,
// text with a drop shadow and with alignment, digit strings drawn from the frames of an image,
// images with a drop shadow or cut to a sub-rectangle, lit images, rectangles, outlines, dimming
// and a blocking whole-screen fade. They act on the drawing layer's global state; where a function
// does not say what it leaves, the state is as its last drawing step set it.

#include "platform/audio.h"
#include "platform/graphics.h"

#include <string>
#include <vector>

class TShadow;

// The argument ccFlip passes to Flip: 1 waits for the vertical blank.
extern int ccFlipSync;
// Offset and opacity of the shadow of shadowed text (the opacity is multiplied by ccTextAlpha).
extern float ccShadowTextDepthX;
extern float ccShadowTextDepthY;
extern float ccShadowTextAlpha;
// Opacity of shadowed text; applying a font's colour sets it.
extern float ccTextAlpha;

// ---- Clearing and flipping ----------------------------------------------------------------------

int ccCls(int red, int green, int blue);
int ccClsNoFlip(int red, int green, int blue);
// Clears and flips with sync 1 whatever ccFlipSync holds.
int ccClsVSync(int red, int green, int blue);
int ccFlip();
int ccVWait();

// ---- Text ---------------------------------------------------------------------------------------

int ccShadowTextSet(float x, float y, float alpha);
// The text's shadow in black, then the text in the current colour; the colour and blend mode are
// kept, the alpha is left at ccTextAlpha.
int ccShadowText(float x, float y, const std::string& text, int centred);
// Each line with its shadow, lineHeight apart (0: the height of "ABCXYZ").
int ccShadowTextWrapped(float x, float y, const std::vector<std::string>& lines, int centred,
                        int lineHeight);
int ccDrawText(const std::string& text, float x, float y, int shadow, int roundCoords);
// alignment 0 left edge at x, 1 centred on x, 2 right edge at x; any other value draws nothing.
int ccDrawTextAligned(const std::string& text, float x, float y, int shadow, int alignment,
                      int roundCoords);
int ccDrawTextCentred(const std::string& text, float x, float y, int shadow, int roundCoords);
int ccDrawTextCentredRoundX(const std::string& text, float x, float y, int shadow);
int ccDrawTextCentre(const std::string& text, float y, int shadow, int roundCoords);
int ccDrawTextCentreAll(const std::string& text, int shadow, int roundCoords);
int ccDrawTextRight(const std::string& text, float x, float y, int shadow, int roundCoords);
// Glyph by glyph, character i shifted right by spacing * i pixels.
int ccDrawTextSpaced(const std::string& text, float x, float y, int spacing);
int ccDrawTextSpacedRounded(const std::string& text, float x, float y, int spacing);

// ---- Digit strings (frame n of the image shows the digit n) -------------------------------------

int ccDrawNumbers(const std::string& digits, float x, float y, const platform::ImagePtr& image,
                  float width, int centred, int roundCoords);
// Returns the drawn width rounded.
int ccDrawNumbersVariableWidth(const std::string& digits, float x, float y,
                               const platform::ImagePtr& image, const std::vector<int>& advances,
                               const std::vector<int>& offsets, float gap, int centred,
                               int roundCoords, float scale);
float ccDrawNumbersVariableWidthCalcWidth(const std::string& digits,
                                          const std::vector<int>& advances,
                                          const std::vector<int>& offsets, float gap, float scale);

// ---- Images -------------------------------------------------------------------------------------

// Frame 0 at (x, y), after its drop shadow when a shadow is given.
int ccDrawImage(const platform::ImagePtr& image, float x, float y, const TShadow* shadow = nullptr);
int ccDrawImageCentred(const platform::ImagePtr& image, const TShadow* shadow = nullptr);
// The sub-rectangle (sourceX, sourceY, sourceWidth, sourceHeight) of a frame with its top-left at
// (x, y) (less the image's handle); the part beyond the image's right or bottom edge is left out.
int ccDrawImageArea(const platform::ImagePtr& image, float x, float y, float sourceX, float sourceY,
                    float sourceWidth, float sourceHeight, int frame);
// The frame added onto the screen in the colour (fractions 0..1) scaled by intensity.
int ccDrawImageLight(const platform::ImagePtr& image, float x, float y, float intensity, float red,
                     float green, float blue, int frame);
// The rectangle of frame 0 drawn at (x, y) through a new image made from those pixels.
int ccDrawImageRect(const platform::ImagePtr& image, int x, int y, int rectX, int rectY,
                    int rectWidth, int rectHeight);
int ccMidhandle(const platform::ImagePtr& image, int mid);
// Makes every frame's texture ready before the image is first drawn.
int ccCreateFrames(const platform::ImagePtr& image);
// Blocking fade of what the back buffer holds, out to a cleared screen or in from one.
int ccFadeScreen(int duration, int fadeOut, const platform::ChannelPtr& channel = nullptr);

// ---- Rectangles and drawing state ---------------------------------------------------------------

int ccDrawRect(float x, float y, float width, float height, const TShadow* shadow = nullptr);
int ccDrawRectOutline(int x, int y, int width, int height);
// Black at alpha over the whole screen; leaves alpha blending, white, alpha 1.0.
int ccDimScreen(float alpha);
int ccDimArea(float alpha, int x, int y, int width, int height);
// Solid blending, alpha 1.0, white.
int ccRestoreSolidMode();
