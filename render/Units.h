#pragma once
// Length and font size conversions of the page layout. D is the canvas
// resolution in pixels per inch, Z the zoom in percent; one inch is taken as
// 25.39995 mm. Results that do not fit a pixel coordinate (a damaged file can
// hold any number) are clamped to +-kMaxPixels; NaN becomes 0.

#include <cstdint>

constexpr double kMmPerInch = 25.39995;
constexpr double kMaxPixels = 1.0e9;

// Clamps a floating-point pixel value into the coordinate range.
double ClampPixels(double v);
// Cuts towards zero (after clamping).
int TruncPixels(double v);
// Nearest integer, halves to the even neighbour (after clamping).
int RoundHalfEven(double v);

// trunc(Z x (mm / 25.39995 x D) / 100): margins, gaps, line widths.
int MmToPixels(double mm, double dpi, double zoom);
// trunc(Z x (D x (mm / 25.39995)) / 100): the fixed 5 mm below the footer and
// the 1 mm frame pen, computed in this order.
int FixedMmToPixels(double mm, double dpi, double zoom);
// Z x (cm x 10 / 25.39995 x D) / 100, kept fractional (field sizes).
double CmToPixelsExact(double cm, double dpi, double zoom);
// The same, truncated (pictures, logo, background tiles).
int CmToPixels(double cm, double dpi, double zoom);
// The largest scaled font size: 100,000 points (35 m), beyond any page.
constexpr int kMaxFontPoints = 100000;
// trunc(points x factor x Z / 100), at least 1 and at most kMaxFontPoints
// (factor 1.5 for heading names).
int ScaledPoints(int points, double zoom, double factor = 1.0);
// trunc(printerPixels x D / printerDpi x Z / 100), with printerPixels x D an
// integer product: the page width or height in canvas pixels.
int PageExtent(int printerPixels, int dpi, int printerDpi, double zoom);
// Clamps a wide coordinate into the int range canvases take.
int ToCoord(std::int64_t v);
