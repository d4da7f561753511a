// Feeds arbitrary bytes to the project file reader and draws every page of
// whatever loads on the recording canvas, at the print run's resolution and at
// a small preview zoom: no stored number may break the layout.
#include "CategoryPictureCache.h"
#include "FuzzApplication.h"
#include "PaintToCanvas.h"
#include "ProjectFile.h"
#include "RecordingCanvas.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const LayoutSettings defaults;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ProjectReadResult read = ReadProjectFile(bytes, defaults);
    if (!read.ok()) return 0;
    const dib none{};
    CategoryPictureCache pictures;
    PageInput input{*read.document, read.settings};
    input.background = &none;
    input.logo = &none;
    input.pictures = &pictures;
    {
        RecordingCanvas canvas(600);
        const int pages =
            PaintAllPages(canvas, input, 600, input.printer.width, input.printer.height, [] {});
        if (pages < 1) std::abort();
    }
    const PageSize page = LayoutPageSize(input.printer, 96, 37);
    RecordingCanvas preview(96);
    PaintToCanvas(preview, input, 96, page.width, page.height, 1, 37, false);
    return 0;
}
