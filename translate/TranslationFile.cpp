#include "TranslationFile.h"

#include "TranslationTable.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>

namespace {

class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : data(bytes) {}

    bool ReadInt(std::int32_t& value) {
        if (Remaining() < 4) return false;
        value = qFromLittleEndian<std::int32_t>(data.constData() + pos);
        pos += 4;
        return true;
    }

    // A text record; false when its count is negative or runs past the end.
    bool ReadText(QString& text) {
        std::int32_t n = 0;
        if (!ReadInt(n) || n < 0 || static_cast<qint64>(n) * 2 > Remaining()) return false;
        text.resize(n);
        char16_t* out = reinterpret_cast<char16_t*>(text.data());
        for (std::int32_t k = 0; k < n; ++k)
            out[k] = qFromLittleEndian<char16_t>(data.constData() + pos + 2 * k);
        pos += 2 * static_cast<qint64>(n);
        return true;
    }

    qint64 Remaining() const { return data.size() - pos; }

  private:
    const QByteArray& data;
    qint64 pos = 0;
};

} // namespace

int ReadTranslationBytes(const QByteArray& bytes, TranslationTable& table) {
    Reader in(bytes);
    std::int32_t columns = 0, rowCount = 0;
    if (!in.ReadInt(columns) || !in.ReadInt(rowCount) || rowCount <= 0 || columns < 0) return 0;
    // A row without cells takes no bytes; never make more of them than the
    // file has bytes, whatever the row count claims.
    if (columns == 0)
        rowCount = static_cast<std::int32_t>(std::min<qint64>(rowCount, bytes.size()));
    // Every row of C cells takes at least 4 C bytes: room for the rows the file
    // can hold is made at once, so that loading does not copy the rows again
    // at every hundredth one.
    const qint64 fit = columns == 0 ? rowCount : in.Remaining() / (4 * qint64{columns});
    if (!table.ReserveRows(static_cast<int>(std::min<qint64>(rowCount, fit)))) return 0;
    int added = 0;
    for (std::int32_t r = 0; r < rowCount; ++r) {
        std::array<QString, kTranslationColumns> cells;
        for (std::int32_t k = 0; k < columns; ++k) {
            QString text;
            if (!in.ReadText(text)) return added; // the row is incomplete: drop it
            if (k < kTranslationColumns) cells[static_cast<std::size_t>(k)] = text;
        }
        if (!table.AppendRow(cells)) return added;
        ++added;
    }
    return added;
}

QByteArray TranslationBytes(const TranslationTable& table) {
    // Rewritten at every keystroke in the editor: the size is counted first, then
    // the bytes are written into one buffer of that size, the texts in blocks.
    const int rowCount = table.RowCount();
    qsizetype size = 8 + qsizetype{rowCount} * kTranslationColumns * 4;
    for (int r = 0; r < rowCount; ++r)
        for (const std::u16string_view text : table.RowView(r))
            size += 2 * static_cast<qsizetype>(text.size());
    QByteArray out(size, Qt::Uninitialized);
    char* at = out.data();
    auto putInt = [&at](std::int32_t value) {
        qToLittleEndian(value, at);
        at += 4;
    };
    putInt(kTranslationColumns);
    putInt(rowCount);
    for (int r = 0; r < rowCount; ++r) {
        for (const std::u16string_view text : table.RowView(r)) {
            const auto units = static_cast<qsizetype>(text.size());
            putInt(static_cast<std::int32_t>(units));
            if (units == 0) continue; // an empty cell has no text to copy (and may have no data)
            qToLittleEndian<quint16>(text.data(), units, at);
            at += 2 * units;
        }
    }
    return out;
}
