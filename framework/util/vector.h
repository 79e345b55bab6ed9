#pragma once
// Two-dimensional vectors and segments of doubles, and the sine counter: an angle that advances by
// a speed times the logic step and wraps between two bounds (it drives sprite glow). Angles are in
// degrees; a positive rotation is clockwise on the y-down screen.

#include "framework/util/color.h"

class TVector {
public:
    static TVector Create(double x, double y);
    // The vector from (x1, y1) to (x2, y2).
    static TVector CreateFromPoints(double x1, double y1, double x2, double y2);
    static TVector CreateFromVectorsAdded(const TVector& a, const TVector& b);
    static TVector CreateFromVectorScaled(const TVector& a, double k);
    // b - a: the vector from a to b.
    static TVector CreateFromVectorsSubtracted(const TVector& a, const TVector& b);

    int AddVector(const TVector& v);
    double CalcLength() const;
    // (-y, x)
    TVector CalcNormal() const;
    double CalcSlope() const;
    TVector CreateCopy() const;
    int CopyFrom(const TVector& v);
    double DotProduct(const TVector& v) const;
    // A line from (ox, oy) to (ox + x, oy + y) in the current colour.
    int Draw(double ox, double oy, int lastPixel) const;
    int Multiply(double k);
    int Normalise();
    // Reflects off a surface running along the given direction (not its normal).
    int Rebound(const TVector& surface);
    int Reverse();
    int Rotate(double angle);
    int Scale(double k);
    int SubtractVector(const TVector& v);

    double x = 0.0;
    double y = 0.0;
};

// A segment with a cached length and an optional colour.
class TLine {
public:
    // length stays 0 until CalcLength.
    static TLine Create(double sx, double sy, double ex, double ey);
    static TLine CreateFromVector(double sx, double sy, const TVector& v);

    int CalcLength();
    double CalcSlope() const;
    // In its colour (then white at alpha 1.0) when it has one, else in the current colour.
    int Draw(int lastPixel) const;
    TVector GetVector() const;
    int SetFromVector(const TVector& v, int x, int y);

    double sx = 0.0;
    double sy = 0.0;
    double ex = 0.0;
    double ey = 0.0;
    double length = 0.0;
    TColorPtr Color;
};

class TSineCounter {
public:
    // Bounds and speed; the counter starts at start; ratio stays as it was.
    int Init(float start, float end, float speed);
    // One logic step: Counter += Speed * Delta, wrapped at most once each way; ratio = its sine.
    int Manage();

    float Counter = 0.0f;
    float Speed = 1.0f;
    float StartPoint = 0.0f;
    float EndPoint = 360.0f;
    float ratio = 0.0f;
};

struct TCollideObject {
    int Value = 0;
};
