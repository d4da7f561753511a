// Reading the hand-written quantities of one scanned page: ten text boxes of
// 40 x 8 mm at 300 dpi, cut to their insides, holding numbers of one to four
// digits in a script font, in a plain font drawn with a thick pen, and written
// as strokes with the continental 1 and 7. BM_ReadTenBoxes times reading all
// ten (goal: at most 20 ms per page) and counts the numbers read and left unsure.

#include "BenchMain.h"
#include "BoxNumber.h"
#include "DigitClassifier.h"

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

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, [] {});
}
