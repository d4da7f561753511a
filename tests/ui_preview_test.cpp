// The page preview on the tab "Formular erzeugen": its size rule, the repaint
// after a size change, drawing only the exposed part, and the mouse wheel.
#include "MainFormFixture.h"
#include "PrintController.h"
#include "PrinterRun.h"
#include "QPainterCanvas.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPixmap>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QWheelEvent>
#include <QWidget>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlack = 0xFF000000;

class PreviewTest : public MainFormFixture {
  protected:
    void SetUp() override {
        // Large text is drawn from the glyph cache, as in the program.
        ConfigureGlyphCache();
        PutDefaultLogo();
        StartForm();
        form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
        ASSERT_EQ(form->logicalDpiX(), 96);
    }
    // A PDF printer: A4 at 600 dpi, with printable margins of 12 points.
    void UseNarrowPrinter() {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetUpPdfPrinter(*printer, QString());
        printer->setFullPage(false);
        printer->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Point);
        form->printing().SetCurrentPrinter(std::move(printer));
    }
    // A few categories with fields of every kind, over two pages.
    void FillDocument() {
        Document& doc = form->document();
        AppendCategory(doc, QStringLiteral("Bestellung"));
        const int drinks = AppendCategory(doc, QStringLiteral("Getränke"));
        AppendField(doc, drinks, fkText, QStringLiteral("Wasser"), 5.5, 1.3);
        AppendField(doc, drinks, fkCheckBox, QStringLiteral("Saft"), 4, 1);
        AppendField(doc, drinks, fkSingleChoice, QStringLiteral("Kaffee"), 3.3, 1);
        const int food = AppendCategory(doc, QStringLiteral("Speisen"));
        for (int i = 0; i < 6; ++i)
            AppendField(doc, food, fkText, QStringLiteral("Gericht %1").arg(i + 1), 8.7, 5.1);
    }
    // Paints the paint box as the screen would, into an image; rect limits the
    // exposed part.
    QImage Paint(const QRect& rect = QRect()) {
        const QPixmap pixmap =
            rect.isNull() ? form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->grab()
                          : form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->grab(rect);
        return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Paints until the box keeps its size, as the event loop would.
    QImage PaintSettled() {
        QSize before;
        QImage image;
        do {
            before = form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->size();
            image = Paint();
        } while (form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->size() != before);
        return image;
    }
};

// The page on screen is trunc(zoom x (printer page x screen dpi / printer dpi) / 100).
TEST(PreviewSizeRuleTest, ScreenPageFollowsPrinterPageAndZoom) {
    struct Case {
        int printerWidth, zoom, width;
    };
    for (const Case c : {Case{4760, 100, 761}, Case{4760, 200, 1523}, Case{4760, 1000, 7616},
                         Case{4760, 1, 7}, Case{4960, 100, 793}}) {
        const PageSize page = LayoutPageSize(PrinterPage{c.printerWidth, 6814, 600}, 96, c.zoom);
        EXPECT_EQ(page.width, c.width) << c.printerWidth << " at zoom " << c.zoom;
    }
}

// The paint box takes the page size of the form's printer and is 8 pixels
// taller than the page, 8 pixels from the scroll box's corner.
TEST_F(PreviewTest, PaintBoxTakesThePrinterPageSize) {
    UseNarrowPrinter();
    const PrinterPage printer = PrinterPageOf(form->printing().CurrentPrinter());
    ASSERT_EQ(printer.dpi, 600);
    ASSERT_LT(printer.width, 4960); // the margins are taken off
    for (const int zoom : {100, 200, 50, 1}) {
        form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(zoom);
        PaintSettled();
        const int width = static_cast<int>(zoom * (printer.width * 96.0 / 600) / 100);
        const int height = static_cast<int>(zoom * (printer.height * 96.0 / 600) / 100);
        EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->width(), width)
            << "zoom " << zoom;
        EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->height(), height + 8)
            << "zoom " << zoom;
        EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->pos(), QPoint(8, 8));
    }
}

// A zoom change must resize the box first and draw only on the next paint;
// a page change at the same size draws at once.
TEST_F(PreviewTest, ZoomChangeResizesThenDraws) {
    UseNarrowPrinter();
    FillDocument();
    const int width =
        LayoutPageSize(PrinterPageOf(form->printing().CurrentPrinter()), 96, 200).width;
    const QImage first = PaintSettled();
    ASSERT_EQ(first.pixel(0, 0), kBlack); // the page outline
    form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(200);
    const QImage resizing = Paint();
    EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->width(), width);
    EXPECT_NE(resizing.pixel(0, 0), kBlack);
    const QImage drawn = Paint();
    ASSERT_EQ(drawn.width(), width);
    EXPECT_EQ(drawn.pixel(0, 0), kBlack);
    EXPECT_EQ(drawn.pixel(width - 1, 0), kBlack);
    // The 8-pixel strip below the page stays undrawn.
    const int pageBottom = form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->height() - 8;
    EXPECT_EQ(drawn.pixel(10, pageBottom - 1), kBlack);
    EXPECT_NE(drawn.pixel(10, pageBottom + 4), kBlack);

    form->findChild<QSpinBox*>(QStringLiteral("SeiteEd"))->setValue(2);
    const QImage page2 = Paint();
    EXPECT_EQ(page2.pixel(0, 0), kBlack);
    EXPECT_NE(page2, drawn);
}

// The page drawn in parts must be pixel-identical to the whole page drawn at
// once, whatever the zoom and wherever the parts begin.
TEST_F(PreviewTest, ExposedPartsMatchTheWholePage) {
    FillDocument();
    for (const int zoom : {100, 137, 250}) {
        form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(zoom);
        const QImage whole = PaintSettled();
        const int w = whole.width(),
                  h = form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->height() - 8;
        std::vector<QRect> parts = {QRect(37, 41, 101, 77), QRect(w - 90, 3, 89, 150),
                                    QRect(1, h - 60, w - 2, 59)};
        // Tiles of odd sizes over the whole page.
        const int tw = w / 3 + 1, th = h / 4 + 3;
        for (int y = 0; y < h; y += th)
            for (int x = 0; x < w; x += tw)
                parts.emplace_back(x, y, tw, th);
        for (const QRect& r : parts) {
            const QRect inside = r & QRect(0, 0, w, h);
            const QImage part = Paint(inside);
            EXPECT_TRUE(part == whole.copy(inside))
                << "zoom " << zoom << " part " << inside.x() << "," << inside.y() << " "
                << inside.width() << "x" << inside.height();
        }
    }
}

// The wheel scrolls the preview 20 pixels, and only while its tab is shown.
TEST_F(PreviewTest, WheelScrollsOnlyOnThePreviewTab) {
    form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setValue(200);
    PaintSettled();
    QApplication::processEvents();
    QScrollBar* bar =
        form->findChild<QScrollArea*>(QStringLiteral("ScrollBox1"))->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    auto turn = [&](QWidget* target, int delta) {
        QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    };
    QWidget* viewport = form->findChild<QScrollArea*>(QStringLiteral("ScrollBox1"))->viewport();
    turn(viewport, -120);
    EXPECT_EQ(bar->value(), 20);
    turn(form->findChild<QWidget*>(QStringLiteral("PaintBox1")), -120);
    EXPECT_EQ(bar->value(), 40);
    turn(viewport, 120);
    EXPECT_EQ(bar->value(), 20);
    turn(viewport, 120);
    turn(viewport, 120);
    EXPECT_EQ(bar->value(), 0); // stays within the range

    // With Ctrl the wheel zooms by the zoom's step instead of scrolling.
    auto* zoom = form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"));
    QWheelEvent zoomIn(QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), QPoint(),
                       QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &zoomIn);
    EXPECT_EQ(zoom->value(), 210);
    EXPECT_EQ(bar->value(), 0);

    bar->setValue(60);
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(0);
    turn(form->findChild<QTreeView*>(QStringLiteral("ListView2"))->viewport(), -120);
    turn(form.get(), -120);
    EXPECT_EQ(bar->value(), 60);
}

// On a screen with two device pixels per window unit the page must be drawn with twice the
// pixels, not enlarged: an enlarged page repeats every row twice.
TEST_F(PreviewTest, PageIsSharpOnAScaledScreen) {
    auto* box = form->findChild<QWidget*>(QStringLiteral("PaintBox1"));
    if (box->devicePixelRatioF() != 2) GTEST_SKIP() << "runs with QT_SCALE_FACTOR=2";
    FillDocument();
    PaintSettled();
    const QImage page = Paint(QRect(0, 0, 300, 200));
    ASSERT_EQ(page.width(), 600);
    ASSERT_EQ(page.height(), 400);
    int differingPairs = 0;
    for (int y = 0; y + 1 < page.height(); y += 2)
        if (std::memcmp(page.constScanLine(y), page.constScanLine(y + 1),
                        static_cast<std::size_t>(page.bytesPerLine())) != 0)
            ++differingPairs;
    EXPECT_GT(differingPairs, 10);
}

// Clicking the page gives the keyboard focus to the hidden KeyEdit.
TEST_F(PreviewTest, ClickOnThePageFocusesKeyEdit) {
    PaintSettled();
    QApplication::setActiveWindow(form.get());
    form->findChild<QSpinBox*>(QStringLiteral("ZoomEd"))->setFocus();
    QMouseEvent press(
        QEvent::MouseButtonPress, QPointF(20, 20),
        form->findChild<QWidget*>(QStringLiteral("PaintBox1"))->mapToGlobal(QPointF(20, 20)),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->findChild<QWidget*>(QStringLiteral("PaintBox1")), &press);
    EXPECT_TRUE(form->findChild<QLineEdit*>(QStringLiteral("KeyEdit"))->hasFocus());
}

} // namespace
