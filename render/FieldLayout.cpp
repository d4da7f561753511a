// Form fields in rows: text field boxes, check boxes and single-choice circles
// with their labels.

#include "DrawnField.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PagePass.h"
#include "TextHelpers.h"
#include "Units.h"

namespace {

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
        if (!IsKnownFieldKind(field.kind)) continue;

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
    const std::int32_t kind = field.kind;
    SelectScaledFont(kind == fkText ? s.font(FontRole::FieldName) : s.font(FontRole::CheckBox));
    FieldShape shape;
    shape.pen = MmToPixels(s.lineWidthMm, dpi, zoom);
    if (draw) {
        canvas.SetPen(s.lineColour, shape.pen);
        canvas.SetSolidBrush(s.fieldBackgroundColour);
    }
    shape.width = CmToPixelsExact(field.width, dpi, zoom);
    shape.side = CmToPixelsExact(field.height, dpi, zoom);
    shape.height = RoundHalfEven(shape.side);
    const QString name = ToQString(field.name);
    const int th = LineHeight();
    shape.left = x;
    if (kind == fkText)
        PlaceTextBox(shape, draw);
    else if (kind == fkCheckBox)
        PlaceCheckBox(shape, draw);
    else
        PlaceSingleChoice(shape, name, draw);
    // The label never pushes later fields down.
    const std::int64_t y0 = y;
    const bool fromTop = kind == fkText || name.contains(QChar(13));
    const int labelLines = LayOutLabel(name, fromTop, shape.height, th, draw);
    if (draw && in.fields) ReportField(field, shape.drawn, labelLines, th);
    AfterField(kind, shape, y0, finalRun);
}

void PagePass::PlaceTextBox(FieldShape& f, bool draw) {
    if (rowHeight == 0) rowHeight = f.height;
    const bool afterChoice = IsChoice(previousKind);
    if ((x + f.width > W - R && x > L) || f.height > rowHeight || afterChoice) {
        x = L;
        y += rowHeight + (afterChoice ? G : 0);
        startX = x;
        startY = y;
        rowHeight = f.height;
    }
    if (draw) {
        f.drawn = CanvasRect{RoundHalfEven(x), ToCoord(y), RoundHalfEven(x + f.width) + f.pen / 2,
                             ToCoord(y + f.height + f.pen / 2)};
        canvas.Rectangle(f.drawn.left, f.drawn.top, f.drawn.right, f.drawn.bottom);
    }
    f.left = x;
    x += G;
}

void PagePass::PlaceCheckBox(FieldShape& f, bool draw) {
    y += G;
    x = L;
    startX = L;
    y += rowHeight;
    if (draw) {
        f.drawn = ChoiceBox(f);
        canvas.Rectangle(f.drawn.left, f.drawn.top, f.drawn.right, f.drawn.bottom);
    }
    f.left = x;
    x += f.side + G;
}

void PagePass::PlaceSingleChoice(FieldShape& f, const QString& label, bool draw) {
    f.labelWidth = canvas.TextWidth(StripControlChars(label));
    if (rowHeight == 0) rowHeight = f.height;
    if ((x + f.side + f.labelWidth + 2.0 * G > W - R && x > L) || f.height > rowHeight ||
        (previousKind != fkSingleChoice && x > L)) {
        x = L;
        y += rowHeight + G;
        startX = x;
        startY = y;
        rowHeight = f.height;
    }
    if (draw) {
        f.drawn = ChoiceBox(f);
        canvas.Ellipse(f.drawn.left, f.drawn.top, f.drawn.right, f.drawn.bottom);
    }
    f.left = x;
    x += f.side + G;
}

CanvasRect PagePass::ChoiceBox(const FieldShape& f) const {
    // Side f.side at the current position, grown by half the pen on the right and at the bottom.
    return CanvasRect{RoundHalfEven(x), ToCoord(y), RoundHalfEven(x + f.side + f.pen / 2),
                      RoundHalfEven(static_cast<double>(y) + f.side + f.pen / 2)};
}

int PagePass::LayOutLabel(const QString& label, bool fromTop, std::int64_t h, int th, bool draw) {
    QString rest = label;
    int lines = 0;
    do {
        const QString line = CutFirstLine(rest);
        if (line.isEmpty() && rest.isEmpty()) continue;
        if (draw) {
            const QString text = StripControlChars(line);
            const std::int64_t top = fromTop ? y : y + (h - canvas.TextHeight(text)) / 2;
            canvas.TextOut(RoundHalfEven(x), ToCoord(top), text);
        }
        y += th;
        ++lines;
    } while (!rest.isEmpty());
    return lines;
}

void PagePass::AfterField(std::int32_t kind, const FieldShape& f, std::int64_t y0, bool finalRun) {
    if (kind == fkText) {
        y = y0;
        x = f.left + f.width;
    } else if (kind == fkCheckBox) {
        x = L;
        y = y0 + TruncPixels(f.side) + G;
        if (finalRun) rowHeight = 0;
    } else {
        y = y0;
        x = f.left + f.side + 4.0 * G + f.labelWidth;
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
