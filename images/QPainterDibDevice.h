#pragma once
// The picture device over a QPainter: screen images, PDF pages and printers.
// Pictures are drawn pixel for pixel (no smoothing) in the painter's coordinates.

#include "DibDevice.h"

#include <QImage>

#include <map>

class QPainterDibDevice : public DibDevice {
  public:
    // technology: RasterDisplay for images shown on screen, RasterPrinter for
    // PDF and printer pages.
    explicit QPainterDibDevice(QPainter& painter,
                               DeviceTechnology technology = DeviceTechnology::RasterDisplay);
    ~QPainterDibDevice() override = default;

    void SetStretchModeColorOnColor() override;
    DeviceTechnology Technology() const override { return technology; }
    std::uint32_t RasterCaps() const override { return RC_DIBTODEV; }
    int StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                      const std::uint8_t* bits, const BITMAPINFO* info, std::uint32_t rop) override;
    int SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan, int lines,
                          const std::uint8_t* bits, const BITMAPINFO* info) override;
    std::uintptr_t CreateCompatibleBitmap(int w, int h) override;
    int SetDIBits(std::uintptr_t bitmap, int startScan, int lines, const std::uint8_t* bits,
                  const BITMAPINFO* info) override;
    int StretchBlt(int x, int y, int w, int h, std::uintptr_t bitmap, int sx, int sy, int sw,
                   int sh, std::uint32_t rop) override;
    void DeleteBitmap(std::uintptr_t bitmap) override;

  private:
    QPainter& painter;
    DeviceTechnology technology;
    std::map<std::uintptr_t, QImage> bitmaps;
    std::uintptr_t nextBitmap = 1;
};
