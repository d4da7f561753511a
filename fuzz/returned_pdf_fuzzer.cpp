// Feeds arbitrary bytes to the reader of returned orders. It must never crash
// and never hang; a file it takes must give one value per column, and a file
// it does not take must say why. A file the quick reader of plain files
// reads must read as qpdf alone reads it. The seeds in fuzz/corpus/returned
// carry the form's identity, so that mutations reach the field reader.
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
    const ReturnedRead qpdf = ReadReturnedPdfBytesWithQpdf(bytes, form);
    if (read.ok != qpdf.ok || read.formless != qpdf.formless) std::abort();
    for (std::size_t c = 0; c < read.cells.size() && c < qpdf.cells.size(); ++c)
        if (read.cells[c].present != qpdf.cells[c].present ||
            read.cells[c].value != qpdf.cells[c].value)
            std::abort();
    return 0;
}
