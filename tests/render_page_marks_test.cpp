// Where the marks for reading back go: inside the printable area, at least
// 5 mm from the paper's edges, clear of every field and of each other; and
// the page code's text read back as written.
#include "PageMarks.h"

#include <gtest/gtest.h>

namespace {

bool Overlap(const CanvasRect& a, const CanvasRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct MarkCase {
    const char* name;
    MarkedSheet sheet;
    std::vector<CanvasRect> fields;
};

// 600-dpi A4 without margins, a printer's Letter with 4 mm margins, A5 at
// 300 dpi with wide margins; fields in the corners and along the edges.
const MarkCase kCases[] = {
    {"A4, no fields", {4960, 7016, 600}, {}},
    {"A4, fields in every corner",
     {4960, 7016, 600},
     {{100, 100, 700, 700}, {4300, 100, 4900, 600}, {150, 6400, 600, 6950}, {4400, 6500, 4900, 7000}}},
    {"A4, a field along the bottom and the top",
     {4960, 7016, 600},
     {{600, 6200, 4300, 7000}, {600, 0, 4300, 800}}},
    {"Letter with printer margins", {4905, 6405, 600, 95, 95, 95, 95}, {{0, 0, 4905, 150}}},
    {"A5 at 300 dpi with wide margins", {1512, 2244, 300, 118, 118, 118, 118}, {{300, 300, 1200, 1900}}},
};

// A mark within 5 mm of the paper's edge or over a field would be lost or
// hide what the customer ticked.
TEST(PageMarks, PlacedWithinTheSheetClearOfFields) {
    for (const MarkCase& c : kCases) {
        const PageMarkPlaces places = PlacePageMarks(c.sheet, c.fields);
        const double px5mm = 5.0 * c.sheet.dpi / 25.4;
        std::vector<CanvasRect> all(places.corners.begin(), places.corners.end());
        all.push_back(places.code);
        for (std::size_t i = 0; i < all.size(); ++i) {
            const CanvasRect& r = all[i];
            EXPECT_GE(r.left + c.sheet.left, px5mm) << c.name << " mark " << i;
            EXPECT_GE(r.top + c.sheet.top, px5mm) << c.name << " mark " << i;
            EXPECT_GE(c.sheet.width - r.right + c.sheet.right, px5mm) << c.name << " mark " << i;
            EXPECT_GE(c.sheet.height - r.bottom + c.sheet.bottom, px5mm) << c.name << " mark " << i;
            for (const CanvasRect& f : c.fields)
                EXPECT_FALSE(Overlap(r, f)) << c.name << " mark " << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(Overlap(r, all[j])) << c.name << " marks " << j << ", " << i;
        }
        // The same sheet and fields give the same places: the reader finds them there.
        const PageMarkPlaces again = PlacePageMarks(c.sheet, c.fields);
        EXPECT_EQ(again.corners, places.corners);
        EXPECT_EQ(again.code, places.code);
    }
}

// A code read back must give the page and sheet it was printed with; text of
// anything else, or with values out of range, must not pass for a page code.
TEST(PageMarks, PageCodeTextRoundTripsAndRejectsOthers) {
    const PageCode code{QStringLiteral("0123456789abcdef0123456789abcdef"), 17,
                        {4905, 6405, 600, 95, 96, 97, 98}};
    const auto back = ParsePageCode(PageCodeText(code));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->identity, code.identity);
    EXPECT_EQ(back->page, 17);
    EXPECT_EQ(back->sheet, code.sheet);
    for (const char* bad : {"", "QLR1", "http://example.com",
                            "QLR1;abc;0;4960;7016;600;0;0;0;0", "QLR1;abc;1;4960;7016;10;0;0;0;0",
                            "QLR1;a b;1;4960;7016;600;0;0;0;0", "QLR1;abc;1;-5;7016;600;0;0;0;0",
                            "QLR2;abc;1;4960;7016;600;0;0;0;0",
                            "QLR1;abc;99999999999;4960;7016;600;0;0;0;0"})
        EXPECT_FALSE(ParsePageCode(bad)) << bad;
    int size = 0;
    EXPECT_FALSE(PageCodeModules(PageCodeText(code), &size).empty());
    EXPECT_GT(size, 20);
}

} // namespace

// A code with a copy's sheet number must give it back, one without must still
// read (prints made before sheet numbers), and a number out of range must not pass.
TEST(PageMarks, SheetNumbersRoundTripAndOldCodesStillRead) {
    const MarkedSheet sheet{4905, 6405, 600, 95, 96, 97, 98};
    for (const int number : {0, 1, 123456789, kMostSheetNumber}) {
        const PageCode code{QStringLiteral("abc"), 3, sheet, number};
        const auto back = ParsePageCode(PageCodeText(code));
        ASSERT_TRUE(back) << number;
        EXPECT_EQ(back->sheetNumber, number);
        EXPECT_EQ(back->page, 3);
        EXPECT_EQ(back->sheet, sheet);
    }
    const auto old = ParsePageCode("QLR1;abc;2;4960;7016;600;0;0;0;0");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->sheetNumber, 0);
    EXPECT_EQ(old->page, 2);
    for (const char* bad : {"QLR2;abc;1;0;4960;7016;600;0;0;0;0",
                            "QLR2;abc;1;-4;4960;7016;600;0;0;0;0",
                            "QLR2;abc;1;x;4960;7016;600;0;0;0;0",
                            "QLR2;abc;1;2000000001;4960;7016;600;0;0;0;0",
                            "QLR1;abc;1;5;4960;7016;600;0;0;0;0"})
        EXPECT_FALSE(ParsePageCode(bad)) << bad;
}
