// Reading the hand-written quantities of one scanned page: ten text boxes of
// 40 x 8 mm at 300 dpi, cut to their insides, holding numbers of one to four
// digits in a script font, in a plain font drawn with a thick pen, and written
// as strokes with the continental 1 and 7. BM_ReadTenBoxes times reading all
// ten (goal: at most 20 ms per page) and counts the numbers read and left
// unsure; BM_ReadPageWithTenNumbers times a printed, scanned page with ten
// such boxes read without and with its numbers.

#include "BenchMain.h"
#include "BoxNumber.h"
#include "DigitClassifier.h"
#include "DocumentEdits.h"
#include "OrderForm.h"
#include "PaperReturns.h"
#include "ScannedReturns.h"
#include "TextBoxReading.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kBoxWidth = 472, kBoxHeight = 94; // 40 x 8 mm at 300 dpi

QImage Box(int i) {
    static const char* const numbers[] = {"1", "12", "17", "7", "1998", "71", "40", "250", "1", "85"};
    QImage box(kBoxWidth, kBoxHeight, QImage::Format_Grayscale8);
    box.fill(235);
    QPainter p(&box);
    p.setRenderHint(QPainter::Antialiasing);
    const QString text = QString::fromLatin1(numbers[i]);
    if (i % 3 == 2) { // strokes: the continental 1 and 7 and the rest in a script font
        p.setPen(QPen(QColor(40, 40, 40), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        double x = 30;
        for (QChar c : text) {
            if (c == QLatin1Char('1'))
                p.drawPolyline(QPolygonF{{x, 40}, {x + 20, 18}, {x + 20, 78}});
            else
                p.drawPolyline(QPolygonF{{x, 18}, {x + 33, 18}, {x + 9, 78}});
            x += 45;
        }
        return box;
    }
    QFont font(i % 3 ? QStringLiteral("Z003") : QStringLiteral("Liberation Sans"));
    font.setPixelSize(60);
    QPainterPath path;
    path.addText(30, 72, font, text);
    p.setPen(i % 3 ? QPen(Qt::NoPen) : QPen(QColor(30, 30, 60), 5));
    p.setBrush(QColor(30, 30, 60));
    p.drawPath(path);
    return box;
}

void BM_ReadTenBoxes(benchmark::State& state) {
    const std::optional<DigitClassifier> classifier =
        DigitClassifier::LoadShipped(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    if (!classifier) {
        state.SkipWithError("no digits.model beside the build");
        return;
    }
    std::vector<QImage> boxes;
    for (int i = 0; i < 10; ++i) boxes.push_back(Box(i));
    int read = 0, unsure = 0;
    for (auto _ : state) {
        read = unsure = 0;
        for (const QImage& box : boxes) {
            const BoxNumber number = ReadBoxNumber(box, *classifier);
            read += number.kind == BoxNumber::Kind::Number;
            unsure += number.kind == BoxNumber::Kind::Unsure;
        }
    }
    state.counters["read"] = read;
    state.counters["unsure"] = unsure;
}
BENCHMARK(BM_ReadTenBoxes)->Unit(benchmark::kMillisecond);

// A printed page with ten quantity boxes of 40 x 8 mm, the numbers of Box
// written into them, scanned at 300 dpi, slightly turned.
struct NumberPage {
    FormDocument doc;
    LayoutSettings settings;
    OrderForm form;
    QImage scan;
    NumberPage() {
        const int c = AppendCategory(doc, QStringLiteral("Bestellung"));
        for (int i = 0; i < 10; ++i)
            AppendField(doc, c, fkText, QStringLiteral("Anzahl %1").arg(i + 1), 4, 0.8);
        const MarkedPrint print = PrintWithMarks(doc, settings);
        form = MakeOrderForm(doc, settings);
        QImage page = RasterisePage(print.pdf, 1, 300);
        QPainter p(&page);
        p.setCompositionMode(QPainter::CompositionMode_Darken);
        int i = 0;
        for (const DrawnField* f : print.fields.OnPage(1)) {
            const QImage box = Box(i++ % 10);
            const QRectF r(f->box.left / 2.0, f->box.top / 2.0, (f->box.right - f->box.left) / 2.0,
                           (f->box.bottom - f->box.top) / 2.0);
            // The number right of the label, at the box's height.
            p.drawImage(QRectF(r.left() + r.width() * 0.35, r.top() + 3, r.width() * 0.6, r.height() - 6),
                        box, QRectF(0, 0, box.width() * 0.7, box.height()));
        }
        p.end();
        scan = Distort(page, {"turned", 1.5, 1.0, {10, -6}, 80});
    }
};

// A whole page read without (0) and with (1) its numbers: the difference is
// what reading the numbers adds (goal: at most 20 ms).
void BM_ReadPageWithTenNumbers(benchmark::State& state) {
    static NumberPage page;
    if (state.range(0))
        UseNumberReader(HandNumberReader::Load(
            QCoreApplication::applicationDirPath() + QStringLiteral("/../digits.model"), QString()));
    else
        UseNumberReader(nullptr);
    PaperForm paper(page.form, PageInput{page.doc, page.settings});
    int numbers = 0, review = 0;
    for (auto _ : state) {
        const ScannedPage read = ReadScannedPage(page.scan, paper);
        numbers = 0;
        for (const ReturnedCell& cell : read.cells) numbers += !cell.value.isEmpty();
        review = static_cast<int>(read.undecided.size());
    }
    UseNumberReader(nullptr);
    state.counters["numbers"] = numbers;
    state.counters["review"] = review;
}
BENCHMARK(BM_ReadPageWithTenNumbers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, [] {});
}
