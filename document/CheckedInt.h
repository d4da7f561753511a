#pragma once
// The one way a double read from a file becomes an int. A damaged file can hold
// NaN, infinities or any size of number; a plain static_cast of those is
// undefined behaviour. Every conversion here first brings the value into range.

#include <cstdint>

enum class IntRounding { Truncate, HalfEven, HalfAwayFromZero };

// v clamped to [low, high], then rounded as asked; NaN gives nanValue (which
// callers keep inside [low, high]).
int CheckedToInt(double v, int low, int high, IntRounding rounding, int nanValue);

// A whole-number setting as its spin box holds it after the value was set:
// rounded half away from zero, clamped to [low, high]; NaN and +inf give high,
// -inf gives low. The window, the export and the picture preparation all read
// stored whole numbers through this.
int WholeSettingValue(double v, int low, int high);
