// The parts of the form fields: numbers, strings, names, the output pipeline.
#include "PdfFormValues.h"

#include "AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <cstring>

std::string PdfNumber(double v) {
    char text[64];
    const auto [end, failed] =
        std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 3);
    if (failed != std::errc()) return "0";
    char* last = end;
    while (last[-1] == '0') // three decimals always come after a point
        --last;
    if (last[-1] == '.') --last;
    std::string number(text, last);
    return number == "-0" ? "0" : number;
}

QPDFObjectHandle PdfReal(double v) {
    return QPDFObjectHandle::newReal(PdfNumber(v));
}

QPDFObjectHandle PdfRectangle(const QPDFObjectHandle::Rectangle& r) {
    return QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{
        PdfReal(r.llx), PdfReal(r.lly), PdfReal(r.urx), PdfReal(r.ury)});
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QPDFObjectHandle PdfText(const QString& text) {
    // PDFDocEncoding agrees with Latin-1 on the printable ASCII characters and
    // on 0xA1 to 0xFF but for 0xAD: text of only those is stored byte for
    // byte, as qpdf's conversion would store it, without that conversion's
    // cost. Anything else goes through qpdf.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 || u > 0x7e) && (u < 0xa1 || u > 0xff || u == 0xad))
            return QPDFObjectHandle::newUnicodeString(Utf8(text));
        bytes.push_back(static_cast<char>(u));
    }
    return QPDFObjectHandle::newString(bytes);
}

std::shared_ptr<Buffer> PdfBuffer(const std::string& bytes) {
    auto buffer = std::make_shared<Buffer>(bytes.size());
    if (!bytes.empty()) std::memcpy(buffer->getBuffer(), bytes.data(), bytes.size());
    return buffer;
}

QPDFObjectHandle SharedFieldValues::Characteristics(const char* caption) {
    OH mk = OH::newDictionary();
    mk.replaceKey("/CA", OH::newString(caption));
    return mk;
}

AtomicPipeline::AtomicPipeline(AtomicFileWriter& writer)
    : Pipeline("atomic file", nullptr), writer(writer), block(kBlock) {}

void AtomicPipeline::write(unsigned char const* data, size_t len) {
    if (len > kBlock - used) {
        Flush();
        if (len >= kBlock) {
            writer.Write(reinterpret_cast<const char*>(data), static_cast<qint64>(len));
            return;
        }
    }
    std::memcpy(block.data() + used, data, len);
    used += len;
}

void AtomicPipeline::Flush() {
    if (used > 0) writer.Write(block.data(), static_cast<qint64>(used));
    used = 0;
}
