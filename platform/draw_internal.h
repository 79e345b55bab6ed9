#pragma once
// The drawing core that images, text and primitives share: the current state applied to OpenGL,
// quads and vertices sent, and the draw log.

#include "platform/graphics.h"

namespace platform::detail {

// The screen position of the local point (u, v) of something drawn at (x, y): the current
// rotation and scale applied, then the position and the origin added.
void Place(float u, float v, float x, float y, float& sx, float& sy);

// Sends a quad with the corners in drawing order (top-left, top-right, bottom-right,
// bottom-left), textured with (u0, v0)-(u1, v1) of the texture, or plain when texture is 0,
// under the current colour, alpha and blend. Only while a display is open. Quads of the same
// texture and blend mode in a row are batched into one draw call.
void SubmitQuad(const float* xs, const float* ys, unsigned texture, float u0, float v0, float u1,
                float v1);
// Ends the batch of quads in the making: to be called before any other use of OpenGL.
void FlushBatch();
// Sends untextured vertices (x, y pairs) as one OpenGL primitive of the given mode.
void SubmitVertices(unsigned mode, const float* xy, int count);

// Draws the texture rectangle (u0, v0)-(u1, v1) of a valid frame on the local quad (l, t)-(r, b)
// placed at (x, y), uploading the frame's texture first when needed.
void DrawFrameQuad(const TImage& image, int frame, float x, float y, float l, float t, float r,
                   float b, float u0, float v0, float u1, float v1);

// Appends a record of the call with the current state when the draw log is on.
void LogDraw(TDrawRecord record);

// Forgets what the core believes OpenGL's state to be (after the display changed it), and sets
// the projection and clipping of the logical frame again.
void ResetGlState();

} // namespace platform::detail
