// Form fields over the printed pages, built with qpdf's object model.
#include "PdfFormFields.h"

#include "AtomicFile.h"
#include "FormDocument.h"
#include "TextHelpers.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QSet>
#include <algorithm>
#include <exception>
#include <map>

namespace {

using OH = QPDFObjectHandle;

// Field flags (PDF reference, table "field flags common to all field types" and after).
constexpr int kMultiline = 1 << 12;
constexpr int kNoToggleToOff = 1 << 14;
constexpr int kRadio = 1 << 15;
// Annotation flag: printed.
constexpr int kPrint = 1 << 2;

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

OH Text(const QString& text) {
    return OH::newUnicodeString(Utf8(text));
}

std::string Number(double v) {
    return QString::number(v, 'f', 3).toStdString();
}

// Passes the PDF that qpdf writes, in many small pieces, on to the checked
// atomic writer in large blocks.
class AtomicPipeline : public Pipeline {
  public:
    explicit AtomicPipeline(AtomicFileWriter& writer)
        : Pipeline("atomic file", nullptr), writer(writer) {
        block.reserve(kBlock);
    }
    void write(unsigned char const* data, size_t len) override {
        block.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(len));
        if (block.size() >= kBlock) finish();
    }
    void finish() override {
        if (!block.isEmpty()) writer.Write(block.constData(), block.size());
        block.resize(0);
    }

  private:
    static constexpr qsizetype kBlock = 1 << 16;
    AtomicFileWriter& writer;
    QByteArray block;
};

// Makes names unique: the second "Name" becomes "Name 2", and so on.
class UniqueNames {
  public:
    explicit UniqueNames(QSet<QString> taken = {}) : used(std::move(taken)) {}
    QString Take(const QString& wanted) {
        QString name = wanted;
        for (int n = 2; used.contains(name); ++n)
            name = QStringLiteral("%1 %2").arg(wanted).arg(n);
        used.insert(name);
        return name;
    }

  private:
    QSet<QString> used;
};

class FormBuilder {
  public:
    FormBuilder(QPDF& pdf, const PdfPageGeometry& geometry) : pdf(pdf), geometry(geometry) {
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages())
            pages.push_back(page.getObjectHandle());
        helvetica = pdf.makeIndirectObject(Font("/Helvetica", true));
        dingbats = pdf.makeIndirectObject(Font("/ZapfDingbats", false));
    }

    void Add(const std::vector<DrawnField>& fields);
    void Finish();

  private:
    static OH Font(const char* baseFont, bool winAnsi) {
        OH font = OH::newDictionary();
        font.replaceKey("/Type", OH::newName("/Font"));
        font.replaceKey("/Subtype", OH::newName("/Type1"));
        font.replaceKey("/BaseFont", OH::newName(baseFont));
        if (winAnsi) font.replaceKey("/Encoding", OH::newName("/WinAnsiEncoding"));
        return font;
    }
    // The field's rectangle on its page, in PDF points.
    OH::Rectangle RectOf(const DrawnField& field, int top, const OH& page) const;
    OH Appearance(double w, double h, const std::string& content, bool withFont = false);
    // A widget annotation on page: the common entries.
    OH Widget(const OH& page, const OH::Rectangle& rect);
    void AddText(const DrawnField& field, const OH& page);
    void AddCheckBox(const DrawnField& field, const OH& page);
    void AddRadioButton(const DrawnField& field, const OH& page, bool startsGroup);
    void CloseGroup();

    QPDF& pdf;
    PdfPageGeometry geometry;
    std::vector<OH> pages;
    std::map<int, std::vector<OH>> annotations; // by page index
    std::vector<OH> fieldList;
    OH helvetica, dingbats;
    UniqueNames names;
    // The radio group being built, its buttons' state names.
    OH group;
    std::vector<OH> groupKids;
    UniqueNames groupStates;
};

OH::Rectangle FormBuilder::RectOf(const DrawnField& field, int top, const OH& page) const {
    const OH::Rectangle media = OH(page).getKey("/MediaBox").getArrayAsRectangle();
    const double scale = 72.0 / geometry.dpi;
    const double left = media.llx + geometry.origin.x() + field.box.left * scale;
    const double right = media.llx + geometry.origin.x() + field.box.right * scale;
    const double upper = media.ury - geometry.origin.y() - top * scale;
    const double lower = media.ury - geometry.origin.y() - field.box.bottom * scale;
    return {left, lower, right, upper};
}

OH FormBuilder::Appearance(double w, double h, const std::string& content, bool withFont) {
    OH stream = pdf.newStream(content);
    OH dict = stream.getDict();
    dict.replaceKey("/Type", OH::newName("/XObject"));
    dict.replaceKey("/Subtype", OH::newName("/Form"));
    dict.replaceKey("/BBox", OH::newFromRectangle({0, 0, w, h}));
    OH resources = OH::newDictionary();
    if (withFont) {
        OH fonts = OH::newDictionary();
        fonts.replaceKey("/Helv", helvetica);
        resources.replaceKey("/Font", fonts);
    }
    dict.replaceKey("/Resources", resources);
    return stream;
}

OH FormBuilder::Widget(const OH& page, const OH::Rectangle& rect) {
    OH widget = OH::newDictionary();
    widget.replaceKey("/Type", OH::newName("/Annot"));
    widget.replaceKey("/Subtype", OH::newName("/Widget"));
    widget.replaceKey("/Rect", OH::newFromRectangle(rect));
    widget.replaceKey("/F", OH::newInteger(kPrint));
    widget.replaceKey("/P", page);
    return widget;
}

void FormBuilder::AddText(const DrawnField& field, const OH& page) {
    // The label stands in the box's top lines: typing starts below it when
    // at least one line of the label font is left there.
    int top = field.box.top;
    const int below = field.box.top + field.labelLines * field.lineHeight;
    if (field.lineHeight > 0 && field.box.bottom - below >= field.lineHeight) top = below;
    const bool multiLine = field.lineHeight > 0 && field.box.bottom - top >= 2 * field.lineHeight;
    const OH::Rectangle rect = RectOf(field, top, page);
    const double w = rect.urx - rect.llx, h = rect.ury - rect.lly;
    // The typed text in the label's size, or fitted by the viewer when the
    // box is lower than a line of it.
    const int points = h >= field.fontPoints * 1.15 ? field.fontPoints : 0;
    OH widget = pdf.makeIndirectObject(Widget(page, rect));
    widget.replaceKey("/FT", OH::newName("/Tx"));
    widget.replaceKey("/T", Text(names.Take(FormFieldName(field.categoryName, field.label))));
    widget.replaceKey("/TU", Text(OneLineLabel(field.label)));
    widget.replaceKey("/DA", OH::newString("/Helv " + std::to_string(points) + " Tf 0 g"));
    if (multiLine) widget.replaceKey("/Ff", OH::newInteger(kMultiline));
    // Empty: the printed box shows through until something is typed.
    OH ap = OH::newDictionary();
    ap.replaceKey("/N", Appearance(w, h, "/Tx BMC\nEMC\n", true));
    widget.replaceKey("/AP", ap);
    annotations[field.page - 1].push_back(widget);
    fieldList.push_back(widget);
}

void FormBuilder::AddCheckBox(const DrawnField& field, const OH& page) {
    const OH::Rectangle rect = RectOf(field, field.box.top, page);
    const double w = rect.urx - rect.llx, h = rect.ury - rect.lly;
    OH widget = pdf.makeIndirectObject(Widget(page, rect));
    widget.replaceKey("/FT", OH::newName("/Btn"));
    widget.replaceKey("/T", Text(names.Take(FormFieldName(field.categoryName, field.label))));
    widget.replaceKey("/TU", Text(OneLineLabel(field.label)));
    widget.replaceKey("/DA", OH::newString("/ZaDb 0 Tf 0 g"));
    widget.replaceKey("/V", OH::newName("/Off"));
    widget.replaceKey("/AS", OH::newName("/Off"));
    OH mk = OH::newDictionary();
    mk.replaceKey("/CA", OH::newString("4")); // the check mark of ZapfDingbats
    widget.replaceKey("/MK", mk);
    // A tick drawn as a line, so that no font is needed to show it.
    const double line = std::max(0.5, std::min(w, h) * 0.1);
    const std::string tick = "q 0 G " + Number(line) + " w 1 J 1 j " + Number(w * 0.22) + " " +
                             Number(h * 0.52) + " m " + Number(w * 0.42) + " " + Number(h * 0.25) +
                             " l " + Number(w * 0.78) + " " + Number(h * 0.78) + " l S Q\n";
    OH states = OH::newDictionary();
    states.replaceKey("/Yes", Appearance(w, h, tick));
    states.replaceKey("/Off", Appearance(w, h, ""));
    OH ap = OH::newDictionary();
    ap.replaceKey("/N", states);
    widget.replaceKey("/AP", ap);
    annotations[field.page - 1].push_back(widget);
    fieldList.push_back(widget);
}

void FormBuilder::AddRadioButton(const DrawnField& field, const OH& page, bool startsGroup) {
    if (startsGroup) {
        CloseGroup();
        group = pdf.makeIndirectObject(OH::newDictionary());
        group.replaceKey("/FT", OH::newName("/Btn"));
        group.replaceKey("/Ff", OH::newInteger(kRadio | kNoToggleToOff));
        group.replaceKey("/T", Text(names.Take(FormFieldName(field.categoryName, QString()))));
        group.replaceKey("/DA", OH::newString("/ZaDb 0 Tf 0 g"));
        group.replaceKey("/V", OH::newName("/Off"));
        groupStates = UniqueNames({QStringLiteral("Off")});
    }
    const OH::Rectangle rect = RectOf(field, field.box.top, page);
    const double w = rect.urx - rect.llx, h = rect.ury - rect.lly;
    QString label = OneLineLabel(field.label);
    if (label.isEmpty()) label = QString::number(groupKids.size() + 1);
    const QString state = groupStates.Take(label);
    OH widget = pdf.makeIndirectObject(Widget(page, rect));
    widget.replaceKey("/Parent", group);
    widget.replaceKey("/AS", OH::newName("/Off"));
    OH mk = OH::newDictionary();
    mk.replaceKey("/CA", OH::newString("l")); // the filled circle of ZapfDingbats
    widget.replaceKey("/MK", mk);
    // A dot in the circle, drawn as four curves.
    const double r = std::min(w, h) * 0.25, cx = w / 2, cy = h / 2, k = r * 0.5523;
    auto P = [](double x, double y) { return Number(x) + " " + Number(y) + " "; };
    const std::string dot = "q 0 g " + P(cx + r, cy) + "m " + P(cx + r, cy + k) +
                            P(cx + k, cy + r) + P(cx, cy + r) + "c " + P(cx - k, cy + r) +
                            P(cx - r, cy + k) + P(cx - r, cy) + "c " + P(cx - r, cy - k) +
                            P(cx - k, cy - r) + P(cx, cy - r) + "c " + P(cx + k, cy - r) +
                            P(cx + r, cy - k) + P(cx + r, cy) + "c f Q\n";
    OH states = OH::newDictionary();
    states.replaceKey("/" + Utf8(state), Appearance(w, h, dot));
    states.replaceKey("/Off", Appearance(w, h, ""));
    OH ap = OH::newDictionary();
    ap.replaceKey("/N", states);
    widget.replaceKey("/AP", ap);
    annotations[field.page - 1].push_back(widget);
    groupKids.push_back(widget);
}

void FormBuilder::CloseGroup() {
    if (group.isInitialized() && !groupKids.empty()) {
        group.replaceKey("/Kids", OH::newArray(groupKids));
        fieldList.push_back(group);
    }
    group = OH();
    groupKids.clear();
}

void FormBuilder::Add(const std::vector<DrawnField>& fields) {
    const DrawnField* previous = nullptr;
    for (const DrawnField& field : fields) {
        if (field.page < 1 || field.page > static_cast<int>(pages.size())) continue;
        const OH& page = pages[static_cast<std::size_t>(field.page - 1)];
        switch (field.kind) {
        case fkText:
            CloseGroup();
            AddText(field, page);
            break;
        case fkCheckBox:
            CloseGroup();
            AddCheckBox(field, page);
            break;
        case fkSingleChoice:
            // Consecutive single choices of one category make one group.
            AddRadioButton(field, page,
                           !previous || previous->kind != fkSingleChoice ||
                               previous->category != field.category);
            break;
        default:
            continue;
        }
        previous = &field;
    }
    CloseGroup();
}

void FormBuilder::Finish() {
    for (auto& [index, widgets] : annotations) {
        OH page = pages[static_cast<std::size_t>(index)];
        OH annots = page.getKey("/Annots");
        if (!annots.isArray()) {
            annots = OH::newArray();
            page.replaceKey("/Annots", annots);
        }
        for (const OH& widget : widgets)
            annots.appendItem(widget);
    }
    OH resources = OH::newDictionary();
    OH fonts = OH::newDictionary();
    fonts.replaceKey("/Helv", helvetica);
    fonts.replaceKey("/ZaDb", dingbats);
    resources.replaceKey("/Font", fonts);
    OH form = OH::newDictionary();
    form.replaceKey("/Fields", OH::newArray(fieldList));
    form.replaceKey("/DR", resources);
    form.replaceKey("/DA", OH::newString("/Helv 0 Tf 0 g"));
    pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(form));
}

} // namespace

QString OneLineLabel(const QString& label) {
    QStringList lines;
    QString rest = label;
    do {
        const QString line = StripControlChars(CutFirstLine(rest)).trimmed();
        if (!line.isEmpty()) lines << line;
    } while (!rest.isEmpty());
    return lines.join(QLatin1Char(' '));
}

QString FormFieldName(const QString& category, const QString& label) {
    const QString c = OneLineLabel(category), l = OneLineLabel(label);
    QString name = c.isEmpty() ? l : l.isEmpty() ? c : c + QStringLiteral(" - ") + l;
    if (name.isEmpty()) name = QStringLiteral("Feld");
    name.replace(QLatin1Char('.'), QLatin1Char('_'));
    return name;
}

bool AddFormFieldsAndWrite(const QByteArray& bytes, const std::vector<DrawnField>& fields,
                           const PdfPageGeometry& geometry, const QString& path, QString* error) {
    QString message;
    if (!error) error = &message;
    AtomicFileWriter file(path);
    if (!file.Open()) {
        *error = file.Error();
        return false;
    }
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("printed form", bytes.constData(), static_cast<size_t>(bytes.size()));
        FormBuilder builder(pdf, geometry);
        builder.Add(fields);
        builder.Finish();
        QPDFWriter writer(pdf);
        // The printed pages are copied as they are; only the new objects are added.
        writer.setStreamDataMode(qpdf_s_preserve);
        AtomicPipeline pipeline(file);
        writer.setOutputPipeline(&pipeline);
        writer.write();
        pipeline.finish();
    } catch (const std::exception& e) {
        *error = QStringLiteral("The form fields could not be added: %1")
                     .arg(QString::fromUtf8(e.what()));
        return false;
    }
    if (!file.Commit()) {
        *error = file.Error();
        return false;
    }
    return true;
}
