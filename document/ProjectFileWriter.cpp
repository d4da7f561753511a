// Writes the project file: the categories, the page settings, the nine fonts
// and the trailing sections T1 to T9, always the complete format.
#include "AtomicFile.h"
#include "ByteWriter.h"
#include "Cp1252.h"
#include "ProjectFile.h"
#include "ProjectLayoutOrder.h"

#include <type_traits>

namespace {

void WriteAString(ByteWriter& out, const QString& text) {
    const QByteArray bytes = UnicodeToCp1252(text);
    out.Int32(static_cast<std::int32_t>(bytes.size()));
    out.Raw(bytes);
}

void WriteAString(ByteWriter& out, const char16_t* text) {
    WriteAString(out, ToQString(text));
}

void WriteFont(ByteWriter& out, const FontRecord& font) {
    QString name = font.name.left(kMaxFontNameUnits);
    // Never leave half a surrogate pair at the cut.
    if (name.size() < font.name.size() && !name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1);
    out.Byte(font.charset);
    out.UInt32(font.color);
    out.Byte(static_cast<std::uint8_t>(name.size()));
    for (const QChar c : name) {
        out.Byte(static_cast<std::uint8_t>(c.unicode() & 0xFF));
        out.Byte(static_cast<std::uint8_t>(c.unicode() >> 8));
    }
    out.Byte(font.pitch);
    out.Int32(font.pixelsPerInch);
    out.Int32(font.size);
    out.Byte(font.style);
}

void WriteField(ByteWriter& out, const FieldRecord& field) {
    WriteAString(out, field.name);
    WriteAString(out, field.descr);
    out.Int32(field.pricecols);
    out.Float64(field.width);
    out.Float64(field.height);
    out.Int32(field.kind);

    const std::uint32_t rows = field.variants ? field.variants->Count() : 0;
    out.Int32(static_cast<std::int32_t>(rows));
    for (std::uint32_t r = 0; r < rows; ++r) {
        const RecordArray<VariantCell>* cells =
            field.variants->at(static_cast<std::int32_t>(r))->cells;
        const std::uint32_t count = cells ? cells->Count() : 0;
        out.Int32(static_cast<std::int32_t>(count));
        for (std::uint32_t c = 0; c < count; ++c)
            WriteAString(out, cells->at(static_cast<std::int32_t>(c))->text);
    }

    const std::uint32_t pictures = field.pictures ? field.pictures->Count() : 0;
    out.Int32(static_cast<std::int32_t>(pictures));
    for (std::uint32_t p = 0; p < pictures; ++p) {
        const ImageEntry* entry = field.pictures->at(static_cast<std::int32_t>(p));
        out.Float64(entry->number);
        WriteAString(out, entry->filename);
    }
}

void WriteCategories(ByteWriter& out, const FormDocument& doc) {
    out.Int32(doc.CategoryCount());
    for (int i = 0; i < doc.CategoryCount(); ++i) {
        WriteAString(out, doc.CategoryName(i));
        const FieldArray* fields = doc.Fields(i);
        const std::uint32_t count = fields ? fields->Count() : 0;
        out.Int32(static_cast<std::int32_t>(count));
        for (std::uint32_t f = 0; f < count; ++f)
            WriteField(out, *fields->at(static_cast<std::int32_t>(f)));
    }
}

void WriteValue(ByteWriter& out, const LayoutSettings& s, const PageValue& value) {
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, QString>)
                WriteAString(out, s.*member);
            else if constexpr (std::is_same_v<T, double>)
                out.Float64(s.*member);
            else if constexpr (std::is_same_v<T, bool>)
                out.Bool(s.*member);
            else if constexpr (std::is_same_v<T, ColourValue>)
                out.UInt32(s.*member);
            else
                out.Int32(s.*member);
        },
        value);
}

void WriteCategoryRecords(ByteWriter& out, const FormDocument& doc) {
    out.Int32(doc.CategoryCount());
    for (int i = 0; i < doc.CategoryCount(); ++i) {
        const CategoryRecord* record = doc.Record(i);
        out.Bool(record != nullptr);
        if (!record) continue;
        WriteAString(out, record->introtext);
        WriteAString(out, record->picfile);
        out.Float64(record->picwidth);
        out.Int32(record->picbelow);
        out.Bool(record->textbelowpic);
    }
}

} // namespace

QByteArray SerializeProject(const FormDocument& doc, const LayoutSettings& s) {
    ByteWriter out;
    WriteCategories(out, doc);
    for (const PageValue& value : PageSettingsOrder())
        WriteValue(out, s, value);
    for (const FontRecord& font : s.fonts)
        WriteFont(out, font);
    for (const TrailingSection& section : TrailingSections()) {
        if (section.categoryRecords) WriteCategoryRecords(out, doc);
        for (const PageValue& value : section.values)
            WriteValue(out, s, value);
    }
    return out.bytes;
}

bool WriteProjectFile(const QString& path, const FormDocument& doc, const LayoutSettings& s,
                      FileFailure* failure) {
    return WriteFileAtomically(path, SerializeProject(doc, s), failure);
}
