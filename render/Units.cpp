#include "Units.h"

#include "CheckedInt.h"

#include <algorithm>
#include <cmath>

double ClampPixels(double v) {
    if (std::isnan(v)) return 0;
    return std::clamp(v, -kMaxPixels, kMaxPixels);
}

namespace {
constexpr int kMaxPixelInt = static_cast<int>(kMaxPixels);
} // namespace

int TruncPixels(double v) {
    return CheckedToInt(v, -kMaxPixelInt, kMaxPixelInt, IntRounding::Truncate, 0);
}

int RoundHalfEven(double v) {
    return CheckedToInt(v, -kMaxPixelInt, kMaxPixelInt, IntRounding::HalfEven, 0);
}

int MmToPixels(double mm, double dpi, double zoom) {
    return TruncPixels(zoom * (mm / kMmPerInch * dpi) / 100);
}

int FixedMmToPixels(double mm, double dpi, double zoom) {
    return TruncPixels(zoom * (dpi * (mm / kMmPerInch)) / 100);
}

double CmToPixelsExact(double cm, double dpi, double zoom) {
    return ClampPixels(zoom * (cm * 10 / kMmPerInch * dpi) / 100);
}

int CmToPixels(double cm, double dpi, double zoom) {
    return TruncPixels(CmToPixelsExact(cm, dpi, zoom));
}

int ScaledPoints(int points, double zoom, double factor) {
    const double scaled = factor == 1.0 ? points * zoom / 100 : points * factor * zoom / 100;
    // A stored font size can be any int; a line height of such a font would
    // overflow every sum of heights on the page.
    return CheckedToInt(scaled, 1, kMaxFontPoints, IntRounding::Truncate, 1);
}

int PageExtent(int printerPixels, int dpi, int printerDpi, double zoom) {
    if (printerDpi <= 0) return 0;
    const std::int64_t product = static_cast<std::int64_t>(printerPixels) * dpi;
    return TruncPixels(static_cast<double>(product) / printerDpi * zoom / 100);
}

int ToCoord(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, -2000000000LL, 2000000000LL));
}
