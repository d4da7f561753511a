// Feeds arbitrary bytes to the reader of returned orders. It must never crash
// and never hang; a file it takes must give one value per column, and a file
// it does not take must say why. The seeds in fuzz/corpus/returned are
// filled-in fillable PDFs of the form below (written by
// output_order_collect_test with QUILLORA_FUZZ_SEEDS set), so that mutations
// reach the field reader past the identity check.
#include "OrderForm.h"
#include "ReturnedOrderFuzzForm.h"
#include "ReturnedPdf.h"

#include <cstdint>
#include <cstdlib>

namespace {
const OrderForm& Form() {
    static const OrderForm form = [] {
        FormDocument doc;
        FillReturnedOrderFuzzForm(doc);
        return MakeOrderForm(doc, LayoutSettings());
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
