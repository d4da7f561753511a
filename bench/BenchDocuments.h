#pragma once
// Generated documents for the timing programs: groups of a heading and a
// category with a picture, introduction text, text fields, a check box and
// single-choice fields, added until the document has exactly the pages asked for.

#include "FormDocument.h"
#include "PaintToCanvas.h"
#include "RecordingCanvas.h"

#include <QDir>
#include <QImage>
#include <QString>

// A 300 x 200 24-bit BMP with a pattern in every pixel, written into folder.
inline QString WritePatternPicture(const QDir& folder) {
    QImage picture(300, 200, QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x, y, x ^ y));
    const QString path = folder.filePath(QStringLiteral("picture.bmp"));
    picture.save(path, "BMP");
    return path;
}

inline void AddCategoryGroup(FormDocument& doc, int n, const QString& pictureFile) {
    doc.AddCategory(QStringLiteral("Abschnitt %1").arg(n)); // heading
    const int c = doc.AddCategory(QStringLiteral("Kategorie %1").arg(n));
    doc.SetRecord(c, NewCategoryRecord(pictureFile, 3, QStringLiteral("Bitte ausfüllen.\r\nDanke."),
                                       n % 2, n % 3 == 0));
    for (int f = 0; f < 6; ++f)
        doc.AddField(c, fkText, QStringLiteral("Feld %1").arg(f), 4, 1.25);
    doc.AddField(c, fkCheckBox, QStringLiteral("Lieferung gewünscht"), 1, 0.8);
    for (int f = 0; f < 3; ++f)
        doc.AddField(c, fkSingleChoice, QStringLiteral("Größe %1").arg(f), 1, 0.8);
}

// Fills doc with groups until it has exactly `pages` pages as input lays them out
// (input must refer to doc); the group that spilled onto a further page is removed.
inline void FillToPages(FormDocument& doc, const PageInput& input, int pages,
                        const QString& pictureFile) {
    for (int n = 0;; ++n) {
        AddCategoryGroup(doc, n, pictureFile);
        RecordingCanvas probe(input.printer.dpi);
        if (PaintToCanvas(probe, input, input.printer.dpi, input.printer.width,
                          input.printer.height, pages, 100, true)) {
            doc.DeleteCategory(doc.CategoryCount() - 1);
            doc.DeleteCategory(doc.CategoryCount() - 1);
            return;
        }
    }
}
