#pragma once
// Reading back what a print run wrote into a PDF file.

#include "FileBytes.h"
#include <QFile>
#include <QRegularExpression>
#include <QString>

// Pages of a PDF file: its page objects, not the page tree ("/Pages").
inline int PdfPageCount(const QString& path) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(QString::fromLatin1(ReadAll(path)).count(page));
}

// The PDF's bytes without the creation date, which differs from run to run.
inline QByteArray PdfWithoutDate(const QString& path) {
    static const QRegularExpression date(QStringLiteral("/CreationDate \\([^)]*\\)"));
    return QString::fromLatin1(ReadAll(path)).replace(date, QString()).toLatin1();
}
