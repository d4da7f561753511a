// Placement of form fields in rows and across pages, on the recording canvas.

#include "LayoutTestSupport.h"

using namespace layout_test;

namespace {

// The first category's fields start below its name: T + 2 line heights of the
// 24-point category font (200 pixels at 600 dpi).
constexpr int kFirstFieldTop = kT + 2 * 200;
constexpr int kPen = 14; // 0.6 mm at 600 dpi

class FieldRows : public LayoutTest {
  protected:
    std::vector<Drawn> boxes, circles;
    std::vector<DrawnText> texts;

    RecordingCanvas PrintPage(int page) {
        RecordingCanvas canvas(kDpi);
        Print(canvas, page);
        boxes = DrawnOps(canvas, "Rectangle");
        circles = DrawnOps(canvas, "Ellipse");
        texts = Texts(canvas);
        return canvas;
    }
};

// Guards the row rule: boxes share edges and the third box that no longer fits
// starts the next row directly below the first, with no gap.
TEST_F(FieldRows, ThreeBoxesOnALineWithRoomForTwo) {
    settings.rightMarginMm = 117; // W - R = 2197: room for two 4 cm boxes from x = 283
    const int c = AddCategory("Maße");
    for (const char* name : {"a", "b", "c"})
        AddField(c, fkText, name, 4, 1);
    PrintPage(1);
    ASSERT_EQ(boxes.size(), 3u);
    const int w = RoundHalfEven(kL + 944.8837497711608) - kL; // 945
    EXPECT_EQ(boxes[0].op.args,
              (std::vector<long long>{kL, kFirstFieldTop, kL + w + 7, kFirstFieldTop + 236 + 7}));
    EXPECT_EQ(boxes[1].x1(), kL + w); // the second box starts at the first one's edge
    EXPECT_EQ(boxes[1].y1(), kFirstFieldTop);
    EXPECT_EQ(boxes[2].x1(), kL);                   // the third starts a new row ...
    EXPECT_EQ(boxes[2].y1(), kFirstFieldTop + 236); // ... directly below the first
    // Labels sit inside the boxes, G from the left edge, at the top.
    ASSERT_TRUE(FindText(texts, "b"));
    EXPECT_EQ(FindText(texts, "b").value().x, RoundHalfEven(kL + 944.8837497711608 + kG));
    EXPECT_EQ(FindText(texts, "b").value().y, kFirstFieldTop);
}

// Guards the height rule: a taller box opens a new row, a lower one stays in
// the row, and the row keeps the height of its first box.
TEST_F(FieldRows, TallerBoxOpensARowLowerBoxStays) {
    struct Case {
        double first, second;
        bool newRow;
        int rowHeight; // height the category adds before the next one
    };
    for (const Case& tc : {Case{1, 2, true, 472}, Case{2, 1, false, 472}}) {
        SCOPED_TRACE(tc.first);
        doc.NewAll();
        const int c = AddCategory("A");
        AddField(c, fkText, "x", 4, tc.first);
        AddField(c, fkText, "y", 4, tc.second);
        AddCategory("B");
        AddField(1, fkText, "z", 4, 1);
        PrintPage(1);
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[1].y1(), tc.newRow ? kFirstFieldTop + 236 : kFirstFieldTop);
        EXPECT_EQ(boxes[1].x1(), tc.newRow ? kL : RoundHalfEven(kL + 944.8837497711608));
        // The next category begins G below the last row: its name is th div 4 lower.
        const int lastRowTop = tc.newRow ? kFirstFieldTop + 236 : kFirstFieldTop;
        ASSERT_TRUE(FindText(texts, "B"));
        EXPECT_EQ(FindText(texts, "B").value().y, lastRowTop + tc.rowHeight + kG + 200 / 4);
    }
}

// Guards the rules after a check box: a text field leaves an empty band of its
// own height, a single-choice field follows directly.
TEST_F(FieldRows, FieldAfterACheckBox) {
    struct Case {
        FieldKind kind;
        int expectedOffset; // from the check box top
    };
    const int h = 354; // 1.5 cm
    for (const Case& tc : {Case{fkText, 236 + kG + h + kG}, Case{fkSingleChoice, 236 + kG}}) {
        SCOPED_TRACE(tc.kind);
        doc.NewAll();
        const int c = AddCategory("A");
        AddField(c, fkCheckBox, "box", 1, 1);
        AddField(c, tc.kind, "next", 4, 1.5);
        PrintPage(1);
        ASSERT_EQ(boxes.size(), tc.kind == fkText ? 2u : 1u);
        const long long checkTop = boxes[0].y1();
        EXPECT_EQ(checkTop, kFirstFieldTop + kG); // G below the (empty) row
        const long long nextTop = tc.kind == fkText ? boxes[1].y1() : circles.at(0).y1();
        const long long nextLeft = tc.kind == fkText ? boxes[1].x1() : circles.at(0).x1();
        EXPECT_EQ(nextTop, checkTop + tc.expectedOffset);
        EXPECT_EQ(nextLeft, kL);
    }
}

// Guards the 600 dpi pen: 0.6 mm is 14 pixels and a 5 cm box ends at
// round(x + 1181.10...) + 7, its height likewise by pen div 2.
TEST_F(FieldRows, PenWidthAndBoxEdgesAt600Dpi) {
    const int c = AddCategory("A");
    AddField(c, fkText, "", 5, 1);
    PrintPage(1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].penWidth, kPen);
    EXPECT_EQ(boxes[0].x2(), RoundHalfEven(kL + 1181.1046872139511) + 7);
    EXPECT_EQ(boxes[0].y2(), kFirstFieldTop + 236 + 7);
    EXPECT_EQ(boxes[0].brush, 0xFFFFFF); // field background
    EXPECT_FALSE(FindText(texts, ""));   // an empty name draws no label
}

// Guards label placement of check boxes: one line centred on the square, CR LF
// lines from the top one line height apart, a lone LF dropped.
TEST_F(FieldRows, CheckBoxLabels) {
    const int c = AddCategory("A");
    AddField(c, fkCheckBox, "eins", 1, 1);
    AddField(c, fkCheckBox, "zwei\r\ndrei", 1, 1);
    AddField(c, fkCheckBox, "vier\nfünf", 1, 1);
    PrintPage(1);
    ASSERT_EQ(boxes.size(), 3u);
    const int th = 117; // 14-point check box font at 600 dpi
    const int labelX = RoundHalfEven(kL + 236.2209374427902 + kG);
    auto one = FindText(texts, "eins");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->x, labelX);
    EXPECT_EQ(one->y, boxes[0].y1() + (236 - th) / 2);
    auto two = FindText(texts, "zwei");
    auto three = FindText(texts, "drei");
    ASSERT_TRUE(two && three);
    EXPECT_EQ(two->y, boxes[1].y1());
    EXPECT_EQ(three->y, boxes[1].y1() + th);
    EXPECT_TRUE(FindText(texts, "vierfünf"));
    EXPECT_EQ(FindText(texts, "vierfünf").value().y, boxes[2].y1() + (236 - th) / 2);
    // The next element starts trunc(s) + G below a check box's top, and a check
    // box itself starts G below that.
    EXPECT_EQ(boxes[1].y1(), boxes[0].y1() + 236 + 2 * kG);
}

// Guards single-choice rows: choices follow their labels after 3 G more, and
// break G lower when the next label no longer fits.
TEST_F(FieldRows, SingleChoiceRowsBreak) {
    settings.rightMarginMm = 117; // W - R = 2197
    const int c = AddCategory("A");
    for (const char* name : {"ja", "nein", "vielleicht"})
        AddField(c, fkSingleChoice, name, 1, 1);
    PrintPage(1);
    ASSERT_EQ(circles.size(), 3u);
    const int cw = 58; // 14-point character width of the recording canvas
    const double s = 236.2209374427902;
    EXPECT_EQ(circles[0].op.args,
              (std::vector<long long>{kL, kFirstFieldTop, RoundHalfEven(kL + s + 7),
                                      RoundHalfEven(kFirstFieldTop + s + 7)}));
    const double second = kL + s + 4 * kG + 2 * cw;
    EXPECT_EQ(circles[1].x1(), RoundHalfEven(second));
    EXPECT_EQ(circles[1].y1(), kFirstFieldTop);
    // "vielleicht" (10 characters) needs second + s + G + 4 * G + 580 > 2197: new row.
    EXPECT_EQ(circles[2].x1(), kL);
    EXPECT_EQ(circles[2].y1(), kFirstFieldTop + 236 + kG);
}

// Guards the row change between kinds: a single choice after a text row, a
// text box after a single-choice row and a taller circle each start a new row
// G below the row, at the left margin.
TEST_F(FieldRows, RowChangesBetweenKinds) {
    struct Case {
        FieldKind first, second;
        double secondHeight;
    };
    const Case cases[] = {
        {fkText, fkSingleChoice, 1},
        {fkSingleChoice, fkText, 1},
        {fkSingleChoice, fkSingleChoice, 1.5},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(testing::Message() << tc.first << " " << tc.second);
        doc.NewAll();
        const int c = AddCategory("A");
        AddField(c, tc.first, "a", 4, 1);
        AddField(c, tc.second, "b", 4, tc.secondHeight);
        PrintPage(1);
        ASSERT_EQ(boxes.size() + circles.size(), 2u);
        const Drawn& second = tc.second == fkText ? boxes.back() : circles.back();
        EXPECT_EQ(second.x1(), kL);
        EXPECT_EQ(second.y1(), kFirstFieldTop + 236 + kG);
    }
}

// Guards the page rule for text rows: the first box of a row passing the bottom
// limit moves to the next page at T + G, and the rest of the row follows it.
TEST_F(FieldRows, RowPastTheBottomLimitMovesToTheNextPage) {
    // Rows of 1 cm from 447: the row starting at 447 + k * 236 passes the limit
    // 6898 when its bottom does, i.e. from k = 27 on (6819 + 236 > 6898).
    const int c = AddCategory("A");
    for (int i = 0; i < 28 * 4 + 2; ++i)
        AddField(c, fkText, QString::number(i), 4, 1);
    PrintPage(1);
    EXPECT_EQ(boxes.size(), 27u * 4);
    EXPECT_EQ(boxes.back().y1(), kFirstFieldTop + 26 * 236);
    RecordingCanvas page2 = PrintPage(2);
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[0].op.args[0], kL);
    EXPECT_EQ(boxes[0].y1(), kT + kG);
    EXPECT_EQ(boxes[1].y1(), kT + kG);       // the row continues on the new page
    EXPECT_EQ(boxes[4].y1(), kT + kG + 236); // and the next row follows it
}

// Guards the page rule for a check box after a text row: it moves as soon as
// its top + trunc(s) + G + the row height passes the limit, and then starts at
// T + 2 G + that row's height.
TEST_F(FieldRows, CheckBoxAfterTextRowNearTheBottom) {
    const int limit = kPageH - kB; // 6898, no footer
    const int rowHeight = 472;     // a 2 cm text row
    for (int extra : {0, 1}) {
        SCOPED_TRACE(extra);
        // T chosen so that box top + trunc(s) + G + row height = limit + extra.
        const int t = limit + extra - 236 - kG - rowHeight - kG - rowHeight - 400;
        settings.topMarginMm = (t + 0.5) / (600 / kMmPerInch);
        ASSERT_EQ(MmToPixels(settings.topMarginMm, kDpi, 100), t);
        doc.NewAll();
        const int c = AddCategory("A");
        AddField(c, fkText, "row", 4, 2);
        AddField(c, fkCheckBox, "box", 1, 1);
        PrintPage(1);
        ASSERT_GE(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].y1(), t + 400);
        if (extra == 0) {
            ASSERT_EQ(boxes.size(), 2u);
            EXPECT_EQ(boxes[1].y1(), t + 400 + rowHeight + kG);
        } else {
            EXPECT_EQ(boxes.size(), 1u);
            PrintPage(2);
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].y1(), t + 2 * kG + rowHeight);
            EXPECT_EQ(boxes[0].x1(), kL);
        }
    }
}

// Guards against a damaged kind stopping the pass: the field is passed over
// and the fields around it are laid out as if it were not there.
TEST_F(FieldRows, UnknownKindIsPassedOver) {
    const int c = AddCategory("A");
    AddField(c, fkText, "a", 4, 1);
    AppendField(doc, c, fkText, "bad", 4, 9)->kind = 7;
    AddField(c, fkText, "b", 4, 1);
    PrintPage(1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].y1(), boxes[0].y1());
    EXPECT_FALSE(FindText(texts, "bad"));
}

// Guards against endless or runaway layout: a box taller than the page moves to
// a new page and the boxes after it in the row each take a page of their own.
TEST_F(FieldRows, BoxTallerThanThePage) {
    const int c = AddCategory("A");
    AddField(c, fkText, "a", 4, 40);
    AddField(c, fkText, "b", 4, 1);
    AddField(c, fkText, "c", 4, 1);
    RecordingCanvas canvas(kDpi);
    EXPECT_TRUE(Print(canvas, 3));
    EXPECT_FALSE(Print(canvas, 4));
    PrintPage(4);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].y1(), kT + kG);
}

} // namespace
