// Finding the corner marks anywhere and fitting the sheet's perspective.
#include "PageGeometry.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// A mark is looked for in a copy where it is about this many pixels across.
constexpr double kMarkSearchPixels = 14.0;
// Candidates kept for each corner, nearest to where the code puts it first.
constexpr std::size_t kCandidatesPerCorner = 6;

struct Candidate {
    cv::Point2d centre; // image pixels
    double area = 0;    // image pixels
};

ReturnRejection MarksMissing() {
    return {QStringLiteral("the four corner marks are not all in the picture (cut off, covered "
                           "or too blurred)"),
            QStringLiteral("Die vier Eckmarken sind nicht alle auf dem Bild (abgeschnitten, "
                           "verdeckt oder zu unscharf).")};
}

ReturnRejection MarksDisagree() {
    return {QStringLiteral("the corner marks do not agree with the page code (a bent or "
                           "folded sheet?)"),
            QStringLiteral("Die Eckmarken passen nicht zum Seitencode (ein gebogenes oder "
                           "gefaltetes Blatt?).")};
}

// Solid, roughly square blobs of about the mark's size (side in image pixels)
// anywhere in the image, dark against the paper around them.
std::vector<Candidate> MarkCandidates(const cv::Mat& ink, double side) {
    const double k = std::clamp(kMarkSearchPixels / side, 0.02, 1.0);
    cv::Mat small;
    if (k < 1.0)
        cv::resize(ink, small, cv::Size(), k, k, cv::INTER_AREA);
    else
        small = ink;
    // The paper around each pixel: the brightest within two marks.
    const int reach = static_cast<int>(std::lround(side * k * 2.2)) | 1;
    cv::Mat paper;
    cv::dilate(small, paper, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, reach)));
    cv::Mat small16, paper16;
    small.convertTo(small16, CV_16U, 10);
    paper.convertTo(paper16, CV_16U, 6);
    const cv::Mat dark = small16 < paper16; // darker than 60 % of the paper around
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(dark, labels, stats, centroids, 8, CV_32S);
    const double s = side * k;
    std::vector<Candidate> found;
    for (int i = 1; i < n; ++i) {
        const int a = stats.at<int>(i, cv::CC_STAT_AREA);
        const int w = stats.at<int>(i, cv::CC_STAT_WIDTH), h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        // Within half to twice the size, for tilt and for the code's own scale.
        if (a < s * s * 0.25 || a > s * s * 4.0) continue;
        if (w < s * 0.4 || h < s * 0.4 || w > s * 2.4 || h > s * 2.4) continue;
        if (a < 0.45 * w * h) continue;
        const cv::Rect r(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP), w,
                         h);
        std::vector<cv::Point> points;
        cv::findNonZero(labels(r) == i, points);
        const cv::RotatedRect box = cv::minAreaRect(points);
        const double boxArea = std::max(1.0f, box.size.width * box.size.height);
        const double longer = std::max(box.size.width, box.size.height);
        const double shorter = std::max(1.0f, std::min(box.size.width, box.size.height));
        if (a < 0.75 * boxArea || longer > 2.2 * shorter) continue;
        found.push_back({{(centroids.at<double>(i, 0) + 0.5) / k - 0.5,
                          (centroids.at<double>(i, 1) + 0.5) / k - 0.5},
                         a / (k * k)});
    }
    return found;
}

double Cross(cv::Point2d a, cv::Point2d b, cv::Point2d c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

struct Layout {
    std::array<cv::Point2d, 4> marks;       // the marks' centres on the sheet
    std::array<cv::Point2d, 4> symbol;      // the code's corners on the sheet
    std::array<cv::Point2d, 4> codeCorners; // ...and in the image
    double module = 1;                      // image pixels
    double markArea = 1;                    // sheet pixels
};

struct Tried {
    cv::Matx33d h;
    double residual = 0; // modules
};

cv::Point2d Apply(const cv::Matx33d& h, cv::Point2d p) {
    const double w = h(2, 0) * p.x + h(2, 1) * p.y + h(2, 2);
    if (std::abs(w) < 1e-12) return {-1e9, -1e9};
    return {(h(0, 0) * p.x + h(0, 1) * p.y + h(0, 2)) / w,
            (h(1, 0) * p.x + h(1, 1) * p.y + h(1, 2)) / w};
}

// The turn, scale and shift that best map from onto to (least squares): all
// that two marks and the code can fix, enough for a flat scan.
cv::Matx33d Similarity(const std::vector<cv::Point2d>& from, const std::vector<cv::Point2d>& to) {
    cv::Mat a(static_cast<int>(2 * from.size()), 4, CV_64F), b(a.rows, 1, CV_64F);
    for (std::size_t i = 0; i < from.size(); ++i) {
        const int r = static_cast<int>(2 * i);
        a.at<double>(r, 0) = from[i].x;
        a.at<double>(r, 1) = -from[i].y;
        a.at<double>(r, 2) = 1;
        a.at<double>(r, 3) = 0;
        b.at<double>(r, 0) = to[i].x;
        a.at<double>(r + 1, 0) = from[i].y;
        a.at<double>(r + 1, 1) = from[i].x;
        a.at<double>(r + 1, 2) = 0;
        a.at<double>(r + 1, 3) = 1;
        b.at<double>(r + 1, 0) = to[i].y;
    }
    cv::Mat x;
    cv::solve(a, b, x, cv::DECOMP_SVD);
    const double c = x.at<double>(0), s = x.at<double>(1);
    return {c, -s, x.at<double>(2), s, c, x.at<double>(3), 0, 0, 1};
}

// The perspective of the chosen marks (null: missing; with two missing, the
// turn, scale and shift alone) and how
// far it puts the code's corners and the marks from where they were seen;
// nothing for a choice that cannot be the page (twisted, mirrored, or marks
// of the wrong size).
std::optional<Tried> TryMarks(const std::array<const Candidate*, 4>& chosen, const Layout& l) {
    std::vector<cv::Point2d> sheet, image;
    for (std::size_t k = 0; k < 4; ++k)
        if (chosen[k]) {
            sheet.push_back(l.marks[k]);
            image.push_back(chosen[k]->centre);
        }
    if (sheet.size() < 2) return std::nullopt;
    for (std::size_t i = 0; i < sheet.size() && sheet.size() > 2; ++i) {
        const std::size_t j = (i + 1) % sheet.size(), k = (i + 2) % sheet.size();
        if (Cross(sheet[i], sheet[j], sheet[k]) * Cross(image[i], image[j], image[k]) <= 0)
            return std::nullopt;
    }
    Tried tried;
    if (sheet.size() == 4) {
        std::vector<cv::Point2f> from, to;
        for (std::size_t i = 0; i < 4; ++i) {
            from.push_back(cv::Point2f(float(sheet[i].x), float(sheet[i].y)));
            to.push_back(cv::Point2f(float(image[i].x), float(image[i].y)));
        }
        tried.h = cv::getPerspectiveTransform(from, to);
    } else {
        std::vector<cv::Point2d> from = sheet, to = image;
        from.insert(from.end(), l.symbol.begin(), l.symbol.end());
        to.insert(to.end(), l.codeCorners.begin(), l.codeCorners.end());
        if (sheet.size() == 3) {
            const cv::Mat h = cv::findHomography(from, to, 0);
            if (h.empty()) return std::nullopt;
            tried.h = cv::Matx33d(h);
        } else {
            tried.h = Similarity(from, to);
        }
    }
    for (std::size_t i = 0; i < 4; ++i)
        tried.residual = std::max(tried.residual, cv::norm(Apply(tried.h, l.symbol[i]) - l.codeCorners[i]));
    for (std::size_t i = 0; i < sheet.size(); ++i)
        tried.residual = std::max(tried.residual, cv::norm(Apply(tried.h, sheet[i]) - image[i]));
    tried.residual /= l.module;
    // Each blob about as large as the fit says the mark there is.
    for (std::size_t k = 0; k < 4; ++k) {
        if (!chosen[k]) continue;
        const cv::Point2d c = Apply(tried.h, l.marks[k]);
        const double sx = cv::norm(Apply(tried.h, l.marks[k] + cv::Point2d(1, 0)) - c);
        const double sy = cv::norm(Apply(tried.h, l.marks[k] + cv::Point2d(0, 1)) - c);
        const double ratio = chosen[k]->area / (l.markArea * sx * sy);
        if (!(ratio > 0.5 && ratio < 1.8)) return std::nullopt;
    }
    return tried;
}

} // namespace

cv::Point2d ApplyFit(const cv::Matx33d& h, double x, double y) {
    return Apply(h, {x, y});
}

PageFit FitPage(const cv::Mat& ink, const CodePlace& code,
                const std::array<CanvasRect, 4>& corners) {
    PageFit fit;
    fit.rejection = MarksMissing();
    const CanvasRect& sym = code.symbol;
    const std::array<cv::Point2d, 4> symbol = {cv::Point2d(sym.left, sym.top),
                                               cv::Point2d(sym.right, sym.top),
                                               cv::Point2d(sym.right, sym.bottom),
                                               cv::Point2d(sym.left, sym.bottom)};
    double edges = 0;
    for (std::size_t i = 0; i < 4; ++i)
        edges += cv::norm(code.corners[i] - code.corners[(i + 1) % 4]);
    const double module = edges / 4 / std::max(1, code.modules); // image pixels
    const double sheetModule = static_cast<double>(sym.right - sym.left) / std::max(1, code.modules);
    if (!(module > 0.3) || !(sheetModule > 0)) return fit;
    const double scale = module / sheetModule; // image pixels per sheet pixel, near the code
    // Where the code alone puts each mark, to try the nearest blobs first.
    std::vector<cv::Point2f> from, to;
    for (std::size_t i = 0; i < 4; ++i) {
        from.push_back(cv::Point2f(float(symbol[i].x), float(symbol[i].y)));
        to.push_back(cv::Point2f(float(code.corners[i].x), float(code.corners[i].y)));
    }
    const cv::Matx33d rough = cv::getPerspectiveTransform(from, to);
    const double side = (corners[0].right - corners[0].left) * scale;
    const std::vector<Candidate> blobs = MarkCandidates(ink, side);
    std::array<cv::Point2d, 4> printed;
    std::array<std::vector<const Candidate*>, 4> near;
    for (std::size_t k = 0; k < 4; ++k) {
        const CanvasRect& c = corners[k];
        printed[k] = {(c.left + c.right) / 2.0, (c.top + c.bottom) / 2.0};
        const cv::Point2d guess = ApplyFit(rough, printed[k].x, printed[k].y);
        std::vector<const Candidate*>& list = near[k];
        for (const Candidate& b : blobs)
            list.push_back(&b);
        std::sort(list.begin(), list.end(), [&](const Candidate* a, const Candidate* b) {
            return cv::norm(a->centre - guess) < cv::norm(b->centre - guess);
        });
        if (list.size() > kCandidatesPerCorner) list.resize(kCandidatesPerCorner);
    }
    Layout layout{printed, symbol, code.corners, module,
                  static_cast<double>(corners[0].right - corners[0].left) *
                      (corners[0].bottom - corners[0].top)};
    // All four marks; failing that, three or two of them with the code's corners.
    std::array<const Candidate*, 4> chosen{};
    std::array<std::size_t, 4> at{};
    double best = 1e300;
    const auto consider = [&] {
        const std::optional<Tried> tried = TryMarks(chosen, layout);
        if (tried && tried->residual < best) {
            best = tried->residual;
            fit.sheetToImage = tried->h;
            fit.marks = static_cast<int>(
                std::count_if(chosen.begin(), chosen.end(), [](const Candidate* c) { return c; }));
        }
    };
    // Which marks are left out: none, then each one, then each pair.
    const int leftOut[] = {0, 1, 2, 4, 8, 3, 6, 12, 9, 5, 10};
    for (int missing : leftOut) {
        if (best <= kMostCodeResidual) break;
        std::array<std::size_t, 4> count{};
        for (std::size_t k = 0; k < 4; ++k)
            count[k] = (missing >> k) & 1 ? 1 : near[k].size();
        for (at[0] = 0; at[0] < count[0]; ++at[0])
            for (at[1] = 0; at[1] < count[1]; ++at[1])
                for (at[2] = 0; at[2] < count[2]; ++at[2])
                    for (at[3] = 0; at[3] < count[3]; ++at[3]) {
                        for (std::size_t k = 0; k < 4; ++k)
                            chosen[k] = (missing >> k) & 1 ? nullptr : near[k][at[k]];
                        consider();
                    }
    }
    fit.residual = best;
    if (best > kMostCodeResidual) {
        // No marks to go by: the code's own turn, scale and shift, which the
        // boxes' outlines must then confirm one by one.
        fit.rejection = best > 1e299 ? MarksMissing() : MarksDisagree();
        fit.sheetToImage = Similarity({symbol.begin(), symbol.end()},
                                      {code.corners.begin(), code.corners.end()});
        fit.codeOnly = true;
        fit.marks = 0;
        return fit;
    }
    fit.ok = true;
    fit.rejection = {};
    return fit;
}

double MarkDarkness(const cv::Mat& ink, const PageFit& fit,
                    const std::array<CanvasRect, 4>& corners) {
    // The mark's middle against the white frame printed around it, each the
    // mean of a small square of the image.
    const auto mean = [&](cv::Point2d c, double radius) {
        const int r = std::max(1, static_cast<int>(radius));
        const cv::Rect area =
            cv::Rect(static_cast<int>(c.x) - r, static_cast<int>(c.y) - r, 2 * r + 1, 2 * r + 1) &
            cv::Rect(0, 0, ink.cols, ink.rows);
        return area.area() > 0 ? cv::mean(ink(area))[0] : -1.0;
    };
    std::vector<double> darkness;
    for (const CanvasRect& mark : corners) {
        const double side = mark.right - mark.left;
        const double cx = (mark.left + mark.right) / 2.0, cy = (mark.top + mark.bottom) / 2.0;
        const cv::Point2d centre = ApplyFit(fit.sheetToImage, cx, cy);
        const double scale = cv::norm(ApplyFit(fit.sheetToImage, cx + side, cy) - centre) / side;
        const double dark = mean(centre, 0.2 * side * scale);
        double paper = -1;
        const double away = 0.625 * side; // the middle of the frame, a quarter side wide
        for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1},
                                     std::pair{0, -1}})
            paper = std::max(paper, mean(ApplyFit(fit.sheetToImage, cx + dx * away,
                                                  cy + dy * away),
                                         0.06 * side * scale));
        if (dark >= 0 && paper >= 0) darkness.push_back(paper - dark);
    }
    if (darkness.empty()) return 0;
    std::nth_element(darkness.begin(), darkness.begin() + static_cast<std::ptrdiff_t>(darkness.size() / 2), darkness.end());
    return std::max(0.0, darkness[darkness.size() / 2]);
}
