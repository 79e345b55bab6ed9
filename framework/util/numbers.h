#pragma once
// The library's arithmetic: rounding, clamping, animation frames and timing, stereo pan, an ease
// curve, power-of-two sizes, distances, a cubic Bezier point, overlap and containment tests,
// musical pitch ratios, a fast random number and vector conveniences. Angles are in degrees.

#include "framework/util/color.h"
#include "framework/util/vector.h"
#include "platform/graphics.h"

// Floor(x + 0.5): halves move upwards (2.5 -> 3, -2.5 -> -2).
int ccRound(float x);
// Half up to places decimals for positive values; negative values move toward zero.
float ccRoundFloat(float x, int places);
// 1 when value is 0 or closer to 0 than tolerance.
int ccAlmostZero(double value, double tolerance);
// The frame at counter of an animation of frames frames over length ticks: counted from the start
// when flag is set, from the end when it is clear; at most frames - 1, no lower clamp.
int ccCalcAnimFrame(float counter, int length, int frames, int flag);
float ccCalcMSPerFrame(int fps);
// -0.5 at the left edge of the screen, 0 in the middle, just under 0.5 at the right edge.
float ccCalcPan(float x);
// An S-shaped ease: 0 -> 0, 0.5 -> 0.5, 1 -> 1.
float ccRatioToSine180(float ratio);
// The smallest power of two, from 1, not below size (at most 2^30).
int ccPow2Size(int size);
// Clamps the variable to 0..100.
int ccRangeCheck100(int& value);
double ccPointToPointDist(double x1, double y1, double x2, double y2);
// The point at t of the cubic Bezier curve from (x0, y0) to (x3, y3) with the control points
// (cx1, cy1) and (cx2, cy2): note the order, start, end, then the controls.
int ccBezier(float x0, float y0, float x3, float y3, float cx1, float cy1, float cx2, float cy2,
             float t, float& x, float& y);
// 1 when the segment comes within the radius of the centre, the boundary included.
int ccCircleLineIntersect(const TCircle& circle, const TLine& line);
// 1 when the segment comes strictly closer than r to the centre.
int ccCircleLineIntersect2(double x1, double y1, double x2, double y2, double px, double py,
                           double r);
// 1 when the rectangles overlap; rectangles that only touch do not.
int ccRectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
// 1 when the point lies strictly inside the convex quadrilateral whose corners are given
// top-left, top-right, bottom-right, bottom-left on the y-down screen.
int ccGenericPointInQuad(int px, int py, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                         int y4);
// 1 when the image's frame drawn at (x, y) overlaps the rectangle; clears the collision layers.
int ccImageRectCollide(const platform::ImagePtr& image, float x, float y, int frame, float rx,
                       float ry, float rw, float rh);
// 2 to the power semitones / 12.
float ccGetMusicalNote(int semitones);
// The ratio of the degree-th note of the major scale above the root (two octaves: 0 to 14).
float ccGetMusicalNoteInScaleC(int degree);
// low + rand() % (high - low + 1) from the C library's generator; low when high < low.
int ccFastRand(int low, int high);
int ccFastRandSeed(int seed);
TVector ccVectorAdd(const TVector& a, const TVector& b);
// a - b.
TVector ccVectorSubtract(const TVector& a, const TVector& b);
TVector ccVectorMultiply(const TVector& a, float k);
