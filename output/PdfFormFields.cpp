// Form fields over the printed pages, built with qpdf's object model.
#include "PdfFormFields.h"

#include "AtomicFile.h"
#include "FormDocument.h"
#include "OrderForm.h"
#include "PdfFormValues.h"
#include "TextHelpers.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <exception>
#include <map>
#include <tuple>
#include <unordered_map>

namespace {

using OH = QPDFObjectHandle;

class FormBuilder {
  public:
    FormBuilder(QPDF& pdf, const PdfPageGeometry& geometry, const OrderForm& order)
        : pdf(pdf), geometry(geometry), scale(72.0 / geometry.dpi), order(order) {
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
            pages.push_back(page.getObjectHandle());
            mediaBoxes.push_back(page.getMediaBox().getArrayAsRectangle());
        }
        helvetica = pdf.makeIndirectObject(Font("/Helvetica", true));
        dingbats = pdf.makeIndirectObject(Font("/ZapfDingbats", false));
        OH fonts = OH::newDictionary();
        fonts.replaceKey("/Helv", helvetica);
        // One resource dictionary for the text fields' appearances; a viewer
        // that fills a field in keeps it, or copies it before adding to it.
        textResources = OH::newDictionary();
        textResources.replaceKey("/Font", fonts);
        textResources = pdf.makeIndirectObject(textResources);
    }

    void Add(const std::vector<DrawnField>& fields);
    void Finish(const QString& identity);

  private:
    static OH Font(const char* baseFont, bool winAnsi) {
        OH font = OH::newDictionary();
        font.replaceKey("/Type", OH::newName("/Font"));
        font.replaceKey("/Subtype", OH::newName("/Type1"));
        font.replaceKey("/BaseFont", OH::newName(baseFont));
        if (winAnsi) font.replaceKey("/Encoding", OH::newName("/WinAnsiEncoding"));
        return font;
    }
    // The field's rectangle on its page, in PDF points, from the pixel row top down.
    OH::Rectangle RectOf(const DrawnField& field, int top) const;
    // An area of w x h pixels in points, from the origin: an appearance's
    // bounding box, one for all of that size.
    OH BoundingBox(int w, int h);
    // The dictionary of a form XObject of w x h pixels with resources, one for
    // all of them.
    OH AppearanceDictionary(int w, int h, const OH& resources);
    // A form XObject drawing content; streams may share their content, which
    // nothing changes in place (qpdf replaces a stream's data as a whole).
    OH Appearance(const OH& dictionary, const std::shared_ptr<Buffer>& content);
    // What a button shows in one of its states.
    enum class ButtonLook { Off, Tick, Dot };
    // The appearance of a button's state, one stream for all buttons of the
    // same size and look. Viewers only switch a button's state (/AS) between
    // its streams and never write into them, so a shared stream shows each
    // button as its own state says; text fields keep their own, since a
    // viewer rewrites a text field's stream when it is filled in.
    OH ButtonAppearance(ButtonLook look, const DrawnField& field);
    // The appearances of a check box: ticked (/Yes) and not, one for all of a size.
    OH CheckBoxAppearances(const DrawnField& field);
    // A coordinate on the page: one number object for each value, since the
    // fields of a form stand in rows and columns.
    OH Coordinate(double v);
    // A widget annotation on page: the common entries.
    OH Widget(const OH& page, const OH::Rectangle& rect);
    // A label as one line, and as the tooltip (/TU).
    struct Label {
        QString line;
        OH tooltip;
    };
    const Label& LabelOf(const DrawnField& field);
    // The field's name, its column's, and its label as the tooltip.
    void NameField(OH& widget, const DrawnField& field, const OrderColumn& column);
    void AddText(const DrawnField& field, const OH& page, const OrderColumn& column);
    void AddCheckBox(const DrawnField& field, const OH& page, const OrderColumn& column);
    void AddRadioButton(const DrawnField& field, const OH& page, const OrderColumn& column);
    void CloseGroup();

    QPDF& pdf;
    PdfPageGeometry geometry;
    double scale; // points per pixel
    SharedFieldValues common;
    std::vector<OH> pages;
    std::vector<OH::Rectangle> mediaBoxes;           // by page index
    std::map<std::pair<int, int>, OH> boundingBoxes; // by width and height in pixels
    // Appearance dictionaries by width and height and whether with the text resources.
    std::map<std::tuple<int, int, bool>, OH> appearanceDictionaries;
    std::unordered_map<double, OH> coordinates;
    // Button appearances by look and the button's width and height in pixels.
    std::map<std::tuple<ButtonLook, int, int>, OH> buttonLooks;
    std::map<std::pair<int, int>, OH> checkBoxLooks; // /AP of check boxes, by size
    std::map<int, OH> textLooks;                     // /DA of text fields, by font size
    QHash<QString, Label> labels;                    // by the label as stored
    // The order table's columns, which name the fields.
    const OrderForm& order;
    std::map<int, std::vector<OH>> annotations; // by page index
    std::vector<OH> fieldList;
    OH helvetica, dingbats, textResources;
    // The radio group being built (its column's group) and its buttons.
    OH group;
    int groupNumber = -1;
    std::vector<OH> groupKids;
};

OH::Rectangle FormBuilder::RectOf(const DrawnField& field, int top) const {
    const OH::Rectangle& media = mediaBoxes[static_cast<std::size_t>(field.page - 1)];
    const double left = media.llx + geometry.origin.x() + field.box.left * scale;
    const double right = media.llx + geometry.origin.x() + field.box.right * scale;
    const double upper = media.ury - geometry.origin.y() - top * scale;
    const double lower = media.ury - geometry.origin.y() - field.box.bottom * scale;
    return {left, lower, right, upper};
}

OH FormBuilder::BoundingBox(int w, int h) {
    OH& bbox = boundingBoxes[{w, h}];
    if (!bbox.isInitialized()) bbox = PdfRectangle({0, 0, w * scale, h * scale});
    return bbox;
}

OH FormBuilder::AppearanceDictionary(int w, int h, const OH& resources) {
    OH& dict = appearanceDictionaries[{w, h, resources.isIndirect()}];
    if (!dict.isInitialized()) {
        dict = OH::newDictionary();
        dict.replaceKey("/Type", common.xObject);
        dict.replaceKey("/Subtype", common.form);
        dict.replaceKey("/BBox", BoundingBox(w, h));
        dict.replaceKey("/Resources", resources);
    }
    return dict;
}

OH FormBuilder::Appearance(const OH& dictionary, const std::shared_ptr<Buffer>& content) {
    OH stream = pdf.newStream();
    // A new stream has no filter: the uninitialised handles leave it so.
    stream.replaceStreamData(content, OH(), OH());
    // Streams of one size share one dictionary in memory. qpdf writes each
    // stream's dictionary out in full, with the stream's own length, and
    // changes only copies of it while writing; nothing else changes it.
    stream.replaceDict(dictionary);
    return stream;
}

OH FormBuilder::ButtonAppearance(ButtonLook look, const DrawnField& field) {
    const int pw = field.box.right - field.box.left, ph = field.box.bottom - field.box.top;
    OH& stream = buttonLooks[{look, pw, ph}];
    if (stream.isInitialized()) return stream;
    const double w = pw * scale, h = ph * scale;
    std::string content;
    if (look == ButtonLook::Tick) {
        // A tick drawn as a line, so that no font is needed to show it.
        const double line = std::max(0.5, std::min(w, h) * 0.1);
        content = "q 0 G " + PdfNumber(line) + " w 1 J 1 j " + PdfNumber(w * 0.22) + " " +
                  PdfNumber(h * 0.52) + " m " + PdfNumber(w * 0.42) + " " + PdfNumber(h * 0.25) +
                  " l " + PdfNumber(w * 0.78) + " " + PdfNumber(h * 0.78) + " l S Q\n";
    } else if (look == ButtonLook::Dot) {
        // A dot in the circle, drawn as four curves.
        const double r = std::min(w, h) * 0.25, cx = w / 2, cy = h / 2, k = r * 0.5523;
        auto P = [](double x, double y) { return PdfNumber(x) + " " + PdfNumber(y) + " "; };
        content = "q 0 g " + P(cx + r, cy) + "m " + P(cx + r, cy + k) + P(cx + k, cy + r) +
                  P(cx, cy + r) + "c " + P(cx - k, cy + r) + P(cx - r, cy + k) + P(cx - r, cy) +
                  "c " + P(cx - r, cy - k) + P(cx - k, cy - r) + P(cx, cy - r) + "c " +
                  P(cx + k, cy - r) + P(cx + r, cy - k) + P(cx + r, cy) + "c f Q\n";
    }
    stream = Appearance(AppearanceDictionary(pw, ph, common.noResources), PdfBuffer(content));
    return stream;
}

OH FormBuilder::CheckBoxAppearances(const DrawnField& field) {
    OH& ap = checkBoxLooks[{field.box.right - field.box.left, field.box.bottom - field.box.top}];
    if (ap.isInitialized()) return ap;
    OH states = OH::newDictionary();
    states.replaceKey("/Yes", ButtonAppearance(ButtonLook::Tick, field));
    states.replaceKey("/Off", ButtonAppearance(ButtonLook::Off, field));
    ap = OH::newDictionary();
    ap.replaceKey("/N", states);
    return ap;
}

OH FormBuilder::Coordinate(double v) {
    OH& number = coordinates[v];
    if (!number.isInitialized()) number = PdfReal(v);
    return number;
}

OH FormBuilder::Widget(const OH& page, const OH::Rectangle& rect) {
    OH widget = OH::newDictionary();
    widget.replaceKey("/Type", common.annot);
    widget.replaceKey("/Subtype", common.widget);
    widget.replaceKey("/Rect",
                      OH::newArray(std::vector<OH>{Coordinate(rect.llx), Coordinate(rect.lly),
                                                   Coordinate(rect.urx), Coordinate(rect.ury)}));
    widget.replaceKey("/F", common.printed);
    widget.replaceKey("/P", page);
    return widget;
}

const FormBuilder::Label& FormBuilder::LabelOf(const DrawnField& field) {
    Label& label = labels[field.label];
    if (!label.tooltip.isInitialized()) {
        label.line = OneLineLabel(field.label);
        label.tooltip = PdfText(label.line);
    }
    return label;
}

void FormBuilder::NameField(OH& widget, const DrawnField& field, const OrderColumn& column) {
    widget.replaceKey("/T", PdfText(column.pdfField));
    widget.replaceKey("/TU", LabelOf(field).tooltip);
}

void FormBuilder::AddText(const DrawnField& field, const OH& page, const OrderColumn& column) {
    // The label stands in the box's top lines: typing starts below it when
    // at least one line of the label font is left there.
    int top = field.box.top;
    const int below = field.box.top + field.labelLines * field.lineHeight;
    if (field.lineHeight > 0 && field.box.bottom - below >= field.lineHeight) top = below;
    const bool multiLine = field.lineHeight > 0 && field.box.bottom - top >= 2 * field.lineHeight;
    const OH::Rectangle rect = RectOf(field, top);
    const double h = rect.ury - rect.lly;
    // The typed text in the label's size, or fitted by the viewer when the
    // box is lower than a line of it.
    const int points = h >= field.fontPoints * 1.15 ? field.fontPoints : 0;
    OH widget = pdf.makeIndirectObject(Widget(page, rect));
    widget.replaceKey("/FT", common.textKind);
    NameField(widget, field, column);
    OH& look = textLooks[points];
    if (!look.isInitialized()) look = OH::newString("/Helv " + std::to_string(points) + " Tf 0 g");
    widget.replaceKey("/DA", look);
    if (multiLine) widget.replaceKey("/Ff", common.multiLine);
    // Each text field has its own stream: a viewer writes the typed text into it.
    OH ap = OH::newDictionary();
    ap.replaceKey("/N", Appearance(AppearanceDictionary(field.box.right - field.box.left,
                                                        field.box.bottom - top, textResources),
                                   common.emptyText));
    widget.replaceKey("/AP", ap);
    annotations[field.page - 1].push_back(widget);
    fieldList.push_back(widget);
}

void FormBuilder::AddCheckBox(const DrawnField& field, const OH& page, const OrderColumn& column) {
    OH widget = pdf.makeIndirectObject(Widget(page, RectOf(field, field.box.top)));
    widget.replaceKey("/FT", common.buttonKind);
    NameField(widget, field, column);
    widget.replaceKey("/DA", common.dingbatsLook);
    widget.replaceKey("/V", common.off);
    widget.replaceKey("/AS", common.off);
    widget.replaceKey("/MK", common.checkMark);
    widget.replaceKey("/AP", CheckBoxAppearances(field));
    annotations[field.page - 1].push_back(widget);
    fieldList.push_back(widget);
}

void FormBuilder::AddRadioButton(const DrawnField& field, const OH& page,
                                 const OrderColumn& column) {
    if (column.group != groupNumber) {
        CloseGroup();
        group = pdf.makeIndirectObject(OH::newDictionary());
        group.replaceKey("/FT", common.buttonKind);
        group.replaceKey("/Ff", OH::newInteger(kRadioField | kNoToggleToOffField));
        group.replaceKey("/T", PdfText(column.pdfField));
        group.replaceKey("/DA", common.dingbatsLook);
        group.replaceKey("/V", common.off);
        groupNumber = column.group;
    }
    OH widget = pdf.makeIndirectObject(Widget(page, RectOf(field, field.box.top)));
    widget.replaceKey("/Parent", group);
    widget.replaceKey("/AS", common.off);
    widget.replaceKey("/MK", common.radioDot);
    std::string onState = "/";
    onState += Utf8(column.state);
    OH states = OH::newDictionary();
    states.replaceKey(onState, ButtonAppearance(ButtonLook::Dot, field));
    states.replaceKey("/Off", ButtonAppearance(ButtonLook::Off, field));
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
    groupNumber = -1;
    groupKids.clear();
}

void FormBuilder::Add(const std::vector<DrawnField>& fields) {
    for (const DrawnField& field : fields) {
        if (field.page < 1 || field.page > static_cast<int>(pages.size())) continue;
        const OrderColumn* found = order.ColumnAt(field.category, static_cast<int>(field.field));
        // A field without a column is of a kind the form does not know.
        if (!found || found->kind != field.kind) continue;
        const OrderColumn& column = *found;
        const OH& page = pages[static_cast<std::size_t>(field.page - 1)];
        switch (field.kind) {
        case fkText:
            CloseGroup();
            AddText(field, page, column);
            break;
        case fkCheckBox:
            CloseGroup();
            AddCheckBox(field, page, column);
            break;
        case fkSingleChoice:
            // The single choices of one column group make one radio group.
            AddRadioButton(field, page, column);
            break;
        default:
            break;
        }
    }
    CloseGroup();
}

void FormBuilder::Finish(const QString& identity) {
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
    if (!identity.isEmpty()) {
        // Kept twice: a viewer that rewrites the document information when
        // it saves keeps the form dictionary, and the other way round.
        const OH id = OH::newString(Utf8(identity));
        form.replaceKey(kFormIdentityKey, id);
        OH info = pdf.getTrailer().getKey("/Info");
        if (!info.isDictionary()) {
            info = pdf.makeIndirectObject(OH::newDictionary());
            pdf.getTrailer().replaceKey("/Info", info);
        }
        info.replaceKey(kFormIdentityKey, id);
    }
    pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(form));
}

} // namespace

bool AddFormFieldsAndWrite(const QByteArray& bytes, const std::vector<DrawnField>& fields,
                           const PdfPageGeometry& geometry, const OrderForm& order,
                           const QString& path, FileFailure* failure) {
    FileFailure ignored;
    if (!failure) failure = &ignored;
    AtomicFileWriter file(path);
    if (!file.Open()) {
        *failure = file.Failure();
        return false;
    }
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("printed form", bytes.constData(), static_cast<size_t>(bytes.size()));
        FormBuilder builder(pdf, geometry, order);
        builder.Add(fields);
        builder.Finish(order.identity);
        QPDFWriter writer(pdf);
        // The printed pages are copied as they are; only the new objects are added.
        writer.setStreamDataMode(qpdf_s_preserve);
        AtomicPipeline pipeline(file);
        writer.setOutputPipeline(&pipeline);
        writer.write();
        pipeline.Flush();
    } catch (const std::exception& e) {
        *failure = {QStringLiteral("The form fields could not be added: %1")
                        .arg(QString::fromUtf8(e.what())),
                    QStringLiteral("Die Formularfelder konnten nicht in die PDF-Datei "
                                   "eingefügt werden.")};
        return false;
    }
    if (!file.Commit()) {
        *failure = file.Failure();
        return false;
    }
    return true;
}
