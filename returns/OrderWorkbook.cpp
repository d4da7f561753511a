// The order table written as a workbook through libxlsxwriter.
#include "OrderWorkbook.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <vector>
#include <xlsxwriter.h>

namespace {

// What a workbook holds at most: rows and columns of a sheet, characters of a cell.
constexpr int kMostRows = LXW_ROW_MAX;
constexpr int kMostColumns = LXW_COL_MAX;
constexpr qsizetype kMostCellCharacters = 32767;
// Digits a workbook number (an IEEE double) keeps exactly.
constexpr int kMostDigits = 15;
// Column widths in characters: room for the filter button, within reason.
constexpr double kNarrowest = 8, kWidest = 40, kFilterButton = 3;
// "?" cells: the orders window's colour of undecided boxes.
constexpr lxw_color_t kUndecidedFill = 0xFFDC78;

// The number of characters as a workbook counts them (code points).
qsizetype CellCharacters(const QString& text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!text[i].isLowSurrogate()) ++n;
    return n;
}

// A sheet name a workbook takes: without []:*?/\, without an apostrophe at
// either end, at most 31 characters; fallback when nothing is left.
QString SheetName(QString name, const QString& fallback) {
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.remove(c);
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    name = name.trimmed().left(LXW_SHEETNAME_MAX);
    return name.isEmpty() ? fallback : name;
}

QString CellName(int row, int column) {
    char name[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(name, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column));
    return QString::fromLatin1(name);
}

double Width(const QString& text) {
    return std::clamp(static_cast<double>(CellCharacters(text)) + kFilterButton, kNarrowest,
                      kWidest);
}

} // namespace

const char* const kTableTooLargeForWorkbook =
    "Die Tabelle ist zu groß für eine Arbeitsmappe (zu viele Zeilen oder Spalten oder zu viel "
    "Text in einer Zelle). Als CSV-Datei lässt sie sich speichern.";

std::optional<WorkbookNumber> AsWorkbookNumber(const QString& cell) {
    // Spaces around a number are no part of it (as for the totals).
    const QString text = cell.trimmed();
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) ++i;
    const qsizetype first = i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    const qsizetype whole = i - first;
    // Digits before the mark, and no leading zero ("0" and "0,5" are numbers).
    if (whole == 0 || (whole > 1 && text[first] == QLatin1Char('0'))) return std::nullopt;
    int decimals = 0;
    if (i < n && (text[i] == QLatin1Char(',') || text[i] == QLatin1Char('.'))) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++decimals;
        }
        if (decimals == 0) return std::nullopt;
    }
    if (i != n || whole + decimals > kMostDigits) return std::nullopt;
    QString plain = text;
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok) return std::nullopt;
    return WorkbookNumber{value, decimals};
}

struct OrderWorkbook::Book {
    WorkbookTexts texts;
    std::vector<OrderColumn> columns;
    QTemporaryDir folder;
    QByteArray fileName, folderName;
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* orders = nullptr;
    lxw_worksheet* rejected = nullptr;
    lxw_format* undecided = nullptr;
    std::map<std::pair<bool, int>, lxw_format*> formats; // by bold and decimals
    int rows = 0, rejectedRows = 0;
    // By column: every value written a number (or "?"), and any number at all.
    std::vector<bool> numeric, anyNumber;
    double fileWidth = kNarrowest, rejectedWidth = kNarrowest, reasonWidth = kNarrowest;
    bool failed = false;

    ~Book() {
        // Frees the workbook; what it wrote goes with the temporary folder.
        if (workbook) workbook_close(workbook);
    }

    lxw_format* Format(bool bold, int decimals) {
        if (!bold && decimals == 0) return nullptr;
        lxw_format*& format = formats[{bold, decimals}];
        if (!format) {
            format = workbook_add_format(workbook);
            if (bold) format_set_bold(format);
            if (decimals > 0)
                format_set_num_format(
                    format, (QStringLiteral("0.") + QString(decimals, QLatin1Char('0')))
                                .toLatin1()
                                .constData());
        }
        return format;
    }
};

OrderWorkbook::OrderWorkbook(const OrderForm& form, const WorkbookTexts& texts,
                             const CompletenessColumn& completeness)
    : book(std::make_unique<Book>()) {
    book->texts = texts;
    book->columns = form.columns;
    if (completeness.Shown()) book->columns.push_back({completeness.head, kTextColumn, {}, {}});
    book->numeric.assign(book->columns.size(), true);
    book->anyNumber.assign(book->columns.size(), false);
}

OrderWorkbook::~OrderWorkbook() = default;

bool OrderWorkbook::Fail(const QString& english, const QString& reason) {
    if (!book->failed) failure = {english, reason};
    book->failed = true;
    return false;
}

bool OrderWorkbook::TooLarge() {
    return Fail(QStringLiteral("The table is too large for a workbook (more than %1 orders, "
                               "%2 fields or %3 characters in a cell); save it as CSV.")
                    .arg(kMostRows - 2)
                    .arg(kMostColumns - 1)
                    .arg(kMostCellCharacters),
                QString::fromUtf8(kTableTooLargeForWorkbook));
}

bool OrderWorkbook::Check(int error) {
    if (error == LXW_NO_ERROR) return !book->failed;
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED ||
        error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE)
        return TooLarge();
    return Fail(QStringLiteral("The workbook could not be made: %1")
                    .arg(QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(error)))),
                WriteFailureReason(0));
}

namespace {

int WriteText(lxw_worksheet* sheet, int row, int column, const QString& text,
              lxw_format* format) {
    if (CellCharacters(text) > kMostCellCharacters) return LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED;
    return worksheet_write_string(sheet, static_cast<lxw_row_t>(row),
                                  static_cast<lxw_col_t>(column), text.toUtf8().constData(),
                                  format);
}

} // namespace

bool OrderWorkbook::Open() {
    Book& b = *book;
    if (b.columns.size() + 1 > static_cast<std::size_t>(kMostColumns)) return TooLarge();
    if (!b.folder.isValid())
        return Fail(QStringLiteral("No temporary folder for the workbook: %1")
                        .arg(b.folder.errorString()),
                    WriteFailureReason(0));
    b.folderName = QFile::encodeName(b.folder.path());
    b.fileName = QFile::encodeName(b.folder.filePath(QStringLiteral("orders.xlsx")));
    // Rows go to disk as they are written: memory does not grow with the orders.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = b.folderName.data();
    b.workbook = workbook_new_opt(b.fileName.constData(), &options);
    if (!b.workbook) return Check(LXW_ERROR_MEMORY_MALLOC_FAILED);
    const QString ordersName = SheetName(b.texts.ordersSheet, QStringLiteral("Bestellungen"));
    QString rejectedName = SheetName(b.texts.rejectedSheet, QStringLiteral("Nicht übernommen"));
    if (rejectedName.compare(ordersName, Qt::CaseInsensitive) == 0)
        rejectedName = rejectedName.left(LXW_SHEETNAME_MAX - 1) + u'2';
    b.orders = workbook_add_worksheet(b.workbook, ordersName.toUtf8().constData());
    b.rejected = workbook_add_worksheet(b.workbook, rejectedName.toUtf8().constData());
    if (!b.orders || !b.rejected) return Check(LXW_ERROR_INVALID_SHEETNAME_CHARACTER);
    b.undecided = workbook_add_format(b.workbook);
    format_set_pattern(b.undecided, LXW_PATTERN_SOLID);
    format_set_bg_color(b.undecided, kUndecidedFill);
    lxw_format* head = b.Format(true, 0);
    if (!Check(WriteText(b.orders, 0, 0, b.texts.fileHead, head))) return false;
    b.fileWidth = std::max(Width(b.texts.fileHead), Width(b.texts.sumHead));
    for (std::size_t c = 0; c < b.columns.size(); ++c)
        if (!Check(WriteText(b.orders, 0, static_cast<int>(c + 1), b.columns[c].head, head)))
            return false;
    // The head rows stay in sight, and so do the orders' file names.
    worksheet_freeze_panes(b.orders, 1, 1);
    worksheet_freeze_panes(b.rejected, 1, 0);
    return Check(WriteText(b.rejected, 0, 0, b.texts.fileHead, head)) &&
           Check(WriteText(b.rejected, 0, 1, b.texts.reasonHead, head));
}

bool OrderWorkbook::AddOrder(const QStringList& row) {
    Book& b = *book;
    if (b.failed || !b.workbook) return false;
    // The head row, the orders, the totals row.
    if (b.rows + 2 >= kMostRows) return TooLarge();
    const int r = ++b.rows;
    if (!Check(WriteText(b.orders, r, 0, row.value(0), nullptr))) return false;
    b.fileWidth = std::max(b.fileWidth, Width(row.value(0)));
    for (std::size_t c = 0; c < b.columns.size(); ++c) {
        const QString value = row.value(static_cast<qsizetype>(c + 1));
        const auto column = static_cast<lxw_col_t>(c + 1);
        if (value.isEmpty()) continue;
        int error = LXW_NO_ERROR;
        if (value == QLatin1String("?")) {
            error = WriteText(b.orders, r, column, value, b.undecided);
            if (b.columns[c].kind == kTextColumn) b.numeric[c] = false;
        } else if (const std::optional<WorkbookNumber> number = AsWorkbookNumber(value)) {
            error = worksheet_write_number(b.orders, static_cast<lxw_row_t>(r), column,
                                           number->value, b.Format(false, number->decimals));
            b.anyNumber[c] = true;
        } else {
            error = WriteText(b.orders, r, column, value, nullptr);
            b.numeric[c] = false;
        }
        if (!Check(error)) return false;
    }
    return true;
}

bool OrderWorkbook::AddRejected(const QString& file, const QString& reason) {
    Book& b = *book;
    if (b.failed || !b.workbook) return false;
    if (b.rejectedRows + 1 >= kMostRows) return TooLarge();
    const int r = ++b.rejectedRows;
    b.rejectedWidth = std::max(b.rejectedWidth, Width(file));
    b.reasonWidth = std::max(
        b.reasonWidth, std::min(static_cast<double>(CellCharacters(reason)) + 1, 2 * kWidest));
    return Check(WriteText(b.rejected, r, 0, file, nullptr)) &&
           Check(WriteText(b.rejected, r, 1, reason, nullptr));
}

bool OrderWorkbook::WriteTotals(const QStringList& totals) {
    Book& b = *book;
    const int r = b.rows + 1;
    if (!Check(WriteText(b.orders, r, 0, totals.value(0), b.Format(true, 0)))) return false;
    for (std::size_t c = 0; c < b.columns.size(); ++c) {
        const QString total = totals.value(static_cast<qsizetype>(c + 1));
        const int column = static_cast<int>(c + 1);
        if (total.isEmpty()) continue;
        const std::optional<WorkbookNumber> number = AsWorkbookNumber(total);
        const bool counts = b.columns[c].kind != kTextColumn;
        // A sum over the orders' cells when they all are numbers (or "?" of boxes).
        const bool formula = b.rows > 0 && number && b.numeric[c] && (counts || b.anyNumber[c]);
        int error = LXW_NO_ERROR;
        lxw_format* format = b.Format(true, number ? number->decimals : 0);
        if (formula) {
            const QString sum = QStringLiteral("=SUM(%1:%2)")
                                    .arg(CellName(1, column), CellName(b.rows, column));
            error = worksheet_write_formula_num(b.orders, static_cast<lxw_row_t>(r),
                                                static_cast<lxw_col_t>(column),
                                                sum.toLatin1().constData(), format, number->value);
        } else if (number) {
            error = worksheet_write_number(b.orders, static_cast<lxw_row_t>(r),
                                           static_cast<lxw_col_t>(column), number->value, format);
        } else {
            error = WriteText(b.orders, r, column, total, b.Format(true, 0));
        }
        if (!Check(error)) return false;
    }
    return true;
}

void OrderWorkbook::SetWidths() {
    Book& b = *book;
    worksheet_set_column(b.orders, 0, 0, b.fileWidth, nullptr);
    for (std::size_t c = 0; c < b.columns.size(); ++c) {
        const auto column = static_cast<lxw_col_t>(c + 1);
        worksheet_set_column(b.orders, column, column, Width(b.columns[c].head), nullptr);
    }
    worksheet_set_column(b.rejected, 0, 0, std::max(b.rejectedWidth, Width(b.texts.fileHead)),
                         nullptr);
    worksheet_set_column(b.rejected, 1, 1, b.reasonWidth, nullptr);
}

bool OrderWorkbook::Save(const QStringList& totals, const QString& path) {
    Book& b = *book;
    if (b.failed || !b.workbook) return false;
    // The filter covers the orders, not their totals. (Rows go to disk as
    // they are written: the filter must come while the last order is the
    // row being written.)
    if (!Check(worksheet_autofilter(b.orders, 0, 0, static_cast<lxw_row_t>(b.rows),
                                    static_cast<lxw_col_t>(b.columns.size()))) ||
        !WriteTotals(totals))
        return false;
    SetWidths();
    const lxw_error closed = workbook_close(b.workbook);
    b.workbook = nullptr;
    if (!Check(closed)) return false;
    QFile made(QFile::decodeName(b.fileName));
    if (!made.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("The workbook made cannot be read: %1").arg(made.errorString()),
                    WriteFailureReason(0));
    AtomicFileWriter file(path);
    if (!file.Open()) return Fail(file.Failure().english, file.Failure().reason);
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = made.read(chunk.data(), chunk.size());
        if (n < 0)
            return Fail(
                QStringLiteral("The workbook made cannot be read: %1").arg(made.errorString()),
                WriteFailureReason(0));
        if (n == 0) break;
        file.Write(chunk.constData(), n);
    }
    if (!file.Commit()) return Fail(file.Failure().english, file.Failure().reason);
    return true;
}
