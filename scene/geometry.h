#pragma once

#include <cstdint>

// Plane geometry and colour helpers of the ball scene. Angles are degrees except where a
// function says radians; canvas coordinates have x to the right and y downward.

constexpr double Pi = 3.141592653589793;

double Distance(double x1, double y1, double x2, double y2);
// z of (A - O) x (B - O); positive when raising A's heading turns it toward B.
double Cross(double ox, double oy, double ax, double ay, double bx, double by);
// Turns (px, py) about (cx, cy) by the angle whose cosine is c and sine is s.
void RotateAbout(double cx, double cy, double px, double py, double c, double s, double* outX,
                 double* outY);
void RotateByAngle(double cx, double cy, double px, double py, double angleRadians, double* outX,
                   double* outY);
double RadToDeg(double radians);
double DegToRad(double degrees);
// Folds into [0, 360).
double NormalizeDegrees(double degrees);
// Takes a 0x00BBGGRR colour apart; bits 24-31 are ignored.
void SplitColor(uint32_t colour, int32_t* red, int32_t* green, int32_t* blue);
