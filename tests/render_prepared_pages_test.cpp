// A form prepared for drawing without the editor: laying pages out (where
// the fields of a scan fall) reads no picture, drawing reads the background
// and the logo once, and both lay the pages out alike.
#include "DocumentEdits.h"
#include "FieldMap.h"
#include "FormDocument.h"
#include "PageImage.h"
#include "PreparedPages.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
constexpr int kDpi = 96;

struct PicturedForm {
    QTemporaryDir dir;
    FormDocument form;
    LayoutSettings settings;
    PicturedForm() {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString file = QDir(dir.path()).filePath(QStringLiteral("bild.png"));
        picture.save(file);
        settings.backgroundFile = file;
        settings.logoFile = file;
        settings.showLogo = true;
        for (int c = 0; c < 3; ++c) {
            AppendCategory(form, QStringLiteral("Kategorie %1").arg(c));
            for (int f = 0; f < 20; ++f)
                AppendField(form, c, static_cast<FieldKind>(f % 3),
                            QStringLiteral("Feld %1").arg(f), 4, 1);
        }
    }
};
} // namespace

// Guards against collecting returns reading and greying the background and
// logo, which only drawing needs, and against drawing without them.
TEST(PreparedPagesTest, OnlyDrawingReadsTheBackgroundAndTheLogo) {
    PicturedForm p;
    PreparedPages pages(p.form, p.settings, p.dir.path());
    const PageInput layout = pages.LayoutInput();
    EXPECT_EQ(layout.background, nullptr);
    EXPECT_EQ(layout.logo, nullptr);
    const int laidOut = PageCountUpTo(layout, kDpi, 100, 1000);
    EXPECT_EQ(pages.background().poi, nullptr);
    EXPECT_EQ(pages.logo().poi, nullptr);

    const PageInput drawing = pages.Input();
    ASSERT_NE(drawing.background, nullptr);
    ASSERT_NE(drawing.logo, nullptr);
    EXPECT_NE(pages.background().poi, nullptr);
    EXPECT_NE(pages.logo().poi, nullptr);
    EXPECT_GT(laidOut, 1);
    EXPECT_EQ(PageCountUpTo(drawing, kDpi, 100, 1000), laidOut);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(PageOfPlace(layout, kDpi, 100, c, 19), PageOfPlace(drawing, kDpi, 100, c, 19))
            << "category " << c;
}

// Guards against pages kept from a former form or former layout values after
// the form is replaced or a margin changes.
TEST(PreparedPagesTest, AnotherFormOrLayoutIsLaidOutAgain) {
    PicturedForm p;
    PreparedPages pages(p.form, p.settings, p.dir.path());
    const int before = PageCountUpTo(pages.LayoutInput(), kDpi, 100, 1000);
    LayoutSettings wider = p.settings;
    wider.topMarginMm = 120;
    pages.SetLayout(wider);
    EXPECT_GT(PageCountUpTo(pages.LayoutInput(), kDpi, 100, 1000), before);
    FormDocument small;
    AppendCategory(small, QStringLiteral("Eine"));
    AppendField(small, 0, fkText, QStringLiteral("Feld"), 4, 1);
    pages.SetForm(small, p.settings);
    EXPECT_EQ(PageCountUpTo(pages.LayoutInput(), kDpi, 100, 1000), 1);
}
