// Unit conversions and the text helpers of the page layout.

#include "PaintToCanvas.h"
#include "TextHelpers.h"
#include "Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Guards the 25.39995 mm per inch constant and truncation of mm lengths.
TEST(Units, MillimetresAndCentimetres) {
    EXPECT_EQ(MmToPixels(0.6, 600, 100), 14);
    EXPECT_EQ(MmToPixels(12, 600, 100), 283);
    EXPECT_EQ(MmToPixels(12, 96, 50), 22);
    EXPECT_EQ(MmToPixels(25.4, 600, 100), 600); // 25.4 mm is a little more than an inch
    EXPECT_EQ(MmToPixels(25.39995, 600, 100), 600);
    EXPECT_EQ(MmToPixels(25.39, 600, 100), 599);
    EXPECT_NEAR(CmToPixelsExact(5, 600, 100), 1181.1046872, 1e-6);
    EXPECT_EQ(CmToPixels(1.5, 600, 100), 354);
    EXPECT_EQ(FixedMmToPixels(5, 600, 100), 118);
    EXPECT_EQ(FixedMmToPixels(1, 600, 100), 23);
}

// Guards rounding to the even neighbour at halves.
TEST(Units, RoundHalfEven) {
    const std::pair<double, int> cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}, {1181.6, 1182}};
    for (auto [v, expected] : cases)
        EXPECT_EQ(RoundHalfEven(v), expected) << v;
}

// Guards font scaling: trunc(p x Z / 100), 1.5 for headings, never below 1.
TEST(Units, FontPoints) {
    EXPECT_EQ(ScaledPoints(11, 50), 5);
    EXPECT_EQ(ScaledPoints(24, 100, 1.5), 36);
    EXPECT_EQ(ScaledPoints(11, 100, 1.5), 16);
    EXPECT_EQ(ScaledPoints(10, 5), 1);
    EXPECT_EQ(ScaledPoints(0, 100), 1);
    // A damaged file's font size must not give line heights that overflow.
    EXPECT_EQ(ScaledPoints(2000000000, 1000, 1.5), kMaxFontPoints);
    EXPECT_EQ(ScaledPoints(-2000000000, 100), 1);
}

// Guards against undefined conversions of damaged values (NaN, infinities,
// enormous sizes) into pixel coordinates.
TEST(Units, DamagedValuesAreClamped) {
    EXPECT_EQ(CmToPixels(std::numeric_limits<double>::quiet_NaN(), 600, 100), 0);
    EXPECT_EQ(CmToPixels(std::numeric_limits<double>::infinity(), 600, 100), 1000000000);
    EXPECT_EQ(MmToPixels(-1e300, 600, 100), -1000000000);
    EXPECT_EQ(RoundHalfEven(1e20), 1000000000);
}

// Guards the page geometry: the printer page scaled to the canvas resolution,
// A4 at 600 dpi without a printer.
TEST(Units, PageGeometry) {
    EXPECT_EQ(LayoutPageSize({}, 600, 100).width, 4960);
    EXPECT_EQ(LayoutPageSize({}, 600, 100).height, 7016);
    EXPECT_EQ(LayoutPageSize({0, 0, 0}, 600, 100).height, 7016);
    const PageSize letter = LayoutPageSize({2550, 3300, 300}, 96, 100);
    EXPECT_EQ(letter.width, 816);
    EXPECT_EQ(letter.height, 1056);
    EXPECT_EQ(LayoutPageSize({4960, 7016, 600}, 96, 150).width, 1190); // trunc(793.6 x 1.5)
}

// Guards CutFirstLine: split at the first CR only, LF stays with the rest.
TEST(TextHelpers, CutFirstLine) {
    struct Case {
        QString text, line, rest;
    };
    const Case cases[] = {
        {"eins\r\nzwei", "eins", "\nzwei"}, {"eins", "eins", ""}, {"", "", ""}, {"\r", "", ""},
        {"a\nb\rc\rd", "a\nb", "c\rd"},
    };
    for (const Case& tc : cases) {
        QString text = tc.text;
        EXPECT_EQ(CutFirstLine(text), tc.line) << tc.text.toStdString();
        EXPECT_EQ(text, tc.rest) << tc.text.toStdString();
    }
}

// Guards StripControlChars, and capitals that change every letter, not only a to z.
TEST(TextHelpers, StripAndCapitals) {
    EXPECT_EQ(StripControlChars(QStringLiteral("a\tb\r\nc\x1f ä")), QStringLiteral("abc ä"));
    const std::pair<QString, QString> capitals[] = {
        {QStringLiteral("Getränke 1a"), QStringLiteral("GETRÄNKE 1A")},
        {QStringLiteral("Größe"), QStringLiteral("GRÖSSE")},
        {QStringLiteral("Crème brûlée, Öl & Übriges"),
         QStringLiteral("CRÈME BRÛLÉE, ÖL & ÜBRIGES")},
        {QStringLiteral("ÄÖÜ 20 %"), QStringLiteral("ÄÖÜ 20 %")},
    };
    for (const auto& [text, upper] : capitals)
        EXPECT_EQ(UpperCaseLetters(text), upper) << text.toStdString();
}

} // namespace
