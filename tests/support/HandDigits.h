#pragma once
// Hand-written digits for the tests: cells of OpenCV's sample sheet (20 x 20,
// white on black, 500 of each digit) from the rows the classifier never saw in
// training (every fifth), written into a page or a box in a pen's colour.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

inline QImage DigitSheet() {
    return QImage(QStringLiteral("/usr/share/doc/opencv-doc/examples/data/digits.png"))
        .convertToFormat(QImage::Format_Grayscale8);
}

// Held-out cell col (0..99) of digit's held-out row, as ink 0..1.
inline cv::Mat HeldOutDigit(const QImage& sheet, int digit, int col) {
    const int row = digit * 5 + 4;
    cv::Mat ink(20, 20, CV_32F);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ink.at<float>(y, x) = qGray(sheet.pixel(col * 20 + x, row * 20 + y)) / 255.0f;
    return ink;
}

// Writes the digits' inks side by side into where on image, each digit as
// tall as where (the cells' digits are 16 of their 20 pixels), in pen.
inline void WriteDigits(QImage& image, const QRectF& where, const std::vector<cv::Mat>& digits,
                        const QColor& pen) {
    const double scale = where.height() / 16.0;
    const int side = static_cast<int>(std::lround(20 * scale));
    double x = where.left() - 2 * scale;
    for (const cv::Mat& cell : digits) {
        cv::Mat big;
        cv::resize(cell, big, cv::Size(side, side), 0, 0, cv::INTER_CUBIC);
        for (int v = 0; v < side; ++v)
            for (int u = 0; u < side; ++u) {
                const QPoint at(static_cast<int>(x) + u, static_cast<int>(where.top() - 2 * scale) + v);
                const double ink = std::clamp(static_cast<double>(big.at<float>(v, u)), 0.0, 1.0);
                if (ink <= 0 || !image.rect().contains(at)) continue;
                const QColor was = image.pixelColor(at);
                const auto mix = [&](int paper, int dark) {
                    return static_cast<int>(std::lround(paper + (dark - paper) * ink));
                };
                image.setPixelColor(at, QColor(mix(was.red(), pen.red()), mix(was.green(), pen.green()),
                                               mix(was.blue(), pen.blue())));
            }
        x += 17 * scale;
    }
}
