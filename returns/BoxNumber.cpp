#include "BoxNumber.h"

#include "DigitClassifier.h"
#include "LearnedDigits.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {
// Ink values reach 1 at this share of the paper's brightness below it.
constexpr double kFullInk = 0.55;
// More characters than this are no quantity: not even guessed.
constexpr int kMostPieces = 8;

struct Ink {
    cv::Mat value;  // CV_32F, 0 paper .. 1 ink
    cv::Mat mask;   // CV_8U, 255 where ink
    double paper;   // the paper's brightness
};
// Paper darker than this is a box inked all over: no telling what is written.
constexpr double kDarkestPaper = 128;

Ink InkOf(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat g(grey.height(), grey.width(), CV_8U);
    for (int y = 0; y < grey.height(); ++y)
        std::copy_n(grey.constScanLine(y), grey.width(), g.ptr<uchar>(y));
    const double paper = PaperBrightness(g);
    Ink ink{cv::Mat(g.size(), CV_32F), cv::Mat(g.size(), CV_8U), paper};
    for (int y = 0; y < g.rows; ++y) {
        const uchar* in = g.ptr<uchar>(y);
        float* value = ink.value.ptr<float>(y);
        uchar* mask = ink.mask.ptr<uchar>(y);
        for (int x = 0; x < g.cols; ++x) {
            const double contrast = paper - in[x];
            value[x] = static_cast<float>(std::clamp(contrast / (kFullInk * paper), 0.0, 1.0));
            mask[x] = contrast > kInkContrast * paper ? 255 : 0;
        }
    }
    return ink;
}

// One character: the connected strokes it is made of, within its rectangle,
// optionally only the columns from cutLeft to cutRight (exclusive).
struct Piece {
    cv::Rect box;
    std::vector<int> labels;
    bool comma = false;
};

double Overlap(const cv::Rect& a, const cv::Rect& b) {
    return std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
}

void Join(Piece* into, const Piece& other) {
    into->box |= other.box;
    into->labels.insert(into->labels.end(), other.labels.begin(), other.labels.end());
}

// The connected strokes big enough to be writing; specks of dust and scanner
// noise are left out. *edgeStroke is set for a long thin stroke along the left
// or right edge: a leftover of the box's outline or a 1, which cannot be told.
std::vector<Piece> Strokes(const cv::Mat& stats, int count,
                           cv::Size box, bool* edgeStroke) {
    const double speck = std::max(2.0, 0.06 * box.height);
    std::vector<Piece> strokes;
    for (int i = 1; i < count; ++i) {
        const cv::Rect r(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                         stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        if (std::max(r.width, r.height) < speck) continue;
        const bool thin = r.height <= std::max(2.0, 0.08 * box.height);
        const bool alongTop = r.y == 0 || r.y + r.height == box.height;
        if (thin && alongTop && r.width >= 0.6 * box.width) continue; // the outline's rest
        const double edge = std::max(2.0, 0.03 * box.width);
        if ((r.x < edge || r.x + r.width > box.width - edge) && r.height >= 0.7 * box.height &&
            r.width <= std::max(3.0, 0.08 * box.height))
            *edgeStroke = true;
        strokes.push_back({r, {i}, false});
    }
    return strokes;
}

// Small strokes join the character they stand over or under; a small stroke
// low in the line between two characters is a decimal comma. Tall strokes
// that share most of their columns are one character (a 5 whose flag is lifted).
std::vector<Piece> Characters(std::vector<Piece> strokes, bool* stray) {
    int tallest = 0, lineTop = 1 << 30;
    for (const Piece& s : strokes) tallest = std::max(tallest, s.box.height);
    for (const Piece& s : strokes)
        if (s.box.height >= 0.6 * tallest) lineTop = std::min(lineTop, s.box.y);
    // A stroke wholly in the lower part of the line is a comma or no digit's part.
    auto isLow = [&](const Piece& s) { return s.box.y >= lineTop + 0.55 * tallest; };
    std::vector<Piece> big, small;
    for (Piece& s : strokes) {
        if (std::max(s.box.width, s.box.height) < 0.45 * tallest || isLow(s))
            small.push_back(std::move(s));
        else
            big.push_back(std::move(s));
    }
    std::sort(big.begin(), big.end(), [](const Piece& a, const Piece& b) { return a.box.x < b.box.x; });
    std::vector<Piece> chars;
    for (Piece& s : big) {
        if (!chars.empty() &&
            Overlap(chars.back().box, s.box) >= 0.5 * std::min(chars.back().box.width, s.box.width))
            Join(&chars.back(), s);
        else
            chars.push_back(std::move(s));
    }
    for (Piece& s : small) {
        auto over = std::find_if(chars.begin(), chars.end(), [&](const Piece& c) {
            return Overlap(c.box, s.box) >= 0.5 * s.box.width;
        });
        const bool low = isLow(s);
        if (over != chars.end()) {
            // Low under a character: a comma or a piece of it cannot be told.
            if (low) *stray = true;
            Join(&*over, s);
            continue;
        }
        const bool between = !chars.empty() && s.box.x > chars.front().box.x &&
                             s.box.x < chars.back().box.x;
        if (low && between) {
            s.comma = true;
            chars.push_back(std::move(s));
        } else {
            *stray = true; // a dot, a dash, a letter's accent: no number
        }
    }
    std::sort(chars.begin(), chars.end(), [](const Piece& a, const Piece& b) { return a.box.x < b.box.x; });
    return chars;
}

// The ink of one piece, only from its own strokes (and their soft edges).
cv::Mat PieceInk(const Ink& ink, const cv::Mat& labels, const Piece& piece, cv::Rect cut) {
    const cv::Rect r = piece.box & cut;
    cv::Mat own = cv::Mat::zeros(r.size(), CV_8U);
    for (int y = 0; y < r.height; ++y) {
        const int* row = labels.ptr<int>(r.y + y) + r.x;
        for (int x = 0; x < r.width; ++x)
            if (std::find(piece.labels.begin(), piece.labels.end(), row[x]) != piece.labels.end())
                own.at<uchar>(y, x) = 255;
    }
    cv::dilate(own, own, cv::Mat());
    cv::Mat out = cv::Mat::zeros(r.size(), CV_32F);
    ink.value(r).copyTo(out, own);
    return out;
}

// Touching characters are cut where a column holds the least ink, between a
// quarter and three quarters of the piece's width, and a piece much wider than
// tall is cut again. Only a light touch is cut (the column holds at most a
// third of the piece's mean column ink, and both parts are at least a third as
// wide as tall); *uncut is set for a wide piece that cannot be cut so.
void CutWide(const cv::Mat& pieceInk, cv::Rect span, int depth, std::vector<cv::Rect>* out,
             bool* uncut) {
    if (span.width <= 1.25 * span.height) {
        out->push_back(span);
        return;
    }
    const cv::Mat columns = pieceInk(span);
    const double meanColumn = cv::sum(columns)[0] / span.width;
    const int from = std::max(span.x + span.width / 4, span.x + span.height / 3);
    const int to = std::min(span.x + span.width * 3 / 4, span.x + span.width - span.height / 3);
    int best = -1;
    double bestInk = 1e300;
    for (int x = from; x < to; ++x) {
        const double columnInk = cv::sum(pieceInk.col(x).rowRange(span.y, span.y + span.height))[0];
        if (columnInk < bestInk) {
            bestInk = columnInk;
            best = x;
        }
    }
    if (depth >= 2 || best < 0 || bestInk > meanColumn / 3) {
        *uncut = true;
        out->push_back(span);
        return;
    }
    CutWide(pieceInk, cv::Rect(span.x, span.y, best - span.x, span.height), depth + 1, out, uncut);
    CutWide(pieceInk, cv::Rect(best, span.y, span.x + span.width - best, span.height), depth + 1, out,
            uncut);
}

// Whether the characters read make a plausible quantity: one to four digits,
// no leading zero before more digits, at most one comma with one or two digits after it.
bool Plausible(const QString& text) {
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    const QString whole = comma < 0 ? text : text.left(comma);
    const QString fraction = comma < 0 ? QString() : text.mid(comma + 1);
    if (whole.isEmpty() || text.count(QLatin1Char(',')) > 1) return false;
    if (comma >= 0 && (fraction.isEmpty() || fraction.size() > 2)) return false;
    if (whole.size() + fraction.size() > 4) return false;
    if (whole.size() > 1 && whole.front() == QLatin1Char('0')) return false;
    for (QChar c : whole + fraction)
        if (!c.isDigit()) return false;
    return true;
}
} // namespace

namespace {
// A box's ink split into characters: each digit's ink, or a comma.
struct Split {
    std::vector<cv::Mat> inks; // empty for a comma
    bool unsure = false;       // strokes that make no clean line of digits
    bool ink = false;          // any writing at all
};

// The characters of the box, in reading order; at most kMostPieces of them.
Split SplitBox(const Ink& ink) {
    Split split;
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(ink.mask, labels, stats, centroids, 8, CV_32S);
    std::vector<Piece> strokes = Strokes(stats, count, ink.mask.size(), &split.unsure);
    if (strokes.empty()) return split;
    split.ink = true;
    const std::vector<Piece> chars = Characters(std::move(strokes), &split.unsure);
    if (static_cast<int>(chars.size()) > kMostPieces) {
        split.unsure = true;
        return split;
    }
    int tallest = 0;
    std::vector<int> tops, bottoms;
    for (const Piece& c : chars) {
        if (c.comma) continue;
        tallest = std::max(tallest, c.box.height);
        tops.push_back(c.box.y);
        bottoms.push_back(c.box.y + c.box.height);
    }
    if (tops.empty()) {
        split.unsure = true;
        return split;
    }
    std::nth_element(tops.begin(), tops.begin() + tops.size() / 2, tops.end());
    std::nth_element(bottoms.begin(), bottoms.begin() + bottoms.size() / 2, bottoms.end());
    const int top = tops[tops.size() / 2], bottom = bottoms[bottoms.size() / 2];
    for (const Piece& c : chars) {
        if (c.comma) {
            split.inks.emplace_back();
            continue;
        }
        // Digits stand on one line and are about as tall as each other; letters
        // have bodies, ascenders, descenders and dots, and a comma that touches
        // a digit hangs below the line.
        if (c.box.height < 0.7 * tallest || std::abs(c.box.y - top) > 0.2 * tallest ||
            std::abs(c.box.y + c.box.height - bottom) > 0.12 * tallest)
            split.unsure = true;
        const cv::Rect whole(0, 0, labels.cols, labels.rows);
        std::vector<cv::Rect> spans;
        CutWide(PieceInk(ink, labels, c, whole), cv::Rect(0, 0, c.box.width, c.box.height), 0,
                &spans, &split.unsure);
        for (const cv::Rect& span : spans)
            split.inks.push_back(
                PieceInk(ink, labels, c, cv::Rect(c.box.x + span.x, 0, span.width, labels.rows)));
    }
    return split;
}
} // namespace

BoxNumber ReadBoxNumber(const QImage& boxInside, const DigitClassifier& classifier,
                        const LearnedDigits* learned) {
    BoxNumber result;
    if (boxInside.isNull() || boxInside.width() < 4 || boxInside.height() < 4) return result;
    const Ink ink = InkOf(boxInside);
    if (ink.paper < kDarkestPaper) {
        result.kind = BoxNumber::Kind::Unsure;
        return result;
    }
    const Split split = SplitBox(ink);
    if (!split.ink) return result;
    result.kind = BoxNumber::Kind::Unsure;
    if (split.inks.empty()) return result;
    bool unsure = split.unsure;
    result.clean = !split.unsure;
    result.margin = std::numeric_limits<double>::infinity();
    std::vector<double> margins;
    for (const cv::Mat& character : split.inks) {
        if (character.empty()) {
            result.guess += QLatin1Char(',');
            continue;
        }
        std::vector<double> x;
        DigitGuess g;
        if (classifier.Describe(character, &x)) {
            g = classifier.ClassifyFeatures(x);
            if (learned) g = learned->Adapt(g, x);
        }
        result.guess += g.digit < 0 ? QStringLiteral("?") : QString::number(g.digit);
        result.margin = std::min(result.margin, g.digit < 0 ? -1.0 : g.margin);
        margins.push_back(g.digit < 0 ? -1.0 : g.margin);
    }
    if (!unsure && classifier.NumberConfident(margins) && Plausible(result.guess)) {
        result.kind = BoxNumber::Kind::Number;
        result.text = result.guess;
    }
    return result;
}

std::vector<cv::Mat> BoxCharacters(const QImage& boxInside, bool* clean) {
    *clean = false;
    if (boxInside.isNull() || boxInside.width() < 4 || boxInside.height() < 4) return {};
    const Ink ink = InkOf(boxInside);
    if (ink.paper < kDarkestPaper) return {};
    Split split = SplitBox(ink);
    *clean = split.ink && !split.unsure;
    return std::move(split.inks);
}

int PaperBrightness(const cv::Mat& grey) {
    int histogram[256] = {};
    for (int y = 0; y < grey.rows; ++y) {
        const uchar* row = grey.ptr<uchar>(y);
        for (int x = 0; x < grey.cols; ++x) ++histogram[row[x]];
    }
    const long long wanted = static_cast<long long>(grey.total()) * 9 / 10;
    long long seen = 0;
    int level = 0;
    while (level < 255 && (seen += histogram[level]) < wanted) ++level;
    return std::max(64, level);
}
