#pragma once
// A picture device that records every call and answers as it is told, for
// tests of the drawing routine's paths and fallbacks.

#include "DibDevice.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

struct FakeDibCall {
    std::string op; // "StretchDIBits", "SetDIBitsToDevice", "CreateCompatibleBitmap", ...
    int x = 0, y = 0, w = 0, h = 0;
    int sx = 0, sy = 0, sw = 0, sh = 0;
    int startScan = 0, lines = 0;
    int bitCount = 0;
    std::vector<std::uint8_t> bits; // SetDIBitsToDevice: the rows passed, as stored
};

// A call with its rectangle (x, y, w, h, sx, sy, sw, sh); missing values are 0.
inline FakeDibCall MakeFakeDibCall(std::string op, std::vector<int> r = {}) {
    r.resize(8);
    FakeDibCall c;
    c.op = std::move(op);
    c.x = r[0], c.y = r[1], c.w = r[2], c.h = r[3];
    c.sx = r[4], c.sy = r[5], c.sw = r[6], c.sh = r[7];
    return c;
}

class FakeDibDevice : public DibDevice {
  public:
    DeviceTechnology technology = DeviceTechnology::RasterDisplay;
    std::uint32_t rasterCaps = RC_DIBTODEV;
    int stretchResult = 1;      // kGdiError makes the direct stretch fail
    int setToDeviceResult = -1; // -1: the number of lines
    std::uintptr_t bitmapResult = 7;
    int setDIBitsResult = 1;
    int stretchBltResult = 1;
    int stretchModeCalls = 0;
    std::vector<FakeDibCall> calls;

    void SetStretchModeColorOnColor() override { ++stretchModeCalls; }
    DeviceTechnology Technology() const override { return technology; }
    std::uint32_t RasterCaps() const override { return rasterCaps; }
    int StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                      const std::uint8_t*, const BITMAPINFO* info, std::uint32_t) override {
        FakeDibCall c = MakeFakeDibCall("StretchDIBits", {x, y, w, h, sx, sy, sw, sh});
        c.bitCount = info ? info->bmiHeader.biBitCount : 0;
        calls.push_back(c);
        return stretchResult;
    }
    int SetDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan, int lines,
                          const std::uint8_t* bits, const BITMAPINFO* info) override {
        FakeDibCall c = MakeFakeDibCall("SetDIBitsToDevice", {x, y, w, h, sx, sy});
        c.startScan = startScan;
        c.lines = lines;
        c.bitCount = info->bmiHeader.biBitCount;
        const int rowBytes = DibRowBytes(info->bmiHeader.biWidth, c.bitCount);
        c.bits.assign(bits, bits + static_cast<std::size_t>(rowBytes) * lines);
        calls.push_back(c);
        return setToDeviceResult < 0 ? lines : setToDeviceResult;
    }
    std::uintptr_t CreateCompatibleBitmap(int w, int h) override {
        calls.push_back(MakeFakeDibCall("CreateCompatibleBitmap", {0, 0, w, h}));
        return bitmapResult;
    }
    int SetDIBits(std::uintptr_t, int startScan, int lines, const std::uint8_t*,
                  const BITMAPINFO*) override {
        FakeDibCall c = MakeFakeDibCall("SetDIBits");
        c.startScan = startScan;
        c.lines = lines;
        calls.push_back(c);
        return setDIBitsResult;
    }
    int StretchBlt(int x, int y, int w, int h, std::uintptr_t, int sx, int sy, int sw, int sh,
                   std::uint32_t) override {
        calls.push_back(MakeFakeDibCall("StretchBlt", {x, y, w, h, sx, sy, sw, sh}));
        return stretchBltResult;
    }
    void DeleteBitmap(std::uintptr_t) override { calls.push_back(MakeFakeDibCall("DeleteBitmap")); }

    std::vector<std::string> Ops() const {
        std::vector<std::string> ops;
        for (const FakeDibCall& c : calls)
            ops.push_back(c.op);
        return ops;
    }
};
