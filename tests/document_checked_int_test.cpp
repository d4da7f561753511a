// Stored doubles become ints only through the checked conversion: NaN,
// infinities and huge values must neither be undefined behaviour nor differ
// from what the window's whole-number spin boxes show for them.
#include "CheckedInt.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// The values a whole-number spin box of 1..100 and of -100..200 holds after
// being set to each stored value (measured on the window's controls).
TEST(CheckedInt, WholeSettingsAsTheSpinBoxesHoldThem) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double stored;
        int brightness, saturation;
    };
    const Case cases[] = {
        {std::nan(""), 100, 200},
        {inf, 100, 200},
        {-inf, 1, -100},
        {1e300, 100, 200},
        {-1e300, 1, -100},
        {150, 100, 150},
        {-20, 1, -20},
        {40.4, 40, 40},
        {40.5, 41, 41},
        {41.5, 42, 42},
        {-0.5, 1, -1},
        {-1.5, 1, -2},
        {0.5, 1, 1},
        {99.5, 100, 100},
        {100.4, 100, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WholeSettingValue(c.stored, 1, 100), c.brightness) << c.stored;
        EXPECT_EQ(WholeSettingValue(c.stored, -100, 200), c.saturation) << c.stored;
    }
}

// Each rounding keeps to its rule inside the range and clamps outside it.
TEST(CheckedInt, RoundingsAndLimits) {
    EXPECT_EQ(CheckedToInt(2.5, -10, 10, IntRounding::HalfEven, 0), 2);
    EXPECT_EQ(CheckedToInt(3.5, -10, 10, IntRounding::HalfEven, 0), 4);
    EXPECT_EQ(CheckedToInt(-2.7, -10, 10, IntRounding::Truncate, 0), -2);
    EXPECT_EQ(CheckedToInt(2.5, -10, 10, IntRounding::HalfAwayFromZero, 0), 3);
    EXPECT_EQ(CheckedToInt(1e300, -10, 10, IntRounding::Truncate, 0), 10);
    EXPECT_EQ(CheckedToInt(-1e300, -10, 10, IntRounding::Truncate, 0), -10);
    EXPECT_EQ(CheckedToInt(std::nan(""), -10, 10, IntRounding::Truncate, 0), 0);
    EXPECT_EQ(CheckedToInt(std::nan(""), 1, 10, IntRounding::Truncate, 0), 1);
    EXPECT_EQ(CheckedToInt(3e9, INT32_MIN, INT32_MAX, IntRounding::Truncate, 0), INT32_MAX);
}

} // namespace
