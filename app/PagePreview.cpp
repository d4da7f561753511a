// The page preview on the tab "Formular erzeugen", the mouse wheel over it,
// and the print commands.
#include "MainUnit.h"

#include "MessageTable.h"
#include "PreviewPaintBox.h"
#include "PrintRun.h"
#include "ProgramMessages.h"
#include "QPainterCanvas.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QWheelEvent>

namespace {
constexpr int kPreviewMargin = 8;  // the page sits 8 pixels from the scroll box's edges
QPointer<QWidget> lastWheelWidget; // the widget the last wheel event was sent to
} // namespace

void TMainForm::BuildPagePreview() {
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("PreviewSheet"));
    auto* box = new PreviewPaintBox(sheet);
    box->setObjectName(QStringLiteral("PaintBox1"));
    box->move(kPreviewMargin, kPreviewMargin);
    box->onPaint = [this](QPaintEvent* e) { PaintBox1Paint(e); };
    box->onClick = [this] { KeyEdit->setFocus(); };
    PaintBox1 = box;
    ScrollBox1->setWidget(sheet);
    ScrollBox1->setWidgetResizable(false);
    sheet->resize(kPreviewMargin + 1, kPreviewMargin + 1);
    connect(ZoomEd, &QSpinBox::valueChanged, this, [this] { PaintBox1->update(); });
    connect(SeiteEd, &QSpinBox::valueChanged, this, [this] { PaintBox1->update(); });
    qApp->installEventFilter(this);
}

QPrinter& TMainForm::CurrentPrinter() {
    if (!printer) printer = MakeCurrentPrinter();
    return *printer;
}

PrinterPage TMainForm::CurrentPrinterPage() {
    return PrinterPageOf(CurrentPrinter());
}

PageSize TMainForm::PreviewPageSize() {
    return LayoutPageSize(CurrentPrinterPage(), logicalDpiX(), ZoomEd->value());
}

void TMainForm::PaintBox1Paint(QPaintEvent* event) {
    const PageSize page = PreviewPageSize();
    bool resized = false;
    if (PaintBox1->width() != page.width || PaintBox1->height() != page.height + kPreviewMargin) {
        PaintBox1->resize(page.width, page.height + kPreviewMargin);
        PaintBox1->parentWidget()->resize(page.width + kPreviewMargin,
                                          page.height + 2 * kPreviewMargin);
        resized = true;
    }
    // The resized box is painted again by the next paint event, which then draws.
    if (resized) return;
    const QRect exposed = event->rect() & QRect(0, 0, page.width, page.height);
    if (exposed.isEmpty()) return;
    // Only the exposed part is drawn: at high zoom a whole page bitmap would be huge.
    QImage part(exposed.size(), QImage::Format_RGB32);
    DrawPagePart(part, exposed.topLeft(), PreviewInput(), logicalDpiX(), page, SeiteEd->value(),
                 ZoomEd->value());
    QPainter(PaintBox1).drawImage(exposed.topLeft(), part);
}

PageInput TMainForm::PreviewInput() {
    currentSettings = Settings();
    PageInput input{*doc, currentSettings};
    input.background = &di2;
    input.logo = &di3;
    input.printer = CurrentPrinterPage();
    input.pictures = &pictureCache;
    return input;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this || PageControl1->currentIndex() != 2) return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    // A wheel event that nobody takes travels on to the parents of the widget it
    // was sent to; the scroll happens once, for the first widget.
    if (wheel == lastWheel && wheel->timestamp() == lastWheelTime && lastWheelWidget &&
        widget->isAncestorOf(lastWheelWidget))
        return false;
    lastWheel = wheel;
    lastWheelTime = wheel->timestamp();
    lastWheelWidget = widget;
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    const int dy = wheel->angleDelta().y();
    if (dy < 0)
        bar->setValue(bar->value() + 20);
    else if (dy > 0)
        bar->setValue(bar->value() - 20);
    // Over the preview the 20 pixels are the whole scroll; elsewhere the control
    // under the mouse gets the wheel as well.
    return ScrollBox1->isAncestorOf(widget) || widget == ScrollBox1;
}

void TMainForm::DruckenBtnClick() {
    QPrinter& current = CurrentPrinter();
    const QString title = GetMessageText(20);
    QString error;
    if (NeedsPdfFileName(current)) {
        // No printer installed: the pages go into a PDF file of the user's choice.
        QFileDialog dialog(this);
        dialog.setObjectName(QStringLiteral("PdfSaveDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        if (PrintAllPagesToPdfFile(current, PreviewInput(), title, dialog.selectedFiles().first(),
                                   &error) < 0)
            ShowError(this, QApplication::applicationName(), error);
        return;
    }
    if (current.outputFormat() == QPrinter::PdfFormat) {
        // Printing into a file: through the checked writer like every other file.
        if (PrintAllPagesToPdfFile(current, PreviewInput(), title, current.outputFileName(),
                                   &error) < 0)
            ShowError(this, QApplication::applicationName(), error);
        return;
    }
    if (PrintAllPages(current, PreviewInput(), title) < 0)
        ShowError(this, QApplication::applicationName(),
                  QStringLiteral("The printer could not be started."));
}

void TMainForm::Druckereinrichten1Click() {
    // The printer, its paper and orientation; the preview follows at its next repaint.
    QPrintDialog dialog(&CurrentPrinter(), this);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.exec();
}
