// Decoding a HEIF/HEIC photo with libheif.
#include "HeifImage.h"

#include "ScanFile.h"

#include <libheif/heif.h>

#include <algorithm>
#include <memory>

namespace {

ReturnRejection Unreadable(const heif_error& error) {
    return {QStringLiteral("a HEIF photo that cannot be read: %1")
                .arg(QString::fromUtf8(error.message ? error.message : "").left(200)),
            QStringLiteral("Das HEIF-Foto kann nicht gelesen werden.")};
}

struct Release {
    void operator()(heif_context* c) const { heif_context_free(c); }
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
    void operator()(heif_image* i) const { heif_image_release(i); }
};

} // namespace

bool IsHeif(const QByteArray& bytes) {
    const int length = static_cast<int>(std::min<qsizetype>(bytes.size(), 64));
    return length >= 12 &&
           heif_check_filetype(reinterpret_cast<const uint8_t*>(bytes.constData()), length) ==
               heif_filetype_yes_supported;
}

QImage DecodeHeif(const QByteArray& bytes, ReturnRejection* why) {
    const std::unique_ptr<heif_context, Release> context(heif_context_alloc());
    heif_error error = heif_context_read_from_memory_without_copy(
        context.get(), bytes.constData(), static_cast<size_t>(bytes.size()), nullptr);
    heif_image_handle* handle = nullptr;
    if (error.code == heif_error_Ok)
        error = heif_context_get_primary_image_handle(context.get(), &handle);
    const std::unique_ptr<heif_image_handle, Release> primary(handle);
    if (error.code != heif_error_Ok) {
        *why = Unreadable(error);
        return {};
    }
    const int width = heif_image_handle_get_width(handle);
    const int height = heif_image_handle_get_height(handle);
    if (width <= 0 || height <= 0) {
        *why = Unreadable(error);
        return {};
    }
    if (!ScanSizeAllowed(QSize(width, height), why)) return {};
    heif_image* decoded = nullptr;
    error = heif_decode_image(handle, &decoded, heif_colorspace_RGB,
                              heif_chroma_interleaved_RGB, nullptr);
    const std::unique_ptr<heif_image, Release> image(decoded);
    int stride = 0;
    const uint8_t* plane =
        error.code == heif_error_Ok
            ? heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride)
            : nullptr;
    if (!plane) {
        *why = Unreadable(error);
        return {};
    }
    // The decoded size: the file's turn may have swapped the sides.
    const int w = heif_image_get_width(decoded, heif_channel_interleaved);
    const int h = heif_image_get_height(decoded, heif_channel_interleaved);
    return QImage(plane, w, h, stride, QImage::Format_RGB888).copy();
}
