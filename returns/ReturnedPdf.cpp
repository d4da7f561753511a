// The field reader of returned orders: plain files through the quick
// reader, every other file through qpdf's object model.
#include "ReturnedPdf.h"

#include "PdfFieldValues.h"
#include "PlainPdf.h"

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
#include <utility>

namespace {

using OH = QPDFObjectHandle;

using namespace pdf_fields;

// The object handle of a PDF reader: QPDFObjectHandle or PlainObject.
template <typename Pdf> using ObjectOf = decltype(std::declval<Pdf&>().getRoot());

// How much an object stream may unpack to, against crafted files.
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

template <typename Obj> QString TextOf(Obj string) {
    if (string.getStringValue().size() > kMaxReturnedValueBytes)
        throw Rejected{
            {QStringLiteral("a field holds more than %1 bytes").arg(kMaxReturnedValueBytes),
             QStringLiteral("Ein Feld der Datei enthält zu viel Text.")}};
    return QString::fromStdString(string.getUTF8Value());
}

template <typename Pdf> QString IdentityOf(Pdf& pdf) {
    for (auto holder : {pdf.getTrailer().getKey("/Info"), pdf.getRoot().getKey("/AcroForm")}) {
        if (!holder.isDictionary()) continue;
        auto id = holder.getKey(kFormIdentityKey);
        if (id.isString() && id.getStringValue().size() < 256)
            return QString::fromStdString(id.getUTF8Value());
    }
    return QString();
}

// The form's fields by their full names; a name that more than one field
// bears is kept as ambiguous.
template <typename Obj> struct FieldIndex {
    std::map<QString, Obj> byName;
    std::set<QString> ambiguous;
    std::set<QPDFObjGen> seen;
    std::size_t count = 0;

    void Add(Obj field, const QString& parentName, int depth) {
        if (!field.isDictionary() || depth > kMaxFieldDepth) return;
        if (field.isIndirect() && !seen.insert(field.getObjGen()).second) return;
        if (++count > kMaxFields)
            throw Rejected{Damaged(QStringLiteral("more than %1 fields").arg(kMaxFields))};
        Obj t = field.getKey("/T");
        QString name = parentName;
        if (t.isString()) {
            const QString part = QString::fromStdString(t.getUTF8Value());
            name = parentName.isEmpty() ? part : parentName + QLatin1Char('.') + part;
            if (!byName.emplace(name, field).second) ambiguous.insert(name);
        }
        Obj kids = field.getKey("/Kids");
        if (!kids.isArray()) return;
        for (int i = 0; i < kids.getArrayNItems(); ++i) {
            Obj kid = kids.getArrayItem(i);
            // A kid without a name is a widget of this field, not a field.
            if (kid.isDictionary() && kid.getKey("/T").isString()) Add(kid, name, depth + 1);
        }
    }
};

// The file's field array when it is a fillable copy of this form with its
// fields; otherwise null, with read.rejection (and read.formless) set.
template <typename Pdf, typename Obj = ObjectOf<Pdf>>
Obj FieldsOfThisForm(Pdf& pdf, const OrderForm& form, ReturnedRead& read) {
    const QString identity = IdentityOf(pdf);
    Obj acroForm = pdf.getRoot().getKey("/AcroForm");
    Obj fields = acroForm.isDictionary() ? acroForm.getKey("/Fields") : Obj::newNull();
    const bool noFields = !fields.isArray() || fields.getArrayNItems() == 0;
    if (identity.isEmpty()) {
        read.formless = noFields;
        read.rejection = {QStringLiteral("not a fillable form of Quillora"),
                          QStringLiteral("Die Datei ist kein ausfüllbares Formular dieses "
                                         "Programms.")};
        return Obj::newNull();
    }
    if (noFields) {
        // A form's copy printed into a PDF or flattened: the values are only
        // drawn now, and the scan reader finds no page code on its pages.
        read.rejection = FieldsGone();
        return Obj::newNull();
    }
    if (identity != form.identity) {
        read.rejection = {QStringLiteral("made from another form, or from this form before "
                                         "it was changed"),
                          QStringLiteral("Die Datei wurde aus einem anderen Formular oder aus "
                                         "einer anderen Fassung dieses Formulars erstellt.")};
        return Obj::newNull();
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
template <typename Obj>
QString ChoiceValue(const OrderColumn& column, std::size_t c, Obj field, const ButtonStates& states,
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
template <typename Obj>
QString CellValue(const OrderColumn& column, std::size_t c, Obj field, const ButtonStates& states,
                  GroupChoices& choices) {
    if (column.kind == kTextColumn) {
        Obj value = ValueOf(field);
        return value.isString() ? TextOf(value) : QString();
    }
    if (column.kind == kCheckBoxColumn)
        return CheckBoxOn(field) ? QStringLiteral("1") : QStringLiteral("0");
    return ChoiceValue(column, c, field, states, choices);
}

template <typename Pdf> ReturnedRead ReadFields(Pdf& pdf, const OrderForm& form) {
    ReturnedRead read;
    auto fields = FieldsOfThisForm(pdf, form, read);
    if (fields.isNull()) return read;
    FieldIndex<decltype(fields)> index;
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

// A read that lets nothing but NotPlainPdf escape: any other failure is
// the file's rejection.
template <typename Read> ReturnedRead Guarded(Read read) {
    try {
        return read();
    } catch (const NotPlainPdf&) {
        throw;
    } catch (const Rejected& rejected) {
        ReturnedRead result;
        result.rejection = rejected.rejection;
        return result;
    } catch (const std::bad_alloc&) {
        ReturnedRead result;
        result.rejection = Damaged(QStringLiteral("not enough memory"));
        return result;
    } catch (const std::exception& e) {
        ReturnedRead result;
        result.rejection = Damaged(QString::fromUtf8(e.what()).left(300));
        return result;
    } catch (...) {
        // Read on a worker thread (ReadAhead.h), nothing may escape.
        ReturnedRead result;
        result.rejection = Damaged(QStringLiteral("an unknown fault"));
        return result;
    }
}

template <typename Open> ReturnedRead ReadWithQpdf(const OrderForm& form, Open open) {
    return Guarded([&] {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        // A file whose cross-reference is broken is damaged: it is not
        // rebuilt by guessing.
        pdf.setAttemptRecovery(false);
        open(pdf);
        CheckObjectStreams(pdf);
        return ReadFields(pdf, form);
    });
}

// The file in memory: read by the quick reader when it is a plain file,
// else by qpdf.
ReturnedRead ReadInMemory(const char* data, std::size_t size, const OrderForm& form) {
    try {
        return Guarded([&] {
            const PlainPdf pdf(data, size);
            return ReadFields(pdf, form);
        });
    } catch (const NotPlainPdf&) {
    }
    return ReadWithQpdf(form,
                        [&](QPDF& pdf) { pdf.processMemoryFile("returned form", data, size); });
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
    // Mapped, not read: the readers touch only the pages of the file that
    // hold the cross-reference and the objects the fields need.
    const qint64 size = file.size();
    if (size > 0) {
        if (uchar* mapped = file.map(0, size))
            return ReadInMemory(reinterpret_cast<const char*>(mapped),
                                static_cast<std::size_t>(size), form);
    }
    file.close();
    const QByteArray name = QFile::encodeName(path);
    return ReadWithQpdf(form, [&](QPDF& pdf) { pdf.processFile(name.constData()); });
}

ReturnedRead ReadReturnedPdfBytes(const QByteArray& bytes, const OrderForm& form) {
    return ReadInMemory(bytes.constData(), static_cast<std::size_t>(bytes.size()), form);
}

ReturnedRead ReadReturnedPdfBytesWithQpdf(const QByteArray& bytes, const OrderForm& form) {
    return ReadWithQpdf(form, [&](QPDF& pdf) {
        pdf.processMemoryFile("returned form", bytes.constData(),
                              static_cast<size_t>(bytes.size()));
    });
}
