// Feeds arbitrary bytes to the reader of returned orders. It must never crash
// and never hang; a file it takes must give one value per column, and a file
// it does not take must say why. The seeds in fuzz/corpus/returned carry the
// form's identity, so that mutations reach the field reader.
#include "ReturnedOrderFuzzForm.h"
#include "ReturnedPdf.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const OrderForm form = ReturnedOrderFuzzForm();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReturnedRead read = ReadReturnedPdfBytes(bytes, form);
    if (read.ok && read.cells.size() != form.columns.size()) std::abort();
    if (!read.ok && read.rejection.reason.isEmpty()) std::abort();
    return 0;
}
