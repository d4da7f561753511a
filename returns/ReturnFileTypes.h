#pragma once
// The kinds of file a returned order comes back in, listed once: filled-in
// PDFs and scans (PDF, PNG, JPEG, TIFF, HEIC). The collector looks for them in
// folders, the scan reader tells images by them, the window's file dialog offers them.

#include <QFileInfo>
#include <QString>
#include <QStringList>

// The name endings of scanned pages that are pictures, lower case.
inline const QStringList& ScanImageSuffixes() {
    static const QStringList suffixes = {QStringLiteral("png"),  QStringLiteral("jpg"),
                                         QStringLiteral("jpeg"), QStringLiteral("tif"),
                                         QStringLiteral("tiff"), QStringLiteral("heic"),
                                         QStringLiteral("heif")};
    return suffixes;
}

// True when the file's name ends like a scanned picture.
inline bool HasScanImageSuffix(const QString& path) {
    return ScanImageSuffixes().contains(QFileInfo(path).suffix().toLower());
}

// "*.pdf", "*.png", ...: every file a returned order can come in.
inline QStringList ReturnFilePatterns() {
    QStringList patterns{QStringLiteral("*.pdf")};
    for (const QString& suffix : ScanImageSuffixes())
        patterns << QStringLiteral("*.") + suffix;
    return patterns;
}

// The file dialog's filter of returned files: "PDF, PNG, JPEG, TIFF, HEIC (*.pdf *.png ...)|*.pdf".
inline QString ReturnFileDialogFilter() {
    return QStringLiteral("PDF, PNG, JPEG, TIFF, HEIC (%1)|*.pdf")
        .arg(ReturnFilePatterns().join(QLatin1Char(' ')));
}
