// The form's identity and the order table's columns.
#include "OrderForm.h"

#include "FieldNames.h"
#include "LayoutKeys.h"
#include "OwnedText.h"
#include "Records.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

static_assert(kTextColumn == fkText && kCheckBoxColumn == fkCheckBox &&
              kSingleChoiceColumn == fkSingleChoice);

namespace {

QString LabelOf(const FieldRecord& field) {
    return ToQString(field.name);
}

void HashFont(QDataStream& out, const FontRecord& font) {
    // The colour moves nothing.
    out << font.name << static_cast<qint32>(font.size) << static_cast<qint32>(font.pixelsPerInch)
        << static_cast<quint8>(font.style) << static_cast<quint8>(font.charset)
        << static_cast<quint8>(font.pitch);
}

} // namespace

QString FormIdentity(const FormDocument& form, const LayoutSettings& layout) {
    // The values the pages are drawn from: a file may hold values outside
    // their ranges, and its fillable PDF and page codes come from the printed ones.
    const LayoutSettings s = WithinRanges(layout);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out.setFloatingPointPrecision(QDataStream::DoublePrecision);
    out << QByteArray("quillora order form 1");
    out << static_cast<qint32>(form.CategoryCount());
    for (int c = 0; c < form.CategoryCount(); ++c) {
        out << form.CategoryName(c);
        const CategoryRecord* record = form.Record(c);
        out << (record != nullptr);
        if (record)
            out << ToQString(record->picfile) << record->picwidth << ToQString(record->introtext)
                << static_cast<qint32>(record->picbelow) << record->textbelowpic;
        const int n = form.FieldCount(c);
        out << static_cast<qint32>(n);
        for (int f = 0; f < n; ++f) {
            const FieldRecord* field = form.FieldAt(c, f);
            out << LabelOf(*field) << static_cast<qint32>(field->kind) << field->width
                << field->height;
        }
    }
    for (const SpinSetting& row : MarginSettings())
        out << s.*row.value;
    for (const FontRecord& font : s.fonts)
        HashFont(out, font);
    out << s.categoryNamesInCapitals << s.showLogo << s.logoFile << s.logoWidthCm
        << s.logoHeightCm << s.logoKeepsAspect << s.headerText << s.oddFooterText
        << s.evenFooterText << s.swapFooters;
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).left(16).toHex());
}

OrderForm MakeOrderForm(const FormDocument& form, const LayoutSettings& layout) {
    OrderForm order;
    order.identity = FormIdentity(form, layout);
    // The names of the PDF fields, taken in the order the fillable PDF takes them.
    UniqueNames pdfNames;
    UniqueNames groupStates;
    int previousCategory = -1;
    std::int32_t previousKind = -1;
    QString groupName;
    QSet<QString> fieldNames;
    for (int c = 0; c < form.CategoryCount(); ++c) {
        const QString category = form.CategoryName(c);
        for (int f = 0; f < form.FieldCount(c); ++f) {
            const FieldRecord& field = *form.FieldAt(c, f);
            if (!IsKnownFieldKind(field.kind)) continue;
            OrderColumn column;
            column.kind = field.kind;
            column.category = c;
            column.field = f;
            const QString label = LabelOf(field);
            if (field.kind == fkSingleChoice) {
                if (previousKind != fkSingleChoice || previousCategory != c) {
                    ++order.groupCount;
                    groupName = pdfNames.Take(FormFieldName(category, QString()));
                    groupStates = UniqueNames({QStringLiteral("Off")});
                }
                column.pdfField = groupName;
                column.group = order.groupCount - 1;
                int inGroup = 0;
                for (auto it = order.columns.rbegin();
                     it != order.columns.rend() && it->group == column.group; ++it)
                    ++inGroup;
                column.indexInGroup = inGroup;
                QString state = OneLineLabel(label);
                if (state.isEmpty()) state = QString::number(inGroup + 1);
                column.state = groupStates.Take(state);
                column.head = FormFieldName(category, label);
            } else {
                column.pdfField = pdfNames.Take(FormFieldName(category, label));
                column.head = column.pdfField;
                fieldNames.insert(column.pdfField);
            }
            order.columns.push_back(column);
            previousKind = field.kind;
            previousCategory = c;
        }
    }
    // The heads of single choices: unique beside every field name.
    UniqueNames heads(fieldNames);
    for (OrderColumn& column : order.columns)
        if (column.kind == fkSingleChoice) column.head = heads.Take(column.head);
    return order;
}
