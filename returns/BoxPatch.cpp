// Taking a box's surroundings square: the patch, the paper's level, the paper's edge.
#include "BoxPatch.h"

#include "PageGeometry.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

double Quantile(const cv::Mat& m, double share, const cv::Mat& mask) {
    std::vector<float> values;
    values.reserve(m.total());
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x)
            if (mask.empty() || !mask.at<uchar>(y, x)) values.push_back(m.at<float>(y, x));
    if (values.empty()) return 0;
    const std::size_t at = std::min(values.size() - 1,
                                    static_cast<std::size_t>(share * static_cast<double>(values.size())));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
    return values[at];
}

namespace {

// The patch reaches this share of the box's side around it.
constexpr double kMargin = 0.6;
// Boxes are looked at between these many pixels across.
constexpr int kLeastSide = 24, kMostSide = 96;

// Marks what of the patch lies beyond the paper's edges, or so close inside
// them that the edge's blur or the fit's error may reach it (sheet to patch:
// x' = (x - x0) * q + margin, the same for y); false when nothing does.
bool MarkOffPaper(Patch& p, const CanvasRect& box, const CanvasRect& paper) {
    const double guard = 2 + 0.05 * p.side;
    const auto at = [&](int sheet, int from) { return (sheet - from) * p.q + p.margin; };
    const double left = at(paper.left, box.left) + guard, right = at(paper.right, box.left) - guard;
    const double top = at(paper.top, box.top) + guard, bottom = at(paper.bottom, box.top) - guard;
    p.offPaper = cv::Mat(p.values.size(), CV_8U, cv::Scalar(0));
    bool any = false;
    for (int y = 0; y < p.values.rows; ++y)
        for (int x = 0; x < p.values.cols; ++x)
            if (x + 0.5 < left || x + 0.5 > right || y + 0.5 < top || y + 0.5 > bottom) {
                p.offPaper.at<uchar>(y, x) = 255;
                any = true;
            }
    return any;
}

// The paper's level and spread: the middle of the patch's darkness and the
// middle of its spread, unless ink and print cover much of what is left of a
// patch cut by the paper's edge (a box, its label, a heading). Then the
// lightest part, which ink only darkens, tells them better (as for a normal
// spread, its quartile lies 0.67, its 2nd percentile 2.05 spreads below the
// middle); but paper lighter than the rest (a box's white inside on a tinted
// page) widens that one instead. Both only widen, so the narrower is kept.
void PaperLevel(Patch& p, const cv::Mat& mask) {
    p.offset = Quantile(p.dark, 0.5, mask);
    const cv::Mat spread = cv::abs(p.dark - p.offset);
    p.noise = std::max(1.0, 1.4826 * Quantile(spread, 0.5, mask));
    if (mask.empty()) return;
    const double quartile = Quantile(p.dark, 0.25, mask);
    const double lightest = Quantile(p.dark, 0.02, mask);
    const double noise = std::max(1.0, (quartile - lightest) / 1.38);
    if (noise >= p.noise) return;
    p.noise = noise;
    p.offset = quartile + 0.67 * noise;
}

// The paper: the patch with every dark thing narrower than the box closed
// over, so that light falling off and shadows stay and ink goes. Beyond the
// paper's edge the patch is taken as paper first, so that a dark table there
// is neither closed over into ink nor mistaken for paper.
void EstimatePaper(Patch& p, bool edge) {
    cv::Mat values = p.values;
    if (edge) {
        cv::Mat level;
        p.values.convertTo(level, CV_32F);
        values = p.values.clone();
        values.setTo(cv::Scalar(Quantile(level, 0.75, p.offPaper)), p.offPaper);
    }
    cv::Mat small, paper;
    const int pw = values.cols, ph = values.rows;
    cv::resize(values, small, cv::Size(std::max(4, pw / 4), std::max(4, ph / 4)), 0, 0,
               cv::INTER_AREA);
    const int k = std::max(3, p.side * 11 / 40) | 1;
    cv::morphologyEx(small, small, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(k, k)));
    cv::resize(small, paper, values.size(), 0, 0, cv::INTER_LINEAR);
    cv::subtract(paper, values, p.dark, cv::noArray(), CV_32F);
    PaperLevel(p, edge ? p.offPaper : cv::Mat());
    if (edge) p.dark.setTo(cv::Scalar(p.offset), p.offPaper);
}

} // namespace

bool TakePatch(const cv::Mat& ink, const cv::Matx33d& h, const CanvasRect& b,
               const CanvasRect& paper, Patch& p, double slack, int border) {
    const double w = b.right - b.left, ht = b.bottom - b.top;
    const cv::Point2d c0 = ApplyFit(h, b.left, b.top);
    for (const cv::Point2d c : {c0, ApplyFit(h, b.right, b.top), ApplyFit(h, b.right, b.bottom),
                                ApplyFit(h, b.left, b.bottom)})
        if (!(c.x >= -slack && c.y >= -slack && c.x < ink.cols + slack && c.y < ink.rows + slack))
            return false;
    const double imageSide = std::max(cv::norm(ApplyFit(h, b.right, b.top) - c0),
                                      cv::norm(ApplyFit(h, b.left, b.bottom) - c0));
    p.side = std::clamp(static_cast<int>(std::lround(imageSide)), kLeastSide, kMostSide);
    p.q = p.side / std::max(w, ht);
    p.margin = static_cast<int>(std::lround(kMargin * p.side));
    const int pw = static_cast<int>(std::lround(w * p.q)) + 2 * p.margin;
    const int ph = static_cast<int>(std::lround(ht * p.q)) + 2 * p.margin;
    const cv::Matx33d toSheet(1 / p.q, 0, b.left - p.margin / p.q, 0, 1 / p.q,
                              b.top - p.margin / p.q, 0, 0, 1);
    p.toImage = h * toSheet;
    cv::warpPerspective(ink, p.values, cv::Mat(p.toImage), cv::Size(pw, ph),
                        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, border, cv::Scalar(255));
    EstimatePaper(p, MarkOffPaper(p, b, paper));
    return true;
}
