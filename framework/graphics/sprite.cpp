#include "framework/graphics/sprite.h"

#include "framework/shell/game.h"
#include "framework/util/globals.h"
#include "framework/util/numbers.h"
#include "framework/util/strings.h"
#include "platform/graphics.h"
#include "platform/system.h"

#include <cmath>
#include <numbers>

namespace {

// Whole logic ticks of a duration in milliseconds.
int Ticks(int ms) {
    return platform::TruncToInt(Game->CalcAnimLength(ms));
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

float Rounded(float v) {
    return std::floor(v + 0.5f);
}

// A draw is made only of a loaded picture and one of its frames.
bool Drawable(const TGameImagePtr& image, int frame) {
    return image && image->image && frame >= 0 && frame < image->image->Frames();
}

} // namespace

TSpritePtr TSprite::Create(const TGameImagePtr& image, float x, float y) {
    auto sprite = std::make_shared<TSprite>();
    sprite->SetImage(image);
    sprite->x = x;
    sprite->y = y;
    return sprite;
}

TSpritePtr TSprite::CreateFromFile(const std::string& file, float x, float y, int centre,
                                   int flags) {
    auto sprite = Create(TGameImage::Create(Game->ImagePath + file + ".png", flags, 1), x, y);
    if (centre) {
        sprite->x = static_cast<float>(ScreenWidth / 2);
        sprite->y = static_cast<float>(ScreenHeight / 2);
    }
    return sprite;
}

int TSprite::Init() {
    return 0;
}

int TSprite::SetName(const std::string& newName) {
    name = AsciiUpper(newName);
    return 0;
}

int TSprite::GetSize() {
    if (!image)
        return 0;
    w = image->w;
    h = image->h;
    w2 = image->w2;
    h2 = image->h2;
    return 0;
}

int TSprite::SetImage(const TGameImagePtr& newImage) {
    image = newImage;
    return GetSize();
}

int TSprite::Centre() {
    if (image)
        image->MidHandle(1);
    x = static_cast<float>(ScreenWidth / 2);
    y = static_cast<float>(ScreenHeight / 2);
    return 0;
}

int TSprite::CentreX(int newY) {
    if (image)
        image->MidHandle(1);
    x = static_cast<float>(ScreenWidth / 2);
    y = static_cast<float>(newY);
    return 0;
}

int TSprite::StoreCentreCoords() {
    cx = x;
    cy = y;
    return 0;
}

int TSprite::StoreOriginalCoords() {
    ox = x;
    oy = y;
    return 0;
}

int TSprite::ScaleOriginalCoords() {
    x = ox * BaseScaleX;
    y = oy * BaseScaleY;
    return 0;
}

float TSprite::Width() const {
    return static_cast<float>(w) * ScaleX;
}

float TSprite::Height() const {
    return static_cast<float>(h) * ScaleY;
}

// ---- Motion ----------------------------------------------------------------------------------

int TSprite::MoveLeft() {
    x -= xspeed * Delta;
    return BoundsCheck();
}

int TSprite::MoveRight() {
    x += xspeed * Delta;
    return BoundsCheck();
}

int TSprite::MoveUp() {
    y -= yspeed * Delta;
    return BoundsCheck();
}

int TSprite::MoveDown() {
    y += yspeed * Delta;
    return BoundsCheck();
}

int TSprite::Move() {
    x += dx * Delta;
    y += dy * Delta;
    if (ygravity > 0.0f)
        dy += ygravity * Delta;
    return 0;
}

int TSprite::MoveOriginalCoords() {
    ox += dx * Delta;
    oy += dy * Delta;
    if (ygravity > 0.0f)
        dy += ygravity * Delta;
    return 0;
}

int TSprite::MoveForward() {
    dx = static_cast<float>(std::sin(Radians(Rotation))) * speed;
    dy = -static_cast<float>(std::cos(Radians(Rotation))) * speed;
    return Move();
}

int TSprite::Stop() {
    dx = 0.0f;
    dy = 0.0f;
    return 0;
}

int TSprite::BoundsCheck() {
    const float right = static_cast<float>(ScreenWidth) - w2;
    const float bottom = static_cast<float>(ScreenHeight) - h2;
    if (x < w2)
        x = w2;
    else if (x > right)
        x = right;
    if (y < h2)
        y = h2;
    else if (y > bottom)
        y = bottom;
    return 0;
}

int TSprite::OutOfBounds() const {
    const float sw = static_cast<float>(ScreenWidth), sh = static_cast<float>(ScreenHeight);
    if (image && image->midhandled)
        return (x < -w2 || x > sw + w2 || y < -h2 || y > sh + h2) ? 1 : 0;
    return (x < -static_cast<float>(w) || x > sw || y < -static_cast<float>(h) || y > sh) ? 1 : 0;
}

// ---- Scale, rotation, glow -------------------------------------------------------------------

int TSprite::ClearTransformations() {
    ClearScale();
    return ClearRotation();
}

int TSprite::ClearScale() {
    ScaleX = 1.0f;
    ScaleY = 1.0f;
    return 0;
}

int TSprite::ClearRotation() {
    Rotation = 0.0f;
    return 0;
}

int TSprite::SetGlow(int mode, float glow, float glowSpeed, float low, float high) {
    GlowMode = mode;
    Glow = glow;
    GlowSpeed = glowSpeed;
    GlowMin = low;
    GlowMax = high;
    GlowRange = high - low;
    if (mode == 3)
        GlowCounter.Init(0.0f, 360.0f, glowSpeed);
    return 0;
}

int TSprite::ManageGlow() {
    if (GlowMode == 2) {
        if (Glow > 0.0f) {
            Glow -= GlowSpeed * Delta;
            if (Glow <= 0.0f)
                Glow = 0.0f;
        }
    } else if (GlowMode == 3) {
        GlowCounter.Manage();
        Glow = GlowMin + GlowRange * std::fabs(GlowCounter.ratio);
    }
    return 0;
}

int TSprite::SetShadow(int on, float shadowX, float shadowY, float alpha) {
    Shadow = on;
    ShadowX = shadowX;
    ShadowY = shadowY;
    ShadowAlpha = alpha;
    return 0;
}

int TSprite::SetPosition(float newX, float newY) {
    x = newX;
    y = newY;
    return 0;
}

int TSprite::SetScaleXY(float sx, float sy) {
    ScaleX = sx;
    ScaleY = sy == 0.0f ? sx : sy;
    return 0;
}

int TSprite::SetupScale(float xSpeed, float ySpeed, int ms) {
    ScaleXSpeed = xSpeed;
    ScaleYSpeed = ySpeed;
    ScaleLength = Ticks(ms);
    ScaleCounter = static_cast<float>(ScaleLength);
    return 0;
}

int TSprite::ManageScale() {
    if (ScaleCounter > 0.0f) {
        ScaleCounter -= Delta;
        ScaleX += ScaleXSpeed * Delta;
        ScaleY += ScaleYSpeed * Delta;
    }
    return 0;
}

int TSprite::SetupRotation(float newSpeed, int ms) {
    RotationSpeed = newSpeed;
    RotationLength = Ticks(ms);
    RotationCounter = static_cast<float>(RotationLength);
    return 0;
}

int TSprite::ManageRotation() {
    if (RotationCounter > 0.0f) {
        RotationCounter -= Delta;
        Rotation += RotationSpeed * Delta;
    }
    return 0;
}

// ---- Frame animation -------------------------------------------------------------------------

int TSprite::SetupAnim(int frames, int ms, int dir, int reverse, int random) {
    frame = 0;
    FramesTotal = frames;
    AnimLength = Ticks(ms);
    AnimCounterDir = dir;
    AnimReverse = reverse;
    if (random)
        return RandomiseAnimPos();
    if (dir == 0)
        AnimCounter = reverse ? 0.1f : static_cast<float>(AnimLength);
    else
        AnimCounter = reverse ? static_cast<float>(AnimLength) : 0.0f;
    return 0;
}

int TSprite::RandomiseAnimPos() {
    AnimCounter = static_cast<float>(platform::Rnd(0.1, static_cast<double>(AnimLength)));
    return 0;
}

int TSprite::ManageAnim() {
    if (AnimLength < 1) {
        // An animation shorter than one tick completes a cycle on every tick and shows frame 0.
        AnimCounter = 0.0f;
        frame = 0;
        if (AnimStoppedFunction)
            AnimStoppedFunction(*this);
        return 1;
    }
    int done;
    if ((AnimCounterDir == 1) == (AnimReverse == 0)) {
        AnimCounter += Delta;
        done = AnimBoundsCheckUpper();
    } else {
        AnimCounter -= Delta;
        done = AnimBoundsCheckLower();
    }
    frame = ccCalcAnimFrame(AnimCounter, AnimLength, FramesTotal, AnimCounterDir);
    return done;
}

int TSprite::AnimCycleDone(float wrap) {
    AnimCounter += wrap;
    if (AnimStoppedFunction)
        AnimStoppedFunction(*this);
    return 1;
}

int TSprite::AnimBoundsCheckLower() {
    if (AnimCounter > 0.0f)
        return 0;
    return AnimCycleDone(static_cast<float>(AnimLength));
}

int TSprite::AnimBoundsCheckUpper() {
    if (AnimCounter < static_cast<float>(AnimLength))
        return 0;
    return AnimCycleDone(-static_cast<float>(AnimLength));
}

// ---- Drawing ---------------------------------------------------------------------------------

int TSprite::DrawnFrame() const {
    if (AnimCounter > 0.0f && AnimLength > 0)
        return ccCalcAnimFrame(AnimCounter, AnimLength, FramesTotal, AnimCounterDir);
    return ImageFrame;
}

int TSprite::DrawShadow(const TGameImagePtr& shadowImage, int shadowFrame, int scrolled) {
    if (!Shadow || !Drawable(shadowImage, shadowFrame))
        return 0;
    int r, g, b;
    platform::GetColor(r, g, b);
    platform::SetColor(0, 0, 0);
    platform::SetAlpha(ShadowAlpha * Alpha);
    float sx = x + ShadowX, sy = y + ShadowY;
    if (UseOffset) {
        sx += offx;
        sy += offy;
    }
    if (scrolled) {
        sx -= Game->ScrollX;
        sy -= Game->ScrollY;
    }
    platform::DrawImage(shadowImage->image, sx, sy, shadowFrame);
    if (Color)
        Color->ApplyNoAlpha();
    else
        platform::SetColor(r, g, b);
    platform::SetAlpha(Alpha);
    return 0;
}

int TSprite::Draw() {
    DoDraw();
    if (GlowMode > 0)
        DrawLight(Glow, 1.0f, 1.0f, 1.0f, nullptr);
    return 0;
}

int TSprite::DoDraw() {
    if (!visible)
        return 0;
    platform::SetScale(BaseScaleX * ScaleX, BaseScaleY * ScaleY);
    platform::SetRotation(Rotation);
    if (UseAlpha)
        platform::SetAlpha(Alpha);
    if (Color)
        Color->ApplyNoAlpha();
    if (RoundCoords)
        DrawRounded();
    else
        DrawNormal();
    platform::SetScale(1.0f, 1.0f);
    platform::SetRotation(0.0f);
    if (UseAlpha)
        platform::SetAlpha(1.0f);
    if (Color)
        platform::SetColor(255, 255, 255);
    return 0;
}

int TSprite::DrawAt(const TGameImagePtr& picture, float drawX, float drawY) {
    const TGameImagePtr& shown = AlternativeImage ? AlternativeImage : picture;
    const int shownFrame = DrawnFrame();
    if (!Drawable(shown, shownFrame))
        return 0;
    // The shadow is placed from the unrounded position.
    DrawShadow(shown, shownFrame, 0);
    platform::DrawImage(shown->image, drawX, drawY, shownFrame);
    return 0;
}

int TSprite::DrawNormal() {
    return DrawNormal(image);
}

int TSprite::DrawNormal(const TGameImagePtr& picture) {
    const float px = UseOffset ? x + offx : x;
    const float py = UseOffset ? y + offy : y;
    return DrawAt(picture, px, py);
}

int TSprite::DrawRounded() {
    const float px = UseOffset ? x + offx : x;
    const float py = UseOffset ? y + offy : y;
    return DrawAt(image, Rounded(px), Rounded(py));
}

int TSprite::DrawWithOffset() {
    const TGameImagePtr& shown = DrawnImage();
    const int shownFrame = DrawnFrame();
    if (!Drawable(shown, shownFrame))
        return 0;
    platform::SetScale(BaseScaleX * ScaleX, BaseScaleY * ScaleY);
    platform::SetRotation(Rotation);
    if (UseAlpha)
        platform::SetAlpha(Alpha);
    DrawShadow(shown, shownFrame, 1);
    float px = x - Game->ScrollX, py = y - Game->ScrollY;
    if (UseOffset) {
        px += offx;
        py += offy;
    }
    platform::DrawImage(shown->image, px, py, shownFrame);
    platform::SetScale(1.0f, 1.0f);
    platform::SetRotation(0.0f);
    if (UseAlpha)
        platform::SetAlpha(1.0f);
    return 0;
}

int TSprite::DrawLight(float glow, float r, float g, float b, const TGameImagePtr& lightImage) {
    if (!visible)
        return 0;
    platform::SetBlend(platform::LIGHTBLEND);
    const float c = glow * 255.0f;
    platform::SetColor(platform::TruncToInt(c * r), platform::TruncToInt(c * g),
                       platform::TruncToInt(c * b));
    AlternativeImage = lightImage;
    DoDraw();
    AlternativeImage = nullptr;
    platform::SetBlend(platform::ALPHABLEND);
    platform::SetColor(255, 255, 255);
    return 1;
}
