// Form fields in rows: text field boxes, check boxes and single-choice circles
// with their labels.

#include "DrawnField.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PagePass.h"
#include "TextHelpers.h"
#include "Units.h"

namespace {

bool IsKnownKind(std::int32_t kind) {
    return kind == fkText || kind == fkCheckBox || kind == fkSingleChoice;
}

bool IsChoice(int kind) {
    return kind == fkCheckBox || kind == fkSingleChoice;
}

} // namespace

void PagePass::LayOutFields(int i, std::uint32_t first) {
    const FieldArray* fields = in.document.Fields(i);
    if (!fields) return;
    for (std::uint32_t f = first; f < fields->Count(); ++f) {
        const FieldRecord& field = *fields->at(static_cast<std::int32_t>(f));
        // A kind no command creates (only a damaged file holds one) is passed
        // over: it takes no space, draws nothing and is not a previous field.
        if (!IsKnownKind(field.kind)) continue;

        fieldCategory = i;
        fieldIndex = f;
        startX = x;
        startY = y;
        LayoutField(field, false);
        previousKind = field.kind;
        // Page breaks happen only between fields: the placing run decides
        // whether the field still fits on this page.
        if (y + rowHeight > BottomLimit()) {
            NewPage(G, i, static_cast<int>(f));
            if (stopped) return;
            FieldOnNewPage(i, f);
            continue;
        }
        x = startX;
        y = startY;
        LayoutField(field, true);
        previousKind = field.kind;
    }
}

void PagePass::FieldOnNewPage(int i, std::uint32_t f) {
    const FieldRecord& field = *in.document.Fields(i)->at(static_cast<std::int32_t>(f));
    x = L;
    fieldCategory = i;
    fieldIndex = f;
    LayoutField(field, true);
    previousKind = field.kind;
}

void PagePass::LayoutField(const FieldRecord& field, bool finalRun) {
    const bool draw = finalRun && OnRequestedPage();
    const int kind = field.kind;
    SelectScaledFont(kind == fkText ? s.font(FontRole::FieldName) : s.font(FontRole::CheckBox));
    const int pw = MmToPixels(s.lineWidthMm, dpi, zoom);
    if (draw) {
        canvas.SetPen(s.lineColour, pw);
        canvas.SetSolidBrush(s.fieldBackgroundColour);
    }
    const double w = CmToPixelsExact(field.width, dpi, zoom);
    const double sz = CmToPixelsExact(field.height, dpi, zoom);
    const std::int64_t h = RoundHalfEven(sz);
    const QString name = ToQString(field.name);
    const int th = LineHeight();

    double shapeLeft = x;
    int tw = 0;
    CanvasRect drawnBox; // the shape as drawn, for the field observer
    // The square of a check box and the circle of a single choice: side sz at the
    // current position, grown by half the pen on the right and at the bottom.
    auto ShapeBox = [&] {
        return CanvasRect{RoundHalfEven(x), ToCoord(y), RoundHalfEven(x + sz + pw / 2),
                          RoundHalfEven(static_cast<double>(y) + sz + pw / 2)};
    };
    switch (kind) {
    case fkText: {
        if (rowHeight == 0) rowHeight = h;
        const bool afterChoice = IsChoice(previousKind);
        if ((x + w > W - R && x > L) || h > rowHeight || afterChoice) {
            x = L;
            y += rowHeight + (afterChoice ? G : 0);
            startX = x;
            startY = y;
            rowHeight = h;
        }
        if (draw) {
            drawnBox = CanvasRect{RoundHalfEven(x), ToCoord(y), RoundHalfEven(x + w) + pw / 2,
                                  ToCoord(y + h + pw / 2)};
            canvas.Rectangle(drawnBox.left, drawnBox.top, drawnBox.right, drawnBox.bottom);
        }
        shapeLeft = x;
        x += G;
        break;
    }
    case fkCheckBox:
        y += G;
        x = L;
        startX = L;
        y += rowHeight;
        if (draw) {
            drawnBox = ShapeBox();
            canvas.Rectangle(drawnBox.left, drawnBox.top, drawnBox.right, drawnBox.bottom);
        }
        shapeLeft = x;
        x += sz + G;
        break;
    default: // fkSingleChoice
        tw = canvas.TextWidth(StripControlChars(name));
        if (rowHeight == 0) rowHeight = h;
        if ((x + sz + tw + 2.0 * G > W - R && x > L) || h > rowHeight ||
            (previousKind != fkSingleChoice && x > L)) {
            x = L;
            y += rowHeight + G;
            startX = x;
            startY = y;
            rowHeight = h;
        }
        if (draw) {
            drawnBox = ShapeBox();
            canvas.Ellipse(drawnBox.left, drawnBox.top, drawnBox.right, drawnBox.bottom);
        }
        shapeLeft = x;
        x += sz + G;
        break;
    }

    // The label: one line per carriage return, from the top of the shape, or a
    // one-line check box label centred on the shape's height. The label never
    // pushes later fields down.
    const std::int64_t y0 = y;
    const bool fromTop = kind == fkText || name.contains(QChar(13));
    QString rest = name;
    int labelLines = 0;
    do {
        const QString line = CutFirstLine(rest);
        if (!line.isEmpty() || !rest.isEmpty()) {
            if (draw) {
                const QString text = StripControlChars(line);
                const std::int64_t top = fromTop ? y : y + (h - canvas.TextHeight(text)) / 2;
                canvas.TextOut(RoundHalfEven(x), ToCoord(top), text);
            }
            y += th;
            ++labelLines;
        }
    } while (!rest.isEmpty());
    if (draw && in.fields) ReportField(field, drawnBox, labelLines, th);

    switch (kind) {
    case fkText:
        y = y0;
        x = shapeLeft + w;
        break;
    case fkCheckBox:
        x = L;
        y = y0 + TruncPixels(sz) + G;
        if (finalRun) rowHeight = 0;
        break;
    default:
        y = y0;
        x = shapeLeft + sz + 4.0 * G + tw;
        break;
    }
}

void PagePass::ReportField(const FieldRecord& field, const CanvasRect& box, int labelLines,
                           int th) {
    DrawnField drawn;
    drawn.page = pageCounter;
    drawn.category = fieldCategory;
    drawn.field = fieldIndex;
    drawn.kind = field.kind;
    drawn.label = ToQString(field.name);
    drawn.categoryName = in.document.CategoryName(fieldCategory);
    drawn.box = box;
    drawn.labelLines = labelLines;
    drawn.lineHeight = th;
    drawn.fontPoints = canvas.CurrentFont().points;
    in.fields->FieldDrawn(drawn);
}
