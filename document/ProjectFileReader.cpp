// Reads a project file into a fresh document and a copy of the layout: each
// category and field is built as a taken record and inserted through the
// document's primitives, as an edit would. Every count is checked against the
// bytes left before anything is built for it, so a damaged or hostile file
// costs no more memory than its own size justifies.
#include "ByteReader.h"
#include "Cp1252.h"
#include "ProjectFile.h"
#include "ProjectLayoutOrder.h"

#include <QFile>
#include <QFileInfo>
#include <new>
#include <type_traits>

const char* const kReadBeyondEndOfFile = "Read beyond end of file";

namespace {

// The least number of bytes one element of each list takes in the file.
constexpr qsizetype kMinCategoryBytes = 4 + 4;                      // name, field count
constexpr qsizetype kMinFieldBytes = 4 + 4 + 4 + 8 + 8 + 4 + 4 + 4; // up to the picture count
constexpr qsizetype kMinVariantRowBytes = 4;                        // cell count
constexpr qsizetype kMinCellBytes = 4;                              // empty text
constexpr qsizetype kMinPictureBytes = 8 + 4;                       // number, empty name
constexpr qsizetype kMinRecordEntryBytes = 1;                       // presence flag

struct Damaged {};

class ProjectReader {
  public:
    ProjectReader(QByteArrayView bytes, FormDocument& doc, LayoutSettings& settings)
        : in(bytes), doc(doc), s(settings) {}

    void Read() {
        ReadCategories();
        ReadPageSettings();
        for (FontRecord& font : s.fonts)
            font = ReadFont();
        ReadTrailingSections();
    }

  private:
    std::uint8_t Byte() {
        std::uint8_t v = 0;
        if (!in.Byte(v)) throw Damaged{};
        return v;
    }
    bool Bool() { return Byte() != 0; }
    std::int32_t Int32() {
        std::int32_t v = 0;
        if (!in.Int32(v)) throw Damaged{};
        return v;
    }
    std::uint32_t UInt32() {
        std::uint32_t v = 0;
        if (!in.UInt32(v)) throw Damaged{};
        return v;
    }
    double Float64() {
        double v = 0;
        if (!in.Float64(v)) throw Damaged{};
        return v;
    }
    QString AString() {
        const std::int32_t n = Int32();
        QByteArrayView bytes;
        if (n < 0 || !in.Bytes(n, bytes)) throw Damaged{};
        return Cp1252ToUnicode(bytes);
    }
    // A count of elements of at least minBytes each; none when not positive.
    std::int32_t Count(qsizetype minBytes) {
        const std::int32_t n = Int32();
        if (n <= 0) return 0;
        if (n > in.Remaining() / minBytes) throw Damaged{};
        return n;
    }

    // Each nested array gets a block of exactly its checked count at once:
    // loading stays linear instead of copying the block at every hundredth
    // element, and a file of many small arrays takes memory in proportion to
    // its size rather than a 100-element block per array.
    template <typename T> static void Reserve(RecordArray<T>& array, std::int32_t n) {
        if (n > 0 && !array.ReserveExact(static_cast<std::uint32_t>(n))) throw std::bad_alloc();
    }

    void ReadCategories() {
        const std::int32_t categories = Count(kMinCategoryBytes);
        doc.ReserveCategories(categories);
        for (std::int32_t c = 0; c < categories; ++c) {
            const int index = doc.CategoryCount();
            doc.InsertCategory(index, TakenCategory::Make(AString()));
            const std::int32_t fields = Count(kMinFieldBytes);
            doc.ReserveFields(index, fields);
            for (std::int32_t f = 0; f < fields; ++f)
                doc.InsertField(index, f, ReadField());
        }
    }

    // A field is read whole into its holder: one cut off in the middle is
    // released with it and never reaches the document.
    TakenField ReadField() {
        TakenField taken = TakenField::Bare();
        FieldRecord& field = taken.record();
        ReplaceText(field.name, AString());
        ReplaceText(field.descr, AString());
        field.pricecols = Int32();
        field.width = Float64();
        field.height = Float64();
        field.kind = Int32(); // kept as it is, even outside the known kinds
        const std::int32_t rows = Count(kMinVariantRowBytes);
        Reserve(*field.variants, rows);
        for (std::int32_t r = 0; r < rows; ++r) {
            VariantRow& row = *AddVariantRow(field);
            const std::int32_t cells = Count(kMinCellBytes);
            Reserve(*row.cells, cells);
            for (std::int32_t k = 0; k < cells; ++k)
                AddVariantCell(row, AString());
        }
        const std::int32_t pictures = Count(kMinPictureBytes);
        Reserve(*field.pictures, pictures);
        for (std::int32_t p = 0; p < pictures; ++p) {
            const double number = Float64();
            AddImageEntry(field, number, AString());
        }
        return taken;
    }

    void ReadValue(const PageValue& value) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(s.*member)>;
                if constexpr (std::is_same_v<T, QString>) {
                    s.*member = AString();
                } else if constexpr (std::is_same_v<T, double>) {
                    s.*member = Float64();
                } else if constexpr (std::is_same_v<T, bool>) {
                    s.*member = Bool();
                } else if constexpr (std::is_same_v<T, ColourValue>) {
                    s.*member = UInt32();
                } else {
                    const std::int32_t v = Int32();
                    // A picture alignment other than the three leaves the one in place.
                    if (member != &LayoutSettings::pictureAlignment || (v >= 0 && v <= 2))
                        s.*member = v;
                }
            },
            value);
    }

    void ReadPageSettings() {
        for (const PageValue& value : PageSettingsOrder())
            ReadValue(value);
    }

    FontRecord ReadFont() {
        FontRecord font;
        font.charset = Byte();
        font.color = UInt32();
        const int units = Byte();
        QByteArrayView name;
        if (!in.Bytes(2 * units, name)) throw Damaged{};
        font.name.resize(units);
        for (int i = 0; i < units; ++i)
            font.name[i] =
                QChar(static_cast<char16_t>(static_cast<std::uint8_t>(name[2 * i]) |
                                            static_cast<std::uint8_t>(name[2 * i + 1]) << 8));
        font.pitch = Byte();
        font.pixelsPerInch = Int32();
        font.size = Int32();
        font.style = Byte();
        return font;
    }

    // Each trailing section is taken only when the file holds all of it; the
    // first one missing ends the read and leaves the rest as they were.
    void ReadTrailingSections() {
        for (const TrailingSection& section : TrailingSections()) {
            if (section.categoryRecords) {
                if (in.AtEnd()) return;
                ReadCategoryRecords(); // a cut-off one is damage
                continue;
            }
            if (!Holds(SectionBytes(section))) return;
            for (const PageValue& value : section.values)
                ReadValue(value);
        }
    }

    bool Holds(qsizetype bytes) const { return in.Remaining() >= bytes; }

    void ReadCategoryRecords() {
        const std::int32_t entries = Count(kMinRecordEntryBytes);
        for (std::int32_t i = 0; i < entries; ++i) {
            if (!Bool()) continue;
            const QString introtext = AString();
            const QString picfile = AString();
            const double picwidth = Float64();
            const std::int32_t picbelow = Int32();
            const bool textbelowpic = Bool();
            // Entries beyond the last category have nothing to belong to.
            if (i < doc.CategoryCount())
                doc.SetRecord(
                    i, NewCategoryRecord(picfile, picwidth, introtext, picbelow, textbelowpic));
        }
    }

    ByteReader in;
    FormDocument& doc;
    LayoutSettings& s;
};

} // namespace

ProjectReadResult ReadProjectFile(QByteArrayView bytes, const LayoutSettings& current) {
    ProjectReadResult result;
    result.settings = current;
    auto doc = std::make_unique<FormDocument>();
    try {
        ProjectReader(bytes, *doc, result.settings).Read();
    } catch (const Damaged&) {
        result.settings = current;
        result.status = ProjectReadStatus::Damaged;
        result.error = QString::fromLatin1(kReadBeyondEndOfFile);
        result.reason = result.error;
        return result;
    } catch (const std::bad_alloc&) {
        result.settings = current;
        result.status = ProjectReadStatus::Damaged;
        result.error = QStringLiteral("Not enough memory to read the file.");
        result.reason = QStringLiteral("Nicht genug Arbeitsspeicher, um die Datei zu lesen.");
        return result;
    }
    result.status = ProjectReadStatus::Ok;
    result.document = std::move(doc);
    return result;
}

ProjectReadResult ReadProjectFileFromPath(const QString& path, const LayoutSettings& current) {
    QFile file(path);
    // Only plain files: a folder cannot be read and a device may never end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        ProjectReadResult result;
        result.settings = current;
        result.status = ProjectReadStatus::CannotOpen;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ProjectReadResult result;
        result.settings = current;
        result.status = ProjectReadStatus::Damaged;
        result.error =
            QStringLiteral("%1: %2").arg(QFileInfo(path).absoluteFilePath(), file.errorString());
        result.reason = QStringLiteral("Beim Lesen der Datei ist ein Fehler aufgetreten.");
        return result;
    }
    return ReadProjectFile(bytes, current);
}
