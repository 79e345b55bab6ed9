// The drawing state, the primitives, and the core that sends quads to OpenGL (fixed function,
// an orthographic projection of the logical screen with y down).
#include "platform/display_internal.h"
#include "platform/draw_internal.h"
#include "platform/graphics.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace platform {

namespace {

struct State {
    int r = 255, g = 255, b = 255;
    float alpha = 1.0f;
    int blend = ALPHABLEND;
    float rotation = 0.0f, scaleX = 1.0f, scaleY = 1.0f;
    float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;
    float handleX = 0.0f, handleY = 0.0f;
    float originX = 0.0f, originY = 0.0f;
    int vpX = 0, vpY = 0, vpW = 800, vpH = 600;
    int clsR = 0, clsG = 0, clsB = 0;
};

State S;
int appliedBlend = -1; // the blend mode OpenGL is set to; -1 unknown
// Quads of one texture and blend mode drawn one after another go to OpenGL as one primitive: the
// colour is a vertex attribute, so it may change inside. Everything else that talks to OpenGL
// ends the batch first (detail::FlushBatch).
bool batchOpen = false;
unsigned batchTexture = 0;
bool drawLogOn = false;
std::vector<TDrawRecord> drawLog;
int64_t drawCalls = 0;

void UpdateMatrix() {
    // Whole quarter turns exactly, so that a turned image stays on whole pixels.
    double c, s;
    const double turns = S.rotation / 90.0;
    if (std::isfinite(S.rotation) && turns == std::floor(turns)) {
        const int quarter = static_cast<int>(std::fmod(std::fmod(turns, 4.0) + 4.0, 4.0));
        static constexpr int COS[4] = {1, 0, -1, 0}, SIN[4] = {0, 1, 0, -1};
        c = COS[quarter];
        s = SIN[quarter];
    } else {
        const double rad = S.rotation * std::numbers::pi / 180.0;
        c = std::cos(rad);
        s = std::sin(rad);
    }
    S.ix = static_cast<float>(c * S.scaleX);
    S.iy = static_cast<float>(-s * S.scaleY);
    S.jx = static_cast<float>(s * S.scaleX);
    S.jy = static_cast<float>(c * S.scaleY);
}

GLubyte Channel(int v) {
    return static_cast<GLubyte>(std::clamp(v, 0, 255));
}

void ApplyScissor() {
    detail::FlushBatch();
    const int h = LogicalHeight();
    const int w = std::max(S.vpW, 0), vh = std::max(S.vpH, 0);
    glEnable(GL_SCISSOR_TEST);
    glScissor(S.vpX, h - (S.vpY + vh), w, vh);
}

void ApplyBlend() {
    if (appliedBlend == S.blend)
        return;
    appliedBlend = S.blend;
    glDisable(GL_ALPHA_TEST);
    switch (S.blend) {
    case MASKBLEND:
        glDisable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GEQUAL, 0.5f);
        break;
    case SOLIDBLEND:
        glDisable(GL_BLEND);
        break;
    case LIGHTBLEND:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case SHADEBLEND:
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    default:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    }
}

void ApplyColour() {
    const float a = std::isfinite(S.alpha) ? std::clamp(S.alpha, 0.0f, 1.0f) : 1.0f;
    glColor4ub(Channel(S.r), Channel(S.g), Channel(S.b),
               static_cast<GLubyte>(std::lround(a * 255.0f)));
}

void Begin(unsigned texture) {
    detail::FlushBatch();
    ApplyBlend();
    ApplyColour();
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

TDrawRecord Record(TDrawRecord::Kind kind, float x, float y, float w, float h) {
    TDrawRecord r;
    r.kind = kind;
    r.x = x;
    r.y = y;
    r.w = w;
    r.h = h;
    return r;
}

} // namespace

// ---- Core ------------------------------------------------------------------------------------

namespace detail {

void Place(float u, float v, float x, float y, float& sx, float& sy) {
    sx = x + S.originX + u * S.ix + v * S.iy;
    sy = y + S.originY + u * S.jx + v * S.jy;
}

void FlushBatch() {
    if (!batchOpen)
        return;
    batchOpen = false;
    glEnd();
    ++drawCalls;
}

void SubmitQuad(const float* xs, const float* ys, unsigned texture, float u0, float v0, float u1,
                float v1) {
    if (!DisplayReady())
        return;
    if (!batchOpen || batchTexture != texture || appliedBlend != S.blend) {
        Begin(texture);
        glBegin(GL_QUADS);
        batchOpen = true;
        batchTexture = texture;
    } else {
        ApplyColour();
    }
    glTexCoord2f(u0, v0);
    glVertex2f(xs[0], ys[0]);
    glTexCoord2f(u1, v0);
    glVertex2f(xs[1], ys[1]);
    glTexCoord2f(u1, v1);
    glVertex2f(xs[2], ys[2]);
    glTexCoord2f(u0, v1);
    glVertex2f(xs[3], ys[3]);
}

void SubmitVertices(unsigned mode, const float* xy, int count) {
    if (!DisplayReady() || count <= 0)
        return;
    Begin(0);
    glBegin(mode);
    for (int i = 0; i < count; ++i)
        glVertex2f(xy[2 * i], xy[2 * i + 1]);
    glEnd();
    ++drawCalls;
}

void LogDraw(TDrawRecord record) {
    if (!drawLogOn)
        return;
    record.r = S.r;
    record.g = S.g;
    record.b = S.b;
    record.alpha = S.alpha;
    record.rotation = S.rotation;
    record.scaleX = S.scaleX;
    record.scaleY = S.scaleY;
    record.blend = S.blend;
    drawLog.push_back(std::move(record));
}

void ResetGlState() {
    if (!GlContextAlive())
        return;
    FlushBatch();
    const int w = LogicalWidth(), h = LogicalHeight();
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    ApplyScissor();
    appliedBlend = -1;
}

} // namespace detail

// ---- State -----------------------------------------------------------------------------------

void SetColor(int r, int g, int b) {
    S.r = r;
    S.g = g;
    S.b = b;
}

void GetColor(int& r, int& g, int& b) {
    r = S.r;
    g = S.g;
    b = S.b;
}

void SetAlpha(float alpha) {
    S.alpha = alpha;
}

float GetAlpha() {
    return S.alpha;
}

void SetBlend(int mode) {
    if (mode >= MASKBLEND && mode <= SHADEBLEND)
        S.blend = mode;
}

int GetBlend() {
    return S.blend;
}

void SetRotation(float degrees) {
    S.rotation = degrees;
    UpdateMatrix();
}

float GetRotation() {
    return S.rotation;
}

void SetScale(float sx, float sy) {
    S.scaleX = sx;
    S.scaleY = sy;
    UpdateMatrix();
}

void GetScale(float& sx, float& sy) {
    sx = S.scaleX;
    sy = S.scaleY;
}

void GetTransform(float& ix, float& iy, float& jx, float& jy) {
    ix = S.ix;
    iy = S.iy;
    jx = S.jx;
    jy = S.jy;
}

void SetHandle(float x, float y) {
    S.handleX = x;
    S.handleY = y;
}

void GetHandle(float& x, float& y) {
    x = S.handleX;
    y = S.handleY;
}

void SetOrigin(float x, float y) {
    S.originX = x;
    S.originY = y;
}

void GetOrigin(float& x, float& y) {
    x = S.originX;
    y = S.originY;
}

void SetViewport(int x, int y, int w, int h) {
    S.vpX = x;
    S.vpY = y;
    S.vpW = w;
    S.vpH = h;
    if (detail::DisplayReady())
        ApplyScissor();
}

void GetViewport(int& x, int& y, int& w, int& h) {
    x = S.vpX;
    y = S.vpY;
    w = S.vpW;
    h = S.vpH;
}

void SetClsColor(int r, int g, int b) {
    S.clsR = r;
    S.clsG = g;
    S.clsB = b;
}

void GetClsColor(int& r, int& g, int& b) {
    r = S.clsR;
    g = S.clsG;
    b = S.clsB;
}

void Cls() {
    detail::LogDraw(Record(TDrawRecord::CLS, 0, 0, 0, 0));
    if (!detail::DisplayReady())
        return;
    detail::FlushBatch();
    glClearColor(Channel(S.clsR) / 255.0f, Channel(S.clsG) / 255.0f, Channel(S.clsB) / 255.0f,
                 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ++drawCalls;
}

// ---- Primitives ------------------------------------------------------------------------------

void DrawRect(float x, float y, float w, float h) {
    detail::LogDraw(Record(TDrawRecord::RECT, x, y, w, h));
    if (!detail::DisplayReady())
        return;
    const float u[4] = {-S.handleX, w - S.handleX, w - S.handleX, -S.handleX};
    const float v[4] = {-S.handleY, -S.handleY, h - S.handleY, h - S.handleY};
    float xs[4], ys[4];
    for (int i = 0; i < 4; ++i)
        detail::Place(u[i], v[i], x, y, xs[i], ys[i]);
    detail::SubmitQuad(xs, ys, 0, 0, 0, 0, 0);
}

void DrawOval(float x, float y, float w, float h) {
    detail::LogDraw(Record(TDrawRecord::OVAL, x, y, w, h));
    if (!detail::DisplayReady())
        return;
    const float rx = w / 2, ry = h / 2;
    const float cx = rx - S.handleX, cy = ry - S.handleY;
    // Enough segments that the edge looks round at its drawn size.
    const float size = std::max(std::fabs(w * S.scaleX), std::fabs(h * S.scaleY));
    const int segments =
        std::isfinite(size) ? static_cast<int>(std::clamp(size, 12.0f, 180.0f)) : 12;
    std::vector<float> xy;
    xy.reserve(static_cast<size_t>(segments + 2) * 2);
    float sx, sy;
    detail::Place(cx, cy, x, y, sx, sy);
    xy.insert(xy.end(), {sx, sy});
    for (int i = 0; i <= segments; ++i) {
        const double a = 2.0 * std::numbers::pi * i / segments;
        detail::Place(cx + rx * static_cast<float>(std::cos(a)),
                      cy + ry * static_cast<float>(std::sin(a)), x, y, sx, sy);
        xy.push_back(sx);
        xy.push_back(sy);
    }
    detail::SubmitVertices(GL_TRIANGLE_FAN, xy.data(), static_cast<int>(xy.size() / 2));
}

void DrawLine(float x1, float y1, float x2, float y2, bool lastPixel) {
    detail::LogDraw(Record(TDrawRecord::LINE, x1, y1, x2, y2));
    if (!detail::DisplayReady())
        return;
    float xy[4];
    detail::Place(-S.handleX, -S.handleY, x1, y1, xy[0], xy[1]);
    detail::Place(x2 - x1 - S.handleX, y2 - y1 - S.handleY, x1, y1, xy[2], xy[3]);
    // Through pixel centres; OpenGL leaves out a line's last pixel, a point adds it. A start
    // exactly on a pixel centre is lost by some rasterisers (Mesa's, for lines running down the
    // screen): it is moved back a tenth of a pixel along the line, inside its own pixel.
    for (float& c : xy)
        c += 0.5f;
    const float dx = xy[2] - xy[0], dy = xy[3] - xy[1];
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0f) {
        xy[0] -= dx / length * 0.1f;
        xy[1] -= dy / length * 0.1f;
    }
    detail::SubmitVertices(GL_LINES, xy, 2);
    if (lastPixel)
        detail::SubmitVertices(GL_POINTS, xy + 2, 1);
}

void Plot(float x, float y) {
    detail::LogDraw(Record(TDrawRecord::PLOT, x, y, 0, 0));
    if (!detail::DisplayReady())
        return;
    const float xy[2] = {x + S.originX + 0.5f, y + S.originY + 0.5f};
    detail::SubmitVertices(GL_POINTS, xy, 1);
}

// ---- Draw log --------------------------------------------------------------------------------

void SetDrawLog(bool on) {
    drawLogOn = on;
}

const std::vector<TDrawRecord>& DrawLog() {
    return drawLog;
}

void ClearDrawLog() {
    drawLog.clear();
}

int64_t DrawCallCount() {
    return drawCalls;
}

} // namespace platform
