// The field reader of returned orders, through qpdf's object model.
#include "ReturnedPdf.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFXRefEntry.hh>
#include <qpdf/QUtil.hh>

#include <QFile>
#include <exception>
#include <map>
#include <set>
#include <stdexcept>

namespace {

using OH = QPDFObjectHandle;

// Limits against crafted files: how deep the field tree may nest, how many
// fields a file may hold, how much an object stream may unpack to.
constexpr int kMaxFieldDepth = 32;
constexpr std::size_t kMaxFields = 200000;
constexpr std::size_t kMaxObjectStreamBytes = std::size_t{64} << 20;

ReturnRejection Damaged(const QString& detail) {
    return {QStringLiteral("not a readable PDF file (%1)").arg(detail),
            QStringLiteral("Die Datei ist keine lesbare PDF-Datei.")};
}

ReturnRejection FieldsGone() {
    return {QStringLiteral("the form fields are gone (printed or flattened): ask for the saved "
                           "file, or print it and scan it"),
            QStringLiteral("Die Formularfelder fehlen (gedruckt oder flach gespeichert): Bitten "
                           "Sie um die gespeicherte Datei, oder drucken Sie sie aus und scannen "
                           "Sie sie ein.")};
}

// A rejection that names a fault of the file's content.
struct Rejected {
    ReturnRejection rejection;
};

// Counts what an object stream unpacks to, and stops it beyond the limit.
class CappedSink : public Pipeline {
  public:
    CappedSink() : Pipeline("capped sink", nullptr) {}
    void write(unsigned char const*, size_t len) override {
        total += len;
        if (total > kMaxObjectStreamBytes) throw std::length_error("object stream too large");
    }
    void finish() override {}
    std::size_t total = 0;
};

// Unpacks every object stream once into nothing before qpdf reads objects
// from it: a stream that unpacks to more than the limit is a bomb.
void CheckObjectStreams(QPDF& pdf) {
    std::set<int> streams;
    for (const auto& [og, entry] : pdf.getXRefTable())
        if (entry.getType() == 2) streams.insert(entry.getObjStreamNumber());
    for (int number : streams) {
        OH stream = pdf.getObjectByID(number, 0);
        if (!stream.isStream()) throw Rejected{Damaged(QStringLiteral("bad object stream"))};
        CappedSink sink;
        bool piped = false;
        try {
            piped = stream.pipeStreamData(&sink, 0, qpdf_dl_generalized, true);
        } catch (const std::length_error&) {
            piped = false;
        }
        if (!piped || sink.total > kMaxObjectStreamBytes)
            throw Rejected{Damaged(QStringLiteral("an object stream cannot be unpacked"))};
    }
}

QString TextOf(OH string) {
    if (string.getStringValue().size() > kMaxReturnedValueBytes)
        throw Rejected{
            {QStringLiteral("a field holds more than %1 bytes").arg(kMaxReturnedValueBytes),
             QStringLiteral("Ein Feld der Datei enthält zu viel Text.")}};
    return QString::fromStdString(string.getUTF8Value());
}

QString IdentityOf(QPDF& pdf) {
    for (OH holder : {pdf.getTrailer().getKey("/Info"), pdf.getRoot().getKey("/AcroForm")}) {
        if (!holder.isDictionary()) continue;
        OH id = holder.getKey(kFormIdentityKey);
        if (id.isString() && id.getStringValue().size() < 256)
            return QString::fromStdString(id.getUTF8Value());
    }
    return QString();
}

// The form's fields by their full names; a name that more than one field
// bears is kept as ambiguous.
struct FieldIndex {
    std::map<QString, OH> byName;
    std::set<QString> ambiguous;
    std::set<QPDFObjGen> seen;
    std::size_t count = 0;

    void Add(OH field, const QString& parentName, int depth) {
        if (!field.isDictionary() || depth > kMaxFieldDepth) return;
        if (field.isIndirect() && !seen.insert(field.getObjGen()).second) return;
        if (++count > kMaxFields)
            throw Rejected{Damaged(QStringLiteral("more than %1 fields").arg(kMaxFields))};
        OH t = field.getKey("/T");
        QString name = parentName;
        if (t.isString()) {
            const QString part = QString::fromStdString(t.getUTF8Value());
            name = parentName.isEmpty() ? part : parentName + QLatin1Char('.') + part;
            if (!byName.emplace(name, field).second) ambiguous.insert(name);
        }
        OH kids = field.getKey("/Kids");
        if (!kids.isArray()) return;
        for (int i = 0; i < kids.getArrayNItems(); ++i) {
            OH kid = kids.getArrayItem(i);
            // A kid without a name is a widget of this field, not a field.
            if (kid.isDictionary() && kid.getKey("/T").isString()) Add(kid, name, depth + 1);
        }
    }
};

// The field's value, /V here or on a parent.
OH ValueOf(OH field) {
    for (int depth = 0; field.isDictionary() && depth <= kMaxFieldDepth; ++depth) {
        OH v = field.getKey("/V");
        if (!v.isNull()) return v;
        field = field.getKey("/Parent");
    }
    return OH::newNull();
}

// A button's value as viewers take it: a name, or a text string that names
// a state with or without its leading "/" (some libraries write "/Off" as a
// string). The state name with its slash; empty for anything else.
std::string StateNameOf(OH value) {
    if (value.isName()) return value.getName();
    if (!value.isString()) return {};
    std::string text = value.getUTF8Value();
    if (!text.empty() && text.front() == '/') text.erase(0, 1);
    return "/" + text;
}

bool IsOffState(const std::string& state) {
    return state == "/Off" || state == "/";
}

// Whether a value names the state on: byte for byte, or read as
// PDFDocEncoding, as pdftk writes a name whose state is stored in UTF-8.
bool NamesState(const std::string& value, const std::string& on) {
    return !on.empty() && (value == on || QUtil::pdf_doc_to_utf8(value) == on);
}

// The widgets of a field: its kids without a name, or itself.
std::vector<OH> WidgetsOf(OH field) {
    std::vector<OH> widgets;
    OH kids = field.getKey("/Kids");
    if (kids.isArray()) {
        for (int i = 0; i < kids.getArrayNItems() && i < static_cast<int>(kMaxFields); ++i) {
            OH kid = kids.getArrayItem(i);
            if (kid.isDictionary() && !kid.getKey("/T").isString()) widgets.push_back(kid);
        }
    }
    if (widgets.empty()) widgets.push_back(field);
    return widgets;
}

// The "on" state of a button widget: the state of its normal appearance that is not /Off.
std::string OnStateOf(OH widget) {
    OH ap = widget.getKey("/AP");
    if (!ap.isDictionary()) return {};
    OH normal = ap.getKey("/N");
    if (!normal.isDictionary()) return {};
    for (const std::string& key : normal.getKeys())
        if (key != "/Off") return key;
    return {};
}

// What a button's value or appearance state says: on, off, or nothing a
// viewer would take (absent, or naming a state the button does not have).
enum class Says { Nothing, On, Off };

// What the check box's value says, against its widgets' own "on" states.
Says ValueSays(OH field, std::vector<OH>& widgets) {
    const std::string state = StateNameOf(ValueOf(field));
    if (state.empty()) return Says::Nothing;
    if (IsOffState(state)) return Says::Off;
    bool statesKnown = false;
    for (OH& widget : widgets) {
        const std::string on = OnStateOf(widget);
        if (NamesState(state, on)) return Says::On;
        statesKnown = statesKnown || !on.empty();
    }
    // Without appearances, any state but off is on.
    return statesKnown ? Says::Nothing : Says::On;
}

// What the widgets' appearance states say: on when one shows its "on" state.
Says AppearanceSays(std::vector<OH>& widgets) {
    Says says = Says::Nothing;
    for (OH& widget : widgets) {
        const std::string state = StateNameOf(widget.getKey("/AS"));
        if (state.empty()) continue;
        const std::string on = OnStateOf(widget);
        if (!IsOffState(state) && (on.empty() || state == on)) return Says::On;
        if (IsOffState(state)) says = Says::Off;
    }
    return says;
}

// A check box is on as viewers show it: by its value when that names one of
// its states (viewers take the value, and redraw the box from it when asked
// to), else by the state its widgets show.
bool CheckBoxOn(OH field) {
    std::vector<OH> widgets = WidgetsOf(field);
    const Says value = ValueSays(field, widgets);
    if (value != Says::Nothing) return value == Says::On;
    return AppearanceSays(widgets) == Says::On;
}

// Which button of a radio group is on: its place among the group's widgets
// and its state name; -1 when none is. The group's value, a name or a
// string naming a button's "on" state, decides; a value that names no
// button's state leaves it to the buttons' appearance states.
std::pair<int, std::string> RadioChoice(OH group) {
    std::vector<OH> widgets = WidgetsOf(group);
    const std::string value = StateNameOf(ValueOf(group));
    if (!value.empty() && IsOffState(value)) return {-1, {}};
    if (!value.empty()) {
        for (std::size_t i = 0; i < widgets.size(); ++i)
            if (NamesState(value, OnStateOf(widgets[i])))
                return {static_cast<int>(i), OnStateOf(widgets[i])};
    }
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        OH as = widgets[i].getKey("/AS");
        if (as.isName() && !IsOffState(as.getName())) return {static_cast<int>(i), as.getName()};
    }
    return {-1, {}};
}

// The file's field array when it is a fillable copy of this form with its
// fields; otherwise null, with read.rejection (and read.formless) set.
OH FieldsOfThisForm(QPDF& pdf, const OrderForm& form, ReturnedRead& read) {
    const QString identity = IdentityOf(pdf);
    OH acroForm = pdf.getRoot().getKey("/AcroForm");
    OH fields = acroForm.isDictionary() ? acroForm.getKey("/Fields") : OH::newNull();
    const bool noFields = !fields.isArray() || fields.getArrayNItems() == 0;
    if (identity.isEmpty()) {
        read.formless = noFields;
        read.rejection = {QStringLiteral("not a fillable form of Quillora"),
                          QStringLiteral("Die Datei ist kein ausfüllbares Formular dieses "
                                         "Programms.")};
        return OH::newNull();
    }
    if (noFields) {
        // A form's copy printed into a PDF or flattened: the values are only
        // drawn now, and the scan reader finds no page code on its pages.
        read.rejection = FieldsGone();
        return OH::newNull();
    }
    if (identity != form.identity) {
        read.rejection = {QStringLiteral("made from another form, or from this form before "
                                         "it was changed"),
                          QStringLiteral("Die Datei wurde aus einem anderen Formular oder aus "
                                         "einer anderen Fassung dieses Formulars erstellt.")};
        return OH::newNull();
    }
    return fields;
}

// The buttons' state names as the PDF holds them, by column and by group.
struct ButtonStates {
    std::vector<std::string> byColumn;
    std::vector<std::set<std::string>> byGroup;

    explicit ButtonStates(const OrderForm& form)
        : byColumn(form.columns.size()), byGroup(static_cast<std::size_t>(form.groupCount)) {
        for (std::size_t c = 0; c < form.columns.size(); ++c) {
            const OrderColumn& column = form.columns[c];
            if (column.kind != kSingleChoiceColumn || column.group < 0 ||
                column.group >= form.groupCount)
                continue;
            byColumn[c] = "/" + column.state.toUtf8().toStdString();
            byGroup[static_cast<std::size_t>(column.group)].insert(byColumn[c]);
        }
    }
};

using GroupChoices = std::map<int, std::pair<int, std::string>>; // by group: place and state

// A single choice: "1" when its group's choice is its button. The group is
// read once, at its first column.
QString ChoiceValue(const OrderColumn& column, std::size_t c, OH field, const ButtonStates& states,
                    GroupChoices& choices) {
    auto choice = choices.find(column.group);
    if (choice == choices.end()) choice = choices.emplace(column.group, RadioChoice(field)).first;
    const auto& [place, state] = choice->second;
    if (place < 0) return QStringLiteral("0");
    // The button whose state bears this field's name; when a viewer
    // renamed the states, the button in this field's place.
    const bool named = states.byGroup[static_cast<std::size_t>(column.group)].count(state);
    const bool mine = named ? states.byColumn[c] == state : place == column.indexInGroup;
    return mine ? QStringLiteral("1") : QStringLiteral("0");
}

// The cell of column c from its field.
QString CellValue(const OrderColumn& column, std::size_t c, OH field, const ButtonStates& states,
                  GroupChoices& choices) {
    if (column.kind == kTextColumn) {
        OH value = ValueOf(field);
        return value.isString() ? TextOf(value) : QString();
    }
    if (column.kind == kCheckBoxColumn)
        return CheckBoxOn(field) ? QStringLiteral("1") : QStringLiteral("0");
    return ChoiceValue(column, c, field, states, choices);
}

ReturnedRead ReadFields(QPDF& pdf, const OrderForm& form) {
    ReturnedRead read;
    CheckObjectStreams(pdf);
    OH fields = FieldsOfThisForm(pdf, form, read);
    if (fields.isNull()) return read;
    FieldIndex index;
    for (int i = 0; i < fields.getArrayNItems(); ++i)
        index.Add(fields.getArrayItem(i), QString(), 0);

    read.cells.resize(form.columns.size());
    const ButtonStates states(form);
    GroupChoices choices;
    bool any = form.columns.empty();
    for (std::size_t c = 0; c < form.columns.size(); ++c) {
        const OrderColumn& column = form.columns[c];
        if (index.ambiguous.count(column.pdfField))
            throw Rejected{
                {QStringLiteral("holds more than one field named \"%1\"").arg(column.pdfField),
                 QStringLiteral("Die Datei enthält mehrere Felder mit demselben "
                                "Namen.")}};
        const auto found = index.byName.find(column.pdfField);
        if (found == index.byName.end()) continue;
        read.cells[c].present = true;
        read.cells[c].value = CellValue(column, c, found->second, states, choices);
        any = true;
    }
    if (!any) {
        read.rejection = {QStringLiteral("holds none of the form's fields"),
                          QStringLiteral("Die Datei enthält keines der Felder des Formulars.")};
        return read;
    }
    read.ok = true;
    return read;
}

template <typename Open> ReturnedRead ReadWith(const OrderForm& form, Open open) {
    ReturnedRead read;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        // A file whose cross-reference is broken is damaged: it is not
        // rebuilt by guessing.
        pdf.setAttemptRecovery(false);
        open(pdf);
        read = ReadFields(pdf, form);
    } catch (const Rejected& rejected) {
        read = ReturnedRead();
        read.rejection = rejected.rejection;
    } catch (const std::bad_alloc&) {
        read = ReturnedRead();
        read.rejection = Damaged(QStringLiteral("not enough memory"));
    } catch (const std::exception& e) {
        read = ReturnedRead();
        read.rejection = Damaged(QString::fromUtf8(e.what()).left(300));
    } catch (...) {
        // Read on a worker thread (ReadAhead.h), nothing may escape.
        read = ReturnedRead();
        read.rejection = Damaged(QStringLiteral("an unknown fault"));
    }
    return read;
}

} // namespace

ReturnedRead ReadReturnedPdf(const QString& path, const OrderForm& form) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReturnedRead read;
        read.rejection = {QStringLiteral("cannot be opened: %1").arg(file.errorString()),
                          QStringLiteral("Die Datei kann nicht geöffnet werden.")};
        return read;
    }
    // Mapped, not read: qpdf touches only the pages of the file that hold
    // the cross-reference and the objects the fields need, and reads its
    // tokens from memory rather than seeking in the file for each one.
    const qint64 size = file.size();
    if (size > 0) {
        if (uchar* mapped = file.map(0, size)) {
            const char* data = reinterpret_cast<const char*>(mapped);
            return ReadWith(form, [&](QPDF& pdf) {
                pdf.processMemoryFile("returned form", data, static_cast<size_t>(size));
            });
        }
    }
    file.close();
    const QByteArray name = QFile::encodeName(path);
    return ReadWith(form, [&](QPDF& pdf) { pdf.processFile(name.constData()); });
}

ReturnedRead ReadReturnedPdfBytes(const QByteArray& bytes, const OrderForm& form) {
    return ReadWith(form, [&](QPDF& pdf) {
        pdf.processMemoryFile("returned form", bytes.constData(),
                              static_cast<size_t>(bytes.size()));
    });
}
