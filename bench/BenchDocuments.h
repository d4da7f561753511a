#pragma once
// Generated order forms for the timing programs, made to look like a real
// one: sections with a coloured band, a name and an introduction text, rows
// of ruled text boxes (article number, description, quantity, price), check
// boxes and a single-choice group; every fifth section opens with a heading
// and carries a small picture. The settings give a header with logo and band,
// footers with the page number, and a background gradient from white to a
// light grey (or a plain white background).

#include "FormDocument.h"
#include "LayoutSettings.h"
#include "PaintToCanvas.h"
#include "RecordingCanvas.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <algorithm>

// A w x h 24-bit BMP with a pattern in every pixel, written into folder.
inline QString WritePatternPicture(const QDir& folder, const QString& name = "picture.bmp",
                                   int w = 300, int h = 200) {
    QImage picture(w, h, QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
    const QString path = folder.filePath(name);
    picture.save(path, "BMP");
    return path;
}

// The layout of the order form: the program's defaults (header band, footer
// band, category bands, capitals) with a header text, page-numbered footers,
// a logo file, and a white to light grey gradient or a plain white background.
inline LayoutSettings OrderFormSettings(bool gradient, const QString& logoFile = QString()) {
    LayoutSettings s;
    s.headerText = QStringLiteral("Bestellformular Frühjahr - Gärtnerei Sonnenhang");
    s.oddFooterText = QStringLiteral("Seite %PAGE% - Bitte vollständig ausfüllen");
    s.evenFooterText = QStringLiteral("Bestellung bis 15. März - Seite %PAGE%");
    s.logoFile = logoFile;
    s.showLogo = true;
    s.backgroundFile.clear();
    s.backgroundFill = true;
    s.backgroundStartColour = 0xFFFFFF;
    s.backgroundEndColour = gradient ? 0xE0E0E0 : 0xFFFFFF;
    return s;
}

// Section n of the form.
inline void AddOrderFormSection(FormDocument& doc, int n, const QString& pictureFile) {
    auto addCategory = [&doc](const QString& name) {
        const int index = doc.CategoryCount();
        doc.InsertCategory(index, TakenCategory::Make(name));
        return index;
    };
    auto addField = [&doc](int c, FieldKind kind, const QString& name, double w, double h) {
        doc.InsertField(c, doc.FieldCount(c), TakenField::Make(kind, name, w, h));
    };
    if (n % 5 == 0) addCategory(QStringLiteral("Abteilung %1").arg(n / 5 + 1)); // heading
    const int c = addCategory(QStringLiteral("Sortiment %1: Stauden und Gehölze").arg(n + 1));
    doc.SetRecord(
        c, NewCategoryRecord(n % 5 == 0 ? pictureFile : QString(), 2.5,
                             QStringLiteral("Bitte tragen Sie Artikelnummer, Bezeichnung und Menge "
                                            "ein. Preise gelten für Abholung in der Gärtnerei.\r\n"
                                            "Lieferung ab 50 Euro Bestellwert frei Haus."),
                             n % 2, false));
    for (int row = 0; row < 4; ++row) {
        addField(c, fkText, QStringLiteral("Art.-Nr."), 3, 0.9);
        addField(c, fkText, QStringLiteral("Bezeichnung"), 8.5, 0.9);
        addField(c, fkText, QStringLiteral("Menge"), 2.5, 0.9);
        addField(c, fkText, QStringLiteral("Preis"), 3, 0.9);
    }
    addField(c, fkCheckBox, QStringLiteral("Pflanzservice gewünscht"), 1, 0.5);
    addField(c, fkCheckBox, QStringLiteral("Rückruf zur Beratung"), 1, 0.5);
    for (const char* size : {"Topf 9 cm", "Topf 12 cm", "Container 3 l", "wurzelnackt"})
        addField(c, fkSingleChoice, QString::fromUtf8(size), 1, 0.5);
}

// The pages input lays doc out into (drawn on the recording canvas).
inline int CountPages(const PageInput& input) {
    RecordingCanvas canvas(input.printer.dpi);
    return PaintAllPages(canvas, input, input.printer.dpi, input.printer.width,
                         input.printer.height, [&] { canvas.ClearOps(); });
}

// Fills doc with sections until it has about `pages` pages as input lays
// them out (input must refer to doc): the page count is within a section's
// length of the aim. Returns the page count.
inline int FillToAboutPages(FormDocument& doc, const PageInput& input, int pages,
                            const QString& pictureFile) {
    int sections = 0;
    auto resize = [&](int wanted) {
        while (sections < wanted)
            AddOrderFormSection(doc, sections++, pictureFile);
        while (sections > wanted) {
            --sections;
            doc.TakeCategory(doc.CategoryCount() - 1);
            if (sections % 5 == 0) doc.TakeCategory(doc.CategoryCount() - 1);
        }
    };
    resize(10);
    int counted = CountPages(input);
    for (int step = 0; step < 8 && counted != pages; ++step) {
        const int estimate = static_cast<int>(static_cast<long long>(sections) * pages / counted);
        const int next =
            estimate == sections ? sections + (counted < pages ? 1 : -1) : std::max(1, estimate);
        resize(next);
        counted = CountPages(input);
    }
    return counted;
}
