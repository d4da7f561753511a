// Reading one box: its patch taken square, the outline found, the ink judged.
#include "BoxReading.h"

#include "BoxPatch.h"
#include "PageGeometry.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

// The printed outline is looked for this share of the side around its place.
constexpr double kSearch = 0.5;
// Directions around a box, for strokes that leave it.
constexpr int kSectors = 16;
// Directions around a box, for strokes that cross its outline.
constexpr int kCrossings = 32;

// The middle line of a box's printed outline (the pen runs half outside it on
// the left and top, half inside on the right and bottom, as printed), and how
// far (x, y) lies outside it (negative inside), patch pixels.
struct Shape {
    double left, top, width, height;
    bool round;
    double Outside(double x, double y) const {
        if (round) {
            const double rx = width / 2, ry = height / 2;
            const double dx = (x - left - rx) / rx, dy = (y - top - ry) / ry;
            return (std::sqrt(dx * dx + dy * dy) - 1.0) * std::min(rx, ry);
        }
        const double dx = std::max(left - x, x - (left + width));
        const double dy = std::max(top - y, y - (top + height));
        if (dx > 0 && dy > 0) return std::hypot(dx, dy);
        return std::max(dx, dy);
    }
};

// Ring +1 on the outline's line, -1 (balanced) on a band each side of it.
cv::Mat OutlineTemplate(const Shape& shape, double line, int edge) {
    const int w = static_cast<int>(std::lround(shape.width)) + 2 * edge;
    const int h = static_cast<int>(std::lround(shape.height)) + 2 * edge;
    cv::Mat t(h, w, CV_32F, cv::Scalar(0));
    const Shape s{static_cast<double>(edge), static_cast<double>(edge), shape.width, shape.height,
                  shape.round};
    int ring = 0, bands = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d = std::abs(s.Outside(x + 0.5, y + 0.5));
            if (d <= line / 2 + 0.5) {
                t.at<float>(y, x) = 1;
                ++ring;
            } else if (d >= line / 2 + 1.5 && d <= 1.5 * line + 2.5) {
                t.at<float>(y, x) = -1;
                ++bands;
            }
        }
    if (bands > 0)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (t.at<float>(y, x) < 0) t.at<float>(y, x) = -static_cast<float>(ring) / bands;
    return t;
}

// The printed outline where it lies best near its place, and its darkness
// over the paper; nothing when no outline stands out there.
std::optional<Shape> FindOutline(const Patch& p, const Shape& expected, double line,
                                 double* darkness) {
    const int edge = static_cast<int>(std::ceil(1.5 * line + 3));
    const cv::Mat templ = OutlineTemplate(expected, line, edge);
    const int reach = static_cast<int>(std::lround(kSearch * p.side));
    const int x0 = std::max(0, p.margin - edge - reach), y0 = std::max(0, p.margin - edge - reach);
    const cv::Rect area = cv::Rect(x0, y0, templ.cols + 2 * reach, templ.rows + 2 * reach) &
                          cv::Rect(0, 0, p.dark.cols, p.dark.rows);
    if (area.width < templ.cols || area.height < templ.rows) return std::nullopt;
    cv::Mat score;
    cv::matchTemplate(p.dark(area), templ, score, cv::TM_CCORR);
    cv::Point best(-1, -1);
    double bestScore = 0;
    for (int y = 0; y < score.rows; ++y)
        for (int x = 0; x < score.cols; ++x) {
            // Nearer places win among equals.
            const double dx = x + area.x + edge - p.margin, dy = y + area.y + edge - p.margin;
            const double near = 1.0 - 0.3 * (dx * dx + dy * dy) / (reach * reach + 1.0);
            const double s = score.at<float>(y, x) * near;
            if (s > bestScore) {
                bestScore = s;
                best = {x, y};
            }
        }
    if (best.x < 0) return std::nullopt;
    double ring = 0, band = 0;
    int ringCount = 0, bandCount = 0;
    for (int y = 0; y < templ.rows; ++y)
        for (int x = 0; x < templ.cols; ++x) {
            const float t = templ.at<float>(y, x);
            if (t == 0) continue;
            const double v = p.dark.at<float>(y + best.y + area.y, x + best.x + area.x);
            (t > 0 ? ring : band) += v;
            ++(t > 0 ? ringCount : bandCount);
        }
    ring = ringCount ? ring / ringCount - p.offset : 0;
    band = bandCount ? band / bandCount - p.offset : 0;
    if (ring < std::max(12.0, 5 * p.noise) || band > 0.6 * ring) return std::nullopt;
    *darkness = ring;
    return Shape{static_cast<double>(best.x + area.x + edge),
                 static_cast<double>(best.y + area.y + edge), expected.width, expected.height,
                 expected.round};
}

struct Ink {
    double share = 0;     // of the inside
    double stroke = 0;    // the longest stroke inside, of the inner side
    bool through = false; // strokes cross the outline on two far sides
    int around = 0;       // directions around the box with ink on clear paper
    int open = 0;         // directions around the box with clear paper to look at
    double faint = 0;     // the longest faint thin stroke inside, of the inner side
    bool measured = false; // the inside was large enough to look at
};

// Where the patch has print of the page's other things (labels, boxes,
// headings), moved as the box's outline was found moved (patch pixels).
cv::Mat PrintedNear(const Patch& p, const BoxOnSheet& b, double line, cv::Point2d moved) {
    cv::Mat printed(p.dark.size(), CV_8U, cv::Scalar(0));
    const int grow = static_cast<int>(std::ceil(line + 2));
    for (const CanvasRect& r : b.printed) {
        const double x0 = (r.left - b.box.left) * p.q + moved.x + p.margin;
        const double y0 = (r.top - b.box.top) * p.q + moved.y + p.margin;
        const double x1 = (r.right - b.box.left) * p.q + moved.x + p.margin;
        const double y1 = (r.bottom - b.box.top) * p.q + moved.y + p.margin;
        const cv::Point from(static_cast<int>(x0) - grow, static_cast<int>(y0) - grow);
        const cv::Point to(static_cast<int>(x1) + grow, static_cast<int>(y1) + grow);
        cv::rectangle(printed, from, to, cv::Scalar(255), cv::FILLED);
    }
    // Beyond the paper's edge nothing is to be seen, neither ink nor paper.
    cv::bitwise_or(printed, p.offPaper, printed);
    return printed;
}

// Whether pen strokes cross the outline in two directions far apart (a
// stroke through the box, not a tick that runs out of it).
bool CrossesTwice(const std::array<int, kCrossings>& within,
                  const std::array<int, kCrossings>& beyond) {
    std::vector<int> crossings;
    for (int k = 0; k < kCrossings; ++k) {
        const auto at = [&](int i) { return static_cast<std::size_t>((i + kCrossings) % kCrossings); };
        const int out = std::max({beyond[at(k - 1)], beyond[at(k)], beyond[at(k + 1)]});
        if (within[at(k)] >= 2 && out >= 2) crossings.push_back(k);
    }
    for (int a : crossings)
        for (int b : crossings)
            if (std::min(std::abs(a - b), kCrossings - std::abs(a - b)) >= kCrossings / 3)
                return true;
    return false;
}

// How far the printed outline's darkness reaches inwards and outwards from
// its middle line, as the patch shows it (blur widens it): where the mean
// darkness at each distance falls below half the ink's threshold.
std::pair<double, double> OutlineReach(const Patch& p, const Shape& found, double line,
                                       double threshold, const cv::Mat& printed) {
    constexpr double kStep = 0.5;
    const int half = static_cast<int>(std::ceil((line + 10) / kStep));
    std::vector<double> sum(static_cast<std::size_t>(2 * half + 1), 0.0);
    std::vector<int> count(sum.size(), 0);
    for (int y = 0; y < p.dark.rows; ++y)
        for (int x = 0; x < p.dark.cols; ++x) {
            const int bin = static_cast<int>(std::lround(found.Outside(x + 0.5, y + 0.5) / kStep));
            if (bin < -half || bin > half || printed.at<uchar>(y, x)) continue;
            sum[static_cast<std::size_t>(bin + half)] += p.dark.at<float>(y, x);
            ++count[static_cast<std::size_t>(bin + half)];
        }
    const double faint = p.offset + 0.5 * (threshold - p.offset);
    const auto reach = [&](int direction) {
        for (int i = 0; i <= half; ++i) {
            const auto at = static_cast<std::size_t>(half + direction * i);
            if (count[at] > 0 && sum[at] / count[at] < faint) return i * kStep;
        }
        return half * kStep;
    };
    // Inwards no further than a fifth of the box: a filled box is dark to its middle.
    const double most = line / 2 + 0.2 * std::min(found.width, found.height);
    return {std::clamp(reach(-1), line / 2, most), std::clamp(reach(1), line / 2, most)};
}

// The longest thin stroke inside the box that stands out only faintly (a
// hair-thin light pen, a soft pencil on a blurred photo), as a share of the
// inner side; a faint blot (a smudge, a shadow) is no stroke.
double FaintStroke(const Patch& p, const Shape& found, double inset, double darkness) {
    // Each pixel's darkness averaged along a short line in eight directions,
    // the best kept: noise averages out, a line along the direction does not.
    const double innerSide = std::max(1.0, std::min(found.width, found.height) - 2 * inset);
    const int length = std::max(5, static_cast<int>(std::lround(0.25 * innerSide)) | 1);
    cv::Mat smooth, response;
    cv::GaussianBlur(p.dark, smooth, cv::Size(), 0.7);
    for (int d = 0; d < 8; ++d) {
        cv::Mat kernel(length, length, CV_32F, cv::Scalar(0));
        const double a = d * M_PI / 8, c = (length - 1) / 2.0;
        cv::line(kernel, cv::Point2d(c - c * std::cos(a), c - c * std::sin(a)),
                 cv::Point2d(c + c * std::cos(a), c + c * std::sin(a)), cv::Scalar(1));
        kernel /= cv::sum(kernel)[0];
        cv::Mat along;
        cv::filter2D(smooth, along, CV_32F, kernel, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
        response = d == 0 ? along : cv::max(response, along);
    }
    // The paper inside the box, where the stroke is looked for, gives the
    // level and the noise (a stroke covers far less than half of it).
    const double away = inset + length / 2.0; // the outline's own darkness smeared inwards
    cv::Mat within(response.size(), CV_8U, cv::Scalar(0));
    for (int y = 0; y < response.rows; ++y)
        for (int x = 0; x < response.cols; ++x)
            within.at<uchar>(y, x) = found.Outside(x + 0.5, y + 0.5) <= -away ? 255 : 0;
    std::vector<float> values;
    for (int y = 0; y < response.rows; ++y)
        for (int x = 0; x < response.cols; ++x)
            if (within.at<uchar>(y, x)) values.push_back(response.at<float>(y, x));
    if (values.size() < 16) return 0;
    const cv::Mat inner(static_cast<int>(values.size()), 1, CV_32F, values.data());
    // Strokes only darken, and may cover much of the box here: the paper's
    // level and noise are read from the lightest quarter alone (as for a
    // normal spread: its quartile lies 0.67, its 2nd percentile 2.05 spreads
    // below the middle).
    const double quartile = Quantile(inner, 0.25), lightest = Quantile(inner, 0.02);
    const double noise = std::max(0.3, (quartile - lightest) / 1.38);
    const double offset = quartile + 0.67 * noise;
    const double threshold = offset + std::max({0.05 * darkness, 6 * noise, 3.0});
    cv::Mat faint(p.dark.size(), CV_8U, cv::Scalar(0));
    for (int y = 0; y < response.rows; ++y)
        for (int x = 0; x < response.cols; ++x)
            if (within.at<uchar>(y, x) && response.at<float>(y, x) > threshold)
                faint.at<uchar>(y, x) = 255;
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(faint, labels, stats, centroids, 8, CV_32S);
    // A blot is dark all over its breadth; a line only along itself.
    std::vector<int> darkAllOver(static_cast<std::size_t>(n), 0);
    for (int y = 0; y < labels.rows; ++y)
        for (int x = 0; x < labels.cols; ++x) {
            const int label = labels.at<int>(y, x);
            if (label > 0 && smooth.at<float>(y, x) > threshold)
                ++darkAllOver[static_cast<std::size_t>(label)];
        }
    double longest = 0;
    for (int i = 1; i < n; ++i) {
        const int extent =
            std::max(stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        const double dark = darkAllOver[static_cast<std::size_t>(i)];
        if (dark > 0.3 * extent * extent) continue;
        // The averaging lengthens every stroke (and makes a dot a short one).
        longest = std::max(longest, (extent - 0.75 * (length - 1)) / innerSide);
    }
    return longest;
}

// The ink inside the found outline and on the clear paper around it.
// inPlace: the outline's place is only the fit's, so ink on print just
// beyond it (a label) is not taken for a stroke leaving the box.
Ink MeasureInk(const Patch& p, const Shape& found, double line, double darkness,
               double threshold, const cv::Mat& printed, bool inPlace = false) {
    Ink seen;
    const auto [ringIn, ringOut] = OutlineReach(p, found, line, threshold, printed);
    const double inset = ringIn + 1 + 0.04 * p.side;
    const double aroundFrom = ringOut + 1, aroundTo = std::max(aroundFrom + 3, 0.6 * p.side);
    cv::Mat inside(p.dark.size(), CV_8U, cv::Scalar(0));
    int insideCount = 0, inked = 0, insideOff = 0;
    std::array<int, kSectors> sectorInk{}, sectorClear{};
    // Ink just inside and just outside the outline, by direction: a pen
    // stroke that crosses the outline leaves both at the same place.
    std::array<int, kCrossings> within{}, beyond{};
    const double strip = std::max(2.0, 0.08 * p.side);
    const double cx = found.left + found.width / 2, cy = found.top + found.height / 2;
    for (int y = 0; y < p.dark.rows; ++y)
        for (int x = 0; x < p.dark.cols; ++x) {
            const double o = found.Outside(x + 0.5, y + 0.5);
            const bool isInk = p.dark.at<float>(y, x) > threshold;
            const double a = std::atan2(y + 0.5 - cy, x + 0.5 - cx) + M_PI;
            if (isInk && o < -ringIn && o >= -ringIn - strip)
                ++within[static_cast<std::size_t>(static_cast<int>(a / (2 * M_PI) * kCrossings) % kCrossings)];
            if (isInk && o > ringOut && o <= ringOut + strip && !(inPlace && printed.at<uchar>(y, x)))
                ++beyond[static_cast<std::size_t>(static_cast<int>(a / (2 * M_PI) * kCrossings) % kCrossings)];
            if (o <= -inset && p.offPaper.at<uchar>(y, x)) {
                ++insideOff;
            } else if (o <= -inset) {
                ++insideCount;
                if (isInk) {
                    ++inked;
                    inside.at<uchar>(y, x) = 255;
                }
            } else if (o >= aroundFrom && o <= aroundTo && !printed.at<uchar>(y, x)) {
                const auto s = static_cast<std::size_t>(
                    static_cast<int>(a / (2 * M_PI) * kSectors) % kSectors);
                ++sectorClear[s];
                sectorInk[s] += isInk;
            }
        }
    seen.through = CrossesTwice(within, beyond);
    // Not measured (undecided): too small, or too much of it off the paper.
    if (insideCount < 16 || insideOff * 4 > insideCount) return seen;
    seen.measured = true;
    seen.share = static_cast<double>(inked) / insideCount;
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(inside, labels, stats, centroids, 8, CV_32S);
    const double innerSide = std::min(found.width, found.height) - 2 * inset;
    for (int i = 1; i < n; ++i) {
        const int w = stats.at<int>(i, cv::CC_STAT_WIDTH), h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        if (stats.at<int>(i, cv::CC_STAT_AREA) < std::max(3.0, 0.5 * std::max(w, h))) continue;
        seen.stroke = std::max(seen.stroke, std::max(w, h) / std::max(1.0, innerSide));
    }
    const double sectorArea = M_PI * (aroundTo * aroundTo - aroundFrom * aroundFrom) / kSectors;
    for (std::size_t s = 0; s < kSectors; ++s) {
        if (sectorClear[s] < 0.25 * sectorArea) continue;
        ++seen.open;
        seen.around += sectorInk[s] >= std::max(4.0, 0.02 * sectorClear[s]);
    }
    seen.faint = FaintStroke(p, found, inset, darkness);
    return seen;
}

QString Decide(const Ink& seen) {
    if (!seen.measured) return QStringLiteral("?");
    const bool marked = seen.share >= kMarkedInk || seen.stroke >= kMarkedStroke ||
                        seen.faint >= kMarkedStroke;
    const bool empty =
        seen.share <= kEmptyInk && seen.stroke < kEmptyStroke && seen.faint < kEmptyStroke;
    // A circled box, or a stroke from outside through it: only a filled box is clear.
    const bool circled = seen.open >= 5 && seen.around >= std::max(4, (seen.open + 1) / 2);
    if (circled || seen.through) return seen.share >= 0.3 ? QStringLiteral("1") : QStringLiteral("?");
    return marked ? QStringLiteral("1") : empty ? QStringLiteral("0") : QStringLiteral("?");
}

// The corners of shape (patch pixels) in the image.
QPolygonF InImage(const Patch& p, const Shape& shape) {
    QPolygonF outline;
    for (const auto& [u, v] : {std::pair{0.0, 0.0}, std::pair{1.0, 0.0}, std::pair{1.0, 1.0},
                               std::pair{0.0, 1.0}}) {
        const cv::Point2d c =
            ApplyFit(p.toImage, shape.left + u * shape.width, shape.top + v * shape.height);
        outline << QPointF(c.x, c.y);
    }
    return outline;
}

// The box's place in the patch, its outline's middle line.
Shape Expected(const Patch& p, const BoxOnSheet& b, double line) {
    return {static_cast<double>(p.margin), static_cast<double>(p.margin),
            (b.box.right - b.box.left) * p.q - line / 2, (b.box.bottom - b.box.top) * p.q - line / 2,
            b.round};
}

} // namespace

BoxReading ReadBoxInPlace(const cv::Mat& ink, const cv::Matx33d& h, const BoxOnSheet& b,
                          double printDarkness) {
    BoxReading out;
    out.value = QStringLiteral("?");
    if (b.box.right - b.box.left < 2 || b.box.bottom - b.box.top < 2 || printDarkness <= 0)
        return out;
    Patch p;
    // A box on the paper's edge may reach just beyond the picture, where there is no ink.
    const double side =
        cv::norm(ApplyFit(h, b.box.right, b.box.top) - ApplyFit(h, b.box.left, b.box.top));
    if (!TakePatch(ink, h, b.box, b.paper, p, 2 + 0.1 * side, cv::BORDER_CONSTANT)) return out;
    const double line = std::max(1.0, b.line * p.q);
    const Shape expected = Expected(p, b, line);
    out.outline = InImage(p, expected);
    // Whatever outline there is may lie off its place by what the fit misses:
    // the band it may lie in is print, not a pen's.
    const double band = line + 2 * std::max(1.5, 0.04 * p.side);
    const double threshold = p.offset + std::max({0.4 * printDarkness, 4.5 * p.noise, 10.0});
    const cv::Mat printed = PrintedNear(p, b, band, {0, 0});
    // Paper too uneven around the box (the table beyond the paper's edge,
    // a shadow's border) to tell a pen from it: undecided.
    if (4.5 * p.noise > 0.5 * printDarkness) return out;
    const Ink seen = MeasureInk(p, expected, band, printDarkness, threshold, printed, true);
    out.value = Decide(seen);
    return out;
}

BoxReading ReadBox(const cv::Mat& ink, const cv::Matx33d& h, const BoxOnSheet& b) {
    BoxReading out;
    out.value = QStringLiteral("?");
    if (b.box.right - b.box.left < 2 || b.box.bottom - b.box.top < 2) return out;
    Patch p;
    if (!TakePatch(ink, h, b.box, b.paper, p)) return out;
    const double line = std::max(1.0, b.line * p.q);
    const Shape expected = Expected(p, b, line);
    double darkness = 0;
    const std::optional<Shape> found = FindOutline(p, expected, line, &darkness);
    if (!found) return out;
    out.found = true;
    out.shift = std::hypot(found->left - expected.left, found->top - expected.top) / p.side;
    const cv::Point2d moved =
        ApplyFit(p.toImage, found->left + found->width / 2, found->top + found->height / 2) -
        ApplyFit(p.toImage, expected.left + expected.width / 2, expected.top + expected.height / 2);
    out.movedX = moved.x;
    out.movedY = moved.y;
    out.outline = InImage(p, *found);
    // Ink: darker than the paper by a share of the outline's own darkness,
    // and well above the noise.
    const double threshold = p.offset + std::max({0.4 * darkness, 4.5 * p.noise, 10.0});
    const cv::Mat printed =
        PrintedNear(p, b, line, {found->left - expected.left, found->top - expected.top});
    const Ink seen = MeasureInk(p, *found, line, darkness, threshold, printed);
    out.value = Decide(seen);
    return out;
}
