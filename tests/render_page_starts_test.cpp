// Pages drawn from the page starts kept in a PageStartIndex against the same
// pages laid out from page 1, and how much of the document a drawing lays out.

#include "GeneratedForms.h"
#include "QPainterCanvas.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <numeric>
#include <random>

using namespace layout_test;

namespace {

// A recording canvas that counts text measurements: every category and field
// laid out measures text, so the count tells how much of the document a
// drawing went through.
class CountingCanvas : public RecordingCanvas {
  public:
    using RecordingCanvas::RecordingCanvas;
    int measurements = 0;
    int TextWidth(const QString& text) override {
        ++measurements;
        return RecordingCanvas::TextWidth(text);
    }
    int TextHeight(const QString& text) override {
        ++measurements;
        return RecordingCanvas::TextHeight(text);
    }
    void MeasureWrappedText(CanvasRect& rect, const QString& text) override {
        ++measurements;
        RecordingCanvas::MeasureWrappedText(rect, text);
    }
};

class PageStartsTest : public GeneratedFormTest {
  protected:
    PageStartIndex index;

    // Page `page` drawn on a canvas of its own, as it reaches the paper.
    std::string Paper(int page, bool* more = nullptr) {
        RecordingCanvas canvas(kDpi);
        const bool follows = Print(canvas, page);
        if (more) *more = follows;
        PaperTrace trace;
        return PaperOf(canvas.Ops(), 0, canvas.Ops().size(), trace);
    }

    // Measurements of one drawing of page `page`.
    int Work(int page) {
        CountingCanvas canvas(kDpi);
        Print(canvas, page);
        return canvas.measurements;
    }
};

class PageStarts : public PageStartsTest, public ::testing::WithParamInterface<DocumentCase> {};

// Guards the resumed pass: every page drawn from its kept start, in any order
// (forwards, backwards, shuffled, each after the index was dropped), has
// exactly the drawings, fonts, pens and brushes of the page laid out from
// page 1, and the same answer whether a page follows.
TEST_P(PageStarts, EveryPageEqualsThePageLaidOutFromTheStart) {
    Build(GetParam());
    const std::vector<std::string> expected = PageByPage();
    const int pages = static_cast<int>(expected.size());
    ASSERT_GE(pages, 2);
    pageStarts = &index;

    std::vector<int> forwards(pages);
    std::iota(forwards.begin(), forwards.end(), 1);
    std::vector<int> backwards(forwards.rbegin(), forwards.rend());
    std::vector<int> shuffled = forwards;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(GetParam().seed));
    for (const auto* order : {&forwards, &backwards, &shuffled}) {
        index.Invalidate();
        for (int page : *order) {
            SCOPED_TRACE(testing::Message() << "page " << page);
            bool more = false;
            EXPECT_EQ(Paper(page, &more), expected[static_cast<std::size_t>(page - 1)]);
            EXPECT_EQ(more, page < pages);
        }
        // Beyond the end: nothing, and no page follows.
        bool more = true;
        EXPECT_EQ(Paper(pages + 1, &more), "");
        EXPECT_FALSE(more);
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedDocuments, PageStarts,
                         ::testing::Values(
                             // name, seed, categories, decorations, pictures, gradient, cache
                             DocumentCase{"PlainFields", 1, 40, false, false, false, false},
                             DocumentCase{"PicturesAndIntroductions", 2, 40, false, true, false,
                                          false},
                             DocumentCase{"PicturesThroughCache", 3, 40, false, true, false, true},
                             DocumentCase{"DecoratedWithGradient", 5, 25, true, true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A long document of rows of text fields, check boxes and single choices.
class PageStartsWork : public PageStartsTest {
  protected:
    int LongDocument() {
        Build({"Long", 9, 120, true, true, false, true});
        int pages = 1;
        for (RecordingCanvas probe(kDpi); Print(probe, pages); probe.ClearOps())
            ++pages;
        return pages;
    }
};

// Guards the cost of a page: page 1 never lays out the pages after it, the
// first drawing of the last page lays the document out once, and from then
// on the last page costs about what page 1 costs.
TEST_F(PageStartsWork, APageCostsItsOwnLayout) {
    const int pages = LongDocument();
    ASSERT_GE(pages, 12);
    const int wholeDocument = Work(pages);
    EXPECT_LT(Work(1) * 4, wholeDocument); // page 1 alone, without an index

    pageStarts = &index;
    EXPECT_LT(Work(1) * 4, wholeDocument);
    EXPECT_LE(Work(pages), wholeDocument); // pages 1 to the last, once
    const int lastAgain = Work(pages);
    EXPECT_LT(lastAgain * 4, wholeDocument);
    EXPECT_LT(Work(pages - 1) * 4, wholeDocument);
    EXPECT_LT(Work(pages + 5) * 4, wholeDocument); // beyond the end
}

// Guards dropping the index: after the document changed and Invalidate() was
// called, and after a layout value changed (which the index notices by
// itself), every page is the page laid out from the start.
TEST_F(PageStartsWork, ChangesDropTheKeptStarts) {
    const int pages = LongDocument();
    pageStarts = &index;
    for (int page = 1; page <= pages; ++page)
        Paper(page);

    // A tall field in the first category pushes everything down.
    AddField(0, fkText, "Neu", 4, 6);
    doc.MoveCategory(1, 2);
    index.Invalidate();
    pageStarts = nullptr;
    std::vector<std::string> expected = PageByPage();
    pageStarts = &index;
    for (int page = static_cast<int>(expected.size()); page >= 1; --page)
        EXPECT_EQ(Paper(page), expected[static_cast<std::size_t>(page - 1)]) << page;

    // A wider top margin, no Invalidate().
    settings.topMarginMm += 7;
    pageStarts = nullptr;
    expected = PageByPage();
    pageStarts = &index;
    for (int page = static_cast<int>(expected.size()); page >= 1; --page)
        EXPECT_EQ(Paper(page), expected[static_cast<std::size_t>(page - 1)]) << page;

    // The zoom and the canvas are part of the layout too: both are kept.
    EXPECT_EQ(index.Layouts(), 2);
}

// Guards keeping the page starts before a change: after a tall field was
// added in a category halfway down and InvalidateFrom() named that place,
// every page is the page laid out from the start, and drawing the last page
// again lays out only the pages from the change on.
TEST_F(PageStartsWork, AChangeKeepsThePagesBeforeIt) {
    const int pages = LongDocument();
    pageStarts = &index;
    const int wholeDocument = Work(pages);
    for (int page = 1; page <= pages; ++page)
        Paper(page);

    const int category = doc.CategoryCount() * 3 / 4;
    const int field = static_cast<int>(doc.Fields(category)->Count());
    AddField(category, fkText, "Neu", 4, 6);
    index.InvalidateFrom(category, field);
    pageStarts = nullptr;
    const std::vector<std::string> expected = PageByPage();
    pageStarts = &index;
    const int last = static_cast<int>(expected.size());
    EXPECT_LT(Work(last) * 2, wholeDocument); // from the change on, not from page 1
    for (int page = last; page >= 1; --page)
        EXPECT_EQ(Paper(page), expected[static_cast<std::size_t>(page - 1)]) << page;
}

// Guards a category picture replaced on disk by one of another height: the
// kept page starts were worked out with the old height, so the pages drawn
// through the index must be the new pages laid out from the start, with as
// many pages - whether the pictures come through the cache or not.
TEST_F(PageStartsWork, APictureReplacedOnDiskMovesThePageStarts) {
    const QString picture = Save("bild.bmp", 100, 150, Qt::red); // 10 x 15 cm
    for (int c = 0; c < 12; ++c) {
        const int k = AddCategory(QStringLiteral("Kategorie %1").arg(c));
        doc.SetRecord(k, NewCategoryRecord(picture, 10, QString(), 1, true));
        for (int f = 0; f < 3; ++f)
            AddField(k, fkText, QStringLiteral("Feld %1").arg(f), 8, 2);
    }
    const struct {
        CategoryPictureCache* cache;
        int height; // of the picture written next, in pixels
    } rounds[] = {{&cache, 20}, {&cache, 150}, {nullptr, 20}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.height);
        pictures = round.cache;
        pageStarts = &index;
        std::vector<std::string> before;
        for (bool more = true; more;)
            before.push_back(Paper(static_cast<int>(before.size()) + 1, &more));

        Save("bild.bmp", 100, round.height, Qt::blue);
        pageStarts = nullptr;
        const std::vector<std::string> expected = PageByPage();
        ASSERT_NE(expected.size(), before.size());
        pageStarts = &index;
        const int pages = static_cast<int>(expected.size());
        for (int page = pages; page >= 1; --page) {
            bool more = false;
            EXPECT_EQ(Paper(page, &more), expected[static_cast<std::size_t>(page - 1)]) << page;
            EXPECT_EQ(more, page < pages) << page;
        }
        bool more = true;
        EXPECT_EQ(Paper(pages + 1, &more), "");
        EXPECT_FALSE(more);
    }
}

// Guards the real canvas: preview pages at a low resolution and zoom 150,
// drawn through the index in reverse order, have the pixels of the pages laid
// out from page 1.
TEST_F(PageStartsWork, PainterPagesMatchPagesLaidOutFromTheStart) {
    Build({"Painter", 12, 40, true, true, true, true});
    constexpr int dpi = 40;
    constexpr double zoom = 150;
    PageInput plain = Input();
    const PageSize size = LayoutPageSize(plain.printer, dpi, zoom);
    auto draw = [&](const PageInput& in, int page, bool* more) {
        QImage image(size.width, size.height, QImage::Format_RGB32);
        image.fill(Qt::green);
        QPainter painter(&image);
        QPainterCanvas canvas(painter, dpi);
        *more = PaintToCanvas(canvas, in, dpi, size.width, size.height, page, zoom, false);
        return image;
    };
    std::vector<QImage> expected;
    for (bool more = true; more;)
        expected.push_back(draw(plain, static_cast<int>(expected.size()) + 1, &more));
    ASSERT_GE(expected.size(), 3u);

    PageInput indexed = plain;
    indexed.pageStarts = &index;
    for (int page = static_cast<int>(expected.size()); page >= 1; --page) {
        SCOPED_TRACE(page);
        bool more = false;
        EXPECT_TRUE(draw(indexed, page, &more) == expected[static_cast<std::size_t>(page - 1)]);
        EXPECT_EQ(more, page < static_cast<int>(expected.size()));
    }
}

} // namespace
