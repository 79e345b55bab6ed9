#include "framework/util/color.h"

#include "framework/util/drawing.h"
#include "platform/graphics.h"

TColorPtr TColor::Create(int red, int green, int blue, float alpha) {
    auto color = std::make_shared<TColor>();
    color->Set(red, green, blue, alpha);
    return color;
}

int TColor::Set(int red, int green, int blue, float alpha) {
    R = red;
    G = green;
    B = blue;
    Alpha = alpha;
    return 0;
}

int TColor::Get(int& red, int& green, int& blue) const {
    red = R;
    green = G;
    blue = B;
    return 0;
}

int TColor::GetFull(int& red, int& green, int& blue, float& alpha) const {
    Get(red, green, blue);
    alpha = Alpha;
    return 0;
}

int TColor::Apply() const {
    platform::SetColor(R, G, B);
    platform::SetAlpha(Alpha);
    return 0;
}

int TColor::ApplyNoAlpha() const {
    platform::SetColor(R, G, B);
    return 0;
}

int TColor::Copy(const TColor& source) {
    return Set(source.R, source.G, source.B, source.Alpha);
}

int TColor::Restore() const {
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
    return 0;
}

TShadowPtr TShadow::Create(float x, float y, float alpha) {
    auto shadow = std::make_shared<TShadow>();
    shadow->Init(x, y, alpha);
    return shadow;
}

int TShadow::Init(float x, float y, float alpha) {
    X = x;
    Y = y;
    Alpha = alpha;
    return 0;
}

int TShadow::ApplyToText() const {
    return ccShadowTextSet(X, Y, Alpha);
}

int TShadow::Copy(const TShadow& source) {
    return Init(source.X, source.Y, source.Alpha);
}

int TShadow::Apply() const {
    platform::SetColor(0, 0, 0);
    platform::SetAlpha(Alpha);
    return 0;
}

int TShadow::Restore() const {
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
    return 0;
}

TBox TBox::Create(float x, float y, float width, float height, const TColorPtr& color) {
    TBox box;
    box.Init(x, y, width, height, color);
    return box;
}

int TBox::Init(float x, float y, float width, float height, const TColorPtr& color) {
    X = x;
    Y = y;
    W = width;
    H = height;
    Color = color;
    return 0;
}

int TBox::Draw() const {
    if (!Color)
        return 0;
    Color->Apply();
    platform::DrawRect(X, Y, W, H);
    Color->Restore();
    return 0;
}

int TBox::Kill() {
    Color.reset();
    return 0;
}

TCircle TCircle::Create(int x, int y, int radius) {
    TCircle circle;
    circle.x = static_cast<float>(x);
    circle.y = static_cast<float>(y);
    circle.r = static_cast<float>(radius);
    return circle;
}

int TCircle::Draw() const {
    if (Color)
        Color->Apply();
    platform::DrawOval(x - r, y - r, r * 2.0f, r * 2.0f);
    if (Color)
        Color->Restore();
    return 0;
}
