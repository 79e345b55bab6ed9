#pragma once
// The base of every drawn object: a named image placed at a position, with a velocity, a frame
// animation, scale and rotation ramps, a glow, a drop shadow, a colour and an alpha. The owner
// advances it (Move and the Manage operations, each scaled by Delta) and draws it each frame; a
// draw sets the drawing layer's state for its image and puts the resting state back afterwards.

#include "framework/graphics/game_image.h"
#include "framework/util/color.h"
#include "framework/util/object.h"
#include "framework/util/vector.h"

#include <functional>
#include <memory>
#include <string>

class TSprite;
using TSpritePtr = std::shared_ptr<TSprite>;

class TSprite : public TObject {
public:
    // A plain sprite showing the image at (x, y).
    static TSpritePtr Create(const TGameImagePtr& image, float x, float y);
    // The picture Game->ImagePath + file + ".png", centre-handled; at the screen centre when
    // centre is not 0.
    static TSpritePtr CreateFromFile(const std::string& file, float x, float y, int centre,
                                     int flags);

    // A hook for subclasses; does nothing here.
    virtual int Init();
    int SetName(const std::string& newName);
    int GetSize();
    int SetImage(const TGameImagePtr& newImage);
    // Centre-handles the image (shared by every user of it) and moves to the screen centre.
    int Centre();
    virtual int CentreX(int newY);
    int StoreCentreCoords();
    int StoreOriginalCoords();
    int ScaleOriginalCoords();
    // Frame size times the current scale (the base scale left out).
    float Width() const;
    float Height() const;

    // ---- Motion ----
    int MoveLeft();
    int MoveRight();
    int MoveUp();
    int MoveDown();
    // Position += velocity * Delta; then a positive ygravity is added to dy.
    virtual int Move();
    int MoveOriginalCoords();
    // Velocity along the rotation (0 degrees points up the screen, 90 to the right), then Move.
    int MoveForward();
    int Stop();
    // Keeps a centre-handled sprite wholly on the screen.
    int BoundsCheck();
    // 1 when the sprite lies wholly off the screen (unscaled sizes).
    int OutOfBounds() const;

    // ---- Scale, rotation, glow ----
    int ClearTransformations();
    int ClearScale();
    int ClearRotation();
    // mode 0 none, 2 fading out at speed per tick, 3 pulsing between low and high (speed degrees
    // per tick), any other positive mode steady at glow.
    int SetGlow(int mode, float glow, float speed, float low, float high);
    int ManageGlow();
    int SetShadow(int on, float shadowX, float shadowY, float alpha);
    int SetPosition(float newX, float newY);
    // sy exactly 0 scales both ways by sx.
    int SetScaleXY(float sx, float sy);
    int SetupScale(float xSpeed, float ySpeed, int ms);
    int ManageScale();
    int SetupRotation(float newSpeed, int ms);
    int ManageRotation();

    // ---- Frame animation ----
    // dir 0 counts down from AnimLength, 1 up from 0; reverse plays the frames backwards; random
    // starts at a random point of the cycle.
    int SetupAnim(int frames, int ms, int dir, int reverse, int random);
    int RandomiseAnimPos();
    // Advances the animation; 1 on the tick a cycle completes (AnimStoppedFunction is then called).
    int ManageAnim();
    int AnimBoundsCheckLower();
    int AnimBoundsCheckUpper();

    // ---- Drawing ----
    int DrawShadow(const TGameImagePtr& shadowImage, int shadowFrame, int scrolled);
    // DoDraw, then the glow pass when GlowMode > 0.
    virtual int Draw();
    int DoDraw();
    int DrawNormal();
    // DrawNormal with picture in place of the sprite's own image (AlternativeImage still wins).
    int DrawNormal(const TGameImagePtr& picture);
    int DrawRounded();
    // Draws relative to Game->ScrollX, ScrollY; ignores visible and Color.
    int DrawWithOffset();
    // An additive pass in the colour glow * (r, g, b) * 255 (in the sprite's own Color when it has
    // one), of the given image or the sprite's own; leaves alpha blending and white. 1 when drawn.
    int DrawLight(float glow, float r, float g, float b, const TGameImagePtr& lightImage);

    // The frame and image that a draw shows now.
    int DrawnFrame() const;
    const TGameImagePtr& DrawnImage() const { return AlternativeImage ? AlternativeImage : image; }

    std::string name;
    int active = 0;
    int visible = 1;
    float x = 0.0f, y = 0.0f;
    float offx = 0.0f, offy = 0.0f;
    int UseOffset = 0;
    float dx = 0.0f, dy = 0.0f;
    float xspeed = 0.0f, yspeed = 0.0f;
    float speed = 0.0f;
    float ygravity = 0.0f;
    int w = 0, h = 0;
    float w2 = 0.0f, h2 = 0.0f;
    TGameImagePtr image;
    int RoundCoords = 0;
    int ImageFrame = 0;
    TColorPtr Color;
    int Shadow = 0;
    float ShadowX = 3.0f, ShadowY = 3.0f;
    float ShadowAlpha = 0.5f;
    int frame = 0;
    int FramesTotal = 1;
    float AnimCounter = 0.0f;
    int AnimLength = 1000;
    int AnimCounterDir = 0;
    int AnimReverse = 0;
    float ScaleX = 1.0f, ScaleY = 1.0f;
    float BaseScaleX = 1.0f, BaseScaleY = 1.0f;
    float ScaleXSpeed = 0.1f, ScaleYSpeed = 0.1f;
    float ScaleCounter = 0.0f;
    int ScaleLength = 1000;
    float Rotation = 0.0f;
    float RotationSpeed = 1.0f;
    float RotationCounter = 0.0f;
    int RotationLength = 1000;
    int UseAlpha = 1;
    float Alpha = 1.0f;
    int GlowMode = 0;
    float Glow = 0.0f;
    float GlowSpeed = 0.0f;
    float GlowMin = 0.0f, GlowMax = 1.0f;
    float GlowRange = 1.0f;
    TSineCounter GlowCounter;
    TGameImagePtr AlternativeImage;
    std::shared_ptr<TSineCounter> MiscSineCounter;
    float cx = 0.0f, cy = 0.0f;
    std::function<int(TSprite&)> AnimStoppedFunction;
    float ox = 0.0f, oy = 0.0f;

private:
    int DrawAt(const TGameImagePtr& picture, float drawX, float drawY);
    int AnimCycleDone(float wrap);
};
