#pragma once
// Helpers for page layout tests on the recording canvas: a document with
// plain settings (no header, footer, background, bands or capitals) laid out
// at 600 pixels per inch on the default A4 page (4960 x 7016 pixels).

#include "Dib.h"
#include "DocumentEdits.h"
#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PageStartIndex.h"
#include "PaintToCanvas.h"
#include "RecordingCanvas.h"
#include "Units.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

namespace layout_test {

constexpr int kDpi = 600;
constexpr int kPageW = 4960, kPageH = 7016;

// 600 dpi values of the default margins: 12, 2, 12 and 5 mm, and the 2 mm gap.
constexpr int kL = 283, kT = 47, kR = 283, kB = 118, kG = 47;

inline LayoutSettings PlainSettings() {
    LayoutSettings s;
    s.headerText.clear();
    s.oddFooterText.clear();
    s.evenFooterText.clear();
    s.backgroundFill = false;
    s.categoryAreaBand = false;
    s.categoryNameBand = false;
    s.categoryNamesInCapitals = false;
    return s;
}

// A centimetre length that converts to exactly `pixels` at 600 dpi, zoom 100.
inline double CmForPixels(double pixels) {
    return pixels * kMmPerInch / 6000.0;
}

// One drawn shape or text with the brush and pen in force when it was drawn.
struct Drawn {
    CanvasOp op;
    long long brush = -1; // -1: clear brush
    long long penColour = 0, penWidth = 0;
    long long x1() const { return op.args.at(0); }
    long long y1() const { return op.args.at(1); }
    long long x2() const { return op.args.at(2); }
    long long y2() const { return op.args.at(3); }
};

inline std::vector<Drawn> DrawnOps(const RecordingCanvas& canvas, std::string_view name) {
    std::vector<Drawn> result;
    long long brush = 0xFFFFFF, penColour = 0, penWidth = 1;
    for (const CanvasOp& op : canvas.Ops()) {
        if (op.name == "SolidBrush") brush = op.args[0];
        if (op.name == "ClearBrush") brush = -1;
        if (op.name == "Pen") {
            penColour = op.args[0];
            penWidth = op.args[1];
        }
        if (op.name == name) result.push_back({op, brush, penColour, penWidth});
    }
    return result;
}

// Texts drawn with TextOut, with their positions.
struct DrawnText {
    int x, y;
    QString text;
};
inline std::vector<DrawnText> Texts(const RecordingCanvas& canvas) {
    std::vector<DrawnText> result;
    for (const CanvasOp& op : canvas.OpsNamed("TextOut"))
        result.push_back({static_cast<int>(op.args[0]), static_cast<int>(op.args[1]), op.text});
    return result;
}
inline std::optional<DrawnText> FindText(const std::vector<DrawnText>& texts, const QString& text) {
    for (const DrawnText& t : texts)
        if (t.text == text) return t;
    return std::nullopt;
}

// Recorded operations as text, one per line, for readable comparisons.
inline std::string Joined(const std::vector<CanvasOp>& ops) {
    std::string out;
    for (const CanvasOp& op : ops)
        out += op.ToString() + '\n';
    return out;
}

class LayoutTest : public ::testing::Test {
  protected:
    FormDocument doc;
    LayoutSettings settings = PlainSettings();
    const dib* background = nullptr;
    const dib* logo = nullptr;
    CategoryPictureCache* pictures = nullptr;
    PageStartIndex* pageStarts = nullptr;

    int AddCategory(const QString& name) { return AppendCategory(doc, name); }
    void AddField(int category, FieldKind kind, const QString& name, double widthCm,
                  double heightCm) {
        AppendField(doc, category, kind, name, widthCm, heightCm);
    }

    PageInput Input() const {
        PageInput in{doc, settings};
        in.background = background;
        in.logo = logo;
        in.pictures = pictures;
        in.pageStarts = pageStarts;
        return in;
    }

    // Draws one printed page (zoom 100, printer canvas of the page's size).
    bool Print(RecordingCanvas& canvas, int page) {
        return PaintToCanvas(canvas, Input(), kDpi, kPageW, kPageH, page, 100, true);
    }
};

// A layout test with picture files and a background tile and logo to draw.
class PictureLayoutTest : public LayoutTest {
  protected:
    QTemporaryDir dir;
    dib tile{}, logoPicture{};

    void TearDown() override {
        FreeDib(tile);
        FreeDib(logoPicture);
    }

    // A one-colour 24-bit BMP of w x h pixels in the test's folder.
    QString Save(const QString& name, int w, int h, QColor colour) {
        QImage image(w, h, QImage::Format_RGB888);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
};

} // namespace layout_test
