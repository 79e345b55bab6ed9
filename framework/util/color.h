#pragma once
// The drawing settings that drawn things carry: a colour with alpha, a drop shadow, and a filled
// box and circle in a colour. Colours are shared objects: a holder keeps the colour it was given,
// so changing that colour later recolours every holder.

#include <memory>

class TColor;
using TColorPtr = std::shared_ptr<TColor>;

// Red, green and blue 0 to 255 and alpha 0.0 to 1.0; values are stored and passed on unchecked.
class TColor {
public:
    static TColorPtr Create(int red, int green, int blue, float alpha);
    int Set(int red, int green, int blue, float alpha);
    int Get(int& red, int& green, int& blue) const;
    int GetFull(int& red, int& green, int& blue, float& alpha) const;
    // The drawing colour and alpha become this colour's.
    int Apply() const;
    // The drawing colour only; the alpha stays.
    int ApplyNoAlpha() const;
    int Copy(const TColor& source);
    // The neutral drawing state between drawing steps: white at alpha 1.0, whatever this colour.
    int Restore() const;

    int R = 0;
    int G = 0;
    int B = 0;
    float Alpha = 1.0f;
};

class TShadow;
using TShadowPtr = std::shared_ptr<TShadow>;

// A black drop shadow: its offset in pixels and its alpha.
class TShadow {
public:
    static TShadowPtr Create(float x, float y, float alpha);
    int Init(float x, float y, float alpha);
    // Makes this shadow the setting of every following shadowed text.
    int ApplyToText() const;
    int Copy(const TShadow& source);
    // Black at the shadow's alpha; the caller draws at its position plus (X, Y).
    int Apply() const;
    // White at alpha 1.0.
    int Restore() const;

    float X = 1.0f;
    float Y = 1.0f;
    float Alpha = 0.5f;
};

// A filled rectangle in a colour; without a colour it draws nothing.
class TBox {
public:
    static TBox Create(float x, float y, float width, float height, const TColorPtr& color);
    int Init(float x, float y, float width, float height, const TColorPtr& color);
    int Draw() const;
    // Drops the colour.
    int Kill();

    float X = 0.0f;
    float Y = 0.0f;
    float W = 0.0f;
    float H = 0.0f;
    TColorPtr Color;
    // For the owner's use.
    int Active = 1;
};

// A filled circle; in its colour when it has one, else in the current drawing colour.
class TCircle {
public:
    static TCircle Create(int x, int y, int radius);
    int Draw() const;

    float x = 0.0f;
    float y = 0.0f;
    float r = 0.0f;
    TColorPtr Color;
};
