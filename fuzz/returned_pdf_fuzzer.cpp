// Feeds arbitrary bytes to the reader of returned orders. It must never crash
// and never hang; a file it takes must give one value per column, and a file
// it does not take must say why. The form is fixed, with the identity
// kFuzzIdentity: seeds that carry it (/QuilloraForm in the document
// information) reach the field reader.
#include "OrderForm.h"
#include "ReturnedPdf.h"
#include "TakenRecords.h"

#include <cstdint>
#include <cstdlib>

namespace {
const OrderForm& Form() {
    static const OrderForm form = [] {
        FormDocument doc;
        doc.InsertCategory(0, TakenCategory::Make(QStringLiteral("Getränke")));
        doc.InsertField(0, 0, TakenField::Make(fkText, QStringLiteral("Menge"), 3, 1));
        doc.InsertField(0, 1, TakenField::Make(fkCheckBox, QStringLiteral("Lieferung"), 1, 1));
        doc.InsertField(0, 2, TakenField::Make(fkSingleChoice, QStringLiteral("S"), 1, 1));
        doc.InsertField(0, 3, TakenField::Make(fkSingleChoice, QStringLiteral("M"), 1, 1));
        OrderForm made = MakeOrderForm(doc, LayoutSettings());
        made.identity = QStringLiteral("0123456789abcdef0123456789abcdef");
        return made;
    }();
    return form;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReturnedRead read = ReadReturnedPdfBytes(bytes, Form());
    if (read.ok && read.cells.size() != Form().columns.size()) std::abort();
    if (!read.ok && read.rejection.reason.isEmpty()) std::abort();
    return 0;
}
