#pragma once
// Returned orders for the collection tests: a fillable PDF made with the
// program's own export, filled in through qpdf as different viewers fill
// forms in (with or without appearance states, renamed "on" states).

#include "DocumentEdits.h"
#include "FillablePdf.h"
#include "MessageTable.h"
#include "PrintTarget.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <QString>
#include <map>
#include <string>

// The small order form of the fillers' cases: text fields (Name, Anzahl,
// Bemerkung), three check boxes and a radio group with an umlaut in a state;
// nine columns.
inline void AppendSmallOrderForm(FormDocument& doc) {
    const int details = AppendCategory(doc, QStringLiteral("Angaben"));
    AppendField(doc, details, fkText, QStringLiteral("Name"), 8, 1);
    AppendField(doc, details, fkText, QStringLiteral("Anzahl"), 3, 1);
    AppendField(doc, details, fkText, QStringLiteral("Bemerkung"), 12, 2);
    const int drinks = AppendCategory(doc, QStringLiteral("Getränke"));
    for (const char* name : {"Kaffee", "Tee", "Wasser"})
        AppendField(doc, drinks, fkCheckBox, QString::fromUtf8(name), 3, 0.6);
    const int meals = AppendCategory(doc, QStringLiteral("Essen"));
    for (const char* name : {"Bratwurst", "Käsespätzle", "Salatteller"})
        AppendField(doc, meals, fkSingleChoice, QString::fromUtf8(name), 4, 0.6);
}

// Writes the fillable PDF of doc to path; false when the export fails.
inline bool MakeFillablePdf(const FormDocument& doc, const LayoutSettings& settings,
                            const QString& path) {
    return PrintFillablePdf(PaperPdfSetup(), PageInput{doc, settings}, QStringLiteral("Form"),
                            path) > 0;
}

// How a filled-in value is stored.
enum class FillStyle {
    ValueAndState, // /V and the widget's /AS, as most viewers do
    ValueOnly,     // /V alone: the viewer leaves the appearance to the reader
    StateOnly,     // /AS alone (buttons): an old viewer's way
};

// Values to fill in, by PDF field name: text for text fields; for a check box
// "1" or "0"; for a radio group the state to choose (without the slash).
struct FormFilling {
    std::map<std::string, std::string> values;
    FillStyle style = FillStyle::ValueAndState;
    // Check boxes get this "on" state instead of /Yes (their appearance renamed).
    std::string checkOnName;
};

inline QPDFObjectHandle FieldNamed(QPDF& pdf, const std::string& name) {
    QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
    for (int i = 0; i < fields.getArrayNItems(); ++i) {
        QPDFObjectHandle f = fields.getArrayItem(i);
        if (f.getKey("/T").isString() && f.getKey("/T").getUTF8Value() == name) return f;
    }
    return QPDFObjectHandle::newNull();
}

inline void WritePdf(QPDF& pdf, const QString& path) {
    // qpdf's writer keeps the name's pointer until it writes: the bytes must outlive it.
    const QByteArray name = path.toLocal8Bit();
    QPDFWriter writer(pdf, name.constData());
    writer.write();
}

// Fills the fillable PDF at in and writes it to out.
inline bool FillForm(const QString& in, const QString& out, const FormFilling& filling) {
    QPDF pdf;
    pdf.processFile(in.toLocal8Bit().constData());
    using OH = QPDFObjectHandle;
    for (const auto& [name, value] : filling.values) {
        OH field = FieldNamed(pdf, name);
        if (!field.isDictionary()) return false;
        const bool state = filling.style != FillStyle::ValueOnly;
        const bool v = filling.style != FillStyle::StateOnly;
        if (field.getKey("/FT").getName() == "/Tx") {
            field.replaceKey("/V", OH::newUnicodeString(value));
        } else if (field.getKey("/Kids").isArray()) { // a radio group
            OH kids = field.getKey("/Kids");
            if (v) field.replaceKey("/V", OH::newName("/" + value));
            else field.removeKey("/V");
            for (int i = 0; i < kids.getArrayNItems(); ++i) {
                OH kid = kids.getArrayItem(i);
                const bool on = kid.getKey("/AP").getKey("/N").hasKey("/" + value);
                if (state) kid.replaceKey("/AS", OH::newName(on ? "/" + value : "/Off"));
            }
        } else { // a check box
            std::string on = "/Yes";
            if (!filling.checkOnName.empty()) {
                on = "/" + filling.checkOnName;
                OH states = OH::newDictionary();
                OH normal = field.getKey("/AP").getKey("/N");
                states.replaceKey(on, normal.getKey("/Yes"));
                states.replaceKey("/Off", normal.getKey("/Off"));
                OH ap = OH::newDictionary();
                ap.replaceKey("/N", states);
                field.replaceKey("/AP", ap);
            }
            const std::string chosen = value == "1" ? on : "/Off";
            if (v) field.replaceKey("/V", OH::newName(chosen));
            else field.removeKey("/V");
            if (state) field.replaceKey("/AS", OH::newName(chosen));
        }
    }
    if (filling.style == FillStyle::ValueOnly)
        pdf.getRoot().getKey("/AcroForm").replaceKey("/NeedAppearances", OH::newBool(true));
    WritePdf(pdf, out);
    return true;
}
