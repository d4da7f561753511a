// Feeds arbitrary bytes to the translation file reader. Whatever loads must be
// indexed, looked up, edited and written again; the written file must read
// back to the same table.
#include "TranslationFile.h"
#include "TranslationTable.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TranslationTable table;
    const int rows = ReadTranslationBytes(bytes, table);
    if (rows != table.RowCount()) std::abort();
    table.BuildIndex();
    for (int r = 0; r < table.RowCount(); ++r) {
        const QString german = table.Cell(r, 0);
        if (!german.isEmpty() && table.FindRow(german) < 0) std::abort();
    }
    const QByteArray saved = TranslationBytes(table);
    TranslationTable again;
    if (ReadTranslationBytes(saved, again) != table.RowCount()) std::abort();
    if (TranslationBytes(again) != saved) std::abort();
    // Edits the way the editor does: change cells, then delete rows from the front.
    for (int r = 0; r < table.RowCount(); ++r) {
        table.SetCell(r, r % kTranslationColumns, table.Cell(r, 0) + QStringLiteral("x"));
        table.SetCell(r, 0, QString());
    }
    while (table.RowCount() > 0) {
        const int before = table.RowCount();
        table.DeleteRow(0);
        if (table.RowCount() != before - 1) std::abort();
    }
    return 0;
}
