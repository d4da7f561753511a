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
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v > 0);
    while (static_cast<int>(digits.size()) <= decimals)
        digits.insert(digits.begin(), '0');
    if (decimals > 0)
        digits.insert(digits.end() - decimals, comma ? ',' : '.');
    if (negative && digits.find_first_not_of("0.,") != std::string::npos) digits.insert(0, "-");
    return QString::fromLatin1(digits);
}

} // namespace

QString SumOfNumbers(const QStringList& texts) {
    std::vector<Decimal> numbers;
    int decimals = 0;
    bool comma = false;
    for (const QString& text : texts) {
        const QString t = text.trimmed();
        if (t.isEmpty()) continue;
        const std::optional<Decimal> d = ParseDecimal(t);
        if (!d) return QString();
        decimals = std::max(decimals, d->decimals);
        comma = comma || d->comma;
        numbers.push_back(*d);
    }
    if (numbers.empty()) return QString();
    __int128 sum = 0;
    for (const Decimal& d : numbers)
        sum += Scaled(d.mantissa, decimals - d.decimals);
    return DecimalText(sum, decimals, comma);
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
        pending = QStringList{fileName};
        pendingHas.assign(n, false);
        for (std::size_t c = 0; c < n; ++c)
            pending << (kinds[c] == fkText ? QString() : QStringLiteral("0"));
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

void OrderTable::Finish() {
    if (hasPending) Close();
}

void OrderTable::Close() {
    rows.push_back(pending);
    pending.clear();
    pendingHas.clear();
    hasPending = false;
}

QStringList OrderTable::Heads(const QString& fileHead) const {
    return QStringList{fileHead} + heads;
}

QStringList OrderTable::Totals(const QString& sumHead) const {
    QStringList totals{sumHead};
    for (std::size_t c = 0; c < kinds.size(); ++c) {
        const qsizetype at = static_cast<qsizetype>(c + 1);
        if (kinds[c] == fkText) {
            QStringList column;
            for (const QStringList& row : rows)
                column << row[at];
            totals << SumOfNumbers(column);
        } else {
            qint64 count = 0;
            for (const QStringList& row : rows)
                if (row[at] == QLatin1String("1")) ++count;
            totals << QString::number(count);
        }
    }
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
