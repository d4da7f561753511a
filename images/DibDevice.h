#pragma once
// The small device interface that StretchDib draws on: what it needs of a
// screen bitmap, a PDF page or a printer. QPainterDibDevice serves all three.

#include "Dib.h"

#include <cstdint>

class QPainter;

enum class DeviceTechnology { RasterDisplay, RasterPrinter, Other };

constexpr int kGdiError = -1;                 // failure result of StretchDIBits
constexpr std::uint32_t RC_DIBTODEV = 0x0200; // raster capability: takes DIB bits directly
constexpr std::uint32_t SRCCOPY = 0x00CC0020;

class DibDevice {
  public:
    virtual ~DibDevice() = default;
    // Picks nearest-neighbour (colour on colour) scaling for the stretches that
    // follow; devices that never smooth may leave it alone.
    virtual void SetStretchModeColorOnColor() {}
    // Device technology (GetDeviceCaps TECHNOLOGY).
    virtual DeviceTechnology Technology() const = 0;
    // Raster capability bits (GetDeviceCaps RASTERCAPS).
    virtual std::uint32_t RasterCaps() const = 0;
    // Direct stretch of a source rectangle (rows bottom first) into a destination
    // rectangle; returns the number of scan lines drawn or kGdiError.
    virtual int StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                              const std::uint8_t* bits, const BITMAPINFO* info,
                              std::uint32_t rop) = 0;
    // Unscaled copy of `lines` scan lines starting at scan startScan; 0 on failure.
    virtual int SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan,
                                  int lines, const std::uint8_t* bits, const BITMAPINFO* info) = 0;
    // A device bitmap of w x h pixels; 0 on failure.
    virtual std::uintptr_t CreateCompatibleBitmap(int w, int h) = 0;
    // Fills the device bitmap from DIB rows; 0 on failure.
    virtual int SetDIBits(std::uintptr_t bitmap, int startScan, int lines, const std::uint8_t* bits,
                          const BITMAPINFO* info) = 0;
    // Scaled copy of a rectangle of a device bitmap onto the device; 0 on failure.
    virtual int StretchBlt(int x, int y, int w, int h, std::uintptr_t bitmap, int sx, int sy,
                           int sw, int sh, std::uint32_t rop) = 0;
    // Releases a device bitmap.
    virtual void DeleteBitmap(std::uintptr_t bitmap) = 0;
};

// A device that keeps no device bitmaps: creating one fails (so fallback B ends
// with its message) and the other bitmap operations refuse. For devices that only
// take device-independent rows, such as recorders.
class DibDeviceWithoutBitmaps : public DibDevice {
  public:
    std::uintptr_t CreateCompatibleBitmap(int, int) override { return 0; }
    int SetDIBits(std::uintptr_t, int, int, const std::uint8_t*, const BITMAPINFO*) override {
        return 0;
    }
    int StretchBlt(int, int, int, int, std::uintptr_t, int, int, int, int, std::uint32_t) override {
        return 0;
    }
    void DeleteBitmap(std::uintptr_t) override {}
};
