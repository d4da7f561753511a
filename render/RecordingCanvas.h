#pragma once
// A canvas that draws nothing and records every operation with its arguments,
// with fixed font metrics, so that layout geometry can be checked exactly.
//
// Font metrics, for a font of p points at d pixels per inch:
//   line height (TextHeight of any text) = round(p x d / 72)
//   width of every character             = round(p x d / 72 x 0.5)
// (rounded half away from zero). Word wrapping breaks at spaces and at every
// CR LF, CR or LF with these widths; a word wider than the rectangle widens it.
//
// Pictures: the picture device reports itself as a raster printer, so
// StretchDib hands each picture over in one StretchDIBits call, recorded with
// its destination, source and a checksum of the picture's pixels.

#include "Canvas.h"
#include "DibDevice.h"

#include <string>
#include <string_view>
#include <vector>

struct CanvasOp {
    std::string name; // the operation: "Rectangle", "TextOut", "Font", "Pen", ...
    std::vector<long long> args;
    QString text; // text drawn, or the font name

    std::string ToString() const;
    bool operator==(const CanvasOp&) const = default;
};

class RecordingDibDevice : public DibDeviceWithoutBitmaps {
  public:
    explicit RecordingDibDevice(std::vector<CanvasOp>& ops) : ops(ops) {}
    DeviceTechnology Technology() const override { return DeviceTechnology::RasterPrinter; }
    std::uint32_t RasterCaps() const override { return 0; }
    int StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                      const std::uint8_t* bits, const BITMAPINFO* info, std::uint32_t rop) override;
    int SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan, int lines,
                          const std::uint8_t* bits, const BITMAPINFO* info) override;

  private:
    std::vector<CanvasOp>& ops;
};

class RecordingCanvas : public Canvas {
  public:
    explicit RecordingCanvas(int dpi);

    static int LineHeightFor(int points, int dpi);
    static int CharWidthFor(int points, int dpi);

    const std::vector<CanvasOp>& Ops() const { return ops; }
    // The recorded operations of one name, in order.
    std::vector<CanvasOp> OpsNamed(std::string_view name) const;
    // Every recorded operation, one per line.
    std::string Dump() const;
    void ClearOps() { ops.clear(); }

    int Dpi() const override { return dpi; }
    void SelectFont(const CanvasFont& font) override;
    CanvasFont CurrentFont() const override { return font; }
    void SetTransparentText() override;
    void SetOpaqueText(ColourValue background) override;
    void TextOut(int x, int y, const QString& text) override;
    int TextWidth(const QString& text) override;
    int TextHeight(const QString& text) override;
    void MeasureWrappedText(CanvasRect& rect, const QString& text) override;
    void DrawWrappedText(const CanvasRect& rect, const QString& text) override;
    void SetPen(ColourValue colour, int width) override;
    void SetSolidBrush(ColourValue colour) override;
    void SetClearBrush() override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    DibDevice& PictureDevice() override { return device; }

    // The lines word wrapping makes of text at a width (used by both text calls).
    std::vector<QString> WrapLines(const QString& text, int width, int* widest = nullptr);

  private:
    void Record(const char* name, std::vector<long long> args, const QString& text = {});

    int dpi;
    CanvasFont font;
    std::vector<CanvasOp> ops;
    RecordingDibDevice device{ops};
};
