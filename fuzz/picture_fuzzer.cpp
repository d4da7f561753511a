// Feeds arbitrary bytes as a picture file (BMP, PNG, GIF, JPEG, ...) through
// our picture layer: reading, drawing on a screen image and on a printer-like
// device, converting to 24 bits, greying and lightening, and drawing again.
#include "Dib.h"
#include "DibConvert.h"
#include "DibFile.h"
#include "FuzzApplication.h"
#include "QPainterDibDevice.h"
#include "RecordingCanvas.h"
#include "StretchDib.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzApplication();
    SetDibMessageHook([](const QString&) {});
    return 0;
}

namespace {
void Draw(const dib& picture) {
    const int w = DibWidth(picture), h = DibHeight(picture);
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QPainterDibDevice screen(painter);
        StretchDib(screen, 0, 0, 48, 32, picture, 0, 0, w, h);
        StretchDib(screen, -5, 3, 7, 90, picture, w / 3, h / 4, w / 2 + 1, h / 2 + 1);
        QPainterDibDevice printer(painter, DeviceTechnology::RasterPrinter);
        StretchDib(printer, 2, 2, 20, 10, picture, 0, 0, w, h);
    }
    std::vector<CanvasOp> ops;
    RecordingDibDevice recording(ops);
    StretchDib(recording, 1, 1, 300, 200, picture, 0, 0, w, h);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the lightening, the rest is the file.
    const int brightness = data[0] % 100 + 1;
    const int saturation = data[1] % 201 - 100;
    QByteArray bytes(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    dib picture{};
    if (!ReadDib(picture, buffer)) {
        if (picture.poi) std::abort();
        return 0;
    }
    // A few bytes may declare a picture of up to kMaxDibPixels, which the program
    // accepts; converting that many pixels only makes the run slow, not wiser.
    if (std::int64_t{DibWidth(picture)} * DibHeight(picture) > (std::int64_t{1} << 20)) {
        FreeDib(picture);
        return 0;
    }
    Draw(picture);
    ConvertDibTo24Bit(picture);
    GrayScaleDib(picture);
    LightenDib(picture, brightness, saturation);
    Draw(picture);
    FreeDib(picture);
    return 0;
}
