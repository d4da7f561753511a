// Page layouts and printable pages of print targets and PDF files.
#include "PrintTarget.h"

#include <QPageSize>
#include <algorithm>

PrinterPage PrinterPageOf(const QPageLayout& layout, int dpi) {
    const QRect page = layout.paintRectPixels(dpi);
    PrinterPage p;
    p.width = page.width();
    p.height = page.height();
    p.dpi = dpi;
    return p;
}

MarkedSheet SheetOf(const QPageLayout& layout, int dpi) {
    const QRect paper = layout.fullRectPixels(dpi);
    const QRect print = layout.paintRectPixels(dpi);
    MarkedSheet sheet;
    sheet.width = print.width();
    sheet.height = print.height();
    sheet.dpi = dpi;
    sheet.left = std::max(0, print.left() - paper.left());
    sheet.top = std::max(0, print.top() - paper.top());
    sheet.right = std::max(0, paper.right() - print.right());
    sheet.bottom = std::max(0, paper.bottom() - print.bottom());
    return sheet;
}

QPageLayout PaperLayout(const QString& paper) {
    QPageSize::PageSizeId id = QPageSize::A4;
    if (paper.compare(QStringLiteral("A5"), Qt::CaseInsensitive) == 0)
        id = QPageSize::A5;
    else if (paper.compare(QStringLiteral("Letter"), Qt::CaseInsensitive) == 0)
        id = QPageSize::Letter;
    QPageLayout layout(QPageSize(id), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

PdfPageSetup PaperPdfSetup(const QString& paper, int dpi) {
    PdfPageSetup setup;
    setup.dpi = dpi;
    setup.layout = PaperLayout(paper);
    return setup;
}
