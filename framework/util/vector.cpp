#include "framework/util/vector.h"

#include "framework/util/globals.h"
#include "platform/graphics.h"

#include <cmath>
#include <numbers>

namespace {

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

TVector TVector::Create(double x, double y) {
    TVector v;
    v.x = x;
    v.y = y;
    return v;
}

TVector TVector::CreateFromPoints(double x1, double y1, double x2, double y2) {
    return Create(x2 - x1, y2 - y1);
}

TVector TVector::CreateFromVectorsAdded(const TVector& a, const TVector& b) {
    TVector v = a.CreateCopy();
    v.AddVector(b);
    return v;
}

TVector TVector::CreateFromVectorScaled(const TVector& a, double k) {
    TVector v = a.CreateCopy();
    v.Multiply(k);
    return v;
}

TVector TVector::CreateFromVectorsSubtracted(const TVector& a, const TVector& b) {
    TVector v = b.CreateCopy();
    v.SubtractVector(a);
    return v;
}

int TVector::AddVector(const TVector& v) {
    x += v.x;
    y += v.y;
    return 0;
}

double TVector::CalcLength() const {
    return std::sqrt(x * x + y * y);
}

TVector TVector::CalcNormal() const {
    return Create(-y, x);
}

double TVector::CalcSlope() const {
    return y / x;
}

TVector TVector::CreateCopy() const {
    return Create(x, y);
}

int TVector::CopyFrom(const TVector& v) {
    x = v.x;
    y = v.y;
    return 0;
}

double TVector::DotProduct(const TVector& v) const {
    return x * v.x + y * v.y;
}

int TVector::Draw(double ox, double oy, int lastPixel) const {
    platform::DrawLine(static_cast<float>(ox), static_cast<float>(oy), static_cast<float>(ox + x),
                       static_cast<float>(oy + y), lastPixel != 0);
    return 0;
}

int TVector::Multiply(double k) {
    x *= k;
    y *= k;
    return 0;
}

int TVector::Normalise() {
    const double length = CalcLength();
    x /= length;
    y /= length;
    return 0;
}

int TVector::Rebound(const TVector& surface) {
    TVector n = surface.CalcNormal();
    n.Normalise();
    const double d = DotProduct(n);
    x -= n.x * 2.0 * d;
    y -= n.y * 2.0 * d;
    return 0;
}

int TVector::Reverse() {
    x = 0.0 - x;
    y = 0.0 - y;
    return 0;
}

int TVector::Rotate(double angle) {
    const double c = std::cos(Radians(angle));
    const double s = std::sin(Radians(angle));
    // The new x passes through single precision; the new y keeps double precision.
    const float newX = static_cast<float>(x * c - y * s);
    y = x * s + y * c;
    x = newX;
    return 0;
}

int TVector::Scale(double k) {
    return Multiply(k);
}

int TVector::SubtractVector(const TVector& v) {
    x -= v.x;
    y -= v.y;
    return 0;
}

TLine TLine::Create(double sx, double sy, double ex, double ey) {
    TLine line;
    line.sx = sx;
    line.sy = sy;
    line.ex = ex;
    line.ey = ey;
    return line;
}

TLine TLine::CreateFromVector(double sx, double sy, const TVector& v) {
    return Create(sx, sy, sx + v.x, sy + v.y);
}

int TLine::CalcLength() {
    length = std::sqrt((ex - sx) * (ex - sx) + (ey - sy) * (ey - sy));
    return 0;
}

double TLine::CalcSlope() const {
    return (ey - sy) / (ex - sx);
}

int TLine::Draw(int lastPixel) const {
    if (Color)
        Color->Apply();
    platform::DrawLine(static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(ex),
                       static_cast<float>(ey), lastPixel != 0);
    if (Color)
        Color->Restore();
    return 0;
}

TVector TLine::GetVector() const {
    return TVector::Create(ex - sx, ey - sy);
}

int TLine::SetFromVector(const TVector& v, int x, int y) {
    sx = x;
    sy = y;
    ex = sx + v.x;
    ey = sy + v.y;
    return 0;
}

int TSineCounter::Init(float start, float end, float speed) {
    StartPoint = start;
    EndPoint = end;
    Speed = speed;
    Counter = start;
    return 0;
}

int TSineCounter::Manage() {
    Counter += Speed * Delta;
    const float range = EndPoint - StartPoint;
    if (Counter >= EndPoint)
        Counter -= range;
    if (Counter < StartPoint)
        Counter += range;
    ratio = static_cast<float>(std::sin(Radians(Counter)));
    return 0;
}
