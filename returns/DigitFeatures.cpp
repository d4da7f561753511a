#include "DigitFeatures.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr int kFrame = 20;
constexpr int kWork = 80;
constexpr double kInner = 16.0;
constexpr double kMaxSkew = 1.0;
constexpr int kBins = 12;
constexpr int kCell = 5;
constexpr float kInkLevel = 0.1f;

// The bounding rectangle of the pixels above kInkLevel; empty when none.
cv::Rect InkBounds(const cv::Mat& ink) {
    int left = ink.cols, right = -1, top = ink.rows, bottom = -1;
    for (int y = 0; y < ink.rows; ++y) {
        const float* row = ink.ptr<float>(y);
        for (int x = 0; x < ink.cols; ++x) {
            if (row[x] <= kInkLevel) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

// Inks larger than 64 pixels are first shrunk by area, so that no stroke falls
// between the samples of the later warp.
cv::Mat ShrinkLarge(const cv::Mat& ink) {
    const int side = std::max(ink.rows, ink.cols);
    if (side <= 64) return ink;
    const double factor = 64.0 / side;
    const int width = std::max(1, static_cast<int>(std::nearbyint(ink.cols * factor)));
    const int height = std::max(1, static_cast<int>(std::nearbyint(ink.rows * factor)));
    cv::Mat small;
    cv::resize(ink, small, cv::Size(width, height), 0, 0, cv::INTER_AREA);
    return small;
}
} // namespace

cv::Mat NormaliseDigitInk(const cv::Mat& source) {
    cv::Mat ink;
    source.convertTo(ink, CV_32F);
    const cv::Rect bounds = InkBounds(ink);
    if (bounds.empty()) return {};
    ink = ShrinkLarge(ink(bounds).clone());
    const cv::Moments m = cv::moments(ink, false);
    if (m.m00 <= 0) return {};
    const double cy = m.m01 / m.m00;
    double skew = m.mu02 > 1e-3 ? m.mu11 / m.mu02 : 0.0;
    skew = std::clamp(skew, -kMaxSkew, kMaxSkew);
    double left = 1e300, right = -1e300, top = 1e300, bottom = -1e300;
    for (int y = 0; y < ink.rows; ++y) {
        const float* row = ink.ptr<float>(y);
        for (int x = 0; x < ink.cols; ++x) {
            if (row[x] <= kInkLevel) continue;
            const double sx = x - skew * (y - cy);
            left = std::min(left, sx);
            right = std::max(right, sx + 1.0);
            top = std::min(top, double(y));
            bottom = std::max(bottom, y + 1.0);
        }
    }
    const double span = std::max({right - left, bottom - top, 1.0});
    const double scale = (kInner * kWork / kFrame) / span;
    const double mx = (left + right) / 2.0, my = (top + bottom) / 2.0;
    cv::Matx23d a(scale, -scale * skew, kWork / 2.0 - scale * (mx - skew * cy),
                  0.0, scale, kWork / 2.0 - scale * my);
    a(0, 2) += 0.5 * scale * (1.0 - skew) - 0.5;
    a(1, 2) += 0.5 * scale - 0.5;
    cv::Mat big, small;
    cv::warpAffine(ink, big, a, cv::Size(kWork, kWork), cv::INTER_LINEAR, cv::BORDER_CONSTANT, 0);
    cv::resize(big, small, cv::Size(kFrame, kFrame), 0, 0, cv::INTER_AREA);
    double topValue = 0;
    cv::minMaxLoc(small, nullptr, &topValue);
    if (topValue <= 1e-6) return {};
    const float divisor = static_cast<float>(topValue);
    for (int y = 0; y < kFrame; ++y) {
        float* row = small.ptr<float>(y);
        for (int x = 0; x < kFrame; ++x) row[x] = std::min(row[x] / divisor, 1.0f);
    }
    return small;
}

std::vector<float> DigitFeatures(const cv::Mat& picture) {
    constexpr int cells = kFrame / kCell;
    auto at = [&](int y, int x) {
        if (y < 0 || x < 0 || y >= kFrame || x >= kFrame) return 0.0;
        return double(picture.at<float>(y, x));
    };
    double hist[cells][cells][kBins] = {};
    for (int y = 0; y < kFrame; ++y) {
        for (int x = 0; x < kFrame; ++x) {
            const double gx = at(y, x + 1) - at(y, x - 1);
            const double gy = at(y + 1, x) - at(y - 1, x);
            const double mag = std::sqrt(gx * gx + gy * gy);
            const double pos = (std::atan2(gy, gx) + std::numbers::pi) / (2 * std::numbers::pi) * kBins;
            int lo = static_cast<int>(std::floor(pos));
            const double frac = pos - lo;
            lo = ((lo % kBins) + kBins) % kBins;
            const int hi = (lo + 1) % kBins;
            hist[y / kCell][x / kCell][lo] += mag * (1.0 - frac);
            hist[y / kCell][x / kCell][hi] += mag * frac;
        }
    }
    std::vector<float> out(kDigitFeatureCount);
    // Each cell's histogram L1-normalised over its 2 x 2 quarter, then rooted.
    for (int qy = 0; qy < cells; qy += 2) {
        for (int qx = 0; qx < cells; qx += 2) {
            double sum = 0;
            for (int cy = qy; cy < qy + 2; ++cy)
                for (int cx = qx; cx < qx + 2; ++cx)
                    for (int b = 0; b < kBins; ++b) sum += hist[cy][cx][b];
            for (int cy = qy; cy < qy + 2; ++cy)
                for (int cx = qx; cx < qx + 2; ++cx)
                    for (int b = 0; b < kBins; ++b)
                        out[(cy * cells + cx) * kBins + b] =
                            static_cast<float>(std::sqrt(hist[cy][cx][b] / (sum + 1e-6)));
        }
    }
    int i = cells * cells * kBins;
    for (int y = 0; y < kFrame; y += 2)
        for (int x = 0; x < kFrame; x += 2)
            out[i++] = static_cast<float>((at(y, x) + at(y, x + 1) + at(y + 1, x) + at(y + 1, x + 1)) / 4.0);
    return out;
}
