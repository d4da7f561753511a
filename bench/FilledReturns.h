#pragma once
// 1,000 filled-in fillable PDFs of a form of about 12 A4 pages
// (BenchDocuments.h), for the collection benchmarks: a quantity in every text
// field, every check box ticked, the first button of every group chosen. The
// files are hard links of one filled-in PDF, so that the folder takes the
// room of one file; each is opened and read as a file of its own.

#include "BenchDocuments.h"
#include "FillablePdf.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>

inline constexpr int kMostFiles = 1000;

struct FilledReturns {
    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings = OrderFormSettings(true);
    int pages = 0;
    QString folder;
    FilledReturns() {
        const QString picture = WritePatternPicture(QDir(dir.path()));
        PageInput in{doc, settings};
        in.printer = PaperPdfSetup().Page();
        pages = FillToAboutPages(doc, in, 12, picture);
        const QString blank = QDir(dir.path()).filePath(QStringLiteral("blank.pdf"));
        PrintFillablePdf(PaperPdfSetup(), PageInput{doc, settings}, QStringLiteral("Form"), blank);
        // Filled in: a quantity in every text field, every check box ticked,
        // the first button of every group chosen.
        QPDF pdf;
        pdf.processFile(blank.toLocal8Bit().constData());
        QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
        for (int i = 0; i < fields.getArrayNItems(); ++i) {
            QPDFObjectHandle f = fields.getArrayItem(i);
            if (f.getKey("/FT").getName() == "/Tx")
                f.replaceKey("/V", QPDFObjectHandle::newString("2"));
            else if (f.getKey("/Kids").isArray())
                f.replaceKey("/V", QPDFObjectHandle::newName("/Topf 9 cm"));
            else
                f.replaceKey("/V", QPDFObjectHandle::newName("/Yes"));
        }
        const QString filled = QDir(dir.path()).filePath(QStringLiteral("filled.pdf"));
        const QByteArray filledName = filled.toLocal8Bit(); // outlives the writer's use of it
        QPDFWriter writer(pdf, filledName.constData());
        writer.write();
        folder = QDir(dir.path()).filePath(QStringLiteral("returned"));
        QDir().mkpath(folder);
        for (int i = 0; i < kMostFiles; ++i) {
            const QString link =
                QDir(folder).filePath(QStringLiteral("%1.pdf").arg(i, 4, 10, QLatin1Char('0')));
            if (::link(filled.toLocal8Bit().constData(), link.toLocal8Bit().constData()) != 0)
                QFile::copy(filled, link);
        }
    }
};

inline FilledReturns& SharedFilledReturns() {
    static FilledReturns fixture;
    return fixture;
}

// The first n of the files, in order.
inline QStringList FilledReturnFiles(const FilledReturns& f, int n) {
    QStringList files;
    for (int i = 0; i < n; ++i)
        files << QDir(f.folder).filePath(QStringLiteral("%1.pdf").arg(i, 4, 10, QLatin1Char('0')));
    return files;
}
