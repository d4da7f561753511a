// Reading a scanned page: its code, its marks, its transform, its boxes.
#include "PaperReturns.h"

#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PageMarks.h"
#include "QPainterCanvas.h"
#include "Records.h"

#include <ZXing/ReadBarcode.h>
#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

namespace {

// Layouts kept for sheets seen: a few papers at most in one batch.
constexpr std::size_t kKeptLayouts = 4;
// The page code is looked for first in a copy about this many pixels across.
constexpr int kCodeSearchSide = 1600;

ReturnRejection NoCode() {
    return {QStringLiteral("no readable page code (not printed for reading back, or too "
                           "damaged)"),
            QStringLiteral("Auf der Seite ist kein lesbarer Seitencode.")};
}

ReturnRejection OtherForm() {
    return {QStringLiteral("a page of another form, or of this form before it was changed"),
            QStringLiteral("Die Seite gehört zu einem anderen Formular oder zu einer anderen "
                           "Fassung dieses Formulars.")};
}

struct FoundCode {
    QByteArray text;
    std::array<cv::Point2d, 4> corners; // top left, top right, bottom right, bottom left
};

std::optional<FoundCode> ReadCode(const cv::Mat& grey, double scale) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    const ZXing::ImageView view(grey.data, grey.cols, grey.rows, ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.step));
    const ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    for (const ZXing::Result& r : results) {
        if (!r.isValid()) continue;
        FoundCode code;
        const ZXing::ByteArray& bytes = r.bytes();
        code.text = QByteArray(reinterpret_cast<const char*>(bytes.data()),
                               static_cast<qsizetype>(bytes.size()));
        if (!ParsePageCode(code.text)) continue;
        const auto& p = r.position();
        for (int i = 0; i < 4; ++i)
            code.corners[static_cast<std::size_t>(i)] = {p[i].x / scale, p[i].y / scale};
        return code;
    }
    return std::nullopt;
}

std::optional<FoundCode> FindCode(const cv::Mat& grey) {
    const int side = std::min(grey.cols, grey.rows);
    if (side > kCodeSearchSide * 5 / 4) {
        const double scale = static_cast<double>(kCodeSearchSide) / side;
        cv::Mat small;
        cv::resize(grey, small, cv::Size(), scale, scale, cv::INTER_AREA);
        if (auto code = ReadCode(small, scale)) return code;
    }
    return ReadCode(grey, 1.0);
}

cv::Point2d Apply(const cv::Matx33d& h, double x, double y) {
    const double w = h(2, 0) * x + h(2, 1) * y + h(2, 2);
    if (std::abs(w) < 1e-12) return {-1e9, -1e9};
    return {(h(0, 0) * x + h(0, 1) * y + h(0, 2)) / w, (h(1, 0) * x + h(1, 1) * y + h(1, 2)) / w};
}

// The centre of the solid square of side `side` (image pixels) nearest to
// `near`; nothing when none is found there.
std::optional<cv::Point2d> FindCornerMark(const cv::Mat& grey, cv::Point2d near, double side) {
    const int reach = static_cast<int>(std::ceil(side * 2.0));
    const cv::Rect window = cv::Rect(static_cast<int>(near.x) - reach,
                                     static_cast<int>(near.y) - reach, 2 * reach, 2 * reach) &
                            cv::Rect(0, 0, grey.cols, grey.rows);
    if (window.width < side || window.height < side) return std::nullopt;
    cv::Mat ink;
    cv::threshold(grey(window), ink, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    std::optional<cv::Point2d> best;
    double bestDistance = 0;
    const double area = side * side;
    for (int i = 1; i < n; ++i) {
        const double a = stats.at<int>(i, cv::CC_STAT_AREA);
        const double w = stats.at<int>(i, cv::CC_STAT_WIDTH),
                     h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        if (a < area * 0.5 || a > area * 1.8 || w < side * 0.6 || h < side * 0.6 ||
            w > side * 1.6 || h > side * 1.6)
            continue;
        const cv::Point2d c(centroids.at<double>(i, 0) + window.x,
                            centroids.at<double>(i, 1) + window.y);
        const double d = cv::norm(c - near);
        if (!best || d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

// The paper's white: a high percentile of a sample of the page's pixels.
int PaperWhite(const cv::Mat& grey) {
    std::array<int, 256> histogram{};
    int count = 0;
    for (int y = 0; y < grey.rows; y += 4) {
        const std::uint8_t* row = grey.ptr<std::uint8_t>(y);
        for (int x = 0; x < grey.cols; x += 4) {
            ++histogram[row[x]];
            ++count;
        }
    }
    int seen = 0;
    for (int v = 255; v >= 0; --v) {
        seen += histogram[static_cast<std::size_t>(v)];
        if (seen >= count / 10) return std::max(v, 64);
    }
    return 255;
}

// The share of dark samples inside the box's printed outline (inside the
// circle for a single choice); -1 when the box lies outside the image.
double InkShare(const cv::Mat& grey, const cv::Matx33d& h, const DrawnField& field, int inset,
                int darkBelow) {
    const double left = field.box.left + inset, top = field.box.top + inset;
    const double w = field.box.right - field.box.left - 2.0 * inset;
    const double ht = field.box.bottom - field.box.top - 2.0 * inset;
    if (w <= 0 || ht <= 0) return -1;
    constexpr int kSteps = 24;
    const bool round = field.kind == kSingleChoiceColumn;
    int dark = 0, total = 0;
    for (int j = 0; j < kSteps; ++j) {
        for (int i = 0; i < kSteps; ++i) {
            const double u = (i + 0.5) / kSteps, v = (j + 0.5) / kSteps;
            if (round && (u - 0.5) * (u - 0.5) + (v - 0.5) * (v - 0.5) > 0.25) continue;
            const cv::Point2d p = Apply(h, left + u * w, top + v * ht);
            const int x = static_cast<int>(std::lround(p.x)),
                      y = static_cast<int>(std::lround(p.y));
            if (x < 0 || y < 0 || x >= grey.cols || y >= grey.rows) return -1;
            ++total;
            if (grey.at<std::uint8_t>(y, x) < darkBelow) ++dark;
        }
    }
    return total ? static_cast<double>(dark) / total : -1;
}

QString Decide(double share) {
    if (share < 0) return kUndecidedMark;
    if (share >= kMarkedInk) return QStringLiteral("1");
    if (share <= kEmptyInk) return QStringLiteral("0");
    return kUndecidedMark;
}

} // namespace

PaperForm::PaperForm(const OrderForm& order, const PageInput& pageInput)
    : form(order), input(pageInput) {
    input.pageStarts = nullptr;
    input.fields = nullptr;
    int column = 0;
    const FormDocument& doc = input.document;
    for (int c = 0; c < doc.CategoryCount(); ++c)
        for (int f = 0; f < doc.FieldCount(c); ++f) {
            const std::int32_t kind = doc.FieldAt(c, f)->kind;
            if (kind == fkText || kind == fkCheckBox || kind == fkSingleChoice)
                columns[{c, static_cast<std::uint32_t>(f)}] = column++;
        }
}

PaperForm::~PaperForm() = default;

const FieldMap& PaperForm::FieldsOn(const PrinterPage& page) {
    const auto key = std::make_tuple(page.width, page.height, page.dpi);
    const auto kept = layouts.find(key);
    if (kept != layouts.end()) return *kept->second;
    if (layouts.size() >= kKeptLayouts) layouts.clear();
    std::unique_ptr<FieldMap>& map = layouts[key];
    map = std::make_unique<FieldMap>();
    // One layout pass as the print run makes it, drawn into nothing.
    PageInput in = input;
    in.printer = page;
    in.fields = map.get();
    QImage nothing(1, 1, QImage::Format_RGB32);
    QPainter painter(&nothing);
    QPainterCanvas canvas(painter, page.dpi, DeviceTechnology::RasterPrinter);
    PaintAllPages(canvas, in, page.dpi, page.width, page.height, {});
    return *map;
}

int PaperForm::LinePixels(int dpi) const {
    const double mm = std::clamp(input.settings.lineWidthMm, 0.0, 10.0);
    return static_cast<int>(std::lround(mm * dpi / 25.4)) + 1;
}

int PaperForm::ColumnOf(int category, std::uint32_t field) const {
    const auto found = columns.find({category, field});
    return found == columns.end() ? -1 : found->second;
}

ScannedPage ReadScannedPage(const QImage& image, PaperForm& form) {
    ScannedPage out;
    out.rejection = NoCode();
    if (image.isNull() || image.width() < 64 || image.height() < 64) return out;
    try {
        const QImage greyImage = image.convertToFormat(QImage::Format_Grayscale8);
        const cv::Mat grey(greyImage.height(), greyImage.width(), CV_8UC1,
                           const_cast<uchar*>(greyImage.constBits()),
                           static_cast<std::size_t>(greyImage.bytesPerLine()));
        const std::optional<FoundCode> found = FindCode(grey);
        if (!found) return out;
        const std::optional<PageCode> code = ParsePageCode(found->text);
        if (!code) return out;
        if (code->identity != form.Form().identity) {
            out.rejection = OtherForm();
            return out;
        }
        const MarkedSheet& sheet = code->sheet;
        const FieldMap& map = form.FieldsOn({sheet.width, sheet.height, sheet.dpi});
        const std::vector<const DrawnField*> fields = map.OnPage(code->page);
        std::vector<CanvasRect> boxes;
        for (const DrawnField* field : fields)
            boxes.push_back(field->box);
        const PageMarkPlaces places = PlacePageMarks(sheet, boxes);
        // A first transform from the code's corners, then the corner marks.
        int size = 0, module = 1;
        PageCodeModules(found->text, &size);
        const CanvasRect symbol = PageCodeSymbol(places.code, size, &module);
        const std::vector<cv::Point2f> symbolCorners = {{float(symbol.left), float(symbol.top)},
                                                        {float(symbol.right), float(symbol.top)},
                                                        {float(symbol.right), float(symbol.bottom)},
                                                        {float(symbol.left), float(symbol.bottom)}};
        std::vector<cv::Point2f> seen;
        for (const cv::Point2d& p : found->corners)
            seen.push_back(cv::Point2f(float(p.x), float(p.y)));
        // Rotation, scale and shift only: the code is small, and a perspective
        // fitted to its corners alone would tilt the rest of the page.
        const cv::Mat similar = cv::estimateAffinePartial2D(symbolCorners, seen);
        if (similar.empty()) return out;
        cv::Matx33d transform = cv::Matx33d::eye();
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                transform(r, c) = similar.at<double>(r, c);
        std::vector<cv::Point2f> nominal, marks;
        for (const CanvasRect& corner : places.corners) {
            const double cx = (corner.left + corner.right) / 2.0;
            const double cy = (corner.top + corner.bottom) / 2.0;
            const double side = corner.right - corner.left;
            const cv::Point2d near = Apply(transform, cx, cy);
            const double imageSide = cv::norm(Apply(transform, cx + side, cy) - near);
            const std::optional<cv::Point2d> mark = FindCornerMark(grey, near, imageSide);
            if (!mark) break;
            nominal.push_back(cv::Point2f(float(cx), float(cy)));
            marks.push_back(cv::Point2f(float(mark->x), float(mark->y)));
        }
        if (marks.size() == 4) transform = cv::getPerspectiveTransform(nominal, marks);
        // Dark is well below the paper's white: a light smudge is not ink.
        const int darkBelow = PaperWhite(grey) / 2;
        const int line = form.LinePixels(sheet.dpi);
        out.cells.resize(form.Form().columns.size());
        std::map<int, std::vector<int>> runs;   // single choices by group
        std::map<int, const DrawnField*> boxOf; // check boxes and circles by column
        std::map<int, const DrawnField*> texts; // text boxes by column
        for (const DrawnField* field : fields) {
            const int column = form.ColumnOf(field->category, field->field);
            if (column < 0 || column >= static_cast<int>(out.cells.size())) continue;
            ReturnedCell& cell = out.cells[static_cast<std::size_t>(column)];
            cell.present = true;
            if (field->kind == kTextColumn) {
                texts[column] = field;
                continue;
            }
            const int side =
                std::min(field->box.right - field->box.left, field->box.bottom - field->box.top);
            const int inset = std::max(line, side / 5);
            cell.value = Decide(InkShare(grey, transform, *field, inset, darkBelow));
            const OrderColumn& c = form.Form().columns[static_cast<std::size_t>(column)];
            if (c.kind == kSingleChoiceColumn) runs[c.group].push_back(column);
            boxOf[column] = field;
        }
        // Two marks in one single choice: the run is undecided.
        for (const auto& [group, run] : runs) {
            int marked = 0;
            for (int column : run)
                marked += out.cells[static_cast<std::size_t>(column)].value == QStringLiteral("1");
            if (marked < 2) continue;
            for (int column : run)
                out.cells[static_cast<std::size_t>(column)].value = kUndecidedMark;
        }
        const auto outlined = [&](int column, const DrawnField* field, bool text) {
            UndecidedBox box{column, {}, text};
            const CanvasRect& b = field->box;
            for (const auto& [x, y] : {std::pair{b.left, b.top}, std::pair{b.right, b.top},
                                       std::pair{b.right, b.bottom}, std::pair{b.left, b.bottom}}) {
                const cv::Point2d p = Apply(transform, x, y);
                box.outline << QPointF(p.x, p.y);
            }
            out.undecided.push_back(box);
        };
        for (const auto& [column, field] : boxOf)
            if (out.cells[static_cast<std::size_t>(column)].value == kUndecidedMark)
                outlined(column, field, false);
        for (const auto& [column, field] : texts)
            outlined(column, field, true);
        out.page = code->page;
        out.ok = true;
        out.rejection = {};
    } catch (const std::bad_alloc&) {
        out = ScannedPage();
        out.rejection = {QStringLiteral("not enough memory"),
                         QStringLiteral("Für die Seite reicht der Speicher nicht.")};
    } catch (const std::exception& e) {
        out = ScannedPage();
        out.rejection = {
            QStringLiteral("cannot be read: %1").arg(QString::fromUtf8(e.what()).left(200)),
            QStringLiteral("Die Seite kann nicht gelesen werden.")};
    }
    return out;
}
