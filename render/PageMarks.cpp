// Placing, encoding and drawing the marks of a page printed for reading back.
#include "PageMarks.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <QList>
#include <algorithm>
#include <cmath>
#include <exception>

namespace {

int Px(double mm, int dpi) {
    return static_cast<int>(std::lround(mm * dpi / 25.4));
}

bool Overlaps(const CanvasRect& a, const CanvasRect& b, int clearance) {
    return a.left - clearance < b.right && b.left < a.right + clearance &&
           a.top - clearance < b.bottom && b.top < a.bottom + clearance;
}

bool Inside(const CanvasRect& r, const MarkedSheet& sheet) {
    return r.left >= 0 && r.top >= 0 && r.right <= sheet.width && r.bottom <= sheet.height;
}

bool Free(const CanvasRect& r, const std::vector<CanvasRect>& taken, int clearance) {
    return std::none_of(taken.begin(), taken.end(),
                        [&](const CanvasRect& t) { return Overlaps(r, t, clearance); });
}

CanvasRect Square(int x, int y, int side) {
    return {x, y, x + side, y + side};
}

} // namespace

PageMarkPlaces PlacePageMarks(const MarkedSheet& sheet, const std::vector<CanvasRect>& fieldBoxes) {
    const int dpi = std::max(1, sheet.dpi);
    const int edge = Px(kMarkEdgeMm, dpi), s = std::max(1, Px(kCornerMarkMm, dpi));
    const int c = std::max(1, Px(kPageCodeMm, dpi)), gap = std::max(1, Px(1.0, dpi));
    const int il = std::max(0, edge - sheet.left), it = std::max(0, edge - sheet.top);
    const int ir = std::max(0, edge - sheet.right), ib = std::max(0, edge - sheet.bottom);
    const int w = sheet.width, h = sheet.height;
    std::vector<CanvasRect> taken = fieldBoxes;
    PageMarkPlaces places;
    // Each corner square starts in its corner and moves along the edges or
    // inwards, half a square at a time, until no field is near it.
    const int startX[4] = {il, w - ir - s, w - ir - s, il};
    const int startY[4] = {it, it, h - ib - s, h - ib - s};
    const int dirX[4] = {1, -1, -1, 1}, dirY[4] = {1, 1, -1, -1};
    for (int k = 0; k < 4; ++k) {
        CanvasRect chosen = Square(startX[k], startY[k], s);
        bool found = false;
        for (int step = 0; step <= 16 && !found; ++step) {
            const int d = step * s / 2;
            for (const auto& [fx, fy] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}}) {
                const CanvasRect r =
                    Square(startX[k] + dirX[k] * d * fx, startY[k] + dirY[k] * d * fy, s);
                if (Inside(r, sheet) && Free(r, taken, gap + s / 4)) {
                    chosen = r;
                    found = true;
                    break;
                }
                if (step == 0) break;
            }
        }
        places.corners[static_cast<std::size_t>(k)] = chosen;
        taken.push_back({chosen.left - s / 4, chosen.top - s / 4, chosen.right + s / 4,
                         chosen.bottom + s / 4});
    }
    // The code: the bottom edge's middle, then the top edge's, then along
    // the bottom and top edges, then down the sides.
    std::vector<std::pair<int, int>> candidates = {{(w - c) / 2, h - ib - c}, {(w - c) / 2, it}};
    for (int x = il + s + 2 * gap; x + c <= w - ir; x += s)
        candidates.push_back({x, h - ib - c});
    for (int x = il + s + 2 * gap; x + c <= w - ir; x += s)
        candidates.push_back({x, it});
    for (int y = it + s + 2 * gap; y + c <= h - ib; y += s) {
        candidates.push_back({il, y});
        candidates.push_back({w - ir - c, y});
    }
    places.code = Square(candidates.front().first, candidates.front().second, c);
    for (const auto& [x, y] : candidates) {
        const CanvasRect r = Square(x, y, c);
        if (Inside(r, sheet) && Free(r, taken, gap)) {
            places.code = r;
            break;
        }
    }
    return places;
}

QByteArray PageCodeText(const PageCode& code) {
    const MarkedSheet& s = code.sheet;
    // Codes with a sheet number say so in their first field; codes without
    // keep the first form, which older prints carry.
    const QString numbered = code.sheetNumber > 0
                                 ? QStringLiteral("QLR2;%1;%2;").arg(code.identity).arg(code.page) +
                                       QString::number(code.sheetNumber)
                                 : QStringLiteral("QLR1;%1;%2").arg(code.identity).arg(code.page);
    return (numbered + QStringLiteral(";%1;%2;%3;%4;%5;%6;%7")
                           .arg(s.width)
                           .arg(s.height)
                           .arg(s.dpi)
                           .arg(s.left)
                           .arg(s.top)
                           .arg(s.right)
                           .arg(s.bottom))
        .toLatin1();
}

std::optional<PageCode> ParsePageCode(const QByteArray& text) {
    if (text.size() > 200) return std::nullopt;
    QList<QByteArray> parts = text.split(';');
    PageCode code;
    if (parts.size() == 11 && parts[0] == "QLR2") {
        bool ok = false;
        code.sheetNumber = parts[3].toInt(&ok);
        if (!ok || code.sheetNumber < 1 || code.sheetNumber > kMostSheetNumber)
            return std::nullopt;
        parts.removeAt(3);
    } else if (parts.size() != 10 || parts[0] != "QLR1") {
        return std::nullopt;
    }
    const QByteArray& identity = parts[1];
    if (identity.isEmpty() || identity.size() > 64) return std::nullopt;
    for (char ch : identity)
        if (!std::isalnum(static_cast<unsigned char>(ch))) return std::nullopt;
    int values[8];
    // Pages and sheets as a print run can make them: up to 100000 pages, up
    // to 2400 dpi, sheets up to a metre and a half.
    const int high[8] = {100000, 150000, 150000, 2400, 20000, 20000, 20000, 20000};
    const int low[8] = {1, 1, 1, 72, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) {
        bool ok = false;
        values[i] = parts[i + 2].toInt(&ok);
        if (!ok || values[i] < low[i] || values[i] > high[i]) return std::nullopt;
    }
    code.identity = QString::fromLatin1(identity);
    code.page = values[0];
    code.sheet = {values[1], values[2], values[3], values[4], values[5], values[6], values[7]};
    return code;
}

std::vector<bool> PageCodeModules(const QByteArray& text, int* size) {
    *size = 0;
    try {
        ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::QRCode);
        writer.setMargin(0);
        writer.setEccLevel(2); // M: a quarter of the symbol may be lost
        const ZXing::BitMatrix matrix = writer.encode(text.toStdString(), 0, 0);
        const int n = matrix.width();
        if (n <= 0 || matrix.height() != n) return {};
        std::vector<bool> modules(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
                modules[static_cast<std::size_t>(y * n + x)] = matrix.get(x, y);
        *size = n;
        return modules;
    } catch (const std::exception&) {
        return {};
    }
}

CanvasRect PageCodeSymbol(const CanvasRect& code, int size, int* moduleSide) {
    const int side = std::min(code.right - code.left, code.bottom - code.top);
    const int m = std::max(1, side / std::max(1, size + 2 * kPageCodeQuietModules));
    *moduleSide = m;
    const int x = code.left + (code.right - code.left - size * m) / 2;
    const int y = code.top + (code.bottom - code.top - size * m) / 2;
    return {x, y, x + size * m, y + size * m};
}

void DrawPageMarks(Canvas& canvas, const PageMarkPlaces& places, const QByteArray& codeText) {
    constexpr ColourValue kBlack = 0x000000, kWhite = 0xFFFFFF;
    std::vector<FilledRect> rects;
    canvas.FillRectangles({{places.code, kWhite}});
    // Each corner square in a white frame, so that it stands apart from
    // whatever the page has behind it.
    const int frame = std::max(1, (places.corners[0].right - places.corners[0].left) / 4);
    std::vector<FilledRect> frames;
    for (const CanvasRect& corner : places.corners)
        frames.push_back({{corner.left - frame, corner.top - frame, corner.right + frame,
                           corner.bottom + frame},
                          kWhite});
    canvas.FillRectangles(frames);
    for (const CanvasRect& corner : places.corners)
        rects.push_back({corner, kBlack});
    int size = 0;
    const std::vector<bool> modules = PageCodeModules(codeText, &size);
    if (size > 0) {
        int m = 1;
        const CanvasRect symbol = PageCodeSymbol(places.code, size, &m);
        // Each row's dark runs as one rectangle.
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size;) {
                if (!modules[static_cast<std::size_t>(y * size + x)]) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end < size && modules[static_cast<std::size_t>(y * size + end)])
                    ++end;
                rects.push_back({{symbol.left + x * m, symbol.top + y * m, symbol.left + end * m,
                                  symbol.top + (y + 1) * m},
                                 kBlack});
                x = end;
            }
        }
    }
    canvas.FillRectangles(rects);
}
