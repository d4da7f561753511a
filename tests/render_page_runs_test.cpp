// Whole passes: a page drawn alone against the same page of a print run, and
// the category picture cache kept across passes.

#include "CategoryPictureCache.h"
#include "Dib.h"
#include "LayoutTestSupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using namespace layout_test;

namespace {

class PageRuns : public PictureLayoutTest {
  protected:
    void SetUp() override {
        settings = LayoutSettings(); // header, footer, background, bands, capitals
        settings.logoFile.clear();
        newdib(&tile, 8, 4, 24);
        newdib(&logoPicture, 20, 10, 24);
        background = &tile;
        logo = &logoPicture;
        const QString before = Save("before.bmp", 120, 40, Qt::green);
        const QString below = Save("below.bmp", 30, 60, Qt::blue);
        for (int i = 0; i < 6; ++i) {
            AddCategory(QStringLiteral("Überschrift %1").arg(i)); // a heading
            const int c = AddCategory(QStringLiteral("Kategorie %1").arg(i));
            doc.SetRecord(c, NewCategoryRecord(i % 2 ? before : below, 2.5,
                                               QStringLiteral("Einführung\r\nmit zwei Zeilen"),
                                               i % 2 ? 0 : 1, i % 3 == 0));
            for (int f = 0; f < 5; ++f)
                AddField(c, fkText, QStringLiteral("Feld %1").arg(f), 4, 1.5);
            AddField(c, fkCheckBox, QStringLiteral("Ja\r\nbitte"), 1, 1);
            for (int f = 0; f < 4; ++f)
                AddField(c, fkSingleChoice, QStringLiteral("Wahl %1").arg(f), 1, 0.8);
            AddField(c, fkText, QStringLiteral("Bemerkung"), 18, 3);
        }
    }

    // Every page of a print run on one canvas: the operations of each call.
    std::vector<std::vector<CanvasOp>> PrintRun(CategoryPictureCache* cache) {
        pictures = cache;
        RecordingCanvas canvas(kDpi);
        std::vector<std::vector<CanvasOp>> pages;
        for (int page = 1; page < 100; ++page) {
            canvas.ClearOps();
            const bool more = Print(canvas, page);
            pages.push_back(canvas.Ops());
            if (!more) break;
        }
        pictures = nullptr;
        return pages;
    }
};

// Guards that the page breaks do not depend on the requested page or on the
// picture cache: each page drawn alone, in any order and without a cache,
// records exactly what the print run recorded for it.
TEST_F(PageRuns, PageAloneEqualsPageOfAPrintRun) {
    CategoryPictureCache cache;
    const auto run = PrintRun(&cache);
    ASSERT_GE(run.size(), 3u);
    for (int page = static_cast<int>(run.size()); page >= 1; --page) {
        SCOPED_TRACE(page);
        RecordingCanvas alone(kDpi);
        EXPECT_EQ(Print(alone, page), page < static_cast<int>(run.size()));
        EXPECT_EQ(Joined(alone.Ops()), Joined(run[page - 1]));
    }
    // Pictures of both kinds were drawn somewhere in the run.
    int drawn = 0;
    for (const auto& ops : run)
        for (const CanvasOp& op : ops)
            drawn += op.name == "StretchDIBits" && op.args[6] != 8;
    EXPECT_GT(drawn, 2);
}

// Guards the cost of a print run: each picture file is decoded once however
// many passes use it, and read again when the file changes.
TEST_F(PageRuns, CacheDecodesEachPictureOnce) {
    CategoryPictureCache cache;
    const auto first = PrintRun(&cache);
    EXPECT_EQ(cache.FilesRead(), 2);

    // Replace one picture with another of a different size and colour.
    ASSERT_TRUE(QFile::remove(dir.filePath("below.bmp")));
    Save("below.bmp", 31, 60, Qt::yellow);
    const auto second = PrintRun(&cache);
    EXPECT_EQ(cache.FilesRead(), 3);
    EXPECT_NE(first, second);

    // The cached run draws what a run without a cache draws.
    EXPECT_EQ(second, PrintRun(nullptr));
}

// Guards the cache's bookkeeping: a missing file is read each time and never
// kept, and a small capacity still gives the right picture for each path.
TEST_F(PageRuns, CacheMissingFilesAndEviction) {
    CategoryPictureCache cache(1);
    const QString a = Save("a.bmp", 2, 2, Qt::red);
    const QString b = Save("b.bmp", 3, 2, Qt::red);
    EXPECT_EQ(DibWidth(cache.Picture(a)), 2);
    EXPECT_EQ(DibWidth(cache.Picture(b)), 3);
    EXPECT_EQ(DibWidth(cache.Picture(a)), 2);
    EXPECT_EQ(cache.FilesRead(), 3);
    EXPECT_EQ(cache.Picture(dir.filePath("none.bmp")).poi, nullptr);
    EXPECT_EQ(cache.Picture(dir.filePath("none.bmp")).poi, nullptr);
    EXPECT_EQ(cache.FilesRead(), 5);
}

} // namespace
