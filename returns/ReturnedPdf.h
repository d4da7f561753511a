#pragma once
// Reading a returned order: the form fields of a filled-in fillable PDF and
// their values, whatever viewer filled it in, checked against the form it
// must have been made from. Reads only the file's cross-reference, its
// document information and the form's field dictionaries: a plain file
// with its own quick reader (PlainPdf.h), any other through qpdf.

#include "OrderColumns.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <vector>

// One column's value in a returned file: whether the file holds the field,
// and the value (text as filled in; "1" or "0" for a check box or a single choice).
struct ReturnedCell {
    bool present = false;
    QString value;
};

// Why a file is not taken, in English (the command line) and as one of the
// program's fixed German texts (the window shows it through the translation table).
struct ReturnRejection {
    QString english;
    QString reason;
};

struct ReturnedRead {
    bool ok = false;
    std::vector<ReturnedCell> cells; // one per column of the form
    ReturnRejection rejection;
    // A PDF without form fields and without a form's identity: a scan, or
    // printed pages, rather than a filled-in fillable form.
    bool formless = false;
};

// The longest text a field may hold, in bytes as the PDF stores it.
inline constexpr std::size_t kMaxReturnedValueBytes = 1 << 20;

// Reads the file at path against form.
ReturnedRead ReadReturnedPdf(const QString& path, const OrderForm& form);
// The same on bytes in memory (the reader's fuzz target).
ReturnedRead ReadReturnedPdfBytes(const QByteArray& bytes, const OrderForm& form);
// The same through qpdf alone, never the quick reader of plain files
// (PlainPdf.h): for comparing the two.
ReturnedRead ReadReturnedPdfBytesWithQpdf(const QByteArray& bytes, const OrderForm& form);
