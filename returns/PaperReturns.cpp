// Reading a scanned page: its code, its marks, its transform, its boxes.
#include "PaperReturns.h"

#include "BoxReading.h"
#include "PageGeometry.h"
#include "ScannedImage.h"

#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PageMarks.h"
#include "QPainterCanvas.h"
#include "Records.h"

#include <opencv2/imgproc.hpp>

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

namespace {

// Layouts kept for sheets seen: a few papers at most in one batch.
constexpr std::size_t kKeptLayouts = 4;

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

ReturnRejection BoxesAstray() {
    return {QStringLiteral("the boxes are not where the corner marks put them"),
            QStringLiteral("Die Kästchen liegen nicht dort, wo die Eckmarken sie erwarten "
                           "lassen.")};
}

ReturnRejection MarksTooLoose() {
    return {QStringLiteral("the boxes have no printed outlines, and the page was taken too "
                           "steeply or its four corner marks do not fit closely enough to read "
                           "them"),
            QStringLiteral("Die Kästchen haben keinen gedruckten Rand, und die Seite ist zu schräg "
                           "aufgenommen oder die vier Eckmarken passen nicht genau genug, um sie "
                           "zu lesen.")};
}

} // namespace

PaperForm::PaperForm(const OrderForm& order, const PageInput& pageInput)
    : form(order), input(pageInput), buffers(std::make_unique<ScanBuffers>()) {
    input.pageStarts = nullptr;
    input.fields = nullptr;
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

bool PaperForm::FieldsOnSeveralPages() {
    const std::vector<DrawnField>& fields = FieldsOn(input.printer).Fields();
    return std::any_of(fields.begin(), fields.end(),
                       [&](const DrawnField& f) { return f.page != fields.front().page; });
}

double PaperForm::LineWidth(int dpi) const {
    // A width of 0 still prints the thinnest line the printer draws.
    return std::max(1.0, std::clamp(input.settings.lineWidthMm, 0.0, 10.0) * dpi / 25.4);
}


int PaperForm::ColumnOf(int category, std::uint32_t field) const {
    return form.ColumnIndex(category, static_cast<int>(field));
}

namespace {

// Where the code says its symbol lies on the sheet, and where it was found.
CodePlace PlaceOfCode(const FoundCode& found, const PageMarkPlaces& places) {
    CodePlace place;
    int module = 1;
    PageCodeModules(found.text, &place.modules);
    place.symbol = PageCodeSymbol(places.code, place.modules, &module);
    place.corners = found.corners;
    return place;
}

// Without marks, how far (in box sides) a box's outline may lie from where
// the code alone puts it: well short of the next box.
constexpr double kMostShiftWithoutMarks = 0.2;

// Where the fit puts the corners of a box on the sheet.
QPolygonF OutlineOf(const PageFit& fit, const CanvasRect& b) {
    QPolygonF outline;
    for (const auto& [x, y] : {std::pair{b.left, b.top}, std::pair{b.right, b.top},
                               std::pair{b.right, b.bottom}, std::pair{b.left, b.bottom}}) {
        const cv::Point2d p = ApplyFit(fit.sheetToImage, x, y);
        outline << QPointF(p.x, p.y);
    }
    return outline;
}

bool Near(const CanvasRect& a, const CanvasRect& b, int reach) {
    return a.left - reach < b.right && b.left < a.right + reach && a.top - reach < b.bottom &&
           b.top < a.bottom + reach;
}

// What the page prints near field besides its own outline: the other boxes,
// every label (from its box to the next box of its row) and the headings.
std::vector<CanvasRect> PrintedAround(const DrawnField& field,
                                      const std::vector<const DrawnField*>& fields,
                                      const FieldMap& map, const MarkedSheet& sheet) {
    const CanvasRect& own = field.box;
    const int reach = std::max(own.right - own.left, own.bottom - own.top);
    std::vector<CanvasRect> printed;
    const auto add = [&](const CanvasRect& r) {
        if (Near(r, own, reach)) printed.push_back(r);
    };
    for (const DrawnField* g : fields) {
        const CanvasRect& b = g->box;
        if (g != &field) add(b);
        if (g->kind == fkText) continue;
        int end = sheet.width;
        for (const DrawnField* next : fields)
            if (next->box.left >= b.right && next->box.top < b.bottom && b.top < next->box.bottom)
                end = std::min(end, next->box.left);
        const int middle = (b.top + b.bottom) / 2, line = std::max(1, g->lineHeight);
        const int top = std::min(b.top, middle - line / 2);
        const int bottom = std::max(b.top + std::max(1, g->labelLines) * line, middle + line / 2);
        add({b.right, top, end, bottom});
    }
    for (const DrawnHeading& heading : map.Headings())
        if (heading.page == field.page) add(heading.band);
    return printed;
}

// A check box or circle of the page as read.
struct Looked {
    const DrawnField* field;
    int column;
    BoxOnSheet box;
    BoxReading read;
    bool inPlace = false; // read where the fit puts it, without its outline
};

// Boxes whose outline was not found near where the fit puts them are looked
// for again where their nearest found neighbours moved to (a curled sheet
// moves a region of boxes together).
void ReadBesideNeighbours(const cv::Mat& ink, const PageFit& fit, std::vector<Looked>& looked) {
    constexpr std::size_t kNeighbours = 4;
    std::vector<const Looked*> found;
    for (const Looked& l : looked)
        if (l.read.found) found.push_back(&l);
    if (found.empty()) return;
    const auto centre = [](const CanvasRect& r) {
        return cv::Point2d((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
    };
    std::vector<BoxReading> again(looked.size());
    for (std::size_t i = 0; i < looked.size(); ++i) {
        if (looked[i].read.found) continue;
        const cv::Point2d here = centre(looked[i].box.box);
        std::vector<const Looked*> near = found;
        const std::size_t n = std::min(kNeighbours, near.size());
        std::partial_sort(near.begin(), near.begin() + static_cast<std::ptrdiff_t>(n), near.end(),
                          [&](const Looked* a, const Looked* b) {
                              return cv::norm(centre(a->box.box) - here) <
                                     cv::norm(centre(b->box.box) - here);
                          });
        std::vector<double> xs, ys;
        for (std::size_t k = 0; k < n; ++k) {
            xs.push_back(near[k]->read.movedX);
            ys.push_back(near[k]->read.movedY);
        }
        std::nth_element(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(n / 2), xs.end());
        std::nth_element(ys.begin(), ys.begin() + static_cast<std::ptrdiff_t>(n / 2), ys.end());
        const cv::Matx33d moved =
            cv::Matx33d(1, 0, xs[n / 2], 0, 1, ys[n / 2], 0, 0, 1) * fit.sheetToImage;
        again[i] = ReadBox(ink, moved, looked[i].box);
    }
    for (std::size_t i = 0; i < looked.size(); ++i)
        if (again[i].found) looked[i].read = again[i];
}

// The page as its boxes are read.
struct PageToRead {
    const cv::Mat& ink;
    const PageFit& fit;
    const MarkedSheet& sheet;
    const FieldMap& map;
    const std::vector<const DrawnField*>& fields;
    // Whether the fit is close enough to read boxes where it puts them,
    // without their outlines, and the darkness of the page's print for them.
    bool inPlace = false;
    double printDarkness = 0;
};

// How closely (in modules of the code) the four marks must put the code's
// corners for boxes to be read where the fit puts them, and how steep the
// view may be (Foreshortening): at 30 degrees of tilt (about 2.15) such
// boxes were read wrongly (overshooting ticks), at 10 and 20 degrees (about
// 1.3 and 1.7) right.
constexpr double kMostResidualInPlace = 1.0;
constexpr double kMostForeshortening = 1.75;

// The thinnest printed outline a box is registered on, in millimetres.
constexpr double kLeastOutlineMm = 0.1;

// Whether the boxes' outlines are printed wide enough to be looked for: a
// line width of 0 prints a hair line, which a photo may not show.
bool Outlined(const PaperForm& form, const MarkedSheet& sheet) {
    return form.LineWidth(sheet.dpi) >= kLeastOutlineMm * sheet.dpi / 25.4;
}

// The paper's edges on the sheet (the printable area and the margins the printer leaves).
CanvasRect PaperOf(const MarkedSheet& sheet) {
    return {-sheet.left, -sheet.top, sheet.width + sheet.right, sheet.height + sheet.bottom};
}

// A box whose outline runs off the printable area (a margin of 0): half of it is not on the paper.
bool OnEdge(const CanvasRect& b, const MarkedSheet& sheet, double line) {
    const double reach = line + 2;
    return b.left < reach || b.top < reach || b.right > sheet.width - reach ||
           b.bottom > sheet.height - reach;
}

// The page's check boxes and circles, each read on its printed outline or,
// for a form printed without outlines, in place; the page's text boxes go
// to texts, and every field of the page is marked present in out.
std::vector<Looked> LookAtBoxes(const PageToRead& page, PaperForm& form,
                                std::map<int, const DrawnField*>& texts, ScannedPage& out) {
    const double line = form.LineWidth(page.sheet.dpi);
    const bool outlined = Outlined(form, page.sheet);
    std::vector<Looked> looked;
    for (const DrawnField* field : page.fields) {
        const int column = form.ColumnOf(field->category, field->field);
        if (column < 0 || column >= static_cast<int>(out.cells.size())) continue;
        out.cells[static_cast<std::size_t>(column)].present = true;
        if (field->kind == kTextColumn) {
            texts[column] = field;
            continue;
        }
        const BoxOnSheet box{field->box, field->kind == kSingleChoiceColumn, line,
                             PrintedAround(*field, page.fields, page.map, page.sheet),
                             PaperOf(page.sheet)};
        const bool inPlace = !outlined && page.inPlace;
        looked.push_back({field, column, box,
                          inPlace ? ReadBoxInPlace(page.ink, page.fit.sheetToImage, box,
                                                   page.printDarkness)
                                  : ReadBox(page.ink, page.fit.sheetToImage, box),
                          inPlace});
    }
    return looked;
}

// Boxes on the paper's edge whose outline was not found are read in place
// when the marks allow it.
void ReadOnEdgeInPlace(const PageToRead& page, std::vector<Looked>& looked) {
    if (!page.inPlace) return;
    for (Looked& l : looked)
        if (!l.read.found && !l.inPlace && OnEdge(l.box.box, page.sheet, l.box.line)) {
            l.read = ReadBoxInPlace(page.ink, page.fit.sheetToImage, l.box, page.printDarkness);
            l.inPlace = true;
        }
}

// Whether the boxes confirm the fit: most printed outlines found where it
// puts them (or read in place on the marks' word); without marks, nearly
// every outline close to where the code puts it.
bool BoxesConfirmFit(const PageFit& fit, const std::vector<Looked>& looked) {
    const int boxes = static_cast<int>(looked.size());
    int found = 0;
    double farthest = 0; // the largest shift of an outline from its place
    for (const Looked& l : looked) {
        found += l.read.found || l.inPlace;
        if (l.read.found) farthest = std::max(farthest, l.read.shift);
    }
    if (boxes >= 4 && found * 2 < boxes) return false;
    return !fit.codeOnly || (found * 10 >= boxes * 9 && farthest <= kMostShiftWithoutMarks);
}

// The check boxes and circles of the page read one by one, the text boxes
// outlined for typing in; false when too few boxes lie where the fit puts them.
bool ReadBoxes(const PageToRead& page, PaperForm& form, ScannedPage& out) {
    out.cells.resize(form.Form().columns.size());
    std::map<int, std::vector<int>> runs;  // single choices by group
    std::map<int, QPolygonF> outlines;     // check boxes and circles by column
    std::map<int, QPolygonF> undecided;    // those left undecided
    std::map<int, const DrawnField*> texts; // text boxes by column
    std::vector<Looked> looked = LookAtBoxes(page, form, texts, out);
    // Counted before any box is looked for again beside its neighbours.
    std::vector<Looked> first = looked;
    if (!page.fit.codeOnly) ReadBesideNeighbours(page.ink, page.fit, looked);
    ReadOnEdgeInPlace(page, looked);
    for (std::size_t i = 0; i < looked.size(); ++i)
        if (looked[i].inPlace) first[i] = looked[i];
    if (!BoxesConfirmFit(page.fit, first)) return false;
    for (const Looked& l : looked) {
        out.cells[static_cast<std::size_t>(l.column)].value = l.read.value;
        const OrderColumn& c = form.Form().columns[static_cast<std::size_t>(l.column)];
        if (c.kind == kSingleChoiceColumn) runs[c.group].push_back(l.column);
        const QPolygonF outline =
            l.read.found || l.inPlace ? l.read.outline : OutlineOf(page.fit, l.field->box);
        outlines[l.column] = outline;
        if (l.read.value == kUndecidedMark) undecided[l.column] = outline;
    }
    // Two marks in one single choice: the run is undecided.
    for (const auto& [group, run] : runs) {
        int marked = 0;
        for (int column : run)
            marked += out.cells[static_cast<std::size_t>(column)].value == QStringLiteral("1");
        if (marked < 2) continue;
        for (int column : run) {
            out.cells[static_cast<std::size_t>(column)].value = kUndecidedMark;
            undecided[column] = outlines[column];
        }
    }
    for (const auto& [column, outline] : undecided)
        out.undecided.push_back({column, outline, false});
    for (const auto& [column, field] : texts)
        out.undecided.push_back({column, OutlineOf(page.fit, field->box), true});
    return true;
}

} // namespace

namespace {

// How much larger the sheet looks at its nearest corner mark than at its
// farthest (1 for a view straight on): a steep view.
double Foreshortening(const PageFit& fit, const std::array<CanvasRect, 4>& corners) {
    double least = 1e300, most = 0;
    for (const CanvasRect& mark : corners) {
        const double x = (mark.left + mark.right) / 2.0, y = (mark.top + mark.bottom) / 2.0;
        const cv::Point2d c = ApplyFit(fit.sheetToImage, x, y);
        const double scale = std::sqrt(cv::norm(ApplyFit(fit.sheetToImage, x + 100, y) - c) *
                                       cv::norm(ApplyFit(fit.sheetToImage, x, y + 100) - c));
        least = std::min(least, scale);
        most = std::max(most, scale);
    }
    return least > 0 ? most / least : 1e300;
}

ScannedPage Rejected(const ReturnRejection& why) {
    ScannedPage out;
    out.rejection = why;
    return out;
}

// Where the code's page of the form lies on its sheet: its fields, and its marks clear of them.
struct PageLayout {
    const FieldMap& map;
    std::vector<const DrawnField*> fields;
    PageMarkPlaces places;
};

PageLayout LayoutOf(const PageCode& code, PaperForm& form) {
    const MarkedSheet& sheet = code.sheet;
    const FieldMap& map = form.FieldsOn({sheet.width, sheet.height, sheet.dpi});
    PageLayout page{map, map.OnPage(code.page), {}};
    std::vector<CanvasRect> boxes;
    for (const DrawnField* field : page.fields)
        boxes.push_back(field->box);
    page.places = PlacePageMarks(sheet, boxes);
    return page;
}

// The page read: its code checked against the form, its marks fitted (no
// page is read on a guess), its boxes read where the fit puts them.
ScannedPage ReadPage(const QImage& scanned, PaperForm& form) {
    const ScannedImage scan = PrepareScannedImage(scanned, form.Buffers());
    const std::optional<FoundCode> found = FindCode(scan.grey);
    const std::optional<PageCode> code = found ? ParsePageCode(found->text) : std::nullopt;
    if (!code) return Rejected(NoCode());
    if (code->identity != form.Form().identity) return Rejected(OtherForm());
    const PageLayout page = LayoutOf(*code, form);
    const PageFit fit = FitPage(scan.ink, PlaceOfCode(*found, page.places), page.places.corners);
    if (!fit.ok && !fit.codeOnly) return Rejected(fit.rejection);
    PageToRead reading{scan.ink, fit, code->sheet, page.map, page.fields};
    reading.inPlace = fit.ok && fit.marks == 4 && fit.residual <= kMostResidualInPlace &&
                      Foreshortening(fit, page.places.corners) <= kMostForeshortening;
    if (reading.inPlace) reading.printDarkness = MarkDarkness(scan.ink, fit, page.places.corners);
    reading.inPlace = reading.inPlace && reading.printDarkness > 0;
    // Boxes without outlines are read on the marks' word or not at all.
    if (!Outlined(form, code->sheet) && !reading.inPlace)
        return Rejected(fit.codeOnly ? fit.rejection : MarksTooLoose());
    ScannedPage out;
    if (!ReadBoxes(reading, form, out))
        return Rejected(fit.codeOnly ? fit.rejection : BoxesAstray());
    ReadTextBoxNumbers(scan.ink, fit.sheetToImage, page.fields, form, code->sheet.dpi, out);
    out.page = code->page;
    out.sheetNumber = code->sheetNumber;
    out.ok = true;
    return out;
}

} // namespace

ScannedPage ReadScannedPage(const QImage& scanned, PaperForm& form) {
    if (scanned.isNull() || scanned.width() < 64 || scanned.height() < 64)
        return Rejected(NoCode());
    try {
        return ReadPage(scanned, form);
    } catch (const std::bad_alloc&) {
        return Rejected({QStringLiteral("not enough memory"),
                         QStringLiteral("Für die Seite reicht der Speicher nicht.")});
    } catch (const std::exception& e) {
        return Rejected(
            {QStringLiteral("cannot be read: %1").arg(QString::fromUtf8(e.what()).left(200)),
             QStringLiteral("Die Seite kann nicht gelesen werden.")});
    }
}
