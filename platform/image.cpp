// Images: frames kept as RGBA pixmaps on the CPU and uploaded as textures when first drawn (again
// after their pixels changed). A texture belongs to one GL context; the display keeps its one
// context for the whole process, so switching between window and full screen keeps them all.
#include "platform/display_internal.h"
#include "platform/draw_internal.h"
#include "platform/graphics.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace platform {

struct TImage::Gpu {
    uint64_t serial = 0; // the GL context the names belong to
    std::vector<GLuint> textures;
    std::vector<bool> stale;
    std::vector<GLint> filter; // the filter each texture is set to now
};

namespace {

bool autoMidHandle = false;

int ResolveFlags(int flags) {
    return flags == -1 ? DEFAULT_IMAGE_FLAGS : flags;
}

// A deep RGBA copy of the pixmap, with pure black made transparent when masked.
PixmapPtr FramePixels(const TPixmap& source, bool masked) {
    PixmapPtr pixels = source.Convert(PF_RGBA8888);
    if (!masked)
        return pixels;
    for (int y = 0; y < pixels->Height(); ++y) {
        uint8_t* p = pixels->PixelPtr(0, y);
        for (int x = 0; x < pixels->Width(); ++x, p += 4)
            if (p[0] == 0 && p[1] == 0 && p[2] == 0)
                p[3] = 0;
    }
    return pixels;
}

void ApplyAutoMidHandle(const ImagePtr& image) {
    if (image && autoMidHandle)
        MidHandleImage(image);
}

// The frame's texture, made or uploaded again as needed; 0 without a GL context.
GLuint FrameTexture(const TImage& image, int frame) {
    TImage::Gpu* gpu = image.gpu();
    if (!detail::GlContextAlive() || !gpu)
        return 0;
    const size_t n = static_cast<size_t>(image.Frames());
    if (gpu->serial != detail::GlContextSerial() || gpu->textures.size() != n) {
        gpu->serial = detail::GlContextSerial();
        gpu->textures.assign(n, 0);
        gpu->stale.assign(n, true);
        gpu->filter.assign(n, GL_NEAREST);
    }
    GLuint& texture = gpu->textures[frame];
    if (texture && !gpu->stale[frame])
        return texture;
    const PixmapPtr pixels = image.Frame(frame);
    detail::FlushBatch();
    if (!texture)
        glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const bool filtered = image.Flags() & FILTEREDIMAGE;
    const bool mipmapped = image.Flags() & MIPMAPPEDIMAGE;
    const GLint mag = filtered ? GL_LINEAR : GL_NEAREST;
    const GLint min =
        mipmapped ? (filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST) : mag;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmapped ? GL_TRUE : GL_FALSE);
    gpu->filter[frame] = mag;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pixels->Pitch() / 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pixels->Width(), pixels->Height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels->PixelPtr(0, 0));
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gpu->stale[frame] = false;
    return texture;
}

// True when the quad shows the texture rectangle pixel for pixel, upright, on whole pixels: every
// pixel centre then falls on a texel centre, and linear filtering would give the texel itself.
bool PixelExact(const float* xs, const float* ys, float texelsWide, float texelsHigh) {
    constexpr float EPSILON = 1e-3f;
    auto near = [](float a, float b) { return std::fabs(a - b) < EPSILON; };
    return near(ys[0], ys[1]) && near(ys[2], ys[3]) && near(xs[0], xs[3]) && near(xs[1], xs[2]) &&
           near(xs[1] - xs[0], texelsWide) && near(ys[3] - ys[0], texelsHigh) &&
           near(xs[0], std::round(xs[0])) && near(ys[0], std::round(ys[0]));
}

// A filtered image drawn pixel for pixel is sampled nearest: the same picture, at a fraction of
// the cost where OpenGL runs in software.
void ChooseFilter(const TImage& image, int frame, GLuint texture, bool exact) {
    TImage::Gpu* gpu = image.gpu();
    if (!(image.Flags() & FILTEREDIMAGE) || (image.Flags() & MIPMAPPEDIMAGE))
        return;
    const GLint wanted = exact ? GL_NEAREST : GL_LINEAR;
    GLint& current = gpu->filter[frame];
    if (current == wanted)
        return;
    detail::FlushBatch();
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, wanted);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, wanted);
    current = wanted;
}

// The whole cells of cellWidth by cellHeight in the picture; 0 for a cell of no size.
int CellCount(const TPixmap& pixmap, int cellWidth, int cellHeight) {
    if (cellWidth <= 0 || cellHeight <= 0)
        return 0;
    return (pixmap.Width() / cellWidth) * (pixmap.Height() / cellHeight);
}

bool ValidFrame(const ImagePtr& image, int frame) {
    return image && frame >= 0 && frame < image->Frames();
}

} // namespace

namespace detail {

void DrawFrameQuad(const TImage& image, int frame, float x, float y, float l, float t, float r,
                   float b, float u0, float v0, float u1, float v1) {
    if (!detail::DisplayReady())
        return;
    const GLuint texture = FrameTexture(image, frame);
    const float u[4] = {l, r, r, l}, v[4] = {t, t, b, b};
    float xs[4], ys[4];
    for (int i = 0; i < 4; ++i)
        detail::Place(u[i], v[i], x, y, xs[i], ys[i]);
    if (texture)
        ChooseFilter(image, frame, texture,
                     PixelExact(xs, ys, (u1 - u0) * static_cast<float>(image.Width()),
                                (v1 - v0) * static_cast<float>(image.Height())));
    detail::SubmitQuad(xs, ys, texture, u0, v0, u1, v1);
}

} // namespace detail

namespace {

void LogImage(const ImagePtr& image, float x, float y, float w, float h, int frame) {
    TDrawRecord r;
    r.kind = TDrawRecord::IMAGE;
    r.x = x;
    r.y = y;
    r.w = w;
    r.h = h;
    r.frame = frame;
    r.image = image.get();
    detail::LogDraw(std::move(r));
}

} // namespace

// ---- TImage ----------------------------------------------------------------------------------

TImage::TImage(int width, int height, int frames, int flags)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), flags_(ResolveFlags(flags)),
      gpu_(std::make_unique<Gpu>()) {
    if (width_ > 0 && height_ > 0)
        for (int i = 0; i < frames; ++i)
            frames_.push_back(CreatePixmap(width_, height_, PF_RGBA8888));
}

TImage::~TImage() {
    if (!gpu_ || gpu_->serial != detail::GlContextSerial() || !detail::GlContextAlive())
        return;
    detail::FlushBatch(); // it may hold one of these textures
    for (GLuint texture : gpu_->textures)
        if (texture)
            glDeleteTextures(1, &texture);
}

PixmapPtr TImage::Frame(int frame) const {
    if (frame < 0 || frame >= Frames())
        return nullptr;
    return frames_[frame];
}

void TImage::Invalidate(int frame) {
    if (frame >= 0 && static_cast<size_t>(frame) < gpu_->stale.size())
        gpu_->stale[frame] = true;
}

// ---- Making images ---------------------------------------------------------------------------

ImagePtr MakeImage(std::vector<PixmapPtr> frames, int flags) {
    if (frames.empty() || !frames[0] || frames[0]->Width() <= 0 || frames[0]->Height() <= 0)
        return nullptr;
    const int w = frames[0]->Width(), h = frames[0]->Height();
    for (const PixmapPtr& f : frames)
        if (!f || f->Width() != w || f->Height() != h)
            return nullptr;
    auto image = std::make_shared<TImage>(w, h, 0, flags);
    const bool masked = image->Flags() & MASKEDIMAGE;
    for (const PixmapPtr& f : frames)
        image->frames_.push_back(FramePixels(*f, masked));
    return image;
}

void AutoMidHandle(bool on) {
    autoMidHandle = on;
}

bool AutoMidHandleOn() {
    return autoMidHandle;
}

ImagePtr LoadImage(const std::string& path, int flags, std::string* error) {
    return LoadImage(LoadPixmap(path, error), flags);
}

ImagePtr LoadImage(const PixmapPtr& pixmap, int flags) {
    if (!pixmap)
        return nullptr;
    ImagePtr image = MakeImage({pixmap}, flags);
    ApplyAutoMidHandle(image);
    return image;
}

ImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int first, int count,
                       int flags, std::string* error) {
    const PixmapPtr pixmap = LoadPixmap(path, error);
    if (!pixmap)
        return nullptr;
    ImagePtr image = LoadAnimImage(pixmap, cellWidth, cellHeight, first, count, flags);
    if (!image && error)
        *error = "a " + std::to_string(pixmap->Width()) + "x" + std::to_string(pixmap->Height()) +
                 " picture holds " + std::to_string(CellCount(*pixmap, cellWidth, cellHeight)) +
                 " cells of " + std::to_string(cellWidth) + "x" + std::to_string(cellHeight) +
                 ", not " + std::to_string(count) + " from cell " + std::to_string(first);
    return image;
}

ImagePtr LoadAnimImage(const PixmapPtr& pixmap, int cellWidth, int cellHeight, int first, int count,
                       int flags) {
    if (!pixmap || first < 0 || count <= 0)
        return nullptr;
    const int cells = CellCount(*pixmap, cellWidth, cellHeight);
    if (count > cells - first)
        return nullptr;
    const int columns = pixmap->Width() / cellWidth;
    std::vector<PixmapPtr> frames;
    for (int cell = first; cell < first + count; ++cell)
        frames.push_back(pixmap->Window((cell % columns) * cellWidth, (cell / columns) * cellHeight,
                                        cellWidth, cellHeight));
    ImagePtr image = MakeImage(std::move(frames), flags);
    ApplyAutoMidHandle(image);
    return image;
}

ImagePtr CreateImage(int width, int height, int frames, int flags) {
    if (width <= 0 || height <= 0 || frames <= 0)
        return nullptr;
    auto image = std::make_shared<TImage>(width, height, frames, flags);
    for (int i = 0; i < frames; ++i)
        if (!image->Frame(i))
            return nullptr; // too big to hold
    ApplyAutoMidHandle(image);
    return image;
}

void PrecacheImage(const ImagePtr& image) {
    if (!image)
        return;
    for (int frame = 0; frame < image->Frames(); ++frame)
        FrameTexture(*image, frame);
}

int ImageWidth(const ImagePtr& image) {
    return image ? image->Width() : 0;
}

int ImageHeight(const ImagePtr& image) {
    return image ? image->Height() : 0;
}

void SetImageHandle(const ImagePtr& image, float x, float y) {
    if (!image)
        return;
    image->handleX = x;
    image->handleY = y;
}

void MidHandleImage(const ImagePtr& image) {
    if (image)
        SetImageHandle(image, image->Width() / 2.0f, image->Height() / 2.0f);
}

// ---- Drawing images --------------------------------------------------------------------------

void DrawImage(const ImagePtr& image, float x, float y, int frame) {
    LogImage(image, x, y, static_cast<float>(ImageWidth(image)),
             static_cast<float>(ImageHeight(image)), frame);
    if (!ValidFrame(image, frame))
        return;
    const float l = -image->handleX, t = -image->handleY;
    detail::DrawFrameQuad(*image, frame, x, y, l, t, l + image->Width(), t + image->Height(), 0, 0,
                          1, 1);
}

void DrawImageRect(const ImagePtr& image, float x, float y, float w, float h, int frame) {
    LogImage(image, x, y, w, h, frame);
    if (!ValidFrame(image, frame))
        return;
    const float l = -image->handleX, t = -image->handleY;
    detail::DrawFrameQuad(*image, frame, x, y, l, t, l + w, t + h, 0, 0, 1, 1);
}

void DrawSubImageRect(const ImagePtr& image, float x, float y, float w, float h, float sx, float sy,
                      float sw, float sh, float hx, float hy, int frame) {
    LogImage(image, x, y, w, h, frame);
    if (!ValidFrame(image, frame) || !(sw > 0) || !(sh > 0))
        return;
    const float iw = static_cast<float>(image->Width()), ih = static_cast<float>(image->Height());
    // Clip the source to the frame, and the destination with it in proportion.
    const float kx = w / sw, ky = h / sh;
    float l = -hx, t = -hy, r = -hx + w, b = -hy + h;
    float s0 = sx, t0 = sy, s1 = sx + sw, t1 = sy + sh;
    if (s0 < 0) {
        l -= s0 * kx;
        s0 = 0;
    }
    if (t0 < 0) {
        t -= t0 * ky;
        t0 = 0;
    }
    if (s1 > iw) {
        r -= (s1 - iw) * kx;
        s1 = iw;
    }
    if (t1 > ih) {
        b -= (t1 - ih) * ky;
        t1 = ih;
    }
    if (!(s1 > s0) || !(t1 > t0))
        return;
    detail::DrawFrameQuad(*image, frame, x, y, l, t, r, b, s0 / iw, t0 / ih, s1 / iw, t1 / ih);
}

// ---- Pixels ----------------------------------------------------------------------------------

PixmapPtr LockImage(const ImagePtr& image, int frame) {
    return image ? image->Frame(frame) : nullptr;
}

void UnlockImage(const ImagePtr& image, int frame) {
    if (image)
        image->Invalidate(frame);
}

void GrabImage(const ImagePtr& image, int x, int y, int frame) {
    if (!ValidFrame(image, frame))
        return;
    const PixmapPtr grabbed = GrabPixmap(x, y, image->Width(), image->Height());
    const PixmapPtr pixels = image->Frame(frame);
    if (!grabbed || !pixels)
        return;
    for (int row = 0; row < image->Height(); ++row)
        std::memcpy(pixels->PixelPtr(0, row), grabbed->PixelPtr(0, row),
                    static_cast<size_t>(image->Width()) * 4);
    image->Invalidate(frame);
}

} // namespace platform
