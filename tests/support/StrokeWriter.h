#pragma once
// A writer for the tests: digits drawn as pen strokes in one hand's own shapes
// (a long-flagged 1, a crossed 7, an open 4, a straight-stemmed 9), each time
// a little different: every point of a stroke moves a little, the slant, the
// size and the pen change as they do between two boxes of one writer.

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QString>

#include <random>
#include <vector>

class StrokeWriter {
  public:
    // seed: which boxes; slant: the hand's own lean (x per y).
    StrokeWriter(unsigned seed, double slant) : random(seed), lean(slant) {}

    // A box of width x height pixels (white paper, dark pen) with number written in it.
    QImage Box(const QString& number, int width, int height) {
        QImage box(width, height, QImage::Format_Grayscale8);
        box.fill(245);
        QPainter p(&box);
        p.setRenderHint(QPainter::Antialiasing);
        const double size = height * Between(0.55, 0.7);
        p.setPen(QPen(QColor(30, 30, 30), Between(0.06, 0.1) * size, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        const double slant = lean + Between(-0.04, 0.04);
        double x = height * 0.3;
        const double top = (height - size) / 2 + Between(-0.05, 0.05) * height;
        for (QChar c : number) {
            for (QPolygonF stroke : Strokes(c.digitValue())) {
                for (QPointF& point : stroke) {
                    const double u = point.x() + Between(-0.035, 0.035);
                    const double v = point.y() + Between(-0.035, 0.035);
                    point = QPointF(x + (u + slant * (1 - v)) * size, top + v * size);
                }
                p.drawPolyline(stroke);
            }
            x += size * Between(0.8, 0.9);
        }
        return box;
    }

  private:
    double Between(double a, double b) { return std::uniform_real_distribution<>(a, b)(random); }

    // The hand's shapes in a box 0.6 wide and 1 high.
    static std::vector<QPolygonF> Strokes(int digit) {
        switch (digit) {
        case 0: return {{{0.3, 0}, {0.08, 0.2}, {0.03, 0.6}, {0.25, 1}, {0.5, 0.8}, {0.55, 0.35}, {0.3, 0}}};
        case 1: return {{{0.05, 0.35}, {0.35, 0}, {0.35, 1}}};
        case 2: return {{{0.05, 0.2}, {0.25, 0}, {0.48, 0.1}, {0.45, 0.4}, {0.05, 1}, {0.58, 0.97}}};
        case 3: return {{{0.05, 0.08}, {0.5, 0.05}, {0.22, 0.42}, {0.5, 0.6}, {0.45, 0.92}, {0.05, 0.9}}};
        case 4: return {{{0.3, 0}, {0.02, 0.62}, {0.6, 0.62}}, {{0.45, 0.3}, {0.45, 1}}};
        case 5: return {{{0.55, 0}, {0.12, 0}, {0.06, 0.45}, {0.42, 0.42}, {0.55, 0.72}, {0.38, 1}, {0.03, 0.93}}};
        case 6: return {{{0.48, 0}, {0.12, 0.45}, {0.05, 0.85}, {0.3, 1}, {0.55, 0.8}, {0.42, 0.55}, {0.1, 0.65}}};
        case 7: return {{{0, 0}, {0.56, 0}, {0.15, 1}}, {{0.12, 0.5}, {0.5, 0.5}}};
        case 8: return {{{0.5, 0.1}, {0.3, 0}, {0.08, 0.15}, {0.5, 0.7}, {0.35, 1}, {0.05, 0.8}, {0.5, 0.3}, {0.5, 0.1}}};
        default: return {{{0.52, 0.28}, {0.3, 0}, {0.06, 0.2}, {0.22, 0.45}, {0.52, 0.28}, {0.48, 1}}};
        }
    }

    std::mt19937 random;
    double lean;
};
