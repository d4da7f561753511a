#pragma once
// The marks of a page printed for reading back: four solid corner squares and
// a QR code (the page code) with the form's identity, the page number, the
// printed copy's sheet number (when the run gives one) and the sheet of paper
// the page was laid out for. Where they go depends only on the sheet
// and on where the page's fields landed, so the print run that draws them and
// the reader of the scans compute the same places. Device pixels of the
// printable area throughout.

#include "Canvas.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// A sheet as a print run sees it: the printable area in device pixels, its
// resolution, and the unprintable margins to the paper's edges in those pixels.
struct MarkedSheet {
    int width = 4960, height = 7016, dpi = 600;
    int left = 0, top = 0, right = 0, bottom = 0;

    bool operator==(const MarkedSheet&) const = default;
};

// Distances on paper, in millimetres: every mark stays this far from the
// paper's edge, the corner squares have this side (and a white frame of a
// quarter of it around), the page code (with its quiet zone) this side.
inline constexpr double kMarkEdgeMm = 7.0;
inline constexpr double kCornerMarkMm = 5.0;
inline constexpr double kPageCodeMm = 22.0;
// The quiet zone around the code's symbol, in modules.
inline constexpr int kPageCodeQuietModules = 3;

struct PageMarkPlaces {
    // Top left, top right, bottom right, bottom left, as printed.
    std::array<CanvasRect, 4> corners;
    CanvasRect code; // the page code with its quiet zone
};

// Where the marks of a page go on sheet, clear of every field box (and of each
// other) where the sheet leaves room; each mark starts in its own corner or
// edge and moves inwards until it hides no field.
PageMarkPlaces PlacePageMarks(const MarkedSheet& sheet, const std::vector<CanvasRect>& fieldBoxes);

// What the page code holds.
struct PageCode {
    QString identity; // the form's identity (FormIdentity)
    int page = 1;     // from 1
    MarkedSheet sheet;
    // The printed copy the page belongs to, the same on all its pages and
    // different for every copy, so that a copy's pages find each other in
    // any order; 0 for a code printed without (their pages follow each other).
    int sheetNumber = 0;
};
// The largest sheet number a code holds.
inline constexpr int kMostSheetNumber = 2000000000;
QByteArray PageCodeText(const PageCode& code);
// The code's text read back; nothing for a text this program did not write
// or with values out of range.
std::optional<PageCode> ParsePageCode(const QByteArray& text);

// The QR symbol of text: size x size modules, row by row, true for dark.
// Empty when it cannot be encoded.
std::vector<bool> PageCodeModules(const QByteArray& text, int* size);
// Where the symbol's modules lie inside the code's place: whole pixels per
// module, centred. moduleSide receives the pixels per module.
CanvasRect PageCodeSymbol(const CanvasRect& code, int size, int* moduleSide);

// Draws the corner squares and the page code (white behind it).
void DrawPageMarks(Canvas& canvas, const PageMarkPlaces& places, const QByteArray& codeText);
