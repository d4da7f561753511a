#include "PreviewTab.h"

#include "PageImage.h"
#include "PreparedProject.h"
#include "PreviewPaintBox.h"
#include "Translator.h"

#include <QApplication>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedLayout>
#include <QTimer>
#include <QWheelEvent>

namespace {
constexpr int kPreviewMargin = 8;  // the page sits 8 pixels from the scroll box's edges
constexpr int kMostPages = 100000; // pages are counted up to here
} // namespace

PreviewTab::PreviewTab(PreparedProject& prepared, std::function<PrinterPage()> page,
                       QWidget* parent)
    : QWidget(parent), project(prepared), printerPage(std::move(page)) {
    auto* tab = this;
    tab->setObjectName(QStringLiteral("TabSheet3"));
    auto* grid = new QGridLayout(tab);
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom in %:"), tab);
    zoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    zoomBox = new QSpinBox(tab);
    zoomBox->setObjectName(QStringLiteral("ZoomEd"));
    zoomBox->setRange(1, 1000);
    zoomBox->setSingleStep(10);
    zoomBox->setValue(100);
    auto* pageLabel = new QLabel(QStringLiteral("Seite:"), tab);
    pageLabel->setObjectName(QStringLiteral("SeiteLabel"));
    pageNumberBox = new QSpinBox(tab);
    pageNumberBox->setObjectName(QStringLiteral("SeiteEd"));
    pageNumberBox->setRange(1, kMostPages); // until the pages are counted
    pageNumberBox->setValue(1);
    // "von N" and the page number's maximum: the number of pages, counted once
    // after a change while the tab is shown.
    pageCountLabel = new QLabel(tab);
    pageCountLabel->setObjectName(QStringLiteral("SeiteVonLabel"));
    countTimer = new QTimer(this);
    countTimer->setSingleShot(true);
    countTimer->setInterval(0);
    connect(countTimer, &QTimer::timeout, this, &PreviewTab::ShowPageCount);
    zoomLabel->setBuddy(zoomBox);
    pageLabel->setBuddy(pageNumberBox);
    grid->addWidget(zoomLabel, 0, 0);
    grid->addWidget(zoomBox, 0, 1);
    grid->addWidget(pageLabel, 0, 2);
    grid->addWidget(pageNumberBox, 0, 3);
    grid->addWidget(pageCountLabel, 0, 4);
    grid->setColumnStretch(5, 1);

    // keyCatcher lies under the scroll box, covered by it: it only takes the keyboard focus.
    auto* holder = new QWidget(tab);
    holder->setObjectName(QStringLiteral("PreviewHolder"));
    auto* stack = new QStackedLayout(holder);
    stack->setStackingMode(QStackedLayout::StackAll);
    keyCatcher = new QLineEdit(holder);
    keyCatcher->setObjectName(QStringLiteral("KeyEdit"));
    keyCatcher->setAccessibleName(QStringLiteral("Seitenvorschau"));
    pageScroller = new QScrollArea(holder);
    pageScroller->setObjectName(QStringLiteral("ScrollBox1"));
    pageScroller->setAccessibleName(QStringLiteral("Seitenvorschau"));
    pageScroller->setBackgroundRole(QPalette::Dark);
    pageScroller->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    stack->addWidget(keyCatcher);
    stack->addWidget(pageScroller);
    stack->setCurrentWidget(pageScroller);
    pageScroller->raise();
    grid->addWidget(holder, 1, 0, 1, 6);
    grid->setRowStretch(1, 1);

    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("PreviewSheet"));
    auto* box = new PreviewPaintBox(sheet);
    box->setObjectName(QStringLiteral("PaintBox1"));
    box->move(kPreviewMargin, kPreviewMargin);
    box->onPaint = [this](QPaintEvent* e) { PaintPage(e); };
    box->picked = [this](QPoint p) { Pick(p, false); };
    box->opened = [this](QPoint p) { Pick(p, true); };
    box->onMove = [this](QPoint p) { PointAt(p); };
    box->setMouseTracking(true);
    pageBox = box;
    pageScroller->setWidget(sheet);
    pageScroller->setWidgetResizable(false);
    sheet->resize(kPreviewMargin + 1, kPreviewMargin + 1);
    connect(zoomBox, &QSpinBox::valueChanged, this, &PreviewTab::Repaint);
    // Another page number changes the page shown, not the number of pages.
    connect(pageNumberBox, &QSpinBox::valueChanged, pageBox, qOverload<>(&QWidget::update));
    connect(&project, &PreparedProject::changed, this, &PreviewTab::Repaint);
    qApp->installEventFilter(this);
}

PreviewTab::~PreviewTab() {
    qApp->removeEventFilter(this);
}

void PreviewTab::Repaint() {
    map.Clear(); // filled again when the page is drawn
    mappedPage = 0;
    pageBox->update();
    // Until the pages are counted again, a page number set meanwhile stands.
    pageNumberBox->setMaximum(kMostPages);
    if (isVisible()) countTimer->start();
}

void PreviewTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    countTimer->start();
}

int PreviewTab::PageCount() {
    // Counted at the resolution and zoom the preview draws at, from the page
    // start index.
    const int dpi = qRound(logicalDpiX() * pageBox->devicePixelRatioF());
    const double zoom = zoomBox->value();
    return PageCountUpTo(project.Input(printerPage()), dpi, zoom, kMostPages);
}

void PreviewTab::ShowPageCount() {
    const int pages = PageCount();
    pageCountLabel->setText(TranslateText(QStringLiteral("von")) +
                            QStringLiteral(" %1").arg(pages));
    // A page number beyond the new end comes back to the last page.
    pageNumberBox->setMaximum(pages);
}

void PreviewTab::FocusKeys() {
    keyCatcher->setFocus();
}

PageSize PreviewTab::PreviewPageSize() const {
    return LayoutPageSize(printerPage(), logicalDpiX(), zoomBox->value());
}

void PreviewTab::PaintPage(QPaintEvent* event) {
    const PageSize page = PreviewPageSize();
    bool resized = false;
    if (pageBox->width() != page.width || pageBox->height() != page.height + kPreviewMargin) {
        pageBox->resize(page.width, page.height + kPreviewMargin);
        pageBox->parentWidget()->resize(page.width + kPreviewMargin,
                                        page.height + 2 * kPreviewMargin);
        resized = true;
    }
    // The resized box is painted again by the next paint event, which then draws.
    if (resized) return;
    const QRect exposed = event->rect() & QRect(0, 0, page.width, page.height);
    if (exposed.isEmpty()) return;
    // Only the exposed part is drawn: at high zoom a whole page bitmap would be huge.
    // On a screen with more device pixels than window units the page is laid out
    // at that finer resolution, so that it stays sharp.
    const qreal ratio = pageBox->devicePixelRatioF();
    const int dpi = qRound(logicalDpiX() * ratio);
    const PageSize devicePage =
        ratio == 1 ? page : LayoutPageSize(printerPage(), dpi, zoomBox->value());
    const QRect deviceRect = QRectF(exposed.x() * ratio, exposed.y() * ratio,
                                    exposed.width() * ratio, exposed.height() * ratio)
                                 .toAlignedRect();
    QImage part(deviceRect.size(), QImage::Format_RGB32);
    PageInput input = project.Input(printerPage());
    // Every drawing of a part tells all fields of the page.
    map.Clear();
    input.fields = &map;
    mappedPage = pageNumberBox->value();
    DrawPagePart(part, deviceRect.topLeft(), input, dpi, devicePage, mappedPage,
                 zoomBox->value());
    part.setDevicePixelRatio(ratio);
    QPainter(pageBox).drawImage(QPointF(deviceRect.x() / ratio, deviceRect.y() / ratio), part);
}

void PreviewTab::Pick(QPoint p, bool open) {
    const qreal ratio = pageBox->devicePixelRatioF();
    const QPoint at(qFloor(p.x() * ratio), qFloor(p.y() * ratio));
    if (mappedPage == pageNumberBox->value()) {
        if (const DrawnField* drawn = map.At(mappedPage, at.x(), at.y())) {
            if (!open) emit fieldPicked(drawn->category, static_cast<int>(drawn->field));
            return;
        }
        if (const DrawnHeading* heading = map.HeadingAt(mappedPage, at.x(), at.y())) {
            if (open)
                emit categoryOpened(heading->category);
            else
                emit categoryPicked(heading->category);
            return;
        }
    }
    keyCatcher->setFocus();
}

void PreviewTab::PointAt(QPoint p) {
    const qreal ratio = pageBox->devicePixelRatioF();
    const QPoint at(qFloor(p.x() * ratio), qFloor(p.y() * ratio));
    const bool over = mappedPage == pageNumberBox->value() &&
                      (map.At(mappedPage, at.x(), at.y()) || map.HeadingAt(mappedPage, at.x(), at.y()));
    if (over)
        pageBox->setCursor(Qt::PointingHandCursor);
    else
        pageBox->unsetCursor();
}

bool PreviewTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Only while this tab is the one shown in its window.
    if (widget->window() != window() || !isVisibleTo(window())) return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    // Ctrl and the wheel over the preview zoom in and out by the zoom's step.
    if ((wheel->modifiers() & Qt::ControlModifier) &&
        (pageScroller->isAncestorOf(widget) || widget == pageScroller)) {
        const int dy = wheel->angleDelta().y();
        if (dy != 0) zoomBox->stepBy(dy > 0 ? 1 : -1);
        return true;
    }
    // A wheel event that nobody takes travels on to the parents of the widget it
    // was sent to; the scroll happens once, for the first widget.
    if (wheel == lastWheel && wheel->timestamp() == lastWheelTime && lastWheelWidget &&
        widget->isAncestorOf(lastWheelWidget))
        return false;
    lastWheel = wheel;
    lastWheelTime = wheel->timestamp();
    lastWheelWidget = widget;
    QScrollBar* bar = pageScroller->verticalScrollBar();
    const int dy = wheel->angleDelta().y();
    if (dy < 0)
        bar->setValue(bar->value() + 20);
    else if (dy > 0)
        bar->setValue(bar->value() - 20);
    // Over the preview the 20 pixels are the whole scroll; elsewhere the control
    // under the mouse gets the wheel as well.
    return pageScroller->isAncestorOf(widget) || widget == pageScroller;
}
