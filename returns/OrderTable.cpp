// The order table and its CSV text.
#include "OrderTable.h"

#include "Records.h"

#include <algorithm>
#include <optional>

namespace {

// A number as written in a field: its digits as a whole number, how many of
// them are decimals, and whether a comma marked them.
struct Decimal {
    __int128 mantissa = 0;
    int decimals = 0;
    bool comma = false;
};

constexpr int kMaxDigits = 18;
// 10^37: sums stay far below what 128 bits hold, even after scaling.
constexpr __int128 kLargestSum = static_cast<__int128>(1000000000000000000LL) *
                                 static_cast<__int128>(10000000000000000000ULL);

std::optional<Decimal> ParseDecimal(const QString& text) {
    Decimal d;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    int digits = 0;
    bool mark = false, any = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            if (++digits > kMaxDigits) return std::nullopt;
            d.mantissa = d.mantissa * 10 + (c.unicode() - '0');
            if (mark) ++d.decimals;
            any = true;
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !mark) {
            mark = true;
            d.comma = c == QLatin1Char(',');
        } else {
            return std::nullopt;
        }
    }
    if (!any) return std::nullopt;
    if (negative) d.mantissa = -d.mantissa;
    return d;
}

__int128 Scaled(__int128 v, int by) {
    for (int i = 0; i < by; ++i)
        v *= 10;
    return v;
}

QString DecimalText(__int128 v, int decimals, bool comma) {
    const bool negative = v < 0;
    if (negative) v = -v;
    // Written backwards, then turned round.
    QString text;
    int written = 0;
    bool nonZero = false;
    do {
        const int digit = static_cast<int>(v % 10);
        nonZero = nonZero || digit != 0;
        text += QChar(u'0' + digit);
        v /= 10;
        if (++written == decimals) text += comma ? QLatin1Char(',') : QLatin1Char('.');
    } while (v > 0 || written <= decimals);
    if (negative && nonZero) text += QLatin1Char('-');
    std::reverse(text.begin(), text.end());
    return text;
}

} // namespace

void NumberColumnSum::Add(const QString& text) {
    if (!numeric) return;
    const QString t = text.trimmed();
    if (t.isEmpty()) return;
    const std::optional<Decimal> d = ParseDecimal(t);
    if (!d) {
        numeric = false;
        return;
    }
    if (d->decimals > decimals) {
        sum = Scaled(sum, d->decimals - decimals);
        decimals = d->decimals;
    }
    sum += Scaled(d->mantissa, decimals - d->decimals);
    // Far beyond any quantity: no sum rather than a wrong one.
    if (sum > kLargestSum || sum < -kLargestSum) numeric = false;
    any = true;
    comma = comma || d->comma;
}

QString NumberColumnSum::Text() const {
    return numeric && any ? DecimalText(sum, decimals, comma) : QString();
}

QString SumOfNumbers(const QStringList& texts) {
    NumberColumnSum sum;
    for (const QString& text : texts)
        sum.Add(text);
    return sum.Text();
}

QByteArray CsvLine(const QStringList& cells, QChar separator) {
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0) line += separator;
        const QString& cell = cells[i];
        if (cell.contains(separator) || cell.contains(QLatin1Char('"')) ||
            cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'))) {
            QString quoted = cell;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            line += QLatin1Char('"') + quoted + QLatin1Char('"');
        } else {
            line += cell;
        }
    }
    line += QStringLiteral("\r\n");
    return line.toUtf8();
}

OrderTable::OrderTable(const OrderForm& form) {
    for (const OrderColumn& column : form.columns) {
        heads << column.head;
        kinds.push_back(column.kind);
    }
    ticks.assign(kinds.size(), 0);
    sums.resize(kinds.size());
}

void OrderTable::Add(const QString& fileName, const std::vector<ReturnedCell>& cells) {
    const std::size_t n = kinds.size();
    bool complete = true;
    for (std::size_t c = 0; c < n; ++c)
        if (c >= cells.size() || !cells[c].present) complete = false;
    if (hasPending) {
        bool overlaps = complete;
        for (std::size_t c = 0; c < n && !overlaps; ++c)
            if (c < cells.size() && cells[c].present && pendingHas[c]) overlaps = true;
        if (overlaps) Close();
    }
    if (!hasPending) {
        // Every cell empty until its field comes back: a missing page's
        // boxes are not there, not "0".
        pending = QStringList{fileName};
        pendingHas.assign(n, false);
        for (std::size_t c = 0; c < n; ++c)
            pending << QString();
        hasPending = true;
    } else {
        pending[0] += QStringLiteral(" + ") + fileName;
    }
    bool all = true;
    for (std::size_t c = 0; c < n; ++c) {
        if (c < cells.size() && cells[c].present) {
            pending[static_cast<qsizetype>(c + 1)] = cells[c].value;
            pendingHas[c] = true;
        }
        all = all && pendingHas[c];
    }
    if (all) Close();
}

void OrderTable::SetValue(int row, int column, const QString& value) {
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 || column >= ColumnCount())
        return;
    QString& cell = rows[static_cast<std::size_t>(row)][column + 1];
    const std::size_t c = static_cast<std::size_t>(column);
    if (kinds[c] == fkText) {
        cell = value;
        sums[c] = NumberColumnSum();
        for (const QStringList& r : rows)
            sums[c].Add(r.value(column + 1));
        return;
    }
    if (cell == QLatin1String("1")) --ticks[c];
    cell = value;
    if (cell == QLatin1String("1")) ++ticks[c];
}

void OrderTable::Finish() {
    if (hasPending) Close();
}

void OrderTable::Close() {
    for (std::size_t c = 0; c < kinds.size(); ++c) {
        const QString& value = pending[static_cast<qsizetype>(c + 1)];
        if (kinds[c] == fkText)
            sums[c].Add(value);
        else if (value == QLatin1String("1"))
            ++ticks[c];
    }
    if (completeness.Shown()) {
        const bool whole = std::all_of(pendingHas.begin(), pendingHas.end(), [](bool b) { return b; });
        pending << (whole ? completeness.yes : completeness.no);
    }
    ++closedRows;
    if (rowSink)
        rowSink(pending);
    else
        rows.push_back(pending);
    pending.clear();
    pendingHas.clear();
    hasPending = false;
}

QStringList OrderTable::Heads(const QString& fileHead) const {
    QStringList all = QStringList{fileHead} + heads;
    if (completeness.Shown()) all << completeness.head;
    return all;
}

QStringList OrderTable::Totals(const QString& sumHead) const {
    QStringList totals{sumHead};
    for (std::size_t c = 0; c < kinds.size(); ++c)
        totals << (kinds[c] == fkText ? sums[c].Text() : QString::number(ticks[c]));
    if (completeness.Shown()) totals << QString();
    return totals;
}

QByteArray OrderTable::Csv(QChar separator, const QString& fileHead,
                           const QString& sumHead) const {
    QByteArray csv = CsvLine(Heads(fileHead), separator);
    for (const QStringList& row : rows)
        csv += CsvLine(row, separator);
    csv += CsvLine(Totals(sumHead), separator);
    return csv;
}
