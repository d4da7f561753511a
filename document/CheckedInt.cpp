#include "CheckedInt.h"

#include <algorithm>
#include <cmath>

int CheckedToInt(double v, int low, int high, IntRounding rounding, int nanValue) {
    if (std::isnan(v)) return std::clamp(nanValue, low, high);
    // Clamping before rounding keeps every value handed to the cast inside int.
    const double clamped = std::clamp(v, static_cast<double>(low), static_cast<double>(high));
    double whole = clamped;
    switch (rounding) {
    case IntRounding::Truncate:
        whole = std::trunc(clamped);
        break;
    case IntRounding::HalfEven:
        // nearbyint rounds in the current rounding mode, which is to nearest-even.
        whole = std::nearbyint(clamped);
        break;
    case IntRounding::HalfAwayFromZero:
        whole = std::round(clamped);
        break;
    }
    return std::clamp(static_cast<int>(whole), low, high);
}

int WholeSettingValue(double v, int low, int high) {
    // A spin box compares NaN as above its maximum.
    return CheckedToInt(v, low, high, IntRounding::HalfAwayFromZero, high);
}
