// The category block (band, name, picture, introduction text) and the pass
// as a whole, on the recording canvas.

#include "LayoutTestSupport.h"

#include <QImage>
#include <QTemporaryDir>

using namespace layout_test;

namespace {

class CategoryBlock : public LayoutTest {
  protected:
    QTemporaryDir dir;

    // A 24-bit BMP picture of w x h pixels in the test directory.
    QString Picture(const QString& name, int w, int h, QColor colour = Qt::red) {
        QImage image(w, h, QImage::Format_RGB888);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    void SetRecord(int category, const QString& picfile, double picwidth, const QString& intro,
                   int picbelow, bool textbelowpic) {
        doc.SetRecord(category,
                      NewCategoryRecord(picfile, picwidth, intro, picbelow, textbelowpic));
    }
};

// Guards the heading category: 1.5 times the font, a band 2 line heights high
// with the name half a line down, and 2.5 line heights of advance.
TEST_F(CategoryBlock, HeadingCategory) {
    settings.categoryAreaBand = true;
    AddCategory("Kopf");
    const int c = AddCategory("Next");
    AddField(c, fkText, "f", 4, 1);
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const auto fonts = canvas.OpsNamed("Font");
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts[0].args[0], 36); // 24 points x 1.5
    const int th = 300;
    const auto bands = DrawnOps(canvas, "Rectangle");
    ASSERT_GE(bands.size(), 2u);
    EXPECT_EQ(bands[0].op.args, (std::vector<long long>{0, kT, kPageW, kT + 2 * th}));
    EXPECT_EQ(bands[0].brush, settings.categoryAreaColour);
    const auto texts = Texts(canvas);
    ASSERT_TRUE(FindText(texts, "Kopf"));
    EXPECT_EQ(FindText(texts, "Kopf").value().y, kT + th / 2);
    // The next category: G below 2.5 line heights; an ordinary band is th + th div 2.
    const int nextTop = kT + th / 2 + 2 * th + kG;
    EXPECT_EQ(bands[1].op.args, (std::vector<long long>{0, nextTop, kPageW, nextTop + 300}));
    EXPECT_EQ(FindText(texts, "Next").value().y, nextTop + 200 / 4);
}

// Guards the category page break: a band that starts less than 3 of its own
// line heights above the bottom limit begins a new page at T, without G.
TEST_F(CategoryBlock, BreakThreeLineHeightsAboveTheLimit) {
    for (int extra : {0, 1}) {
        SCOPED_TRACE(extra);
        // Heading at t advances 750; the next band starts at t + 750 + G, and
        // needs 3 x 200 pixels above the limit 6898.
        const int t = kPageH - kB + extra - 600 - 750 - kG;
        settings.topMarginMm = (t + 0.5) / (600 / kMmPerInch);
        doc.NewAll();
        AddCategory("Kopf");
        AddField(AddCategory("Zweite"), fkText, "f", 4, 1);
        RecordingCanvas canvas(kDpi);
        Print(canvas, 1);
        auto name = FindText(Texts(canvas), "Zweite");
        if (extra == 0) {
            ASSERT_TRUE(name);
            EXPECT_EQ(name->y, t + 750 + kG + 50);
        } else {
            EXPECT_FALSE(name);
            canvas.ClearOps();
            Print(canvas, 2);
            name = FindText(Texts(canvas), "Zweite");
            ASSERT_TRUE(name);
            EXPECT_EQ(name->y, t + 50);
        }
    }
}

// Guards the picture before the name: scaled to the band height less 2 G even
// without a painted band, drawn G below the band top, the name after it.
TEST_F(CategoryBlock, PictureBeforeTheName) {
    const int c = AddCategory("Bild");
    AddField(c, fkText, "f", 4, 1);
    SetRecord(c, Picture("p.bmp", 100, 50), 5, "", 0, false);
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const auto pictures = canvas.OpsNamed("StretchDIBits");
    ASSERT_EQ(pictures.size(), 1u);
    // Band 300, less 2 G = 206; 5 cm = 1181 wide would be 590 high, so 412 x 206.
    const std::vector<long long> placed{kL, kT + kG, 412, 206, 0, 0, 100, 50};
    EXPECT_EQ(std::vector<long long>(pictures[0].args.begin(), pictures[0].args.begin() + 8),
              placed);
    EXPECT_EQ(FindText(Texts(canvas), "Bild").value().x, kL + 412 + kG);
    // The fields still start below the name at L.
    EXPECT_EQ(DrawnOps(canvas, "Rectangle").at(0).x1(), kL);
}

// Guards the picture before the name of a heading: the limit is its band of
// 2 line heights less 2 G, and the name follows the picture half a line down.
TEST_F(CategoryBlock, PictureBeforeTheNameOfAHeading) {
    const int c = AddCategory("Kopf");
    SetRecord(c, Picture("p.bmp", 100, 50), 5, "", 0, false);
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const auto pictures = canvas.OpsNamed("StretchDIBits");
    ASSERT_EQ(pictures.size(), 1u);
    // Band 2 x 300 = 600, less 2 G = 506; 1181 wide would be 590 high: 1012 x 506.
    const std::vector<long long> placed{kL, kT + kG, 1012, 506, 0, 0, 100, 50};
    const auto& args = pictures[0].args;
    EXPECT_EQ(std::vector<long long>(args.begin(), args.begin() + 8), placed);
    const auto name = FindText(Texts(canvas), "Kopf");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->x, kL + 1012 + kG);
    EXPECT_EQ(name->y, kT + 300 / 2);
}

// Guards the picture below the name with the introduction text beside it or
// below it, and how far the block advances.
TEST_F(CategoryBlock, PictureBelowTheNameWithIntroductionText) {
    struct Case {
        bool textBelow;
        int introLeft, introTop, fieldTop;
    };
    const int top = kT + 400;     // below the name
    const int pw = 236, ph = 472; // 1 cm wide, picture 10 x 20 pixels
    const int introBottom = 92;   // one 11-point line
    const Case cases[] = {
        // Beside: the block ends at the lower of text (+ a line) and picture + G.
        {false, kL + pw + kG, top, std::max(top + introBottom + 92, top + kG + ph)},
        // Below: the text starts ph + G lower, the block ends after it.
        {true, kL, top + ph + kG, top + ph + kG + introBottom + 92},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.textBelow);
        doc.NewAll();
        const int c = AddCategory("Bild");
        AddField(c, fkText, "f", 4, 1);
        SetRecord(c, Picture("tall.bmp", 10, 20), 1, "Hallo", 1, tc.textBelow);
        RecordingCanvas canvas(kDpi);
        Print(canvas, 1);
        const auto pictures = canvas.OpsNamed("StretchDIBits");
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].args[0], kL);
        EXPECT_EQ(pictures[0].args[1], top);
        EXPECT_EQ(pictures[0].args[2], pw);
        EXPECT_EQ(pictures[0].args[3], ph);
        const auto intro = canvas.OpsNamed("DrawWrappedText");
        ASSERT_EQ(intro.size(), 1u);
        EXPECT_EQ(intro[0].args[0], tc.introLeft);
        EXPECT_EQ(intro[0].args[1], tc.introTop);
        EXPECT_EQ(intro[0].args[2], kPageW - kR);
        EXPECT_EQ(DrawnOps(canvas, "Rectangle").at(0).y1(), tc.fieldTop);
    }
}

// Guards introduction text wrapping: stored line breaks and word breaks both
// start lines, and the block advances by the measured height plus a line.
TEST_F(CategoryBlock, IntroductionTextIsMeasuredAndDrawnAsStored) {
    settings.rightMarginMm = 167; // W - R - L = 4960 - 3944 - 283 = 733: 15 characters of 46 pixels
    const int c = AddCategory("Text");
    AddField(c, fkText, "f", 4, 1);
    const QString intro = QStringLiteral("eins zwei drei vier\r\nfünf & sechs");
    SetRecord(c, "", 0, intro, 0, false);
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const auto drawn = canvas.OpsNamed("DrawWrappedText");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, intro); // as stored, line breaks included
    // "eins zwei drei" | "vier" | "fünf & sechs": 3 lines of 92.
    EXPECT_EQ(drawn[0].args[3], kT + 400 + 3 * 92);
    EXPECT_EQ(DrawnOps(canvas, "Rectangle").at(0).y1(), kT + 400 + 4 * 92);
}

// Guards failure handling of pictures: a file that cannot be read takes no
// space and draws nothing; a category without record has neither.
TEST_F(CategoryBlock, MissingPictureTakesNoSpace) {
    for (int picbelow : {0, 1}) {
        doc.NewAll();
        const int c = AddCategory("Bild");
        AddField(c, fkText, "f", 4, 1);
        SetRecord(c, dir.filePath("missing.bmp"), 5, "", picbelow, false);
        RecordingCanvas canvas(kDpi);
        Print(canvas, 1);
        EXPECT_TRUE(canvas.OpsNamed("StretchDIBits").empty());
        EXPECT_EQ(FindText(Texts(canvas), "Bild").value().x, kL);
        EXPECT_EQ(DrawnOps(canvas, "Rectangle").at(0).y1(), kT + 400);
    }
}

// Guards the capitals rule (every letter in full upper case, ß as SS) and the
// opaque underlay.
TEST_F(CategoryBlock, CapitalsAndUnderlay) {
    settings.categoryNamesInCapitals = true;
    settings.categoryNameBand = true;
    AddField(AddCategory(QStringLiteral("Größe")), fkText, "f", 4, 1);
    AddField(AddCategory(QStringLiteral("Getränke\t")), fkText, "f", 4, 1);
    RecordingCanvas canvas(kDpi);
    Print(canvas, 1);
    const auto texts = Texts(canvas);
    EXPECT_TRUE(FindText(texts, QStringLiteral("GRÖSSE")));
    EXPECT_TRUE(FindText(texts, QStringLiteral("GETRÄNKE"))); // control characters dropped
    const auto& ops = canvas.Ops();
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (ops[i].name == "TextOut" && ops[i].text == QStringLiteral("GRÖSSE")) {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(ops[i - 1].name, "OpaqueText");
            EXPECT_EQ(ops[i - 1].args[0], settings.categoryNameColour);
        }
}

// Guards the result and the page outside the document: an empty document has
// one page, and a page beyond the end shows only the preview's fill and outline.
TEST_F(CategoryBlock, EmptyDocumentAndPageBeyondTheEnd) {
    RecordingCanvas canvas(kDpi);
    EXPECT_FALSE(Print(canvas, 1));
    canvas.ClearOps();
    EXPECT_FALSE(PaintToCanvas(canvas, Input(), kDpi, 800, 1000, 2, 100, false));
    EXPECT_EQ(canvas.Dump(), "SolidBrush 16777215\nPen 0 1\nRectangle 0 0 800 1000\n"
                             "ClearBrush\nPen 0 1\nRectangle 0 0 800 1000\n");
    canvas.ClearOps();
    EXPECT_FALSE(Print(canvas, 2));
    EXPECT_TRUE(canvas.Ops().empty());
}

// Guards the zoom: lengths shrink by half, fonts to trunc(p x 0.5) points.
TEST_F(CategoryBlock, ZoomFiftyOnScreen) {
    const int c = AddCategory("Z");
    AddField(c, fkText, "f", 4, 1);
    SetRecord(c, "", 0, "x", 0, false);
    RecordingCanvas canvas(96);
    const PageSize size = LayoutPageSize({}, 96, 50);
    EXPECT_EQ(size.width, 396); // trunc(4960 x 96 / 600 x 0.5)
    EXPECT_EQ(size.height, 561);
    PaintToCanvas(canvas, Input(), 96, size.width, size.height, 1, 50, false);
    std::vector<long long> points;
    for (const CanvasOp& f : canvas.OpsNamed("Font"))
        points.push_back(f.args[0]);
    EXPECT_EQ(points, (std::vector<long long>{12, 5, 5, 5,
                                              10})); // 24, 11 and 10 (label, twice) points halved,
    // then the canvas font is handed back
    EXPECT_EQ(FindText(Texts(canvas), "Z").value().x, MmToPixels(12, 96, 50));
    EXPECT_EQ(MmToPixels(12, 96, 50), 22);
}

} // namespace
