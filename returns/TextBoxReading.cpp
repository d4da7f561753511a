// Cutting a text box's pen ink out of a scanned page and reading its number.
#include "TextBoxReading.h"

#include "DrawnField.h"
#include "PageGeometry.h"
#include "PaperReturns.h"
#include "ProgramFiles.h"

#include <opencv2/imgproc.hpp>

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {
// The inside is read at most at this resolution: enough for any digit.
constexpr double kReadingDpi = 300;
// A row or column of the outline is dark over at least this share of the box.
constexpr double kOutlineShare = 0.5;

std::mutex readerLock;
bool readerSet = false;
std::shared_ptr<HandNumberReader> reader;

// The outline's line near expected along a profile of dark shares: of the
// lines dark enough within reach, the nearest (a neighbouring box's outline
// may be as dark), and the edge of its darkness towards the inside (inward
// +1 or -1). expected itself when no line is dark enough.
int OutlineEdge(const std::vector<double>& profile, int expected, int reach, int inward, int line) {
    const int size = static_cast<int>(profile.size());
    const auto share = [&](int i) { return profile[static_cast<std::size_t>(i)]; };
    int nearest = -1;
    for (int d = 0; d <= reach && nearest < 0; ++d)
        for (int i : {expected - d, expected + d})
            if (nearest < 0 && i >= 0 && i < size && share(i) >= kOutlineShare) nearest = i;
    if (nearest < 0) return expected;
    // The line's darkest row or column, within its width of where it was met.
    int centre = nearest;
    for (int i = std::max(0, nearest - line); i <= std::min(size - 1, nearest + line); ++i)
        if (share(i) > share(centre)) centre = i;
    int edge = centre;
    while (edge + inward >= 0 && edge + inward < size && share(edge + inward) >= share(centre) / 3)
        edge += inward;
    return edge;
}

// The dark share of each row (rows true) or column of mask within span.
std::vector<double> Profile(const cv::Mat& mask, bool rows, cv::Range span) {
    cv::Mat counts;
    const cv::Mat part = rows ? mask.colRange(span) : mask.rowRange(span);
    cv::reduce(part / 255, counts, rows ? 1 : 0, cv::REDUCE_SUM, CV_32S);
    std::vector<double> out(counts.total());
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = counts.at<int>(static_cast<int>(i)) / std::max(1.0, static_cast<double>(span.size()));
    return out;
}

// Strokes lying wholly within label (pixels of inside) are made paper.
void ClearLabel(cv::Mat& inside, const cv::Rect& label, double paper) {
    cv::Mat mask = inside < paper * (1 - kInkContrast);
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    std::vector<bool> printed(static_cast<std::size_t>(count), false);
    for (int i = 1; i < count; ++i) {
        const cv::Rect r(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                         stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        printed[static_cast<std::size_t>(i)] = (r & label) == r;
    }
    // The soft edges of the label's strokes go with them. They all lie within label.
    cv::Mat erase = cv::Mat::zeros(inside.size(), CV_8U);
    const cv::Rect within = label & cv::Rect(0, 0, inside.cols, inside.rows);
    for (int y = within.y; y < within.y + within.height; ++y) {
        const int* row = labels.ptr<int>(y);
        for (int x = within.x; x < within.x + within.width; ++x)
            if (printed[static_cast<std::size_t>(row[x])]) erase.at<uchar>(y, x) = 255;
    }
    cv::dilate(erase, erase, cv::getStructuringElement(cv::MORPH_RECT, {5, 5}));
    inside.setTo(cv::Scalar(paper), erase);
}

// Where a text box's label may lie from its top left corner, in sheet
// pixels: its lines from the box's top, about 0.6 of a line's height per
// character, and a gap's slack.
cv::Size LabelSize(const DrawnField& field, int dpi, double lineWidth) {
    int longest = 0;
    for (const QString& line : field.label.split(QRegularExpression(QStringLiteral("[\r\n]+"))))
        longest = std::max(longest, static_cast<int>(line.size()));
    const double em = field.lineHeight / 1.15;
    return {static_cast<int>(longest * 0.62 * em + 4.0 / 25.4 * dpi),
            static_cast<int>(std::max(1, field.labelLines) * field.lineHeight + 2 * lineWidth)};
}

QImage ToImage(const cv::Mat& grey) {
    QImage image(grey.cols, grey.rows, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.rows; ++y) std::copy_n(grey.ptr<uchar>(y), grey.cols, image.scanLine(y));
    return image;
}
} // namespace

std::shared_ptr<HandNumberReader> HandNumberReader::Load(const QString& model,
                                                         const QString& learnedFolder,
                                                         QString* error) {
    std::optional<DigitClassifier> classifier = DigitClassifier::Load(model, error);
    if (!classifier) return nullptr;
    auto loaded = std::make_shared<HandNumberReader>(std::move(*classifier), learnedFolder);
    loaded->learned->Load();
    return loaded;
}

HandNumberReader::HandNumberReader(DigitClassifier model, const QString& learnedFolder)
    : classifier(std::move(model)),
      learned(std::make_unique<LearnedDigits>(classifier, learnedFolder)) {}

BoxNumber HandNumberReader::Read(const QImage& boxInside) const {
    return ReadBoxNumber(boxInside, classifier, learned.get());
}

bool HandNumberReader::Learn(const QImage& boxInside, const QString& text, QString* error) {
    return learned->Keep(boxInside, text, error);
}

std::shared_ptr<HandNumberReader> CurrentNumberReader() {
    std::lock_guard<std::mutex> hold(readerLock);
    if (!readerSet && QCoreApplication::instance()) {
        readerSet = true;
        const QString data = ProgramDataDir(QCoreApplication::applicationDirPath());
        const QString learned = UserFilePath(QStringLiteral("learned-digits"));
        reader = HandNumberReader::Load(QDir(data).filePath(QStringLiteral("digits.model")),
                                        learned);
    }
    return reader;
}

void UseNumberReader(std::shared_ptr<HandNumberReader> use) {
    std::lock_guard<std::mutex> hold(readerLock);
    readerSet = true;
    reader = std::move(use);
}

QImage TextBoxInside(const cv::Mat& ink, const cv::Matx33d& sheetToImage,
                     const DrawnField& field, int dpi, double lineWidth) {
    const CanvasRect& b = field.box;
    const double w = b.right - b.left, h = b.bottom - b.top;
    if (w < 4 || h < 4 || dpi <= 0) return {};
    // Image pixels per sheet pixel along the box's top, at most the reading resolution.
    const cv::Point2d a = ApplyFit(sheetToImage, b.left, b.top), c = ApplyFit(sheetToImage, b.right, b.top);
    const double k = std::min(cv::norm(c - a) / w, kReadingDpi / dpi);
    const double margin = std::min(0.25 * h, 0.1 * w) + 2 * lineWidth;
    const cv::Size size(static_cast<int>((w + 2 * margin) * k), static_cast<int>((h + 2 * margin) * k));
    if (size.width < 8 || size.height < 8 || double(size.width) * size.height > 4e7) return {};
    const cv::Matx33d toSheet(1 / k, 0, b.left - margin, 0, 1 / k, b.top - margin, 0, 0, 1);
    cv::Mat crop;
    cv::warpPerspective(ink, crop, cv::Mat(sheetToImage * toSheet), size,
                        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_REPLICATE);
    const double paper = PaperBrightness(crop);
    const cv::Mat dark = crop < paper * (1 - kInkContrast);
    // The outline where the fit puts it, moved to where its lines are.
    const int m = static_cast<int>(margin * k), right = size.width - m, bottom = size.height - m;
    const int reach = std::max(2, m - 1);
    const std::vector<double> rows = Profile(dark, true, cv::Range(m, right));
    const std::vector<double> cols = Profile(dark, false, cv::Range(m, bottom));
    const int line = std::max(2, static_cast<int>(std::ceil(lineWidth * k)) + 1);
    const int pad = std::max(2, line / 2);
    const int top = OutlineEdge(rows, m, reach, 1, line) + pad;
    const int low = OutlineEdge(rows, bottom, reach, -1, line) - pad;
    const int left = OutlineEdge(cols, m, reach, 1, line) + pad;
    const int far = OutlineEdge(cols, right, reach, -1, line) - pad;
    if (far - left < 4 || low - top < 4) return {};
    cv::Mat inside = crop(cv::Rect(left, top, far - left, low - top)).clone();
    // The label, in the inside's pixels.
    const cv::Size labelSize = LabelSize(field, dpi, lineWidth);
    const cv::Rect label(0, 0, static_cast<int>((labelSize.width + margin) * k) - left + 2,
                         static_cast<int>((labelSize.height + margin) * k) - top + 2);
    if (field.labelLines > 0 && label.width > 0 && label.height > 0) ClearLabel(inside, label, paper);
    return ToImage(inside);
}

void ReadTextBoxNumbers(const cv::Mat& ink, const cv::Matx33d& sheetToImage,
                        const std::vector<const DrawnField*>& fields, const PaperForm& form,
                        int dpi, ScannedPage& out) {
    const std::shared_ptr<HandNumberReader> numbers = CurrentNumberReader();
    if (!numbers) return;
    for (const DrawnField* field : fields) {
        const int column = form.ColumnOf(field->category, field->field);
        const auto box = std::find_if(out.undecided.begin(), out.undecided.end(),
                                      [&](const UndecidedBox& u) { return u.text && u.column == column; });
        if (box == out.undecided.end() || column < 0 ||
            column >= static_cast<int>(out.cells.size()))
            continue;
        const QImage inside = TextBoxInside(ink, sheetToImage, *field, dpi, form.LineWidth(dpi));
        if (inside.isNull()) continue;
        const BoxNumber read = numbers->Read(inside);
        if (read.kind == BoxNumber::Kind::Unsure) {
            TextBoxGuess& guess = out.guesses[column];
            guess.inside = inside;
            // Only a guess that is a quantity is offered: a name's letters
            // guessed as digits would only be typed over.
            static const QRegularExpression quantity(QStringLiteral("^([1-9][0-9]{0,3}|0)(,[0-9]{1,2})?$"));
            if (read.clean && quantity.match(read.guess).hasMatch()) guess.suggestion = read.guess;
            continue;
        }
        if (read.kind == BoxNumber::Kind::Number)
            out.cells[static_cast<std::size_t>(column)].value = read.text;
        out.undecided.erase(box);
    }
}
